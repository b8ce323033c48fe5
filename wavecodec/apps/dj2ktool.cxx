#include "dj2ktool.h"

#include "dcmtk/dcmdata/cmdlnarg.h"
#include "dcmtk/dcmdata/dcuid.h"
#include "dcmtk/oflog/loglevel.h"
#include "dcmtk/oflog/oflog.h"
#include "dcmtk/ofstd/ofconsol.h"
#include "dcmtk/ofstd/ofexit.h"
#include "dcmtk/ofstd/ofstd.h"
#include "dcmtk/ofstd/ofstream.h"

#include "dj2kdecode.h"
#include "dj2kwrite.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace
{

// The usage text as OFConsoleApplication::printUsage writes it, with exitCodes after it.
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
  if (exitCodes != nullptr)
  {
    out << "exit codes:" << OFendl;
    for (const DJ2KExitCode* e = exitCodes; e->meaning != nullptr; ++e)
    {
      char code[16];
      std::snprintf(code, sizeof(code), "  %-4d", e->code);
      out << code << e->meaning << OFendl;
    }
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
  // As OFConsoleApplication::parseCommandLine: a command file without arguments, or --help in
  // a command file, shows its usage (without the exit codes); a syntax error is reported.
  const OFCommandLine::E_ParseStatus status = cmd.parseLine(argc, argv);
  if ((status == OFCommandLine::PS_NoArguments && cmd.getMinParamCount() > 0) ||
      (status == OFCommandLine::PS_ExclusiveOption && cmd.findOption("--help")))
  {
    printUsage(app, name, cmd, nullptr);
    return OFFalse;
  }
  if (status != OFCommandLine::PS_Normal && status != OFCommandLine::PS_NoArguments &&
      status != OFCommandLine::PS_ExclusiveOption)
  {
    OFString message;
    cmd.getStatusString(status, message);
    DJ2KPrintError(app, message.c_str());
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

void DJ2KPrintError(OFConsoleApplication& app, const char* message)
{
  if (app.quietMode())
    return;
  app.printHeader(OFFalse, OFTrue /*stdError*/);
  STD_NAMESPACE ostream& err = ofConsole.lockCerr();
  err << "error: " << message << OFendl;
  ofConsole.unlockCerr();
}

OFBool DJ2KCheckValue(OFConsoleApplication& app,
  OFCommandLine& cmd,
  OFCommandLine::E_ValueStatus status)
{
  if (status == OFCommandLine::VS_Normal)
    return OFTrue;
  OFString message;
  cmd.getStatusString(status, message);
  DJ2KPrintError(app, message.c_str());
  return OFFalse;
}

OFBool DJ2KCheckDependence(OFConsoleApplication& app,
  const char* subOpt,
  const char* baseOpt,
  OFBool condition)
{
  if (!condition)
    DJ2KPrintError(app, (OFString(subOpt) + " only allowed with " + baseOpt).c_str());
  return condition;
}

OFBool DJ2KCheckConflict(OFConsoleApplication& app,
  const char* firstOpt,
  const char* secondOpt,
  OFBool condition)
{
  if (condition)
    DJ2KPrintError(app, (OFString(firstOpt) + " not allowed with " + secondOpt).c_str());
  return !condition;
}

OFBool DJ2KConfigureLogging(OFConsoleApplication& app, OFCommandLine& cmd)
{
  // What OFLog::configureFromCommandLine refuses, in its order and words; it would end the
  // process instead.
  const OFBool levelOption =
    cmd.findOption("--quiet") || cmd.findOption("--verbose") || cmd.findOption("--debug");
  const OFBool logLevel = cmd.findOption("--log-level");
  if (logLevel)
  {
    if (!DJ2KCheckConflict(app, "--log-level", "--verbose, --debug or --quiet", levelOption))
      return OFFalse;
    const char* value = nullptr;
    if (!DJ2KCheckValue(app, cmd, cmd.getValue(value)))
      return OFFalse;
    dcmtk::log4cplus::tstring level(value);
    for (size_t i = 0; i < level.size(); ++i)
      level[i] = OFstatic_cast(char, std::toupper(OFstatic_cast(unsigned char, level[i])));
    if (dcmtk::log4cplus::getLogLevelManager().fromString(level) ==
        dcmtk::log4cplus::NOT_SET_LOG_LEVEL)
    {
      DJ2KPrintError(app, "Invalid log level for --log-level option");
      return OFFalse;
    }
  }
  if (cmd.findOption("--log-config"))
  {
    if (!DJ2KCheckConflict(app, "--log-config", "--verbose, --debug or --quiet", levelOption) ||
        !DJ2KCheckConflict(app, "--log-config", "--log-level", logLevel))
      return OFFalse;
    const char* value = nullptr;
    if (!DJ2KCheckValue(app, cmd, cmd.getValue(value)))
      return OFFalse;
    if (!OFStandard::fileExists(value))
    {
      DJ2KPrintError(app, "Specified --log-config file does not exist");
      return OFFalse;
    }
  }
  OFLog::configureFromCommandLine(cmd, app);
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

OFBool DJ2KGetRunOptions(OFConsoleApplication& app, OFCommandLine& cmd, DJ2KRunOptions& options)
{
  if (cmd.findOption("--scan-directories"))
    options.scanDirectories = OFTrue;
  cmd.beginOptionBlock();
  if (cmd.findOption("--no-recurse"))
    options.recurse = OFFalse;
  if (cmd.findOption("--recurse"))
  {
    if (!DJ2KCheckDependence(app, "--recurse", "--scan-directories", options.scanDirectories))
      return OFFalse;
    options.recurse = OFTrue;
  }
  cmd.endOptionBlock();
  if (cmd.findOption("--threads"))
  {
    OFCmdUnsignedInt threads = 0;
    if (!DJ2KCheckValue(app,
          cmd,
          cmd.getValueAndCheckMinMax(
            threads, OFstatic_cast(OFCmdUnsignedInt, 0), OFstatic_cast(OFCmdUnsignedInt, 1024))))
      return OFFalse;
    options.threads = OFstatic_cast(Uint32, threads);
  }
  return OFTrue;
}

void DJ2KAddCommonOptions(OFCommandLine& cmd)
{
  const int longCol = 21;
  const int shortCol = 4;
  cmd.setOptionColumns(longCol, shortCol);
  cmd.setParamColumn(longCol + shortCol + 4);

  cmd.addParam("dcmfile-in", "DICOM input filename to be converted\n(a folder with +sd)");
  cmd.addParam("dcmfile-out", "DICOM output filename\n(a folder with +sd)");

  cmd.addGroup("general options:", longCol, shortCol + 2);
  cmd.addOption("--help", "-h", "print this help text and exit", OFCommandLine::AF_Exclusive);
  cmd.addOption("--version", "print version information and exit", OFCommandLine::AF_Exclusive);
  OFLog::addOptions(cmd);

  DJ2KAddFolderOptions(cmd);
}

OFBool DJ2KReadCommonOptions(OFConsoleApplication& app,
  const char* name,
  OFCommandLine& cmd,
  int argc,
  char* argv[],
  const DJ2KExitCode* exitCodes,
  DJ2KRunOptions& run,
  int& exitCode)
{
  prepareCmdLineArgs(argc, argv, name);
  if (!DJ2KParseCommandLine(app, name, cmd, argc, argv, exitCodes, exitCode))
    return OFFalse;
  if (!DJ2KConfigureLogging(app, cmd) || !DJ2KGetRunOptions(app, cmd, run))
  {
    exitCode = EXITCODE_COMMANDLINE_SYNTAX_ERROR;
    return OFFalse;
  }
  return OFTrue;
}

DJ2KFileResult DJ2KReadInputFile(DcmFileFormat& fileformat,
  const OFString& input,
  const OFLogger& logger)
{
  DJ2KFileResult result;
  OFLOG_INFO(logger, "reading input file " << input);
  const OFCondition status = fileformat.loadFile(input);
  if (status.bad())
  {
    result.exitCode = EXITCODE_CANNOT_READ_INPUT_FILE;
    result.message = input + ": cannot read DICOM file: " + status.text();
  }
  return result;
}

DJ2KFileResult DJ2KWriteOutputFile(DcmFileFormat& fileformat,
  const OFString& output,
  E_TransferSyntax xfer,
  const OFLogger& logger)
{
  DJ2KFileResult result;
  OFLOG_INFO(logger, "creating output file " << output);
  // Everything in memory: the output may replace the input file. The meta information follows
  // the data set (transfer syntax, SOP Class and Instance).
  fileformat.loadAllDataIntoMemory();
  const OFCondition status = DJ2KSaveFileSafely(fileformat, output, xfer, EWM_updateMeta, logger);
  if (status.bad())
  {
    result.exitCode = EXITCODE_CANNOT_WRITE_OUTPUT_FILE;
    result.message = output + ": cannot write DICOM file: " + status.text();
    return result;
  }
  OFLOG_INFO(logger, "conversion successful");
  return result;
}

int DJ2KConvertFiles(const char* tool,
  const char* input,
  const char* output,
  const DJ2KRunOptions& run,
  const OFLogger& logger,
  const DJ2KFileConverter& convert)
{
  if (input == nullptr || input[0] == '\0' || output == nullptr || output[0] == '\0')
  {
    OFLOG_FATAL(logger, "invalid filename: <empty string>");
    return EXITCODE_COMMANDLINE_SYNTAX_ERROR;
  }
  if (run.scanDirectories)
    return DJ2KConvertFolder(tool, input, output, run.recurse, run.threads, logger, convert);
  const DJ2KFileResult result = convert(input, output);
  if (result.exitCode != EXITCODE_NO_ERROR)
    OFLOG_FATAL(logger, result.message);
  return result.exitCode;
}
