#include "vtkVireonLineWidget.h"

#include "vtkVireonLineRepresentation2D.h"
#include "vtkVireonLineRepresentation3D.h"

#include <vtkKOVASliceNode.h>

#include <vtkObjectFactory.h>

vtkStandardNewMacro(vtkVireonLineWidget);

vtkVireonLineWidget::vtkVireonLineWidget() = default;
vtkVireonLineWidget::~vtkVireonLineWidget() = default;

void vtkVireonLineWidget::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

void vtkVireonLineWidget::CreateDefaultRepresentation(vtkKOVAMarkupsDisplayNode* markupsDisplayNode,
  vtkKOVAAbstractViewNode* viewNode,
  vtkRenderer* renderer)
{
  vtkSmartPointer<vtkVireonMarkupsWidgetRepresentation> representation;
  if (vtkKOVASliceNode::SafeDownCast(viewNode))
  {
    representation = vtkSmartPointer<vtkVireonLineRepresentation2D>::New();
  }
  else
  {
    representation = vtkSmartPointer<vtkVireonLineRepresentation3D>::New();
  }
  this->SetRenderer(renderer);
  this->SetRepresentation(representation);
  representation->SetViewNode(viewNode);
  representation->SetMarkupsDisplayNode(markupsDisplayNode);
  representation->UpdateFromKOVA(nullptr, 0, nullptr);
}

vtkVireonMarkupsWidget* vtkVireonLineWidget::CreateInstance() const
{
  vtkObject* object = vtkObjectFactory::CreateInstance("vtkVireonLineWidget", false);
  if (auto* widget = vtkVireonMarkupsWidget::SafeDownCast(object))
  {
    return widget;
  }
  if (object)
  {
    object->Delete();
  }
  return vtkVireonLineWidget::New();
}
