#ifndef vtkVireonGeneralizedReformatTestHelpers_h
#define vtkVireonGeneralizedReformatTestHelpers_h

// Scenes, curves and volumes shared by the reformat logic tests.

#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVAMarkupsCurveNode.h>
#include <vtkKOVAScene.h>
#include <vtkVireonCLIModuleLogic.h>
#include <vtkVireonGeneralizedReformatLogic.h>

#include <vtkMath.h>
#include <vtkNew.h>
#include <vtkSmartPointer.h>

#include <cmath>
#include <vector>

/// A scene with the reformat logic, an application logic that knows the command-line module
/// "ResampleScalarVectorDWIVolume", and that module's logic.
struct ReformatFixture
{
  ReformatFixture()
  {
    Scene = vtkSmartPointer<vtkKOVAScene>::New();
    ApplicationLogic = vtkSmartPointer<vtkKOVAApplicationLogic>::New();
    ApplicationLogic->SetKOVAScene(Scene);
    CLILogic = vtkSmartPointer<vtkVireonCLIModuleLogic>::New();
    CLILogic->SetModuleName("ResampleScalarVectorDWIVolume");
    CLILogic->SetKOVAApplicationLogic(ApplicationLogic);
    CLILogic->SetKOVAScene(Scene);
    ApplicationLogic->SetModuleLogic("ResampleScalarVectorDWIVolume", CLILogic);
    Logic = vtkSmartPointer<vtkVireonGeneralizedReformatLogic>::New();
    Logic->SetKOVAApplicationLogic(ApplicationLogic);
    Logic->SetKOVAScene(Scene);
  }
  ~ReformatFixture() { ApplicationLogic->SetModuleLogic("ResampleScalarVectorDWIVolume", nullptr); }

  /// Gives the built-in resampler the application logic (nothing does this automatically).
  void ConnectDefaultResampler()
  {
    Logic->GetVolumeResampler("ResampleScalarVectorDWIVolume")
      ->SetKOVAApplicationLogic(ApplicationLogic);
  }

  /// A curve node in the scene through \a points (smooth unless \a linear).
  vtkKOVAMarkupsCurveNode* AddCurve(const std::vector<std::array<double, 3>>& points,
    bool linear = false)
  {
    auto* curve = vtkKOVAMarkupsCurveNode::SafeDownCast(
      Scene->AddNewNodeByClass("vtkKOVAMarkupsCurveNode", "Curve"));
    if (linear)
    {
      curve->SetCurveTypeToLinear();
      curve->SetNumberOfPointsPerInterpolatingSegment(1);
    }
    for (const auto& p : points)
    {
      curve->AddControlPoint(vtkVector3d(p[0], p[1], p[2]));
    }
    return curve;
  }

  int CountNodesNamed(const char* name)
  {
    int count = 0;
    for (const auto& node : Scene->GetNodes())
    {
      if (node->GetName() && std::string(node->GetName()) == name)
      {
        ++count;
      }
    }
    return count;
  }

  vtkSmartPointer<vtkKOVAScene> Scene;
  vtkSmartPointer<vtkKOVAApplicationLogic> ApplicationLogic;
  vtkSmartPointer<vtkVireonCLIModuleLogic> CLILogic;
  vtkSmartPointer<vtkVireonGeneralizedReformatLogic> Logic;
};

/// Points of a planar arc of radius \a radius in the XY plane at height \a z, centred at \a centre,
/// from angle a0 to a1 (radians), \a count points.
inline std::vector<std::array<double, 3>> ArcPoints(const double centre[3],
  double radius,
  double a0,
  double a1,
  int count)
{
  std::vector<std::array<double, 3>> points;
  for (int i = 0; i < count; ++i)
  {
    const double a = a0 + (a1 - a0) * i / (count - 1);
    points.push_back(
      { centre[0] + radius * std::cos(a), centre[1] + radius * std::sin(a), centre[2] });
  }
  return points;
}

/// Points of a helix about the Z axis through \a centre.
inline std::vector<std::array<double, 3>> HelixPoints(const double centre[3],
  double radius,
  double pitch,
  double turns,
  int count)
{
  std::vector<std::array<double, 3>> points;
  for (int i = 0; i < count; ++i)
  {
    const double a = 2.0 * vtkMath::Pi() * turns * i / (count - 1);
    points.push_back({ centre[0] + radius * std::cos(a),
      centre[1] + radius * std::sin(a),
      centre[2] + pitch * turns * i / (count - 1) - 0.5 * pitch * turns });
  }
  return points;
}

#endif
