#include "vtkVireonTextsLogic.h"

#include <vtkObjectFactory.h>

vtkStandardNewMacro(vtkVireonTextsLogic);

vtkVireonTextsLogic::vtkVireonTextsLogic() = default;
vtkVireonTextsLogic::~vtkVireonTextsLogic() = default;

void vtkVireonTextsLogic::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}
