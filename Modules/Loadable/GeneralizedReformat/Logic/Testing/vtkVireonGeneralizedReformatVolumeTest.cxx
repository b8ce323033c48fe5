// Resampler registry, the command-line-module resampler, straightening and projecting volumes.

#include "vtkVireonGeneralizedReformatTestHelpers.h"

#include "TubePhantom.h"

#include <vtkKOVACommandLineModuleNode.h>
#include <vtkKOVALabelMapVolumeNode.h>
#include <vtkKOVAScalarVectorDWIVolumeResampler.h>
#include <vtkKOVAScalarVolumeDisplayNode.h>
#include <vtkKOVAScalarVolumeNode.h>
#include <vtkKOVATestErrorCapture.h>
#include <vtkKOVATransformNode.h>
#include <vtkOrientedGridTransform.h>

#include <vtkGeneralTransform.h>
#include <vtkImageData.h>
#include <vtkMatrix4x4.h>
#include <vtkObjectFactory.h>
#include <vtkPointData.h>
#include <vtkTransform.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

namespace
{
/// Records the calls it receives.
class vtkRecordingResampler : public vtkKOVAAbstractVolumeResampler
{
public:
  static vtkRecordingResampler* New();
  vtkTypeMacro(vtkRecordingResampler, vtkKOVAAbstractVolumeResampler);
  bool Resample(vtkKOVAVolumeNode* input,
    vtkKOVAVolumeNode* output,
    vtkKOVATransformNode* transform,
    vtkKOVAVolumeNode* reference,
    int interpolationType,
    const ResamplingParameters& parameters) override
  {
    ++this->Calls;
    this->Input = input;
    this->Output = output;
    this->Transform = transform;
    this->Reference = reference;
    this->InterpolationType = interpolationType;
    this->ParameterCount = static_cast<int>(parameters.size());
    return this->Result;
  }
  int Calls = 0;
  vtkKOVAVolumeNode* Input = nullptr;
  vtkKOVAVolumeNode* Output = nullptr;
  vtkKOVATransformNode* Transform = nullptr;
  vtkKOVAVolumeNode* Reference = nullptr;
  int InterpolationType = 0;
  int ParameterCount = -1;
  bool Result = true;
};
vtkStandardNewMacro(vtkRecordingResampler);

const char* const Default = "ResampleScalarVectorDWIVolume";

vtkKOVAScalarVolumeNode* AddVolume(vtkKOVAScene* scene,
  const char* className = "vtkKOVAScalarVolumeNode",
  vtkImageData* image = nullptr)
{
  auto* volume = vtkKOVAScalarVolumeNode::SafeDownCast(scene->AddNewNodeByClass(className));
  if (image)
  {
    volume->SetAndObserveImageData(image);
    volume->SetOrigin(image->GetOrigin());
    volume->SetSpacing(image->GetSpacing());
  }
  return volume;
}

vtkSmartPointer<vtkImageData> SmallImage(int type = VTK_SHORT)
{
  auto image = vtkSmartPointer<vtkImageData>::New();
  image->SetDimensions(4, 4, 4);
  image->AllocateScalars(type, 1);
  image->GetPointData()->GetScalars()->Fill(7);
  return image;
}

/// A transform node holding a straightening grid of the given geometry (zero displacements).
vtkKOVATransformNode* AddGridTransform(vtkKOVAScene* scene,
  const int dims[3],
  const double spacing[3],
  const double origin[3])
{
  vtkNew<vtkImageData> grid;
  grid->SetDimensions(dims);
  grid->SetSpacing(spacing);
  grid->SetOrigin(origin);
  grid->AllocateScalars(VTK_DOUBLE, 3);
  grid->GetPointData()->GetScalars()->Fill(0.0);
  vtkNew<vtkTransform> rotation;
  rotation->RotateX(90);
  vtkNew<vtkOrientedGridTransform> transform;
  transform->SetDisplacementGridData(grid);
  transform->SetGridDirectionMatrix(rotation->GetMatrix());
  auto* node = vtkKOVATransformNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVATransformNode"));
  node->SetAndObserveTransformFromParent(transform);
  return node;
}

int CountCommandLineNodes(vtkKOVAScene* scene)
{
  return scene->GetNumberOfNodesByClass("vtkKOVACommandLineModuleNode");
}
}

//------------------------------------------------------------------------------
TEST(vtkVireonGeneralizedReformatLogic, RegistryStartsWithTheCommandLineResampler)
{
  vtkNew<vtkVireonGeneralizedReformatLogic> logic;
  EXPECT_TRUE(logic->IsVolumeResamplerRegistered(Default));
  vtkKOVAAbstractVolumeResampler* builtIn = logic->GetVolumeResampler(Default);
  ASSERT_NE(builtIn, nullptr);
  EXPECT_STREQ(builtIn->GetClassName(), "vtkKOVAScalarVectorDWIVolumeResampler");
  EXPECT_EQ(builtIn->GetReferenceCount(), 1) << "the registry holds the only reference";
  EXPECT_EQ(builtIn->GetKOVAApplicationLogic(), nullptr);
  EXPECT_FALSE(logic->IsVolumeResamplerRegistered("resamplescalarvectordwivolume"));
  EXPECT_EQ(logic->GetVolumeResampler("nothing"), nullptr);
}

TEST(vtkVireonGeneralizedReformatLogic, RegistrationRules)
{
  vtkNew<vtkVireonGeneralizedReformatLogic> logic;
  vtkNew<vtkRecordingResampler> recorder;
  vtkKOVATestErrorCapture errors;

  logic->RegisterVolumeResampler("", recorder);
  EXPECT_EQ(errors.GetErrorMessages(),
    (std::vector<std::string>{ "RegisterVolumeResampler: invalid sampler name." }));
  EXPECT_FALSE(logic->IsVolumeResamplerRegistered(""));
  EXPECT_EQ(recorder->GetReferenceCount(), 1);

  // The first registration stays.
  vtkKOVAAbstractVolumeResampler* builtIn = logic->GetVolumeResampler(Default);
  logic->RegisterVolumeResampler(Default, recorder);
  EXPECT_EQ(logic->GetVolumeResampler(Default), builtIn);
  EXPECT_EQ(recorder->GetReferenceCount(), 1);
  logic->UnregisterVolumeResampler(Default);
  EXPECT_FALSE(logic->IsVolumeResamplerRegistered(Default));
  logic->RegisterVolumeResampler(Default, recorder);
  EXPECT_EQ(recorder->GetReferenceCount(), 2);
  const vtkKOVAAbstractVolumeResampler::ResamplingParameters parameters;
  EXPECT_TRUE(logic->ResampleVolume(Default, nullptr, nullptr, nullptr, nullptr, 3, parameters));
  EXPECT_EQ(recorder->Calls, 1);
  EXPECT_EQ(recorder->InterpolationType, 3);

  // A null resampler counts as registered but cannot resample.
  logic->RegisterVolumeResampler("x", nullptr);
  EXPECT_TRUE(logic->IsVolumeResamplerRegistered("x"));
  EXPECT_EQ(logic->GetVolumeResampler("x"), nullptr);
  errors.Clear();
  EXPECT_FALSE(logic->ResampleVolume("x", nullptr, nullptr, nullptr, nullptr, 1, parameters));
  EXPECT_EQ(errors.GetErrorMessages(),
    (std::vector<std::string>{ "ResampleVolume: resampler not registered x" }));
  logic->UnregisterVolumeResampler("never registered");
  EXPECT_EQ(errors.GetNumberOfErrors(), 1);

  logic->UnregisterVolumeResampler(Default);
  EXPECT_EQ(recorder->GetReferenceCount(), 1) << "unregistering releases the resampler";
}

TEST(vtkVireonGeneralizedReformatLogic, CommandLineResamplerNeedsTheApplicationLogicAndModule)
{
  ReformatFixture f;
  vtkKOVAAbstractVolumeResampler* resampler = f.Logic->GetVolumeResampler(Default);
  vtkKOVAScalarVolumeNode* input = AddVolume(f.Scene, "vtkKOVAScalarVolumeNode", SmallImage());
  vtkKOVAScalarVolumeNode* output = AddVolume(f.Scene);
  const vtkKOVAAbstractVolumeResampler::ResamplingParameters none;
  vtkKOVATestErrorCapture errors;

  EXPECT_FALSE(resampler->Resample(input, output, nullptr, nullptr, 2, none));
  EXPECT_EQ(errors.GetErrorMessages().back(), "Resample: KOVA application logic is not available");

  vtkNew<vtkKOVAApplicationLogic> withoutModule;
  resampler->SetKOVAApplicationLogic(withoutModule);
  EXPECT_FALSE(resampler->Resample(input, output, nullptr, nullptr, 2, none));
  EXPECT_EQ(errors.GetErrorMessages().back(),
    "Resample: ResampleScalarVectorDWIVolume module logic is not available");

  // A command-line module logic without a scene cannot create its node.
  vtkNew<vtkVireonCLIModuleLogic> sceneless;
  sceneless->SetModuleName(Default);
  withoutModule->SetModuleLogic(Default, sceneless);
  EXPECT_FALSE(resampler->Resample(input, output, nullptr, nullptr, 2, none));
  EXPECT_EQ(errors.GetErrorMessages().back(),
    "Resample: Failed to create ResampleScalarVectorDWIVolume node");
  withoutModule->SetModuleLogic(Default, nullptr);

  f.ConnectDefaultResampler();
  const vtkKOVAAbstractVolumeResampler::ResamplingParameters oneEntry{ { "a", "b" } };
  const struct
  {
    vtkKOVAVolumeNode* Input;
    vtkKOVAVolumeNode* Output;
    const vtkKOVAAbstractVolumeResampler::ResamplingParameters* Parameters;
    const char* Message;
  } failures[] = {
    { nullptr, output, &none, "Resample: Input volume node is not set" },
    { input, nullptr, &none, "Resample: Output volume node is not set" },
    { input, output, &oneEntry, "Resample: resamplingParameter is not currently supported" },
    // The module's own error text is passed on.
    { output, input, &none, "Resample: inputVolume has no image data" },
  };
  for (const auto& c : failures)
  {
    SCOPED_TRACE(c.Message);
    errors.Clear();
    EXPECT_FALSE(resampler->Resample(c.Input, c.Output, nullptr, nullptr, 2, *c.Parameters));
    EXPECT_EQ(errors.GetErrorMessages().back(), c.Message);
    EXPECT_EQ(CountCommandLineNodes(f.Scene), 0) << "the run node is removed on every exit";
  }

  errors.Clear();
  EXPECT_TRUE(resampler->Resample(input, output, nullptr, nullptr, 2, none));
  EXPECT_EQ(errors.GetNumberOfErrors(), 0);
  EXPECT_EQ(CountCommandLineNodes(f.Scene), 0);
  EXPECT_EQ(output->GetImageData()->GetScalarComponentAsDouble(1, 2, 3, 0), 7.0);
}

TEST(vtkVireonGeneralizedReformatLogic, CommandLineResamplerParameters)
{
  // A module under the built-in name that records the parameters it is given.
  std::vector<std::map<std::string, std::string>> runs;
  vtkVireonCLIModuleLogic::RegisterModule("RecordingResample",
    vtkVireonCLIModuleLogic::GetModuleParameterNames(Default),
    [&runs](vtkKOVACommandLineModuleNode* node, vtkKOVAScene*, std::string&)
    {
      std::map<std::string, std::string> parameters;
      for (const std::string& name : node->GetParameterNames())
      {
        parameters[name] = node->GetParameterAsString(name);
      }
      runs.push_back(parameters);
      return true;
    });
  ReformatFixture f;
  f.CLILogic->SetModuleName("RecordingResample");
  f.ConnectDefaultResampler();
  vtkKOVAAbstractVolumeResampler* resampler = f.Logic->GetVolumeResampler(Default);
  vtkKOVAScalarVolumeNode* input = AddVolume(f.Scene);
  vtkKOVAScalarVolumeNode* output = AddVolume(f.Scene);
  vtkKOVAScalarVolumeNode* reference = AddVolume(f.Scene);
  auto* transform =
    vtkKOVATransformNode::SafeDownCast(f.Scene->AddNewNodeByClass("vtkKOVATransformNode"));
  const vtkKOVAAbstractVolumeResampler::ResamplingParameters none;

  const char* expected[] = { nullptr, "nn", "linear", "ws", "bs", nullptr };
  for (int type = 0; type <= 5; ++type)
  {
    SCOPED_TRACE(type);
    ASSERT_TRUE(resampler->Resample(input, output, transform, reference, type, none));
    const auto& run = runs.back();
    EXPECT_EQ(run.at("inputVolume"), input->GetID());
    EXPECT_EQ(run.at("outputVolume"), output->GetID());
    EXPECT_EQ(run.at("transformationFile"), transform->GetID());
    EXPECT_EQ(run.at("referenceVolume"), reference->GetID());
    if (expected[type])
    {
      EXPECT_EQ(run.at("interpolationType"), expected[type]);
    }
    else
    {
      EXPECT_EQ(run.count("interpolationType"), 0u);
    }
  }
  ASSERT_TRUE(resampler->Resample(input, output, nullptr, nullptr, 1, none));
  EXPECT_EQ(runs.back().count("transformationFile"), 0u);
  EXPECT_EQ(runs.back().count("referenceVolume"), 0u);
  EXPECT_EQ(CountCommandLineNodes(f.Scene), 0);
}

//------------------------------------------------------------------------------
TEST(vtkVireonGeneralizedReformatLogic, StraightenVolumeChecksItsArguments)
{
  ReformatFixture f;
  vtkKOVAScalarVolumeNode* input = AddVolume(f.Scene, "vtkKOVAScalarVolumeNode", SmallImage());
  vtkKOVAScalarVolumeNode* output = AddVolume(f.Scene);
  auto* linear =
    vtkKOVATransformNode::SafeDownCast(f.Scene->AddNewNodeByClass("vtkKOVATransformNode"));
  vtkNew<vtkTransform> shift;
  linear->SetAndObserveTransformFromParent(shift);
  const double spacing[3] = { 1, 1, 1 };
  vtkKOVATestErrorCapture errors;
  EXPECT_FALSE(f.Logic->StraightenVolume(nullptr, input, spacing, linear));
  EXPECT_FALSE(f.Logic->StraightenVolume(output, nullptr, spacing, linear));
  EXPECT_FALSE(f.Logic->StraightenVolume(output, input, spacing, nullptr));
  const std::vector<std::string> messages = errors.GetErrorMessages();
  EXPECT_EQ(messages,
    (std::vector<std::string>{ "StraightenVolume: outputStraightenedVolume is nullptr",
      "StraightenVolume: inputVolume is nullptr",
      "StraightenVolume: straighteningTransformNode is nullptr" }));
  errors.Clear();
  EXPECT_FALSE(f.Logic->StraightenVolume(output, input, spacing, linear));
  EXPECT_EQ(errors.GetErrorMessages().back(),
    "StraightenVolume: straightening transform must contain a vtkOrientedGridTransform from "
    "parent");

  // An input without image fails before anything is resampled or changed.
  const int dims[3] = { 2, 2, 21 };
  const double gridSpacing[3] = { 40, 30, 5 };
  const double origin[3] = { 1, 2, 3 };
  vtkKOVATransformNode* grid = AddGridTransform(f.Scene, dims, gridSpacing, origin);
  vtkKOVAScalarVolumeNode* empty = AddVolume(f.Scene);
  errors.Clear();
  EXPECT_FALSE(f.Logic->StraightenVolume(output, empty, spacing, grid));
  EXPECT_EQ(errors.GetErrorMessages(),
    (std::vector<std::string>{ "StraightenVolume: input volume must have image data" }));
  EXPECT_EQ(output->GetImageData(), nullptr);
  const double zero[3] = { 1, 0, 1 };
  errors.Clear();
  EXPECT_FALSE(f.Logic->StraightenVolume(output, input, zero, grid));
  EXPECT_EQ(errors.GetNumberOfErrors(), 1);
  EXPECT_EQ(output->GetImageData(), nullptr);
}

TEST(vtkVireonGeneralizedReformatLogic, StraightenVolumeRefusesVolumesNoImageHolds)
{
  // A 40 x 30 x 100 mm box: an output spacing of 1e-9 mm across would need 4e10 voxels along
  // axis 0, more than an image's extent can count; 1e-4 mm on every axis fits the extents but
  // needs 1.2e17 voxels, which cannot be allocated. Both fail before the output changes.
  ReformatFixture f;
  vtkKOVAScalarVolumeNode* input = AddVolume(f.Scene, "vtkKOVAScalarVolumeNode", SmallImage());
  vtkKOVAScalarVolumeNode* output = AddVolume(f.Scene);
  const int dims[3] = { 2, 2, 21 };
  const double gridSpacing[3] = { 40, 30, 5 };
  const double origin[3] = { 1, 2, 3 };
  vtkKOVATransformNode* grid = AddGridTransform(f.Scene, dims, gridSpacing, origin);
  const double tooFine[3] = { 1e-9, 1, 1 };
  vtkKOVATestErrorCapture errors;
  EXPECT_FALSE(f.Logic->StraightenVolume(output, input, tooFine, grid));
  EXPECT_EQ(errors.GetErrorMessages(),
    (std::vector<std::string>{ "StraightenVolume: the straightened volume would have 4e+10 "
                               "voxels along axis 0, more than an image holds" }));
  EXPECT_EQ(output->GetImageData(), nullptr);
#if !defined(__SANITIZE_ADDRESS__)
  // (AddressSanitizer ends the process on an allocation that large instead of failing it.)
  const double tooMany[3] = { 1e-4, 1e-4, 1e-4 };
  errors.Clear();
  EXPECT_FALSE(f.Logic->StraightenVolume(output, input, tooMany, grid));
  ASSERT_FALSE(errors.GetErrorMessages().empty());
  EXPECT_EQ(errors.GetErrorMessages().back().rfind(
              "StraightenVolume: cannot allocate the straightened volume (", 0),
    0u)
    << errors.GetErrorMessages().back();
  EXPECT_EQ(output->GetImageData(), nullptr);
#endif
}

TEST(vtkVireonGeneralizedReformatLogic, StraightenedGeometryAndUnregisteredResampler)
{
  ReformatFixture f;
  f.Logic->UnregisterVolumeResampler(Default);
  vtkKOVAScalarVolumeNode* input =
    AddVolume(f.Scene, "vtkKOVAScalarVolumeNode", SmallImage(VTK_FLOAT));
  vtkKOVAScalarVolumeNode* output = AddVolume(f.Scene);
  const int dims[3] = { 2, 2, 21 };
  const double gridSpacing[3] = { 40, 30, 5 };
  const double origin[3] = { 1, 2, 3 };
  vtkKOVATransformNode* grid = AddGridTransform(f.Scene, dims, gridSpacing, origin);
  const struct
  {
    double Spacing[3];
    int Extent[6];
  } cases[] = {
    { { 1, 1, 1 }, { 0, 39, 0, 29, 0, 99 } },
    { { 0.5, 0.5, 1 }, { 0, 79, 0, 59, 0, 99 } },
    { { 3, 7, 2.5 }, { 0, 12, 0, 3, 0, 39 } },
  };
  for (const auto& c : cases)
  {
    vtkKOVATestErrorCapture errors;
    EXPECT_FALSE(f.Logic->StraightenVolume(output, input, c.Spacing, grid));
    EXPECT_EQ(errors.GetErrorMessages(),
      (std::vector<std::string>{
        "StraightenVolume: failed to get CLI logic for module: ResampleScalarVectorDWIVolume" }));
    // The new geometry and allocated image stay on the output.
    ASSERT_NE(output->GetImageData(), nullptr);
    int extent[6];
    output->GetImageData()->GetExtent(extent);
    EXPECT_EQ(std::vector<int>(extent, extent + 6), std::vector<int>(c.Extent, c.Extent + 6));
    EXPECT_EQ(output->GetImageData()->GetScalarType(), VTK_FLOAT);
    vtkNew<vtkMatrix4x4> ijkToRAS;
    output->GetIJKToRASMatrix(ijkToRAS);
    // Direction (rotation about X by 90 degrees) scaled by the spacing, origin the grid origin.
    EXPECT_NEAR(ijkToRAS->GetElement(0, 0), c.Spacing[0], 1e-12);
    EXPECT_NEAR(ijkToRAS->GetElement(2, 1), c.Spacing[1], 1e-12);
    EXPECT_NEAR(ijkToRAS->GetElement(1, 2), -c.Spacing[2], 1e-12);
    EXPECT_NEAR(ijkToRAS->GetElement(0, 3), 1.0, 1e-12);
    EXPECT_NEAR(ijkToRAS->GetElement(2, 3), 3.0, 1e-12);
  }
}

TEST(vtkVireonGeneralizedReformatLogic, StraightenVolumeInterpolationByVolumeKind)
{
  ReformatFixture f;
  f.Logic->UnregisterVolumeResampler(Default);
  vtkNew<vtkRecordingResampler> recorder;
  f.Logic->RegisterVolumeResampler(Default, recorder);
  const int dims[3] = { 2, 2, 5 };
  const double gridSpacing[3] = { 10, 10, 5 };
  const double origin[3] = { 0, 0, 0 };
  vtkKOVATransformNode* grid = AddGridTransform(f.Scene, dims, gridSpacing, origin);
  const double spacing[3] = { 1, 1, 1 };
  vtkKOVAScalarVolumeNode* scalar = AddVolume(f.Scene, "vtkKOVAScalarVolumeNode", SmallImage());
  vtkKOVAScalarVolumeNode* label = AddVolume(f.Scene, "vtkKOVALabelMapVolumeNode", SmallImage());
  scalar->CreateDefaultDisplayNodes();
  auto* display = vtkKOVAScalarVolumeDisplayNode::SafeDownCast(scalar->GetDisplayNode());
  display->SetWindow(123);
  display->SetAutoWindowLevel(false);
  vtkKOVAScalarVolumeNode* output = AddVolume(f.Scene);

  ASSERT_TRUE(f.Logic->StraightenVolume(output, scalar, spacing, grid));
  EXPECT_EQ(recorder->InterpolationType, 4);
  EXPECT_EQ(recorder->Input, scalar);
  EXPECT_EQ(recorder->Output, output);
  EXPECT_EQ(recorder->Reference, output);
  EXPECT_EQ(recorder->Transform, grid);
  EXPECT_EQ(recorder->ParameterCount, 0);
  auto* outputDisplay = vtkKOVAScalarVolumeDisplayNode::SafeDownCast(output->GetDisplayNode());
  ASSERT_NE(outputDisplay, nullptr);
  EXPECT_EQ(outputDisplay->GetWindow(), 123);
  EXPECT_FALSE(outputDisplay->GetAutoWindowLevel());

  ASSERT_TRUE(f.Logic->StraightenVolume(output, label, spacing, grid));
  EXPECT_EQ(recorder->InterpolationType, 1);

  recorder->Result = false;
  vtkKOVATestErrorCapture errors;
  EXPECT_FALSE(f.Logic->StraightenVolume(output, scalar, spacing, grid));
  EXPECT_EQ(errors.GetErrorMessages().back(),
    "StraightenVolume: Failed to resample volume using ResampleScalarVectorDWIVolume");
}

//------------------------------------------------------------------------------
TEST(vtkVireonGeneralizedReformatLogic, ProjectVolumeMeans)
{
  ReformatFixture f;
  vtkNew<vtkImageData> image;
  image->SetDimensions(4, 3, 5);
  image->AllocateScalars(VTK_DOUBLE, 1);
  for (int k = 0; k < 5; ++k)
  {
    for (int j = 0; j < 3; ++j)
    {
      for (int i = 0; i < 4; ++i)
      {
        image->SetScalarComponentFromDouble(i, j, k, 0, i + 10.0 * j + 100.0 * k * k);
      }
    }
  }
  vtkKOVAScalarVolumeNode* input = AddVolume(f.Scene, "vtkKOVAScalarVolumeNode", image);
  vtkNew<vtkTransform> geometry;
  geometry->Translate(10, 20, 30);
  geometry->RotateY(90);
  geometry->Scale(0.5, 2, 3);
  input->SetIJKToRASMatrix(geometry->GetMatrix());
  vtkKOVAScalarVolumeNode* output = AddVolume(f.Scene);

  ASSERT_TRUE(f.Logic->ProjectVolume(output, input, 2));
  int dims[3];
  output->GetImageData()->GetDimensions(dims);
  EXPECT_EQ(std::vector<int>(dims, dims + 3), (std::vector<int>{ 4, 3, 1 }));
  // Mean of 100 k^2 over k = 0..4 is 600.
  EXPECT_DOUBLE_EQ(output->GetImageData()->GetScalarComponentAsDouble(3, 2, 0, 0), 3 + 20 + 600.0);
  // Same axes and spacing; the slice sits at the middle of the projected extent (k = 2).
  vtkNew<vtkMatrix4x4> in, out;
  input->GetIJKToRASMatrix(in);
  output->GetIJKToRASMatrix(out);
  for (int r = 0; r < 3; ++r)
  {
    for (int c = 0; c < 3; ++c)
    {
      EXPECT_NEAR(out->GetElement(r, c), in->GetElement(r, c), 1e-12);
    }
    EXPECT_NEAR(out->GetElement(r, 3), in->GetElement(r, 3) + 2 * in->GetElement(r, 2), 1e-12);
  }
  EXPECT_NE(output->GetDisplayNode(), nullptr);

  ASSERT_TRUE(f.Logic->ProjectVolume(output, input, 0));
  output->GetImageData()->GetDimensions(dims);
  EXPECT_EQ(std::vector<int>(dims, dims + 3), (std::vector<int>{ 1, 3, 5 }));
  EXPECT_DOUBLE_EQ(
    output->GetImageData()->GetScalarComponentAsDouble(0, 1, 4, 0), 1.5 + 10 + 1600.0);
  output->GetIJKToRASMatrix(out);
  EXPECT_NEAR(out->GetElement(0, 3), in->GetElement(0, 3) + 1.5 * in->GetElement(0, 0), 1e-12);

  // Integer voxels receive VTK's conversion of the mean.
  vtkNew<vtkImageData> bytes;
  bytes->SetDimensions(1, 1, 2);
  bytes->AllocateScalars(VTK_UNSIGNED_CHAR, 1);
  bytes->SetScalarComponentFromDouble(0, 0, 0, 0, 1);
  bytes->SetScalarComponentFromDouble(0, 0, 1, 0, 2);
  vtkKOVAScalarVolumeNode* byteVolume = AddVolume(f.Scene, "vtkKOVAScalarVolumeNode", bytes);
  ASSERT_TRUE(f.Logic->ProjectVolume(output, byteVolume, 2));
  vtkNew<vtkUnsignedCharArray> expected;
  expected->SetNumberOfValues(1);
  expected->SetComponent(0, 0, 1.5);
  EXPECT_EQ(output->GetImageData()->GetScalarType(), VTK_UNSIGNED_CHAR);
  EXPECT_EQ(output->GetImageData()->GetScalarComponentAsDouble(0, 0, 0, 0), expected->GetValue(0));
}

TEST(vtkVireonGeneralizedReformatLogic, ProjectVolumeErrors)
{
  ReformatFixture f;
  vtkKOVAScalarVolumeNode* input = AddVolume(f.Scene, "vtkKOVAScalarVolumeNode", SmallImage());
  vtkKOVAScalarVolumeNode* output = AddVolume(f.Scene);
  vtkKOVATestErrorCapture errors;
  EXPECT_FALSE(f.Logic->ProjectVolume(nullptr, input, 0));
  EXPECT_FALSE(f.Logic->ProjectVolume(output, nullptr, 0));
  EXPECT_FALSE(f.Logic->ProjectVolume(output, input, 3));
  EXPECT_FALSE(f.Logic->ProjectVolume(output, input, -1));
  EXPECT_EQ(errors.GetErrorMessages(),
    (std::vector<std::string>{ "ProjectVolume: outputProjectedVolume is nullptr",
      "ProjectVolume: inputStraightenedVolume is nullptr",
      "ProjectVolume: projectionAxisIndex is out of range",
      "ProjectVolume: projectionAxisIndex is out of range" }));
  EXPECT_EQ(output->GetImageData(), nullptr) << "left untouched";

  vtkKOVAScalarVolumeNode* empty = AddVolume(f.Scene);
  errors.Clear();
  EXPECT_FALSE(f.Logic->ProjectVolume(output, empty, 1));
  EXPECT_EQ(errors.GetErrorMessages(),
    (std::vector<std::string>{ "ProjectVolume: input straightened volume must have image data" }));
  ASSERT_NE(output->GetImageData(), nullptr);
  EXPECT_EQ(output->GetImageData()->GetNumberOfPoints(), 0);
}

//------------------------------------------------------------------------------
TEST(vtkVireonGeneralizedReformatLogic, StraightenedTubeLiesAlongZ)
{
  const double radius = 4.0;
  for (const char* shape : { "arc", "helix" })
  {
    SCOPED_TRACE(shape);
    ReformatFixture f;
    f.ConnectDefaultResampler();
    vtkSmartPointer<vtkImageData> phantom = TubePhantom::Volume(shape, radius);
    vtkKOVAScalarVolumeNode* input = AddVolume(f.Scene, "vtkKOVAScalarVolumeNode", phantom);
    std::vector<std::array<double, 3>> controlPoints = TubePhantom::ControlPoints(shape, 25);
    vtkKOVAMarkupsCurveNode* curve = f.AddCurve(controlPoints);
    auto* transform =
      vtkKOVATransformNode::SafeDownCast(f.Scene->AddNewNodeByClass("vtkKOVATransformNode"));
    const double sliceSize[2] = { 30, 30 };
    const double spacing[3] = { 1, 1, 1 };
    ASSERT_TRUE(f.Logic->ComputeStraighteningTransform(transform, curve, sliceSize, 1.0));
    vtkKOVAScalarVolumeNode* straightened = AddVolume(f.Scene);
    ASSERT_TRUE(f.Logic->StraightenVolume(straightened, input, spacing, transform));

    int dims[3];
    straightened->GetImageData()->GetDimensions(dims);
    EXPECT_EQ(dims[0], 30);
    EXPECT_EQ(dims[1], 30);
    EXPECT_NEAR(dims[2], curve->GetCurveLengthWorld(), 6.0) << "the box is as long as the curve";
    const TubePhantom::Straightness s =
      TubePhantom::Measure(straightened->GetImageData(), spacing, radius);
    std::cout << shape << ": inside " << s.InsideFraction << " of " << s.InsideVoxels
              << ", outside " << s.OutsideFraction << " of " << s.OutsideVoxels << "\n";
    EXPECT_GT(s.InsideVoxels, 1000);
    EXPECT_GT(s.InsideFraction, 0.98);
    EXPECT_GT(s.OutsideFraction, 0.98);

    // Its mean projection across Y shows the tube as a band along Z in the middle of X.
    vtkKOVAScalarVolumeNode* projected = AddVolume(f.Scene);
    ASSERT_TRUE(f.Logic->ProjectVolume(projected, straightened, 1));
    vtkImageData* image = projected->GetImageData();
    int centreHigher = 0;
    for (int k = 2; k < dims[2] - 2; ++k)
    {
      centreHigher += image->GetScalarComponentAsDouble(15, 0, k, 0) >
                          5 * std::max(1.0, image->GetScalarComponentAsDouble(2, 0, k, 0))
                        ? 1
                        : 0;
    }
    EXPECT_GT(centreHigher, 0.95 * (dims[2] - 4));
  }
}

TEST(vtkVireonGeneralizedReformatLogic, StretchedTubeKeepsItsInPlaneShape)
{
  // With stretching the curve is flattened along X onto the plane of Y and Z: the cross-sections
  // follow the flattened curve, so the tube stays centred in Y and its X position in each slice
  // is the centre line's offset along X from the flattened curve.
  const double radius = 4.0;
  for (const char* shape : { "arc", "helix" })
  {
    SCOPED_TRACE(shape);
    ReformatFixture f;
    f.ConnectDefaultResampler();
    vtkSmartPointer<vtkImageData> phantom = TubePhantom::Volume(shape, radius);
    vtkKOVAScalarVolumeNode* input = AddVolume(f.Scene, "vtkKOVAScalarVolumeNode", phantom);
    vtkKOVAMarkupsCurveNode* curve = f.AddCurve(TubePhantom::ControlPoints(shape, 25));
    auto* transform =
      vtkKOVATransformNode::SafeDownCast(f.Scene->AddNewNodeByClass("vtkKOVATransformNode"));
    const double sliceSize[2] = { 120, 40 };
    const double spacing[3] = { 1, 1, 1 };
    ASSERT_TRUE(f.Logic->ComputeStraighteningTransform(transform, curve, sliceSize, 1.0, true));
    vtkKOVAScalarVolumeNode* straightened = AddVolume(f.Scene);
    ASSERT_TRUE(f.Logic->StraightenVolume(straightened, input, spacing, transform));
    vtkImageData* image = straightened->GetImageData();
    int dims[3];
    image->GetDimensions(dims);

    // Expected X of the tube in slice k: where the box's X line through the slice centre meets
    // the centre line, found from the grid transform (inverse of slice centre offsets).
    auto* grid = vtkOrientedGridTransform::SafeDownCast(transform->GetTransformFromParent());
    vtkMatrix4x4* direction = grid->GetGridDirectionMatrix();
    double origin[3];
    grid->GetDisplacementGrid()->GetOrigin(origin);
    const std::vector<TubePhantom::Point> line = TubePhantom::CentreLine(shape);
    std::vector<double> centreX(dims[2], 0.0);
    for (int k = 0; k < dims[2]; ++k)
    {
      // The centre line point closest to this slice's plane (in straightened coordinates the plane
      // z = k): map straightened points along X at y = h/2 and find the one nearest the line.
      double best = VTK_DOUBLE_MAX;
      for (int i = 0; i < dims[0]; ++i)
      {
        double s[3];
        for (int r = 0; r < 3; ++r)
        {
          s[r] = origin[r] + direction->GetElement(r, 0) * i + direction->GetElement(r, 1) * 20.0 +
                 direction->GetElement(r, 2) * k;
        }
        double c[3];
        grid->TransformPoint(s, c);
        for (const auto& p : line)
        {
          const double d2 = vtkMath::Distance2BetweenPoints(c, p.data());
          if (d2 < best)
          {
            best = d2;
            centreX[k] = i;
          }
        }
      }
    }
    const TubePhantom::Straightness s = TubePhantom::Measure(image, spacing, radius, &centreX, 3);
    std::cout << shape << " stretched: inside " << s.InsideFraction << " of " << s.InsideVoxels
              << ", outside " << s.OutsideFraction << " of " << s.OutsideVoxels << ", tube X from "
              << *std::min_element(centreX.begin(), centreX.end()) << " to "
              << *std::max_element(centreX.begin(), centreX.end()) << "\n";
    EXPECT_GT(s.InsideVoxels, 500);
    EXPECT_GT(s.InsideFraction, 0.95);
    EXPECT_GT(s.OutsideFraction, 0.95);
  }
}

namespace
{
/// Sets the voxels within \a radius of \a centre to \a value.
void AddBall(vtkImageData* image, const double centre[3], double radius, double value)
{
  int extent[6];
  image->GetExtent(extent);
  for (int k = extent[4]; k <= extent[5]; ++k)
  {
    for (int j = extent[2]; j <= extent[3]; ++j)
    {
      for (int i = extent[0]; i <= extent[1]; ++i)
      {
        const int ijk[3] = { i, j, k };
        double point[3];
        image->TransformIndexToPhysicalPoint(ijk, point);
        if (vtkMath::Distance2BetweenPoints(point, centre) <= radius * radius)
        {
          image->SetScalarComponentFromDouble(i, j, k, 0, value);
        }
      }
    }
  }
}

/// Mean voxel index of the voxels above \a threshold.
std::array<double, 3> Centroid(vtkImageData* image, double threshold)
{
  int dims[3];
  image->GetDimensions(dims);
  std::array<double, 3> sum{ 0, 0, 0 };
  double count = 0;
  for (int k = 0; k < dims[2]; ++k)
  {
    for (int j = 0; j < dims[1]; ++j)
    {
      for (int i = 0; i < dims[0]; ++i)
      {
        if (image->GetScalarComponentAsDouble(i, j, k, 0) > threshold)
        {
          sum[0] += i;
          sum[1] += j;
          sum[2] += k;
          ++count;
        }
      }
    }
  }
  for (double& s : sum)
  {
    s = count > 0 ? s / count : -1.0;
  }
  return sum;
}
}

TEST(vtkVireonGeneralizedReformatLogic, RotationTurnsTheImageContentByTheRequestedAngle)
{
  // A helix tube with a marker ball 9 mm off its centre line: with a rotation the marker appears
  // turned about the slice centre by exactly that angle (the cross-sections turn by the angle,
  // so their content turns the other way), although the helix's first tangent is far from its
  // end-to-end direction.
  vtkSmartPointer<vtkImageData> phantom = TubePhantom::Volume("helix", 4.0);
  const std::vector<TubePhantom::Point> line = TubePhantom::CentreLine("helix");
  const TubePhantom::Point& onLine = line[line.size() * 2 / 5];
  // The helix's radial direction at that point is perpendicular to its tangent.
  double radial[3] = { onLine[0], onLine[1], 0.0 };
  vtkMath::Normalize(radial);
  const double marker[3] = { onLine[0] + 9 * radial[0], onLine[1] + 9 * radial[1], onLine[2] };
  AddBall(phantom, marker, 2.5, 3000);

  const double sliceSize[2] = { 40, 40 };
  const double spacing[3] = { 1, 1, 1 };
  auto straighten = [&](double angle)
  {
    ReformatFixture f;
    f.ConnectDefaultResampler();
    vtkKOVAScalarVolumeNode* input = AddVolume(f.Scene, "vtkKOVAScalarVolumeNode", phantom);
    vtkKOVAMarkupsCurveNode* curve = f.AddCurve(TubePhantom::ControlPoints("helix", 25));
    auto* transform =
      vtkKOVATransformNode::SafeDownCast(f.Scene->AddNewNodeByClass("vtkKOVATransformNode"));
    EXPECT_TRUE(
      f.Logic->ComputeStraighteningTransform(transform, curve, sliceSize, 1.0, false, angle));
    vtkKOVAScalarVolumeNode* straightened = AddVolume(f.Scene);
    EXPECT_TRUE(f.Logic->StraightenVolume(straightened, input, spacing, transform));
    return Centroid(straightened->GetImageData(), 2000);
  };
  // Offsets from the cross-section centre, which lies half the slice size from voxel 0.
  const std::array<double, 3> plain = straighten(0);
  ASSERT_GE(plain[2], 0) << "the marker is in the straightened volume";
  const double u = plain[0] - 20;
  const double v = plain[1] - 20;
  EXPECT_NEAR(std::hypot(u, v), 9.0, 1.0);
  for (double angle : { 30.0, 90.0, -120.0 })
  {
    SCOPED_TRACE(angle);
    const std::array<double, 3> turned = straighten(angle);
    const double c = std::cos(vtkMath::RadiansFromDegrees(angle));
    const double s = std::sin(vtkMath::RadiansFromDegrees(angle));
    const double expectedU = c * u + s * v;
    const double expectedV = -s * u + c * v;
    EXPECT_LT(std::hypot(turned[0] - 20 - expectedU, turned[1] - 20 - expectedV), 1.0)
      << "marker at (" << turned[0] - 20 << ", " << turned[1] - 20 << "), expected (" << expectedU
      << ", " << expectedV << ")";
    EXPECT_NEAR(turned[2], plain[2], 1.0);
  }
}

TEST(vtkVireonGeneralizedReformatLogic, StretchingWithRotationFlattensAlongTheTurnedWidthAxis)
{
  // The arc tube (radius 40 mm about (0, -20, 0), from x = 40 to x = -40) lies in the plane
  // z = 0. Stretching flattens the curve along the box's width axis. Unrotated, that axis lies in
  // the arc's plane, so the arc becomes its 80 mm chord along -x and in the slice at x the tube
  // sits 40 - sqrt(40^2 - x^2) mm across the width from where it sits in the middle slice. Turned
  // by 90 degrees the width axis is the plane's normal: the arc keeps its length, pi x 40 mm, and
  // the tube stays centred. Turned by 180 degrees the tube swings the other way.
  vtkSmartPointer<vtkImageData> phantom = TubePhantom::Volume("arc", 4.0);
  const double sliceSize[2] = { 120, 40 };
  const double spacing[3] = { 1, 1, 1 };
  struct Run
  {
    int Slices = 0;
    std::vector<double> U; // tube centre across the width, from the slice centre, per slice
    std::vector<double> V; // and across the height
  };
  auto straighten = [&](double angle)
  {
    ReformatFixture f;
    f.ConnectDefaultResampler();
    vtkKOVAScalarVolumeNode* input = AddVolume(f.Scene, "vtkKOVAScalarVolumeNode", phantom);
    vtkKOVAMarkupsCurveNode* curve = f.AddCurve(TubePhantom::ControlPoints("arc", 25));
    auto* transform =
      vtkKOVATransformNode::SafeDownCast(f.Scene->AddNewNodeByClass("vtkKOVATransformNode"));
    EXPECT_TRUE(
      f.Logic->ComputeStraighteningTransform(transform, curve, sliceSize, 1.0, true, angle));
    vtkKOVAScalarVolumeNode* straightened = AddVolume(f.Scene);
    EXPECT_TRUE(f.Logic->StraightenVolume(straightened, input, spacing, transform));
    vtkImageData* image = straightened->GetImageData();
    int dims[3];
    image->GetDimensions(dims);
    Run run;
    run.Slices = dims[2];
    for (int k = 0; k < dims[2]; ++k)
    {
      double u = 0, v = 0, n = 0;
      for (int j = 0; j < dims[1]; ++j)
      {
        for (int i = 0; i < dims[0]; ++i)
        {
          if (image->GetScalarComponentAsDouble(i, j, k, 0) > 500)
          {
            u += i;
            v += j;
            ++n;
          }
        }
      }
      run.U.push_back(n > 0 ? u / n - 60 : NAN);
      run.V.push_back(n > 0 ? v / n - 20 : NAN);
    }
    return run;
  };
  auto range = [](const std::vector<double>& values, int skip)
  {
    double low = VTK_DOUBLE_MAX, high = VTK_DOUBLE_MIN;
    for (size_t k = skip; k + skip < values.size(); ++k)
    {
      low = std::min(low, values[k]);
      high = std::max(high, values[k]);
    }
    return std::make_pair(low, high);
  };
  const Run plain = straighten(0);
  const Run quarter = straighten(90);
  const Run half = straighten(180);

  EXPECT_NEAR(plain.Slices, 80, 5);
  EXPECT_NEAR(quarter.Slices, 40 * vtkMath::Pi(), 5);
  ASSERT_EQ(half.Slices, plain.Slices);
  const int skip = 3; // the ends of the tube are rounded
  const int middle = plain.Slices / 2;
  for (int k = skip; k < plain.Slices - skip; ++k)
  {
    // Slice k lies k mm along the chord from the box's start, half the box length before x = 0.
    const double x = 0.5 * plain.Slices - k;
    if (std::abs(x) <= 30) // farther out the tube runs nearly across the slices
    {
      EXPECT_NEAR(std::abs(plain.U[k] - plain.U[middle]), 40 - std::sqrt(1600 - x * x), 1.5)
        << "slice " << k;
    }
  }
  for (const Run* run : { &plain, &quarter, &half })
  {
    const auto v = range(run->V, skip);
    EXPECT_GT(v.first, -1.0);
    EXPECT_LT(v.second, 1.0);
  }
  const auto quarterU = range(quarter.U, skip);
  EXPECT_GT(quarterU.first, -1.0);
  EXPECT_LT(quarterU.second, 1.0);
  for (int k = skip; k < plain.Slices - skip; ++k)
  {
    EXPECT_NEAR(half.U[k], -plain.U[k], 1.0) << "slice " << k;
  }
}

TEST(vtkVireonGeneralizedReformatLogic, SlicedResamplingEqualsTheTransformAtEveryVoxel)
{
  // StraightenVolume resamples the straightening transform slice by slice; the same transform
  // behind a general transform is evaluated at every voxel. On the helix phantom, as a label map
  // (nearest neighbour) and as a scalar volume (B-spline), both agree up to interpolation
  // rounding.
  vtkSmartPointer<vtkImageData> phantom = TubePhantom::Volume("helix", 4.0);
  for (const char* kind : { "vtkKOVALabelMapVolumeNode", "vtkKOVAScalarVolumeNode" })
  {
    SCOPED_TRACE(kind);
    ReformatFixture f;
    f.ConnectDefaultResampler();
    vtkKOVAScalarVolumeNode* input = AddVolume(f.Scene, kind, phantom);
    vtkKOVAMarkupsCurveNode* curve = f.AddCurve(TubePhantom::ControlPoints("helix", 25));
    auto* transform =
      vtkKOVATransformNode::SafeDownCast(f.Scene->AddNewNodeByClass("vtkKOVATransformNode"));
    const double sliceSize[2] = { 36, 30 };
    const double spacing[3] = { 0.7, 0.7, 0.7 };
    ASSERT_TRUE(
      f.Logic->ComputeStraighteningTransform(transform, curve, sliceSize, 0.7, false, 25));
    vtkKOVAScalarVolumeNode* sliced = AddVolume(f.Scene);
    ASSERT_TRUE(f.Logic->StraightenVolume(sliced, input, spacing, transform));

    vtkNew<vtkGeneralTransform> everyVoxel;
    everyVoxel->Concatenate(transform->GetTransformFromParent());
    auto* everyVoxelNode =
      vtkKOVATransformNode::SafeDownCast(f.Scene->AddNewNodeByClass("vtkKOVATransformNode"));
    everyVoxelNode->SetAndObserveTransformFromParent(everyVoxel);
    vtkKOVAScalarVolumeNode* perVoxel = AddVolume(f.Scene);
    const bool labels = std::string(kind) == "vtkKOVALabelMapVolumeNode";
    ASSERT_TRUE(f.Logic->ResampleVolume("ResampleScalarVectorDWIVolume",
      input,
      perVoxel,
      everyVoxelNode,
      sliced,
      labels ? 1 : 4,
      {}));

    vtkDataArray* a = sliced->GetImageData()->GetPointData()->GetScalars();
    vtkDataArray* b = perVoxel->GetImageData()->GetPointData()->GetScalars();
    ASSERT_EQ(a->GetNumberOfTuples(), b->GetNumberOfTuples());
    vtkIdType differing = 0, bright = 0;
    for (vtkIdType id = 0; id < a->GetNumberOfTuples(); ++id)
    {
      differing += std::abs(a->GetComponent(id, 0) - b->GetComponent(id, 0)) > 1.0 ? 1 : 0;
      bright += b->GetComponent(id, 0) > 500 ? 1 : 0;
    }
    EXPECT_LE(differing, a->GetNumberOfTuples() / 10000) << differing << " voxels differ";
    EXPECT_GT(bright, a->GetNumberOfTuples() / 50) << "the tube is in the straightened volume";
  }
}
