// libFuzzer target: arbitrary bytes through the JPEG 2000 decoders, either as the codestream
// of the frames of a data set (first byte even) or as a whole DICOM file (first byte odd).
//
// Frame input: byte 0 selects the mode and the packing, bytes 1 to 6 the header (columns,
// rows, samples, bits, pixel representation, frames); the rest is split into fragments.
#include "DJ2KFuzzFile.h"
#include "dj2kcodecd.h"
#include "dj2kcparam.h"
#include "dj2kdecode.h"

#include "dcmtk/dcmdata/dcdatset.h"
#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcpixel.h"
#include "dcmtk/dcmdata/dcpixseq.h"
#include "dcmtk/dcmdata/dcpxitem.h"
#include "dcmtk/dcmdata/dcxfer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{

// Uncompressed sizes above this are legitimate allocations, not findings.
const uint64_t kMaxDecodedBytes = 4u << 20;

void DecodeEveryFrame(DcmDataset* dataset, const DcmCodecParameter& cp, uint8_t flags)
{
  DcmElement* element = nullptr;
  if (dataset->findAndGetElement(DCM_PixelData, element).bad())
    return;
  DcmPixelData* pixelData = dynamic_cast<DcmPixelData*>(element);
  if (pixelData == nullptr)
    return;
  const E_TransferSyntax xfer = dataset->getOriginalXfer();
  DcmPixelSequence* seq = nullptr;
  if (pixelData->getEncapsulatedRepresentation(xfer, nullptr, seq).bad() || seq == nullptr)
    return;
  Uint16 rows = 0, columns = 0, samples = 0, bitsAllocated = 0;
  Sint32 frames = 1;
  dataset->findAndGetUint16(DCM_Rows, rows);
  dataset->findAndGetUint16(DCM_Columns, columns);
  dataset->findAndGetUint16(DCM_SamplesPerPixel, samples);
  dataset->findAndGetUint16(DCM_BitsAllocated, bitsAllocated);
  dataset->findAndGetSint32(DCM_NumberOfFrames, frames);
  const uint64_t frameBytes = uint64_t(rows) * columns * samples * 2;
  const uint64_t items = seq->card();
  if (frameBytes == 0 || frameBytes * (items + 1) > kMaxDecodedBytes)
    return;

  // Single frames through the public decodeFrame, in a buffer that is exactly large enough or
  // one byte short, with guessed and given start fragments.
  const DJ2KLosslessDecoder lossless;
  const DJ2KDecoder lossy;
  const DJ2KDecoderBase& codec =
    (xfer == EXS_JPEG2000) ? static_cast<const DJ2KDecoderBase&>(lossy) : lossless;
  const Uint32 bufSize = Uint32(frameBytes) - ((flags & 0x40) ? 1 : 0);
  std::vector<uint8_t> buffer(bufSize + 1);
  Uint32 start = (flags & 0x20) ? Uint32(flags & 0x07) : 0;
  for (Uint32 frame = 0; frame < Uint32(frames > 0 && frames < 8 ? frames : 1) + 1; ++frame)
  {
    OFString colorModel;
    codec.decodeFrame(nullptr, seq, &cp, dataset, frame, start, buffer.data(), bufSize, colorModel);
  }

  // The whole data set the way DCMTK converts it.
  if (DcmXfer(xfer).isEncapsulated())
    dataset->chooseRepresentation(EXS_LittleEndianExplicit, nullptr);
}

void FuzzFrames(const uint8_t* data, size_t size)
{
  if (size < 7)
    return;
  const uint8_t flags = data[0];
  DcmFileFormat file;
  DcmDataset* dataset = file.getDataset();
  const Uint16 columns = Uint16(1 + data[1] % 64);
  const Uint16 rows = Uint16(1 + data[2] % 64);
  const Uint16 samples = (data[3] & 1) ? 3 : 1;
  const Uint16 bitsStored = Uint16(data[4] % 18);
  const Uint16 bitsAllocated = bitsStored > 8 ? 16 : 8;
  const Uint16 pixelRep = Uint16(data[5] % 3);
  const int frames = data[6] % 4;
  dataset->putAndInsertUint16(DCM_Columns, columns);
  dataset->putAndInsertUint16(DCM_Rows, rows);
  dataset->putAndInsertUint16(DCM_SamplesPerPixel, samples);
  dataset->putAndInsertUint16(DCM_BitsStored, bitsStored);
  dataset->putAndInsertUint16(DCM_BitsAllocated, bitsAllocated);
  dataset->putAndInsertUint16(DCM_HighBit, bitsStored ? Uint16(bitsStored - 1) : 0);
  dataset->putAndInsertUint16(DCM_PixelRepresentation, pixelRep);
  dataset->putAndInsertString(DCM_PhotometricInterpretation, samples == 3 ? "RGB" : "MONOCHROME2");
  if (frames != 0)
    dataset->putAndInsertString(DCM_NumberOfFrames, frames == 1 ? "1" : (frames == 2 ? "2" : "3"));
  if (samples == 3 && (data[3] & 2))
    dataset->putAndInsertUint16(DCM_PlanarConfiguration, (data[3] & 4) ? 1 : 0);

  // Fragments: the rest split at 0xFE 0xFF 0xE0 0x00 markers (item tags), so that inputs can
  // carry several fragments; the offset table is the first fragment when flag 0x10 is set.
  auto* seq = new DcmPixelSequence(DcmTag(DCM_PixelData, EVR_OB));
  std::vector<std::vector<uint8_t>> fragments(1);
  const uint8_t separator[4] = { 0xFE, 0xFF, 0xE0, 0x00 };
  for (size_t k = 7; k < size; ++k)
  {
    if (k + 4 <= size && memcmp(data + k, separator, 4) == 0 && fragments.size() < 64)
    {
      fragments.emplace_back();
      k += 3;
      continue;
    }
    fragments.back().push_back(data[k]);
  }
  if (!(flags & 0x10))
    fragments.insert(fragments.begin(), std::vector<uint8_t>());
  for (const std::vector<uint8_t>& f : fragments)
  {
    auto* item = new DcmPixelItem(DcmTag(DCM_Item, EVR_OB));
    if (!f.empty())
      item->putUint8Array(f.data(), Uint32(f.size()));
    seq->insert(item);
  }
  auto* pixelData = new DcmPixelData(DCM_PixelData);
  const E_TransferSyntax xfer = (flags & 0x08) ? EXS_JPEG2000 : EXS_JPEG2000LosslessOnly;
  pixelData->putOriginalRepresentation(xfer, nullptr, seq);
  dataset->insert(pixelData);
  dataset->chooseRepresentation(xfer, nullptr);
  dataset->updateOriginalXfer();

  const DJ2KCodecParameter cp(EJ2KUC_default,
    J2K_PlanarConfiguration((flags >> 1) & 3),
    (flags & 0x80) != 0,
    (flags & 0x04) != 0);
  DecodeEveryFrame(dataset, cp, flags);
}

void FuzzFile(const uint8_t* data, size_t size)
{
  DcmFileFormat file;
  if (!DJ2KReadFuzzedFile(data, size, file))
    return;
  DcmDataset* dataset = file.getDataset();
  const E_TransferSyntax xfer = dataset->getOriginalXfer();
  if (xfer != EXS_JPEG2000 && xfer != EXS_JPEG2000LosslessOnly)
    return;
  const DJ2KCodecParameter cp(EJ2KUC_default, EJ2KPC_restore, OFFalse, OFTrue);
  DecodeEveryFrame(dataset, cp, 0);
}

} // namespace

// Once per process: the codec registration and the logger set-up stay out of the per-input work
// (DCMTK's data dictionary is loaded once, on first use, by the first input).
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  OFLog::configure(OFLogger::OFF_LOG_LEVEL);
  DJ2KDecoderRegistration::registerCodecs(EJ2KUC_default, EJ2KPC_restore, OFFalse, OFFalse);
  std::atexit([] { DJ2KDecoderRegistration::cleanup(); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size == 0)
    return 0;
  if (data[0] & 1)
    FuzzFile(data + 1, size - 1);
  else
    FuzzFrames(data, size);
  return 0;
}
