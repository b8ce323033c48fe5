// The encoder's in-memory output stream and the hand-over of compressed frames to DCMTK.
#include "dj2kostrm.h"

#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcerror.h"
#include "dcmtk/dcmdata/dcpixseq.h"
#include "dcmtk/dcmdata/dcpxitem.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

// The tests make the block fail to grow: under AddressSanitizer and ThreadSanitizer such an
// allocation must return null, as it does elsewhere, instead of ending the process.
extern "C" __attribute__((used, visibility("default"))) const char* __asan_default_options()
{
  return "allocator_may_return_null=1";
}
extern "C" __attribute__((used, visibility("default"))) const char* __tsan_default_options()
{
  return "allocator_may_return_null=1";
}

namespace
{

struct Buffer
{
  J2KOutputBuffer b;
  Buffer() { std::memset(&b, 0, sizeof(b)); }
  ~Buffer() { j2kOutputRelease(&b); }
  // True when every byte from..to-1 is zero.
  bool ZeroBetween(size_t from, size_t to) const
  {
    for (size_t i = from; i < to; ++i)
    {
      if (b.data[i] != 0)
      {
        return false;
      }
    }
    return true;
  }
};

} // namespace

TEST(J2KOutputBuffer, WritesGrowTheBlockGeometrically)
{
  Buffer out;
  std::vector<OPJ_BYTE> chunk(700000, 0xAB);
  EXPECT_EQ(j2kOutputWrite(chunk.data(), chunk.size(), &out.b), chunk.size());
  EXPECT_EQ(out.b.capacity, J2K_OUTPUT_CHUNK);
  EXPECT_EQ(out.b.length, chunk.size());
  EXPECT_EQ(j2kOutputWrite(chunk.data(), chunk.size(), &out.b), chunk.size());
  EXPECT_EQ(out.b.capacity, 2 * J2K_OUTPUT_CHUNK);
  std::vector<OPJ_BYTE> big(5 * J2K_OUTPUT_CHUNK, 0xCD);
  EXPECT_EQ(j2kOutputWrite(big.data(), big.size(), &out.b), big.size());
  EXPECT_EQ(out.b.capacity, 8 * J2K_OUTPUT_CHUNK);
  EXPECT_EQ(out.b.length, 2 * chunk.size() + big.size());
  EXPECT_EQ(out.b.position, out.b.length);
  EXPECT_EQ(out.b.data[0], 0xAB);
  EXPECT_EQ(out.b.data[out.b.length - 1], 0xCD);
  j2kOutputRelease(&out.b);
  EXPECT_EQ(out.b.data, nullptr);
}

// Skipping or seeking past the allocated block must leave no undefined byte below length.
TEST(J2KOutputBuffer, SkipAndSeekPastCapacityKeepLengthCovered)
{
  Buffer out;
  const OPJ_BYTE head[4] = { 0xFF, 0x4F, 0xFF, 0x51 };
  ASSERT_EQ(j2kOutputWrite(const_cast<OPJ_BYTE*>(head), 4, &out.b), 4u);

  // Skip far beyond the first block: length grows and the block covers it with zeros.
  const OPJ_OFF_T skip = OPJ_OFF_T(3 * J2K_OUTPUT_CHUNK);
  EXPECT_EQ(j2kOutputSkip(skip, &out.b), skip);
  EXPECT_EQ(out.b.length, 4 + size_t(skip));
  EXPECT_GE(out.b.capacity, out.b.length);
  EXPECT_TRUE(out.ZeroBetween(4, out.b.length));

  // Seek beyond everything, write there: the gap reads as zeros, the head is intact.
  const size_t far = 9 * J2K_OUTPUT_CHUNK + 3;
  EXPECT_TRUE(j2kOutputSeek(OPJ_OFF_T(far), &out.b));
  EXPECT_GE(out.b.capacity, far);
  const OPJ_BYTE tail[2] = { 0xFF, 0xD9 };
  ASSERT_EQ(j2kOutputWrite(const_cast<OPJ_BYTE*>(tail), 2, &out.b), 2u);
  EXPECT_EQ(out.b.length, far + 2);
  EXPECT_TRUE(out.ZeroBetween(4, far));
  EXPECT_EQ(std::memcmp(out.b.data, head, 4), 0);
  EXPECT_EQ(out.b.data[far + 1], 0xD9);

  // Seek back and overwrite: length stays, bytes change.
  EXPECT_TRUE(j2kOutputSeek(1, &out.b));
  const OPJ_BYTE patch = 0x90;
  ASSERT_EQ(j2kOutputWrite(const_cast<OPJ_BYTE*>(&patch), 1, &out.b), 1u);
  EXPECT_EQ(out.b.data[1], 0x90);
  EXPECT_EQ(out.b.length, far + 2);
  EXPECT_EQ(out.b.position, 2u);

  // Positions before the start, or that cannot be allocated, are refused unchanged.
  EXPECT_FALSE(j2kOutputSeek(-1, &out.b));
  EXPECT_EQ(j2kOutputSkip(-3, &out.b), -1);
  EXPECT_EQ(j2kOutputSkip(OPJ_OFF_T(1) << 62, &out.b), -1);
  EXPECT_EQ(out.b.position, 2u);
  EXPECT_EQ(out.b.length, far + 2);
  EXPECT_EQ(j2kOutputSkip(-2, &out.b), -2);
  EXPECT_EQ(out.b.position, 0u);
}

TEST(J2KOutputBuffer, FramesBeyond32BitsAreRefusedNotTruncated)
{
  DcmPixelSequence sequence(DcmTag(DCM_PixelData, EVR_OB));
  sequence.insert(new DcmPixelItem(DcmTag(DCM_Item, EVR_OB)));
  DcmOffsetList offsets;
  Uint8 bytes[6] = { 0xFF, 0x4F, 1, 2, 0xFF, 0xD9 };
  // The size is checked before DCMTK sees the pointer, so no such block is needed.
  for (Uint64 size : { Uint64(0x100000000ull), Uint64(0xFFFFFFFFull), Uint64(0x100000006ull) })
  {
    EXPECT_EQ(
      j2kStoreCompressedFrame(&sequence, offsets, bytes, size, 0), EC_ElemLengthExceeds32BitField);
  }
  EXPECT_EQ(sequence.card(), 1u);
  EXPECT_TRUE(offsets.empty());
  EXPECT_TRUE(j2kStoreCompressedFrame(&sequence, offsets, bytes, sizeof(bytes), 0).good());
  EXPECT_EQ(sequence.card(), 2u);
  EXPECT_EQ(offsets.size(), 1u);
}

// DCMTK takes the fragment size in kBytes and turns it into bytes in 32 bits itself.
TEST(J2KOutputBuffer, FragmentSizeArgument)
{
  EXPECT_EQ(j2kFragmentSizeArgument(0), 0u);
  EXPECT_EQ(j2kFragmentSizeArgument(1), 1u);
  EXPECT_EQ(j2kFragmentSizeArgument(4194303), 4194303u);
  // 4194304 KB is 4 GiB: beyond any frame, so no limit, instead of wrapping in DCMTK.
  EXPECT_EQ(j2kFragmentSizeArgument(4194304), 0u);
  EXPECT_EQ(j2kFragmentSizeArgument(0xFFFFFFFFu), 0u);
}
