// dcmcj2k, DJ2KCompressTool: compresses the pixel data of a DICOM file with JPEG 2000.
#include "dcmtk/config/osconfig.h"

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
#include "dj2ktool.h"

#include <cmath>
#include <cstdio>

#define OFFIS_CONSOLE_APPLICATION "dcmcj2k"

// Processing error: the codec could not compress the pixel data, or not at the ratio asked for.
#define EXITCODE_CANNOT_COMPRESS 80

static OFLogger dcmcj2kLogger = OFLog::getLogger("dcmtk.apps." OFFIS_CONSOLE_APPLICATION);

static const char rcsid[] = DJ2K_TOOL_RCSID(OFFIS_CONSOLE_APPLICATION);

static const DJ2KExitCode exitCodes[] = {
  { EXITCODE_NO_ERROR, "no error" },
  { EXITCODE_COMMANDLINE_SYNTAX_ERROR, "command line syntax error or invalid option value" },
  { EXITCODE_CANNOT_READ_INPUT_FILE, "cannot read the input file" },
  { EXITCODE_INVALID_INPUT_FILE,
    "input file not suitable (already compressed, no pixel data)" },
  { EXITCODE_CANNOT_WRITE_OUTPUT_FILE, "cannot write the output file" },
  { EXITCODE_CANNOT_COMPRESS,
    "cannot compress the pixel data (or not at the ratio asked for)" },
  { EXITCODE_NO_INPUT_FILES, "+sd: no file in the input folder" },
  { EXITCODE_NO_VALID_INPUT_FILES, "+sd: no DICOM file in the input folder" },
  { EXITCODE_INVALID_INPUT_DIRECTORY, "+sd: cannot read the input folder" },
  { EXITCODE_INVALID_OUTPUT_DIRECTORY, "+sd: cannot create the output folder" },
  { 0, nullptr }
};

// Lossy compression ratios the tool accepts. OpenJPEG takes the ratio as a single-precision
// rate and treats values of 1 and below as "no rate limit"; far below its overflow, the upper
// bound is beyond what any DICOM frame can reach.
#define RATIO_MIN 1
#define RATIO_MAX 1000000
#define RATIO_TEXT2(x) #x
#define RATIO_TEXT(x) RATIO_TEXT2(x)
#define RATIO_RANGE RATIO_TEXT(RATIO_MIN) " to " RATIO_TEXT(RATIO_MAX)

// The ratio this compression reached: the encoder appends it to Lossy Image Compression
// Ratio, counted as it counts the target (Bits Stored over the bytes of the fragments); 0 when
// the data set does not say.
static double achievedRatio(DcmDataset& dataset)
{
  DcmElement* ratios = nullptr;
  OFString value;
  if (dataset.findAndGetElement(DCM_LossyImageCompressionRatio, ratios).bad() ||
      ratios == nullptr || ratios->getVM() == 0 ||
      ratios->getOFString(value, ratios->getVM() - 1).bad())
    return 0.0;
  OFBool number = OFFalse;
  const double ratio = OFStandard::atof(value.c_str(), &number);
  return number ? ratio : 0.0;
}

// What dcmcj2k asks of the encoders besides their registration.
struct Compression
{
  OFBool lossless = OFTrue;
  double ratio = 10.0;
  OFBool ratioGiven = OFFalse;
};

// Compresses the file input into the file output with the registered encoders.
static DJ2KFileResult compressFile(const OFString& input,
  const OFString& output,
  const Compression& compression)
{
  DcmFileFormat fileformat;
  DJ2KFileResult result = DJ2KReadInputFile(fileformat, input, dcmcj2kLogger);
  if (result.exitCode != EXITCODE_NO_ERROR)
    return result;
  DcmDataset* dataset = fileformat.getDataset();

  const DcmXfer original(dataset->getOriginalXfer());
  if (original.isEncapsulated())
  {
    const E_TransferSyntax xfer = original.getXfer();
    result.exitCode = EXITCODE_INVALID_INPUT_FILE;
    result.message = input + ": cannot compress: transfer syntax " + original.getXferName() +
                     (xfer == EXS_JPEG2000LosslessOnly || xfer == EXS_JPEG2000
                         ? " is already JPEG 2000"
                         : " is compressed, decompress it first");
    return result;
  }
  if (!dataset->tagExists(DCM_PixelData))
  {
    result.exitCode = EXITCODE_INVALID_INPUT_FILE;
    result.message = input + ": cannot compress: no pixel data";
    return result;
  }

  const E_TransferSyntax oxfer =
    compression.lossless ? EXS_JPEG2000LosslessOnly : EXS_JPEG2000;
  const DJ2KRepresentationParameter rp(
    compression.lossless, compression.lossless ? 0.0 : compression.ratio);
  const DcmXfer target(oxfer);
  OFLOG_INFO(
    dcmcj2kLogger, "converting DICOM file to compressed transfer syntax " << target.getXferName());
  OFCondition status = dataset->chooseRepresentation(oxfer, &rp);
  if (status.good() && !dataset->canWriteXfer(oxfer))
  {
    status = EC_CannotChangeRepresentation;
  }
  const double achieved =
    status.good() && !compression.lossless ? achievedRatio(*dataset) : 0.0;
  if (achieved > 0.0)
    OFLOG_INFO(dcmcj2kLogger, "compression ratio reached: " << achieved << ":1 of the stored bits");
  // OpenJPEG meets a reachable target, within a few header bytes on tiny frames; a target
  // below the size of its smallest codestreams leaves the ratio short. A ratio asked for is
  // then refused; the default one is only a target.
  const OFBool ratioShort = achieved > 0.0 && achieved < compression.ratio * 0.95;
  char shortText[160] = "";
  if (ratioShort)
    std::snprintf(shortText,
      sizeof(shortText),
      "ratio %g cannot be reached for this image (OpenJPEG reached %.1f:1)",
      compression.ratio,
      std::floor(achieved * 10.0) / 10.0);
  if (status.bad())
  {
    result.exitCode = EXITCODE_CANNOT_COMPRESS;
    result.message = input + ": cannot compress: " + status.text();
    return result;
  }
  if (ratioShort && compression.ratioGiven)
  {
    result.exitCode = EXITCODE_CANNOT_COMPRESS;
    result.message = input + ": cannot compress: " + shortText;
    return result;
  }
  if (ratioShort)
    OFLOG_WARN(dcmcj2kLogger, input << ": default " << shortText);
  return DJ2KWriteOutputFile(fileformat, output, oxfer, dcmcj2kLogger);
}

int DJ2KCompressTool(int argc, char* argv[])
{
  const char* opt_ifname = nullptr;
  const char* opt_ofname = nullptr;
  OFBool opt_lossless = OFTrue;
  OFCmdFloat opt_ratio = 10.0;
  OFBool opt_ratioGiven = OFFalse;
  OFCmdUnsignedInt opt_fragmentSize = 0;
  OFBool opt_createOffsetTable = OFTrue;
  J2K_UIDCreation opt_uidCreation = EJ2KUC_default;
  OFBool opt_convertToSC = OFFalse;
  OFBool opt_refuseHighBits = OFFalse;

  OFConsoleApplication app(
    OFFIS_CONSOLE_APPLICATION, "Encode DICOM file to JPEG 2000 transfer syntax", rcsid);
  OFCommandLine cmd;
  DJ2KAddCommonOptions(cmd);

  cmd.addGroup("encoding options:");
  DJ2KAddThreadOption(cmd, "compress");
  cmd.addSubGroup("JPEG 2000 process:");
  cmd.addOption("--encode-lossless",
    "+el",
    "encode reversibly, JPEG 2000 Image Compression\n"
    "(Lossless Only) (default)");
  cmd.addOption("--encode-lossy", "+ey", "encode irreversibly, JPEG 2000 Image Compression");
  cmd.addSubGroup("lossy compression:");
  // +r is --recurse, as in DCMTK's tools that scan folders.
  cmd.addOption("--ratio",
    "+ra",
    1,
    "[r]atio: float (" RATIO_TEXT(RATIO_MIN) ".." RATIO_TEXT(RATIO_MAX) "), default: 10",
    "target compression ratio r:1 of the stored bits,\n"
    "e.g. 10 for 10:1; refused when OpenJPEG cannot\n"
    "reach it for the image (the default is a target)");
  cmd.addSubGroup("pixel data fragmentation:");
  cmd.addOption("--fragment-per-frame", "+ff", "encode each frame as one fragment (default)");
  cmd.addOption("--fragment-size",
    "+fs",
    1,
    "[s]ize: integer (0..4194303)",
    "limit fragment size to s kbytes\n(0: one fragment per frame)");
  cmd.addSubGroup("basic offset table encoding:");
  cmd.addOption("--offset-table-create", "+ot", "create offset table (default)");
  cmd.addOption("--offset-table-empty",
    "-ot",
    "leave offset table empty\n(alias: --no-offset-table)");
  cmd.addOption("--no-offset-table", "alias of --offset-table-empty", OFCommandLine::AF_Internal);
  cmd.addSubGroup("bits above Bits Stored:");
  cmd.addOption("--mask-high-bits",
    "+mb",
    "encode the Bits Stored bits of each sample, sign-\nextended if signed (default)");
  cmd.addOption("--refuse-high-bits", "-mb", "refuse images with bits set above Bits Stored");
  cmd.addSubGroup("SOP Class UID:");
  cmd.addOption("--class-default", "+cd", "keep SOP Class UID (default)");
  cmd.addOption("--convert-to-sc",
    "+cs",
    "convert to Secondary Capture Image after\n"
    "compression (assigns a new SOP Instance UID;\n"
    "aliases: --class-sc, +sc)");
  cmd.addOption("--class-sc", "+sc", "alias of --convert-to-sc", OFCommandLine::AF_Internal);
  cmd.addSubGroup("SOP Instance UID:");
  cmd.addOption("--uid-default", "+ud", "assign new UID after lossy compression (default)");
  cmd.addOption("--uid-always", "+ua", "always assign new UID");
  cmd.addOption("--uid-never", "+un", "never assign new UID (not with --convert-to-sc)");

  DJ2KRunOptions run;
  int exitCode = EXITCODE_NO_ERROR;
  if (!DJ2KReadCommonOptions(
        app, OFFIS_CONSOLE_APPLICATION, cmd, argc, argv, exitCodes, run, exitCode))
    return exitCode;
  cmd.getParam(1, opt_ifname);
  cmd.getParam(2, opt_ofname);

  cmd.beginOptionBlock();
  if (cmd.findOption("--encode-lossless"))
    opt_lossless = OFTrue;
  if (cmd.findOption("--encode-lossy"))
    opt_lossless = OFFalse;
  cmd.endOptionBlock();

  if (cmd.findOption("--ratio"))
  {
    if (!DJ2KCheckDependence(app, "--ratio", "--encode-lossy", !opt_lossless))
      return EXITCODE_COMMANDLINE_SYNTAX_ERROR;
    const char* text = nullptr;
    if (!DJ2KCheckValue(app, cmd, cmd.getValue(text)))
      return EXITCODE_COMMANDLINE_SYNTAX_ERROR;
    OFBool number = OFFalse;
    opt_ratio = OFStandard::atof(text, &number);
    opt_ratioGiven = OFTrue;
    // Written so that NaN fails too.
    if (!number || !(opt_ratio >= RATIO_MIN && opt_ratio <= RATIO_MAX))
    {
      OFString message = "Invalid value for option --ratio: ";
      message += text;
      message += " (accepted range: " RATIO_RANGE ")";
      DJ2KPrintError(app, message.c_str());
      return EXITCODE_COMMANDLINE_SYNTAX_ERROR;
    }
  }

  cmd.beginOptionBlock();
  if (cmd.findOption("--fragment-per-frame"))
    opt_fragmentSize = 0;
  if (cmd.findOption("--fragment-size"))
  {
    if (!DJ2KCheckValue(app,
          cmd,
          cmd.getValueAndCheckMinMax(opt_fragmentSize,
            OFstatic_cast(OFCmdUnsignedInt, 0),
            OFstatic_cast(OFCmdUnsignedInt, 4194303))))
      return EXITCODE_COMMANDLINE_SYNTAX_ERROR;
  }
  cmd.endOptionBlock();

  cmd.beginOptionBlock();
  if (cmd.findOption("--offset-table-create"))
    opt_createOffsetTable = OFTrue;
  if (cmd.findOption("--offset-table-empty") || cmd.findOption("--no-offset-table"))
    opt_createOffsetTable = OFFalse;
  cmd.endOptionBlock();

  cmd.beginOptionBlock();
  if (cmd.findOption("--mask-high-bits"))
    opt_refuseHighBits = OFFalse;
  if (cmd.findOption("--refuse-high-bits"))
    opt_refuseHighBits = OFTrue;
  cmd.endOptionBlock();

  cmd.beginOptionBlock();
  if (cmd.findOption("--class-default"))
    opt_convertToSC = OFFalse;
  if (cmd.findOption("--convert-to-sc") || cmd.findOption("--class-sc"))
    opt_convertToSC = OFTrue;
  cmd.endOptionBlock();

  cmd.beginOptionBlock();
  if (cmd.findOption("--uid-default"))
    opt_uidCreation = EJ2KUC_default;
  if (cmd.findOption("--uid-always"))
    opt_uidCreation = EJ2KUC_always;
  if (cmd.findOption("--uid-never"))
  {
    // A converted data set is a new instance and needs a new UID.
    if (!DJ2KCheckConflict(app, "--uid-never", "--convert-to-sc", opt_convertToSC))
      return EXITCODE_COMMANDLINE_SYNTAX_ERROR;
    opt_uidCreation = EJ2KUC_never;
  }
  cmd.endOptionBlock();

  OFLOG_DEBUG(dcmcj2kLogger, rcsid);

  DJ2KEncoderRegistration::registerCodecs(opt_createOffsetTable,
    OFstatic_cast(Uint32, opt_fragmentSize),
    opt_uidCreation,
    opt_convertToSC,
    opt_refuseHighBits,
    run.threads);
  Compression compression;
  compression.lossless = opt_lossless;
  compression.ratio = opt_ratio;
  compression.ratioGiven = opt_ratioGiven;
  exitCode = DJ2KConvertFiles(OFFIS_CONSOLE_APPLICATION,
    opt_ifname,
    opt_ofname,
    run,
    dcmcj2kLogger,
    [&](const OFString& input, const OFString& output)
    { return compressFile(input, output, compression); });
  DJ2KEncoderRegistration::cleanup();
  return exitCode;
}
