// dcmcj2k as a program: options, exit status, no partial output, and interoperation with
// GDCM (gdcmconv --raw), OpenJPEG's opj_decompress and, when built, dcmdj2k.
#include "DJ2KTestDataset.h"
#include "DJ2KTestProcess.h"
#include "DJ2KTestStream.h"
#include "SafeFileWriterTesting.h"

#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcmetinf.h"
#include "dcmtk/dcmdata/dcxfer.h"
#include "dj2kdecode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace dj2ktest;

namespace
{

// Runs a program; its standard output and error are collected together.
ProcessResult RunMerged(const std::vector<std::string>& argv)
{
  ProcessOptions options;
  options.mergeOutput = true;
  return RunProcess(argv, options);
}

// A fresh directory per test, removed afterwards.
class EncoderToolTest : public ::testing::Test
{
protected:
  std::string Path(const std::string& name) const { return dir_.File(name); }

  // Writes an uncompressed file and returns its pixels.
  std::vector<Uint8> WriteImage(const Image& shape,
    const std::string& name,
    E_TransferSyntax xfer = EXS_LittleEndianExplicit)
  {
    std::vector<Uint8> pixels = MakePixels(shape, 3);
    DcmFileFormat fileformat;
    FillDataset(*fileformat.getDataset(), shape, pixels);
    EXPECT_TRUE(fileformat.saveFile(Path(name).c_str(), xfer).good());
    return pixels;
  }

  // Runs dcmcj2k with options (separated by blanks) on two files of the test's folder.
  ProcessResult Compress(const std::string& options, const std::string& in, const std::string& out)
  {
    std::vector<std::string> argv = { DJ2K_DCMCJ2K };
    std::istringstream words(options);
    std::string word;
    while (words >> word)
      argv.push_back(word);
    argv.push_back(Path(in));
    argv.push_back(Path(out));
    return RunMerged(argv);
  }

  TempDir dir_;
};

// Loads a file; its transfer syntax goes to xfer.
bool Load(const std::string& path, DcmFileFormat& fileformat, E_TransferSyntax& xfer)
{
  if (fileformat.loadFile(path.c_str()).bad())
  {
    return false;
  }
  xfer = fileformat.getDataset()->getOriginalXfer();
  return true;
}

std::string GetString(DcmItem& item, const DcmTagKey& tag)
{
  OFString value;
  if (item.findAndGetOFStringArray(tag, value).bad())
  {
    return "<absent>";
  }
  return value.c_str();
}

// The samples of an uncompressed file, in the order SampleOf indexes them for shape but
// with the file's own planar configuration.
struct Uncompressed
{
  Image shape;
  std::vector<Uint8> pixels;
};

bool ReadUncompressed(const std::string& path, const Image& expected, Uncompressed& out)
{
  DcmFileFormat fileformat;
  E_TransferSyntax xfer = EXS_Unknown;
  if (!Load(path, fileformat, xfer) || DcmXfer(xfer).isEncapsulated())
  {
    return false;
  }
  DcmDataset* dataset = fileformat.getDataset();
  out.shape = expected;
  Uint16 pc = 0;
  if (dataset->findAndGetUint16(DCM_PlanarConfiguration, pc).good())
  {
    out.shape.planarConfiguration = pc;
  }
  const Uint8* bytes = nullptr;
  unsigned long count = 0;
  if (dataset->findAndGetUint8Array(DCM_PixelData, bytes, &count).bad() || bytes == nullptr)
  {
    return false;
  }
  out.pixels.assign(bytes, bytes + count);
  return out.pixels.size() >= expected.frameBytes() * size_t(expected.frames);
}

// Largest absolute sample difference between two images of the same geometry.
long PeakError(const Image& shape, const std::vector<Uint8>& a, const Uncompressed& b)
{
  long peak = 0;
  const size_t count = size_t(shape.rows) * shape.columns;
  for (size_t f = 0; f < size_t(shape.frames); ++f)
  {
    for (size_t c = 0; c < shape.samplesPerPixel; ++c)
    {
      for (size_t k = 0; k < count; ++k)
      {
        const long d = SampleOf(shape, a, f, c, k) - SampleOf(b.shape, b.pixels, f, c, k);
        peak = d < 0 ? (-d > peak ? -d : peak) : (d > peak ? d : peak);
      }
    }
  }
  return peak;
}

// Sample k of component c in opj_decompress's little-endian raw output (planes in turn,
// each sample kept to its precision).
long RawlSample(const std::string& raw, const Image& shape, size_t c, size_t k)
{
  const size_t count = size_t(shape.rows) * shape.columns;
  const size_t index = c * count + k;
  long v = shape.bitsStored <= 8
             ? long(Uint8(raw[index]))
             : long(Uint16(Uint8(raw[2 * index]) | Uint16(Uint8(raw[2 * index + 1])) << 8));
  v &= (1L << shape.bitsStored) - 1;
  if (shape.pixelRepresentation && (v & (1L << (shape.bitsStored - 1))))
  {
    v -= 1L << shape.bitsStored;
  }
  return v;
}

const Image kImages[] = {
  { "mono8", 96, 80, 1, 8, 8, 0, 0, 1 },
  { "mono16", 128, 112, 1, 16, 16, 0, 0, 1 },
  { "signed16bs12", 100, 128, 1, 16, 12, 1, 0, 1 },
  { "rgb", 64, 72, 3, 8, 8, 0, 0, 1 },
  { "rgbplanar", 64, 72, 3, 8, 8, 0, 1, 1 },
  { "ct4frames", 64, 64, 1, 16, 12, 1, 0, 4 },
};

} // namespace

// Lossless files decode in GDCM to exactly the original pixels, and each frame's
// codestream decodes in opj_decompress to the same samples.
TEST_F(EncoderToolTest, LosslessFilesDecodeExactlyInGDCMAndOpenJPEG)
{
  const char* optionSets[] = { "", "--no-offset-table", "--fragment-size 1" };
  for (const Image& shape : kImages)
  {
    const std::vector<Uint8> pixels = WriteImage(shape, "in.dcm");
    for (const char* options : optionSets)
    {
      SCOPED_TRACE(std::string(shape.name) + " [" + options + "]");
      const ProcessResult run = Compress(options, "in.dcm", "out.dcm");
      ASSERT_EQ(run.exitCode, 0) << run.out;

      DcmFileFormat compressed;
      E_TransferSyntax xfer = EXS_Unknown;
      ASSERT_TRUE(Load(Path("out.dcm"), compressed, xfer));
      EXPECT_EQ(xfer, EXS_JPEG2000LosslessOnly);
      DcmPixelSequence* sequence = GetPixelSequence(*compressed.getDataset(), xfer);
      ASSERT_NE(sequence, nullptr);
      const bool expectTable = std::string(options) != "--no-offset-table";
      EXPECT_EQ(ItemBytes(sequence, 0).size(), expectTable ? 4u * shape.frames : 0u);
      for (unsigned long i = 1; i < sequence->card(); ++i)
      {
        if (std::string(options) == "--fragment-size 1")
        {
          EXPECT_LE(ItemBytes(sequence, i).size(), 1024u);
        }
      }

      // GDCM decodes several fragments per frame only in single-frame images ("Not
      // handled" otherwise); OpenJPEG and dcmdj2k check those below.
      if (shape.frames == 1 || std::string(options) != "--fragment-size 1")
      {
        const ProcessResult gdcm = RunMerged({ DJ2K_GDCMCONV, "--raw", Path("out.dcm"), Path("gdcm.dcm") });
        ASSERT_EQ(gdcm.exitCode, 0) << gdcm.out;
        Uncompressed decoded;
        ASSERT_TRUE(ReadUncompressed(Path("gdcm.dcm"), shape, decoded));
        EXPECT_EQ(PeakError(shape, pixels, decoded), 0);
      }

      const std::vector<std::vector<Uint8>> codestreams = FrameCodestreams(sequence);
      ASSERT_EQ(codestreams.size(), size_t(shape.frames));
      for (size_t f = 0; f < codestreams.size(); ++f)
      {
        std::ofstream(Path("frame.j2k"), std::ios::binary)
          .write(reinterpret_cast<const char*>(codestreams[f].data()), codestreams[f].size());
        const ProcessResult opj =
          RunMerged({ DJ2K_OPJ_DECOMPRESS, "-i", Path("frame.j2k"), "-o", Path("frame.rawl") });
        ASSERT_EQ(opj.exitCode, 0) << opj.out;
        const std::string raw = ReadFile(Path("frame.rawl"));
        const size_t count = size_t(shape.rows) * shape.columns;
        ASSERT_EQ(raw.size(), count * shape.samplesPerPixel * (shape.bitsStored <= 8 ? 1 : 2));
        size_t mismatches = 0;
        for (size_t c = 0; c < shape.samplesPerPixel; ++c)
        {
          for (size_t k = 0; k < count; ++k)
          {
            mismatches += RawlSample(raw, shape, c, k) != SampleOf(shape, pixels, f, c, k);
          }
        }
        EXPECT_EQ(mismatches, 0u) << "frame " << f;
      }
    }
  }
}

// Lossy files decode in GDCM; the sizes and peak errors at ratios 10 and 20 are printed.
TEST_F(EncoderToolTest, LossyFilesDecodeInGDCM)
{
  std::cout << "image          ratio  pixel bytes  compressed  achieved  peak error\n";
  for (const Image& shape : kImages)
  {
    const std::vector<Uint8> pixels = WriteImage(shape, "in.dcm");
    for (int ratio : { 10, 20 })
    {
      SCOPED_TRACE(std::string(shape.name) + " ratio " + std::to_string(ratio));
      const ProcessResult run =
        Compress("--encode-lossy --ratio " + std::to_string(ratio), "in.dcm", "out.dcm");
      ASSERT_EQ(run.exitCode, 0) << run.out;
      DcmFileFormat compressed;
      E_TransferSyntax xfer = EXS_Unknown;
      ASSERT_TRUE(Load(Path("out.dcm"), compressed, xfer));
      EXPECT_EQ(xfer, EXS_JPEG2000);
      EXPECT_EQ(GetString(*compressed.getDataset(), DCM_LossyImageCompression), "01");
      DcmPixelSequence* sequence = GetPixelSequence(*compressed.getDataset(), xfer);
      ASSERT_NE(sequence, nullptr);
      size_t compressedBytes = 0;
      for (const std::vector<Uint8>& c : FrameCodestreams(sequence))
      {
        compressedBytes += c.size();
      }
      const ProcessResult gdcm = RunMerged({ DJ2K_GDCMCONV, "--raw", Path("out.dcm"), Path("gdcm.dcm") });
      ASSERT_EQ(gdcm.exitCode, 0) << gdcm.out;
      Uncompressed decoded;
      ASSERT_TRUE(ReadUncompressed(Path("gdcm.dcm"), shape, decoded));
      const long peak = PeakError(shape, pixels, decoded);
      const size_t pixelBytes = shape.frameBytes() * size_t(shape.frames);
      // Rates count Bits Stored, not Bits Allocated.
      const double target =
        double(pixelBytes) * shape.bitsStored / shape.bitsAllocated / double(ratio);
      EXPECT_LE(double(compressedBytes), target * 1.05 + 64 * shape.frames);
      // The error stays a small part of the sample range.
      EXPECT_LT(peak, (1L << shape.bitsStored) / 8);
      char line[160];
      std::snprintf(line,
        sizeof(line),
        "%-14s %5d  %11zu  %10zu  %8.1f  %10ld\n",
        shape.name,
        ratio,
        pixelBytes,
        compressedBytes,
        double(pixelBytes) / double(compressedBytes),
        peak);
      std::cout << line;
    }
  }
}

// dcmcj2k then dcmdj2k gives back the original pixel data bit for bit.
TEST_F(EncoderToolTest, LosslessRoundTripThroughDcmdj2kIsExact)
{
  for (const Image& shape : kImages)
  {
    for (const char* options : { "", "--no-offset-table --fragment-size 1" })
    {
      SCOPED_TRACE(std::string(shape.name) + " [" + options + "]");
      const std::vector<Uint8> pixels = WriteImage(shape, "in.dcm");
      const ProcessResult run = Compress(options, "in.dcm", "out.dcm");
      ASSERT_EQ(run.exitCode, 0) << run.out;
      // The compressed file says Planar Configuration 0; planar input comes back bit for bit
      // when colour by plane is asked for.
      std::vector<std::string> decode = { DJ2K_DCMDJ2K, Path("out.dcm"), Path("back.dcm") };
      if (shape.planarConfiguration == 1)
        decode.insert(decode.begin() + 1, "--color-by-plane");
      const ProcessResult back = RunMerged(decode);
      ASSERT_EQ(back.exitCode, 0) << back.out;
      DcmFileFormat fileformat;
      E_TransferSyntax xfer = EXS_Unknown;
      ASSERT_TRUE(Load(Path("back.dcm"), fileformat, xfer));
      const Uint8* bytes = nullptr;
      unsigned long count = 0;
      ASSERT_TRUE(
        fileformat.getDataset()->findAndGetUint8Array(DCM_PixelData, bytes, &count).good());
      ASSERT_GE(count, pixels.size());
      EXPECT_EQ(std::memcmp(bytes, pixels.data(), pixels.size()), 0);
    }
  }
}
// Options that reach the codec registration and the data set.
TEST_F(EncoderToolTest, UIDAndSOPClassOptions)
{
  const Image shape{ "mono8", 32, 32, 1, 8, 8, 0, 0, 1 };
  WriteImage(shape, "in.dcm");
  DcmFileFormat original;
  E_TransferSyntax xfer = EXS_Unknown;
  ASSERT_TRUE(Load(Path("in.dcm"), original, xfer));
  const std::string uid = GetString(*original.getDataset(), DCM_SOPInstanceUID);
  struct Case
  {
    const char* options;
    bool newUID;
    const char* sopClass;
  };
  const Case cases[] = {
    { "", false, UID_CTImageStorage },
    { "--uid-always", true, UID_CTImageStorage },
    { "--encode-lossy", true, UID_CTImageStorage },
    { "--encode-lossy --uid-never", false, UID_CTImageStorage },
    // Another SOP Class makes another instance.
    { "--uid-default --convert-to-sc", true, UID_SecondaryCaptureImageStorage },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.options);
    const ProcessResult run = Compress(c.options, "in.dcm", "out.dcm");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    DcmFileFormat compressed;
    ASSERT_TRUE(Load(Path("out.dcm"), compressed, xfer));
    DcmDataset* dataset = compressed.getDataset();
    EXPECT_EQ(GetString(*dataset, DCM_SOPInstanceUID) != uid, c.newUID);
    EXPECT_EQ(GetString(*dataset, DCM_SOPClassUID), c.sopClass);
    // The meta header follows the data set.
    EXPECT_EQ(GetString(*compressed.getMetaInfo(), DCM_MediaStorageSOPInstanceUID),
      GetString(*dataset, DCM_SOPInstanceUID));
    EXPECT_EQ(GetString(*compressed.getMetaInfo(), DCM_MediaStorageSOPClassUID), c.sopClass);
  }
}

// Samples with bits above Bits Stored: by default their stored bits are encoded, with a
// warning naming the frame, as gdcmconv --j2k does; --refuse-high-bits refuses the image.
TEST_F(EncoderToolTest, HighBitsAreMaskedUnlessRefused)
{
  const Image shape{ "mono16", 24, 20, 1, 16, 16, 0, 0, 1 };
  const std::vector<Uint8> pixels = WriteImage(shape, "full.dcm");
  {
    DcmFileFormat fileformat;
    E_TransferSyntax xfer = EXS_Unknown;
    ASSERT_TRUE(Load(Path("full.dcm"), fileformat, xfer));
    fileformat.getDataset()->putAndInsertUint16(DCM_BitsStored, 12);
    fileformat.getDataset()->putAndInsertUint16(DCM_HighBit, 11);
    ASSERT_TRUE(fileformat.saveFile(Path("in.dcm").c_str(), EXS_LittleEndianExplicit).good());
  }
  Image stored = shape;
  stored.bitsStored = 12;
  size_t highBits = 0;
  std::vector<Uint8> masked = pixels;
  for (size_t k = 0; k < size_t(shape.rows) * shape.columns; ++k)
  {
    const long v = SampleOf(shape, pixels, 0, 0, k);
    highBits += v > 0x0FFF;
    const Uint16 w = Uint16(v & 0x0FFF);
    std::memcpy(&masked[2 * k], &w, 2);
  }
  ASSERT_GT(highBits, 0u);

  // GDCM compresses the same file to its stored bits.
  const ProcessResult gdcm = RunMerged({ DJ2K_GDCMCONV, "--j2k", Path("in.dcm"), Path("gdcm-j2k.dcm") });
  ASSERT_EQ(gdcm.exitCode, 0) << gdcm.out;
  for (const char* options : { "", "--mask-high-bits" })
  {
    SCOPED_TRACE(options);
    const ProcessResult run = Compress(options, "in.dcm", "out.dcm");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("W: frame 1: " + std::to_string(highBits) +
                              " samples have bits set above Bits Stored 12"),
      std::string::npos)
      << run.out;
    for (const char* compressed : { "out.dcm", "gdcm-j2k.dcm" })
    {
      const ProcessResult raw = RunMerged({ DJ2K_GDCMCONV, "--raw", Path(compressed), Path("raw.dcm") });
      ASSERT_EQ(raw.exitCode, 0) << raw.out;
      Uncompressed decoded;
      ASSERT_TRUE(ReadUncompressed(Path("raw.dcm"), stored, decoded));
      EXPECT_EQ(PeakError(stored, masked, decoded), 0) << compressed;
    }
  }

  const ProcessResult refused = Compress("--refuse-high-bits", "in.dcm", "refused.dcm");
  EXPECT_EQ(refused.exitCode, 80) << refused.out;
  EXPECT_NE(refused.out.find("cannot compress: Unsupported value in JPEG 2000 codec: frame 1: " +
                                std::to_string(highBits) +
                                " samples have bits set above Bits Stored 12"),
    std::string::npos)
    << refused.out;
}

// Every failure: non-zero exit, one message naming the file, no output file, an existing
// target left alone, no temporary file left behind.
TEST_F(EncoderToolTest, FailuresLeaveNoOutput)
{
  const Image shape{ "mono16", 32, 32, 1, 16, 16, 0, 0, 1 };
  WriteImage(shape, "in.dcm");
  ASSERT_EQ(Compress("", "in.dcm", "j2k.dcm").exitCode, 0);

  // Another compressed transfer syntax: an RLE pixel sequence made in place.
  {
    DcmFileFormat fileformat;
    DcmDataset* dataset = fileformat.getDataset();
    FillDataset(*dataset, shape, MakePixels(shape));
    dataset->findAndDeleteElement(DCM_PixelData);
    DcmPixelSequence* sequence = new DcmPixelSequence(DcmTag(DCM_PixelData, EVR_OB));
    sequence->insert(new DcmPixelItem(DcmTag(DCM_Item, EVR_OB)));
    DcmPixelItem* fragment = new DcmPixelItem(DcmTag(DCM_Item, EVR_OB));
    const Uint8 bytes[4] = { 1, 0, 0, 0 };
    fragment->putUint8Array(bytes, 4);
    sequence->insert(fragment);
    DcmPixelData* pixelData = new DcmPixelData(DCM_PixelData);
    pixelData->putOriginalRepresentation(EXS_RLELossless, nullptr, sequence);
    dataset->insert(pixelData);
    const OFCondition saved = fileformat.saveFile(Path("rle.dcm").c_str(), EXS_RLELossless);
    ASSERT_TRUE(saved.good()) << saved.text();
  }
  // Pixels beyond Bits Stored, which the encoder refuses when asked to.
  {
    DcmFileFormat fileformat;
    E_TransferSyntax xfer = EXS_Unknown;
    ASSERT_TRUE(Load(Path("in.dcm"), fileformat, xfer));
    fileformat.getDataset()->putAndInsertUint16(DCM_BitsStored, 10);
    ASSERT_TRUE(fileformat.saveFile(Path("bad.dcm").c_str(), EXS_LittleEndianExplicit).good());
  }
  std::ofstream(Path("garbage.dcm")) << "not a DICOM file";
  {
    DcmFileFormat fileformat;
    E_TransferSyntax xfer = EXS_Unknown;
    ASSERT_TRUE(Load(Path("in.dcm"), fileformat, xfer));
    fileformat.getDataset()->findAndDeleteElement(DCM_PixelData);
    ASSERT_TRUE(fileformat.saveFile(Path("nopixels.dcm").c_str(), EXS_LittleEndianExplicit).good());
  }

  struct Case
  {
    const char* name;
    std::string options;
    std::string in;
    std::string out;
    int exitCode;
    const char* message;
  };
  const Case cases[] = {
    { "already JPEG 2000",
      "",
      "j2k.dcm",
      "out.dcm",
      22,
      ": cannot compress: transfer syntax JPEG 2000 (Lossless only) is already JPEG 2000" },
    { "other compression",
      "",
      "rle.dcm",
      "out.dcm",
      22,
      ": cannot compress: transfer syntax RLE Lossless is compressed, decompress it first" },
    { "codec failure",
      "--encode-lossy --refuse-high-bits",
      "bad.dcm",
      "out.dcm",
      80,
      ": cannot compress: Unsupported value in JPEG 2000 codec" },
    { "no pixel data", "", "nopixels.dcm", "out.dcm", 22, ": cannot compress: no pixel data" },
    { "missing input", "", "none.dcm", "out.dcm", 20, ": cannot read DICOM file: " },
    { "not DICOM", "", "garbage.dcm", "out.dcm", 20, ": cannot read DICOM file: " },
    { "output folder missing", "", "in.dcm", "nowhere/out.dcm", 40, ": cannot write DICOM file: " },
    { "ratio below 1", "--encode-lossy --ratio 0.5", "in.dcm", "out.dcm", 1, "--ratio" },
    { "ratio without lossy", "--ratio 5", "in.dcm", "out.dcm", 1, "--encode-lossy" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    // An existing target keeps its content.
    std::ofstream(Path("out.dcm")) << "precious";
    std::vector<std::string> before = dir_.List();
    const ProcessResult run = Compress(c.options, c.in, c.out);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.Describe() << run.out;
    EXPECT_NE(run.out.find(c.message), std::string::npos) << run.out;
    if (c.exitCode != 1)
    {
      EXPECT_NE(run.out.find(c.exitCode == 40 ? c.out : c.in), std::string::npos) << run.out;
    }
    EXPECT_EQ(ReadFile(Path("out.dcm")), "precious");
    // No new file at all: no output, no temporary file.
    std::vector<std::string> after = dir_.List();
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before);
    std::remove(Path("out.dcm").c_str());
  }

  // A successful run replaces the target and gives it a normal file mode.
  const mode_t mask = umask(022);
  std::ofstream(Path("out.dcm")) << "old";
  ASSERT_EQ(Compress("", "in.dcm", "out.dcm").exitCode, 0);
  umask(mask);
  struct stat st;
  ASSERT_EQ(stat(Path("out.dcm").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  EXPECT_NE(ReadFile(Path("out.dcm")), "old");

  // The output may replace the input itself.
  ASSERT_EQ(Compress("", "in.dcm", "in.dcm").exitCode, 0);
  DcmFileFormat replaced;
  E_TransferSyntax xfer = EXS_Unknown;
  ASSERT_TRUE(Load(Path("in.dcm"), replaced, xfer));
  EXPECT_EQ(xfer, EXS_JPEG2000LosslessOnly);
  EXPECT_NE(GetPixelSequence(*replaced.getDataset(), xfer), nullptr);
}

// The output goes to the file behind a link and keeps that file's permissions; in a folder that
// refuses new files an existing output is written in place, which -v says.
TEST_F(EncoderToolTest, OutputThroughLinksKeepsPermissionsAndIsWrittenInPlaceWhenItMustBe)
{
  const Image shape{ "mono16", 24, 20, 1, 16, 16, 0, 0, 1 };
  const std::vector<Uint8> pixels = WriteImage(shape, "in.dcm");
  ASSERT_EQ(mkdir(Path("data").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(Path("ro").c_str(), 0755), 0);
  std::ofstream(Path("data/real.dcm")) << "old";
  ASSERT_EQ(chmod(Path("data/real.dcm").c_str(), 0640), 0);
  ASSERT_EQ(symlink("data/real.dcm", Path("link.dcm").c_str()), 0);
  std::ofstream(Path("private.dcm")) << "old";
  ASSERT_EQ(chmod(Path("private.dcm").c_str(), 0600), 0);
  std::ofstream(Path("ro/out.dcm")) << "old";
  ASSERT_EQ(chmod(Path("ro/out.dcm").c_str(), 0600), 0);

  struct Decoders
  {
    Decoders() { DJ2KDecoderRegistration::registerCodecs(); }
    ~Decoders() { DJ2KDecoderRegistration::cleanup(); }
  } decoders;
  // The file holds the input's pixels, JPEG 2000 compressed.
  const auto expectCompressedInput = [&](const std::string& path)
  {
    DcmFileFormat fileformat;
    E_TransferSyntax xfer = EXS_Unknown;
    ASSERT_TRUE(Load(path, fileformat, xfer)) << path;
    EXPECT_EQ(xfer, EXS_JPEG2000LosslessOnly);
    DcmDataset* dataset = fileformat.getDataset();
    ASSERT_TRUE(dataset->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).good());
    const Uint8* bytes = nullptr;
    unsigned long count = 0;
    ASSERT_TRUE(dataset->findAndGetUint8Array(DCM_PixelData, bytes, &count).good());
    ASSERT_EQ(count, pixels.size());
    EXPECT_EQ(std::memcmp(bytes, pixels.data(), count), 0);
  };

  const struct
  {
    const char* name;
    const char* target;
    const char* real;
    mode_t mode;
  } cases[] = {
    { "relative link", "link.dcm", "data/real.dcm", 0640 },
    { "private file", "private.dcm", "private.dcm", 0600 },
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.name);
    const ProcessResult run = Compress("", "in.dcm", c.target);
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.out, "");
    expectCompressedInput(Path(c.real));
    struct stat st;
    ASSERT_EQ(stat(Path(c.real).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.mode);
  }
  struct stat link;
  ASSERT_EQ(lstat(Path("link.dcm").c_str(), &link), 0);
  EXPECT_TRUE(S_ISLNK(link.st_mode));

  const vireon::testing::Unwritable guard(Path("ro"));
  if (!guard.Problem().empty())
  {
    GTEST_SKIP() << guard.Problem();
  }
  ProcessResult run = Compress("-v", "in.dcm", "ro/out.dcm");
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_NE(
    run.out.find("I: writing " + Path("ro/out.dcm") + " in place: cannot create a file in " +
                    Path("ro") + ": " + std::strerror(guard.Refusal()) + "\n"),
    std::string::npos)
    << run.out;
  expectCompressedInput(Path("ro/out.dcm"));
  run = Compress("", "in.dcm", "ro/out.dcm");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(ListDirectory(Path("ro")), std::vector<std::string>{ "out.dcm" });
  std::vector<std::string> names = dir_.List();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{ "data", "in.dcm", "link.dcm", "private.dcm", "ro" }));
}
