// dcmcj2k and dcmdj2k on several threads and on folders: the same files for any --threads,
// whole debug lines, the first failing frame's exit code, and folder trees converted file by
// file with failures reported, counted and reflected in the exit code.
#include "DJ2KTestDataset.h"
#include "DJ2KTestProcess.h"
#include "DJ2KTestStream.h"

#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcxfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>

using namespace dj2ktest;

namespace
{

const std::string kCompress = DJ2K_DCMCJ2K;
const std::string kDecompress = DJ2K_DCMDJ2K;

std::string NameOf(const std::string& tool)
{
  return tool.substr(tool.rfind('/') + 1);
}

// An uncompressed file of shape's frames.
void WriteNative(const std::string& path, const Image& shape, unsigned seed = 5)
{
  DcmFileFormat fileformat;
  FillDataset(*fileformat.getDataset(), shape, MakePixels(shape, seed));
  ASSERT_TRUE(fileformat.saveFile(path.c_str(), EXS_LittleEndianExplicit).good()) << path;
}

// A lossless JPEG 2000 file of frames frames of columns x rows 16-bit samples; the frames listed
// in corrupt carry a start marker followed by garbage. pixels receives the samples.
void WriteCompressed(const std::string& path,
  unsigned frames,
  Uint16 columns,
  Uint16 rows,
  const std::vector<unsigned>& corrupt = {},
  std::vector<uint8_t>* pixels = nullptr)
{
  std::vector<std::vector<uint8_t>> codestreams;
  Header header;
  for (unsigned f = 0; f < frames; ++f)
  {
    const Image image = MakeImage(columns, rows, 1, 16, false, 20 + f);
    header = HeaderFor(image, 16);
    std::vector<uint8_t> codestream = Encode(image);
    if (std::find(corrupt.begin(), corrupt.end(), f) != corrupt.end())
    {
      for (size_t k = 2; k < codestream.size(); ++k)
        codestream[k] = uint8_t(k * 37);
    }
    codestreams.push_back(codestream);
    if (pixels != nullptr)
    {
      const std::vector<uint8_t> bytes = ExpectedBytes(image, 2, 0);
      pixels->insert(pixels->end(), bytes.begin(), bytes.end());
    }
  }
  header.numberOfFrames = int(frames);
  ASSERT_TRUE(
    MakeFile(header, codestreams)->saveFile(path.c_str(), EXS_JPEG2000LosslessOnly).good())
    << path;
}

std::vector<std::string> Lines(const std::string& text)
{
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  while (start < text.size())
  {
    const std::string::size_type end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos)
      break;
    start = end + 1;
  }
  return lines;
}

unsigned long long SizeOf(const std::string& path)
{
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? static_cast<unsigned long long>(st.st_size) : 0;
}

const char* const kThreadCounts[] = { "1", "2", "7" };

} // namespace

// The same output file, byte for byte, for 1, 2 and 7 threads: compression lossless and lossy
// and decompression, of a series (frames on threads) and of one larger frame (OpenJPEG's own
// threads).
TEST(DJ2KToolThreads, SameFileForAnyThreadCount)
{
  TempDir dir;
  WriteNative(dir.File("series.dcm"), Image("ct", 48, 40, 1, 16, 12, 1, 0, 9));
  WriteNative(dir.File("frame.dcm"), Image("rgb", 200, 180, 3, 8, 8, 0, 0, 1));
  WriteCompressed(dir.File("series.j2k.dcm"), 9, 40, 32);
  WriteCompressed(dir.File("frame.j2k.dcm"), 1, 300, 260);

  const struct
  {
    const char* name;
    std::string tool;
    std::vector<std::string> options;
    const char* input;
  } cases[] = {
    { "lossless series", kCompress, {}, "series.dcm" },
    { "lossy series", kCompress, { "--encode-lossy", "--uid-never" }, "series.dcm" },
    { "lossless frame", kCompress, {}, "frame.dcm" },
    { "lossy frame", kCompress, { "--encode-lossy", "--uid-never" }, "frame.dcm" },
    { "decompressed series", kDecompress, {}, "series.j2k.dcm" },
    { "decompressed frame", kDecompress, {}, "frame.j2k.dcm" },
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.name);
    std::string first;
    for (const char* threads : kThreadCounts)
    {
      SCOPED_TRACE(std::string(threads) + " threads");
      std::vector<std::string> args = c.options;
      args.insert(args.end(), { "--threads", threads, dir.File(c.input), dir.File("out.dcm") });
      const ProcessResult r = RunProgram(c.tool, args);
      ASSERT_TRUE(r.ExitedWith(0)) << r.Describe() << r.err;
      const std::string output = ReadFile(dir.File("out.dcm"));
      ASSERT_FALSE(output.empty());
      if (first.empty())
        first = output;
      else
        EXPECT_TRUE(output == first) << "the file differs from the one of one thread";
    }
  }

  // Thread counts outside 0..1024 and other values are command line errors.
  for (const char* value : { "-1", "1025", "two", "" })
  {
    SCOPED_TRACE(value);
    for (const std::string& tool : { kCompress, kDecompress })
    {
      const ProcessResult r =
        RunProgram(tool, { "--threads", value, dir.File("series.dcm"), dir.File("refused.dcm") });
      EXPECT_TRUE(r.ExitedWith(1)) << r.Describe() << r.err;
      EXPECT_FALSE(FileExists(dir.File("refused.dcm")));
    }
  }
}

// With seven threads decoding a series, every debug line is one whole record of the logger.
TEST(DJ2KToolThreads, DebugLinesStayWhole)
{
  TempDir dir;
  const unsigned frames = 16;
  WriteCompressed(dir.File("in.dcm"), frames, 64, 48);
  const ProcessResult r =
    RunProgram(kDecompress, { "-d", "--threads", "7", dir.File("in.dcm"), dir.File("out.dcm") });
  ASSERT_TRUE(r.ExitedWith(0)) << r.Describe() << r.err;
  unsigned decoded = 0;
  for (const std::string& line : Lines(r.err))
  {
    ASSERT_GE(line.size(), 3u) << r.err;
    // Each line starts with a level and holds no other record.
    EXPECT_NE(std::string("DIWEF").find(line[0]), std::string::npos) << line;
    EXPECT_EQ(line.compare(1, 2, ": "), 0) << line;
    for (const char* level : { "D: ", "I: ", "W: ", "E: " })
      EXPECT_EQ(line.find(level, 1), std::string::npos) << line;
    decoded += line.compare(0, 23, "D: Successfully decoded") == 0 ? 1 : 0;
  }
  EXPECT_EQ(decoded, frames) << r.err;
}

// A series with a corrupt frame in the middle: the same failure for every thread count and,
// with --ignore-bad-frames, the same file.
TEST(DJ2KToolThreads, CorruptFrameGivesTheSameResult)
{
  TempDir dir;
  std::vector<uint8_t> pixels;
  WriteCompressed(dir.File("in.dcm"), 11, 32, 24, { 5 }, &pixels);
  std::string firstError;
  std::string firstFile;
  for (const char* threads : kThreadCounts)
  {
    SCOPED_TRACE(std::string(threads) + " threads");
    const std::string failed = dir.File("failed-" + std::string(threads) + ".dcm");
    ProcessResult r = RunProgram(kDecompress, { "--threads", threads, dir.File("in.dcm"), failed });
    EXPECT_TRUE(r.ExitedWith(80)) << r.Describe() << r.err;
    EXPECT_FALSE(FileExists(failed));
    const std::string error = r.err.substr(r.err.find(": cannot decompress"));
    if (firstError.empty())
      firstError = error;
    EXPECT_EQ(error, firstError);

    r = RunProgram(kDecompress,
      { "--ignore-bad-frames", "--threads", threads, dir.File("in.dcm"), dir.File("out.dcm") });
    ASSERT_TRUE(r.ExitedWith(0)) << r.Describe() << r.err;
    const std::string file = ReadFile(dir.File("out.dcm"));
    if (firstFile.empty())
    {
      firstFile = file;
      // Every frame but the corrupt one holds its samples; that one stays zero.
      DcmFileFormat fileformat;
      ASSERT_TRUE(fileformat.loadFile(dir.File("out.dcm").c_str()).good());
      const size_t frameSize = pixels.size() / 11;
      std::fill(pixels.begin() + long(5 * frameSize), pixels.begin() + long(6 * frameSize), 0);
      EXPECT_TRUE(NativePixelBytes(*fileformat.getDataset()) == pixels);
    }
    EXPECT_TRUE(file == firstFile);
  }
}

// A tree with a corrupt file, a file that is not DICOM and nested folders: every other file is
// converted as a single-file run converts it, the summary counts them, the exit code is the
// failed file's.
TEST(DJ2KToolFolders, TreeWithFailures)
{
  const struct
  {
    std::string tool;
    int failure; // the exit code of the corrupt file
  } tools[] = { { kCompress, 80 }, { kDecompress, 80 } };
  for (const auto& t : tools)
  {
    const std::string name = NameOf(t.tool);
    SCOPED_TRACE(name);
    TempDir dir;
    const std::string in = dir.File("in");
    for (const char* folder : { "in", "in/sub", "in/sub/deeper", "reference" })
      ASSERT_EQ(mkdir(dir.File(folder).c_str(), 0777), 0);
    const std::vector<std::string> good = { "a.dcm", "sub/b.dcm", "sub/deeper/c.dcm" };
    for (size_t i = 0; i < good.size(); ++i)
    {
      if (t.tool == kCompress)
        WriteNative(
          in + "/" + good[i], Image("ct", 40, 30, 1, 16, 12, 1, 0, unsigned(i) + 1), unsigned(i));
      else
        WriteCompressed(in + "/" + good[i], unsigned(i) + 1, 36, 28);
    }
    if (t.tool == kCompress)
    {
      // Pixel data shorter than the frames it declares.
      DcmFileFormat fileformat;
      const Image shape("ct", 40, 30, 1, 16, 12, 1, 0, 1);
      FillDataset(*fileformat.getDataset(), shape, MakePixels(shape));
      fileformat.getDataset()->putAndInsertString(DCM_NumberOfFrames, "4");
      ASSERT_TRUE(fileformat.saveFile((in + "/bad.dcm").c_str(), EXS_LittleEndianExplicit).good());
    }
    else
    {
      WriteCompressed(in + "/bad.dcm", 3, 36, 28, { 1 });
    }
    WriteFile(in + "/sub/notes.txt", "not a DICOM file\n");

    // What a single-file run writes, and what it says of the bad file.
    unsigned long long bytesIn = 0, bytesOut = 0;
    for (size_t i = 0; i < good.size(); ++i)
    {
      const std::string reference = dir.File("reference/" + std::to_string(i) + ".dcm");
      const ProcessResult r = RunProgram(t.tool, { in + "/" + good[i], reference });
      ASSERT_TRUE(r.ExitedWith(0)) << good[i] << ": " << r.Describe() << r.err;
      bytesIn += SizeOf(in + "/" + good[i]);
      bytesOut += SizeOf(reference);
    }
    const ProcessResult single =
      RunProgram(t.tool, { in + "/bad.dcm", dir.File("reference/bad.dcm") });
    ASSERT_TRUE(single.ExitedWith(t.failure)) << single.Describe() << single.err;
    const std::string singleError = single.err.substr(single.err.find("F: ") + 3);

    const ProcessResult r =
      RunProgram(t.tool, { "+sd", "+r", "--threads", "2", in, dir.File("out") });
    EXPECT_TRUE(r.ExitedWith(t.failure)) << r.Describe() << r.err;
    EXPECT_EQ(r.out,
      name + ": 5 files: 3 converted, 1 failed, 1 skipped; " + std::to_string(bytesIn) +
        " bytes in, " + std::to_string(bytesOut) + " bytes out\n");
    // The failure in the words of the single-file run, as an error; the other file skipped.
    EXPECT_NE(r.err.find("E: " + singleError), std::string::npos) << r.err;
    EXPECT_NE(
      r.err.find("W: " + in + "/sub/notes.txt: skipped: not a DICOM file"), std::string::npos)
      << r.err;
    for (size_t i = 0; i < good.size(); ++i)
    {
      SCOPED_TRACE(good[i]);
      EXPECT_TRUE(ReadFile(dir.File("out/" + good[i])) ==
                  ReadFile(dir.File("reference/" + std::to_string(i) + ".dcm")));
    }
    // Nothing else in the output tree: no bad file, no skipped file, no temporary file.
    EXPECT_EQ(ListDirectory(dir.File("out")), (std::vector<std::string>{ "a.dcm", "sub" }));
    EXPECT_EQ(ListDirectory(dir.File("out/sub")), (std::vector<std::string>{ "b.dcm", "deeper" }));
    EXPECT_EQ(ListDirectory(dir.File("out/sub/deeper")), (std::vector<std::string>{ "c.dcm" }));

    // Without +r only the files of the folder itself.
    const ProcessResult flat = RunProgram(t.tool, { "+sd", in, dir.File("flat") });
    EXPECT_TRUE(flat.ExitedWith(t.failure)) << flat.Describe() << flat.err;
    EXPECT_EQ(
      flat.out.substr(0, flat.out.find(';')), name + ": 2 files: 1 converted, 1 failed, 0 skipped");
    EXPECT_EQ(ListDirectory(dir.File("flat")), (std::vector<std::string>{ "a.dcm" }));
  }
}

// An output folder inside the input folder is not read again; the input folder itself as the
// output folder has every file replaced.
TEST(DJ2KToolFolders, OutputInsideOrSameAsInput)
{
  TempDir dir;
  const std::string in = dir.File("in");
  ASSERT_EQ(mkdir(in.c_str(), 0777), 0);
  WriteCompressed(in + "/a.dcm", 2, 24, 20);
  WriteCompressed(in + "/b.dcm", 1, 24, 20);
  for (int run = 0; run < 2; ++run)
  {
    SCOPED_TRACE(run == 0 ? "first run" : "second run");
    const ProcessResult r = RunProgram(kDecompress, { "+sd", "+r", in, in + "/out" });
    ASSERT_TRUE(r.ExitedWith(0)) << r.Describe() << r.err;
    EXPECT_EQ(
      r.out.substr(0, r.out.find(';')), "dcmdj2k: 2 files: 2 converted, 0 failed, 0 skipped");
    EXPECT_EQ(ListDirectory(in + "/out"), (std::vector<std::string>{ "a.dcm", "b.dcm" }));
  }

  const ProcessResult r = RunProgram(kDecompress, { "+sd", in, in });
  ASSERT_TRUE(r.ExitedWith(0)) << r.Describe() << r.err;
  for (const char* name : { "a.dcm", "b.dcm" })
  {
    SCOPED_TRACE(name);
    DcmFileFormat fileformat;
    ASSERT_TRUE(fileformat.loadFile((in + "/" + name).c_str()).good());
    EXPECT_EQ(fileformat.getDataset()->getOriginalXfer(), EXS_LittleEndianExplicit);
    EXPECT_TRUE(ReadFile(in + "/" + name) == ReadFile(in + "/out/" + name));
  }
}

// The folders themselves: each problem has its exit code, and +r needs +sd.
TEST(DJ2KToolFolders, FolderProblems)
{
  for (const std::string& tool : { kCompress, kDecompress })
  {
    SCOPED_TRACE(NameOf(tool));
    TempDir dir;
    for (const char* folder : { "empty", "text" })
      ASSERT_EQ(mkdir(dir.File(folder).c_str(), 0777), 0);
    WriteFile(dir.File("text/readme.txt"), "no DICOM here\n");
    WriteFile(dir.File("plain"), "a file, not a folder\n");
    WriteNative(dir.File("in.dcm"), Image("ct", 16, 16, 1, 16, 12, 1, 0, 1));

    const struct
    {
      const char* name;
      std::vector<std::string> args;
      int exitCode;
    } cases[] = {
      { "input is a file", { "+sd", dir.File("plain"), dir.File("out1") }, 25 },
      { "input missing", { "+sd", dir.File("missing"), dir.File("out2") }, 25 },
      { "output is a file", { "+sd", dir.File("text"), dir.File("plain") }, 45 },
      { "no files", { "+sd", dir.File("empty"), dir.File("out3") }, 21 },
      { "no DICOM files", { "+sd", dir.File("text"), dir.File("out4") }, 23 },
      { "+r without +sd", { "+r", dir.File("in.dcm"), dir.File("out5.dcm") }, 1 },
    };
    for (const auto& c : cases)
    {
      SCOPED_TRACE(c.name);
      const ProcessResult r = RunProgram(tool, c.args);
      EXPECT_TRUE(r.ExitedWith(c.exitCode)) << r.Describe() << r.err;
      EXPECT_NE(r.err, "");
    }
  }
}

// Progress is shown on a terminal only: under a pseudo-terminal (script) the count of files
// done is drawn and cleared; with stderr in a pipe there is none.
TEST(DJ2KToolFolders, ProgressOnATerminalOnly)
{
  TempDir dir;
  ASSERT_EQ(mkdir(dir.File("in").c_str(), 0777), 0);
  for (int i = 0; i < 3; ++i)
    WriteCompressed(dir.File("in/" + std::to_string(i) + ".dcm"), 2, 24, 20);
  const ProcessResult piped = RunProgram(kDecompress, { "+sd", dir.File("in"), dir.File("out") });
  ASSERT_TRUE(piped.ExitedWith(0)) << piped.Describe() << piped.err;
  EXPECT_EQ(piped.err, "");

  const std::string command =
    "'" + kDecompress + "' +sd '" + dir.File("in") + "' '" + dir.File("out2") + "'";
  const ProcessResult terminal = RunProcess({ "/usr/bin/script", "-qec", command, "/dev/null" });
  ASSERT_TRUE(terminal.ExitedWith(0)) << terminal.Describe() << terminal.out;
  EXPECT_NE(terminal.out.find("\rdcmdj2k: 3/3 files"), std::string::npos) << terminal.out;
  EXPECT_NE(terminal.out.find("\r\033[K"), std::string::npos) << terminal.out;
  EXPECT_NE(
    terminal.out.find("dcmdj2k: 3 files: 3 converted, 0 failed, 0 skipped"), std::string::npos)
    << terminal.out;
}
