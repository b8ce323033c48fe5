#include "vtkKOVAModelNode.h"

#include "vtkKOVADisplayNode.h"
#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkCallbackCommand.h>
#include <vtkCommand.h>
#include <vtkObjectFactory.h>
#include <vtkPolyData.h>

vtkKOVANodeNewMacro(vtkKOVAModelNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAModelNode);

//------------------------------------------------------------------------------
vtkKOVAModelNode::vtkKOVAModelNode()
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVAModelNode", "Model");
}

vtkKOVAModelNode::~vtkKOVAModelNode()
{
  if (this->PolyData && this->PolyDataObserverTag)
  {
    this->PolyData->RemoveObserver(this->PolyDataObserverTag);
  }
}

void vtkKOVAModelNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "NumberOfPoints: " << (this->PolyData ? this->PolyData->GetNumberOfPoints() : 0)
     << "\n";
  os << indent << "NumberOfCells: " << (this->PolyData ? this->PolyData->GetNumberOfCells() : 0)
     << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVAModelNode::SetAndObservePolyData(vtkPolyData* polyData)
{
  if (this->PolyData == polyData)
  {
    return;
  }
  if (this->PolyData && this->PolyDataObserverTag)
  {
    this->PolyData->RemoveObserver(this->PolyDataObserverTag);
    this->PolyDataObserverTag = 0;
  }
  this->PolyData = polyData;
  if (this->PolyData)
  {
    vtkNew<vtkCallbackCommand> command;
    command->SetClientData(this);
    command->SetCallback(&vtkKOVAModelNode::PolyDataCallback);
    this->PolyDataObserverTag = this->PolyData->AddObserver(vtkCommand::ModifiedEvent, command);
  }
  this->Modified();
  this->InvokeCustomModifiedEvent(PolyDataModifiedEvent);
}

void vtkKOVAModelNode::PolyDataCallback(vtkObject* vtkNotUsed(caller),
  unsigned long vtkNotUsed(eid),
  void* clientData,
  void* vtkNotUsed(callData))
{
  static_cast<vtkKOVAModelNode*>(clientData)->InvokeCustomModifiedEvent(PolyDataModifiedEvent);
}

//------------------------------------------------------------------------------
bool vtkKOVAModelNode::CreateDefaultDisplayNodes()
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
  vtkKOVANode* displayNode = this->GetScene()->AddNewNodeByClass("vtkKOVAModelDisplayNode");
  if (!vtkKOVADisplayNode::SafeDownCast(displayNode))
  {
    vtkErrorMacro("CreateDefaultDisplayNodes: cannot create a vtkKOVAModelDisplayNode");
    return false;
  }
  this->SetAndObserveDisplayNodeID(displayNode->GetID());
  return true;
}

//------------------------------------------------------------------------------
void vtkKOVAModelNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  auto* node = vtkKOVAModelNode::SafeDownCast(anode);
  if (!node || node == this)
  {
    return;
  }
  if (deepCopy && node->PolyData)
  {
    vtkNew<vtkPolyData> copy;
    copy->DeepCopy(node->PolyData);
    this->SetAndObservePolyData(copy);
  }
  else
  {
    this->SetAndObservePolyData(node->PolyData);
  }
}
