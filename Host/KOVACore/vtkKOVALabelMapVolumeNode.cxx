#include "vtkKOVALabelMapVolumeNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkObjectFactory.h>

vtkKOVANodeNewMacro(vtkKOVALabelMapVolumeNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVALabelMapVolumeNode);

vtkKOVALabelMapVolumeNode::vtkKOVALabelMapVolumeNode()
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVALabelMapVolumeNode", "Labelmap Volume");
}

vtkKOVALabelMapVolumeNode::~vtkKOVALabelMapVolumeNode() = default;

void vtkKOVALabelMapVolumeNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

bool vtkKOVALabelMapVolumeNode::CreateDefaultDisplayNodes()
{
  return this->CreateDefaultDisplayNodeOfClass("vtkKOVALabelMapVolumeDisplayNode");
}
