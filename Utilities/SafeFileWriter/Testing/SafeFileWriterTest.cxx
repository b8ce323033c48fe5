// vireon::SafeFileWriter: links, permissions and owners, devices, in-place writes, failures,
// signals and threads.
#include "SafeFileWriter.h"
#include "SafeFileWriterTesting.h"

#include <vtkImageData.h>
#include <vtkMetaImageReader.h>
#include <vtkMetaImageWriter.h>
#include <vtkNew.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using vireon::SafeFileWriter;
using Method = vireon::SafeFileWriter::Method;
using Names = std::vector<std::string>;

namespace
{

std::string Read(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// A file with exactly this content and these permission bits.
void Make(const std::string& path, const std::string& content, mode_t mode)
{
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  ASSERT_GE(fd, 0) << path << ": " << std::strerror(errno);
  ASSERT_EQ(write(fd, content.data(), content.size()), ssize_t(content.size()));
  ASSERT_EQ(fchmod(fd, mode), 0);
  close(fd);
}

Names List(const std::string& folder)
{
  Names names;
  if (DIR* dir = opendir(folder.c_str()))
  {
    while (dirent* entry = readdir(dir))
    {
      const std::string name = entry->d_name;
      if (name != "." && name != "..")
      {
        names.push_back(name);
      }
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

struct stat Lstat(const std::string& path)
{
  struct stat st;
  std::memset(&st, 0, sizeof(st));
  lstat(path.c_str(), &st);
  return st;
}

std::string LinkText(const std::string& path)
{
  char buffer[4096];
  const ssize_t n = readlink(path.c_str(), buffer, sizeof(buffer));
  return n < 0 ? "<not a link>" : std::string(buffer, size_t(n));
}

std::string RealFolderOf(const std::string& path)
{
  const std::string folder = path.substr(0, path.rfind('/'));
  char* real = realpath(folder.c_str(), nullptr);
  const std::string result = real ? real : "<" + folder + " unresolved>";
  free(real);
  return result;
}

// Writes to the writer's path as a tool does, with a stream of its own.
bool WriteContent(const SafeFileWriter& writer, const std::string& content)
{
  std::ofstream out(writer.GetPath(), std::ios::binary | std::ios::trunc);
  out << content;
  out.close();
  return !out.fail();
}

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
  remove(path);
  return 0;
}

class SafeFileWriterTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    std::string pattern = ::testing::TempDir() + "safefilewriter-XXXXXX";
    ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
    Dir = pattern;
  }
  void TearDown() override { nftw(Dir.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS); }

  std::string At(const std::string& name) const { return Dir + "/" + name; }

  std::string Dir;
};

// Sets the umask for a scope.
class Umask
{
public:
  explicit Umask(mode_t mask)
    : Previous(umask(mask))
  {
  }
  ~Umask() { umask(Previous); }

private:
  mode_t Previous;
};

} // namespace

// The content goes to the file behind any links, in a temporary file in that file's real
// folder; links stay links; an existing file keeps its permissions and owner, a new one gets
// what a plain create gives.
TEST_F(SafeFileWriterTest, ReplacesTheFileBehindLinksAndKeepsItsPermissionsAndOwner)
{
  const bool root = geteuid() == 0;
  const Umask mask(027);
  struct Link
  {
    const char* name;
    const char* text; // "@" stands for the case's folder
  };
  struct Case
  {
    const char* name;
    const char* target;
    const char* real;
    int mode;        // of the existing real file, -1 for none
    bool otherOwner; // the real file belongs to 1234:5678 (as root)
    std::vector<Link> links;
  };
  const Case cases[] = {
    { "new file", "out/new.dcm", "out/new.dcm", -1, false, {} },
    { "existing 0600", "out/private.dcm", "out/private.dcm", 0600, false, {} },
    { "existing 0640, other owner", "out/shared.dcm", "out/shared.dcm", 0640, true, {} },
    { "set-user-ID 04750, other owner", "out/tool", "out/tool", 04750, true, {} },
    { "absolute link",
      "out/abs.dcm",
      "data/real.dcm",
      0640,
      true,
      { { "out/abs.dcm", "@/data/real.dcm" } } },
    { "relative link",
      "out/rel.dcm",
      "data/real.dcm",
      0600,
      false,
      { { "out/rel.dcm", "../data/real.dcm" } } },
    { "chain of links",
      "out/first.mha",
      "data/real.mha",
      0640,
      false,
      { { "out/first.mha", "second.mha" }, { "out/second.mha", "@/data/real.mha" } } },
    { "dangling link",
      "out/dangling.dcm",
      "data/new.dcm",
      -1,
      false,
      { { "out/dangling.dcm", "../data/new.dcm" } } },
  };
  int index = 0;
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    const std::string folder = At("case" + std::to_string(index++));
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    ASSERT_EQ(mkdir((folder + "/out").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((folder + "/data").c_str(), 0755), 0);
    const std::string real = folder + "/" + c.real;
    if (c.mode >= 0)
    {
      Make(real, "old content", mode_t(c.mode));
      if (c.otherOwner && root)
      {
        ASSERT_EQ(chown(real.c_str(), 1234, 5678), 0);
        ASSERT_EQ(chmod(real.c_str(), mode_t(c.mode)), 0); // chown cleared set-ID bits
      }
    }
    for (const Link& link : c.links)
    {
      std::string text = link.text;
      if (text[0] == '@')
      {
        text = folder + text.substr(1);
      }
      ASSERT_EQ(symlink(text.c_str(), (folder + "/" + link.name).c_str()), 0);
    }
    // Afterwards the folders hold what they hold now and the new file, if any.
    Names outExpected = List(folder + "/out");
    Names dataExpected = List(folder + "/data");
    if (c.mode < 0)
    {
      Names& names = std::string(c.real).rfind("data/", 0) == 0 ? dataExpected : outExpected;
      names.push_back(real.substr(real.rfind('/') + 1));
      std::sort(names.begin(), names.end());
    }

    SafeFileWriter writer(folder + "/" + c.target);
    ASSERT_TRUE(writer.Open()) << writer.GetErrorMessage();
    EXPECT_EQ(writer.GetMethod(), Method::Replace);
    // The replacement has the target's name, in a private folder inside the target's real
    // folder (the same file system, so the rename on commit is atomic).
    const std::string temporaryFolder = RealFolderOf(writer.GetPath());
    EXPECT_EQ(RealFolderOf(temporaryFolder), RealFolderOf(real));
    EXPECT_EQ(Lstat(temporaryFolder).st_mode & 07777, 0700u);
    const std::string realName = real.substr(real.rfind('/') + 1);
    EXPECT_EQ(writer.GetPath().substr(writer.GetPath().rfind('/') + 1), realName);
    const std::string extension = realName.find('.') == std::string::npos
                                    ? std::string()
                                    : realName.substr(realName.rfind('.'));
    EXPECT_EQ(writer.GetPath().substr(writer.GetPath().size() - extension.size()), extension);
    if (c.mode >= 0)
    {
      // Nobody else may open the replacement while the data goes in.
      EXPECT_EQ(Lstat(writer.GetPath()).st_mode & 077, 0u);
    }
    ASSERT_TRUE(WriteContent(writer, std::string("new content of ") + c.name));
    ASSERT_TRUE(writer.Commit()) << writer.GetErrorMessage();
    EXPECT_EQ(writer.GetErrorNumber(), 0);

    EXPECT_EQ(Read(real), std::string("new content of ") + c.name);
    const struct stat st = Lstat(real);
    ASSERT_TRUE(S_ISREG(st.st_mode));
    if (c.mode >= 0)
    {
      EXPECT_EQ(st.st_mode & 07777, mode_t(c.mode));
    }
    else
    {
      const std::string reference = folder + "/data/reference";
      const int fd = open(reference.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
      ASSERT_GE(fd, 0);
      close(fd);
      EXPECT_EQ(st.st_mode & 07777, Lstat(reference).st_mode & 07777);
      unlink(reference.c_str());
    }
    if (c.otherOwner && root)
    {
      EXPECT_EQ(st.st_uid, 1234u);
      EXPECT_EQ(st.st_gid, 5678u);
    }
    for (const Link& link : c.links)
    {
      const std::string path = folder + "/" + link.name;
      EXPECT_TRUE(S_ISLNK(Lstat(path).st_mode)) << link.name;
      EXPECT_EQ(LinkText(path), link.text[0] == '@' ? folder + (link.text + 1) : link.text);
    }
    EXPECT_EQ(List(folder + "/out"), outExpected);
    EXPECT_EQ(List(folder + "/data"), dataExpected);
  }
}

// Devices, FIFOs and descriptor links are written as they are, never replaced by a file.
TEST_F(SafeFileWriterTest, WritesDevicesFifosAndDescriptorsDirectly)
{
  const struct stat null = Lstat("/dev/null");
  ASSERT_TRUE(S_ISCHR(null.st_mode));
  ASSERT_EQ(symlink("/dev/null", At("null-link").c_str()), 0);
  for (const std::string& target : { std::string("/dev/null"), At("null-link") })
  {
    SCOPED_TRACE(target);
    SafeFileWriter writer(target);
    ASSERT_TRUE(writer.Open()) << writer.GetErrorMessage();
    // Stop before a commit could replace the system's /dev/null.
    ASSERT_EQ(writer.GetMethod(), Method::Direct);
    EXPECT_EQ(writer.GetPath(), target);
    EXPECT_TRUE(WriteContent(writer, "discarded"));
    EXPECT_TRUE(writer.Commit()) << writer.GetErrorMessage();
    const struct stat after = Lstat("/dev/null");
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(after.st_ino, null.st_ino);
    EXPECT_EQ(after.st_rdev, null.st_rdev);
  }
  EXPECT_EQ(LinkText(At("null-link")), "/dev/null");

  // A FIFO with a reader at the other end.
  {
    const std::string fifo = At("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = Read(fifo); });
    SafeFileWriter writer(fifo);
    const bool opened = writer.Open();
    EXPECT_EQ(writer.GetMethod(), Method::Direct);
    // The stream's open waits for the reader; a writer that does not write to the FIFO must
    // still let the reader go.
    EXPECT_TRUE(WriteContent(writer, opened ? "through the fifo" : "open failed"));
    EXPECT_TRUE(writer.Commit());
    reader.join();
    EXPECT_EQ(received, "through the fifo");
    EXPECT_TRUE(S_ISFIFO(Lstat(fifo).st_mode));
  }

  // A descriptor link (what /dev/stdout leads to), here to a pipe.
  {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    SafeFileWriter writer("/dev/fd/" + std::to_string(fds[1]));
    ASSERT_TRUE(writer.Open()) << writer.GetErrorMessage();
    EXPECT_EQ(writer.GetMethod(), Method::Direct);
    EXPECT_TRUE(WriteContent(writer, "through the pipe"));
    EXPECT_TRUE(writer.Commit());
    close(fds[1]);
    char buffer[64];
    const ssize_t n = read(fds[0], buffer, sizeof(buffer));
    close(fds[0]);
    EXPECT_EQ(std::string(buffer, size_t(std::max<ssize_t>(n, 0))), "through the pipe");
  }
  EXPECT_EQ(List(Dir), (Names{ "fifo", "null-link" }));
}

// A folder that refuses new files (for root too) with a writable file in it.
TEST_F(SafeFileWriterTest, WritesInPlaceWhenTheFolderRefusesNewFiles)
{
  const std::string ro = At("ro");
  const std::string elsewhere = At("elsewhere");
  ASSERT_EQ(mkdir(ro.c_str(), 0755), 0);
  ASSERT_EQ(mkdir(elsewhere.c_str(), 0755), 0);
  Make(ro + "/out.dcm", "old content", 0640);
  Make(elsewhere + "/real.dcm", "old content", 0600);
  ASSERT_EQ(symlink((elsewhere + "/real.dcm").c_str(), (ro + "/link.dcm").c_str()), 0);
  const ino_t inode = Lstat(ro + "/out.dcm").st_ino;
  const Names before = List(ro);

  vireon::testing::Unwritable guard(ro);
  if (!guard.Problem().empty())
  {
    GTEST_SKIP() << guard.Problem();
  }
  const std::string reason = std::strerror(guard.Refusal());

  {
    SafeFileWriter writer(ro + "/out.dcm");
    ASSERT_TRUE(writer.Open()) << writer.GetErrorMessage();
    EXPECT_EQ(writer.GetMethod(), Method::InPlace);
    EXPECT_EQ(writer.GetPath(), ro + "/out.dcm");
    EXPECT_EQ(writer.GetInPlaceReason(), "cannot create a file in " + ro + ": " + reason);
    ASSERT_TRUE(WriteContent(writer, "new content"));
    EXPECT_TRUE(writer.Commit()) << writer.GetErrorMessage();
  }
  EXPECT_EQ(Read(ro + "/out.dcm"), "new content");
  EXPECT_EQ(Lstat(ro + "/out.dcm").st_ino, inode);
  EXPECT_EQ(Lstat(ro + "/out.dcm").st_mode & 07777, 0640u);

  // A link in that folder to a file elsewhere: the file is replaced in its own folder.
  {
    SafeFileWriter writer(ro + "/link.dcm");
    ASSERT_TRUE(writer.Open()) << writer.GetErrorMessage();
    EXPECT_EQ(writer.GetMethod(), Method::Replace);
    ASSERT_TRUE(WriteContent(writer, "linked content"));
    EXPECT_TRUE(writer.Commit()) << writer.GetErrorMessage();
  }
  EXPECT_EQ(Read(elsewhere + "/real.dcm"), "linked content");
  EXPECT_EQ(Lstat(elsewhere + "/real.dcm").st_mode & 07777, 0600u);
  EXPECT_EQ(List(elsewhere), Names{ "real.dcm" });

  // A new file cannot be made there.
  {
    SafeFileWriter writer(ro + "/new.dcm");
    EXPECT_FALSE(writer.Open());
    EXPECT_EQ(writer.GetErrorNumber(), guard.Refusal());
    EXPECT_EQ(writer.GetErrorMessage(), ro + "/new.dcm: " + reason);
  }
  EXPECT_EQ(List(ro), before);
}

// A file mounted over the target (a container's bind mount) cannot be renamed over: the content
// is copied into it.
TEST_F(SafeFileWriterTest, CopiesIntoATargetThatIsAMountPoint)
{
  const std::string mounted = At("mounted.dcm");
  const std::string source = At("source.dcm");
  Make(mounted, "under the mount", 0640);
  Make(source, "old content", 0600);
  const std::string busy = "cannot replace " + mounted + ": " + std::strerror(EBUSY);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0)
  {
    if (unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount(source.c_str(), mounted.c_str(), nullptr, MS_BIND, nullptr) != 0)
    {
      _exit(77);
    }
    SafeFileWriter writer(mounted);
    if (!writer.Open() || writer.GetMethod() != Method::Replace)
    {
      _exit(1);
    }
    if (!WriteContent(writer, "new content") || !writer.Commit())
    {
      _exit(2);
    }
    if (writer.GetMethod() != Method::InPlace || writer.GetInPlaceReason() != busy)
    {
      _exit(3);
    }
    _exit(Read(mounted) == "new content" ? 0 : 4);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77)
  {
    GTEST_SKIP() << "no private mount namespace with a bind mount here";
  }
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(Read(source), "new content");
  EXPECT_EQ(Lstat(source).st_mode & 07777, 0600u);
  EXPECT_EQ(Read(mounted), "under the mount");
  EXPECT_EQ(List(Dir), (Names{ "mounted.dcm", "source.dcm" }));
}

// Whatever goes wrong after Open, an existing target keeps its content, inode and permissions,
// and no temporary file stays.
TEST_F(SafeFileWriterTest, AbortDestructionAndFailedCommitLeaveTheTargetAsItWas)
{
  enum class Ending
  {
    Abort,
    Destroy,
    TargetBecomesFolder
  };
  const struct
  {
    const char* name;
    Ending ending;
  } cases[] = {
    { "abort", Ending::Abort },
    { "destroyed uncommitted", Ending::Destroy },
    { "commit over a folder", Ending::TargetBecomesFolder },
  };
  const std::string target = At("out.dcm");
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.name);
    Make(target, "precious", 0640);
    const ino_t inode = Lstat(target).st_ino;
    {
      SafeFileWriter writer(target);
      ASSERT_TRUE(writer.Open()) << writer.GetErrorMessage();
      ASSERT_TRUE(WriteContent(writer, "partial"));
      EXPECT_EQ(List(Dir).size(), 2u);
      if (c.ending == Ending::Abort)
      {
        writer.Abort();
        EXPECT_EQ(List(Dir), Names{ "out.dcm" });
        writer.Abort();
        EXPECT_FALSE(writer.Commit());
      }
      else if (c.ending == Ending::TargetBecomesFolder)
      {
        ASSERT_EQ(unlink(target.c_str()), 0);
        ASSERT_EQ(mkdir(target.c_str(), 0755), 0);
        Make(target + "/inside", "kept", 0644);
        EXPECT_FALSE(writer.Commit());
        EXPECT_EQ(writer.GetErrorNumber(), EISDIR);
        EXPECT_EQ(writer.GetErrorMessage(), target + ": " + std::strerror(EISDIR));
      }
    }
    EXPECT_EQ(List(Dir), Names{ "out.dcm" });
    if (c.ending == Ending::TargetBecomesFolder)
    {
      EXPECT_EQ(Read(target + "/inside"), "kept");
      ASSERT_EQ(unlink((target + "/inside").c_str()), 0);
      ASSERT_EQ(rmdir(target.c_str()), 0);
      continue;
    }
    EXPECT_EQ(Read(target), "precious");
    EXPECT_EQ(Lstat(target).st_ino, inode);
    EXPECT_EQ(Lstat(target).st_mode & 07777, 0640u);
  }
}

// A folder conversion writes far more files than can be open at once: every way a writer
// ends gives its signal-handler registration back.
TEST_F(SafeFileWriterTest, EveryEndingGivesTheRegistrationBack)
{
  // tmpfs when there is one: the commits' flushes cost nothing there.
  std::string pattern = "/dev/shm/safefilewriter-XXXXXX";
  if (mkdtemp(&pattern[0]) == nullptr)
  {
    pattern = At("many");
    ASSERT_EQ(mkdir(pattern.c_str(), 0755), 0);
  }
  const std::string folder = pattern;
  int failures = 0;
  for (int i = 0; i < 4000 && failures < 5; ++i)
  {
    SafeFileWriter writer(folder + "/file" + std::to_string(i % 7));
    if (!writer.Open())
    {
      ADD_FAILURE() << "writer " << i << ": " << writer.GetErrorMessage();
      ++failures;
      continue;
    }
    if (i % 3 == 0 && !writer.Commit())
    {
      ADD_FAILURE() << "writer " << i << ": " << writer.GetErrorMessage();
      ++failures;
    }
    else if (i % 3 == 1)
    {
      writer.Abort();
    }
  }
  EXPECT_EQ(List(folder).size(), 7u);
  nftw(folder.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

// Open refuses with the system's reason and the user's name, and creates nothing.
TEST_F(SafeFileWriterTest, OpenFailuresNameTheTargetAndTheSystemsReason)
{
  Make(At("file.txt"), "a file", 0644);
  ASSERT_EQ(mkdir(At("folder").c_str(), 0755), 0);
  ASSERT_EQ(symlink("loop2", At("loop1").c_str()), 0);
  ASSERT_EQ(symlink("loop1", At("loop2").c_str()), 0);
  Make(At("locked.dcm"), "precious", 0644);
  vireon::testing::Unwritable locked(At("locked.dcm"));

  const struct
  {
    const char* name;
    std::string target;
    int error;
  } cases[] = {
    { "empty name", "", ENOENT },
    { "missing folder", At("missing/out.dcm"), ENOENT },
    { "folder is a file", At("file.txt/out.dcm"), ENOTDIR },
    { "a folder", At("folder"), EISDIR },
    { "trailing slash", At("new/"), EISDIR },
    { "link loop", At("loop1"), ELOOP },
    { "file that refuses writing", At("locked.dcm"), locked.Refusal() },
  };
  const Names before = List(Dir);
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.name);
    if (c.error == 0)
    {
      std::cout << "skipped: " << locked.Problem() << "\n";
      continue;
    }
    SafeFileWriter writer(c.target);
    EXPECT_FALSE(writer.Open());
    EXPECT_EQ(writer.GetErrorNumber(), c.error);
    EXPECT_EQ(writer.GetErrorReason(), std::strerror(c.error));
    EXPECT_EQ(writer.GetErrorMessage(), c.target + ": " + std::strerror(c.error));
    EXPECT_FALSE(writer.Commit());
    EXPECT_EQ(List(Dir), before);
  }
  EXPECT_EQ(Read(At("locked.dcm")), "precious");
  EXPECT_EQ(List(At("folder")), Names{});
}

namespace
{

// Runs body in a child process, which writes a byte to its ready descriptor once it is set
// up; then sends the signals one after the other and returns the child's wait status.
int KillChild(const std::function<void(int ready)>& body, const std::vector<int>& signals)
{
  int fds[2];
  if (pipe(fds) != 0)
  {
    return -1;
  }
  const pid_t pid = fork();
  if (pid == 0)
  {
    close(fds[0]);
    for (int signal : { SIGINT, SIGTERM, SIGHUP })
    {
      std::signal(signal, SIG_DFL); // whatever the test runner left
    }
    body(fds[1]);
    for (;;)
    {
      pause();
    }
  }
  close(fds[1]);
  char byte = 0;
  const bool ready = read(fds[0], &byte, 1) == 1;
  close(fds[0]);
  if (ready)
  {
    for (int signal : signals)
    {
      kill(pid, signal);
    }
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

void Ready(int fd)
{
  const char byte = 1;
  if (write(fd, &byte, 1) != 1)
  {
    _exit(90);
  }
}

// Opens a writer and leaves a stream on its file open with part of the data written.
void StartWriting(const std::string& target)
{
  auto* writer = new SafeFileWriter(target); // the process dies with them
  if (!writer->Open() || writer->GetMethod() != Method::Replace)
  {
    _exit(91);
  }
  auto* out = new std::ofstream(writer->GetPath(), std::ios::binary);
  *out << "partial data";
  out->flush();
}

} // namespace

// SIGINT, SIGTERM and SIGHUP remove the temporary files of every thread, and the process still
// dies by the signal; a SIGHUP that the program ignores (nohup) stays ignored.
TEST_F(SafeFileWriterTest, SignalsRemoveTemporaryFilesAndStillEndTheProcess)
{
  Make(At("existing.dcm"), "precious", 0600);
  const std::string busyFolder = At("busy");
  ASSERT_EQ(mkdir(busyFolder.c_str(), 0755), 0);

  const auto oneWriter = [this](int ready)
  {
    StartWriting(At("existing.dcm"));
    StartWriting(At("new.dcm"));
    Ready(ready);
  };
  const auto idleThreads = [this](int ready)
  {
    auto* started = new std::atomic<int>(0); // outlives this function, as the threads do
    for (int t = 0; t < 4; ++t)
    {
      std::thread(
        [this, t, started]
        {
          StartWriting(At("thread" + std::to_string(t) + ".dcm"));
          ++*started;
          for (;;)
          {
            pause();
          }
        })
        .detach();
    }
    while (started->load() < 4)
    {
      std::this_thread::yield();
    }
    Ready(ready);
  };
  // Writers that keep opening, writing and committing when the signal comes.
  const auto busyThreads = [busyFolder](int ready)
  {
    auto* rounds = new std::atomic<int>(0);
    for (int t = 0; t < 4; ++t)
    {
      std::thread(
        [busyFolder, t, rounds]
        {
          for (int i = 0;; ++i)
          {
            const std::string name = "t" + std::to_string(t) + "-" + std::to_string(i % 50);
            SafeFileWriter writer(busyFolder + "/" + name);
            if (writer.Open() && WriteContent(writer, name))
            {
              writer.Commit();
            }
            ++*rounds;
          }
        })
        .detach();
    }
    while (rounds->load() < 200)
    {
      std::this_thread::yield();
    }
    Ready(ready);
  };
  const auto nohup = [&oneWriter](int ready)
  {
    std::signal(SIGHUP, SIG_IGN);
    oneWriter(ready);
  };

  const struct
  {
    const char* name;
    std::function<void(int)> body;
    std::vector<int> signals;
    int death;
  } cases[] = {
    { "SIGINT", oneWriter, { SIGINT }, SIGINT },
    { "SIGTERM", oneWriter, { SIGTERM }, SIGTERM },
    { "SIGHUP", oneWriter, { SIGHUP }, SIGHUP },
    { "SIGTERM, four idle threads", idleThreads, { SIGTERM }, SIGTERM },
    { "SIGINT, four busy threads", busyThreads, { SIGINT }, SIGINT },
    { "SIGHUP ignored, then SIGTERM", nohup, { SIGHUP, SIGTERM }, SIGTERM },
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.name);
    const int status = KillChild(c.body, c.signals);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), c.death);
    EXPECT_EQ(List(Dir), (Names{ "busy", "existing.dcm" }));
    EXPECT_EQ(Read(At("existing.dcm")), "precious");
    // The busy writers leave only complete files behind.
    for (const std::string& name : List(busyFolder))
    {
      EXPECT_NE(name[0], '.') << name;
      EXPECT_EQ(Read(busyFolder + "/" + name), name);
    }
  }
}

// After the removal that a signal makes, a writer that opens the temporary file by its name
// (as DCMTK's and VTK's writers do) cannot create it again while the process is still dying.
TEST_F(SafeFileWriterTest, RemovedTemporaryFileCannotBeCreatedAgainByName)
{
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0)
  {
    SafeFileWriter writer(At("out.dcm"));
    if (!writer.Open())
    {
      _exit(2);
    }
    SafeFileWriter::RemoveTemporaryFiles();
    std::ofstream out(writer.GetPath(), std::ios::binary);
    _exit(out.is_open() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the temporary file was created again";
  EXPECT_EQ(List(Dir), Names{});
}

// Threads writing different files at once, some replacing private files, some aborting.
TEST_F(SafeFileWriterTest, ThreadsWriteDifferentFilesAtOnce)
{
  constexpr int Threads = 8;
  constexpr int Files = 40;
  const auto name = [](int t, int i)
  { return "t" + std::to_string(t) + "-" + std::to_string(i) + ".dcm"; };
  const auto content = [](int t, int i)
  { return std::string(size_t(100 + 37 * i), char('a' + t)) + std::to_string(i); };
  for (int t = 0; t < Threads; ++t)
  {
    for (int i = 1; i < Files; i += 2)
    {
      Make(At(name(t, i)), "old", 0600);
    }
  }
  // What a plain create gives here.
  const int reference = open(At("reference").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  ASSERT_GE(reference, 0);
  close(reference);
  const mode_t plainMode = Lstat(At("reference")).st_mode & 07777;
  std::atomic<int> failures{ 0 };
  std::vector<std::thread> threads;
  for (int t = 0; t < Threads; ++t)
  {
    threads.emplace_back(
      [&, t]
      {
        for (int i = 0; i < Files; ++i)
        {
          SafeFileWriter writer(At(name(t, i)));
          if (!writer.Open() || !WriteContent(writer, content(t, i)))
          {
            ++failures;
            continue;
          }
          if (i % 5 == 4)
          {
            writer.Abort();
          }
          else if (!writer.Commit())
          {
            ++failures;
          }
        }
      });
  }
  for (std::thread& thread : threads)
  {
    thread.join();
  }
  EXPECT_EQ(failures.load(), 0);
  Names expected{ "reference" };
  for (int t = 0; t < Threads; ++t)
  {
    for (int i = 0; i < Files; ++i)
    {
      const bool existed = i % 2 == 1;
      const bool aborted = i % 5 == 4;
      if (aborted && !existed)
      {
        continue;
      }
      expected.push_back(name(t, i));
      EXPECT_EQ(Read(At(name(t, i))), aborted ? "old" : content(t, i)) << name(t, i);
      EXPECT_EQ(Lstat(At(name(t, i))).st_mode & 07777, existed ? mode_t(0600) : plainMode)
        << name(t, i);
    }
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(List(Dir), expected);
}

// Writers that choose the format by the extension see the target's: a MetaImage writer keeps
// the data inside a ".mha" file instead of writing a separate raw file.
TEST_F(SafeFileWriterTest, WritersSeeTheTargetsExtension)
{
  vtkNew<vtkImageData> image;
  image->SetDimensions(5, 4, 3);
  image->AllocateScalars(VTK_SHORT, 1);
  auto* voxels = static_cast<short*>(image->GetScalarPointer());
  for (int k = 0; k < 60; ++k)
  {
    voxels[k] = short(k * 7 - 100);
  }
  SafeFileWriter output(At("volume.mha"));
  ASSERT_TRUE(output.Open()) << output.GetErrorMessage();
  vtkNew<vtkMetaImageWriter> writer;
  writer->SetInputData(image);
  writer->SetFileName(output.GetPath().c_str());
  writer->SetCompression(false);
  writer->Write();
  ASSERT_TRUE(output.Commit()) << output.GetErrorMessage();
  EXPECT_EQ(List(Dir), Names{ "volume.mha" });

  vtkNew<vtkMetaImageReader> reader;
  reader->SetFileName(At("volume.mha").c_str());
  reader->Update();
  vtkImageData* back = reader->GetOutput();
  int dims[3];
  back->GetDimensions(dims);
  EXPECT_EQ(std::vector<int>(dims, dims + 3), (std::vector<int>{ 5, 4, 3 }));
  ASSERT_EQ(back->GetScalarType(), VTK_SHORT);
  const auto* read = static_cast<const short*>(back->GetScalarPointer());
  EXPECT_TRUE(std::equal(voxels, voxels + 60, read));
}
