#include "vtkKOVATransformableNode.h"

#include "vtkKOVAScene.h"
#include "vtkKOVATransformNode.h"

#include <vtkGeneralTransform.h>
#include <vtkIntArray.h>

#include <algorithm>
#include <set>

vtkKOVATransformableNode::vtkKOVATransformableNode() = default;
vtkKOVATransformableNode::~vtkKOVATransformableNode() = default;

//------------------------------------------------------------------------------
void vtkKOVATransformableNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  const char* id = this->GetTransformNodeID();
  os << indent << "TransformNodeID: " << (id ? id : "(none)") << "\n";
}

//------------------------------------------------------------------------------
bool vtkKOVATransformableNode::SetAndObserveTransformNodeID(const char* transformNodeID)
{
  if (transformNodeID && this->Scene)
  {
    // Refuse cycles: the new parent must not have this node among its ancestors (or be it).
    vtkKOVANode* node = this->Scene->GetNodeByID(transformNodeID);
    std::set<vtkKOVANode*> visited;
    while (auto* transformable = vtkKOVATransformableNode::SafeDownCast(node))
    {
      if (transformable == this || !visited.insert(transformable).second)
      {
        vtkErrorMacro(
          "SetAndObserveTransformNodeID: " << transformNodeID << " would make a transform cycle");
        return false;
      }
      node = transformable->GetParentTransformNode();
    }
  }
  vtkNew<vtkIntArray> events;
  events->InsertNextValue(TransformModifiedEvent);
  const char* current = this->GetTransformNodeID();
  const bool changed = (current == nullptr) != (transformNodeID == nullptr) ||
                       (current && transformNodeID && strcmp(current, transformNodeID) != 0);
  this->SetAndObserveNodeReferenceID(TransformNodeReferenceRole, transformNodeID, events);
  if (changed)
  {
    this->InvokeCustomModifiedEvent(TransformModifiedEvent);
  }
  return true;
}

const char* vtkKOVATransformableNode::GetTransformNodeID()
{
  return this->GetNodeReferenceID(TransformNodeReferenceRole);
}

vtkKOVATransformNode* vtkKOVATransformableNode::GetParentTransformNode()
{
  return vtkKOVATransformNode::SafeDownCast(this->GetNodeReference(TransformNodeReferenceRole));
}

//------------------------------------------------------------------------------
void vtkKOVATransformableNode::GetTransformToWorld(vtkGeneralTransform* transformToWorld)
{
  if (!transformToWorld)
  {
    return;
  }
  transformToWorld->Identity();
  transformToWorld->PostMultiply();
  std::set<vtkKOVATransformNode*> visited;
  for (vtkKOVATransformNode* parent = this->GetParentTransformNode();
       parent && visited.insert(parent).second;
       parent = parent->GetParentTransformNode())
  {
    if (vtkAbstractTransform* toParent = parent->GetTransformToParent())
    {
      transformToWorld->Concatenate(toParent);
    }
  }
}

void vtkKOVATransformableNode::GetTransformFromWorld(vtkGeneralTransform* transformFromWorld)
{
  if (!transformFromWorld)
  {
    return;
  }
  this->GetTransformToWorld(transformFromWorld);
  transformFromWorld->Inverse();
}

vtkMTimeType vtkKOVATransformableNode::GetTransformToWorldMTime()
{
  vtkMTimeType mtime = 0;
  std::set<vtkKOVATransformNode*> visited;
  for (vtkKOVATransformNode* parent = this->GetParentTransformNode();
       parent && visited.insert(parent).second;
       parent = parent->GetParentTransformNode())
  {
    mtime = std::max(mtime, parent->GetMTime());
    if (vtkAbstractTransform* toParent = parent->GetTransformToParent())
    {
      mtime = std::max(mtime, toParent->GetMTime());
    }
  }
  return mtime;
}

//------------------------------------------------------------------------------
void vtkKOVATransformableNode::ProcessKOVAEvents(vtkObject* caller,
  unsigned long event,
  void* callData)
{
  this->Superclass::ProcessKOVAEvents(caller, event, callData);
  auto* transformNode = vtkKOVATransformNode::SafeDownCast(caller);
  if (transformNode && transformNode == this->GetParentTransformNode() &&
      event == TransformModifiedEvent)
  {
    this->InvokeCustomModifiedEvent(TransformModifiedEvent);
  }
}
