#include "vtkKOVALabelMapVolumeDisplayNode.h"

#include "vtkKOVAScene.h"

#include <vtkObjectFactory.h>

vtkKOVANodeNewMacro(vtkKOVALabelMapVolumeDisplayNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVALabelMapVolumeDisplayNode);

vtkKOVALabelMapVolumeDisplayNode::vtkKOVALabelMapVolumeDisplayNode() = default;

vtkKOVALabelMapVolumeDisplayNode::~vtkKOVALabelMapVolumeDisplayNode() = default;

void vtkKOVALabelMapVolumeDisplayNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}
