#include "vtkKOVASliceNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkObjectFactory.h>

#include <sstream>

vtkKOVANodeNewMacro(vtkKOVASliceNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVASliceNode);

vtkKOVASliceNode::vtkKOVASliceNode()
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVASliceNode", "Slice View");
}

vtkKOVASliceNode::~vtkKOVASliceNode() = default;

//------------------------------------------------------------------------------
void vtkKOVASliceNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "Orientation: " << this->Orientation << "\n";
  os << indent << "DefaultOrientation: " << this->DefaultOrientation << "\n";
  os << indent << "FieldOfView: " << this->FieldOfView[0] << " " << this->FieldOfView[1] << " "
     << this->FieldOfView[2] << "\n";
  os << indent << "SliceVisible: " << this->SliceVisible << "\n";
  os << indent << "UseLabelOutline: " << this->UseLabelOutline << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVASliceNode::SetOrientation(const std::string& orientation)
{
  if (this->Orientation != orientation)
  {
    this->Orientation = orientation;
    this->Modified();
  }
}

void vtkKOVASliceNode::SetDefaultOrientation(const std::string& orientation)
{
  if (this->DefaultOrientation != orientation)
  {
    this->DefaultOrientation = orientation;
    this->Modified();
  }
}

void vtkKOVASliceNode::SetOrientationToDefault()
{
  if (!this->DefaultOrientation.empty())
  {
    this->SetOrientation(this->DefaultOrientation);
  }
}

//------------------------------------------------------------------------------
void vtkKOVASliceNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    const std::string name = atts[i];
    const std::string value = atts[i + 1];
    if (name == "orientation")
    {
      this->SetOrientation(value);
    }
    else if (name == "defaultOrientation")
    {
      this->SetDefaultOrientation(value);
    }
    else if (name == "fieldOfView")
    {
      std::istringstream in(value);
      double fov[3];
      if (in >> fov[0] >> fov[1] >> fov[2])
      {
        this->SetFieldOfView(fov);
      }
    }
    else if (name == "sliceVisible")
    {
      this->SetSliceVisible(value == "true");
    }
    else if (name == "useLabelOutline")
    {
      this->SetUseLabelOutline(value == "true");
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVASliceNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  of << " orientation=\"" << XMLAttributeEncodeString(this->Orientation) << "\"";
  of << " defaultOrientation=\"" << XMLAttributeEncodeString(this->DefaultOrientation) << "\"";
  of << " fieldOfView=\"" << this->FieldOfView[0] << " " << this->FieldOfView[1] << " "
     << this->FieldOfView[2] << "\"";
  of << " sliceVisible=\"" << (this->SliceVisible ? "true" : "false") << "\"";
  of << " useLabelOutline=\"" << (this->UseLabelOutline ? "true" : "false") << "\"";
}

//------------------------------------------------------------------------------
void vtkKOVASliceNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  vtkKOVASliceNode* node = vtkKOVASliceNode::SafeDownCast(anode);
  if (!node)
  {
    return;
  }
  this->SetOrientation(node->Orientation);
  this->SetDefaultOrientation(node->DefaultOrientation);
  this->SetFieldOfView(node->FieldOfView);
  this->SetSliceVisible(node->SliceVisible);
  this->SetUseLabelOutline(node->UseLabelOutline);
}

//------------------------------------------------------------------------------
void vtkKOVASliceNode::Reset(vtkKOVANode* defaultNode)
{
  KOVANodeModifyBlocker blocker(this);
  const std::string orientation = this->Orientation;
  const std::string defaultOrientation = this->DefaultOrientation;
  this->Superclass::Reset(defaultNode);
  this->SetOrientation(orientation);
  this->SetDefaultOrientation(defaultOrientation);
}
