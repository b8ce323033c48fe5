#ifndef vtkKOVASubjectHierarchyNode_h
#define vtkKOVASubjectHierarchyNode_h

#include "vtkKOVANode.h"

#include <vtkType.h>

#include <map>
#include <string>
#include <vector>

/// The scene's subject hierarchy: a tree of items under one scene item.
///
/// Items are identified by 64-bit ids that are never reused; INVALID_ITEM_ID (0) means none. An
/// item either stands for a data node of the scene or is a plain named item (a folder). While the
/// hierarchy node is in a scene it keeps one item per node of the scene: nodes that are added get
/// an item under the scene item (unless they are hidden from editors, or are subject hierarchy
/// nodes), and the item of a node that is removed goes with it (its children move to its parent).
///
/// The items are not written to scene files; they are rebuilt from the nodes.
class KOVACORE_EXPORT vtkKOVASubjectHierarchyNode : public vtkKOVANode
{
public:
  static vtkKOVASubjectHierarchyNode* New();
  vtkTypeMacro(vtkKOVASubjectHierarchyNode, vtkKOVANode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "SubjectHierarchy"; }

  static const vtkIdType INVALID_ITEM_ID;

  /// The scene's subject hierarchy node: the first one in \a scene, or a new one added to it.
  /// Null for a null scene.
  static vtkKOVASubjectHierarchyNode* ResolveSubjectHierarchy(vtkKOVAScene* scene);

  /// The root of the tree. It has no data node and no parent.
  vtkIdType GetSceneItemID() { return this->SceneItemID; }

  /// Creates an item for \a dataNode under \a parentItemID (the scene item when invalid) and
  /// returns its id; the existing item when the node has one already. INVALID_ITEM_ID for a null
  /// node or an unknown parent.
  vtkIdType CreateItem(vtkIdType parentItemID, vtkKOVANode* dataNode);
  /// Creates a named item without data node.
  vtkIdType CreateFolderItem(vtkIdType parentItemID, const std::string& name);
  /// Removes an item; its children move to its parent. The data node stays in the scene. The
  /// scene item cannot be removed.
  bool RemoveItem(vtkIdType itemID);

  bool HasItem(vtkIdType itemID);
  /// The node behind an item, or null (folders, the scene item, unknown ids, removed nodes).
  vtkKOVANode* GetItemDataNode(vtkIdType itemID);
  /// The item of a node, or INVALID_ITEM_ID.
  vtkIdType GetItemByDataNode(vtkKOVANode* dataNode);
  /// The data node's name, or the item's own name when it has no data node; empty for unknown ids.
  std::string GetItemName(vtkIdType itemID);
  bool SetItemName(vtkIdType itemID, const std::string& name);
  /// INVALID_ITEM_ID for the scene item and unknown ids.
  vtkIdType GetItemParent(vtkIdType itemID);
  /// Moves an item under another one; refused for the scene item, unknown ids and moves that would
  /// put an item under itself or its own descendants.
  bool SetItemParent(vtkIdType itemID, vtkIdType parentItemID);
  /// Direct children, in order of creation or reparenting.
  void GetItemChildren(vtkIdType itemID, std::vector<vtkIdType>& children);
  /// Number of items, the scene item included.
  int GetNumberOfItems() { return static_cast<int>(this->Items.size()); }

  void SetScene(vtkKOVAScene* scene) override;

protected:
  vtkKOVASubjectHierarchyNode();
  ~vtkKOVASubjectHierarchyNode() override;

  static void SceneCallback(vtkObject* caller,
    unsigned long event,
    void* clientData,
    void* callData);
  void OnNodeAdded(vtkKOVANode* node);
  void OnNodeAboutToBeRemoved(vtkKOVANode* node);
  bool IsDescendant(vtkIdType itemID, vtkIdType ancestorID);

  struct Item
  {
    vtkIdType Parent = 0;
    std::vector<vtkIdType> Children;
    vtkWeakPointer<vtkKOVANode> DataNode;
    std::string Name;
  };
  std::map<vtkIdType, Item> Items;
  vtkIdType SceneItemID;
  vtkIdType NextItemID;

  vtkSmartPointer<vtkCallbackCommand> SceneCallbackCommand;
  vtkWeakPointer<vtkKOVAScene> ObservedScene;
  std::vector<unsigned long> SceneObserverTags;

private:
  vtkKOVASubjectHierarchyNode(const vtkKOVASubjectHierarchyNode&) = delete;
  void operator=(const vtkKOVASubjectHierarchyNode&) = delete;
};

#endif
