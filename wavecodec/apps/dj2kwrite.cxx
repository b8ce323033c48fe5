#include "dj2kwrite.h"

#include "dcmtk/dcmdata/dcerror.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// EC_InvalidFilename with the system's reason for the last failed call as its text.
OFCondition systemFailure()
{
  const OFCondition invalid(EC_InvalidFilename);
  return makeOFCondition(invalid.module(), invalid.code(), OF_error, std::strerror(errno));
}
}

OFCondition DJ2KSaveFileAtomically(DcmFileFormat& fileformat,
  const OFString& target,
  E_TransferSyntax xfer,
  E_FileWriteMode writeMode)
{
  std::string name = std::string(target.c_str()) + ".XXXXXX";
  const int fd = mkstemp(&name[0]);
  if (fd < 0)
  {
    return systemFailure();
  }
  // mkstemp creates the file for its owner only; give it the permissions of a new file.
  const mode_t mask = umask(0);
  umask(mask);
  (void)fchmod(fd, 0666 & ~mask);
  close(fd);
  OFCondition result = fileformat.saveFile(
    name.c_str(), xfer, EET_ExplicitLength, EGL_recalcGL, EPD_noChange, 0, 0, writeMode);
  if (result.good() && std::rename(name.c_str(), target.c_str()) != 0)
  {
    result = systemFailure();
  }
  if (result.bad())
  {
    (void)std::remove(name.c_str());
  }
  return result;
}
