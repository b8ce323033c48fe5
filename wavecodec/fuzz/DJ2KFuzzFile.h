// A DICOM file read from the bytes a fuzz target is given.
#ifndef DJ2KFUZZFILE_H
#define DJ2KFUZZFILE_H

#include "dcmtk/config/osconfig.h"

#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcistrmb.h"

#include <cstddef>
#include <cstdint>

// Reads file from the size bytes at data (preamble, meta information and data set); false
// when DCMTK refuses them.
inline bool DJ2KReadFuzzedFile(const uint8_t* data, size_t size, DcmFileFormat& file)
{
  DcmInputBufferStream stream;
  stream.setBuffer(data, offile_off_t(size));
  stream.setEos();
  file.transferInit();
  const OFCondition read = file.read(stream);
  file.transferEnd();
  return read.good();
}

#endif
