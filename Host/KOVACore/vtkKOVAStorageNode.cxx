#include "vtkKOVAStorageNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkObjectFactory.h>

vtkKOVAStorageNode::vtkKOVAStorageNode() = default;
vtkKOVAStorageNode::~vtkKOVAStorageNode() = default;

void vtkKOVAStorageNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "FileName: " << this->FileName << "\n";
}

void vtkKOVAStorageNode::SetFileName(const std::string& fileName)
{
  if (this->FileName != fileName)
  {
    this->FileName = fileName;
    this->Modified();
  }
}

void vtkKOVAStorageNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    if (std::string(atts[i]) == "fileName")
    {
      this->SetFileName(atts[i + 1]);
    }
  }
}

void vtkKOVAStorageNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  of << " fileName=\"" << XMLAttributeEncodeString(this->FileName) << "\"";
}

void vtkKOVAStorageNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  if (auto* node = vtkKOVAStorageNode::SafeDownCast(anode))
  {
    this->SetFileName(node->FileName);
  }
}

//------------------------------------------------------------------------------
vtkKOVANodeNewMacro(vtkKOVAMarkupsJsonStorageNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAMarkupsJsonStorageNode);

vtkKOVAMarkupsJsonStorageNode::vtkKOVAMarkupsJsonStorageNode()
{
  this->TypeDisplayName =
    vtkKOVAI18N::Translate("vtkKOVAMarkupsJsonStorageNode", "Markups JSON Storage");
}

vtkKOVAMarkupsJsonStorageNode::~vtkKOVAMarkupsJsonStorageNode() = default;

void vtkKOVAMarkupsJsonStorageNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}
