#include "vtkKOVAMarkupsDisplayNode.h"

#include "vtkKOVAScene.h"

#include <vtkObjectFactory.h>

vtkKOVANodeNewMacro(vtkKOVAMarkupsDisplayNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAMarkupsDisplayNode);

vtkKOVAMarkupsDisplayNode::vtkKOVAMarkupsDisplayNode() = default;

vtkKOVAMarkupsDisplayNode::~vtkKOVAMarkupsDisplayNode() = default;

void vtkKOVAMarkupsDisplayNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}
