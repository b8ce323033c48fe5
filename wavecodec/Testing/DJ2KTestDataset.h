// DICOM data sets of the codec's tests: attributes, uncompressed and encapsulated pixel data,
// the pixel sequence's items, the decoders registered for a scope, and the module logger's
// records.
#ifndef DJ2KTESTDATASET_H
#define DJ2KTESTDATASET_H

#include "DJ2KTestImage.h"

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dcdatset.h"
#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcpixel.h"
#include "dcmtk/dcmdata/dcpixseq.h"
#include "dcmtk/dcmdata/dcpxitem.h"
#include "dcmtk/dcmdata/dcuid.h"
#include "dcmtk/dcmdata/dcxfer.h"

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Conditions print as their text in test failures.
void PrintTo(const OFCondition& condition, std::ostream* os);

namespace dj2ktest
{

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

// The attributes of a data set carrying image's codestreams.
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

// A CT-like (monochrome) or RGB data set with uncompressed pixels laid out as shape says:
// CT Image Storage for one sample per pixel, Secondary Capture otherwise; Number of Frames
// only withFrames.
void FillDataset(DcmItem& item,
  const Image& shape,
  const std::vector<Uint8>& pixels,
  bool withFrames = true);

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

// The encapsulated pixel sequence of the current representation, or null when it is not
// xfer.
DcmPixelSequence* GetPixelSequence(DcmItem& item, E_TransferSyntax xfer);

// Bytes of item index of a pixel sequence.
std::vector<Uint8> ItemBytes(DcmPixelSequence* sequence, unsigned long index);

// Codestreams of every frame, joining fragments by the start-of-codestream marker.
std::vector<std::vector<Uint8>> FrameCodestreams(DcmPixelSequence* sequence);

} // namespace dj2ktest

#endif
