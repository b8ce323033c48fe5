#include "vtkKOVAPlotViewNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkObjectFactory.h>

#include <sstream>

vtkKOVANodeNewMacro(vtkKOVAPlotViewNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAPlotViewNode);

vtkKOVAPlotViewNode::vtkKOVAPlotViewNode()
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVAPlotViewNode", "Plot View");
}

vtkKOVAPlotViewNode::~vtkKOVAPlotViewNode() = default;

void vtkKOVAPlotViewNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  const char* chart = this->GetPlotChartNodeID();
  os << indent << "PlotChartNodeID: " << (chart ? chart : "(none)") << "\n";
  os << indent << "InteractionMode: " << this->InteractionMode << "\n";
  os << indent << "EnablePointMoveAlongX: " << this->EnablePointMoveAlongX << "\n";
  os << indent << "EnablePointMoveAlongY: " << this->EnablePointMoveAlongY << "\n";
}

const char* vtkKOVAPlotViewNode::GetPlotChartNodeID()
{
  return this->GetNodeReferenceID(PlotChartNodeReferenceRole);
}

void vtkKOVAPlotViewNode::SetPlotChartNodeID(const char* plotChartNodeID)
{
  const char* current = this->GetPlotChartNodeID();
  if ((!current && !plotChartNodeID) ||
      (current && plotChartNodeID && strcmp(current, plotChartNodeID) == 0))
  {
    return;
  }
  this->SetNodeReferenceID(PlotChartNodeReferenceRole, plotChartNodeID);
}

vtkKOVANode* vtkKOVAPlotViewNode::GetPlotChartNode()
{
  return this->GetNodeReference(PlotChartNodeReferenceRole);
}

void vtkKOVAPlotViewNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    const std::string name = atts[i];
    const std::string value = atts[i + 1];
    std::istringstream in(value);
    if (name == "interactionMode")
    {
      int mode = 0;
      if (in >> mode)
      {
        this->SetInteractionMode(mode);
      }
    }
    else if (name == "enablePointMoveAlongX")
    {
      this->SetEnablePointMoveAlongX(value == "true");
    }
    else if (name == "enablePointMoveAlongY")
    {
      this->SetEnablePointMoveAlongY(value == "true");
    }
  }
}

void vtkKOVAPlotViewNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  of << " interactionMode=\"" << this->InteractionMode << "\"";
  of << " enablePointMoveAlongX=\"" << (this->EnablePointMoveAlongX ? "true" : "false") << "\"";
  of << " enablePointMoveAlongY=\"" << (this->EnablePointMoveAlongY ? "true" : "false") << "\"";
}

void vtkKOVAPlotViewNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  vtkKOVAPlotViewNode* node = vtkKOVAPlotViewNode::SafeDownCast(anode);
  if (!node)
  {
    return;
  }
  this->SetInteractionMode(node->InteractionMode);
  this->SetEnablePointMoveAlongX(node->EnablePointMoveAlongX);
  this->SetEnablePointMoveAlongY(node->EnablePointMoveAlongY);
}
