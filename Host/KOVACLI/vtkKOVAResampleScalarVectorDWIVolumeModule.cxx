// The in-process "ResampleScalarVectorDWIVolume" module: resamples a volume onto the voxel grid of
// a reference volume through a transform node's transform.
//
// Parameters: inputVolume, outputVolume (node IDs, required), referenceVolume (node ID; the input
// volume when unset), transformationFile (transform node ID; identity when unset) and
// interpolationType ("nn", "linear" (default), "ws" or "bs"). Every voxel centre of the reference
// grid is mapped through the transform node's transform from parent into the input volume and the
// input is sampled there with VTK's image interpolators; points outside the input give 0. The
// output gets the reference's geometry, the input's scalar type and components.

#include "vtkKOVACommandLineModuleNode.h"
#include "vtkVireonCLIModuleLogic.h"

#include <vtkKOVAScene.h>
#include <vtkKOVATransformNode.h>
#include <vtkKOVAVolumeNode.h>

#include <vtkAbstractTransform.h>
#include <vtkGeneralTransform.h>
#include <vtkImageBSplineCoefficients.h>
#include <vtkImageBSplineInterpolator.h>
#include <vtkImageData.h>
#include <vtkImageInterpolator.h>
#include <vtkImageReslice.h>
#include <vtkImageSincInterpolator.h>
#include <vtkLinearTransform.h>
#include <vtkMatrix3x3.h>
#include <vtkMatrix4x4.h>
#include <vtkNew.h>
#include <vtkPointData.h>
#include <vtkSmartPointer.h>

#include <string>

namespace
{
const char* const ModuleName = "ResampleScalarVectorDWIVolume";

/// The volume node named by a parameter, or null with \a errorText set.
vtkKOVAVolumeNode* GetVolume(vtkKOVACommandLineModuleNode* node,
  vtkKOVAScene* scene,
  const std::string& parameter,
  std::string& errorText)
{
  const std::string id = node->GetParameterAsString(parameter);
  if (id.empty())
  {
    errorText = parameter + " is not set";
    return nullptr;
  }
  auto* volume = vtkKOVAVolumeNode::SafeDownCast(scene ? scene->GetNodeByID(id) : nullptr);
  if (!volume)
  {
    errorText = parameter + ": no volume node with ID \"" + id + "\"";
  }
  return volume;
}

/// An image with the voxels and extent of \a image, and unit spacing, zero origin and no rotation
/// (the node's geometry is applied separately).
vtkSmartPointer<vtkImageData> IndexSpaceImage(vtkImageData* image)
{
  auto copy = vtkSmartPointer<vtkImageData>::New();
  copy->ShallowCopy(image);
  copy->SetOrigin(0.0, 0.0, 0.0);
  copy->SetSpacing(1.0, 1.0, 1.0);
  vtkNew<vtkMatrix3x3> identity;
  copy->SetDirectionMatrix(identity);
  return copy;
}

bool Resample(vtkKOVACommandLineModuleNode* node, vtkKOVAScene* scene, std::string& errorText)
{
  vtkKOVAVolumeNode* input = GetVolume(node, scene, "inputVolume", errorText);
  if (!input)
  {
    return false;
  }
  vtkKOVAVolumeNode* output = GetVolume(node, scene, "outputVolume", errorText);
  if (!output)
  {
    return false;
  }
  vtkKOVAVolumeNode* reference = input;
  if (node->IsParameterSet("referenceVolume"))
  {
    reference = GetVolume(node, scene, "referenceVolume", errorText);
    if (!reference)
    {
      return false;
    }
  }
  vtkKOVATransformNode* transformNode = nullptr;
  if (node->IsParameterSet("transformationFile"))
  {
    const std::string id = node->GetParameterAsString("transformationFile");
    transformNode = vtkKOVATransformNode::SafeDownCast(scene->GetNodeByID(id));
    if (!transformNode)
    {
      errorText = "transformationFile: no transform node with ID \"" + id + "\"";
      return false;
    }
  }
  std::string interpolation = "linear";
  if (node->IsParameterSet("interpolationType"))
  {
    interpolation = node->GetParameterAsString("interpolationType");
  }
  if (interpolation != "nn" && interpolation != "linear" && interpolation != "ws" &&
      interpolation != "bs")
  {
    errorText =
      "interpolationType: unknown value \"" + interpolation + "\" (expected nn, linear, ws or bs)";
    return false;
  }
  vtkImageData* inputImage = input->GetImageData();
  if (!inputImage || inputImage->GetNumberOfPoints() == 0 || !inputImage->GetPointData() ||
      !inputImage->GetPointData()->GetScalars())
  {
    errorText = "inputVolume has no image data";
    return false;
  }
  vtkImageData* referenceImage = reference->GetImageData();
  if (!referenceImage)
  {
    errorText = "referenceVolume has no image data";
    return false;
  }
  int outputExtent[6];
  referenceImage->GetExtent(outputExtent);

  // Output voxel index -> RAS -> (transform) -> input RAS -> input voxel index.
  vtkNew<vtkMatrix4x4> outputIJKToRAS;
  reference->GetIJKToRASMatrix(outputIJKToRAS);
  vtkNew<vtkMatrix4x4> inputRASToIJK;
  input->GetRASToIJKMatrix(inputRASToIJK);

  double directions[3][3];
  input->GetIJKToRASDirections(directions);
  bool axisAligned = true;
  for (int r = 0; r < 3; ++r)
  {
    for (int c = 0; c < 3; ++c)
    {
      axisAligned = axisAligned && directions[r][c] == (r == c ? 1.0 : 0.0);
    }
  }

  vtkNew<vtkImageReslice> reslice;
  reslice->SetNumberOfThreads(1);
  vtkAbstractTransform* transform =
    transformNode ? transformNode->GetTransformFromParent() : nullptr;
  auto* linear = vtkLinearTransform::SafeDownCast(transform);
  if (!transform || linear)
  {
    vtkNew<vtkMatrix4x4> axes;
    if (linear)
    {
      vtkNew<vtkMatrix4x4> matrix;
      linear->GetMatrix(matrix);
      vtkNew<vtkMatrix4x4> outputIJKToInputRAS;
      vtkMatrix4x4::Multiply4x4(matrix, outputIJKToRAS, outputIJKToInputRAS);
      vtkMatrix4x4::Multiply4x4(inputRASToIJK, outputIJKToInputRAS, axes);
    }
    else
    {
      vtkMatrix4x4::Multiply4x4(inputRASToIJK, outputIJKToRAS, axes);
    }
    reslice->SetResliceAxes(axes);
  }
  else if (axisAligned)
  {
    // The reslice maps input RAS to input voxels itself (origin and spacing of the source).
    reslice->SetResliceAxes(outputIJKToRAS);
    reslice->SetResliceTransform(transform);
  }
  else
  {
    vtkNew<vtkGeneralTransform> resliceTransform;
    resliceTransform->PostMultiply();
    resliceTransform->Concatenate(transform);
    resliceTransform->Concatenate(inputRASToIJK);
    reslice->SetResliceAxes(outputIJKToRAS);
    reslice->SetResliceTransform(resliceTransform);
  }

  vtkSmartPointer<vtkImageData> source = IndexSpaceImage(inputImage);
  if (transform && !linear && axisAligned)
  {
    source->SetOrigin(input->GetOrigin());
    source->SetSpacing(input->GetSpacing());
  }
  vtkSmartPointer<vtkAbstractImageInterpolator> interpolator;
  if (interpolation == "bs")
  {
    vtkNew<vtkImageBSplineCoefficients> coefficients;
    coefficients->SetInputData(source);
    coefficients->SetSplineDegree(3);
    coefficients->SetBorderMode(VTK_IMAGE_BORDER_MIRROR);
    coefficients->SetNumberOfThreads(1);
    coefficients->Update();
    source = coefficients->GetOutput();
    auto bspline = vtkSmartPointer<vtkImageBSplineInterpolator>::New();
    bspline->SetSplineDegree(3);
    bspline->SetBorderMode(VTK_IMAGE_BORDER_MIRROR);
    interpolator = bspline;
  }
  else if (interpolation == "ws")
  {
    auto sinc = vtkSmartPointer<vtkImageSincInterpolator>::New();
    sinc->SetWindowFunctionToLanczos();
    interpolator = sinc;
  }
  else
  {
    auto basic = vtkSmartPointer<vtkImageInterpolator>::New();
    // vtkImageReslice passes its own interpolation mode on to a vtkImageInterpolator.
    if (interpolation == "nn")
    {
      basic->SetInterpolationModeToNearest();
      reslice->SetInterpolationModeToNearestNeighbor();
    }
    else
    {
      basic->SetInterpolationModeToLinear();
      reslice->SetInterpolationModeToLinear();
    }
    interpolator = basic;
  }
  reslice->SetInputData(source);
  reslice->SetInterpolator(interpolator);
  reslice->SetOutputScalarType(inputImage->GetScalarType());
  reslice->SetOutputOrigin(0.0, 0.0, 0.0);
  reslice->SetOutputSpacing(1.0, 1.0, 1.0);
  reslice->SetOutputExtent(outputExtent);
  reslice->SetBackgroundLevel(0.0);
  reslice->Update();

  vtkNew<vtkImageData> result;
  result->ShallowCopy(reslice->GetOutput());
  result->SetOrigin(0.0, 0.0, 0.0);
  result->SetSpacing(1.0, 1.0, 1.0);
  output->SetIJKToRASMatrix(outputIJKToRAS);
  output->SetAndObserveImageData(result);
  return true;
}

struct Registration
{
  Registration()
  {
    vtkVireonCLIModuleLogic::RegisterModule(ModuleName,
      { "inputVolume",
        "outputVolume",
        "referenceVolume",
        "transformationFile",
        "interpolationType" },
      &Resample);
  }
} registration;
}
