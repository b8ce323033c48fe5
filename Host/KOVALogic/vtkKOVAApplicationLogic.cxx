#include "vtkKOVAApplicationLogic.h"

#include <vtkKOVAPlotViewNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASelectionNode.h>
#include <vtkObjectFactory.h>

vtkStandardNewMacro(vtkKOVAApplicationLogic);

vtkKOVAApplicationLogic::vtkKOVAApplicationLogic() = default;
vtkKOVAApplicationLogic::~vtkKOVAApplicationLogic() = default;

//------------------------------------------------------------------------------
void vtkKOVAApplicationLogic::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "ModuleLogics:";
  for (const auto& entry : this->ModuleLogics)
  {
    os << " " << entry.first;
  }
  os << "\n";
}

//------------------------------------------------------------------------------
vtkKOVAAbstractLogic* vtkKOVAApplicationLogic::GetModuleLogic(const char* moduleName)
{
  if (!moduleName)
  {
    return nullptr;
  }
  const auto it = this->ModuleLogics.find(moduleName);
  return it == this->ModuleLogics.end() ? nullptr : it->second.GetPointer();
}

//------------------------------------------------------------------------------
void vtkKOVAApplicationLogic::SetModuleLogic(const char* moduleName, vtkKOVAAbstractLogic* logic)
{
  if (!moduleName)
  {
    vtkErrorMacro("SetModuleLogic: moduleName is nullptr");
    return;
  }
  if (logic)
  {
    this->ModuleLogics[moduleName] = logic;
  }
  else
  {
    this->ModuleLogics.erase(moduleName);
  }
  this->Modified();
}

//------------------------------------------------------------------------------
std::vector<std::string> vtkKOVAApplicationLogic::GetModuleLogicNames()
{
  std::vector<std::string> names;
  for (const auto& entry : this->ModuleLogics)
  {
    names.push_back(entry.first);
  }
  return names;
}

//------------------------------------------------------------------------------
vtkKOVASelectionNode* vtkKOVAApplicationLogic::GetSelectionNode()
{
  vtkKOVAScene* scene = this->GetKOVAScene();
  return scene
           ? vtkKOVASelectionNode::SafeDownCast(scene->GetFirstNodeByClass("vtkKOVASelectionNode"))
           : nullptr;
}

//------------------------------------------------------------------------------
void vtkKOVAApplicationLogic::SetKOVASceneInternal(vtkKOVAScene* newScene)
{
  this->Superclass::SetKOVASceneInternal(newScene);
  if (newScene && !newScene->GetFirstNodeByClass("vtkKOVASelectionNode"))
  {
    vtkNew<vtkKOVASelectionNode> selectionNode;
    newScene->AddNode(selectionNode);
  }
}

//------------------------------------------------------------------------------
void vtkKOVAApplicationLogic::PropagatePlotChartSelection()
{
  vtkKOVAScene* scene = this->GetKOVAScene();
  vtkKOVASelectionNode* selectionNode = this->GetSelectionNode();
  if (!scene || !selectionNode)
  {
    return;
  }
  std::vector<vtkKOVANode*> viewNodes;
  scene->GetNodesByClass("vtkKOVAPlotViewNode", viewNodes);
  for (vtkKOVANode* node : viewNodes)
  {
    if (vtkKOVAPlotViewNode* viewNode = vtkKOVAPlotViewNode::SafeDownCast(node))
    {
      viewNode->SetPlotChartNodeID(selectionNode->GetActivePlotChartID());
    }
  }
}
