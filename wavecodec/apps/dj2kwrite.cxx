#include "dj2kwrite.h"

#include "dcmtk/dcmdata/dcerror.h"

#include "SafeFileWriter.h"

namespace
{
// EC_InvalidFilename with the system's reason as its text.
OFCondition systemFailure(const std::string& reason)
{
  const OFCondition invalid(EC_InvalidFilename);
  return makeOFCondition(invalid.module(), invalid.code(), OF_error, reason.c_str());
}

void logInPlace(const OFLogger& logger, const vireon::SafeFileWriter& output)
{
  if (output.GetMethod() == vireon::SafeFileWriter::Method::InPlace)
  {
    OFLOG_INFO(
      logger, "writing " << output.GetTarget() << " in place: " << output.GetInPlaceReason());
  }
}
}

OFCondition DJ2KSaveFileSafely(DcmFileFormat& fileformat,
  const OFString& target,
  E_TransferSyntax xfer,
  E_FileWriteMode writeMode,
  const OFLogger& logger)
{
  vireon::SafeFileWriter output(target.c_str());
  if (!output.Open())
  {
    return systemFailure(output.GetErrorReason());
  }
  logInPlace(logger, output);
  OFCondition result = fileformat.saveFile(output.GetPath().c_str(),
    xfer,
    EET_ExplicitLength,
    EGL_recalcGL,
    EPD_noChange,
    0,
    0,
    writeMode);
  if (result.bad())
  {
    return result; // the writer's destructor removes the temporary file
  }
  const bool wasInPlace = output.GetMethod() == vireon::SafeFileWriter::Method::InPlace;
  if (!output.Commit())
  {
    return systemFailure(output.GetErrorReason());
  }
  // A target that turned out to be a mount point has been copied into in place.
  if (!wasInPlace)
  {
    logInPlace(logger, output);
  }
  return result;
}
