#include "vtkVireonGeneralizedReformatLogic.h"

#include "vtkKOVAScalarVectorDWIVolumeResampler.h"

#include <vtkExtraMathUtilities.h>
#include <vtkKOVADisplayNode.h>
#include <vtkKOVALabelMapVolumeNode.h>
#include <vtkKOVAMarkupsCurveNode.h>
#include <vtkKOVAModelNode.h>
#include <vtkKOVAScalarVolumeNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATransformNode.h>
#include <vtkOrientedGridTransform.h>
#include <vtkParallelTransportFrame.h>

#include <vtkAppendPolyData.h>
#include <vtkDataArray.h>
#include <vtkDoubleArray.h>
#include <vtkImageData.h>
#include <vtkIntArray.h>
#include <vtkMath.h>
#include <vtkMatrix4x4.h>
#include <vtkNew.h>
#include <vtkObjectFactory.h>
#include <vtkPlane.h>
#include <vtkPlaneSource.h>
#include <vtkPointData.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkTransform.h>

#include <cmath>
#include <new>

vtkStandardNewMacro(vtkVireonGeneralizedReformatLogic);

namespace
{
const char* const DefaultResamplerName = "ResampleScalarVectorDWIVolume";

/// Removes a node from its scene when the call ends, whatever the exit.
class TemporaryNodeRemover
{
public:
  TemporaryNodeRemover(vtkKOVAScene* scene, vtkKOVANode* node)
    : Scene(scene)
    , Node(node)
  {
  }
  ~TemporaryNodeRemover()
  {
    if (this->Scene && this->Node)
    {
      this->Scene->RemoveNode(this->Node);
    }
  }
  TemporaryNodeRemover(const TemporaryNodeRemover&) = delete;
  TemporaryNodeRemover& operator=(const TemporaryNodeRemover&) = delete;

private:
  vtkSmartPointer<vtkKOVAScene> Scene;
  vtkSmartPointer<vtkKOVANode> Node;
};

void SetColumns(vtkMatrix4x4* matrix, const double a[3], const double b[3], const double c[3])
{
  for (int r = 0; r < 3; ++r)
  {
    matrix->SetElement(r, 0, a[r]);
    matrix->SetElement(r, 1, b[r]);
    matrix->SetElement(r, 2, c[r]);
  }
}

void GetColumn(vtkMatrix4x4* matrix, int column, double v[3])
{
  for (int r = 0; r < 3; ++r)
  {
    v[r] = matrix->GetElement(r, column);
  }
}

/// Width and height of the cross-sections, in mm.
struct CrossSectionSize
{
  double Width;
  double Height;
};

/// The straightened space: a box whose cross-sections span WidthAxis (X) and HeightAxis (Y) and
/// whose length runs along CurveAxis (Z), from its corner Origin.
struct StraightenedBox
{
  double WidthAxis[3] = { 0.0, 0.0, 0.0 };
  double HeightAxis[3] = { 0.0, 0.0, 0.0 };
  double CurveAxis[3] = { 0.0, 0.0, 0.0 };
  double Origin[3] = { 0.0, 0.0, 0.0 };

  /// Grid point (t, j, section) of the straightening grid: a corner of the box's cross-section
  /// number \a section, sections being \a samplingDistance apart.
  void GridPoint(const CrossSectionSize& size,
    double samplingDistance,
    int t,
    int j,
    int section,
    double point[3]) const
  {
    for (int k = 0; k < 3; ++k)
    {
      point[k] = this->Origin[k] + t * size.Width * this->WidthAxis[k] +
                 j * size.Height * this->HeightAxis[k] +
                 section * samplingDistance * this->CurveAxis[k];
    }
  }
};

/// A cross-section around the curve: centred on a curve point, its width along Normal and its
/// height along Binormal.
struct CrossSectionFrame
{
  double Centre[3];
  double Normal[3];
  double Binormal[3];

  /// Corner (t, j) of the cross-section, t and j 0 or 1.
  void Corner(const CrossSectionSize& size, int t, int j, double corner[3]) const
  {
    for (int k = 0; k < 3; ++k)
    {
      corner[k] = this->Centre[k] + (t - 0.5) * size.Width * this->Normal[k] +
                  (j - 0.5) * size.Height * this->Binormal[k];
    }
  }
};

/// Rotation-minimising frames along a curve (vtkParallelTransportFrame), optionally turned about
/// the curve by a fixed angle.
class CurveFrames
{
public:
  /// Frames whose first normal follows \a initialNormal, then turned by \a angleDeg about each
  /// tangent (normal towards binormal). False when the filter gives no normals or binormals.
  bool Compute(vtkPolyData* curve, const double initialNormal[3], double angleDeg)
  {
    this->Filter->SetInputData(curve);
    this->Filter->SetPreferredInitialNormalVector(initialNormal);
    this->Filter->Update();
    vtkPointData* pointData = this->Filter->GetOutput()->GetPointData();
    this->Normals =
      vtkDoubleArray::SafeDownCast(pointData->GetArray(this->Filter->GetNormalsArrayName()));
    this->Binormals =
      vtkDoubleArray::SafeDownCast(pointData->GetArray(this->Filter->GetBinormalsArrayName()));
    const double angle = vtkMath::RadiansFromDegrees(angleDeg);
    this->Cosine = std::cos(angle);
    this->Sine = std::sin(angle);
    return this->Normals && this->Binormals;
  }

  /// The cross-section frame at curve point \a pointIndex.
  void Get(vtkIdType pointIndex, CrossSectionFrame& frame) const
  {
    this->Filter->GetOutput()->GetPoint(pointIndex, frame.Centre);
    double normal[3], binormal[3];
    this->Normals->GetTypedTuple(pointIndex, normal);
    this->Binormals->GetTypedTuple(pointIndex, binormal);
    for (int k = 0; k < 3; ++k)
    {
      frame.Normal[k] = this->Cosine * normal[k] + this->Sine * binormal[k];
      frame.Binormal[k] = -this->Sine * normal[k] + this->Cosine * binormal[k];
    }
  }

private:
  vtkNew<vtkParallelTransportFrame> Filter;
  vtkDoubleArray* Normals = nullptr;
  vtkDoubleArray* Binormals = nullptr;
  double Cosine = 1.0;
  double Sine = 0.0;
};

/// The box axes before rotation. CurveAxis runs from the first to the last sampled point. With
/// stretching, HeightAxis is the fitted plane's normal and CurveAxis is turned into the plane;
/// otherwise WidthAxis follows the mean of the curve's frame normals. False when no axes can be
/// found (the curve's ends meet, or it runs along the fitted plane's normal).
bool ComputeBoxAxes(vtkKOVAMarkupsCurveNode* sampledCurve,
  const double planeNormal[3],
  double samplingDistance,
  bool stretching,
  StraightenedBox& box)
{
  double* X = box.WidthAxis;
  double* Y = box.HeightAxis;
  double* Z = box.CurveAxis;
  const int numberOfPoints = sampledCurve->GetNumberOfControlPoints();
  double first[3], last[3];
  sampledCurve->GetNthControlPointPositionWorld(0, first);
  sampledCurve->GetNthControlPointPositionWorld(numberOfPoints - 1, last);
  vtkMath::Subtract(last, first, Z);
  const double endToEnd = vtkMath::Normalize(Z);
  // Ends that meet (up to rounding) give no direction.
  if (endToEnd <= 1e-9 * samplingDistance * (numberOfPoints - 1))
  {
    Z[0] = Z[1] = Z[2] = 0.0;
  }

  if (stretching)
  {
    std::copy(planeNormal, planeNormal + 3, Y);
    vtkMath::Cross(Z, Y, X);
    vtkMath::Normalize(X);
    double inPlane[3];
    vtkMath::Cross(X, Y, inPlane);
    vtkMath::Normalize(inPlane);
    if (vtkMath::Dot(inPlane, Z) > 0.0)
    {
      std::copy(inPlane, inPlane + 3, Z);
    }
    else
    {
      for (int k = 0; k < 3; ++k)
      {
        Z[k] = -inPlane[k];
        X[k] = -X[k];
      }
    }
  }
  else
  {
    double normalSum[3] = { 0.0, 0.0, 0.0 };
    for (int i = 0; i < numberOfPoints; ++i)
    {
      vtkNew<vtkMatrix4x4> curvePointToWorld;
      sampledCurve->GetCurvePointToWorldTransformAtPointIndex(
        sampledCurve->GetCurvePointIndexFromControlPointIndex(i), curvePointToWorld);
      double normal[3];
      GetColumn(curvePointToWorld, 0, normal);
      vtkMath::Add(normalSum, normal, normalSum);
    }
    std::copy(normalSum, normalSum + 3, X);
    vtkMath::Normalize(X);
    vtkMath::Cross(Z, X, Y);
    vtkMath::Normalize(Y);
    vtkMath::Cross(Y, Z, X);
    vtkMath::Normalize(X);
  }
  return vtkMath::Norm(X) >= 0.5 && vtkMath::Norm(Y) >= 0.5 && vtkMath::Norm(Z) >= 0.5;
}

/// Turns the cross-section axes by \a angleDeg about the curve axis (in the box's own frame).
void RotateCrossSectionAxes(StraightenedBox& box, double angleDeg)
{
  vtkNew<vtkMatrix4x4> axes;
  SetColumns(axes, box.WidthAxis, box.HeightAxis, box.CurveAxis);
  vtkNew<vtkTransform> rotation;
  rotation->Concatenate(axes);
  rotation->RotateWXYZ(angleDeg, 0.0, 0.0, 1.0);
  vtkMatrix4x4* rotated = rotation->GetMatrix();
  GetColumn(rotated, 0, box.WidthAxis);
  GetColumn(rotated, 1, box.HeightAxis);
  GetColumn(rotated, 2, box.CurveAxis);
}

/// Replaces the control points of \a curve by \a points, in order.
void ReplaceControlPoints(vtkKOVAMarkupsCurveNode* curve, vtkPoints* points)
{
  for (int i = curve->GetNumberOfControlPoints() - 1; i >= 0; --i)
  {
    curve->RemoveNthControlPoint(i);
  }
  for (vtkIdType i = 0; i < points->GetNumberOfPoints(); ++i)
  {
    curve->AddControlPoint(vtkVector3d(points->GetPoint(i)), "");
  }
}

/// Stretching: moves the curve's world points along the box's width axis onto the plane through
/// \a planeOrigin spanned by the height and curve axes, and samples the result again into
/// \a sampledCurve. False when the second sampling fails.
bool FlattenCurve(vtkVireonGeneralizedReformatLogic* logic,
  vtkKOVAMarkupsCurveNode* curveNode,
  vtkKOVAMarkupsCurveNode* sampledCurve,
  const double planeOrigin[3],
  const StraightenedBox& box,
  double samplingDistance)
{
  // In plane coordinates (height, curve, width) the third one is dropped.
  vtkNew<vtkMatrix4x4> planeToWorld;
  SetColumns(planeToWorld, box.HeightAxis, box.CurveAxis, box.WidthAxis);
  for (int r = 0; r < 3; ++r)
  {
    planeToWorld->SetElement(r, 3, planeOrigin[r]);
  }
  vtkNew<vtkMatrix4x4> worldToPlane;
  vtkMatrix4x4::Invert(planeToWorld, worldToPlane);

  vtkNew<vtkPoints> flattenedPoints;
  flattenedPoints->SetDataTypeToDouble();
  logic->GetPointsProjectedToPlane(curveNode->GetCurvePointsWorld(), worldToPlane, flattenedPoints);
  ReplaceControlPoints(sampledCurve, flattenedPoints);

  vtkNew<vtkPoints> resampledPoints;
  resampledPoints->SetDataTypeToDouble();
  if (!vtkKOVAMarkupsCurveNode::ResamplePoints(
        sampledCurve->GetCurvePointsWorld(), resampledPoints, samplingDistance, false))
  {
    return false;
  }
  ReplaceControlPoints(sampledCurve, resampledPoints);
  return true;
}

/// Centres the box on \a centre across the curve and starts it \a length / 2 before it along.
void PlaceBox(StraightenedBox& box,
  const double centre[3],
  const CrossSectionSize& size,
  double length)
{
  for (int k = 0; k < 3; ++k)
  {
    box.Origin[k] = centre[k] - 0.5 * size.Width * box.WidthAxis[k] -
                    0.5 * size.Height * box.HeightAxis[k] - 0.5 * length * box.CurveAxis[k];
  }
}

/// Gives \a transform a displacement grid of 2 x 2 x \a numberOfSections points over the box
/// (displacements not yet set).
void CreateGrid(vtkOrientedGridTransform* transform,
  const StraightenedBox& box,
  const CrossSectionSize& size,
  double samplingDistance,
  int numberOfSections)
{
  vtkNew<vtkImageData> grid;
  grid->SetOrigin(box.Origin);
  grid->SetDimensions(2, 2, numberOfSections);
  grid->SetSpacing(size.Width, size.Height, samplingDistance);
  grid->AllocateScalars(VTK_DOUBLE, 3);
  vtkNew<vtkMatrix4x4> direction;
  SetColumns(direction, box.WidthAxis, box.HeightAxis, box.CurveAxis);
  transform->SetDisplacementGridData(grid);
  transform->SetGridDirectionMatrix(direction);
}
}

//------------------------------------------------------------------------------
vtkVireonGeneralizedReformatLogic::vtkVireonGeneralizedReformatLogic()
{
  vtkKOVAScalarVectorDWIVolumeResampler* resampler = vtkKOVAScalarVectorDWIVolumeResampler::New();
  this->RegisterVolumeResampler(DefaultResamplerName, resampler);
  resampler->Delete();
}

vtkVireonGeneralizedReformatLogic::~vtkVireonGeneralizedReformatLogic() = default;

void vtkVireonGeneralizedReformatLogic::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

//------------------------------------------------------------------------------
void vtkVireonGeneralizedReformatLogic::SetKOVASceneInternal(vtkKOVAScene* newScene)
{
  vtkNew<vtkIntArray> events;
  events->InsertNextValue(vtkKOVAScene::NodeAddedEvent);
  events->InsertNextValue(vtkKOVAScene::NodeRemovedEvent);
  events->InsertNextValue(vtkKOVAScene::EndBatchProcessEvent);
  this->SetAndObserveKOVASceneEventsInternal(newScene, events);
}

void vtkVireonGeneralizedReformatLogic::RegisterNodes() {}
void vtkVireonGeneralizedReformatLogic::UpdateFromKOVAScene() {}
void vtkVireonGeneralizedReformatLogic::OnKOVASceneNodeAdded(vtkKOVANode* vtkNotUsed(node)) {}
void vtkVireonGeneralizedReformatLogic::OnKOVASceneNodeRemoved(vtkKOVANode* vtkNotUsed(node)) {}

//------------------------------------------------------------------------------
bool vtkVireonGeneralizedReformatLogic::ComputeStraighteningTransform(
  vtkKOVATransformNode* transformToStraightenedNode,
  vtkKOVAMarkupsCurveNode* curveNode,
  const double sliceSizeMm[2],
  double outputSpacingMm,
  bool stretching,
  double rotationDeg,
  vtkKOVAModelNode* reslicingPlanesModelNode)
{
  if (!transformToStraightenedNode)
  {
    vtkErrorMacro("ComputeStraighteningTransform: transformToStraightenedNode is nullptr");
    return false;
  }
  if (!curveNode)
  {
    vtkErrorMacro("ComputeStraighteningTransform: curveNode is nullptr");
    return false;
  }
  const CrossSectionSize sliceSize{ sliceSizeMm[0], sliceSizeMm[1] };
  const double samplingDistance = outputSpacingMm * this->GridSpacingFactor;

  // The curve, sampled evenly, as a temporary linear curve node.
  vtkNew<vtkPoints> sampledPoints;
  sampledPoints->SetDataTypeToDouble();
  if (!vtkKOVAMarkupsCurveNode::ResamplePoints(
        curveNode->GetCurvePointsWorld(), sampledPoints, samplingDistance, false))
  {
    vtkErrorMacro("ComputeStraighteningTransform: Resampling curve failed");
    return false;
  }
  vtkKOVAScene* scene = this->GetKOVAScene();
  if (!scene)
  {
    vtkErrorMacro("ComputeStraighteningTransform: the logic has no scene");
    return false;
  }
  auto* sampledCurve = vtkKOVAMarkupsCurveNode::SafeDownCast(scene->AddNewNodeByClass(
    "vtkKOVAMarkupsCurveNode", "CurvedPlanarReformat_resampled_curve_temp"));
  if (!sampledCurve)
  {
    vtkErrorMacro("ComputeStraighteningTransform: cannot create the temporary curve node");
    return false;
  }
  TemporaryNodeRemover remover(scene, sampledCurve);
  sampledCurve->SetNumberOfPointsPerInterpolatingSegment(1);
  sampledCurve->SetCurveTypeToLinear();
  sampledCurve->SetControlPointPositionsWorld(sampledPoints, true);
  vtkPoints* sampledCurvePoints = sampledCurve->GetCurvePointsWorld();
  if (!sampledCurvePoints || sampledCurvePoints->GetNumberOfPoints() < 3)
  {
    vtkErrorMacro("ComputeStraighteningTransform: Not enough resampled curve points");
    return false;
  }

  vtkNew<vtkPlane> fittedPlane;
  vtkExtraMathUtilities::FitPlaneToPoints(sampledCurvePoints, fittedPlane);

  StraightenedBox box;
  if (!ComputeBoxAxes(sampledCurve, fittedPlane->GetNormal(), samplingDistance, stretching, box))
  {
    vtkErrorMacro("ComputeStraighteningTransform: cannot find the straightened axes (the curve's "
                  "ends meet or the curve is degenerate)");
    return false;
  }
  double unrotatedWidthAxis[3];
  std::copy(box.WidthAxis, box.WidthAxis + 3, unrotatedWidthAxis);
  RotateCrossSectionAxes(box, rotationDeg);

  if (stretching &&
      !FlattenCurve(this, curveNode, sampledCurve, fittedPlane->GetOrigin(), box, samplingDistance))
  {
    vtkErrorMacro("ComputeStraighteningTransform: second call to resampling curve failed");
    return false;
  }

  PlaceBox(box, fittedPlane->GetOrigin(), sliceSize, sampledCurve->GetCurveLengthWorld(0, -1));
  const int numberOfSections = sampledCurve->GetNumberOfControlPoints();
  vtkNew<vtkOrientedGridTransform> gridTransform;
  CreateGrid(gridTransform, box, sliceSize, samplingDistance, numberOfSections);
  transformToStraightenedNode->SetAndObserveTransformFromParent(gridTransform);
  auto* storedGridTransform =
    vtkGridTransform::SafeDownCast(transformToStraightenedNode->GetTransformFromParent());
  if (!storedGridTransform)
  {
    vtkErrorMacro("ComputeStraighteningTransform: transformToStraightenedNode must have a "
                  "transform from parent");
    return false;
  }

  // The cross-sections turn with the box axes. Turning the frames rather than their initial
  // normal turns every cross-section by exactly the angle, wherever the curve's first tangent
  // points. A stretched curve lies in a plane across the turned width axis, so its frames'
  // normal is that axis throughout and needs no further turn.
  CurveFrames frames;
  if (!(stretching
          ? frames.Compute(sampledCurve->GetCurveWorld(), box.WidthAxis, 0.0)
          : frames.Compute(sampledCurve->GetCurveWorld(), unrotatedWidthAxis, rotationDeg)))
  {
    vtkErrorMacro("ComputeStraighteningTransform: the curve frames have no normals or binormals");
    return false;
  }

  // Each grid point's displacement carries it from the box to the matching corner of the
  // cross-section around the curve.
  vtkImageData* displacementGrid = storedGridTransform->GetDisplacementGrid();
  vtkDataArray* displacements = displacementGrid->GetPointData()->GetScalars();
  vtkNew<vtkAppendPolyData> reslicingPlanes;
  for (int section = 0; section < numberOfSections; ++section)
  {
    const vtkIdType curvePointIndex =
      sampledCurve->GetCurvePointIndexFromControlPointIndex(section);
    CrossSectionFrame frame;
    frames.Get(curvePointIndex, frame);
    double corners[2][2][3]; // [j][t]: t across the width, j across the height
    for (int j = 0; j < 2; ++j)
    {
      for (int t = 0; t < 2; ++t)
      {
        double straightPosition[3];
        double displacement[3];
        frame.Corner(sliceSize, t, j, corners[j][t]);
        box.GridPoint(sliceSize, samplingDistance, t, j, section, straightPosition);
        vtkMath::Subtract(corners[j][t], straightPosition, displacement);
        displacements->SetTuple(t + 2 * (j + 2 * section), displacement);
      }
    }
    if (reslicingPlanesModelNode)
    {
      vtkNew<vtkPlaneSource> plane;
      plane->SetOrigin(corners[0][0]);
      plane->SetPoint1(corners[0][1]);
      plane->SetPoint2(corners[1][0]);
      plane->Update();
      reslicingPlanes->AddInputData(plane->GetOutput());
    }
  }
  displacements->Modified();
  displacementGrid->Modified();

  if (reslicingPlanesModelNode)
  {
    reslicingPlanes->Update();
    if (!reslicingPlanesModelNode->GetDisplayNode())
    {
      reslicingPlanesModelNode->CreateDefaultDisplayNodes();
      if (vtkKOVADisplayNode* displayNode = reslicingPlanesModelNode->GetDisplayNode())
      {
        // Also show where the planes cut the slice views.
        displayNode->SetVisibility2D(true);
      }
    }
    reslicingPlanesModelNode->SetAndObservePolyData(reslicingPlanes->GetOutput());
  }
  return true;
}

//------------------------------------------------------------------------------
bool vtkVireonGeneralizedReformatLogic::GetPointsProjectedToPlane(vtkPoints* pointsArrayIn,
  vtkMatrix4x4* transformWorldToPlane,
  vtkPoints* pointsArrayOut)
{
  if (!pointsArrayIn)
  {
    vtkErrorMacro("GetPointsProjectedToPlane: pointsArrayIn is nullptr");
    return false;
  }
  if (!transformWorldToPlane)
  {
    vtkErrorMacro("GetPointsProjectedToPlane: transformWorldToPlane is nullptr");
    return false;
  }
  if (!pointsArrayOut)
  {
    vtkErrorMacro("GetPointsProjectedToPlane: pointsArrayOut is nullptr");
    return false;
  }
  vtkNew<vtkMatrix4x4> transformPlaneToWorld;
  vtkMatrix4x4::Invert(transformWorldToPlane, transformPlaneToWorld);
  const vtkIdType count = pointsArrayIn->GetNumberOfPoints();
  pointsArrayOut->SetNumberOfPoints(count);
  for (vtkIdType i = 0; i < count; ++i)
  {
    double p[4] = { 0.0, 0.0, 0.0, 1.0 };
    pointsArrayIn->GetPoint(i, p);
    double q[4];
    transformWorldToPlane->MultiplyPoint(p, q);
    q[2] = 0.0;
    double r[4];
    transformPlaneToWorld->MultiplyPoint(q, r);
    pointsArrayOut->SetPoint(i, r);
  }
  return true;
}

//------------------------------------------------------------------------------
bool vtkVireonGeneralizedReformatLogic::StraightenVolume(
  vtkKOVAScalarVolumeNode* outputStraightenedVolume,
  vtkKOVAScalarVolumeNode* inputVolume,
  const double outputStraightenedVolumeSpacing[3],
  vtkKOVATransformNode* straighteningTransformNode)
{
  if (!outputStraightenedVolume)
  {
    vtkErrorMacro("StraightenVolume: outputStraightenedVolume is nullptr");
    return false;
  }
  if (!inputVolume)
  {
    vtkErrorMacro("StraightenVolume: inputVolume is nullptr");
    return false;
  }
  if (!straighteningTransformNode)
  {
    vtkErrorMacro("StraightenVolume: straighteningTransformNode is nullptr");
    return false;
  }
  auto* gridTransform = vtkOrientedGridTransform::SafeDownCast(
    straighteningTransformNode->GetTransformFromParentAs("vtkOrientedGridTransform", true, false));
  if (!gridTransform)
  {
    vtkErrorMacro("StraightenVolume: straightening transform must contain a "
                  "vtkOrientedGridTransform from parent");
    return false;
  }
  vtkMatrix4x4* gridDirection = gridTransform->GetGridDirectionMatrix();
  vtkImageData* grid = gridTransform->GetDisplacementGrid();
  if (!grid)
  {
    vtkErrorMacro("StraightenVolume: the straightening transform has no displacement grid");
    return false;
  }
  const double* s = outputStraightenedVolumeSpacing;
  if (!(s[0] > 0.0 && s[1] > 0.0 && s[2] > 0.0))
  {
    vtkErrorMacro("StraightenVolume: output spacing must be positive, got " << s[0] << " " << s[1]
                                                                            << " " << s[2]);
    return false;
  }
  vtkImageData* inputImage = inputVolume->GetImageData();
  if (!inputImage || !inputImage->GetPointData()->GetScalars())
  {
    vtkErrorMacro("StraightenVolume: input volume must have image data");
    return false;
  }

  double gridOrigin[3], gridSpacing[3];
  int gridDimensions[3];
  grid->GetOrigin(gridOrigin);
  grid->GetSpacing(gridSpacing);
  grid->GetDimensions(gridDimensions);

  vtkNew<vtkMatrix4x4> ijkToRAS;
  if (gridDirection)
  {
    ijkToRAS->DeepCopy(gridDirection);
  }
  for (int r = 0; r < 4; ++r)
  {
    for (int c = 0; c < 3; ++c)
    {
      ijkToRAS->SetElement(r, c, ijkToRAS->GetElement(r, c) * s[c]);
    }
  }
  for (int r = 0; r < 3; ++r)
  {
    ijkToRAS->SetElement(r, 3, gridOrigin[r]);
  }

  int extent[6];
  for (int a = 0; a < 3; ++a)
  {
    const double voxels = std::trunc((gridDimensions[a] - 1) * gridSpacing[a] / s[a]);
    if (!(voxels <= VTK_INT_MAX))
    {
      vtkErrorMacro("StraightenVolume: the straightened volume would have "
        << voxels << " voxels along axis " << a << ", more than an image holds");
      return false;
    }
    extent[2 * a] = 0;
    extent[2 * a + 1] = static_cast<int>(voxels) - 1;
  }
  vtkNew<vtkImageData> outputImage;
  outputImage->SetExtent(extent);
  bool allocated = true;
  try
  {
    // VTK's arrays throw std::bad_alloc when their memory cannot be had.
    outputImage->AllocateScalars(
      inputImage->GetScalarType(), inputImage->GetNumberOfScalarComponents());
  }
  catch (const std::bad_alloc&)
  {
    allocated = false;
  }
  vtkDataArray* outputScalars = outputImage->GetPointData()->GetScalars();
  if (!allocated || !outputScalars ||
      outputScalars->GetNumberOfTuples() != outputImage->GetNumberOfPoints())
  {
    vtkErrorMacro("StraightenVolume: cannot allocate the straightened volume ("
      << outputImage->GetNumberOfPoints() << " voxels)");
    return false;
  }
  outputStraightenedVolume->SetAndObserveImageData(outputImage);
  outputStraightenedVolume->SetIJKToRASMatrix(ijkToRAS);

  const std::string resamplerName = DefaultResamplerName;
  if (!this->IsVolumeResamplerRegistered(resamplerName))
  {
    vtkErrorMacro("StraightenVolume: failed to get CLI logic for module: " << resamplerName);
    return false;
  }
  const int interpolationType = inputVolume->IsA("vtkKOVALabelMapVolumeNode")
                                  ? vtkKOVAAbstractVolumeResampler::InterpolationTypeNearestNeighbor
                                  : vtkKOVAAbstractVolumeResampler::InterpolationTypeBSpline;
  const vtkKOVAAbstractVolumeResampler::ResamplingParameters parameters;
  if (!this->ResampleVolume(resamplerName,
        inputVolume,
        outputStraightenedVolume,
        straighteningTransformNode,
        outputStraightenedVolume,
        interpolationType,
        parameters))
  {
    vtkErrorMacro("StraightenVolume: Failed to resample volume using " << resamplerName);
    return false;
  }

  outputStraightenedVolume->CreateDefaultDisplayNodes();
  vtkKOVADisplayNode* inputDisplayNode = inputVolume->GetDisplayNode();
  vtkKOVADisplayNode* outputDisplayNode = outputStraightenedVolume->GetDisplayNode();
  if (inputDisplayNode && outputDisplayNode)
  {
    outputDisplayNode->CopyContent(inputDisplayNode, true);
  }
  return true;
}

//------------------------------------------------------------------------------
bool vtkVireonGeneralizedReformatLogic::ProjectVolume(
  vtkKOVAScalarVolumeNode* outputProjectedVolume,
  vtkKOVAScalarVolumeNode* inputStraightenedVolume,
  int projectionAxisIndex)
{
  if (!outputProjectedVolume)
  {
    vtkErrorMacro("ProjectVolume: outputProjectedVolume is nullptr");
    return false;
  }
  if (!inputStraightenedVolume)
  {
    vtkErrorMacro("ProjectVolume: inputStraightenedVolume is nullptr");
    return false;
  }
  if (projectionAxisIndex < 0 || projectionAxisIndex > 2)
  {
    vtkErrorMacro("ProjectVolume: projectionAxisIndex is out of range");
    return false;
  }
  vtkNew<vtkImageData> outputImage;
  outputProjectedVolume->SetAndObserveImageData(outputImage);

  vtkImageData* inputImage = inputStraightenedVolume->GetImageData();
  if (!inputImage)
  {
    vtkErrorMacro("ProjectVolume: input straightened volume must have image data");
    return false;
  }
  int inputDimensions[3];
  inputImage->GetDimensions(inputDimensions);
  int outputDimensions[3] = { inputDimensions[0], inputDimensions[1], inputDimensions[2] };
  outputDimensions[projectionAxisIndex] = 1;
  outputImage->SetDimensions(outputDimensions);
  outputImage->AllocateScalars(
    inputImage->GetScalarType(), inputImage->GetNumberOfScalarComponents());

  vtkDataArray* inputScalars = inputImage->GetPointData()->GetScalars();
  vtkDataArray* outputScalars = outputImage->GetPointData()->GetScalars();
  const int count = inputDimensions[projectionAxisIndex];
  if (inputScalars && outputScalars && count > 0)
  {
    const vtkIdType stride[3] = {
      1, inputDimensions[0], static_cast<vtkIdType>(inputDimensions[0]) * inputDimensions[1]
    };
    const vtkIdType axisStride = stride[projectionAxisIndex];
    for (int k = 0; k < outputDimensions[2]; ++k)
    {
      for (int j = 0; j < outputDimensions[1]; ++j)
      {
        for (int i = 0; i < outputDimensions[0]; ++i)
        {
          const vtkIdType start = i * stride[0] + j * stride[1] + k * stride[2];
          double sum = 0.0;
          for (int a = 0; a < count; ++a)
          {
            sum += inputScalars->GetComponent(start + a * axisStride, 0);
          }
          const vtkIdType outputId = i + static_cast<vtkIdType>(outputDimensions[0]) *
                                           (j + static_cast<vtkIdType>(outputDimensions[1]) * k);
          outputScalars->SetComponent(outputId, 0, sum / count);
        }
      }
    }
  }
  outputImage->Modified();

  // The single slice sits at the centre of the projected extent.
  vtkNew<vtkMatrix4x4> ijkToRAS;
  inputStraightenedVolume->GetIJKToRASMatrix(ijkToRAS);
  const double centreIndex = 0.5 * (count - 1);
  for (int r = 0; r < 3; ++r)
  {
    ijkToRAS->SetElement(r,
      3,
      ijkToRAS->GetElement(r, 3) + centreIndex * ijkToRAS->GetElement(r, projectionAxisIndex));
  }
  outputProjectedVolume->SetIJKToRASMatrix(ijkToRAS);
  outputProjectedVolume->CreateDefaultDisplayNodes();
  return true;
}

//------------------------------------------------------------------------------
void vtkVireonGeneralizedReformatLogic::RegisterVolumeResampler(const std::string& resamplerName,
  vtkKOVAAbstractVolumeResampler* resampler)
{
  if (resamplerName.empty())
  {
    vtkErrorMacro("RegisterVolumeResampler: invalid sampler name.");
    return;
  }
  this->ResamplerRegistry.emplace(resamplerName, resampler);
}

void vtkVireonGeneralizedReformatLogic::UnregisterVolumeResampler(const std::string& resamplerName)
{
  this->ResamplerRegistry.erase(resamplerName);
}

bool vtkVireonGeneralizedReformatLogic::IsVolumeResamplerRegistered(
  const std::string& resamplerName)
{
  return this->ResamplerRegistry.count(resamplerName) > 0;
}

vtkKOVAAbstractVolumeResampler* vtkVireonGeneralizedReformatLogic::GetVolumeResampler(
  const std::string& resamplerName)
{
  const auto it = this->ResamplerRegistry.find(resamplerName);
  return it == this->ResamplerRegistry.end() ? nullptr : it->second.GetPointer();
}

bool vtkVireonGeneralizedReformatLogic::ResampleVolume(const std::string& resamplerName,
  vtkKOVAVolumeNode* inputVolume,
  vtkKOVAVolumeNode* outputVolume,
  vtkKOVATransformNode* resamplingTransform,
  vtkKOVAVolumeNode* referenceVolume,
  int interpolationType,
  const vtkKOVAAbstractVolumeResampler::ResamplingParameters& resamplingParameters)
{
  vtkKOVAAbstractVolumeResampler* resampler = this->GetVolumeResampler(resamplerName);
  if (!resampler)
  {
    vtkErrorMacro("ResampleVolume: resampler not registered " << resamplerName);
    return false;
  }
  return resampler->Resample(inputVolume,
    outputVolume,
    resamplingTransform,
    referenceVolume,
    interpolationType,
    resamplingParameters);
}
