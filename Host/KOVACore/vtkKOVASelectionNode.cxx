#include "vtkKOVASelectionNode.h"

#include "vtkKOVAScene.h"

#include <vtkObjectFactory.h>

vtkKOVANodeNewMacro(vtkKOVASelectionNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVASelectionNode);

vtkKOVASelectionNode::vtkKOVASelectionNode()
{
  this->HideFromEditors = true;
}

vtkKOVASelectionNode::~vtkKOVASelectionNode()
{
  this->SetActivePlotChartID(nullptr);
}

void vtkKOVASelectionNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent
     << "ActivePlotChartID: " << (this->ActivePlotChartID ? this->ActivePlotChartID : "(none)")
     << "\n";
}

void vtkKOVASelectionNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    if (strcmp(atts[i], "activePlotChartID") == 0)
    {
      this->SetActivePlotChartID(atts[i + 1]);
    }
  }
}

void vtkKOVASelectionNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  if (this->ActivePlotChartID)
  {
    of << " activePlotChartID=\"" << XMLAttributeEncodeString(this->ActivePlotChartID) << "\"";
  }
}

void vtkKOVASelectionNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  if (vtkKOVASelectionNode* node = vtkKOVASelectionNode::SafeDownCast(anode))
  {
    this->SetActivePlotChartID(node->ActivePlotChartID);
  }
}
