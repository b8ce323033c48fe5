#ifndef vtkKOVAApplicationLogic_h
#define vtkKOVAApplicationLogic_h

#include "vtkKOVAAbstractLogic.h"

#include <map>
#include <string>

class vtkKOVASelectionNode;

/// The application-wide logic: keeps the loaded modules' logics by module name and the scene's
/// selection node (added to a scene that has none when the scene is set).
class KOVALOGIC_EXPORT vtkKOVAApplicationLogic : public vtkKOVAAbstractLogic
{
public:
  static vtkKOVAApplicationLogic* New();
  vtkTypeMacro(vtkKOVAApplicationLogic, vtkKOVAAbstractLogic);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// The logic of a loaded module, or null. The application logic holds a reference to it.
  vtkKOVAAbstractLogic* GetModuleLogic(const char* moduleName);
  /// Registers (null: unregisters) the logic of a module.
  void SetModuleLogic(const char* moduleName, vtkKOVAAbstractLogic* logic);
  std::vector<std::string> GetModuleLogicNames();

  /// The first selection node of the scene, or null.
  vtkKOVASelectionNode* GetSelectionNode();

  /// Shows the selection node's active plot chart in every plot view of the scene (nothing
  /// without a scene or a selection node).
  virtual void PropagatePlotChartSelection();

protected:
  vtkKOVAApplicationLogic();
  ~vtkKOVAApplicationLogic() override;

  void SetKOVASceneInternal(vtkKOVAScene* newScene) override;

  std::map<std::string, vtkSmartPointer<vtkKOVAAbstractLogic>> ModuleLogics;

private:
  vtkKOVAApplicationLogic(const vtkKOVAApplicationLogic&) = delete;
  void operator=(const vtkKOVAApplicationLogic&) = delete;
};

#endif
