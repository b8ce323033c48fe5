#ifndef vtkVireonGeneralizedReformatLogic_h
#define vtkVireonGeneralizedReformatLogic_h

#include "vtkVireonGeneralizedReformatModuleLogicExport.h"

#include <vtkKOVAAbstractVolumeResampler.h>
#include <vtkVireonModuleLogic.h>

#include <vtkSmartPointer.h>

#include <map>
#include <string>

class vtkKOVAMarkupsCurveNode;
class vtkKOVAModelNode;
class vtkKOVAScalarVolumeNode;
class vtkKOVATransformNode;
class vtkKOVAVolumeNode;
class vtkMatrix4x4;
class vtkPoints;

/// Curved planar reformatting: straightens the image content along a curve.
///
/// ComputeStraighteningTransform builds a displacement-grid transform from a straight box (the
/// straightened space, Z along the curve) to the neighbourhood of the curve; StraightenVolume
/// resamples a volume through it into the box; ProjectVolume averages a straightened volume along
/// one axis. Resampling goes through resamplers registered by name; "ResampleScalarVectorDWIVolume"
/// is registered from the start.
class VTKVIREONGENERALIZEDREFORMATMODULELOGIC_EXPORT vtkVireonGeneralizedReformatLogic
  : public vtkVireonModuleLogic
{
public:
  static vtkVireonGeneralizedReformatLogic* New();
  vtkTypeMacro(vtkVireonGeneralizedReformatLogic, vtkVireonModuleLogic);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// Computes the straightening transform of \a curveNode into \a transformToStraightenedNode
  /// (as its transform from parent): a box of \a sliceSizeMm (width, height) across the curve,
  /// sampled along it every outputSpacingMm * GridSpacingFactor. Everything is computed from the
  /// curve's world coordinates, so a curve under a parent transform is straightened where it
  /// lies. With \a stretching the curve is first flattened along the box's width axis onto the
  /// plane through its best-fitting plane's centre; \a rotationDeg turns the cross-sections (and
  /// so the image content) by exactly that angle about the curve. With
  /// \a reslicingPlanesModelNode the node receives one rectangle per sampled curve position.
  /// Needs the logic's scene (for a temporary curve node).
  bool ComputeStraighteningTransform(vtkKOVATransformNode* transformToStraightenedNode,
    vtkKOVAMarkupsCurveNode* curveNode,
    const double sliceSizeMm[2],
    double outputSpacingMm,
    bool stretching = false,
    double rotationDeg = 0.0,
    vtkKOVAModelNode* reslicingPlanesModelNode = nullptr);

  /// Projects \a pointsArrayIn onto the z = 0 plane of \a transformWorldToPlane's coordinates,
  /// giving the results in world coordinates in \a pointsArrayOut.
  bool GetPointsProjectedToPlane(vtkPoints* pointsArrayIn,
    vtkMatrix4x4* transformWorldToPlane,
    vtkPoints* pointsArrayOut);

  /// Resamples \a inputVolume into the straightened box of \a straighteningTransformNode (a
  /// vtkOrientedGridTransform from ComputeStraighteningTransform) with the given voxel spacing
  /// (mm along the box's X, Y, Z).
  bool StraightenVolume(vtkKOVAScalarVolumeNode* outputStraightenedVolume,
    vtkKOVAScalarVolumeNode* inputVolume,
    const double outputStraightenedVolumeSpacing[3],
    vtkKOVATransformNode* straighteningTransformNode);

  /// Mean projection of \a inputStraightenedVolume along axis \a projectionAxisIndex (0, 1, 2)
  /// into a single-slice volume placed at the centre of the projected extent.
  bool ProjectVolume(vtkKOVAScalarVolumeNode* outputProjectedVolume,
    vtkKOVAScalarVolumeNode* inputStraightenedVolume,
    int projectionAxisIndex = 0);

  /// Registers \a resampler under \a resamplerName (taking a reference). A name that is already
  /// registered keeps its first resampler; an empty name is an error.
  void RegisterVolumeResampler(const std::string& resamplerName,
    vtkKOVAAbstractVolumeResampler* resampler);
  void UnregisterVolumeResampler(const std::string& resamplerName);
  bool IsVolumeResamplerRegistered(const std::string& resamplerName);
  /// The resampler registered under the name, or null (borrowed).
  vtkKOVAAbstractVolumeResampler* GetVolumeResampler(const std::string& resamplerName);
  /// Resamples through the resampler registered under \a resamplerName.
  bool ResampleVolume(const std::string& resamplerName,
    vtkKOVAVolumeNode* inputVolume,
    vtkKOVAVolumeNode* outputVolume,
    vtkKOVATransformNode* resamplingTransform,
    vtkKOVAVolumeNode* referenceVolume,
    int interpolationType,
    const vtkKOVAAbstractVolumeResampler::ResamplingParameters& resamplingParameters);

protected:
  vtkVireonGeneralizedReformatLogic();
  ~vtkVireonGeneralizedReformatLogic() override;

  void SetKOVASceneInternal(vtkKOVAScene* newScene) override;
  void RegisterNodes() override;
  void UpdateFromKOVAScene() override;
  void OnKOVASceneNodeAdded(vtkKOVANode* node) override;
  void OnKOVASceneNodeRemoved(vtkKOVANode* node) override;

  /// The curve is resampled every output spacing times this factor.
  double GridSpacingFactor = 5.0;

  std::map<std::string, vtkSmartPointer<vtkKOVAAbstractVolumeResampler>> ResamplerRegistry;

private:
  vtkVireonGeneralizedReformatLogic(const vtkVireonGeneralizedReformatLogic&) = delete;
  void operator=(const vtkVireonGeneralizedReformatLogic&) = delete;
};

#endif
