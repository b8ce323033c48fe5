// Decoding of one JPEG 2000 codestream into a DICOM frame buffer (internal to the library).
#ifndef DJ2KDECJ2K_H
#define DJ2KDECJ2K_H

#include "dcmtk/config/osconfig.h"
#include "dcmtk/ofstd/ofcond.h"
#include "dcmtk/ofstd/oftypes.h"

#include <openjpeg.h>

#include <cstddef>

// Decodes a raw codestream or a JP2 file into buffer, pixel by pixel with the samples of a
// pixel in component order, one byte or one host-order word per sample. The image must have
// exactly the expected geometry; bytes of the buffer beyond the image are left alone.
// A codestream whose signedness differs from pixelRep keeps its two's complement bit
// pattern, read with pixelRep's signedness. componentTransform, when given, tells whether
// OpenJPEG applied the inverse multiple-component transform (the samples are then RGB).
// Returns EC_Normal, EC_J2KInvalidCompressedData, EC_J2KImageDataMismatch or
// EC_J2KUncompressedBufferTooSmall. With openjpegThreads above 1, OpenJPEG decodes the code
// blocks of the image on that many threads of its own.
OFCondition decodeJPEG2000(unsigned char* j2kData,
  Uint64 j2kSize,
  void* buffer,
  Uint32 bufSize,
  Uint16 columns,
  Uint16 rows,
  Uint16 samplesPerPixel,
  Uint16 bytesPerSample,
  Uint16 pixelRep,
  OFBool* componentTransform = nullptr,
  Uint32 openjpegThreads = 1);

// OpenJPEG message handlers forwarding to the module logger.
void opj_error_callback(const char* msg, void* clientData);
void opj_warning_callback(const char* msg, void* clientData);
void opj_info_callback(const char* msg, void* clientData);

// Read position over compressed bytes that belong to the caller.
struct J2KInputBuffer
{
  const unsigned char* data;
  size_t size;
  size_t offset;
};

// Input stream callbacks over a J2KInputBuffer.
OPJ_SIZE_T j2kInputRead(void* destination, OPJ_SIZE_T count, void* userData);
OPJ_OFF_T j2kInputSkip(OPJ_OFF_T count, void* userData);
OPJ_BOOL j2kInputSeek(OPJ_OFF_T position, void* userData);
void j2kInputRelease(void* userData);

#endif
