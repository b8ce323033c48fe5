// Decoding of single codestreams into frame buffers: forms, geometry, sample conversion,
// buffer checks, stream callbacks and OpenJPEG message forwarding.
#include "DJ2KTestDataset.h"
#include "DJ2KTestStream.h"

#include "dj2kdecj2k.h"
#include "dj2kutil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using dj2ktest::Encode;
using dj2ktest::Image;
using dj2ktest::LogCapture;
using dj2ktest::MakeImage;

namespace
{

OFCondition Decode(std::vector<uint8_t> bytes,
  std::vector<uint8_t>& buffer,
  uint16_t columns,
  uint16_t rows,
  uint16_t samples,
  uint16_t bytesPerSample,
  uint16_t pixelRep)
{
  return decodeJPEG2000(bytes.empty() ? nullptr : bytes.data(),
    bytes.size(),
    buffer.data(),
    Uint32(buffer.size()),
    columns,
    rows,
    samples,
    bytesPerSample,
    pixelRep);
}

Image RowImage(const std::vector<int32_t>& values, uint32_t prec, bool sgnd)
{
  Image image("row", 1, Uint16(values.size()), 1, prec > 8 ? 16 : 8, Uint16(prec), sgnd, 0, 1);
  image.comps = { values };
  return image;
}

} // namespace

TEST(DJ2KCodestream, SampleConversionTable)
{
  struct Case
  {
    uint32_t prec;
    bool sgnd;
    uint16_t pixelRep;
    uint16_t bytesPerSample;
    std::vector<int32_t> in;
    std::vector<int32_t> out; // as the signed or unsigned DICOM value
  };
  const Case cases[] = {
    // unsigned, R = 0: clamped to the unsigned range
    { 12, false, 0, 2, { 0, 1, 2048, 4095 }, { 0, 1, 2048, 4095 } },
    { 16, false, 0, 1, { 0, 255, 256, 65535 }, { 0, 255, 255, 255 } },
    { 8, false, 0, 1, { 0, 128, 255, 7 }, { 0, 128, 255, 7 } },
    // unsigned, R = 1: two's complement of the codestream's precision
    { 12, false, 1, 2, { 0, 2047, 2048, 4095 }, { 0, 2047, -2048, -1 } },
    { 13, false, 1, 2, { 6192, 0, 4095, 4096, 8191 }, { -2000, 0, 4095, -4096, -1 } },
    { 16, false, 1, 2, { 0, 32768, 65535, 1 }, { 0, -32768, -1, 1 } },
    { 8, false, 1, 1, { 0, 128, 255, 1 }, { 0, -128, -1, 1 } },
    { 12, false, 1, 1, { 0, 127, 2047, 2048 }, { 0, 127, 127, -128 } },
    // unsigned, R = 2: clamped to the signed range, not shifted
    { 8, false, 2, 1, { 0, 127, 128, 255 }, { 0, 127, 127, 127 } },
    { 16, false, 2, 2, { 0, 32767, 32768, 65535 }, { 0, 32767, 32767, 32767 } },
    // signed, R = 0: the two's complement bit pattern of the codestream's precision
    { 8, true, 0, 1, { -128, -1, 0, 127 }, { 128, 255, 0, 127 } },
    { 16, true, 0, 2, { -32768, 0, 32767, -1 }, { 32768, 0, 32767, 65535 } },
    { 12, true, 0, 2, { -2048, -1, 0, 2047 }, { 2048, 4095, 0, 2047 } },
    { 12, true, 0, 1, { -2048, 0, 100, -129 }, { 255, 0, 100, 255 } },
    // signed, R != 0: clamped to the signed range
    { 16, true, 1, 2, { -32768, -1, 0, 32767 }, { -32768, -1, 0, 32767 } },
    { 12, true, 1, 1, { -2048, -128, 127, 2047 }, { -128, -128, 127, 127 } },
    { 8, true, 3, 1, { -128, -5, 5, 127 }, { -128, -5, 5, 127 } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "prec " << c.prec << " sgnd " << c.sgnd << " R "
                                    << c.pixelRep << " bytes " << c.bytesPerSample);
    const std::vector<uint8_t> codestream = Encode(RowImage(c.in, c.prec, c.sgnd));
    ASSERT_FALSE(codestream.empty());
    std::vector<uint8_t> buffer(c.in.size() * c.bytesPerSample, 0xAB);
    LogCapture log;
    ASSERT_TRUE(
      Decode(codestream, buffer, uint16_t(c.in.size()), 1, 1, c.bytesPerSample, c.pixelRep).good());
    for (size_t k = 0; k < c.out.size(); ++k)
    {
      int32_t got;
      const bool signedOut = c.pixelRep != 0;
      if (c.bytesPerSample == 1)
        got = signedOut ? int32_t(int8_t(buffer[k])) : int32_t(buffer[k]);
      else
      {
        uint16_t w;
        memcpy(&w, &buffer[2 * k], 2);
        got = signedOut ? int32_t(int16_t(w)) : int32_t(w);
      }
      EXPECT_EQ(got, c.out[k]) << "sample " << k;
    }

    // A signedness that differs from Pixel Representation 0 or 1 is named in a warning.
    const std::string bits = std::to_string(c.prec) + "-bit";
    std::string warning;
    if (!c.sgnd && c.pixelRep == 1)
      warning = "JPEG 2000 codestream is unsigned but Pixel Representation is 1 (signed): "
                "reading the " +
                bits + " samples as two's complement";
    if (c.sgnd && c.pixelRep == 0)
      warning = "JPEG 2000 codestream is signed but Pixel Representation is 0 (unsigned): "
                "keeping the " +
                bits + " two's complement samples as unsigned values";
    size_t warnings = 0;
    for (const LogCapture::Record& r : log.Records())
      warnings += r.level == OFLogger::WARN_LOG_LEVEL;
    EXPECT_EQ(warnings, warning.empty() ? 0u : 1u) << log.Dump();
    if (!warning.empty())
    {
      EXPECT_TRUE(log.Contains(OFLogger::WARN_LOG_LEVEL, warning)) << log.Dump();
    }
  }
}

TEST(DJ2KCodestream, ComponentsInterleavedByPixelAndJP2LikeRaw)
{
  const Image image = MakeImage(5, 3, 3, 8, false);
  const std::vector<uint8_t> expected = dj2ktest::ExpectedBytes(image, 1, 0);
  for (bool jp2 : { false, true })
  {
    SCOPED_TRACE(jp2 ? "JP2" : "raw");
    std::vector<uint8_t> buffer(expected.size());
    ASSERT_TRUE(Decode(Encode(image, jp2), buffer, 5, 3, 3, 1, 0).good());
    EXPECT_EQ(buffer, expected);
    // R0 G0 B0 R1 ...
    EXPECT_EQ(buffer[0], uint8_t(image.comps[0][0]));
    EXPECT_EQ(buffer[1], uint8_t(image.comps[1][0]));
    EXPECT_EQ(buffer[2], uint8_t(image.comps[2][0]));
    EXPECT_EQ(buffer[3], uint8_t(image.comps[0][1]));
  }
}

TEST(DJ2KCodestream, DebugMessagesOfASuccessfulDecode)
{
  const Image image = MakeImage(4, 3, 1, 8, false);
  std::vector<uint8_t> buffer(12);
  LogCapture log;
  ASSERT_TRUE(Decode(Encode(image), buffer, 4, 3, 1, 1, 0).good());
  const int debug = OFLogger::DEBUG_LOG_LEVEL;
  EXPECT_TRUE(log.Contains(debug,
    "decodeJPEG2000: j2kSize=" + std::to_string(Encode(image).size()) +
      ", bufSize=12, expected 4x3x1, bytesPerSample=1, pixelRep=0"))
    << log.Dump();
  EXPECT_TRUE(log.Contains(debug, "First 4 bytes of J2K data: 0xff 0x4f 0xff 0x51")) << log.Dump();
  EXPECT_TRUE(log.Contains(debug, "Detected J2K codestream format"));
  EXPECT_TRUE(log.Contains(debug, "JPEG 2000 image: 4x3, 1 components"));
  EXPECT_TRUE(log.Contains(debug, "  Component 0: 4x3, prec=8, sgnd=0, dx=1, dy=1"));
  EXPECT_TRUE(log.Contains(debug, "Component dimensions: 4x3, pixelCount=12"));
  EXPECT_TRUE(log.ContainsPrefix(debug, "Component 0 value range (sampled): min=0, max=255"));
  EXPECT_TRUE(log.Contains(debug, "Successfully decoded 12 pixels to buffer"));

  LogCapture jp2Log;
  ASSERT_TRUE(Decode(Encode(image, true), buffer, 4, 3, 1, 1, 0).good());
  EXPECT_TRUE(jp2Log.Contains(debug, "Detected JP2 file format"));
}

TEST(DJ2KCodestream, UnrecognisedOrTruncatedInput)
{
  const std::vector<uint8_t> jp2Signature = {
    0x00, 0x00, 0x00, 0x0C, 0x6A, 0x50, 0x20, 0x20, 0x0D, 0x0A, 0x87
  };
  struct Case
  {
    const char* name;
    std::vector<uint8_t> bytes;
    bool detectedJ2K;
  };
  const Case cases[] = {
    { "empty", {}, false },
    { "one byte", { 0xFF }, false },
    { "SOC only", { 0xFF, 0x4F }, true },
    { "SOC and one byte", { 0xFF, 0x4F, 0xFF }, true },
    { "11 bytes of the JP2 signature", jp2Signature, false },
    { "JPEG baseline", { 0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10 }, false },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> buffer(16, 0x5A);
    LogCapture log;
    EXPECT_EQ(Decode(c.bytes, buffer, 4, 4, 1, 1, 0), EC_J2KInvalidCompressedData);
    EXPECT_EQ(buffer, std::vector<uint8_t>(16, 0x5A));
    EXPECT_EQ(log.ContainsPrefix(OFLogger::DEBUG_LOG_LEVEL, "First 4 bytes"), c.bytes.size() >= 4)
      << log.Dump();
    if (c.detectedJ2K)
    {
      EXPECT_TRUE(log.Contains(OFLogger::DEBUG_LOG_LEVEL, "Detected J2K codestream format"));
      EXPECT_TRUE(log.Contains(OFLogger::ERROR_LOG_LEVEL, "Failed to read JPEG 2000 header"))
        << log.Dump();
    }
    else
    {
      EXPECT_TRUE(log.Contains(OFLogger::ERROR_LOG_LEVEL,
        "Unable to determine JPEG 2000 codec format - first bytes "
        "don't match known signatures"));
    }
  }
}

TEST(DJ2KCodestream, GeometryMismatch)
{
  const std::vector<uint8_t> codestream = Encode(MakeImage(512, 512, 1, 8, false));
  struct Case
  {
    uint16_t columns, rows, samples;
    const char* message;
  };
  const Case cases[] = {
    { 512, 256, 1, "JPEG 2000 image dimensions mismatch: expected 512x256x1, got 512x512x1" },
    { 256, 512, 1, "JPEG 2000 image dimensions mismatch: expected 256x512x1, got 512x512x1" },
    { 512, 512, 3, "JPEG 2000 image dimensions mismatch: expected 512x512x3, got 512x512x1" },
  };
  for (const Case& c : cases)
  {
    std::vector<uint8_t> buffer(size_t(c.columns) * c.rows * c.samples, 0x11);
    LogCapture log;
    EXPECT_EQ(
      Decode(codestream, buffer, c.columns, c.rows, c.samples, 1, 0), EC_J2KImageDataMismatch);
    EXPECT_TRUE(log.Contains(OFLogger::ERROR_LOG_LEVEL, c.message)) << log.Dump();
    EXPECT_EQ(buffer, std::vector<uint8_t>(buffer.size(), 0x11));
  }
}

TEST(DJ2KCodestream, BufferSizeIsChecked)
{
  const Image image = MakeImage(7, 5, 3, 12, false);
  const std::vector<uint8_t> codestream = Encode(image);
  const std::vector<uint8_t> expected = dj2ktest::ExpectedBytes(image, 2, 0);
  const size_t needed = 7 * 5 * 3 * 2;
  ASSERT_EQ(expected.size(), needed);

  std::vector<uint8_t> small(needed - 1, 0x33);
  LogCapture log;
  EXPECT_EQ(Decode(codestream, small, 7, 5, 3, 2, 0), EC_J2KUncompressedBufferTooSmall);
  EXPECT_TRUE(
    log.Contains(OFLogger::ERROR_LOG_LEVEL, "Output buffer too small: need 210 bytes, have 209"));
  EXPECT_EQ(small, std::vector<uint8_t>(needed - 1, 0x33));

  std::vector<uint8_t> large(needed + 5, 0x33);
  ASSERT_TRUE(Decode(codestream, large, 7, 5, 3, 2, 0).good());
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), large.begin()));
  EXPECT_EQ(
    std::vector<uint8_t>(large.begin() + long(needed), large.end()), std::vector<uint8_t>(5, 0x33));
}

// Components smaller than component 0 would be read beyond their samples.
TEST(DJ2KCodestream, SubsampledComponentsAreRefused)
{
  Image image = MakeImage(8, 8, 3, 8, false);
  image.dx = 2;
  image.dy = 2;
  const std::vector<uint8_t> codestream = Encode(image);
  ASSERT_FALSE(codestream.empty());
  std::vector<uint8_t> buffer(8 * 8 * 3, 0x77);
  LogCapture log;
  EXPECT_EQ(Decode(codestream, buffer, 8, 8, 3, 1, 0), EC_J2KImageDataMismatch);
  EXPECT_EQ(buffer, std::vector<uint8_t>(buffer.size(), 0x77));
  EXPECT_TRUE(
    log.ContainsPrefix(OFLogger::ERROR_LOG_LEVEL, "JPEG 2000 component 1 does not cover the image"))
    << log.Dump();
}

TEST(DJ2KCodestream, InputStreamCallbacks)
{
  const unsigned char data[10] = { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 };
  J2KInputBuffer in = { data, sizeof(data), 0 };
  unsigned char out[16] = {};

  EXPECT_EQ(j2kInputRead(out, 4, &in), 4u);
  EXPECT_EQ(in.offset, 4u);
  EXPECT_EQ(out[3], 3);
  EXPECT_EQ(j2kInputRead(out, 16, &in), 6u); // only what is left
  EXPECT_EQ(out[0], 4);
  EXPECT_EQ(in.offset, 10u);
  EXPECT_EQ(j2kInputRead(out, 1, &in), OPJ_SIZE_T(-1)); // end of stream

  EXPECT_EQ(j2kInputSeek(3, &in), OPJ_TRUE);
  EXPECT_EQ(in.offset, 3u);
  EXPECT_EQ(j2kInputSeek(10, &in), OPJ_TRUE); // exactly the end is allowed
  EXPECT_EQ(j2kInputSeek(11, &in), OPJ_FALSE);
  EXPECT_EQ(j2kInputSeek(-1, &in), OPJ_FALSE);
  EXPECT_EQ(in.offset, 10u);

  ASSERT_EQ(j2kInputSeek(2, &in), OPJ_TRUE);
  EXPECT_EQ(j2kInputSkip(-1, &in), -1);
  EXPECT_EQ(in.offset, 2u);
  EXPECT_EQ(j2kInputSkip(5, &in), 5);
  EXPECT_EQ(in.offset, 7u);
  EXPECT_EQ(j2kInputSkip(100, &in), 3); // stops at the end
  EXPECT_EQ(in.offset, 10u);

  j2kInputRelease(&in); // the bytes stay the caller's
  EXPECT_EQ(in.data, data);
}

// OpenJPEG ends its messages with line breaks; the log gets one line per message and none
// for a message that is only line breaks.
TEST(DJ2KCodestream, OpenJPEGMessagesAreForwarded)
{
  struct Case
  {
    void (*handler)(const char*, void*);
    const char* message;
    int level;
    const char* logged; // nullptr: nothing
  };
  const Case cases[] = {
    { opj_error_callback, "bad marker\n", OFLogger::ERROR_LOG_LEVEL, "OpenJPEG error: bad marker" },
    { opj_warning_callback, "odd box\r\n", OFLogger::WARN_LOG_LEVEL, "OpenJPEG warning: odd box" },
    { opj_info_callback, "tile 1/1\n", OFLogger::DEBUG_LOG_LEVEL, "OpenJPEG info: tile 1/1" },
    { opj_info_callback,
      "two\nlines\n\n",
      OFLogger::DEBUG_LOG_LEVEL,
      "OpenJPEG info: two\nlines" },
    { opj_error_callback, "no line break", OFLogger::ERROR_LOG_LEVEL, "OpenJPEG error: no line break" },
    { opj_error_callback, "\n", OFLogger::ERROR_LOG_LEVEL, nullptr },
    { opj_warning_callback, "", OFLogger::WARN_LOG_LEVEL, nullptr },
    { opj_info_callback, nullptr, OFLogger::DEBUG_LOG_LEVEL, nullptr },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.message ? c.message : "null");
    LogCapture log;
    c.handler(c.message, nullptr);
    ASSERT_EQ(log.Records().size(), c.logged ? 1u : 0u) << log.Dump();
    if (c.logged)
    {
      EXPECT_TRUE(log.Contains(c.level, c.logged)) << log.Dump();
    }
  }
}

// Whether OpenJPEG applied the inverse multiple-component transform is reported, and the
// samples come back as the components that were encoded.
TEST(DJ2KCodestream, ReportsTheComponentTransform)
{
  struct Case
  {
    const char* name;
    uint32_t comps;
    uint32_t prec;
    bool mct;
    bool lossless;
    bool jp2;
  };
  const Case cases[] = {
    { "reversible transform", 3, 8, true, true, false },
    { "reversible transform, 16 bits, JP2", 3, 16, true, true, true },
    { "irreversible transform", 3, 8, true, false, false },
    { "no transform", 3, 8, false, true, false },
    { "monochrome", 1, 8, true, true, false },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    Image image = MakeImage(9, 7, c.comps, c.prec, false);
    image.mct = c.mct;
    std::vector<uint8_t> codestream = Encode(image, c.jp2, c.lossless);
    ASSERT_FALSE(codestream.empty());
    const uint16_t bytesPerSample = c.prec > 8 ? 2 : 1;
    std::vector<uint8_t> buffer(9 * 7 * c.comps * bytesPerSample);
    OFBool transform = !(c.mct && c.comps == 3);
    ASSERT_TRUE(decodeJPEG2000(codestream.data(),
      codestream.size(),
      buffer.data(),
      Uint32(buffer.size()),
      9,
      7,
      uint16_t(c.comps),
      bytesPerSample,
      0,
      &transform)
                  .good());
    EXPECT_EQ(bool(transform), c.mct && c.comps == 3);
    if (c.lossless)
    {
      EXPECT_EQ(buffer, dj2ktest::ExpectedBytes(image, bytesPerSample, 0));
    }
    else
    {
      const dj2ktest::DecodedCodestream reference = dj2ktest::DecodeCodestream(codestream);
      ASSERT_TRUE(reference.ok);
      for (size_t k = 0; k < buffer.size(); ++k)
        ASSERT_EQ(buffer[k], uint8_t(reference.components[k % 3][k / 3])) << k;
    }
  }
}
