#include "SafeFileWriterTesting.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vireon
{
namespace testing
{
namespace
{

bool SetImmutable(const std::string& path, bool on)
{
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0)
  {
    return false;
  }
  int flags = 0;
  bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (done)
  {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  close(fd);
  return done;
}

// 0 when the change succeeds, else its errno.
int TryChange(const std::string& path, bool folder)
{
  if (folder)
  {
    const std::string probe = path + "/.probe";
    const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
    {
      return errno;
    }
    close(fd);
    unlink(probe.c_str());
    return 0;
  }
  const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0)
  {
    return errno;
  }
  close(fd);
  return 0;
}

} // namespace

Unwritable::Unwritable(std::string path)
  : Path(std::move(path))
{
  struct stat st;
  if (stat(Path.c_str(), &st) != 0)
  {
    Why = Path + ": " + std::strerror(errno);
    return;
  }
  const bool folder = S_ISDIR(st.st_mode);
  if (geteuid() == 0)
  {
    Immutable = SetImmutable(Path, true);
    if (!Immutable)
    {
      Why = Path + ": cannot set the immutable attribute: " + std::strerror(errno);
      return;
    }
  }
  else
  {
    OldMode = st.st_mode & 07777;
    Chmodded = chmod(Path.c_str(), OldMode & ~mode_t(0222)) == 0;
  }
  RefusalError = TryChange(Path, folder);
  if (RefusalError == 0)
  {
    Why = Path + ": still accepts changes";
  }
}

Unwritable::~Unwritable()
{
  if (Immutable)
  {
    SetImmutable(Path, false);
  }
  if (Chmodded)
  {
    chmod(Path.c_str(), OldMode);
  }
}

} // namespace testing
} // namespace vireon
