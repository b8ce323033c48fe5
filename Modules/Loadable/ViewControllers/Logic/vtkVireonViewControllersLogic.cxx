#include "vtkVireonViewControllersLogic.h"

#include <vtkKOVAPlotViewNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVASliceNode.h>
#include <vtkKOVAViewNode.h>

#include <vtkObjectFactory.h>

#include <vector>

vtkStandardNewMacro(vtkVireonViewControllersLogic);

namespace
{
/// The scene's default node of the class, created and handed to the scene when missing.
vtkKOVANode* GetOrCreateDefaultNode(vtkKOVAScene* scene, const char* className)
{
  vtkKOVANode* defaultNode = scene->GetDefaultNodeByClass(className);
  if (!defaultNode)
  {
    defaultNode = scene->CreateNodeByClass(className);
    if (!defaultNode)
    {
      // The scene has reported why it cannot create the class.
      return nullptr;
    }
    scene->AddDefaultNode(defaultNode);
    defaultNode->Delete();
  }
  return defaultNode;
}
}

//------------------------------------------------------------------------------
vtkVireonViewControllersLogic::vtkVireonViewControllersLogic() = default;
vtkVireonViewControllersLogic::~vtkVireonViewControllersLogic() = default;

//------------------------------------------------------------------------------
void vtkVireonViewControllersLogic::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

//------------------------------------------------------------------------------
void vtkVireonViewControllersLogic::RegisterNodes()
{
  if (!this->GetKOVAScene())
  {
    vtkErrorMacro("vtkVireonViewControllersLogic::RegisterNodes failed: invalid scene");
    return;
  }
}

//------------------------------------------------------------------------------
vtkKOVASliceNode* vtkVireonViewControllersLogic::GetDefaultSliceViewNode()
{
  vtkKOVAScene* scene = this->GetKOVAScene();
  if (!scene)
  {
    vtkErrorMacro("vtkVireonViewControllersLogic::GetDefaultSliceViewNode failed: invalid scene");
    return nullptr;
  }
  return vtkKOVASliceNode::SafeDownCast(GetOrCreateDefaultNode(scene, "vtkKOVASliceNode"));
}

//------------------------------------------------------------------------------
vtkKOVAViewNode* vtkVireonViewControllersLogic::GetDefaultThreeDViewNode()
{
  vtkKOVAScene* scene = this->GetKOVAScene();
  if (!scene)
  {
    vtkErrorMacro("vtkVireonViewControllersLogic::GetDefaultThreeDViewNode failed: invalid scene");
    return nullptr;
  }
  return vtkKOVAViewNode::SafeDownCast(GetOrCreateDefaultNode(scene, "vtkKOVAViewNode"));
}

//------------------------------------------------------------------------------
vtkKOVAPlotViewNode* vtkVireonViewControllersLogic::GetDefaultPlotViewNode()
{
  vtkKOVAScene* scene = this->GetKOVAScene();
  if (!scene)
  {
    vtkErrorMacro("vtkVireonViewControllersLogic::GetDefaultPlotViewNode failed: invalid scene");
    return nullptr;
  }
  return vtkKOVAPlotViewNode::SafeDownCast(GetOrCreateDefaultNode(scene, "vtkKOVAPlotViewNode"));
}

//------------------------------------------------------------------------------
void vtkVireonViewControllersLogic::ResetAllViewNodesToDefault()
{
  vtkKOVAScene* scene = this->GetKOVAScene();
  if (!scene)
  {
    vtkErrorMacro(
      "vtkVireonViewControllersLogic::ResetAllViewNodesToDefault failed: invalid scene");
    return;
  }
  scene->StartState(vtkKOVAScene::BatchProcessState, 0);

  std::vector<vtkKOVANode*> viewNodes;
  // Without a default node (its class cannot be created) the views of that kind are left alone.
  if (vtkKOVASliceNode* defaultSliceViewNode = this->GetDefaultSliceViewNode())
  {
    scene->GetNodesByClass("vtkKOVASliceNode", viewNodes);
    for (vtkKOVANode* node : viewNodes)
    {
      vtkKOVASliceNode* sliceViewNode = vtkKOVASliceNode::SafeDownCast(node);
      if (!sliceViewNode)
      {
        continue;
      }
      sliceViewNode->Reset(defaultSliceViewNode);
      sliceViewNode->SetOrientationToDefault();
    }
  }

  if (vtkKOVAViewNode* defaultThreeDViewNode = this->GetDefaultThreeDViewNode())
  {
    scene->GetNodesByClass("vtkKOVAViewNode", viewNodes);
    for (vtkKOVANode* node : viewNodes)
    {
      node->Reset(defaultThreeDViewNode);
    }
  }

  if (vtkKOVAPlotViewNode* defaultPlotViewNode = this->GetDefaultPlotViewNode())
  {
    scene->GetNodesByClass("vtkKOVAPlotViewNode", viewNodes);
    for (vtkKOVANode* node : viewNodes)
    {
      node->Reset(defaultPlotViewNode);
    }
  }

  scene->EndState(vtkKOVAScene::BatchProcessState);
}
