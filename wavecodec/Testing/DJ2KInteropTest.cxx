// Interoperation with GDCM: files compressed by gdcmconv --j2k decode to the original pixels,
// through DCMTK with this codec and through dcmdj2k.
#include "DJ2KTestDataset.h"
#include "DJ2KTestProcess.h"
#include "DJ2KTestStream.h"

#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcmetinf.h"
#include "dcmtk/dcmdata/dcuid.h"

#include <gtest/gtest.h>

#include <cstring>

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

namespace
{

// The samples of a native file as values: each container word or byte read through Bits
// Stored, sign-extended when Pixel Representation is 1, as DICOM defines pixel values.
std::vector<int64_t> StoredValues(DcmItem& item, uint16_t bitsAllocated, uint16_t bitsStored)
{
  Uint16 pixelRep = 0;
  item.findAndGetUint16(DCM_PixelRepresentation, pixelRep);
  const std::vector<uint8_t> bytes = NativePixelBytes(item);
  std::vector<int64_t> values;
  for (size_t i = 0; i + bitsAllocated / 8 <= bytes.size(); i += bitsAllocated / 8)
  {
    int64_t v = bytes[i];
    if (bitsAllocated == 16)
    {
      uint16_t w;
      memcpy(&w, &bytes[i], 2);
      v = w;
    }
    v &= (int64_t(1) << bitsStored) - 1;
    if (pixelRep == 1 && v >= (int64_t(1) << (bitsStored - 1)))
      v -= int64_t(1) << bitsStored;
    values.push_back(v);
  }
  return values;
}

// The container samples themselves: signed words or bytes when Pixel Representation is 1.
std::vector<int64_t> ContainerValues(DcmItem& item, uint16_t bitsAllocated, bool sgnd)
{
  const std::vector<uint8_t> bytes = NativePixelBytes(item);
  std::vector<int64_t> values;
  for (size_t i = 0; i + bitsAllocated / 8 <= bytes.size(); i += bitsAllocated / 8)
  {
    if (bitsAllocated == 8)
    {
      values.push_back(sgnd ? int64_t(int8_t(bytes[i])) : int64_t(bytes[i]));
    }
    else
    {
      uint16_t w;
      memcpy(&w, &bytes[i], 2);
      values.push_back(sgnd ? int64_t(int16_t(w)) : int64_t(w));
    }
  }
  return values;
}

} // namespace

// A codestream whose signedness differs from Pixel Representation: its samples are two's
// complement of the codestream's precision, read with Pixel Representation's signedness.
// dcmdj2k and gdcmconv --raw give those values (dcmdj2k sign-extends signed samples and
// clears the bits above Bits Stored of unsigned ones, gdcmconv leaves the codestream's bits).
TEST(DJ2KInterop, SignednessMismatchDecodesLikeGdcm)
{
  struct Case
  {
    const char* name;
    uint32_t prec;
    bool sgnd;
    uint16_t bitsAllocated;
    uint16_t pixelRep;
    const char* warning;
  };
  const Case cases[] = {
    { "unsigned 13-bit codestream, Pixel Representation 1",
      13,
      false,
      16,
      1,
      "W: JPEG 2000 codestream is unsigned but Pixel Representation is 1 (signed)" },
    { "unsigned 16-bit codestream, Pixel Representation 1",
      16,
      false,
      16,
      1,
      "W: JPEG 2000 codestream is unsigned but Pixel Representation is 1 (signed)" },
    { "unsigned 8-bit codestream, Pixel Representation 1",
      8,
      false,
      8,
      1,
      "W: JPEG 2000 codestream is unsigned but Pixel Representation is 1 (signed)" },
    { "signed 12-bit codestream, Pixel Representation 0",
      12,
      true,
      16,
      0,
      "W: JPEG 2000 codestream is signed but Pixel Representation is 0 (unsigned)" },
    { "signed 8-bit codestream, Pixel Representation 0",
      8,
      true,
      8,
      0,
      "W: JPEG 2000 codestream is signed but Pixel Representation is 0 (unsigned)" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    TempDir dir;
    Image image = MakeImage(23, 17, 1, c.prec, c.sgnd, c.prec);
    if (c.prec == 13 && !c.sgnd)
      image.comps[0][1] = 8192 - 2000; // air at -2000 HU as an unsigned 13-bit sample
    Header header = HeaderFor(image, c.bitsAllocated);
    header.pixelRepresentation = c.pixelRep;
    auto file = MakeFile(header, { Encode(image) });
    file->getDataset()->putAndInsertString(DCM_PatientName, "Interop^Signedness");
    ASSERT_TRUE(file->saveFile(dir.File("j2k.dcm").c_str(), EXS_JPEG2000LosslessOnly).good());

    const int64_t range = int64_t(1) << c.prec;
    std::vector<int64_t> expected;
    for (int32_t v : image.comps[0])
    {
      int64_t e = v;
      if (!c.sgnd && e >= range / 2)
        e -= range;
      if (c.sgnd && e < 0)
        e += range;
      expected.push_back(e);
    }
    if (c.prec == 13 && !c.sgnd)
    {
      ASSERT_EQ(expected[1], -2000);
    }

    const ProcessResult gdcm =
      RunTool({ kGdcmconv, "--raw", dir.File("j2k.dcm"), dir.File("gdcm.dcm") });
    ASSERT_EQ(gdcm.exitCode, 0) << gdcm.out;
    DcmFileFormat gdcmFile;
    ASSERT_TRUE(gdcmFile.loadFile(dir.File("gdcm.dcm").c_str()).good());
    std::vector<int64_t> gdcmValues =
      StoredValues(*gdcmFile.getDataset(), c.bitsAllocated, uint16_t(c.prec));
    gdcmValues.resize(std::min(gdcmValues.size(), expected.size()));
    EXPECT_EQ(gdcmValues, expected);

    const ProcessResult tool = RunTool({ kTool, dir.File("j2k.dcm"), dir.File("raw.dcm") });
    ASSERT_EQ(tool.exitCode, 0) << tool.out;
    EXPECT_NE(tool.out.find(c.warning), std::string::npos) << tool.out;
    DcmFileFormat raw;
    ASSERT_TRUE(raw.loadFile(dir.File("raw.dcm").c_str()).good());
    std::vector<int64_t> values = StoredValues(*raw.getDataset(), c.bitsAllocated, uint16_t(c.prec));
    values.resize(std::min(values.size(), expected.size()));
    EXPECT_EQ(values, expected);
    std::vector<int64_t> container = ContainerValues(*raw.getDataset(), c.bitsAllocated, c.pixelRep == 1);
    container.resize(std::min(container.size(), expected.size()));
    EXPECT_EQ(container, expected);
  }
}

// Colour coded with the multiple-component transform and labelled YBR_RCT or YBR_ICT comes out
// of dcmdj2k as gdcmconv --raw gives it: RGB samples by pixel, labelled RGB, Planar
// Configuration 0.
TEST(DJ2KInterop, ComponentTransformDecodesToRgbLikeGdcm)
{
  for (bool lossy : { false, true })
  {
    SCOPED_TRACE(lossy ? "YBR_ICT" : "YBR_RCT");
    TempDir dir;
    const Image image = MakeImage(31, 19, 3, 8, false, 4);
    const std::vector<uint8_t> codestream = Encode(image, false, !lossy);
    Header header = HeaderFor(image, 8);
    header.photometric = lossy ? "YBR_ICT" : "YBR_RCT";
    header.planarConfiguration = 0;
    const E_TransferSyntax xfer = lossy ? EXS_JPEG2000 : EXS_JPEG2000LosslessOnly;
    auto file = MakeFile(header, { codestream }, Packing(), xfer);
    file->getDataset()->putAndInsertString(DCM_PatientName, "Interop^Colour");
    ASSERT_TRUE(file->saveFile(dir.File("j2k.dcm").c_str(), xfer).good());

    // Lossless: the encoded RGB samples; lossy: what OpenJPEG alone decodes.
    Image expectedImage = image;
    if (lossy)
    {
      const DecodedCodestream reference = DecodeCodestream(codestream);
      ASSERT_TRUE(reference.ok);
      expectedImage.comps = reference.components;
    }
    const std::vector<uint8_t> expected = ExpectedBytes(expectedImage, 1, 0);

    const ProcessResult gdcm =
      RunTool({ kGdcmconv, "--raw", dir.File("j2k.dcm"), dir.File("gdcm.dcm") });
    ASSERT_EQ(gdcm.exitCode, 0) << gdcm.out;
    const ProcessResult tool = RunTool({ kTool, dir.File("j2k.dcm"), dir.File("raw.dcm") });
    ASSERT_EQ(tool.exitCode, 0) << tool.out;
    for (const char* name : { "gdcm.dcm", "raw.dcm" })
    {
      SCOPED_TRACE(name);
      DcmFileFormat decoded;
      ASSERT_TRUE(decoded.loadFile(dir.File(name).c_str()).good());
      DcmDataset* dataset = decoded.getDataset();
      OFString photometric;
      dataset->findAndGetOFString(DCM_PhotometricInterpretation, photometric);
      EXPECT_EQ(photometric, "RGB");
      Uint16 planar = 9;
      dataset->findAndGetUint16(DCM_PlanarConfiguration, planar);
      EXPECT_EQ(planar, 0);
      std::vector<uint8_t> bytes = NativePixelBytes(*dataset);
      bytes.resize(std::min(bytes.size(), expected.size()));
      EXPECT_EQ(bytes, expected);
    }
  }
}
