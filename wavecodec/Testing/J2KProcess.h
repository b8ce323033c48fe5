// Running the command-line tools from tests.
#ifndef J2KPROCESS_H
#define J2KPROCESS_H

#include <string>
#include <vector>

namespace j2ktest
{

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
  std::vector<std::string> List() const;

private:
  std::string path_;
};

struct ProcessResult
{
  int exitCode = -1;  // -1 when the process did not exit normally
  std::string output; // stdout and stderr
};

// Runs a program with arguments (no shell) and collects its output.
ProcessResult RunProgram(const std::vector<std::string>& argv);

bool FileExists(const std::string& path);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);

} // namespace j2ktest

#endif
