// In-memory output stream of the JPEG 2000 encoder, and the checked hand-over of a
// compressed frame to DCMTK (internal to the library).
#ifndef DJ2KOSTRM_H
#define DJ2KOSTRM_H

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dcofsetl.h"
#include "dcmtk/ofstd/ofcond.h"

#include <openjpeg.h>

#include <cstddef>

class DcmPixelSequence;

// Growing memory block behind an OpenJPEG output stream. The block always covers length
// bytes of defined data: a gap left by a skip or seek past the end reads as zeros.
struct J2KOutputBuffer
{
  OPJ_BYTE* data;  // from malloc/realloc, owned by the buffer
  size_t length;   // highest position ever reached: bytes of codestream
  size_t capacity; // bytes allocated
  size_t position; // write position
};

// Initial capacity of the block, and the size of OpenJPEG's own stream buffer.
const size_t J2K_OUTPUT_CHUNK = 1048576;

OPJ_SIZE_T j2kOutputWrite(void* source, OPJ_SIZE_T count, void* userData);
OPJ_OFF_T j2kOutputSkip(OPJ_OFF_T count, void* userData);
OPJ_BOOL j2kOutputSeek(OPJ_OFF_T position, void* userData);
void j2kOutputRelease(void* userData);

// Appends one frame's codestream to pixSeq; refuses one that does not fit a 32-bit
// fragment length instead of truncating it.
OFCondition j2kStoreCompressedFrame(DcmPixelSequence* pixSeq,
  DcmOffsetList& offsetList,
  Uint8* compressedFrame,
  Uint64 compressedSize,
  Uint32 fragmentSize);

// Fragment size argument of DcmPixelSequence::storeCompressedFrame, which takes kBytes
// itself. A limit of 4 GiB or more cannot be reached by any frame and would wrap when
// DCMTK turns it into bytes: it means no limit (0).
Uint32 j2kFragmentSizeArgument(Uint32 fragmentSizeKB);

#endif
