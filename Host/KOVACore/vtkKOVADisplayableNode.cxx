#include "vtkKOVADisplayableNode.h"

#include "vtkKOVADisplayNode.h"

#include <vtkCommand.h>

vtkKOVADisplayableNode::vtkKOVADisplayableNode() = default;
vtkKOVADisplayableNode::~vtkKOVADisplayableNode() = default;

//------------------------------------------------------------------------------
void vtkKOVADisplayableNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "NumberOfDisplayNodes: " << this->GetNumberOfDisplayNodes() << "\n";
}

//------------------------------------------------------------------------------
bool vtkKOVADisplayableNode::CreateDefaultDisplayNodes()
{
  return true;
}

//------------------------------------------------------------------------------
vtkKOVADisplayNode* vtkKOVADisplayableNode::GetDisplayNode()
{
  return this->GetNthDisplayNode(0);
}

vtkKOVADisplayNode* vtkKOVADisplayableNode::GetNthDisplayNode(int n)
{
  return vtkKOVADisplayNode::SafeDownCast(this->GetNthNodeReference(DisplayNodeReferenceRole, n));
}

int vtkKOVADisplayableNode::GetNumberOfDisplayNodes()
{
  return this->GetNumberOfNodeReferences(DisplayNodeReferenceRole);
}

const char* vtkKOVADisplayableNode::GetDisplayNodeID()
{
  return this->GetNodeReferenceID(DisplayNodeReferenceRole);
}

void vtkKOVADisplayableNode::SetAndObserveDisplayNodeID(const char* displayNodeID)
{
  this->SetAndObserveNodeReferenceID(DisplayNodeReferenceRole, displayNodeID);
}

void vtkKOVADisplayableNode::AddAndObserveDisplayNodeID(const char* displayNodeID)
{
  if (!this->HasNodeReferenceID(DisplayNodeReferenceRole, displayNodeID))
  {
    this->AddAndObserveNodeReferenceID(DisplayNodeReferenceRole, displayNodeID);
  }
}

void vtkKOVADisplayableNode::RemoveAllDisplayNodeIDs()
{
  this->RemoveNodeReferenceIDs(DisplayNodeReferenceRole);
}

//------------------------------------------------------------------------------
bool vtkKOVADisplayableNode::GetDisplayVisibility()
{
  vtkKOVADisplayNode* displayNode = this->GetDisplayNode();
  return displayNode && displayNode->GetVisibility();
}

void vtkKOVADisplayableNode::SetDisplayVisibility(bool visible)
{
  for (int i = 0; i < this->GetNumberOfDisplayNodes(); ++i)
  {
    if (vtkKOVADisplayNode* displayNode = this->GetNthDisplayNode(i))
    {
      displayNode->SetVisibility(visible);
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVADisplayableNode::ProcessKOVAEvents(vtkObject* caller,
  unsigned long event,
  void* callData)
{
  this->Superclass::ProcessKOVAEvents(caller, event, callData);
  vtkKOVADisplayNode* displayNode = vtkKOVADisplayNode::SafeDownCast(caller);
  if (displayNode && event == vtkCommand::ModifiedEvent &&
      this->HasNodeReferenceID(DisplayNodeReferenceRole, displayNode->GetID()))
  {
    this->InvokeEvent(DisplayModifiedEvent, displayNode);
  }
}
