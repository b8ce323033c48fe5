// The body of the argument fuzz targets of dcmcj2k and dcmdj2k: an argument vector through the
// program (DJ2KCompressTool, DJ2KDecompressTool), run within the process in a scratch folder
// that holds an uncompressed file (in.dcm: 8 x 8, 12 of 16 bits, two frames), an RGB one
// (rgb.dcm), its JPEG 2000 encodings (j2k.dcm reversible, lossy.dcm irreversible), an RLE file
// (rle.dcm), a text file, command files (threads.txt: "--threads 1", empty.txt) and a folder
// "dir" of copies with a text file and a subfolder.
//
// The input's lines are the arguments. Vectors with an absolute path or ".." are not run (every
// file named lies in the scratch folder), nor those that ask for more than 4 threads or name a
// logger configuration file (it would configure DCMTK's logging for the rest of the process).
// Besides the sanitizers:
// - the program returns (no exit) with one of its exit codes;
// - a refused command line (1) prints nothing on standard output and changes no file;
// - --help and --version change no file;
// - a single file that fails changes no file (no output, partial or final); one that succeeds
//   changes at most one file, an argument of the vector, which is a DICOM file in a transfer
//   syntax of the tool's (JPEG 2000 for dcmcj2k, uncompressed for dcmdj2k);
// - with +sd every file changed or added lies in a folder the vector names (or is a folder
//   created above it), and a run that succeeds prints its summary line with no failed file.
#ifndef DJ2KToolArgumentsFuzzer_h
#define DJ2KToolArgumentsFuzzer_h

#include "DJ2KTestDataset.h"
#include "DJ2KTestImage.h"
#include "VireonFuzzArguments.h"
#include "dj2ktool.h"

#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcrleerg.h"
#include "dcmtk/dcmdata/dcxfer.h"
#include "dcmtk/ofstd/ofexit.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace dj2kfuzz
{

using vireon::fuzz::Fail;
typedef int (*ToolFunction)(int argc, char* argv[]);

struct Tool
{
  const char* target;  // the fuzz target's name, for messages
  const char* program; // argv[0]
  ToolFunction run;
  bool compresses;     // outputs in JPEG 2000, else uncompressed
};

inline vireon::fuzz::ScratchFolder& Scratch()
{
  static vireon::fuzz::ScratchFolder scratch;
  return scratch;
}

inline void SaveFile(DcmFileFormat& file, const std::filesystem::path& path, E_TransferSyntax xfer)
{
  if (file.saveFile(path.string().c_str(), xfer).bad())
    Fail("DJ2KToolArgumentsFuzzer", "cannot write " + path.string());
}

// Runs a tool on arguments within the working folder, its output dropped; false if it failed.
inline bool Run(ToolFunction tool, std::vector<std::string> arguments)
{
  std::vector<char*> argv;
  for (std::string& argument : arguments)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  vireon::fuzz::CapturedOutput quiet;
  return Scratch().InWork([&] { return tool(static_cast<int>(arguments.size()), argv.data()); }) ==
         0;
}

// Set while a tool runs: an exit() then is a finding (libFuzzer reports it too, but the corpus
// replay would end quietly).
inline bool& Running()
{
  static bool running = false;
  return running;
}

inline void ExitDuringRun()
{
  if (Running())
  {
    std::fprintf(stderr, "DJ2KToolArgumentsFuzzer: the program called exit()\n");
    std::abort();
  }
}

inline void WriteInputs()
{
  std::atexit(ExitDuringRun);
  vireon::fuzz::ScratchFolder& scratch = Scratch();
  const std::filesystem::path work = scratch.Work();
  const dj2ktest::Image gray{ "ct", 8, 8, 1, 16, 12, 0, 0, 2 };
  const dj2ktest::Image rgb{ "rgb", 4, 6, 3, 8, 8, 0, 1, 1 };
  for (const auto& [name, shape] : { std::make_pair("in.dcm", gray), std::make_pair("rgb.dcm", rgb) })
  {
    DcmFileFormat file;
    dj2ktest::FillDataset(*file.getDataset(), shape, dj2ktest::MakePixels(shape, 7));
    SaveFile(file, work / name, EXS_LittleEndianExplicit);
  }
  {
    DcmRLEEncoderRegistration::registerCodecs();
    DcmFileFormat file;
    dj2ktest::FillDataset(*file.getDataset(), gray, dj2ktest::MakePixels(gray, 3));
    if (file.getDataset()->chooseRepresentation(EXS_RLELossless, nullptr).bad())
      Fail("DJ2KToolArgumentsFuzzer", "cannot encode rle.dcm");
    SaveFile(file, work / "rle.dcm", EXS_RLELossless);
    DcmRLEEncoderRegistration::cleanup();
  }
  if (!Run(DJ2KCompressTool, { "dcmcj2k", "in.dcm", "j2k.dcm" }) ||
      !Run(DJ2KCompressTool, { "dcmcj2k", "+ey", "rgb.dcm", "lossy.dcm" }))
    Fail("DJ2KToolArgumentsFuzzer", "cannot compress the inputs");
  scratch.Write("notes.txt", "not a DICOM file\n");
  scratch.Write("threads.txt", "--threads\n1\n");
  scratch.Write("empty.txt", "");
  std::filesystem::create_directories(work / "dir" / "sub");
  for (const char* name : { "in.dcm", "j2k.dcm", "notes.txt" })
    std::filesystem::copy_file(work / name, work / "dir" / name);
  for (const char* name : { "rgb.dcm", "lossy.dcm" })
    std::filesystem::copy_file(work / name, work / "dir" / "sub" / name);
  scratch.Seal();
}

// The vector is not run: more than 4 threads, or a logger configuration file.
inline bool Excluded(const std::vector<std::string>& arguments)
{
  for (size_t i = 0; i < arguments.size(); ++i)
  {
    const std::string& argument = arguments[i];
    if (argument == "-lc" || argument == "--log-config")
      return true;
    if (argument == "--threads" && i + 1 < arguments.size() &&
        std::strtoul(arguments[i + 1].c_str(), nullptr, 10) > 4)
      return true;
  }
  return false;
}

inline bool StartsWith(const std::string& text, const std::string& prefix)
{
  return text.compare(0, prefix.size(), prefix) == 0;
}

// "work/<argument>" normalized, the name of a file the argument names in a snapshot.
inline std::string InScratch(const std::string& argument)
{
  return ("work" / std::filesystem::path(argument)).lexically_normal().generic_string();
}

// Whether name is the path or lies below it.
inline bool Within(const std::string& name, const std::string& path)
{
  std::string folder = path;
  while (folder.size() > 1 && folder.back() == '/')
    folder.pop_back();
  return name == folder || StartsWith(name, folder + "/");
}

inline bool KnownExitCode(int status)
{
  for (int code : { EXITCODE_NO_ERROR,
         EXITCODE_COMMANDLINE_SYNTAX_ERROR,
         EXITCODE_CANNOT_READ_INPUT_FILE,
         EXITCODE_NO_INPUT_FILES,
         EXITCODE_INVALID_INPUT_FILE,
         EXITCODE_NO_VALID_INPUT_FILES,
         EXITCODE_INVALID_INPUT_DIRECTORY,
         EXITCODE_CANNOT_WRITE_OUTPUT_FILE,
         EXITCODE_INVALID_OUTPUT_DIRECTORY,
         80 })
  {
    if (status == code)
      return true;
  }
  return false;
}

inline int TestOneInput(const Tool& tool, const uint8_t* data, size_t size)
{
  vireon::fuzz::ArgumentVector arguments;
  if (!arguments.Parse(tool.program, {}, data, size))
    return 0;
  const std::vector<std::string> fuzzed = arguments.Fuzzed();
  if (Excluded(fuzzed))
    return 0;
  const std::string vector = arguments.Describe();
  bool folders = false;
  for (const std::string& argument : fuzzed)
    folders = folders || argument == "+sd" || argument == "--scan-directories";

  vireon::fuzz::ScratchFolder& scratch = Scratch();
  vireon::fuzz::CapturedOutput output;
  Running() = true;
  const int status = scratch.InWork([&] { return tool.run(arguments.Argc(), arguments.Argv()); });
  Running() = false;
  output.Release();
  const std::string out = output.OutText();
  const std::string err = output.ErrText();
  const vireon::fuzz::ScratchFolder::Files after = scratch.Snapshot();
  const vireon::fuzz::ScratchFolder::Files& before = scratch.InitialFiles();

  // The files added or changed; none may go.
  std::vector<std::string> changed;
  for (const auto& [name, content] : after)
  {
    const auto was = before.find(name);
    if (was == before.end() || was->second != content)
      changed.push_back(name);
  }
  for (const auto& [name, content] : before)
  {
    if (!after.count(name))
      Fail(tool.target, "the run removed " + name + vector);
  }
  const std::string summary = "status " + std::to_string(status) + ", '" + out + "', '" + err + "'";

  if (!KnownExitCode(status))
    Fail(tool.target, "unknown exit code: " + summary + vector);
  const bool usage = status == 0 && StartsWith(out, std::string("$vireon: ") + tool.program + " v");
  if (status == EXITCODE_COMMANDLINE_SYNTAX_ERROR && (!out.empty() || !changed.empty()))
    Fail(tool.target, "a refused command line printed on stdout or changed files: " + summary + vector);
  if (usage && !changed.empty())
    Fail(tool.target, "--help or --version changed " + changed.front() + vector);

  if (folders && status != EXITCODE_COMMANDLINE_SYNTAX_ERROR)
  {
    // Every change lies in a folder the vector names (the output folder), or is a folder
    // created above it.
    for (const std::string& name : changed)
    {
      const bool folder = after.at(name) == "<folder>";
      bool named = false;
      for (const std::string& argument : fuzzed)
        named = named || (!argument.empty() && (Within(name, InScratch(argument)) ||
                                                 (folder && Within(InScratch(argument), name))));
      if (!named)
        Fail(tool.target, "+sd changed " + name + ", outside the folders named: " + summary + vector);
    }
    if (status == 0 && !usage &&
        (!StartsWith(out, std::string(tool.program) + ": ") ||
          out.find(" converted, 0 failed, ") == std::string::npos))
      Fail(tool.target, "a folder run that succeeded printed " + summary + vector);
  }
  else if (!folders && status != 0 && !changed.empty())
  {
    Fail(tool.target, "a failed run changed " + changed.front() + ": " + summary + vector);
  }
  else if (!folders && status == 0 && !usage)
  {
    if (changed.size() > 1)
      Fail(tool.target, "a single file run changed " + changed[0] + " and " + changed[1] + vector);
    for (const std::string& name : changed)
    {
      bool named = false;
      for (const std::string& argument : fuzzed)
        named = named || (!argument.empty() && InScratch(argument) == name);
      if (!named)
        Fail(tool.target, "the run changed " + name + ", which no argument names" + vector);
      DcmFileFormat file;
      const std::string path = (scratch.Work().parent_path() / name).string();
      if (file.loadFile(path.c_str()).bad())
        Fail(tool.target, name + " is not a DICOM file" + vector);
      const E_TransferSyntax xfer = file.getDataset()->getOriginalXfer();
      const bool expected = tool.compresses
                              ? xfer == EXS_JPEG2000LosslessOnly || xfer == EXS_JPEG2000
                              : xfer == EXS_LittleEndianExplicit || xfer == EXS_LittleEndianImplicit;
      if (!expected)
        Fail(tool.target, name + " has the transfer syntax " + DcmXfer(xfer).getXferName() + vector);
    }
  }
  if (!changed.empty())
    scratch.Restore();
  return 0;
}

} // namespace dj2kfuzz

#endif
