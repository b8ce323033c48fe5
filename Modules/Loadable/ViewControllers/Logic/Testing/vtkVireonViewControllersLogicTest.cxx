#include <vtkVireonViewControllersLogic.h>

#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVAPlotViewNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASliceNode.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkKOVATestEventRecorder.h>
#include <vtkKOVAViewNode.h>

#include <vtkNew.h>
#include <vtkObjectFactory.h>

#include <gtest/gtest.h>

namespace
{
class ExposedViewControllersLogic : public vtkVireonViewControllersLogic
{
public:
  static ExposedViewControllersLogic* New() { VTK_STANDARD_NEW_BODY(ExposedViewControllersLogic); }
  vtkTypeMacro(ExposedViewControllersLogic, vtkVireonViewControllersLogic);
  using vtkVireonViewControllersLogic::RegisterNodes;
};

struct Fixture
{
  Fixture()
  {
    this->Logic->SetKOVAApplicationLogic(this->AppLogic);
    this->Logic->SetKOVAScene(this->Scene);
  }
  vtkNew<vtkKOVAApplicationLogic> AppLogic;
  vtkNew<vtkKOVAScene> Scene;
  vtkNew<vtkVireonViewControllersLogic> Logic;
};
}

TEST(vtkVireonViewControllersLogic, DefaultNodesAreCreatedOnceAndStayOutOfTheNodeList)
{
  Fixture f;
  const int nodesBefore = f.Scene->GetNumberOfNodes();
  vtkKOVATestEventRecorder added(f.Scene, vtkKOVAScene::NodeAddedEvent);

  vtkKOVAPlotViewNode* plot = f.Logic->GetDefaultPlotViewNode();
  ASSERT_NE(plot, nullptr);
  EXPECT_EQ(f.Logic->GetDefaultPlotViewNode(), plot);
  EXPECT_EQ(f.Scene->GetDefaultNodeByClass("vtkKOVAPlotViewNode"), plot);
  EXPECT_EQ(plot->GetReferenceCount(), 1) << "the scene alone owns the default node";

  vtkKOVASliceNode* slice = f.Logic->GetDefaultSliceViewNode();
  vtkKOVAViewNode* threeD = f.Logic->GetDefaultThreeDViewNode();
  ASSERT_NE(slice, nullptr);
  ASSERT_NE(threeD, nullptr);
  EXPECT_EQ(f.Logic->GetDefaultSliceViewNode(), slice);
  EXPECT_EQ(f.Logic->GetDefaultThreeDViewNode(), threeD);

  EXPECT_EQ(f.Scene->GetNumberOfNodes(), nodesBefore);
  EXPECT_EQ(added.Count(), 0);
  EXPECT_EQ(slice->GetScene(), nullptr);
}

TEST(vtkVireonViewControllersLogic, ExistingDefaultNodeIsUsed)
{
  Fixture f;
  vtkNew<vtkKOVAViewNode> mine;
  f.Scene->AddDefaultNode(mine);
  EXPECT_EQ(f.Logic->GetDefaultThreeDViewNode(), mine.GetPointer());
}

TEST(vtkVireonViewControllersLogic, ResetOnASceneWithoutViewsCreatesTheDefaults)
{
  Fixture f;
  vtkKOVATestEventRecorder endBatch(f.Scene, vtkKOVAScene::EndBatchProcessEvent);
  f.Logic->ResetAllViewNodesToDefault();
  EXPECT_NE(f.Scene->GetDefaultNodeByClass("vtkKOVASliceNode"), nullptr);
  EXPECT_NE(f.Scene->GetDefaultNodeByClass("vtkKOVAViewNode"), nullptr);
  EXPECT_NE(f.Scene->GetDefaultNodeByClass("vtkKOVAPlotViewNode"), nullptr);
  EXPECT_EQ(endBatch.Count(), 1);
  EXPECT_FALSE(f.Scene->IsBatchProcessing());
}

TEST(vtkVireonViewControllersLogic, ResetAllViewsFromTheDefaults)
{
  Fixture f;
  vtkKOVASliceNode* defaultSlice = f.Logic->GetDefaultSliceViewNode();
  defaultSlice->SetFieldOfView(80.0, 90.0, 1.5);
  defaultSlice->SetUseLabelOutline(true);
  defaultSlice->SetBackgroundColor(0.2, 0.4, 0.6);
  f.Logic->GetDefaultThreeDViewNode()->SetBoxVisible(false);
  f.Logic->GetDefaultThreeDViewNode()->SetRenderMode(vtkKOVAViewNode::Orthographic);
  f.Logic->GetDefaultPlotViewNode()->SetInteractionMode(
    vtkKOVAPlotViewNode::InteractionModeSelectPoints);

  struct SliceView
  {
    const char* LayoutName;
    const char* DefaultOrientation;
    const char* CurrentOrientation;
  };
  const SliceView sliceViews[] = {
    { "Red", "Axial", "Coronal" },
    { "Yellow", "Sagittal", "Axial" },
    { "Green", "Coronal", "Coronal" },
  };
  std::vector<vtkKOVASliceNode*> slices;
  for (const SliceView& v : sliceViews)
  {
    auto* slice = vtkKOVASliceNode::SafeDownCast(f.Scene->AddNewNodeByClass("vtkKOVASliceNode"));
    slice->SetLayoutName(v.LayoutName);
    slice->SetDefaultOrientation(v.DefaultOrientation);
    slice->SetOrientation(v.CurrentOrientation);
    slices.push_back(slice);
  }
  // Views created after the default nodes start from them; change them so the reset has work.
  slices[0]->SetUseLabelOutline(false);
  slices[1]->SetFieldOfView(300.0, 300.0, 3.0);
  auto* threeD = vtkKOVAViewNode::SafeDownCast(f.Scene->AddNewNodeByClass("vtkKOVAViewNode"));
  threeD->SetLayoutName("1");
  threeD->SetBoxVisible(true);
  threeD->SetRenderMode(vtkKOVAViewNode::Perspective);
  auto* plot = vtkKOVAPlotViewNode::SafeDownCast(f.Scene->AddNewNodeByClass("vtkKOVAPlotViewNode"));
  plot->SetInteractionMode(vtkKOVAPlotViewNode::InteractionModeMovePoints);
  plot->SetPlotChartNodeID("chart1");

  vtkKOVATestEventRecorder endBatch(f.Scene, vtkKOVAScene::EndBatchProcessEvent);
  f.Logic->ResetAllViewNodesToDefault();
  EXPECT_EQ(endBatch.Count(), 1);

  for (size_t i = 0; i < slices.size(); ++i)
  {
    SCOPED_TRACE(sliceViews[i].LayoutName);
    double fov[3];
    slices[i]->GetFieldOfView(fov);
    EXPECT_DOUBLE_EQ(fov[0], 80.0);
    EXPECT_DOUBLE_EQ(fov[1], 90.0);
    EXPECT_TRUE(slices[i]->GetUseLabelOutline());
    EXPECT_DOUBLE_EQ(slices[i]->GetBackgroundColor()[1], 0.4);
    EXPECT_EQ(slices[i]->GetOrientation(), sliceViews[i].DefaultOrientation);
    EXPECT_STREQ(slices[i]->GetLayoutName(), sliceViews[i].LayoutName);
  }
  EXPECT_FALSE(threeD->GetBoxVisible());
  EXPECT_EQ(threeD->GetRenderMode(), vtkKOVAViewNode::Orthographic);
  EXPECT_STREQ(threeD->GetLayoutName(), "1");
  EXPECT_EQ(plot->GetInteractionMode(), vtkKOVAPlotViewNode::InteractionModeSelectPoints);
  EXPECT_STREQ(plot->GetPlotChartNodeID(), "chart1");
  EXPECT_EQ(f.Scene->GetNumberOfNodesByClass("vtkKOVAAbstractViewNode"), 5);
}

TEST(vtkVireonViewControllersLogic, EveryOperationNeedsAScene)
{
  vtkNew<ExposedViewControllersLogic> logic;
  vtkKOVATestErrorCapture errors;
  EXPECT_EQ(logic->GetDefaultSliceViewNode(), nullptr);
  EXPECT_EQ(logic->GetDefaultThreeDViewNode(), nullptr);
  EXPECT_EQ(logic->GetDefaultPlotViewNode(), nullptr);
  logic->ResetAllViewNodesToDefault();
  logic->RegisterNodes();
  EXPECT_EQ(errors.GetErrorMessages(),
    (std::vector<std::string>{
      "vtkVireonViewControllersLogic::GetDefaultSliceViewNode failed: invalid scene",
      "vtkVireonViewControllersLogic::GetDefaultThreeDViewNode failed: invalid scene",
      "vtkVireonViewControllersLogic::GetDefaultPlotViewNode failed: invalid scene",
      "vtkVireonViewControllersLogic::ResetAllViewNodesToDefault failed: invalid scene",
      "vtkVireonViewControllersLogic::RegisterNodes failed: invalid scene",
    }));
}

TEST(vtkVireonViewControllersLogic, SettingASceneRegistersNoNodeClasses)
{
  vtkNew<vtkKOVAScene> scene;
  const auto before = scene->GetRegisteredNodeClassNames();
  vtkNew<ExposedViewControllersLogic> logic;
  vtkKOVATestErrorCapture errors;
  logic->SetKOVAScene(scene);
  logic->RegisterNodes();
  EXPECT_EQ(scene->GetRegisteredNodeClassNames(), before);
  EXPECT_EQ(errors.GetNumberOfErrors(), 0);
  EXPECT_STREQ(logic->GetClassName(), "ExposedViewControllersLogic");
  EXPECT_TRUE(logic->IsA("vtkVireonModuleLogic"));
}
