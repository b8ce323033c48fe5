// The dcmdj2k program: options, transfer syntaxes, exit status and safe output.
#include "DJ2KTestDataset.h"
#include "DJ2KTestProcess.h"
#include "DJ2KTestStream.h"
#include "SafeFileWriterTesting.h"

#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcmetinf.h"
#include "dcmtk/dcmdata/dcpixel.h"
#include "dcmtk/dcmdata/dcpixseq.h"
#include "dcmtk/dcmdata/dcpxitem.h"
#include "dcmtk/dcmdata/dcuid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

using namespace dj2ktest;

namespace
{

// Runs a program; its standard output and error are collected together.
ProcessResult RunTool(const std::vector<std::string>& argv)
{
  ProcessOptions options;
  options.mergeOutput = true;
  return RunProcess(argv, options);
}

const std::string kTool = DCMDJ2K_PATH;

struct Fixture
{
  std::vector<Image> images;
  std::vector<std::vector<uint8_t>> codestreams;
  Header header;
  std::vector<uint8_t> expected; // interleaved by pixel
};

Fixture MakeFixture(unsigned frames, uint32_t comps, uint32_t prec, bool sgnd)
{
  Fixture f;
  for (unsigned i = 0; i < frames; ++i)
  {
    f.images.push_back(MakeImage(20, 11, comps, prec, sgnd, i + 3));
    f.codestreams.push_back(Encode(f.images.back()));
    const std::vector<uint8_t> e = ExpectedBytes(f.images.back(), prec > 8 ? 2 : 1, sgnd ? 1 : 0);
    f.expected.insert(f.expected.end(), e.begin(), e.end());
  }
  f.header = HeaderFor(f.images[0], prec > 8 ? 16 : 8);
  f.header.numberOfFrames = int(frames);
  return f;
}

void Save(DcmFileFormat& file,
  const std::string& path,
  E_TransferSyntax xfer = EXS_JPEG2000LosslessOnly)
{
  ASSERT_TRUE(file.saveFile(path.c_str(), xfer).good()) << path;
}

struct Loaded
{
  DcmFileFormat file;
  bool ok = false;
  std::string xfer;
  DcmDataset* dataset() { return file.getDataset(); }
};

void Load(const std::string& path, Loaded& out)
{
  out.ok = out.file.loadFile(path.c_str()).good();
  OFString uid;
  if (out.ok)
    out.file.getMetaInfo()->findAndGetOFString(DCM_TransferSyntaxUID, uid);
  out.xfer = uid.c_str();
}

std::string StringOf(DcmItem& item, const DcmTagKey& tag)
{
  OFString value;
  if (item.findAndGetOFString(tag, value).bad())
    return "<absent>";
  return value.c_str();
}

} // namespace

TEST(DcmDj2k, DecompressesToExplicitOrImplicitLittleEndian)
{
  const Fixture f = MakeFixture(3, 1, 16, false);
  for (bool implicit : { false, true })
  {
    SCOPED_TRACE(implicit ? "implicit" : "explicit");
    TempDir dir;
    auto file = MakeFile(f.header, f.codestreams, Packing{ 2, true });
    Save(*file, dir.File("in.dcm"));
    std::vector<std::string> args = { kTool };
    if (implicit)
      args.push_back("--write-xfer-implicit");
    args.push_back(dir.File("in.dcm"));
    args.push_back(dir.File("out.dcm"));
    const ProcessResult r = RunTool(args);
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out, "");
    Loaded out;
    Load(dir.File("out.dcm"), out);
    ASSERT_TRUE(out.ok);
    EXPECT_EQ(out.xfer,
      implicit ? UID_LittleEndianImplicitTransferSyntax : UID_LittleEndianExplicitTransferSyntax);
    EXPECT_EQ(NativePixelBytes(*out.dataset()), f.expected);
    EXPECT_EQ(StringOf(*out.dataset(), DCM_NumberOfFrames), "3");
    // No temporary file is left behind.
    std::vector<std::string> names = dir.List();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{ "in.dcm", "out.dcm" }));
    // The output gets ordinary permissions, not those of a private temporary file.
    struct stat st;
    ASSERT_EQ(stat(dir.File("out.dcm").c_str(), &st), 0);
    EXPECT_NE(st.st_mode & 0044, 0u);
  }
}

TEST(DcmDj2k, OptionsReachTheDecoder)
{
  TempDir dir;
  // Colour by plane and a new SOP Instance UID.
  {
    const Fixture f = MakeFixture(1, 3, 8, false);
    auto file = MakeFile(f.header, f.codestreams);
    Save(*file, dir.File("rgb.dcm"));
    ProcessResult r = RunTool(
      { kTool, "--color-by-plane", "--uid-always", dir.File("rgb.dcm"), dir.File("planes.dcm") });
    ASSERT_EQ(r.exitCode, 0) << r.out;
    Loaded out;
    Load(dir.File("planes.dcm"), out);
    Uint16 planar = 9;
    out.dataset()->findAndGetUint16(DCM_PlanarConfiguration, planar);
    EXPECT_EQ(planar, 1);
    EXPECT_NE(StringOf(*out.dataset(), DCM_SOPInstanceUID), "1.2.826.0.1.3680043.9.7433.1.1");

    r = RunTool(
      { kTool, "--planar-auto", "--uid-default", dir.File("rgb.dcm"), dir.File("pixels.dcm") });
    ASSERT_EQ(r.exitCode, 0) << r.out;
    Loaded pixels;
    Load(dir.File("pixels.dcm"), pixels);
    pixels.dataset()->findAndGetUint16(DCM_PlanarConfiguration, planar);
    EXPECT_EQ(planar, 0);
    EXPECT_EQ(NativePixelBytes(*pixels.dataset()), f.expected);
    EXPECT_EQ(StringOf(*pixels.dataset(), DCM_SOPInstanceUID), "1.2.826.0.1.3680043.9.7433.1.1");
  }
  // A bad frame fails the run unless --ignore-bad-frames is given.
  {
    Fixture f = MakeFixture(2, 1, 8, false);
    for (size_t k = 2; k < f.codestreams[1].size(); ++k)
      f.codestreams[1][k] = uint8_t(k * 37);
    auto file = MakeFile(f.header, f.codestreams);
    Save(*file, dir.File("bad.dcm"));
    ProcessResult r = RunTool({ kTool, dir.File("bad.dcm"), dir.File("bad-out.dcm") });
    EXPECT_EQ(r.exitCode, 80) << r.Describe();
    EXPECT_NE(r.out.find("F: " + dir.File("bad.dcm") +
                            ": cannot decompress: Invalid JPEG 2000 compressed data\n"),
      std::string::npos)
      << r.out;
    EXPECT_FALSE(FileExists(dir.File("bad-out.dcm")));
    r = RunTool({ kTool, "--ignore-bad-frames", dir.File("bad.dcm"), dir.File("bad-out.dcm") });
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_TRUE(FileExists(dir.File("bad-out.dcm")));
  }
  // A misleading offset table is only survived with --ignore-offset-table.
  {
    const Fixture f = MakeFixture(2, 1, 16, true);
    auto file = MakeFile(f.header, f.codestreams, Packing{ 2, true });
    DcmPixelSequence* seq = nullptr;
    DcmElement* element = nullptr;
    file->getDataset()->findAndGetElement(DCM_PixelData, element);
    static_cast<DcmPixelData*>(element)->getEncapsulatedRepresentation(
      EXS_JPEG2000LosslessOnly, nullptr, seq);
    DcmPixelItem* first = nullptr;
    DcmPixelItem* table = nullptr;
    seq->getItem(first, 1);
    seq->getItem(table, 0);
    const Uint32 offset = first->getLength() + 8;
    const Uint8 entries[8] = { 0, 0, 0, 0, Uint8(offset), Uint8(offset >> 8), 0, 0 };
    table->putUint8Array(entries, 8);
    Save(*file, dir.File("table.dcm"));
    ProcessResult r = RunTool({ kTool, dir.File("table.dcm"), dir.File("table-out.dcm") });
    EXPECT_EQ(r.exitCode, 80) << r.Describe();
    EXPECT_NE(r.out.find("F: " + dir.File("table.dcm") + ": cannot decompress: "), std::string::npos)
      << r.out;
    r = RunTool(
      { kTool, "--ignore-offset-table", dir.File("table.dcm"), dir.File("table-out.dcm") });
    ASSERT_EQ(r.exitCode, 0) << r.out;
    Loaded out;
    Load(dir.File("table-out.dcm"), out);
    EXPECT_EQ(NativePixelBytes(*out.dataset()), f.expected);
  }
}

// The file meta information agrees with the data set in what dcmdj2k changes: transfer
// syntax, and the SOP Instance UID that --uid-always replaces.
TEST(DcmDj2k, MetaInformationFollowsTheDataSet)
{
  TempDir dir;
  const Fixture f = MakeFixture(1, 1, 8, false);
  auto file = MakeFile(f.header, f.codestreams);
  Save(*file, dir.File("in.dcm"));
  struct Case
  {
    std::vector<std::string> options;
    bool newInstance;
    const char* transferSyntax;
  };
  const Case cases[] = {
    { {}, false, UID_LittleEndianExplicitTransferSyntax },
    { { "--uid-always" }, true, UID_LittleEndianExplicitTransferSyntax },
    { { "+ua", "--write-xfer-implicit" }, true, UID_LittleEndianImplicitTransferSyntax },
  };
  for (const Case& c : cases)
  {
    std::vector<std::string> args = { kTool };
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(dir.File("in.dcm"));
    args.push_back(dir.File("out.dcm"));
    SCOPED_TRACE(c.options.empty() ? "default" : c.options[0]);
    const ProcessResult r = RunTool(args);
    ASSERT_EQ(r.exitCode, 0) << r.Describe() << r.out;
    // DCMTK warns when it writes a meta header that disagrees with the data set.
    EXPECT_EQ(r.out, "");
    Loaded out;
    Load(dir.File("out.dcm"), out);
    ASSERT_TRUE(out.ok);
    DcmItem& meta = *out.file.getMetaInfo();
    const std::string instance = StringOf(*out.dataset(), DCM_SOPInstanceUID);
    EXPECT_EQ(instance != "1.2.826.0.1.3680043.9.7433.1.1", c.newInstance);
    EXPECT_EQ(StringOf(meta, DCM_MediaStorageSOPInstanceUID), instance);
    EXPECT_EQ(StringOf(meta, DCM_MediaStorageSOPClassUID),
      StringOf(*out.dataset(), DCM_SOPClassUID));
    EXPECT_EQ(StringOf(meta, DCM_TransferSyntaxUID), c.transferSyntax);
  }
}

TEST(DcmDj2k, UncompressedInputIsRewritten)
{
  TempDir dir;
  const Fixture f = MakeFixture(1, 1, 12, false);
  auto file = MakeFile(f.header, f.codestreams);
  Save(*file, dir.File("j2k.dcm"));
  ASSERT_EQ(RunTool({ kTool, dir.File("j2k.dcm"), dir.File("explicit.dcm") }).exitCode, 0);
  const ProcessResult r = RunTool(
    { kTool, "--write-xfer-implicit", dir.File("explicit.dcm"), dir.File("implicit.dcm") });
  ASSERT_EQ(r.exitCode, 0) << r.out;
  Loaded out;
  Load(dir.File("implicit.dcm"), out);
  EXPECT_EQ(out.xfer, UID_LittleEndianImplicitTransferSyntax);
  EXPECT_EQ(NativePixelBytes(*out.dataset()), f.expected);
}

TEST(DcmDj2k, FailuresLeaveNoOutputAndKeepExistingFiles)
{
  TempDir dir;
  WriteFile(dir.File("existing.dcm"), "precious");

  // Another compressed transfer syntax is refused before anything is decoded.
  {
    const Fixture f = MakeFixture(1, 1, 8, false);
    auto file = MakeFile(f.header, f.codestreams, Packing(), EXS_RLELossless);
    Save(*file, dir.File("rle.dcm"), EXS_RLELossless);
    const ProcessResult r = RunTool({ kTool, dir.File("rle.dcm"), dir.File("existing.dcm") });
    EXPECT_EQ(r.exitCode, 22) << r.Describe();
    EXPECT_NE(r.out.find(dir.File("rle.dcm") +
                            ": cannot decompress: transfer syntax RLE Lossless is not JPEG 2000"),
      std::string::npos)
      << r.out;
  }
  // A codestream that does not match the header.
  {
    Fixture f = MakeFixture(1, 1, 8, false);
    f.header.rows = 10;
    auto file = MakeFile(f.header, f.codestreams);
    Save(*file, dir.File("mismatch.dcm"));
    const ProcessResult r =
      RunTool({ kTool, dir.File("mismatch.dcm"), dir.File("existing.dcm") });
    EXPECT_EQ(r.exitCode, 80) << r.Describe();
    EXPECT_NE(
      r.out.find(
        dir.File("mismatch.dcm") +
        ": cannot decompress: Image data mismatch between DICOM header and JPEG 2000 bitstream"),
      std::string::npos)
      << r.out;
  }
  // Unreadable input, missing arguments, an output folder that does not exist.
  {
    ProcessResult r = RunTool({ kTool, dir.File("missing.dcm"), dir.File("existing.dcm") });
    EXPECT_EQ(r.exitCode, 20) << r.Describe();
    EXPECT_NE(r.out.find(dir.File("missing.dcm") + ": cannot read DICOM file: "), std::string::npos)
      << r.out;
    r = RunTool({ kTool, dir.File("mismatch.dcm") });
    EXPECT_EQ(r.exitCode, 1) << r.Describe();
    EXPECT_NE(r.out.find("error: Missing parameter dcmfile-out"), std::string::npos) << r.out;
    const Fixture f = MakeFixture(1, 1, 8, false);
    auto file = MakeFile(f.header, f.codestreams);
    Save(*file, dir.File("good.dcm"));
    r = RunTool({ kTool, dir.File("good.dcm"), dir.File("no-such-folder/out.dcm") });
    EXPECT_EQ(r.exitCode, 40) << r.Describe();
    EXPECT_NE(r.out.find(dir.File("no-such-folder/out.dcm") + ": cannot write DICOM file: "),
      std::string::npos)
      << r.out;
  }
  EXPECT_EQ(ReadFile(dir.File("existing.dcm")), "precious");
  std::vector<std::string> names = dir.List();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(
    names, (std::vector<std::string>{ "existing.dcm", "good.dcm", "mismatch.dcm", "rle.dcm" }));
}

TEST(DcmDj2k, VersionHelpAndDebugOutput)
{
  ProcessResult r = RunTool({ kTool, "--version" });
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.out.find("- OpenJPEG, Version "), std::string::npos) << r.out;
  r = RunTool({ kTool, "--help" });
  EXPECT_EQ(r.exitCode, 0);
  for (const char* option : { "--planar-restore",
         "--planar-auto",
         "--color-by-pixel",
         "--color-by-plane",
         "--uid-default",
         "--uid-always",
         "--ignore-offset-table",
         "--ignore-bad-frames",
         "--write-xfer-implicit",
         "--verbose",
         "--debug" })
    EXPECT_NE(r.out.find(option), std::string::npos) << option;

  TempDir dir;
  const Fixture f = MakeFixture(1, 1, 8, false);
  auto file = MakeFile(f.header, f.codestreams);
  Save(*file, dir.File("in.dcm"));
  r = RunTool({ kTool, "-d", dir.File("in.dcm"), dir.File("out.dcm") });
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.out.find("D: JPEG 2000 decoder processes frame 1"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("D: Detected J2K codestream format"), std::string::npos);
  r = RunTool({ kTool, "-v", dir.File("in.dcm"), dir.File("out2.dcm") });
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.out.find("I: conversion successful"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("D: "), std::string::npos);
}

TEST(DcmDj2k, OutputThroughLinksKeepsPermissionsAndIsWrittenInPlaceWhenItMustBe)
{
  const Fixture f = MakeFixture(2, 1, 16, true);
  TempDir dir;
  TempDir elsewhere;
  auto file = MakeFile(f.header, f.codestreams, Packing{ 2, true });
  Save(*file, dir.File("in.dcm"));
  WriteFile(elsewhere.File("real.dcm"), "old");
  ASSERT_EQ(chmod(elsewhere.File("real.dcm").c_str(), 0640), 0);
  ASSERT_EQ(symlink(elsewhere.File("real.dcm").c_str(), dir.File("link.dcm").c_str()), 0);
  WriteFile(dir.File("private.dcm"), "old");
  ASSERT_EQ(chmod(dir.File("private.dcm").c_str(), 0600), 0);

  const auto expectDecoded = [&](const std::string& path)
  {
    Loaded out;
    Load(path, out);
    ASSERT_TRUE(out.ok) << path;
    EXPECT_EQ(out.xfer, UID_LittleEndianExplicitTransferSyntax);
    EXPECT_EQ(NativePixelBytes(*out.dataset()), f.expected);
  };
  const struct
  {
    const char* name;
    std::string target;
    std::string real;
    mode_t mode;
  } cases[] = {
    { "absolute link", dir.File("link.dcm"), elsewhere.File("real.dcm"), 0640 },
    { "private file", dir.File("private.dcm"), dir.File("private.dcm"), 0600 },
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.name);
    const ProcessResult r = RunTool({ kTool, dir.File("in.dcm"), c.target });
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out, "");
    expectDecoded(c.real);
    struct stat st;
    ASSERT_EQ(stat(c.real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.mode);
  }
  struct stat link;
  ASSERT_EQ(lstat(dir.File("link.dcm").c_str(), &link), 0);
  EXPECT_TRUE(S_ISLNK(link.st_mode));
  std::vector<std::string> names = dir.List();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{ "in.dcm", "link.dcm", "private.dcm" }));
  EXPECT_EQ(elsewhere.List(), std::vector<std::string>{ "real.dcm" });

  // A folder that refuses new files: the existing output is written in place, -v says so.
  TempDir ro;
  WriteFile(ro.File("out.dcm"), "old");
  const vireon::testing::Unwritable guard(ro.Path());
  if (!guard.Problem().empty())
  {
    GTEST_SKIP() << guard.Problem();
  }
  ProcessResult r = RunTool({ kTool, "-v", dir.File("in.dcm"), ro.File("out.dcm") });
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_NE(
    r.out.find("I: writing " + ro.File("out.dcm") + " in place: cannot create a file in " +
                  ro.Path() + ": " + std::strerror(guard.Refusal()) + "\n"),
    std::string::npos)
    << r.out;
  expectDecoded(ro.File("out.dcm"));
  r = RunTool({ kTool, dir.File("in.dcm"), ro.File("out.dcm") });
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(ro.List(), std::vector<std::string>{ "out.dcm" });
}

// OpenJPEG's messages are logged one line each, without the empty E:, W: or D: line their
// trailing line breaks would make.
TEST(DcmDj2k, OpenJPEGMessagesMakeNoEmptyLines)
{
  TempDir dir;
  Fixture f = MakeFixture(1, 1, 8, false);
  std::vector<uint8_t>& codestream = f.codestreams[0];
  ASSERT_GT(codestream.size(), 120u);
  for (size_t k = 60; k < codestream.size(); ++k)
    codestream[k] = uint8_t(k * 37);
  auto file = MakeFile(f.header, f.codestreams);
  Save(*file, dir.File("corrupt.dcm"));
  const ProcessResult r = RunTool({ kTool, "-d", dir.File("corrupt.dcm"), dir.File("out.dcm") });
  EXPECT_EQ(r.exitCode, 80);
  EXPECT_NE(r.out.find("E: OpenJPEG error: "), std::string::npos) << r.out;
  std::vector<std::string> lines(1);
  for (char ch : r.out)
  {
    if (ch == '\n')
      lines.emplace_back();
    else
      lines.back() += ch;
  }
  // A record without text: "E: ", "W: " or "D: ".
  auto emptyRecord = [](const std::string& line)
  { return line.size() >= 2 && line[1] == ':' && line.find_first_not_of(' ', 2) == std::string::npos; };
  for (size_t i = 0; i < lines.size(); ++i)
  {
    if (emptyRecord(lines[i]))
    {
      EXPECT_EQ(lines[i][0], 'D') << "line " << i << " of\n" << r.out;
    }
    if (lines[i].size() > 12 && lines[i].compare(1, 11, ": OpenJPEG ") == 0 && i + 1 < lines.size())
    {
      EXPECT_FALSE(emptyRecord(lines[i + 1])) << "after line " << i << " of\n" << r.out;
    }
  }
}
