// What dcmcj2k and dcmdj2k share: command-line handling (version, usage with exit codes, and
// OFConsoleApplication's checks made to return instead of exiting, so that both programs can
// run within a process, as their fuzz targets do), reading the input file and writing the
// output, and converting one file or a folder.
#ifndef DJ2KTOOL_H
#define DJ2KTOOL_H

#include "dcmtk/config/osconfig.h"

#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/oflog/oflog.h"
#include "dcmtk/ofstd/ofcmdln.h"
#include "dcmtk/ofstd/ofconapp.h"

#include "dj2kfolder.h"

/// version of the JPEG 2000 tools: the project's version
#define DJ2K_TOOLS_VERSION VIREON_PROJECT_VERSION

/// identifier printed at the top of the usage and version texts
#define DJ2K_TOOL_RCSID(name) "$vireon: " name " v" DJ2K_TOOLS_VERSION " $"

/// one exit code of a tool and what it means
struct DJ2KExitCode
{
  int code;
  const char* meaning;
};

/** parses the command line as OFConsoleApplication::parseCommandLine does, with its messages,
 *  but returns where it would exit the process. --help (-h), and a call without arguments,
 *  print the usage followed by the tool's exit codes; --version prints the header and the
 *  libraries the tool uses.
 *  @param app console application
 *  @param name the tool's name as the application knows it
 *  @param cmd command line with every option and parameter added
 *  @param argc number of arguments
 *  @param argv arguments
 *  @param exitCodes the tool's exit codes, ended by an entry with a null meaning
 *  @param exitCode receives the code to exit with when the result is OFFalse
 *  @return OFTrue when the tool goes on, OFFalse when it exits with exitCode
 */
OFBool DJ2KParseCommandLine(OFConsoleApplication& app,
  const char* name,
  OFCommandLine& cmd,
  int argc,
  char* argv[],
  const DJ2KExitCode* exitCodes,
  int& exitCode);

/** prints an error as OFConsoleApplication::printError does (the header, then "error: " and
 *  the message on standard error, nothing in quiet mode), without exiting; the caller exits
 *  with EXITCODE_COMMANDLINE_SYNTAX_ERROR.
 *  @param app console application
 *  @param message the error
 */
void DJ2KPrintError(OFConsoleApplication& app, const char* message);

/** OFConsoleApplication::checkValue without exiting.
 *  @param app console application
 *  @param cmd parsed command line
 *  @param status what getting the value gave
 *  @return OFTrue for a valid value, otherwise OFFalse with the error printed
 */
OFBool DJ2KCheckValue(OFConsoleApplication& app,
  OFCommandLine& cmd,
  OFCommandLine::E_ValueStatus status);

/** OFConsoleApplication::checkDependence without exiting.
 *  @return condition, OFFalse with the error printed
 */
OFBool DJ2KCheckDependence(OFConsoleApplication& app,
  const char* subOpt,
  const char* baseOpt,
  OFBool condition);

/** OFConsoleApplication::checkConflict without exiting.
 *  @return OFTrue when there is no conflict, OFFalse with the error printed
 */
OFBool DJ2KCheckConflict(OFConsoleApplication& app,
  const char* firstOpt,
  const char* secondOpt,
  OFBool condition);

/** OFLog::configureFromCommandLine, whose refusals (--log-level or --log-config with another
 *  logger option, an invalid level, a missing configuration file) are reported here with its
 *  messages instead of ending the process.
 *  @param app console application
 *  @param cmd parsed command line
 *  @return OFTrue when the logger is configured, OFFalse with the error printed
 */
OFBool DJ2KConfigureLogging(OFConsoleApplication& app, OFCommandLine& cmd);

/// the options both tools have for folders of files and for threads
struct DJ2KRunOptions
{
  /// dcmfile-in and dcmfile-out are folders (+sd)
  OFBool scanDirectories = OFFalse;
  /// with scanDirectories: the subfolders too (+r)
  OFBool recurse = OFFalse;
  /// threads for frames and files, 0: one per processor core (--threads)
  Uint32 threads = 0;
};

/** adds the group "input options:" with +sd/--scan-directories, -r/--no-recurse and
 *  +r/--recurse, named as DCMTK's storescu and dcmsend name them.
 *  @param cmd command line
 */
void DJ2KAddFolderOptions(OFCommandLine& cmd);

/** adds --threads to the current group of options, under the subgroup "threads:".
 *  @param cmd command line
 *  @param work what the threads do, for the option's description ("decompress", "compress")
 */
void DJ2KAddThreadOption(OFCommandLine& cmd, const char* work);

/** reads the options that DJ2KAddFolderOptions and DJ2KAddThreadOption added.
 *  @param app console application
 *  @param cmd parsed command line
 *  @param options receives the values
 *  @return OFTrue when they are valid, otherwise OFFalse with the error printed (a syntax
 *    error)
 */
OFBool DJ2KGetRunOptions(OFConsoleApplication& app, OFCommandLine& cmd, DJ2KRunOptions& options);

/** adds what both tools' command lines begin with: the option and parameter columns, the
 *  parameters dcmfile-in and dcmfile-out, the general options (--help, --version and the
 *  logger's options) and DJ2KAddFolderOptions.
 *  @param cmd command line
 */
void DJ2KAddCommonOptions(OFCommandLine& cmd);

/** parses the command line (DJ2KParseCommandLine, after DCMTK's prepareCmdLineArgs),
 *  configures the logger (DJ2KConfigureLogging) and reads the folder and thread options
 *  (DJ2KGetRunOptions).
 *  @param app console application
 *  @param name the tool's name as the application knows it
 *  @param cmd command line with every option and parameter added
 *  @param argc number of arguments
 *  @param argv arguments
 *  @param exitCodes the tool's exit codes, ended by an entry with a null meaning
 *  @param run receives the folder and thread options
 *  @param exitCode receives the code to exit with when the result is OFFalse
 *  @return OFTrue when the tool goes on, OFFalse when it exits with exitCode
 */
OFBool DJ2KReadCommonOptions(OFConsoleApplication& app,
  const char* name,
  OFCommandLine& cmd,
  int argc,
  char* argv[],
  const DJ2KExitCode* exitCodes,
  DJ2KRunOptions& run,
  int& exitCode);

/** reads the input file of a conversion, saying so at info level.
 *  @param fileformat receives the file
 *  @param input name of the file
 *  @param logger the tool's logger
 *  @return success, or EXITCODE_CANNOT_READ_INPUT_FILE with a message naming the file
 */
DJ2KFileResult DJ2KReadInputFile(DcmFileFormat& fileformat,
  const OFString& input,
  const OFLogger& logger);

/** writes the output file of a conversion: everything is loaded into memory first (the output
 *  may replace the input file), then written with DJ2KSaveFileSafely in xfer, the meta
 *  information following the data set; progress at info level.
 *  @param fileformat the converted file
 *  @param output name of the file
 *  @param xfer transfer syntax to write
 *  @param logger the tool's logger
 *  @return success, or EXITCODE_CANNOT_WRITE_OUTPUT_FILE with a message naming the file
 */
DJ2KFileResult DJ2KWriteOutputFile(DcmFileFormat& fileformat,
  const OFString& output,
  E_TransferSyntax xfer,
  const OFLogger& logger);

/** converts dcmfile-in into dcmfile-out with convert, or with run.scanDirectories every file
 *  of that folder (DJ2KConvertFolder). An empty name is a command line error; the failure of
 *  a single file is logged as fatal.
 *  @param tool the program's name
 *  @param input dcmfile-in
 *  @param output dcmfile-out
 *  @param run the folder and thread options
 *  @param logger the tool's logger
 *  @param convert the tool's conversion of one file
 *  @return the exit code
 */
int DJ2KConvertFiles(const char* tool,
  const char* input,
  const char* output,
  const DJ2KRunOptions& run,
  const OFLogger& logger,
  const DJ2KFileConverter& convert);

/** dcmcj2k: the whole program, which returns where it ends (also on --help, --version and
 *  command line errors); its main is this one call.
 *  @param argc number of arguments
 *  @param argv arguments
 *  @return the exit code
 */
int DJ2KCompressTool(int argc, char* argv[]);

/** dcmdj2k: the whole program, as DJ2KCompressTool.
 *  @param argc number of arguments
 *  @param argv arguments
 *  @return the exit code
 */
int DJ2KDecompressTool(int argc, char* argv[]);

#endif
