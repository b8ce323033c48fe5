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

void DJ2KAddFolderOptions(OFCommandLine& cmd)
{
  cmd.addGroup("input options:");
  cmd.addSubGroup("input files:");
  cmd.addOption("--scan-directories",
    "+sd",
    "dcmfile-in and dcmfile-out are folders: every\n"
    "file of dcmfile-in is converted into dcmfile-out\n"
    "under the same name; a failed file does not stop\n"
    "the others, the exit code is the first one's");
  cmd.addOption("--no-recurse", "-r", "do not recurse within folders (default)");
  cmd.addOption("--recurse", "+r", "recurse within folders (with +sd)");
}

void DJ2KAddThreadOption(OFCommandLine& cmd, const char* work)
{
  OFString description = OFString(work) +
                         " the frames of a file, and the files\nof a folder, on n threads "
                         "(0: one per processor\ncore, 1: on the main thread alone)";
  cmd.addSubGroup("threads:");
  cmd.addOption("--threads", 1, "[n]umber: integer (0..1024), default: 0", description.c_str());
}

void DJ2KGetRunOptions(OFConsoleApplication& app, OFCommandLine& cmd, DJ2KRunOptions& options)
{
  if (cmd.findOption("--scan-directories"))
    options.scanDirectories = OFTrue;
  cmd.beginOptionBlock();
  if (cmd.findOption("--no-recurse"))
    options.recurse = OFFalse;
  if (cmd.findOption("--recurse"))
  {
    app.checkDependence("--recurse", "--scan-directories", options.scanDirectories);
    options.recurse = OFTrue;
  }
  cmd.endOptionBlock();
  if (cmd.findOption("--threads"))
  {
    OFCmdUnsignedInt threads = 0;
    app.checkValue(cmd.getValueAndCheckMinMax(
      threads, OFstatic_cast(OFCmdUnsignedInt, 0), OFstatic_cast(OFCmdUnsignedInt, 1024)));
    options.threads = OFstatic_cast(Uint32, threads);
  }
}
