#include <vtkKOVADynamicModelerNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkKOVATestEventRecorder.h>
#include <vtkVireonDynamicModelerLogic.h>
#include <vtkVireonDynamicModelerPlaneCutTool.h>
#include <vtkVireonDynamicModelerSelectByPointsTool.h>
#include <vtkVireonDynamicModelerTool.h>

#include <vtkNew.h>
#include <vtkSmartPointer.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(vtkVireonDynamicModelerLogic, TwelveToolsWithDistinctNames)
{
  vtkNew<vtkVireonDynamicModelerLogic> logic;
  ASSERT_EQ(logic->GetNumberOfDynamicModelerTools(), 12);
  std::set<std::string> names;
  std::set<std::string> classes;
  for (int i = 0; i < 12; ++i)
  {
    vtkVireonDynamicModelerTool* tool = logic->GetNthDynamicModelerTool(i);
    ASSERT_NE(tool, nullptr);
    names.insert(tool->GetName());
    classes.insert(tool->GetClassName());
    EXPECT_EQ(logic->GetDynamicModelerToolByName(tool->GetName()), tool);
    vtkSmartPointer<vtkVireonDynamicModelerTool> instance;
    instance.TakeReference(tool->CreateToolInstance());
    EXPECT_STREQ(instance->GetClassName(), tool->GetClassName());
  }
  EXPECT_EQ(names.size(), 12u);
  EXPECT_EQ(classes.size(), 12u);
  EXPECT_EQ(logic->GetNthDynamicModelerTool(12), nullptr);
  EXPECT_EQ(logic->GetDynamicModelerToolByName("plane cut"), nullptr);

  vtkNew<vtkVireonDynamicModelerPlaneCutTool> planeCut;
  vtkNew<vtkVireonDynamicModelerSelectByPointsTool> selectByPoints;
  EXPECT_STREQ(planeCut->GetName(), "Plane cut");
  EXPECT_STREQ(selectByPoints->GetName(), "Select by points");
}

TEST(vtkVireonDynamicModelerLogic, RunsTheToolANodeNames)
{
  vtkNew<vtkKOVAScene> scene;
  vtkNew<vtkVireonDynamicModelerLogic> logic;
  logic->SetKOVAScene(scene);
  // The logic registers the node class with its scene.
  auto* node =
    vtkKOVADynamicModelerNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVADynamicModelerNode"));
  ASSERT_NE(node, nullptr);
  vtkKOVATestEventRecorder runs(logic, vtkVireonDynamicModelerLogic::ToolRunEvent);
  vtkKOVATestErrorCapture errors;

  node->SetToolName("Mirror");
  EXPECT_TRUE(logic->RunDynamicModelerTool(node));
  ASSERT_EQ(runs.Count(), 1);
  EXPECT_EQ(runs.Events[0].second, node);
  EXPECT_EQ(errors.GetNumberOfErrors(), 0);

  EXPECT_FALSE(logic->RunDynamicModelerTool(nullptr));
  node->SetToolName(nullptr);
  EXPECT_FALSE(logic->RunDynamicModelerTool(node));
  node->SetToolName("Melt");
  EXPECT_FALSE(logic->RunDynamicModelerTool(node));
  EXPECT_EQ(runs.Count(), 1);
  ASSERT_EQ(errors.GetNumberOfErrors(), 3);
  EXPECT_EQ(errors.GetErrorMessages()[0], "RunDynamicModelerTool: node is nullptr");
  EXPECT_EQ(errors.GetErrorMessages()[2], "RunDynamicModelerTool: no tool is named Melt");

  // A tool refuses a node that names another one.
  vtkNew<vtkVireonDynamicModelerPlaneCutTool> planeCut;
  node->SetToolName("Mirror");
  EXPECT_FALSE(planeCut->Run(node));
  node->SetToolName("Plane cut");
  EXPECT_TRUE(planeCut->Run(node));
}
