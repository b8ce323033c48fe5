// Writes the seed inputs of the decoder or the encoder fuzzer into a folder:
//   wavecodecFuzzSeeds decoder|encoder FOLDER
#include "DJ2KTestDataset.h"
#include "DJ2KTestImage.h"
#include "DJ2KTestStream.h"

#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcostrmb.h"
#include "dcmtk/dcmdata/dcuid.h"

#include <cstdio>
#include <fstream>
#include <string>

using namespace dj2ktest;

namespace
{

void writeSeed(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes)
{
  std::ofstream out(dir + "/" + name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Frame input: flags, header bytes, then fragments separated by item tags.
std::vector<uint8_t> frameSeed(uint8_t flags,
  const Image& image,
  unsigned frames,
  unsigned fragments,
  bool jp2)
{
  std::vector<uint8_t> bytes = { flags,
    uint8_t(image.columns - 1),
    uint8_t(image.rows - 1),
    uint8_t(image.comps.size() == 3 ? 1 : 0),
    uint8_t(image.bitsStored),
    uint8_t(image.isSigned() ? 1 : 0),
    uint8_t(frames) };
  const uint8_t separator[4] = { 0xFE, 0xFF, 0xE0, 0x00 };
  for (unsigned f = 0; f < frames; ++f)
  {
    const std::vector<uint8_t> codestream = Encode(image, jp2);
    const size_t piece = codestream.size() / fragments + 1;
    for (size_t begin = 0; begin < codestream.size(); begin += piece)
    {
      if (bytes.size() > 7)
        bytes.insert(bytes.end(), separator, separator + 4);
      bytes.insert(bytes.end(),
        codestream.begin() + long(begin),
        codestream.begin() + long(std::min(codestream.size(), begin + piece)));
    }
  }
  return bytes;
}

// Bytes of a file as written in the transfer syntax, after a first byte of 0x01 (file input).
std::vector<uint8_t> written(DcmFileFormat& file, E_TransferSyntax xfer)
{
  std::vector<uint8_t> buffer(1 << 20);
  DcmOutputBufferStream stream(buffer.data(), offile_off_t(buffer.size()));
  file.transferInit();
  file.write(stream, xfer, EET_ExplicitLength, nullptr);
  file.transferEnd();
  void* data = nullptr;
  offile_off_t length = 0;
  stream.flushBuffer(data, length);
  std::vector<uint8_t> bytes = { 0x01 };
  bytes.insert(bytes.end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + length);
  return bytes;
}

std::vector<uint8_t> fileSeed(const Header& header,
  const std::vector<std::vector<uint8_t>>& frames,
  const Packing& packing,
  E_TransferSyntax xfer)
{
  auto file = MakeFile(header, frames, packing, xfer);
  return written(*file, xfer);
}

// Encoder header input: flags, columns, rows, samples, bits, representation and planar
// configuration, frames, then a pattern of samples within Bits Stored (the fuzzer repeats it).
std::vector<uint8_t> headerSeed(uint8_t flags,
  uint8_t columns,
  uint8_t rows,
  uint8_t samplesCode,
  bool sixteen,
  uint8_t bitsStored,
  uint8_t representation,
  uint8_t frames)
{
  std::vector<uint8_t> bytes = { flags,
    uint8_t(columns - 1),
    uint8_t(rows - 1),
    samplesCode,
    uint8_t((sixteen ? 0x20 : 0x00) | bitsStored),
    representation,
    frames };
  const unsigned bytesPerSample = sixteen ? 2 : 1;
  for (unsigned k = 0; k < 64; ++k)
  {
    const uint32_t value = (k * 2654435761u >> 7) & ((1u << bitsStored) - 1);
    for (unsigned b = 0; b < bytesPerSample; ++b)
      bytes.push_back(uint8_t(value >> (8 * b)));
  }
  return bytes;
}

// Encoder file input: a small uncompressed CT-like image.
std::vector<uint8_t> nativeFileSeed(Uint16 columns, Uint16 rows, Uint16 bitsStored, bool sgnd)
{
  DcmFileFormat file;
  DcmDataset* dataset = file.getDataset();
  dataset->putAndInsertString(DCM_SOPClassUID, UID_CTImageStorage);
  dataset->putAndInsertString(DCM_SOPInstanceUID, "1.2.826.0.1.3680043.2.1143.2");
  dataset->putAndInsertUint16(DCM_Rows, rows);
  dataset->putAndInsertUint16(DCM_Columns, columns);
  dataset->putAndInsertUint16(DCM_SamplesPerPixel, 1);
  dataset->putAndInsertString(DCM_PhotometricInterpretation, "MONOCHROME2");
  dataset->putAndInsertUint16(DCM_BitsAllocated, 16);
  dataset->putAndInsertUint16(DCM_BitsStored, bitsStored);
  dataset->putAndInsertUint16(DCM_HighBit, Uint16(bitsStored - 1));
  dataset->putAndInsertUint16(DCM_PixelRepresentation, sgnd ? 1 : 0);
  std::vector<Uint16> pixels(size_t(rows) * columns);
  for (size_t k = 0; k < pixels.size(); ++k)
  {
    const int value = int(k % columns) * 7 + int(k / columns) * 3 - (sgnd ? 100 : 0);
    pixels[k] = Uint16(value & ((1 << bitsStored) - 1));
  }
  dataset->putAndInsertUint16Array(DCM_PixelData, pixels.data(), Uint32(pixels.size()));
  return written(file, EXS_LittleEndianExplicit);
}

void decoderSeeds(const std::string& dir)
{
  writeSeed(dir, "frame-mono8", frameSeed(0x00, MakeImage(16, 16, 1, 8, false), 1, 1, false));
  writeSeed(dir, "frame-signed12-jp2", frameSeed(0x00, MakeImage(8, 8, 1, 12, true), 1, 1, true));
  writeSeed(dir, "frame-mono16-2x2", frameSeed(0x00, MakeImage(9, 7, 1, 16, false), 2, 2, false));
  writeSeed(dir, "frame-rgb8-planes", frameSeed(0x06, MakeImage(8, 8, 3, 8, false), 1, 1, false));
  writeSeed(dir, "frame-rgb16-3", frameSeed(0x48, MakeImage(5, 4, 3, 16, false), 3, 1, false));

  const Image mono = MakeImage(16, 16, 1, 8, false);
  writeSeed(dir,
    "file-mono8",
    fileSeed(HeaderFor(mono, 8), { Encode(mono) }, Packing(), EXS_JPEG2000LosslessOnly));
  const Image rgb = MakeImage(6, 6, 3, 8, false);
  Header header = HeaderFor(rgb, 8);
  header.numberOfFrames = 2;
  writeSeed(dir,
    "file-rgb8-2frames",
    fileSeed(header, { Encode(rgb), Encode(rgb, true) }, Packing{ 2, true }, EXS_JPEG2000));
  // A CT-like 64x64 12-bit slice, the size of a small real image.
  const Image ct = MakeImage(64, 64, 1, 12, true);
  writeSeed(dir,
    "file-ct12-64",
    fileSeed(HeaderFor(ct, 16), { Encode(ct) }, Packing(), EXS_JPEG2000LosslessOnly));
}

void encoderSeeds(const std::string& dir)
{
  writeSeed(dir, "header-mono8", headerSeed(0x00, 16, 16, 0, false, 8, 0x00, 0));
  writeSeed(dir, "header-signed12", headerSeed(0x00, 9, 7, 0, true, 12, 0x01, 1));
  writeSeed(dir, "header-mono16-3frames", headerSeed(0x04, 8, 8, 0, true, 16, 0x00, 3));
  writeSeed(dir, "header-rgb8-planes", headerSeed(0x00, 8, 6, 1, false, 8, 0x24, 0));
  writeSeed(dir, "header-rgb16-lossy", headerSeed(0x30, 5, 4, 1, true, 10, 0x00, 2));
  writeSeed(dir, "header-mono8-lossless-in-lossy", headerSeed(0x28, 12, 3, 0, false, 5, 0x00, 0));
  writeSeed(dir, "file-ct12-32", nativeFileSeed(32, 32, 12, true));
}

} // namespace

int main(int argc, char* argv[])
{
  const std::string kind = argc == 3 ? argv[1] : "";
  if (kind != "decoder" && kind != "encoder")
  {
    std::fprintf(stderr, "usage: %s decoder|encoder output-folder\n", argv[0]);
    return 1;
  }
  if (kind == "decoder")
    decoderSeeds(argv[2]);
  else
    encoderSeeds(argv[2]);
  return 0;
}
