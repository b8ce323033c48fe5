#ifndef vtkVireonCLIModuleLogic_h
#define vtkVireonCLIModuleLogic_h

#include "KOVACLIExport.h"

#include <vtkVireonModuleLogic.h>

#include <functional>
#include <string>
#include <vector>

class vtkKOVACommandLineModuleNode;
class vtkKOVAScene;

/// The logic of one command-line module: creates its run nodes and runs them.
///
/// Modules run in process: each is a function registered under the module's name (with the
/// names of its parameters) that reads the run node's parameters and the logic's scene. The
/// library registers "ResampleScalarVectorDWIVolume".
class KOVACLI_EXPORT vtkVireonCLIModuleLogic : public vtkVireonModuleLogic
{
public:
  static vtkVireonCLIModuleLogic* New();
  vtkTypeMacro(vtkVireonCLIModuleLogic, vtkVireonModuleLogic);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// A module's work: reads the node's parameters, changes nodes of \a scene, and returns true on
  /// success or false with \a errorText set.
  using ModuleFunction = std::function<
    bool(vtkKOVACommandLineModuleNode* node, vtkKOVAScene* scene, std::string& errorText)>;

  /// Registers (or replaces) an in-process module.
  static void RegisterModule(const std::string& moduleName,
    const std::vector<std::string>& parameterNames,
    ModuleFunction function);
  static bool IsModuleRegistered(const std::string& moduleName);
  /// Parameter names of a registered module (empty for an unknown one).
  static std::vector<std::string> GetModuleParameterNames(const std::string& moduleName);

  /// The module this logic runs.
  void SetModuleName(const std::string& moduleName);
  std::string GetModuleName() const { return this->ModuleName; }

  /// A new run node for the module, added to the logic's scene (which owns it); null without a
  /// scene.
  vtkKOVACommandLineModuleNode* CreateNodeInScene();

  /// Runs the node's module and returns when it has finished: the status becomes Completed, or
  /// CompletedWithErrors with the error text set (also for an unknown module). \a updateDisplay
  /// has no effect here (nothing is shown). Returns true when the run completed without errors.
  bool ApplyAndWait(vtkKOVACommandLineModuleNode* node, bool updateDisplay = true);

protected:
  vtkVireonCLIModuleLogic();
  ~vtkVireonCLIModuleLogic() override;

  void RegisterNodes() override;

  std::string ModuleName;

private:
  vtkVireonCLIModuleLogic(const vtkVireonCLIModuleLogic&) = delete;
  void operator=(const vtkVireonCLIModuleLogic&) = delete;
};

#endif
