#include "vtkVireonMarkupsLogic.h"

#include <vtkVireonMarkupsWidget.h>

#include <vtkKOVAAbstractWidget.h>
#include <vtkKOVAMarkupsNode.h>
#include <vtkKOVAScene.h>

#include <vtkObjectFactory.h>
#include <vtkSmartPointer.h>

#include <algorithm>
#include <cstring>

vtkStandardNewMacro(vtkVireonMarkupsLogic);

struct vtkVireonMarkupsLogic::MarkupsInfo
{
  std::string MarkupType;
  vtkSmartPointer<vtkKOVAMarkupsNode> Node;
  vtkSmartPointer<vtkVireonMarkupsWidget> Widget;
  vtkSmartPointer<vtkKOVAAbstractWidget> InteractionWidget;
  bool CreatePushButton = true;
};

vtkVireonMarkupsLogic::vtkVireonMarkupsLogic()
  : Types(new std::vector<MarkupsInfo>)
{
}

vtkVireonMarkupsLogic::~vtkVireonMarkupsLogic()
{
  delete this->Types;
}

void vtkVireonMarkupsLogic::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "RegisteredMarkupsTypes:";
  for (const MarkupsInfo& info : *this->Types)
  {
    os << " " << info.MarkupType;
  }
  os << "\n";
}

//------------------------------------------------------------------------------
vtkVireonMarkupsLogic::MarkupsInfo* vtkVireonMarkupsLogic::FindMarkupsInfo(const char* markupType)
{
  if (!markupType)
  {
    return nullptr;
  }
  auto it = std::find_if(this->Types->begin(),
    this->Types->end(),
    [markupType](const MarkupsInfo& info) { return info.MarkupType == markupType; });
  return it == this->Types->end() ? nullptr : &*it;
}

void vtkVireonMarkupsLogic::RegisterMarkupsNode(vtkKOVAMarkupsNode* markupsNode,
  vtkVireonMarkupsWidget* markupsWidget,
  bool createPushButton,
  vtkKOVAAbstractWidget* interactionWidget)
{
  if (!markupsNode)
  {
    vtkErrorMacro("RegisterMarkupsNode: markupsNode is nullptr");
    return;
  }
  if (!markupsWidget)
  {
    vtkErrorMacro("RegisterMarkupsNode: markupsWidget is nullptr");
    return;
  }
  const char* markupType = markupsNode->GetMarkupType();
  if (!markupType || !*markupType)
  {
    vtkErrorMacro("RegisterMarkupsNode: the node of class " << markupsNode->GetClassName()
                                                            << " has no markup type");
    return;
  }
  MarkupsInfo* info = this->FindMarkupsInfo(markupType);
  if (!info)
  {
    this->Types->emplace_back();
    info = &this->Types->back();
    info->MarkupType = markupType;
  }
  info->Node = markupsNode;
  info->Widget = markupsWidget;
  info->InteractionWidget = interactionWidget;
  info->CreatePushButton = createPushButton;

  vtkKOVAScene* scene = this->GetKOVAScene();
  if (scene && !scene->IsNodeClassRegistered(markupsNode->GetClassName()))
  {
    scene->RegisterNodeClass(markupsNode);
  }
  this->Modified();
}

void vtkVireonMarkupsLogic::UnregisterMarkupsNode(vtkKOVAMarkupsNode* markupsNode)
{
  if (!markupsNode)
  {
    vtkErrorMacro("UnregisterMarkupsNode: markupsNode is nullptr");
    return;
  }
  const char* markupType = markupsNode->GetMarkupType();
  auto it = std::find_if(this->Types->begin(),
    this->Types->end(),
    [markupType](const MarkupsInfo& info) { return markupType && info.MarkupType == markupType; });
  if (it != this->Types->end())
  {
    this->Types->erase(it);
    this->Modified();
  }
}

void vtkVireonMarkupsLogic::RegisterNodes()
{
  vtkKOVAScene* scene = this->GetKOVAScene();
  if (!scene)
  {
    return;
  }
  for (const MarkupsInfo& info : *this->Types)
  {
    if (!scene->IsNodeClassRegistered(info.Node->GetClassName()))
    {
      scene->RegisterNodeClass(info.Node);
    }
  }
}

//------------------------------------------------------------------------------
std::vector<std::string> vtkVireonMarkupsLogic::GetRegisteredMarkupsTypes()
{
  std::vector<std::string> types;
  for (const MarkupsInfo& info : *this->Types)
  {
    types.push_back(info.MarkupType);
  }
  return types;
}

bool vtkVireonMarkupsLogic::IsMarkupsTypeRegistered(const char* markupType)
{
  return this->FindMarkupsInfo(markupType) != nullptr;
}

vtkKOVAMarkupsNode* vtkVireonMarkupsLogic::GetNodeByMarkupsType(const char* markupType)
{
  MarkupsInfo* info = this->FindMarkupsInfo(markupType);
  return info ? info->Node.GetPointer() : nullptr;
}

vtkVireonMarkupsWidget* vtkVireonMarkupsLogic::GetWidgetByMarkupsType(const char* markupType)
{
  MarkupsInfo* info = this->FindMarkupsInfo(markupType);
  return info ? info->Widget.GetPointer() : nullptr;
}

vtkKOVAAbstractWidget* vtkVireonMarkupsLogic::GetInteractionWidgetByMarkupsType(
  const char* markupType)
{
  MarkupsInfo* info = this->FindMarkupsInfo(markupType);
  return info ? info->InteractionWidget.GetPointer() : nullptr;
}

bool vtkVireonMarkupsLogic::GetCreateMarkupsPushButton(const char* markupType)
{
  MarkupsInfo* info = this->FindMarkupsInfo(markupType);
  return info && info->CreatePushButton;
}

vtkKOVAMarkupsNode* vtkVireonMarkupsLogic::AddNewMarkupsNode(const std::string& className,
  const std::string& nodeName)
{
  vtkKOVAScene* scene = this->GetKOVAScene();
  if (!scene)
  {
    vtkErrorMacro("AddNewMarkupsNode: invalid scene");
    return nullptr;
  }
  auto it = std::find_if(this->Types->begin(),
    this->Types->end(),
    [&className](const MarkupsInfo& info) { return className == info.Node->GetClassName(); });
  if (it == this->Types->end())
  {
    vtkErrorMacro("AddNewMarkupsNode: " << className << " is not a registered markups class");
    return nullptr;
  }
  if (!scene->IsNodeClassRegistered(className))
  {
    scene->RegisterNodeClass(it->Node);
  }
  const std::string baseName = nodeName.empty() ? it->Node->GetDefaultNodeNamePrefix() : nodeName;
  auto* node = vtkKOVAMarkupsNode::SafeDownCast(scene->AddNewNodeByClass(className, baseName));
  if (!node)
  {
    vtkErrorMacro("AddNewMarkupsNode: cannot create a node of class " << className);
    return nullptr;
  }
  node->CreateDefaultDisplayNodes();
  return node;
}
