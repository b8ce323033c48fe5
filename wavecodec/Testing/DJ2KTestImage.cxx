#include "DJ2KTestImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

namespace dj2ktest
{

Image::Image(const char* name,
  Uint16 rows,
  Uint16 columns,
  Uint16 samplesPerPixel,
  Uint16 bitsAllocated,
  Uint16 bitsStored,
  Uint16 pixelRepresentation,
  Uint16 planarConfiguration,
  Sint32 frames)
  : name(name)
  , rows(rows)
  , columns(columns)
  , samplesPerPixel(samplesPerPixel)
  , bitsAllocated(bitsAllocated)
  , bitsStored(bitsStored)
  , pixelRepresentation(pixelRepresentation)
  , planarConfiguration(planarConfiguration)
  , frames(frames)
{
}

Image MakeImage(Uint16 columns,
  Uint16 rows,
  Uint16 components,
  Uint16 bitsStored,
  bool isSigned,
  uint32_t seed)
{
  Image image("", rows, columns, components, bitsStored > 8 ? 16 : 8, bitsStored, isSigned, 0, 1);
  const int64_t range = int64_t(1) << bitsStored;
  const int64_t low = isSigned ? -(range / 2) : 0;
  uint32_t state = seed * 2654435761u + 12345u;
  image.comps.resize(components);
  for (uint32_t c = 0; c < components; ++c)
  {
    image.comps[c].resize(size_t(columns) * rows);
    for (uint32_t y = 0; y < rows; ++y)
    {
      for (uint32_t x = 0; x < columns; ++x)
      {
        state = state * 1664525u + 1013904223u;
        // Smooth ramp plus some noise, spanning the whole range, extremes included.
        int64_t v = (int64_t(x + y * 3 + c * 7) * range) / int64_t(columns + rows * 3 + 1);
        v += int64_t(state >> 24) % 5 - 2;
        v = std::min<int64_t>(std::max<int64_t>(v, 0), range - 1);
        image.comps[c][size_t(y) * columns + x] = int32_t(v + low);
      }
    }
    image.comps[c][0] = int32_t(low);
    image.comps[c].back() = int32_t(low + range - 1);
  }
  return image;
}

std::vector<Uint8> MakePixels(const Image& shape, unsigned seed)
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

long SampleOf(const Image& shape,
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

std::vector<uint8_t> ExpectedBytes(const Image& image, uint16_t bytesPerSample, uint16_t pixelRep)
{
  const size_t n = size_t(image.columns) * image.rows;
  const size_t nc = image.comps.size();
  std::vector<uint8_t> out(n * nc * bytesPerSample);
  const int64_t range = int64_t(1) << image.bitsStored;
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
      if (!image.isSigned() && pixelRep == 1 && v >= range / 2)
        v -= range;
      if (image.isSigned() && pixelRep == 0 && v < 0)
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
        std::memcpy(&out[(k * nc + c) * 2], &w, 2);
      }
    }
  }
  return out;
}

} // namespace dj2ktest
