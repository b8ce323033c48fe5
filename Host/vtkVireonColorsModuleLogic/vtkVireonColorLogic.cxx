#include "vtkVireonColorLogic.h"

#include <vtkKOVAColorLegendDisplayNode.h>
#include <vtkKOVADisplayNode.h>
#include <vtkKOVADisplayableNode.h>
#include <vtkKOVAScene.h>

#include <vtkNew.h>
#include <vtkObjectFactory.h>

#include <cstring>

vtkStandardNewMacro(vtkVireonColorLogic);

vtkVireonColorLogic::vtkVireonColorLogic() = default;
vtkVireonColorLogic::~vtkVireonColorLogic() = default;

//------------------------------------------------------------------------------
void vtkVireonColorLogic::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

//------------------------------------------------------------------------------
vtkKOVAColorLegendDisplayNode* vtkVireonColorLogic::GetColorLegendDisplayNode(
  vtkKOVADisplayableNode* displayableNode)
{
  if (!displayableNode)
  {
    return nullptr;
  }
  return vtkVireonColorLogic::GetColorLegendDisplayNode(displayableNode->GetDisplayNode());
}

//------------------------------------------------------------------------------
vtkKOVAColorLegendDisplayNode* vtkVireonColorLogic::GetColorLegendDisplayNode(
  vtkKOVADisplayNode* displayNode)
{
  if (!displayNode || !displayNode->GetID() ||
      vtkKOVAColorLegendDisplayNode::SafeDownCast(displayNode))
  {
    return nullptr;
  }
  vtkKOVADisplayableNode* displayableNode = displayNode->GetDisplayableNode();
  if (!displayableNode)
  {
    return nullptr;
  }
  for (int i = 0; i < displayableNode->GetNumberOfDisplayNodes(); ++i)
  {
    auto* legend =
      vtkKOVAColorLegendDisplayNode::SafeDownCast(displayableNode->GetNthDisplayNode(i));
    const char* primaryID = legend ? legend->GetPrimaryDisplayNodeID() : nullptr;
    if (primaryID && std::strcmp(primaryID, displayNode->GetID()) == 0)
    {
      return legend;
    }
  }
  return nullptr;
}

//------------------------------------------------------------------------------
vtkKOVAColorLegendDisplayNode* vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(
  vtkKOVADisplayableNode* displayableNode)
{
  if (!displayableNode)
  {
    vtkErrorWithObjectMacro(
      nullptr, "AddDefaultColorLegendDisplayNode: displayableNode is nullptr");
    return nullptr;
  }
  vtkKOVADisplayNode* displayNode = displayableNode->GetDisplayNode();
  if (!displayNode)
  {
    vtkErrorWithObjectMacro(displayableNode,
      "AddDefaultColorLegendDisplayNode: node "
        << (displayableNode->GetID() ? displayableNode->GetID() : "(no ID)")
        << " has no display node");
    return nullptr;
  }
  return vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(displayNode);
}

//------------------------------------------------------------------------------
vtkKOVAColorLegendDisplayNode* vtkVireonColorLogic::AddDefaultColorLegendDisplayNode(
  vtkKOVADisplayNode* displayNode)
{
  if (!displayNode)
  {
    vtkErrorWithObjectMacro(nullptr, "AddDefaultColorLegendDisplayNode: displayNode is nullptr");
    return nullptr;
  }
  if (vtkKOVAColorLegendDisplayNode* existing =
        vtkVireonColorLogic::GetColorLegendDisplayNode(displayNode))
  {
    return existing;
  }
  vtkKOVAScene* scene = displayNode->GetScene();
  vtkKOVADisplayableNode* displayableNode = displayNode->GetDisplayableNode();
  if (!scene || !displayableNode || vtkKOVAColorLegendDisplayNode::SafeDownCast(displayNode))
  {
    vtkErrorWithObjectMacro(displayNode,
      "AddDefaultColorLegendDisplayNode: the display node is not the display node of a node in a "
      "scene");
    return nullptr;
  }
  vtkNew<vtkKOVAColorLegendDisplayNode> legend;
  const std::string baseName =
    std::string(displayableNode->GetName() ? displayableNode->GetName() : "") + " color legend";
  legend->SetName(scene->GetUniqueNameByString(baseName.c_str()).c_str());
  if (!scene->AddNode(legend))
  {
    return nullptr;
  }
  legend->SetAndObservePrimaryDisplayNodeID(displayNode->GetID());
  displayableNode->AddAndObserveDisplayNodeID(legend->GetID());
  return legend;
}
