#ifndef vtkVireonModuleLogic_h
#define vtkVireonModuleLogic_h

#include "VireonBaseLogicExport.h"

#include <vtkKOVAAbstractLogic.h>

class vtkKOVAApplicationLogic;

/// Base of every module's logic.
class VIREONBASELOGIC_EXPORT vtkVireonModuleLogic : public vtkKOVAAbstractLogic
{
public:
  static vtkVireonModuleLogic* New();
  vtkTypeMacro(vtkVireonModuleLogic, vtkKOVAAbstractLogic);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// The application logic given by the host, or null.
  vtkKOVAApplicationLogic* GetApplicationLogic();
  /// The logic of the loaded module \a moduleName, or null (also without an application logic).
  virtual vtkKOVAAbstractLogic* GetModuleLogic(const char* moduleName);

protected:
  vtkVireonModuleLogic();
  ~vtkVireonModuleLogic() override;

private:
  vtkVireonModuleLogic(const vtkVireonModuleLogic&) = delete;
  void operator=(const vtkVireonModuleLogic&) = delete;
};

#endif
