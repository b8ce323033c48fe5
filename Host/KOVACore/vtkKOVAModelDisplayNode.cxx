#include "vtkKOVAModelDisplayNode.h"

#include "vtkKOVAScene.h"

#include <vtkObjectFactory.h>

vtkKOVANodeNewMacro(vtkKOVAModelDisplayNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAModelDisplayNode);

vtkKOVAModelDisplayNode::vtkKOVAModelDisplayNode()
{
  this->Visibility2D = false;
}

vtkKOVAModelDisplayNode::~vtkKOVAModelDisplayNode() = default;

void vtkKOVAModelDisplayNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}
