#include "vtkKOVAPlotChartNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAPlotSeriesNode.h"
#include "vtkKOVAScene.h"

#include <vtkObjectFactory.h>

vtkKOVANodeNewMacro(vtkKOVAPlotChartNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAPlotChartNode);

//------------------------------------------------------------------------------
vtkKOVAPlotChartNode::vtkKOVAPlotChartNode()
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVAPlotChartNode", "Plot Chart");
}

vtkKOVAPlotChartNode::~vtkKOVAPlotChartNode() = default;

//------------------------------------------------------------------------------
void vtkKOVAPlotChartNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "Title: " << this->Title << "\n";
  os << indent << "PlotSeriesNodes: " << this->GetNumberOfPlotSeriesNodes() << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVAPlotChartNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    if (strcmp(atts[i], "title") == 0)
    {
      this->SetTitle(atts[i + 1]);
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVAPlotChartNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  of << " title=\"" << XMLAttributeEncodeString(this->Title) << "\"";
}

//------------------------------------------------------------------------------
void vtkKOVAPlotChartNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  if (vtkKOVAPlotChartNode* node = vtkKOVAPlotChartNode::SafeDownCast(anode))
  {
    this->SetTitle(node->Title);
  }
}

//------------------------------------------------------------------------------
void vtkKOVAPlotChartNode::AddAndObservePlotSeriesNodeID(const char* seriesNodeID)
{
  if (!seriesNodeID)
  {
    vtkErrorMacro("AddAndObservePlotSeriesNodeID: seriesNodeID is nullptr");
    return;
  }
  this->AddAndObserveNodeReferenceID(GetPlotSeriesNodeReferenceRole(), seriesNodeID);
}

//------------------------------------------------------------------------------
void vtkKOVAPlotChartNode::SetAndObservePlotSeriesNodeID(const char* seriesNodeID)
{
  this->SetAndObserveNodeReferenceID(GetPlotSeriesNodeReferenceRole(), seriesNodeID);
}

//------------------------------------------------------------------------------
void vtkKOVAPlotChartNode::RemovePlotSeriesNodeID(const char* seriesNodeID)
{
  if (!seriesNodeID)
  {
    return;
  }
  for (int n = this->GetNumberOfPlotSeriesNodes() - 1; n >= 0; --n)
  {
    const char* id = this->GetNthPlotSeriesNodeID(n);
    if (id && strcmp(id, seriesNodeID) == 0)
    {
      this->RemoveNthNodeReferenceID(GetPlotSeriesNodeReferenceRole(), n);
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVAPlotChartNode::RemoveAllPlotSeriesNodeIDs()
{
  this->RemoveNodeReferenceIDs(GetPlotSeriesNodeReferenceRole());
}

//------------------------------------------------------------------------------
int vtkKOVAPlotChartNode::GetNumberOfPlotSeriesNodes()
{
  return this->GetNumberOfNodeReferences(GetPlotSeriesNodeReferenceRole());
}

//------------------------------------------------------------------------------
const char* vtkKOVAPlotChartNode::GetNthPlotSeriesNodeID(int n)
{
  return this->GetNthNodeReferenceID(GetPlotSeriesNodeReferenceRole(), n);
}

//------------------------------------------------------------------------------
vtkKOVAPlotSeriesNode* vtkKOVAPlotChartNode::GetNthPlotSeriesNode(int n)
{
  return vtkKOVAPlotSeriesNode::SafeDownCast(
    this->GetNthNodeReference(GetPlotSeriesNodeReferenceRole(), n));
}

//------------------------------------------------------------------------------
bool vtkKOVAPlotChartNode::HasPlotSeriesNodeID(const char* seriesNodeID)
{
  return seriesNodeID && this->HasNodeReferenceID(GetPlotSeriesNodeReferenceRole(), seriesNodeID);
}

//------------------------------------------------------------------------------
void vtkKOVAPlotChartNode::SetTitle(const std::string& title)
{
  if (this->Title == title)
  {
    return;
  }
  this->Title = title;
  this->Modified();
}
