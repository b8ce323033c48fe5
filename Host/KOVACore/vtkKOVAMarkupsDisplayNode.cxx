#include "vtkKOVAMarkupsDisplayNode.h"

#include "vtkKOVAScene.h"

#include <vtkObjectFactory.h>

#include <sstream>

vtkKOVANodeNewMacro(vtkKOVAMarkupsDisplayNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAMarkupsDisplayNode);

vtkKOVAMarkupsDisplayNode::vtkKOVAMarkupsDisplayNode() = default;

vtkKOVAMarkupsDisplayNode::~vtkKOVAMarkupsDisplayNode() = default;

void vtkKOVAMarkupsDisplayNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  // Glyphs, line and colours.
  os << indent << "SelectedColor: " << this->SelectedColor[0] << " " << this->SelectedColor[1]
     << " " << this->SelectedColor[2] << "\n";
  os << indent << "ActiveColor: " << this->ActiveColor[0] << " " << this->ActiveColor[1] << " "
     << this->ActiveColor[2] << "\n";
  os << indent << "UseGlyphScale: " << this->UseGlyphScale << "\n";
  os << indent << "GlyphScale: " << this->GlyphScale << "\n";
  os << indent << "GlyphSize: " << this->GlyphSize << "\n";
  os << indent << "LineThickness: " << this->LineThickness << "\n";
}

//------------------------------------------------------------------------------
// Glyphs, line and colours.
namespace
{
bool ReadVector3(const std::string& text, double v[3])
{
  std::istringstream in(text);
  return static_cast<bool>(in >> v[0] >> v[1] >> v[2]);
}

bool ReadDouble(const std::string& text, double& v)
{
  std::istringstream in(text);
  return static_cast<bool>(in >> v);
}
}

void vtkKOVAMarkupsDisplayNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    const std::string name = atts[i];
    const std::string value = atts[i + 1];
    double v[3] = { 0.0, 0.0, 0.0 };
    if (name == "selectedColor" && ReadVector3(value, v))
    {
      this->SetSelectedColor(v);
    }
    else if (name == "activeColor" && ReadVector3(value, v))
    {
      this->SetActiveColor(v);
    }
    else if (name == "useGlyphScale")
    {
      this->SetUseGlyphScale(value == "true");
    }
    else if (name == "glyphScale" && ReadDouble(value, v[0]))
    {
      this->SetGlyphScale(v[0]);
    }
    else if (name == "glyphSize" && ReadDouble(value, v[0]))
    {
      this->SetGlyphSize(v[0]);
    }
    else if (name == "lineThickness" && ReadDouble(value, v[0]))
    {
      this->SetLineThickness(v[0]);
    }
  }
}

void vtkKOVAMarkupsDisplayNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  of << " selectedColor=\"" << this->SelectedColor[0] << " " << this->SelectedColor[1] << " "
     << this->SelectedColor[2] << "\"";
  of << " activeColor=\"" << this->ActiveColor[0] << " " << this->ActiveColor[1] << " "
     << this->ActiveColor[2] << "\"";
  of << " useGlyphScale=\"" << (this->UseGlyphScale ? "true" : "false") << "\"";
  of << " glyphScale=\"" << this->GlyphScale << "\"";
  of << " glyphSize=\"" << this->GlyphSize << "\"";
  of << " lineThickness=\"" << this->LineThickness << "\"";
}

void vtkKOVAMarkupsDisplayNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  auto* node = vtkKOVAMarkupsDisplayNode::SafeDownCast(anode);
  if (!node || node == this)
  {
    return;
  }
  this->SetSelectedColor(node->SelectedColor);
  this->SetActiveColor(node->ActiveColor);
  this->SetUseGlyphScale(node->UseGlyphScale);
  this->SetGlyphScale(node->GlyphScale);
  this->SetGlyphSize(node->GlyphSize);
  this->SetLineThickness(node->LineThickness);
}
