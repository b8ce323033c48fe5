#include "vtkVireonTestLineRepresentation3D.h"

#include <vtkKOVAMarkupsTestLineNode.h>

#include <vtkActor.h>
#include <vtkCutter.h>
#include <vtkObjectFactory.h>
#include <vtkPlane.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper.h>
#include <vtkSphereSource.h>

vtkStandardNewMacro(vtkVireonTestLineRepresentation3D);

vtkVireonTestLineRepresentation3D::vtkVireonTestLineRepresentation3D()
{
  this->SlicingPlane = vtkSmartPointer<vtkPlane>::New();

  this->Cutter = vtkSmartPointer<vtkCutter>::New();
  this->Cutter->SetInputData(this->TargetOrgan);
  this->Cutter->SetCutFunction(this->SlicingPlane);
  this->Cutter->SetNumberOfContours(1);
  this->Cutter->SetValue(0, 0.0);
  this->Cutter->GenerateTrianglesOn();
  this->Cutter->GenerateCutScalarsOff();

  this->CutterMapper = vtkSmartPointer<vtkPolyDataMapper>::New();
  this->CutterMapper->SetInputConnection(this->Cutter->GetOutputPort());

  this->CutterActor = vtkSmartPointer<vtkActor>::New();
  this->CutterActor->SetMapper(this->CutterMapper);

  this->MiddlePointSource = vtkSmartPointer<vtkSphereSource>::New();

  this->MiddlePointMapper = vtkSmartPointer<vtkPolyDataMapper>::New();
  this->MiddlePointMapper->SetInputConnection(this->MiddlePointSource->GetOutputPort());

  this->MiddlePointActor = vtkSmartPointer<vtkActor>::New();
  this->MiddlePointActor->SetMapper(this->MiddlePointMapper);
}

vtkVireonTestLineRepresentation3D::~vtkVireonTestLineRepresentation3D() = default;

void vtkVireonTestLineRepresentation3D::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

//------------------------------------------------------------------------------
bool vtkVireonTestLineRepresentation3D::HasMiddlePoint()
{
  vtkKOVAMarkupsNode* markupsNode = this->GetMarkupsNode();
  return markupsNode && markupsNode->GetNumberOfControlPoints() == 2;
}

void vtkVireonTestLineRepresentation3D::BuildMiddlePoint()
{
  if (!this->HasMiddlePoint())
  {
    return;
  }
  vtkKOVAMarkupsNode* markupsNode = this->GetMarkupsNode();
  double p0[3], p1[3];
  markupsNode->GetNthControlPointPositionWorld(0, p0);
  markupsNode->GetNthControlPointPositionWorld(1, p1);
  this->MiddlePointSource->SetCenter(
    (p0[0] + p1[0]) * 0.5, (p0[1] + p1[1]) * 0.5, (p0[2] + p1[2]) * 0.5);
  this->MiddlePointSource->SetRadius(this->ControlPointSize);
}

void vtkVireonTestLineRepresentation3D::BuildSlicingPlane()
{
  if (!this->HasMiddlePoint())
  {
    return;
  }
  vtkKOVAMarkupsNode* markupsNode = this->GetMarkupsNode();
  double p0[3], p1[3];
  markupsNode->GetNthControlPointPositionWorld(0, p0);
  markupsNode->GetNthControlPointPositionWorld(1, p1);
  this->SlicingPlane->SetOrigin(
    (p0[0] + p1[0]) * 0.5, (p0[1] + p1[1]) * 0.5, (p0[2] + p1[2]) * 0.5);
  this->SlicingPlane->SetNormal(p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]);
}

void vtkVireonTestLineRepresentation3D::UpdateFromKOVA(vtkKOVANode* caller,
  unsigned long event,
  void* callData)
{
  this->Superclass::UpdateFromKOVA(caller, event, callData);
  this->NeedToRenderOn();

  this->BuildMiddlePoint();
  this->BuildSlicingPlane();
  // Without a midpoint there is nothing to mark or cut: the last sphere and plane would show a
  // line that is no longer there.
  const bool hasMiddlePoint = this->HasMiddlePoint();
  this->MiddlePointActor->SetVisibility(hasMiddlePoint);
  this->CutterActor->SetVisibility(hasMiddlePoint);

  if (auto* testLineNode = vtkKOVAMarkupsTestLineNode::SafeDownCast(this->GetMarkupsNode()))
  {
    this->TargetOrgan = testLineNode->GetTargetOrgan();
    this->Cutter->SetInputData(this->TargetOrgan);
  }
}

//------------------------------------------------------------------------------
void vtkVireonTestLineRepresentation3D::GetActors(vtkPropCollection* collection)
{
  this->Superclass::GetActors(collection);
  if (this->TargetOrgan)
  {
    this->CutterActor->GetActors(collection);
  }
  this->MiddlePointActor->GetActors(collection);
}

int vtkVireonTestLineRepresentation3D::RenderOpaqueGeometry(vtkViewport* viewport)
{
  int count = this->Superclass::RenderOpaqueGeometry(viewport);
  if (this->TargetOrgan && this->CutterActor->GetVisibility())
  {
    count += this->CutterActor->RenderOpaqueGeometry(viewport);
  }
  if (this->MiddlePointActor->GetVisibility())
  {
    count += this->MiddlePointActor->RenderOpaqueGeometry(viewport);
  }
  return count;
}

int vtkVireonTestLineRepresentation3D::RenderTranslucentPolygonalGeometry(vtkViewport* viewport)
{
  int count = this->Superclass::RenderTranslucentPolygonalGeometry(viewport);
  if (this->TargetOrgan && this->CutterActor->GetVisibility())
  {
    this->CutterActor->SetPropertyKeys(this->GetPropertyKeys());
    count += this->CutterActor->RenderTranslucentPolygonalGeometry(viewport);
  }
  if (this->MiddlePointActor->GetVisibility())
  {
    this->MiddlePointActor->SetPropertyKeys(this->GetPropertyKeys());
    count += this->MiddlePointActor->RenderTranslucentPolygonalGeometry(viewport);
  }
  return count;
}

int vtkVireonTestLineRepresentation3D::RenderOverlay(vtkViewport* viewport)
{
  int count = this->Superclass::RenderOverlay(viewport);
  if (this->TargetOrgan && this->CutterActor->GetVisibility())
  {
    count += this->CutterActor->RenderOverlay(viewport);
  }
  if (this->MiddlePointActor->GetVisibility())
  {
    count += this->MiddlePointActor->RenderOverlay(viewport);
  }
  return count;
}

vtkTypeBool vtkVireonTestLineRepresentation3D::HasTranslucentPolygonalGeometry()
{
  if (this->Superclass::HasTranslucentPolygonalGeometry())
  {
    return 1;
  }
  if (this->TargetOrgan && this->CutterActor->GetVisibility() &&
      this->CutterActor->HasTranslucentPolygonalGeometry())
  {
    return 1;
  }
  if (this->MiddlePointActor->GetVisibility() &&
      this->MiddlePointActor->HasTranslucentPolygonalGeometry())
  {
    return 1;
  }
  return 0;
}

void vtkVireonTestLineRepresentation3D::ReleaseGraphicsResources(vtkWindow* window)
{
  this->Superclass::ReleaseGraphicsResources(window);
  // Also without a target organ: the contour may have been drawn with an earlier one.
  this->CutterActor->ReleaseGraphicsResources(window);
  this->MiddlePointActor->ReleaseGraphicsResources(window);
}
