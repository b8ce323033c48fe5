#include "vtkKOVAPlotSeriesNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"
#include "vtkKOVATableNode.h"

#include <vtkObjectFactory.h>

#include <sstream>

vtkKOVANodeNewMacro(vtkKOVAPlotSeriesNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAPlotSeriesNode);

//------------------------------------------------------------------------------
vtkKOVAPlotSeriesNode::vtkKOVAPlotSeriesNode()
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVAPlotSeriesNode", "Plot Series");
}

vtkKOVAPlotSeriesNode::~vtkKOVAPlotSeriesNode() = default;

//------------------------------------------------------------------------------
void vtkKOVAPlotSeriesNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "PlotType: " << GetPlotTypeAsString(this->PlotType) << "\n";
  os << indent << "XColumnName: " << this->XColumnName << "\n";
  os << indent << "YColumnName: " << this->YColumnName << "\n";
  os << indent << "Color: " << this->Color[0] << " " << this->Color[1] << " " << this->Color[2]
     << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVAPlotSeriesNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    const std::string name = atts[i];
    const char* value = atts[i + 1];
    if (name == "plotType")
    {
      const int type = GetPlotTypeFromString(value);
      if (type < 0)
      {
        vtkErrorMacro("ReadXMLAttributes: unknown plot type " << value);
      }
      else
      {
        this->SetPlotType(type);
      }
    }
    else if (name == "xColumnName")
    {
      this->SetXColumnName(value);
    }
    else if (name == "yColumnName")
    {
      this->SetYColumnName(value);
    }
    else if (name == "color")
    {
      std::istringstream stream(value);
      double color[3];
      if (stream >> color[0] >> color[1] >> color[2])
      {
        this->SetColor(color);
      }
      else
      {
        vtkErrorMacro("ReadXMLAttributes: invalid color " << value);
      }
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVAPlotSeriesNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  of << " plotType=\"" << GetPlotTypeAsString(this->PlotType) << "\"";
  of << " xColumnName=\"" << XMLAttributeEncodeString(this->XColumnName) << "\"";
  of << " yColumnName=\"" << XMLAttributeEncodeString(this->YColumnName) << "\"";
  of << " color=\"" << this->Color[0] << " " << this->Color[1] << " " << this->Color[2] << "\"";
}

//------------------------------------------------------------------------------
void vtkKOVAPlotSeriesNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  if (vtkKOVAPlotSeriesNode* node = vtkKOVAPlotSeriesNode::SafeDownCast(anode))
  {
    this->SetPlotType(node->PlotType);
    this->SetXColumnName(node->XColumnName);
    this->SetYColumnName(node->YColumnName);
    this->SetColor(node->Color);
  }
}

//------------------------------------------------------------------------------
void vtkKOVAPlotSeriesNode::SetAndObserveTableNodeID(const char* tableNodeID)
{
  this->SetAndObserveNodeReferenceID(GetTableNodeReferenceRole(), tableNodeID);
}

const char* vtkKOVAPlotSeriesNode::GetTableNodeID()
{
  return this->GetNodeReferenceID(GetTableNodeReferenceRole());
}

vtkKOVATableNode* vtkKOVAPlotSeriesNode::GetTableNode()
{
  return vtkKOVATableNode::SafeDownCast(this->GetNodeReference(GetTableNodeReferenceRole()));
}

//------------------------------------------------------------------------------
void vtkKOVAPlotSeriesNode::SetPlotType(int type)
{
  if (type < 0 || type >= PlotType_Last)
  {
    vtkErrorMacro("SetPlotType: invalid plot type " << type);
    return;
  }
  if (this->PlotType == type)
  {
    return;
  }
  this->PlotType = type;
  this->Modified();
}

//------------------------------------------------------------------------------
const char* vtkKOVAPlotSeriesNode::GetPlotTypeAsString(int type)
{
  switch (type)
  {
    case PlotTypeLine:
      return "Line";
    case PlotTypeBar:
      return "Bar";
    case PlotTypeScatter:
      return "Scatter";
    case PlotTypeScatterBar:
      return "ScatterBar";
    default:
      return "";
  }
}

//------------------------------------------------------------------------------
int vtkKOVAPlotSeriesNode::GetPlotTypeFromString(const char* name)
{
  if (!name)
  {
    return -1;
  }
  for (int type = 0; type < PlotType_Last; ++type)
  {
    if (strcmp(name, GetPlotTypeAsString(type)) == 0)
    {
      return type;
    }
  }
  return -1;
}

//------------------------------------------------------------------------------
void vtkKOVAPlotSeriesNode::SetXColumnName(const std::string& name)
{
  if (this->XColumnName == name)
  {
    return;
  }
  this->XColumnName = name;
  this->Modified();
}

//------------------------------------------------------------------------------
void vtkKOVAPlotSeriesNode::SetYColumnName(const std::string& name)
{
  if (this->YColumnName == name)
  {
    return;
  }
  this->YColumnName = name;
  this->Modified();
}
