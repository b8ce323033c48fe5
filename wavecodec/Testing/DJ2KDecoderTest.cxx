// Decoding of JPEG 2000 DICOM pixel data through DCMTK: registration, whole data sets and
// single frames, fragments, planar configuration, attributes written and error conditions.
#include "DJ2KTestDataset.h"
#include "DJ2KTestStream.h"

#include "dj2kcodecd.h"
#include "dj2kcparam.h"
#include "dj2kdecode.h"
#include "dj2kutil.h"

#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcpixel.h"
#include "dcmtk/dcmdata/dcpixseq.h"
#include "dcmtk/dcmdata/dcpxitem.h"
#include "dcmtk/dcmdata/dcsequen.h"
#include "dcmtk/dcmdata/dcstack.h"
#include "dcmtk/dcmdata/dcvrpobw.h"

#include <openjpeg.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace dj2ktest;

// Reaches the decoder's private helpers.
class DJ2KDecoderBaseTestAccess
{
public:
  static Uint32 computeNumberOfFragments(Sint32 frames,
    Uint32 current,
    Uint32 start,
    bool ignoreOffsetTable,
    DcmPixelSequence* seq)
  {
    return DJ2KDecoderBase::computeNumberOfFragments(
      frames, current, start, ignoreOffsetTable, seq);
  }
  static bool isStart(const std::vector<uint8_t>& bytes)
  {
    return DJ2KDecoderBase::isJPEG2000StartOfCodestream(
      bytes.empty() ? nullptr : bytes.data(), Uint32(bytes.size()));
  }
  static Uint16 planar(const char* sopClass, const char* photometric)
  {
    return DJ2KDecoderBase::determinePlanarConfiguration(sopClass, photometric);
  }
  static OFCondition toPlanes(Uint8* f, Uint16 c, Uint16 r)
  {
    return DJ2KDecoderBase::createPlanarConfiguration1Byte(f, c, r);
  }
  static OFCondition toPlanes(Uint16* f, Uint16 c, Uint16 r)
  {
    return DJ2KDecoderBase::createPlanarConfiguration1Word(f, c, r);
  }
  static OFCondition toPixels(Uint8* f, Uint16 c, Uint16 r)
  {
    return DJ2KDecoderBase::createPlanarConfiguration0Byte(f, c, r);
  }
  static OFCondition toPixels(Uint16* f, Uint16 c, Uint16 r)
  {
    return DJ2KDecoderBase::createPlanarConfiguration0Word(f, c, r);
  }
};

namespace
{

using Access = DJ2KDecoderBaseTestAccess;

std::vector<uint8_t> Concat(const std::vector<std::vector<uint8_t>>& parts)
{
  std::vector<uint8_t> all;
  for (const auto& p : parts)
    all.insert(all.end(), p.begin(), p.end());
  return all;
}

DcmPixelData* PixelDataOf(DcmItem& item)
{
  DcmElement* element = nullptr;
  if (item.findAndGetElement(DCM_PixelData, element).bad())
    return nullptr;
  return dynamic_cast<DcmPixelData*>(element);
}

DcmPixelSequence* SequenceOf(DcmItem& item, E_TransferSyntax xfer = EXS_JPEG2000LosslessOnly)
{
  DcmPixelSequence* seq = nullptr;
  DcmPixelData* pixelData = PixelDataOf(item);
  if (pixelData == nullptr || pixelData->getEncapsulatedRepresentation(xfer, nullptr, seq).bad())
    return nullptr;
  return seq;
}

// Calls a decoder's decode the way DCMTK does and returns the new pixel bytes.
OFCondition DirectDecode(const DJ2KDecoderBase& codec,
  DcmItem& item,
  const DJ2KCodecParameter& cp,
  std::vector<uint8_t>* bytes = nullptr,
  DcmPixelSequence* seq = nullptr)
{
  DcmPixelData* pixelData = PixelDataOf(item);
  if (seq == nullptr)
    seq = SequenceOf(item);
  DcmPolymorphOBOW target(DCM_PixelData);
  DcmStack stack;
  stack.push(&item);
  stack.push(pixelData);
  OFBool removeOldRep = OFFalse;
  const OFCondition result = codec.decode(nullptr, seq, target, &cp, stack, removeOldRep);
  EXPECT_TRUE(removeOldRep);
  if (bytes != nullptr)
  {
    Uint16* words = nullptr;
    bytes->clear();
    if (target.getUint16Array(words).good() && words != nullptr)
      bytes->assign(
        reinterpret_cast<Uint8*>(words), reinterpret_cast<Uint8*>(words) + target.getLength());
  }
  return result;
}

std::string StringOf(DcmItem& item, const DcmTagKey& tag)
{
  OFString value;
  if (item.findAndGetOFString(tag, value).bad())
    return "<absent>";
  return value.c_str();
}

int Uint16Of(DcmItem& item, const DcmTagKey& tag)
{
  Uint16 value = 0;
  if (item.findAndGetUint16(tag, value).bad())
    return -1;
  return value;
}

std::vector<uint8_t> ToPlanes(const std::vector<uint8_t>& interleaved, size_t bytesPerSample)
{
  const size_t n = interleaved.size() / (3 * bytesPerSample);
  std::vector<uint8_t> planes(interleaved.size());
  for (size_t k = 0; k < n; ++k)
    for (size_t c = 0; c < 3; ++c)
      memcpy(&planes[(c * n + k) * bytesPerSample],
        &interleaved[(k * 3 + c) * bytesPerSample],
        bytesPerSample);
  return planes;
}

class DJ2KDecoderTest : public testing::Test
{
protected:
  void TearDown() override { DJ2KDecoderRegistration::cleanup(); }
};

} // namespace

TEST(DJ2KDecoderCodecs, CanChangeCodingAndDecodedBitsAllocated)
{
  const DJ2KLosslessDecoder lossless;
  const DJ2KDecoder lossy;
  EXPECT_TRUE(lossless.canChangeCoding(EXS_JPEG2000LosslessOnly, EXS_LittleEndianExplicit));
  EXPECT_TRUE(lossless.canChangeCoding(EXS_JPEG2000LosslessOnly, EXS_LittleEndianImplicit));
  EXPECT_TRUE(lossless.canChangeCoding(EXS_JPEG2000LosslessOnly, EXS_BigEndianExplicit));
  EXPECT_FALSE(lossless.canChangeCoding(EXS_JPEG2000, EXS_LittleEndianExplicit));
  EXPECT_FALSE(lossless.canChangeCoding(EXS_JPEG2000LosslessOnly, EXS_JPEG2000));
  EXPECT_FALSE(lossless.canChangeCoding(EXS_JPEG2000LosslessOnly, EXS_JPEG2000LosslessOnly));
  EXPECT_FALSE(lossless.canChangeCoding(EXS_LittleEndianExplicit, EXS_JPEG2000LosslessOnly));
  EXPECT_TRUE(lossy.canChangeCoding(EXS_JPEG2000, EXS_LittleEndianExplicit));
  EXPECT_FALSE(lossy.canChangeCoding(EXS_JPEG2000LosslessOnly, EXS_LittleEndianExplicit));
  EXPECT_FALSE(lossy.canChangeCoding(EXS_JPEG2000, EXS_JPEG2000LosslessOnly));
  EXPECT_FALSE(lossy.canChangeCoding(EXS_LittleEndianExplicit, EXS_JPEG2000));

  const struct
  {
    Uint16 bitsStored;
    Uint16 expected;
  } cases[] = {
    { 0, 0 }, { 1, 0 }, { 2, 8 }, { 8, 8 }, { 9, 16 }, { 12, 16 }, { 16, 16 }, { 17, 0 }, { 32, 0 }
  };
  for (const auto& c : cases)
  {
    EXPECT_EQ(lossless.decodedBitsAllocated(16, c.bitsStored), c.expected) << c.bitsStored;
    EXPECT_EQ(lossy.decodedBitsAllocated(8, c.bitsStored), c.expected) << c.bitsStored;
  }

  // Decoders never encode.
  DcmPixelSequence* seq = nullptr;
  DcmStack stack;
  OFBool remove = OFFalse;
  const DJ2KCodecParameter cp;
  const Uint16 words[2] = { 0, 0 };
  EXPECT_EQ(lossless.encode(words, 4, nullptr, seq, &cp, stack, remove), EC_IllegalCall);
  EXPECT_EQ(
    lossy.encode(EXS_LittleEndianExplicit, nullptr, nullptr, nullptr, seq, &cp, stack, remove),
    EC_IllegalCall);
  EXPECT_EQ(seq, nullptr);
  EXPECT_FALSE(remove);
}

TEST_F(DJ2KDecoderTest, RegistrationLifecycle)
{
  const std::string version = DJ2KDecoderRegistration::getLibraryVersionString().c_str();
  EXPECT_EQ(version, std::string("OpenJPEG, Version ") + opj_version());

  // Without registration DCMTK has no decoder for the syntax.
  DJ2KDecoderRegistration::cleanup(); // harmless while unregistered
  const Image image = MakeImage(4, 4, 3, 8, false);
  Header header = HeaderFor(image, 8);
  auto file = MakeFile(header, { Encode(image) });
  EXPECT_TRUE(file->getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).bad());

  // The first registration's settings stay in force: colour by plane, not by pixel.
  DJ2KDecoderRegistration::registerCodecs(EJ2KUC_default, EJ2KPC_colorByPlane, OFFalse, OFFalse);
  DJ2KDecoderRegistration::registerCodecs(EJ2KUC_default, EJ2KPC_colorByPixel, OFFalse, OFFalse);
  file = MakeFile(header, { Encode(image) });
  ASSERT_TRUE(file->getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).good());
  EXPECT_EQ(Uint16Of(*file->getDataset(), DCM_PlanarConfiguration), 1);
  EXPECT_EQ(NativePixelBytes(*file->getDataset()), ToPlanes(ExpectedBytes(image, 1, 0), 1));

  // After cleanup a new registration takes its own settings.
  DJ2KDecoderRegistration::cleanup();
  DJ2KDecoderRegistration::registerCodecs(EJ2KUC_default, EJ2KPC_colorByPixel, OFFalse, OFFalse);
  header.planarConfiguration = 1;
  file = MakeFile(header, { Encode(image) });
  ASSERT_TRUE(file->getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).good());
  EXPECT_EQ(Uint16Of(*file->getDataset(), DCM_PlanarConfiguration), 0);
  EXPECT_EQ(NativePixelBytes(*file->getDataset()), ExpectedBytes(image, 1, 0));
  DJ2KDecoderRegistration::cleanup();
  DJ2KDecoderRegistration::cleanup();
}

// Bit depths, signedness, components, forms, frames, fragments and offset tables decode to the
// encoded samples, both for the whole data set and frame by frame.
TEST_F(DJ2KDecoderTest, DecodesWholeDataSetsAndSingleFrames)
{
  struct Case
  {
    const char* name;
    uint32_t prec;
    bool sgnd;
    uint32_t comps;
    uint16_t bitsAllocated;
    bool jp2;
    unsigned frames;
    unsigned fragmentsPerFrame;
    bool offsetTable;
    bool numberOfFramesAttribute;
  };
  const Case cases[] = {
    { "8-bit mono, no attribute", 8, false, 1, 8, false, 1, 1, false, false },
    { "8-bit signed mono JP2", 8, true, 1, 8, true, 1, 1, true, true },
    { "12-bit mono JP2, three fragments", 12, false, 1, 16, true, 1, 3, false, false },
    { "12-bit signed, three frames of two fragments, offset table",
      12,
      true,
      1,
      16,
      false,
      3,
      2,
      true,
      true },
    { "16-bit unsigned, three frames", 16, false, 1, 16, false, 3, 1, true, true },
    { "16-bit signed, two frames of three fragments, no offset table",
      16,
      true,
      1,
      16,
      false,
      2,
      3,
      false,
      true },
    { "8-bit RGB, two frames of three fragments", 8, false, 3, 8, false, 2, 3, true, true },
    { "16-bit RGB JP2, two frames of two fragments, no offset table",
      16,
      false,
      3,
      16,
      true,
      2,
      2,
      false,
      true },
  };
  ScopedDecoders decoders;
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    std::vector<Image> images;
    std::vector<std::vector<uint8_t>> codestreams;
    std::vector<std::vector<uint8_t>> expected;
    const uint16_t bytesPerSample = c.bitsAllocated > 8 || c.prec > 8 ? 2 : 1;
    for (unsigned f = 0; f < c.frames; ++f)
    {
      images.push_back(MakeImage(24, 17, c.comps, c.prec, c.sgnd, f + 1));
      codestreams.push_back(Encode(images.back(), c.jp2));
      ASSERT_FALSE(codestreams.back().empty());
      expected.push_back(ExpectedBytes(images.back(), bytesPerSample, c.sgnd ? 1 : 0));
    }
    Header header = HeaderFor(images[0], c.bitsAllocated);
    header.numberOfFrames = c.numberOfFramesAttribute ? int(c.frames) : -1;
    const Packing packing{ c.fragmentsPerFrame, c.offsetTable };

    // Whole data set.
    auto file = MakeFile(header, codestreams, packing);
    DcmDataset* dataset = file->getDataset();
    ASSERT_TRUE(dataset->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).good());
    EXPECT_TRUE(dataset->canWriteXfer(EXS_LittleEndianExplicit));
    EXPECT_EQ(NativePixelBytes(*dataset), Concat(expected));
    EXPECT_EQ(StringOf(*dataset, DCM_NumberOfFrames),
      c.numberOfFramesAttribute || c.frames > 1 ? std::to_string(c.frames) : "<absent>");
    EXPECT_EQ(Uint16Of(*dataset, DCM_PlanarConfiguration), c.comps == 3 ? 0 : -1);
    EXPECT_EQ(StringOf(*dataset, DCM_LossyImageCompression), "<absent>");

    // Frame by frame through DCMTK's per-frame access, once carrying the start fragment and
    // once letting DCMTK find it (which needs an offset table when frames have several
    // fragments).
    for (bool carry : { true, false })
    {
      if (!carry && !c.offsetTable && c.fragmentsPerFrame > 1 && c.frames > 1)
        continue;
      auto frameFile = MakeFile(header, codestreams, packing);
      DcmDataset* frameSet = frameFile->getDataset();
      DcmPixelData* pixelData = PixelDataOf(*frameSet);
      ASSERT_NE(pixelData, nullptr);
      Uint32 frameSize = 0;
      ASSERT_TRUE(pixelData->getUncompressedFrameSize(frameSet, frameSize).good());
      ASSERT_GE(frameSize, expected[0].size());
      Uint32 startFragment = 0;
      for (unsigned f = 0; f < c.frames; ++f)
      {
        SCOPED_TRACE(testing::Message() << "frame " << f << (carry ? " carried" : " found"));
        if (!carry)
          startFragment = 0;
        std::vector<uint8_t> buffer(frameSize, 0xEE);
        OFString colorModel;
        ASSERT_TRUE(
          pixelData
            ->getUncompressedFrame(frameSet, f, startFragment, buffer.data(), frameSize, colorModel)
            .good());
        buffer.resize(expected[f].size());
        EXPECT_EQ(buffer, expected[f]);
        EXPECT_EQ(colorModel, OFString(header.photometric));
        EXPECT_EQ(startFragment, 1 + (f + 1) * c.fragmentsPerFrame);
      }
    }
  }
}

TEST_F(DJ2KDecoderTest, NumberOfFramesFollowsThePixelSequence)
{
  ScopedDecoders decoders;
  const Image image = MakeImage(16, 16, 1, 8, false);
  const std::vector<uint8_t> codestream = Encode(image);

  // No Number of Frames and three fragments: one frame joined from all of them.
  {
    Header header = HeaderFor(image, 8);
    auto file = MakeFile(header, { codestream }, Packing{ 3, false });
    ASSERT_EQ(SequenceOf(*file->getDataset())->card(), 4u);
    ASSERT_TRUE(file->getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).good());
    EXPECT_EQ(NativePixelBytes(*file->getDataset()), ExpectedBytes(image, 1, 0));
    EXPECT_EQ(StringOf(*file->getDataset(), DCM_NumberOfFrames), "<absent>");
  }
  // Number of Frames 5 but only three items: two frames, rewritten as "2".
  {
    const Image second = MakeImage(16, 16, 1, 8, false, 9);
    Header header = HeaderFor(image, 8);
    header.numberOfFrames = 5;
    auto file = MakeFile(header, { codestream, Encode(second) }, Packing{ 1, false });
    ASSERT_TRUE(file->getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).good());
    EXPECT_EQ(NativePixelBytes(*file->getDataset()),
      Concat({ ExpectedBytes(image, 1, 0), ExpectedBytes(second, 1, 0) }));
    EXPECT_EQ(StringOf(*file->getDataset(), DCM_NumberOfFrames), "2");
  }
  // Number of Frames 0 counts as one frame and is written back as "1".
  {
    Header header = HeaderFor(image, 8);
    header.numberOfFrames = 0;
    auto file = MakeFile(header, { codestream });
    ASSERT_TRUE(file->getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).good());
    EXPECT_EQ(StringOf(*file->getDataset(), DCM_NumberOfFrames), "1");
  }
}

TEST_F(DJ2KDecoderTest, OffsetTableUseAndScanning)
{
  const Image a = MakeImage(16, 16, 1, 16, false, 1);
  const Image b = MakeImage(16, 16, 1, 16, false, 2);
  const std::vector<std::vector<uint8_t>> codestreams = { Encode(a), Encode(b) };
  const std::vector<uint8_t> expected = Concat({ ExpectedBytes(a, 2, 0), ExpectedBytes(b, 2, 0) });
  Header header = HeaderFor(a, 16);
  header.numberOfFrames = 2;

  // One fragment per frame: the offset table is never read, even when it is wrong.
  {
    auto file = MakeFile(header, codestreams, Packing{ 1, true });
    DcmPixelItem* table = nullptr;
    ASSERT_TRUE(SequenceOf(*file->getDataset())->getItem(table, 0).good());
    const Uint8 bogus[8] = { 0x10, 0, 0, 0, 0x20, 0, 0, 0 };
    table->putUint8Array(bogus, 8);
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(
      DirectDecode(DJ2KLosslessDecoder(), *file->getDataset(), DJ2KCodecParameter(), &bytes)
        .good());
    EXPECT_EQ(bytes, expected);
  }

  // Two fragments per frame with a table that puts frame 1 one fragment too early: the
  // table is followed unless it is ignored, in which case scanning finds frame 1.
  auto makeMisleading = [&]()
  {
    auto file = MakeFile(header, codestreams, Packing{ 2, true });
    DcmPixelSequence* seq = SequenceOf(*file->getDataset());
    DcmPixelItem* first = nullptr;
    DcmPixelItem* table = nullptr;
    seq->getItem(first, 1);
    seq->getItem(table, 0);
    const Uint32 offset = first->getLength() + 8;
    const Uint8 entries[8] = {
      0, 0, 0, 0, Uint8(offset), Uint8(offset >> 8), Uint8(offset >> 16), Uint8(offset >> 24)
    };
    table->putUint8Array(entries, 8);
    return file;
  };
  {
    auto file = makeMisleading();
    EXPECT_TRUE(
      DirectDecode(DJ2KLosslessDecoder(), *file->getDataset(), DJ2KCodecParameter()).bad());
  }
  {
    auto file = makeMisleading();
    std::vector<uint8_t> bytes;
    const DJ2KCodecParameter ignoreTable(EJ2KUC_default, EJ2KPC_restore, OFTrue, OFFalse);
    EXPECT_TRUE(
      DirectDecode(DJ2KLosslessDecoder(), *file->getDataset(), ignoreTable, &bytes).good());
    EXPECT_EQ(bytes, expected);
  }
  // A correct table with two fragments per frame.
  {
    auto file = MakeFile(header, codestreams, Packing{ 2, true });
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(
      DirectDecode(DJ2KLosslessDecoder(), *file->getDataset(), DJ2KCodecParameter(), &bytes)
        .good());
    EXPECT_EQ(bytes, expected);
  }
}

TEST(DJ2KDecoderFragments, ComputeNumberOfFragments)
{
  // Offset table item, then fragments whose first bytes decide whether a frame starts there.
  auto makeSequence =
    [](const std::vector<std::vector<uint8_t>>& fragments, const std::vector<Uint32>& offsets)
  {
    auto* seq = new DcmPixelSequence(DcmTag(DCM_PixelData, EVR_OB));
    auto* table = new DcmPixelItem(DcmTag(DCM_Item, EVR_OB));
    std::vector<uint8_t> bytes;
    for (Uint32 o : offsets)
      for (int s = 0; s < 32; s += 8)
        bytes.push_back(uint8_t(o >> s));
    if (!bytes.empty())
      table->putUint8Array(bytes.data(), Uint32(bytes.size()));
    seq->insert(table);
    for (const auto& f : fragments)
    {
      auto* item = new DcmPixelItem(DcmTag(DCM_Item, EVR_OB));
      if (!f.empty())
        item->putUint8Array(f.data(), Uint32(f.size()));
      seq->insert(item);
    }
    return std::unique_ptr<DcmPixelSequence>(seq);
  };
  const std::vector<uint8_t> soc = { 0xFF, 0x4F, 0xFF, 0x51 };
  const std::vector<uint8_t> jp2 = {
    0, 0, 0, 0x0C, 0x6A, 0x50, 0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A
  };
  const std::vector<uint8_t> body = { 1, 2, 3, 4, 5, 6 };
  // DCMTK pads odd values to even length, so a short fragment has 2 bytes.
  const std::vector<uint8_t> tiny = { 0xFF, 0x4F };

  // Frames of 2 and 1 fragments; offsets in the table: 0 and (4+8)+(6+8) = 26.
  auto seq = makeSequence({ soc, body, jp2 }, { 0, 26 });
  auto noTable = makeSequence({ soc, body, jp2 }, {});
  auto tinyFragment = makeSequence({ soc, tiny, soc, body }, {});
  auto perFrame = makeSequence({ soc, soc, soc }, { 7, 7, 7 });
  struct Case
  {
    const char* name;
    DcmPixelSequence* seq;
    Sint32 frames;
    Uint32 current;
    Uint32 start;
    bool ignoreTable;
    Uint32 expected;
  };
  const Case cases[] = {
    { "single frame takes the rest", seq.get(), 1, 0, 1, false, 3 },
    { "no frame count takes the rest", seq.get(), 0, 0, 2, false, 2 },
    { "last frame takes the rest", seq.get(), 2, 1, 3, false, 1 },
    { "offset table", seq.get(), 2, 0, 1, false, 2 },
    { "scan for the next codestream", seq.get(), 2, 0, 1, true, 2 },
    { "scan without table", noTable.get(), 2, 0, 1, false, 2 },
    { "one fragment per frame", perFrame.get(), 3, 1, 2, false, 1 },
    { "fragment shorter than 4 bytes continues the frame", tinyFragment.get(), 2, 0, 1, false, 2 },
    { "start at the item count", seq.get(), 1, 0, 4, false, 0 },
    { "start beyond the item count", seq.get(), 2, 1, 9, false, 0 },
    { "start far beyond, single frame", seq.get(), 1, 0, 0xFFFFFFF0u, false, 0 },
    { "frame beyond the last", seq.get(), 2, 5, 1, false, 0 },
    { "frame beyond the last, one fragment per frame", perFrame.get(), 3, 7, 1, false, 0 },
  };
  for (const Case& c : cases)
  {
    EXPECT_EQ(Access::computeNumberOfFragments(c.frames, c.current, c.start, c.ignoreTable, c.seq),
      c.expected)
      << c.name;
  }
  EXPECT_EQ(Access::computeNumberOfFragments(1, 0, 1, false, nullptr), 0u);
}

TEST(DJ2KDecoderFragments, StartOfCodestream)
{
  const struct
  {
    std::vector<uint8_t> bytes;
    bool start;
  } cases[] = {
    { {}, false },
    { { 0xFF }, false },
    { { 0xFF, 0x4F }, true },
    { { 0xFF, 0x4F, 0xFF, 0x51 }, true },
    { { 0x4F, 0xFF }, false },
    { { 0, 0, 0, 0x0C, 0x6A, 0x50, 0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A }, true },
    { { 0, 0, 0, 0x0C, 0x6A, 0x50, 0x20, 0x20, 0x0D, 0x0A, 0x87 }, false },
    { { 0, 0, 0, 0x0C, 0x6A, 0x50, 0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0B }, false },
  };
  for (const auto& c : cases)
    EXPECT_EQ(Access::isStart(c.bytes), c.start) << c.bytes.size();
}

TEST(DJ2KDecoderPlanar, DeterminePlanarConfigurationAndConverters)
{
  EXPECT_EQ(Access::planar("1.2.840.10008.5.1.1.30", "RGB"), 1);
  EXPECT_EQ(Access::planar("1.2.840.10008.5.1.4.1.1.3.1", "YBR_FULL"), 1);
  EXPECT_EQ(Access::planar("1.2.840.10008.5.1.4.1.1.6.1", "YBR_FULL"), 1);
  EXPECT_EQ(Access::planar("1.2.840.10008.5.1.4.1.1.6.1", "RGB"), 0);
  EXPECT_EQ(Access::planar("1.2.840.10008.5.1.4.1.1.6.1", "YBR_FULL_422"), 0);
  EXPECT_EQ(Access::planar("1.2.840.10008.5.1.4.1.1.7", "YBR_FULL"), 0);
  EXPECT_EQ(Access::planar("", ""), 0);

  // 2 x 2 pixels: R G B per pixel becomes all R, all G, all B, and back.
  std::vector<Uint8> bytes = { 1, 2, 3, 11, 12, 13, 21, 22, 23, 31, 32, 33 };
  const std::vector<Uint8> bytePlanes = { 1, 11, 21, 31, 2, 12, 22, 32, 3, 13, 23, 33 };
  const std::vector<Uint8> bytePixels = bytes;
  ASSERT_TRUE(Access::toPlanes(bytes.data(), 2, 2).good());
  EXPECT_EQ(bytes, bytePlanes);
  ASSERT_TRUE(Access::toPixels(bytes.data(), 2, 2).good());
  EXPECT_EQ(bytes, bytePixels);

  std::vector<Uint16> words = { 1000, 2000, 3000, 1001, 2001, 3001, 1002, 2002, 3002 };
  const std::vector<Uint16> wordPlanes = { 1000, 1001, 1002, 2000, 2001, 2002, 3000, 3001, 3002 };
  const std::vector<Uint16> wordPixels = words;
  ASSERT_TRUE(Access::toPlanes(words.data(), 3, 1).good());
  EXPECT_EQ(words, wordPlanes);
  ASSERT_TRUE(Access::toPixels(words.data(), 1, 3).good());
  EXPECT_EQ(words, wordPixels);

  EXPECT_EQ(Access::toPlanes(static_cast<Uint8*>(nullptr), 2, 2), EC_IllegalCall);
  EXPECT_EQ(Access::toPixels(static_cast<Uint16*>(nullptr), 2, 2), EC_IllegalCall);
  EXPECT_EQ(Access::toPlanes(bytes.data(), 0, 2), EC_IllegalCall);
  EXPECT_EQ(Access::toPixels(words.data(), 3, 0), EC_IllegalCall);
  EXPECT_EQ(bytes, bytePixels);
}

TEST_F(DJ2KDecoderTest, PlanarConfigurationRules)
{
  // RGB coded without the component transform, which would make the output colour by pixel.
  Image image = MakeImage(6, 5, 3, 8, false);
  image.mct = false;
  const std::vector<uint8_t> pixels = ExpectedBytes(image, 1, 0);
  const std::vector<uint8_t> planes = ToPlanes(pixels, 1);
  const char* const sc = "1.2.840.10008.5.1.4.1.1.7";
  const char* const us = "1.2.840.10008.5.1.4.1.1.6.1";
  const char* const hardcopy = "1.2.840.10008.5.1.1.30";
  struct Case
  {
    const char* name;
    J2K_PlanarConfiguration policy;
    const char* sopClass;
    const char* photometric;
    int stored; // -1 absent
    int expected;
    bool warning;
  };
  const Case cases[] = {
    { "restore keeps 1", EJ2KPC_restore, sc, "RGB", 1, 1, true },
    { "restore keeps 0", EJ2KPC_restore, us, "YBR_FULL", 0, 0, false },
    { "restore without attribute: ultrasound YBR_FULL",
      EJ2KPC_restore,
      us,
      "YBR_FULL",
      -1,
      1,
      false },
    { "restore without attribute: secondary capture", EJ2KPC_restore, sc, "RGB", -1, 0, false },
    { "restore with value 2 determines it", EJ2KPC_restore, hardcopy, "RGB", 2, 1, true },
    { "auto ignores the attribute", EJ2KPC_auto, sc, "RGB", 1, 0, true },
    { "auto for hardcopy colour", EJ2KPC_auto, hardcopy, "RGB", 0, 1, false },
    { "by pixel", EJ2KPC_colorByPixel, hardcopy, "RGB", 1, 0, true },
    { "by plane", EJ2KPC_colorByPlane, sc, "RGB", 0, 1, false },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    Header header = HeaderFor(image, 8);
    header.sopClassUID = c.sopClass;
    header.photometric = c.photometric;
    header.planarConfiguration = c.stored;
    auto file = MakeFile(header, { Encode(image) });
    const DJ2KCodecParameter cp(EJ2KUC_default, c.policy, OFFalse, OFFalse);
    std::vector<uint8_t> bytes;
    LogCapture log;
    ASSERT_TRUE(DirectDecode(DJ2KLosslessDecoder(), *file->getDataset(), cp, &bytes).good());
    EXPECT_EQ(bytes, c.expected == 1 ? planes : pixels);
    EXPECT_EQ(Uint16Of(*file->getDataset(), DCM_PlanarConfiguration), c.expected);
    EXPECT_EQ(log.Contains(OFLogger::WARN_LOG_LEVEL,
                "invalid value for PlanarConfiguration (0028,0006), should be \"0\""),
      c.warning)
      << log.Dump();
    EXPECT_EQ(log.Contains(OFLogger::DEBUG_LOG_LEVEL, "converting to planar configuration 1"),
      c.expected == 1);
  }

  // Monochrome images get no Planar Configuration.
  const Image mono = MakeImage(6, 5, 1, 8, false);
  auto file = MakeFile(HeaderFor(mono, 8), { Encode(mono) });
  const DJ2KCodecParameter byPlane(EJ2KUC_default, EJ2KPC_colorByPlane, OFFalse, OFFalse);
  ASSERT_TRUE(DirectDecode(DJ2KLosslessDecoder(), *file->getDataset(), byPlane).good());
  EXPECT_EQ(Uint16Of(*file->getDataset(), DCM_PlanarConfiguration), -1);

  // 16-bit colour by plane.
  const Image rgb16 = MakeImage(6, 5, 3, 16, false);
  file = MakeFile(HeaderFor(rgb16, 16), { Encode(rgb16) });
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(DirectDecode(DJ2KLosslessDecoder(), *file->getDataset(), byPlane, &bytes).good());
  EXPECT_EQ(bytes, ToPlanes(ExpectedBytes(rgb16, 2, 0), 2));
}

TEST_F(DJ2KDecoderTest, AttributesWrittenByTheVariants)
{
  const Image image = MakeImage(8, 8, 1, 8, false);
  const std::vector<uint8_t> codestream = Encode(image, false, false);
  Header header = HeaderFor(image, 8);
  const std::string originalUID = "1.2.826.0.1.3680043.9.7433.1.1";

  struct Case
  {
    const char* name;
    bool lossyDecoder;
    J2K_UIDCreation uidCreation;
    bool lossyMark;
    bool newUID;
  };
  const Case cases[] = {
    { "lossless, default UID", false, EJ2KUC_default, false, false },
    { "lossy, default UID", true, EJ2KUC_default, true, false },
    { "lossy, never", true, EJ2KUC_never, true, false },
    { "lossless, always", false, EJ2KUC_always, false, true },
    { "lossy, always", true, EJ2KUC_always, true, true },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    auto file = MakeFile(
      header, { codestream }, Packing(), c.lossyDecoder ? EXS_JPEG2000 : EXS_JPEG2000LosslessOnly);
    DcmDataset* dataset = file->getDataset();
    ScopedDecoders decoders(c.uidCreation);
    ASSERT_TRUE(dataset->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).good());
    EXPECT_EQ(StringOf(*dataset, DCM_LossyImageCompression), c.lossyMark ? "01" : "<absent>");
    EXPECT_EQ(StringOf(*dataset, DCM_SOPInstanceUID) != originalUID, c.newUID);
    EXPECT_EQ(StringOf(*dataset, DCM_PhotometricInterpretation), "MONOCHROME2");
    const DecodedCodestream reference = DecodeCodestream(codestream);
    ASSERT_TRUE(reference.ok);
    const std::vector<uint8_t> bytes = NativePixelBytes(*dataset);
    ASSERT_EQ(bytes.size(), reference.components[0].size());
    for (size_t k = 0; k < bytes.size(); ++k)
      ASSERT_EQ(bytes[k], std::min(255, std::max(0, reference.components[0][k]))) << k;
  }
}

// Pixel data in a nested item: Number of Frames and Planar Configuration are written there, but
// no lossy mark and no new UID anywhere.
TEST_F(DJ2KDecoderTest, NestedItem)
{
  const Image image = MakeImage(8, 8, 3, 8, false);
  Header header = HeaderFor(image, 8);
  header.numberOfFrames = 1;
  DcmFileFormat file;
  DcmDataset* dataset = file.getDataset();
  PutHeader(*dataset, HeaderFor(image, 8));
  auto* item = new DcmItem();
  PutHeader(*item, header);
  auto* pixelData = new DcmPixelData(DCM_PixelData);
  pixelData->putOriginalRepresentation(
    EXS_JPEG2000, nullptr, MakePixelSequence({ Encode(image) }, Packing()));
  item->insert(pixelData);
  auto* sequence = new DcmSequenceOfItems(DCM_IconImageSequence);
  sequence->insert(item);
  dataset->insert(sequence);

  const DJ2KCodecParameter cp(EJ2KUC_always, EJ2KPC_colorByPlane, OFFalse, OFFalse);
  std::vector<uint8_t> bytes;
  DcmPixelSequence* seq = nullptr;
  ASSERT_TRUE(pixelData->getEncapsulatedRepresentation(EXS_JPEG2000, nullptr, seq).good());
  ASSERT_TRUE(DirectDecode(DJ2KDecoder(), *item, cp, &bytes, seq).good());
  EXPECT_EQ(bytes, ToPlanes(ExpectedBytes(image, 1, 0), 1));
  EXPECT_EQ(Uint16Of(*item, DCM_PlanarConfiguration), 1);
  EXPECT_EQ(StringOf(*item, DCM_NumberOfFrames), "1");
  EXPECT_EQ(StringOf(*item, DCM_LossyImageCompression), "<absent>");
  EXPECT_EQ(StringOf(*dataset, DCM_LossyImageCompression), "<absent>");
  EXPECT_EQ(StringOf(*item, DCM_SOPInstanceUID), "1.2.826.0.1.3680043.9.7433.1.1");
  EXPECT_EQ(StringOf(*dataset, DCM_SOPInstanceUID), "1.2.826.0.1.3680043.9.7433.1.1");
}

TEST_F(DJ2KDecoderTest, ErrorConditions)
{
  const Image image = MakeImage(8, 8, 1, 8, false);
  const std::vector<uint8_t> codestream = Encode(image);
  struct Case
  {
    const char* name;
    std::function<void(DcmItem&)> change;
    OFCondition expected;
  };
  const Case cases[] = {
    { "Samples per Pixel missing",
      [](DcmItem& i) { i.findAndDeleteElement(DCM_SamplesPerPixel); },
      EC_TagNotFound },
    { "Rows missing", [](DcmItem& i) { i.findAndDeleteElement(DCM_Rows); }, EC_TagNotFound },
    { "Columns missing", [](DcmItem& i) { i.findAndDeleteElement(DCM_Columns); }, EC_TagNotFound },
    { "Bits Stored missing",
      [](DcmItem& i) { i.findAndDeleteElement(DCM_BitsStored); },
      EC_TagNotFound },
    { "Bits Allocated missing",
      [](DcmItem& i) { i.findAndDeleteElement(DCM_BitsAllocated); },
      EC_TagNotFound },
    { "High Bit missing", [](DcmItem& i) { i.findAndDeleteElement(DCM_HighBit); }, EC_TagNotFound },
    { "Samples per Pixel 2",
      [](DcmItem& i) { i.putAndInsertUint16(DCM_SamplesPerPixel, 2); },
      EC_InvalidTag },
    { "Samples per Pixel 4",
      [](DcmItem& i) { i.putAndInsertUint16(DCM_SamplesPerPixel, 4); },
      EC_InvalidTag },
    { "Rows 0", [](DcmItem& i) { i.putAndInsertUint16(DCM_Rows, 0); }, EC_InvalidTag },
    { "Columns 0", [](DcmItem& i) { i.putAndInsertUint16(DCM_Columns, 0); }, EC_InvalidTag },
    { "Bits Stored 0",
      [](DcmItem& i) { i.putAndInsertUint16(DCM_BitsStored, 0); },
      EC_J2KUnsupportedBitDepth },
    { "Bits Stored 17",
      [](DcmItem& i) { i.putAndInsertUint16(DCM_BitsStored, 17); },
      EC_J2KUnsupportedBitDepth },
    { "Rows differ from the codestream",
      [](DcmItem& i) { i.putAndInsertUint16(DCM_Rows, 4); },
      EC_J2KImageDataMismatch },
    { "three samples declared",
      [](DcmItem& i) { i.putAndInsertUint16(DCM_SamplesPerPixel, 3); },
      EC_J2KImageDataMismatch },
    { "frame larger than 4 GB",
      [](DcmItem& i)
      {
        i.putAndInsertUint16(DCM_Rows, 65535);
        i.putAndInsertUint16(DCM_Columns, 65535);
        i.putAndInsertUint16(DCM_SamplesPerPixel, 3);
        i.putAndInsertUint16(DCM_BitsStored, 16);
      },
      EC_ElemLengthExceeds32BitField },
    { "all frames larger than 4 GB",
      [](DcmItem& i)
      {
        i.putAndInsertUint16(DCM_Rows, 65535);
        i.putAndInsertUint16(DCM_Columns, 32768);
        i.putAndInsertUint16(DCM_BitsStored, 16);
        i.putAndInsertString(DCM_NumberOfFrames, "2");
      },
      EC_ElemLengthExceeds32BitField },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    auto file = MakeFile(HeaderFor(image, 8), { codestream, codestream });
    c.change(*file->getDataset());
    LogCapture log;
    std::vector<uint8_t> bytes;
    EXPECT_EQ(
      DirectDecode(DJ2KLosslessDecoder(), *file->getDataset(), DJ2KCodecParameter(), &bytes),
      c.expected);
    if (c.expected == EC_ElemLengthExceeds32BitField)
    {
      EXPECT_TRUE(log.Contains(OFLogger::WARN_LOG_LEVEL,
        "cannot decompress image because uncompressed representation "
        "would exceed maximum possible size of PixelData attribute"));
      EXPECT_TRUE(bytes.empty());
    }
    // The data set keeps its attributes on failure.
    EXPECT_EQ(StringOf(*file->getDataset(), DCM_LossyImageCompression), "<absent>");
  }

  // An unsupported depth is named with the supported ones.
  for (Uint16 bitsStored : { 0, 17 })
  {
    auto file = MakeFile(HeaderFor(image, 8), { codestream });
    file->getDataset()->putAndInsertUint16(DCM_BitsStored, bitsStored);
    const OFCondition result =
      DirectDecode(DJ2KLosslessDecoder(), *file->getDataset(), DJ2KCodecParameter());
    EXPECT_EQ(std::string(result.text()),
      "Unsupported bit depth for JPEG 2000: Bits Stored " + std::to_string(bitsStored) +
        ", supported are 1 to 16");
  }

  // No containing data set or item on the stack.
  {
    auto file = MakeFile(HeaderFor(image, 8), { codestream });
    DcmPolymorphOBOW target(DCM_PixelData);
    DcmStack stack;
    stack.push(PixelDataOf(*file->getDataset()));
    OFBool remove = OFFalse;
    const DJ2KCodecParameter cp;
    EXPECT_EQ(DJ2KLosslessDecoder().decode(
                nullptr, SequenceOf(*file->getDataset()), target, &cp, stack, remove),
      EC_InvalidTag);
    EXPECT_TRUE(remove);
  }
}

TEST_F(DJ2KDecoderTest, BadFramesFailOrAreSkipped)
{
  const Image image = MakeImage(8, 8, 1, 16, false);
  const std::vector<uint8_t> good = Encode(image);
  std::vector<uint8_t> bad = good;
  // Same start marker, garbage after it.
  for (size_t k = 2; k < bad.size(); ++k)
    bad[k] = uint8_t(k * 37);
  Header header = HeaderFor(image, 16);
  header.numberOfFrames = 3;
  const std::vector<uint8_t> expectedGood = ExpectedBytes(image, 2, 0);

  {
    auto file = MakeFile(header, { good, bad, good });
    EXPECT_EQ(DirectDecode(DJ2KLosslessDecoder(), *file->getDataset(), DJ2KCodecParameter()),
      EC_J2KInvalidCompressedData);
    EXPECT_EQ(StringOf(*file->getDataset(), DCM_NumberOfFrames), "3");
  }
  {
    auto file = MakeFile(header, { good, bad, good });
    const DJ2KCodecParameter skip(EJ2KUC_default, EJ2KPC_restore, OFFalse, OFTrue);
    std::vector<uint8_t> bytes;
    LogCapture log;
    EXPECT_TRUE(DirectDecode(DJ2KDecoder(), *file->getDataset(), skip, &bytes).good());
    EXPECT_TRUE(log.Contains(OFLogger::WARN_LOG_LEVEL,
      "JPEG 2000 bitstream invalid or incomplete, ignoring (but "
      "image is likely to be incomplete)"));
    // The bad frame stays zero, the others are decoded.
    EXPECT_EQ(
      bytes, Concat({ expectedGood, std::vector<uint8_t>(expectedGood.size(), 0), expectedGood }));
    EXPECT_EQ(StringOf(*file->getDataset(), DCM_LossyImageCompression), "01");
  }
  // Skipping covers only invalid codestreams, not a geometry mismatch.
  {
    header.rows = 4;
    auto file = MakeFile(header, { good, good, good });
    const DJ2KCodecParameter skip(EJ2KUC_default, EJ2KPC_restore, OFFalse, OFTrue);
    EXPECT_EQ(
      DirectDecode(DJ2KLosslessDecoder(), *file->getDataset(), skip), EC_J2KImageDataMismatch);
  }
  // A frame whose last fragment holds only its end marker (as a maximum fragment size leaves
  // it), without offset table: the short fragment belongs to that frame, both frames decode.
  {
    header.rows = 8;
    header.numberOfFrames = 2;
    auto file = MakeFile(header, { good, good }, Packing{ 1, false });
    DcmPixelSequence* seq = SequenceOf(*file->getDataset());
    DcmPixelItem* first = nullptr;
    ASSERT_TRUE(seq->getItem(first, 1).good());
    ASSERT_EQ(good[good.size() - 2], 0xFF);
    ASSERT_EQ(good[good.size() - 1], 0xD9);
    // The tail: the end marker, and one byte more when the rest would have odd length.
    const size_t tailSize = 2 + good.size() % 2;
    first->putUint8Array(good.data(), Uint32(good.size() - tailSize));
    auto* tail = new DcmPixelItem(DcmTag(DCM_Item, EVR_OB));
    tail->putUint8Array(good.data() + good.size() - tailSize, Uint32(tailSize));
    seq->insert(tail, 1); // after item 1: between the two codestreams
    std::vector<uint8_t> bytes;
    EXPECT_EQ(DirectDecode(DJ2KLosslessDecoder(), *file->getDataset(), DJ2KCodecParameter(), &bytes),
      EC_Normal);
    std::vector<uint8_t> expected = ExpectedBytes(image, 2, 0);
    expected.insert(expected.end(), expected.begin(), expected.end());
    EXPECT_EQ(bytes, expected);
  }
  // Only the offset table: nothing to decode.
  {
    auto file = MakeFile(HeaderFor(image, 16), {});
    EXPECT_EQ(DirectDecode(DJ2KLosslessDecoder(), *file->getDataset(), DJ2KCodecParameter()),
      EC_J2KCannotComputeNumberOfFragments);
  }
}

TEST_F(DJ2KDecoderTest, PublicDecodeFrame)
{
  const Image a = MakeImage(9, 7, 3, 12, true, 1);
  const Image b = MakeImage(9, 7, 3, 12, true, 2);
  Header header = HeaderFor(a, 16);
  header.numberOfFrames = 2;
  header.planarConfiguration = 0;
  auto file = MakeFile(header, { Encode(a), Encode(b) }, Packing{ 2, true });
  DcmDataset* dataset = file->getDataset();
  DcmPixelSequence* seq = SequenceOf(*dataset);
  const DJ2KLosslessDecoder codec;
  const DJ2KCodecParameter cp;
  const size_t frameSize = 9 * 7 * 3 * 2;
  OFString colorModel;

  // Frame 1 found by the decoder, then frame 0 at a known start.
  std::vector<uint8_t> buffer(frameSize + 4, 0x99);
  Uint32 start = 0;
  LogCapture log;
  ASSERT_TRUE(
    codec
      .decodeFrame(
        nullptr, seq, &cp, dataset, 1, start, buffer.data(), Uint32(buffer.size()), colorModel)
      .good());
  EXPECT_TRUE(log.Contains(OFLogger::DEBUG_LOG_LEVEL, "starting to decode frame 1 with fragment 3"))
    << log.Dump();
  EXPECT_EQ(start, 5u);
  EXPECT_EQ(colorModel, "RGB");
  EXPECT_EQ(
    std::vector<uint8_t>(buffer.begin(), buffer.begin() + long(frameSize)), ExpectedBytes(b, 2, 1));
  EXPECT_EQ(std::vector<uint8_t>(buffer.begin() + long(frameSize), buffer.end()),
    std::vector<uint8_t>(4, 0x99));
  start = 1;
  ASSERT_TRUE(
    codec
      .decodeFrame(
        nullptr, seq, &cp, dataset, 0, start, buffer.data(), Uint32(frameSize), colorModel)
      .good());
  EXPECT_EQ(
    std::vector<uint8_t>(buffer.begin(), buffer.begin() + long(frameSize)), ExpectedBytes(a, 2, 1));
  EXPECT_EQ(start, 3u);

  // High Bit is not needed for a single frame.
  dataset->findAndDeleteElement(DCM_HighBit);
  start = 0;
  EXPECT_TRUE(
    codec
      .decodeFrame(
        nullptr, seq, &cp, dataset, 0, start, buffer.data(), Uint32(frameSize), colorModel)
      .good());

  // A buffer one byte short is refused before anything is written.
  std::vector<uint8_t> small(frameSize - 1, 0x42);
  start = 0;
  EXPECT_EQ(codec.decodeFrame(
              nullptr, seq, &cp, dataset, 0, start, small.data(), Uint32(small.size()), colorModel),
    EC_J2KUncompressedBufferTooSmall);
  EXPECT_EQ(small, std::vector<uint8_t>(frameSize - 1, 0x42));

  // A declared frame whose byte count does not fit 32 bits is refused as well.
  {
    auto huge = MakeFile(header, { Encode(a), Encode(b) });
    huge->getDataset()->putAndInsertUint16(DCM_Rows, 65535);
    huge->getDataset()->putAndInsertUint16(DCM_Columns, 65535);
    std::vector<uint8_t> tiny(16, 0x42);
    start = 1;
    EXPECT_EQ(codec.decodeFrame(nullptr,
                SequenceOf(*huge->getDataset()),
                &cp,
                huge->getDataset(),
                0,
                start,
                tiny.data(),
                Uint32(tiny.size()),
                colorModel),
      EC_J2KUncompressedBufferTooSmall);
    EXPECT_EQ(tiny, std::vector<uint8_t>(16, 0x42));
  }

  // Start fragments and frame numbers outside the sequence.
  start = 99;
  EXPECT_EQ(codec.decodeFrame(
              nullptr, seq, &cp, dataset, 1, start, buffer.data(), Uint32(frameSize), colorModel),
    EC_J2KCannotComputeNumberOfFragments);
  start = 1;
  EXPECT_EQ(codec.decodeFrame(
              nullptr, seq, &cp, dataset, 7, start, buffer.data(), Uint32(frameSize), colorModel),
    EC_J2KCannotComputeNumberOfFragments);
  start = 0;
  EXPECT_TRUE(
    codec
      .decodeFrame(
        nullptr, seq, &cp, dataset, 7, start, buffer.data(), Uint32(frameSize), colorModel)
      .bad());

  // Bad arguments.
  start = 0;
  EXPECT_EQ(
    codec.decodeFrame(nullptr, seq, &cp, dataset, 0, start, nullptr, Uint32(frameSize), colorModel),
    EC_IllegalCall);
  EXPECT_EQ(
    codec.decodeFrame(
      nullptr, nullptr, &cp, dataset, 0, start, buffer.data(), Uint32(frameSize), colorModel),
    EC_IllegalCall);
  dataset->putAndInsertUint16(DCM_BitsStored, 20);
  EXPECT_EQ(codec.decodeFrame(
              nullptr, seq, &cp, dataset, 0, start, buffer.data(), Uint32(frameSize), colorModel),
    EC_J2KUnsupportedBitDepth);
}

TEST(DJ2KDecoderColorModel, DetermineDecompressedColorModel)
{
  const DJ2KDecoder codec;
  OFString model = "unchanged";
  EXPECT_EQ(codec.determineDecompressedColorModel(nullptr, nullptr, nullptr, nullptr, model),
    EC_IllegalParameter);

  DcmItem item;
  {
    LogCapture log;
    EXPECT_EQ(codec.determineDecompressedColorModel(nullptr, nullptr, nullptr, &item, model),
      EC_MissingAttribute);
    EXPECT_TRUE(log.Contains(OFLogger::WARN_LOG_LEVEL,
      "mandatory element PhotometricInterpretation (0028,0004) is missing"));
  }
  item.putAndInsertString(DCM_PhotometricInterpretation, "");
  {
    LogCapture log;
    EXPECT_EQ(codec.determineDecompressedColorModel(nullptr, nullptr, nullptr, &item, model),
      EC_MissingValue);
    EXPECT_TRUE(log.Contains(OFLogger::WARN_LOG_LEVEL,
      "no value for mandatory element PhotometricInterpretation (0028,0004)"))
      << log.Dump();
  }
  // JPEG 2000's component transforms decode to RGB; other models stay as they are.
  const struct
  {
    const char* photometric;
    const char* model;
  } models[] = { { "YBR_FULL", "YBR_FULL" },
    { "YBR_RCT", "RGB" },
    { "YBR_ICT", "RGB" },
    { "RGB", "RGB" },
    { "MONOCHROME2", "MONOCHROME2" } };
  for (const auto& m : models)
  {
    item.putAndInsertString(DCM_PhotometricInterpretation, m.photometric);
    EXPECT_TRUE(
      codec.determineDecompressedColorModel(nullptr, nullptr, nullptr, &item, model).good());
    EXPECT_EQ(model, m.model) << m.photometric;
  }
}

// A codestream coded with the multiple-component transform (YBR_RCT, YBR_ICT) decodes to RGB
// samples interleaved by pixel: the native data set says RGB and Planar Configuration 0,
// unless colour by plane was asked for. Without a transform the label stays.
TEST_F(DJ2KDecoderTest, ColourAfterTheComponentTransform)
{
  struct Case
  {
    const char* name;
    const char* photometric;
    bool mct;
    bool lossy;
    uint32_t prec;
    int storedPlanar; // -1 absent
    J2K_PlanarConfiguration policy;
    const char* expectedPhotometric;
    int expectedPlanar;
  };
  const Case cases[] = {
    { "YBR_RCT", "YBR_RCT", true, false, 8, 0, EJ2KPC_restore, "RGB", 0 },
    { "YBR_RCT, 16 bits", "YBR_RCT", true, false, 16, -1, EJ2KPC_restore, "RGB", 0 },
    { "YBR_ICT", "YBR_ICT", true, true, 8, 0, EJ2KPC_restore, "RGB", 0 },
    { "YBR_RCT stored by plane", "YBR_RCT", true, false, 8, 1, EJ2KPC_restore, "RGB", 0 },
    { "YBR_RCT, automatic", "YBR_RCT", true, false, 8, 1, EJ2KPC_auto, "RGB", 0 },
    { "YBR_RCT, colour by plane asked for",
      "YBR_RCT",
      true,
      false,
      8,
      0,
      EJ2KPC_colorByPlane,
      "RGB",
      1 },
    { "transform under an RGB label", "RGB", true, false, 8, 0, EJ2KPC_restore, "RGB", 0 },
    { "transform under a YBR_FULL label",
      "YBR_FULL",
      true,
      false,
      8,
      0,
      EJ2KPC_restore,
      "RGB",
      0 },
    { "YBR_FULL without transform", "YBR_FULL", false, false, 8, 0, EJ2KPC_restore, "YBR_FULL", 0 },
    { "RGB without transform, by plane", "RGB", false, false, 8, 1, EJ2KPC_restore, "RGB", 1 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    std::vector<Image> images;
    std::vector<std::vector<uint8_t>> codestreams;
    for (uint32_t seed : { 1u, 2u })
    {
      images.push_back(MakeImage(12, 10, 3, c.prec, false, seed));
      images.back().mct = c.mct;
      codestreams.push_back(Encode(images.back(), false, !c.lossy));
      ASSERT_FALSE(codestreams.back().empty());
    }
    const uint16_t bytesPerSample = c.prec > 8 ? 2 : 1;
    // Lossless: the encoded samples; lossy: what OpenJPEG alone decodes.
    std::vector<uint8_t> interleaved;
    for (size_t f = 0; f < images.size(); ++f)
    {
      Image expected = images[f];
      if (c.lossy)
      {
        const DecodedCodestream reference = DecodeCodestream(codestreams[f]);
        ASSERT_TRUE(reference.ok);
        expected.comps = reference.components;
      }
      const std::vector<uint8_t> bytes = ExpectedBytes(expected, bytesPerSample, 0);
      interleaved.insert(interleaved.end(), bytes.begin(), bytes.end());
    }
    Header header = HeaderFor(images[0], c.prec > 8 ? 16 : 8);
    header.photometric = c.photometric;
    header.planarConfiguration = c.storedPlanar;
    header.numberOfFrames = 2;
    const E_TransferSyntax xfer = c.lossy ? EXS_JPEG2000 : EXS_JPEG2000LosslessOnly;
    const DJ2KCodecParameter cp(EJ2KUC_default, c.policy, OFFalse, OFFalse);

    // Whole data set.
    auto file = MakeFile(header, codestreams, Packing(), xfer);
    std::vector<uint8_t> bytes;
    DcmPixelSequence* seq = SequenceOf(*file->getDataset(), xfer);
    if (c.lossy)
      ASSERT_TRUE(DirectDecode(DJ2KDecoder(), *file->getDataset(), cp, &bytes, seq).good());
    else
      ASSERT_TRUE(DirectDecode(DJ2KLosslessDecoder(), *file->getDataset(), cp, &bytes, seq).good());
    const size_t frameBytes = interleaved.size() / 2;
    std::vector<uint8_t> expected = interleaved;
    if (c.expectedPlanar == 1)
    {
      expected = ToPlanes(std::vector<uint8_t>(interleaved.begin(), interleaved.begin() + long(frameBytes)), bytesPerSample);
      const std::vector<uint8_t> second = ToPlanes(
        std::vector<uint8_t>(interleaved.begin() + long(frameBytes), interleaved.end()), bytesPerSample);
      expected.insert(expected.end(), second.begin(), second.end());
    }
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(StringOf(*file->getDataset(), DCM_PhotometricInterpretation), c.expectedPhotometric);
    EXPECT_EQ(Uint16Of(*file->getDataset(), DCM_PlanarConfiguration), c.expectedPlanar);

    // One frame: the colour model says RGB, the still compressed data set keeps its label.
    auto frameFile = MakeFile(header, codestreams, Packing(), xfer);
    DcmDataset* frameSet = frameFile->getDataset();
    std::vector<uint8_t> buffer(frameBytes);
    Uint32 start = 0;
    OFString model;
    const DJ2KLosslessDecoder lossless;
    const DJ2KDecoder lossy;
    const DJ2KDecoderBase& codec = c.lossy ? static_cast<const DJ2KDecoderBase&>(lossy) : lossless;
    ASSERT_TRUE(codec
                  .decodeFrame(nullptr,
                    SequenceOf(*frameSet, xfer),
                    &cp,
                    frameSet,
                    1,
                    start,
                    buffer.data(),
                    Uint32(buffer.size()),
                    model)
                  .good());
    EXPECT_EQ(buffer, std::vector<uint8_t>(expected.begin() + long(frameBytes), expected.end()));
    EXPECT_EQ(model, c.expectedPhotometric);
    EXPECT_EQ(StringOf(*frameSet, DCM_PhotometricInterpretation), c.photometric);
  }
}

TEST_F(DJ2KDecoderTest, LogRecordsCarryTheDecoderSourceLocation)
{
  ScopedDecoders decoders;
  const Image image = MakeImage(8, 8, 1, 8, false);
  auto file = MakeFile(HeaderFor(image, 8), { Encode(image) });
  LogCapture log;
  ASSERT_TRUE(file->getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).good());
  ASSERT_TRUE(log.Contains(OFLogger::DEBUG_LOG_LEVEL, "JPEG 2000 decoder processes frame 1"))
    << log.Dump();
  for (const LogCapture::Record& r : log.Records())
    EXPECT_NE(r.file.find("wavecodec/libsrc/dj2kcodecd/"), std::string::npos)
      << r.file << ": " << r.message;
}
