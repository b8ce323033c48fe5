// The in-process "ResampleScalarVectorDWIVolume" module: resamples a volume onto the voxel grid of
// a reference volume through a transform node's transform.
//
// Parameters: inputVolume, outputVolume (node IDs, required), referenceVolume (node ID; the input
// volume when unset), transformationFile (transform node ID; identity when unset) and
// interpolationType ("nn", "linear" (default), "ws" or "bs"). Every voxel centre of the reference
// grid is mapped through the transform node's transform from parent into the input volume and the
// input is sampled there with VTK's image interpolators; points outside the input give 0. The
// output gets the reference's geometry, the input's scalar type and components. A straightening
// transform (a vtkOrientedGridTransform that is affine on each reference slice) is not evaluated
// at every voxel: each slice is sampled through its own affine map, with the same results.

#include "vtkKOVACommandLineModuleNode.h"
#include "vtkVireonCLIModuleLogic.h"

#include <vtkKOVAScene.h>
#include <vtkKOVATransformNode.h>
#include <vtkKOVAVolumeNode.h>

#include <vtkAbstractTransform.h>
#include <vtkCallbackCommand.h>
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
#include <vtkOrientedGridTransform.h>
#include <vtkPointData.h>
#include <vtkSmartPointer.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

namespace
{
const char* const ModuleName = "ResampleScalarVectorDWIVolume";
/// As vtkImageReslice's default border: points up to half a voxel outside the input are still
/// interpolated (from the edge voxels), points farther out get 0.
const double BorderThickness = 0.5;

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

/// For a straightening-like grid transform: the third grid index of each output slice, when
/// every slice of \a extent lies on one plane of constant third grid index inside the grid's
/// first two extents, where the transform is affine (vtkOrientedGridTransform::GetSectionMatrix).
bool GetSliceSections(vtkOrientedGridTransform* grid,
  vtkMatrix4x4* outputIJKToRAS,
  const int extent[6],
  std::vector<double>& sliceSections)
{
  vtkNew<vtkMatrix4x4> probe;
  if (!grid->GetSectionMatrix(0.0, probe))
  {
    return false;
  }
  vtkImageData* gridImage = grid->GetDisplacementGrid();
  int gridExtent[6];
  gridImage->GetExtent(gridExtent);
  const double tolerance = 1e-9;
  sliceSections.clear();
  for (int z = extent[4]; z <= extent[5]; ++z)
  {
    double first[3] = { 0.0, 0.0, 0.0 };
    for (int corner = 0; corner < 4; ++corner)
    {
      const double ijk[4] = { static_cast<double>(corner & 1 ? extent[1] : extent[0]),
        static_cast<double>(corner & 2 ? extent[3] : extent[2]),
        static_cast<double>(z),
        1.0 };
      double world[4];
      outputIJKToRAS->MultiplyPoint(ijk, world);
      double index[3];
      grid->TransformWorldToGridIndex(world, index);
      if (corner == 0)
      {
        std::copy(index, index + 3, first);
      }
      if (std::abs(index[2] - first[2]) > tolerance || index[0] < gridExtent[0] - tolerance ||
          index[0] > gridExtent[1] + tolerance || index[1] < gridExtent[2] - tolerance ||
          index[1] > gridExtent[3] + tolerance)
      {
        return false;
      }
    }
    sliceSections.push_back(first[2]);
  }
  return true;
}

/// A voxel value of type T from an interpolated value: integers rounded half up and clamped to
/// the type's range, as vtkImageReslice converts.
template <typename T>
T ConvertVoxel(double value)
{
  if constexpr (std::is_integral<T>::value)
  {
    value = std::floor(value + 0.5);
    if (!(value > static_cast<double>(std::numeric_limits<T>::lowest())))
    {
      return std::numeric_limits<T>::lowest();
    }
    if (value >= static_cast<double>(std::numeric_limits<T>::max()))
    {
      return std::numeric_limits<T>::max();
    }
  }
  return static_cast<T>(value);
}

/// The voxels x = 0 .. \a count - 1 of a row whose points start + x * step lie within
/// [low, high] on every axis: [first, last], empty when first > last.
void ClipRow(const double start[3],
  const double step[3],
  const double low[3],
  const double high[3],
  int count,
  int& first,
  int& last)
{
  double from = 0.0;
  double to = count - 1;
  for (int r = 0; r < 3; ++r)
  {
    if (step[r] == 0.0)
    {
      if (start[r] < low[r] || start[r] > high[r])
      {
        first = 0;
        last = -1;
        return;
      }
      continue;
    }
    double a = (low[r] - start[r]) / step[r];
    double b = (high[r] - start[r]) / step[r];
    if (a > b)
    {
      std::swap(a, b);
    }
    from = std::max(from, a);
    to = std::min(to, b);
  }
  if (from > to)
  {
    first = 0;
    last = -1;
    return;
  }
  first = static_cast<int>(std::ceil(from));
  last = static_cast<int>(std::floor(to));
  // Division rounding: settle the ends on the points themselves.
  auto inside = [&](int x)
  {
    for (int r = 0; r < 3; ++r)
    {
      const double p = start[r] + x * step[r];
      if (p < low[r] || p > high[r])
      {
        return false;
      }
    }
    return true;
  };
  while (first <= last && !inside(first))
  {
    ++first;
  }
  while (last >= first && !inside(last))
  {
    --last;
  }
  if (first > last)
  {
    first = 0;
    last = -1;
    return;
  }
  if (first > 0 && inside(first - 1))
  {
    --first;
  }
  if (last < count - 1 && inside(last + 1))
  {
    ++last;
  }
}

/// SampleSlice for nearest-neighbour interpolation of an input of the output's type: the voxel
/// nearest to each point (rounded half up, clamped to the input's extent) is copied as it is.
/// The slice is walked in lines along whichever of its axes runs closer to the input's rows, so
/// that neighbouring samples share cache lines.
template <typename T>
void SampleSliceNearest(vtkImageData* input,
  double tolerance,
  vtkMatrix4x4* axes,
  const int extent[6],
  int z,
  T* voxels)
{
  int inputExtent[6];
  input->GetExtent(inputExtent);
  vtkIdType increments[3];
  input->GetIncrements(increments);
  const T* inputVoxels = static_cast<const T*>(input->GetScalarPointer());
  const int components = input->GetNumberOfScalarComponents();
  const int along = std::abs(axes->GetElement(0, 1)) > std::abs(axes->GetElement(0, 0)) ? 1 : 0;
  const int across = 1 - along;
  const int count = extent[2 * along + 1] - extent[2 * along] + 1;
  const vtkIdType rowLength = static_cast<vtkIdType>(extent[1] - extent[0] + 1) * components;
  const vtkIdType alongStride = along == 0 ? components : rowLength;
  const vtkIdType acrossStride = along == 0 ? rowLength : components;
  // Index = floor(p - extent start + 1/2) = floor(p - low + shift), not negative inside for a
  // tolerance up to 1/2.
  const double shift = 0.5 - tolerance;
  double step[3], bandLow[3], bandHigh[3];
  int lastIndex[3];
  for (int r = 0; r < 3; ++r)
  {
    step[r] = axes->GetElement(r, along);
    bandLow[r] = shift;
    bandHigh[r] = inputExtent[2 * r + 1] - inputExtent[2 * r] + 2 * tolerance + shift;
    lastIndex[r] = inputExtent[2 * r + 1] - inputExtent[2 * r];
  }
  for (int line = extent[2 * across]; line <= extent[2 * across + 1]; ++line)
  {
    int ijk[3];
    ijk[along] = extent[2 * along];
    ijk[across] = line;
    ijk[2] = z;
    double start[3];
    for (int r = 0; r < 3; ++r)
    {
      start[r] = axes->GetElement(r, 0) * ijk[0] + axes->GetElement(r, 1) * ijk[1] +
                 axes->GetElement(r, 2) * ijk[2] + axes->GetElement(r, 3) -
                 (inputExtent[2 * r] - tolerance) + shift;
    }
    int first = 0;
    int last = -1;
    ClipRow(start, step, bandLow, bandHigh, count, first, last);
    T* out = voxels + (line - extent[2 * across]) * acrossStride;
    for (int n = 0; n < first; ++n)
    {
      std::fill_n(out + n * alongStride, components, T(0));
    }
    for (int n = first; n <= last; ++n)
    {
      const int i = std::min(static_cast<int>(start[0] + n * step[0]), lastIndex[0]);
      const int j = std::min(static_cast<int>(start[1] + n * step[1]), lastIndex[1]);
      const int k = std::min(static_cast<int>(start[2] + n * step[2]), lastIndex[2]);
      const T* source = inputVoxels + i * increments[0] + j * increments[1] + k * increments[2];
      T* target = out + n * alongStride;
      target[0] = source[0];
      for (int c = 1; c < components; ++c)
      {
        target[c] = source[c];
      }
    }
    for (int n = std::max(first, last + 1); n < count; ++n)
    {
      std::fill_n(out + n * alongStride, components, T(0));
    }
  }
}

/// Fills slice \a z of \a extent in \a voxels (the slice's first voxel) through \a axes, the
/// affine map from output voxel indices to input voxel indices on that slice, as vtkImageReslice
/// samples: points up to \a tolerance outside the input's extent are interpolated, others get
/// 0.
template <typename T>
void SampleSlice(vtkAbstractImageInterpolator* interpolator,
  const int inputExtent[6],
  double tolerance,
  vtkMatrix4x4* axes,
  const int extent[6],
  int z,
  T* voxels)
{
  const int components = interpolator->GetNumberOfComponents();
  const int count = extent[1] - extent[0] + 1;
  std::vector<double> value(components);
  double low[3], high[3], step[3];
  for (int r = 0; r < 3; ++r)
  {
    low[r] = inputExtent[2 * r] - tolerance;
    high[r] = inputExtent[2 * r + 1] + tolerance;
    step[r] = axes->GetElement(r, 0);
  }
  for (int y = extent[2]; y <= extent[3]; ++y)
  {
    double start[3];
    for (int r = 0; r < 3; ++r)
    {
      start[r] = axes->GetElement(r, 0) * extent[0] + axes->GetElement(r, 1) * y +
                 axes->GetElement(r, 2) * z + axes->GetElement(r, 3);
    }
    int first = 0;
    int last = -1;
    ClipRow(start, step, low, high, count, first, last);
    for (int x = 0; x < count; ++x)
    {
      if (x >= first && x <= last)
      {
        const double point[3] = {
          start[0] + x * step[0], start[1] + x * step[1], start[2] + x * step[2]
        };
        interpolator->InterpolateIJK(point, value.data());
        for (int c = 0; c < components; ++c)
        {
          *voxels++ = ConvertVoxel<T>(value[c]);
        }
      }
      else
      {
        for (int c = 0; c < components; ++c)
        {
          *voxels++ = T(0);
        }
      }
    }
  }
}

/// Passes an algorithm's progress on to the run node, mapped into [start, start + share].
class ProgressForwarder
{
public:
  ProgressForwarder(vtkKOVACommandLineModuleNode* node,
    vtkAlgorithm* algorithm,
    double start,
    double share)
    : Node(node)
    , Start(start)
    , Share(share)
  {
    this->Callback->SetClientData(this);
    this->Callback->SetCallback(
      [](vtkObject* caller, unsigned long, void* clientData, void*)
      {
        auto* self = static_cast<ProgressForwarder*>(clientData);
        self->Node->SetProgress(
          self->Start + self->Share * static_cast<vtkAlgorithm*>(caller)->GetProgress());
      });
    algorithm->AddObserver(vtkCommand::ProgressEvent, this->Callback);
  }

private:
  vtkKOVACommandLineModuleNode* Node;
  double Start;
  double Share;
  vtkNew<vtkCallbackCommand> Callback;
};

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
  reslice->SetEnableSMP(false);
  vtkAbstractTransform* transform =
    transformNode ? transformNode->GetTransformFromParent() : nullptr;
  auto* linear = vtkLinearTransform::SafeDownCast(transform);
  // A straightening transform is affine on each output slice: resampled slice by slice through
  // those affine maps, without evaluating the transform at every voxel.
  auto* grid = vtkOrientedGridTransform::SafeDownCast(transform);
  std::vector<double> sliceSections;
  const bool bySection =
    grid && GetSliceSections(grid, outputIJKToRAS, outputExtent, sliceSections);
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
  else if (bySection)
  {
    // The axes are set per slice below.
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
  if (transform && !linear && !bySection && axisAligned)
  {
    source->SetOrigin(input->GetOrigin());
    source->SetSpacing(input->GetSpacing());
  }
  double samplingStart = 0.0; // progress when the sampling starts
  vtkSmartPointer<vtkAbstractImageInterpolator> interpolator;
  if (interpolation == "bs")
  {
    vtkNew<vtkImageBSplineCoefficients> coefficients;
    coefficients->SetInputData(source);
    coefficients->SetSplineDegree(3);
    coefficients->SetBorderMode(VTK_IMAGE_BORDER_MIRROR);
    coefficients->SetNumberOfThreads(1);
    // The coefficients count as the first half of the run.
    samplingStart = 0.5;
    ProgressForwarder forwarder(node, coefficients, 0.0, samplingStart);
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
  reslice->SetBackgroundLevel(0.0);
  vtkNew<vtkImageData> result;
  if (bySection)
  {
    result->SetExtent(outputExtent);
    result->AllocateScalars(inputImage->GetScalarType(), inputImage->GetNumberOfScalarComponents());
    vtkNew<vtkMatrix4x4> section;
    vtkNew<vtkMatrix4x4> outputIJKToInputRAS;
    vtkNew<vtkMatrix4x4> axes;
    // vtkImageReslice (without its Wrap and Mirror options) clamps at the input's edges.
    interpolator->SetBorderModeToClamp();
    interpolator->Initialize(source);
    interpolator->Update();
    for (int z = outputExtent[4]; z <= outputExtent[5]; ++z)
    {
      node->SetProgress(samplingStart + (1.0 - samplingStart) * (z - outputExtent[4]) /
                                          (outputExtent[5] - outputExtent[4] + 1));
      grid->GetSectionMatrix(sliceSections[z - outputExtent[4]], section);
      vtkMatrix4x4::Multiply4x4(section, outputIJKToRAS, outputIJKToInputRAS);
      vtkMatrix4x4::Multiply4x4(inputRASToIJK, outputIJKToInputRAS, axes);
      void* slice = result->GetScalarPointer(outputExtent[0], outputExtent[2], z);
      switch (result->GetScalarType())
      {
        vtkTemplateMacro(
          if (interpolation == "nn") {
            SampleSliceNearest(source.GetPointer(),
              BorderThickness,
              axes,
              outputExtent,
              z,
              static_cast<VTK_TT*>(slice));
          } else {
            SampleSlice(interpolator.GetPointer(),
              source->GetExtent(),
              BorderThickness,
              axes,
              outputExtent,
              z,
              static_cast<VTK_TT*>(slice));
          });
      }
    }
    interpolator->ReleaseData();
  }
  else
  {
    reslice->SetOutputExtent(outputExtent);
    ProgressForwarder forwarder(node, reslice, samplingStart, 1.0 - samplingStart);
    reslice->Update();
    result->ShallowCopy(reslice->GetOutput());
  }
  node->SetProgress(1.0);
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
