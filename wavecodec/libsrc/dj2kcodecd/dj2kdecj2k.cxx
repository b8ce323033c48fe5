#include "dj2kdecj2k.h"

#include "dj2kutil.h"

#include <climits>
#include <cstring>

namespace
{

const unsigned char
  kJP2Signature[12] = { 0x00, 0x00, 0x00, 0x0C, 0x6A, 0x50, 0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A };

// Owns the OpenJPEG objects of one decoding and destroys those that were created.
struct OpenJPEGObjects
{
  opj_codec_t* codec = nullptr;
  opj_stream_t* stream = nullptr;
  opj_image_t* image = nullptr;

  OpenJPEGObjects() = default;
  OpenJPEGObjects(const OpenJPEGObjects&) = delete;
  OpenJPEGObjects& operator=(const OpenJPEGObjects&) = delete;
  ~OpenJPEGObjects()
  {
    if (image)
      opj_image_destroy(image);
    if (stream)
      opj_stream_destroy(stream);
    if (codec)
      opj_destroy_codec(codec);
  }
};

// How one component's samples map to DICOM samples. A component whose signedness differs
// from Pixel Representation keeps its p-bit two's complement pattern, read with the data
// set's signedness (as GDCM reads such files): an unsigned component under Pixel
// Representation 1 is sign-extended from bit p-1, a signed one under Pixel Representation 0
// is taken modulo 2^p.
struct SampleMapping
{
  enum Reading
  {
    AsIs,
    SignExtended,
    Modulo
  };
  Reading reading;
  Sint64 range; // 2^p
  Sint64 low;
  Sint64 high;
};

// The component's precision, limited to what a 64-bit shift can take.
OPJ_UINT32 precisionOf(const opj_image_comp_t& comp)
{
  return comp.prec < 1 ? 1 : (comp.prec > 32 ? 32 : comp.prec);
}

SampleMapping sampleMapping(const opj_image_comp_t& comp, Uint16 bytesPerSample, Uint16 pixelRep)
{
  const Sint64 unsignedMax = bytesPerSample == 1 ? 255 : 65535;
  const Sint64 signedMin = bytesPerSample == 1 ? -128 : -32768;
  const Sint64 signedMax = bytesPerSample == 1 ? 127 : 32767;
  const Sint64 range = static_cast<Sint64>(1) << precisionOf(comp);
  if (comp.sgnd == 0)
  {
    if (pixelRep == 0)
      return { SampleMapping::AsIs, range, 0, unsignedMax };
    if (pixelRep == 1)
      return { SampleMapping::SignExtended, range, signedMin, signedMax };
    return { SampleMapping::AsIs, range, signedMin, signedMax };
  }
  if (pixelRep == 0)
    return { SampleMapping::Modulo, range, 0, unsignedMax };
  return { SampleMapping::AsIs, range, signedMin, signedMax };
}

template <typename T, typename Read>
void convertComponent(const OPJ_INT32* in,
  size_t pixelCount,
  const SampleMapping& m,
  Read read,
  T* out,
  size_t stride)
{
  for (size_t k = 0; k < pixelCount; ++k, out += stride)
  {
    Sint64 v = read(static_cast<Sint64>(in[k]));
    v = v < m.low ? m.low : (v > m.high ? m.high : v);
    *out = static_cast<T>(v);
  }
}

// Converts one component into every stride-th sample of out.
template <typename T>
void convertComponent(const OPJ_INT32* in,
  size_t pixelCount,
  const SampleMapping& m,
  T* out,
  size_t stride)
{
  const Sint64 mask = m.range - 1;
  const Sint64 half = m.range / 2;
  switch (m.reading)
  {
    case SampleMapping::SignExtended:
      convertComponent(
        in,
        pixelCount,
        m,
        [mask, half, &m](Sint64 v)
        {
          v &= mask;
          return v >= half ? v - m.range : v;
        },
        out,
        stride);
      break;
    case SampleMapping::Modulo:
      convertComponent(
        in, pixelCount, m, [mask](Sint64 v) { return v & mask; }, out, stride);
      break;
    case SampleMapping::AsIs:
    default:
      convertComponent(
        in, pixelCount, m, [](Sint64 v) { return v; }, out, stride);
      break;
  }
}

template <typename T>
void convertSamples(const opj_image_t* image,
  size_t pixelCount,
  Uint16 bytesPerSample,
  Uint16 pixelRep,
  T* out)
{
  const OPJ_UINT32 numcomps = image->numcomps;
  for (OPJ_UINT32 c = 0; c < numcomps; ++c)
  {
    const SampleMapping m = sampleMapping(image->comps[c], bytesPerSample, pixelRep);
    convertComponent(image->comps[c].data, pixelCount, m, out + c, numcomps);
  }
}

// Warns once per codestream when its signedness and Pixel Representation disagree.
void warnAboutSignedness(const opj_image_t* image, Uint16 pixelRep)
{
  if (pixelRep > 1)
    return;
  for (OPJ_UINT32 c = 0; c < image->numcomps; ++c)
  {
    const opj_image_comp_t& comp = image->comps[c];
    const bool componentSigned = comp.sgnd != 0;
    if (componentSigned == (pixelRep == 1))
      continue;
    if (componentSigned)
    {
      DCMJ2K_WARN("JPEG 2000 codestream is signed but Pixel Representation is 0 (unsigned): "
                  "keeping the "
                  << precisionOf(comp) << "-bit two's complement samples as unsigned values");
    }
    else
    {
      DCMJ2K_WARN("JPEG 2000 codestream is unsigned but Pixel Representation is 1 (signed): "
                  "reading the "
                  << precisionOf(comp) << "-bit samples as two's complement");
    }
    return;
  }
}

// Whether OpenJPEG applies the inverse multiple-component transform while decoding: the
// default coding style asks for one and there are at least three components.
OFBool usesComponentTransform(opj_codec_t* codec, const opj_image_t* image)
{
  if (image->numcomps < 3)
    return OFFalse;
  opj_codestream_info_v2_t* info = opj_get_cstr_info(codec);
  if (info == nullptr)
    return OFFalse;
  const OFBool transform = info->m_default_tile_info.mct != 0;
  opj_destroy_cstr_info(&info);
  return transform;
}

// OpenJPEG ends most messages with a line break, which the logger would print as an empty
// record line: forward the text without trailing line breaks, and nothing when that is empty.
OFString messageText(const char* msg)
{
  if (msg == nullptr)
    return OFString();
  size_t length = strlen(msg);
  while (length > 0 && (msg[length - 1] == '\n' || msg[length - 1] == '\r'))
    --length;
  return OFString(msg, length);
}

} // namespace

void opj_error_callback(const char* msg, void* /*clientData*/)
{
  const OFString text = messageText(msg);
  if (!text.empty())
    DCMJ2K_ERROR("OpenJPEG error: " << text);
}

void opj_warning_callback(const char* msg, void* /*clientData*/)
{
  const OFString text = messageText(msg);
  if (!text.empty())
    DCMJ2K_WARN("OpenJPEG warning: " << text);
}

void opj_info_callback(const char* msg, void* /*clientData*/)
{
  const OFString text = messageText(msg);
  if (!text.empty())
    DCMJ2K_DEBUG("OpenJPEG info: " << text);
}

OPJ_SIZE_T j2kInputRead(void* destination, OPJ_SIZE_T count, void* userData)
{
  J2KInputBuffer* in = static_cast<J2KInputBuffer*>(userData);
  if (in->offset >= in->size)
    return static_cast<OPJ_SIZE_T>(-1);
  const size_t available = in->size - in->offset;
  const size_t n = count < available ? count : available;
  memcpy(destination, in->data + in->offset, n);
  in->offset += n;
  return n;
}

OPJ_OFF_T j2kInputSkip(OPJ_OFF_T count, void* userData)
{
  J2KInputBuffer* in = static_cast<J2KInputBuffer*>(userData);
  if (count < 0)
    return -1;
  const size_t available = in->size - in->offset;
  const size_t n = static_cast<Uint64>(count) < available ? static_cast<size_t>(count) : available;
  in->offset += n;
  return static_cast<OPJ_OFF_T>(n);
}

OPJ_BOOL j2kInputSeek(OPJ_OFF_T position, void* userData)
{
  J2KInputBuffer* in = static_cast<J2KInputBuffer*>(userData);
  if (position < 0 || static_cast<Uint64>(position) > in->size)
    return OPJ_FALSE;
  in->offset = static_cast<size_t>(position);
  return OPJ_TRUE;
}

void j2kInputRelease(void* /*userData*/)
{
  // The compressed bytes belong to the caller.
}

OFCondition decodeJPEG2000(unsigned char* j2kData,
  Uint64 j2kSize,
  void* buffer,
  Uint32 bufSize,
  Uint16 columns,
  Uint16 rows,
  Uint16 samplesPerPixel,
  Uint16 bytesPerSample,
  Uint16 pixelRep,
  OFBool* componentTransform,
  Uint32 openjpegThreads)
{
  if (componentTransform != nullptr)
    *componentTransform = OFFalse;
  DCMJ2K_DEBUG("decodeJPEG2000: j2kSize=" << j2kSize << ", bufSize=" << bufSize << ", expected "
                                          << columns << "x" << rows << "x" << samplesPerPixel
                                          << ", bytesPerSample=" << bytesPerSample
                                          << ", pixelRep=" << pixelRep);
  if (bytesPerSample != 1 && bytesPerSample != 2)
  {
    DCMJ2K_ERROR("decodeJPEG2000: unsupported bytesPerSample " << bytesPerSample);
    return EC_IllegalParameter;
  }
  if (j2kData == nullptr)
    j2kSize = 0;
  if (j2kSize >= 4)
  {
    DCMJ2K_DEBUG("First 4 bytes of J2K data: 0x"
                 << STD_NAMESPACE hex << static_cast<unsigned>(j2kData[0]) << " 0x"
                 << static_cast<unsigned>(j2kData[1]) << " 0x" << static_cast<unsigned>(j2kData[2])
                 << " 0x" << static_cast<unsigned>(j2kData[3]));
  }

  OPJ_CODEC_FORMAT format;
  if (j2kSize >= sizeof(kJP2Signature) &&
      memcmp(j2kData, kJP2Signature, sizeof(kJP2Signature)) == 0)
  {
    format = OPJ_CODEC_JP2;
    DCMJ2K_DEBUG("Detected JP2 file format");
  }
  else if (j2kSize >= 2 && j2kData[0] == 0xFF && j2kData[1] == 0x4F)
  {
    format = OPJ_CODEC_J2K;
    DCMJ2K_DEBUG("Detected J2K codestream format");
  }
  else
  {
    DCMJ2K_ERROR(
      "Unable to determine JPEG 2000 codec format - first bytes don't match known signatures");
    return EC_J2KInvalidCompressedData;
  }
  if (j2kSize > static_cast<Uint64>(static_cast<size_t>(-1) / 2))
  {
    DCMJ2K_ERROR("Failed to create OpenJPEG stream");
    return EC_J2KInvalidCompressedData;
  }

  OpenJPEGObjects opj;
  opj.codec = opj_create_decompress(format);
  if (opj.codec == nullptr)
  {
    DCMJ2K_ERROR("Failed to create OpenJPEG decompressor");
    return EC_J2KInvalidCompressedData;
  }
  opj_set_error_handler(opj.codec, opj_error_callback, nullptr);
  opj_set_warning_handler(opj.codec, opj_warning_callback, nullptr);
  opj_set_info_handler(opj.codec, opj_info_callback, nullptr);

  opj_dparameters_t parameters;
  opj_set_default_decoder_parameters(&parameters);
  if (!opj_setup_decoder(opj.codec, &parameters))
  {
    DCMJ2K_ERROR("Failed to setup OpenJPEG decoder");
    return EC_J2KInvalidCompressedData;
  }
  // Without threads of its own OpenJPEG decodes on this thread alone (or as OPJ_NUM_THREADS
  // says); a refusal leaves it so.
  if (openjpegThreads > 1 &&
      opj_codec_set_threads(
        opj.codec, static_cast<int>(openjpegThreads < INT_MAX ? openjpegThreads : INT_MAX)))
    DCMJ2K_DEBUG("OpenJPEG decodes with " << openjpegThreads << " threads");

  J2KInputBuffer input = { j2kData, static_cast<size_t>(j2kSize), 0 };
  opj.stream = opj_stream_create(static_cast<OPJ_SIZE_T>(j2kSize), OPJ_TRUE);
  if (opj.stream == nullptr)
  {
    DCMJ2K_ERROR("Failed to create OpenJPEG stream");
    return EC_J2KInvalidCompressedData;
  }
  opj_stream_set_user_data(opj.stream, &input, j2kInputRelease);
  opj_stream_set_user_data_length(opj.stream, j2kSize);
  opj_stream_set_read_function(opj.stream, j2kInputRead);
  opj_stream_set_seek_function(opj.stream, j2kInputSeek);
  opj_stream_set_skip_function(opj.stream, j2kInputSkip);

  if (!opj_read_header(opj.stream, opj.codec, &opj.image) || opj.image == nullptr)
  {
    DCMJ2K_ERROR("Failed to read JPEG 2000 header");
    return EC_J2KInvalidCompressedData;
  }

  const opj_image_t* image = opj.image;
  const OPJ_UINT32 width = image->x1 - image->x0;
  const OPJ_UINT32 height = image->y1 - image->y0;
  DCMJ2K_DEBUG(
    "JPEG 2000 image: " << width << "x" << height << ", " << image->numcomps << " components");
  for (OPJ_UINT32 i = 0; i < image->numcomps; ++i)
  {
    const opj_image_comp_t& comp = image->comps[i];
    DCMJ2K_DEBUG("  Component " << i << ": " << comp.w << "x" << comp.h << ", prec=" << comp.prec
                                << ", sgnd=" << comp.sgnd << ", dx=" << comp.dx
                                << ", dy=" << comp.dy);
  }

  if (width != columns || height != rows || image->numcomps != samplesPerPixel)
  {
    DCMJ2K_ERROR("JPEG 2000 image dimensions mismatch: expected "
                 << columns << "x" << rows << "x" << samplesPerPixel << ", got " << width << "x"
                 << height << "x" << image->numcomps);
    return EC_J2KImageDataMismatch;
  }

  if (!opj_decode(opj.codec, opj.stream, opj.image))
  {
    DCMJ2K_ERROR("Failed to decode JPEG 2000 image");
    return EC_J2KInvalidCompressedData;
  }
  if (!opj_end_decompress(opj.codec, opj.stream))
  {
    DCMJ2K_WARN("opj_end_decompress failed, but image may still be valid");
  }

  const opj_image_comp_t& comp0 = image->comps[0];
  const Uint64 pixelCount = static_cast<Uint64>(comp0.w) * comp0.h;
  DCMJ2K_DEBUG(
    "Component dimensions: " << comp0.w << "x" << comp0.h << ", pixelCount=" << pixelCount);
  if (comp0.data == nullptr)
  {
    DCMJ2K_ERROR("Component data is NULL after decoding");
    return EC_J2KInvalidCompressedData;
  }

  // Every component is read with component 0's sample count, so every component must have
  // exactly the image's raster: no subsampling, no component without data.
  for (OPJ_UINT32 i = 0; i < image->numcomps; ++i)
  {
    const opj_image_comp_t& comp = image->comps[i];
    if (comp.data == nullptr || comp.w != width || comp.h != height)
    {
      DCMJ2K_ERROR("JPEG 2000 component " << i << " does not cover the image: " << comp.w << "x"
                                          << comp.h << (comp.data == nullptr ? " without data" : "")
                                          << ", image " << width << "x" << height);
      return EC_J2KImageDataMismatch;
    }
  }

  if (pixelCount != 0 && DCM_wavecodecLogger.isEnabledFor(OFLogger::DEBUG_LOG_LEVEL))
  {
    const Uint64 scanned = pixelCount < 100000 ? pixelCount : 100000;
    OPJ_INT32 minValue = comp0.data[0];
    OPJ_INT32 maxValue = comp0.data[0];
    for (Uint64 k = 1; k < scanned; ++k)
    {
      minValue = comp0.data[k] < minValue ? comp0.data[k] : minValue;
      maxValue = comp0.data[k] > maxValue ? comp0.data[k] : maxValue;
    }
    DCMJ2K_DEBUG("Component 0 value range (sampled): min=" << minValue << ", max=" << maxValue);
  }

  // 64-bit product: Uint16 geometry and at most 65535 components cannot wrap it.
  const Uint64 needed = static_cast<Uint64>(bytesPerSample) * pixelCount * image->numcomps;
  if (needed > bufSize || (needed != 0 && buffer == nullptr))
  {
    DCMJ2K_ERROR("Output buffer too small: need " << needed << " bytes, have " << bufSize);
    return EC_J2KUncompressedBufferTooSmall;
  }

  warnAboutSignedness(image, pixelRep);
  if (componentTransform != nullptr)
    *componentTransform = usesComponentTransform(opj.codec, image);

  if (bytesPerSample == 1)
  {
    convertSamples(image,
      static_cast<size_t>(pixelCount),
      bytesPerSample,
      pixelRep,
      static_cast<Uint8*>(buffer));
  }
  else
  {
    convertSamples(image,
      static_cast<size_t>(pixelCount),
      bytesPerSample,
      pixelRep,
      static_cast<Uint16*>(buffer));
  }

  DCMJ2K_DEBUG("Successfully decoded " << pixelCount << " pixels to buffer");
  return EC_Normal;
}
