// Command-line handling shared by dcmcj2k and dcmdj2k: version, usage with exit codes, and
// OFConsoleApplication's checks made to return instead of exiting, so that both programs can
// run within a process (their fuzz targets do).
#ifndef DJ2KTOOL_H
#define DJ2KTOOL_H

#include "dcmtk/config/osconfig.h"

#include "dcmtk/ofstd/ofcmdln.h"
#include "dcmtk/ofstd/ofconapp.h"

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
