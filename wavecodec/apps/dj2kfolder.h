// Folders of files for the JPEG 2000 tools: every file below an input folder converted into an
// output folder under the same relative path, several files at once.
#ifndef DJ2KFOLDER_H
#define DJ2KFOLDER_H

#include "dcmtk/config/osconfig.h"

#include "dcmtk/oflog/oflog.h"
#include "dcmtk/ofstd/ofstring.h"
#include "dcmtk/ofstd/oftypes.h"

#include <functional>

/// what converting one file gave
struct DJ2KFileResult
{
  /// 0 when the file was converted, otherwise the code the tool exits with for this failure
  /// when it converts a single file
  int exitCode = 0;
  /// for a failure: what went wrong, naming the file it concerns (as the tool says it when it
  /// converts a single file)
  OFString message;
};

/// converts the file input into the file output (which the converter writes safely)
typedef std::function<DJ2KFileResult(const OFString& input, const OFString& output)>
  DJ2KFileConverter;

/** converts every file in inputFolder (with recurse also in its subfolders, sorted by path)
 *  into outputFolder under the same relative path, creating the folders needed. Files that are
 *  not DICOM files (no "DICM" after the 128-byte preamble) are skipped with a warning; a
 *  failing file is reported as an error, in the order of the files, and the others go on.
 *  The files are converted on a DJ2KThreadPool of threads threads (0: one per processor core),
 *  whose threads also take the frames of the files (the codecs' thread count should be the
 *  same). While stderr is a terminal a progress line counts the files done. At the end one line
 *  on stdout gives the counts and the bytes read and written.
 *  @param tool the program's name, starting the summary line
 *  @param inputFolder folder to read
 *  @param outputFolder folder to write; created if it does not exist. When it lies inside
 *    inputFolder, the files already in it are not converted again.
 *  @param recurse whether to descend into subfolders
 *  @param threads files converted at once
 *  @param logger the tool's logger
 *  @param convert the tool's conversion of one file
 *  @return 0 when no file failed, else the exit code of the first failed file (in the order
 *    of the files); for the folders themselves EXITCODE_INVALID_INPUT_DIRECTORY (the input is
 *    not a readable folder), EXITCODE_INVALID_OUTPUT_DIRECTORY (the output folder cannot be
 *    had), EXITCODE_NO_INPUT_FILES (no file found) or EXITCODE_NO_VALID_INPUT_FILES (no DICOM
 *    file among them)
 */
int DJ2KConvertFolder(const char* tool,
  const OFString& inputFolder,
  const OFString& outputFolder,
  OFBool recurse,
  Uint32 threads,
  const OFLogger& logger,
  const DJ2KFileConverter& convert);

#endif
