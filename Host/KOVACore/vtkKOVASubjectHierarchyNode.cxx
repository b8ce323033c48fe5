#include "vtkKOVASubjectHierarchyNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkCallbackCommand.h>
#include <vtkNew.h>
#include <vtkObjectFactory.h>

#include <algorithm>

static_assert(sizeof(vtkIdType) == 8, "subject hierarchy item ids are 64-bit");

vtkKOVANodeNewMacro(vtkKOVASubjectHierarchyNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVASubjectHierarchyNode);

const vtkIdType vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID = 0;

//------------------------------------------------------------------------------
vtkKOVASubjectHierarchyNode::vtkKOVASubjectHierarchyNode()
  : SceneItemID(1)
  , NextItemID(2)
{
  this->TypeDisplayName =
    vtkKOVAI18N::Translate("vtkKOVASubjectHierarchyNode", "Subject hierarchy");
  this->HideFromEditors = true;
  this->SaveWithScene = false;
  this->Items[this->SceneItemID].Parent = INVALID_ITEM_ID;
  this->Items[this->SceneItemID].Name = "Scene";

  this->SceneCallbackCommand = vtkSmartPointer<vtkCallbackCommand>::New();
  this->SceneCallbackCommand->SetClientData(this);
  this->SceneCallbackCommand->SetCallback(&vtkKOVASubjectHierarchyNode::SceneCallback);
}

vtkKOVASubjectHierarchyNode::~vtkKOVASubjectHierarchyNode()
{
  this->SetScene(nullptr);
}

//------------------------------------------------------------------------------
void vtkKOVASubjectHierarchyNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "SceneItemID: " << this->SceneItemID << "\n";
  os << indent << "NumberOfItems: " << this->Items.size() << "\n";
}

//------------------------------------------------------------------------------
vtkKOVASubjectHierarchyNode* vtkKOVASubjectHierarchyNode::ResolveSubjectHierarchy(
  vtkKOVAScene* scene)
{
  if (!scene)
  {
    return nullptr;
  }
  if (auto* existing = vtkKOVASubjectHierarchyNode::SafeDownCast(
        scene->GetFirstNodeByClass("vtkKOVASubjectHierarchyNode")))
  {
    return existing;
  }
  vtkNew<vtkKOVASubjectHierarchyNode> node;
  node->SetName("SubjectHierarchy");
  return vtkKOVASubjectHierarchyNode::SafeDownCast(scene->AddNode(node));
}

//------------------------------------------------------------------------------
vtkIdType vtkKOVASubjectHierarchyNode::CreateItem(vtkIdType parentItemID, vtkKOVANode* dataNode)
{
  if (!dataNode)
  {
    vtkErrorMacro("CreateItem: dataNode is nullptr");
    return INVALID_ITEM_ID;
  }
  const vtkIdType existing = this->GetItemByDataNode(dataNode);
  if (existing != INVALID_ITEM_ID)
  {
    return existing;
  }
  const vtkIdType itemID = this->CreateFolderItem(parentItemID, "");
  if (itemID != INVALID_ITEM_ID)
  {
    this->Items[itemID].DataNode = dataNode;
  }
  return itemID;
}

//------------------------------------------------------------------------------
vtkIdType vtkKOVASubjectHierarchyNode::CreateFolderItem(vtkIdType parentItemID,
  const std::string& name)
{
  if (parentItemID == INVALID_ITEM_ID)
  {
    parentItemID = this->SceneItemID;
  }
  auto parent = this->Items.find(parentItemID);
  if (parent == this->Items.end())
  {
    vtkErrorMacro("CreateFolderItem: no item with id " << parentItemID);
    return INVALID_ITEM_ID;
  }
  const vtkIdType itemID = this->NextItemID++;
  parent->second.Children.push_back(itemID);
  Item& item = this->Items[itemID];
  item.Parent = parentItemID;
  item.Name = name;
  this->Modified();
  return itemID;
}

//------------------------------------------------------------------------------
bool vtkKOVASubjectHierarchyNode::RemoveItem(vtkIdType itemID)
{
  auto it = this->Items.find(itemID);
  if (it == this->Items.end() || itemID == this->SceneItemID)
  {
    return false;
  }
  const vtkIdType parentID = it->second.Parent;
  Item& parent = this->Items[parentID];
  auto position = std::find(parent.Children.begin(), parent.Children.end(), itemID);
  if (position != parent.Children.end())
  {
    position = parent.Children.erase(position);
  }
  // The children take the removed item's place.
  const std::vector<vtkIdType> children = it->second.Children;
  parent.Children.insert(position, children.begin(), children.end());
  for (vtkIdType child : children)
  {
    this->Items[child].Parent = parentID;
  }
  this->Items.erase(itemID);
  this->Modified();
  return true;
}

//------------------------------------------------------------------------------
bool vtkKOVASubjectHierarchyNode::HasItem(vtkIdType itemID)
{
  return this->Items.count(itemID) > 0;
}

//------------------------------------------------------------------------------
vtkKOVANode* vtkKOVASubjectHierarchyNode::GetItemDataNode(vtkIdType itemID)
{
  auto it = this->Items.find(itemID);
  return it == this->Items.end() ? nullptr : it->second.DataNode.GetPointer();
}

//------------------------------------------------------------------------------
vtkIdType vtkKOVASubjectHierarchyNode::GetItemByDataNode(vtkKOVANode* dataNode)
{
  if (!dataNode)
  {
    return INVALID_ITEM_ID;
  }
  for (const auto& entry : this->Items)
  {
    if (entry.second.DataNode == dataNode)
    {
      return entry.first;
    }
  }
  return INVALID_ITEM_ID;
}

//------------------------------------------------------------------------------
std::string vtkKOVASubjectHierarchyNode::GetItemName(vtkIdType itemID)
{
  auto it = this->Items.find(itemID);
  if (it == this->Items.end())
  {
    return std::string();
  }
  vtkKOVANode* dataNode = it->second.DataNode;
  if (dataNode)
  {
    return dataNode->GetName() ? dataNode->GetName() : "";
  }
  return it->second.Name;
}

//------------------------------------------------------------------------------
bool vtkKOVASubjectHierarchyNode::SetItemName(vtkIdType itemID, const std::string& name)
{
  auto it = this->Items.find(itemID);
  if (it == this->Items.end())
  {
    return false;
  }
  if (vtkKOVANode* dataNode = it->second.DataNode)
  {
    dataNode->SetName(name.c_str());
    return true;
  }
  if (it->second.Name != name)
  {
    it->second.Name = name;
    this->Modified();
  }
  return true;
}

//------------------------------------------------------------------------------
vtkIdType vtkKOVASubjectHierarchyNode::GetItemParent(vtkIdType itemID)
{
  auto it = this->Items.find(itemID);
  return it == this->Items.end() ? INVALID_ITEM_ID : it->second.Parent;
}

//------------------------------------------------------------------------------
bool vtkKOVASubjectHierarchyNode::IsDescendant(vtkIdType itemID, vtkIdType ancestorID)
{
  for (vtkIdType current = itemID; current != INVALID_ITEM_ID;
       current = this->GetItemParent(current))
  {
    if (current == ancestorID)
    {
      return true;
    }
  }
  return false;
}

//------------------------------------------------------------------------------
bool vtkKOVASubjectHierarchyNode::SetItemParent(vtkIdType itemID, vtkIdType parentItemID)
{
  if (itemID == this->SceneItemID || !this->HasItem(itemID) || !this->HasItem(parentItemID))
  {
    vtkErrorMacro("SetItemParent: invalid item " << itemID << " or parent " << parentItemID);
    return false;
  }
  if (this->IsDescendant(parentItemID, itemID))
  {
    vtkErrorMacro("SetItemParent: item " << itemID << " cannot be put under itself or one of its "
                                         << "descendants");
    return false;
  }
  Item& item = this->Items[itemID];
  if (item.Parent == parentItemID)
  {
    return true;
  }
  std::vector<vtkIdType>& siblings = this->Items[item.Parent].Children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), itemID), siblings.end());
  this->Items[parentItemID].Children.push_back(itemID);
  item.Parent = parentItemID;
  this->Modified();
  return true;
}

//------------------------------------------------------------------------------
void vtkKOVASubjectHierarchyNode::GetItemChildren(vtkIdType itemID,
  std::vector<vtkIdType>& children)
{
  children.clear();
  auto it = this->Items.find(itemID);
  if (it != this->Items.end())
  {
    children = it->second.Children;
  }
}

//------------------------------------------------------------------------------
void vtkKOVASubjectHierarchyNode::SetScene(vtkKOVAScene* scene)
{
  if (this->ObservedScene != scene)
  {
    if (this->ObservedScene)
    {
      for (unsigned long tag : this->SceneObserverTags)
      {
        this->ObservedScene->RemoveObserver(tag);
      }
    }
    this->SceneObserverTags.clear();
    this->ObservedScene = scene;
    if (scene)
    {
      this->SceneObserverTags.push_back(
        scene->AddObserver(vtkKOVAScene::NodeAddedEvent, this->SceneCallbackCommand));
      this->SceneObserverTags.push_back(
        scene->AddObserver(vtkKOVAScene::NodeAboutToBeRemovedEvent, this->SceneCallbackCommand));
    }
  }
  this->Superclass::SetScene(scene);
  if (scene)
  {
    for (const auto& node : scene->GetNodes())
    {
      this->OnNodeAdded(node);
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVASubjectHierarchyNode::SceneCallback(vtkObject* vtkNotUsed(caller),
  unsigned long event,
  void* clientData,
  void* callData)
{
  auto* self = static_cast<vtkKOVASubjectHierarchyNode*>(clientData);
  auto* node = static_cast<vtkKOVANode*>(callData);
  if (event == vtkKOVAScene::NodeAddedEvent)
  {
    self->OnNodeAdded(node);
  }
  else if (event == vtkKOVAScene::NodeAboutToBeRemovedEvent)
  {
    self->OnNodeAboutToBeRemoved(node);
  }
}

//------------------------------------------------------------------------------
void vtkKOVASubjectHierarchyNode::OnNodeAdded(vtkKOVANode* node)
{
  if (!node || node->GetHideFromEditors() || node->IsA("vtkKOVASubjectHierarchyNode") ||
      this->GetItemByDataNode(node) != INVALID_ITEM_ID)
  {
    return;
  }
  this->CreateItem(this->SceneItemID, node);
}

//------------------------------------------------------------------------------
void vtkKOVASubjectHierarchyNode::OnNodeAboutToBeRemoved(vtkKOVANode* node)
{
  const vtkIdType itemID = this->GetItemByDataNode(node);
  if (itemID != INVALID_ITEM_ID)
  {
    this->RemoveItem(itemID);
  }
}
