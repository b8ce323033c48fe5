#include "J2KProcess.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

extern char** environ;

namespace j2ktest
{

TempDir::TempDir()
{
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/wavecodec-test-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) != nullptr)
    path_ = buffer.data();
}

TempDir::~TempDir()
{
  if (path_.empty())
    return;
  for (const std::string& name : List())
    unlink((path_ + "/" + name).c_str());
  rmdir(path_.c_str());
}

std::vector<std::string> TempDir::List() const
{
  std::vector<std::string> names;
  if (DIR* dir = opendir(path_.c_str()))
  {
    while (dirent* entry = readdir(dir))
    {
      const std::string name = entry->d_name;
      if (name != "." && name != "..")
        names.push_back(name);
    }
    closedir(dir);
  }
  return names;
}

ProcessResult RunProgram(const std::vector<std::string>& argv)
{
  ProcessResult result;
  char outName[] = "/tmp/wavecodec-run-XXXXXX";
  const int outFd = mkstemp(outName);
  if (outFd < 0)
    return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outFd, 1);
  posix_spawn_file_actions_adddup2(&actions, outFd, 2);
  std::vector<char*> args;
  for (const std::string& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0)
  {
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status))
      result.exitCode = WEXITSTATUS(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  close(outFd);
  result.output = ReadFile(outName);
  unlink(outName);
  return result;
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

} // namespace j2ktest
