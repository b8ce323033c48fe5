#include <vtkExtraMathUtilities.h>
#include <vtkOrientedGridTransform.h>
#include <vtkParallelTransportFrame.h>

#include <vtkCellArray.h>
#include <vtkDataArray.h>
#include <vtkImageData.h>
#include <vtkMath.h>
#include <vtkMatrix4x4.h>
#include <vtkNew.h>
#include <vtkPlane.h>
#include <vtkPointData.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkSmartPointer.h>
#include <vtkTransform.h>

#include <gtest/gtest.h>

#include <cmath>

TEST(vtkExtraMathUtilities, FitPlaneToPointsFindsCentroidAndNormal)
{
  // Points on the plane through (1, 2, 3) with normal (1, 1, 1)/sqrt(3), given in two orders.
  double u[3] = { 1, -1, 0 };
  double v[3] = { 1, 1, -2 };
  vtkMath::Normalize(u);
  vtkMath::Normalize(v);
  vtkNew<vtkPoints> points;
  vtkNew<vtkPoints> reversed;
  points->SetDataTypeToDouble();
  reversed->SetDataTypeToDouble();
  const double offsets[][2] = { { 0, 0 }, { 5, 1 }, { -3, 4 }, { 2, -6 }, { -4, -4 }, { 0, 5 } };
  double centroid[3] = { 0, 0, 0 };
  for (const auto& o : offsets)
  {
    double p[3];
    for (int k = 0; k < 3; ++k)
    {
      p[k] = (k + 1) + o[0] * u[k] + o[1] * v[k];
      centroid[k] += p[k] / 6.0;
    }
    points->InsertNextPoint(p);
  }
  for (vtkIdType i = points->GetNumberOfPoints() - 1; i >= 0; --i)
  {
    reversed->InsertNextPoint(points->GetPoint(i));
  }
  for (vtkPoints* input : { points.GetPointer(), reversed.GetPointer() })
  {
    vtkNew<vtkPlane> plane;
    ASSERT_TRUE(vtkExtraMathUtilities::FitPlaneToPoints(input, plane));
    const double s = 1.0 / std::sqrt(3.0);
    EXPECT_NEAR(plane->GetNormal()[0], s, 1e-9);
    EXPECT_NEAR(plane->GetNormal()[1], s, 1e-9);
    EXPECT_NEAR(plane->GetNormal()[2], s, 1e-9);
    for (int k = 0; k < 3; ++k)
    {
      EXPECT_NEAR(plane->GetOrigin()[k], centroid[k], 1e-9);
    }
  }

  vtkNew<vtkPlane> plane;
  vtkNew<vtkPoints> two;
  two->InsertNextPoint(0, 0, 0);
  two->InsertNextPoint(1, 0, 0);
  EXPECT_FALSE(vtkExtraMathUtilities::FitPlaneToPoints(two, plane));
  EXPECT_FALSE(vtkExtraMathUtilities::FitPlaneToPoints(nullptr, plane));
  EXPECT_FALSE(vtkExtraMathUtilities::FitPlaneToPoints(points, nullptr));
}

namespace
{
vtkSmartPointer<vtkPolyData> Polyline(const std::vector<std::array<double, 3>>& points)
{
  auto polyData = vtkSmartPointer<vtkPolyData>::New();
  vtkNew<vtkPoints> p;
  vtkNew<vtkCellArray> lines;
  lines->InsertNextCell(static_cast<int>(points.size()));
  for (const auto& point : points)
  {
    lines->InsertCellPoint(p->InsertNextPoint(point.data()));
  }
  polyData->SetPoints(p);
  polyData->SetLines(lines);
  return polyData;
}
}

TEST(vtkParallelTransportFrame, FramesAreOrthonormalAndFollowThePreferredNormal)
{
  // A helix: the frame must stay orthonormal and turn smoothly.
  std::vector<std::array<double, 3>> helix;
  for (int i = 0; i < 100; ++i)
  {
    const double a = 0.1 * i;
    helix.push_back({ 20 * std::cos(a), 20 * std::sin(a), 3.0 * a });
  }
  vtkNew<vtkParallelTransportFrame> frames;
  frames->SetInputData(Polyline(helix));
  frames->SetPreferredInitialNormalVector(0, 0, 1);
  frames->Update();
  vtkPointData* pd = frames->GetOutput()->GetPointData();
  vtkDataArray* t = pd->GetArray(frames->GetTangentsArrayName());
  vtkDataArray* n = pd->GetArray(frames->GetNormalsArrayName());
  vtkDataArray* b = pd->GetArray(frames->GetBinormalsArrayName());
  ASSERT_TRUE(t && n && b);
  EXPECT_STREQ(frames->GetNormalsArrayName(), "Normals");
  EXPECT_STREQ(frames->GetBinormalsArrayName(), "Binormals");
  for (vtkIdType i = 0; i < 100; ++i)
  {
    double ti[3], ni[3], bi[3], cross[3];
    t->GetTuple(i, ti);
    n->GetTuple(i, ni);
    b->GetTuple(i, bi);
    EXPECT_NEAR(vtkMath::Norm(ni), 1.0, 1e-9);
    EXPECT_NEAR(vtkMath::Dot(ti, ni), 0.0, 1e-9);
    vtkMath::Cross(ti, ni, cross);
    for (int k = 0; k < 3; ++k)
    {
      EXPECT_NEAR(bi[k], cross[k], 1e-9);
    }
    if (i > 0)
    {
      double previous[3];
      n->GetTuple(i - 1, previous);
      EXPECT_GT(vtkMath::Dot(previous, ni), 0.99) << "no twist between neighbouring points";
    }
  }
  // The first normal is the preferred one made perpendicular to the first tangent.
  double t0[3], n0[3];
  t->GetTuple(0, t0);
  n->GetTuple(0, n0);
  double expected[3] = { 0, 0, 1 };
  const double dot = vtkMath::Dot(expected, t0);
  for (int k = 0; k < 3; ++k)
  {
    expected[k] -= dot * t0[k];
  }
  vtkMath::Normalize(expected);
  for (int k = 0; k < 3; ++k)
  {
    EXPECT_NEAR(n0[k], expected[k], 1e-9);
  }

  // On a straight line the normal stays the preferred direction.
  frames->SetInputData(Polyline({ { 0, 0, 0 }, { 0, 0, 10 }, { 0, 0, 20 } }));
  frames->SetPreferredInitialNormalVector(1, 0, 0);
  frames->Update();
  double last[3];
  frames->GetOutput()->GetPointData()->GetArray("Normals")->GetTuple(2, last);
  EXPECT_NEAR(last[0], 1.0, 1e-12);
  frames->GetOutput()->GetPointData()->GetArray("Binormals")->GetTuple(2, last);
  EXPECT_NEAR(last[1], 1.0, 1e-12);
}

namespace
{
/// A 2 x 2 x 3 grid with rotated axes and a known displacement at every grid point.
vtkSmartPointer<vtkOrientedGridTransform> RotatedGrid()
{
  vtkNew<vtkImageData> grid;
  grid->SetDimensions(2, 2, 3);
  grid->SetSpacing(10, 20, 5);
  grid->SetOrigin(1, 2, 3);
  grid->AllocateScalars(VTK_DOUBLE, 3);
  for (vtkIdType i = 0; i < grid->GetNumberOfPoints(); ++i)
  {
    const double d[3] = { 0.5 * static_cast<double>(i % 3), -1.0, 0.25 * static_cast<double>(i) };
    grid->GetPointData()->GetScalars()->SetTuple(i, d);
  }
  vtkNew<vtkTransform> rotation;
  rotation->RotateWXYZ(30, 1, 2, 3);
  auto transform = vtkSmartPointer<vtkOrientedGridTransform>::New();
  transform->SetDisplacementGridData(grid);
  transform->SetGridDirectionMatrix(rotation->GetMatrix());
  transform->SetInterpolationModeToLinear();
  return transform;
}
}

TEST(vtkOrientedGridTransform, GridPointsMoveByTheirDisplacementThroughTheDirectionMatrix)
{
  vtkSmartPointer<vtkOrientedGridTransform> transform = RotatedGrid();
  vtkMatrix4x4* direction = transform->GetGridDirectionMatrix();
  vtkImageData* grid = transform->GetDisplacementGrid();
  for (int k = 0; k < 3; ++k)
  {
    for (int j = 0; j < 2; ++j)
    {
      for (int i = 0; i < 2; ++i)
      {
        const double index[3] = { i * 10.0, j * 20.0, k * 5.0 };
        double p[3];
        for (int r = 0; r < 3; ++r)
        {
          p[r] = 1.0 * (r == 0) + 2.0 * (r == 1) + 3.0 * (r == 2);
          for (int c = 0; c < 3; ++c)
          {
            p[r] += direction->GetElement(r, c) * index[c];
          }
        }
        double displacement[3];
        grid->GetPointData()->GetScalars()->GetTuple(i + 2 * (j + 2 * k), displacement);
        double mapped[3];
        transform->TransformPoint(p, mapped);
        for (int r = 0; r < 3; ++r)
        {
          EXPECT_NEAR(mapped[r], p[r] + displacement[r], 1e-9);
        }
      }
    }
  }
}

TEST(vtkOrientedGridTransform, InverseUndoesForwardAlsoAfterCopying)
{
  vtkSmartPointer<vtkOrientedGridTransform> transform = RotatedGrid();
  vtkAbstractTransform* inverse = transform->GetInverse();
  vtkSmartPointer<vtkAbstractTransform> copy;
  copy.TakeReference(transform->MakeTransform());
  copy->DeepCopy(transform);
  ASSERT_TRUE(copy->IsA("vtkOrientedGridTransform"));
  const double points[][3] = { { 5, 10, 8 }, { 3, 3, 3 }, { -2, 15, 12 } };
  for (const auto& p : points)
  {
    double forward[3], back[3], copied[3];
    transform->TransformPoint(p, forward);
    inverse->TransformPoint(forward, back);
    copy->TransformPoint(p, copied);
    for (int r = 0; r < 3; ++r)
    {
      EXPECT_NEAR(back[r], p[r], 1e-3);
      EXPECT_DOUBLE_EQ(copied[r], forward[r]);
    }
  }
}

TEST(vtkOrientedGridTransform, SectionMatrixIsTheTransformOnPlanesOfConstantGridIndex)
{
  // Each section's displacement affine across the grid (a + t b + j c, different per section):
  // on the plane of any third grid index, inside the first two extents, the transform equals
  // the section matrix; below and above the grid the end sections apply, as in the
  // interpolation.
  vtkSmartPointer<vtkOrientedGridTransform> transform = RotatedGrid();
  vtkImageData* grid = transform->GetDisplacementGrid();
  grid->SetExtent(3, 4, -2, -1, 5, 7); // the shortcut counts indices from the extent's start
  grid->AllocateScalars(VTK_DOUBLE, 3);
  for (int k = 0; k < 3; ++k)
  {
    const double a[3] = { 1.0 + k, -2.0 * k, 0.5 };
    const double b[3] = { 0.3, 1.0 - k, 2.0 * k };
    const double c[3] = { -0.7 * k, 0.2, 1.5 };
    for (int j = 0; j < 2; ++j)
    {
      for (int t = 0; t < 2; ++t)
      {
        const double d[3] = {
          a[0] + t * b[0] + j * c[0], a[1] + t * b[1] + j * c[1], a[2] + t * b[2] + j * c[2]
        };
        grid->GetPointData()->GetScalars()->SetTuple(t + 2 * (j + 2 * k), d);
      }
    }
  }
  grid->Modified();
  transform->SetDisplacementScale(1.5);
  transform->SetDisplacementShift(0.25);
  vtkMatrix4x4* direction = transform->GetGridDirectionMatrix();
  for (double k : { 2.0, 4.3, 5.0, 5.4, 6.0, 6.75, 7.0, 9.5 })
  {
    SCOPED_TRACE(k);
    vtkNew<vtkMatrix4x4> section;
    ASSERT_TRUE(transform->GetSectionMatrix(k, section));
    for (double t : { 3.0, 3.2, 3.9, 4.0 })
    {
      for (double j : { -2.0, -1.5, -1.0 })
      {
        const double index[3] = { t * 10.0, j * 20.0, k * 5.0 };
        double p[4] = { 1, 2, 3, 1 };
        for (int r = 0; r < 3; ++r)
        {
          for (int c = 0; c < 3; ++c)
          {
            p[r] += direction->GetElement(r, c) * index[c];
          }
        }
        double gridIndex[3];
        transform->TransformWorldToGridIndex(p, gridIndex);
        EXPECT_NEAR(gridIndex[0], t, 1e-12);
        EXPECT_NEAR(gridIndex[2], k, 1e-12);
        double expected[3], mapped[4];
        transform->TransformPoint(p, expected);
        section->MultiplyPoint(p, mapped);
        // VTK's grid interpolation takes the fractions of the grid index to 2^-16.
        for (int r = 0; r < 3; ++r)
        {
          EXPECT_NEAR(mapped[r], expected[r], 1e-3);
        }
      }
    }
  }

  // Sections that are not affine, a grid wider than two points, or cubic interpolation: no
  // shortcut.
  vtkNew<vtkMatrix4x4> untouched;
  EXPECT_FALSE(RotatedGrid()->GetSectionMatrix(0.5, untouched));
  grid->GetPointData()->GetScalars()->SetComponent(7, 1, 5.0);
  grid->Modified();
  EXPECT_FALSE(transform->GetSectionMatrix(0.5, untouched));
  vtkSmartPointer<vtkOrientedGridTransform> cubic = RotatedGrid();
  cubic->GetDisplacementGrid()->GetPointData()->GetScalars()->Fill(1.0);
  cubic->GetDisplacementGrid()->Modified();
  vtkNew<vtkMatrix4x4> section;
  EXPECT_TRUE(cubic->GetSectionMatrix(0.5, section));
  cubic->SetInterpolationModeToCubic();
  EXPECT_FALSE(cubic->GetSectionMatrix(0.5, untouched));
  vtkSmartPointer<vtkOrientedGridTransform> wide = RotatedGrid();
  wide->GetDisplacementGrid()->SetDimensions(3, 2, 2);
  wide->GetDisplacementGrid()->AllocateScalars(VTK_DOUBLE, 3);
  wide->GetDisplacementGrid()->GetPointData()->GetScalars()->Fill(1.0);
  EXPECT_FALSE(wide->GetSectionMatrix(0.5, untouched));
  EXPECT_TRUE(untouched->IsIdentity());
}
