#include "vtkKOVATestNode.h"

#include <vtkKOVAScene.h>
#include <vtkKOVASelectionNode.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkKOVATestEventRecorder.h>
#include <vtkKOVATextNode.h>

#include <vtkCollection.h>
#include <vtkNew.h>
#include <vtkSmartPointer.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace
{
vtkSmartPointer<vtkKOVAScene> NewTestScene()
{
  auto scene = vtkSmartPointer<vtkKOVAScene>::New();
  vtkNew<vtkKOVATestNode> testPrototype;
  vtkNew<vtkKOVATestSubNode> subPrototype;
  scene->RegisterNodeClass(testPrototype);
  scene->RegisterNodeClass(subPrototype);
  return scene;
}
}

TEST(vtkKOVAScene, AddNodeGivesUniqueIDsAndNames)
{
  auto scene = NewTestScene();
  vtkNew<vtkKOVATestNode> first;
  vtkNew<vtkKOVATestNode> second;
  vtkNew<vtkKOVATestNode> clash;
  EXPECT_EQ(scene->AddNode(first), first.GetPointer());
  EXPECT_EQ(scene->AddNode(second), second.GetPointer());
  clash->SetID(first->GetID());
  clash->SetName("mine");
  scene->AddNode(clash);

  EXPECT_STRNE(first->GetID(), second->GetID());
  EXPECT_STRNE(first->GetID(), clash->GetID());
  EXPECT_STREQ(first->GetName(), "TestNode");
  EXPECT_STREQ(second->GetName(), "TestNode_1");
  EXPECT_STREQ(clash->GetName(), "mine");
  EXPECT_EQ(scene->GetNodeByID(clash->GetID()), clash.GetPointer());
  EXPECT_EQ(first->GetScene(), scene.GetPointer());
  EXPECT_EQ(first->GetReferenceCount(), 2);

  // Adding again is a no-op; adding to a second scene is refused.
  EXPECT_EQ(scene->AddNode(first), first.GetPointer());
  EXPECT_EQ(scene->GetNumberOfNodes(), 3);
  auto otherScene = NewTestScene();
  vtkKOVATestErrorCapture errors;
  EXPECT_EQ(otherScene->AddNode(first), nullptr);
  EXPECT_EQ(errors.GetNumberOfErrors(), 1);
  EXPECT_EQ(scene->AddNode(nullptr), nullptr);
  EXPECT_TRUE(errors.ContainsError("AddNode: node is nullptr"));
}

TEST(vtkKOVAScene, UniqueNameByString)
{
  auto scene = NewTestScene();
  EXPECT_EQ(scene->GetUniqueNameByString("Signal"), "Signal");
  scene->AddNewNodeByClass("vtkKOVATestNode", "Signal");
  scene->AddNewNodeByClass("vtkKOVATestNode", "Signal_1");
  EXPECT_EQ(scene->GetUniqueNameByString("Signal"), "Signal_2");
  EXPECT_EQ(scene->GetUniqueNameByString("_Copy"), "_Copy");
  EXPECT_EQ(scene->GetUniqueNameByString(nullptr), "");
}

TEST(vtkKOVAScene, CreateAndAddNodesByClass)
{
  auto scene = NewTestScene();
  vtkKOVATestEventRecorder added(scene, vtkKOVAScene::NodeAddedEvent);

  vtkSmartPointer<vtkKOVANode> created;
  created.TakeReference(scene->CreateNodeByClass("vtkKOVATestSubNode"));
  ASSERT_NE(created, nullptr);
  EXPECT_STREQ(created->GetClassName(), "vtkKOVATestSubNode");
  EXPECT_EQ(created->GetScene(), nullptr);
  EXPECT_EQ(created->GetReferenceCount(), 1);
  EXPECT_EQ(scene->GetNumberOfNodes(), 0);

  vtkKOVANode* node = scene->AddNewNodeByClass("vtkKOVATestNode", "Base");
  ASSERT_NE(node, nullptr);
  EXPECT_STREQ(node->GetName(), "Base");
  EXPECT_EQ(node->GetReferenceCount(), 1) << "the scene alone owns the new node";
  vtkKOVANode* unnamed = scene->AddNewNodeByClass("vtkKOVATestNode");
  EXPECT_STREQ(unnamed->GetName(), "TestNode");
  ASSERT_EQ(added.Count(), 2);
  EXPECT_EQ(added.Events[0].second, node);

  vtkKOVATestErrorCapture errors;
  EXPECT_EQ(scene->CreateNodeByClass("vtkKOVANoSuchNode"), nullptr);
  EXPECT_EQ(scene->AddNewNodeByClass("vtkKOVANoSuchNode"), nullptr);
  EXPECT_TRUE(
    errors.ContainsError("CreateNodeByClass: node class vtkKOVANoSuchNode is not registered"));
  EXPECT_EQ(scene->GetNumberOfNodes(), 2);
}

TEST(vtkKOVAScene, LookupByClassInSceneOrder)
{
  auto scene = NewTestScene();
  vtkKOVANode* a = scene->AddNewNodeByClass("vtkKOVATestNode");
  vtkKOVANode* sub = scene->AddNewNodeByClass("vtkKOVATestSubNode");
  vtkKOVANode* text = scene->AddNewNodeByClass("vtkKOVATextNode");
  vtkKOVANode* b = scene->AddNewNodeByClass("vtkKOVATestNode");

  std::vector<vtkKOVANode*> nodes;
  EXPECT_EQ(scene->GetNodesByClass("vtkKOVATestNode", nodes), 3);
  EXPECT_EQ(nodes, (std::vector<vtkKOVANode*>{ a, sub, b }));
  EXPECT_EQ(scene->GetNodesByClass("vtkKOVATestSubNode", nodes), 1);
  EXPECT_EQ(scene->GetFirstNodeByClass("vtkKOVATextNode"), text);
  EXPECT_EQ(scene->GetFirstNodeByClass("vtkKOVATestSubNode"), sub);
  EXPECT_EQ(scene->GetFirstNodeByClass("vtkKOVAViewNode"), nullptr);

  vtkCollection* collection = scene->GetNodesByClass("vtkKOVANode");
  EXPECT_EQ(collection->GetNumberOfItems(), 4);
  EXPECT_EQ(collection->GetItemAsObject(2), text);
  collection->Delete();
}

TEST(vtkKOVAScene, RemoveNodeFiresOnceAndReleases)
{
  auto scene = NewTestScene();
  vtkKOVATestEventRecorder removed(scene, vtkKOVAScene::NodeRemovedEvent);
  vtkNew<vtkKOVATestNode> node;
  scene->AddNode(node);
  const std::string id = node->GetID();
  scene->RemoveNode(node);
  scene->RemoveNode(node); // no longer in the scene: ignored
  ASSERT_EQ(removed.Count(), 1);
  EXPECT_EQ(removed.Events[0].second, node.GetPointer());
  EXPECT_EQ(node->GetScene(), nullptr);
  EXPECT_EQ(node->GetReferenceCount(), 1);
  EXPECT_EQ(scene->GetNodeByID(id), nullptr);
  EXPECT_EQ(scene->GetNumberOfNodes(), 0);
}

TEST(vtkKOVAScene, DefaultNodesStayOutOfTheNodeList)
{
  auto scene = NewTestScene();
  vtkKOVATestEventRecorder added(scene, vtkKOVAScene::NodeAddedEvent);
  vtkNew<vtkKOVATestNode> defaultNode;
  defaultNode->SetValue("from default");
  scene->AddDefaultNode(defaultNode);
  EXPECT_EQ(scene->GetDefaultNodeByClass("vtkKOVATestNode"), defaultNode.GetPointer());
  EXPECT_EQ(scene->GetDefaultNodeByClass("vtkKOVATestSubNode"), nullptr);
  EXPECT_EQ(scene->GetNumberOfNodes(), 0);
  EXPECT_EQ(added.Count(), 0);
  EXPECT_EQ(defaultNode->GetScene(), nullptr);

  // New nodes of the class start from the default node.
  vtkSmartPointer<vtkKOVANode> created;
  created.TakeReference(scene->CreateNodeByClass("vtkKOVATestNode"));
  EXPECT_EQ(vtkKOVATestNode::SafeDownCast(created)->GetValue(), "from default");
  EXPECT_EQ(scene->WriteToXMLString().find("from default"), std::string::npos);
}

TEST(vtkKOVAScene, BatchProcessingEventsOncePerOutermostState)
{
  auto scene = NewTestScene();
  vtkKOVATestEventRecorder start(scene, vtkKOVAScene::StartBatchProcessEvent);
  vtkKOVATestEventRecorder end(scene, 8705);
  scene->StartState(vtkKOVAScene::BatchProcessState, 0);
  scene->StartState(vtkKOVAScene::BatchProcessState);
  EXPECT_TRUE(scene->IsBatchProcessing());
  scene->EndState(vtkKOVAScene::BatchProcessState);
  EXPECT_EQ(end.Count(), 0);
  scene->EndState(vtkKOVAScene::BatchProcessState);
  EXPECT_FALSE(scene->IsBatchProcessing());
  EXPECT_EQ(start.Count(), 1);
  EXPECT_EQ(end.Count(), 1);

  vtkKOVATestErrorCapture errors;
  scene->EndState(vtkKOVAScene::BatchProcessState);
  EXPECT_TRUE(errors.ContainsError("EndState: state 1 was not started"));
  EXPECT_EQ(end.Count(), 1);
}

TEST(vtkKOVAScene, BuiltInNodeClassesAreRegistered)
{
  vtkNew<vtkKOVAScene> scene;
  EXPECT_STREQ(scene->GetClassNameByTag("Text"), "vtkKOVATextNode");
  EXPECT_STREQ(scene->GetTagByClassName("vtkKOVASelectionNode"), "Selection");
  EXPECT_FALSE(scene->IsNodeClassRegistered("vtkKOVATestNode"));
  const std::vector<std::string> names = scene->GetRegisteredNodeClassNames();
  EXPECT_NE(std::find(names.begin(), names.end(), "vtkKOVASliceNode"), names.end());

  // Registering a class again replaces its prototype instead of adding a second entry.
  vtkNew<vtkKOVATestNode> prototype;
  scene->RegisterNodeClass(prototype);
  scene->RegisterNodeClass(prototype);
  EXPECT_EQ(scene->GetRegisteredNodeClassNames().size(), names.size() + 1);
}

TEST(vtkKOVAScene, SceneFileWritesElementsByTag)
{
  auto scene = NewTestScene();
  vtkKOVANode* node = scene->AddNewNodeByClass("vtkKOVATestNode", "n");
  vtkKOVATestNode::SafeDownCast(node)->SetValue("v");
  vtkKOVANode* hidden = scene->AddNewNodeByClass("vtkKOVATestSubNode", "not saved");
  hidden->SetSaveWithScene(false);
  const std::string xml = scene->WriteToXMLString();
  EXPECT_NE(xml.find("<TestNode id=\"vtkKOVATestNode1\" name=\"n\""), std::string::npos) << xml;
  EXPECT_NE(xml.find(" value=\"v\" />"), std::string::npos) << xml;
  EXPECT_EQ(xml.find("not saved"), std::string::npos) << xml;
}

TEST(vtkKOVAScene, ReadingBadContentAddsNothing)
{
  struct Case
  {
    const char* Name;
    const char* Xml;
  };
  const Case cases[] = {
    { "not XML", "this is no scene" },
    { "unterminated", "<KOVAScene><TestNode name=\"a\" /><TestNode name=\"b" },
    { "wrong root", "<Other><TestNode name=\"a\" /></Other>" },
    { "undefined entity", "<KOVAScene><TestNode name=\"&bogus;\" /></KOVAScene>" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.Name);
    auto scene = NewTestScene();
    vtkKOVATestEventRecorder added(scene, vtkKOVAScene::NodeAddedEvent);
    vtkKOVATestErrorCapture errors;
    EXPECT_FALSE(scene->ReadFromXMLString(c.Xml));
    EXPECT_GE(errors.GetNumberOfErrors(), 1);
    EXPECT_EQ(scene->GetNumberOfNodes(), 0);
    EXPECT_EQ(added.Count(), 0);
  }
}

TEST(vtkKOVAScene, ReadingSkipsUnknownElements)
{
  auto scene = NewTestScene();
  vtkKOVATestEventRecorder end(scene, vtkKOVAScene::EndBatchProcessEvent);
  vtkKOVATestErrorCapture errors;
  EXPECT_TRUE(scene->ReadFromXMLString(
    "<KOVAScene><Mystery a=\"1\" /><TestNode name=\"kept\" value=\"x\"><Nested /></TestNode>"
    "</KOVAScene>"));
  EXPECT_TRUE(errors.ContainsWarning("no node class registered for element Mystery"));
  ASSERT_EQ(scene->GetNumberOfNodes(), 1);
  EXPECT_STREQ(scene->GetNthNode(0)->GetName(), "kept");
  EXPECT_EQ(end.Count(), 1) << "a file is read as one batch";
}

TEST(vtkKOVAScene, FileRoundTripAndFileErrors)
{
  const std::string path = ::testing::TempDir() + "vtkKOVASceneTest.xml";
  auto scene = NewTestScene();
  vtkKOVATextNode* text =
    vtkKOVATextNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVATextNode"));
  text->SetText("line 1\nline \"2\"", VTK_ENCODING_UTF_8);
  ASSERT_TRUE(scene->WriteToFile(path.c_str()));

  auto readScene = NewTestScene();
  ASSERT_TRUE(readScene->ReadFromFile(path.c_str()));
  auto* readText = vtkKOVATextNode::SafeDownCast(readScene->GetFirstNodeByClass("vtkKOVATextNode"));
  ASSERT_NE(readText, nullptr);
  EXPECT_EQ(readText->GetText(), "line 1\nline \"2\"");
  std::remove(path.c_str());

  vtkKOVATestErrorCapture errors;
  EXPECT_FALSE(readScene->ReadFromFile(path.c_str()));
  EXPECT_TRUE(errors.ContainsError("ReadFromFile: cannot open"));
  EXPECT_FALSE(scene->WriteToFile("/nonexistent-folder/scene.xml"));
  EXPECT_TRUE(errors.ContainsError("WriteToFile: cannot open"));
  EXPECT_EQ(readScene->GetNumberOfNodes(), 1);
}
