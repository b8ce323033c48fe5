// What a piece of work or a whole program costs in time and memory, shared by the JPEG 2000
// benchmarks (Linux: /proc, fork, GNU time).
#ifndef BenchmarkProcess_h
#define BenchmarkProcess_h

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

// What a finished program used: wall and CPU seconds, peak resident memory.
struct ProcessUse
{
  double wall = 0;
  double cpu = 0;
  double peakMiB = 0;
};

// Runs a program (found on the PATH) to its end under GNU time, which reports the program's
// own peak memory: a program started directly from the benchmark counts the benchmark's peak
// as its own. report names a scratch file for time's figures. Output goes to /dev/null. False
// when the program could not start or did not exit with 0.
inline bool RunMeasured(const std::vector<std::string>& argv,
  const std::string& report,
  ProcessUse& use)
{
  std::vector<std::string> command{ "/usr/bin/time", "-f", "%U %S %M", "-o", report };
  command.insert(command.end(), argv.begin(), argv.end());
  std::vector<char*> args;
  for (const std::string& a : command)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  int status = -1;
  const auto start = std::chrono::steady_clock::now();
  const bool started = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  if (!started || waitpid(pid, &status, 0) != pid)
    return false;
  use.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  double user = 0, system = 0, peakKiB = 0;
  FILE* f = std::fopen(report.c_str(), "r");
  const bool read = f != nullptr && std::fscanf(f, "%lf %lf %lf", &user, &system, &peakKiB) == 3;
  if (f != nullptr)
    std::fclose(f);
  use.cpu = user + system;
  use.peakMiB = peakKiB / 1024.0;
  return read && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Kibibytes of a line of /proc/self/status ("VmRSS", "VmHWM"), -1 when there is none.
inline double StatusKiB(const char* key)
{
  FILE* f = std::fopen("/proc/self/status", "r");
  if (f == nullptr)
    return -1;
  char line[256];
  double value = -1;
  const size_t n = std::strlen(key);
  while (std::fgets(line, sizeof(line), f))
  {
    if (std::strncmp(line, key, n) == 0 && line[n] == ':')
      value = std::atof(line + n + 1);
  }
  std::fclose(f);
  return value;
}

// How far the peak resident memory rises above the memory in use while work runs (MiB), or -1.
// The work runs in a child process, so that what earlier work left in the allocator does not
// hide the growth; the kernel's peak is reset to the current use first. No other thread may
// run when this is called.
inline double PeakGrowthMiB(const std::function<void()>& work)
{
  int channel[2];
  if (pipe(channel) != 0)
    return -1;
  const pid_t pid = fork();
  if (pid == 0)
  {
    close(channel[0]);
    double growth = -1;
    const int clear = open("/proc/self/clear_refs", O_WRONLY);
    if (clear >= 0 && write(clear, "5", 1) == 1)
    {
      const double before = StatusKiB("VmRSS");
      work();
      growth = (StatusKiB("VmHWM") - before) / 1024.0;
    }
    if (clear >= 0)
      close(clear);
    if (write(channel[1], &growth, sizeof(growth)) != ssize_t(sizeof(growth)))
      _exit(1);
    _exit(0);
  }
  close(channel[1]);
  double growth = -1;
  if (pid < 0 || read(channel[0], &growth, sizeof(growth)) != ssize_t(sizeof(growth)))
    growth = -1;
  close(channel[0]);
  if (pid > 0)
    waitpid(pid, nullptr, 0);
  return growth;
}

#endif
