// libFuzzer target: uncompressed data sets through DCMTK into JPEG 2000 with the encoders, and
// back with the decoders. A lossless encoding must decode to the input samples bit for bit (the
// Bits Stored bits of each sample, in whichever colour layout the decoder reports), and a
// well-formed image must encode at all (unless the encoders are told to refuse samples with bits
// above Bits Stored and it has such samples); either fault aborts.
//
// Input, first byte odd: the rest is a DICOM file with uncompressed pixel data.
// Input, first byte even: byte 0 holds flags (0x02: pixel data exactly the bytes given, else
// repeated to the size the header asks for; 0x04/0x08: fragment size 1 KiB / no offset table;
// 0x30: transfer syntax and process; 0x40: refuse samples with bits above Bits Stored), bytes 1
// to 6 the header (columns, rows, samples, bits, pixel representation and planar configuration,
// frames), the rest the pixel data.
#include "DJ2KFuzzFile.h"
#include "dj2kcodecd.h"
#include "dj2kcodece.h"
#include "dj2kcparam.h"
#include "dj2kdecode.h"
#include "dj2kencode.h"
#include "dj2krparam.h"

#include "dcmtk/dcmdata/dcdatset.h"
#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcpixel.h"
#include "dcmtk/dcmdata/dcuid.h"
#include "dcmtk/dcmdata/dcxfer.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{

// Larger uncompressed images are legitimate allocations, not findings.
const uint64_t kMaxPixelBytes = 1u << 20;

struct Geometry
{
  Uint16 rows = 0;
  Uint16 columns = 0;
  Uint16 samples = 0;
  Uint16 bitsAllocated = 0;
  Uint16 bitsStored = 0;
  Uint16 pixelRep = 0;
  Uint16 planar = 0;
  Sint32 frames = 1;

  bool Read(DcmItem& item)
  {
    if (item.findAndGetUint16(DCM_Rows, rows).bad() ||
        item.findAndGetUint16(DCM_Columns, columns).bad() ||
        item.findAndGetUint16(DCM_SamplesPerPixel, samples).bad() ||
        item.findAndGetUint16(DCM_BitsAllocated, bitsAllocated).bad() ||
        item.findAndGetUint16(DCM_BitsStored, bitsStored).bad())
      return false;
    item.findAndGetUint16(DCM_PixelRepresentation, pixelRep);
    item.findAndGetUint16(DCM_PlanarConfiguration, planar);
    if (item.findAndGetSint32(DCM_NumberOfFrames, frames).bad() || frames < 1)
      frames = 1;
    return true;
  }

  uint64_t FrameBytes() const { return uint64_t(rows) * columns * samples * (bitsAllocated / 8); }
  uint64_t ImageBytes() const { return FrameBytes() * uint64_t(frames); }

  // What the encoder and the decoder both take: every such image must make the round trip.
  bool WellFormed() const
  {
    return rows != 0 && columns != 0 && (samples == 1 || samples == 3) &&
           (bitsAllocated == 8 || bitsAllocated == 16) && bitsStored >= 1 &&
           bitsStored <= bitsAllocated;
  }
};

[[noreturn]] void Fail(const char* what, const Geometry& g, const char* detail)
{
  std::fprintf(stderr,
    "DJ2KEncoderFuzzer: %s (%ux%u, %u samples, %u/%u bits, pixel representation %u, planar %u, "
    "%d frames): %s\n",
    what, g.columns, g.rows, g.samples, g.bitsAllocated, g.bitsStored, g.pixelRep, g.planar,
    int(g.frames), detail);
  std::abort();
}

// Whether every sample of the image is a value of Bits Stored bits (signed or not). The encoders
// encode only the Bits Stored bits of other samples, or refuse them when told to.
bool WithinBitsStored(const Uint8* bytes, const Geometry& g)
{
  const size_t samples = size_t(g.ImageBytes() / (g.bitsAllocated / 8));
  const bool sgnd = g.pixelRep != 0;
  const long lowest = sgnd ? -(1L << (g.bitsStored - 1)) : 0;
  const long highest = sgnd ? (1L << (g.bitsStored - 1)) - 1 : (1L << g.bitsStored) - 1;
  for (size_t i = 0; i < samples; ++i)
  {
    long v = 0;
    if (g.bitsAllocated == 8)
      v = sgnd ? long(Sint8(bytes[i])) : long(bytes[i]);
    else
    {
      const Uint16 word = Uint16(bytes[2 * i] | (bytes[2 * i + 1] << 8));
      v = sgnd ? long(Sint16(word)) : long(word);
    }
    if (v < lowest || v > highest)
      return false;
  }
  return true;
}

// The Bits Stored bits of sample i of a native pixel data buffer.
uint32_t StoredBits(const Uint8* bytes, size_t i, const Geometry& g)
{
  const uint32_t value = (g.bitsAllocated == 8)
                           ? bytes[i]
                           : uint32_t(bytes[2 * i]) | (uint32_t(bytes[2 * i + 1]) << 8);
  return value & ((uint32_t(1) << g.bitsStored) - 1);
}

// Index of sample c of pixel k in frame f, colour by pixel (planar 0) or by plane (planar 1).
size_t SampleIndex(const Geometry& g, size_t f, size_t k, size_t c, bool planar)
{
  const size_t pixels = size_t(g.rows) * g.columns;
  return f * pixels * g.samples + (planar ? c * pixels + k : k * g.samples + c);
}

// Encodes the data set's native pixel data and, when that was lossless, decodes it again and
// compares.
void RoundTrip(DcmDataset& dataset,
  E_TransferSyntax xfer,
  const DJ2KRepresentationParameter& rp,
  bool refuseHighBits)
{
  Geometry g;
  if (!g.Read(dataset) || g.ImageBytes() > kMaxPixelBytes)
    return;
  const Uint8* original = nullptr;
  if (dataset.findAndGetUint8Array(DCM_PixelData, original).bad() || original == nullptr)
    return;
  DcmElement* element = nullptr;
  dataset.findAndGetElement(DCM_PixelData, element);
  const Uint32 originalLength = element->getLength();
  const std::vector<Uint8> input(original, original + originalLength);

  const OFCondition encoded = dataset.chooseRepresentation(xfer, &rp);
  const bool complete = g.WellFormed() && originalLength >= g.ImageBytes();
  if (encoded.bad())
  {
    if (complete && (!refuseHighBits || WithinBitsStored(input.data(), g)))
      Fail("a well-formed image does not encode", g, encoded.text());
    return;
  }
  if (!dataset.canWriteXfer(xfer))
    Fail("encoding succeeded without a JPEG 2000 representation", g, DcmXfer(xfer).getXferName());
  // Lossy data, and images the decoders do not take (2 or 4 samples, for one), end here.
  if ((!rp.useLosslessProcess() && xfer == EXS_JPEG2000) || !complete)
    return;

  const OFCondition decoded = dataset.chooseRepresentation(EXS_LittleEndianExplicit, nullptr);
  if (decoded.bad())
    Fail("a lossless encoding does not decode", g, decoded.text());
  const Uint8* output = nullptr;
  dataset.findAndGetElement(DCM_PixelData, element);
  if (element->getUint8Array(const_cast<Uint8*&>(output)).bad() || output == nullptr ||
      element->getLength() < g.ImageBytes())
    Fail("the decoded pixel data is missing or short", g, "");
  // The decoded image may come back in the other colour layout; Planar Configuration says which.
  Uint16 planarOut = 0;
  dataset.findAndGetUint16(DCM_PlanarConfiguration, planarOut);
  const bool inPlanes = g.samples > 1 && g.planar == 1;
  const bool outPlanes = g.samples > 1 && planarOut == 1;
  const size_t pixels = size_t(g.rows) * g.columns;
  for (size_t f = 0; f < size_t(g.frames); ++f)
    for (size_t k = 0; k < pixels; ++k)
      for (size_t c = 0; c < g.samples; ++c)
      {
        const uint32_t was = StoredBits(input.data(), SampleIndex(g, f, k, c, inPlanes), g);
        const uint32_t is = StoredBits(output, SampleIndex(g, f, k, c, outPlanes), g);
        if (was != is)
        {
          char detail[128];
          std::snprintf(detail, sizeof(detail),
            "frame %zu, pixel %zu, sample %zu was %u and came back as %u", f, k, c, was, is);
          Fail("the lossless round trip changed a sample", g, detail);
        }
      }
}

// Encoder settings chosen by the input; registration changes only when they do.
void Register(bool smallFragments, bool offsetTable, bool refuseHighBits)
{
  static int current = -1;
  const int wanted = (smallFragments ? 1 : 0) | (offsetTable ? 2 : 0) | (refuseHighBits ? 4 : 0);
  if (wanted == current)
    return;
  DJ2KEncoderRegistration::cleanup();
  DJ2KEncoderRegistration::registerCodecs(OFBool(offsetTable),
    smallFragments ? 1 : 0,
    EJ2KUC_default,
    OFFalse,
    OFBool(refuseHighBits));
  current = wanted;
}

void FuzzHeader(const uint8_t* data, size_t size)
{
  if (size < 7)
    return;
  const uint8_t flags = data[0];
  static const Uint16 kSamples[8] = { 1, 3, 1, 3, 1, 3, 2, 4 };
  static const Uint16 kBitsAllocated[8] = { 8, 16, 8, 16, 8, 16, 12, 0 };
  DcmFileFormat file;
  DcmDataset* dataset = file.getDataset();
  const Uint16 columns = Uint16(1 + data[1] % 48);
  const Uint16 rows = Uint16(1 + data[2] % 48);
  const Uint16 samples = kSamples[data[3] & 7];
  const Uint16 bitsAllocated = kBitsAllocated[data[4] >> 5];
  const Uint16 bitsStored = Uint16(data[4] & 31); // 0 and values above Bits Allocated included
  const Uint16 pixelRep = Uint16(data[5] & 3);    // 2 and 3: signed, as any value but 0
  const Uint16 planar = Uint16((data[5] >> 2) & 1);
  const int frames = data[6] % 5;                 // 0: no Number of Frames
  dataset->putAndInsertUint16(DCM_Columns, columns);
  dataset->putAndInsertUint16(DCM_Rows, rows);
  dataset->putAndInsertUint16(DCM_SamplesPerPixel, samples);
  dataset->putAndInsertUint16(DCM_BitsAllocated, bitsAllocated);
  dataset->putAndInsertUint16(DCM_BitsStored, bitsStored);
  dataset->putAndInsertUint16(DCM_HighBit, bitsStored ? Uint16(bitsStored - 1) : 0);
  if (!(data[5] & 0x10))
    dataset->putAndInsertUint16(DCM_PixelRepresentation, pixelRep);
  if (data[5] & 0x20)
    dataset->putAndInsertUint16(DCM_PlanarConfiguration, planar);
  dataset->putAndInsertString(DCM_PhotometricInterpretation, samples == 3 ? "RGB" : "MONOCHROME2");
  dataset->putAndInsertString(DCM_SOPClassUID, UID_SecondaryCaptureImageStorage);
  dataset->putAndInsertString(DCM_SOPInstanceUID, "1.2.826.0.1.3680043.2.1143.1");
  if (frames != 0)
  {
    char text[4];
    std::snprintf(text, sizeof(text), "%d", frames);
    dataset->putAndInsertString(DCM_NumberOfFrames, text);
  }

  // Pixel data: the bytes as given, or repeated up to the size of every frame.
  const uint8_t* pixels = data + 7;
  const size_t given = size - 7;
  std::vector<Uint8> bytes(pixels, pixels + given);
  const uint64_t needed = uint64_t(rows) * columns * samples * ((bitsAllocated + 7) / 8) *
                          uint64_t(frames ? frames : 1);
  if (!(flags & 0x02))
  {
    if (given == 0 || needed > kMaxPixelBytes)
      return;
    bytes.resize(size_t(needed));
    for (size_t i = given; i < bytes.size(); ++i)
      bytes[i] = bytes[i - given];
  }
  if (bytes.size() % 2)
    bytes.push_back(0);
  if (bitsAllocated > 8)
    dataset->putAndInsertUint16Array(DCM_PixelData,
      reinterpret_cast<const Uint16*>(bytes.data()), Uint32(bytes.size() / 2));
  else
    dataset->putAndInsertUint8Array(DCM_PixelData, bytes.data(), Uint32(bytes.size()));

  const bool refuseHighBits = (flags & 0x40) != 0;
  Register((flags & 0x04) != 0, !(flags & 0x08), refuseHighBits);
  // 0x00 and 0x10: the lossless syntax; 0x20: the lossy syntax, lossless process; 0x30: lossy.
  const int choice = (flags >> 4) & 3;
  const E_TransferSyntax xfer = choice < 2 ? EXS_JPEG2000LosslessOnly : EXS_JPEG2000;
  const DJ2KRepresentationParameter rp(choice != 3, double(data[6] >> 3));
  RoundTrip(*dataset, xfer, rp, refuseHighBits);
}

void FuzzFile(const uint8_t* data, size_t size)
{
  DcmFileFormat file;
  if (!DJ2KReadFuzzedFile(data, size, file))
    return;
  DcmDataset* dataset = file.getDataset();
  if (DcmXfer(dataset->getOriginalXfer()).isEncapsulated())
    return;
  Register(false, true, false);
  RoundTrip(*dataset, EXS_JPEG2000LosslessOnly, DJ2KRepresentationParameter(), false);
}

} // namespace

// Once per process: logging off, decoders registered; the encoders follow the input's settings.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  OFLog::configure(OFLogger::OFF_LOG_LEVEL);
  DJ2KDecoderRegistration::registerCodecs();
  std::atexit([] {
    DJ2KEncoderRegistration::cleanup();
    DJ2KDecoderRegistration::cleanup();
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size == 0)
    return 0;
  if (data[0] & 1)
    FuzzFile(data + 1, size - 1);
  else
    FuzzHeader(data, size);
  return 0;
}
