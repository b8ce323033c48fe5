#include <vtkKOVAModelNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASubjectHierarchyNode.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkKOVATextNode.h>

#include <vtkNew.h>

#include <gtest/gtest.h>

#include <vector>

namespace
{
const vtkIdType Invalid = vtkKOVASubjectHierarchyNode::INVALID_ITEM_ID;

std::vector<vtkIdType> Children(vtkKOVASubjectHierarchyNode* shNode, vtkIdType item)
{
  std::vector<vtkIdType> children;
  shNode->GetItemChildren(item, children);
  return children;
}
}

TEST(vtkKOVASubjectHierarchyNode, KeepsOneItemPerSceneNode)
{
  vtkNew<vtkKOVAScene> scene;
  // Nodes that are in the scene before the hierarchy get items too.
  vtkKOVANode* early = scene->AddNewNodeByClass("vtkKOVATextNode", "Early");
  vtkKOVASubjectHierarchyNode* shNode = vtkKOVASubjectHierarchyNode::ResolveSubjectHierarchy(scene);
  ASSERT_NE(shNode, nullptr);
  EXPECT_EQ(vtkKOVASubjectHierarchyNode::ResolveSubjectHierarchy(scene), shNode);
  EXPECT_EQ(scene->GetNumberOfNodesByClass("vtkKOVASubjectHierarchyNode"), 1);
  EXPECT_EQ(vtkKOVASubjectHierarchyNode::ResolveSubjectHierarchy(nullptr), nullptr);
  EXPECT_EQ(Invalid, 0);

  vtkKOVANode* model = scene->AddNewNodeByClass("vtkKOVAModelNode", "Bone");
  vtkNew<vtkKOVATextNode> hidden;
  hidden->HideFromEditorsOn();
  scene->AddNode(hidden);

  const vtkIdType earlyItem = shNode->GetItemByDataNode(early);
  const vtkIdType modelItem = shNode->GetItemByDataNode(model);
  ASSERT_NE(earlyItem, Invalid);
  ASSERT_NE(modelItem, Invalid);
  EXPECT_NE(earlyItem, modelItem);
  EXPECT_EQ(shNode->GetItemByDataNode(hidden), Invalid);
  EXPECT_EQ(shNode->GetItemByDataNode(shNode), Invalid);
  EXPECT_EQ(shNode->GetItemDataNode(modelItem), model);
  EXPECT_EQ(shNode->GetItemName(modelItem), "Bone");
  EXPECT_EQ(shNode->GetItemParent(modelItem), shNode->GetSceneItemID());
  EXPECT_EQ(
    Children(shNode, shNode->GetSceneItemID()), (std::vector<vtkIdType>{ earlyItem, modelItem }));
  // Creating an item for a node that has one gives that one.
  EXPECT_EQ(shNode->CreateItem(Invalid, model), modelItem);

  // Unknown ids answer neutrally.
  EXPECT_EQ(shNode->GetItemDataNode(Invalid), nullptr);
  EXPECT_EQ(shNode->GetItemDataNode(123456789), nullptr);
  EXPECT_EQ(shNode->GetItemDataNode(shNode->GetSceneItemID()), nullptr);
  EXPECT_EQ(shNode->GetItemName(123456789), "");

  // The item goes with its node; ids are not reused.
  scene->RemoveNode(model);
  EXPECT_FALSE(shNode->HasItem(modelItem));
  EXPECT_EQ(shNode->GetItemDataNode(modelItem), nullptr);
  vtkKOVANode* again = scene->AddNewNodeByClass("vtkKOVAModelNode");
  EXPECT_GT(shNode->GetItemByDataNode(again), modelItem);
}

TEST(vtkKOVASubjectHierarchyNode, ReparentingAndRemovingItems)
{
  vtkNew<vtkKOVAScene> scene;
  vtkKOVASubjectHierarchyNode* shNode = vtkKOVASubjectHierarchyNode::ResolveSubjectHierarchy(scene);
  const vtkIdType sceneItem = shNode->GetSceneItemID();
  const vtkIdType folder = shNode->CreateFolderItem(sceneItem, "Study");
  const vtkIdType sub = shNode->CreateFolderItem(folder, "Series");
  vtkIdType text = shNode->GetItemByDataNode(scene->AddNewNodeByClass("vtkKOVATextNode"));
  EXPECT_EQ(shNode->GetItemName(folder), "Study");
  EXPECT_EQ(shNode->GetItemDataNode(folder), nullptr);

  EXPECT_TRUE(shNode->SetItemParent(text, sub));
  EXPECT_EQ(shNode->GetItemParent(text), sub);
  EXPECT_EQ(Children(shNode, sceneItem), (std::vector<vtkIdType>{ folder }));

  {
    vtkKOVATestErrorCapture errors;
    // No cycles, no moving the scene item, no unknown parents.
    EXPECT_FALSE(shNode->SetItemParent(folder, sub));
    EXPECT_FALSE(shNode->SetItemParent(folder, folder));
    EXPECT_FALSE(shNode->SetItemParent(sceneItem, folder));
    EXPECT_FALSE(shNode->SetItemParent(text, 987654));
    EXPECT_EQ(shNode->CreateFolderItem(987654, "x"), Invalid);
    EXPECT_EQ(errors.GetNumberOfErrors(), 5);
  }
  EXPECT_EQ(shNode->GetItemParent(folder), sceneItem);

  // Removing a folder keeps its children, in its place.
  const vtkIdType last = shNode->CreateFolderItem(folder, "Last");
  EXPECT_TRUE(shNode->RemoveItem(sub));
  EXPECT_EQ(Children(shNode, folder), (std::vector<vtkIdType>{ text, last }));
  EXPECT_EQ(shNode->GetItemParent(text), folder);
  EXPECT_FALSE(shNode->RemoveItem(sceneItem));
  EXPECT_FALSE(shNode->RemoveItem(sub));
}

TEST(vtkKOVASubjectHierarchyNode, StopsFollowingASceneItLeaves)
{
  vtkNew<vtkKOVAScene> scene;
  vtkNew<vtkKOVASubjectHierarchyNode> shNode;
  scene->AddNode(shNode);
  vtkKOVANode* text = scene->AddNewNodeByClass("vtkKOVATextNode");
  const vtkIdType textItem = shNode->GetItemByDataNode(text);
  EXPECT_NE(textItem, Invalid);

  scene->RemoveNode(shNode);
  vtkKOVANode* later = scene->AddNewNodeByClass("vtkKOVATextNode");
  EXPECT_EQ(shNode->GetItemByDataNode(later), Invalid);
  EXPECT_EQ(shNode->GetItemDataNode(textItem), text);
}
