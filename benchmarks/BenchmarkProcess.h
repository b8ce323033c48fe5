// What a whole program costs in time and memory, shared by the JPEG 2000 benchmarks: the codec's
// process runner, with GNU time around the program for its peak memory.
#ifndef BenchmarkProcess_h
#define BenchmarkProcess_h

#include "DJ2KTestProcess.h"

#include <cstdio>
#include <string>
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

#endif
