// Fixtures for the codec tests: JPEG 2000 codestreams made with OpenJPEG, DICOM data sets
// that carry them, and a capture of the module logger.
#ifndef J2KTESTUTILITIES_H
#define J2KTESTUTILITIES_H

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dcdatset.h"
#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcpixseq.h"
#include "dcmtk/dcmdata/dcxfer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace j2ktest
{

// One image to encode: comps[c] holds component c's samples row by row.
struct Image
{
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t prec = 8;
  bool sgnd = false;
  std::vector<std::vector<int32_t>> comps;
  // Subsampling of the components after the first (the first is never subsampled).
  uint32_t dx = 1;
  uint32_t dy = 1;
  // Three components of the same size are coded with the multiple-component transform.
  bool mct = true;
};

// A deterministic gradient-and-noise image of the given precision and signedness.
Image MakeImage(uint32_t width,
  uint32_t height,
  uint32_t numcomps,
  uint32_t prec,
  bool sgnd,
  uint32_t seed = 1);

// Encodes with OpenJPEG: lossless (5/3) or lossy at ratio 10; raw codestream or JP2 file.
std::vector<uint8_t> Encode(const Image& image, bool jp2 = false, bool lossless = true);

// Decodes with OpenJPEG alone into DICOM-style interleaved samples (reference for lossy data).
struct Decoded
{
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<std::vector<int32_t>> comps;
};
bool DecodeReference(const std::vector<uint8_t>& codestream, Decoded& out);

// DICOM attributes of a fixture data set.
struct Header
{
  uint16_t rows = 0;
  uint16_t columns = 0;
  uint16_t samplesPerPixel = 1;
  uint16_t bitsAllocated = 8;
  uint16_t bitsStored = 8;
  uint16_t pixelRepresentation = 0;
  const char* photometric = "MONOCHROME2";
  const char* sopClassUID = "1.2.840.10008.5.1.4.1.1.7"; // Secondary Capture Image Storage
  int numberOfFrames = -1;                               // -1: attribute absent
  int planarConfiguration = -1;                          // -1: attribute absent
};

Header HeaderFor(const Image& image, uint16_t bitsAllocated);

// How the codestreams are packed into the pixel sequence.
struct Packing
{
  unsigned fragmentsPerFrame = 1;
  bool offsetTable = true;
};

// Builds the pixel sequence (offset table item first, then every frame's fragments, each
// padded to even length).
DcmPixelSequence* MakePixelSequence(const std::vector<std::vector<uint8_t>>& frames,
  const Packing& packing);

// Puts the header attributes into item.
void PutHeader(DcmItem& item, const Header& header);

// A data set with the header and an encapsulated Pixel Data element.
std::unique_ptr<DcmFileFormat> MakeFile(const Header& header,
  const std::vector<std::vector<uint8_t>>& frames,
  const Packing& packing = Packing(),
  E_TransferSyntax xfer = EXS_JPEG2000LosslessOnly);

// The expected DICOM samples of an image (R = pixel representation), interleaved by pixel,
// as bytes (bytesPerSample 1) or host-order words (2). Samples whose signedness differs from
// R keep their prec-bit two's complement pattern, read with R's signedness.
std::vector<uint8_t> ExpectedBytes(const Image& image, uint16_t bytesPerSample, uint16_t pixelRep);

// Converts a data set with native pixel data: every byte of Pixel Data.
std::vector<uint8_t> NativePixelBytes(DcmItem& item);

// Registers the decoders for one scope.
class ScopedDecoders
{
public:
  explicit ScopedDecoders(int uidCreation = 0,
    int planarConfiguration = 0,
    bool ignoreOffsetTable = false,
    bool forceSingleFragmentPerFrame = false);
  ~ScopedDecoders();
  ScopedDecoders(const ScopedDecoders&) = delete;
  ScopedDecoders& operator=(const ScopedDecoders&) = delete;
};

// Collects the records of the module logger (at every level) for one scope.
class LogCapture
{
public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  struct Record
  {
    int level; // OFLogger::DEBUG_LOG_LEVEL and so on
    std::string message;
    std::string file;
  };
  const std::vector<Record>& Records() const;
  bool Contains(int level, const std::string& message) const;
  bool ContainsPrefix(int level, const std::string& prefix) const;
  std::string Dump() const;

private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

} // namespace j2ktest

#endif
