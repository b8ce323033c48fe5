// Shared definitions of the JPEG 2000 codec: logger, enumerations and error conditions.
#ifndef DJ2KUTIL_H
#define DJ2KUTIL_H

#include "dcmtk/config/osconfig.h"
#include "dcmtk/oflog/oflog.h"
#include "dcmtk/ofstd/ofcond.h"

#include "wavecodecExport.h"

// The module logger "dcmtk.wavecodec"; every message of the codec goes through it.
extern WAVECODEC_EXPORT OFLogger DCM_wavecodecLogger;

#define DCMJ2K_TRACE(msg) OFLOG_TRACE(DCM_wavecodecLogger, msg)
#define DCMJ2K_DEBUG(msg) OFLOG_DEBUG(DCM_wavecodecLogger, msg)
#define DCMJ2K_INFO(msg) OFLOG_INFO(DCM_wavecodecLogger, msg)
#define DCMJ2K_WARN(msg) OFLOG_WARN(DCM_wavecodecLogger, msg)
#define DCMJ2K_ERROR(msg) OFLOG_ERROR(DCM_wavecodecLogger, msg)
#define DCMJ2K_FATAL(msg) OFLOG_FATAL(DCM_wavecodecLogger, msg)

// When a codec creates a new SOP Instance UID.
enum J2K_UIDCreation
{
  // Encoder: only after lossy compression. Decoder: never.
  EJ2KUC_default = 0,
  // Encoder and decoder: always.
  EJ2KUC_always = 1,
  // Never, not even after lossy compression.
  EJ2KUC_never = 2
};

// Planar Configuration a decoder gives a decompressed colour image.
enum J2K_PlanarConfiguration
{
  // Keep the data set's value; determine it automatically when absent or above 1.
  EJ2KPC_restore = 0,
  // Determine it from SOP Class UID and Photometric Interpretation.
  EJ2KPC_auto = 1,
  // Always 0: samples interleaved pixel by pixel.
  EJ2KPC_colorByPixel = 2,
  // Always 1: one plane per colour component.
  EJ2KPC_colorByPlane = 3
};

// Module number of the codec's conditions.
#define OFM_wavecodec 200

extern WAVECODEC_EXPORT const OFConditionConst EC_J2KUncompressedBufferTooSmall;
extern WAVECODEC_EXPORT const OFConditionConst EC_J2KCompressedBufferTooSmall;
extern WAVECODEC_EXPORT const OFConditionConst EC_J2KCodecUnsupportedImageType;
extern WAVECODEC_EXPORT const OFConditionConst EC_J2KCodecInvalidParameters;
extern WAVECODEC_EXPORT const OFConditionConst EC_J2KCodecUnsupportedValue;
extern WAVECODEC_EXPORT const OFConditionConst EC_J2KInvalidCompressedData;
extern WAVECODEC_EXPORT const OFConditionConst EC_J2KUnsupportedBitDepth;
extern WAVECODEC_EXPORT const OFConditionConst EC_J2KCannotComputeNumberOfFragments;
extern WAVECODEC_EXPORT const OFConditionConst EC_J2KImageDataMismatch;
extern WAVECODEC_EXPORT const OFConditionConst EC_J2KUnsupportedPhotometricInterpretation;
extern WAVECODEC_EXPORT const OFConditionConst EC_J2KUnsupportedPixelRepresentation;
extern WAVECODEC_EXPORT const OFConditionConst EC_J2KUnsupportedImageType;
extern WAVECODEC_EXPORT const OFConditionConst EC_J2KOpenJPEGNotAvailable;

#endif
