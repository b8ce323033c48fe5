// Straightening transform and resampler registry of the curved planar reformat logic.

#include "vtkVireonGeneralizedReformatTestHelpers.h"

#include <vtkKOVAModelDisplayNode.h>
#include <vtkKOVAModelNode.h>
#include <vtkKOVAScalarVolumeNode.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkKOVATransformNode.h>
#include <vtkOrientedGridTransform.h>
#include <vtkParallelTransportFrame.h>

#include <vtkCellArray.h>
#include <vtkDataArray.h>
#include <vtkImageData.h>
#include <vtkMatrix4x4.h>
#include <vtkObjectFactory.h>
#include <vtkPointData.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkTransform.h>

#include <gtest/gtest.h>

namespace
{
const double SliceSize[2] = { 40.0, 30.0 };

vtkKOVATransformNode* AddTransformNode(vtkKOVAScene* scene)
{
  return vtkKOVATransformNode::SafeDownCast(
    scene->AddNewNodeByClass("vtkKOVATransformNode", "Straightening"));
}

vtkOrientedGridTransform* GridOf(vtkKOVATransformNode* node)
{
  return vtkOrientedGridTransform::SafeDownCast(node->GetTransformFromParent());
}

void Column(vtkMatrix4x4* m, int c, double v[3])
{
  for (int r = 0; r < 3; ++r)
  {
    v[r] = m->GetElement(r, c);
  }
}

#define EXPECT_VEC3_NEAR(a, b, tol)                                                                \
  do                                                                                               \
  {                                                                                                \
    EXPECT_NEAR((a)[0], (b)[0], tol);                                                              \
    EXPECT_NEAR((a)[1], (b)[1], tol);                                                              \
    EXPECT_NEAR((a)[2], (b)[2], tol);                                                              \
  } while (false)

}

//------------------------------------------------------------------------------
TEST(vtkVireonGeneralizedReformatLogic, NullArgumentsFailWithTheirMessageAndAddNothing)
{
  ReformatFixture f;
  vtkKOVAMarkupsCurveNode* curve = f.AddCurve({ { 0, 0, 0 }, { 0, 0, 50 }, { 0, 0, 100 } });
  vtkKOVATransformNode* transform = AddTransformNode(f.Scene);
  const int nodes = f.Scene->GetNumberOfNodes();
  vtkKOVATestErrorCapture errors;

  EXPECT_FALSE(f.Logic->ComputeStraighteningTransform(nullptr, curve, SliceSize, 1.0));
  EXPECT_FALSE(f.Logic->ComputeStraighteningTransform(transform, nullptr, SliceSize, 1.0));
  EXPECT_EQ(errors.GetErrorMessages(),
    (std::vector<std::string>{
      "ComputeStraighteningTransform: transformToStraightenedNode is nullptr",
      "ComputeStraighteningTransform: curveNode is nullptr" }));
  EXPECT_EQ(f.Scene->GetNumberOfNodes(), nodes);
  EXPECT_EQ(transform->GetTransformFromParent(), nullptr);
}

TEST(vtkVireonGeneralizedReformatLogic, ResamplingFailuresAndShortCurvesLeaveNoTemporaryNode)
{
  ReformatFixture f;
  vtkKOVATransformNode* transform = AddTransformNode(f.Scene);
  vtkKOVAMarkupsCurveNode* empty = f.AddCurve({});
  // 12 mm long: at spacing 2 (resampling every 10 mm) only 2 points come out.
  vtkKOVAMarkupsCurveNode* shortCurve = f.AddCurve({ { 0, 0, 0 }, { 0, 0, 12 } });
  const int nodes = f.Scene->GetNumberOfNodes();
  int added = 0;
  vtkNew<vtkCallbackCommand> counter;
  counter->SetClientData(&added);
  counter->SetCallback(
    [](vtkObject*, unsigned long, void* clientData, void*) { ++*static_cast<int*>(clientData); });
  f.Scene->AddObserver(vtkKOVAScene::NodeAddedEvent, counter);

  vtkKOVATestErrorCapture errors;
  EXPECT_FALSE(f.Logic->ComputeStraighteningTransform(transform, empty, SliceSize, 2.0));
  EXPECT_EQ(added, 0) << "a failed first resampling adds no node";
  EXPECT_FALSE(f.Logic->ComputeStraighteningTransform(transform, shortCurve, SliceSize, 2.0));
  EXPECT_EQ(added, 1);
  EXPECT_EQ(errors.GetErrorMessages(),
    (std::vector<std::string>{ "ComputeStraighteningTransform: Resampling curve failed",
      "ComputeStraighteningTransform: Not enough resampled curve points" }));
  EXPECT_EQ(f.Scene->GetNumberOfNodes(), nodes);
  EXPECT_EQ(f.CountNodesNamed("CurvedPlanarReformat_resampled_curve_temp"), 0);
}

TEST(vtkVireonGeneralizedReformatLogic, CurveWhoseEndsMeetHasNoAxes)
{
  ReformatFixture f;
  const double centre[3] = { 0, 0, 0 };
  for (bool stretching : { false, true })
  {
    SCOPED_TRACE(stretching);
    vtkKOVAMarkupsCurveNode* loop = f.AddCurve(ArcPoints(centre, 30, 0.0, 2.0 * vtkMath::Pi(), 13));
    vtkKOVATransformNode* transform = AddTransformNode(f.Scene);
    vtkKOVATestErrorCapture errors;
    EXPECT_FALSE(
      f.Logic->ComputeStraighteningTransform(transform, loop, SliceSize, 1.0, stretching));
    EXPECT_EQ(errors.GetErrorMessages(),
      (std::vector<std::string>{ "ComputeStraighteningTransform: cannot find the straightened "
                                 "axes (the curve's ends meet or the curve is degenerate)" }));
    EXPECT_EQ(transform->GetTransformFromParent(), nullptr);
    EXPECT_EQ(f.CountNodesNamed("CurvedPlanarReformat_resampled_curve_temp"), 0);
  }
}

TEST(vtkVireonGeneralizedReformatLogic, GridGeometryFollowsSliceSizeAndSpacing)
{
  ReformatFixture f;
  // A straight line along +Y, 100 mm.
  vtkKOVAMarkupsCurveNode* curve = f.AddCurve({ { 5, -50, 2 }, { 5, 0, 2 }, { 5, 50, 2 } });
  vtkKOVATransformNode* transform = AddTransformNode(f.Scene);
  const struct
  {
    double Spacing;
    int N;
  } cases[] = { { 2.0, 11 }, { 1.0, 21 }, { 0.5, 41 } };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.Spacing);
    ASSERT_TRUE(f.Logic->ComputeStraighteningTransform(transform, curve, SliceSize, c.Spacing));
    vtkOrientedGridTransform* grid = GridOf(transform);
    ASSERT_NE(grid, nullptr);
    vtkImageData* image = grid->GetDisplacementGrid();
    int dims[3];
    image->GetDimensions(dims);
    EXPECT_EQ(dims[0], 2);
    EXPECT_EQ(dims[1], 2);
    EXPECT_EQ(dims[2], c.N);
    double spacing[3];
    image->GetSpacing(spacing);
    EXPECT_DOUBLE_EQ(spacing[0], 40.0);
    EXPECT_DOUBLE_EQ(spacing[1], 30.0);
    EXPECT_DOUBLE_EQ(spacing[2], 5.0 * c.Spacing);
    EXPECT_EQ(image->GetScalarType(), VTK_DOUBLE);
    EXPECT_EQ(image->GetNumberOfScalarComponents(), 3);

    // Z runs along the line, the box is centred on it: origin = centre - w/2 X - h/2 Y - L/2 Z.
    vtkMatrix4x4* direction = grid->GetGridDirectionMatrix();
    double X[3], Y[3], Z[3];
    Column(direction, 0, X);
    Column(direction, 1, Y);
    Column(direction, 2, Z);
    const double expectedZ[3] = { 0, 1, 0 };
    EXPECT_VEC3_NEAR(Z, expectedZ, 1e-9);
    EXPECT_NEAR(vtkMath::Dot(X, Y), 0.0, 1e-9);
    double cross[3];
    vtkMath::Cross(X, Y, cross);
    EXPECT_VEC3_NEAR(cross, Z, 1e-9);
    double origin[3];
    image->GetOrigin(origin);
    for (int k = 0; k < 3; ++k)
    {
      const double centre[3] = { 5, 0, 2 };
      EXPECT_NEAR(origin[k], centre[k] - 20 * X[k] - 15 * Y[k] - 50 * Z[k], 1e-9);
    }
    // A straight line needs no displacement at all.
    vtkDataArray* displacements = image->GetPointData()->GetScalars();
    EXPECT_LT(displacements->GetMaxNorm(), 1e-9);
  }
  EXPECT_EQ(f.CountNodesNamed("CurvedPlanarReformat_resampled_curve_temp"), 0);
}

TEST(vtkVireonGeneralizedReformatLogic, GridPointsMapOntoTheCornersOfTheCrossSections)
{
  // Each grid point must map onto the corner of its cross-section around the curve, computed here
  // on its own: the curve's world points (stretched: moved along X onto the plane through the box
  // centre spanned by Y and Z) sampled every 5 x spacing, rotation-minimising frames along them
  // whose first normal follows the unrotated X, turned by the rotation (stretched: following X),
  // and corner C = P + (t - 1/2) w n + (j - 1/2) h b.
  ReformatFixture f;
  const double centre[3] = { 10, -20, 30 };
  const struct
  {
    const char* Name;
    std::vector<std::array<double, 3>> Points;
    bool Stretching;
    double Rotation;
  } cases[] = {
    { "arc", ArcPoints(centre, 60, 0.0, 2.0, 9), false, 0 },
    { "helix", HelixPoints(centre, 30, 40, 1.0, 13), false, 0 },
    { "helix rotated", HelixPoints(centre, 30, 40, 1.0, 13), false, 60 },
    { "helix stretched", HelixPoints(centre, 30, 40, 1.0, 13), true, 0 },
    { "helix stretched and rotated", HelixPoints(centre, 30, 40, 1.0, 13), true, -40 },
  };
  const double w = SliceSize[0];
  const double h = SliceSize[1];
  const double spacing = 1.0;
  const double d = 5.0 * spacing;
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.Name);
    vtkKOVAMarkupsCurveNode* curve = f.AddCurve(c.Points);
    vtkKOVATransformNode* transform = AddTransformNode(f.Scene);
    ASSERT_TRUE(f.Logic->ComputeStraighteningTransform(
      transform, curve, SliceSize, spacing, c.Stretching, c.Rotation));
    vtkOrientedGridTransform* grid = GridOf(transform);
    ASSERT_NE(grid, nullptr);
    vtkImageData* image = grid->GetDisplacementGrid();
    int dims[3];
    image->GetDimensions(dims);
    double origin[3];
    image->GetOrigin(origin);
    double X[3], Y[3], Z[3];
    Column(grid->GetGridDirectionMatrix(), 0, X);
    Column(grid->GetGridDirectionMatrix(), 1, Y);
    Column(grid->GetGridDirectionMatrix(), 2, Z);

    vtkNew<vtkPoints> curvePoints;
    curvePoints->SetDataTypeToDouble();
    curvePoints->DeepCopy(curve->GetCurvePointsWorld());
    if (c.Stretching)
    {
      const double offset = vtkMath::Dot(origin, X) + 0.5 * w; // the box centre's X coordinate
      for (vtkIdType id = 0; id < curvePoints->GetNumberOfPoints(); ++id)
      {
        double p[3];
        curvePoints->GetPoint(id, p);
        const double along = vtkMath::Dot(p, X) - offset;
        curvePoints->SetPoint(id, p[0] - along * X[0], p[1] - along * X[1], p[2] - along * X[2]);
      }
    }
    vtkNew<vtkPoints> sampled;
    sampled->SetDataTypeToDouble();
    ASSERT_TRUE(vtkKOVAMarkupsCurveNode::ResamplePoints(curvePoints, sampled, d, false));
    ASSERT_EQ(dims[2], sampled->GetNumberOfPoints());
    const double angle = vtkMath::RadiansFromDegrees(c.Stretching ? 0.0 : c.Rotation);
    const double cosine = std::cos(vtkMath::RadiansFromDegrees(c.Rotation));
    const double sine = std::sin(vtkMath::RadiansFromDegrees(c.Rotation));
    double initialNormal[3];
    for (int k = 0; k < 3; ++k)
    {
      initialNormal[k] = c.Stretching ? X[k] : cosine * X[k] - sine * Y[k];
    }
    vtkNew<vtkPolyData> polyline;
    polyline->SetPoints(sampled);
    vtkNew<vtkCellArray> lines;
    lines->InsertNextCell(static_cast<int>(sampled->GetNumberOfPoints()));
    for (vtkIdType id = 0; id < sampled->GetNumberOfPoints(); ++id)
    {
      lines->InsertCellPoint(id);
    }
    polyline->SetLines(lines);
    vtkNew<vtkParallelTransportFrame> frames;
    frames->SetInputData(polyline);
    frames->SetPreferredInitialNormalVector(initialNormal);
    frames->Update();
    vtkDataArray* normals = frames->GetOutput()->GetPointData()->GetArray("Normals");
    vtkDataArray* binormals = frames->GetOutput()->GetPointData()->GetArray("Binormals");
    ASSERT_NE(normals, nullptr);
    ASSERT_NE(binormals, nullptr);

    for (int i = 0; i < dims[2]; ++i)
    {
      double P[3], n0[3], b0[3];
      sampled->GetPoint(i, P);
      normals->GetTuple(i, n0);
      binormals->GetTuple(i, b0);
      double n[3], b[3];
      for (int k = 0; k < 3; ++k)
      {
        n[k] = std::cos(angle) * n0[k] + std::sin(angle) * b0[k];
        b[k] = -std::sin(angle) * n0[k] + std::cos(angle) * b0[k];
      }
      double corners[4][3];
      for (int j = 0; j < 2; ++j)
      {
        for (int t = 0; t < 2; ++t)
        {
          double S[3], C[3];
          for (int k = 0; k < 3; ++k)
          {
            S[k] = origin[k] + t * w * X[k] + j * h * Y[k] + i * d * Z[k];
            C[k] = P[k] + (t - 0.5) * w * n[k] + (j - 0.5) * h * b[k];
          }
          double mapped[3];
          grid->TransformPoint(S, mapped);
          EXPECT_VEC3_NEAR(mapped, C, 1e-6);
          std::copy(mapped, mapped + 3, corners[t + 2 * j]);
        }
      }
      // The four corners span a w x h rectangle centred on the i-th sampled point.
      double centreOfCorners[3];
      for (int k = 0; k < 3; ++k)
      {
        centreOfCorners[k] = 0.25 * (corners[0][k] + corners[1][k] + corners[2][k] + corners[3][k]);
      }
      EXPECT_VEC3_NEAR(centreOfCorners, P, 1e-6);
      double widthEdge[3], heightEdge[3];
      vtkMath::Subtract(corners[1], corners[0], widthEdge);
      vtkMath::Subtract(corners[2], corners[0], heightEdge);
      EXPECT_NEAR(vtkMath::Norm(widthEdge), w, 1e-6);
      EXPECT_NEAR(vtkMath::Norm(heightEdge), h, 1e-6);
      EXPECT_NEAR(vtkMath::Dot(widthEdge, heightEdge), 0.0, 1e-6);
    }
  }
}

TEST(vtkVireonGeneralizedReformatLogic, StretchingUsesTheFittedPlane)
{
  ReformatFixture f;
  // An arc in the plane z = 7: the plane normal is +Z, so Y = (0, 0, 1) and Z the end-to-end
  // direction.
  const double centre[3] = { 0, 0, 7 };
  vtkKOVAMarkupsCurveNode* curve = f.AddCurve(ArcPoints(centre, 50, 0.0, vtkMath::Pi(), 11));
  vtkKOVATransformNode* transform = AddTransformNode(f.Scene);
  ASSERT_TRUE(f.Logic->ComputeStraighteningTransform(transform, curve, SliceSize, 1.0, true));
  vtkMatrix4x4* direction = GridOf(transform)->GetGridDirectionMatrix();
  double X[3], Y[3], Z[3];
  Column(direction, 0, X);
  Column(direction, 1, Y);
  Column(direction, 2, Z);
  const double expectedY[3] = { 0, 0, 1 };
  const double expectedZ[3] = { -1, 0, 0 }; // from (50, 0) to (-50, 0)
  const double expectedX[3] = { 0, -1, 0 }; // normal x end-to-end direction
  EXPECT_VEC3_NEAR(Y, expectedY, 1e-9);
  EXPECT_VEC3_NEAR(Z, expectedZ, 1e-9);
  EXPECT_VEC3_NEAR(X, expectedX, 1e-9);
  // Flattened along X onto the plane of Y and Z, the arc becomes its 100 mm chord (not its
  // pi * r = 157 mm length).
  int dims[3];
  GridOf(transform)->GetDisplacementGrid()->GetDimensions(dims);
  EXPECT_NEAR((dims[2] - 1) * 5.0, 100.0, 5.0);
}

TEST(vtkVireonGeneralizedReformatLogic, RotationTurnsTheCrossSectionAxes)
{
  ReformatFixture f;
  const double centre[3] = { 0, 0, 0 };
  vtkKOVAMarkupsCurveNode* curve = f.AddCurve(ArcPoints(centre, 50, 0.0, 1.5, 7));
  vtkKOVATransformNode* plain = AddTransformNode(f.Scene);
  vtkKOVATransformNode* rotated = AddTransformNode(f.Scene);
  ASSERT_TRUE(f.Logic->ComputeStraighteningTransform(plain, curve, SliceSize, 1.0, false, 0.0));
  ASSERT_TRUE(f.Logic->ComputeStraighteningTransform(rotated, curve, SliceSize, 1.0, false, 90.0));
  double X0[3], Y0[3], Z0[3], X1[3], Y1[3], Z1[3];
  Column(GridOf(plain)->GetGridDirectionMatrix(), 0, X0);
  Column(GridOf(plain)->GetGridDirectionMatrix(), 1, Y0);
  Column(GridOf(plain)->GetGridDirectionMatrix(), 2, Z0);
  Column(GridOf(rotated)->GetGridDirectionMatrix(), 0, X1);
  Column(GridOf(rotated)->GetGridDirectionMatrix(), 1, Y1);
  Column(GridOf(rotated)->GetGridDirectionMatrix(), 2, Z1);
  const double minusX0[3] = { -X0[0], -X0[1], -X0[2] };
  EXPECT_VEC3_NEAR(X1, Y0, 1e-9);
  EXPECT_VEC3_NEAR(Y1, minusX0, 1e-9);
  EXPECT_VEC3_NEAR(Z1, Z0, 1e-9);
  int dims0[3], dims1[3];
  GridOf(plain)->GetDisplacementGrid()->GetDimensions(dims0);
  GridOf(rotated)->GetDisplacementGrid()->GetDimensions(dims1);
  EXPECT_EQ(std::vector<int>(dims0, dims0 + 3), std::vector<int>(dims1, dims1 + 3));
}

TEST(vtkVireonGeneralizedReformatLogic, ReslicingPlanesModelGetsOneRectanglePerPoint)
{
  ReformatFixture f;
  const double centre[3] = { 0, 0, 0 };
  vtkKOVAMarkupsCurveNode* curve = f.AddCurve(ArcPoints(centre, 50, 0.0, 1.5, 7));
  vtkKOVATransformNode* transform = AddTransformNode(f.Scene);
  auto* model =
    vtkKOVAModelNode::SafeDownCast(f.Scene->AddNewNodeByClass("vtkKOVAModelNode", "Planes"));
  ASSERT_EQ(model->GetDisplayNode(), nullptr);
  ASSERT_TRUE(
    f.Logic->ComputeStraighteningTransform(transform, curve, SliceSize, 1.0, false, 0.0, model));
  int dims[3];
  GridOf(transform)->GetDisplacementGrid()->GetDimensions(dims);
  vtkPolyData* planes = model->GetPolyData();
  ASSERT_NE(planes, nullptr);
  EXPECT_EQ(planes->GetNumberOfPolys(), dims[2]);
  EXPECT_EQ(planes->GetNumberOfPoints(), 4 * dims[2]);
  auto* display = vtkKOVAModelDisplayNode::SafeDownCast(model->GetDisplayNode());
  ASSERT_NE(display, nullptr);
  EXPECT_TRUE(display->GetVisibility());
  EXPECT_TRUE(display->GetVisibility2D());
  // The first rectangle's corners are the mapped corners of the first cross-section.
  double mapped[3];
  double origin[3];
  GridOf(transform)->GetDisplacementGrid()->GetOrigin(origin);
  GridOf(transform)->TransformPoint(origin, mapped);
  EXPECT_VEC3_NEAR(planes->GetPoint(0), mapped, 1e-6);

  // A second run keeps the model's display node.
  vtkKOVADisplayNode* firstDisplay = model->GetDisplayNode();
  ASSERT_TRUE(
    f.Logic->ComputeStraighteningTransform(transform, curve, SliceSize, 2.0, false, 0.0, model));
  EXPECT_EQ(model->GetDisplayNode(), firstDisplay);
  EXPECT_EQ(model->GetNumberOfDisplayNodes(), 1);
}

TEST(vtkVireonGeneralizedReformatLogic, PointsProjectedToPlane)
{
  ReformatFixture f;
  vtkNew<vtkPoints> in;
  in->InsertNextPoint(1, 2, 3);
  in->InsertNextPoint(-4, 5, -6);
  vtkNew<vtkPoints> out;
  vtkNew<vtkMatrix4x4> identity;
  ASSERT_TRUE(f.Logic->GetPointsProjectedToPlane(in, identity, out));
  ASSERT_EQ(out->GetNumberOfPoints(), 2);
  const double a[3] = { 1, 2, 0 };
  const double b[3] = { -4, 5, 0 };
  EXPECT_VEC3_NEAR(out->GetPoint(0), a, 1e-12);
  EXPECT_VEC3_NEAR(out->GetPoint(1), b, 1e-12);

  // A plane x = 10 (world-to-plane moves x to the third axis): points move along x onto it.
  vtkNew<vtkMatrix4x4> planeToWorld;
  const double elements[16] = { 0, 0, 1, 10, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1 };
  planeToWorld->DeepCopy(elements);
  vtkNew<vtkMatrix4x4> worldToPlane;
  vtkMatrix4x4::Invert(planeToWorld, worldToPlane);
  ASSERT_TRUE(f.Logic->GetPointsProjectedToPlane(in, worldToPlane, out));
  const double c[3] = { 10, 2, 3 };
  EXPECT_VEC3_NEAR(out->GetPoint(0), c, 1e-12);

  vtkKOVATestErrorCapture errors;
  EXPECT_FALSE(f.Logic->GetPointsProjectedToPlane(nullptr, nullptr, nullptr));
  EXPECT_FALSE(f.Logic->GetPointsProjectedToPlane(in, nullptr, nullptr));
  EXPECT_FALSE(f.Logic->GetPointsProjectedToPlane(in, identity, nullptr));
  EXPECT_EQ(errors.GetErrorMessages(),
    (std::vector<std::string>{ "GetPointsProjectedToPlane: pointsArrayIn is nullptr",
      "GetPointsProjectedToPlane: transformWorldToPlane is nullptr",
      "GetPointsProjectedToPlane: pointsArrayOut is nullptr" }));
}

TEST(vtkVireonGeneralizedReformatLogic, WithoutSceneFailsAfterResampling)
{
  vtkNew<vtkVireonGeneralizedReformatLogic> logic;
  vtkNew<vtkKOVAMarkupsCurveNode> curve;
  curve->AddControlPoint(vtkVector3d(0, 0, 0));
  curve->AddControlPoint(vtkVector3d(0, 0, 100));
  vtkNew<vtkKOVATransformNode> transform;
  vtkKOVATestErrorCapture errors;
  EXPECT_FALSE(logic->ComputeStraighteningTransform(transform, curve, SliceSize, 1.0));
  EXPECT_EQ(errors.GetErrorMessages(),
    (std::vector<std::string>{ "ComputeStraighteningTransform: the logic has no scene" }));
}

TEST(vtkVireonGeneralizedReformatLogic, CurveUnderAParentTransformIsStraightenedWhereItIs)
{
  // A curve whose node sits under a parent transform gives the same transform as a curve holding
  // the same world points directly, with and without stretching.
  ReformatFixture f;
  const double centre[3] = { 10, -20, 30 };
  const std::vector<std::array<double, 3>> world = HelixPoints(centre, 30, 40, 1.0, 13);
  const struct
  {
    const char* Name;
    double Translation[3];
    double Angle;
    double Axis[3];
  } parents[] = {
    { "translated", { 100, -40, 25 }, 0, { 0, 0, 1 } },
    { "rotated", { -30, 15, 60 }, 35, { 1, 2, -1 } },
  };
  for (const auto& parent : parents)
  {
    vtkNew<vtkTransform> toWorld;
    toWorld->Translate(parent.Translation);
    toWorld->RotateWXYZ(parent.Angle, parent.Axis);
    auto* parentNode =
      vtkKOVATransformNode::SafeDownCast(f.Scene->AddNewNodeByClass("vtkKOVATransformNode"));
    parentNode->SetAndObserveTransformToParent(toWorld);
    std::vector<std::array<double, 3>> local;
    for (const auto& p : world)
    {
      std::array<double, 3> q;
      toWorld->GetInverse()->TransformPoint(p.data(), q.data());
      local.push_back(q);
    }
    vtkKOVAMarkupsCurveNode* moved = f.AddCurve(local);
    ASSERT_TRUE(moved->SetAndObserveTransformNodeID(parentNode->GetID()));
    vtkKOVAMarkupsCurveNode* direct = f.AddCurve(world);
    for (bool stretching : { false, true })
    {
      SCOPED_TRACE(std::string(parent.Name) + (stretching ? " stretched" : ""));
      vtkKOVATransformNode* fromMoved = AddTransformNode(f.Scene);
      vtkKOVATransformNode* fromDirect = AddTransformNode(f.Scene);
      ASSERT_TRUE(
        f.Logic->ComputeStraighteningTransform(fromMoved, moved, SliceSize, 1.0, stretching, 20));
      ASSERT_TRUE(
        f.Logic->ComputeStraighteningTransform(fromDirect, direct, SliceSize, 1.0, stretching, 20));
      vtkImageData* a = GridOf(fromMoved)->GetDisplacementGrid();
      vtkImageData* b = GridOf(fromDirect)->GetDisplacementGrid();
      ASSERT_EQ(a->GetNumberOfPoints(), b->GetNumberOfPoints());
      EXPECT_VEC3_NEAR(a->GetOrigin(), b->GetOrigin(), 1e-6);
      for (int c = 0; c < 3; ++c)
      {
        double axisA[3], axisB[3];
        Column(GridOf(fromMoved)->GetGridDirectionMatrix(), c, axisA);
        Column(GridOf(fromDirect)->GetGridDirectionMatrix(), c, axisB);
        EXPECT_VEC3_NEAR(axisA, axisB, 1e-9);
      }
      for (vtkIdType id = 0; id < a->GetNumberOfPoints(); ++id)
      {
        EXPECT_VEC3_NEAR(a->GetPointData()->GetScalars()->GetTuple3(id),
          b->GetPointData()->GetScalars()->GetTuple3(id),
          1e-6);
      }
    }
  }
}
