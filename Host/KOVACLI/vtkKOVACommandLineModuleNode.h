#ifndef vtkKOVACommandLineModuleNode_h
#define vtkKOVACommandLineModuleNode_h

#include "KOVACLIExport.h"

#include <vtkKOVANode.h>

#include <map>
#include <string>
#include <vector>

/// One run of a command-line module: the module's name, its parameters as text, and the status,
/// error text and output text of the run.
class KOVACLI_EXPORT vtkKOVACommandLineModuleNode : public vtkKOVANode
{
public:
  static vtkKOVACommandLineModuleNode* New();
  vtkTypeMacro(vtkKOVACommandLineModuleNode, vtkKOVANode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "CommandLineModule"; }
  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVACommandLineModuleNode);

  enum StatusType
  {
    Idle = 0x00,
    Scheduled = 0x01,
    Running = 0x02,
    Cancelling = 0x04,
    Cancelled = 0x08,
    Completing = 0x10,
    Completed = 0x20,
    ErrorsMask = 0x40,
    CompletedWithErrors = Completed | ErrorsMask,
    BusyMask = Scheduled | Running | Cancelling | Completing,
  };

  enum
  {
    /// The status changed.
    StatusModifiedEvent = 19500,
  };

  /// Name of the module the node runs.
  void SetModuleName(const std::string& name);
  std::string GetModuleName() const { return this->ModuleName; }

  /// Stores a parameter value. False (nothing stored) when the node's module is known and has no
  /// parameter of that name.
  bool SetParameterAsString(const std::string& name, const std::string& value);
  /// The value, or "" when the parameter is not set.
  std::string GetParameterAsString(const std::string& name) const;
  bool IsParameterSet(const std::string& name) const;
  void ClearParameter(const std::string& name);
  std::vector<std::string> GetParameterNames() const;

  int GetStatus() const { return this->Status; }
  void SetStatus(int status);
  /// "Idle", "Scheduled", "Running", "Cancelling", "Cancelled", "Completing", "Completed",
  /// "CompletedWithErrors" or "Unknown".
  const char* GetStatusString() const;
  bool IsBusy() const { return (this->Status & BusyMask) != 0; }

  /// Fraction of the run that is done, from 0 to 1, as the module reports it. Setting a new value
  /// invokes vtkCommand::ProgressEvent with a pointer to it (double) as call data.
  double GetProgress() const { return this->Progress; }
  void SetProgress(double progress);

  std::string GetErrorText() const { return this->ErrorText; }
  void SetErrorText(const std::string& text);
  std::string GetOutputText() const { return this->OutputText; }
  void SetOutputText(const std::string& text);

protected:
  vtkKOVACommandLineModuleNode();
  ~vtkKOVACommandLineModuleNode() override;

  std::string ModuleName;
  std::map<std::string, std::string> Parameters;
  int Status = Idle;
  double Progress = 0.0;
  std::string ErrorText;
  std::string OutputText;

private:
  vtkKOVACommandLineModuleNode(const vtkKOVACommandLineModuleNode&) = delete;
  void operator=(const vtkKOVACommandLineModuleNode&) = delete;
};

#endif
