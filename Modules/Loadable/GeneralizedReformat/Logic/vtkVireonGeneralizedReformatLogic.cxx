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
  const double w = sliceSizeMm[0];
  const double h = sliceSizeMm[1];
  const double d = outputSpacingMm * this->GridSpacingFactor;

  vtkNew<vtkPoints> resampledCurvePoints;
  resampledCurvePoints->SetDataTypeToDouble();
  if (!vtkKOVAMarkupsCurveNode::ResamplePoints(
        curveNode->GetCurvePointsWorld(), resampledCurvePoints, d, false))
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
  auto* resampledCurve = vtkKOVAMarkupsCurveNode::SafeDownCast(scene->AddNewNodeByClass(
    "vtkKOVAMarkupsCurveNode", "CurvedPlanarReformat_resampled_curve_temp"));
  if (!resampledCurve)
  {
    vtkErrorMacro("ComputeStraighteningTransform: cannot create the temporary curve node");
    return false;
  }
  TemporaryNodeRemover remover(scene, resampledCurve);
  resampledCurve->SetNumberOfPointsPerInterpolatingSegment(1);
  resampledCurve->SetCurveTypeToLinear();
  resampledCurve->SetControlPointPositionsWorld(resampledCurvePoints, true);

  vtkPoints* curvePoints = resampledCurve->GetCurvePointsWorld();
  if (!curvePoints || curvePoints->GetNumberOfPoints() < 3)
  {
    vtkErrorMacro("ComputeStraighteningTransform: Not enough resampled curve points");
    return false;
  }

  vtkNew<vtkPlane> plane;
  vtkExtraMathUtilities::FitPlaneToPoints(curvePoints, plane);
  double planeOrigin[3];
  double planeNormal[3];
  plane->GetOrigin(planeOrigin);
  plane->GetNormal(planeNormal);

  // Z: from the first to the last control point.
  double first[3], last[3];
  resampledCurve->GetNthControlPointPositionWorld(0, first);
  resampledCurve->GetNthControlPointPositionWorld(
    resampledCurve->GetNumberOfControlPoints() - 1, last);
  double Z[3];
  vtkMath::Subtract(last, first, Z);
  const double endToEnd = vtkMath::Normalize(Z);
  // Ends that meet (up to rounding) give no direction.
  const double sampledLength = d * (curvePoints->GetNumberOfPoints() - 1);
  if (endToEnd <= 1e-9 * sampledLength)
  {
    Z[0] = Z[1] = Z[2] = 0.0;
  }

  double X[3], Y[3];
  if (stretching)
  {
    std::copy(planeNormal, planeNormal + 3, Y);
    vtkMath::Cross(Z, Y, X);
    vtkMath::Normalize(X);
    double T[3];
    vtkMath::Cross(X, Y, T);
    vtkMath::Normalize(T);
    if (vtkMath::Dot(T, Z) > 0.0)
    {
      std::copy(T, T + 3, Z);
    }
    else
    {
      for (int k = 0; k < 3; ++k)
      {
        Z[k] = -T[k];
        X[k] = -X[k];
      }
    }
  }
  else
  {
    double sum[3] = { 0.0, 0.0, 0.0 };
    for (int i = 0; i < resampledCurve->GetNumberOfControlPoints(); ++i)
    {
      const vtkIdType curvePointIndex = resampledCurve->GetCurvePointIndexFromControlPointIndex(i);
      vtkNew<vtkMatrix4x4> curvePointToWorld;
      resampledCurve->GetCurvePointToWorldTransformAtPointIndex(curvePointIndex, curvePointToWorld);
      double localX[3];
      GetColumn(curvePointToWorld, 0, localX);
      vtkMath::Add(sum, localX, sum);
    }
    std::copy(sum, sum + 3, X);
    vtkMath::Normalize(X);
    vtkMath::Cross(Z, X, Y);
    vtkMath::Normalize(Y);
    vtkMath::Cross(Y, Z, X);
    vtkMath::Normalize(X);
  }

  // A curve whose ends meet, or that lies along the fitted plane's normal, has no straightened
  // axes: the transform would be singular.
  if (vtkMath::Norm(X) < 0.5 || vtkMath::Norm(Y) < 0.5 || vtkMath::Norm(Z) < 0.5)
  {
    vtkErrorMacro("ComputeStraighteningTransform: cannot find the straightened axes (the curve's "
                  "ends meet or the curve is degenerate)");
    return false;
  }

  // Rotation about the curve direction, in the local frame.
  {
    vtkNew<vtkMatrix4x4> axes;
    SetColumns(axes, X, Y, Z);
    vtkNew<vtkTransform> rotation;
    rotation->Concatenate(axes);
    rotation->RotateWXYZ(rotationDeg, 0.0, 0.0, 1.0);
    vtkMatrix4x4* rotated = rotation->GetMatrix();
    GetColumn(rotated, 0, X);
    GetColumn(rotated, 1, Y);
    GetColumn(rotated, 2, Z);
  }

  if (stretching)
  {
    vtkNew<vtkMatrix4x4> planeToWorld;
    SetColumns(planeToWorld, Y, Z, X);
    for (int r = 0; r < 3; ++r)
    {
      planeToWorld->SetElement(r, 3, planeOrigin[r]);
    }
    vtkNew<vtkMatrix4x4> worldToPlane;
    vtkMatrix4x4::Invert(planeToWorld, worldToPlane);

    vtkNew<vtkPoints> projectedPoints;
    projectedPoints->SetDataTypeToDouble();
    this->GetPointsProjectedToPlane(curveNode->GetCurvePoints(), worldToPlane, projectedPoints);
    for (int i = resampledCurve->GetNumberOfControlPoints() - 1; i >= 0; --i)
    {
      resampledCurve->RemoveNthControlPoint(i);
    }
    for (vtkIdType i = 0; i < projectedPoints->GetNumberOfPoints(); ++i)
    {
      resampledCurve->AddControlPoint(vtkVector3d(projectedPoints->GetPoint(i)), "");
    }

    vtkNew<vtkPoints> secondResampling;
    secondResampling->SetDataTypeToDouble();
    if (!vtkKOVAMarkupsCurveNode::ResamplePoints(
          resampledCurve->GetCurvePointsWorld(), secondResampling, d, false))
    {
      vtkErrorMacro("ComputeStraighteningTransform: second call to resampling curve failed");
      return false;
    }
    for (int i = resampledCurve->GetNumberOfControlPoints() - 1; i >= 0; --i)
    {
      resampledCurve->RemoveNthControlPoint(i);
    }
    for (vtkIdType i = 0; i < secondResampling->GetNumberOfPoints(); ++i)
    {
      resampledCurve->AddControlPoint(vtkVector3d(secondResampling->GetPoint(i)), "");
    }
  }

  const double L = resampledCurve->GetCurveLengthWorld(0, -1);
  double O[3];
  for (int k = 0; k < 3; ++k)
  {
    O[k] = planeOrigin[k] - 0.5 * w * X[k] - 0.5 * h * Y[k] - 0.5 * L * Z[k];
  }

  const int N = resampledCurve->GetNumberOfControlPoints();
  vtkNew<vtkImageData> grid;
  grid->SetOrigin(O);
  grid->SetDimensions(2, 2, N);
  grid->SetSpacing(w, h, d);
  grid->AllocateScalars(VTK_DOUBLE, 3);
  vtkNew<vtkMatrix4x4> gridDirection;
  SetColumns(gridDirection, X, Y, Z);
  vtkNew<vtkOrientedGridTransform> gridTransform;
  gridTransform->SetDisplacementGridData(grid);
  gridTransform->SetGridDirectionMatrix(gridDirection);

  transformToStraightenedNode->SetAndObserveTransformFromParent(gridTransform);
  auto* storedGridTransform =
    vtkGridTransform::SafeDownCast(transformToStraightenedNode->GetTransformFromParent());
  if (!storedGridTransform)
  {
    vtkErrorMacro("ComputeStraighteningTransform: transformToStraightenedNode must have a "
                  "transform from parent");
    return false;
  }

  vtkNew<vtkParallelTransportFrame> frames;
  frames->SetInputData(resampledCurve->GetCurveWorld());
  frames->SetPreferredInitialNormalVector(X);
  frames->Update();
  vtkPolyData* framesPolyData = frames->GetOutput();
  vtkPointData* framePointData = framesPolyData->GetPointData();
  auto* normals =
    vtkDoubleArray::SafeDownCast(framePointData->GetArray(frames->GetNormalsArrayName()));
  auto* binormals =
    vtkDoubleArray::SafeDownCast(framePointData->GetArray(frames->GetBinormalsArrayName()));
  if (!normals || !binormals)
  {
    vtkErrorMacro("ComputeStraighteningTransform: the curve frames have no normals or binormals");
    return false;
  }

  vtkImageData* displacementGrid = storedGridTransform->GetDisplacementGrid();
  vtkDataArray* displacements = displacementGrid->GetPointData()->GetScalars();
  vtkNew<vtkAppendPolyData> appendPlanes;
  for (int i = 0; i < N; ++i)
  {
    const vtkIdType c = resampledCurve->GetCurvePointIndexFromControlPointIndex(i);
    double P[3], n[3], b[3];
    framesPolyData->GetPoint(c, P);
    normals->GetTypedTuple(c, n);
    binormals->GetTypedTuple(c, b);
    vtkSmartPointer<vtkPlaneSource> planeSource;
    if (reslicingPlanesModelNode)
    {
      planeSource = vtkSmartPointer<vtkPlaneSource>::New();
    }
    for (int j = 0; j < 2; ++j)
    {
      for (int t = 0; t < 2; ++t)
      {
        double C[3], S[3], displacement[3];
        for (int k = 0; k < 3; ++k)
        {
          C[k] = P[k] + (t - 0.5) * w * n[k] + (j - 0.5) * h * b[k];
          S[k] = O[k] + t * w * X[k] + j * h * Y[k] + i * d * Z[k];
          displacement[k] = C[k] - S[k];
        }
        displacements->SetTuple(t + 2 * (j + 2 * i), displacement);
        if (planeSource)
        {
          if (t == 0 && j == 0)
          {
            planeSource->SetOrigin(C);
          }
          else if (t == 0 && j == 1)
          {
            planeSource->SetPoint2(C);
          }
          else if (t == 1 && j == 0)
          {
            planeSource->SetPoint1(C);
          }
        }
      }
    }
    if (planeSource)
    {
      planeSource->Update();
      appendPlanes->AddInputData(planeSource->GetOutput());
    }
  }
  displacements->Modified();
  displacementGrid->Modified();

  if (reslicingPlanesModelNode)
  {
    appendPlanes->Update();
    if (!reslicingPlanesModelNode->GetDisplayNode())
    {
      reslicingPlanesModelNode->CreateDefaultDisplayNodes();
      if (vtkKOVADisplayNode* displayNode = reslicingPlanesModelNode->GetDisplayNode())
      {
        // Also show where the planes cut the slice views.
        displayNode->SetVisibility2D(true);
      }
    }
    reslicingPlanesModelNode->SetAndObservePolyData(appendPlanes->GetOutput());
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
    extent[2 * a] = 0;
    extent[2 * a + 1] =
      static_cast<int>(std::trunc((gridDimensions[a] - 1) * gridSpacing[a] / s[a])) - 1;
  }
  vtkNew<vtkImageData> outputImage;
  outputImage->SetExtent(extent);
  outputImage->AllocateScalars(
    inputImage->GetScalarType(), inputImage->GetNumberOfScalarComponents());
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
