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

// How one component's samples map to DICOM samples.
struct SampleMapping
{
  Sint64 add;
  Sint64 low;
  Sint64 high;
};

SampleMapping sampleMapping(const opj_image_comp_t& comp, Uint16 bytesPerSample, Uint16 pixelRep)
{
  const Sint64 unsignedMax = bytesPerSample == 1 ? 255 : 65535;
  const Sint64 signedMin = bytesPerSample == 1 ? -128 : -32768;
  const Sint64 signedMax = bytesPerSample == 1 ? 127 : 32767;
  // 2^(prec-1); OpenJPEG limits the precision, the clamp keeps the shift defined regardless.
  const OPJ_UINT32 prec = comp.prec < 1 ? 1 : (comp.prec > 32 ? 32 : comp.prec);
  const Sint64 half = static_cast<Sint64>(1) << (prec - 1);
  if (comp.sgnd == 0)
  {
    if (pixelRep == 0)
      return { 0, 0, unsignedMax };
    if (pixelRep == 1)
      return { -half, signedMin, signedMax };
    return { 0, signedMin, signedMax };
  }
  if (pixelRep == 0)
    return { half, 0, unsignedMax };
  return { 0, signedMin, signedMax };
}

// Converts one component into every numcomps-th sample of out.
template <typename T>
void convertComponent(const OPJ_INT32* in,
  size_t pixelCount,
  const SampleMapping& m,
  T* out,
  size_t stride)
{
  for (size_t k = 0; k < pixelCount; ++k, out += stride)
  {
    Sint64 v = static_cast<Sint64>(in[k]) + m.add;
    v = v < m.low ? m.low : (v > m.high ? m.high : v);
    *out = static_cast<T>(v);
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

} // namespace

void opj_error_callback(const char* msg, void* /*clientData*/)
{
  DCMJ2K_ERROR("OpenJPEG error: " << msg);
}

void opj_warning_callback(const char* msg, void* /*clientData*/)
{
  DCMJ2K_WARN("OpenJPEG warning: " << msg);
}

void opj_info_callback(const char* msg, void* /*clientData*/)
{
  DCMJ2K_DEBUG("OpenJPEG info: " << msg);
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
  Uint32 openjpegThreads)
{
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
      opj_codec_set_threads(opj.codec, static_cast<int>(openjpegThreads < INT_MAX ? openjpegThreads : INT_MAX)))
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
