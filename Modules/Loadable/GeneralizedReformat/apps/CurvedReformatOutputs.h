// Outputs of the reformat tools: written completely or not at all, with one-line failures.
#ifndef CurvedReformatOutputs_h
#define CurvedReformatOutputs_h

#include <vtkOutputWindow.h>

#include <string>
#include <vector>

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

/// Output files are written beside their targets and moved there only when all are written;
/// whatever is not committed is removed.
class PendingOutputs
{
public:
  PendingOutputs() = default;
  PendingOutputs(const PendingOutputs&) = delete;
  PendingOutputs& operator=(const PendingOutputs&) = delete;
  ~PendingOutputs();
  /// Creates the file to write \a target under, in the target's folder (keeping the extension).
  OutputFile Add(const std::string& target);
  /// Moves every output to its target.
  void Commit();

private:
  std::vector<OutputFile> Outputs;
};
}

#endif
