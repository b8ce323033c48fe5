#include "vtkKOVAMarkupsTestLineNode.h"

#include <vtkKOVAI18N.h>

#include <vtkObjectFactory.h>

#include <cstring>

vtkKOVANodeNewMacro(vtkKOVAMarkupsTestLineNode);

vtkKOVAMarkupsTestLineNode::vtkKOVAMarkupsTestLineNode()
{
  this->TargetOrgan = nullptr;
  this->TypeDisplayName =
    vtkKOVAI18N::Translate("vtkKOVAMarkupsTestLineNode", "Test Line", nullptr, -1);
}

vtkKOVAMarkupsTestLineNode::~vtkKOVAMarkupsTestLineNode() = default;

void vtkKOVAMarkupsTestLineNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

bool vtkKOVAMarkupsTestLineNode::HasCopyContent() const
{
  return strcmp("vtkKOVAMarkupsTestLineNode", this->GetClassNameInternal()) == 0;
}

std::string vtkKOVAMarkupsTestLineNode::GetDefaultNodeNamePrefix()
{
  return vtkKOVAI18N::Translate("vtkKOVAMarkupsTestLineNode", "TL");
}
