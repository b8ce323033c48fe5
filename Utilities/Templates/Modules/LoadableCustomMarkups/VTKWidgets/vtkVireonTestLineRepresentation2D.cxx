#include "vtkVireonTestLineRepresentation2D.h"

#include <vtkKOVAMarkupsNode.h>

#include <vtkActor2D.h>
#include <vtkGlyphSource2D.h>
#include <vtkObjectFactory.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper2D.h>
#include <vtkProperty2D.h>
#include <vtkSampleImplicitFunctionFilter.h>

vtkStandardNewMacro(vtkVireonTestLineRepresentation2D);

vtkVireonTestLineRepresentation2D::vtkVireonTestLineRepresentation2D()
{
  this->MiddlePointSource = vtkSmartPointer<vtkGlyphSource2D>::New();
  this->MiddlePointSource->SetCenter(0.0, 0.0, 0.0);
  this->MiddlePointSource->SetScale(5.0);

  this->MiddlePointMapper = vtkSmartPointer<vtkPolyDataMapper2D>::New();
  this->MiddlePointMapper->SetInputConnection(this->MiddlePointSource->GetOutputPort());
  // The glyph source colours its output; the marker takes its colour from the property.
  this->MiddlePointMapper->ScalarVisibilityOff();

  this->MiddlePointActor = vtkSmartPointer<vtkActor2D>::New();
  this->MiddlePointActor->SetMapper(this->MiddlePointMapper);
}

vtkVireonTestLineRepresentation2D::~vtkVireonTestLineRepresentation2D() = default;

void vtkVireonTestLineRepresentation2D::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

void vtkVireonTestLineRepresentation2D::UpdateFromKOVA(vtkKOVANode* caller,
  unsigned long event,
  void* callData)
{
  this->Superclass::UpdateFromKOVA(caller, event, callData);
  this->NeedToRenderOn();

  vtkKOVAMarkupsNode* markupsNode = this->GetMarkupsNode();
  if (!markupsNode || !this->IsDisplayable())
  {
    this->VisibilityOff();
    return;
  }
  this->VisibilityOn();

  const bool complete = markupsNode->GetNumberOfDefinedControlPoints(true) == 2;
  this->MiddlePointActor->SetVisibility(complete);

  this->SliceDistance->Update();
  if (!this->IsRepresentationIntersectingSlice(
        vtkPolyData::SafeDownCast(this->SliceDistance->GetOutput()),
        this->SliceDistance->GetScalarArrayName()))
  {
    this->MiddlePointActor->VisibilityOff();
  }

  if (complete)
  {
    double d0[3], d1[3];
    this->GetNthControlPointDisplayPosition(0, d0);
    this->GetNthControlPointDisplayPosition(1, d1);
    this->MiddlePointSource->SetCenter((d0[0] + d1[0]) * 0.5, (d0[1] + d1[1]) * 0.5, 0.0);
    this->MiddlePointSource->Update();
  }
  else
  {
    this->MiddlePointActor->VisibilityOff();
  }

  this->MiddlePointActor->SetProperty(this->GetControlPointsPipeline(Active)->Property);
}

//------------------------------------------------------------------------------
void vtkVireonTestLineRepresentation2D::GetActors(vtkPropCollection* collection)
{
  this->MiddlePointActor->GetActors(collection);
  this->Superclass::GetActors(collection);
}

int vtkVireonTestLineRepresentation2D::RenderOpaqueGeometry(vtkViewport* viewport)
{
  int count = 0;
  if (this->MiddlePointActor->GetVisibility())
  {
    count = this->MiddlePointActor->RenderOpaqueGeometry(viewport);
  }
  return count + this->Superclass::RenderOpaqueGeometry(viewport);
}

int vtkVireonTestLineRepresentation2D::RenderTranslucentPolygonalGeometry(vtkViewport* viewport)
{
  int count = 0;
  if (this->MiddlePointActor->GetVisibility())
  {
    count = this->MiddlePointActor->RenderTranslucentPolygonalGeometry(viewport);
  }
  return count + this->Superclass::RenderTranslucentPolygonalGeometry(viewport);
}

int vtkVireonTestLineRepresentation2D::RenderOverlay(vtkViewport* viewport)
{
  int count = 0;
  if (this->MiddlePointActor->GetVisibility())
  {
    count = this->MiddlePointActor->RenderOverlay(viewport);
  }
  return count + this->Superclass::RenderOverlay(viewport);
}

vtkTypeBool vtkVireonTestLineRepresentation2D::HasTranslucentPolygonalGeometry()
{
  if (this->Superclass::HasTranslucentPolygonalGeometry())
  {
    return 1;
  }
  return this->MiddlePointActor->GetVisibility() &&
         this->MiddlePointActor->HasTranslucentPolygonalGeometry();
}

void vtkVireonTestLineRepresentation2D::ReleaseGraphicsResources(vtkWindow* window)
{
  this->MiddlePointActor->ReleaseGraphicsResources(window);
  this->Superclass::ReleaseGraphicsResources(window);
}
