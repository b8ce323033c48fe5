#include "vtkKOVAAbstractLogic.h"

#include "vtkKOVAApplicationLogic.h"

#include <vtkCallbackCommand.h>
#include <vtkFloatArray.h>
#include <vtkIntArray.h>
#include <vtkKOVANode.h>
#include <vtkKOVAScene.h>
#include <vtkObjectFactory.h>

vtkStandardNewMacro(vtkKOVAAbstractLogic);

//------------------------------------------------------------------------------
vtkKOVAAbstractLogic::vtkKOVAAbstractLogic()
{
  this->SceneCallbackCommand = vtkSmartPointer<vtkCallbackCommand>::New();
  this->SceneCallbackCommand->SetClientData(this);
  this->SceneCallbackCommand->SetCallback(&vtkKOVAAbstractLogic::SceneCallback);
  this->NodesCallbackCommand = vtkSmartPointer<vtkCallbackCommand>::New();
  this->NodesCallbackCommand->SetClientData(this);
  this->NodesCallbackCommand->SetCallback(&vtkKOVAAbstractLogic::NodesCallback);
  this->LogicsCallbackCommand = vtkSmartPointer<vtkCallbackCommand>::New();
  this->LogicsCallbackCommand->SetClientData(this);
  this->LogicsCallbackCommand->SetCallback(&vtkKOVAAbstractLogic::LogicsCallback);
}

//------------------------------------------------------------------------------
vtkKOVAAbstractLogic::~vtkKOVAAbstractLogic()
{
  this->SetAndObserveKOVASceneEventsInternal(nullptr, nullptr);
  this->SceneCallbackCommand->SetClientData(nullptr);
  this->NodesCallbackCommand->SetClientData(nullptr);
  this->LogicsCallbackCommand->SetClientData(nullptr);
}

//------------------------------------------------------------------------------
void vtkKOVAAbstractLogic::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "KOVAScene: " << this->KOVAScene.GetPointer() << "\n";
  os << indent << "KOVAApplicationLogic: " << this->KOVAApplicationLogic.GetPointer() << "\n";
}

//------------------------------------------------------------------------------
vtkKOVAScene* vtkKOVAAbstractLogic::GetKOVAScene()
{
  return this->KOVAScene;
}

//------------------------------------------------------------------------------
vtkKOVAApplicationLogic* vtkKOVAAbstractLogic::GetKOVAApplicationLogic()
{
  return this->KOVAApplicationLogic;
}

//------------------------------------------------------------------------------
void vtkKOVAAbstractLogic::SetKOVAScene(vtkKOVAScene* newScene)
{
  if (this->KOVAScene == newScene)
  {
    return;
  }
  this->SetKOVASceneInternal(newScene);
  if (newScene)
  {
    this->RegisterNodes();
    this->UpdateFromKOVAScene();
  }
  this->Modified();
}

//------------------------------------------------------------------------------
void vtkKOVAAbstractLogic::SetKOVAApplicationLogic(vtkKOVAApplicationLogic* logic)
{
  if (this->KOVAApplicationLogic == logic)
  {
    return;
  }
  this->KOVAApplicationLogic = logic;
  this->Modified();
}

//------------------------------------------------------------------------------
void vtkKOVAAbstractLogic::SetKOVASceneInternal(vtkKOVAScene* newScene)
{
  this->SetAndObserveKOVASceneEventsInternal(newScene, nullptr);
}

//------------------------------------------------------------------------------
void vtkKOVAAbstractLogic::SetAndObserveKOVASceneEventsInternal(vtkKOVAScene* newScene,
  vtkIntArray* events,
  vtkFloatArray* priorities)
{
  if (this->KOVAScene)
  {
    for (unsigned long tag : this->SceneObserverTags)
    {
      this->KOVAScene->RemoveObserver(tag);
    }
  }
  this->SceneObserverTags.clear();
  this->KOVAScene = newScene;
  if (!newScene || !events)
  {
    return;
  }
  for (vtkIdType i = 0; i < events->GetNumberOfValues(); ++i)
  {
    const float priority =
      (priorities && i < priorities->GetNumberOfValues()) ? priorities->GetValue(i) : 0.0f;
    this->SceneObserverTags.push_back(newScene->AddObserver(
      static_cast<unsigned long>(events->GetValue(i)), this->SceneCallbackCommand, priority));
  }
}

//------------------------------------------------------------------------------
void vtkKOVAAbstractLogic::ProcessKOVASceneEvents(vtkObject* caller,
  unsigned long event,
  void* callData)
{
  if (caller != this->KOVAScene.GetPointer())
  {
    return;
  }
  vtkKOVANode* node = reinterpret_cast<vtkKOVANode*>(callData);
  switch (event)
  {
    case vtkKOVAScene::NodeAddedEvent:
      this->OnKOVASceneNodeAdded(node);
      break;
    case vtkKOVAScene::NodeRemovedEvent:
      this->OnKOVASceneNodeRemoved(node);
      break;
    case vtkKOVAScene::StartBatchProcessEvent:
      this->OnKOVASceneStartBatchProcess();
      break;
    case vtkKOVAScene::EndBatchProcessEvent:
      this->OnKOVASceneEndBatchProcess();
      break;
    default:
      break;
  }
}

//------------------------------------------------------------------------------
void vtkKOVAAbstractLogic::OnKOVASceneEndBatchProcess()
{
  this->UpdateFromKOVAScene();
}

//------------------------------------------------------------------------------
void vtkKOVAAbstractLogic::ProcessKOVANodesEvents(vtkObject*, unsigned long, void*) {}
void vtkKOVAAbstractLogic::ProcessKOVALogicsEvents(vtkObject*, unsigned long, void*) {}

//------------------------------------------------------------------------------
void vtkKOVAAbstractLogic::SceneCallback(vtkObject* caller,
  unsigned long eid,
  void* clientData,
  void* callData)
{
  vtkKOVAAbstractLogic* self = static_cast<vtkKOVAAbstractLogic*>(clientData);
  if (!self)
  {
    return;
  }
  vtkSmartPointer<vtkKOVAAbstractLogic> keepAlive = self;
  ++self->InKOVASceneCallback;
  self->ProcessKOVASceneEvents(caller, eid, callData);
  --self->InKOVASceneCallback;
}

void vtkKOVAAbstractLogic::NodesCallback(vtkObject* caller,
  unsigned long eid,
  void* clientData,
  void* callData)
{
  if (vtkKOVAAbstractLogic* self = static_cast<vtkKOVAAbstractLogic*>(clientData))
  {
    self->ProcessKOVANodesEvents(caller, eid, callData);
  }
}

void vtkKOVAAbstractLogic::LogicsCallback(vtkObject* caller,
  unsigned long eid,
  void* clientData,
  void* callData)
{
  if (vtkKOVAAbstractLogic* self = static_cast<vtkKOVAAbstractLogic*>(clientData))
  {
    self->ProcessKOVALogicsEvents(caller, eid, callData);
  }
}
