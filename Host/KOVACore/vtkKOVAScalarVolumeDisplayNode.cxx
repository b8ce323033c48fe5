#include "vtkKOVAScalarVolumeDisplayNode.h"

#include "vtkKOVAScene.h"

#include <vtkObjectFactory.h>

#include <sstream>

vtkKOVANodeNewMacro(vtkKOVAScalarVolumeDisplayNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAScalarVolumeDisplayNode);

vtkKOVAScalarVolumeDisplayNode::vtkKOVAScalarVolumeDisplayNode() = default;
vtkKOVAScalarVolumeDisplayNode::~vtkKOVAScalarVolumeDisplayNode() = default;

//------------------------------------------------------------------------------
void vtkKOVAScalarVolumeDisplayNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "Window: " << this->Window << "\n";
  os << indent << "Level: " << this->Level << "\n";
  os << indent << "AutoWindowLevel: " << this->AutoWindowLevel << "\n";
  os << indent << "Interpolate: " << this->Interpolate << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVAScalarVolumeDisplayNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    const std::string name = atts[i];
    const std::string value = atts[i + 1];
    std::istringstream in(value);
    double number = 0.0;
    if (name == "window" && in >> number)
    {
      this->SetWindow(number);
    }
    else if (name == "level" && in >> number)
    {
      this->SetLevel(number);
    }
    else if (name == "autoWindowLevel")
    {
      this->SetAutoWindowLevel(value == "true");
    }
    else if (name == "interpolate")
    {
      this->SetInterpolate(value == "true");
    }
  }
}

void vtkKOVAScalarVolumeDisplayNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  std::ostringstream text;
  text.precision(17);
  text << " window=\"" << this->Window << "\" level=\"" << this->Level << "\"";
  text << " autoWindowLevel=\"" << (this->AutoWindowLevel ? "true" : "false") << "\"";
  text << " interpolate=\"" << (this->Interpolate ? "true" : "false") << "\"";
  of << text.str();
}

//------------------------------------------------------------------------------
void vtkKOVAScalarVolumeDisplayNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  auto* node = vtkKOVAScalarVolumeDisplayNode::SafeDownCast(anode);
  if (node && node != this)
  {
    this->SetWindow(node->Window);
    this->SetLevel(node->Level);
    this->SetAutoWindowLevel(node->AutoWindowLevel);
    this->SetInterpolate(node->Interpolate);
  }
}
