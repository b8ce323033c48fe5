// curvedreformat: straightens a volume along a curve (curved planar reformatting).
//
//   curvedreformat --volume IN --curve CURVE.csv --output OUT [options]
//
// IN is VTK XML image data (.vti), MetaImage (.mha, .mhd) or NRRD (.nrrd, .nhdr); the curve file
// lists one point per line as x,y,z (an optional header line first) in the volume file's physical
// coordinates, which the outputs use too. Nothing is written unless every step succeeds.

#include "CurvedReformatFiles.h"

#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVALabelMapVolumeNode.h>
#include <vtkKOVAMarkupsCurveNode.h>
#include <vtkKOVAModelNode.h>
#include <vtkKOVAScalarVolumeNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATransformNode.h>
#include <vtkVireonCLIModuleLogic.h>
#include <vtkVireonGeneralizedReformatLogic.h>

#include <vtkImageData.h>
#include <vtkLogger.h>
#include <vtkMatrix4x4.h>
#include <vtkNew.h>
#include <vtkSmartPointer.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

using namespace CurvedReformat;

namespace
{
const char* const Usage =
  R"(Usage: curvedreformat --volume IN --curve CURVE.csv --output OUT [options]

Straightens the volume IN along the curve in CURVE.csv and writes the straightened volume to OUT.

  --volume IN            input volume: .vti, .mha, .mhd, .nrrd or .nhdr
  --curve CURVE.csv      curve points, one x,y,z per line (an optional header line first), in
                         the volume file's physical coordinates (mm)
  --output OUT           straightened volume: .vti or .mha
  --slice-size W H       cross-section width and height in mm (default 40 40)
  --spacing S            output voxel size in mm (default: the input's smallest spacing)
  --rotation DEG         rotation of the cross-sections about the curve direction (default 0)
  --stretch              flatten the curve into its best-fitting plane first
  --label-map            the input holds labels: nearest-neighbour resampling
  --projection FILE      also write the mean projection along --projection-axis: .png (8-bit,
                         windowed to its range), .vti or .mha (the values)
  --projection-axis A    0, 1 or 2 (default 1)
  --planes FILE.vtp      also write the reslicing planes as a model
  -h, --help             show this help
)";

double ParseNumber(const std::string& text, const std::string& option)
{
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value))
  {
    throw Failure{ option + " expects a number, got \"" + text + "\"", 2 };
  }
  return value;
}

struct Options
{
  std::string Volume;
  std::string Curve;
  std::string Output;
  double SliceSize[2] = { 40.0, 40.0 };
  double Spacing = 0.0; // 0: the input's smallest spacing
  double Rotation = 0.0;
  bool Stretch = false;
  bool LabelMap = false;
  std::string Projection;
  int ProjectionAxis = 1;
  std::string Planes;
  bool Help = false;
};

Options ParseOptions(int argc, char* argv[])
{
  Options options;
  auto value = [&](int& i, const std::string& option) -> std::string
  {
    if (i + 1 >= argc)
    {
      throw Failure{ option + " needs a value", 2 };
    }
    return argv[++i];
  };
  for (int i = 1; i < argc; ++i)
  {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help")
    {
      options.Help = true;
    }
    else if (arg == "--volume")
    {
      options.Volume = value(i, arg);
    }
    else if (arg == "--curve")
    {
      options.Curve = value(i, arg);
    }
    else if (arg == "--output")
    {
      options.Output = value(i, arg);
    }
    else if (arg == "--slice-size")
    {
      options.SliceSize[0] = ParseNumber(value(i, arg), arg);
      options.SliceSize[1] = ParseNumber(value(i, arg), arg);
      if (options.SliceSize[0] <= 0.0 || options.SliceSize[1] <= 0.0)
      {
        throw Failure{ "--slice-size needs two positive sizes", 2 };
      }
    }
    else if (arg == "--spacing")
    {
      options.Spacing = ParseNumber(value(i, arg), arg);
      if (options.Spacing <= 0.0)
      {
        throw Failure{ "--spacing needs a positive size", 2 };
      }
    }
    else if (arg == "--rotation")
    {
      options.Rotation = ParseNumber(value(i, arg), arg);
    }
    else if (arg == "--stretch")
    {
      options.Stretch = true;
    }
    else if (arg == "--label-map")
    {
      options.LabelMap = true;
    }
    else if (arg == "--projection")
    {
      options.Projection = value(i, arg);
    }
    else if (arg == "--projection-axis")
    {
      const std::string text = value(i, arg);
      if (text != "0" && text != "1" && text != "2")
      {
        throw Failure{ "--projection-axis must be 0, 1 or 2, got \"" + text + "\"", 2 };
      }
      options.ProjectionAxis = text[0] - '0';
    }
    else if (arg == "--planes")
    {
      options.Planes = value(i, arg);
    }
    else
    {
      throw Failure{ "unknown option \"" + arg + "\" (see --help)", 2 };
    }
  }
  if (options.Help)
  {
    return options;
  }
  if (options.Volume.empty() || options.Curve.empty() || options.Output.empty())
  {
    throw Failure{ "--volume, --curve and --output are required (see --help)", 2 };
  }
  const std::string out = Extension(options.Output);
  if (out != ".vti" && out != ".mha")
  {
    throw Failure{ "--output must end in .vti or .mha", 2 };
  }
  if (!options.Projection.empty())
  {
    const std::string ext = Extension(options.Projection);
    if (ext != ".png" && ext != ".vti" && ext != ".mha")
    {
      throw Failure{ "--projection must end in .png, .vti or .mha", 2 };
    }
  }
  if (!options.Planes.empty() && Extension(options.Planes) != ".vtp")
  {
    throw Failure{ "--planes must end in .vtp", 2 };
  }
  return options;
}

void SetNodeGeometry(vtkKOVAVolumeNode* node, const Volume& volume)
{
  vtkNew<vtkMatrix4x4> ijkToRAS;
  for (int r = 0; r < 3; ++r)
  {
    for (int c = 0; c < 3; ++c)
    {
      ijkToRAS->SetElement(r, c, volume.Directions[r][c] * volume.Spacing[c]);
    }
    ijkToRAS->SetElement(r, 3, volume.Origin[r]);
  }
  node->SetIJKToRASMatrix(ijkToRAS);
}

Volume NodeVolume(vtkKOVAVolumeNode* node)
{
  Volume volume;
  volume.Image = node->GetImageData();
  node->GetOrigin(volume.Origin);
  node->GetSpacing(volume.Spacing);
  node->GetIJKToRASDirections(volume.Directions);
  return volume;
}

//------------------------------------------------------------------------------
int Run(const Options& options, CapturingOutputWindow* errors)
{
  const Volume input = ReadVolume(options.Volume, errors);
  const std::vector<CurvePoint> curvePoints = ReadCurve(options.Curve);
  if (curvePoints.size() < 2)
  {
    throw Failure{ "curve " + options.Curve + " has " + std::to_string(curvePoints.size()) +
                   " point(s); at least 2 are needed" };
  }

  // The host's pieces: scene, application logic, the resampling module and the reformat logic.
  vtkNew<vtkKOVAScene> scene;
  vtkNew<vtkKOVAApplicationLogic> applicationLogic;
  applicationLogic->SetKOVAScene(scene);
  vtkNew<vtkVireonCLIModuleLogic> resampleLogic;
  resampleLogic->SetModuleName("ResampleScalarVectorDWIVolume");
  resampleLogic->SetKOVAApplicationLogic(applicationLogic);
  resampleLogic->SetKOVAScene(scene);
  applicationLogic->SetModuleLogic("ResampleScalarVectorDWIVolume", resampleLogic);
  vtkNew<vtkVireonGeneralizedReformatLogic> logic;
  logic->SetKOVAApplicationLogic(applicationLogic);
  logic->SetKOVAScene(scene);
  logic->GetVolumeResampler("ResampleScalarVectorDWIVolume")
    ->SetKOVAApplicationLogic(applicationLogic);
  struct Cleanup
  {
    vtkKOVAApplicationLogic* Logic;
    ~Cleanup() { this->Logic->SetModuleLogic("ResampleScalarVectorDWIVolume", nullptr); }
  } cleanup{ applicationLogic };

  auto* inputNode = vtkKOVAScalarVolumeNode::SafeDownCast(scene->AddNewNodeByClass(
    options.LabelMap ? "vtkKOVALabelMapVolumeNode" : "vtkKOVAScalarVolumeNode", "Input"));
  inputNode->SetAndObserveImageData(input.Image);
  SetNodeGeometry(inputNode, input);

  double bounds[6];
  inputNode->GetRASBounds(bounds);
  const double margin = 0.5 * std::max({ input.Spacing[0], input.Spacing[1], input.Spacing[2] });
  const bool anyInside = std::any_of(curvePoints.begin(),
    curvePoints.end(),
    [&](const CurvePoint& point)
    {
      for (int k = 0; k < 3; ++k)
      {
        const double p = point.Position[k];
        if (p < bounds[2 * k] - margin || p > bounds[2 * k + 1] + margin)
        {
          return false;
        }
      }
      return true;
    });
  if (!anyInside)
  {
    throw Failure{ "the curve in " + options.Curve + " lies outside the volume" };
  }

  auto* curve = vtkKOVAMarkupsCurveNode::SafeDownCast(
    scene->AddNewNodeByClass("vtkKOVAMarkupsCurveNode", "Curve"));
  for (const CurvePoint& point : curvePoints)
  {
    curve->AddControlPoint(vtkVector3d(point.Position.data()));
  }

  const double spacing = options.Spacing > 0.0
                           ? options.Spacing
                           : std::min({ input.Spacing[0], input.Spacing[1], input.Spacing[2] });
  auto* transform = vtkKOVATransformNode::SafeDownCast(
    scene->AddNewNodeByClass("vtkKOVATransformNode", "Straightening"));
  vtkKOVAModelNode* planes = nullptr;
  if (!options.Planes.empty())
  {
    planes = vtkKOVAModelNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAModelNode", "Planes"));
  }
  auto logicFailure = [&](const std::string& what)
  {
    const std::string reason = errors->FirstMessage();
    return Failure{ what + (reason.empty() ? "" : ": " + reason) };
  };
  errors->Errors.clear();
  if (!logic->ComputeStraighteningTransform(
        transform, curve, options.SliceSize, spacing, options.Stretch, options.Rotation, planes))
  {
    throw logicFailure("cannot compute the straightening transform");
  }
  auto* straightened = vtkKOVAScalarVolumeNode::SafeDownCast(
    scene->AddNewNodeByClass("vtkKOVAScalarVolumeNode", "Straightened"));
  const double outputSpacing[3] = { spacing, spacing, spacing };
  if (!logic->StraightenVolume(straightened, inputNode, outputSpacing, transform))
  {
    throw logicFailure("cannot straighten the volume");
  }
  if (straightened->GetImageData()->GetNumberOfPoints() == 0)
  {
    throw Failure{ "the straightened volume is empty (slice size smaller than the spacing?)" };
  }

  PendingOutputs outputs;
  WriteVolume(NodeVolume(straightened), outputs.Add(options.Output));
  if (!options.Projection.empty())
  {
    auto* projected = vtkKOVAScalarVolumeNode::SafeDownCast(
      scene->AddNewNodeByClass("vtkKOVAScalarVolumeNode", "Projection"));
    if (!logic->ProjectVolume(projected, straightened, options.ProjectionAxis))
    {
      throw logicFailure("cannot project the straightened volume");
    }
    const OutputFile output = outputs.Add(options.Projection);
    if (Extension(options.Projection) == ".png")
    {
      WriteProjectionPNG(projected->GetImageData(), options.ProjectionAxis, output);
    }
    else
    {
      WriteVolume(NodeVolume(projected), output);
    }
  }
  if (planes)
  {
    WritePolyData(planes->GetPolyData(), outputs.Add(options.Planes));
  }
  outputs.Commit();

  int dims[3];
  straightened->GetImageData()->GetDimensions(dims);
  std::cout << "curvedreformat: straightened " << options.Volume << " along "
            << curve->GetCurveLengthWorld() << " mm of curve into " << options.Output << " ("
            << dims[0] << " x " << dims[1] << " x " << dims[2] << " voxels of " << spacing
            << " mm)\n";
  return 0;
}
}

int main(int argc, char* argv[])
{
  // VTK's messages are collected and reported as one line; its logger stays quiet.
  vtkLogger::SetStderrVerbosity(vtkLogger::VERBOSITY_OFF);
  vtkNew<CapturingOutputWindow> errors;
  vtkOutputWindow::SetInstance(errors);
  try
  {
    const Options options = ParseOptions(argc, argv);
    if (options.Help)
    {
      std::cout << Usage;
      return 0;
    }
    return Run(options, errors);
  }
  catch (const Failure& failure)
  {
    std::cerr << "curvedreformat: " << failure.Message << "\n";
    return failure.ExitCode;
  }
  catch (const std::exception& e)
  {
    std::cerr << "curvedreformat: " << e.what() << "\n";
    return 1;
  }
}
