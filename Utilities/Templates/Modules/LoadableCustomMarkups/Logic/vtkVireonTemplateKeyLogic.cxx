#include "vtkVireonTemplateKeyLogic.h"

#include <vtkKOVAMarkupsTestLineNode.h>
#include <vtkVireonTestLineWidget.h>

#include <vtkKOVAScene.h>

#include <vtkObjectFactory.h>

vtkStandardNewMacro(vtkVireonTemplateKeyLogic);

vtkVireonTemplateKeyLogic::vtkVireonTemplateKeyLogic() = default;
vtkVireonTemplateKeyLogic::~vtkVireonTemplateKeyLogic() = default;

void vtkVireonTemplateKeyLogic::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

void vtkVireonTemplateKeyLogic::RegisterNodes()
{
  vtkKOVAScene* scene = this->GetKOVAScene();
  if (!scene)
  {
    vtkErrorMacro("RegisterNodes failed: invalid scene");
    return;
  }

  vtkVireonMarkupsLogic* markupsLogic =
    vtkVireonMarkupsLogic::SafeDownCast(this->GetModuleLogic("Markups"));
  if (!markupsLogic)
  {
    vtkErrorMacro("RegisterNodes failed: invalid markups module logic");
    return;
  }

  vtkKOVAMarkupsTestLineNode* markupsNode = vtkKOVAMarkupsTestLineNode::New();
  vtkVireonTestLineWidget* markupsWidget = vtkVireonTestLineWidget::New();
  markupsLogic->RegisterMarkupsNode(markupsNode, markupsWidget, true, nullptr);
  markupsWidget->Delete();
  markupsNode->Delete();
}
