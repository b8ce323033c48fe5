#include "DJ2KTestDataset.h"

#include "dj2kdecode.h"
#include "dj2kutil.h"

#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcpixel.h"
#include "dcmtk/dcmdata/dcpixseq.h"
#include "dcmtk/dcmdata/dcpxitem.h"
#include "dcmtk/dcmdata/dcuid.h"
#include "dcmtk/oflog/appender.h"
#include "dcmtk/oflog/spi/logevent.h"

#include <algorithm>
#include <cstring>
#include <sstream>

void PrintTo(const OFCondition& condition, std::ostream* os)
{
  *os << condition.text();
}

namespace dj2ktest
{

Header HeaderFor(const Image& image, uint16_t bitsAllocated)
{
  Header h;
  h.rows = image.rows;
  h.columns = image.columns;
  h.samplesPerPixel = uint16_t(image.comps.size());
  h.bitsAllocated = bitsAllocated;
  h.bitsStored = image.bitsStored;
  h.pixelRepresentation = image.isSigned() ? 1 : 0;
  h.photometric = image.comps.size() == 3 ? "RGB" : "MONOCHROME2";
  return h;
}

DcmPixelSequence* MakePixelSequence(const std::vector<std::vector<uint8_t>>& frames,
  const Packing& packing)
{
  auto* seq = new DcmPixelSequence(DcmTag(DCM_PixelData, EVR_OB));
  auto* offsetTable = new DcmPixelItem(DcmTag(DCM_Item, EVR_OB));
  seq->insert(offsetTable);
  std::vector<Uint32> offsets;
  Uint32 position = 0;
  for (const std::vector<uint8_t>& frame : frames)
  {
    offsets.push_back(position);
    std::vector<uint8_t> bytes = frame;
    const size_t parts = std::max(1u, packing.fragmentsPerFrame);
    // Even-sized pieces; the last one takes the rest and is padded to even length.
    size_t piece = (bytes.size() / parts) & ~size_t(1);
    if (piece == 0)
      piece = 2;
    size_t begin = 0;
    for (size_t p = 0; p < parts && begin < bytes.size(); ++p)
    {
      size_t end = p + 1 == parts ? bytes.size() : std::min(bytes.size(), begin + piece);
      std::vector<uint8_t> fragment(bytes.begin() + long(begin), bytes.begin() + long(end));
      if (fragment.size() % 2 != 0)
        fragment.push_back(0);
      auto* item = new DcmPixelItem(DcmTag(DCM_Item, EVR_OB));
      item->putUint8Array(fragment.data(), Uint32(fragment.size()));
      seq->insert(item);
      position += Uint32(fragment.size()) + 8;
      begin = end;
    }
  }
  if (packing.offsetTable)
  {
    std::vector<uint8_t> table(offsets.size() * 4);
    for (size_t i = 0; i < offsets.size(); ++i)
    {
      table[4 * i] = uint8_t(offsets[i]);
      table[4 * i + 1] = uint8_t(offsets[i] >> 8);
      table[4 * i + 2] = uint8_t(offsets[i] >> 16);
      table[4 * i + 3] = uint8_t(offsets[i] >> 24);
    }
    offsetTable->putUint8Array(table.data(), Uint32(table.size()));
  }
  return seq;
}

void PutHeader(DcmItem& item, const Header& header)
{
  item.putAndInsertString(DCM_SOPClassUID, header.sopClassUID);
  item.putAndInsertString(DCM_SOPInstanceUID, "1.2.826.0.1.3680043.9.7433.1.1");
  item.putAndInsertUint16(DCM_Rows, header.rows);
  item.putAndInsertUint16(DCM_Columns, header.columns);
  item.putAndInsertUint16(DCM_SamplesPerPixel, header.samplesPerPixel);
  item.putAndInsertUint16(DCM_BitsAllocated, header.bitsAllocated);
  item.putAndInsertUint16(DCM_BitsStored, header.bitsStored);
  item.putAndInsertUint16(DCM_HighBit, uint16_t(header.bitsStored - 1));
  item.putAndInsertUint16(DCM_PixelRepresentation, header.pixelRepresentation);
  item.putAndInsertString(DCM_PhotometricInterpretation, header.photometric);
  if (header.numberOfFrames >= 0)
    item.putAndInsertString(DCM_NumberOfFrames, std::to_string(header.numberOfFrames).c_str());
  if (header.planarConfiguration >= 0)
    item.putAndInsertUint16(DCM_PlanarConfiguration, uint16_t(header.planarConfiguration));
}

std::unique_ptr<DcmFileFormat> MakeFile(const Header& header,
  const std::vector<std::vector<uint8_t>>& frames,
  const Packing& packing,
  E_TransferSyntax xfer)
{
  auto file = std::make_unique<DcmFileFormat>();
  DcmDataset* dataset = file->getDataset();
  PutHeader(*dataset, header);
  auto* pixelData = new DcmPixelData(DCM_PixelData);
  pixelData->putOriginalRepresentation(xfer, nullptr, MakePixelSequence(frames, packing));
  dataset->insert(pixelData);
  // Make the data set look as if it was read in this transfer syntax.
  dataset->chooseRepresentation(xfer, nullptr);
  dataset->updateOriginalXfer();
  return file;
}

void FillDataset(DcmItem& item,
  const Image& shape,
  const std::vector<Uint8>& pixels,
  bool withFrames)
{
  Header header;
  header.rows = shape.rows;
  header.columns = shape.columns;
  header.samplesPerPixel = shape.samplesPerPixel;
  header.bitsAllocated = shape.bitsAllocated;
  header.bitsStored = shape.bitsStored;
  header.pixelRepresentation = shape.pixelRepresentation;
  header.photometric = shape.samplesPerPixel == 1 ? "MONOCHROME2" : "RGB";
  header.sopClassUID =
    shape.samplesPerPixel == 1 ? UID_CTImageStorage : UID_SecondaryCaptureImageStorage;
  header.numberOfFrames = withFrames ? shape.frames : -1;
  header.planarConfiguration = shape.samplesPerPixel > 1 ? shape.planarConfiguration : -1;
  PutHeader(item, header);
  char uid[100];
  item.putAndInsertString(DCM_SOPInstanceUID, dcmGenerateUniqueIdentifier(uid));
  item.putAndInsertString(DCM_StudyInstanceUID, dcmGenerateUniqueIdentifier(uid));
  item.putAndInsertString(DCM_SeriesInstanceUID, dcmGenerateUniqueIdentifier(uid));
  item.putAndInsertString(DCM_Modality, shape.samplesPerPixel == 1 ? "CT" : "OT");
  item.putAndInsertString(DCM_PatientName, "Test^Encoder");
  if (shape.bitsAllocated == 8)
  {
    item.putAndInsertUint8Array(DCM_PixelData, pixels.data(), pixels.size());
  }
  else
  {
    item.putAndInsertUint16Array(
      DCM_PixelData, reinterpret_cast<const Uint16*>(pixels.data()), pixels.size() / 2);
  }
}

std::vector<uint8_t> NativePixelBytes(DcmItem& item)
{
  DcmElement* element = nullptr;
  if (item.findAndGetElement(DCM_PixelData, element).bad() || element == nullptr)
    return {};
  Uint8* bytes = nullptr;
  if (element->getUint8Array(bytes).bad() || bytes == nullptr)
  {
    Uint16* words = nullptr;
    if (element->getUint16Array(words).bad() || words == nullptr)
      return {};
    bytes = reinterpret_cast<Uint8*>(words);
  }
  return std::vector<uint8_t>(bytes, bytes + element->getLength());
}

ScopedDecoders::ScopedDecoders(int uidCreation,
  int planarConfiguration,
  bool ignoreOffsetTable,
  bool forceSingleFragmentPerFrame)
{
  DJ2KDecoderRegistration::registerCodecs(J2K_UIDCreation(uidCreation),
    J2K_PlanarConfiguration(planarConfiguration),
    ignoreOffsetTable,
    forceSingleFragmentPerFrame);
}

ScopedDecoders::~ScopedDecoders()
{
  DJ2KDecoderRegistration::cleanup();
}

namespace
{

class CaptureAppender : public dcmtk::log4cplus::Appender
{
public:
  explicit CaptureAppender(std::vector<LogCapture::Record>* records)
    : records_(records)
  {
  }
  ~CaptureAppender() override { destructorImpl(); }
  void close() override { closed = true; }

protected:
  void append(const dcmtk::log4cplus::spi::InternalLoggingEvent& event) override
  {
    records_->push_back(
      { int(event.getLogLevel()), event.getMessage().c_str(), event.getFile().c_str() });
  }

private:
  std::vector<LogCapture::Record>* records_;
};

} // namespace

struct LogCapture::Impl
{
  std::vector<Record> records;
  dcmtk::log4cplus::SharedAppenderPtr appender;
  dcmtk::log4cplus::LogLevel oldLevel;
};

LogCapture::LogCapture()
  : impl_(new Impl)
{
  impl_->oldLevel = DCM_wavecodecLogger.getLogLevel();
  impl_->appender = dcmtk::log4cplus::SharedAppenderPtr(new CaptureAppender(&impl_->records));
  DCM_wavecodecLogger.addAppender(impl_->appender);
  DCM_wavecodecLogger.setAdditivity(false);
  DCM_wavecodecLogger.setLogLevel(OFLogger::TRACE_LOG_LEVEL);
}

LogCapture::~LogCapture()
{
  DCM_wavecodecLogger.removeAppender(impl_->appender);
  DCM_wavecodecLogger.setAdditivity(true);
  DCM_wavecodecLogger.setLogLevel(impl_->oldLevel);
}

const std::vector<LogCapture::Record>& LogCapture::Records() const
{
  return impl_->records;
}

bool LogCapture::Contains(int level, const std::string& message) const
{
  for (const Record& r : impl_->records)
    if (r.level == level && r.message == message)
      return true;
  return false;
}

bool LogCapture::ContainsPrefix(int level, const std::string& prefix) const
{
  for (const Record& r : impl_->records)
    if (r.level == level && r.message.compare(0, prefix.size(), prefix) == 0)
      return true;
  return false;
}

std::string LogCapture::Dump() const
{
  std::ostringstream s;
  for (const Record& r : impl_->records)
    s << r.level << " " << r.message << "\n";
  return s.str();
}

DcmPixelSequence* GetPixelSequence(DcmItem& item, E_TransferSyntax xfer)
{
  DcmElement* element = nullptr;
  if (item.findAndGetElement(DCM_PixelData, element).bad())
  {
    return nullptr;
  }
  DcmPixelData* pixelData = dynamic_cast<DcmPixelData*>(element);
  if (pixelData == nullptr)
  {
    return nullptr;
  }
  E_TransferSyntax current = EXS_Unknown;
  const DcmRepresentationParameter* parameter = nullptr;
  pixelData->getCurrentRepresentationKey(current, parameter);
  DcmPixelSequence* sequence = nullptr;
  if (current != xfer || pixelData->getEncapsulatedRepresentation(xfer, parameter, sequence).bad())
  {
    return nullptr;
  }
  return sequence;
}

std::vector<Uint8> ItemBytes(DcmPixelSequence* sequence, unsigned long index)
{
  DcmPixelItem* item = nullptr;
  Uint8* data = nullptr;
  if (sequence->getItem(item, index).bad() || item->getLength() == 0 ||
      item->getUint8Array(data).bad())
  {
    return {};
  }
  return std::vector<Uint8>(data, data + item->getLength());
}

std::vector<std::vector<Uint8>> FrameCodestreams(DcmPixelSequence* sequence)
{
  std::vector<std::vector<Uint8>> frames;
  for (unsigned long i = 1; i < sequence->card(); ++i)
  {
    std::vector<Uint8> bytes = ItemBytes(sequence, i);
    if (frames.empty() || (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0x4F))
    {
      frames.emplace_back();
    }
    frames.back().insert(frames.back().end(), bytes.begin(), bytes.end());
  }
  return frames;
}

} // namespace dj2ktest
