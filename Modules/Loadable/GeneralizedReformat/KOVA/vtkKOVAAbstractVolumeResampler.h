#ifndef vtkKOVAAbstractVolumeResampler_h
#define vtkKOVAAbstractVolumeResampler_h

#include "vtkVireonGeneralizedReformatModuleKOVAExport.h"

#include <vtkObject.h>

#include <map>
#include <string>

class vtkKOVAApplicationLogic;
class vtkKOVATransformNode;
class vtkKOVAVolumeNode;

/// Interface of the objects that resample one volume into the geometry of another through a
/// transform. Concrete resamplers derive from it and are registered by name with the curved
/// planar reformat logic.
///
/// Every request carries a parameter map (text keys and values); the static helpers read and
/// write it, numbers through VTK's variant conversion.
class VTKVIREONGENERALIZEDREFORMATMODULEKOVA_EXPORT vtkKOVAAbstractVolumeResampler
  : public vtkObject
{
public:
  vtkTypeMacro(vtkKOVAAbstractVolumeResampler, vtkObject);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  using ResamplingParameters = std::map<std::string, std::string>;

  /// Interpolation values that callers and resamplers agree on; other values leave the choice to
  /// the resampler.
  enum InterpolationType
  {
    InterpolationTypeNearestNeighbor = 1, ///< "nn"
    InterpolationTypeLinear = 2,          ///< "linear"
    InterpolationTypeWindowedSinc = 3,    ///< "ws"
    InterpolationTypeBSpline = 4,         ///< "bs"
  };

  /// Fills \a outputVolume with \a inputVolume resampled through \a resamplingTransform onto the
  /// grid of \a referenceVolume with the requested interpolation. Returns true on success;
  /// implementations report their own errors.
  virtual bool Resample(vtkKOVAVolumeNode* inputVolume,
    vtkKOVAVolumeNode* outputVolume,
    vtkKOVATransformNode* resamplingTransform,
    vtkKOVAVolumeNode* referenceVolume,
    int interpolationType,
    const ResamplingParameters& resamplingParameters) = 0;

  /// The application logic an implementation may use to reach other modules. A plain pointer:
  /// setting it takes no reference and invokes no event.
  void SetKOVAApplicationLogic(vtkKOVAApplicationLogic* applicationLogic);
  vtkKOVAApplicationLogic* GetKOVAApplicationLogic() const;

  /// The stored text, or "" when \a name is absent.
  static std::string GetParameterValue(ResamplingParameters& parameters, const std::string& name);
  /// The stored text converted by vtkVariant::ToDouble (0 when absent or not a number).
  static double GetParameterValueAsDouble(ResamplingParameters& parameters,
    const std::string& name);
  /// The stored text converted by vtkVariant::ToInt (0 when absent or not a number).
  static int GetParameterValueAsInt(ResamplingParameters& parameters, const std::string& name);
  /// Inserts or overwrites \a name.
  static void SetParameterValue(ResamplingParameters& parameters,
    const std::string& name,
    const std::string& value);
  /// Stores vtkVariant(value).ToString(0, 6): VTK's default formatting, 6 significant digits.
  static void SetParameterValueAsDouble(ResamplingParameters& parameters,
    const std::string& name,
    double value);
  static void SetParameterValueAsInt(ResamplingParameters& parameters,
    const std::string& name,
    int value);

protected:
  vtkKOVAAbstractVolumeResampler();
  ~vtkKOVAAbstractVolumeResampler() override;

  vtkKOVAApplicationLogic* KOVAApplicationLogic = nullptr;

private:
  vtkKOVAAbstractVolumeResampler(const vtkKOVAAbstractVolumeResampler&) = delete;
  void operator=(const vtkKOVAAbstractVolumeResampler&) = delete;
};

#endif
