#ifndef vtkKOVAScalarVectorDWIVolumeResampler_h
#define vtkKOVAScalarVectorDWIVolumeResampler_h

#include "vtkVireonGeneralizedReformatModuleLogicExport.h"

#include <vtkKOVAAbstractVolumeResampler.h>

/// Resamples through the host's command-line module "ResampleScalarVectorDWIVolume", run
/// synchronously. Needs the application logic (SetKOVAApplicationLogic) to find the module.
class VTKVIREONGENERALIZEDREFORMATMODULELOGIC_EXPORT vtkKOVAScalarVectorDWIVolumeResampler
  : public vtkKOVAAbstractVolumeResampler
{
public:
  static vtkKOVAScalarVectorDWIVolumeResampler* New();
  vtkTypeMacro(vtkKOVAScalarVectorDWIVolumeResampler, vtkKOVAAbstractVolumeResampler);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// Volumes and transform are passed to the module by node ID. The parameter map must be empty.
  bool Resample(vtkKOVAVolumeNode* inputVolume,
    vtkKOVAVolumeNode* outputVolume,
    vtkKOVATransformNode* resamplingTransform,
    vtkKOVAVolumeNode* referenceVolume,
    int interpolationType,
    const ResamplingParameters& resamplingParameters) override;

protected:
  vtkKOVAScalarVectorDWIVolumeResampler();
  ~vtkKOVAScalarVectorDWIVolumeResampler() override;

private:
  vtkKOVAScalarVectorDWIVolumeResampler(const vtkKOVAScalarVectorDWIVolumeResampler&) = delete;
  void operator=(const vtkKOVAScalarVectorDWIVolumeResampler&) = delete;
};

#endif
