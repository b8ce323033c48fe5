// Writes the seed inputs of the decoder fuzzer into a folder.
#include "DJ2KTestDataset.h"
#include "DJ2KTestStream.h"

#include "dcmtk/dcmdata/dcostrmb.h"

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

std::vector<uint8_t> fileSeed(const Header& header,
  const std::vector<std::vector<uint8_t>>& frames,
  const Packing& packing,
  E_TransferSyntax xfer)
{
  auto file = MakeFile(header, frames, packing, xfer);
  std::vector<uint8_t> buffer(1 << 20);
  DcmOutputBufferStream stream(buffer.data(), offile_off_t(buffer.size()));
  file->transferInit();
  file->write(stream, xfer, EET_ExplicitLength, nullptr);
  file->transferEnd();
  void* data = nullptr;
  offile_off_t length = 0;
  stream.flushBuffer(data, length);
  std::vector<uint8_t> bytes = { 0x01 };
  bytes.insert(bytes.end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + length);
  return bytes;
}

} // namespace

int main(int argc, char* argv[])
{
  if (argc != 2)
  {
    std::fprintf(stderr, "usage: %s output-folder\n", argv[0]);
    return 1;
  }
  const std::string dir = argv[1];
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
  return 0;
}
