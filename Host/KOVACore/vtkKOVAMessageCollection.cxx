#include "vtkKOVAMessageCollection.h"

#include <vtkCommand.h>
#include <vtkObjectFactory.h>

#include <algorithm>

vtkStandardNewMacro(vtkKOVAMessageCollection);

vtkKOVAMessageCollection::vtkKOVAMessageCollection() = default;
vtkKOVAMessageCollection::~vtkKOVAMessageCollection() = default;

//------------------------------------------------------------------------------
void vtkKOVAMessageCollection::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "Messages: " << this->Messages.size() << "\n";
  for (const Message& message : this->Messages)
  {
    os << indent.GetNextIndent() << vtkCommand::GetStringFromEventId(message.Type) << ": "
       << message.Text << "\n";
  }
}

//------------------------------------------------------------------------------
void vtkKOVAMessageCollection::AddMessage(unsigned long messageType, const std::string& text)
{
  this->Messages.push_back(Message{ messageType, text });
  this->Modified();
}

//------------------------------------------------------------------------------
void vtkKOVAMessageCollection::AddMessages(vtkKOVAMessageCollection* source,
  const std::string& prefix)
{
  if (!source || source->Messages.empty())
  {
    return;
  }
  // Copy first: source may be this collection.
  const std::vector<Message> messages = source->Messages;
  for (const Message& message : messages)
  {
    this->Messages.push_back(Message{ message.Type, prefix + message.Text });
  }
  this->Modified();
}

//------------------------------------------------------------------------------
void vtkKOVAMessageCollection::ClearMessages()
{
  if (this->Messages.empty())
  {
    return;
  }
  this->Messages.clear();
  this->Modified();
}

//------------------------------------------------------------------------------
int vtkKOVAMessageCollection::GetNumberOfMessagesOfType(unsigned long messageType) const
{
  return static_cast<int>(std::count_if(this->Messages.begin(),
    this->Messages.end(),
    [messageType](const Message& message) { return message.Type == messageType; }));
}

//------------------------------------------------------------------------------
unsigned long vtkKOVAMessageCollection::GetNthMessageType(int n) const
{
  if (n < 0 || n >= this->GetNumberOfMessages())
  {
    return 0;
  }
  return this->Messages[static_cast<size_t>(n)].Type;
}

//------------------------------------------------------------------------------
std::string vtkKOVAMessageCollection::GetNthMessageText(int n) const
{
  if (n < 0 || n >= this->GetNumberOfMessages())
  {
    return std::string();
  }
  return this->Messages[static_cast<size_t>(n)].Text;
}

//------------------------------------------------------------------------------
std::string vtkKOVAMessageCollection::GetAllMessagesAsString(bool* errorFound,
  bool* warningFound) const
{
  std::string text;
  bool error = false;
  bool warning = false;
  for (const Message& message : this->Messages)
  {
    if (message.Type == vtkCommand::ErrorEvent)
    {
      error = true;
      text += "Error: ";
    }
    else if (message.Type == vtkCommand::WarningEvent)
    {
      warning = true;
      text += "Warning: ";
    }
    text += message.Text;
    text += "\n";
  }
  if (errorFound)
  {
    *errorFound = error;
  }
  if (warningFound)
  {
    *warningFound = warning;
  }
  return text;
}
