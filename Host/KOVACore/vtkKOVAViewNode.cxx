#include "vtkKOVAViewNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkObjectFactory.h>

#include <sstream>

vtkKOVANodeNewMacro(vtkKOVAViewNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAViewNode);

vtkKOVAViewNode::vtkKOVAViewNode()
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVAViewNode", "3D View");
}

vtkKOVAViewNode::~vtkKOVAViewNode() = default;

void vtkKOVAViewNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "BoxVisible: " << this->BoxVisible << "\n";
  os << indent << "AxisLabelsVisible: " << this->AxisLabelsVisible << "\n";
  os << indent << "FieldOfView: " << this->FieldOfView << "\n";
  os << indent << "RenderMode: " << this->RenderMode << "\n";
}

void vtkKOVAViewNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    const std::string name = atts[i];
    const std::string value = atts[i + 1];
    std::istringstream in(value);
    if (name == "boxVisible")
    {
      this->SetBoxVisible(value == "true");
    }
    else if (name == "axisLabelsVisible")
    {
      this->SetAxisLabelsVisible(value == "true");
    }
    else if (name == "fieldOfView")
    {
      double fov = 0.0;
      if (in >> fov)
      {
        this->SetFieldOfView(fov);
      }
    }
    else if (name == "renderMode")
    {
      this->SetRenderMode(value == "Orthographic" ? Orthographic : Perspective);
    }
  }
}

void vtkKOVAViewNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  of << " boxVisible=\"" << (this->BoxVisible ? "true" : "false") << "\"";
  of << " axisLabelsVisible=\"" << (this->AxisLabelsVisible ? "true" : "false") << "\"";
  of << " fieldOfView=\"" << this->FieldOfView << "\"";
  of << " renderMode=\"" << (this->RenderMode == Orthographic ? "Orthographic" : "Perspective")
     << "\"";
}

void vtkKOVAViewNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  vtkKOVAViewNode* node = vtkKOVAViewNode::SafeDownCast(anode);
  if (!node)
  {
    return;
  }
  this->SetBoxVisible(node->BoxVisible);
  this->SetAxisLabelsVisible(node->AxisLabelsVisible);
  this->SetFieldOfView(node->FieldOfView);
  this->SetRenderMode(node->RenderMode);
}
