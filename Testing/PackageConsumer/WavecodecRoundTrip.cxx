#include "WavecodecRoundTrip.h"

#include <dj2kdecode.h>
#include <dj2kencode.h>

#include <dcmtk/dcmdata/dcdatset.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcpixel.h>
#include <dcmtk/dcmdata/dcpixseq.h>
#include <dcmtk/dcmdata/dcuid.h>

#include <cstring>
#include <vector>

namespace
{
std::string RoundTrip()
{
  const Uint16 rows = 32;
  const Uint16 columns = 48;
  std::vector<Uint16> pixels(size_t(rows) * columns);
  for (Uint16 y = 0; y < rows; ++y)
  {
    for (Uint16 x = 0; x < columns; ++x)
    {
      pixels[size_t(y) * columns + x] = Uint16((x * 37 + y * 101) % 4096);
    }
  }
  DcmDataset dataset;
  dataset.putAndInsertString(DCM_SOPClassUID, UID_SecondaryCaptureImageStorage);
  dataset.putAndInsertString(DCM_SOPInstanceUID, "1.2.826.0.1.3680043.9.7433.9.1");
  dataset.putAndInsertUint16(DCM_Rows, rows);
  dataset.putAndInsertUint16(DCM_Columns, columns);
  dataset.putAndInsertUint16(DCM_SamplesPerPixel, 1);
  dataset.putAndInsertUint16(DCM_BitsAllocated, 16);
  dataset.putAndInsertUint16(DCM_BitsStored, 12);
  dataset.putAndInsertUint16(DCM_HighBit, 11);
  dataset.putAndInsertUint16(DCM_PixelRepresentation, 0);
  dataset.putAndInsertString(DCM_PhotometricInterpretation, "MONOCHROME2");
  dataset.putAndInsertUint16Array(DCM_PixelData, pixels.data(), Uint32(pixels.size()));

  OFCondition status = dataset.chooseRepresentation(EXS_JPEG2000LosslessOnly, nullptr);
  if (status.bad() || !dataset.canWriteXfer(EXS_JPEG2000LosslessOnly))
  {
    return std::string("compression failed: ") + status.text();
  }
  // Only the JPEG 2000 pixel data is left, so the way back has to decode it.
  dataset.removeAllButCurrentRepresentations();
  DcmElement* element = nullptr;
  DcmPixelSequence* sequence = nullptr;
  if (dataset.findAndGetElement(DCM_PixelData, element).bad() ||
      static_cast<DcmPixelData*>(element)
        ->getEncapsulatedRepresentation(EXS_JPEG2000LosslessOnly, nullptr, sequence)
        .bad() ||
      sequence == nullptr || sequence->card() < 2)
  {
    return "the compressed data set holds no JPEG 2000 fragments";
  }
  status = dataset.chooseRepresentation(EXS_LittleEndianExplicit, nullptr);
  if (status.bad())
  {
    return std::string("decompression failed: ") + status.text();
  }
  const Uint16* back = nullptr;
  unsigned long count = 0;
  if (dataset.findAndGetUint16Array(DCM_PixelData, back, &count).bad() ||
      count != pixels.size() || std::memcmp(back, pixels.data(), pixels.size() * 2) != 0)
  {
    return "the decompressed pixels differ from the original";
  }
  return std::string();
}
}

std::string WavecodecRoundTrip()
{
  DJ2KEncoderRegistration::registerCodecs();
  DJ2KDecoderRegistration::registerCodecs();
  const std::string error = RoundTrip();
  DJ2KDecoderRegistration::cleanup();
  DJ2KEncoderRegistration::cleanup();
  return error;
}
