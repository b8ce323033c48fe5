// Output files of the JPEG 2000 tools: written completely or not at all.
#ifndef DJ2KWRITE_H
#define DJ2KWRITE_H

#include "dcmtk/config/osconfig.h"

#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/ofstd/ofcond.h"
#include "dcmtk/ofstd/ofstring.h"

/** writes a file format to a temporary file beside the target, with the permissions of a
 *  newly created file, and renames it to the target only when it is complete. On failure the
 *  temporary file is removed and an existing target stays as it was.
 *  @param fileformat file format to write
 *  @param target name of the output file
 *  @param xfer transfer syntax to write
 *  @param writeMode how the meta header is written
 *  @return EC_Normal if successful, an error code otherwise; when the file could not be
 *    created or renamed, the condition's text is the system's reason
 */
OFCondition DJ2KSaveFileAtomically(DcmFileFormat& fileformat,
  const OFString& target,
  E_TransferSyntax xfer,
  E_FileWriteMode writeMode);

#endif
