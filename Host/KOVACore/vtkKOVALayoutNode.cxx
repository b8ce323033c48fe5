#include "vtkKOVALayoutNode.h"

#include "vtkKOVAScene.h"

#include <vtkObjectFactory.h>

#include <cstdlib>

vtkKOVANodeNewMacro(vtkKOVALayoutNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVALayoutNode);

vtkKOVALayoutNode::vtkKOVALayoutNode()
{
  this->HideFromEditors = true;
}

vtkKOVALayoutNode::~vtkKOVALayoutNode() = default;

//------------------------------------------------------------------------------
void vtkKOVALayoutNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "ViewArrangement: " << this->ViewArrangement << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVALayoutNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    if (strcmp(atts[i], "currentViewArrangement") == 0)
    {
      char* end = nullptr;
      const long value = std::strtol(atts[i + 1], &end, 10);
      if (end != atts[i + 1] && *end == '\0')
      {
        this->SetViewArrangement(static_cast<int>(value));
      }
      else
      {
        vtkErrorMacro("ReadXMLAttributes: invalid view arrangement " << atts[i + 1]);
      }
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVALayoutNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  of << " currentViewArrangement=\"" << this->ViewArrangement << "\"";
}

//------------------------------------------------------------------------------
void vtkKOVALayoutNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  if (vtkKOVALayoutNode* node = vtkKOVALayoutNode::SafeDownCast(anode))
  {
    this->SetViewArrangement(node->ViewArrangement);
  }
}
