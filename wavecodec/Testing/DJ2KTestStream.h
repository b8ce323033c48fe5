// OpenJPEG over memory, for the codec's tests, benchmarks and demonstration: compressing an
// OpenJPEG image into bytes, reading bytes back into one, and the codestreams of test images.
#ifndef DJ2KTESTSTREAM_H
#define DJ2KTESTSTREAM_H

#include "DJ2KTestImage.h"

#include <openjpeg.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace dj2ktest
{

struct OpjImageDelete
{
  void operator()(opj_image_t* image) const { opj_image_destroy(image); }
};
using OpjImage = std::unique_ptr<opj_image_t, OpjImageDelete>;

// Compresses image with parameters into a raw codestream (OPJ_CODEC_J2K) or a JP2 file
// (OPJ_CODEC_JP2) in memory; empty when OpenJPEG fails.
std::vector<uint8_t> CompressToMemory(opj_image_t* image,
  opj_cparameters_t& parameters,
  OPJ_CODEC_FORMAT format = OPJ_CODEC_J2K);

// Decompresses a raw codestream or a JP2 file (told apart by the first byte) in memory, the
// whole image at full resolution, through a stream whose buffer holds all of it as the codec's
// does; null when OpenJPEG fails.
OpjImage DecompressFromMemory(const uint8_t* data, size_t size);

// Encodes the comps of image with OpenJPEG: lossless (5/3) or lossy at ratio 10, a raw
// codestream or a JP2 file; empty when OpenJPEG fails.
std::vector<uint8_t> Encode(const Image& image, bool jp2 = false, bool lossless = true);

// What a codestream says about itself, and its samples as OpenJPEG alone decodes them.
struct DecodedCodestream
{
  bool ok = false;
  bool reversible = false; // wavelet transform of the first COD marker
  bool mct = false;        // multiple-component transform of the first COD marker
  unsigned width = 0;
  unsigned height = 0;
  std::vector<unsigned> precision;
  std::vector<bool> isSigned;
  std::vector<std::vector<int32_t>> components;
};
DecodedCodestream DecodeCodestream(const std::vector<uint8_t>& bytes);

} // namespace dj2ktest

#endif
