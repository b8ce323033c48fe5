#include "vtkKOVAColorLegendDisplayNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkObjectFactory.h>

vtkKOVANodeNewMacro(vtkKOVAColorLegendDisplayNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAColorLegendDisplayNode);

//------------------------------------------------------------------------------
vtkKOVAColorLegendDisplayNode::vtkKOVAColorLegendDisplayNode()
{
  this->TypeDisplayName =
    vtkKOVAI18N::Translate("vtkKOVAColorLegendDisplayNode", "Color legend display");
  this->HideFromEditors = true;
}

vtkKOVAColorLegendDisplayNode::~vtkKOVAColorLegendDisplayNode() = default;

//------------------------------------------------------------------------------
void vtkKOVAColorLegendDisplayNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  const char* primaryID = this->GetPrimaryDisplayNodeID();
  os << indent << "PrimaryDisplayNodeID: " << (primaryID ? primaryID : "(none)") << "\n";
  os << indent << "HiddenByUser: " << (this->HiddenByUser ? "true" : "false") << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVAColorLegendDisplayNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    if (strcmp(atts[i], "hiddenByUser") == 0)
    {
      this->SetHiddenByUser(strcmp(atts[i + 1], "true") == 0);
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVAColorLegendDisplayNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  of << " hiddenByUser=\"" << (this->HiddenByUser ? "true" : "false") << "\"";
}

//------------------------------------------------------------------------------
void vtkKOVAColorLegendDisplayNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  vtkKOVAColorLegendDisplayNode* node = vtkKOVAColorLegendDisplayNode::SafeDownCast(anode);
  if (node)
  {
    this->SetHiddenByUser(node->HiddenByUser);
  }
}

//------------------------------------------------------------------------------
vtkKOVADisplayNode* vtkKOVAColorLegendDisplayNode::GetPrimaryDisplayNode()
{
  return vtkKOVADisplayNode::SafeDownCast(this->GetNodeReference(PrimaryDisplayNodeReferenceRole));
}

const char* vtkKOVAColorLegendDisplayNode::GetPrimaryDisplayNodeID()
{
  return this->GetNodeReferenceID(PrimaryDisplayNodeReferenceRole);
}

void vtkKOVAColorLegendDisplayNode::SetAndObservePrimaryDisplayNodeID(const char* displayNodeID)
{
  this->SetAndObserveNodeReferenceID(PrimaryDisplayNodeReferenceRole, displayNodeID);
}
