// The command lines of dcmcj2k and dcmdj2k: version, usage with exit codes, the option names
// of DCMTK's JPEG-LS tools, and option values.
#include "DJ2KTestDataset.h"
#include "DJ2KTestProcess.h"
#include "dj2ktool.h"

#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcmetinf.h"
#include "dcmtk/dcmdata/dcxfer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace dj2ktest;

namespace
{

const std::string kCompress = DJ2K_DCMCJ2K;
const std::string kDecompress = DJ2K_DCMDJ2K;

// An uncompressed single-frame 12-bit CT-like file.
const Image kShape{ "ct", 64, 64, 1, 16, 12, 1, 0, 1 };

void WriteInput(const std::string& path, const Image& shape = kShape)
{
  DcmFileFormat fileformat;
  FillDataset(*fileformat.getDataset(), shape, MakePixels(shape, 5));
  ASSERT_TRUE(fileformat.saveFile(path.c_str(), EXS_LittleEndianExplicit).good());
}

std::string GetString(DcmItem& item, const DcmTagKey& tag)
{
  OFString value;
  if (item.findAndGetOFStringArray(tag, value).bad())
    return "<absent>";
  return value.c_str();
}

// What an output file says about the options that made it.
struct Outcome
{
  bool ok = false;
  std::string transferSyntax;
  std::string sopClass;
  std::string sopInstance;
  std::vector<size_t> itemLengths; // of the pixel sequence, offset table first
  std::vector<Uint8> nativePixels;
};

Outcome Inspect(const std::string& path)
{
  Outcome o;
  DcmFileFormat fileformat;
  if (fileformat.loadFile(path.c_str()).bad())
    return o;
  DcmDataset* dataset = fileformat.getDataset();
  o.ok = true;
  o.transferSyntax = GetString(*fileformat.getMetaInfo(), DCM_TransferSyntaxUID);
  o.sopClass = GetString(*dataset, DCM_SOPClassUID);
  o.sopInstance = GetString(*dataset, DCM_SOPInstanceUID);
  const E_TransferSyntax xfer = dataset->getOriginalXfer();
  if (DcmPixelSequence* sequence = GetPixelSequence(*dataset, xfer))
  {
    for (unsigned long i = 0; i < sequence->card(); ++i)
      o.itemLengths.push_back(ItemBytes(sequence, i).size());
  }
  else
  {
    const Uint8* bytes = nullptr;
    unsigned long count = 0;
    if (dataset->findAndGetUint8Array(DCM_PixelData, bytes, &count).good() && bytes != nullptr)
      o.nativePixels.assign(bytes, bytes + count);
  }
  return o;
}

} // namespace

// Both tools name the project's version and end their usage with their exit codes.
TEST(DJ2KToolOptions, VersionAndUsageWithExitCodes)
{
  for (const std::string& tool : { kCompress, kDecompress })
  {
    const std::string name = tool.substr(tool.rfind('/') + 1);
    SCOPED_TRACE(name);
    ProcessResult r = RunProgram(tool, { "--version" });
    ASSERT_TRUE(r.ExitedWith(0)) << r.Describe() << r.err;
    EXPECT_EQ(
      r.out.substr(0, r.out.find('\n')), "$vireon: " + name + " v" VIREON_PROJECT_VERSION " $");
    EXPECT_NE(r.out.find("\n- OpenJPEG, Version 2."), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n- DCMTK, Version 3."), std::string::npos) << r.out;

    // --help, -h and no arguments at all show the same usage.
    r = RunProgram(tool, { "--help" });
    ASSERT_TRUE(r.ExitedWith(0)) << r.Describe() << r.err;
    EXPECT_EQ(RunProgram(tool, { "-h" }).out, r.out);
    EXPECT_EQ(RunProgram(tool, {}).out, r.out);
    const std::string::size_type table = r.out.find("\nexit codes:\n");
    ASSERT_NE(table, std::string::npos) << r.out;
    std::istringstream lines(r.out.substr(table + 13));
    std::set<int> codes;
    std::string line;
    while (std::getline(lines, line) && !line.empty())
    {
      // "  <code> <meaning>"
      ASSERT_EQ(line.compare(0, 2, "  "), 0) << line;
      codes.insert(std::atoi(line.c_str() + 2));
      // and its meaning after the code
      EXPECT_NE(line.find_first_not_of(' ', line.find(' ', 2)), std::string::npos) << line;
    }
    EXPECT_TRUE(std::getline(lines, line).eof()) << "text after the exit codes: " << line;
    // The codes each tool's failure tests meet, and success; 21 to 45 are those of folders.
    EXPECT_EQ(codes, (std::set<int>{ 0, 1, 20, 21, 22, 23, 25, 40, 45, 80 }));
  }
}

// DCMTK's option names act exactly like ours.
TEST(DJ2KToolOptions, AliasesOfDCMTKOptionNames)
{
  TempDir dir;
  WriteInput(dir.File("in.dcm"));

  struct Case
  {
    const char* name;
    std::vector<std::string> options;
    std::vector<std::vector<std::string>> aliases;
    // What the options do, so that option and alias cannot agree on a broken result.
    const char* sopClass;
    bool offsetTable;
    bool severalFragments;
  };
  const Case cases[] = {
    { "convert to SC",
      { "--convert-to-sc" },
      { { "+cs" }, { "--class-sc" }, { "+sc" } },
      UID_SecondaryCaptureImageStorage,
      true,
      false },
    { "keep SOP class", { "--class-default" }, { { "+cd" }, {} }, UID_CTImageStorage, true, false },
    { "empty offset table",
      { "--offset-table-empty" },
      { { "-ot" }, { "--no-offset-table" } },
      UID_CTImageStorage,
      false,
      false },
    { "offset table",
      { "--offset-table-create" },
      { { "+ot" }, {} },
      UID_CTImageStorage,
      true,
      false },
    { "fragment per frame",
      { "--fragment-per-frame" },
      { { "+ff" }, { "--fragment-size", "0" }, {} },
      UID_CTImageStorage,
      true,
      false },
    { "fragment size",
      { "--fragment-size", "1" },
      { { "+fs", "1" } },
      UID_CTImageStorage,
      true,
      true },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    std::vector<Outcome> outcomes;
    for (size_t i = 0; i <= c.aliases.size(); ++i)
    {
      const std::vector<std::string>& options = i == 0 ? c.options : c.aliases[i - 1];
      std::string label;
      for (const std::string& o : options)
        label += o + " ";
      SCOPED_TRACE("[" + label + "]");
      std::vector<std::string> args = options;
      args.push_back(dir.File("in.dcm"));
      args.push_back(dir.File("out.dcm"));
      const ProcessResult r = RunProgram(kCompress, args);
      ASSERT_TRUE(r.ExitedWith(0)) << r.Describe() << r.err;
      const Outcome o = Inspect(dir.File("out.dcm"));
      ASSERT_TRUE(o.ok);
      EXPECT_EQ(o.sopClass, c.sopClass);
      ASSERT_GE(o.itemLengths.size(), 2u);
      EXPECT_EQ(o.itemLengths[0] != 0, c.offsetTable);
      EXPECT_EQ(o.itemLengths.size() > 2, c.severalFragments);
      if (!outcomes.empty())
      {
        EXPECT_EQ(o.transferSyntax, outcomes[0].transferSyntax);
        EXPECT_EQ(o.itemLengths, outcomes[0].itemLengths);
      }
      outcomes.push_back(o);
    }
  }

  // dcmdjpls's name for ignoring the offset table: two frames of several fragments, and a
  // table whose second entry points into the first frame, which fails the decoding unless the
  // table is ignored.
  const Image twoFrames{ "ct2", 64, 64, 1, 16, 12, 1, 0, 2 };
  WriteInput(dir.File("two.dcm"), twoFrames);
  ASSERT_TRUE(
    RunProgram(kCompress, { "--fragment-size", "1", dir.File("two.dcm"), dir.File("j2k.dcm") })
      .ExitedWith(0));
  {
    DcmFileFormat fileformat;
    ASSERT_TRUE(fileformat.loadFile(dir.File("j2k.dcm").c_str()).good());
    DcmPixelSequence* sequence =
      GetPixelSequence(*fileformat.getDataset(), fileformat.getDataset()->getOriginalXfer());
    ASSERT_NE(sequence, nullptr);
    ASSERT_GT(sequence->card(), 4u);
    DcmPixelItem* table = nullptr;
    ASSERT_TRUE(sequence->getItem(table, 0).good());
    const Uint32 second = Uint32(ItemBytes(sequence, 1).size()) + 8;
    const Uint8 entries[8] = { 0, 0, 0, 0, Uint8(second), Uint8(second >> 8), 0, 0 };
    table->putUint8Array(entries, 8);
    ASSERT_TRUE(fileformat.saveFile(dir.File("j2k.dcm").c_str(), EXS_JPEG2000LosslessOnly).good());
  }
  ProcessResult r = RunProgram(kDecompress, { dir.File("j2k.dcm"), dir.File("raw.dcm") });
  EXPECT_TRUE(r.ExitedWith(80)) << r.Describe();
  EXPECT_NE(r.err.find(": cannot decompress: "), std::string::npos) << r.err;
  for (const char* option : { "--ignore-offset-table", "+io", "--ignore-offsettable" })
  {
    SCOPED_TRACE(option);
    r = RunProgram(kDecompress, { option, dir.File("j2k.dcm"), dir.File("raw.dcm") });
    ASSERT_TRUE(r.ExitedWith(0)) << r.Describe() << r.err;
    const Outcome o = Inspect(dir.File("raw.dcm"));
    EXPECT_EQ(o.transferSyntax, UID_LittleEndianExplicitTransferSyntax);
    EXPECT_EQ(o.nativePixels, MakePixels(twoFrames, 5));
  }
}

// --ratio: non-finite values and values outside the range are refused before anything is
// read, naming the range; a ratio this image cannot reach is refused after trying, naming
// the ratio reached.
TEST(DJ2KToolOptions, LossyRatioValues)
{
  TempDir dir;
  WriteInput(dir.File("in.dcm"));
  for (const char* value : { "nan", "inf", "-inf", "1e9", "1000001", "0.5", "0", "-3", "ten" })
  {
    SCOPED_TRACE(value);
    const ProcessResult r = RunProgram(
      kCompress, { "--encode-lossy", "--ratio", value, dir.File("in.dcm"), dir.File("out.dcm") });
    EXPECT_TRUE(r.ExitedWith(1)) << r.Describe();
    EXPECT_NE(r.err.find(std::string("error: Invalid value for option --ratio: ") + value +
                         " (accepted range: 1 to 1000000)"),
      std::string::npos)
      << r.err;
    EXPECT_FALSE(FileExists(dir.File("out.dcm")));
  }

  // The smallest codestreams OpenJPEG makes for this 64x64 image come to a few tens to one.
  ProcessResult r = RunProgram(
    kCompress, { "--encode-lossy", "--ratio", "1000", dir.File("in.dcm"), dir.File("out.dcm") });
  EXPECT_TRUE(r.ExitedWith(80)) << r.Describe();
  const std::string prefix = "F: " + dir.File("in.dcm") +
                             ": cannot compress: ratio 1000 cannot be reached for this image "
                             "(OpenJPEG reached ";
  const std::string::size_type at = r.err.find(prefix);
  ASSERT_NE(at, std::string::npos) << r.err;
  EXPECT_FALSE(FileExists(dir.File("out.dcm")));
  const double reach = std::atof(r.err.c_str() + at + prefix.size());
  ASSERT_GT(reach, 2.0);
  ASSERT_LT(reach, 1000.0);

  // Beyond the reach is refused too; well inside it, the ratio is met, counted on Bits
  // Stored as the target is.
  struct Case
  {
    double ratio;
    bool reachable;
  };
  for (const Case& c : { Case{ reach * 1.5, false }, Case{ reach / 2, true }, Case{ 4.0, true } })
  {
    std::ostringstream value;
    value << c.ratio;
    SCOPED_TRACE(value.str());
    r = RunProgram(kCompress,
      { "--encode-lossy", "--ratio", value.str(), dir.File("in.dcm"), dir.File("out.dcm") });
    if (!c.reachable)
    {
      EXPECT_TRUE(r.ExitedWith(80)) << r.Describe();
      EXPECT_NE(r.err.find("cannot be reached for this image"), std::string::npos) << r.err;
      EXPECT_FALSE(FileExists(dir.File("out.dcm")));
      continue;
    }
    ASSERT_TRUE(r.ExitedWith(0)) << r.Describe() << r.err;
    const Outcome o = Inspect(dir.File("out.dcm"));
    size_t compressed = 0;
    for (size_t i = 1; i < o.itemLengths.size(); ++i)
      compressed += o.itemLengths[i];
    const double stored = double(kShape.rows) * kShape.columns * kShape.bitsStored / 8.0;
    EXPECT_GE(stored / double(compressed), c.ratio * 0.95);
    std::remove(dir.File("out.dcm").c_str());
  }

  // An image compressed lossily before keeps its earlier ratios; this compression's comes last
  // and is the one checked.
  {
    DcmFileFormat fileformat;
    ASSERT_TRUE(fileformat.loadFile(dir.File("in.dcm").c_str()).good());
    DcmDataset* dataset = fileformat.getDataset();
    dataset->putAndInsertString(DCM_LossyImageCompression, "01");
    dataset->putAndInsertString(DCM_LossyImageCompressionRatio, "1.5");
    dataset->putAndInsertString(DCM_LossyImageCompressionMethod, "ISO_10918_1");
    ASSERT_TRUE(
      fileformat.saveFile(dir.File("earlier.dcm").c_str(), EXS_LittleEndianExplicit).good());
  }
  r = RunProgram(
    kCompress, { "--encode-lossy", "--ratio", "10", dir.File("earlier.dcm"), dir.File("out.dcm") });
  EXPECT_TRUE(r.ExitedWith(0)) << r.Describe() << r.err;
  {
    DcmFileFormat fileformat;
    ASSERT_TRUE(fileformat.loadFile(dir.File("out.dcm").c_str()).good());
    OFString ratios;
    fileformat.getDataset()->findAndGetOFStringArray(DCM_LossyImageCompressionRatio, ratios);
    EXPECT_EQ(ratios.substr(0, 4), "1.5\\") << ratios;
  }
  std::remove(dir.File("out.dcm").c_str());

  // The default ratio is a target: a 32x32 8-bit image cannot come to 10:1, which is only
  // said; asked for explicitly, the same ratio is refused.
  const Image tiny{ "tiny", 32, 32, 1, 8, 8, 0, 0, 1 };
  WriteInput(dir.File("tiny.dcm"), tiny);
  r = RunProgram(kCompress, { "--encode-lossy", dir.File("tiny.dcm"), dir.File("out.dcm") });
  EXPECT_TRUE(r.ExitedWith(0)) << r.Describe() << r.err;
  EXPECT_NE(r.err.find("W: " + dir.File("tiny.dcm") +
                       ": default ratio 10 cannot be reached for this image (OpenJPEG reached "),
    std::string::npos)
    << r.err;
  EXPECT_TRUE(Inspect(dir.File("out.dcm")).ok);
  r = RunProgram(kCompress,
    { "--encode-lossy", "--ratio", "10", dir.File("tiny.dcm"), dir.File("tiny-out.dcm") });
  EXPECT_TRUE(r.ExitedWith(80)) << r.Describe();
  EXPECT_NE(
    r.err.find("cannot compress: ratio 10 cannot be reached for this image"), std::string::npos)
    << r.err;
  EXPECT_FALSE(FileExists(dir.File("tiny-out.dcm")));
}

// A converted data set is a new instance: --uid-never cannot go with --convert-to-sc.
TEST(DJ2KToolOptions, UIDNeverConflictsWithSecondaryCapture)
{
  TempDir dir;
  WriteInput(dir.File("in.dcm"));
  for (const char* convert : { "--convert-to-sc", "+cs" })
  {
    SCOPED_TRACE(convert);
    const ProcessResult r =
      RunProgram(kCompress, { convert, "--uid-never", dir.File("in.dcm"), dir.File("out.dcm") });
    EXPECT_TRUE(r.ExitedWith(1)) << r.Describe();
    EXPECT_NE(r.err.find("error: --uid-never not allowed with --convert-to-sc"), std::string::npos)
      << r.err;
    EXPECT_FALSE(FileExists(dir.File("out.dcm")));
  }
}

// Both programs are functions that return where the process would end: usage shown for a
// command file without arguments or with --help, command line errors (parse, values, option
// dependences and conflicts, logger options), --version. Each returns what the program exits
// with and prints what it prints, and the test goes on to the next.
TEST(DJ2KToolOptions, ProgramsReturnWithinTheProcessAsTheyExit)
{
  TempDir dir;
  WriteInput(dir.File("in.dcm"));
  std::ofstream(dir.File("empty.txt")).flush();
  std::ofstream(dir.File("help.txt")) << "--help\n";
  const std::string in = dir.File("in.dcm");
  const std::string out = dir.File("out.dcm");
  struct Case
  {
    bool compress; // dcmcj2k, else dcmdj2k
    std::vector<std::string> arguments;
    int exitCode;
    const char* text; // in standard output for 0, in standard error otherwise
  };
  const Case cases[] = {
    { true, { "@" + dir.File("empty.txt") }, 0, "usage: dcmcj2k [options] dcmfile-in" },
    { false, { "@" + dir.File("help.txt"), in, out }, 0, "usage: dcmdj2k [options] dcmfile-in" },
    { true, { "--version", in }, 0, "External libraries used:" },
    { true, { "--bogus", in, out }, 1, "\nerror: Unknown option --bogus\n" },
    { false, { in, out, "extra" }, 1, "\nerror: Too many parameters\n" },
    { false, { in }, 1, "\nerror: Missing parameter dcmfile-out\n" },
    { true,
      { "+ey", "--ratio", "0", in, out },
      1,
      "\nerror: Invalid value for option --ratio: 0 (accepted range: 1 to 1000000)\n" },
    { true, { "--ratio", "5", in, out }, 1, "\nerror: --ratio only allowed with --encode-lossy\n" },
    { true,
      { "+fs", "-5", in, out },
      1,
      "\nerror: Invalid value for option --fragment-size (-5)\n" },
    { true,
      { "+cs", "+un", in, out },
      1,
      "\nerror: --uid-never not allowed with --convert-to-sc\n" },
    { false, { "+r", in, out }, 1, "\nerror: --recurse only allowed with --scan-directories\n" },
    { false, { "--threads", "1025", in, out }, 1, "\nerror: Invalid value for option --threads" },
    { true, { "-ll", "loud", in, out }, 1, "\nerror: Invalid log level for --log-level option\n" },
    { false,
      { "-ll", "info", "-q", in, out },
      1,
      "\nerror: --log-level not allowed with --verbose, --debug or --quiet\n" },
    { true,
      { "-lc", dir.File("none.cfg"), in, out },
      1,
      "\nerror: Specified --log-config file does not exist\n" },
    { false,
      { "-lc", dir.File("help.txt"), "-ll", "info", in, out },
      1,
      "\nerror: --log-config not allowed with --log-level\n" },
    { true, { "-q", "+r", in, out }, 1, "" },
  };
  for (const Case& c : cases)
  {
    const std::string program = c.compress ? kCompress : kDecompress;
    std::vector<std::string> argv{ program };
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    std::string trace;
    for (const std::string& argument : argv)
      trace += " " + argument;
    SCOPED_TRACE(trace);

    std::vector<char*> pointers;
    for (std::string& argument : argv)
      pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    std::ostringstream capturedOut, capturedErr;
    std::streambuf* oldOut = std::cout.rdbuf(capturedOut.rdbuf());
    std::streambuf* oldErr = std::cerr.rdbuf(capturedErr.rdbuf());
    const int status = (c.compress ? DJ2KCompressTool : DJ2KDecompressTool)(
      static_cast<int>(argv.size()), pointers.data());
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);

    EXPECT_EQ(status, c.exitCode);
    const std::string& shown = c.exitCode == 0 ? capturedOut.str() : capturedErr.str();
    EXPECT_NE(shown.find(c.text), std::string::npos) << shown;
    if (c.text[0] == '\0')
    {
      EXPECT_EQ(capturedErr.str(), "");
    }
    EXPECT_FALSE(FileExists(out));
    // The program itself prints and exits the same.
    const ProcessResult r = RunProcess(argv);
    EXPECT_TRUE(r.ExitedWith(c.exitCode)) << r.Describe();
    EXPECT_EQ(r.out, capturedOut.str());
    EXPECT_EQ(r.err, capturedErr.str());
  }
}

// Every message the tools log has a text: no empty "D: " or "W: " lines, at any level.
TEST(DJ2KToolOptions, NoEmptyMessages)
{
  TempDir dir;
  WriteInput(dir.File("in.dcm"));
  ProcessResult r = RunProgram(
    kCompress, { "-d", "--encode-lossy", "--ratio", "4", dir.File("in.dcm"), dir.File("j2k.dcm") });
  ASSERT_TRUE(r.ExitedWith(0)) << r.Describe() << r.err;
  const std::string compressing = r.err;
  r = RunProgram(kDecompress, { "-d", dir.File("j2k.dcm"), dir.File("raw.dcm") });
  ASSERT_TRUE(r.ExitedWith(0)) << r.Describe() << r.err;
  const std::string decompressing = r.err;
  for (const std::string* output : { &compressing, &decompressing })
  {
    std::istringstream lines(*output);
    std::string line, previous;
    int messages = 0;
    while (std::getline(lines, line))
    {
      EXPECT_FALSE(
        line.size() >= 2 && line[1] == ':' && line.find_first_not_of(' ', 2) == std::string::npos)
        << "empty message after \"" << previous << "\"";
      ++messages;
      previous = line;
    }
    EXPECT_GT(messages, 5) << *output;
  }
}

#ifdef DJ2K_MAN_DIR
// The manual pages, made from --help at build time: NAME, SYNOPSIS, every option the usage
// shows, and the exit codes in EXIT STATUS.
TEST(DJ2KToolOptions, ManualPagesFollowTheUsage)
{
  for (const std::string& tool : { kCompress, kDecompress })
  {
    const std::string name = tool.substr(tool.rfind('/') + 1);
    SCOPED_TRACE(name);
    const std::string page = ReadFile(std::string(DJ2K_MAN_DIR) + "/man1/" + name + ".1");
    ASSERT_FALSE(page.empty());
    // roff writes a minus sign as "\-".
    const auto roff = [](std::string text)
    {
      for (std::string::size_type at = text.find('-'); at != std::string::npos;
           at = text.find('-', at + 2))
        text.replace(at, 1, "\\-");
      return text;
    };
    EXPECT_NE(page.find("\n.SH NAME\n" + name + " \\- "), std::string::npos);
    EXPECT_NE(page.find("\n.SH SYNOPSIS\n\\fB" + name + "\\fR [options] " +
                        roff("dcmfile-in dcmfile-out") + "\n"),
      std::string::npos);
    EXPECT_EQ(page.find("$vireon:"), std::string::npos);
    EXPECT_NE(page.find("\"" + name + " " VIREON_PROJECT_VERSION "\""), std::string::npos);

    const ProcessResult help = RunProgram(tool, { "--help" });
    std::istringstream lines(help.out);
    std::string line;
    int options = 0;
    while (std::getline(lines, line))
    {
      const std::string::size_type dash = line.find("  --");
      if (dash == std::string::npos)
        continue;
      const std::string option = line.substr(dash + 2, line.find(' ', dash + 2) - dash - 2);
      EXPECT_NE(page.find("\\fB" + roff(option) + "\\fR"), std::string::npos) << option;
      ++options;
    }
    EXPECT_GT(options, 15);

    const std::string::size_type status = page.find("\n.SH \"EXIT STATUS\"\n");
    ASSERT_NE(status, std::string::npos);
    for (const char* code : { "0", "1", "20", "22", "40", "80" })
      EXPECT_NE(page.find(std::string("\n.TP\n") + code + "\n", status), std::string::npos) << code;
  }
}
#endif
