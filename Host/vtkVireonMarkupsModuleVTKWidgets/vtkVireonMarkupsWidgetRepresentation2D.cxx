#include "vtkVireonMarkupsWidgetRepresentation2D.h"

#include <vtkKOVAMarkupsDisplayNode.h>
#include <vtkKOVAMarkupsNode.h>
#include <vtkKOVASliceNode.h>

#include <vtkActor2D.h>
#include <vtkCellArray.h>
#include <vtkDataArray.h>
#include <vtkGlyph2D.h>
#include <vtkGlyphSource2D.h>
#include <vtkMath.h>
#include <vtkMatrix4x4.h>
#include <vtkNew.h>
#include <vtkPlane.h>
#include <vtkPointData.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper2D.h>
#include <vtkPropCollection.h>
#include <vtkProperty2D.h>
#include <vtkTransform.h>

#include <cmath>

vtkVireonMarkupsWidgetRepresentation2D::ControlPointsPipeline2D::ControlPointsPipeline2D()
  : GlyphSource(vtkSmartPointer<vtkGlyphSource2D>::New())
  , Glypher(vtkSmartPointer<vtkGlyph2D>::New())
  , Mapper(vtkSmartPointer<vtkPolyDataMapper2D>::New())
  , Actor(vtkSmartPointer<vtkActor2D>::New())
  , Property(vtkSmartPointer<vtkProperty2D>::New())
{
  // A filled circle of unit diameter, scaled to the control point size by the glypher.
  this->GlyphSource->SetGlyphTypeToCircle();
  this->GlyphSource->FilledOn();
  this->GlyphSource->SetResolution(24);
  this->GlyphSource->SetScale(1.0);
  this->Glypher->SetInputData(this->ControlPointsPolyData);
  this->Glypher->SetSourceConnection(this->GlyphSource->GetOutputPort());
  this->Glypher->ScalingOn();
  this->Glypher->SetScaleModeToDataScalingOff();
  this->Glypher->OrientOff();
  this->Mapper->SetInputConnection(this->Glypher->GetOutputPort());
  this->Mapper->ScalarVisibilityOff();
  this->Actor->SetMapper(this->Mapper);
  this->Actor->SetProperty(this->Property);
  this->Actor->VisibilityOff();
}

vtkVireonMarkupsWidgetRepresentation2D::ControlPointsPipeline2D::~ControlPointsPipeline2D() =
  default;

//------------------------------------------------------------------------------
vtkVireonMarkupsWidgetRepresentation2D::vtkVireonMarkupsWidgetRepresentation2D()
  : SlicePlane(vtkSmartPointer<vtkPlane>::New())
  , WorldToSliceTransform(vtkSmartPointer<vtkTransform>::New())
{
  for (int i = 0; i < NumberOfControlPointTypes; ++i)
  {
    this->ControlPoints.push_back(std::make_unique<ControlPointsPipeline2D>());
  }
}

vtkVireonMarkupsWidgetRepresentation2D::~vtkVireonMarkupsWidgetRepresentation2D() = default;

void vtkVireonMarkupsWidgetRepresentation2D::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

vtkVireonMarkupsWidgetRepresentation2D::ControlPointsPipeline2D*
vtkVireonMarkupsWidgetRepresentation2D::GetControlPointsPipeline(int controlPointType)
{
  return static_cast<ControlPointsPipeline2D*>(
    this->Superclass::GetControlPointsPipeline(controlPointType));
}

//------------------------------------------------------------------------------
void vtkVireonMarkupsWidgetRepresentation2D::UpdateSliceGeometry()
{
  vtkKOVASliceNode* sliceNode = vtkKOVASliceNode::SafeDownCast(this->ViewNode);
  if (!sliceNode)
  {
    return;
  }
  vtkMatrix4x4* xyToRAS = sliceNode->GetXYToRAS();
  double origin[4] = { 0.0, 0.0, 0.0, 1.0 };
  xyToRAS->MultiplyPoint(origin, origin);
  double normal[3] = {
    xyToRAS->GetElement(0, 2), xyToRAS->GetElement(1, 2), xyToRAS->GetElement(2, 2)
  };
  vtkMath::Normalize(normal);
  this->SlicePlane->SetOrigin(origin);
  this->SlicePlane->SetNormal(normal);

  vtkNew<vtkMatrix4x4> rasToXY;
  vtkMatrix4x4::Invert(xyToRAS, rasToXY);
  this->WorldToSliceTransform->SetMatrix(rasToXY);
}

double vtkVireonMarkupsWidgetRepresentation2D::GetSliceHalfThickness()
{
  vtkKOVASliceNode* sliceNode = vtkKOVASliceNode::SafeDownCast(this->ViewNode);
  if (!sliceNode)
  {
    return 0.0;
  }
  vtkMatrix4x4* xyToRAS = sliceNode->GetXYToRAS();
  const double column[3] = {
    xyToRAS->GetElement(0, 2), xyToRAS->GetElement(1, 2), xyToRAS->GetElement(2, 2)
  };
  return 0.5 * vtkMath::Norm(column);
}

void vtkVireonMarkupsWidgetRepresentation2D::GetWorldToSliceCoordinates(const double world[3],
  double xy[3])
{
  this->WorldToSliceTransform->TransformPoint(world, xy);
}

void vtkVireonMarkupsWidgetRepresentation2D::GetSliceToWorldCoordinates(const double xy[3],
  double world[3])
{
  vtkKOVASliceNode* sliceNode = vtkKOVASliceNode::SafeDownCast(this->ViewNode);
  if (!sliceNode)
  {
    world[0] = xy[0];
    world[1] = xy[1];
    world[2] = xy[2];
    return;
  }
  double point[4] = { xy[0], xy[1], xy[2], 1.0 };
  sliceNode->GetXYToRAS()->MultiplyPoint(point, point);
  world[0] = point[0];
  world[1] = point[1];
  world[2] = point[2];
}

bool vtkVireonMarkupsWidgetRepresentation2D::GetNthControlPointDisplayPosition(int n,
  double position[3])
{
  vtkKOVAMarkupsNode* markupsNode = this->MarkupsNode;
  if (!markupsNode || !vtkKOVASliceNode::SafeDownCast(this->ViewNode) || n < 0 ||
      n >= markupsNode->GetNumberOfControlPoints())
  {
    return false;
  }
  this->UpdateSliceGeometry();
  double world[3];
  markupsNode->GetNthControlPointPositionWorld(n, world);
  double xy[3];
  this->GetWorldToSliceCoordinates(world, xy);
  position[0] = xy[0];
  position[1] = xy[1];
  position[2] = 0.0;
  return true;
}

bool vtkVireonMarkupsWidgetRepresentation2D::IsRepresentationIntersectingSlice(
  vtkPolyData* representation,
  const char* arrayName)
{
  if (!representation || !arrayName || representation->GetNumberOfPoints() == 0)
  {
    return false;
  }
  vtkDataArray* distances = representation->GetPointData()->GetArray(arrayName);
  if (!distances || distances->GetNumberOfTuples() == 0)
  {
    return false;
  }
  double range[2];
  distances->GetRange(range, 0);
  const double halfThickness = this->GetSliceHalfThickness();
  return range[0] <= halfThickness && range[1] >= -halfThickness;
}

//------------------------------------------------------------------------------
void vtkVireonMarkupsWidgetRepresentation2D::UpdateControlPointSize()
{
  vtkKOVAMarkupsDisplayNode* displayNode = this->MarkupsDisplayNode;
  vtkKOVASliceNode* sliceNode = vtkKOVASliceNode::SafeDownCast(this->ViewNode);
  if (!displayNode || !sliceNode)
  {
    return;
  }
  if (displayNode->GetUseGlyphScale())
  {
    this->ControlPointSize = displayNode->GetGlyphScale() * 0.01 * sliceNode->GetDimensions()[1];
    return;
  }
  vtkMatrix4x4* xyToRAS = sliceNode->GetXYToRAS();
  const double column[3] = {
    xyToRAS->GetElement(0, 0), xyToRAS->GetElement(1, 0), xyToRAS->GetElement(2, 0)
  };
  const double millimetresPerPixel = vtkMath::Norm(column);
  this->ControlPointSize =
    millimetresPerPixel > 0.0 ? displayNode->GetGlyphSize() / millimetresPerPixel : 1.0;
}

void vtkVireonMarkupsWidgetRepresentation2D::UpdateFromKOVA(vtkKOVANode* caller,
  unsigned long event,
  void* callData)
{
  this->UpdateSliceGeometry();
  this->Superclass::UpdateFromKOVA(caller, event, callData);

  const bool displayable = this->IsDisplayable();
  this->SetVisibility(displayable);

  for (auto& pipeline : this->ControlPoints)
  {
    pipeline->ControlPoints->Reset();
    pipeline->ControlPointsPolyData->GetVerts()->Reset();
  }
  vtkKOVAMarkupsNode* markupsNode = this->MarkupsNode;
  vtkKOVAMarkupsDisplayNode* displayNode = this->MarkupsDisplayNode;
  if (markupsNode && displayNode && vtkKOVASliceNode::SafeDownCast(this->ViewNode))
  {
    // The node keeps no selection state: every shown control point is a selected one. Only the
    // points on the slice are shown.
    ControlPointsPipeline2D* selected = this->GetControlPointsPipeline(Selected);
    const double halfThickness = this->GetSliceHalfThickness();
    for (int i = 0; i < markupsNode->GetNumberOfControlPoints(); ++i)
    {
      const int status = markupsNode->GetNthControlPointPositionStatus(i);
      if (status != vtkKOVAMarkupsNode::PositionDefined &&
          status != vtkKOVAMarkupsNode::PositionPreview)
      {
        continue;
      }
      double world[3];
      markupsNode->GetNthControlPointPositionWorld(i, world);
      if (std::abs(this->SlicePlane->EvaluateFunction(world)) > halfThickness)
      {
        continue;
      }
      double xy[3];
      this->GetWorldToSliceCoordinates(world, xy);
      xy[2] = 0.0;
      const vtkIdType id = selected->ControlPoints->InsertNextPoint(xy);
      selected->ControlPointsPolyData->GetVerts()->InsertNextCell(1, &id);
    }
    const double* colors[NumberOfControlPointTypes] = {
      displayNode->GetColor(), displayNode->GetSelectedColor(), displayNode->GetActiveColor()
    };
    for (int type = 0; type < NumberOfControlPointTypes; ++type)
    {
      ControlPointsPipeline2D* pipeline = this->GetControlPointsPipeline(type);
      pipeline->Property->SetColor(colors[type][0], colors[type][1], colors[type][2]);
      pipeline->Property->SetOpacity(displayNode->GetOpacity());
      pipeline->Property->SetPointSize(static_cast<float>(this->ControlPointSize));
      pipeline->Glypher->SetScaleFactor(this->ControlPointSize);
    }
  }
  for (auto& pipeline : this->ControlPoints)
  {
    pipeline->ControlPoints->Modified();
    pipeline->ControlPointsPolyData->Modified();
    auto* pipeline2D = static_cast<ControlPointsPipeline2D*>(pipeline.get());
    pipeline2D->Actor->SetVisibility(
      displayable && pipeline->ControlPoints->GetNumberOfPoints() > 0);
  }
}

//------------------------------------------------------------------------------
void vtkVireonMarkupsWidgetRepresentation2D::GetActors(vtkPropCollection* collection)
{
  for (int type = 0; type < NumberOfControlPointTypes; ++type)
  {
    this->GetControlPointsPipeline(type)->Actor->GetActors(collection);
  }
}

void vtkVireonMarkupsWidgetRepresentation2D::ReleaseGraphicsResources(vtkWindow* window)
{
  for (int type = 0; type < NumberOfControlPointTypes; ++type)
  {
    this->GetControlPointsPipeline(type)->Actor->ReleaseGraphicsResources(window);
  }
}

int vtkVireonMarkupsWidgetRepresentation2D::RenderOverlay(vtkViewport* viewport)
{
  int count = 0;
  for (int type = 0; type < NumberOfControlPointTypes; ++type)
  {
    vtkActor2D* actor = this->GetControlPointsPipeline(type)->Actor;
    if (actor->GetVisibility())
    {
      count += actor->RenderOverlay(viewport);
    }
  }
  return count;
}

int vtkVireonMarkupsWidgetRepresentation2D::RenderOpaqueGeometry(vtkViewport* viewport)
{
  int count = 0;
  for (int type = 0; type < NumberOfControlPointTypes; ++type)
  {
    vtkActor2D* actor = this->GetControlPointsPipeline(type)->Actor;
    if (actor->GetVisibility())
    {
      count += actor->RenderOpaqueGeometry(viewport);
    }
  }
  return count;
}

int vtkVireonMarkupsWidgetRepresentation2D::RenderTranslucentPolygonalGeometry(
  vtkViewport* viewport)
{
  int count = 0;
  for (int type = 0; type < NumberOfControlPointTypes; ++type)
  {
    vtkActor2D* actor = this->GetControlPointsPipeline(type)->Actor;
    if (actor->GetVisibility())
    {
      count += actor->RenderTranslucentPolygonalGeometry(viewport);
    }
  }
  return count;
}

vtkTypeBool vtkVireonMarkupsWidgetRepresentation2D::HasTranslucentPolygonalGeometry()
{
  for (int type = 0; type < NumberOfControlPointTypes; ++type)
  {
    vtkActor2D* actor = this->GetControlPointsPipeline(type)->Actor;
    if (actor->GetVisibility() && actor->HasTranslucentPolygonalGeometry())
    {
      return 1;
    }
  }
  return 0;
}
