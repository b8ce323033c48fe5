// dcmcj2k: compresses the pixel data of a DICOM file with JPEG 2000.
#include "dcmtk/config/osconfig.h"

#include "dcmtk/dcmdata/cmdlnarg.h"
#include "dcmtk/dcmdata/dccodec.h"
#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcuid.h"
#include "dcmtk/dcmdata/dcxfer.h"
#include "dcmtk/ofstd/ofcmdln.h"
#include "dcmtk/ofstd/ofconapp.h"
#include "dcmtk/ofstd/ofexit.h"
#include "dcmtk/ofstd/ofstd.h"

#include "dj2kencode.h"
#include "dj2krparam.h"
#include "dj2kwrite.h"

#define OFFIS_CONSOLE_APPLICATION "dcmcj2k"

// Processing error: the codec could not compress the pixel data.
#define EXITCODE_CANNOT_COMPRESS 80

static OFLogger dcmcj2kLogger = OFLog::getLogger("dcmtk.apps." OFFIS_CONSOLE_APPLICATION);

static char rcsid[] = "$dcmtk: " OFFIS_CONSOLE_APPLICATION " v" WAVECODEC_TOOLS_VERSION " $";

#define SHORTCOL 4
#define LONGCOL 21

int main(int argc, char* argv[])
{
  const char* opt_ifname = nullptr;
  const char* opt_ofname = nullptr;
  OFBool opt_lossless = OFTrue;
  OFCmdFloat opt_ratio = 10.0;
  OFCmdUnsignedInt opt_fragmentSize = 0;
  OFBool opt_createOffsetTable = OFTrue;
  J2K_UIDCreation opt_uidCreation = EJ2KUC_default;
  OFBool opt_convertToSC = OFFalse;
  OFBool opt_refuseHighBits = OFFalse;

  OFConsoleApplication app(
    OFFIS_CONSOLE_APPLICATION, "Encode DICOM file to JPEG 2000 transfer syntax", rcsid);
  OFCommandLine cmd;
  cmd.setOptionColumns(LONGCOL, SHORTCOL);
  cmd.setParamColumn(LONGCOL + SHORTCOL + 4);

  cmd.addParam("dcmfile-in", "DICOM input filename to be converted");
  cmd.addParam("dcmfile-out", "DICOM output filename");

  cmd.addGroup("general options:", LONGCOL, SHORTCOL + 2);
  cmd.addOption("--help", "-h", "print this help text and exit", OFCommandLine::AF_Exclusive);
  cmd.addOption("--version", "print version information and exit", OFCommandLine::AF_Exclusive);
  OFLog::addOptions(cmd);

  cmd.addGroup("encoding options:");
  cmd.addSubGroup("JPEG 2000 process:");
  cmd.addOption("--encode-lossless",
    "+el",
    "encode reversibly, JPEG 2000 Image Compression\n"
    "(Lossless Only) (default)");
  cmd.addOption("--encode-lossy", "+ey", "encode irreversibly, JPEG 2000 Image Compression");
  cmd.addSubGroup("lossy compression:");
  cmd.addOption("--ratio",
    "+r",
    1,
    "[r]atio: float (1..), default: 10",
    "target compression ratio, e.g. 10 for 10:1");
  cmd.addSubGroup("encapsulated pixel data encoding options:");
  cmd.addOption("--fragment-size",
    "+fs",
    1,
    "[s]ize: integer (0..4194303), default: 0",
    "limit fragments to s kbytes (0: one fragment per frame)");
  cmd.addOption("--no-offset-table", "-ot", "leave the basic offset table empty");
  cmd.addSubGroup("bits above Bits Stored:");
  cmd.addOption("--mask-high-bits",
    "+mb",
    "encode the Bits Stored bits of each sample, sign-\nextended if signed (default)");
  cmd.addOption("--refuse-high-bits", "-mb", "refuse images with bits set above Bits Stored");
  cmd.addSubGroup("SOP Instance UID:");
  cmd.addOption("--uid-default", "+ud", "assign new UID after lossy compression (default)");
  cmd.addOption("--uid-always", "+ua", "always assign new UID");
  cmd.addOption("--uid-never", "+un", "never assign new UID");
  cmd.addSubGroup("SOP Class:");
  cmd.addOption("--convert-to-sc", "+sc", "convert to Secondary Capture after compression");

  prepareCmdLineArgs(argc, argv, OFFIS_CONSOLE_APPLICATION);
  if (app.parseCommandLine(cmd, argc, argv))
  {
    if (cmd.hasExclusiveOption())
    {
      if (cmd.findOption("--version"))
      {
        app.printHeader(OFTrue /*print host identifier*/);
        COUT << OFendl << "External libraries used:" << OFendl;
        COUT << "- " << DJ2KEncoderRegistration::getLibraryVersionString() << OFendl;
        return EXITCODE_NO_ERROR;
      }
    }

    cmd.getParam(1, opt_ifname);
    cmd.getParam(2, opt_ofname);

    OFLog::configureFromCommandLine(cmd, app);

    cmd.beginOptionBlock();
    if (cmd.findOption("--encode-lossless"))
    {
      opt_lossless = OFTrue;
    }
    if (cmd.findOption("--encode-lossy"))
    {
      opt_lossless = OFFalse;
    }
    cmd.endOptionBlock();

    if (cmd.findOption("--ratio"))
    {
      app.checkDependence("--ratio", "--encode-lossy", !opt_lossless);
      app.checkValue(cmd.getValueAndCheckMin(opt_ratio, 1.0));
    }
    if (cmd.findOption("--fragment-size"))
    {
      app.checkValue(cmd.getValueAndCheckMinMax(opt_fragmentSize,
        OFstatic_cast(OFCmdUnsignedInt, 0),
        OFstatic_cast(OFCmdUnsignedInt, 4194303)));
    }
    if (cmd.findOption("--no-offset-table"))
    {
      opt_createOffsetTable = OFFalse;
    }

    cmd.beginOptionBlock();
    if (cmd.findOption("--mask-high-bits"))
    {
      opt_refuseHighBits = OFFalse;
    }
    if (cmd.findOption("--refuse-high-bits"))
    {
      opt_refuseHighBits = OFTrue;
    }
    cmd.endOptionBlock();

    cmd.beginOptionBlock();
    if (cmd.findOption("--uid-default"))
    {
      opt_uidCreation = EJ2KUC_default;
    }
    if (cmd.findOption("--uid-always"))
    {
      opt_uidCreation = EJ2KUC_always;
    }
    if (cmd.findOption("--uid-never"))
    {
      opt_uidCreation = EJ2KUC_never;
    }
    cmd.endOptionBlock();

    if (cmd.findOption("--convert-to-sc"))
    {
      opt_convertToSC = OFTrue;
    }
  }

  OFLOG_DEBUG(dcmcj2kLogger, rcsid << OFendl);

  if (opt_ifname == nullptr || opt_ifname[0] == '\0' || opt_ofname == nullptr ||
      opt_ofname[0] == '\0')
  {
    OFLOG_FATAL(dcmcj2kLogger, "invalid filename: <empty string>");
    return EXITCODE_COMMANDLINE_SYNTAX_ERROR;
  }

  OFLOG_INFO(dcmcj2kLogger, "open input file " << opt_ifname);
  DcmFileFormat fileformat;
  OFCondition status = fileformat.loadFile(opt_ifname);
  if (status.bad())
  {
    OFLOG_FATAL(dcmcj2kLogger, opt_ifname << ": cannot read DICOM file: " << status.text());
    return EXITCODE_CANNOT_READ_INPUT_FILE;
  }
  DcmDataset* dataset = fileformat.getDataset();

  const DcmXfer original(dataset->getOriginalXfer());
  if (original.isEncapsulated())
  {
    const E_TransferSyntax xfer = original.getXfer();
    if (xfer == EXS_JPEG2000LosslessOnly || xfer == EXS_JPEG2000)
    {
      OFLOG_FATAL(dcmcj2kLogger,
        opt_ifname << ": cannot compress: transfer syntax " << original.getXferName()
                   << " is already JPEG 2000");
    }
    else
    {
      OFLOG_FATAL(dcmcj2kLogger,
        opt_ifname << ": cannot compress: transfer syntax " << original.getXferName()
                   << " is compressed, decompress it first");
    }
    return EXITCODE_INVALID_INPUT_FILE;
  }
  if (!dataset->tagExists(DCM_PixelData))
  {
    OFLOG_FATAL(dcmcj2kLogger, opt_ifname << ": cannot compress: no pixel data");
    return EXITCODE_INVALID_INPUT_FILE;
  }

  DJ2KEncoderRegistration::registerCodecs(opt_createOffsetTable,
    OFstatic_cast(Uint32, opt_fragmentSize),
    opt_uidCreation,
    opt_convertToSC,
    opt_refuseHighBits);

  const E_TransferSyntax opt_oxfer = opt_lossless ? EXS_JPEG2000LosslessOnly : EXS_JPEG2000;
  const DJ2KRepresentationParameter rp(opt_lossless, opt_lossless ? 0.0 : opt_ratio);
  const DcmXfer target(opt_oxfer);
  OFLOG_INFO(
    dcmcj2kLogger, "convert DICOM file to compressed transfer syntax " << target.getXferName());
  status = dataset->chooseRepresentation(opt_oxfer, &rp);
  if (status.good() && !dataset->canWriteXfer(opt_oxfer))
  {
    status = EC_CannotChangeRepresentation;
  }
  int exitCode = EXITCODE_NO_ERROR;
  if (status.bad())
  {
    OFLOG_FATAL(dcmcj2kLogger, opt_ifname << ": cannot compress: " << status.text());
    exitCode = EXITCODE_CANNOT_COMPRESS;
  }
  else
  {
    OFLOG_INFO(dcmcj2kLogger, "create output file " << opt_ofname);
    // Everything in memory: the output may replace the input file.
    fileformat.loadAllDataIntoMemory();
    status = DJ2KSaveFileSafely(fileformat, opt_ofname, opt_oxfer, EWM_updateMeta, dcmcj2kLogger);
    if (status.bad())
    {
      OFLOG_FATAL(dcmcj2kLogger, opt_ofname << ": cannot write DICOM file: " << status.text());
      exitCode = EXITCODE_CANNOT_WRITE_OUTPUT_FILE;
    }
    else
    {
      OFLOG_INFO(dcmcj2kLogger, "conversion successful");
    }
  }

  DJ2KEncoderRegistration::cleanup();
  return exitCode;
}
