// Test images of the codec: geometry and sample format as DICOM describes them, the samples
// a test makes codestreams from, and the uncompressed DICOM pixel bytes of an image.
#ifndef DJ2KTESTIMAGE_H
#define DJ2KTESTIMAGE_H

#include "dcmtk/config/osconfig.h"
#include "dcmtk/ofstd/oftypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dj2ktest
{

struct Image
{
  Image() = default;
  // A geometry and sample format, as the rows of a table of cases give them.
  Image(const char* name,
    Uint16 rows,
    Uint16 columns,
    Uint16 samplesPerPixel,
    Uint16 bitsAllocated,
    Uint16 bitsStored,
    Uint16 pixelRepresentation,
    Uint16 planarConfiguration,
    Sint32 frames);

  const char* name = "";
  Uint16 rows = 0;
  Uint16 columns = 0;
  Uint16 samplesPerPixel = 1;
  Uint16 bitsAllocated = 8;
  Uint16 bitsStored = 8; // also the precision of codestream components
  Uint16 pixelRepresentation = 0;
  Uint16 planarConfiguration = 0;
  Sint32 frames = 1;

  // Samples of one frame, comps[c][k] for sample k (row by row) of component c, as MakeImage
  // makes them for codestreams; component c > 0 has the size that dx and dy give it.
  std::vector<std::vector<int32_t>> comps;
  // Codestreams: subsampling of the components after the first (the first never is), and
  // whether three components of the same size are coded with the multiple-component transform.
  Uint32 dx = 1;
  Uint32 dy = 1;
  bool mct = true;

  bool isSigned() const { return pixelRepresentation != 0; }
  size_t samplesPerFrame() const { return size_t(rows) * columns * samplesPerPixel; }
  size_t frameBytes() const { return samplesPerFrame() * (bitsAllocated / 8); }
};

// One frame of ramps plus a little noise over the whole range of the precision and
// signedness, with both extremes: comps filled, Bits Allocated 8 or 16 as the precision needs.
Image MakeImage(Uint16 columns,
  Uint16 rows,
  Uint16 components,
  Uint16 bitsStored,
  bool isSigned,
  uint32_t seed = 1);

// Uncompressed pixel data of every frame of shape: per component a smooth wave plus a little
// noise, all within Bits Stored, signed or unsigned, laid out by the planar configuration;
// 16-bit samples in host byte order.
std::vector<Uint8> MakePixels(const Image& shape, unsigned seed = 1);

// Sample k of component c in frame f of uncompressed pixel data laid out as shape says, as a
// signed value.
long SampleOf(const Image& shape,
  const std::vector<Uint8>& pixels,
  size_t frame,
  size_t component,
  size_t k);

// The DICOM samples a decoder gives for image's comps with Pixel Representation pixelRep,
// interleaved by pixel, as bytes (bytesPerSample 1) or host-order words (2): clamped to the
// range of the sample size; samples whose signedness differs from pixelRep keep their
// two's complement pattern of the precision, read with pixelRep's signedness.
std::vector<uint8_t> ExpectedBytes(const Image& image, uint16_t bytesPerSample, uint16_t pixelRep);

} // namespace dj2ktest

#endif
