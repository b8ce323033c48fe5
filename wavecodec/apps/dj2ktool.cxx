#include "dj2ktool.h"

#include "dcmtk/dcmdata/dcuid.h"
#include "dcmtk/ofstd/ofconsol.h"
#include "dcmtk/ofstd/ofexit.h"
#include "dcmtk/ofstd/ofstream.h"

#include "dj2kdecode.h"

#include <cstdio>
#include <cstring>

namespace
{

// The usage text as OFConsoleApplication::printUsage writes it, followed by the exit codes.
void printUsage(OFConsoleApplication& app,
  const char* name,
  const OFCommandLine& cmd,
  const DJ2KExitCode* exitCodes)
{
  app.printHeader();
  OFString text;
  STD_NAMESPACE ostream& out = ofConsole.lockCout();
  cmd.getSyntaxString(text);
  out << "usage: " << name << text << OFendl;
  cmd.getParamString(text);
  if (!text.empty())
    out << OFendl << text;
  cmd.getOptionString(text);
  if (!text.empty())
    out << OFendl << text;
  out << "exit codes:" << OFendl;
  for (const DJ2KExitCode* e = exitCodes; e->meaning != nullptr; ++e)
  {
    char code[16];
    std::snprintf(code, sizeof(code), "  %-4d", e->code);
    out << code << e->meaning << OFendl;
  }
  out << OFendl;
  ofConsole.unlockCout();
}

} // namespace

OFBool DJ2KParseCommandLine(OFConsoleApplication& app,
  const char* name,
  OFCommandLine& cmd,
  int argc,
  char* argv[],
  const DJ2KExitCode* exitCodes,
  int& exitCode)
{
  exitCode = EXITCODE_NO_ERROR;
  // Like the console application: no arguments, or --help anywhere, shows the usage.
  OFBool help = argc < 2;
  for (int i = 1; i < argc && !help; ++i)
    help = std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0;
  if (help)
  {
    printUsage(app, name, cmd, exitCodes);
    return OFFalse;
  }
  // A syntax error is reported here, and the program exits with
  // EXITCODE_COMMANDLINE_SYNTAX_ERROR.
  if (!app.parseCommandLine(cmd, argc, argv))
  {
    exitCode = EXITCODE_COMMANDLINE_SYNTAX_ERROR;
    return OFFalse;
  }
  if (cmd.hasExclusiveOption() && cmd.findOption("--version"))
  {
    app.printHeader(OFTrue /*print host identifier*/);
    STD_NAMESPACE ostream& out = ofConsole.lockCout();
    out << OFendl << "External libraries used:" << OFendl;
    out << "- " << DJ2KDecoderRegistration::getLibraryVersionString() << OFendl;
    out << "- DCMTK, Version " << OFFIS_DCMTK_VERSION << " " << OFFIS_DCMTK_RELEASEDATE << OFendl;
    ofConsole.unlockCout();
    return OFFalse;
  }
  return OFTrue;
}
