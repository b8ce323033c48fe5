#include "vtkKOVAAbstractWidget.h"

#include <vtkRenderer.h>

vtkKOVAAbstractWidget::vtkKOVAAbstractWidget() = default;

vtkKOVAAbstractWidget::~vtkKOVAAbstractWidget()
{
  if (this->Renderer && this->WidgetRep)
  {
    this->Renderer->RemoveViewProp(this->WidgetRep);
  }
}

void vtkKOVAAbstractWidget::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "Renderer: " << this->Renderer.GetPointer() << "\n";
  os << indent << "Representation: " << this->WidgetRep.GetPointer() << "\n";
}

void vtkKOVAAbstractWidget::SetRenderer(vtkRenderer* renderer)
{
  if (this->Renderer == renderer)
  {
    return;
  }
  if (this->Renderer && this->WidgetRep)
  {
    this->Renderer->RemoveViewProp(this->WidgetRep);
  }
  this->Renderer = renderer;
  if (this->WidgetRep)
  {
    this->WidgetRep->SetRenderer(renderer);
    if (renderer)
    {
      renderer->AddViewProp(this->WidgetRep);
    }
  }
  this->Modified();
}

vtkRenderer* vtkKOVAAbstractWidget::GetRenderer()
{
  return this->Renderer;
}

void vtkKOVAAbstractWidget::SetRepresentation(vtkKOVAAbstractWidgetRepresentation* representation)
{
  if (this->WidgetRep == representation)
  {
    return;
  }
  if (this->Renderer && this->WidgetRep)
  {
    this->Renderer->RemoveViewProp(this->WidgetRep);
  }
  this->WidgetRep = representation;
  if (this->WidgetRep)
  {
    this->WidgetRep->SetRenderer(this->Renderer);
    if (this->Renderer)
    {
      this->Renderer->AddViewProp(this->WidgetRep);
    }
  }
  this->Modified();
}

vtkKOVAAbstractWidgetRepresentation* vtkKOVAAbstractWidget::GetRepresentation()
{
  return this->WidgetRep;
}

void vtkKOVAAbstractWidget::UpdateFromKOVA(vtkKOVANode* caller, unsigned long event, void* callData)
{
  if (this->WidgetRep)
  {
    this->WidgetRep->UpdateFromKOVA(caller, event, callData);
  }
}

bool vtkKOVAAbstractWidget::GetNeedToRender()
{
  return this->WidgetRep && this->WidgetRep->GetNeedToRender();
}

void vtkKOVAAbstractWidget::NeedToRenderOff()
{
  if (this->WidgetRep)
  {
    this->WidgetRep->NeedToRenderOff();
  }
}
