// Encoders: registration, codec variants, frame encoding and the attributes written.
#include "dj2kcodece.h"
#include "dj2kcparam.h"
#include "dj2kdecode.h"
#include "dj2kencode.h"
#include "dj2krparam.h"
#include "dj2kutil.h"

#include "DJ2KTestDataset.h"
#include "DJ2KTestStream.h"

#include "dcmtk/dcmdata/dcerror.h"
#include "dcmtk/dcmdata/dcsequen.h"
#include "dcmtk/dcmdata/dcstack.h"
#include "dcmtk/dcmdata/dcxfer.h"

#include <gtest/gtest.h>

#include <string>

using namespace dj2ktest;

namespace
{

// Registers the encoders for one test and removes them afterwards.
class Registered : public ::testing::Test
{
protected:
  void Register(OFBool createOffsetTable = OFTrue,
    Uint32 fragmentSize = 0,
    J2K_UIDCreation uidCreation = EJ2KUC_default,
    OFBool convertToSC = OFFalse,
    OFBool refuseHighBits = OFFalse)
  {
    DJ2KEncoderRegistration::registerCodecs(
      createOffsetTable, fragmentSize, uidCreation, convertToSC, refuseHighBits);
  }
  void TearDown() override { DJ2KEncoderRegistration::cleanup(); }
};

std::string GetString(DcmItem& item, const DcmTagKey& tag)
{
  OFString value;
  if (item.findAndGetOFStringArray(tag, value).bad())
  {
    return "<absent>";
  }
  return value.c_str();
}

// Every frame of sequence decodes to exactly the samples of pixels.
void ExpectExactFrames(const Image& shape,
  const std::vector<Uint8>& pixels,
  DcmPixelSequence* sequence,
  bool reversible = true)
{
  ASSERT_NE(sequence, nullptr);
  const std::vector<std::vector<Uint8>> codestreams = FrameCodestreams(sequence);
  const size_t frames = size_t(shape.frames < 1 ? 1 : shape.frames);
  ASSERT_EQ(codestreams.size(), frames);
  for (size_t f = 0; f < frames; ++f)
  {
    const DecodedCodestream decoded = DecodeCodestream(codestreams[f]);
    ASSERT_TRUE(decoded.ok) << "frame " << f;
    EXPECT_EQ(decoded.reversible, reversible);
    EXPECT_EQ(decoded.width, shape.columns);
    EXPECT_EQ(decoded.height, shape.rows);
    ASSERT_EQ(decoded.components.size(), shape.samplesPerPixel);
    for (size_t c = 0; c < shape.samplesPerPixel; ++c)
    {
      EXPECT_EQ(decoded.precision[c], shape.bitsStored);
      EXPECT_EQ(decoded.isSigned[c], shape.pixelRepresentation != 0);
      size_t mismatches = 0;
      for (size_t k = 0; k < decoded.components[c].size(); ++k)
      {
        mismatches += decoded.components[c][k] != SampleOf(shape, pixels, f, c, k);
      }
      EXPECT_EQ(mismatches, 0u) << "frame " << f << " component " << c;
    }
  }
}

// The stack DCMTK hands an encoder: the containing object, then the Pixel Data element.
DcmStack StackFor(DcmItem& item)
{
  DcmStack stack;
  DcmElement* element = nullptr;
  item.findAndGetElement(DCM_PixelData, element);
  stack.push(&item);
  stack.push(element);
  return stack;
}

const Uint16* WordsOf(DcmItem& item, Uint32& length)
{
  DcmElement* element = nullptr;
  Uint16* words = nullptr;
  item.findAndGetElement(DCM_PixelData, element);
  element->getUint16Array(words);
  length = element->getLength();
  return words;
}

} // namespace

TEST_F(Registered, RegistrationKeepsTheFirstSettingsUntilCleanup)
{
  const Image shape{ "mono8", 32, 32, 1, 8, 8, 0, 0, 3 };
  const std::vector<Uint8> pixels = MakePixels(shape);
  auto offsetTableLength = [&]() -> long
  {
    DcmDataset dataset;
    FillDataset(dataset, shape, pixels);
    DJ2KRepresentationParameter rp;
    if (dataset.chooseRepresentation(EXS_JPEG2000LosslessOnly, &rp).bad())
    {
      return -1;
    }
    DcmPixelSequence* sequence = GetPixelSequence(dataset, EXS_JPEG2000LosslessOnly);
    DcmPixelItem* table = nullptr;
    return sequence && sequence->getItem(table, 0).good() ? long(table->getLength()) : -1;
  };

  DJ2KEncoderRegistration::cleanup(); // without registration: nothing happens
  EXPECT_EQ(offsetTableLength(), -1) << "no encoder registered yet";
  Register(OFTrue);
  Register(OFFalse); // ignored while registered
  EXPECT_EQ(offsetTableLength(), 12);
  DJ2KEncoderRegistration::cleanup();
  EXPECT_EQ(offsetTableLength(), -1);
  Register(OFFalse);
  EXPECT_EQ(offsetTableLength(), 0);
}

TEST(DJ2KEncoderRegistration, LibraryVersionNamesOpenJPEG)
{
  const OFString version = DJ2KEncoderRegistration::getLibraryVersionString();
  const std::string expected = std::string("OpenJPEG, Version ") + opj_version();
  EXPECT_EQ(std::string(version.c_str()), expected);
}

TEST(DJ2KEncoderBase, ConvertsOnlyFromUncompressedToItsOwnSyntax)
{
  const DJ2KLosslessEncoder lossless;
  const DJ2KEncoder lossy;
  struct Case
  {
    E_TransferSyntax from;
    E_TransferSyntax to;
    bool lossless;
    bool lossy;
  };
  const Case cases[] = {
    { EXS_LittleEndianImplicit, EXS_JPEG2000LosslessOnly, true, false },
    { EXS_LittleEndianExplicit, EXS_JPEG2000LosslessOnly, true, false },
    { EXS_BigEndianExplicit, EXS_JPEG2000, false, true },
    { EXS_DeflatedLittleEndianExplicit, EXS_JPEG2000, false, true },
    { EXS_LittleEndianExplicit, EXS_LittleEndianImplicit, false, false },
    { EXS_JPEG2000LosslessOnly, EXS_JPEG2000, false, false },
    { EXS_JPEG2000, EXS_JPEG2000, false, false },
    { EXS_JPEG2000LosslessOnly, EXS_JPEG2000LosslessOnly, false, false },
    { EXS_JPEGProcess14SV1, EXS_JPEG2000LosslessOnly, false, false },
    { EXS_JPEG2000, EXS_LittleEndianExplicit, false, false },
  };
  for (const Case& c : cases)
  {
    EXPECT_EQ(bool(lossless.canChangeCoding(c.from, c.to)), c.lossless)
      << DcmXfer(c.from).getXferName() << " -> " << DcmXfer(c.to).getXferName();
    EXPECT_EQ(bool(lossy.canChangeCoding(c.from, c.to)), c.lossy)
      << DcmXfer(c.from).getXferName() << " -> " << DcmXfer(c.to).getXferName();
  }
}

TEST(DJ2KEncoderBase, RefusesDecodingAndTranscoding)
{
  const DJ2KEncoder encoder;
  const DJ2KCodecParameter cp(OFTrue, 0, EJ2KUC_default, OFFalse);
  DcmPixelSequence sequence(DcmTag(DCM_PixelData, EVR_OB));
  DcmPixelData pixelData(DCM_PixelData);
  DcmDataset dataset;
  DcmStack stack;
  OFBool removeOldRep = OFFalse;
  Uint32 startFragment = 0;
  Uint8 buffer[4] = { 1, 2, 3, 4 };
  OFString colorModel("unchanged");
  DcmPixelSequence* out = nullptr;

  EXPECT_EQ(
    encoder.decode(nullptr, &sequence, pixelData, &cp, stack, removeOldRep), EC_IllegalCall);
  EXPECT_FALSE(removeOldRep);
  EXPECT_EQ(
    encoder.decodeFrame(nullptr, &sequence, &cp, &dataset, 0, startFragment, buffer, 4, colorModel),
    EC_IllegalCall);
  EXPECT_EQ(startFragment, 0u);
  EXPECT_EQ(buffer[0], 1);
  EXPECT_EQ(encoder.determineDecompressedColorModel(nullptr, &sequence, &cp, &dataset, colorModel),
    EC_IllegalCall);
  EXPECT_EQ(colorModel, "unchanged");
  EXPECT_EQ(encoder.encode(
              EXS_JPEG2000LosslessOnly, nullptr, &sequence, nullptr, out, &cp, stack, removeOldRep),
    EC_IllegalCall);
  EXPECT_EQ(out, nullptr);
  EXPECT_FALSE(removeOldRep);
  EXPECT_EQ(encoder.decodedBitsAllocated(16, 12), 0);
}

// Lossless compression of each kind of image gives back exactly its samples.
TEST_F(Registered, LosslessEncodingKeepsEverySample)
{
  Register();
  const Image specs[] = {
    { "mono8", 40, 48, 1, 8, 8, 0, 0, 1 },
    { "signed8", 17, 23, 1, 8, 8, 1, 0, 1 },
    { "mono16", 64, 60, 1, 16, 16, 0, 0, 2 },
    { "unsigned12", 33, 31, 1, 16, 12, 0, 0, 1 },
    { "signed16bs12", 64, 64, 1, 16, 12, 1, 0, 3 },
    { "signed16", 20, 30, 1, 16, 16, 1, 0, 1 },
    { "rgb8", 48, 40, 3, 8, 8, 0, 0, 2 },
    { "rgb8planar", 48, 40, 3, 8, 8, 0, 1, 2 },
    { "rgb16planar", 24, 20, 3, 16, 16, 0, 1, 1 },
    // Smaller than the default 2^5 in one direction: fewer resolution levels.
    { "one pixel", 1, 1, 1, 16, 16, 0, 0, 1 },
    { "one row", 1, 300, 1, 8, 8, 0, 0, 2 },
    { "thin rgb", 40, 3, 3, 8, 8, 0, 0, 1 },
  };
  for (const Image& shape : specs)
  {
    SCOPED_TRACE(shape.name);
    for (E_TransferSyntax xfer : { EXS_JPEG2000LosslessOnly, EXS_JPEG2000 })
    {
      const std::vector<Uint8> pixels = MakePixels(shape);
      DcmDataset dataset;
      FillDataset(dataset, shape, pixels);
      const std::string uid = GetString(dataset, DCM_SOPInstanceUID);
      ASSERT_TRUE(dataset.chooseRepresentation(xfer, nullptr).good());
      ASSERT_TRUE(dataset.canWriteXfer(xfer));
      ExpectExactFrames(shape, pixels, GetPixelSequence(dataset, xfer));
      EXPECT_EQ(GetString(dataset, DCM_LossyImageCompression), "<absent>");
      EXPECT_EQ(GetString(dataset, DCM_SOPInstanceUID), uid);
      // The codestream defines the component layout: Planar Configuration 0, even for
      // input by plane.
      if (shape.samplesPerPixel > 1)
      {
        EXPECT_EQ(GetString(dataset, DCM_PlanarConfiguration), "0");
      }
    }
  }
}

// Which codec and representation parameter give which process, ratio and marks.
TEST_F(Registered, EncodingChoiceFollowsCodecAndRepresentation)
{
  Register();
  const Image shape{ "mono8", 256, 256, 1, 8, 8, 0, 0, 1 };
  const std::vector<Uint8> pixels = MakePixels(shape, 7);
  struct Case
  {
    const char* name;
    E_TransferSyntax xfer;
    bool withParameter;
    DJ2KRepresentationParameter parameter;
    bool reversible;
    double ratio; // 0 for lossless
  };
  const Case cases[] = {
    { "lossy codec, no parameter", EXS_JPEG2000, false, {}, true, 0 },
    { "lossy codec, lossless parameter", EXS_JPEG2000, true, { OFTrue, 20.0 }, true, 0 },
    { "lossless codec, lossy parameter",
      EXS_JPEG2000LosslessOnly,
      true,
      { OFFalse, 20.0 },
      true,
      0 },
    { "lossy codec, ratio 0", EXS_JPEG2000, true, { OFFalse, 0.0 }, false, 10 },
    { "lossy codec, ratio -3", EXS_JPEG2000, true, { OFFalse, -3.0 }, false, 10 },
    { "lossy codec, ratio 20", EXS_JPEG2000, true, { OFFalse, 20.0 }, false, 20 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    DcmDataset dataset;
    FillDataset(dataset, shape, pixels);
    dataset.putAndInsertString(DCM_LossyImageCompressionMethod, "ISO_10918_1");
    ASSERT_TRUE(
      dataset.chooseRepresentation(c.xfer, c.withParameter ? &c.parameter : nullptr).good());
    DcmPixelSequence* sequence = GetPixelSequence(dataset, c.xfer);
    ASSERT_NE(sequence, nullptr);
    const std::vector<std::vector<Uint8>> codestreams = FrameCodestreams(sequence);
    ASSERT_EQ(codestreams.size(), 1u);
    const DecodedCodestream decoded = DecodeCodestream(codestreams[0]);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.reversible, c.reversible);
    if (c.reversible)
    {
      ExpectExactFrames(shape, pixels, sequence);
      EXPECT_EQ(GetString(dataset, DCM_LossyImageCompression), "<absent>");
      EXPECT_EQ(GetString(dataset, DCM_LossyImageCompressionMethod), "ISO_10918_1");
      EXPECT_EQ(GetString(dataset, DCM_LossyImageCompressionRatio), "<absent>");
    }
    else
    {
      // OpenJPEG's rate allocation lands a little below the target size.
      const double target = double(shape.frameBytes()) / c.ratio;
      EXPECT_LE(double(codestreams[0].size()), target * 1.02);
      EXPECT_GE(double(codestreams[0].size()), target * 0.8);
      EXPECT_EQ(GetString(dataset, DCM_LossyImageCompression), "01");
      // Appended to the earlier method, with the achieved ratio.
      EXPECT_EQ(GetString(dataset, DCM_LossyImageCompressionMethod), "ISO_10918_1\\ISO_15444_1");
      const double achieved = double(shape.frameBytes()) / double(ItemBytes(sequence, 1).size());
      EXPECT_NEAR(std::stod(GetString(dataset, DCM_LossyImageCompressionRatio)), achieved, achieved * 1e-4);
    }
  }
}

TEST_F(Registered, OffsetTableAndFrameCount)
{
  const Image shape{ "mono16", 32, 32, 1, 16, 16, 0, 0, 3 };
  const std::vector<Uint8> pixels = MakePixels(shape);
  for (OFBool createOffsetTable : { OFTrue, OFFalse })
  {
    Register(createOffsetTable);
    DcmDataset dataset;
    FillDataset(dataset, shape, pixels);
    ASSERT_TRUE(dataset.chooseRepresentation(EXS_JPEG2000LosslessOnly, nullptr).good());
    DcmPixelSequence* sequence = GetPixelSequence(dataset, EXS_JPEG2000LosslessOnly);
    ASSERT_NE(sequence, nullptr);
    ASSERT_EQ(sequence->card(), 4u);
    const std::vector<Uint8> table = ItemBytes(sequence, 0);
    if (createOffsetTable)
    {
      ASSERT_EQ(table.size(), 12u);
      Uint32 expected = 0;
      for (unsigned f = 0; f < 3; ++f)
      {
        const Uint32 offset = Uint32(table[4 * f]) | Uint32(table[4 * f + 1]) << 8 |
                              Uint32(table[4 * f + 2]) << 16 | Uint32(table[4 * f + 3]) << 24;
        EXPECT_EQ(offset, expected) << "frame " << f;
        DcmPixelItem* item = nullptr;
        sequence->getItem(item, f + 1);
        expected += item->getLength() + 8;
      }
    }
    else
    {
      EXPECT_TRUE(table.empty());
    }
    DJ2KEncoderRegistration::cleanup();
  }

  // Number of Frames 0, negative or absent: one frame, from the start of the pixel data.
  Register();
  for (const char* frames : std::vector<const char*>{ "0", "-4", nullptr })
  {
    SCOPED_TRACE(frames ? frames : "absent");
    DcmDataset dataset;
    FillDataset(dataset, shape, pixels, frames != nullptr);
    if (frames)
    {
      dataset.putAndInsertString(DCM_NumberOfFrames, frames);
    }
    ASSERT_TRUE(dataset.chooseRepresentation(EXS_JPEG2000LosslessOnly, nullptr).good());
    DcmPixelSequence* sequence = GetPixelSequence(dataset, EXS_JPEG2000LosslessOnly);
    ASSERT_NE(sequence, nullptr);
    EXPECT_EQ(sequence->card(), 2u);
    Image one = shape;
    one.frames = 1;
    ExpectExactFrames(one, pixels, sequence);
  }
}

TEST_F(Registered, FragmentSizeSplitsFrames)
{
  Register(OFTrue, 1);
  const Image shape{ "mono16", 64, 64, 1, 16, 16, 0, 0, 2 };
  const std::vector<Uint8> pixels = MakePixels(shape);
  DcmDataset dataset;
  FillDataset(dataset, shape, pixels);
  ASSERT_TRUE(dataset.chooseRepresentation(EXS_JPEG2000LosslessOnly, nullptr).good());
  DcmPixelSequence* sequence = GetPixelSequence(dataset, EXS_JPEG2000LosslessOnly);
  ASSERT_NE(sequence, nullptr);
  EXPECT_GT(sequence->card(), 5u);
  for (unsigned long i = 1; i < sequence->card(); ++i)
  {
    EXPECT_LE(ItemBytes(sequence, i).size(), 1024u);
  }
  ExpectExactFrames(shape, pixels, sequence);
}

TEST_F(Registered, UIDCreationAndSecondaryCapture)
{
  const Image shape{ "mono8", 32, 32, 1, 8, 8, 0, 0, 1 };
  const std::vector<Uint8> pixels = MakePixels(shape);
  struct Case
  {
    J2K_UIDCreation policy;
    bool lossless;
    bool newUID;
  };
  const Case cases[] = {
    { EJ2KUC_default, true, false },
    { EJ2KUC_default, false, true },
    { EJ2KUC_always, true, true },
    { EJ2KUC_always, false, true },
    { EJ2KUC_never, true, false },
    { EJ2KUC_never, false, false },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(std::to_string(c.policy) + (c.lossless ? " lossless" : " lossy"));
    for (OFBool convertToSC : { OFFalse, OFTrue })
    {
      Register(OFTrue, 0, c.policy, convertToSC);
      DcmDataset dataset;
      FillDataset(dataset, shape, pixels);
      const std::string uid = GetString(dataset, DCM_SOPInstanceUID);
      const DJ2KRepresentationParameter rp(c.lossless, 10.0);
      ASSERT_TRUE(dataset.chooseRepresentation(EXS_JPEG2000, &rp).good());
      // A CT image converted to Secondary Capture is another instance.
      EXPECT_EQ(GetString(dataset, DCM_SOPInstanceUID) != uid, c.newUID || convertToSC);
      EXPECT_EQ(GetString(dataset, DCM_SOPClassUID),
        convertToSC ? UID_SecondaryCaptureImageStorage : UID_CTImageStorage);
      DJ2KEncoderRegistration::cleanup();
    }
  }
}

// Errors leave the data set alone and hand back no sequence.
TEST(DJ2KEncoderBase, RefusesBadInputWithItsCondition)
{
  const DJ2KEncoder encoder;
  const DJ2KCodecParameter cp(OFTrue, 0, EJ2KUC_default, OFFalse);
  const DJ2KCodecParameter refusing(OFTrue, 0, EJ2KUC_default, OFFalse, OFTrue);
  const DJ2KRepresentationParameter lossy(OFFalse, 10.0);
  const Image shape{ "mono16", 16, 16, 1, 16, 16, 0, 0, 3 };
  const std::vector<Uint8> pixels = MakePixels(shape);

  struct Case
  {
    const char* name;
    void (*edit)(DcmDataset&);
    OFConditionConst const* expected;
    Uint32 lengthCut; // bytes taken off the pixel data length
    bool refuseHighBits;
    const char* text; // start of the condition's text, nullptr: its constant text
  };
  const Case cases[] = {
    { "no Rows",
      [](DcmDataset& d) { d.findAndDeleteElement(DCM_Rows); },
      &EC_IllegalCall,
      0,
      false,
      nullptr },
    { "no Bits Stored",
      [](DcmDataset& d) { d.findAndDeleteElement(DCM_BitsStored); },
      &EC_IllegalCall,
      0,
      false,
      nullptr },
    { "Rows 0",
      [](DcmDataset& d) { d.putAndInsertUint16(DCM_Rows, 0); },
      &EC_J2KCodecInvalidParameters,
      0,
      false,
      nullptr },
    { "Samples per Pixel 0",
      [](DcmDataset& d) { d.putAndInsertUint16(DCM_SamplesPerPixel, 0); },
      &EC_J2KCodecInvalidParameters,
      0,
      false,
      nullptr },
    { "Bits Allocated 0",
      [](DcmDataset& d) { d.putAndInsertUint16(DCM_BitsAllocated, 0); },
      &EC_J2KCodecInvalidParameters,
      0,
      false,
      nullptr },
    { "Bits Allocated 12",
      [](DcmDataset& d) { d.putAndInsertUint16(DCM_BitsAllocated, 12); },
      &EC_J2KUnsupportedBitDepth,
      0,
      false,
      "Unsupported bit depth for JPEG 2000: Bits Allocated 12, supported are 8 and 16" },
    { "Bits Allocated 32",
      [](DcmDataset& d) { d.putAndInsertUint16(DCM_BitsAllocated, 32); },
      &EC_J2KUnsupportedBitDepth,
      0,
      false,
      "Unsupported bit depth for JPEG 2000: Bits Allocated 32, supported are 8 and 16" },
    { "Bits Stored above Bits Allocated",
      [](DcmDataset& d) { d.putAndInsertUint16(DCM_BitsStored, 17); },
      &EC_J2KCodecInvalidParameters,
      0,
      false,
      nullptr },
    // The 16-bit samples span the full range: refused when asked to, instead of encoding
    // their Bits Stored bits.
    { "unsigned samples beyond Bits Stored",
      [](DcmDataset& d) { d.putAndInsertUint16(DCM_BitsStored, 12); },
      &EC_J2KCodecUnsupportedValue,
      0,
      true,
      "Unsupported value in JPEG 2000 codec: frame 1: " },
    { "signed samples beyond Bits Stored",
      [](DcmDataset& d)
      {
        d.putAndInsertUint16(DCM_PixelRepresentation, 1);
        d.putAndInsertUint16(DCM_BitsStored, 15);
      },
      &EC_J2KCodecUnsupportedValue,
      0,
      true,
      "Unsupported value in JPEG 2000 codec: frame 1: " },
    { "one byte short of three frames",
      [](DcmDataset&) {},
      &EC_J2KUncompressedBufferTooSmall,
      1,
      false,
      "Uncompressed pixel data too short: 1535 bytes for 3 frames of 16 x 16 pixels, 1 sample "
      "of 2 bytes each (512 bytes per frame)" },
    { "more frames than data",
      [](DcmDataset& d) { d.putAndInsertString(DCM_NumberOfFrames, "4"); },
      &EC_J2KUncompressedBufferTooSmall,
      0,
      false,
      "Uncompressed pixel data too short: 1536 bytes for 4 frames" },
    // Three frames of 4:2:2 data hold two samples per pixel, not three.
    { "YBR_FULL_422",
      [](DcmDataset& d)
      {
        d.putAndInsertString(DCM_PhotometricInterpretation, "YBR_FULL_422");
        d.putAndInsertUint16(DCM_SamplesPerPixel, 3);
        d.putAndInsertUint16(DCM_PlanarConfiguration, 0);
        d.putAndInsertUint16(DCM_BitsAllocated, 8);
        d.putAndInsertUint16(DCM_BitsStored, 8);
        d.putAndInsertUint16(DCM_HighBit, 7);
      },
      &EC_J2KUncompressedBufferTooSmall,
      0,
      false,
      "Uncompressed pixel data too short: 1536 bytes for 3 frames of 16 x 16 pixels, 3 samples "
      "of 1 byte each (768 bytes per frame); YBR_FULL_422 pixel data share their chroma samples "
      "between two pixels, which JPEG 2000 encoding does not support" },
    // 2 x 65535^3 x 2147483647 bytes do not fit 64 bits: the size check must not wrap.
    { "frames times frame size beyond 64 bits",
      [](DcmDataset& d)
      {
        d.putAndInsertUint16(DCM_Rows, 65535);
        d.putAndInsertUint16(DCM_Columns, 65535);
        d.putAndInsertUint16(DCM_SamplesPerPixel, 65535);
        d.putAndInsertString(DCM_NumberOfFrames, "2147483647");
      },
      &EC_J2KUncompressedBufferTooSmall,
      0,
      false,
      "Uncompressed pixel data too short: 1536 bytes for 2147483647 frames" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    DcmDataset dataset;
    FillDataset(dataset, shape, pixels);
    c.edit(dataset);
    DcmDataset before(dataset);
    DcmStack stack = StackFor(dataset);
    Uint32 length = 0;
    const Uint16* words = WordsOf(dataset, length);
    DcmPixelSequence* out = nullptr;
    OFBool removeOldRep = OFFalse;
    const OFCondition result = encoder.encode(
      words, length - c.lengthCut, &lossy, out, c.refuseHighBits ? &refusing : &cp, stack, removeOldRep);
    EXPECT_EQ(result, *c.expected) << result.text();
    const std::string text = result.text();
    if (c.text == nullptr)
    {
      EXPECT_EQ(text, c.expected->theText);
    }
    else
    {
      EXPECT_EQ(text.rfind(c.text, 0), 0u) << text;
    }
    EXPECT_EQ(out, nullptr);
    EXPECT_TRUE(removeOldRep);
    EXPECT_EQ(GetString(dataset, DCM_LossyImageCompression), "<absent>");
    EXPECT_EQ(GetString(dataset, DCM_SOPInstanceUID), GetString(before, DCM_SOPInstanceUID));
  }

  // Wrong codec parameter class, or no containing item.
  DcmDataset dataset;
  FillDataset(dataset, shape, pixels);
  Uint32 length = 0;
  const Uint16* words = WordsOf(dataset, length);
  DcmPixelSequence* out = nullptr;
  OFBool removeOldRep = OFFalse;
  DcmStack stack = StackFor(dataset);
  class OtherParameter : public DcmCodecParameter
  {
  public:
    DcmCodecParameter* clone() const override { return new OtherParameter; }
    const char* className() const override { return "OtherParameter"; }
  } other;
  EXPECT_EQ(
    encoder.encode(words, length, &lossy, out, &other, stack, removeOldRep), EC_IllegalCall);
  EXPECT_EQ(
    encoder.encode(words, length, &lossy, out, nullptr, stack, removeOldRep), EC_IllegalCall);
  DcmStack onlyElement;
  onlyElement.push(stack.top());
  EXPECT_EQ(
    encoder.encode(words, length, &lossy, out, &cp, onlyElement, removeOldRep), EC_IllegalCall);
  DcmStack notAnItem;
  DcmSequenceOfItems sequenceOfItems(DCM_ReferencedImageSequence);
  notAnItem.push(&sequenceOfItems);
  notAnItem.push(stack.top());
  EXPECT_EQ(
    encoder.encode(words, length, &lossy, out, &cp, notAnItem, removeOldRep), EC_IllegalCall);
  EXPECT_EQ(out, nullptr);
}

// Pixel data in an item nested in a data set: encoded, but no attribute is written.
TEST(DJ2KEncoderBase, NestedItemGetsNoAttributes)
{
  const DJ2KEncoder encoder;
  const DJ2KCodecParameter cp(OFTrue, 0, EJ2KUC_always, OFTrue);
  const DJ2KRepresentationParameter lossy(OFFalse, 10.0);
  const Image shape{ "mono8", 16, 16, 1, 8, 8, 0, 0, 1 };
  const std::vector<Uint8> pixels = MakePixels(shape);
  DcmItem item;
  FillDataset(item, shape, pixels);
  const std::string uid = GetString(item, DCM_SOPInstanceUID);
  DcmStack stack = StackFor(item);
  Uint32 length = 0;
  const Uint16* words = WordsOf(item, length);
  DcmPixelSequence* out = nullptr;
  OFBool removeOldRep = OFFalse;
  ASSERT_EQ(encoder.encode(words, length, &lossy, out, &cp, stack, removeOldRep), EC_Normal);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(out->card(), 2u);
  EXPECT_EQ(FrameCodestreams(out).size(), 1u);
  delete out;
  EXPECT_EQ(GetString(item, DCM_LossyImageCompression), "<absent>");
  EXPECT_EQ(GetString(item, DCM_SOPInstanceUID), uid);
  EXPECT_EQ(GetString(item, DCM_SOPClassUID), UID_CTImageStorage);
}

// Lossy encoding appends the achieved ratio (the Bits Stored of every frame over the bytes of
// their fragments) to the earlier ratios and its method to the earlier methods, with empty
// methods first where there are fewer methods than ratios, as dcmcjpeg and dcmcjpls do.
TEST_F(Registered, LossyRatioAndMethodAreAppended)
{
  Register();
  const Image shape{ "ct12", 64, 48, 1, 16, 12, 0, 0, 2 };
  const std::vector<Uint8> pixels = MakePixels(shape, 5);
  struct Case
  {
    const char* name;
    const char* ratios;  // nullptr: absent
    const char* methods; // nullptr: absent
    const char* expectedRatios; // before the new ratio
    const char* expectedMethods;
  };
  const Case cases[] = {
    { "first compression", nullptr, nullptr, "", "ISO_15444_1" },
    { "after JPEG", "5.5", "ISO_10918_1", "5.5\\", "ISO_10918_1\\ISO_15444_1" },
    { "two ratios without methods", "5.5\\3", nullptr, "5.5\\3\\", "\\\\ISO_15444_1" },
    { "methods without ratio",
      nullptr,
      "ISO_10918_1\\ISO_14495_1",
      "",
      "ISO_10918_1\\ISO_14495_1\\ISO_15444_1" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    DcmDataset dataset;
    FillDataset(dataset, shape, pixels);
    if (c.ratios)
    {
      dataset.putAndInsertOFStringArray(DCM_LossyImageCompressionRatio, c.ratios);
    }
    if (c.methods)
    {
      dataset.putAndInsertOFStringArray(DCM_LossyImageCompressionMethod, c.methods);
    }
    const DJ2KRepresentationParameter rp(OFFalse, 8.0);
    ASSERT_TRUE(dataset.chooseRepresentation(EXS_JPEG2000, &rp).good());
    DcmPixelSequence* sequence = GetPixelSequence(dataset, EXS_JPEG2000);
    ASSERT_NE(sequence, nullptr);
    size_t compressed = 0;
    for (unsigned long i = 1; i < sequence->card(); ++i)
    {
      compressed += ItemBytes(sequence, i).size();
    }
    const double achieved = double(shape.rows) * shape.columns * shape.bitsStored / 8.0 *
                            shape.frames / double(compressed);
    EXPECT_EQ(GetString(dataset, DCM_LossyImageCompression), "01");
    const std::string ratios = GetString(dataset, DCM_LossyImageCompressionRatio);
    ASSERT_EQ(ratios.rfind(c.expectedRatios, 0), 0u) << ratios;
    const std::string added = ratios.substr(std::string(c.expectedRatios).size());
    EXPECT_EQ(added.find('\\'), std::string::npos) << ratios;
    EXPECT_NEAR(std::stod(added), achieved, achieved * 1e-4) << ratios;
    EXPECT_LE(added.size(), 16u); // a DS value
    const std::string methods = GetString(dataset, DCM_LossyImageCompressionMethod);
    EXPECT_EQ(methods, c.expectedMethods);
  }
}

// RGB is coded with the multiple-component transform and named by it (YBR_RCT lossless,
// YBR_ICT lossy); other colour models and grey images are coded as they are. Decoding gives
// the RGB samples back.
TEST_F(Registered, ColourIsCodedWithTheComponentTransform)
{
  Register();
  const ScopedDecoders decoders;
  struct Case
  {
    Image shape;
    const char* photometric;
    bool lossy;
    const char* expectedPhotometric;
    bool mct;
  };
  const Case cases[] = {
    { { "rgb", 48, 40, 3, 8, 8, 0, 0, 2 }, "RGB", false, "YBR_RCT", true },
    { { "rgb by plane", 48, 40, 3, 8, 8, 0, 1, 1 }, "RGB", false, "YBR_RCT", true },
    { { "rgb 16 bits", 24, 20, 3, 16, 12, 0, 0, 1 }, "RGB", false, "YBR_RCT", true },
    { { "rgb lossy", 48, 40, 3, 8, 8, 0, 0, 2 }, "RGB", true, "YBR_ICT", true },
    { { "ybr full", 48, 40, 3, 8, 8, 0, 0, 1 }, "YBR_FULL", false, "YBR_FULL", false },
    { { "ybr full lossy", 48, 40, 3, 8, 8, 0, 0, 1 }, "YBR_FULL", true, "YBR_FULL", false },
    { { "grey", 32, 32, 1, 8, 8, 0, 0, 1 }, "MONOCHROME2", false, "MONOCHROME2", false },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.shape.name);
    const std::vector<Uint8> pixels = MakePixels(c.shape, 3);
    DcmDataset dataset;
    FillDataset(dataset, c.shape, pixels);
    dataset.putAndInsertString(DCM_PhotometricInterpretation, c.photometric);
    const E_TransferSyntax xfer = c.lossy ? EXS_JPEG2000 : EXS_JPEG2000LosslessOnly;
    const DJ2KRepresentationParameter lossy(OFFalse, 8.0);
    ASSERT_TRUE(dataset.chooseRepresentation(xfer, c.lossy ? &lossy : nullptr).good());
    EXPECT_EQ(GetString(dataset, DCM_PhotometricInterpretation), c.expectedPhotometric);
    DcmPixelSequence* sequence = GetPixelSequence(dataset, xfer);
    ASSERT_NE(sequence, nullptr);
    for (const std::vector<Uint8>& codestream : FrameCodestreams(sequence))
    {
      const DecodedCodestream decoded = DecodeCodestream(codestream);
      ASSERT_TRUE(decoded.ok);
      EXPECT_EQ(decoded.mct, c.mct);
      EXPECT_EQ(decoded.reversible, !c.lossy);
    }
    if (!c.lossy)
    {
      // OpenJPEG undoes the transform: the input's samples, component by component.
      ExpectExactFrames(c.shape, pixels, sequence);
    }

    // Back to native pixels through the decoder: the input's colour model, by pixel.
    dataset.removeAllButCurrentRepresentations();
    DcmDataset decoded(dataset);
    ASSERT_TRUE(decoded.chooseRepresentation(EXS_LittleEndianExplicit, nullptr).good());
    EXPECT_EQ(GetString(decoded, DCM_PhotometricInterpretation), c.photometric);
    if (!c.lossy)
    {
      const std::vector<uint8_t> bytes = NativePixelBytes(decoded);
      ASSERT_EQ(bytes.size(), pixels.size());
      size_t mismatches = 0;
      const size_t count = size_t(c.shape.rows) * c.shape.columns;
      for (size_t f = 0; f < size_t(c.shape.frames); ++f)
      {
        for (size_t k = 0; k < count; ++k)
        {
          for (size_t s = 0; s < c.shape.samplesPerPixel; ++s)
          {
            const size_t at = f * c.shape.samplesPerFrame() + k * c.shape.samplesPerPixel + s;
            long value = bytes[at * (c.shape.bitsAllocated / 8)];
            if (c.shape.bitsAllocated == 16)
            {
              value = bytes[2 * at] | (long(bytes[2 * at + 1]) << 8);
            }
            mismatches += value != SampleOf(c.shape, pixels, f, s, k);
          }
        }
      }
      EXPECT_EQ(mismatches, 0u);
    }
  }
}

// Converting to Secondary Capture gives a new SOP Instance UID whenever the SOP Class changes,
// and completes the Modality LUT: Rescale Type is required with Rescale Intercept.
TEST_F(Registered, SecondaryCaptureConversion)
{
  const Image shape{ "mono8", 16, 16, 1, 8, 8, 0, 0, 1 };
  const std::vector<Uint8> pixels = MakePixels(shape);
  struct Case
  {
    const char* name;
    const char* sopClass;
    const char* intercept;   // nullptr: absent
    const char* rescaleType; // nullptr: absent
    J2K_UIDCreation policy;
    bool newUID;
    const char* expectedRescaleType; // nullptr: absent
  };
  const Case cases[] = {
    { "CT", UID_CTImageStorage, "-1024", nullptr, EJ2KUC_default, true, "HU" },
    { "CT, UIDs never", UID_CTImageStorage, "-1024", nullptr, EJ2KUC_never, true, "HU" },
    { "CT with its own Rescale Type", UID_CTImageStorage, "0", "OD", EJ2KUC_default, true, "OD" },
    { "CT without rescale", UID_CTImageStorage, nullptr, nullptr, EJ2KUC_default, true, nullptr },
    { "MR", UID_MRImageStorage, "10", nullptr, EJ2KUC_default, true, "US" },
    { "already Secondary Capture",
      UID_SecondaryCaptureImageStorage,
      "0",
      nullptr,
      EJ2KUC_default,
      false,
      "US" },
    { "already Secondary Capture, UIDs always",
      UID_SecondaryCaptureImageStorage,
      nullptr,
      nullptr,
      EJ2KUC_always,
      true,
      nullptr },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    Register(OFTrue, 0, c.policy, OFTrue);
    DcmDataset dataset;
    FillDataset(dataset, shape, pixels);
    dataset.putAndInsertString(DCM_SOPClassUID, c.sopClass);
    if (c.intercept)
    {
      dataset.putAndInsertString(DCM_RescaleIntercept, c.intercept);
      dataset.putAndInsertString(DCM_RescaleSlope, "1");
    }
    if (c.rescaleType)
    {
      dataset.putAndInsertString(DCM_RescaleType, c.rescaleType);
    }
    const std::string uid = GetString(dataset, DCM_SOPInstanceUID);
    ASSERT_TRUE(dataset.chooseRepresentation(EXS_JPEG2000LosslessOnly, nullptr).good());
    EXPECT_EQ(GetString(dataset, DCM_SOPClassUID), UID_SecondaryCaptureImageStorage);
    EXPECT_EQ(GetString(dataset, DCM_SOPInstanceUID) != uid, c.newUID);
    EXPECT_EQ(GetString(dataset, DCM_RescaleType),
      c.expectedRescaleType ? c.expectedRescaleType : "<absent>");
    DJ2KEncoderRegistration::cleanup();
  }
}

// Lossless encoding keeps the Bits Stored bits of every sample: bits above them (padding,
// overlays, signed samples that are not sign-extended) are dropped with a warning naming the
// frame, or refused on request. Decoding gives back each sample's stored bits, sign-extended
// when signed, in samples of Bits Allocated; colour comes back by pixel.
TEST_F(Registered, LosslessRoundTripKeepsTheStoredBits)
{
  struct Case
  {
    Image shape;
    // Changes sample k of frame f of the input (values of Bits Allocated, two's complement).
    long (*input)(long value, size_t f, size_t k);
  };
  const Case cases[] = {
    { { "16 allocated, 8 stored", 12, 10, 1, 16, 8, 0, 0, 2 }, [](long v, size_t, size_t) { return v; } },
    { { "16 allocated, 8 stored, signed", 12, 10, 1, 16, 8, 1, 0, 2 },
      [](long v, size_t, size_t) { return v; } },
    { { "16 allocated, 5 stored", 9, 14, 1, 16, 5, 0, 0, 1 }, [](long v, size_t, size_t) { return v; } },
    { { "12 stored, padding in frame 2", 16, 16, 1, 16, 12, 0, 0, 3 },
      [](long v, size_t f, size_t k) { return f == 1 && k % 7 == 3 ? v | 0xF000 : v; } },
    { { "12 stored, signed, not sign-extended", 16, 16, 1, 16, 12, 1, 0, 1 },
      [](long v, size_t, size_t) { return v & 0x0FFF; } },
    { { "12 stored, signed, other bits above", 16, 16, 1, 16, 12, 1, 0, 2 },
      [](long v, size_t f, size_t k) { return k % 5 == 0 ? (v & 0x0FFF) | 0x5000 : v; } },
    { { "8 allocated, 6 stored, overlay bit", 10, 10, 1, 8, 6, 0, 0, 1 },
      [](long v, size_t, size_t k) { return k % 4 == 0 ? v | 0x80 : v; } },
    { { "16 allocated, 8 stored, signed, high bits", 8, 8, 1, 16, 8, 1, 0, 1 },
      [](long v, size_t, size_t k) { return k % 3 == 0 ? (v & 0xFF) : v; } },
    { { "RGB by plane", 12, 10, 3, 8, 8, 0, 1, 2 }, [](long v, size_t, size_t) { return v; } },
  };
  for (const Case& c : cases)
  {
    const Image& shape = c.shape;
    SCOPED_TRACE(shape.name);
    // The input, and what it should decode to: each sample's stored bits, by pixel.
    std::vector<Uint8> pixels = MakePixels(shape, 11);
    const size_t count = size_t(shape.rows) * shape.columns;
    const size_t bytes = shape.bitsAllocated / 8;
    std::vector<Uint8> expected(pixels.size());
    std::vector<size_t> changed(size_t(shape.frames), 0);
    std::vector<long> firstChanged(size_t(shape.frames), 0);
    for (size_t f = 0; f < size_t(shape.frames); ++f)
    {
      for (size_t c2 = 0; c2 < shape.samplesPerPixel; ++c2)
      {
        for (size_t k = 0; k < count; ++k)
        {
          const long original = SampleOf(shape, pixels, f, c2, k);
          long in = c.input(original, f, k);
          // As stored in Bits Allocated: wrap to the allocated width and its signedness.
          const long allocatedRange = 1L << shape.bitsAllocated;
          in &= allocatedRange - 1;
          if (shape.pixelRepresentation && in >= allocatedRange / 2)
          {
            in -= allocatedRange;
          }
          long stored = in & ((1L << shape.bitsStored) - 1);
          if (shape.pixelRepresentation && stored >= (1L << (shape.bitsStored - 1)))
          {
            stored -= 1L << shape.bitsStored;
          }
          if (stored != in && changed[f]++ == 0)
          {
            firstChanged[f] = in;
          }
          const size_t planar = f * shape.samplesPerFrame() +
                                (shape.planarConfiguration == 1 ? c2 * count + k
                                                                : k * shape.samplesPerPixel + c2);
          const size_t byPixel = f * shape.samplesPerFrame() + k * shape.samplesPerPixel + c2;
          if (bytes == 1)
          {
            pixels[planar] = Uint8(in);
            expected[byPixel] = Uint8(stored);
          }
          else
          {
            const Uint16 inWord = Uint16(in);
            const Uint16 storedWord = Uint16(stored);
            std::memcpy(&pixels[2 * planar], &inWord, 2);
            std::memcpy(&expected[2 * byPixel], &storedWord, 2);
          }
        }
      }
    }

    for (bool refuse : { false, true })
    {
      SCOPED_TRACE(refuse ? "refusing" : "masking");
      Register(OFTrue, 0, EJ2KUC_default, OFFalse, refuse);
      DJ2KDecoderRegistration::registerCodecs();
      DcmDataset dataset;
      FillDataset(dataset, shape, pixels);
      LogCapture log;
      const OFCondition encoded = dataset.chooseRepresentation(EXS_JPEG2000LosslessOnly, nullptr);
      size_t warnings = 0;
      for (const LogCapture::Record& r : log.Records())
      {
        warnings += r.level >= OFLogger::WARN_LOG_LEVEL;
      }
      std::vector<std::string> messages;
      for (size_t f = 0; f < size_t(shape.frames); ++f)
      {
        if (changed[f] > 0)
        {
          messages.push_back("frame " + std::to_string(f + 1) + ": " + std::to_string(changed[f]) +
                             " samples have bits " +
                             (shape.pixelRepresentation ? "above Bits Stored " : "set above Bits Stored ") +
                             std::to_string(shape.bitsStored) +
                             (shape.pixelRepresentation ? " that do not repeat its sign bit" : "") +
                             " (first value " + std::to_string(firstChanged[f]) + ")");
        }
      }
      if (refuse && !messages.empty())
      {
        EXPECT_EQ(encoded, EC_J2KCodecUnsupportedValue);
        EXPECT_EQ(std::string(encoded.text()),
          std::string("Unsupported value in JPEG 2000 codec: ") + messages[0]);
        EXPECT_EQ(warnings, 0u) << log.Dump();
      }
      else
      {
        ASSERT_TRUE(encoded.good()) << encoded.text();
        EXPECT_EQ(warnings, messages.size()) << log.Dump();
        for (const std::string& m : messages)
        {
          EXPECT_TRUE(log.Contains(OFLogger::WARN_LOG_LEVEL,
            m + "; encoding only the stored bits" +
              (shape.pixelRepresentation ? ", sign-extended" : "")))
            << m << "\n"
            << log.Dump();
        }
        if (shape.samplesPerPixel > 1)
        {
          EXPECT_EQ(GetString(dataset, DCM_PlanarConfiguration), "0");
        }
        // Decode again from the codestreams alone.
        dataset.removeAllButCurrentRepresentations();
        LogCapture decodeLog;
        ASSERT_TRUE(dataset.chooseRepresentation(EXS_LittleEndianExplicit, nullptr).good());
        for (const LogCapture::Record& r : decodeLog.Records())
        {
          EXPECT_LT(r.level, OFLogger::WARN_LOG_LEVEL) << r.message;
        }
        DcmElement* element = nullptr;
        ASSERT_TRUE(dataset.findAndGetElement(DCM_PixelData, element).good());
        Uint8* decoded = nullptr;
        ASSERT_TRUE(element->getUint8Array(decoded).good());
        ASSERT_EQ(element->getLength(), Uint32(expected.size()));
        EXPECT_EQ(std::vector<Uint8>(decoded, decoded + expected.size()), expected);
        EXPECT_EQ(GetString(dataset, DCM_BitsAllocated), std::to_string(shape.bitsAllocated));
      }
      DJ2KDecoderRegistration::cleanup();
      DJ2KEncoderRegistration::cleanup();
    }
  }
}
