#include "vtkKOVAAbstractViewNode.h"

#include <sstream>
#include <string>

vtkKOVAAbstractViewNode::vtkKOVAAbstractViewNode() = default;

vtkKOVAAbstractViewNode::~vtkKOVAAbstractViewNode()
{
  this->SetLayoutName(nullptr);
  this->SetLayoutLabel(nullptr);
}

//------------------------------------------------------------------------------
void vtkKOVAAbstractViewNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "LayoutName: " << (this->LayoutName ? this->LayoutName : "(none)") << "\n";
  os << indent << "LayoutLabel: " << (this->LayoutLabel ? this->LayoutLabel : "(none)") << "\n";
  os << indent << "ViewGroup: " << this->ViewGroup << "\n";
  os << indent << "BackgroundColor: " << this->BackgroundColor[0] << " " << this->BackgroundColor[1]
     << " " << this->BackgroundColor[2] << "\n";
  os << indent << "OrientationMarkerType: " << this->OrientationMarkerType << "\n";
  os << indent << "RulerType: " << this->RulerType << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVAAbstractViewNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    const std::string name = atts[i];
    std::istringstream value(atts[i + 1]);
    if (name == "layoutName")
    {
      this->SetLayoutName(atts[i + 1]);
    }
    else if (name == "layoutLabel")
    {
      this->SetLayoutLabel(atts[i + 1]);
    }
    else if (name == "viewGroup")
    {
      int group = 0;
      if (value >> group)
      {
        this->SetViewGroup(group);
      }
    }
    else if (name == "backgroundColor")
    {
      double c[3];
      if (value >> c[0] >> c[1] >> c[2])
      {
        this->SetBackgroundColor(c);
      }
    }
    else if (name == "orientationMarkerType")
    {
      int type = 0;
      if (value >> type)
      {
        this->SetOrientationMarkerType(type);
      }
    }
    else if (name == "rulerType")
    {
      int type = 0;
      if (value >> type)
      {
        this->SetRulerType(type);
      }
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVAAbstractViewNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  if (this->LayoutName)
  {
    of << " layoutName=\"" << XMLAttributeEncodeString(this->LayoutName) << "\"";
  }
  if (this->LayoutLabel)
  {
    of << " layoutLabel=\"" << XMLAttributeEncodeString(this->LayoutLabel) << "\"";
  }
  of << " viewGroup=\"" << this->ViewGroup << "\"";
  of << " backgroundColor=\"" << this->BackgroundColor[0] << " " << this->BackgroundColor[1] << " "
     << this->BackgroundColor[2] << "\"";
  of << " orientationMarkerType=\"" << this->OrientationMarkerType << "\"";
  of << " rulerType=\"" << this->RulerType << "\"";
}

//------------------------------------------------------------------------------
void vtkKOVAAbstractViewNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  vtkKOVAAbstractViewNode* node = vtkKOVAAbstractViewNode::SafeDownCast(anode);
  if (!node)
  {
    return;
  }
  this->SetLayoutName(node->LayoutName);
  this->SetLayoutLabel(node->LayoutLabel);
  this->SetViewGroup(node->ViewGroup);
  this->SetBackgroundColor(node->BackgroundColor);
  this->SetOrientationMarkerType(node->OrientationMarkerType);
  this->SetRulerType(node->RulerType);
}

//------------------------------------------------------------------------------
void vtkKOVAAbstractViewNode::Reset(vtkKOVANode* defaultNode)
{
  KOVANodeModifyBlocker blocker(this);
  const bool hasName = this->LayoutName != nullptr;
  const std::string layoutName = hasName ? this->LayoutName : "";
  const bool hasLabel = this->LayoutLabel != nullptr;
  const std::string layoutLabel = hasLabel ? this->LayoutLabel : "";
  const int viewGroup = this->ViewGroup;
  this->Superclass::Reset(defaultNode);
  this->SetLayoutName(hasName ? layoutName.c_str() : nullptr);
  this->SetLayoutLabel(hasLabel ? layoutLabel.c_str() : nullptr);
  this->SetViewGroup(viewGroup);
}
