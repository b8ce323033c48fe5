#include "dj2kutil.h"

#include "dj2kcond.h"

OFLogger DCM_wavecodecLogger = OFLog::getLogger("dcmtk.wavecodec");

makeOFConditionConst(EC_J2KUncompressedBufferTooSmall,
  OFM_wavecodec,
  1,
  OF_error,
  "Uncompressed pixel data too large for buffer");
makeOFConditionConst(EC_J2KCompressedBufferTooSmall,
  OFM_wavecodec,
  2,
  OF_error,
  "Compressed pixel data too large for buffer");
makeOFConditionConst(EC_J2KCodecUnsupportedImageType,
  OFM_wavecodec,
  3,
  OF_error,
  "Unsupported type of image for JPEG 2000 codec");
makeOFConditionConst(EC_J2KCodecInvalidParameters,
  OFM_wavecodec,
  4,
  OF_error,
  "Invalid codec parameters");
makeOFConditionConst(EC_J2KCodecUnsupportedValue,
  OFM_wavecodec,
  5,
  OF_error,
  "Unsupported value in JPEG 2000 codec");
makeOFConditionConst(EC_J2KInvalidCompressedData,
  OFM_wavecodec,
  6,
  OF_error,
  "Invalid JPEG 2000 compressed data");
makeOFConditionConst(EC_J2KUnsupportedBitDepth,
  OFM_wavecodec,
  7,
  OF_error,
  "Unsupported bit depth for JPEG 2000");
makeOFConditionConst(EC_J2KCannotComputeNumberOfFragments,
  OFM_wavecodec,
  8,
  OF_error,
  "Cannot compute number of fragments for JPEG 2000 frame");
makeOFConditionConst(EC_J2KImageDataMismatch,
  OFM_wavecodec,
  9,
  OF_error,
  "Image data mismatch between DICOM header and JPEG 2000 bitstream");
makeOFConditionConst(EC_J2KUnsupportedPhotometricInterpretation,
  OFM_wavecodec,
  10,
  OF_error,
  "Unsupported photometric interpretation for JPEG 2000");
makeOFConditionConst(EC_J2KUnsupportedPixelRepresentation,
  OFM_wavecodec,
  11,
  OF_error,
  "Unsupported pixel representation for JPEG 2000");
makeOFConditionConst(EC_J2KUnsupportedImageType,
  OFM_wavecodec,
  12,
  OF_error,
  "Unsupported image type for JPEG 2000");
makeOFConditionConst(EC_J2KOpenJPEGNotAvailable,
  OFM_wavecodec,
  13,
  OF_error,
  "OpenJPEG library not available");

OFCondition j2kCondition(const OFConditionConst& kind, const OFString& text)
{
  return makeOFCondition(kind.theModule, kind.theCode, kind.theStatus, text.c_str());
}

OFCondition j2kDetailedCondition(const OFConditionConst& kind, const OFString& detail)
{
  OFString text = kind.theText;
  text += ": ";
  text += detail;
  return j2kCondition(kind, text);
}
