// Outputs of the reformat tools: written completely or not at all, with one-line failures.
#ifndef CurvedReformatOutputs_h
#define CurvedReformatOutputs_h

#include <vtkOutputWindow.h>

#include <memory>
#include <string>
#include <vector>

namespace vireon
{
class SafeFileWriter;
}

namespace CurvedReformat
{
/// A failure with a one-line message; exit code 2 for command-line errors, 1 otherwise.
struct Failure
{
  std::string Message;
  int ExitCode = 1;
};

/// Collects VTK's error texts instead of printing them.
class CapturingOutputWindow : public vtkOutputWindow
{
public:
  static CapturingOutputWindow* New();
  vtkTypeMacro(CapturingOutputWindow, vtkOutputWindow);
  void DisplayErrorText(const char* text) override { this->Errors.emplace_back(text ? text : ""); }
  void DisplayWarningText(const char*) override {}
  void DisplayGenericWarningText(const char*) override {}
  void DisplayText(const char*) override {}
  void DisplayDebugText(const char*) override {}

  /// The message of the first error (the text after the object's description), or "".
  std::string FirstMessage() const;

  std::vector<std::string> Errors;
};

/// An output file: written under Path, named Target (the user's name) in messages.
struct OutputFile
{
  std::string Path;
  std::string Target;
};

/// A tool's output files, written through the project's safe file writer: each under a
/// temporary name beside its target (symbolic links followed, modes kept, devices written
/// directly, temporary files removed on signals), all put in place only when all are written.
/// Whatever is not committed is removed.
class PendingOutputs
{
public:
  PendingOutputs();
  PendingOutputs(const PendingOutputs&) = delete;
  PendingOutputs& operator=(const PendingOutputs&) = delete;
  ~PendingOutputs();
  /// Opens \a target for writing: a folder that is missing or refuses the file fails here,
  /// before any work.
  OutputFile Add(const std::string& target);
  /// Puts every output in place, in the order added.
  void Commit();

private:
  std::vector<std::unique_ptr<vireon::SafeFileWriter>> Writers;
};
}

#endif
