#include <vtkKOVAColorLegendDisplayNode.h>
#include <vtkKOVAModelNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATestDisplayNode.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkVireonColorLogic.h>

#include <vtkNew.h>

#include <gtest/gtest.h>

namespace
{
struct ModelWithDisplays
{
  ModelWithDisplays()
  {
    this->Model =
      vtkKOVAModelNode::SafeDownCast(this->Scene->AddNewNodeByClass("vtkKOVAModelNode"));
    this->Scene->AddNode(this->First);
    this->Scene->AddNode(this->Second);
    this->Model->AddAndObserveDisplayNodeID(this->First->GetID());
    this->Model->AddAndObserveDisplayNodeID(this->Second->GetID());
  }
  vtkNew<vtkKOVAScene> Scene;
  vtkKOVAModelNode* Model = nullptr;
  vtkNew<vtkKOVATestDisplayNode> First;
  vtkNew<vtkKOVATestDisplayNode> Second;
};
}

TEST(vtkVireonColorLogic, AddDefaultCreatesOneLegendPerDisplayNode)
{
  ModelWithDisplays m;
  EXPECT_EQ(vtkVireonColorLogic::GetColorLegendDisplayNode(m.Model), nullptr);
  EXPECT_EQ(vtkVireonColorLogic::GetColorLegendDisplayNode(m.First.GetPointer()), nullptr);

  vtkKOVAColorLegendDisplayNode* legend =
    vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(m.Model);
  ASSERT_NE(legend, nullptr);
  EXPECT_EQ(legend->GetScene(), m.Scene.GetPointer());
  EXPECT_EQ(legend->GetPrimaryDisplayNode(), m.First.GetPointer());
  EXPECT_TRUE(legend->GetVisibility());
  EXPECT_EQ(legend->GetNumberOfViewNodeIDs(), 0);
  // Found through both overloads; asking again creates nothing.
  EXPECT_EQ(vtkVireonColorLogic::GetColorLegendDisplayNode(m.Model), legend);
  EXPECT_EQ(vtkVireonColorLogic::GetColorLegendDisplayNode(m.First.GetPointer()), legend);
  EXPECT_EQ(vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(m.First.GetPointer()), legend);
  EXPECT_EQ(vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(m.Model), legend);
  EXPECT_EQ(m.Scene->GetNumberOfNodesByClass("vtkKOVAColorLegendDisplayNode"), 1);

  // Another display node of the same model has a legend of its own.
  EXPECT_EQ(vtkVireonColorLogic::GetColorLegendDisplayNode(m.Second.GetPointer()), nullptr);
  vtkKOVAColorLegendDisplayNode* second =
    vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(m.Second.GetPointer());
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, legend);
  EXPECT_EQ(second->GetPrimaryDisplayNode(), m.Second.GetPointer());
  EXPECT_EQ(vtkVireonColorLogic::GetColorLegendDisplayNode(m.Model), legend);
  // A legend is not a display node that has a legend.
  EXPECT_EQ(vtkVireonColorLogic::GetColorLegendDisplayNode(legend), nullptr);
}

TEST(vtkVireonColorLogic, RefusesNodesWithoutDisplayOrScene)
{
  vtkKOVATestErrorCapture errors;
  EXPECT_EQ(
    vtkVireonColorLogic::GetColorLegendDisplayNode(static_cast<vtkKOVADisplayableNode*>(nullptr)),
    nullptr);
  EXPECT_EQ(
    vtkVireonColorLogic::GetColorLegendDisplayNode(static_cast<vtkKOVADisplayNode*>(nullptr)),
    nullptr);
  EXPECT_EQ(errors.GetNumberOfErrors(), 0);

  EXPECT_EQ(vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(
              static_cast<vtkKOVADisplayableNode*>(nullptr)),
    nullptr);
  EXPECT_EQ(vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(
              static_cast<vtkKOVADisplayNode*>(nullptr)),
    nullptr);
  EXPECT_EQ(errors.GetNumberOfErrors(), 2);
  EXPECT_TRUE(
    errors.ContainsError("(nullptr): AddDefaultColorLegendDisplayNode: displayNode is nullptr"));

  vtkNew<vtkKOVAScene> scene;
  auto* model = vtkKOVAModelNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAModelNode"));
  EXPECT_EQ(vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(model), nullptr);
  EXPECT_TRUE(errors.ContainsError("has no display node"));

  // A display node outside any scene, or not used by a displayable node.
  vtkNew<vtkKOVATestDisplayNode> loose;
  EXPECT_EQ(vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(loose.GetPointer()), nullptr);
  scene->AddNode(loose);
  EXPECT_EQ(vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(loose.GetPointer()), nullptr);
  EXPECT_EQ(errors.GetNumberOfErrors(), 5);
  EXPECT_EQ(scene->GetNumberOfNodesByClass("vtkKOVAColorLegendDisplayNode"), 0);
}
