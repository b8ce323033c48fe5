#include <vtkKOVALabelMapVolumeNode.h>
#include <vtkKOVAModelDisplayNode.h>
#include <vtkKOVAModelNode.h>
#include <vtkKOVAScalarVolumeDisplayNode.h>
#include <vtkKOVAScalarVolumeNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkKOVATestEventRecorder.h>
#include <vtkKOVATransformNode.h>

#include <vtkGeneralTransform.h>
#include <vtkImageData.h>
#include <vtkMatrix4x4.h>
#include <vtkNew.h>
#include <vtkTransform.h>

#include <gtest/gtest.h>

TEST(vtkKOVAVolumeNode, IJKToRASMatrixSplitsIntoSpacingOriginAndDirections)
{
  vtkNew<vtkKOVAScene> scene;
  auto* volume =
    vtkKOVAScalarVolumeNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAScalarVolumeNode"));
  vtkNew<vtkTransform> t;
  t->Translate(10, -20, 30);
  t->RotateWXYZ(40, 1, 1, 0);
  t->Scale(0.5, 2.0, 3.0);
  volume->SetIJKToRASMatrix(t->GetMatrix());
  EXPECT_NEAR(volume->GetSpacing()[0], 0.5, 1e-12);
  EXPECT_NEAR(volume->GetSpacing()[1], 2.0, 1e-12);
  EXPECT_NEAR(volume->GetSpacing()[2], 3.0, 1e-12);
  EXPECT_NEAR(volume->GetOrigin()[1], -20.0, 1e-12);
  vtkNew<vtkMatrix4x4> back;
  volume->GetIJKToRASMatrix(back);
  for (int i = 0; i < 16; ++i)
  {
    EXPECT_NEAR(back->GetElement(i / 4, i % 4), t->GetMatrix()->GetElement(i / 4, i % 4), 1e-12);
  }
  vtkNew<vtkMatrix4x4> rasToIJK;
  volume->GetRASToIJKMatrix(rasToIJK);
  const double ijk[4] = { 1, 2, 3, 1 };
  double ras[4], ijkBack[4];
  back->MultiplyPoint(ijk, ras);
  rasToIJK->MultiplyPoint(ras, ijkBack);
  EXPECT_NEAR(ijkBack[2], 3.0, 1e-9);

  // Geometry survives a scene file; the image is the node's, observed.
  vtkNew<vtkKOVAScene> read;
  ASSERT_TRUE(read->ReadFromXMLString(scene->WriteToXMLString()));
  auto* readVolume =
    vtkKOVAScalarVolumeNode::SafeDownCast(read->GetFirstNodeByClass("vtkKOVAScalarVolumeNode"));
  ASSERT_NE(readVolume, nullptr);
  vtkNew<vtkMatrix4x4> readMatrix;
  readVolume->GetIJKToRASMatrix(readMatrix);
  EXPECT_NEAR(readMatrix->GetElement(0, 1), back->GetElement(0, 1), 1e-12);

  vtkKOVATestEventRecorder imageEvents(volume, vtkKOVAVolumeNode::ImageDataModifiedEvent);
  vtkNew<vtkImageData> image;
  image->SetDimensions(2, 3, 4);
  image->AllocateScalars(VTK_SHORT, 1);
  volume->SetAndObserveImageData(image);
  image->Modified();
  EXPECT_EQ(imageEvents.Count(), 2);
  double bounds[6];
  ASSERT_TRUE(volume->GetRASBounds(bounds));
  EXPECT_LE(bounds[0], bounds[1]);

  vtkKOVATestErrorCapture errors;
  vtkNew<vtkMatrix4x4> singular;
  singular->SetElement(1, 1, 0.0);
  volume->SetIJKToRASMatrix(singular);
  EXPECT_EQ(errors.GetNumberOfErrors(), 1);
  EXPECT_NEAR(volume->GetSpacing()[1], 2.0, 1e-12) << "unchanged";
}

TEST(vtkKOVAVolumeNode, DefaultDisplayNodesByVolumeKind)
{
  vtkNew<vtkKOVAScene> scene;
  auto* scalar =
    vtkKOVAScalarVolumeNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAScalarVolumeNode"));
  auto* label =
    vtkKOVALabelMapVolumeNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVALabelMapVolumeNode"));
  auto* model = vtkKOVAModelNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAModelNode"));
  ASSERT_TRUE(scalar->CreateDefaultDisplayNodes());
  ASSERT_TRUE(label->CreateDefaultDisplayNodes());
  ASSERT_TRUE(model->CreateDefaultDisplayNodes());
  EXPECT_TRUE(scalar->GetDisplayNode()->IsA("vtkKOVAScalarVolumeDisplayNode"));
  EXPECT_TRUE(label->GetDisplayNode()->IsA("vtkKOVALabelMapVolumeDisplayNode"));
  EXPECT_TRUE(label->IsA("vtkKOVAScalarVolumeNode"));
  auto* modelDisplay = vtkKOVAModelDisplayNode::SafeDownCast(model->GetDisplayNode());
  ASSERT_NE(modelDisplay, nullptr);
  EXPECT_FALSE(modelDisplay->GetVisibility2D());
  // Again: nothing new.
  const int nodes = scene->GetNumberOfNodes();
  EXPECT_TRUE(scalar->CreateDefaultDisplayNodes());
  EXPECT_EQ(scene->GetNumberOfNodes(), nodes);

  auto* display = vtkKOVAScalarVolumeDisplayNode::SafeDownCast(scalar->GetDisplayNode());
  display->SetWindow(400);
  display->SetLevel(40);
  vtkNew<vtkKOVAScalarVolumeDisplayNode> copy;
  copy->CopyContent(display, true);
  EXPECT_EQ(copy->GetWindow(), 400);
  EXPECT_EQ(copy->GetLevel(), 40);

  vtkNew<vtkKOVAScalarVolumeNode> outside;
  vtkKOVATestErrorCapture errors;
  EXPECT_FALSE(outside->CreateDefaultDisplayNodes());
  EXPECT_EQ(errors.GetNumberOfErrors(), 1);
}

TEST(vtkKOVATransformNode, TransformFromParentAs)
{
  vtkNew<vtkKOVATransformNode> node;
  vtkKOVATestErrorCapture errors;
  EXPECT_EQ(node->GetTransformFromParentAs("vtkTransform", true, true), nullptr);
  EXPECT_EQ(errors.GetNumberOfErrors(), 0);
  EXPECT_EQ(node->GetTransformFromParentAs("vtkTransform", true, false), nullptr);
  EXPECT_EQ(errors.GetNumberOfErrors(), 1);

  vtkKOVATestEventRecorder events(node, vtkKOVATransformableNode::TransformModifiedEvent);
  vtkNew<vtkTransform> linear;
  linear->Translate(1, 2, 3);
  node->SetAndObserveTransformFromParent(linear);
  EXPECT_EQ(events.Count(), 1);
  linear->Translate(1, 0, 0);
  linear->Modified();
  EXPECT_EQ(events.Count(), 2) << "changes of the transform itself are passed on";
  EXPECT_EQ(node->GetTransformFromParentAs("vtkTransform"), linear.GetPointer());
  EXPECT_EQ(node->GetTransformFromParentAs("vtkLinearTransform"), linear.GetPointer());
  EXPECT_EQ(node->GetTransformFromParentAs("vtkGridTransform", false), nullptr);
  EXPECT_EQ(errors.GetNumberOfErrors(), 1);
  EXPECT_EQ(node->GetTransformFromParentAs("vtkGridTransform", true), nullptr);
  EXPECT_EQ(errors.GetNumberOfErrors(), 2);

  // A general transform holding one transform of the class answers with that transform.
  vtkNew<vtkGeneralTransform> general;
  general->Concatenate(linear);
  node->SetAndObserveTransformFromParent(general);
  EXPECT_EQ(node->GetTransformFromParentAs("vtkTransform"), linear.GetPointer());

  // The other direction is the inverse.
  node->SetAndObserveTransformFromParent(linear);
  double p[3] = { 0, 0, 0 };
  node->GetTransformToParent()->TransformPoint(p, p);
  EXPECT_DOUBLE_EQ(p[0], -2.0);
  EXPECT_TRUE(node->IsLinear());
  vtkNew<vtkMatrix4x4> matrix;
  ASSERT_TRUE(node->GetMatrixTransformToParent(matrix));
  EXPECT_DOUBLE_EQ(matrix->GetElement(1, 3), -2.0);
}
