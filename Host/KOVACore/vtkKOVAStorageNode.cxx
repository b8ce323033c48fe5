#include "vtkKOVAStorageNode.h"

#include "vtkKOVAMessageCollection.h"

#include <vtkCommand.h>
#include <vtksys/SystemTools.hxx>

#include <algorithm>
#include <cctype>

//------------------------------------------------------------------------------
vtkKOVAStorageNode::vtkKOVAStorageNode()
{
  this->UserMessages = vtkSmartPointer<vtkKOVAMessageCollection>::New();
  this->HideFromEditors = true;
}

//------------------------------------------------------------------------------
vtkKOVAStorageNode::~vtkKOVAStorageNode()
{
  this->SetFileName(nullptr);
}

//------------------------------------------------------------------------------
void vtkKOVAStorageNode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "FileName: " << (this->FileName ? this->FileName : "(none)") << "\n";
  os << indent << "UserMessages: " << this->UserMessages->GetNumberOfMessages() << "\n";
}

//------------------------------------------------------------------------------
void vtkKOVAStorageNode::ReadXMLAttributes(const char** atts)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::ReadXMLAttributes(atts);
  for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
  {
    if (strcmp(atts[i], "fileName") == 0)
    {
      this->SetFileName(atts[i + 1]);
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVAStorageNode::WriteXML(ostream& of, int indent)
{
  this->Superclass::WriteXML(of, indent);
  if (this->FileName)
  {
    of << " fileName=\"" << XMLAttributeEncodeString(this->FileName) << "\"";
  }
}

//------------------------------------------------------------------------------
void vtkKOVAStorageNode::CopyContent(vtkKOVANode* anode, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(anode, deepCopy);
  if (vtkKOVAStorageNode* node = vtkKOVAStorageNode::SafeDownCast(anode))
  {
    this->SetFileName(node->FileName);
  }
}

//------------------------------------------------------------------------------
int vtkKOVAStorageNode::ReadData(vtkKOVANode* refNode, bool temporaryFile)
{
  this->UserMessages->ClearMessages();
  if (!refNode)
  {
    this->AddErrorMessage("Cannot read data: no node to read into.");
    return 0;
  }
  if (!this->CanReadInReferenceNode(refNode))
  {
    this->AddErrorMessage(std::string("Cannot read data into a node of class ") +
                          refNode->GetClassName() + " with a " + this->GetClassName() + ".");
    return 0;
  }
  if (!this->FileName || !*this->FileName)
  {
    this->AddErrorMessage("Cannot read data: no file name is set.");
    return 0;
  }
  if (!this->ReadDataInternal(refNode))
  {
    if (this->UserMessages->GetNumberOfMessagesOfType(vtkCommand::ErrorEvent) == 0)
    {
      this->AddErrorMessage(std::string("Failed to read file ") + this->FileName + ".");
    }
    return 0;
  }
  if (!temporaryFile)
  {
    this->StoredTime.Modified();
  }
  return 1;
}

//------------------------------------------------------------------------------
vtkKOVAMessageCollection* vtkKOVAStorageNode::GetUserMessages()
{
  return this->UserMessages;
}

//------------------------------------------------------------------------------
std::string vtkKOVAStorageNode::GetLowercaseExtensionFromFileName(const std::string& fileName)
{
  std::string extension =
    vtksys::SystemTools::GetFilenameLastExtension(vtksys::SystemTools::GetFilenameName(fileName));
  std::transform(extension.begin(),
    extension.end(),
    extension.begin(),
    [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

//------------------------------------------------------------------------------
void vtkKOVAStorageNode::AddErrorMessage(const std::string& text)
{
  this->UserMessages->AddMessage(vtkCommand::ErrorEvent, text);
}

//------------------------------------------------------------------------------
void vtkKOVAStorageNode::AddWarningMessage(const std::string& text)
{
  this->UserMessages->AddMessage(vtkCommand::WarningEvent, text);
}
