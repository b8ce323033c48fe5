#include "vtkKOVADynamicModelerNode.h"

#include <vtkKOVAI18N.h>

#include <vtkObjectFactory.h>

#include <cstring>

vtkKOVANodeNewMacro(vtkKOVADynamicModelerNode);

//------------------------------------------------------------------------------
vtkKOVADynamicModelerNode::vtkKOVADynamicModelerNode()
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVADynamicModelerNode", "Dynamic Modeler");
}

//------------------------------------------------------------------------------
vtkKOVADynamicModelerNode::~vtkKOVADynamicModelerNode()
{
  this->SetToolName(nullptr);
}

//------------------------------------------------------------------------------
void vtkKOVADynamicModelerNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "ToolName: " << (this->ToolName ? this->ToolName : "(none)") << "\n";
  os << indent << "ContinuousUpdate: " << (this->ContinuousUpdate ? "true" : "false") << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVADynamicModelerNode::WriteXML(ostream& of, int nIndent)
{
  this->Superclass::WriteXML(of, nIndent);
  if (this->ToolName)
  {
    of << " toolName=\"" << vtkKOVANode::XMLAttributeEncodeString(this->ToolName) << "\"";
  }
  of << " continuousUpdate=\"" << (this->ContinuousUpdate ? "true" : "false") << "\"";
}

//------------------------------------------------------------------------------
void vtkKOVADynamicModelerNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  if (!atts)
  {
    return;
  }
  for (int i = 0; atts[i] != nullptr && atts[i + 1] != nullptr; i += 2)
  {
    const char* attName = atts[i];
    const char* attValue = atts[i + 1];
    if (strcmp(attName, "toolName") == 0)
    {
      this->SetToolName(attValue);
    }
    else if (strcmp(attName, "continuousUpdate") == 0)
    {
      this->SetContinuousUpdate(strcmp(attValue, "true") == 0);
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVADynamicModelerNode::Copy(vtkKOVANode* anode)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::Copy(anode);
  vtkKOVADynamicModelerNode* node = vtkKOVADynamicModelerNode::SafeDownCast(anode);
  if (!node)
  {
    vtkErrorMacro("Copy failed: invalid source node");
    return;
  }
  this->SetToolName(node->GetToolName());
  this->SetContinuousUpdate(node->GetContinuousUpdate());
}

//------------------------------------------------------------------------------
void vtkKOVADynamicModelerNode::ProcessKOVAEvents(vtkObject* caller,
  unsigned long event,
  void* callData)
{
  this->Superclass::ProcessKOVAEvents(caller, event, callData);
  if (!this->GetScene())
  {
    vtkErrorMacro("ProcessKOVAEvents: Invalid KOVA scene");
    return;
  }
  vtkKOVANode* node = vtkKOVANode::SafeDownCast(caller);
  if (node)
  {
    this->InvokeEvent(ReferencedNodeModifiedEvent, node);
  }
}
