#ifndef vtkVireonTemplateKeyLogic_h
#define vtkVireonTemplateKeyLogic_h

#include "vtkVireonTemplateKeyModuleLogicExport.h"

#include <vtkVireonMarkupsLogic.h>

/// The logic of the TemplateKey module: when it gets a scene, it registers the test line markup
/// (a prototype node and a prototype interaction widget) with the Markups module's logic.
class VTKVIREONTEMPLATEKEYMODULELOGIC_EXPORT vtkVireonTemplateKeyLogic
  : public vtkVireonMarkupsLogic
{
public:
  static vtkVireonTemplateKeyLogic* New();
  vtkTypeMacro(vtkVireonTemplateKeyLogic, vtkVireonMarkupsLogic);
  void PrintSelf(ostream& os, vtkIndent indent) override;

protected:
  vtkVireonTemplateKeyLogic();
  ~vtkVireonTemplateKeyLogic() override;

  /// Hands a new test line node and a new test line widget to the logic of the module named
  /// "Markups", which keeps them; an error without a scene or without that logic.
  void RegisterNodes() override;

private:
  vtkVireonTemplateKeyLogic(const vtkVireonTemplateKeyLogic&) = delete;
  void operator=(const vtkVireonTemplateKeyLogic&) = delete;
};

#endif
