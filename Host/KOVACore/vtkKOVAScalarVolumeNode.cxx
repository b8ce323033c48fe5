#include "vtkKOVAScalarVolumeNode.h"

#include "vtkKOVADisplayNode.h"
#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkObjectFactory.h>

vtkKOVANodeNewMacro(vtkKOVAScalarVolumeNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAScalarVolumeNode);

//------------------------------------------------------------------------------
vtkKOVAScalarVolumeNode::vtkKOVAScalarVolumeNode()
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVAScalarVolumeNode", "Volume");
}

vtkKOVAScalarVolumeNode::~vtkKOVAScalarVolumeNode() = default;

void vtkKOVAScalarVolumeNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

//------------------------------------------------------------------------------
bool vtkKOVAScalarVolumeNode::CreateDefaultDisplayNodes()
{
  return this->CreateDefaultDisplayNodeOfClass("vtkKOVAScalarVolumeDisplayNode");
}

bool vtkKOVAScalarVolumeNode::CreateDefaultDisplayNodeOfClass(const char* displayNodeClass)
{
  if (this->GetDisplayNode())
  {
    return true;
  }
  if (!this->GetScene())
  {
    vtkErrorMacro("CreateDefaultDisplayNodes: the node is not in a scene");
    return false;
  }
  vtkKOVANode* displayNode = this->GetScene()->AddNewNodeByClass(displayNodeClass);
  if (!vtkKOVADisplayNode::SafeDownCast(displayNode))
  {
    vtkErrorMacro("CreateDefaultDisplayNodes: cannot create a " << displayNodeClass);
    return false;
  }
  this->SetAndObserveDisplayNodeID(displayNode->GetID());
  return true;
}
