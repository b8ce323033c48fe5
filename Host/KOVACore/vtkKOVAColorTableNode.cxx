#include "vtkKOVAColorTableNode.h"

#include "vtkKOVAI18N.h"
#include "vtkKOVAScene.h"

#include <vtkLookupTable.h>
#include <vtkObjectFactory.h>

vtkKOVANodeNewMacro(vtkKOVAColorTableNode);
vtkKOVASceneBuiltInNodeMacro(vtkKOVAColorTableNode);

//------------------------------------------------------------------------------
vtkKOVAColorTableNode::vtkKOVAColorTableNode()
  : LookupTable(vtkSmartPointer<vtkLookupTable>::New())
{
  this->TypeDisplayName = vtkKOVAI18N::Translate("vtkKOVAColorTableNode", "Color table");
  this->LookupTable->Build();
}

vtkKOVAColorTableNode::~vtkKOVAColorTableNode() = default;

//------------------------------------------------------------------------------
void vtkKOVAColorTableNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "NumberOfColors: " << this->GetNumberOfColors() << "\n";
}

//------------------------------------------------------------------------------
vtkLookupTable* vtkKOVAColorTableNode::GetLookupTable()
{
  return this->LookupTable;
}

//------------------------------------------------------------------------------
int vtkKOVAColorTableNode::GetNumberOfColors()
{
  return static_cast<int>(this->LookupTable->GetNumberOfTableValues());
}

//------------------------------------------------------------------------------
void vtkKOVAColorTableNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  vtkKOVAColorTableNode* node = vtkKOVAColorTableNode::SafeDownCast(anode);
  if (!node)
  {
    return;
  }
  this->LookupTable->DeepCopy(node->LookupTable);
  this->Modified();
}
