#include <vtkKOVAColorLegendDisplayNode.h>
#include <vtkKOVAColorTableNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATestEventRecorder.h>

#include <vtkCommand.h>
#include <vtkLookupTable.h>
#include <vtkNew.h>

#include <gtest/gtest.h>

TEST(vtkKOVAColorLegendDisplayNode, HiddenByUserIsAPlainFlag)
{
  vtkNew<vtkKOVAColorLegendDisplayNode> legend;
  EXPECT_FALSE(legend->GetHiddenByUser());
  EXPECT_TRUE(legend->GetHideFromEditors());
  legend->AddViewNodeID("vtkKOVAViewNode1");
  vtkKOVATestEventRecorder modified(legend, vtkCommand::ModifiedEvent);

  legend->HiddenByUserOn();
  legend->SetHiddenByUser(true);
  EXPECT_EQ(modified.Count(), 1);
  EXPECT_TRUE(legend->GetHiddenByUser());
  EXPECT_TRUE(legend->GetVisibility());
  EXPECT_EQ(legend->GetNumberOfViewNodeIDs(), 1);
  legend->HiddenByUserOff();
  EXPECT_FALSE(legend->GetHiddenByUser());
  EXPECT_TRUE(legend->GetVisibility());
  EXPECT_EQ(legend->GetNumberOfViewNodeIDs(), 1);
}

TEST(vtkKOVAColorLegendDisplayNode, SceneFileKeepsFlagAndPrimaryDisplayNode)
{
  vtkNew<vtkKOVAScene> scene;
  auto* primary = vtkKOVAColorLegendDisplayNode::SafeDownCast(
    scene->AddNewNodeByClass("vtkKOVAColorLegendDisplayNode", "Other"));
  auto* colors =
    vtkKOVAColorTableNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAColorTableNode"));
  ASSERT_NE(colors, nullptr);
  colors->GetLookupTable()->SetNumberOfTableValues(3);
  primary->SetAndObserveColorNodeID(colors->GetID());
  EXPECT_EQ(primary->GetColorNode(), colors);
  EXPECT_EQ(colors->GetNumberOfColors(), 3);

  vtkNew<vtkKOVAColorLegendDisplayNode> legend;
  scene->AddNode(legend);
  legend->SetAndObservePrimaryDisplayNodeID(primary->GetID());
  legend->HiddenByUserOn();
  legend->VisibilityOff();

  vtkNew<vtkKOVAScene> read;
  ASSERT_TRUE(read->ReadFromXMLString(scene->WriteToXMLString()));
  auto* readLegend =
    vtkKOVAColorLegendDisplayNode::SafeDownCast(read->GetNodeByID(legend->GetID()));
  ASSERT_NE(readLegend, nullptr);
  EXPECT_TRUE(readLegend->GetHiddenByUser());
  EXPECT_FALSE(readLegend->GetVisibility());
  ASSERT_NE(readLegend->GetPrimaryDisplayNode(), nullptr);
  EXPECT_STREQ(readLegend->GetPrimaryDisplayNode()->GetName(), "Other");
  ASSERT_NE(readLegend->GetPrimaryDisplayNode()->GetColorNode(), nullptr);

  vtkNew<vtkKOVAColorLegendDisplayNode> copy;
  copy->Copy(legend);
  EXPECT_TRUE(copy->GetHiddenByUser());
}
