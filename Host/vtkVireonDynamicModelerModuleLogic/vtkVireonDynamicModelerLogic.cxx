#include "vtkVireonDynamicModelerLogic.h"

#include "vtkVireonDynamicModelerAppendTool.h"
#include "vtkVireonDynamicModelerBoundaryCutTool.h"
#include "vtkVireonDynamicModelerCurveCutTool.h"
#include "vtkVireonDynamicModelerExtrudeTool.h"
#include "vtkVireonDynamicModelerHollowTool.h"
#include "vtkVireonDynamicModelerMarginTool.h"
#include "vtkVireonDynamicModelerMirrorTool.h"
#include "vtkVireonDynamicModelerPlaneCutTool.h"
#include "vtkVireonDynamicModelerROICutTool.h"
#include "vtkVireonDynamicModelerRevolveTool.h"
#include "vtkVireonDynamicModelerSelectByPointsTool.h"
#include "vtkVireonDynamicModelerSubdivideTool.h"

#include <vtkKOVADynamicModelerNode.h>
#include <vtkKOVAScene.h>

#include <vtkNew.h>
#include <vtkObjectFactory.h>

#include <cstring>

vtkStandardNewMacro(vtkVireonDynamicModelerLogic);

//------------------------------------------------------------------------------
vtkVireonDynamicModelerLogic::vtkVireonDynamicModelerLogic()
{
  this->Tools = {
    vtkSmartPointer<vtkVireonDynamicModelerPlaneCutTool>::New(),
    vtkSmartPointer<vtkVireonDynamicModelerCurveCutTool>::New(),
    vtkSmartPointer<vtkVireonDynamicModelerBoundaryCutTool>::New(),
    vtkSmartPointer<vtkVireonDynamicModelerMirrorTool>::New(),
    vtkSmartPointer<vtkVireonDynamicModelerExtrudeTool>::New(),
    vtkSmartPointer<vtkVireonDynamicModelerRevolveTool>::New(),
    vtkSmartPointer<vtkVireonDynamicModelerSubdivideTool>::New(),
    vtkSmartPointer<vtkVireonDynamicModelerHollowTool>::New(),
    vtkSmartPointer<vtkVireonDynamicModelerMarginTool>::New(),
    vtkSmartPointer<vtkVireonDynamicModelerAppendTool>::New(),
    vtkSmartPointer<vtkVireonDynamicModelerROICutTool>::New(),
    vtkSmartPointer<vtkVireonDynamicModelerSelectByPointsTool>::New(),
  };
}

vtkVireonDynamicModelerLogic::~vtkVireonDynamicModelerLogic() = default;

//------------------------------------------------------------------------------
void vtkVireonDynamicModelerLogic::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "Tools:";
  for (const auto& tool : this->Tools)
  {
    os << " \"" << tool->GetName() << "\"";
  }
  os << "\n";
}

//------------------------------------------------------------------------------
void vtkVireonDynamicModelerLogic::RegisterNodes()
{
  vtkKOVAScene* scene = this->GetKOVAScene();
  if (!scene)
  {
    vtkErrorMacro("RegisterNodes: Invalid KOVA scene");
    return;
  }
  vtkNew<vtkKOVADynamicModelerNode> prototype;
  scene->RegisterNodeClass(prototype);
}

//------------------------------------------------------------------------------
vtkVireonDynamicModelerTool* vtkVireonDynamicModelerLogic::GetDynamicModelerToolByName(
  const char* name)
{
  if (!name)
  {
    return nullptr;
  }
  for (const auto& tool : this->Tools)
  {
    if (std::strcmp(tool->GetName(), name) == 0)
    {
      return tool;
    }
  }
  return nullptr;
}

//------------------------------------------------------------------------------
vtkVireonDynamicModelerTool* vtkVireonDynamicModelerLogic::GetNthDynamicModelerTool(int n)
{
  if (n < 0 || n >= static_cast<int>(this->Tools.size()))
  {
    return nullptr;
  }
  return this->Tools[static_cast<size_t>(n)];
}

//------------------------------------------------------------------------------
bool vtkVireonDynamicModelerLogic::RunDynamicModelerTool(vtkKOVADynamicModelerNode* node)
{
  if (!node)
  {
    vtkErrorMacro("RunDynamicModelerTool: node is nullptr");
    return false;
  }
  const char* toolName = node->GetToolName();
  if (!toolName)
  {
    vtkErrorMacro("RunDynamicModelerTool: node " << (node->GetID() ? node->GetID() : "(no ID)")
                                                 << " has no tool name");
    return false;
  }
  vtkVireonDynamicModelerTool* tool = this->GetDynamicModelerToolByName(toolName);
  if (!tool)
  {
    vtkErrorMacro("RunDynamicModelerTool: no tool is named " << toolName);
    return false;
  }
  if (!tool->Run(node))
  {
    return false;
  }
  this->InvokeEvent(ToolRunEvent, node);
  return true;
}
