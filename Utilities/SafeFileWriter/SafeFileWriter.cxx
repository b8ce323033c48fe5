#include "SafeFileWriter.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <utility>

#include <fcntl.h>
#include <pthread.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace vireon
{
namespace
{

// Temporary files that the signal handler removes. A slot goes Free -> Filling -> Ready under
// its owner; the handler claims Ready slots (Ready -> Claimed) before it reads their name, and
// an owner frees its name only after taking its slot back from Ready, so the handler never
// reads a freed or half-written name.
enum SlotState : int
{
  SlotFree,
  SlotFilling,
  SlotReady,
  SlotClaimed
};

struct RegistrySlot
{
  std::atomic<int> State{ SlotFree };
  std::atomic<const char*> Name{ nullptr };
};

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free &&
                std::atomic<const char*>::is_always_lock_free,
  "the signal handler needs lock-free atomics");

constexpr int SlotCount = 1024;
RegistrySlot Slots[SlotCount];
// Threads between creating a temporary file and registering it (with the signals blocked).
std::atomic<int> Creating{ 0 };
// Set by the handler: no temporary file is created any more.
std::atomic<bool> Dying{ false };

constexpr int HandledSignals[] = { SIGINT, SIGTERM, SIGHUP };
constexpr int MaximumLinks = 40; // as the kernel's limit for one path
constexpr int NameAttempts = 100;
constexpr size_t RandomLength = 8;
constexpr size_t MaximumExtension = 16;
constexpr size_t MaximumNameLength = 255;
constexpr long ProcFileSystem = 0x9fa0; // PROC_SUPER_MAGIC

extern "C" void RemoveTemporaryFilesAndDie(int signal)
{
  SafeFileWriter::RemoveTemporaryFiles();
  struct sigaction action;
  std::memset(&action, 0, sizeof(action));
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
  // Pending until the handler returns and the signal is unblocked; then the default action
  // ends the process, so its exit status names the signal.
  raise(signal);
}

// Installs the handler for each signal whose disposition is the default; signals that the
// program ignores (nohup) or handles itself are left alone.
void InstallHandlers()
{
  static std::mutex mutex;
  std::lock_guard<std::mutex> lock(mutex);
  for (int signal : HandledSignals)
  {
    struct sigaction current;
    if (sigaction(signal, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO) != 0 ||
        current.sa_handler != SIG_DFL)
    {
      continue;
    }
    struct sigaction action;
    std::memset(&action, 0, sizeof(action));
    action.sa_handler = RemoveTemporaryFilesAndDie;
    sigemptyset(&action.sa_mask);
    for (int other : HandledSignals)
    {
      sigaddset(&action.sa_mask, other);
    }
    sigaction(signal, &action, nullptr);
  }
}

// strerror_r returns the text (GNU) or a status (XSI); only one of these is used.
[[maybe_unused]] const char* ReasonText(const char* gnu, const char*)
{
  return gnu;
}

[[maybe_unused]] const char* ReasonText(int xsi, const char* buffer)
{
  return xsi == 0 ? buffer : "Unknown error";
}

std::string Reason(int error)
{
  char buffer[256] = "";
  return ReasonText(strerror_r(error, buffer, sizeof(buffer)), buffer);
}

// "dir/" for "dir/name", "/" for "/name", "" for "name".
std::string FolderPrefix(const std::string& path)
{
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The folder for messages: "dir", "/" or ".".
std::string FolderName(const std::string& path)
{
  std::string folder = FolderPrefix(path);
  if (folder.empty())
  {
    return ".";
  }
  while (folder.size() > 1 && folder.back() == '/')
  {
    folder.pop_back();
  }
  return folder;
}

bool ReadLink(const std::string& path, std::string& content)
{
  std::string buffer(256, '\0');
  for (;;)
  {
    const ssize_t n = readlink(path.c_str(), &buffer[0], buffer.size());
    if (n < 0)
    {
      return false;
    }
    if (size_t(n) < buffer.size())
    {
      content.assign(buffer, 0, size_t(n));
      return true;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// A link in /proc (also reached as /dev/stdout or /dev/fd/N) stands for an open descriptor,
// whose link text need not be a path at all ("pipe:[1234]").
bool IsDescriptorLink(const std::string& link)
{
  const std::string folder = FolderPrefix(link);
  struct statfs info;
  return statfs(folder.empty() ? "." : folder.c_str(), &info) == 0 &&
         long(info.f_type) == ProcFileSystem;
}

std::string RandomSuffix()
{
  static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char bytes[RandomLength];
  if (getrandom(bytes, sizeof(bytes), GRND_NONBLOCK) != ssize_t(sizeof(bytes)))
  {
    // splitmix64 over the time, the process, the thread and a counter.
    static std::atomic<std::uint64_t> counter{ 0 };
    std::uint64_t state =
      std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      (std::uint64_t(getpid()) << 32) ^ std::uint64_t(reinterpret_cast<std::uintptr_t>(&bytes)) ^
      (counter.fetch_add(1) * 0x9e3779b97f4a7c15ULL);
    for (unsigned char& byte : bytes)
    {
      state += 0x9e3779b97f4a7c15ULL;
      std::uint64_t z = state;
      z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
      z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
      byte = static_cast<unsigned char>(z ^ (z >> 31));
    }
  }
  std::string suffix;
  for (unsigned char byte : bytes)
  {
    suffix += letters[byte % (sizeof(letters) - 1)];
  }
  return suffix;
}

// ".<stem>.<random><extension>", within the file system's name limit.
std::string TemporaryName(const std::string& base)
{
  const size_t dot = base.rfind('.');
  std::string stem = base;
  std::string extension;
  if (dot != std::string::npos && dot > 0 && base.size() - dot <= MaximumExtension)
  {
    stem = base.substr(0, dot);
    extension = base.substr(dot);
  }
  // Two dots, the random part and the extension, and one more character for the name the
  // signal handler renames the folder to.
  const size_t room = MaximumNameLength - 3 - RandomLength - extension.size();
  if (stem.size() > room)
  {
    stem.resize(room);
  }
  return "." + stem + "." + RandomSuffix() + extension;
}

// Blocks the handled signals in this thread for its lifetime.
class SignalBlock
{
public:
  SignalBlock()
  {
    sigset_t block;
    sigemptyset(&block);
    for (int signal : HandledSignals)
    {
      sigaddset(&block, signal);
    }
    pthread_sigmask(SIG_BLOCK, &block, &Previous);
  }
  ~SignalBlock() { pthread_sigmask(SIG_SETMASK, &Previous, nullptr); }
  SignalBlock(const SignalBlock&) = delete;
  SignalBlock& operator=(const SignalBlock&) = delete;

private:
  sigset_t Previous;
};

// Flushes a file written in place to the disk; 0 or the errno of the failure.
int SyncFile(const std::string& path)
{
  const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0)
  {
    return errno;
  }
  int error = fsync(fd) == 0 ? 0 : errno;
  if (close(fd) != 0 && error == 0)
  {
    error = errno;
  }
  return error;
}

} // namespace

SafeFileWriter::SafeFileWriter(std::string target)
  : Target(std::move(target))
{
}

SafeFileWriter::~SafeFileWriter()
{
  Abort();
}

std::string SafeFileWriter::GetErrorMessage() const
{
  return Target + ": " + ErrorReason;
}

bool SafeFileWriter::Fail(int error)
{
  ErrorNumber = error;
  ErrorReason = Reason(error);
  return false;
}

bool SafeFileWriter::Open()
{
  if (Status != State::Idle)
  {
    return Fail(EINVAL);
  }
  Status = State::Done;
  ErrorNumber = 0;
  ErrorReason.clear();
  if (Target.empty())
  {
    return Fail(ENOENT);
  }
  if (Target.back() == '/')
  {
    return Fail(EISDIR);
  }

  // Follow symbolic links to the file that gets the content.
  std::string current = Target;
  struct stat st;
  bool exists = false;
  for (int links = 0;; ++links)
  {
    if (lstat(current.c_str(), &st) != 0)
    {
      if (errno != ENOENT)
      {
        return Fail(errno);
      }
      break; // a new file; a missing folder shows when the temporary file is created
    }
    if (!S_ISLNK(st.st_mode))
    {
      exists = true;
      break;
    }
    if (links == MaximumLinks)
    {
      return Fail(ELOOP);
    }
    if (IsDescriptorLink(current))
    {
      WriteMethod = Method::Direct;
      Path = Target;
      Status = State::Open;
      return true;
    }
    std::string content;
    if (!ReadLink(current, content))
    {
      return Fail(errno);
    }
    if (content.empty())
    {
      return Fail(ENOENT);
    }
    current = content[0] == '/' ? content : FolderPrefix(current) + content;
  }
  Final = current;

  if (exists)
  {
    if (S_ISDIR(st.st_mode))
    {
      return Fail(EISDIR);
    }
    if (!S_ISREG(st.st_mode))
    {
      WriteMethod = Method::Direct;
      Path = Target;
      Status = State::Open;
      return true;
    }
    if (faccessat(AT_FDCWD, Final.c_str(), W_OK, AT_EACCESS) != 0)
    {
      return Fail(errno);
    }
    Existing = true;
    ExistingMode = unsigned(st.st_mode & 07777);
    ExistingOwner = unsigned(st.st_uid);
    ExistingGroup = unsigned(st.st_gid);
  }

  InstallHandlers();
  const std::string folder = FolderPrefix(Final);
  if (CreateTemporary(folder, Final.substr(folder.size()), Existing))
  {
    WriteMethod = Method::Replace;
    Status = State::Open;
    return true;
  }
  const int error = ErrorNumber;
  if (Existing && (error == EACCES || error == EPERM || error == EROFS))
  {
    // The folder refuses new files, but the file itself may be written.
    WriteMethod = Method::InPlace;
    Path = Final;
    InPlaceReason = "cannot create a file in " + FolderName(Final) + ": " + Reason(error);
    ErrorNumber = 0;
    ErrorReason.clear();
    Status = State::Open;
    return true;
  }
  return false;
}

bool SafeFileWriter::CreateTemporary(const std::string& folder,
  const std::string& base,
  bool existing)
{
  // Between creating the file and registering it, the handler must neither run in this thread
  // nor scan the registry in another.
  const SignalBlock block;
  Creating.fetch_add(1);
  int error = 0;
  int slot = -1;
  int fd = -1;
  std::string name;
  if (Dying.load())
  {
    error = ECANCELED;
  }
  for (int i = 0; error == 0 && slot < 0 && i < SlotCount; ++i)
  {
    int expected = SlotFree;
    if (Slots[i].State.compare_exchange_strong(expected, SlotFilling))
    {
      slot = i;
    }
  }
  if (error == 0 && slot < 0)
  {
    error = EMFILE;
  }
  std::string folderName;
  for (int attempt = 0; error == 0 && fd < 0; ++attempt)
  {
    if (attempt == NameAttempts)
    {
      error = EEXIST;
      break;
    }
    // A private folder holds the file: once the signal handler has renamed it away, opening
    // the file by its name fails instead of creating it again.
    folderName = folder + TemporaryName(base);
    if (mkdir(folderName.c_str(), 0700) != 0)
    {
      if (errno != EEXIST)
      {
        error = errno;
      }
      continue;
    }
    name = folderName + "/" + base;
    // Private while it is written when it replaces a file; the file's own permissions are
    // given on commit. A new file gets what a plain create gives.
    fd = open(name.c_str(),
      O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW,
      existing ? 0600 : 0666);
    if (fd < 0)
    {
      error = errno;
      rmdir(folderName.c_str());
    }
  }
  if (fd >= 0)
  {
    // The folder, the file, and both under the name the handler renames the folder to.
    const std::string dead = folderName + "~";
    const std::string names[] = { folderName, name, dead, dead + "/" + base };
    size_t size = 0;
    for (const std::string& n : names)
    {
      size += n.size() + 1;
    }
    RegisteredName.reset(new char[size]);
    char* at = RegisteredName.get();
    for (const std::string& n : names)
    {
      std::memcpy(at, n.c_str(), n.size() + 1);
      at += n.size() + 1;
    }
    Slots[slot].Name.store(RegisteredName.get());
    Slots[slot].State.store(SlotReady);
    Slot = slot;
    TemporaryDescriptor = fd;
    TemporaryFolder = folderName;
    Path = name;
  }
  else if (slot >= 0)
  {
    Slots[slot].State.store(SlotFree);
  }
  Creating.fetch_sub(1);
  return error == 0 ? true : Fail(error);
}

void SafeFileWriter::ForgetTemporary(bool removeFile)
{
  if (TemporaryDescriptor >= 0)
  {
    close(TemporaryDescriptor);
    TemporaryDescriptor = -1;
  }
  // Removed before it leaves the registry: a signal in between must not leave it behind.
  if (removeFile)
  {
    unlink(Path.c_str());
  }
  if (!TemporaryFolder.empty())
  {
    rmdir(TemporaryFolder.c_str());
    TemporaryFolder.clear();
  }
  if (Slot >= 0)
  {
    int expected = SlotReady;
    if (Slots[Slot].State.compare_exchange_strong(expected, SlotFree))
    {
      RegisteredName.reset();
    }
    else
    {
      (void)RegisteredName.release(); // claimed by the handler, which may still read it
    }
    Slot = -1;
  }
}

int SafeFileWriter::CopyIntoTarget()
{
  const int in = open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (in < 0)
  {
    return errno;
  }
  const int out = open(Final.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
  if (out < 0)
  {
    const int error = errno;
    close(in);
    return error;
  }
  int error = 0;
  char buffer[65536];
  while (error == 0)
  {
    const ssize_t n = read(in, buffer, sizeof(buffer));
    if (n == 0)
    {
      break;
    }
    if (n < 0)
    {
      error = errno == EINTR ? 0 : errno;
      continue;
    }
    for (ssize_t done = 0; error == 0 && done < n;)
    {
      const ssize_t written = write(out, buffer + done, size_t(n - done));
      if (written >= 0)
      {
        done += written;
      }
      else if (errno != EINTR)
      {
        error = errno;
      }
    }
  }
  if (error == 0 && fsync(out) != 0)
  {
    error = errno;
  }
  if (close(out) != 0 && error == 0)
  {
    error = errno;
  }
  close(in);
  return error;
}

bool SafeFileWriter::Commit()
{
  if (Status != State::Open)
  {
    return Fail(EINVAL);
  }
  Status = State::Done;
  if (WriteMethod == Method::Direct)
  {
    return true;
  }
  if (WriteMethod == Method::InPlace)
  {
    const int error = SyncFile(Final);
    return error == 0 ? true : Fail(error);
  }

  int error = 0;
  if (fsync(TemporaryDescriptor) != 0)
  {
    error = errno;
  }
  if (error == 0 && Existing)
  {
    // Owner and group where the process may set them (an ordinary user may still set a group
    // it belongs to); the permission bits after, since a change of owner clears set-ID bits.
    if (fchown(TemporaryDescriptor, uid_t(ExistingOwner), gid_t(ExistingGroup)) != 0)
    {
      (void)fchown(TemporaryDescriptor, uid_t(-1), gid_t(ExistingGroup));
    }
    if (fchmod(TemporaryDescriptor, mode_t(ExistingMode)) != 0)
    {
      error = errno;
    }
  }
  const int fd = TemporaryDescriptor;
  TemporaryDescriptor = -1;
  if (close(fd) != 0 && error == 0)
  {
    error = errno;
  }
  bool renamed = false;
  if (error == 0)
  {
    renamed = rename(Path.c_str(), Final.c_str()) == 0;
    error = renamed ? 0 : errno;
  }
  // A file mounted over the target (a container's bind mount) cannot be replaced: the new
  // content is copied into it instead.
  if (error == EBUSY && Existing)
  {
    error = CopyIntoTarget();
    if (error == 0)
    {
      WriteMethod = Method::InPlace;
      InPlaceReason = "cannot replace " + Final + ": " + Reason(EBUSY);
    }
  }
  ForgetTemporary(!renamed);
  return error == 0 ? true : Fail(error);
}

void SafeFileWriter::Abort()
{
  if (Status == State::Open && WriteMethod == Method::Replace)
  {
    ForgetTemporary(true);
  }
  Status = State::Done;
}

void SafeFileWriter::RemoveTemporaryFiles() noexcept
{
  const int savedErrno = errno;
  Dying.store(true);
  // Threads that are creating a temporary file have the signals blocked and register it
  // before they go on.
  while (Creating.load() != 0)
  {
  }
  for (RegistrySlot& slot : Slots)
  {
    int expected = SlotReady;
    if (slot.State.compare_exchange_strong(expected, SlotClaimed))
    {
      // The folder is renamed first, so that a thread that still opens the file by its name
      // cannot create it again; then the file and the folder go.
      const char* folder = slot.Name.load();
      const char* file = folder + std::strlen(folder) + 1;
      const char* dead = file + std::strlen(file) + 1;
      const char* deadFile = dead + std::strlen(dead) + 1;
      if (rename(folder, dead) == 0)
      {
        folder = dead;
        file = deadFile;
      }
      unlink(file);
      rmdir(folder);
    }
  }
  errno = savedErrno;
}

} // namespace vireon
