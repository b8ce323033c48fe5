#include "vtkVireonMarkupsWidget.h"

#include "vtkVireonMarkupsWidgetRepresentation.h"

vtkVireonMarkupsWidget::vtkVireonMarkupsWidget() = default;
vtkVireonMarkupsWidget::~vtkVireonMarkupsWidget() = default;

void vtkVireonMarkupsWidget::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

vtkVireonMarkupsWidgetRepresentation* vtkVireonMarkupsWidget::GetMarkupsRepresentation()
{
  return vtkVireonMarkupsWidgetRepresentation::SafeDownCast(this->WidgetRep);
}

vtkKOVAMarkupsDisplayNode* vtkVireonMarkupsWidget::GetMarkupsDisplayNode()
{
  vtkVireonMarkupsWidgetRepresentation* representation = this->GetMarkupsRepresentation();
  return representation ? representation->GetMarkupsDisplayNode() : nullptr;
}

vtkKOVAMarkupsNode* vtkVireonMarkupsWidget::GetMarkupsNode()
{
  vtkVireonMarkupsWidgetRepresentation* representation = this->GetMarkupsRepresentation();
  return representation ? representation->GetMarkupsNode() : nullptr;
}
