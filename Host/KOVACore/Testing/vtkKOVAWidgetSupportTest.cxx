#include <vtkKOVAMarkupsDisplayNode.h>
#include <vtkKOVAMarkupsJsonStorageNode.h>
#include <vtkKOVAMarkupsLineNode.h>
#include <vtkKOVAMessageCollection.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASliceNode.h>
#include <vtkKOVATestErrorCapture.h>

#include <vtkMath.h>
#include <vtkMatrix4x4.h>
#include <vtkNew.h>

#include <gtest/gtest.h>

namespace
{
void XYToRAS(vtkKOVASliceNode* slice, double x, double y, double z, double ras[3])
{
  double p[4] = { x, y, z, 1.0 };
  slice->GetXYToRAS()->MultiplyPoint(p, p);
  ras[0] = p[0];
  ras[1] = p[1];
  ras[2] = p[2];
}
}

TEST(vtkKOVASliceNode, XYToRASFollowsSliceToRASFieldOfViewAndDimensions)
{
  vtkNew<vtkKOVASliceNode> slice;
  slice->SetFieldOfView(200.0, 100.0, 3.0);
  slice->SetDimensions(400, 200, 1);
  // A sagittal-like slice: normal along x, in-plane x axis along y (given slightly off).
  const double n[3] = { 2.0, 0.0, 0.0 }, t[3] = { 0.5, 1.0, 0.0 }, p[3] = { 10.0, 20.0, 30.0 };
  ASSERT_TRUE(slice->SetSliceToRASByNTP(n, t, p));
  vtkMatrix4x4* sliceToRAS = slice->GetSliceToRAS();
  for (int i = 0; i < 3; ++i)
  {
    EXPECT_NEAR(sliceToRAS->GetElement(i, 0), i == 1 ? 1.0 : 0.0, 1e-12) << i;
    EXPECT_NEAR(sliceToRAS->GetElement(i, 1), i == 2 ? 1.0 : 0.0, 1e-12) << i;
    EXPECT_NEAR(sliceToRAS->GetElement(i, 2), i == 0 ? 1.0 : 0.0, 1e-12) << i;
    EXPECT_DOUBLE_EQ(sliceToRAS->GetElement(i, 3), p[i]);
  }

  double ras[3];
  // The view centre is the slice origin, pixel (0, 0) a corner of the field of view.
  XYToRAS(slice, 200.0, 100.0, 0.0, ras);
  EXPECT_NEAR(ras[0], 10.0, 1e-12);
  EXPECT_NEAR(ras[1], 20.0, 1e-12);
  EXPECT_NEAR(ras[2], 30.0, 1e-12);
  XYToRAS(slice, 0.0, 0.0, 0.0, ras);
  EXPECT_NEAR(ras[1], 20.0 - 100.0, 1e-12);
  EXPECT_NEAR(ras[2], 30.0 - 50.0, 1e-12);
  // One slice step is the slice spacing along the normal.
  XYToRAS(slice, 200.0, 100.0, 1.0, ras);
  EXPECT_NEAR(ras[0], 13.0, 1e-12);

  // A changed field of view shows in the next XYToRAS.
  slice->SetFieldOfView(400.0, 200.0, 3.0);
  XYToRAS(slice, 0.0, 0.0, 0.0, ras);
  EXPECT_NEAR(ras[1], 20.0 - 200.0, 1e-12);
}

TEST(vtkKOVASliceNode, InvalidSliceOrientationChangesNothing)
{
  vtkNew<vtkKOVASliceNode> slice;
  vtkNew<vtkMatrix4x4> before;
  before->DeepCopy(slice->GetSliceToRAS());
  const double zero[3] = { 0, 0, 0 }, x[3] = { 1, 0, 0 }, p[3] = { 1, 2, 3 };
  struct Case
  {
    const double* N;
    const double* T;
    const char* Message;
  };
  for (const Case& c : { Case{ zero, x, "SetSliceToRASByNTP: the normal is a zero vector" },
         Case{ x, x, "SetSliceToRASByNTP: the x axis is zero or parallel to the normal" },
         Case{ x, zero, "SetSliceToRASByNTP: the x axis is zero or parallel to the normal" } })
  {
    vtkKOVATestErrorCapture errors;
    EXPECT_FALSE(slice->SetSliceToRASByNTP(c.N, c.T, p));
    ASSERT_EQ(errors.GetNumberOfErrors(), 1);
    EXPECT_EQ(errors.GetErrorMessages()[0], c.Message);
    for (int i = 0; i < 16; ++i)
    {
      EXPECT_EQ(slice->GetSliceToRAS()->GetData()[i], before->GetData()[i]);
    }
  }
  // Dimensions are at least 1.
  slice->SetDimensions(0, -4, 0);
  EXPECT_EQ(slice->GetDimensions()[0], 1);
  EXPECT_EQ(slice->GetDimensions()[1], 1);
  EXPECT_EQ(slice->GetDimensions()[2], 1);
}

TEST(vtkKOVAMarkupsDisplayNode, GlyphAndColourSettingsSurviveSceneFilesAndCopies)
{
  vtkNew<vtkKOVAScene> scene;
  auto* display =
    vtkKOVAMarkupsDisplayNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAMarkupsDisplayNode"));
  display->SetSelectedColor(0.1, 0.2, 0.3);
  display->SetActiveColor(0.4, 0.5, 0.6);
  display->UseGlyphScaleOff();
  display->SetGlyphScale(4.5);
  display->SetGlyphSize(7.25);
  display->SetLineThickness(0.35);
  display->SetColor(0.9, 0.8, 0.7);

  vtkNew<vtkKOVAScene> read;
  ASSERT_TRUE(read->ReadFromXMLString(scene->WriteToXMLString()));
  auto* readDisplay =
    vtkKOVAMarkupsDisplayNode::SafeDownCast(read->GetFirstNodeByClass("vtkKOVAMarkupsDisplayNode"));
  vtkNew<vtkKOVAMarkupsDisplayNode> copy;
  copy->CopyContent(display);
  for (vtkKOVAMarkupsDisplayNode* node : { readDisplay, copy.Get() })
  {
    ASSERT_NE(node, nullptr);
    EXPECT_DOUBLE_EQ(node->GetSelectedColor()[2], 0.3);
    EXPECT_DOUBLE_EQ(node->GetActiveColor()[0], 0.4);
    EXPECT_FALSE(node->GetUseGlyphScale());
    EXPECT_DOUBLE_EQ(node->GetGlyphScale(), 4.5);
    EXPECT_DOUBLE_EQ(node->GetGlyphSize(), 7.25);
    EXPECT_DOUBLE_EQ(node->GetLineThickness(), 0.35);
    EXPECT_DOUBLE_EQ(node->GetColor()[0], 0.9);
  }
}

TEST(vtkKOVAMarkupsJsonStorageNode, ReadingIsRefusedWithAMessage)
{
  vtkNew<vtkKOVAMarkupsLineNode> line;
  vtkSmartPointer<vtkKOVAStorageNode> storage =
    vtkSmartPointer<vtkKOVAStorageNode>::Take(line->CreateDefaultStorageNode());
  auto* json = vtkKOVAMarkupsJsonStorageNode::SafeDownCast(storage);
  ASSERT_NE(json, nullptr);
  EXPECT_EQ(json->GetDefaultWriteFileExtension(), "mrk.json");
  EXPECT_TRUE(json->CanReadInReferenceNode(line));
  EXPECT_FALSE(json->CanReadInReferenceNode(vtkNew<vtkKOVAMarkupsDisplayNode>()));
  json->SetFileName("/nonexistent/a.mrk.json");
  line->AddControlPoint(vtkVector3d(1.0, 2.0, 3.0));
  EXPECT_EQ(json->ReadData(line), 0);
  EXPECT_EQ(line->GetNumberOfControlPoints(), 1);
  EXPECT_EQ(json->GetUserMessages()->GetNumberOfMessages(), 1);
}
