#include "vtkVireonTestLineWidget.h"

#include "vtkVireonTestLineRepresentation2D.h"
#include "vtkVireonTestLineRepresentation3D.h"

#include <vtkKOVASliceNode.h>

#include <vtkObjectFactory.h>

vtkStandardNewMacro(vtkVireonTestLineWidget);

vtkVireonTestLineWidget::vtkVireonTestLineWidget() = default;
vtkVireonTestLineWidget::~vtkVireonTestLineWidget() = default;

void vtkVireonTestLineWidget::CreateDefaultRepresentation(
  vtkKOVAMarkupsDisplayNode* markupsDisplayNode,
  vtkKOVAAbstractViewNode* viewNode,
  vtkRenderer* renderer)
{
  vtkVireonMarkupsWidgetRepresentation* representation = nullptr;
  if (vtkKOVASliceNode::SafeDownCast(viewNode))
  {
    representation = vtkVireonTestLineRepresentation2D::New();
  }
  else
  {
    representation = vtkVireonTestLineRepresentation3D::New();
  }
  this->SetRenderer(renderer);
  this->SetRepresentation(representation);
  representation->SetViewNode(viewNode);
  representation->SetMarkupsDisplayNode(markupsDisplayNode);
  representation->UpdateFromKOVA(nullptr, 0, nullptr);
  representation->Delete();
}

vtkVireonMarkupsWidget* vtkVireonTestLineWidget::CreateInstance() const
{
  vtkObject* object = vtkObjectFactory::CreateInstance("vtkVireonTestLineWidget", false);
  if (auto* widget = vtkVireonMarkupsWidget::SafeDownCast(object))
  {
    return widget;
  }
  if (object)
  {
    // An override that is not a markups widget cannot serve.
    object->Delete();
  }
  return vtkVireonTestLineWidget::New();
}
