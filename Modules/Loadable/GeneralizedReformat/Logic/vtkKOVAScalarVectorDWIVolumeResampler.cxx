#include "vtkKOVAScalarVectorDWIVolumeResampler.h"

#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVACommandLineModuleNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATransformNode.h>
#include <vtkKOVAVolumeNode.h>
#include <vtkVireonCLIModuleLogic.h>

#include <vtkObjectFactory.h>
#include <vtkSmartPointer.h>

vtkStandardNewMacro(vtkKOVAScalarVectorDWIVolumeResampler);

namespace
{
/// Removes the module run node from the module logic's scene when the call ends.
class RunNodeRemover
{
public:
  RunNodeRemover(vtkVireonCLIModuleLogic* logic, vtkKOVACommandLineModuleNode* node)
    : Logic(logic)
    , Node(node)
  {
  }
  ~RunNodeRemover()
  {
    if (vtkKOVAScene* scene = this->Logic->GetKOVAScene())
    {
      scene->RemoveNode(this->Node);
    }
  }
  RunNodeRemover(const RunNodeRemover&) = delete;
  RunNodeRemover& operator=(const RunNodeRemover&) = delete;

private:
  vtkSmartPointer<vtkVireonCLIModuleLogic> Logic;
  vtkSmartPointer<vtkKOVACommandLineModuleNode> Node;
};
}

vtkKOVAScalarVectorDWIVolumeResampler::vtkKOVAScalarVectorDWIVolumeResampler() = default;
vtkKOVAScalarVectorDWIVolumeResampler::~vtkKOVAScalarVectorDWIVolumeResampler() = default;

void vtkKOVAScalarVectorDWIVolumeResampler::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

//------------------------------------------------------------------------------
bool vtkKOVAScalarVectorDWIVolumeResampler::Resample(vtkKOVAVolumeNode* inputVolume,
  vtkKOVAVolumeNode* outputVolume,
  vtkKOVATransformNode* resamplingTransform,
  vtkKOVAVolumeNode* referenceVolume,
  int interpolationType,
  const ResamplingParameters& resamplingParameters)
{
  vtkKOVAApplicationLogic* applicationLogic = this->GetKOVAApplicationLogic();
  if (!applicationLogic)
  {
    vtkErrorMacro("Resample: KOVA application logic is not available");
    return false;
  }
  auto* cliLogic = vtkVireonCLIModuleLogic::SafeDownCast(
    applicationLogic->GetModuleLogic("ResampleScalarVectorDWIVolume"));
  if (!cliLogic)
  {
    vtkErrorMacro("Resample: ResampleScalarVectorDWIVolume module logic is not available");
    return false;
  }
  vtkKOVACommandLineModuleNode* cliNode = cliLogic->CreateNodeInScene();
  if (!cliNode)
  {
    vtkErrorMacro("Resample: Failed to create ResampleScalarVectorDWIVolume node");
    return false;
  }
  RunNodeRemover remover(cliLogic, cliNode);

  if (!inputVolume)
  {
    vtkErrorMacro("Resample: Input volume node is not set");
    return false;
  }
  cliNode->SetParameterAsString("inputVolume", inputVolume->GetID() ? inputVolume->GetID() : "");
  if (!outputVolume)
  {
    vtkErrorMacro("Resample: Output volume node is not set");
    return false;
  }
  cliNode->SetParameterAsString("outputVolume", outputVolume->GetID() ? outputVolume->GetID() : "");
  if (resamplingTransform)
  {
    cliNode->SetParameterAsString(
      "transformationFile", resamplingTransform->GetID() ? resamplingTransform->GetID() : "");
  }
  if (referenceVolume)
  {
    cliNode->SetParameterAsString(
      "referenceVolume", referenceVolume->GetID() ? referenceVolume->GetID() : "");
  }
  switch (interpolationType)
  {
    case InterpolationTypeNearestNeighbor:
      cliNode->SetParameterAsString("interpolationType", "nn");
      break;
    case InterpolationTypeLinear:
      cliNode->SetParameterAsString("interpolationType", "linear");
      break;
    case InterpolationTypeWindowedSinc:
      cliNode->SetParameterAsString("interpolationType", "ws");
      break;
    case InterpolationTypeBSpline:
      cliNode->SetParameterAsString("interpolationType", "bs");
      break;
    default:
      break; // the module's default applies
  }
  if (!resamplingParameters.empty())
  {
    vtkErrorMacro("Resample: resamplingParameter is not currently supported");
    return false;
  }

  cliLogic->ApplyAndWait(cliNode, false);
  if (cliNode->GetStatus() != vtkKOVACommandLineModuleNode::Completed)
  {
    vtkErrorMacro("Resample: " << cliNode->GetErrorText());
    return false;
  }
  return true;
}
