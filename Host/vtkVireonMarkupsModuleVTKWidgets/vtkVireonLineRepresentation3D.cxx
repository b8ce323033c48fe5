#include "vtkVireonLineRepresentation3D.h"

#include <vtkKOVAMarkupsDisplayNode.h>
#include <vtkKOVAMarkupsNode.h>

#include <vtkActor.h>
#include <vtkCellArray.h>
#include <vtkNew.h>
#include <vtkObjectFactory.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>
#include <vtkTubeFilter.h>

#include <algorithm>

vtkStandardNewMacro(vtkVireonLineRepresentation3D);

vtkVireonLineRepresentation3D::vtkVireonLineRepresentation3D()
  : Line(vtkSmartPointer<vtkPolyData>::New())
  , TubeFilter(vtkSmartPointer<vtkTubeFilter>::New())
  , LineMapper(vtkSmartPointer<vtkPolyDataMapper>::New())
  , LineActor(vtkSmartPointer<vtkActor>::New())
{
  vtkNew<vtkPoints> points;
  points->SetDataTypeToDouble();
  this->Line->SetPoints(points);
  vtkNew<vtkCellArray> lines;
  this->Line->SetLines(lines);

  this->TubeFilter->SetInputData(this->Line);
  this->TubeFilter->SetNumberOfSides(16);
  this->TubeFilter->CappingOn();
  this->LineMapper->SetInputConnection(this->TubeFilter->GetOutputPort());
  this->LineMapper->ScalarVisibilityOff();
  this->LineActor->SetMapper(this->LineMapper);
  this->LineActor->SetProperty(this->GetControlPointsPipeline(Selected)->Property);
  this->LineActor->VisibilityOff();
}

vtkVireonLineRepresentation3D::~vtkVireonLineRepresentation3D() = default;

void vtkVireonLineRepresentation3D::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

void vtkVireonLineRepresentation3D::UpdateFromKOVA(vtkKOVANode* caller,
  unsigned long event,
  void* callData)
{
  this->Superclass::UpdateFromKOVA(caller, event, callData);

  vtkPoints* points = this->Line->GetPoints();
  points->Reset();
  this->Line->GetLines()->Reset();
  vtkKOVAMarkupsNode* markupsNode = this->MarkupsNode;
  if (markupsNode)
  {
    for (int i = 0; i < markupsNode->GetNumberOfControlPoints() && points->GetNumberOfPoints() < 2;
         ++i)
    {
      const int status = markupsNode->GetNthControlPointPositionStatus(i);
      if (status == vtkKOVAMarkupsNode::PositionDefined ||
          status == vtkKOVAMarkupsNode::PositionPreview)
      {
        double world[3];
        markupsNode->GetNthControlPointPositionWorld(i, world);
        points->InsertNextPoint(world);
      }
    }
  }
  const bool complete = points->GetNumberOfPoints() == 2;
  if (complete)
  {
    const vtkIdType ids[2] = { 0, 1 };
    this->Line->GetLines()->InsertNextCell(2, ids);
  }
  points->Modified();
  this->Line->Modified();

  double thickness = 0.2;
  if (vtkKOVAMarkupsDisplayNode* displayNode = this->MarkupsDisplayNode)
  {
    thickness = displayNode->GetLineThickness();
  }
  this->TubeFilter->SetRadius(std::max(1e-6, 0.5 * this->ControlPointSize * thickness));
  this->LineActor->SetVisibility(this->GetVisibility() && complete && thickness > 0.0);
}

//------------------------------------------------------------------------------
void vtkVireonLineRepresentation3D::GetActors(vtkPropCollection* collection)
{
  this->Superclass::GetActors(collection);
  this->LineActor->GetActors(collection);
}

void vtkVireonLineRepresentation3D::ReleaseGraphicsResources(vtkWindow* window)
{
  this->Superclass::ReleaseGraphicsResources(window);
  this->LineActor->ReleaseGraphicsResources(window);
}

int vtkVireonLineRepresentation3D::RenderOverlay(vtkViewport* viewport)
{
  int count = this->Superclass::RenderOverlay(viewport);
  if (this->LineActor->GetVisibility())
  {
    count += this->LineActor->RenderOverlay(viewport);
  }
  return count;
}

int vtkVireonLineRepresentation3D::RenderOpaqueGeometry(vtkViewport* viewport)
{
  int count = this->Superclass::RenderOpaqueGeometry(viewport);
  if (this->LineActor->GetVisibility())
  {
    count += this->LineActor->RenderOpaqueGeometry(viewport);
  }
  return count;
}

int vtkVireonLineRepresentation3D::RenderTranslucentPolygonalGeometry(vtkViewport* viewport)
{
  int count = this->Superclass::RenderTranslucentPolygonalGeometry(viewport);
  if (this->LineActor->GetVisibility())
  {
    this->LineActor->SetPropertyKeys(this->GetPropertyKeys());
    count += this->LineActor->RenderTranslucentPolygonalGeometry(viewport);
  }
  return count;
}

vtkTypeBool vtkVireonLineRepresentation3D::HasTranslucentPolygonalGeometry()
{
  if (this->Superclass::HasTranslucentPolygonalGeometry())
  {
    return 1;
  }
  return this->LineActor->GetVisibility() && this->LineActor->HasTranslucentPolygonalGeometry();
}
