#include "vtkKOVAModelNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkCallbackCommand.h>
#include <vtkCommand.h>
#include <vtkObjectFactory.h>
#include <vtkPolyData.h>

vtkKOVANodeNewMacro(vtkKOVAModelNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAModelNode);

vtkKOVAModelNode::vtkKOVAModelNode()
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVAModelNode", "Model");
}

vtkKOVAModelNode::~vtkKOVAModelNode()
{
  if (this->PolyData)
  {
    this->PolyData->RemoveObserver(this->PolyDataObserverTag);
  }
}

void vtkKOVAModelNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "PolyData: " << this->PolyData.GetPointer() << "\n";
}

vtkPolyData* vtkKOVAModelNode::GetPolyData()
{
  return this->PolyData;
}

void vtkKOVAModelNode::SetAndObservePolyData(vtkPolyData* polyData)
{
  if (this->PolyData == polyData)
  {
    return;
  }
  if (this->PolyData)
  {
    this->PolyData->RemoveObserver(this->PolyDataObserverTag);
  }
  this->PolyData = polyData;
  if (polyData)
  {
    vtkNew<vtkCallbackCommand> command;
    command->SetClientData(this);
    command->SetCallback(&vtkKOVAModelNode::PolyDataModified);
    this->PolyDataObserverTag = polyData->AddObserver(vtkCommand::ModifiedEvent, command);
  }
  this->Modified();
  this->InvokeCustomModifiedEvent(MeshModifiedEvent, this);
}

void vtkKOVAModelNode::PolyDataModified(vtkObject*, unsigned long, void* clientData, void*)
{
  vtkKOVAModelNode* self = static_cast<vtkKOVAModelNode*>(clientData);
  self->Modified();
  self->InvokeCustomModifiedEvent(MeshModifiedEvent, self);
}

void vtkKOVAModelNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  vtkKOVAModelNode* node = vtkKOVAModelNode::SafeDownCast(anode);
  if (!node)
  {
    return;
  }
  if (!deepCopy || !node->PolyData)
  {
    this->SetAndObservePolyData(node->PolyData);
    return;
  }
  vtkNew<vtkPolyData> copy;
  copy->DeepCopy(node->PolyData);
  this->SetAndObservePolyData(copy);
}
