#ifndef vtkVireonTextsLogic_h
#define vtkVireonTextsLogic_h

#include "vtkVireonTextsModuleLogicExport.h"

#include <vtkKOVAAbstractLogic.h>

/// Logic of the Texts module. The text node class belongs to the scene library, so the logic adds
/// nothing to the abstract logic: it registers no node classes and observes no more than the base.
class VTKVIREONTEXTSMODULELOGIC_EXPORT vtkVireonTextsLogic : public vtkKOVAAbstractLogic
{
public:
  static vtkVireonTextsLogic* New();
  vtkTypeMacro(vtkVireonTextsLogic, vtkKOVAAbstractLogic);
  void PrintSelf(ostream& os, vtkIndent indent) override;

protected:
  vtkVireonTextsLogic();
  ~vtkVireonTextsLogic() override;

private:
  vtkVireonTextsLogic(const vtkVireonTextsLogic&) = delete;
  void operator=(const vtkVireonTextsLogic&) = delete;
};

#endif
