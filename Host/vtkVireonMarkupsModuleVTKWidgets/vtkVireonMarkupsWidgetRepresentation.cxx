#include "vtkVireonMarkupsWidgetRepresentation.h"

#include <vtkKOVAAbstractViewNode.h>
#include <vtkKOVAMarkupsDisplayNode.h>
#include <vtkKOVAMarkupsNode.h>
#include <vtkKOVASliceNode.h>

#include <vtkCellArray.h>
#include <vtkNew.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>

vtkVireonMarkupsWidgetRepresentation::ControlPointsPipeline::ControlPointsPipeline()
  : ControlPoints(vtkSmartPointer<vtkPoints>::New())
  , ControlPointsPolyData(vtkSmartPointer<vtkPolyData>::New())
{
  this->ControlPoints->SetDataTypeToDouble();
  this->ControlPointsPolyData->SetPoints(this->ControlPoints);
  vtkNew<vtkCellArray> vertices;
  this->ControlPointsPolyData->SetVerts(vertices);
}

vtkVireonMarkupsWidgetRepresentation::ControlPointsPipeline::~ControlPointsPipeline() = default;

//------------------------------------------------------------------------------
vtkVireonMarkupsWidgetRepresentation::vtkVireonMarkupsWidgetRepresentation() = default;
vtkVireonMarkupsWidgetRepresentation::~vtkVireonMarkupsWidgetRepresentation() = default;

void vtkVireonMarkupsWidgetRepresentation::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "MarkupsDisplayNode: "
     << (this->MarkupsDisplayNode && this->MarkupsDisplayNode->GetID()
            ? this->MarkupsDisplayNode->GetID()
            : "(none)")
     << "\n";
  os << indent << "ControlPointSize: " << this->ControlPointSize << "\n";
}

void vtkVireonMarkupsWidgetRepresentation::SetMarkupsDisplayNode(
  vtkKOVAMarkupsDisplayNode* displayNode)
{
  if (this->MarkupsDisplayNode == displayNode)
  {
    return;
  }
  this->MarkupsDisplayNode = displayNode;
  this->MarkupsNode =
    displayNode ? vtkKOVAMarkupsNode::SafeDownCast(displayNode->GetDisplayableNode()) : nullptr;
  this->Modified();
}

vtkKOVAMarkupsDisplayNode* vtkVireonMarkupsWidgetRepresentation::GetMarkupsDisplayNode()
{
  return this->MarkupsDisplayNode;
}

vtkKOVAMarkupsNode* vtkVireonMarkupsWidgetRepresentation::GetMarkupsNode()
{
  return this->MarkupsNode;
}

bool vtkVireonMarkupsWidgetRepresentation::IsSliceView()
{
  return vtkKOVASliceNode::SafeDownCast(this->ViewNode) != nullptr;
}

bool vtkVireonMarkupsWidgetRepresentation::IsDisplayable()
{
  vtkKOVAMarkupsDisplayNode* displayNode = this->MarkupsDisplayNode;
  if (!displayNode || !this->MarkupsNode || !displayNode->GetVisibility())
  {
    return false;
  }
  if (this->IsSliceView() ? !displayNode->GetVisibility2D() : !displayNode->GetVisibility3D())
  {
    return false;
  }
  if (this->ViewNode && this->ViewNode->GetID() &&
      !displayNode->IsDisplayableInView(this->ViewNode->GetID()))
  {
    return false;
  }
  return true;
}

vtkVireonMarkupsWidgetRepresentation::ControlPointsPipeline*
vtkVireonMarkupsWidgetRepresentation::GetControlPointsPipeline(int controlPointType)
{
  if (controlPointType < 0 || controlPointType >= static_cast<int>(this->ControlPoints.size()))
  {
    vtkErrorMacro("GetControlPointsPipeline: invalid control point type " << controlPointType);
    return nullptr;
  }
  return this->ControlPoints[controlPointType].get();
}

void vtkVireonMarkupsWidgetRepresentation::UpdateFromKOVA(vtkKOVANode* caller,
  unsigned long event,
  void* callData)
{
  this->Superclass::UpdateFromKOVA(caller, event, callData);
  // The display node may have been added to its markups node after it was given to us.
  this->MarkupsNode = this->MarkupsDisplayNode ? vtkKOVAMarkupsNode::SafeDownCast(
                                                   this->MarkupsDisplayNode->GetDisplayableNode())
                                               : nullptr;
  this->UpdateControlPointSize();
  this->NeedToRenderOn();
}
