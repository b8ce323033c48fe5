// curvedreformat: straightens a volume along a curve (curved planar reformatting).
//
//   curvedreformat --volume IN --curve CURVE.csv --output OUT [options]
//
// The volume and curve files are read by CurvedReformatFiles and CurvedReformatDicom, the
// preview is drawn by CurvedReformatPreview; this file is the command line and the run through
// the reformat logic. Nothing is written unless every step succeeds.

#include "CurvedReformatTool.h"

#include "CurvedReformatDicom.h"
#include "CurvedReformatFiles.h"

#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVACommandLineModuleNode.h>
#include <vtkKOVAMarkupsCurveNode.h>
#include <vtkKOVAModelNode.h>
#include <vtkKOVAScalarVolumeNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATransformNode.h>
#include <vtkVireonCLIModuleLogic.h>
#include <vtkVireonGeneralizedReformatLogic.h>

#include <vtkCallbackCommand.h>
#include <vtkImageData.h>
#include <vtkLogger.h>
#include <vtkMatrix4x4.h>
#include <vtkNew.h>
#include <vtkOutputWindow.h>
#include <vtkPointData.h>
#include <vtkSmartPointer.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

using namespace CurvedReformat;

namespace
{
const char* const Usage =
  R"(Usage: curvedreformat --volume IN --curve CURVE.csv --output OUT [options]

Straightens the volume IN along the curve in CURVE.csv and writes the straightened volume to OUT.

Options:
  --volume IN            input volume: a folder of DICOM files (one series; subfolders are
                         searched too), a multi-frame DICOM file, or .vti, .mha, .mhd, .nrrd,
                         .nhdr; DICOM pixel data may be JPEG, JPEG-LS, RLE or JPEG 2000 compressed
  --series-uid UID       the series to read when the DICOM folder holds several
  --curve CURVE.csv      curve points, one x,y,z per line in mm (an optional header line first),
                         in the volume's physical frame (see below)
  --output OUT           straightened volume: .vti or .mha
  --slice-size W H       cross-section width and height in mm (default 40 40)
  --spacing S            output voxel size in mm (default: the input's smallest spacing)
  --rotation DEG         rotation of the cross-sections about the curve (default 0)
  --stretch              flatten the curve into its best-fitting plane first
  --label-map            the input holds labels: nearest-neighbour resampling
  --projection FILE      also write the mean projection along --projection-axis: .png (8-bit,
                         windowed to its range), .vti or .mha (the values)
  --projection-axis A    0, 1 or 2 (default 1); needs --projection
  --planes FILE.vtp      also write the reslicing planes as a model
  --preview FILE.png     also write the two longitudinal cuts through the straightened volume's
                         centre line (X-Z and Y-Z) side by side, with a millimetre scale bar
  --window CENTER WIDTH  grey-level window of the preview (default: the 1st to 99th percentile)
  --max-memory SIZE      refuse to run when the estimated memory exceeds SIZE: bytes, or a number
                         with K, M, G or T (default: half of the physical memory)
  -v, --verbose          show progress on standard error as lines, also when it is not a
                         terminal
  --version              print the version and exit
  -h, --help             show this help
Options with values also take the form --option=value (--slice-size=W,H, --window=C,W).

Coordinates:
  The curve is given in the volume's physical frame, in which the outputs are placed too. For
  DICOM input that is DICOM's patient coordinate system (LPS): x towards the patient's left, y
  towards the back, z towards the head, as in Image Position (Patient). The host application
  shows RAS coordinates (x towards the right, y towards the front): negate x and y of a point
  copied from it. For .vti, .mha and .nrrd input it is the file's own frame (MetaImage files
  from ITK are LPS).

Progress:
  Shown on standard error when it is a terminal, for runs longer than a second; with --verbose
  as one line per tenth of each stage (reading, straightening, writing).

Exit status:
  0 done, 1 failure (one line on standard error), 2 wrong command line.
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

/// Bytes from "1000000", "512M", "1.5G" (powers of 1024; "B" or "iB" may follow the letter).
double ParseSize(const std::string& text, const std::string& option)
{
  size_t end = 0;
  while (
    end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.'))
  {
    ++end;
  }
  std::string unit = text.substr(end);
  for (const char* suffix : { "iB", "B" })
  {
    const std::string s = suffix;
    if (unit.size() > s.size() && unit.compare(unit.size() - s.size(), s.size(), s) == 0)
    {
      unit.erase(unit.size() - s.size());
      break;
    }
  }
  const std::string units = "KMGT";
  double factor = 1.0;
  if (!unit.empty())
  {
    const size_t at =
      unit.size() == 1 ? units.find(static_cast<char>(std::toupper(unit[0]))) : std::string::npos;
    if (at == std::string::npos)
    {
      throw Failure{ option + " expects a size such as 4G or 512M, got \"" + text + "\"", 2 };
    }
    factor = std::pow(1024.0, static_cast<double>(at + 1));
  }
  const double value = ParseNumber(text.substr(0, end), option) * factor;
  if (value <= 0.0)
  {
    throw Failure{ option + " needs a positive size", 2 };
  }
  return value;
}

std::string FormatBytes(double bytes)
{
  const char* units[] = { "bytes", "KB", "MB", "GB", "TB", "PB", "EB" };
  int unit = 0;
  while (bytes >= 1024.0 && unit < 6)
  {
    bytes /= 1024.0;
    ++unit;
  }
  std::ostringstream text;
  text.precision(3);
  text << bytes << " " << units[unit];
  return text.str();
}

double PhysicalMemory()
{
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGE_SIZE);
  return pages > 0 && pageSize > 0 ? static_cast<double>(pages) * pageSize : 0.0;
}

}

Options CurvedReformat::ParseCommandLine(int argc, char* argv[])
{
  Options options;
  for (int i = 1; i < argc; ++i)
  {
    std::string arg = argv[i];
    // --option=value: the value given inline (two values separated by a comma).
    std::vector<std::string> inlineValues;
    bool hasInline = false;
    const size_t equals = arg.find('=');
    if (arg.rfind("--", 0) == 0 && equals != std::string::npos)
    {
      hasInline = true;
      std::stringstream values(arg.substr(equals + 1));
      std::string value;
      while (std::getline(values, value, ','))
      {
        inlineValues.push_back(value);
      }
      if (inlineValues.empty())
      {
        inlineValues.emplace_back();
      }
      arg.erase(equals);
    }
    auto values = [&](int count) -> std::vector<std::string>
    {
      if (hasInline)
      {
        if (static_cast<int>(inlineValues.size()) != count)
        {
          throw Failure{
            arg + " needs " + (count == 1 ? "a value" : "two values (" + arg + "=A,B)"), 2
          };
        }
        return inlineValues;
      }
      if (i + count >= argc)
      {
        throw Failure{ arg + (count == 1 ? " needs a value" : " needs two values"), 2 };
      }
      std::vector<std::string> result(argv + i + 1, argv + i + 1 + count);
      i += count;
      return result;
    };
    auto flag = [&]()
    {
      if (hasInline)
      {
        throw Failure{ arg + " takes no value", 2 };
      }
      return true;
    };
    if (arg == "-h" || arg == "--help")
    {
      options.Help = flag();
    }
    else if (arg == "--version")
    {
      options.Version = flag();
    }
    else if (arg == "-v" || arg == "--verbose")
    {
      options.Verbose = flag();
    }
    else if (arg == "--volume")
    {
      options.Volume = values(1)[0];
    }
    else if (arg == "--series-uid")
    {
      options.SeriesUID = values(1)[0];
    }
    else if (arg == "--curve")
    {
      options.Curve = values(1)[0];
    }
    else if (arg == "--output")
    {
      options.Output = values(1)[0];
    }
    else if (arg == "--slice-size")
    {
      const std::vector<std::string> size = values(2);
      options.SliceSize[0] = ParseNumber(size[0], arg);
      options.SliceSize[1] = ParseNumber(size[1], arg);
      if (options.SliceSize[0] <= 0.0 || options.SliceSize[1] <= 0.0)
      {
        throw Failure{ "--slice-size needs two positive sizes", 2 };
      }
    }
    else if (arg == "--spacing")
    {
      options.Spacing = ParseNumber(values(1)[0], arg);
      if (options.Spacing <= 0.0)
      {
        throw Failure{ "--spacing needs a positive size", 2 };
      }
    }
    else if (arg == "--rotation")
    {
      options.Rotation = ParseNumber(values(1)[0], arg);
    }
    else if (arg == "--stretch")
    {
      options.Stretch = flag();
    }
    else if (arg == "--label-map")
    {
      options.LabelMap = flag();
    }
    else if (arg == "--projection")
    {
      options.Projection = values(1)[0];
    }
    else if (arg == "--projection-axis")
    {
      const std::string text = values(1)[0];
      if (text != "0" && text != "1" && text != "2")
      {
        throw Failure{ "--projection-axis must be 0, 1 or 2, got \"" + text + "\"", 2 };
      }
      options.ProjectionAxis = text[0] - '0';
      options.ProjectionAxisGiven = true;
    }
    else if (arg == "--planes")
    {
      options.Planes = values(1)[0];
    }
    else if (arg == "--preview")
    {
      options.Preview = values(1)[0];
    }
    else if (arg == "--window")
    {
      const std::vector<std::string> window = values(2);
      options.PreviewWindow.Centre = ParseNumber(window[0], arg);
      options.PreviewWindow.Width = ParseNumber(window[1], arg);
      if (options.PreviewWindow.Width <= 0.0)
      {
        throw Failure{ "--window needs a positive width", 2 };
      }
      options.WindowGiven = true;
    }
    else if (arg == "--max-memory")
    {
      options.MaxMemory = ParseSize(values(1)[0], arg);
    }
    else
    {
      throw Failure{ "unknown option \"" + arg + "\" (see --help)", 2 };
    }
  }
  if (options.Help || options.Version)
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
  else if (options.ProjectionAxisGiven)
  {
    throw Failure{ "--projection-axis needs --projection", 2 };
  }
  if (!options.Planes.empty() && Extension(options.Planes) != ".vtp")
  {
    throw Failure{ "--planes must end in .vtp", 2 };
  }
  if (!options.Preview.empty() && Extension(options.Preview) != ".png")
  {
    throw Failure{ "--preview must end in .png", 2 };
  }
  if (options.WindowGiven && options.Preview.empty())
  {
    throw Failure{ "--window needs --preview", 2 };
  }
  return options;
}

namespace
{
//------------------------------------------------------------------------------
/// Percent done on standard error: on a terminal once the run has taken a second, rewritten in
/// place; with --verbose from the start, one line per tenth of each stage.
class ProgressReport
{
public:
  ProgressReport(bool verbose)
    : Lines(verbose)
    , Enabled(verbose || isatty(STDERR_FILENO) != 0)
    , Start(std::chrono::steady_clock::now())
  {
  }
  /// A run that failed leaves its stage where it was; only the terminal line is cleared.
  ~ProgressReport() { this->ClearLine(); }

  /// Starts a stage: its progress runs from 0 % to 100 %.
  void Stage(const std::string& name)
  {
    this->EndStage();
    this->Name = name;
    this->Shown = -1;
    this->Report(0.0);
  }

  void Report(double fraction)
  {
    if (!this->Enabled || this->Name.empty())
    {
      return;
    }
    const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - this->Start).count();
    if (!this->Lines && seconds < 1.0)
    {
      return;
    }
    const int percent = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100.0);
    const int shown = this->Lines ? percent / 10 * 10 : percent;
    if (shown <= this->Shown)
    {
      return;
    }
    this->Shown = shown;
    if (this->Lines)
    {
      std::cerr << "curvedreformat: " << this->Name << " " << shown << "%" << std::endl;
    }
    else
    {
      std::cerr << "\rcurvedreformat: " << this->Name << " " << shown << "%   " << std::flush;
      this->LineOpen = true;
    }
  }

  /// Ends the last stage (at 100 %) and clears the line rewritten on a terminal.
  void Finish()
  {
    this->EndStage();
    this->Name.clear();
    this->ClearLine();
  }

  ProgressFunction Function()
  {
    return [this](double fraction) { this->Report(fraction); };
  }

private:
  void ClearLine()
  {
    if (this->LineOpen)
    {
      std::cerr << "\r\033[K" << std::flush;
      this->LineOpen = false;
    }
  }

  void EndStage()
  {
    if (!this->Name.empty())
    {
      this->Report(1.0);
    }
  }

  bool Lines;
  bool Enabled;
  std::chrono::steady_clock::time_point Start;
  std::string Name;
  int Shown = -1;
  bool LineOpen = false;
};

//------------------------------------------------------------------------------
/// The host's pieces: a scene, the application logic, the resampling module and the reformat
/// logic; the progress of resampling runs goes to a ProgressReport.
class Reformat
{
public:
  Reformat(ProgressReport& progress)
  {
    this->ApplicationLogic->SetKOVAScene(this->Scene);
    this->ResampleLogic->SetModuleName("ResampleScalarVectorDWIVolume");
    this->ResampleLogic->SetKOVAApplicationLogic(this->ApplicationLogic);
    this->ResampleLogic->SetKOVAScene(this->Scene);
    this->ApplicationLogic->SetModuleLogic("ResampleScalarVectorDWIVolume", this->ResampleLogic);
    this->Logic->SetKOVAApplicationLogic(this->ApplicationLogic);
    this->Logic->SetKOVAScene(this->Scene);
    this->Logic->GetVolumeResampler("ResampleScalarVectorDWIVolume")
      ->SetKOVAApplicationLogic(this->ApplicationLogic);

    this->ProgressObserver->SetClientData(&progress);
    this->ProgressObserver->SetCallback(
      [](vtkObject*, unsigned long, void* clientData, void* callData)
      { static_cast<ProgressReport*>(clientData)->Report(*static_cast<double*>(callData)); });
    this->NodeObserver->SetClientData(this->ProgressObserver);
    this->NodeObserver->SetCallback(
      [](vtkObject*, unsigned long, void* clientData, void* callData)
      {
        if (auto* run =
              vtkKOVACommandLineModuleNode::SafeDownCast(static_cast<vtkObject*>(callData)))
        {
          run->AddObserver(vtkCommand::ProgressEvent, static_cast<vtkCallbackCommand*>(clientData));
        }
      });
    this->Scene->AddObserver(vtkKOVAScene::NodeAddedEvent, this->NodeObserver);
  }
  ~Reformat() { this->ApplicationLogic->SetModuleLogic("ResampleScalarVectorDWIVolume", nullptr); }

  template <typename T>
  T* Add(const char* className, const char* name)
  {
    return T::SafeDownCast(this->Scene->AddNewNodeByClass(className, name));
  }

  vtkNew<vtkKOVAScene> Scene;
  vtkNew<vtkKOVAApplicationLogic> ApplicationLogic;
  vtkNew<vtkVireonCLIModuleLogic> ResampleLogic;
  vtkNew<vtkVireonGeneralizedReformatLogic> Logic;
  vtkNew<vtkCallbackCommand> ProgressObserver;
  vtkNew<vtkCallbackCommand> NodeObserver;
};

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

/// Distance from \a point to the box \a bounds (0 inside).
double DistanceOutside(const double point[3], const double bounds[6])
{
  double squared = 0.0;
  for (int k = 0; k < 3; ++k)
  {
    const double below = bounds[2 * k] - point[k];
    const double above = point[k] - bounds[2 * k + 1];
    const double d = std::max({ below, above, 0.0 });
    squared += d * d;
  }
  return std::sqrt(squared);
}

std::string PointText(const CurvePoint& point)
{
  std::ostringstream text;
  text << "(" << point.Position[0] << ", " << point.Position[1] << ", " << point.Position[2] << ")";
  return text.str();
}

/// Refuses a curve of which no point lies in the volume, and a run whose memory estimate exceeds
/// the limit, naming the curve point that lies farthest outside the volume when it is far
/// (beyond the volume's own size and the slice size): most likely a mistyped coordinate.
void CheckCurveAndSize(const Options& options,
  const std::vector<CurvePoint>& curvePoints,
  const double bounds[6],
  double margin,
  double curveLength,
  double spacing,
  const Volume& input)
{
  const CurvePoint* farthest = nullptr;
  double farthestDistance = 0.0;
  bool anyInside = false;
  for (const CurvePoint& point : curvePoints)
  {
    const double distance = DistanceOutside(point.Position.data(), bounds);
    anyInside = anyInside || distance <= margin;
    if (distance > farthestDistance)
    {
      farthestDistance = distance;
      farthest = &point;
    }
  }
  const double diagonal =
    std::sqrt(std::pow(bounds[1] - bounds[0], 2) + std::pow(bounds[3] - bounds[2], 2) +
              std::pow(bounds[5] - bounds[4], 2));
  const double farLimit = std::max({ diagonal, options.SliceSize[0], options.SliceSize[1] });
  std::string farPoint;
  if (farthest && farthestDistance > farLimit)
  {
    std::ostringstream text;
    text.precision(3);
    text << "; curve point " << PointText(*farthest) << " on line " << farthest->Line << " of "
         << options.Curve << " lies " << farthestDistance
         << " mm outside the volume (a mistyped coordinate?)";
    farPoint = text.str();
  }
  if (!anyInside)
  {
    throw Failure{ "the curve in " + options.Curve + " lies outside the volume" + farPoint };
  }

  // What the run holds at its peak besides the input: the straightened volume, the B-spline
  // coefficients of the input (4-byte floats), and per curve sample (one every 5 x spacing) the
  // grid, curve and frame data (about 1 KB).
  vtkImageData* image = input.Image;
  const double voxelBytes = image->GetScalarSize() * image->GetNumberOfScalarComponents();
  const double columns = std::trunc(options.SliceSize[0] / spacing);
  const double rows = std::trunc(options.SliceSize[1] / spacing);
  if (columns < 1.0 || rows < 1.0)
  {
    std::ostringstream text;
    text << "the straightened volume would be empty: the slice size " << options.SliceSize[0]
         << " x " << options.SliceSize[1] << " mm is smaller than the spacing " << spacing
         << " mm";
    throw Failure{ text.str() };
  }
  const double slices = std::trunc(curveLength / spacing);
  const double outputBytes = columns * rows * slices * voxelBytes;
  const double coefficientBytes =
    options.LabelMap ? 0.0
                     : 4.0 * image->GetNumberOfPoints() * image->GetNumberOfScalarComponents();
  const double sampleBytes = 1024.0 * curveLength / (5.0 * spacing);
  const double estimate = outputBytes + coefficientBytes + sampleBytes;
  const double limit = options.MaxMemory > 0.0 ? options.MaxMemory : 0.5 * PhysicalMemory();
  if (limit > 0.0 && estimate > limit)
  {
    std::ostringstream size;
    size.precision(6);
    size << columns << " x " << rows << " x " << slices;
    throw Failure{ "the straightened volume would need about " + FormatBytes(estimate) + " (" +
                   size.str() + " voxels along " + std::to_string(std::llround(curveLength)) +
                   " mm of curve), more than the " + FormatBytes(limit) + " that --max-memory " +
                   (options.MaxMemory > 0.0 ? "allows" : "allows by default") + farPoint };
  }
}

//------------------------------------------------------------------------------
int Run(const Options& options, CapturingOutputWindow* errors)
{
  ProgressReport progress(options.Verbose);
  const std::vector<CurvePoint> curvePoints = ReadCurve(options.Curve);
  if (curvePoints.size() < 2)
  {
    throw Failure{ "curve " + options.Curve + " has " + std::to_string(curvePoints.size()) +
                   " point(s); at least 2 are needed" };
  }
  progress.Stage("reading");
  const Volume input = ReadVolume(options.Volume, options.SeriesUID, errors, progress.Function());

  // Every output is created before the work, so that a missing folder shows at once.
  PendingOutputs outputs;
  const OutputFile volumeOutput = outputs.Add(options.Output);
  const OutputFile projectionOutput =
    options.Projection.empty() ? OutputFile() : outputs.Add(options.Projection);
  const OutputFile planesOutput =
    options.Planes.empty() ? OutputFile() : outputs.Add(options.Planes);
  const OutputFile previewOutput =
    options.Preview.empty() ? OutputFile() : outputs.Add(options.Preview);

  Reformat reformat(progress);
  auto* inputNode = reformat.Add<vtkKOVAScalarVolumeNode>(
    options.LabelMap ? "vtkKOVALabelMapVolumeNode" : "vtkKOVAScalarVolumeNode", "Input");
  inputNode->SetAndObserveImageData(input.Image);
  SetNodeGeometry(inputNode, input);
  auto* curve = reformat.Add<vtkKOVAMarkupsCurveNode>("vtkKOVAMarkupsCurveNode", "Curve");
  for (const CurvePoint& point : curvePoints)
  {
    curve->AddControlPoint(vtkVector3d(point.Position.data()));
  }
  const double spacing = options.Spacing > 0.0
                           ? options.Spacing
                           : std::min({ input.Spacing[0], input.Spacing[1], input.Spacing[2] });
  const double curveLength = curve->GetCurveLengthWorld();
  double bounds[6];
  inputNode->GetRASBounds(bounds);
  CheckCurveAndSize(options,
    curvePoints,
    bounds,
    0.5 * std::max({ input.Spacing[0], input.Spacing[1], input.Spacing[2] }),
    curveLength,
    spacing,
    input);
  // The transform samples the curve every 5 x spacing and needs three samples.
  const double shortest = 1.5 * 5.0 * spacing;
  if (!(curveLength > shortest))
  {
    std::ostringstream text;
    text << "the curve in " << options.Curve << " is too short: " << curveLength
         << " mm gives no straightened volume at " << spacing << " mm spacing (more than "
         << shortest << " mm of curve are needed; a smaller --spacing needs less)";
    throw Failure{ text.str() };
  }

  auto* transform = reformat.Add<vtkKOVATransformNode>("vtkKOVATransformNode", "Straightening");
  vtkKOVAModelNode* planes =
    options.Planes.empty() ? nullptr : reformat.Add<vtkKOVAModelNode>("vtkKOVAModelNode", "Planes");
  auto logicFailure = [&](const std::string& what)
  {
    const std::string reason = errors->FirstMessage();
    return Failure{ what + (reason.empty() ? "" : ": " + reason) };
  };
  progress.Stage("straightening");
  errors->Errors.clear();
  if (!reformat.Logic->ComputeStraighteningTransform(
        transform, curve, options.SliceSize, spacing, options.Stretch, options.Rotation, planes))
  {
    throw logicFailure("cannot compute the straightening transform");
  }
  auto* straightened =
    reformat.Add<vtkKOVAScalarVolumeNode>("vtkKOVAScalarVolumeNode", "Straightened");
  const double outputSpacing[3] = { spacing, spacing, spacing };
  if (!reformat.Logic->StraightenVolume(straightened, inputNode, outputSpacing, transform))
  {
    throw logicFailure("cannot straighten the volume");
  }
  if (straightened->GetImageData()->GetNumberOfPoints() == 0)
  {
    throw Failure{ "the straightened volume is empty (slice size smaller than the spacing?)" };
  }

  progress.Stage("writing");
  const Volume result = NodeVolume(straightened);
  WriteVolume(result, volumeOutput);
  if (!options.Projection.empty())
  {
    auto* projected =
      reformat.Add<vtkKOVAScalarVolumeNode>("vtkKOVAScalarVolumeNode", "Projection");
    if (!reformat.Logic->ProjectVolume(projected, straightened, options.ProjectionAxis))
    {
      throw logicFailure("cannot project the straightened volume");
    }
    if (Extension(options.Projection) == ".png")
    {
      WriteProjectionPNG(projected->GetImageData(), options.ProjectionAxis, projectionOutput);
    }
    else
    {
      WriteVolume(NodeVolume(projected), projectionOutput);
    }
  }
  if (planes)
  {
    WritePolyData(planes->GetPolyData(), planesOutput);
  }
  if (!options.Preview.empty())
  {
    WritePreview(result,
      options.WindowGiven ? options.PreviewWindow : PercentileWindow(result.Image),
      previewOutput);
  }
  outputs.Commit();
  progress.Finish();

  int dims[3];
  straightened->GetImageData()->GetDimensions(dims);
  std::cout << "curvedreformat: straightened " << options.Volume << " along " << curveLength
            << " mm of curve into " << options.Output << " (" << dims[0] << " x " << dims[1]
            << " x " << dims[2] << " voxels of " << spacing << " mm)\n";
  return 0;
}

/// Puts VTK's output window back when the run ends.
class OutputWindowSwap
{
public:
  OutputWindowSwap(vtkOutputWindow* replacement)
    : Previous(vtkOutputWindow::GetInstance())
  {
    vtkOutputWindow::SetInstance(replacement);
  }
  ~OutputWindowSwap() { vtkOutputWindow::SetInstance(this->Previous); }
  OutputWindowSwap(const OutputWindowSwap&) = delete;
  OutputWindowSwap& operator=(const OutputWindowSwap&) = delete;

private:
  vtkSmartPointer<vtkOutputWindow> Previous;
};
}

int CurvedReformat::RunTool(int argc, char* argv[])
{
  // VTK's messages are collected and reported as one line; its logger stays quiet.
  vtkLogger::SetStderrVerbosity(vtkLogger::VERBOSITY_OFF);
  vtkNew<CapturingOutputWindow> errors;
  const OutputWindowSwap swap(errors);
  try
  {
    const Options options = ParseCommandLine(argc, argv);
    if (options.Help)
    {
      std::cout << Usage;
      return 0;
    }
    if (options.Version)
    {
      std::cout << "curvedreformat " << VIREON_PROJECT_VERSION << "\n";
      return 0;
    }
    return Run(options, errors);
  }
  catch (const Failure& failure)
  {
    std::cerr << "curvedreformat: " << failure.Message << "\n";
    return failure.ExitCode;
  }
  catch (const std::bad_alloc&)
  {
    std::cerr << "curvedreformat: out of memory (a larger --spacing or a smaller --slice-size "
                 "needs less)\n";
    return 1;
  }
  catch (const std::exception& e)
  {
    std::cerr << "curvedreformat: " << e.what() << "\n";
    return 1;
  }
}
