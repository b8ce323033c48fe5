#include "DJ2KTestProcess.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

extern char** environ;

namespace dj2ktest
{

int SanitizerExitCode()
{
  return VIREON_SANITIZER_EXIT_CODE;
}

std::string ProcessResult::Describe() const
{
  if (!started)
    return "not started: " + startError;
  if (sanitizerReport)
    return "sanitizer report (exit code " + std::to_string(exitCode) + ")";
  if (exited)
    return "exit code " + std::to_string(exitCode);
  const char* name = strsignal(signal);
  return "killed by signal " + std::to_string(signal) + " (" + (name ? name : "unknown") + ")";
}

namespace
{

// The caller's environment with the changes applied.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& changes)
{
  std::vector<std::string> env;
  for (char** e = environ; e != nullptr && *e != nullptr; ++e)
    env.emplace_back(*e);
  for (const std::string& change : changes)
  {
    const std::string::size_type equals = change.find('=');
    const std::string name = change.substr(0, equals) + "=";
    env.erase(std::remove_if(env.begin(),
                env.end(),
                [&](const std::string& v) { return v.compare(0, name.size(), name) == 0; }),
      env.end());
    if (equals != std::string::npos)
      env.push_back(change);
  }
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
  std::vector<char*> pointers;
  for (std::string& s : strings)
    pointers.push_back(&s[0]);
  pointers.push_back(nullptr);
  return pointers;
}

void CloseIfOpen(int& fd)
{
  if (fd >= 0)
    close(fd);
  fd = -1;
}

// Reads what is there into text; returns false at the end of the stream.
bool Drain(int fd, std::string& text)
{
  char chunk[65536];
  const ssize_t n = read(fd, chunk, sizeof(chunk));
  if (n > 0)
  {
    text.append(chunk, size_t(n));
    return true;
  }
  return n < 0 && (errno == EINTR || errno == EAGAIN);
}

} // namespace

ProcessResult RunProgram(const std::string& program,
  std::vector<std::string> arguments,
  const ProcessOptions& options)
{
  arguments.insert(arguments.begin(), program);
  return RunProcess(arguments, options);
}

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options)
{
  ProcessResult result;
  if (argv.empty())
  {
    result.startError = "no program given";
    return result;
  }
  std::vector<std::string> args = argv;
  std::vector<std::string> env = ChildEnvironment(options.environment);
  std::vector<char*> argp = Pointers(args);
  std::vector<char*> envp = Pointers(env);

  int in[2] = { -1, -1 }, out[2] = { -1, -1 }, err[2] = { -1, -1 };
  const bool capture = !options.discardOutput;
  if (pipe2(in, O_CLOEXEC) != 0 || (capture && pipe2(out, O_CLOEXEC) != 0) ||
      (capture && !options.mergeOutput && pipe2(err, O_CLOEXEC) != 0))
  {
    result.startError = std::string("pipe: ") + std::strerror(errno);
    for (int* p : { in, out, err })
    {
      CloseIfOpen(p[0]);
      CloseIfOpen(p[1]);
    }
    return result;
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  if (capture)
  {
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, options.mergeOutput ? out[1] : err[1], 2);
  }
  else
  {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  }
  if (!options.workingDirectory.empty())
    posix_spawn_file_actions_addchdir_np(&actions, options.workingDirectory.c_str());

  // The child starts with no blocked signals and SIGPIPE at its default, whatever the caller
  // does with them.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, pipeSignal;
  sigemptyset(&none);
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &pipeSignal);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argp[0], &actions, &attributes, argp.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  CloseIfOpen(in[0]);
  CloseIfOpen(out[1]);
  CloseIfOpen(err[1]);
  if (spawned != 0)
  {
    result.startError = argv[0] + ": " + std::strerror(spawned);
    CloseIfOpen(in[1]);
    CloseIfOpen(out[0]);
    CloseIfOpen(err[0]);
    return result;
  }
  result.started = true;
  // The parent's ends do not block: a write may take only part of the input.
  for (int fd : { in[1], out[0], err[0] })
  {
    if (fd >= 0)
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  }

  // Feed standard input and collect both outputs together, so that no pipe fills up while
  // the child waits for another. A child that stops reading its input must not end this
  // process with SIGPIPE: the signal is blocked here and a pending one taken back.
  sigset_t previous;
  pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
  size_t written = 0;
  if (options.input.empty())
    CloseIfOpen(in[1]);
  while (in[1] >= 0 || out[0] >= 0 || err[0] >= 0)
  {
    pollfd fds[3];
    int count = 0;
    for (int fd : { in[1], out[0], err[0] })
    {
      if (fd >= 0)
        fds[count++] = { fd, short(fd == in[1] ? POLLOUT : POLLIN), 0 };
    }
    if (poll(fds, nfds_t(count), -1) < 0)
    {
      if (errno == EINTR)
        continue;
      break;
    }
    for (int i = 0; i < count; ++i)
    {
      if (fds[i].revents == 0)
        continue;
      if (fds[i].fd == in[1])
      {
        const ssize_t n =
          write(in[1], options.input.data() + written, options.input.size() - written);
        if (n > 0)
          written += size_t(n);
        if ((n < 0 && errno != EINTR && errno != EAGAIN) || written == options.input.size())
          CloseIfOpen(in[1]);
      }
      else if (fds[i].fd == out[0])
      {
        if (!Drain(out[0], result.out))
          CloseIfOpen(out[0]);
      }
      else if (!Drain(err[0], result.err))
      {
        CloseIfOpen(err[0]);
      }
    }
  }
  CloseIfOpen(in[1]);
  CloseIfOpen(out[0]);
  CloseIfOpen(err[0]);
  sigset_t pending;
  sigpending(&pending);
  if (sigismember(&pending, SIGPIPE))
  {
    const timespec zero = { 0, 0 };
    sigtimedwait(&pipeSignal, nullptr, &zero);
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);

  int status = 0;
  rusage usage;
  std::memset(&usage, 0, sizeof(usage));
  while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR)
  {
  }
  result.wallSeconds =
    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                      1e-6 * double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
  if (WIFEXITED(status))
  {
    result.exited = true;
    result.exitCode = WEXITSTATUS(status);
    result.sanitizerReport = result.exitCode == SanitizerExitCode();
  }
  else if (WIFSIGNALED(status))
  {
    result.signal = WTERMSIG(status);
  }
  return result;
}

TempDir::TempDir()
{
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/wavecodec-test-XXXXXX";
  if (mkdtemp(&pattern[0]) != nullptr)
    path_ = pattern;
}

namespace
{

void RemoveTree(const std::string& path)
{
  struct stat st;
  if (lstat(path.c_str(), &st) != 0)
    return;
  if (S_ISDIR(st.st_mode))
  {
    if (DIR* dir = opendir(path.c_str()))
    {
      while (dirent* entry = readdir(dir))
      {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
          RemoveTree(path + "/" + name);
      }
      closedir(dir);
    }
    rmdir(path.c_str());
  }
  else
  {
    unlink(path.c_str());
  }
}

} // namespace

TempDir::~TempDir()
{
  if (!path_.empty())
    RemoveTree(path_);
}

std::vector<std::string> TempDir::List() const
{
  return ListDirectory(path_);
}

std::vector<std::string> ListDirectory(const std::string& path)
{
  std::vector<std::string> names;
  if (DIR* dir = opendir(path.c_str()))
  {
    while (dirent* entry = readdir(dir))
    {
      const std::string name = entry->d_name;
      if (name != "." && name != "..")
        names.push_back(name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool FileExists(const std::string& path)
{
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

std::string ReadFile(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& content)
{
  std::ofstream out(path, std::ios::binary);
  out << content;
}

} // namespace dj2ktest
