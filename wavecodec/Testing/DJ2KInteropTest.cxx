// Interoperation with GDCM: files compressed by gdcmconv --j2k decode to the original pixels,
// through DCMTK with this codec and through dcmdj2k.
#include "DJ2KTestProcess.h"
#include "J2KTestUtilities.h"

#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcmetinf.h"
#include "dcmtk/dcmdata/dcuid.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace j2ktest;
using dj2ktest::FileExists;
using dj2ktest::ProcessResult;
using dj2ktest::ReadFile;
using dj2ktest::TempDir;
using dj2ktest::WriteFile;

namespace
{

// Runs a program; its standard output and error are collected together.
ProcessResult RunTool(const std::vector<std::string>& argv)
{
  dj2ktest::ProcessOptions options;
  options.mergeOutput = true;
  return dj2ktest::RunProcess(argv, options);
}

const std::string kGdcmconv = GDCMCONV_PATH;
const std::string kTool = DCMDJ2K_PATH;

// Writes an uncompressed file with these samples (interleaved by pixel, host order words).
void WriteNative(const std::string& path, const Header& header, const std::vector<uint8_t>& pixels)
{
  DcmFileFormat file;
  DcmDataset* dataset = file.getDataset();
  PutHeader(*dataset, header);
  dataset->putAndInsertString(DCM_PatientName, "Interop^Test");
  if (header.bitsAllocated == 8)
    dataset->putAndInsertUint8Array(DCM_PixelData, pixels.data(), Uint32(pixels.size()));
  else
    dataset->putAndInsertUint16Array(
      DCM_PixelData, reinterpret_cast<const Uint16*>(pixels.data()), Uint32(pixels.size() / 2));
  ASSERT_TRUE(file.saveFile(path.c_str(), EXS_LittleEndianExplicit).good());
}

std::vector<uint8_t> RandomPixels(size_t samples,
  uint16_t bitsAllocated,
  uint16_t bitsStored,
  bool sgnd,
  uint32_t seed)
{
  std::vector<uint8_t> bytes(samples * (bitsAllocated / 8));
  uint32_t state = seed;
  const int64_t range = int64_t(1) << bitsStored;
  for (size_t k = 0; k < samples; ++k)
  {
    state = state * 1664525u + 1013904223u;
    // Smooth content with noise, and the extremes of the range.
    int64_t v = (int64_t(k % 97) * range) / 97 + int64_t(state >> 28);
    if (k % 101 == 0)
      v = 0;
    if (k % 103 == 0)
      v = range - 1;
    v = std::min(v, range - 1);
    if (sgnd)
      v -= range / 2;
    if (bitsAllocated == 8)
    {
      bytes[k] = uint8_t(v);
    }
    else
    {
      const uint16_t w = uint16_t(v);
      memcpy(&bytes[2 * k], &w, 2);
    }
  }
  return bytes;
}

} // namespace

TEST(DJ2KInterop, GdcmCompressedFilesDecodeToTheOriginalPixels)
{
  struct Case
  {
    const char* name;
    uint16_t samples;
    uint16_t bitsAllocated;
    uint16_t bitsStored;
    bool sgnd;
    int frames;
  };
  const Case cases[] = {
    { "monochrome 8 bit", 1, 8, 8, false, 1 },
    { "monochrome 16 bit", 1, 16, 16, false, 1 },
    { "monochrome 12 bit", 1, 16, 12, false, 1 },
    { "signed 16 bit", 1, 16, 16, true, 1 },
    { "RGB", 3, 8, 8, false, 1 },
    { "multi-frame 16 bit", 1, 16, 16, false, 4 },
    { "multi-frame RGB", 3, 8, 8, false, 3 },
  };
  ScopedDecoders decoders;
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    TempDir dir;
    Header header;
    header.rows = 37;
    header.columns = 53;
    header.samplesPerPixel = c.samples;
    header.bitsAllocated = c.bitsAllocated;
    header.bitsStored = c.bitsStored;
    header.pixelRepresentation = c.sgnd ? 1 : 0;
    header.photometric = c.samples == 3 ? "RGB" : "MONOCHROME2";
    header.numberOfFrames = c.frames > 1 ? c.frames : -1;
    if (c.samples == 3)
      header.planarConfiguration = 0;
    const std::vector<uint8_t> pixels =
      RandomPixels(size_t(header.rows) * header.columns * c.samples * c.frames,
        c.bitsAllocated,
        c.bitsStored,
        c.sgnd,
        c.bitsStored + c.samples);
    WriteNative(dir.File("native.dcm"), header, pixels);

    const ProcessResult gdcm =
      RunTool({ kGdcmconv, "--j2k", dir.File("native.dcm"), dir.File("j2k.dcm") });
    ASSERT_EQ(gdcm.exitCode, 0) << gdcm.out;

    // Through DCMTK with the registered decoders.
    DcmFileFormat file;
    ASSERT_TRUE(file.loadFile(dir.File("j2k.dcm").c_str()).good());
    OFString xfer;
    file.getMetaInfo()->findAndGetOFString(DCM_TransferSyntaxUID, xfer);
    EXPECT_EQ(xfer, UID_JPEG2000LosslessOnlyTransferSyntax);
    DcmDataset* dataset = file.getDataset();
    ASSERT_TRUE(dataset->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).good());
    std::vector<uint8_t> decoded = NativePixelBytes(*dataset);
    decoded.resize(std::min(decoded.size(), pixels.size() + 1));
    if (decoded.size() == pixels.size() + 1 && decoded.back() == 0)
      decoded.pop_back(); // pad byte of an odd length
    EXPECT_EQ(decoded, pixels);

    // Through dcmdj2k.
    const ProcessResult tool = RunTool({ kTool, dir.File("j2k.dcm"), dir.File("raw.dcm") });
    ASSERT_EQ(tool.exitCode, 0) << tool.out;
    DcmFileFormat raw;
    ASSERT_TRUE(raw.loadFile(dir.File("raw.dcm").c_str()).good());
    decoded = NativePixelBytes(*raw.getDataset());
    decoded.resize(std::min(decoded.size(), pixels.size()));
    EXPECT_EQ(decoded, pixels);
    OFString name;
    raw.getDataset()->findAndGetOFString(DCM_PatientName, name);
    EXPECT_EQ(name, "Interop^Test");
  }
}
