// What a whole program costs in time and memory, shared by the JPEG 2000 benchmarks (GNU time).
#ifndef BenchmarkProcess_h
#define BenchmarkProcess_h

#include <chrono>
#include <cstdio>
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

#endif
