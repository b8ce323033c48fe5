// Support for fuzz targets that run a command-line tool within the process on fuzzed argument
// vectors (see cmake/VireonFuzz.cmake):
// - ArgumentVector: the input's lines as arguments, refused when one could name a file outside
//   the working folder (an absolute path, "..", a DCMTK "@file" with an absolute path);
// - ScratchFolder: a temporary folder with a working folder "work" of small input files; the
//   tool runs inside "work", every run is compared with the files as they were and the folder is
//   put back afterwards;
// - CapturedOutput: the standard C++ streams (std::cout, std::cerr, DCMTK's console and logger
//   write there) collected while the tool runs; sanitizer reports still reach the terminal.
#ifndef VireonFuzzArguments_h
#define VireonFuzzArguments_h

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

namespace vireon
{
namespace fuzz
{

[[noreturn]] inline void Fail(const char* target, const std::string& what)
{
  std::fprintf(stderr, "%s: %s\n", target, what.c_str());
  std::abort();
}

/// The program name followed by \a fixed and the input's lines (one argument per line).
class ArgumentVector
{
public:
  /// false: the input holds a NUL byte or an argument that could reach outside the working
  /// folder (a '/' that starts the argument or follows '=', ',' or '@'; "..").
  bool Parse(const std::string& program,
    const std::vector<std::string>& fixed,
    const uint8_t* data,
    size_t size)
  {
    this->Arguments.assign(1, program);
    this->Arguments.insert(this->Arguments.end(), fixed.begin(), fixed.end());
    this->Fixed = fixed.size();
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (text.find('\0') != std::string::npos)
      return false;
    if (!text.empty())
    {
      std::istringstream lines(text);
      std::string line;
      while (std::getline(lines, line))
      {
        if (line.find("..") != std::string::npos)
          return false;
        for (size_t at = line.find('/'); at != std::string::npos; at = line.find('/', at + 1))
        {
          if (at == 0 || line[at - 1] == '=' || line[at - 1] == ',' || line[at - 1] == '@')
            return false;
        }
        this->Arguments.push_back(line);
      }
    }
    this->Pointers.clear();
    for (std::string& argument : this->Arguments)
      this->Pointers.push_back(argument.data());
    this->Pointers.push_back(nullptr);
    return true;
  }

  int Argc() const { return static_cast<int>(this->Arguments.size()); }
  char** Argv() { return this->Pointers.data(); }
  /// The fuzzed arguments (after the program name and the fixed ones).
  std::vector<std::string> Fuzzed() const
  {
    return std::vector<std::string>(this->Arguments.begin() + 1 + this->Fixed, this->Arguments.end());
  }
  /// The whole vector, one argument per line, for messages.
  std::string Describe() const
  {
    std::string text;
    for (const std::string& argument : this->Arguments)
      text += "\n  [" + argument + "]";
    return text;
  }

private:
  std::vector<std::string> Arguments;
  std::vector<char*> Pointers;
  size_t Fixed = 0;
};

/// A temporary folder holding the working folder "work" with the tool's input files.
class ScratchFolder
{
public:
  /// Path (relative to the temporary folder, "work/..." for the working folder's files) to
  /// content; folders map to "<folder>", symbolic links to "<link> target".
  using Files = std::map<std::string, std::string>;

  ScratchFolder()
  {
    std::string pattern = (std::filesystem::temp_directory_path() / "vireon-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
      Fail("ScratchFolder", "cannot create a temporary folder");
    this->Root = pattern;
    std::filesystem::create_directory(this->Root / "work");
  }
  ~ScratchFolder()
  {
    std::error_code ignored;
    std::filesystem::remove_all(this->Root, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  /// The working folder.
  std::filesystem::path Work() const { return this->Root / "work"; }

  /// Writes \a content to \a name in the working folder (its folders created).
  void Write(const std::string& name, const std::string& content) const
  {
    const std::filesystem::path path = this->Work() / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
  }

  /// Takes the files as they are now as the state every run starts from.
  void Seal() { this->Initial = this->Snapshot(); }
  const Files& InitialFiles() const { return this->Initial; }

  Files Snapshot() const
  {
    Files files;
    for (auto it = std::filesystem::recursive_directory_iterator(this->Root);
         it != std::filesystem::recursive_directory_iterator();
         ++it)
    {
      const std::string name = it->path().lexically_relative(this->Root).generic_string();
      if (it->is_symlink())
        files[name] = "<link> " + std::filesystem::read_symlink(it->path()).string();
      else if (it->is_directory())
        files[name] = "<folder>";
      else
      {
        std::ifstream in(it->path(), std::ios::binary);
        files[name] =
          std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      }
    }
    return files;
  }

  /// Puts the folder back as it was when sealed.
  void Restore() const
  {
    const Files now = this->Snapshot();
    for (auto it = now.rbegin(); it != now.rend(); ++it)
    {
      const auto initial = this->Initial.find(it->first);
      if (initial == this->Initial.end() || initial->second != it->second)
      {
        std::error_code ignored;
        std::filesystem::remove_all(this->Root / it->first, ignored);
      }
    }
    for (const auto& [name, content] : this->Initial)
    {
      const std::filesystem::path path = this->Root / name;
      if (std::filesystem::exists(std::filesystem::symlink_status(path)))
        continue;
      if (content == "<folder>")
        std::filesystem::create_directories(path);
      else
        std::ofstream(path, std::ios::binary) << content;
    }
  }

  /// Runs \a run with the working folder as the current folder, and goes back.
  template <typename Run>
  auto InWork(Run&& run) const
  {
    struct Back
    {
      std::filesystem::path Folder;
      ~Back() { std::filesystem::current_path(this->Folder); }
    } back{ std::filesystem::current_path() };
    std::filesystem::current_path(this->Work());
    return run();
  }

private:
  std::filesystem::path Root;
  Files Initial;
};

/// What std::cout and std::cerr receive while it lives.
class CapturedOutput
{
public:
  CapturedOutput()
    : OldOut(std::cout.rdbuf(this->Out.rdbuf()))
    , OldErr(std::cerr.rdbuf(this->Err.rdbuf()))
  {
  }
  ~CapturedOutput() { this->Release(); }
  CapturedOutput(const CapturedOutput&) = delete;
  CapturedOutput& operator=(const CapturedOutput&) = delete;

  /// Gives the streams back; the collected texts stay.
  void Release()
  {
    if (this->OldOut)
    {
      std::cout.flush();
      std::cerr.flush();
      std::cout.rdbuf(this->OldOut);
      std::cerr.rdbuf(this->OldErr);
      this->OldOut = this->OldErr = nullptr;
    }
  }
  std::string OutText() const { return this->Out.str(); }
  std::string ErrText() const { return this->Err.str(); }

private:
  std::ostringstream Out;
  std::ostringstream Err;
  std::streambuf* OldOut;
  std::streambuf* OldErr;
};

} // namespace fuzz
} // namespace vireon

#endif
