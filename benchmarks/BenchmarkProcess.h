// What a whole program costs in time and memory, shared by the JPEG 2000 benchmarks: the codec's
// process runner, with GNU time around the program for its peak memory.
#ifndef BenchmarkProcess_h
#define BenchmarkProcess_h

#include "DJ2KTestProcess.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

// What a finished program used: wall and CPU seconds, peak resident memory.
struct ProcessUse
{
  double wall = 0;
  double cpu = 0;
  double peakMiB = 0;
};

// Runs a program (a path) to its end with its output discarded, under GNU time, which reports
// the program's own peak memory (a program started from the benchmark directly would report
// the benchmark's peak as its own); report names a scratch file for time's figure. False when
// the program could not start or did not exit with 0.
inline bool RunMeasured(const std::vector<std::string>& argv,
  const std::string& report,
  ProcessUse& use)
{
  std::vector<std::string> command{ "/usr/bin/time", "-f", "%M", "-o", report };
  command.insert(command.end(), argv.begin(), argv.end());
  dj2ktest::ProcessOptions options;
  options.discardOutput = true;
  const dj2ktest::ProcessResult result = dj2ktest::RunProcess(command, options);
  use.wall = result.wallSeconds;
  use.cpu = result.cpuSeconds; // time's and the program's
  double peakKiB = 0;
  FILE* f = std::fopen(report.c_str(), "r");
  const bool read = f != nullptr && std::fscanf(f, "%lf", &peakKiB) == 1;
  if (f != nullptr)
    std::fclose(f);
  use.peakMiB = peakKiB / 1024.0;
  return read && result.ExitedWith(0);
}

// The system's load averages over 1, 5 and 15 minutes ("?" where /proc/loadavg is missing):
// wall-clock ratios of parallel work mean little while other processes keep the cores busy.
inline std::string LoadAverage()
{
  double one = 0, five = 0, fifteen = 0;
  FILE* f = std::fopen("/proc/loadavg", "r");
  const bool read = f != nullptr && std::fscanf(f, "%lf %lf %lf", &one, &five, &fifteen) == 3;
  if (f != nullptr)
    std::fclose(f);
  if (!read)
    return "?";
  char text[64];
  std::snprintf(text, sizeof(text), "%.2f %.2f %.2f", one, five, fifteen);
  return text;
}

// The share of CPU time the whole machine left idle over the given time (0 to 1; -1 where
// /proc/stat is missing).
inline double IdleShare(std::chrono::milliseconds over)
{
  auto sample = [](unsigned long long& idle, unsigned long long& total)
  {
    unsigned long long v[8] = { 0, 0, 0, 0, 0, 0, 0, 0 };
    FILE* f = std::fopen("/proc/stat", "r");
    const bool read = f != nullptr && std::fscanf(f,
                                        "cpu %llu %llu %llu %llu %llu %llu %llu %llu",
                                        &v[0],
                                        &v[1],
                                        &v[2],
                                        &v[3],
                                        &v[4],
                                        &v[5],
                                        &v[6],
                                        &v[7]) == 8;
    if (f != nullptr)
      std::fclose(f);
    idle = v[3] + v[4];
    total = 0;
    for (unsigned long long x : v)
      total += x;
    return read;
  };
  unsigned long long idle0 = 0, total0 = 0, idle1 = 0, total1 = 0;
  if (!sample(idle0, total0))
    return -1;
  std::this_thread::sleep_for(over);
  if (!sample(idle1, total1) || total1 <= total0)
    return -1;
  return double(idle1 - idle0) / double(total1 - total0);
}

// Waits until the machine's cores are nearly idle (at least 90 % over half a second), at most
// maxSeconds; true when they were. On a machine shared with other work, a wall-clock
// comparison of parallel work says something only when the cores are free.
inline bool WaitForIdleCores(double maxSeconds)
{
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(maxSeconds);
  do
  {
    const double idle = IdleShare(std::chrono::milliseconds(500));
    if (idle < 0 || idle >= 0.9)
      return idle >= 0;
    std::this_thread::sleep_for(std::chrono::seconds(2));
  } while (std::chrono::steady_clock::now() < end);
  return false;
}

#endif
