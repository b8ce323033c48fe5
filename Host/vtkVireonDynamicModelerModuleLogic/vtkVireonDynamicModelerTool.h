#ifndef vtkVireonDynamicModelerTool_h
#define vtkVireonDynamicModelerTool_h

#include "vtkVireonDynamicModelerModuleLogicExport.h"

#include <vtkObject.h>

class vtkKOVADynamicModelerNode;

/// Base of the dynamic modeler's surface modelling tools. Each tool class reports a distinct,
/// user-visible name (GetName), which dynamic modeler nodes store as their tool name.
///
/// The tools here are the application's stand-ins: they check that a node names them and report
/// success without modelling any surface.
class VTKVIREONDYNAMICMODELERMODULELOGIC_EXPORT vtkVireonDynamicModelerTool : public vtkObject
{
public:
  vtkTypeMacro(vtkVireonDynamicModelerTool, vtkObject);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// A new tool of the same class (the caller owns it).
  virtual vtkVireonDynamicModelerTool* CreateToolInstance() = 0;

  /// The tool's name.
  virtual const char* GetName() = 0;

  /// Runs the tool for \a node once. False (with an error) for a null node or a node that names
  /// another tool.
  virtual bool Run(vtkKOVADynamicModelerNode* node);

protected:
  vtkVireonDynamicModelerTool();
  ~vtkVireonDynamicModelerTool() override;

private:
  vtkVireonDynamicModelerTool(const vtkVireonDynamicModelerTool&) = delete;
  void operator=(const vtkVireonDynamicModelerTool&) = delete;
};

/// Declares a tool class (in its header).
#define vtkVireonDynamicModelerToolDeclarationMacro(toolClass)                                     \
  class VTKVIREONDYNAMICMODELERMODULELOGIC_EXPORT toolClass : public vtkVireonDynamicModelerTool   \
  {                                                                                                \
  public:                                                                                          \
    static toolClass* New();                                                                       \
    vtkTypeMacro(toolClass, vtkVireonDynamicModelerTool);                                          \
    vtkVireonDynamicModelerTool* CreateToolInstance() override;                                    \
    const char* GetName() override;                                                                \
                                                                                                   \
  protected:                                                                                       \
    toolClass();                                                                                   \
    ~toolClass() override;                                                                         \
                                                                                                   \
  private:                                                                                         \
    toolClass(const toolClass&) = delete;                                                          \
    void operator=(const toolClass&) = delete;                                                     \
  }

#endif
