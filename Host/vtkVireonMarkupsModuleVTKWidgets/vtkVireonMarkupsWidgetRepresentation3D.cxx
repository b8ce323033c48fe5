#include "vtkVireonMarkupsWidgetRepresentation3D.h"

#include <vtkKOVAMarkupsDisplayNode.h>
#include <vtkKOVAMarkupsNode.h>

#include <vtkActor.h>
#include <vtkCamera.h>
#include <vtkCellArray.h>
#include <vtkGlyph3DMapper.h>
#include <vtkMath.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPropCollection.h>
#include <vtkProperty.h>
#include <vtkRenderer.h>
#include <vtkSphereSource.h>

#include <cmath>

vtkVireonMarkupsWidgetRepresentation3D::ControlPointsPipeline3D::ControlPointsPipeline3D()
  : GlyphSource(vtkSmartPointer<vtkSphereSource>::New())
  , GlyphMapper(vtkSmartPointer<vtkGlyph3DMapper>::New())
  , Actor(vtkSmartPointer<vtkActor>::New())
  , Property(vtkSmartPointer<vtkProperty>::New())
{
  // A unit-diameter sphere, scaled to the control point size by the mapper.
  this->GlyphSource->SetRadius(0.5);
  this->GlyphSource->SetThetaResolution(24);
  this->GlyphSource->SetPhiResolution(12);
  this->GlyphMapper->SetInputData(this->ControlPointsPolyData);
  this->GlyphMapper->SetSourceConnection(this->GlyphSource->GetOutputPort());
  this->GlyphMapper->ScalingOn();
  this->GlyphMapper->SetScaleModeToNoDataScaling();
  this->GlyphMapper->OrientOff();
  this->GlyphMapper->ScalarVisibilityOff();
  this->Actor->SetMapper(this->GlyphMapper);
  this->Actor->SetProperty(this->Property);
  this->Actor->VisibilityOff();
}

vtkVireonMarkupsWidgetRepresentation3D::ControlPointsPipeline3D::~ControlPointsPipeline3D() =
  default;

//------------------------------------------------------------------------------
vtkVireonMarkupsWidgetRepresentation3D::vtkVireonMarkupsWidgetRepresentation3D()
{
  for (int i = 0; i < NumberOfControlPointTypes; ++i)
  {
    this->ControlPoints.push_back(std::make_unique<ControlPointsPipeline3D>());
  }
}

vtkVireonMarkupsWidgetRepresentation3D::~vtkVireonMarkupsWidgetRepresentation3D() = default;

void vtkVireonMarkupsWidgetRepresentation3D::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

vtkVireonMarkupsWidgetRepresentation3D::ControlPointsPipeline3D*
vtkVireonMarkupsWidgetRepresentation3D::GetControlPointsPipeline(int controlPointType)
{
  return static_cast<ControlPointsPipeline3D*>(
    this->Superclass::GetControlPointsPipeline(controlPointType));
}

//------------------------------------------------------------------------------
void vtkVireonMarkupsWidgetRepresentation3D::UpdateControlPointSize()
{
  vtkKOVAMarkupsDisplayNode* displayNode = this->MarkupsDisplayNode;
  if (!displayNode)
  {
    return;
  }
  if (!displayNode->GetUseGlyphScale())
  {
    this->ControlPointSize = displayNode->GetGlyphSize();
    return;
  }
  vtkCamera* camera = this->Renderer ? this->Renderer->GetActiveCamera() : nullptr;
  if (!camera)
  {
    this->ControlPointSize = displayNode->GetGlyphSize();
    return;
  }
  double viewHeight = 0.0;
  if (camera->GetParallelProjection())
  {
    viewHeight = 2.0 * camera->GetParallelScale();
  }
  else
  {
    viewHeight = 2.0 * camera->GetDistance() *
                 std::tan(vtkMath::RadiansFromDegrees(camera->GetViewAngle()) * 0.5);
  }
  this->ControlPointSize = displayNode->GetGlyphScale() * 0.01 * viewHeight;
}

void vtkVireonMarkupsWidgetRepresentation3D::UpdateFromKOVA(vtkKOVANode* caller,
  unsigned long event,
  void* callData)
{
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
  if (markupsNode && displayNode)
  {
    // The node keeps no selection state: every shown control point is a selected one.
    ControlPointsPipeline3D* selected = this->GetControlPointsPipeline(Selected);
    for (int i = 0; i < markupsNode->GetNumberOfControlPoints(); ++i)
    {
      const int status = markupsNode->GetNthControlPointPositionStatus(i);
      if (status != vtkKOVAMarkupsNode::PositionDefined &&
          status != vtkKOVAMarkupsNode::PositionPreview)
      {
        continue;
      }
      double position[3];
      markupsNode->GetNthControlPointPositionWorld(i, position);
      const vtkIdType id = selected->ControlPoints->InsertNextPoint(position);
      selected->ControlPointsPolyData->GetVerts()->InsertNextCell(1, &id);
    }
    const double* colors[NumberOfControlPointTypes] = {
      displayNode->GetColor(), displayNode->GetSelectedColor(), displayNode->GetActiveColor()
    };
    for (int type = 0; type < NumberOfControlPointTypes; ++type)
    {
      ControlPointsPipeline3D* pipeline = this->GetControlPointsPipeline(type);
      pipeline->Property->SetColor(colors[type][0], colors[type][1], colors[type][2]);
      pipeline->Property->SetOpacity(displayNode->GetOpacity());
      pipeline->GlyphMapper->SetScaleFactor(this->ControlPointSize);
    }
  }
  for (auto& pipeline : this->ControlPoints)
  {
    pipeline->ControlPoints->Modified();
    pipeline->ControlPointsPolyData->Modified();
    auto* pipeline3D = static_cast<ControlPointsPipeline3D*>(pipeline.get());
    pipeline3D->Actor->SetVisibility(
      displayable && pipeline->ControlPoints->GetNumberOfPoints() > 0);
  }
}

//------------------------------------------------------------------------------
void vtkVireonMarkupsWidgetRepresentation3D::GetActors(vtkPropCollection* collection)
{
  for (int type = 0; type < NumberOfControlPointTypes; ++type)
  {
    this->GetControlPointsPipeline(type)->Actor->GetActors(collection);
  }
}

void vtkVireonMarkupsWidgetRepresentation3D::ReleaseGraphicsResources(vtkWindow* window)
{
  for (int type = 0; type < NumberOfControlPointTypes; ++type)
  {
    this->GetControlPointsPipeline(type)->Actor->ReleaseGraphicsResources(window);
  }
}

int vtkVireonMarkupsWidgetRepresentation3D::RenderOverlay(vtkViewport* viewport)
{
  int count = 0;
  for (int type = 0; type < NumberOfControlPointTypes; ++type)
  {
    vtkActor* actor = this->GetControlPointsPipeline(type)->Actor;
    if (actor->GetVisibility())
    {
      count += actor->RenderOverlay(viewport);
    }
  }
  return count;
}

int vtkVireonMarkupsWidgetRepresentation3D::RenderOpaqueGeometry(vtkViewport* viewport)
{
  int count = 0;
  for (int type = 0; type < NumberOfControlPointTypes; ++type)
  {
    vtkActor* actor = this->GetControlPointsPipeline(type)->Actor;
    if (actor->GetVisibility())
    {
      count += actor->RenderOpaqueGeometry(viewport);
    }
  }
  return count;
}

int vtkVireonMarkupsWidgetRepresentation3D::RenderTranslucentPolygonalGeometry(
  vtkViewport* viewport)
{
  int count = 0;
  for (int type = 0; type < NumberOfControlPointTypes; ++type)
  {
    vtkActor* actor = this->GetControlPointsPipeline(type)->Actor;
    if (actor->GetVisibility())
    {
      actor->SetPropertyKeys(this->GetPropertyKeys());
      count += actor->RenderTranslucentPolygonalGeometry(viewport);
    }
  }
  return count;
}

vtkTypeBool vtkVireonMarkupsWidgetRepresentation3D::HasTranslucentPolygonalGeometry()
{
  for (int type = 0; type < NumberOfControlPointTypes; ++type)
  {
    vtkActor* actor = this->GetControlPointsPipeline(type)->Actor;
    if (actor->GetVisibility() && actor->HasTranslucentPolygonalGeometry())
    {
      return 1;
    }
  }
  return 0;
}

double* vtkVireonMarkupsWidgetRepresentation3D::GetBounds()
{
  vtkMath::UninitializeBounds(this->Bounds);
  bool any = false;
  for (int type = 0; type < NumberOfControlPointTypes; ++type)
  {
    vtkPoints* points = this->GetControlPointsPipeline(type)->ControlPoints;
    if (points->GetNumberOfPoints() == 0)
    {
      continue;
    }
    double bounds[6];
    points->GetBounds(bounds);
    for (int i = 0; i < 3; ++i)
    {
      const double low = bounds[2 * i] - 0.5 * this->ControlPointSize;
      const double high = bounds[2 * i + 1] + 0.5 * this->ControlPointSize;
      this->Bounds[2 * i] = any ? std::min(this->Bounds[2 * i], low) : low;
      this->Bounds[2 * i + 1] = any ? std::max(this->Bounds[2 * i + 1], high) : high;
    }
    any = true;
  }
  return any ? this->Bounds : nullptr;
}
