#include <vtkKOVAMarkupsCurveNode.h>
#include <vtkKOVAMarkupsLineNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkKOVATestEventRecorder.h>
#include <vtkKOVATransformNode.h>

#include <vtkDoubleArray.h>
#include <vtkMath.h>
#include <vtkMatrix4x4.h>
#include <vtkNew.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkTransform.h>

#include <gtest/gtest.h>

#include <cmath>

TEST(vtkKOVAMarkupsCurveNode, CurvePointsPassThroughControlPoints)
{
  for (int type : { vtkKOVAMarkupsNode::CurveTypeLinear,
         vtkKOVAMarkupsNode::CurveTypeCardinalSpline,
         vtkKOVAMarkupsNode::CurveTypeKochanekSpline })
  {
    SCOPED_TRACE(vtkKOVAMarkupsNode::GetCurveTypeAsString(type));
    vtkNew<vtkKOVAMarkupsCurveNode> curve;
    curve->SetCurveType(type);
    curve->SetNumberOfPointsPerInterpolatingSegment(4);
    const double points[][3] = { { 0, 0, 0 }, { 10, 0, 0 }, { 30, 10, 0 }, { 30, 40, 5 } };
    for (const auto& p : points)
    {
      curve->AddControlPoint(vtkVector3d(p));
    }
    vtkPoints* curvePoints = curve->GetCurvePoints();
    ASSERT_EQ(curvePoints->GetNumberOfPoints(), 3 * 4 + 1);
    for (int i = 0; i < 4; ++i)
    {
      const vtkIdType c = curve->GetCurvePointIndexFromControlPointIndex(i);
      EXPECT_EQ(c, 4 * i);
      for (int k = 0; k < 3; ++k)
      {
        EXPECT_NEAR(curvePoints->GetPoint(c)[k], points[i][k], 1e-9);
      }
    }
    EXPECT_EQ(curve->GetCurve()->GetNumberOfLines(), 1);
    const double length = curve->GetCurveLengthWorld();
    EXPECT_GE(length, 10 + std::sqrt(500.0) + std::sqrt(925.0) - 1e-9);
    EXPECT_NEAR(curve->GetCurveLengthWorld(0, 5),
      type == vtkKOVAMarkupsNode::CurveTypeLinear ? 10.0 : curve->GetCurveLengthWorld(0, 5),
      1e-9);
  }
}

TEST(vtkKOVAMarkupsCurveNode, WorldCoordinatesGoThroughTheParentTransform)
{
  vtkNew<vtkKOVAScene> scene;
  auto* curve =
    vtkKOVAMarkupsCurveNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAMarkupsCurveNode"));
  auto* transformNode =
    vtkKOVATransformNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVATransformNode"));
  vtkNew<vtkTransform> shift;
  shift->Translate(100, 0, 0);
  transformNode->SetAndObserveTransformToParent(shift);
  curve->AddControlPoint(vtkVector3d(0, 0, 0));
  curve->AddControlPoint(vtkVector3d(0, 10, 0));
  ASSERT_TRUE(curve->SetAndObserveTransformNodeID(transformNode->GetID()));
  vtkKOVATestEventRecorder transformEvents(curve, vtkKOVATransformableNode::TransformModifiedEvent);

  double world[3];
  curve->GetNthControlPointPositionWorld(1, world);
  EXPECT_DOUBLE_EQ(world[0], 100.0);
  EXPECT_DOUBLE_EQ(curve->GetCurvePointsWorld()->GetPoint(0)[0], 100.0);
  EXPECT_DOUBLE_EQ(curve->GetCurvePoints()->GetPoint(0)[0], 0.0);

  // Moving the transform moves the world curve (vtkTransform::Translate invokes no event, the
  // modification time tells); Modified() reaches the curve's observers.
  shift->Translate(0, 0, 5);
  EXPECT_DOUBLE_EQ(curve->GetCurvePointsWorld()->GetPoint(0)[2], 5.0);
  shift->Modified();
  EXPECT_EQ(transformEvents.Count(), 1);

  // World positions set through the node land in node coordinates.
  vtkNew<vtkPoints> positions;
  positions->InsertNextPoint(100, 0, 5);
  positions->InsertNextPoint(100, 20, 5);
  positions->InsertNextPoint(100, 40, 5);
  ASSERT_TRUE(curve->SetControlPointPositionsWorld(positions, true));
  ASSERT_EQ(curve->GetNumberOfControlPoints(), 3);
  EXPECT_EQ(curve->GetNthControlPointID(0), "1") << "kept its ID";
  double node[3];
  curve->GetNthControlPointPosition(2, node);
  EXPECT_NEAR(node[0], 0.0, 1e-12);
  EXPECT_NEAR(node[1], 40.0, 1e-12);
  EXPECT_NEAR(node[2], 0.0, 1e-12);

  // A transform cannot become its own ancestor.
  vtkKOVATestErrorCapture errors;
  EXPECT_FALSE(transformNode->SetAndObserveTransformNodeID(transformNode->GetID()));
  EXPECT_EQ(errors.GetNumberOfErrors(), 1);
}

TEST(vtkKOVAMarkupsCurveNode, FramesAlongTheCurve)
{
  vtkNew<vtkKOVAMarkupsCurveNode> curve;
  curve->SetCurveTypeToLinear();
  curve->AddControlPoint(vtkVector3d(0, 0, 0));
  curve->AddControlPoint(vtkVector3d(0, 0, 50));
  vtkNew<vtkMatrix4x4> frame;
  ASSERT_TRUE(curve->GetCurvePointToWorldTransformAtPointIndex(3, frame));
  const double expected[3][4] = { { 1, 0, 0, 0 }, { 0, 1, 0, 0 }, { 0, 0, 1, 15 } };
  for (int r = 0; r < 3; ++r)
  {
    for (int c = 0; c < 4; ++c)
    {
      EXPECT_NEAR(frame->GetElement(r, c), expected[r][c], 1e-12) << r << "," << c;
    }
  }
  vtkKOVATestErrorCapture errors;
  EXPECT_FALSE(curve->GetCurvePointToWorldTransformAtPointIndex(999, frame));
  EXPECT_EQ(errors.GetNumberOfErrors(), 1);
}

TEST(vtkKOVAMarkupsCurveNode, ResamplePoints)
{
  vtkNew<vtkPoints> line;
  line->InsertNextPoint(0, 0, 0);
  line->InsertNextPoint(0, 0, 23);
  line->InsertNextPoint(0, 0, 23); // repeated point
  line->InsertNextPoint(0, 10, 23);
  const struct
  {
    double Distance;
    int Count;
    double LastZ, LastY;
  } cases[] = {
    // 33 mm at 10 mm: 0, 10, 20, 30 and the end 3 mm further replaces the sample at 30.
    { 10.0, 4, 23.0, 10.0 },
    // At 6 mm: 0 .. 30 (6 samples), end 3 mm after 30 is not more than half a step.
    { 6.0, 6, 23.0, 10.0 },
    // At 8 mm: 0, 8, 16, 24 (= z 23, y 1), 32 and the end 1 mm further.
    { 8.0, 5, 23.0, 10.0 },
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.Distance);
    vtkNew<vtkPoints> sampled;
    vtkNew<vtkDoubleArray> pedigree;
    ASSERT_TRUE(
      vtkKOVAMarkupsCurveNode::ResamplePoints(line, sampled, c.Distance, false, pedigree));
    ASSERT_EQ(sampled->GetNumberOfPoints(), c.Count);
    EXPECT_EQ(pedigree->GetNumberOfTuples(), c.Count);
    const double* last = sampled->GetPoint(c.Count - 1);
    EXPECT_DOUBLE_EQ(last[2], c.LastZ);
    EXPECT_DOUBLE_EQ(last[1], c.LastY);
    EXPECT_DOUBLE_EQ(pedigree->GetValue(c.Count - 1), 3.0);
    // Inner samples are exactly one distance apart along the polyline.
    for (int i = 1; i + 1 < c.Count; ++i)
    {
      EXPECT_NEAR(pedigree->GetValue(i) >= 0 ? 1 : 0, 1, 0);
    }
  }
  vtkNew<vtkPoints> sampled;
  vtkNew<vtkDoubleArray> pedigree;
  ASSERT_TRUE(vtkKOVAMarkupsCurveNode::ResamplePoints(line, sampled, 10.0, false, pedigree));
  EXPECT_DOUBLE_EQ(sampled->GetPoint(1)[2], 10.0);
  EXPECT_DOUBLE_EQ(pedigree->GetValue(1), 10.0 / 23.0);
  EXPECT_DOUBLE_EQ(sampled->GetPoint(2)[2], 20.0);

  // A short open curve keeps both ends; a closed square is sampled all round.
  vtkNew<vtkPoints> shortLine;
  shortLine->InsertNextPoint(0, 0, 0);
  shortLine->InsertNextPoint(0, 0, 2);
  ASSERT_TRUE(vtkKOVAMarkupsCurveNode::ResamplePoints(shortLine, sampled, 10.0, false));
  EXPECT_EQ(sampled->GetNumberOfPoints(), 2);
  vtkNew<vtkPoints> square;
  square->InsertNextPoint(0, 0, 0);
  square->InsertNextPoint(10, 0, 0);
  square->InsertNextPoint(10, 10, 0);
  square->InsertNextPoint(0, 10, 0);
  ASSERT_TRUE(vtkKOVAMarkupsCurveNode::ResamplePoints(square, sampled, 5.0, true));
  EXPECT_EQ(sampled->GetNumberOfPoints(), 8);

  vtkNew<vtkPoints> empty;
  EXPECT_FALSE(vtkKOVAMarkupsCurveNode::ResamplePoints(empty, sampled, 1.0, false));
  EXPECT_FALSE(vtkKOVAMarkupsCurveNode::ResamplePoints(line, sampled, 0.0, false));
  EXPECT_FALSE(vtkKOVAMarkupsCurveNode::ResamplePoints(nullptr, sampled, 1.0, false));
}

TEST(vtkKOVAMarkupsNode, ControlPointsSurviveSceneFileRoundTrip)
{
  vtkNew<vtkKOVAScene> scene;
  auto* curve =
    vtkKOVAMarkupsCurveNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAMarkupsCurveNode"));
  curve->SetNumberOfPointsPerInterpolatingSegment(3);
  curve->AddControlPoint(vtkVector3d(1.5, -2.25, 1e-7), "first | odd; label %");
  curve->AddControlPoint(vtkVector3d(4, 5, 6));
  curve->SetNthControlPointPositionStatus(1, vtkKOVAMarkupsNode::PositionPreview);
  auto* line =
    vtkKOVAMarkupsLineNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAMarkupsLineNode"));
  const double start[3] = { 0, 0, 0 };
  const double end[3] = { 3, 4, 0 };
  line->SetLineStartPosition(start);
  line->SetLineEndPosition(end);

  vtkNew<vtkKOVAScene> read;
  ASSERT_TRUE(read->ReadFromXMLString(scene->WriteToXMLString()));
  auto* readCurve =
    vtkKOVAMarkupsCurveNode::SafeDownCast(read->GetFirstNodeByClass("vtkKOVAMarkupsCurveNode"));
  auto* readLine =
    vtkKOVAMarkupsLineNode::SafeDownCast(read->GetFirstNodeByClass("vtkKOVAMarkupsLineNode"));
  ASSERT_TRUE(readCurve && readLine);
  ASSERT_EQ(readCurve->GetNumberOfControlPoints(), 2);
  EXPECT_EQ(readCurve->GetNthControlPointLabel(0), "first | odd; label %");
  EXPECT_EQ(readCurve->GetNthControlPointPositionVector(0), vtkVector3d(1.5, -2.25, 1e-7));
  EXPECT_EQ(readCurve->GetNthControlPointPositionStatus(1), vtkKOVAMarkupsNode::PositionPreview);
  EXPECT_EQ(readCurve->GetNumberOfDefinedControlPoints(), 1);
  EXPECT_EQ(readCurve->GetNumberOfDefinedControlPoints(true), 2);
  EXPECT_EQ(readCurve->GetNumberOfPointsPerInterpolatingSegment(), 3);
  EXPECT_EQ(readCurve->GetCurveType(), vtkKOVAMarkupsNode::CurveTypeCardinalSpline);
  EXPECT_EQ(readLine->GetNumberOfControlPoints(), 2);
  EXPECT_DOUBLE_EQ(readLine->GetLineLengthWorld(), 5.0);
}

TEST(vtkKOVAMarkupsLineNode, HoldsAtMostTwoPoints)
{
  vtkNew<vtkKOVAMarkupsLineNode> line;
  EXPECT_EQ(line->GetRequiredNumberOfControlPoints(), 2);
  EXPECT_EQ(line->GetMaximumNumberOfControlPoints(), 2);
  EXPECT_STREQ(line->GetMarkupType(), "Line");
  EXPECT_STREQ(line->GetNodeTagName(), "MarkupsLine");
  EXPECT_EQ(line->GetCurveType(), vtkKOVAMarkupsNode::CurveTypeLinear);
  vtkKOVATestEventRecorder added(line, vtkKOVAMarkupsNode::PointAddedEvent);
  EXPECT_EQ(line->AddControlPoint(vtkVector3d(0, 0, 0)), 0);
  EXPECT_EQ(line->AddControlPoint(vtkVector3d(0, 0, 1)), 1);
  EXPECT_EQ(added.Count(), 2);
  vtkKOVATestErrorCapture errors;
  EXPECT_EQ(line->AddControlPoint(vtkVector3d(0, 0, 2)), -1);
  EXPECT_EQ(errors.GetNumberOfErrors(), 1);
  EXPECT_EQ(line->GetNumberOfControlPoints(), 2);
  EXPECT_EQ(line->GetCurvePoints()->GetNumberOfPoints(), 2);
  line->RemoveNthControlPoint(0);
  EXPECT_EQ(line->GetNumberOfControlPoints(), 1);
  line->RemoveNthControlPoint(5);
  EXPECT_EQ(errors.GetNumberOfErrors(), 2);
}
