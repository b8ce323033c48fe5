// Output files of the JPEG 2000 tools: written completely or not at all.
#ifndef DJ2KWRITE_H
#define DJ2KWRITE_H

#include "dcmtk/config/osconfig.h"

#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/oflog/oflog.h"
#include "dcmtk/ofstd/ofcond.h"
#include "dcmtk/ofstd/ofstring.h"

/** writes a file format with the project's safe file writer: to a temporary file beside the
 *  target (behind any symbolic links), which replaces the target only when it is complete and
 *  keeps an existing target's permissions and, where possible, its owner; devices and FIFOs
 *  are written directly. When the target's folder refuses new files but the target is
 *  writable, the target is written in place, which is logged at info level.
 *  @param fileformat file format to write
 *  @param target name of the output file
 *  @param xfer transfer syntax to write
 *  @param writeMode how the meta header is written
 *  @param logger the tool's logger
 *  @return EC_Normal if successful, an error code otherwise; when the file could not be
 *    created or replaced, the condition's text is the system's reason
 */
OFCondition DJ2KSaveFileSafely(DcmFileFormat& fileformat,
  const OFString& target,
  E_TransferSyntax xfer,
  E_FileWriteMode writeMode,
  const OFLogger& logger);

#endif
