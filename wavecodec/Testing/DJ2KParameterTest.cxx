// Codec and representation parameters, conditions and logger.
#include "dj2kcparam.h"
#include "dj2krparam.h"
#include "dj2kutil.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <type_traits>

namespace
{

// A representation parameter of some other codec.
class OtherRepresentationParameter : public DcmRepresentationParameter
{
public:
  DcmRepresentationParameter* clone() const override
  {
    return new OtherRepresentationParameter(*this);
  }
  const char* className() const override { return "OtherRepresentationParameter"; }
  OFBool operator==(const DcmRepresentationParameter&) const override { return OFTrue; }
};

void ExpectSameMembers(const DJ2KCodecParameter& a, const DJ2KCodecParameter& b)
{
  EXPECT_EQ(a.getUIDCreation(), b.getUIDCreation());
  EXPECT_EQ(a.getPlanarConfiguration(), b.getPlanarConfiguration());
  EXPECT_EQ(a.ignoreOffsetTable(), b.ignoreOffsetTable());
  EXPECT_EQ(a.getForceSingleFragmentPerFrame(), b.getForceSingleFragmentPerFrame());
  EXPECT_EQ(a.getCreateOffsetTable(), b.getCreateOffsetTable());
  EXPECT_EQ(a.getFragmentSize(), b.getFragmentSize());
  EXPECT_EQ(a.getConvertToSC(), b.getConvertToSC());
  EXPECT_EQ(a.getThreadCount(), b.getThreadCount());
  EXPECT_EQ(a.getRefuseHighBits(), b.getRefuseHighBits());
}

} // namespace

TEST(DJ2KCodecParameter, DefaultConstructionCreatesOffsetTableOnly)
{
  DJ2KCodecParameter p;
  EXPECT_EQ(p.getUIDCreation(), EJ2KUC_default);
  EXPECT_EQ(p.getPlanarConfiguration(), EJ2KPC_restore);
  EXPECT_FALSE(p.ignoreOffsetTable());
  EXPECT_FALSE(p.getForceSingleFragmentPerFrame());
  EXPECT_TRUE(p.getCreateOffsetTable());
  EXPECT_EQ(p.getFragmentSize(), 0u);
  EXPECT_FALSE(p.getConvertToSC());
  EXPECT_EQ(p.getThreadCount(), 0u);
  EXPECT_FALSE(p.getRefuseHighBits());
  EXPECT_STREQ(p.className(), "DJ2KCodecParameter");
}

TEST(DJ2KCodecParameter, DecoderFormKeepsEncoderDefaults)
{
  DJ2KCodecParameter p(EJ2KUC_always, EJ2KPC_colorByPlane, OFTrue, OFTrue);
  EXPECT_EQ(p.getUIDCreation(), EJ2KUC_always);
  EXPECT_EQ(p.getPlanarConfiguration(), EJ2KPC_colorByPlane);
  EXPECT_TRUE(p.ignoreOffsetTable());
  EXPECT_TRUE(p.getForceSingleFragmentPerFrame());
  EXPECT_TRUE(p.getCreateOffsetTable());
  EXPECT_EQ(p.getFragmentSize(), 0u);
  EXPECT_FALSE(p.getConvertToSC());
  EXPECT_FALSE(p.getRefuseHighBits());
  // Without the trailing argument: one thread per processor core.
  EXPECT_EQ(p.getThreadCount(), 0u);
  EXPECT_EQ(
    DJ2KCodecParameter(EJ2KUC_default, EJ2KPC_restore, OFFalse, OFFalse, 3u).getThreadCount(), 3u);
}

TEST(DJ2KCodecParameter, EncoderFormKeepsDecoderDefaults)
{
  DJ2KCodecParameter p(OFFalse, 64u, EJ2KUC_never, OFTrue);
  EXPECT_EQ(p.getUIDCreation(), EJ2KUC_never);
  EXPECT_EQ(p.getPlanarConfiguration(), EJ2KPC_restore);
  EXPECT_FALSE(p.ignoreOffsetTable());
  EXPECT_FALSE(p.getForceSingleFragmentPerFrame());
  EXPECT_FALSE(p.getCreateOffsetTable());
  EXPECT_EQ(p.getFragmentSize(), 64u);
  EXPECT_TRUE(p.getConvertToSC());
  // Samples with bits above Bits Stored are encoded by their stored bits unless refused.
  EXPECT_FALSE(p.getRefuseHighBits());
  EXPECT_TRUE(DJ2KCodecParameter(OFFalse, 64u, EJ2KUC_never, OFTrue, OFTrue).getRefuseHighBits());
  EXPECT_EQ(p.getThreadCount(), 0u);
  EXPECT_EQ(
    DJ2KCodecParameter(OFTrue, 0u, EJ2KUC_default, OFFalse, OFFalse, 1u).getThreadCount(), 1u);
}

// A thread count given in the place of refuseHighBits (one argument too early) would turn the
// refusal on; it does not compile, while both flags and a thread count after them do.
static_assert(
  !std::is_constructible<DJ2KCodecParameter, OFBool, Uint32, J2K_UIDCreation, OFBool, Uint32>::
    value,
  "a thread count in the place of refuseHighBits");
static_assert(
  std::
    is_constructible<DJ2KCodecParameter, OFBool, Uint32, J2K_UIDCreation, OFBool, OFBool, Uint32>::
      value,
  "refuseHighBits and a thread count");

TEST(DJ2KCodecParameter, CloneAndCopyCarryEveryMember)
{
  const DJ2KCodecParameter decoderForm(EJ2KUC_always, EJ2KPC_auto, OFTrue, OFFalse, 5u);
  const DJ2KCodecParameter encoderForm(OFFalse, 17u, EJ2KUC_never, OFTrue, OFFalse, 7u);
  const DJ2KCodecParameter refusing(OFTrue, 0u, EJ2KUC_default, OFFalse, OFTrue);
  for (const DJ2KCodecParameter* original : { &decoderForm, &encoderForm, &refusing })
  {
    std::unique_ptr<DcmCodecParameter> clone(original->clone());
    auto* typed = dynamic_cast<DJ2KCodecParameter*>(clone.get());
    ASSERT_NE(typed, nullptr);
    EXPECT_STREQ(typed->className(), "DJ2KCodecParameter");
    ExpectSameMembers(*typed, *original);
    DJ2KCodecParameter copy(*original);
    ExpectSameMembers(copy, *original);
  }
}

TEST(DJ2KRepresentationParameter, DefaultsCloneAndAssignment)
{
  DJ2KRepresentationParameter def;
  EXPECT_TRUE(def.useLosslessProcess());
  EXPECT_EQ(def.getCompressionRatio(), 0.0);
  EXPECT_STREQ(def.className(), "DJ2KRepresentationParameter");

  DJ2KRepresentationParameter lossy(OFFalse, 12.5);
  std::unique_ptr<DcmRepresentationParameter> clone(lossy.clone());
  EXPECT_STREQ(clone->className(), "DJ2KRepresentationParameter");
  EXPECT_TRUE(*clone == lossy);
  EXPECT_TRUE(lossy == *clone);

  DJ2KRepresentationParameter assigned;
  assigned = lossy;
  EXPECT_FALSE(assigned.useLosslessProcess());
  EXPECT_EQ(assigned.getCompressionRatio(), 12.5);
  DJ2KRepresentationParameter copied(lossy);
  EXPECT_TRUE(copied == lossy);
}

TEST(DJ2KRepresentationParameter, Equality)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case
  {
    bool lossless1;
    double ratio1;
    bool lossless2;
    double ratio2;
    bool equal;
  };
  const Case cases[] = {
    { true, 0.0, true, 0.0, true },
    { false, 10.0, false, 10.0, true },
    { true, 0.0, false, 0.0, false },
    // The ratio counts even for the lossless process.
    { true, 0.0, true, 5.0, false },
    { false, 10.0, false, 10.000001, false },
    { false, nan, false, nan, false },
  };
  for (const Case& c : cases)
  {
    DJ2KRepresentationParameter a(c.lossless1, c.ratio1);
    DJ2KRepresentationParameter b(c.lossless2, c.ratio2);
    EXPECT_EQ(a == b, c.equal) << c.lossless1 << "/" << c.ratio1 << " vs " << c.lossless2 << "/"
                               << c.ratio2;
  }
  // A NaN ratio is not even equal to itself.
  DJ2KRepresentationParameter n(OFFalse, nan);
  EXPECT_FALSE(n == n);
}

TEST(DJ2KRepresentationParameter, OtherCodecClassIsNotEqual)
{
  DJ2KRepresentationParameter j2k;
  OtherRepresentationParameter other;
  EXPECT_FALSE(j2k == other);
}

TEST(DJ2KConditions, ModuleCodeStatusAndText)
{
  struct Case
  {
    const OFConditionConst* condition;
    unsigned short code;
    const char* text;
  };
  const Case cases[] = {
    { &EC_J2KUncompressedBufferTooSmall, 1, "Uncompressed pixel data too large for buffer" },
    { &EC_J2KCompressedBufferTooSmall, 2, "Compressed pixel data too large for buffer" },
    { &EC_J2KCodecUnsupportedImageType, 3, "Unsupported type of image for JPEG 2000 codec" },
    { &EC_J2KCodecInvalidParameters, 4, "Invalid codec parameters" },
    { &EC_J2KCodecUnsupportedValue, 5, "Unsupported value in JPEG 2000 codec" },
    { &EC_J2KInvalidCompressedData, 6, "Invalid JPEG 2000 compressed data" },
    { &EC_J2KUnsupportedBitDepth, 7, "Unsupported bit depth for JPEG 2000" },
    { &EC_J2KCannotComputeNumberOfFragments,
      8,
      "Cannot compute number of fragments for JPEG 2000 frame" },
    { &EC_J2KImageDataMismatch,
      9,
      "Image data mismatch between DICOM header and JPEG 2000 bitstream" },
    { &EC_J2KUnsupportedPhotometricInterpretation,
      10,
      "Unsupported photometric interpretation for JPEG 2000" },
    { &EC_J2KUnsupportedPixelRepresentation, 11, "Unsupported pixel representation for JPEG 2000" },
    { &EC_J2KUnsupportedImageType, 12, "Unsupported image type for JPEG 2000" },
    { &EC_J2KOpenJPEGNotAvailable, 13, "OpenJPEG library not available" },
  };
  for (const Case& c : cases)
  {
    const OFCondition cond(*c.condition);
    EXPECT_EQ(cond.module(), 200u) << c.text;
    EXPECT_EQ(cond.code(), c.code) << c.text;
    EXPECT_EQ(cond.status(), OF_error) << c.text;
    EXPECT_TRUE(cond.bad()) << c.text;
    EXPECT_STREQ(cond.text(), c.text);
  }
}

TEST(DJ2KLogger, ModuleLoggerName)
{
  EXPECT_STREQ(DCM_wavecodecLogger.getName().c_str(), "dcmtk.wavecodec");
}
