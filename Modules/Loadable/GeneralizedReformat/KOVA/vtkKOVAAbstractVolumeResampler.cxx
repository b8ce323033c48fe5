#include "vtkKOVAAbstractVolumeResampler.h"

#include <vtkVariant.h>

vtkKOVAAbstractVolumeResampler::vtkKOVAAbstractVolumeResampler() = default;
vtkKOVAAbstractVolumeResampler::~vtkKOVAAbstractVolumeResampler() = default;

//------------------------------------------------------------------------------
void vtkKOVAAbstractVolumeResampler::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

//------------------------------------------------------------------------------
void vtkKOVAAbstractVolumeResampler::SetKOVAApplicationLogic(
  vtkKOVAApplicationLogic* applicationLogic)
{
  this->KOVAApplicationLogic = applicationLogic;
}

vtkKOVAApplicationLogic* vtkKOVAAbstractVolumeResampler::GetKOVAApplicationLogic() const
{
  return this->KOVAApplicationLogic;
}

//------------------------------------------------------------------------------
std::string vtkKOVAAbstractVolumeResampler::GetParameterValue(ResamplingParameters& parameters,
  const std::string& name)
{
  const auto it = parameters.find(name);
  return it == parameters.end() ? std::string() : it->second;
}

double vtkKOVAAbstractVolumeResampler::GetParameterValueAsDouble(ResamplingParameters& parameters,
  const std::string& name)
{
  // This VTK gives NaN for text that is not a number; such text reads as 0.
  bool valid = false;
  const double value = vtkVariant(GetParameterValue(parameters, name)).ToDouble(&valid);
  return valid ? value : 0.0;
}

int vtkKOVAAbstractVolumeResampler::GetParameterValueAsInt(ResamplingParameters& parameters,
  const std::string& name)
{
  bool valid = false;
  const int value = vtkVariant(GetParameterValue(parameters, name)).ToInt(&valid);
  return valid ? value : 0;
}

void vtkKOVAAbstractVolumeResampler::SetParameterValue(ResamplingParameters& parameters,
  const std::string& name,
  const std::string& value)
{
  parameters[name] = value;
}

void vtkKOVAAbstractVolumeResampler::SetParameterValueAsDouble(ResamplingParameters& parameters,
  const std::string& name,
  double value)
{
  parameters[name] = vtkVariant(value).ToString(0, 6);
}

void vtkKOVAAbstractVolumeResampler::SetParameterValueAsInt(ResamplingParameters& parameters,
  const std::string& name,
  int value)
{
  parameters[name] = vtkVariant(value).ToString(0, 6);
}
