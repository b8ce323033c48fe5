// One output file of a command-line tool, written completely or not at all.
#ifndef vireonSafeFileWriter_h
#define vireonSafeFileWriter_h

#include <memory>
#include <string>

namespace vireon
{

/// Writes one output file so that an existing file is replaced only by complete new content.
///
/// The tool asks for the name to write to, writes there with whatever writer it has (a
/// DCMTK saveFile, a VTK writer given a file name, a std::ofstream), and then commits or
/// aborts; destroying an uncommitted writer aborts.
///
///   vireon::SafeFileWriter output(path);
///   if (!output.Open())  -> output.GetErrorMessage()
///   write to output.GetPath() and close it
///   if (!written || !output.Commit())  -> output.GetErrorMessage() (written: the writer's own)
///
/// The file must be closed (a stream closed and checked) before Commit, which flushes it to
/// the disk. One file per writer: formats that write companion files beside the named one
/// (MetaImage ".mhd" with its ".raw") are not covered.
///
/// How the target is written (GetMethod):
/// - Replace: a new temporary file beside the real target (symbolic links are followed, also
///   through chains, relative and dangling links), renamed over it on Commit. An existing
///   file's permission bits and, where the process may, its owner and group are kept; a new
///   file gets what a plain create gives under the umask and the folder's defaults. The
///   temporary file has the target's name inside a private folder
///   ".<name>.<random><extension>" beside the target, so writers that look at the extension
///   (a MetaImage writer keeps its data inline for ".mha") see the target's extension, and a
///   writer that opens GetPath() by name after a signal has removed the folder cannot create
///   the file again.
/// - InPlace: the target's folder refuses new files (or the target is a mount point) but the
///   target itself is writable: the target is overwritten directly. GetInPlaceReason says
///   why; an aborted or failed write leaves the target incomplete.
/// - Direct: the target is a device, FIFO or socket, or a descriptor link under /proc such as
///   /dev/stdout: it is written as it is, never replaced.
///
/// Temporary files are removed when the process gets SIGINT, SIGTERM or SIGHUP, after which
/// the process dies by that signal. The handlers are installed by Open for each of these
/// signals whose disposition is still the default; a program with its own handler calls
/// RemoveTemporaryFiles from it. Writers of different files may run in different threads.
class SafeFileWriter
{
public:
  enum class Method
  {
    Replace,
    InPlace,
    Direct
  };

  /// target: the name the user gave. Nothing happens on the file system until Open.
  explicit SafeFileWriter(std::string target);
  /// Aborts unless committed.
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  /// Decides how the target is written and creates the temporary file. false: nothing was
  /// created and GetErrorMessage says why. A target that exists must be writable.
  bool Open();
  /// Renames the temporary file over the target (or flushes an in-place or direct write).
  /// false: the temporary file is removed, an existing target is unchanged (for Replace), and
  /// GetErrorMessage says why.
  bool Commit();
  /// Removes the temporary file; the target stays as it was (for Replace). Safe to repeat.
  void Abort();

  /// The name the writer writes to, valid after a successful Open.
  const std::string& GetPath() const { return Path; }
  /// The name the user gave.
  const std::string& GetTarget() const { return Target; }
  Method GetMethod() const { return WriteMethod; }
  /// For InPlace: why, for example "cannot create a file in /data/ro: Permission denied".
  const std::string& GetInPlaceReason() const { return InPlaceReason; }

  /// The system's reason for the last failure (strerror text), or "" after success.
  const std::string& GetErrorReason() const { return ErrorReason; }
  /// errno of the last failure, 0 after success.
  int GetErrorNumber() const { return ErrorNumber; }
  /// "<target>: <reason>", naming the user's target, never a temporary name.
  std::string GetErrorMessage() const;

  /// Removes every temporary file of this process that is not committed or aborted yet; no
  /// temporary file is created afterwards (Open then fails). Async-signal-safe: for programs
  /// whose own handlers of SIGINT, SIGTERM or SIGHUP end the process.
  static void RemoveTemporaryFiles() noexcept;

private:
  enum class State
  {
    Idle,
    Open,
    Done
  };

  bool Fail(int error);
  bool CreateTemporary(const std::string& folder, const std::string& base, bool existing);
  int CopyIntoTarget();
  void ForgetTemporary(bool removeFile);

  std::string Target;
  std::string Path;
  std::string TemporaryFolder; // the private folder that holds Path (for Replace)
  std::string Final; // the target with symbolic links resolved
  std::string InPlaceReason;
  std::string ErrorReason;
  int ErrorNumber = 0;
  Method WriteMethod = Method::Replace;
  State Status = State::Idle;
  int TemporaryDescriptor = -1;
  bool Existing = false; // Final existed when opened
  unsigned ExistingMode = 0;
  unsigned ExistingOwner = 0;
  unsigned ExistingGroup = 0;
  int Slot = -1; // registration for the signal handler
  // The temporary names as the signal handler reads them (the folder, the file, and both as
  // the handler renames them); given up (leaked) if the handler has claimed them, since the
  // handler may still read them.
  std::unique_ptr<char[]> RegisteredName;
};

} // namespace vireon

#endif
