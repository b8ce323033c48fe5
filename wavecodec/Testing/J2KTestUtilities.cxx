#include "J2KTestUtilities.h"

#include "dj2kdecode.h"
#include "dj2kutil.h"

#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcpixel.h"
#include "dcmtk/dcmdata/dcpixseq.h"
#include "dcmtk/dcmdata/dcpxitem.h"
#include "dcmtk/dcmdata/dcuid.h"
#include "dcmtk/oflog/appender.h"
#include "dcmtk/oflog/spi/logevent.h"

#include <openjpeg.h>

#include <algorithm>
#include <cstring>
#include <sstream>

namespace j2ktest
{

Image MakeImage(uint32_t width,
  uint32_t height,
  uint32_t numcomps,
  uint32_t prec,
  bool sgnd,
  uint32_t seed)
{
  Image image;
  image.width = width;
  image.height = height;
  image.prec = prec;
  image.sgnd = sgnd;
  const int64_t range = int64_t(1) << prec;
  const int64_t low = sgnd ? -(range / 2) : 0;
  uint32_t state = seed * 2654435761u + 12345u;
  image.comps.resize(numcomps);
  for (uint32_t c = 0; c < numcomps; ++c)
  {
    image.comps[c].resize(size_t(width) * height);
    for (uint32_t y = 0; y < height; ++y)
    {
      for (uint32_t x = 0; x < width; ++x)
      {
        state = state * 1664525u + 1013904223u;
        // Smooth ramp plus some noise, spanning the whole range, extremes included.
        int64_t v = (int64_t(x + y * 3 + c * 7) * range) / int64_t(width + height * 3 + 1);
        v += int64_t(state >> 24) % 5 - 2;
        v = std::min<int64_t>(std::max<int64_t>(v, 0), range - 1);
        image.comps[c][size_t(y) * width + x] = int32_t(v + low);
      }
    }
    image.comps[c][0] = int32_t(low);
    image.comps[c].back() = int32_t(low + range - 1);
  }
  return image;
}

namespace
{

struct OutputBuffer
{
  std::vector<uint8_t> data;
  size_t position = 0;
};

OPJ_SIZE_T writeFn(void* buffer, OPJ_SIZE_T count, void* user)
{
  auto* out = static_cast<OutputBuffer*>(user);
  if (out->position + count > out->data.size())
    out->data.resize(out->position + count);
  memcpy(out->data.data() + out->position, buffer, count);
  out->position += count;
  return count;
}

OPJ_OFF_T skipFn(OPJ_OFF_T count, void* user)
{
  auto* out = static_cast<OutputBuffer*>(user);
  out->position += size_t(count);
  if (out->position > out->data.size())
    out->data.resize(out->position);
  return count;
}

OPJ_BOOL seekFn(OPJ_OFF_T position, void* user)
{
  auto* out = static_cast<OutputBuffer*>(user);
  out->position = size_t(position);
  if (out->position > out->data.size())
    out->data.resize(out->position);
  return OPJ_TRUE;
}

struct InputBuffer
{
  const uint8_t* data;
  size_t size;
  size_t position;
};

OPJ_SIZE_T readFn(void* buffer, OPJ_SIZE_T count, void* user)
{
  auto* in = static_cast<InputBuffer*>(user);
  if (in->position >= in->size)
    return OPJ_SIZE_T(-1);
  const size_t n = std::min(count, in->size - in->position);
  memcpy(buffer, in->data + in->position, n);
  in->position += n;
  return n;
}

OPJ_OFF_T inSkipFn(OPJ_OFF_T count, void* user)
{
  auto* in = static_cast<InputBuffer*>(user);
  const size_t n = std::min(size_t(count), in->size - in->position);
  in->position += n;
  return OPJ_OFF_T(n);
}

OPJ_BOOL inSeekFn(OPJ_OFF_T position, void* user)
{
  auto* in = static_cast<InputBuffer*>(user);
  if (size_t(position) > in->size)
    return OPJ_FALSE;
  in->position = size_t(position);
  return OPJ_TRUE;
}

} // namespace

std::vector<uint8_t> Encode(const Image& image, bool jp2, bool lossless)
{
  const uint32_t numcomps = uint32_t(image.comps.size());
  std::vector<opj_image_cmptparm_t> params(numcomps);
  for (uint32_t c = 0; c < numcomps; ++c)
  {
    opj_image_cmptparm_t& p = params[c];
    memset(&p, 0, sizeof(p));
    p.dx = c == 0 ? 1 : image.dx;
    p.dy = c == 0 ? 1 : image.dy;
    p.w = (image.width + p.dx - 1) / p.dx;
    p.h = (image.height + p.dy - 1) / p.dy;
    p.prec = image.prec;
    p.sgnd = image.sgnd ? 1 : 0;
  }
  opj_image_t* img =
    opj_image_create(numcomps, params.data(), numcomps == 1 ? OPJ_CLRSPC_GRAY : OPJ_CLRSPC_SRGB);
  if (img == nullptr)
    return {};
  img->x0 = 0;
  img->y0 = 0;
  img->x1 = image.width;
  img->y1 = image.height;
  for (uint32_t c = 0; c < numcomps; ++c)
  {
    const size_t n = size_t(img->comps[c].w) * img->comps[c].h;
    for (size_t k = 0; k < n; ++k)
      img->comps[c].data[k] = k < image.comps[c].size() ? image.comps[c][k] : 0;
  }
  opj_cparameters_t parameters;
  opj_set_default_encoder_parameters(&parameters);
  parameters.tcp_numlayers = 1;
  parameters.cp_disto_alloc = 1;
  parameters.tcp_rates[0] = lossless ? 0.0f : 10.0f;
  parameters.irreversible = lossless ? 0 : 1;
  // OpenJPEG needs every resolution level to keep at least one sample per component.
  uint32_t smallest = std::min(image.width, image.height);
  if (image.dx > 1 || image.dy > 1)
    smallest = std::min(smallest, std::min(image.width / image.dx, image.height / image.dy));
  int levels = 1;
  while (levels < 6 && (smallest >> levels) > 0)
    ++levels;
  parameters.numresolution = levels;
  parameters.tcp_mct = (image.mct && numcomps == 3 && image.dx == 1 && image.dy == 1) ? 1 : 0;
  std::vector<uint8_t> result;
  opj_codec_t* codec = opj_create_compress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
  OutputBuffer out;
  opj_stream_t* stream = nullptr;
  bool ok = codec != nullptr && opj_setup_encoder(codec, &parameters, img);
  if (ok)
  {
    stream = opj_stream_create(1 << 20, OPJ_FALSE);
    ok = stream != nullptr;
  }
  if (ok)
  {
    opj_stream_set_user_data(stream, &out, nullptr);
    opj_stream_set_write_function(stream, writeFn);
    opj_stream_set_skip_function(stream, skipFn);
    opj_stream_set_seek_function(stream, seekFn);
    ok = opj_start_compress(codec, img, stream) && opj_encode(codec, stream) &&
         opj_end_compress(codec, stream);
  }
  if (stream)
    opj_stream_destroy(stream);
  if (codec)
    opj_destroy_codec(codec);
  opj_image_destroy(img);
  if (ok)
    result = out.data;
  return result;
}

bool DecodeReference(const std::vector<uint8_t>& codestream, Decoded& out)
{
  if (codestream.size() < 2)
    return false;
  const bool jp2 = codestream[0] != 0xFF;
  opj_codec_t* codec = opj_create_decompress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
  opj_dparameters_t parameters;
  opj_set_default_decoder_parameters(&parameters);
  opj_setup_decoder(codec, &parameters);
  InputBuffer in{ codestream.data(), codestream.size(), 0 };
  opj_stream_t* stream = opj_stream_create(codestream.size(), OPJ_TRUE);
  opj_stream_set_user_data(stream, &in, nullptr);
  opj_stream_set_user_data_length(stream, codestream.size());
  opj_stream_set_read_function(stream, readFn);
  opj_stream_set_skip_function(stream, inSkipFn);
  opj_stream_set_seek_function(stream, inSeekFn);
  opj_image_t* img = nullptr;
  bool ok = opj_read_header(stream, codec, &img) && opj_decode(codec, stream, img) &&
            opj_end_decompress(codec, stream);
  if (ok)
  {
    out.width = img->x1 - img->x0;
    out.height = img->y1 - img->y0;
    out.comps.assign(img->numcomps, {});
    for (uint32_t c = 0; c < img->numcomps; ++c)
      out.comps[c].assign(
        img->comps[c].data, img->comps[c].data + size_t(img->comps[c].w) * img->comps[c].h);
  }
  if (img)
    opj_image_destroy(img);
  opj_stream_destroy(stream);
  opj_destroy_codec(codec);
  return ok;
}

Header HeaderFor(const Image& image, uint16_t bitsAllocated)
{
  Header h;
  h.rows = uint16_t(image.height);
  h.columns = uint16_t(image.width);
  h.samplesPerPixel = uint16_t(image.comps.size());
  h.bitsAllocated = bitsAllocated;
  h.bitsStored = uint16_t(image.prec);
  h.pixelRepresentation = image.sgnd ? 1 : 0;
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

std::vector<uint8_t> ExpectedBytes(const Image& image, uint16_t bytesPerSample, uint16_t pixelRep)
{
  const size_t n = size_t(image.width) * image.height;
  const size_t nc = image.comps.size();
  std::vector<uint8_t> out(n * nc * bytesPerSample);
  const int64_t range = int64_t(1) << image.prec;
  const int64_t umax = bytesPerSample == 1 ? 255 : 65535;
  const int64_t smin = bytesPerSample == 1 ? -128 : -32768;
  const int64_t smax = bytesPerSample == 1 ? 127 : 32767;
  for (size_t k = 0; k < n; ++k)
  {
    for (size_t c = 0; c < nc; ++c)
    {
      int64_t v = image.comps[c][k];
      int64_t lo = smin;
      int64_t hi = smax;
      if (!image.sgnd && pixelRep == 1 && v >= range / 2)
        v -= range;
      if (image.sgnd && pixelRep == 0 && v < 0)
        v += range;
      if (pixelRep == 0)
      {
        lo = 0;
        hi = umax;
      }
      v = std::min(std::max(v, lo), hi);
      if (bytesPerSample == 1)
      {
        out[k * nc + c] = uint8_t(v);
      }
      else
      {
        const uint16_t w = uint16_t(v);
        memcpy(&out[(k * nc + c) * 2], &w, 2);
      }
    }
  }
  return out;
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

} // namespace j2ktest
