// Child processes for tests, benchmarks and demonstrations: runs a program (no shell) with its
// own arguments, environment and standard input, and collects its output, how it ended, and
// the time it took. Nothing here depends on the codec.
#ifndef DJ2KTESTPROCESS_H
#define DJ2KTESTPROCESS_H

#include <string>
#include <vector>

namespace dj2ktest
{

// The exit code the sanitizers use in the test environment (set where the tests' environment
// is defined, cmake/VireonMacros.cmake), distinct from every exit code of our programs.
int SanitizerExitCode();

struct ProcessOptions
{
  // Changes to the inherited environment: "NAME=value" sets NAME, "NAME" alone removes it.
  std::vector<std::string> environment;
  // Bytes written to the child's standard input, which is then closed (empty: closed at once).
  std::string input;
  // Standard error goes where standard output goes, in the order written (ProcessResult::out).
  bool mergeOutput = false;
  // Standard output and error go to /dev/null (for timing runs).
  bool discardOutput = false;
  // Working directory of the child; empty: the caller's.
  std::string workingDirectory;
};

struct ProcessResult
{
  bool started = false;
  std::string startError; // why the program could not be started
  bool exited = false;    // ended by exit(); exitCode holds the code
  int exitCode = -1;
  int signal = 0;               // the signal that ended it, when it did not exit
  bool sanitizerReport = false; // exited with SanitizerExitCode()
  std::string out;              // standard output (and error, with mergeOutput)
  std::string err;              // standard error
  double wallSeconds = 0.0;     // from start to end
  double cpuSeconds = 0.0;      // the child's user and system time

  // True when the program exited with code.
  bool ExitedWith(int code) const { return exited && exitCode == code; }
  // How it ended, for messages: "exit code 1", "killed by signal 11 (Segmentation fault)",
  // "sanitizer report (exit code 113)", "not started: ...".
  std::string Describe() const;
};

// Runs argv[0] (a path; no search along PATH) with the arguments argv[1...] and waits for it.
ProcessResult RunProcess(const std::vector<std::string>& argv,
  const ProcessOptions& options = ProcessOptions());

// RunProcess of program with the arguments after it.
ProcessResult RunProgram(const std::string& program,
  std::vector<std::string> arguments,
  const ProcessOptions& options = ProcessOptions());

// A fresh directory that is removed with everything in it at the end of the scope.
class TempDir
{
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // Names of the entries, sorted.
  std::vector<std::string> List() const;

private:
  std::string path_;
};

// Names of the entries of a folder, sorted.
std::vector<std::string> ListDirectory(const std::string& path);
bool FileExists(const std::string& path);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);

} // namespace dj2ktest

#endif
