#include "vtkKOVAAbstractWidgetRepresentation.h"

#include <vtkKOVAAbstractViewNode.h>

#include <vtkRenderer.h>

vtkKOVAAbstractWidgetRepresentation::vtkKOVAAbstractWidgetRepresentation() = default;
vtkKOVAAbstractWidgetRepresentation::~vtkKOVAAbstractWidgetRepresentation() = default;

void vtkKOVAAbstractWidgetRepresentation::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "Renderer: " << this->Renderer.GetPointer() << "\n";
  os << indent << "ViewNode: "
     << (this->ViewNode && this->ViewNode->GetID() ? this->ViewNode->GetID() : "(none)") << "\n";
  os << indent << "NeedToRender: " << this->NeedToRender << "\n";
}

void vtkKOVAAbstractWidgetRepresentation::SetRenderer(vtkRenderer* renderer)
{
  if (this->Renderer != renderer)
  {
    this->Renderer = renderer;
    this->Modified();
  }
}

vtkRenderer* vtkKOVAAbstractWidgetRepresentation::GetRenderer()
{
  return this->Renderer;
}

void vtkKOVAAbstractWidgetRepresentation::SetViewNode(vtkKOVAAbstractViewNode* viewNode)
{
  if (this->ViewNode != viewNode)
  {
    this->ViewNode = viewNode;
    this->Modified();
  }
}

vtkKOVAAbstractViewNode* vtkKOVAAbstractWidgetRepresentation::GetViewNode()
{
  return this->ViewNode;
}

void vtkKOVAAbstractWidgetRepresentation::UpdateFromKOVA(vtkKOVANode* vtkNotUsed(caller),
  unsigned long vtkNotUsed(event),
  void* vtkNotUsed(callData))
{
}
