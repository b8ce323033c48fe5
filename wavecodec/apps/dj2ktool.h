// Command-line handling shared by dcmcj2k and dcmdj2k: version, usage with exit codes.
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

/** parses the command line with OFConsoleApplication::parseCommandLine. --help (-h), and a
 *  call without arguments, print the usage followed by the tool's exit codes; --version prints
 *  the header and the libraries the tool uses.
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

/** reads the options that DJ2KAddFolderOptions and DJ2KAddThreadOption added; an invalid value
 *  ends the program with a syntax error, as OFConsoleApplication does.
 *  @param app console application
 *  @param cmd parsed command line
 *  @param options receives the values
 */
void DJ2KGetRunOptions(OFConsoleApplication& app, OFCommandLine& cmd, DJ2KRunOptions& options);

#endif
