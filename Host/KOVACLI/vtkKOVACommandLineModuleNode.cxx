#include "vtkKOVACommandLineModuleNode.h"

#include "vtkVireonCLIModuleLogic.h"

#include <vtkKOVAScene.h>

#include <vtkCommand.h>
#include <vtkObjectFactory.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

vtkKOVANodeNewMacro(vtkKOVACommandLineModuleNode);

//------------------------------------------------------------------------------
vtkKOVACommandLineModuleNode::vtkKOVACommandLineModuleNode()
{
  this->HideFromEditors = true;
  this->TypeDisplayName = "Command Line Module";
}

vtkKOVACommandLineModuleNode::~vtkKOVACommandLineModuleNode() = default;

void vtkKOVACommandLineModuleNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "ModuleName: " << this->ModuleName << "\n";
  os << indent << "Status: " << this->GetStatusString() << "\n";
  os << indent << "Progress: " << this->Progress << "\n";
  for (const auto& parameter : this->Parameters)
  {
    os << indent << "Parameter " << parameter.first << ": " << parameter.second << "\n";
  }
  os << indent << "ErrorText: " << this->ErrorText << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVACommandLineModuleNode::SetModuleName(const std::string& name)
{
  if (this->ModuleName == name)
  {
    return;
  }
  this->ModuleName = name;
  this->Modified();
}

bool vtkKOVACommandLineModuleNode::SetParameterAsString(const std::string& name,
  const std::string& value)
{
  if (vtkVireonCLIModuleLogic::IsModuleRegistered(this->ModuleName))
  {
    const std::vector<std::string> names =
      vtkVireonCLIModuleLogic::GetModuleParameterNames(this->ModuleName);
    if (std::find(names.begin(), names.end(), name) == names.end())
    {
      return false;
    }
  }
  const auto it = this->Parameters.find(name);
  if (it != this->Parameters.end() && it->second == value)
  {
    return true;
  }
  this->Parameters[name] = value;
  this->Modified();
  return true;
}

std::string vtkKOVACommandLineModuleNode::GetParameterAsString(const std::string& name) const
{
  const auto it = this->Parameters.find(name);
  return it == this->Parameters.end() ? std::string() : it->second;
}

bool vtkKOVACommandLineModuleNode::IsParameterSet(const std::string& name) const
{
  return this->Parameters.count(name) > 0;
}

void vtkKOVACommandLineModuleNode::ClearParameter(const std::string& name)
{
  if (this->Parameters.erase(name))
  {
    this->Modified();
  }
}

std::vector<std::string> vtkKOVACommandLineModuleNode::GetParameterNames() const
{
  std::vector<std::string> names;
  for (const auto& parameter : this->Parameters)
  {
    names.push_back(parameter.first);
  }
  return names;
}

//------------------------------------------------------------------------------
void vtkKOVACommandLineModuleNode::SetStatus(int status)
{
  if (this->Status == status)
  {
    return;
  }
  this->Status = status;
  this->Modified();
  this->InvokeCustomModifiedEvent(StatusModifiedEvent);
}

const char* vtkKOVACommandLineModuleNode::GetStatusString() const
{
  switch (this->Status)
  {
    case Idle:
      return "Idle";
    case Scheduled:
      return "Scheduled";
    case Running:
      return "Running";
    case Cancelling:
      return "Cancelling";
    case Cancelled:
      return "Cancelled";
    case Completing:
      return "Completing";
    case Completed:
      return "Completed";
    case CompletedWithErrors:
      return "CompletedWithErrors";
    default:
      return "Unknown";
  }
}

void vtkKOVACommandLineModuleNode::SetProgress(double progress)
{
  if (this->Progress == progress)
  {
    return;
  }
  this->Progress = progress;
  this->InvokeEvent(vtkCommand::ProgressEvent, &this->Progress);
}

void vtkKOVACommandLineModuleNode::SetErrorText(const std::string& text)
{
  if (this->ErrorText != text)
  {
    this->ErrorText = text;
    this->Modified();
  }
}

void vtkKOVACommandLineModuleNode::SetOutputText(const std::string& text)
{
  if (this->OutputText != text)
  {
    this->OutputText = text;
    this->Modified();
  }
}

//------------------------------------------------------------------------------
void vtkKOVACommandLineModuleNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    const std::string name = atts[i];
    if (name == "moduleName")
    {
      this->SetModuleName(atts[i + 1]);
    }
    else if (name.rfind("parameter.", 0) == 0)
    {
      this->Parameters[name.substr(10)] = atts[i + 1];
    }
  }
}

void vtkKOVACommandLineModuleNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  of << " moduleName=\"" << vtkKOVANode::XMLAttributeEncodeString(this->ModuleName) << "\"";
  for (const auto& parameter : this->Parameters)
  {
    // Parameter names are identifiers, so they are valid attribute names.
    of << " parameter." << parameter.first << "=\""
       << vtkKOVANode::XMLAttributeEncodeString(parameter.second) << "\"";
  }
}

void vtkKOVACommandLineModuleNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  auto* node = vtkKOVACommandLineModuleNode::SafeDownCast(anode);
  if (node && node != this)
  {
    this->SetModuleName(node->ModuleName);
    this->Parameters = node->Parameters;
    this->Modified();
  }
}
