#include <vtkKOVALabelMapVolumeNode.h>
#include <vtkKOVAModelNode.h>
#include <vtkKOVAPlotViewNode.h>
#include <vtkKOVAScalarVolumeNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASliceNode.h>
#include <vtkKOVATestEventRecorder.h>
#include <vtkKOVAViewNode.h>
#include <vtkKOVAVolumeNode.h>

#include <vtkCommand.h>
#include <vtkImageData.h>
#include <vtkMatrix4x4.h>
#include <vtkNew.h>
#include <vtkPolyData.h>

#include <gtest/gtest.h>

TEST(vtkKOVASliceNode, ResetTakesSettingsAndKeepsTheView)
{
  vtkNew<vtkKOVAScene> scene;
  auto* yellow = vtkKOVASliceNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVASliceNode"));
  ASSERT_NE(yellow, nullptr);
  yellow->SetLayoutName("Yellow");
  yellow->SetLayoutLabel("Y");
  yellow->SetViewGroup(2);
  yellow->SetDefaultOrientation("Sagittal");
  yellow->SetOrientation("Coronal");

  vtkNew<vtkKOVASliceNode> defaultNode;
  defaultNode->SetFieldOfView(100.0, 120.0, 2.0);
  defaultNode->SetBackgroundColor(0.1, 0.2, 0.3);
  defaultNode->SetSliceVisible(true);
  defaultNode->SetLayoutName("ShouldNotBeCopied");
  defaultNode->SetOrientation("Axial");

  vtkKOVATestEventRecorder modified(yellow, vtkCommand::ModifiedEvent);
  yellow->Reset(defaultNode);
  EXPECT_EQ(modified.Count(), 1);
  double fov[3];
  yellow->GetFieldOfView(fov);
  EXPECT_DOUBLE_EQ(fov[1], 120.0);
  EXPECT_DOUBLE_EQ(yellow->GetBackgroundColor()[2], 0.3);
  EXPECT_TRUE(yellow->GetSliceVisible());
  EXPECT_STREQ(yellow->GetLayoutName(), "Yellow");
  EXPECT_STREQ(yellow->GetLayoutLabel(), "Y");
  EXPECT_EQ(yellow->GetViewGroup(), 2);
  EXPECT_EQ(yellow->GetOrientation(), "Coronal");
  EXPECT_EQ(yellow->GetDefaultOrientation(), "Sagittal");

  yellow->SetOrientationToDefault();
  EXPECT_EQ(yellow->GetOrientation(), "Sagittal");

  // Without a default node, the settings of a new node.
  yellow->Reset(nullptr);
  yellow->GetFieldOfView(fov);
  EXPECT_DOUBLE_EQ(fov[0], 250.0);
  EXPECT_FALSE(yellow->GetSliceVisible());
  EXPECT_STREQ(yellow->GetLayoutName(), "Yellow");
}

TEST(vtkKOVAViewNodes, SceneFileRoundTrip)
{
  vtkNew<vtkKOVAScene> scene;
  auto* slice = vtkKOVASliceNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVASliceNode", "Red"));
  slice->SetLayoutName("Red & \"Green\"");
  slice->SetOrientation("Oblique 1");
  slice->SetUseLabelOutline(true);
  auto* view = vtkKOVAViewNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAViewNode"));
  view->SetRenderMode(vtkKOVAViewNode::Orthographic);
  view->SetBoxVisible(false);
  view->SetFieldOfView(321.5);
  auto* plotView =
    vtkKOVAPlotViewNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAPlotViewNode"));
  plotView->SetInteractionMode(vtkKOVAPlotViewNode::InteractionModeMovePoints);
  plotView->SetEnablePointMoveAlongY(false);
  plotView->SetPlotChartNodeID("vtkKOVAPlotChartNode1");

  vtkNew<vtkKOVAScene> read;
  ASSERT_TRUE(read->ReadFromXMLString(scene->WriteToXMLString()));
  auto* slice2 = vtkKOVASliceNode::SafeDownCast(read->GetFirstNodeByClass("vtkKOVASliceNode"));
  auto* view2 = vtkKOVAViewNode::SafeDownCast(read->GetFirstNodeByClass("vtkKOVAViewNode"));
  auto* plotView2 =
    vtkKOVAPlotViewNode::SafeDownCast(read->GetFirstNodeByClass("vtkKOVAPlotViewNode"));
  ASSERT_TRUE(slice2 && view2 && plotView2);
  EXPECT_STREQ(slice2->GetLayoutName(), "Red & \"Green\"");
  EXPECT_EQ(slice2->GetOrientation(), "Oblique 1");
  EXPECT_TRUE(slice2->GetUseLabelOutline());
  EXPECT_EQ(view2->GetRenderMode(), vtkKOVAViewNode::Orthographic);
  EXPECT_FALSE(view2->GetBoxVisible());
  EXPECT_DOUBLE_EQ(view2->GetFieldOfView(), 321.5);
  EXPECT_EQ(plotView2->GetInteractionMode(), vtkKOVAPlotViewNode::InteractionModeMovePoints);
  EXPECT_FALSE(plotView2->GetEnablePointMoveAlongY());
  EXPECT_STREQ(plotView2->GetPlotChartNodeID(), "vtkKOVAPlotChartNode1");
}

TEST(vtkKOVAPlotViewNode, ResetKeepsTheShownChart)
{
  vtkNew<vtkKOVAPlotViewNode> node;
  node->SetPlotChartNodeID("chart1");
  vtkNew<vtkKOVAPlotViewNode> defaultNode;
  defaultNode->SetEnablePointMoveAlongX(false);
  node->Reset(defaultNode);
  EXPECT_FALSE(node->GetEnablePointMoveAlongX());
  EXPECT_STREQ(node->GetPlotChartNodeID(), "chart1");
}

TEST(vtkKOVAVolumeNode, GeometryMatrixRoundTrip)
{
  vtkNew<vtkKOVAScalarVolumeNode> volume;
  vtkNew<vtkMatrix4x4> matrix;
  // Axes swapped and flipped, anisotropic spacing.
  const double elements[16] = { 0, 0, -2.5, 10, 0.5, 0, 0, -20, 0, 1.5, 0, 30, 0, 0, 0, 1 };
  matrix->DeepCopy(elements);
  volume->SetIJKToRASMatrix(matrix);
  EXPECT_DOUBLE_EQ(volume->GetSpacing()[0], 0.5);
  EXPECT_DOUBLE_EQ(volume->GetSpacing()[2], 2.5);
  EXPECT_DOUBLE_EQ(volume->GetOrigin()[1], -20.0);

  vtkNew<vtkKOVAScene> scene;
  scene->AddNode(volume);
  vtkNew<vtkKOVAScene> read;
  ASSERT_TRUE(read->ReadFromXMLString(scene->WriteToXMLString()));
  auto* readVolume =
    vtkKOVAVolumeNode::SafeDownCast(read->GetFirstNodeByClass("vtkKOVAScalarVolumeNode"));
  ASSERT_NE(readVolume, nullptr);
  vtkNew<vtkMatrix4x4> result;
  readVolume->GetIJKToRASMatrix(result);
  for (int i = 0; i < 4; ++i)
  {
    for (int j = 0; j < 4; ++j)
    {
      EXPECT_DOUBLE_EQ(result->GetElement(i, j), matrix->GetElement(i, j)) << i << "," << j;
    }
  }
}

TEST(vtkKOVAModelAndVolumeNodes, DataEventsAndClasses)
{
  vtkNew<vtkKOVAModelNode> model;
  vtkKOVATestEventRecorder mesh(model, vtkKOVAModelNode::MeshModifiedEvent);
  vtkNew<vtkPolyData> polyData;
  model->SetAndObservePolyData(polyData);
  polyData->Modified();
  EXPECT_EQ(mesh.Count(), 2);
  EXPECT_EQ(model->GetPolyData(), polyData.GetPointer());

  vtkNew<vtkKOVALabelMapVolumeNode> labels;
  vtkKOVATestEventRecorder image(labels, vtkKOVAVolumeNode::ImageDataModifiedEvent);
  vtkNew<vtkImageData> imageData;
  labels->SetAndObserveImageData(imageData);
  EXPECT_EQ(image.Count(), 1);

  EXPECT_TRUE(labels->IsA("vtkKOVAVolumeNode"));
  EXPECT_TRUE(labels->IsA("vtkKOVAScalarVolumeNode"));
  EXPECT_FALSE(model->IsA("vtkKOVAVolumeNode"));
  EXPECT_TRUE(model->IsA("vtkKOVADisplayableNode"));
}
