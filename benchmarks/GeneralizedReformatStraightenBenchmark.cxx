// Straightening a volume along a curve against one plain vtkImageReslice pass over the same
// output grid, measured side by side in each iteration.
//
// A 256^3 volume (1 mm voxels) is straightened along a 150 mm arc at 0.5 mm output spacing with a
// 50 x 50 mm slice (100 x 100 x 300 output voxels): ComputeStraighteningTransform and
// StraightenVolume through the command-line-module resampler. The reference pass fills the same
// grid with vtkImageReslice and the same interpolation, through the straightened box's linear
// geometry only (no grid transform). Counters: both processor times in seconds and their ratio
// (the reported time is the straightening's processor time).
//   --benchmark_filter=... as usual; the argument is the interpolation (1 nearest, 4 B-spline).

#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVALabelMapVolumeNode.h>
#include <vtkKOVAMarkupsCurveNode.h>
#include <vtkKOVAScalarVolumeNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATransformNode.h>
#include <vtkVireonCLIModuleLogic.h>
#include <vtkVireonGeneralizedReformatLogic.h>

#include <vtkImageBSplineCoefficients.h>
#include <vtkImageBSplineInterpolator.h>
#include <vtkImageData.h>
#include <vtkImageInterpolator.h>
#include <vtkImageReslice.h>
#include <vtkMath.h>
#include <vtkMatrix4x4.h>
#include <vtkNew.h>
#include <vtkSmartPointer.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>

namespace
{
vtkSmartPointer<vtkImageData> MakeVolume()
{
  auto image = vtkSmartPointer<vtkImageData>::New();
  image->SetDimensions(256, 256, 256);
  image->AllocateScalars(VTK_SHORT, 1);
  auto* voxels = static_cast<short*>(image->GetScalarPointer());
  for (int k = 0; k < 256; ++k)
  {
    for (int j = 0; j < 256; ++j)
    {
      for (int i = 0; i < 256; ++i)
      {
        *voxels++ = static_cast<short>(((i * 7) ^ (j * 3) ^ (k * 5)) & 1023);
      }
    }
  }
  return image;
}

/// Processor time of this process: everything runs on one thread, and the machine may be shared,
/// so this is steadier than the wall clock.
double ProcessSeconds()
{
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

void BM_StraightenAgainstReslice(benchmark::State& state)
{
  const int interpolation = static_cast<int>(state.range(0));
  static vtkSmartPointer<vtkImageData> volume = MakeVolume();

  vtkNew<vtkKOVAScene> scene;
  vtkNew<vtkKOVAApplicationLogic> applicationLogic;
  applicationLogic->SetKOVAScene(scene);
  vtkNew<vtkVireonCLIModuleLogic> resampleLogic;
  resampleLogic->SetModuleName("ResampleScalarVectorDWIVolume");
  resampleLogic->SetKOVAScene(scene);
  applicationLogic->SetModuleLogic("ResampleScalarVectorDWIVolume", resampleLogic);
  vtkNew<vtkVireonGeneralizedReformatLogic> logic;
  logic->SetKOVAApplicationLogic(applicationLogic);
  logic->SetKOVAScene(scene);
  logic->GetVolumeResampler("ResampleScalarVectorDWIVolume")
    ->SetKOVAApplicationLogic(applicationLogic);

  auto* input = vtkKOVAScalarVolumeNode::SafeDownCast(scene->AddNewNodeByClass(
    interpolation == 1 ? "vtkKOVALabelMapVolumeNode" : "vtkKOVAScalarVolumeNode"));
  input->SetAndObserveImageData(volume);
  // A 150 mm arc (radius 60 mm, 2.5 rad) in the middle of the volume.
  auto* curve =
    vtkKOVAMarkupsCurveNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAMarkupsCurveNode"));
  for (int i = 0; i <= 10; ++i)
  {
    const double a = 2.5 * i / 10.0 - 1.25;
    curve->AddControlPoint(
      vtkVector3d(128 + 60 * std::cos(a) - 30, 128 + 60 * std::sin(a), 128 + 2.0 * i));
  }
  auto* transform =
    vtkKOVATransformNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVATransformNode"));
  auto* straightened =
    vtkKOVAScalarVolumeNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAScalarVolumeNode"));
  const double sliceSize[2] = { 50, 50 };
  const double spacing[3] = { 0.5, 0.5, 0.5 };

  double straightenTotal = 0.0;
  double resliceTotal = 0.0;
  for (auto _ : state)
  {
    double start = ProcessSeconds();
    if (!logic->ComputeStraighteningTransform(transform, curve, sliceSize, 0.5) ||
        !logic->StraightenVolume(straightened, input, spacing, transform))
    {
      state.SkipWithError("straightening failed");
      break;
    }
    const double straightenTime = ProcessSeconds() - start;

    // The same output grid through the box's linear geometry only.
    start = ProcessSeconds();
    vtkNew<vtkMatrix4x4> outputIJKToRAS;
    straightened->GetIJKToRASMatrix(outputIJKToRAS);
    vtkNew<vtkMatrix4x4> inputRASToIJK;
    input->GetRASToIJKMatrix(inputRASToIJK);
    vtkNew<vtkMatrix4x4> axes;
    vtkMatrix4x4::Multiply4x4(inputRASToIJK, outputIJKToRAS, axes);
    vtkNew<vtkImageReslice> reslice;
    reslice->SetNumberOfThreads(1);
    reslice->SetResliceAxes(axes);
    vtkNew<vtkImageBSplineCoefficients> coefficients;
    if (interpolation == 4)
    {
      coefficients->SetInputData(volume);
      coefficients->SetSplineDegree(3);
      coefficients->SetBorderMode(VTK_IMAGE_BORDER_MIRROR);
      coefficients->SetNumberOfThreads(1);
      coefficients->Update();
      reslice->SetInputData(coefficients->GetOutput());
      vtkNew<vtkImageBSplineInterpolator> bspline;
      bspline->SetSplineDegree(3);
      bspline->SetBorderMode(VTK_IMAGE_BORDER_MIRROR);
      reslice->SetInterpolator(bspline);
    }
    else
    {
      reslice->SetInputData(volume);
      reslice->SetInterpolationModeToNearestNeighbor();
    }
    reslice->SetOutputScalarType(VTK_SHORT);
    reslice->SetOutputOrigin(0, 0, 0);
    reslice->SetOutputSpacing(1, 1, 1);
    reslice->SetOutputExtent(straightened->GetImageData()->GetExtent());
    reslice->Update();
    const double resliceTime = ProcessSeconds() - start;
    benchmark::DoNotOptimize(reslice->GetOutput()->GetScalarPointer());

    state.SetIterationTime(straightenTime);
    straightenTotal += straightenTime;
    resliceTotal += resliceTime;
  }
  int dims[3];
  straightened->GetImageData()->GetDimensions(dims);
  state.counters["straighten_s"] = straightenTotal / state.iterations();
  state.counters["reslice_s"] = resliceTotal / state.iterations();
  state.counters["ratio"] = straightenTotal / resliceTotal;
  state.counters["output_voxels"] = static_cast<double>(dims[0]) * dims[1] * dims[2];
  state.SetLabel(interpolation == 4 ? "B-spline" : "nearest");
  applicationLogic->SetModuleLogic("ResampleScalarVectorDWIVolume", nullptr);
}
}

BENCHMARK(BM_StraightenAgainstReslice)
  ->Arg(4)
  ->Arg(1)
  ->UseManualTime()
  ->Unit(benchmark::kMillisecond)
  ->Iterations(3);

BENCHMARK_MAIN();
