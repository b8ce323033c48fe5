#include "vtkVireonModuleLogic.h"

#include <vtkKOVAApplicationLogic.h>
#include <vtkObjectFactory.h>

vtkStandardNewMacro(vtkVireonModuleLogic);

vtkVireonModuleLogic::vtkVireonModuleLogic() = default;
vtkVireonModuleLogic::~vtkVireonModuleLogic() = default;

void vtkVireonModuleLogic::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

vtkKOVAApplicationLogic* vtkVireonModuleLogic::GetApplicationLogic()
{
  return this->GetKOVAApplicationLogic();
}

vtkKOVAAbstractLogic* vtkVireonModuleLogic::GetModuleLogic(const char* moduleName)
{
  vtkKOVAApplicationLogic* applicationLogic = this->GetApplicationLogic();
  return applicationLogic ? applicationLogic->GetModuleLogic(moduleName) : nullptr;
}
