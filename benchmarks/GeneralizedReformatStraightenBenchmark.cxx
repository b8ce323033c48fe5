// Straightening a volume along a curve against one plain vtkImageReslice pass over the same
// output grid, measured side by side in each iteration.
//
// Two inputs: 256^3 voxels of 1 mm, and 512 x 512 x 400 voxels of 0.5 mm (a CT of 256 x 256 x
// 200 mm). Each is straightened along the same 150 mm arc at 0.5 mm output spacing with a 50 x 50
// mm slice (100 x 100 x 300 output voxels): ComputeStraighteningTransform and StraightenVolume
// through the command-line-module resampler. The reference pass fills the same grid with
// vtkImageReslice and the same interpolation (B-spline coefficients of the whole input
// included), through the straightened box's linear geometry only (no grid transform). Times are
// processor times of the process, so they hold on a shared machine. Counters: both times and the
// ratio, each the median over the iterations; the console report ends with the ratios beside the
// goals. The arguments are the input (256 or 512) and the interpolation (1 nearest, 4 B-spline).

#include "BenchmarkMedian.h"

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
#include <vtkImageReslice.h>
#include <vtkMatrix4x4.h>
#include <vtkNew.h>
#include <vtkSmartPointer.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace
{
/// Input volumes by size argument: voxels and voxel size (mm).
struct InputShape
{
  int Dimensions[3];
  double Spacing;
};
const std::map<int, InputShape> Inputs = {
  { 256, { { 256, 256, 256 }, 1.0 } },
  { 512, { { 512, 512, 400 }, 0.5 } },
};

vtkSmartPointer<vtkImageData> MakeVolume(const InputShape& shape)
{
  auto image = vtkSmartPointer<vtkImageData>::New();
  image->SetDimensions(shape.Dimensions);
  image->SetSpacing(shape.Spacing, shape.Spacing, shape.Spacing);
  image->AllocateScalars(VTK_SHORT, 1);
  auto* voxels = static_cast<short*>(image->GetScalarPointer());
  for (int k = 0; k < shape.Dimensions[2]; ++k)
  {
    for (int j = 0; j < shape.Dimensions[1]; ++j)
    {
      for (int i = 0; i < shape.Dimensions[0]; ++i)
      {
        *voxels++ = static_cast<short>(((i * 7) ^ (j * 3) ^ (k * 5)) & 1023);
      }
    }
  }
  return image;
}

/// The volume of a size argument, made once (the larger one takes 400 MB).
vtkImageData* GetVolume(int size)
{
  static std::map<int, vtkSmartPointer<vtkImageData>> volumes;
  auto& volume = volumes[size];
  if (!volume)
  {
    volume = MakeVolume(Inputs.at(size));
  }
  return volume;
}

/// Processor time of this process: steadier than the wall clock on a shared machine.
double ProcessSeconds()
{
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

/// Per-iteration ratios by label ("256^3 nearest"), for the summary.
std::map<std::string, std::vector<double>> Ratios;

std::string Label(int size, int interpolation)
{
  const InputShape& shape = Inputs.at(size);
  return std::to_string(shape.Dimensions[0]) + "x" + std::to_string(shape.Dimensions[1]) + "x" +
         std::to_string(shape.Dimensions[2]) + (interpolation == 4 ? " B-spline" : " nearest");
}

/// One vtkImageReslice pass over the straightened output grid through its linear geometry.
void ResliceReference(vtkImageData* volume,
  vtkKOVAScalarVolumeNode* input,
  vtkKOVAScalarVolumeNode* straightened,
  int interpolation)
{
  vtkNew<vtkMatrix4x4> outputIJKToRAS;
  straightened->GetIJKToRASMatrix(outputIJKToRAS);
  vtkNew<vtkMatrix4x4> inputRASToIJK;
  input->GetRASToIJKMatrix(inputRASToIJK);
  vtkNew<vtkMatrix4x4> axes;
  vtkMatrix4x4::Multiply4x4(inputRASToIJK, outputIJKToRAS, axes);
  vtkNew<vtkImageData> source;
  source->ShallowCopy(volume);
  source->SetSpacing(1, 1, 1);
  vtkNew<vtkImageReslice> reslice;
  reslice->SetNumberOfThreads(1);
  reslice->SetResliceAxes(axes);
  vtkNew<vtkImageBSplineCoefficients> coefficients;
  if (interpolation == 4)
  {
    coefficients->SetInputData(source);
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
    reslice->SetInputData(source);
    reslice->SetInterpolationModeToNearestNeighbor();
  }
  reslice->SetOutputScalarType(VTK_SHORT);
  reslice->SetOutputOrigin(0, 0, 0);
  reslice->SetOutputSpacing(1, 1, 1);
  reslice->SetOutputExtent(straightened->GetImageData()->GetExtent());
  reslice->Update();
  benchmark::DoNotOptimize(reslice->GetOutput()->GetScalarPointer());
}

void BM_StraightenAgainstReslice(benchmark::State& state)
{
  const int size = static_cast<int>(state.range(0));
  const int interpolation = static_cast<int>(state.range(1));
  vtkImageData* volume = GetVolume(size);

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
  input->SetSpacing(volume->GetSpacing());
  // A 150 mm arc (radius 60 mm, 2.5 rad) in the middle of the volume.
  double centre[3];
  for (int k = 0; k < 3; ++k)
  {
    centre[k] = 0.5 * (volume->GetDimensions()[k] - 1) * volume->GetSpacing()[k];
  }
  auto* curve =
    vtkKOVAMarkupsCurveNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAMarkupsCurveNode"));
  for (int i = 0; i <= 10; ++i)
  {
    const double a = 2.5 * i / 10.0 - 1.25;
    curve->AddControlPoint(vtkVector3d(
      centre[0] + 60 * std::cos(a) - 30, centre[1] + 60 * std::sin(a), centre[2] + 2.0 * i - 10.0));
  }
  auto* transform =
    vtkKOVATransformNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVATransformNode"));
  auto* straightened =
    vtkKOVAScalarVolumeNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAScalarVolumeNode"));
  const double sliceSize[2] = { 50, 50 };
  const double spacing[3] = { 0.5, 0.5, 0.5 };

  std::vector<double> straightenTimes, resliceTimes, ratios;
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
    start = ProcessSeconds();
    ResliceReference(volume, input, straightened, interpolation);
    const double resliceTime = ProcessSeconds() - start;

    state.SetIterationTime(straightenTime);
    straightenTimes.push_back(straightenTime);
    resliceTimes.push_back(resliceTime);
    ratios.push_back(straightenTime / resliceTime);
  }
  int dims[3];
  straightened->GetImageData()->GetDimensions(dims);
  state.counters["straighten_s"] = Median(straightenTimes);
  state.counters["reslice_s"] = Median(resliceTimes);
  state.counters["ratio"] = Median(ratios);
  state.counters["output_voxels"] = static_cast<double>(dims[0]) * dims[1] * dims[2];
  state.SetLabel(Label(size, interpolation));
  std::vector<double>& all = Ratios[Label(size, interpolation)];
  all.insert(all.end(), ratios.begin(), ratios.end());
  applicationLogic->SetModuleLogic("ResampleScalarVectorDWIVolume", nullptr);
}

void PrintRatios()
{
  if (Ratios.empty())
  {
    return;
  }
  std::printf("\nStraightening time / one vtkImageReslice pass (median of the iterations):\n");
  for (const auto& entry : Ratios)
  {
    const bool bspline = entry.first.find("B-spline") != std::string::npos;
    std::printf("  %-24s %.2f over %zu iterations (goal: at most %s)\n",
      entry.first.c_str(),
      Median(entry.second),
      entry.second.size(),
      bspline ? "1.1" : "1.5");
  }
}
}

BENCHMARK(BM_StraightenAgainstReslice)
  ->ArgNames({ "input", "interpolation" })
  ->Args({ 256, 4 })
  ->Args({ 256, 1 })
  ->Args({ 512, 4 })
  ->Args({ 512, 1 })
  ->UseManualTime()
  ->Unit(benchmark::kMillisecond)
  ->Iterations(5);

int main(int argc, char** argv)
{
  // The ratio summary would break a machine-readable report on standard output.
  bool consoleFormat = true;
  for (int i = 1; i < argc; ++i)
  {
    if (std::strncmp(argv[i], "--benchmark_format=", 19) == 0)
    {
      consoleFormat = std::strcmp(argv[i] + 19, "console") == 0;
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
  {
    return 2;
  }
  benchmark::RunSpecifiedBenchmarks();
  if (consoleFormat)
  {
    PrintRatios();
  }
  benchmark::Shutdown();
  return 0;
}
