#include "vtkKOVAMarkupsJsonStorageNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAMarkupsNode.h"
#include "vtkKOVAScene.h"

#include <vtkObjectFactory.h>

vtkKOVANodeNewMacro(vtkKOVAMarkupsJsonStorageNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAMarkupsJsonStorageNode);

vtkKOVAMarkupsJsonStorageNode::vtkKOVAMarkupsJsonStorageNode()
{
  this->TypeDisplayName =
    vtkKOVAI18N::Translate("vtkKOVAMarkupsJsonStorageNode", "Markups JSON Storage");
}

vtkKOVAMarkupsJsonStorageNode::~vtkKOVAMarkupsJsonStorageNode() = default;

void vtkKOVAMarkupsJsonStorageNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

bool vtkKOVAMarkupsJsonStorageNode::CanReadInReferenceNode(vtkKOVANode* refNode)
{
  return vtkKOVAMarkupsNode::SafeDownCast(refNode) != nullptr;
}

int vtkKOVAMarkupsJsonStorageNode::ReadDataInternal(vtkKOVANode* vtkNotUsed(refNode))
{
  this->AddErrorMessage("Cannot read markups file " + std::string(this->FileName) +
    ": reading markups JSON files is not supported.");
  return 0;
}
