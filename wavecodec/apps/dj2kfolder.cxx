#include "dj2kfolder.h"

#include "dj2kpool.h"

#include "dcmtk/ofstd/ofconsol.h"
#include "dcmtk/ofstd/ofexit.h"
#include "dcmtk/ofstd/oflist.h"
#include "dcmtk/ofstd/ofstd.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

enum class Outcome
{
  Converted,
  Skipped,
  Failed
};

struct FileJob
{
  std::string relative;
  Outcome outcome = Outcome::Failed;
  DJ2KFileResult result;
  unsigned long long bytesIn = 0;
  unsigned long long bytesOut = 0;
};

// The canonical form of an existing path, or the path itself.
std::string canonical(const std::string& path)
{
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

// Creates a folder and the folders above it that are missing; the error number or 0.
int makeFolders(const std::string& folder)
{
  struct stat st;
  if (stat(folder.c_str(), &st) == 0)
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
  const std::string::size_type slash = folder.find_last_of('/');
  if (slash != std::string::npos && slash > 0)
  {
    const int error = makeFolders(folder.substr(0, slash));
    if (error != 0)
      return error;
  }
  if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
    return errno;
  return 0;
}

// A DICOM file: the 128-byte preamble followed by "DICM".
bool isDicomFile(const std::string& path)
{
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return false;
  char head[132];
  size_t got = 0;
  while (got < sizeof(head))
  {
    const ssize_t n = read(fd, head + got, sizeof(head) - got);
    if (n <= 0)
      break;
    got += size_t(n);
  }
  close(fd);
  return got == sizeof(head) && memcmp(head + 128, "DICM", 4) == 0;
}

unsigned long long fileSize(const std::string& path)
{
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? static_cast<unsigned long long>(st.st_size) : 0;
}

// The progress line on a terminal, and whatever else goes to stderr while it is shown.
class Progress
{
public:
  Progress(const char* tool, size_t total)
    : tool_(tool)
    , total_(total)
    , shown_(isatty(STDERR_FILENO) != 0)
  {
  }

  void fileDone()
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++done_;
    draw();
  }

  // Runs report (which writes to stderr) with the progress line out of the way.
  template <typename Report>
  void interrupt(const Report& report)
  {
    std::lock_guard<std::mutex> lock(mutex_);
    clear();
    report();
    draw();
  }

  void finish()
  {
    std::lock_guard<std::mutex> lock(mutex_);
    clear();
  }

private:
  void draw()
  {
    if (!shown_)
      return;
    std::fprintf(stderr, "\r%s: %zu/%zu files", tool_, done_, total_);
    std::fflush(stderr);
    drawn_ = true;
  }

  void clear()
  {
    if (!drawn_)
      return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    drawn_ = false;
  }

  std::mutex mutex_;
  const char* tool_;
  size_t total_;
  size_t done_ = 0;
  bool shown_;
  bool drawn_ = false;
};

} // namespace

int DJ2KConvertFolder(const char* tool,
  const OFString& inputFolder,
  const OFString& outputFolder,
  OFBool recurse,
  Uint32 threads,
  const OFLogger& logger,
  const DJ2KFileConverter& convert)
{
  std::string input = inputFolder.c_str();
  std::string output = outputFolder.c_str();
  while (input.size() > 1 && input.back() == '/')
    input.pop_back();
  while (output.size() > 1 && output.back() == '/')
    output.pop_back();

  struct stat st;
  int inputError = 0;
  if (stat(input.c_str(), &st) != 0)
    inputError = errno;
  else if (!S_ISDIR(st.st_mode))
    inputError = ENOTDIR;
  else if (access(input.c_str(), R_OK | X_OK) != 0)
    inputError = errno;
  if (inputError != 0)
  {
    OFLOG_FATAL(logger, inputFolder << ": cannot read folder: " << std::strerror(inputError));
    return EXITCODE_INVALID_INPUT_DIRECTORY;
  }
  const int outputError = makeFolders(output);
  if (outputError != 0)
  {
    OFLOG_FATAL(logger, outputFolder << ": cannot create folder: " << std::strerror(outputError));
    return EXITCODE_INVALID_OUTPUT_DIRECTORY;
  }

  // The files, in the order of their paths; an output folder inside the input folder holds
  // results, not inputs.
  OFList<OFString> found;
  OFStandard::searchDirectoryRecursively(OFString(input.c_str()), found, "", "", recurse);
  // (The output folder may also be the input folder: every file is then replaced.)
  const std::string inputFolderPath = canonical(input);
  const std::string outputFolderPath = canonical(output);
  const bool outputInside =
    outputFolderPath != inputFolderPath &&
    outputFolderPath.compare(0, inputFolderPath.size() + 1, inputFolderPath + "/") == 0;
  std::vector<FileJob> jobs;
  for (const OFString& path : found)
  {
    const std::string full = path.c_str();
    if (outputInside &&
        canonical(full).compare(0, outputFolderPath.size() + 1, outputFolderPath + "/") == 0)
      continue;
    FileJob job;
    job.relative =
      full.compare(0, input.size() + 1, input + "/") == 0 ? full.substr(input.size() + 1) : full;
    jobs.push_back(job);
  }
  std::sort(jobs.begin(),
    jobs.end(),
    [](const FileJob& a, const FileJob& b) { return a.relative < b.relative; });
  if (jobs.empty())
  {
    OFLOG_FATAL(logger, inputFolder << ": no files to convert");
    return EXITCODE_NO_INPUT_FILES;
  }

  // Output folders first, one after another.
  for (FileJob& job : jobs)
  {
    const std::string::size_type slash = job.relative.find_last_of('/');
    if (slash == std::string::npos)
      continue;
    const int error = makeFolders(output + "/" + job.relative.substr(0, slash));
    if (error != 0)
    {
      job.outcome = Outcome::Failed;
      job.result.exitCode = EXITCODE_INVALID_OUTPUT_DIRECTORY;
      job.result.message = OFString(output.c_str()) + "/" + job.relative.substr(0, slash).c_str() +
                           ": cannot create folder: " + std::strerror(error);
    }
  }

  Progress progress(tool, jobs.size());
  DJ2KThreadPool pool(threads);
  int exitCode = EXITCODE_NO_ERROR;
  pool.run(
    jobs.size(),
    [&](size_t i)
    {
      FileJob& job = jobs[i];
      const std::string in = input + "/" + job.relative;
      const std::string out = output + "/" + job.relative;
      if (job.result.exitCode == EXITCODE_NO_ERROR)
      {
        job.bytesIn = fileSize(in);
        if (!isDicomFile(in))
        {
          job.outcome = Outcome::Skipped;
        }
        else
        {
          job.result = convert(in.c_str(), out.c_str());
          job.outcome =
            job.result.exitCode == EXITCODE_NO_ERROR ? Outcome::Converted : Outcome::Failed;
          if (job.outcome == Outcome::Converted)
            job.bytesOut = fileSize(out);
        }
      }
      progress.fileDone();
    },
    [&](size_t i) -> OFBool
    {
      const FileJob& job = jobs[i];
      const std::string in = input + "/" + job.relative;
      if (job.outcome == Outcome::Skipped)
      {
        progress.interrupt([&] { OFLOG_WARN(logger, in << ": skipped: not a DICOM file"); });
      }
      else if (job.outcome == Outcome::Failed)
      {
        progress.interrupt([&] { OFLOG_ERROR(logger, job.result.message); });
        if (exitCode == EXITCODE_NO_ERROR)
          exitCode = job.result.exitCode;
      }
      return OFTrue;
    });
  progress.finish();

  size_t converted = 0, failed = 0, skipped = 0;
  unsigned long long bytesIn = 0, bytesOut = 0;
  for (const FileJob& job : jobs)
  {
    converted += job.outcome == Outcome::Converted ? 1 : 0;
    failed += job.outcome == Outcome::Failed ? 1 : 0;
    skipped += job.outcome == Outcome::Skipped ? 1 : 0;
    if (job.outcome == Outcome::Converted)
    {
      bytesIn += job.bytesIn;
      bytesOut += job.bytesOut;
    }
  }
  // Through DCMTK's console, as the tools' other output.
  STD_NAMESPACE ostream& out = ofConsole.lockCout();
  out << tool << ": " << jobs.size() << " files: " << converted << " converted, " << failed
      << " failed, " << skipped << " skipped; " << bytesIn << " bytes in, " << bytesOut
      << " bytes out" << OFendl;
  ofConsole.unlockCout();
  if (exitCode == EXITCODE_NO_ERROR && converted == 0 && failed == 0)
  {
    OFLOG_FATAL(logger, inputFolder << ": no DICOM files among the files found");
    return EXITCODE_NO_VALID_INPUT_FILES;
  }
  return exitCode;
}
