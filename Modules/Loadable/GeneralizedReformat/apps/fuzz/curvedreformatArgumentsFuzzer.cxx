// libFuzzer target: argument vectors through curvedreformat's program, CurvedReformat::RunTool,
// run within the process in a scratch folder that holds a small tube volume as .vti, .mha, .nrrd
// and a DICOM series ("series", Series Instance UID 2.25.70571905368431286102746582311), and its centre
// line (curve.csv).
//
// The input's lines are the arguments, after "--max-memory=1M" (so that a run stays small; a
// vector whose own --max-memory allows more is not run). Vectors with an absolute path or ".."
// are not run: every file named lies in the scratch folder. Besides the sanitizers:
// - the exit status is 0, 1 or 2; a command line that CurvedReformat::ParseCommandLine refuses
//   gives 2 and that message;
// - a failure prints nothing on standard output and one message on standard error (a line that
//   may go on in indented lines, such as a list of series; progress lines before it with
//   --verbose), and leaves every file as it was (no output, partial or final);
// - --help and --version change no file;
// - a run that succeeds changes exactly the outputs it names, which are distinct files; the
//   straightened volume has the size it reports, a projection volume that size flattened along
//   its axis, the pictures are PNG files and the planes a VTK XML file.
#include "CurvedReformatFiles.h"
#include "CurvedReformatTool.h"
#include "TubePhantom.h"
#include "VireonFuzzArguments.h"

#include "../Testing/DicomSeriesWriter.h"

#include <vtkImageData.h>
#include <vtkMetaImageReader.h>
#include <vtkNew.h>
#include <vtkSmartPointer.h>
#include <vtkXMLImageDataReader.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

using vireon::fuzz::Fail;

namespace
{
const char* const Target = "curvedreformatArgumentsFuzzer";
const char* const MemoryLimit = "--max-memory=1M";
const double MemoryLimitBytes = 1024.0 * 1024.0;

vireon::fuzz::ScratchFolder& Scratch()
{
  static vireon::fuzz::ScratchFolder scratch;
  return scratch;
}

void WriteInputs(vireon::fuzz::ScratchFolder& scratch)
{
  // A 25 x 15 x 5 voxel arc tube (4 mm voxels) and five points of its centre line.
  vtkSmartPointer<vtkImageData> tube = TubePhantom::Volume("arc", 2.0, 4.0, 8.0);
  CurvedReformat::Volume volume;
  volume.Image = tube;
  tube->GetOrigin(volume.Origin);
  tube->GetSpacing(volume.Spacing);
  const std::string work = scratch.Work().string();
  for (const char* name : { "tube.vti", "tube.mha" })
  {
    const std::string path = work + "/" + name;
    CurvedReformat::WriteVolume(volume, CurvedReformat::OutputFile{ path, path });
  }
  int dims[3];
  tube->GetDimensions(dims);
  std::ostringstream nrrd;
  nrrd << "NRRD0004\ntype: short\ndimension: 3\nspace: left-posterior-superior\nsizes: " << dims[0]
       << " " << dims[1] << " " << dims[2]
       << "\nspace directions: (4,0,0) (0,4,0) (0,0,4)\nkinds: domain domain domain\n"
       << "endian: little\nencoding: raw\nspace origin: (" << volume.Origin[0] << ","
       << volume.Origin[1] << "," << volume.Origin[2] << ")\n\n";
  nrrd.write(static_cast<const char*>(tube->GetScalarPointer()),
    static_cast<std::streamsize>(tube->GetNumberOfPoints() * sizeof(short)));
  scratch.Write("tube.nrrd", nrrd.str());

  SeriesGeometry geometry;
  tube->GetDimensions(geometry.Dimensions);
  tube->GetOrigin(geometry.Origin);
  tube->GetSpacing(geometry.Spacing);
  std::filesystem::create_directory(scratch.Work() / "series");
  SeriesOptions series;
  series.SeriesUID = "2.25.70571905368431286102746582311";
  WriteSeries((scratch.Work() / "series").string(), tube, geometry, series);

  std::ostringstream curve;
  curve.precision(17);
  curve << "x,y,z\n";
  for (const TubePhantom::Point& p : TubePhantom::ControlPoints("arc", 5))
  {
    curve << p[0] << "," << p[1] << "," << p[2] << "\n";
  }
  scratch.Write("curve.csv", curve.str());
  scratch.Seal();
}

vtkSmartPointer<vtkImageData> ReadImage(const std::string& path)
{
  vtkSmartPointer<vtkImageData> image;
  if (CurvedReformat::Extension(path) == ".mha")
  {
    vtkNew<vtkMetaImageReader> reader;
    reader->SetFileName(path.c_str());
    reader->Update();
    image = reader->GetOutput();
  }
  else
  {
    vtkNew<vtkXMLImageDataReader> reader;
    reader->SetFileName(path.c_str());
    reader->Update();
    image = reader->GetOutput();
  }
  return image;
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
  return text.compare(0, prefix.size(), prefix) == 0;
}

/// Checks a successful straightening: the files it changed and what they hold.
void CheckOutputs(const CurvedReformat::Options& options,
  const std::string& out,
  const vireon::fuzz::ScratchFolder::Files& after,
  const std::string& vector)
{
  const vireon::fuzz::ScratchFolder& scratch = Scratch();
  // The outputs named, as paths in the scratch folder.
  std::set<std::string> named;
  std::vector<std::pair<std::string, std::string>> outputs; // option, scratch path
  for (const auto& [option, name] : { std::make_pair("--output", options.Output),
         std::make_pair("--projection", options.Projection),
         std::make_pair("--planes", options.Planes),
         std::make_pair("--preview", options.Preview) })
  {
    if (name.empty())
      continue;
    const std::string path = ("work" / std::filesystem::path(name)).lexically_normal().string();
    if (!named.insert(path).second)
      Fail(Target, std::string(option) + " names a file another output names, and the run succeeded" + vector);
    outputs.emplace_back(option, path);
  }
  const auto& before = scratch.InitialFiles();
  for (const auto& [name, content] : after)
  {
    const auto was = before.find(name);
    if ((was == before.end() || was->second != content) && !named.count(name))
      Fail(Target, "the run changed " + name + ", which it does not name as an output" + vector);
  }
  for (const auto& [name, content] : before)
  {
    if (!after.count(name))
      Fail(Target, "the run removed " + name + vector);
  }

  int reported[3] = { 0, 0, 0 };
  const size_t size = out.rfind(" (");
  if (!StartsWith(out, "curvedreformat: straightened ") || size == std::string::npos ||
      std::sscanf(out.c_str() + size, " (%d x %d x %d voxels", reported, reported + 1,
        reported + 2) != 3 ||
      out.find('\n') != out.size() - 1)
    Fail(Target, "unexpected result line '" + out + "'" + vector);
  for (const auto& [option, path] : outputs)
  {
    const auto file = after.find(path);
    if (file == after.end())
      Fail(Target, std::string(option) + " " + path + " was not written" + vector);
    const std::string& content = file->second;
    const std::string ext = CurvedReformat::Extension(path);
    const std::string full = (scratch.Work().parent_path() / path).string();
    if (ext == ".png")
    {
      if (!StartsWith(content, "\x89PNG\r\n\x1a\n"))
        Fail(Target, std::string(option) + " " + path + " is not a PNG file" + vector);
    }
    else if (ext == ".vtp")
    {
      if (!StartsWith(content, "<?xml") && !StartsWith(content, "<VTKFile"))
        Fail(Target, std::string(option) + " " + path + " is not a VTK XML file" + vector);
    }
    else
    {
      int dims[3];
      ReadImage(full)->GetDimensions(dims);
      int expected[3] = { reported[0], reported[1], reported[2] };
      if (std::string(option) == "--projection")
        expected[options.ProjectionAxis] = 1;
      if (dims[0] != expected[0] || dims[1] != expected[1] || dims[2] != expected[2])
        Fail(Target, std::string(option) + " " + path + " holds " + std::to_string(dims[0]) +
                       " x " + std::to_string(dims[1]) + " x " + std::to_string(dims[2]) +
                       " voxels, not the " + std::to_string(expected[0]) + " x " +
                       std::to_string(expected[1]) + " x " + std::to_string(expected[2]) +
                       " expected" + vector);
    }
  }
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  WriteInputs(Scratch());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  vireon::fuzz::ArgumentVector arguments;
  if (!arguments.Parse("curvedreformat", { MemoryLimit }, data, size))
    return 0;
  const std::string vector = arguments.Describe();

  // The command line as the program will see it, when it accepts it.
  CurvedReformat::Options options;
  std::string refusal;
  try
  {
    options = CurvedReformat::ParseCommandLine(arguments.Argc(), arguments.Argv());
    if (options.MaxMemory > MemoryLimitBytes)
      return 0;
  }
  catch (const CurvedReformat::Failure& failure)
  {
    refusal = "curvedreformat: " + failure.Message + "\n";
  }

  vireon::fuzz::ScratchFolder& scratch = Scratch();
  vireon::fuzz::CapturedOutput output;
  const int status =
    scratch.InWork([&] { return CurvedReformat::RunTool(arguments.Argc(), arguments.Argv()); });
  output.Release();
  const std::string out = output.OutText();
  const std::string err = output.ErrText();
  const vireon::fuzz::ScratchFolder::Files after = scratch.Snapshot();
  const bool unchanged = after == scratch.InitialFiles();

  if (status < 0 || status > 2)
    Fail(Target, "exit status " + std::to_string(status) + vector);
  if (!refusal.empty() && (status != 2 || err != refusal))
    Fail(Target, "a refused command line gave status " + std::to_string(status) + " and '" + err +
                   "' instead of 2 and '" + refusal + "'" + vector);
  if (status != 0)
  {
    // The message's own lines, and the progress lines before it with --verbose.
    std::vector<std::string> messages;
    std::istringstream lines(err);
    for (std::string line; std::getline(lines, line);)
    {
      if (StartsWith(line, "  ") && !messages.empty())
        messages.back() += "\n" + line;
      else
        messages.push_back(line);
    }
    if (!out.empty() || err.empty() || err.back() != '\n' ||
        !StartsWith(messages.back(), "curvedreformat: ") ||
        (!options.Verbose && messages.size() != 1))
      Fail(Target, "a failure printed '" + out + "' and '" + err + "'" + vector);
    if (!unchanged)
      Fail(Target, "a failed run (" + messages.back() + ") changed files" + vector);
  }
  else if (options.Help || options.Version)
  {
    if (!unchanged || !StartsWith(out, options.Help ? "Usage: curvedreformat" : "curvedreformat "))
      Fail(Target, "--help or --version printed '" + out + "' or changed files" + vector);
  }
  else
  {
    if (!options.Verbose && err.find('\n') != std::string::npos)
      Fail(Target, "a run without --verbose printed '" + err + "'" + vector);
    CheckOutputs(options, out, after, vector);
  }
  if (!unchanged)
    scratch.Restore();
  return 0;
}
