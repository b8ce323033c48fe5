// Fixtures of the encoder tests: uncompressed images built with DCMTK, and codestreams read
// back with OpenJPEG.
#ifndef DJ2KENCODERTESTUTILITIES_H
#define DJ2KENCODERTESTUTILITIES_H

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dcdatset.h"
#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcpixel.h"
#include "dcmtk/dcmdata/dcpixseq.h"
#include "dcmtk/dcmdata/dcpxitem.h"
#include "dcmtk/dcmdata/dcuid.h"

#include <openjpeg.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <random>
#include <string>
#include <vector>

// Conditions print as their text in test failures.
inline void PrintTo(const OFCondition& condition, std::ostream* os)
{
  *os << condition.text();
}

namespace dj2ktest
{

// Geometry of a test image.
struct ImageSpec
{
  const char* name;
  Uint16 rows;
  Uint16 columns;
  Uint16 samplesPerPixel;
  Uint16 bitsAllocated;
  Uint16 bitsStored;
  Uint16 pixelRepresentation;
  Uint16 planarConfiguration;
  Sint32 frames;

  size_t samplesPerFrame() const { return size_t(rows) * columns * samplesPerPixel; }
  size_t frameBytes() const { return samplesPerFrame() * (bitsAllocated / 8); }
};

// Pixel values of every frame: per component a smooth pattern plus a little noise, all
// within Bits Stored, signed or unsigned, laid out by the planar configuration.
inline std::vector<Uint8> MakePixels(const ImageSpec& shape, unsigned seed = 1)
{
  const size_t frames = size_t(shape.frames < 1 ? 1 : shape.frames);
  const size_t count = size_t(shape.rows) * shape.columns;
  const bool planar = shape.planarConfiguration == 1 && shape.samplesPerPixel > 1;
  std::vector<Uint8> bytes(shape.frameBytes() * frames);
  std::mt19937 random(seed);
  const int bits = shape.bitsStored;
  const long maxValue = shape.pixelRepresentation ? (1L << (bits - 1)) - 1 : (1L << bits) - 1;
  const long minValue = shape.pixelRepresentation ? -(1L << (bits - 1)) : 0;
  for (size_t f = 0; f < frames; ++f)
  {
    for (size_t c = 0; c < shape.samplesPerPixel; ++c)
    {
      for (size_t k = 0; k < count; ++k)
      {
        const size_t x = k % shape.columns;
        const size_t y = k / shape.columns;
        const double wave =
          0.5 + 0.25 * std::sin(x * 0.07 + double(c)) + 0.2 * std::cos(y * 0.05 + double(f) * 0.3);
        long v = minValue + long(wave * double(maxValue - minValue)) + long(random() % 9) - 4;
        v = v < minValue ? minValue : (v > maxValue ? maxValue : v);
        const size_t i =
          f * shape.samplesPerFrame() + (planar ? c * count + k : k * shape.samplesPerPixel + c);
        if (shape.bitsAllocated == 8)
        {
          bytes[i] = Uint8(v & 0xff);
        }
        else
        {
          const Uint16 w = Uint16(v & 0xffff);
          std::memcpy(&bytes[2 * i], &w, 2);
        }
      }
    }
  }
  return bytes;
}

// A CT-like (monochrome) or RGB data set with the given pixels, uncompressed.
inline void FillDataset(DcmItem& item,
  const ImageSpec& shape,
  const std::vector<Uint8>& pixels,
  bool withFrames = true)
{
  char uid[100];
  item.putAndInsertString(DCM_SOPClassUID,
    shape.samplesPerPixel == 1 ? UID_CTImageStorage : UID_SecondaryCaptureImageStorage);
  item.putAndInsertString(DCM_SOPInstanceUID, dcmGenerateUniqueIdentifier(uid));
  item.putAndInsertString(DCM_StudyInstanceUID, dcmGenerateUniqueIdentifier(uid));
  item.putAndInsertString(DCM_SeriesInstanceUID, dcmGenerateUniqueIdentifier(uid));
  item.putAndInsertString(DCM_Modality, shape.samplesPerPixel == 1 ? "CT" : "OT");
  item.putAndInsertString(DCM_PatientName, "Test^Encoder");
  item.putAndInsertString(
    DCM_PhotometricInterpretation, shape.samplesPerPixel == 1 ? "MONOCHROME2" : "RGB");
  item.putAndInsertUint16(DCM_SamplesPerPixel, shape.samplesPerPixel);
  item.putAndInsertUint16(DCM_Rows, shape.rows);
  item.putAndInsertUint16(DCM_Columns, shape.columns);
  item.putAndInsertUint16(DCM_BitsAllocated, shape.bitsAllocated);
  item.putAndInsertUint16(DCM_BitsStored, shape.bitsStored);
  item.putAndInsertUint16(DCM_HighBit, Uint16(shape.bitsStored - 1));
  item.putAndInsertUint16(DCM_PixelRepresentation, shape.pixelRepresentation);
  if (shape.samplesPerPixel > 1)
  {
    item.putAndInsertUint16(DCM_PlanarConfiguration, shape.planarConfiguration);
  }
  if (withFrames)
  {
    item.putAndInsertString(DCM_NumberOfFrames, std::to_string(shape.frames).c_str());
  }
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

// The encapsulated pixel sequence of the current representation, or null when it is
// not xfer.
inline DcmPixelSequence* GetPixelSequence(DcmItem& item, E_TransferSyntax xfer)
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

// Bytes of item index of a pixel sequence.
inline std::vector<Uint8> ItemBytes(DcmPixelSequence* sequence, unsigned long index)
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

// Codestreams of every frame, joining fragments by the start-of-codestream marker.
inline std::vector<std::vector<Uint8>> FrameCodestreams(DcmPixelSequence* sequence)
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

// What a codestream says about itself, and its decoded samples.
struct DecodedCodestream
{
  bool ok = false;
  bool reversible = false; // wavelet transform of the first COD marker
  unsigned width = 0;
  unsigned height = 0;
  std::vector<unsigned> precision;
  std::vector<bool> isSigned;
  std::vector<std::vector<OPJ_INT32>> components;
};

struct InputBytes
{
  const std::vector<Uint8>* bytes;
  size_t position;
};

inline OPJ_SIZE_T ReadBytes(void* target, OPJ_SIZE_T count, void* user)
{
  InputBytes* in = static_cast<InputBytes*>(user);
  const size_t left = in->bytes->size() - in->position;
  if (left == 0)
  {
    return static_cast<OPJ_SIZE_T>(-1);
  }
  const size_t n = count < left ? count : left;
  std::memcpy(target, in->bytes->data() + in->position, n);
  in->position += n;
  return n;
}

inline OPJ_OFF_T SkipBytes(OPJ_OFF_T count, void* user)
{
  InputBytes* in = static_cast<InputBytes*>(user);
  const size_t left = in->bytes->size() - in->position;
  const size_t n = size_t(count) < left ? size_t(count) : left;
  in->position += n;
  return OPJ_OFF_T(n);
}

inline OPJ_BOOL SeekBytes(OPJ_OFF_T position, void* user)
{
  InputBytes* in = static_cast<InputBytes*>(user);
  if (position < 0 || size_t(position) > in->bytes->size())
  {
    return OPJ_FALSE;
  }
  in->position = size_t(position);
  return OPJ_TRUE;
}

// Decodes a raw codestream with OpenJPEG.
inline DecodedCodestream DecodeCodestream(const std::vector<Uint8>& bytes)
{
  DecodedCodestream result;
  for (size_t i = 0; i + 13 < bytes.size(); ++i)
  {
    if (bytes[i] == 0xFF && bytes[i + 1] == 0x52)
    {
      result.reversible = bytes[i + 13] == 1;
      break;
    }
  }
  InputBytes in{ &bytes, 0 };
  opj_stream_t* stream = opj_stream_create(65536, OPJ_TRUE);
  opj_stream_set_user_data(stream, &in, nullptr);
  opj_stream_set_user_data_length(stream, bytes.size());
  opj_stream_set_read_function(stream, ReadBytes);
  opj_stream_set_skip_function(stream, SkipBytes);
  opj_stream_set_seek_function(stream, SeekBytes);
  opj_codec_t* codec = opj_create_decompress(OPJ_CODEC_J2K);
  opj_dparameters_t parameters;
  opj_set_default_decoder_parameters(&parameters);
  opj_image_t* image = nullptr;
  if (opj_setup_decoder(codec, &parameters) && opj_read_header(stream, codec, &image) &&
      opj_decode(codec, stream, image) && opj_end_decompress(codec, stream))
  {
    result.ok = true;
    result.width = image->x1 - image->x0;
    result.height = image->y1 - image->y0;
    for (unsigned c = 0; c < image->numcomps; ++c)
    {
      const opj_image_comp_t& comp = image->comps[c];
      result.precision.push_back(comp.prec);
      result.isSigned.push_back(comp.sgnd != 0);
      result.components.emplace_back(comp.data, comp.data + size_t(comp.w) * comp.h);
    }
  }
  if (image != nullptr)
  {
    opj_image_destroy(image);
  }
  opj_destroy_codec(codec);
  opj_stream_destroy(stream);
  return result;
}

// Sample s of component c, frame f of the uncompressed pixels, as a signed value.
inline long SampleOf(const ImageSpec& shape,
  const std::vector<Uint8>& pixels,
  size_t frame,
  size_t component,
  size_t k)
{
  const size_t count = size_t(shape.rows) * shape.columns;
  const size_t index =
    frame * shape.samplesPerFrame() + (shape.planarConfiguration == 1 && shape.samplesPerPixel > 1
                                         ? component * count + k
                                         : k * shape.samplesPerPixel + component);
  if (shape.bitsAllocated == 8)
  {
    return shape.pixelRepresentation ? long(Sint8(pixels[index])) : long(pixels[index]);
  }
  Uint16 w;
  std::memcpy(&w, &pixels[2 * index], 2);
  return shape.pixelRepresentation ? long(Sint16(w)) : long(w);
}

} // namespace dj2ktest

#endif
