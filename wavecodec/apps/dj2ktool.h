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

#endif
