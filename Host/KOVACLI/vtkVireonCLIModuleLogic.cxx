#include "vtkVireonCLIModuleLogic.h"

#include "vtkKOVACommandLineModuleNode.h"

#include <vtkKOVAScene.h>
#include <vtkNew.h>
#include <vtkObjectFactory.h>

#include <map>

vtkStandardNewMacro(vtkVireonCLIModuleLogic);

namespace
{
struct ModuleEntry
{
  std::vector<std::string> ParameterNames;
  vtkVireonCLIModuleLogic::ModuleFunction Function;
};

std::map<std::string, ModuleEntry>& Modules()
{
  static std::map<std::string, ModuleEntry> modules;
  return modules;
}
}

//------------------------------------------------------------------------------
vtkVireonCLIModuleLogic::vtkVireonCLIModuleLogic() = default;
vtkVireonCLIModuleLogic::~vtkVireonCLIModuleLogic() = default;

void vtkVireonCLIModuleLogic::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "ModuleName: " << this->ModuleName << "\n";
}

//------------------------------------------------------------------------------
void vtkVireonCLIModuleLogic::RegisterModule(const std::string& moduleName,
  const std::vector<std::string>& parameterNames,
  ModuleFunction function)
{
  Modules()[moduleName] = ModuleEntry{ parameterNames, std::move(function) };
}

bool vtkVireonCLIModuleLogic::IsModuleRegistered(const std::string& moduleName)
{
  return Modules().count(moduleName) > 0;
}

std::vector<std::string> vtkVireonCLIModuleLogic::GetModuleParameterNames(
  const std::string& moduleName)
{
  const auto it = Modules().find(moduleName);
  return it == Modules().end() ? std::vector<std::string>() : it->second.ParameterNames;
}

//------------------------------------------------------------------------------
void vtkVireonCLIModuleLogic::SetModuleName(const std::string& moduleName)
{
  if (this->ModuleName == moduleName)
  {
    return;
  }
  this->ModuleName = moduleName;
  this->Modified();
}

void vtkVireonCLIModuleLogic::RegisterNodes()
{
  vtkKOVAScene* scene = this->GetKOVAScene();
  if (scene && !scene->IsNodeClassRegistered("vtkKOVACommandLineModuleNode"))
  {
    vtkNew<vtkKOVACommandLineModuleNode> prototype;
    scene->RegisterNodeClass(prototype);
  }
}

//------------------------------------------------------------------------------
vtkKOVACommandLineModuleNode* vtkVireonCLIModuleLogic::CreateNodeInScene()
{
  vtkKOVAScene* scene = this->GetKOVAScene();
  if (!scene)
  {
    vtkErrorMacro("CreateNodeInScene: the logic has no scene");
    return nullptr;
  }
  vtkNew<vtkKOVACommandLineModuleNode> node;
  node->SetModuleName(this->ModuleName);
  node->SetName(scene->GetUniqueNameByString(this->ModuleName.c_str()).c_str());
  return vtkKOVACommandLineModuleNode::SafeDownCast(scene->AddNode(node));
}

bool vtkVireonCLIModuleLogic::ApplyAndWait(vtkKOVACommandLineModuleNode* node,
  bool vtkNotUsed(updateDisplay))
{
  if (!node)
  {
    vtkErrorMacro("ApplyAndWait: node is nullptr");
    return false;
  }
  node->SetErrorText("");
  node->SetStatus(vtkKOVACommandLineModuleNode::Scheduled);
  const auto it = Modules().find(node->GetModuleName());
  if (it == Modules().end())
  {
    node->SetErrorText("module \"" + node->GetModuleName() + "\" is not available");
    node->SetStatus(vtkKOVACommandLineModuleNode::CompletedWithErrors);
    return false;
  }
  node->SetStatus(vtkKOVACommandLineModuleNode::Running);
  std::string errorText;
  vtkKOVAScene* scene = node->GetScene() ? node->GetScene() : this->GetKOVAScene();
  const bool ok = it->second.Function(node, scene, errorText);
  node->SetErrorText(ok ? std::string() : errorText);
  node->SetStatus(ok ? vtkKOVACommandLineModuleNode::Completed
                     : vtkKOVACommandLineModuleNode::CompletedWithErrors);
  return ok;
}
