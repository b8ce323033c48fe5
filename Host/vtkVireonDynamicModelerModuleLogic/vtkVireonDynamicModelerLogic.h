#ifndef vtkVireonDynamicModelerLogic_h
#define vtkVireonDynamicModelerLogic_h

#include "vtkVireonDynamicModelerModuleLogicExport.h"

#include <vtkVireonModuleLogic.h>

#include <vector>

class vtkKOVADynamicModelerNode;
class vtkVireonDynamicModelerTool;

/// Logic of the dynamic modeler module: knows the surface modelling tools by name and runs the
/// tool that a dynamic modeler node names. Registers the dynamic modeler node class with its scene.
class VTKVIREONDYNAMICMODELERMODULELOGIC_EXPORT vtkVireonDynamicModelerLogic
  : public vtkVireonModuleLogic
{
public:
  static vtkVireonDynamicModelerLogic* New();
  vtkTypeMacro(vtkVireonDynamicModelerLogic, vtkVireonModuleLogic);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  enum
  {
    /// A tool has run for a node; call data is the node.
    ToolRunEvent = 18100,
  };

  /// The registered tool of that name, or null. The logic owns it.
  vtkVireonDynamicModelerTool* GetDynamicModelerToolByName(const char* name);
  int GetNumberOfDynamicModelerTools() { return static_cast<int>(this->Tools.size()); }
  vtkVireonDynamicModelerTool* GetNthDynamicModelerTool(int n);

  /// Runs the tool that \a node names, once; invokes ToolRunEvent when it succeeded. False (with
  /// an error) for a null node, a node without a tool name or a name that no tool has.
  bool RunDynamicModelerTool(vtkKOVADynamicModelerNode* node);

protected:
  vtkVireonDynamicModelerLogic();
  ~vtkVireonDynamicModelerLogic() override;

  void RegisterNodes() override;

  std::vector<vtkSmartPointer<vtkVireonDynamicModelerTool>> Tools;

private:
  vtkVireonDynamicModelerLogic(const vtkVireonDynamicModelerLogic&) = delete;
  void operator=(const vtkVireonDynamicModelerLogic&) = delete;
};

#endif
