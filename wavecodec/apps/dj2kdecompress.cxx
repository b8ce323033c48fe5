// dcmdj2k, DJ2KDecompressTool: decompresses a JPEG 2000 DICOM file to an uncompressed transfer syntax.
#include "dcmtk/config/osconfig.h"

#include "dcmtk/dcmdata/dcdatset.h"
#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dctk.h"
#include "dcmtk/dcmdata/dcxfer.h"
#include "dcmtk/oflog/oflog.h"
#include "dcmtk/ofstd/ofcmdln.h"
#include "dcmtk/ofstd/ofconapp.h"
#include "dcmtk/ofstd/ofexit.h"
#include "dcmtk/ofstd/ofstd.h"

#include "dj2kdecode.h"
#include "dj2ktool.h"

#define OFFIS_CONSOLE_APPLICATION "dcmdj2k"

// Processing error: the pixel data could not be decompressed.
#define EXITCODE_CANNOT_DECOMPRESS 80

static OFLogger dcmdj2kLogger = OFLog::getLogger("dcmtk.apps." OFFIS_CONSOLE_APPLICATION);

static const char rcsid[] = DJ2K_TOOL_RCSID(OFFIS_CONSOLE_APPLICATION);

static const DJ2KExitCode exitCodes[] = {
  { EXITCODE_NO_ERROR, "no error" },
  { EXITCODE_COMMANDLINE_SYNTAX_ERROR, "command line syntax error or invalid option value" },
  { EXITCODE_CANNOT_READ_INPUT_FILE, "cannot read the input file" },
  { EXITCODE_INVALID_INPUT_FILE, "input file not suitable (compressed, but not JPEG 2000)" },
  { EXITCODE_CANNOT_WRITE_OUTPUT_FILE, "cannot write the output file" },
  { EXITCODE_CANNOT_DECOMPRESS, "cannot decompress the pixel data" },
  { EXITCODE_NO_INPUT_FILES, "+sd: no file in the input folder" },
  { EXITCODE_NO_VALID_INPUT_FILES, "+sd: no DICOM file in the input folder" },
  { EXITCODE_INVALID_INPUT_DIRECTORY, "+sd: cannot read the input folder" },
  { EXITCODE_INVALID_OUTPUT_DIRECTORY, "+sd: cannot create the output folder" },
  { 0, nullptr }
};

// Decompresses the file input into the file output with the registered decoders.
static DJ2KFileResult decompressFile(const OFString& input,
  const OFString& output,
  E_TransferSyntax oxfer)
{
  DcmFileFormat fileformat;
  DJ2KFileResult result = DJ2KReadInputFile(fileformat, input, dcmdj2kLogger);
  if (result.exitCode != EXITCODE_NO_ERROR)
    return result;

  DcmDataset* dataset = fileformat.getDataset();
  const DcmXfer original(dataset->getOriginalXfer());
  if (original.isEncapsulated() && original.getXfer() != EXS_JPEG2000LosslessOnly &&
      original.getXfer() != EXS_JPEG2000)
  {
    result.exitCode = EXITCODE_INVALID_INPUT_FILE;
    result.message = input + ": cannot decompress: transfer syntax " + original.getXferName() +
                     " is not JPEG 2000";
    return result;
  }
  OFLOG_INFO(dcmdj2kLogger, "decompressing file (" << original.getXferName() << ")");
  OFCondition error = dataset->chooseRepresentation(oxfer, nullptr);
  if (error.good() && !dataset->canWriteXfer(oxfer))
    error = EC_CannotChangeRepresentation;
  if (error.bad())
  {
    result.exitCode = EXITCODE_CANNOT_DECOMPRESS;
    result.message = input + ": cannot decompress: " + error.text();
    return result;
  }

  return DJ2KWriteOutputFile(fileformat, output, oxfer, dcmdj2kLogger);
}

int DJ2KDecompressTool(int argc, char* argv[])
{
  const char* opt_ifname = nullptr;
  const char* opt_ofname = nullptr;
  E_TransferSyntax opt_oxfer = EXS_LittleEndianExplicit;
  J2K_UIDCreation opt_uidcreation = EJ2KUC_default;
  J2K_PlanarConfiguration opt_planarconfig = EJ2KPC_restore;
  OFBool opt_ignoreOffsetTable = OFFalse;
  OFBool opt_ignoreBadFrames = OFFalse;

  OFConsoleApplication app(
    OFFIS_CONSOLE_APPLICATION, "Decode JPEG 2000 compressed DICOM file", rcsid);
  OFCommandLine cmd;
  DJ2KAddCommonOptions(cmd);

  cmd.addGroup("processing options:");
  DJ2KAddThreadOption(cmd, "decompress");
  cmd.addSubGroup("planar configuration:");
  cmd.addOption("--planar-restore",
    "+pr",
    "restore original planar configuration,\nor determine it automatically (default)");
  cmd.addOption(
    "--planar-auto", "+pa", "determine planar configuration from\nSOP class and color space");
  cmd.addOption("--color-by-pixel", "+px", "always store color-by-pixel");
  cmd.addOption("--color-by-plane", "+pl", "always store color-by-plane");
  cmd.addSubGroup("SOP Instance UID:");
  cmd.addOption("--uid-default", "+ud", "keep same SOP Instance UID (default)");
  cmd.addOption("--uid-always", "+ua", "always assign new SOP Instance UID");
  cmd.addSubGroup("fragments and frames:");
  cmd.addOption("--ignore-offset-table",
    "+io",
    "ignore the Basic Offset Table when splitting\nfragments into frames\n"
    "(alias: --ignore-offsettable)");
  cmd.addOption(
    "--ignore-offsettable", "alias of --ignore-offset-table", OFCommandLine::AF_Internal);
  cmd.addOption(
    "--ignore-bad-frames", "+ib", "go on past a frame whose codestream\ncannot be decoded");

  cmd.addGroup("output options:");
  cmd.addSubGroup("output transfer syntax:");
  cmd.addOption("--write-xfer-little", "+te", "write explicit VR little endian (default)");
  cmd.addOption("--write-xfer-implicit", "+ti", "write implicit VR little endian");

  DJ2KRunOptions run;
  int exitCode = EXITCODE_NO_ERROR;
  if (!DJ2KReadCommonOptions(
        app, OFFIS_CONSOLE_APPLICATION, cmd, argc, argv, exitCodes, run, exitCode))
    return exitCode;
  cmd.getParam(1, opt_ifname);
  cmd.getParam(2, opt_ofname);

  cmd.beginOptionBlock();
  if (cmd.findOption("--planar-restore"))
    opt_planarconfig = EJ2KPC_restore;
  if (cmd.findOption("--planar-auto"))
    opt_planarconfig = EJ2KPC_auto;
  if (cmd.findOption("--color-by-pixel"))
    opt_planarconfig = EJ2KPC_colorByPixel;
  if (cmd.findOption("--color-by-plane"))
    opt_planarconfig = EJ2KPC_colorByPlane;
  cmd.endOptionBlock();

  cmd.beginOptionBlock();
  if (cmd.findOption("--uid-default"))
    opt_uidcreation = EJ2KUC_default;
  if (cmd.findOption("--uid-always"))
    opt_uidcreation = EJ2KUC_always;
  cmd.endOptionBlock();

  if (cmd.findOption("--ignore-offset-table") || cmd.findOption("--ignore-offsettable"))
    opt_ignoreOffsetTable = OFTrue;
  if (cmd.findOption("--ignore-bad-frames"))
    opt_ignoreBadFrames = OFTrue;

  cmd.beginOptionBlock();
  if (cmd.findOption("--write-xfer-little"))
    opt_oxfer = EXS_LittleEndianExplicit;
  if (cmd.findOption("--write-xfer-implicit"))
    opt_oxfer = EXS_LittleEndianImplicit;
  cmd.endOptionBlock();

  OFLOG_DEBUG(dcmdj2kLogger, rcsid);

  DJ2KDecoderRegistration::registerCodecs(opt_uidcreation,
    opt_planarconfig,
    opt_ignoreOffsetTable,
    opt_ignoreBadFrames,
    run.threads);
  exitCode = DJ2KConvertFiles(OFFIS_CONSOLE_APPLICATION,
    opt_ifname,
    opt_ofname,
    run,
    dcmdj2kLogger,
    [&](const OFString& input, const OFString& output)
    { return decompressFile(input, output, opt_oxfer); });
  DJ2KDecoderRegistration::cleanup();
  return exitCode;
}
