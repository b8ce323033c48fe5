#include "vtkVireonLineRepresentation2D.h"

#include <vtkKOVAMarkupsDisplayNode.h>
#include <vtkKOVAMarkupsNode.h>

#include <vtkActor2D.h>
#include <vtkCellArray.h>
#include <vtkNew.h>
#include <vtkObjectFactory.h>
#include <vtkPlane.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper2D.h>
#include <vtkProperty2D.h>
#include <vtkSampleImplicitFunctionFilter.h>
#include <vtkTransform.h>
#include <vtkTransformPolyDataFilter.h>

#include <algorithm>

vtkStandardNewMacro(vtkVireonLineRepresentation2D);

vtkVireonLineRepresentation2D::vtkVireonLineRepresentation2D()
  : Line(vtkSmartPointer<vtkPolyData>::New())
  , SliceDistance(vtkSmartPointer<vtkSampleImplicitFunctionFilter>::New())
  , WorldToSliceTransformer(vtkSmartPointer<vtkTransformPolyDataFilter>::New())
  , LineMapper(vtkSmartPointer<vtkPolyDataMapper2D>::New())
  , LineActor(vtkSmartPointer<vtkActor2D>::New())
{
  vtkNew<vtkPoints> points;
  points->SetDataTypeToDouble();
  this->Line->SetPoints(points);
  vtkNew<vtkCellArray> lines;
  this->Line->SetLines(lines);

  this->SliceDistance->SetInputData(this->Line);
  this->SliceDistance->SetImplicitFunction(this->SlicePlane);
  this->SliceDistance->ComputeGradientsOff();
  this->WorldToSliceTransformer->SetInputConnection(this->SliceDistance->GetOutputPort());
  this->WorldToSliceTransformer->SetTransform(this->WorldToSliceTransform);
  this->LineMapper->SetInputConnection(this->WorldToSliceTransformer->GetOutputPort());
  this->LineMapper->ScalarVisibilityOff();
  this->LineActor->SetMapper(this->LineMapper);
  this->LineActor->SetProperty(this->GetControlPointsPipeline(Selected)->Property);
  this->LineActor->VisibilityOff();
}

vtkVireonLineRepresentation2D::~vtkVireonLineRepresentation2D() = default;

void vtkVireonLineRepresentation2D::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

vtkSampleImplicitFunctionFilter* vtkVireonLineRepresentation2D::GetSliceDistance()
{
  return this->SliceDistance;
}

void vtkVireonLineRepresentation2D::UpdateFromKOVA(vtkKOVANode* caller,
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
  if (points->GetNumberOfPoints() == 2)
  {
    const vtkIdType ids[2] = { 0, 1 };
    this->Line->GetLines()->InsertNextCell(2, ids);
  }
  points->Modified();
  this->Line->Modified();
  // The plane and the transform are shared with the base; the filters see their changes.
  this->SliceDistance->Modified();
  this->WorldToSliceTransformer->Modified();

  if (vtkKOVAMarkupsDisplayNode* displayNode = this->MarkupsDisplayNode)
  {
    this->GetControlPointsPipeline(Selected)->Property->SetLineWidth(
      static_cast<float>(std::max(1.0, this->ControlPointSize * displayNode->GetLineThickness())));
  }

  bool lineVisible = this->GetVisibility() && points->GetNumberOfPoints() == 2;
  if (lineVisible)
  {
    this->SliceDistance->Update();
    lineVisible = this->IsRepresentationIntersectingSlice(
      vtkPolyData::SafeDownCast(this->SliceDistance->GetOutput()),
      this->SliceDistance->GetScalarArrayName());
  }
  this->LineActor->SetVisibility(lineVisible);
}

//------------------------------------------------------------------------------
void vtkVireonLineRepresentation2D::GetActors(vtkPropCollection* collection)
{
  this->Superclass::GetActors(collection);
  this->LineActor->GetActors(collection);
}

void vtkVireonLineRepresentation2D::ReleaseGraphicsResources(vtkWindow* window)
{
  this->Superclass::ReleaseGraphicsResources(window);
  this->LineActor->ReleaseGraphicsResources(window);
}

int vtkVireonLineRepresentation2D::RenderOverlay(vtkViewport* viewport)
{
  int count = 0;
  if (this->LineActor->GetVisibility())
  {
    count += this->LineActor->RenderOverlay(viewport);
  }
  // Control points on top of the line.
  count += this->Superclass::RenderOverlay(viewport);
  return count;
}

int vtkVireonLineRepresentation2D::RenderOpaqueGeometry(vtkViewport* viewport)
{
  int count = 0;
  if (this->LineActor->GetVisibility())
  {
    count += this->LineActor->RenderOpaqueGeometry(viewport);
  }
  count += this->Superclass::RenderOpaqueGeometry(viewport);
  return count;
}

int vtkVireonLineRepresentation2D::RenderTranslucentPolygonalGeometry(vtkViewport* viewport)
{
  int count = 0;
  if (this->LineActor->GetVisibility())
  {
    count += this->LineActor->RenderTranslucentPolygonalGeometry(viewport);
  }
  count += this->Superclass::RenderTranslucentPolygonalGeometry(viewport);
  return count;
}

vtkTypeBool vtkVireonLineRepresentation2D::HasTranslucentPolygonalGeometry()
{
  if (this->Superclass::HasTranslucentPolygonalGeometry())
  {
    return 1;
  }
  return this->LineActor->GetVisibility() && this->LineActor->HasTranslucentPolygonalGeometry();
}
