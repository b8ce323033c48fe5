// The in-process "ResampleScalarVectorDWIVolume" module and the command-line module logic.

#include <vtkKOVACommandLineModuleNode.h>
#include <vtkKOVALabelMapVolumeNode.h>
#include <vtkKOVAScalarVolumeNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATransformNode.h>
#include <vtkVireonCLIModuleLogic.h>

#include <vtkCallbackCommand.h>
#include <vtkDataArray.h>
#include <vtkGeneralTransform.h>
#include <vtkImageData.h>
#include <vtkMatrix4x4.h>
#include <vtkNew.h>
#include <vtkOrientedGridTransform.h>
#include <vtkPointData.h>
#include <vtkSmartPointer.h>
#include <vtkTransform.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
/// Voxel value i + 10 j + 100 k (a linear function of position, which every interpolator
/// reproduces inside the volume).
vtkSmartPointer<vtkImageData> RampImage(int n, int type = VTK_FLOAT)
{
  auto image = vtkSmartPointer<vtkImageData>::New();
  image->SetDimensions(n, n, n);
  image->AllocateScalars(type, 1);
  for (int k = 0; k < n; ++k)
  {
    for (int j = 0; j < n; ++j)
    {
      for (int i = 0; i < n; ++i)
      {
        image->SetScalarComponentFromDouble(i, j, k, 0, i + 10.0 * j + 100.0 * k);
      }
    }
  }
  return image;
}

struct ModuleFixture
{
  ModuleFixture()
  {
    Logic->SetModuleName("ResampleScalarVectorDWIVolume");
    Logic->SetKOVAScene(Scene);
    Input = vtkKOVAScalarVolumeNode::SafeDownCast(
      Scene->AddNewNodeByClass("vtkKOVAScalarVolumeNode", "in"));
    Output = vtkKOVAScalarVolumeNode::SafeDownCast(
      Scene->AddNewNodeByClass("vtkKOVAScalarVolumeNode", "out"));
    Reference = vtkKOVAScalarVolumeNode::SafeDownCast(
      Scene->AddNewNodeByClass("vtkKOVAScalarVolumeNode", "ref"));
    Input->SetAndObserveImageData(RampImage(12));
    Input->SetOrigin(-10, 20, 5);
  }

  /// Runs the module; \a progress (optional) receives each progress the run reports.
  vtkKOVACommandLineModuleNode* Run(const std::map<std::string, std::string>& parameters,
    std::vector<double>* progress = nullptr)
  {
    vtkKOVACommandLineModuleNode* node = Logic->CreateNodeInScene();
    for (const auto& p : parameters)
    {
      EXPECT_TRUE(node->SetParameterAsString(p.first, p.second)) << p.first;
    }
    vtkNew<vtkCallbackCommand> recorder;
    recorder->SetClientData(progress);
    recorder->SetCallback(
      [](vtkObject*, unsigned long, void* clientData, void* callData) {
        static_cast<std::vector<double>*>(clientData)->push_back(*static_cast<double*>(callData));
      });
    if (progress)
    {
      node->AddObserver(vtkCommand::ProgressEvent, recorder);
    }
    Logic->ApplyAndWait(node, false);
    return node;
  }

  double OutputValue(int i, int j, int k)
  {
    return Output->GetImageData()->GetScalarComponentAsDouble(i, j, k, 0);
  }

  vtkNew<vtkKOVAScene> Scene;
  vtkNew<vtkVireonCLIModuleLogic> Logic;
  vtkKOVAScalarVolumeNode* Input = nullptr;
  vtkKOVAScalarVolumeNode* Output = nullptr;
  vtkKOVAScalarVolumeNode* Reference = nullptr;
};
}

TEST(ResampleScalarVectorDWIVolume, IdentityWithoutReferenceCopiesTheInput)
{
  ModuleFixture f;
  vtkKOVACommandLineModuleNode* node = f.Run({ { "inputVolume", f.Input->GetID() },
    { "outputVolume", f.Output->GetID() },
    { "interpolationType", "nn" } });
  ASSERT_EQ(node->GetStatus(), vtkKOVACommandLineModuleNode::Completed) << node->GetErrorText();
  EXPECT_EQ(node->GetStatus(), 32);
  ASSERT_NE(f.Output->GetImageData(), nullptr);
  int dims[3];
  f.Output->GetImageData()->GetDimensions(dims);
  EXPECT_EQ(dims[0], 12);
  EXPECT_EQ(f.Output->GetImageData()->GetScalarType(), VTK_FLOAT);
  EXPECT_DOUBLE_EQ(f.Output->GetOrigin()[0], -10.0);
  EXPECT_DOUBLE_EQ(f.OutputValue(3, 4, 5), 543.0);
  EXPECT_DOUBLE_EQ(f.OutputValue(11, 0, 11), 1111.0);
}

TEST(ResampleScalarVectorDWIVolume, EachInterpolatorSamplesThroughTheTransform)
{
  for (const char* interpolation : { "linear", "bs", "ws", "nn" })
  {
    SCOPED_TRACE(interpolation);
    ModuleFixture f;
    // Reference grid: 2 mm voxels, rotated 90 degrees about S, inside the input.
    vtkNew<vtkTransform> geometry;
    geometry->Translate(-10 + 8, 20 + 2, 5 + 3);
    geometry->RotateZ(90);
    geometry->Scale(2, 2, 2);
    f.Reference->SetIJKToRASMatrix(geometry->GetMatrix());
    vtkNew<vtkImageData> referenceImage;
    referenceImage->SetDimensions(3, 3, 3);
    referenceImage->AllocateScalars(VTK_UNSIGNED_CHAR, 1);
    f.Reference->SetAndObserveImageData(referenceImage);
    // Output point p samples the input at p + (0.5, 1, 0) (nn: whole voxels only).
    auto* transformNode =
      vtkKOVATransformNode::SafeDownCast(f.Scene->AddNewNodeByClass("vtkKOVATransformNode"));
    vtkNew<vtkTransform> shift;
    const bool nearest = std::string(interpolation) == "nn";
    shift->Translate(nearest ? 1.0 : 0.5, 1.0, 0.0);
    transformNode->SetAndObserveTransformFromParent(shift);

    vtkKOVACommandLineModuleNode* node = f.Run({ { "inputVolume", f.Input->GetID() },
      { "outputVolume", f.Output->GetID() },
      { "referenceVolume", f.Reference->GetID() },
      { "transformationFile", transformNode->GetID() },
      { "interpolationType", interpolation } });
    ASSERT_EQ(node->GetStatus(), vtkKOVACommandLineModuleNode::Completed) << node->GetErrorText();
    vtkNew<vtkMatrix4x4> ijkToRAS;
    f.Output->GetIJKToRASMatrix(ijkToRAS);
    EXPECT_NEAR(ijkToRAS->GetElement(1, 0), 2.0, 1e-12) << "the reference's geometry";
    for (int k = 0; k < 3; ++k)
    {
      for (int j = 0; j < 3; ++j)
      {
        for (int i = 0; i < 3; ++i)
        {
          // Input index of the sampled point: reference RAS + shift - input origin.
          const double x = 8 - 2 * j + (nearest ? 1.0 : 0.5);
          const double y = 2 + 2 * i + 1.0;
          const double z = 3 + 2 * k;
          // B-spline and sinc kernels see the mirrored border a few voxels away.
          const double tolerance =
            nearest ? 1e-9 : (std::string(interpolation) == "linear" ? 1e-3 : 0.05);
          EXPECT_NEAR(f.OutputValue(i, j, k), x + 10 * y + 100 * z, tolerance)
            << i << " " << j << " " << k;
        }
      }
    }
  }
}

TEST(ResampleScalarVectorDWIVolume, NonLinearTransformOnRotatedAndAlignedInputs)
{
  // A displacement grid that moves every point by (0.5, 1, 0): the same samples as a shift.
  for (bool rotatedInput : { false, true })
  {
    SCOPED_TRACE(rotatedInput);
    ModuleFixture f;
    vtkNew<vtkTransform> inputGeometry;
    inputGeometry->Translate(-10, 20, 5);
    if (rotatedInput)
    {
      inputGeometry->RotateZ(90);
    }
    f.Input->SetIJKToRASMatrix(inputGeometry->GetMatrix());
    vtkNew<vtkImageData> grid;
    grid->SetDimensions(2, 2, 2);
    grid->SetOrigin(-100, -100, -100);
    grid->SetSpacing(300, 300, 300);
    grid->AllocateScalars(VTK_DOUBLE, 3);
    for (vtkIdType i = 0; i < 8; ++i)
    {
      grid->GetPointData()->GetScalars()->SetTuple3(i, 0.5, 1.0, 0.0);
    }
    vtkNew<vtkOrientedGridTransform> displacement;
    displacement->SetDisplacementGridData(grid);
    displacement->SetInterpolationModeToLinear();
    auto* transformNode =
      vtkKOVATransformNode::SafeDownCast(f.Scene->AddNewNodeByClass("vtkKOVATransformNode"));
    transformNode->SetAndObserveTransformFromParent(displacement);
    vtkNew<vtkImageData> referenceImage;
    referenceImage->SetDimensions(3, 3, 3);
    referenceImage->AllocateScalars(VTK_FLOAT, 1);
    f.Reference->SetAndObserveImageData(referenceImage);
    vtkNew<vtkMatrix4x4> referenceGeometry;
    inputGeometry->GetMatrix(referenceGeometry);
    f.Reference->SetIJKToRASMatrix(referenceGeometry);
    vtkKOVACommandLineModuleNode* node = f.Run({ { "inputVolume", f.Input->GetID() },
      { "outputVolume", f.Output->GetID() },
      { "referenceVolume", f.Reference->GetID() },
      { "transformationFile", transformNode->GetID() },
      { "interpolationType", "linear" } });
    ASSERT_EQ(node->GetStatus(), vtkKOVACommandLineModuleNode::Completed) << node->GetErrorText();
    for (int k = 0; k < 3; ++k)
    {
      for (int j = 0; j < 3; ++j)
      {
        for (int i = 0; i < 3; ++i)
        {
          // The shift in the input's voxel axes: (0.5, 1) in RAS is (1, -0.5) when they are
          // rotated by 90 degrees.
          const double x = i + (rotatedInput ? 1.0 : 0.5);
          const double y = j + (rotatedInput ? -0.5 : 1.0);
          if (y < 0)
          {
            continue; // outside the input
          }
          EXPECT_NEAR(f.OutputValue(i, j, k), x + 10 * y + 100 * k, 1e-3) << i << j << k;
        }
      }
    }
  }
}

TEST(ResampleScalarVectorDWIVolume, IntegerOutputIsClampedAndOutsideIsZero)
{
  ModuleFixture f;
  vtkNew<vtkImageData> step;
  step->SetDimensions(8, 1, 1);
  step->AllocateScalars(VTK_UNSIGNED_CHAR, 1);
  for (int i = 0; i < 8; ++i)
  {
    step->SetScalarComponentFromDouble(i, 0, 0, 0, i < 4 ? 0 : 255);
  }
  f.Input->SetAndObserveImageData(step);
  f.Input->SetOrigin(0, 0, 0);
  vtkNew<vtkImageData> referenceImage;
  referenceImage->SetExtent(-4, 15, 0, 0, 0, 0);
  referenceImage->AllocateScalars(VTK_UNSIGNED_CHAR, 1);
  f.Reference->SetAndObserveImageData(referenceImage);
  f.Reference->SetSpacing(0.5, 1, 1);
  vtkKOVACommandLineModuleNode* node = f.Run({ { "inputVolume", f.Input->GetID() },
    { "outputVolume", f.Output->GetID() },
    { "referenceVolume", f.Reference->GetID() },
    { "interpolationType", "bs" } });
  ASSERT_EQ(node->GetStatus(), vtkKOVACommandLineModuleNode::Completed) << node->GetErrorText();
  vtkImageData* out = f.Output->GetImageData();
  EXPECT_EQ(out->GetScalarType(), VTK_UNSIGNED_CHAR);
  // Cubic B-spline rings at the step; the ringing must not wrap around the 0..255 range.
  for (int i = 0; i <= 15; ++i)
  {
    const double v = out->GetScalarComponentAsDouble(i, 0, 0, 0);
    if (i <= 5)
    {
      EXPECT_LT(v, 128) << i;
    }
    else if (i >= 8 && i <= 14)
    {
      EXPECT_GT(v, 128) << i;
    }
  }
  EXPECT_EQ(out->GetScalarComponentAsDouble(-4, 0, 0, 0), 0.0) << "outside the input";
}

TEST(ResampleScalarVectorDWIVolume, BadParametersCompleteWithErrors)
{
  ModuleFixture f;
  const struct
  {
    std::map<std::string, std::string> Parameters;
    const char* Error;
  } cases[] = {
    { { { "outputVolume", "vtkKOVAScalarVolumeNode2" } }, "inputVolume is not set" },
    { { { "inputVolume", "nope" }, { "outputVolume", "vtkKOVAScalarVolumeNode2" } },
      "inputVolume: no volume node with ID \"nope\"" },
    { { { "inputVolume", "vtkKOVAScalarVolumeNode1" } }, "outputVolume is not set" },
    { { { "inputVolume", "vtkKOVAScalarVolumeNode1" },
        { "outputVolume", "vtkKOVAScalarVolumeNode2" },
        { "transformationFile", "vtkKOVAScalarVolumeNode3" } },
      "transformationFile: no transform node with ID \"vtkKOVAScalarVolumeNode3\"" },
    { { { "inputVolume", "vtkKOVAScalarVolumeNode1" },
        { "outputVolume", "vtkKOVAScalarVolumeNode2" },
        { "interpolationType", "cubic" } },
      "interpolationType: unknown value \"cubic\" (expected nn, linear, ws or bs)" },
    { { { "inputVolume", "vtkKOVAScalarVolumeNode3" },
        { "outputVolume", "vtkKOVAScalarVolumeNode2" } },
      "inputVolume has no image data" },
  };
  ASSERT_STREQ(f.Input->GetID(), "vtkKOVAScalarVolumeNode1");
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.Error);
    vtkKOVACommandLineModuleNode* node = f.Run(c.Parameters);
    EXPECT_EQ(node->GetStatus(), vtkKOVACommandLineModuleNode::CompletedWithErrors);
    EXPECT_EQ(node->GetErrorText(), c.Error);
  }
  EXPECT_EQ(f.Output->GetImageData(), nullptr) << "a failed run leaves the output alone";

  vtkKOVACommandLineModuleNode* node = f.Logic->CreateNodeInScene();
  EXPECT_FALSE(node->SetParameterAsString("notAParameter", "1"));
  node->SetModuleName("NoSuchModule");
  EXPECT_FALSE(f.Logic->ApplyAndWait(node));
  EXPECT_EQ(node->GetStatusString(), std::string("CompletedWithErrors"));
  EXPECT_EQ(node->GetErrorText(), "module \"NoSuchModule\" is not available");
}

TEST(ResampleScalarVectorDWIVolume, StraighteningGridSlicesEqualTheTransformAtEveryVoxel)
{
  // A straightening-like grid (2 x 2 points per section, each section's displacement affine) and
  // a reference grid along its axes: the module resamples it slice by slice through each slice's
  // affine map. The same grid behind a general transform is evaluated at every voxel instead.
  // Both must agree up to interpolation rounding, also where the reference leaves the input.
  auto smooth = vtkSmartPointer<vtkImageData>::New();
  smooth->SetExtent(2, 31, -3, 24, 0, 25);
  smooth->AllocateScalars(VTK_SHORT, 1);
  for (int k = 0; k <= 25; ++k)
  {
    for (int j = -3; j <= 24; ++j)
    {
      for (int i = 2; i <= 31; ++i)
      {
        smooth->SetScalarComponentFromDouble(i,
          j,
          k,
          0,
          std::round(800 * std::sin(0.37 * i + 0.2 * j) + 600 * std::cos(0.29 * k - 0.31 * j)));
      }
    }
  }
  vtkNew<vtkTransform> inputGeometry;
  inputGeometry->Translate(3, -2, 7);
  inputGeometry->RotateWXYZ(20, 1, 1, 0);
  inputGeometry->Scale(1.0, 0.9, 1.2);

  // Grid axes: a rotation; sections 4 mm apart whose corners are displaced by a twist and a bend.
  vtkNew<vtkTransform> gridAxes;
  gridAxes->RotateWXYZ(35, 0.2, -1, 0.5);
  // The box is centred on the input's centre, shifted by 8 mm along its first axis so that the
  // reference leaves the input on one side.
  vtkNew<vtkImageData> grid;
  grid->SetDimensions(2, 2, 8);
  grid->SetSpacing(30, 26, 4);
  {
    const double centreIndex[3] = { 16.5, 10.5, 12.5 };
    double centre[3];
    inputGeometry->TransformPoint(centreIndex, centre);
    const double halfBox[3] = { 15 - 8, 13, 14 };
    double offset[3];
    gridAxes->TransformVector(halfBox, offset);
    grid->SetOrigin(centre[0] - offset[0], centre[1] - offset[1], centre[2] - offset[2]);
  }
  grid->AllocateScalars(VTK_DOUBLE, 3);
  for (int section = 0; section < 8; ++section)
  {
    const double twist = 0.08 * section;
    const double bend[3] = { 0.3 * section * section / 8.0, -0.2 * section, 0.1 * section };
    for (int j = 0; j < 2; ++j)
    {
      for (int t = 0; t < 2; ++t)
      {
        // Corner offsets in the grid's own axes turned by the twist, then into world axes.
        const double u = (t - 0.5) * 30, v = (j - 0.5) * 26;
        const double local[3] = { u * std::cos(twist) - v * std::sin(twist) - u + bend[0],
          u * std::sin(twist) + v * std::cos(twist) - v + bend[1],
          bend[2] };
        double world[3];
        gridAxes->TransformVector(local, world);
        grid->GetPointData()->GetScalars()->SetTuple(t + 2 * (j + 2 * section), world);
      }
    }
  }
  vtkNew<vtkOrientedGridTransform> straightening;
  straightening->SetDisplacementGridData(grid);
  straightening->SetGridDirectionMatrix(gridAxes->GetMatrix());
  straightening->SetInterpolationModeToLinear();
  vtkNew<vtkMatrix4x4> section;
  ASSERT_TRUE(straightening->GetSectionMatrix(2.5, section)) << "a grid of the sliced kind";
  vtkNew<vtkGeneralTransform> everyVoxel;
  everyVoxel->Concatenate(straightening);

  // The reference: the grid's box at 0.7 mm voxels (inside its first two extents).
  vtkNew<vtkMatrix4x4> referenceGeometry;
  referenceGeometry->DeepCopy(gridAxes->GetMatrix());
  for (int r = 0; r < 3; ++r)
  {
    for (int c = 0; c < 3; ++c)
    {
      referenceGeometry->SetElement(r, c, 0.7 * referenceGeometry->GetElement(r, c));
    }
    referenceGeometry->SetElement(r, 3, grid->GetOrigin()[r]);
  }
  for (const char* interpolation : { "nn", "linear", "bs", "ws" })
  {
    SCOPED_TRACE(interpolation);
    vtkSmartPointer<vtkImageData> results[2];
    std::vector<double> progress[2];
    for (int path = 0; path < 2; ++path)
    {
      ModuleFixture f;
      f.Input->SetAndObserveImageData(smooth);
      vtkNew<vtkMatrix4x4> inputMatrix;
      inputGeometry->GetMatrix(inputMatrix);
      f.Input->SetIJKToRASMatrix(inputMatrix);
      vtkNew<vtkImageData> referenceImage;
      referenceImage->SetExtent(0, 42, 0, 37, 0, 39);
      referenceImage->AllocateScalars(VTK_SHORT, 1);
      f.Reference->SetAndObserveImageData(referenceImage);
      f.Reference->SetIJKToRASMatrix(referenceGeometry);
      auto* transformNode =
        vtkKOVATransformNode::SafeDownCast(f.Scene->AddNewNodeByClass("vtkKOVATransformNode"));
      transformNode->SetAndObserveTransformFromParent(
        path == 0 ? static_cast<vtkAbstractTransform*>(straightening) : everyVoxel);
      vtkKOVACommandLineModuleNode* node = f.Run({ { "inputVolume", f.Input->GetID() },
        { "outputVolume", f.Output->GetID() },
        { "referenceVolume", f.Reference->GetID() },
        { "transformationFile", transformNode->GetID() },
        { "interpolationType", interpolation } });
      ASSERT_EQ(node->GetStatus(), vtkKOVACommandLineModuleNode::Completed) << node->GetErrorText();
      results[path] = f.Output->GetImageData();
    }
    // The transform evaluated at each voxel takes grid index fractions to 2^-16: sample points
    // move by up to about 1e-3 mm, which changes a value by up to a few units on this data (of
    // +-1400) and picks another voxel for the odd point half-way between two.
    vtkDataArray* sliced = results[0]->GetPointData()->GetScalars();
    vtkDataArray* perVoxel = results[1]->GetPointData()->GetScalars();
    ASSERT_EQ(sliced->GetNumberOfTuples(), perVoxel->GetNumberOfTuples());
    vtkIdType differing = 0, zeros = 0, values = 0;
    for (vtkIdType id = 0; id < sliced->GetNumberOfTuples(); ++id)
    {
      const double a = sliced->GetComponent(id, 0);
      const double b = perVoxel->GetComponent(id, 0);
      differing += std::abs(a - b) > 3.0 ? 1 : 0;
      zeros += b == 0.0 ? 1 : 0;
      values += b != 0.0 ? 1 : 0;
    }
    EXPECT_LE(differing, sliced->GetNumberOfTuples() / 2000) << differing << " voxels differ";
    // The reference runs out of the input on some sides: both parts are exercised.
    EXPECT_GT(zeros, sliced->GetNumberOfTuples() / 10);
    EXPECT_GT(values, sliced->GetNumberOfTuples() / 4);
  }
}
