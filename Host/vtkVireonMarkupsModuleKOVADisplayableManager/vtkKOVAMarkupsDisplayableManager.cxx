#include "vtkKOVAMarkupsDisplayableManager.h"

#include <vtkVireonMarkupsLogic.h>
#include <vtkVireonMarkupsWidget.h>

#include <vtkKOVAAbstractViewNode.h>
#include <vtkKOVAMarkupsDisplayNode.h>
#include <vtkKOVAMarkupsNode.h>
#include <vtkKOVAScene.h>

#include <vtkCallbackCommand.h>
#include <vtkCommand.h>
#include <vtkObjectFactory.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>

#include <algorithm>

vtkStandardNewMacro(vtkKOVAMarkupsDisplayableManager);

struct vtkKOVAMarkupsDisplayableManager::WidgetEntry
{
  vtkWeakPointer<vtkKOVAMarkupsDisplayNode> DisplayNode;
  vtkWeakPointer<vtkKOVAMarkupsNode> MarkupsNode;
  vtkSmartPointer<vtkVireonMarkupsWidget> Widget;
  unsigned long DisplayNodeTag = 0;
};

struct vtkKOVAMarkupsDisplayableManager::Observation
{
  vtkWeakPointer<vtkObject> Object;
  std::vector<unsigned long> Tags;
};

namespace
{
// Markups node events that change what the widgets show.
const unsigned long MarkupsNodeEvents[] = { vtkCommand::ModifiedEvent,
  vtkKOVAMarkupsNode::PointAddedEvent,
  vtkKOVAMarkupsNode::PointRemovedEvent,
  vtkKOVAMarkupsNode::PointModifiedEvent,
  vtkKOVAMarkupsNode::LockModifiedEvent };
}

vtkKOVAMarkupsDisplayableManager::vtkKOVAMarkupsDisplayableManager()
  : CallbackCommand(vtkSmartPointer<vtkCallbackCommand>::New())
  , Widgets(new std::vector<WidgetEntry>)
  , Observations(new std::vector<Observation>)
{
  this->CallbackCommand->SetClientData(this);
  this->CallbackCommand->SetCallback(&vtkKOVAMarkupsDisplayableManager::Callback);
}

vtkKOVAMarkupsDisplayableManager::~vtkKOVAMarkupsDisplayableManager()
{
  this->RemoveAllWidgets();
  this->RemoveAllObservations();
  delete this->Observations;
  delete this->Widgets;
}

void vtkKOVAMarkupsDisplayableManager::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "NumberOfWidgets: " << this->Widgets->size() << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVAMarkupsDisplayableManager::SetMarkupsLogic(vtkVireonMarkupsLogic* logic)
{
  if (this->MarkupsLogic != logic)
  {
    this->MarkupsLogic = logic;
    this->Modified();
  }
}

vtkVireonMarkupsLogic* vtkKOVAMarkupsDisplayableManager::GetMarkupsLogic()
{
  return this->MarkupsLogic;
}

void vtkKOVAMarkupsDisplayableManager::SetRenderer(vtkRenderer* renderer)
{
  if (this->Renderer == renderer)
  {
    return;
  }
  this->RemoveAllWidgets();
  this->Renderer = renderer;
  this->UpdateWidgets();
  this->Modified();
}

vtkRenderer* vtkKOVAMarkupsDisplayableManager::GetRenderer()
{
  return this->Renderer;
}

void vtkKOVAMarkupsDisplayableManager::SetKOVAViewNode(vtkKOVAAbstractViewNode* viewNode)
{
  if (this->ViewNode == viewNode)
  {
    return;
  }
  this->RemoveAllWidgets();
  // Stop observing the old view node, its scene and its markups nodes.
  this->RemoveAllObservations();
  this->ViewNode = viewNode;
  this->Scene = viewNode ? viewNode->GetScene() : nullptr;
  if (viewNode)
  {
    Observation observation;
    observation.Object = viewNode;
    observation.Tags.push_back(
      viewNode->AddObserver(vtkCommand::ModifiedEvent, this->CallbackCommand));
    this->Observations->push_back(observation);
  }
  this->ObserveScene(this->Scene);
  this->UpdateWidgets();
  this->Modified();
}

vtkKOVAAbstractViewNode* vtkKOVAMarkupsDisplayableManager::GetKOVAViewNode()
{
  return this->ViewNode;
}

void vtkKOVAMarkupsDisplayableManager::ObserveScene(vtkKOVAScene* scene)
{
  if (!scene)
  {
    return;
  }
  Observation observation;
  observation.Object = scene;
  observation.Tags.push_back(
    scene->AddObserver(vtkKOVAScene::NodeAddedEvent, this->CallbackCommand));
  observation.Tags.push_back(
    scene->AddObserver(vtkKOVAScene::NodeRemovedEvent, this->CallbackCommand));
  observation.Tags.push_back(
    scene->AddObserver(vtkKOVAScene::EndBatchProcessEvent, this->CallbackCommand));
  this->Observations->push_back(observation);
}

void vtkKOVAMarkupsDisplayableManager::ObserveMarkupsNode(vtkKOVAMarkupsNode* node)
{
  for (const Observation& observation : *this->Observations)
  {
    if (observation.Object == node)
    {
      return;
    }
  }
  Observation observation;
  observation.Object = node;
  for (unsigned long event : MarkupsNodeEvents)
  {
    observation.Tags.push_back(node->AddObserver(event, this->CallbackCommand));
  }
  this->Observations->push_back(observation);
}

void vtkKOVAMarkupsDisplayableManager::RemoveAllObservations()
{
  for (Observation& observation : *this->Observations)
  {
    if (observation.Object)
    {
      for (unsigned long tag : observation.Tags)
      {
        observation.Object->RemoveObserver(tag);
      }
    }
  }
  this->Observations->clear();
}

//------------------------------------------------------------------------------
void vtkKOVAMarkupsDisplayableManager::RemoveAllWidgets()
{
  for (WidgetEntry& entry : *this->Widgets)
  {
    if (entry.DisplayNode && entry.DisplayNodeTag)
    {
      entry.DisplayNode->RemoveObserver(entry.DisplayNodeTag);
    }
    entry.Widget->SetRenderer(nullptr);
  }
  this->Widgets->clear();
}

void vtkKOVAMarkupsDisplayableManager::UpdateWidgets()
{
  if (this->Updating)
  {
    return;
  }
  this->Updating = true;
  vtkKOVAScene* scene = this->Scene;

  // Drop the widgets of display nodes that left the scene or their markups node.
  auto gone = [scene](const WidgetEntry& entry)
  {
    return !scene || !entry.DisplayNode || !entry.MarkupsNode ||
           !scene->IsNodePresent(entry.DisplayNode) || !scene->IsNodePresent(entry.MarkupsNode) ||
           entry.DisplayNode->GetDisplayableNode() != entry.MarkupsNode.GetPointer();
  };
  for (WidgetEntry& entry : *this->Widgets)
  {
    if (gone(entry))
    {
      if (entry.DisplayNode && entry.DisplayNodeTag)
      {
        entry.DisplayNode->RemoveObserver(entry.DisplayNodeTag);
      }
      entry.Widget->SetRenderer(nullptr);
      entry.Widget = nullptr;
    }
  }
  this->Widgets->erase(std::remove_if(this->Widgets->begin(),
                         this->Widgets->end(),
                         [](const WidgetEntry& entry) { return !entry.Widget; }),
    this->Widgets->end());

  if (scene && this->ViewNode && this->Renderer && this->MarkupsLogic)
  {
    std::vector<vtkKOVANode*> nodes;
    scene->GetNodesByClass("vtkKOVAMarkupsNode", nodes);
    for (vtkKOVANode* node : nodes)
    {
      auto* markupsNode = vtkKOVAMarkupsNode::SafeDownCast(node);
      this->ObserveMarkupsNode(markupsNode);
      vtkVireonMarkupsWidget* prototype =
        this->MarkupsLogic->GetWidgetByMarkupsType(markupsNode->GetMarkupType());
      if (!prototype)
      {
        continue;
      }
      for (int i = 0; i < markupsNode->GetNumberOfDisplayNodes(); ++i)
      {
        auto* displayNode =
          vtkKOVAMarkupsDisplayNode::SafeDownCast(markupsNode->GetNthDisplayNode(i));
        if (!displayNode || this->GetWidget(displayNode))
        {
          continue;
        }
        WidgetEntry entry;
        entry.DisplayNode = displayNode;
        entry.MarkupsNode = markupsNode;
        entry.Widget = vtkSmartPointer<vtkVireonMarkupsWidget>::Take(prototype->CreateInstance());
        if (!entry.Widget)
        {
          vtkErrorMacro("UpdateWidgets: the widget of markup type "
                        << markupsNode->GetMarkupType() << " did not create an instance");
          continue;
        }
        entry.Widget->CreateDefaultRepresentation(displayNode, this->ViewNode, this->Renderer);
        entry.DisplayNodeTag =
          displayNode->AddObserver(vtkCommand::ModifiedEvent, this->CallbackCommand);
        this->Widgets->push_back(entry);
      }
    }
  }
  this->Updating = false;
}

int vtkKOVAMarkupsDisplayableManager::GetNumberOfWidgets()
{
  return static_cast<int>(this->Widgets->size());
}

vtkVireonMarkupsWidget* vtkKOVAMarkupsDisplayableManager::GetWidget(
  vtkKOVAMarkupsDisplayNode* displayNode)
{
  for (const WidgetEntry& entry : *this->Widgets)
  {
    if (displayNode && entry.DisplayNode == displayNode)
    {
      return entry.Widget;
    }
  }
  return nullptr;
}

void vtkKOVAMarkupsDisplayableManager::RenderIfNeeded()
{
  bool needToRender = false;
  for (const WidgetEntry& entry : *this->Widgets)
  {
    if (entry.Widget->GetNeedToRender())
    {
      needToRender = true;
      entry.Widget->NeedToRenderOff();
    }
  }
  if (needToRender && this->Renderer && this->Renderer->GetRenderWindow())
  {
    this->Renderer->GetRenderWindow()->Render();
  }
}

//------------------------------------------------------------------------------
void vtkKOVAMarkupsDisplayableManager::Callback(vtkObject* caller,
  unsigned long event,
  void* clientData,
  void* callData)
{
  static_cast<vtkKOVAMarkupsDisplayableManager*>(clientData)->ProcessEvent(caller, event, callData);
}

void vtkKOVAMarkupsDisplayableManager::ProcessEvent(vtkObject* caller,
  unsigned long event,
  void* callData)
{
  if (caller == this->Scene.GetPointer())
  {
    if (this->Scene && this->Scene->IsBatchProcessing() &&
        event != vtkKOVAScene::EndBatchProcessEvent)
    {
      return;
    }
    this->UpdateWidgets();
    this->RenderIfNeeded();
    return;
  }
  if (caller == this->ViewNode.GetPointer())
  {
    for (const WidgetEntry& entry : *this->Widgets)
    {
      entry.Widget->UpdateFromKOVA(this->ViewNode, event, callData);
    }
    this->RenderIfNeeded();
    return;
  }
  // A markups node or a display node: new display nodes may need widgets.
  this->UpdateWidgets();
  auto* node = vtkKOVANode::SafeDownCast(caller);
  for (const WidgetEntry& entry : *this->Widgets)
  {
    if (caller == entry.MarkupsNode.GetPointer() || caller == entry.DisplayNode.GetPointer())
    {
      entry.Widget->UpdateFromKOVA(node, event, callData);
    }
  }
  this->RenderIfNeeded();
}
