#include "dj2kostrm.h"

#include "dcmtk/dcmdata/dcerror.h"
#include "dcmtk/dcmdata/dcpixseq.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace
{

// Grows the block until it covers needed bytes (the new part is not initialised).
bool growTo(J2KOutputBuffer* buffer, size_t needed)
{
  if (needed <= buffer->capacity)
  {
    return true;
  }
  size_t capacity = buffer->capacity == 0 ? J2K_OUTPUT_CHUNK : buffer->capacity;
  while (capacity < needed)
  {
    if (capacity > std::numeric_limits<size_t>::max() / 2)
    {
      capacity = needed;
      break;
    }
    capacity *= 2;
  }
  OPJ_BYTE* data = static_cast<OPJ_BYTE*>(std::realloc(buffer->data, capacity));
  if (data == nullptr)
  {
    return false;
  }
  buffer->data = data;
  buffer->capacity = capacity;
  return true;
}

// Raises length to end; the bytes between the old length and end become zeros, so every
// byte below length is defined.
void extendTo(J2KOutputBuffer* buffer, size_t end)
{
  if (buffer->length < end)
  {
    std::memset(buffer->data + buffer->length, 0, end - buffer->length);
    buffer->length = end;
  }
}

// Moves the write position to target, growing the block when it lies beyond it.
bool moveTo(J2KOutputBuffer* buffer, size_t target)
{
  if (!growTo(buffer, target))
  {
    return false;
  }
  buffer->position = target;
  return true;
}

} // namespace

OPJ_SIZE_T j2kOutputWrite(void* source, OPJ_SIZE_T count, void* userData)
{
  J2KOutputBuffer* buffer = static_cast<J2KOutputBuffer*>(userData);
  if (count > std::numeric_limits<size_t>::max() - buffer->position)
  {
    return static_cast<OPJ_SIZE_T>(-1);
  }
  const size_t end = buffer->position + count;
  if (!growTo(buffer, end))
  {
    return static_cast<OPJ_SIZE_T>(-1);
  }
  extendTo(buffer, buffer->position);
  if (count > 0)
  {
    std::memcpy(buffer->data + buffer->position, source, count);
  }
  buffer->position = end;
  if (buffer->length < end)
  {
    buffer->length = end;
  }
  return count;
}

OPJ_OFF_T j2kOutputSkip(OPJ_OFF_T count, void* userData)
{
  J2KOutputBuffer* buffer = static_cast<J2KOutputBuffer*>(userData);
  size_t target = 0;
  if (count < 0)
  {
    const Uint64 back = static_cast<Uint64>(-(count + 1)) + 1;
    if (back > buffer->position)
    {
      return -1;
    }
    target = buffer->position - static_cast<size_t>(back);
  }
  else
  {
    if (static_cast<Uint64>(count) > std::numeric_limits<size_t>::max() - buffer->position)
    {
      return -1;
    }
    target = buffer->position + static_cast<size_t>(count);
  }
  if (!moveTo(buffer, target))
  {
    return -1;
  }
  extendTo(buffer, target);
  return count;
}

OPJ_BOOL j2kOutputSeek(OPJ_OFF_T position, void* userData)
{
  J2KOutputBuffer* buffer = static_cast<J2KOutputBuffer*>(userData);
  if (position < 0)
  {
    return OPJ_FALSE;
  }
  return moveTo(buffer, static_cast<size_t>(position)) ? OPJ_TRUE : OPJ_FALSE;
}

void j2kOutputRelease(void* userData)
{
  J2KOutputBuffer* buffer = static_cast<J2KOutputBuffer*>(userData);
  std::free(buffer->data);
  buffer->data = nullptr;
}

OFCondition j2kStoreCompressedFrame(DcmPixelSequence* pixSeq,
  DcmOffsetList& offsetList,
  Uint8* compressedFrame,
  Uint64 compressedSize,
  Uint32 fragmentSize)
{
  // An item is padded to even length and 0xFFFFFFFF means undefined length.
  if (compressedSize > 0xFFFFFFFEu)
  {
    return EC_ElemLengthExceeds32BitField;
  }
  return pixSeq->storeCompressedFrame(
    offsetList, compressedFrame, static_cast<Uint32>(compressedSize), fragmentSize);
}

Uint32 j2kFragmentSizeArgument(Uint32 fragmentSizeKB)
{
  if (fragmentSizeKB > 0xFFFFFFFFu / 1024u)
  {
    return 0;
  }
  return fragmentSizeKB;
}
