#include <vtkKOVAAbstractLogic.h>
#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASelectionNode.h>
#include <vtkKOVATextNode.h>
#include <vtkVireonModuleLogic.h>

#include <vtkIntArray.h>
#include <vtkNew.h>
#include <vtkObjectFactory.h>
#include <vtkWeakPointer.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
/// Records the calls the logic base makes.
class RecordingLogic : public vtkVireonModuleLogic
{
public:
  static RecordingLogic* New() { VTK_STANDARD_NEW_BODY(RecordingLogic); }
  vtkTypeMacro(RecordingLogic, vtkVireonModuleLogic);

  std::vector<std::string> Calls;
  std::vector<vtkKOVANode*> Added;
  std::vector<vtkKOVANode*> Removed;

protected:
  void SetKOVASceneInternal(vtkKOVAScene* newScene) override
  {
    this->Calls.push_back("SetKOVASceneInternal");
    vtkNew<vtkIntArray> events;
    events->InsertNextValue(vtkKOVAScene::NodeAddedEvent);
    events->InsertNextValue(vtkKOVAScene::NodeRemovedEvent);
    events->InsertNextValue(vtkKOVAScene::EndBatchProcessEvent);
    this->SetAndObserveKOVASceneEventsInternal(newScene, events);
  }
  void RegisterNodes() override
  {
    this->Calls.push_back(this->GetKOVAScene() ? "RegisterNodes" : "RegisterNodes without scene");
  }
  void UpdateFromKOVAScene() override { this->Calls.push_back("UpdateFromKOVAScene"); }
  void OnKOVASceneNodeAdded(vtkKOVANode* node) override { this->Added.push_back(node); }
  void OnKOVASceneNodeRemoved(vtkKOVANode* node) override { this->Removed.push_back(node); }
};
}

TEST(vtkKOVAAbstractLogic, SceneIsSetThenNodesRegistered)
{
  vtkNew<vtkKOVAApplicationLogic> appLogic;
  vtkNew<RecordingLogic> logic;
  vtkNew<vtkKOVAScene> scene;
  logic->SetKOVAApplicationLogic(appLogic);
  logic->SetKOVAScene(scene);
  EXPECT_EQ(logic->Calls,
    (std::vector<std::string>{ "SetKOVASceneInternal", "RegisterNodes", "UpdateFromKOVAScene" }));
  EXPECT_EQ(logic->GetKOVAScene(), scene.GetPointer());

  logic->Calls.clear();
  logic->SetKOVAScene(scene);
  EXPECT_TRUE(logic->Calls.empty());

  logic->SetKOVAScene(nullptr);
  EXPECT_EQ(logic->Calls, (std::vector<std::string>{ "SetKOVASceneInternal" }));
}

TEST(vtkKOVAAbstractLogic, ObservedSceneEventsReachTheHandlers)
{
  vtkNew<RecordingLogic> logic;
  vtkNew<vtkKOVAScene> scene;
  logic->SetKOVAScene(scene);
  logic->Calls.clear();

  vtkKOVANode* text = scene->AddNewNodeByClass("vtkKOVATextNode");
  scene->StartState(vtkKOVAScene::BatchProcessState);
  scene->RemoveNode(text);
  EXPECT_TRUE(logic->Calls.empty());
  scene->EndState(vtkKOVAScene::BatchProcessState);
  EXPECT_EQ(logic->Added, (std::vector<vtkKOVANode*>{ text }));
  EXPECT_EQ(logic->Removed, (std::vector<vtkKOVANode*>{ text }));
  EXPECT_EQ(logic->Calls, (std::vector<std::string>{ "UpdateFromKOVAScene" }));

  // After the scene is replaced, the old one's events no longer arrive.
  vtkNew<vtkKOVAScene> other;
  logic->SetKOVAScene(other);
  scene->AddNewNodeByClass("vtkKOVATextNode");
  EXPECT_EQ(logic->Added.size(), 1u);
}

TEST(vtkKOVAApplicationLogic, ModuleLogicLookupAndSelectionNode)
{
  vtkNew<vtkKOVAScene> scene;
  vtkWeakPointer<RecordingLogic> weakTables;
  {
    vtkNew<vtkKOVAApplicationLogic> appLogic;
    EXPECT_EQ(appLogic->GetSelectionNode(), nullptr);
    appLogic->SetKOVAScene(scene);
    vtkKOVASelectionNode* selection = appLogic->GetSelectionNode();
    ASSERT_NE(selection, nullptr);
    EXPECT_EQ(scene->GetNumberOfNodesByClass("vtkKOVASelectionNode"), 1);

    vtkNew<RecordingLogic> tables;
    vtkNew<RecordingLogic> plots;
    weakTables = tables.GetPointer();
    tables->SetKOVAApplicationLogic(appLogic);
    plots->SetKOVAApplicationLogic(appLogic);
    appLogic->SetModuleLogic("Tables", tables);
    appLogic->SetModuleLogic("Plots", plots);

    EXPECT_EQ(plots->GetApplicationLogic(), appLogic.GetPointer());
    EXPECT_EQ(plots->GetModuleLogic("Tables"), tables.GetPointer());
    EXPECT_EQ(appLogic->GetModuleLogic("Plots"), plots.GetPointer());
    EXPECT_EQ(plots->GetModuleLogic("Markups"), nullptr);
    EXPECT_EQ(plots->GetModuleLogic(nullptr), nullptr);

    // A second application logic on the same scene reuses its selection node.
    vtkNew<vtkKOVAApplicationLogic> second;
    second->SetKOVAScene(scene);
    EXPECT_EQ(second->GetSelectionNode(), selection);

    appLogic->SetModuleLogic("Plots", nullptr);
    EXPECT_EQ(tables->GetModuleLogic("Plots"), nullptr);
  }
  // The module logics do not keep the application logic alive, nor it them once it is gone.
  EXPECT_EQ(weakTables.GetPointer(), nullptr);

  vtkNew<vtkVireonModuleLogic> orphan;
  EXPECT_EQ(orphan->GetApplicationLogic(), nullptr);
  EXPECT_EQ(orphan->GetModuleLogic("Tables"), nullptr);
}

#include <vtkKOVAPlotViewNode.h>

TEST(vtkKOVAApplicationLogic, PropagatePlotChartSelection)
{
  vtkNew<vtkKOVAScene> scene;
  vtkNew<vtkKOVAApplicationLogic> appLogic;
  appLogic->PropagatePlotChartSelection(); // no scene: nothing to do
  appLogic->SetKOVAScene(scene);
  auto* first = vtkKOVAPlotViewNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAPlotViewNode"));
  auto* second = vtkKOVAPlotViewNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAPlotViewNode"));
  appLogic->GetSelectionNode()->SetActivePlotChartID("chart7");
  appLogic->PropagatePlotChartSelection();
  EXPECT_STREQ(first->GetPlotChartNodeID(), "chart7");
  EXPECT_STREQ(second->GetPlotChartNodeID(), "chart7");
  appLogic->GetSelectionNode()->SetActivePlotChartID(nullptr);
  appLogic->PropagatePlotChartSelection();
  EXPECT_EQ(first->GetPlotChartNodeID(), nullptr);
}
