#include "vtkKOVANode.h"

#include "vtkKOVAScene.h"

#include <vtkCallbackCommand.h>
#include <vtkCommand.h>
#include <vtkIntArray.h>

#include <algorithm>
#include <sstream>

namespace
{
bool IsHex(char c)
{
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c)
{
  if (c >= '0' && c <= '9')
  {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f')
  {
    return c - 'a' + 10;
  }
  return c - 'A' + 10;
}

void AppendPercentEscape(std::string& out, unsigned char c)
{
  static const char digits[] = "0123456789ABCDEF";
  out += '%';
  out += digits[c >> 4];
  out += digits[c & 0x0F];
}

/// Length of the well-formed UTF-8 sequence starting at text[i], or 0 if there is none.
size_t Utf8SequenceLength(const std::string& text, size_t i)
{
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(i);
  size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (c >= 0xC2 && c <= 0xDF)
  {
    length = 2;
  }
  else if (c >= 0xE0 && c <= 0xEF)
  {
    length = 3;
    low = (c == 0xE0) ? 0xA0 : 0x80;
    high = (c == 0xED) ? 0x9F : 0xBF;
  }
  else if (c >= 0xF0 && c <= 0xF4)
  {
    length = 4;
    low = (c == 0xF0) ? 0x90 : 0x80;
    high = (c == 0xF4) ? 0x8F : 0xBF;
  }
  else
  {
    return 0;
  }
  if (i + length > text.size())
  {
    return 0;
  }
  if (byte(i + 1) < low || byte(i + 1) > high)
  {
    return 0;
  }
  for (size_t k = 2; k < length; ++k)
  {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
    {
      return 0;
    }
  }
  return length;
}

/// Escapes the separators of the references attribute inside a role or an ID.
std::string EscapeReferencePart(const std::string& part)
{
  std::string out;
  for (char c : part)
  {
    if (c == '%' || c == ':' || c == ';' || c == ' ')
    {
      AppendPercentEscape(out, static_cast<unsigned char>(c));
    }
    else
    {
      out += c;
    }
  }
  return out;
}
}

//------------------------------------------------------------------------------
vtkKOVANode::vtkKOVANode()
{
  this->KOVACallbackCommand = vtkSmartPointer<vtkCallbackCommand>::New();
  this->KOVACallbackCommand->SetClientData(this);
  this->KOVACallbackCommand->SetCallback(&vtkKOVANode::KOVACallback);
}

//------------------------------------------------------------------------------
vtkKOVANode::~vtkKOVANode()
{
  for (const Observation& observation : this->Observations)
  {
    if (observation.Node)
    {
      observation.Node->RemoveObserver(observation.Tag);
    }
  }
  this->Observations.clear();
  this->KOVACallbackCommand->SetClientData(nullptr);
  this->SetID(nullptr);
  this->SetName(nullptr);
}

//------------------------------------------------------------------------------
void vtkKOVANode::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "ID: " << (this->ID ? this->ID : "(none)") << "\n";
  os << indent << "Name: " << (this->Name ? this->Name : "(none)") << "\n";
  os << indent << "HideFromEditors: " << this->HideFromEditors << "\n";
  os << indent << "Selectable: " << this->Selectable << "\n";
  os << indent << "SaveWithScene: " << this->SaveWithScene << "\n";
  for (const auto& role : this->References)
  {
    for (const Reference& reference : role.second)
    {
      os << indent << "Reference " << role.first << ": " << reference.ID
         << (reference.Events.empty() ? "" : " (observed)") << "\n";
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVANode::ReadXMLAttributes(const char** atts)
{
  if (!atts)
  {
    return;
  }
  KOVANodeModifyBlocker blocker(this);
  for (int i = 0; atts[i] && atts[i + 1]; i += 2)
  {
    const std::string name = atts[i];
    const char* value = atts[i + 1];
    if (name == "id")
    {
      this->SetID(value);
    }
    else if (name == "name")
    {
      this->SetName(value);
    }
    else if (name == "hideFromEditors")
    {
      this->SetHideFromEditors(strcmp(value, "true") == 0);
    }
    else if (name == "selectable")
    {
      this->SetSelectable(strcmp(value, "true") == 0);
    }
    else if (name == "references")
    {
      this->ReferencesFromString(value);
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVANode::WriteXML(ostream& of, int vtkNotUsed(indent))
{
  if (this->ID)
  {
    of << " id=\"" << XMLAttributeEncodeString(this->ID) << "\"";
  }
  if (this->Name)
  {
    of << " name=\"" << XMLAttributeEncodeString(this->Name) << "\"";
  }
  of << " hideFromEditors=\"" << (this->HideFromEditors ? "true" : "false") << "\"";
  of << " selectable=\"" << (this->Selectable ? "true" : "false") << "\"";
  const std::string references = this->ReferencesToString();
  if (!references.empty())
  {
    of << " references=\"" << XMLAttributeEncodeString(references) << "\"";
  }
}

//------------------------------------------------------------------------------
void vtkKOVANode::Copy(vtkKOVANode* node)
{
  if (!node || node == this)
  {
    return;
  }
  KOVANodeModifyBlocker blocker(this);
  this->SetName(node->GetName());
  this->SetHideFromEditors(node->GetHideFromEditors());
  this->SetSelectable(node->GetSelectable());
  this->SetSaveWithScene(node->GetSaveWithScene());

  this->RemoveNodeReferenceIDs(nullptr);
  for (const auto& role : node->References)
  {
    int n = 0;
    for (const Reference& reference : role.second)
    {
      vtkNew<vtkIntArray> events;
      for (unsigned long event : reference.Events)
      {
        events->InsertNextValue(static_cast<int>(event));
      }
      this->SetNthReference(role.first,
        n++,
        reference.ID.c_str(),
        !reference.Events.empty(),
        reference.Events.empty() ? nullptr : events.GetPointer());
    }
  }

  this->CopyContent(node, true);
}

//------------------------------------------------------------------------------
void vtkKOVANode::CopyContent(vtkKOVANode* vtkNotUsed(node), bool vtkNotUsed(deepCopy))
{
  // The base node has no content beyond identity, flags and references.
}

//------------------------------------------------------------------------------
bool vtkKOVANode::HasCopyContent() const
{
  return strcmp("vtkKOVANode", this->GetClassNameInternal()) == 0;
}

//------------------------------------------------------------------------------
void vtkKOVANode::CopyWithScene(vtkKOVANode* node)
{
  if (!node)
  {
    return;
  }
  KOVANodeModifyBlocker blocker(this);
  this->Copy(node);
  this->SetID(node->GetID());
}

//------------------------------------------------------------------------------
void vtkKOVANode::Reset(vtkKOVANode* defaultNode)
{
  vtkSmartPointer<vtkKOVANode> source = defaultNode;
  if (!source)
  {
    source.TakeReference(this->CreateNodeInstance());
  }
  if (!source || source == this)
  {
    return;
  }
  KOVANodeModifyBlocker blocker(this);
  if (this->HasCopyContent())
  {
    this->CopyContent(source, true);
    return;
  }
  // Without CopyContent, copy everything and restore what identifies this node.
  const std::string id = this->ID ? this->ID : "";
  const bool hasName = this->Name != nullptr;
  const std::string name = hasName ? this->Name : "";
  const bool hide = this->HideFromEditors;
  const bool selectable = this->Selectable;
  const bool save = this->SaveWithScene;
  auto references = this->References;
  this->Copy(source);
  this->SetName(hasName ? name.c_str() : nullptr);
  this->SetHideFromEditors(hide);
  this->SetSelectable(selectable);
  this->SetSaveWithScene(save);
  this->RemoveNodeReferenceIDs(nullptr);
  for (const auto& role : references)
  {
    int n = 0;
    for (const Reference& reference : role.second)
    {
      vtkNew<vtkIntArray> events;
      for (unsigned long event : reference.Events)
      {
        events->InsertNextValue(static_cast<int>(event));
      }
      this->SetNthReference(role.first,
        n++,
        reference.ID.c_str(),
        !reference.Events.empty(),
        reference.Events.empty() ? nullptr : events.GetPointer());
    }
  }
}

//------------------------------------------------------------------------------
std::string vtkKOVANode::GetTypeDisplayName()
{
  if (!this->TypeDisplayName.empty())
  {
    return this->TypeDisplayName;
  }
  const char* tag = this->GetNodeTagName();
  return tag ? tag : this->GetClassName();
}

//------------------------------------------------------------------------------
void vtkKOVANode::SetScene(vtkKOVAScene* scene)
{
  if (this->Scene == scene)
  {
    return;
  }
  this->Scene = scene;
  if (scene)
  {
    this->UpdateNodeReferences();
  }
}

//------------------------------------------------------------------------------
int vtkKOVANode::StartModify()
{
  const int previous = this->DisableModifiedEvent;
  this->DisableModifiedEvent = 1;
  return previous;
}

//------------------------------------------------------------------------------
int vtkKOVANode::EndModify(int previousDisableModifiedEventState)
{
  this->DisableModifiedEvent = previousDisableModifiedEventState;
  if (!previousDisableModifiedEventState)
  {
    return this->InvokePendingModifiedEvent();
  }
  return this->ModifiedEventPending;
}

//------------------------------------------------------------------------------
void vtkKOVANode::Modified()
{
  if (this->DisableModifiedEvent)
  {
    this->MTime.Modified();
    ++this->ModifiedEventPending;
    return;
  }
  this->Superclass::Modified();
}

//------------------------------------------------------------------------------
void vtkKOVANode::InvokeCustomModifiedEvent(int event, void* callData)
{
  if (this->DisableModifiedEvent)
  {
    const auto pending = std::find_if(this->CustomModifiedEventPending.begin(),
      this->CustomModifiedEventPending.end(),
      [event](const std::pair<int, void*>& p) { return p.first == event; });
    if (pending == this->CustomModifiedEventPending.end())
    {
      this->CustomModifiedEventPending.emplace_back(event, callData);
    }
    else
    {
      pending->second = callData;
    }
    return;
  }
  this->InvokeEvent(static_cast<unsigned long>(event), callData);
}

//------------------------------------------------------------------------------
int vtkKOVANode::InvokePendingModifiedEvent()
{
  // Keep the node alive while observers run.
  vtkSmartPointer<vtkKOVANode> self = this;
  const int pending = this->ModifiedEventPending;
  if (pending)
  {
    this->ModifiedEventPending = 0;
    this->Superclass::Modified();
  }
  std::vector<std::pair<int, void*>> custom;
  custom.swap(this->CustomModifiedEventPending);
  for (const auto& event : custom)
  {
    this->InvokeEvent(static_cast<unsigned long>(event.first), event.second);
  }
  return pending;
}

//------------------------------------------------------------------------------
std::string vtkKOVANode::XMLAttributeEncodeString(const std::string& inString)
{
  std::string out;
  out.reserve(inString.size());
  for (size_t i = 0; i < inString.size(); ++i)
  {
    const unsigned char c = static_cast<unsigned char>(inString[i]);
    switch (c)
    {
      case '&':
        out += "&amp;";
        continue;
      case '<':
        out += "&lt;";
        continue;
      case '>':
        out += "&gt;";
        continue;
      case '"':
        out += "&quot;";
        continue;
      case '\'':
        out += "&apos;";
        continue;
      case '%':
        AppendPercentEscape(out, c);
        continue;
      default:
        break;
    }
    if (c < 0x20 || c == 0x7F)
    {
      // Control characters (tab and line breaks included, which attribute normalisation would
      // turn into blanks).
      AppendPercentEscape(out, c);
    }
    else if (c < 0x80)
    {
      out += static_cast<char>(c);
    }
    else if (const size_t length = Utf8SequenceLength(inString, i))
    {
      out.append(inString, i, length);
      i += length - 1;
    }
    else
    {
      AppendPercentEscape(out, c);
    }
  }
  return out;
}

//------------------------------------------------------------------------------
std::string vtkKOVANode::XMLAttributeDecodeString(const std::string& inString)
{
  std::string out;
  out.reserve(inString.size());
  for (size_t i = 0; i < inString.size(); ++i)
  {
    if (inString[i] == '%' && i + 2 < inString.size() && IsHex(inString[i + 1]) &&
        IsHex(inString[i + 2]))
    {
      out += static_cast<char>(HexValue(inString[i + 1]) * 16 + HexValue(inString[i + 2]));
      i += 2;
    }
    else
    {
      out += inString[i];
    }
  }
  return out;
}

//------------------------------------------------------------------------------
// Node references

vtkKOVANode* vtkKOVANode::SetNodeReferenceID(const char* role, const char* id)
{
  if (!role)
  {
    vtkErrorMacro("SetNodeReferenceID: reference role is nullptr");
    return nullptr;
  }
  this->RemoveNodeReferenceIDs(role);
  return id ? this->SetNthReference(role, 0, id, false, nullptr) : nullptr;
}

vtkKOVANode* vtkKOVANode::SetAndObserveNodeReferenceID(const char* role,
  const char* id,
  vtkIntArray* events)
{
  if (!role)
  {
    vtkErrorMacro("SetAndObserveNodeReferenceID: reference role is nullptr");
    return nullptr;
  }
  this->RemoveNodeReferenceIDs(role);
  return id ? this->SetNthReference(role, 0, id, true, events) : nullptr;
}

vtkKOVANode* vtkKOVANode::AddNodeReferenceID(const char* role, const char* id)
{
  if (!role || !id)
  {
    vtkErrorMacro("AddNodeReferenceID: reference role or node ID is nullptr");
    return nullptr;
  }
  return this->SetNthReference(role, this->GetNumberOfNodeReferences(role), id, false, nullptr);
}

vtkKOVANode* vtkKOVANode::AddAndObserveNodeReferenceID(const char* role,
  const char* id,
  vtkIntArray* events)
{
  if (!role || !id)
  {
    vtkErrorMacro("AddAndObserveNodeReferenceID: reference role or node ID is nullptr");
    return nullptr;
  }
  return this->SetNthReference(role, this->GetNumberOfNodeReferences(role), id, true, events);
}

vtkKOVANode* vtkKOVANode::SetAndObserveNthNodeReferenceID(const char* role,
  int n,
  const char* id,
  vtkIntArray* events)
{
  if (!role)
  {
    vtkErrorMacro("SetAndObserveNthNodeReferenceID: reference role is nullptr");
    return nullptr;
  }
  if (!id)
  {
    this->RemoveNthNodeReferenceID(role, n);
    return nullptr;
  }
  return this->SetNthReference(role, n, id, true, events);
}

void vtkKOVANode::RemoveNthNodeReferenceID(const char* role, int n)
{
  if (!role)
  {
    return;
  }
  auto it = this->References.find(role);
  if (it == this->References.end() || n < 0 || n >= static_cast<int>(it->second.size()))
  {
    return;
  }
  const Reference removed = it->second[static_cast<size_t>(n)];
  it->second.erase(it->second.begin() + n);
  if (it->second.empty())
  {
    this->References.erase(it);
  }
  this->StopObserving(removed);
  this->Modified();
}

void vtkKOVANode::RemoveNodeReferenceIDs(const char* role)
{
  std::vector<Reference> removed;
  if (role)
  {
    auto it = this->References.find(role);
    if (it == this->References.end())
    {
      return;
    }
    removed = it->second;
    this->References.erase(it);
  }
  else
  {
    if (this->References.empty())
    {
      return;
    }
    for (const auto& r : this->References)
    {
      removed.insert(removed.end(), r.second.begin(), r.second.end());
    }
    this->References.clear();
  }
  for (const Reference& reference : removed)
  {
    this->StopObserving(reference);
  }
  this->Modified();
}

const char* vtkKOVANode::GetNodeReferenceID(const char* role)
{
  return this->GetNthNodeReferenceID(role, 0);
}

const char* vtkKOVANode::GetNthNodeReferenceID(const char* role, int n)
{
  if (!role)
  {
    return nullptr;
  }
  auto it = this->References.find(role);
  if (it == this->References.end() || n < 0 || n >= static_cast<int>(it->second.size()))
  {
    return nullptr;
  }
  return it->second[static_cast<size_t>(n)].ID.c_str();
}

vtkKOVANode* vtkKOVANode::GetNodeReference(const char* role)
{
  return this->GetNthNodeReference(role, 0);
}

vtkKOVANode* vtkKOVANode::GetNthNodeReference(const char* role, int n)
{
  if (!role)
  {
    return nullptr;
  }
  auto it = this->References.find(role);
  if (it == this->References.end() || n < 0 || n >= static_cast<int>(it->second.size()))
  {
    return nullptr;
  }
  Reference& reference = it->second[static_cast<size_t>(n)];
  if (!reference.Node)
  {
    this->ResolveReference(reference);
    this->StartObserving(reference);
  }
  return reference.Node;
}

int vtkKOVANode::GetNumberOfNodeReferences(const char* role)
{
  if (!role)
  {
    return 0;
  }
  auto it = this->References.find(role);
  return it == this->References.end() ? 0 : static_cast<int>(it->second.size());
}

bool vtkKOVANode::HasNodeReferenceID(const char* role, const char* id)
{
  if (!id)
  {
    return false;
  }
  for (const auto& r : this->References)
  {
    if (role && r.first != role)
    {
      continue;
    }
    for (const Reference& reference : r.second)
    {
      if (reference.ID == id)
      {
        return true;
      }
    }
  }
  return false;
}

std::vector<std::string> vtkKOVANode::GetNodeReferenceRoles()
{
  std::vector<std::string> roles;
  for (const auto& r : this->References)
  {
    roles.push_back(r.first);
  }
  return roles;
}

void vtkKOVANode::UpdateNodeReferences(const std::map<std::string, std::string>* idMap)
{
  for (auto& r : this->References)
  {
    for (Reference& reference : r.second)
    {
      if (idMap)
      {
        auto mapped = idMap->find(reference.ID);
        if (mapped != idMap->end() && mapped->second != reference.ID)
        {
          this->StopObserving(reference);
          reference.ID = mapped->second;
          reference.Node = nullptr;
        }
      }
      if (!reference.Node)
      {
        this->ResolveReference(reference);
        this->StartObserving(reference);
      }
    }
  }
}

void vtkKOVANode::RemoveReferencesToNodeID(const char* nodeID)
{
  if (!nodeID)
  {
    return;
  }
  bool changed = false;
  for (auto it = this->References.begin(); it != this->References.end();)
  {
    auto& list = it->second;
    for (auto ref = list.begin(); ref != list.end();)
    {
      if (ref->ID == nodeID)
      {
        const Reference removed = *ref;
        ref = list.erase(ref);
        this->StopObserving(removed);
        changed = true;
      }
      else
      {
        ++ref;
      }
    }
    it = list.empty() ? this->References.erase(it) : std::next(it);
  }
  if (changed)
  {
    this->Modified();
  }
}

vtkKOVANode* vtkKOVANode::SetNthReference(const std::string& role,
  int n,
  const char* id,
  bool observe,
  vtkIntArray* events)
{
  std::vector<Reference>& list = this->References[role];
  if (n < 0 || n > static_cast<int>(list.size()))
  {
    if (list.empty())
    {
      this->References.erase(role);
    }
    vtkErrorMacro(
      "SetNthNodeReferenceID: reference index " << n << " out of range for role " << role);
    return nullptr;
  }
  Reference reference;
  reference.ID = id;
  if (observe)
  {
    if (events && events->GetNumberOfValues() > 0)
    {
      for (vtkIdType i = 0; i < events->GetNumberOfValues(); ++i)
      {
        reference.Events.push_back(static_cast<unsigned long>(events->GetValue(i)));
      }
    }
    else
    {
      reference.Events.push_back(vtkCommand::ModifiedEvent);
    }
  }
  if (n < static_cast<int>(list.size()))
  {
    Reference& current = list[static_cast<size_t>(n)];
    if (current.ID == reference.ID && current.Events == reference.Events)
    {
      return this->GetNthNodeReference(role.c_str(), n);
    }
    const Reference old = current;
    current = reference;
    this->StopObserving(old);
  }
  else
  {
    list.push_back(reference);
  }
  Reference& stored = list[static_cast<size_t>(n)];
  this->ResolveReference(stored);
  this->StartObserving(stored);
  this->Modified();
  return stored.Node;
}

void vtkKOVANode::ResolveReference(Reference& reference)
{
  if (!reference.Node && this->Scene)
  {
    reference.Node = this->Scene->GetNodeByID(reference.ID.c_str());
  }
}

void vtkKOVANode::StartObserving(Reference& reference)
{
  if (!reference.Node)
  {
    return;
  }
  for (unsigned long event : reference.Events)
  {
    const bool observed = std::any_of(this->Observations.begin(),
      this->Observations.end(),
      [&](const Observation& o) { return o.Node == reference.Node && o.Event == event; });
    if (!observed)
    {
      const unsigned long tag =
        reference.Node->AddObserver(event, this->KOVACallbackCommand.GetPointer());
      this->Observations.push_back({ reference.Node, event, tag });
    }
  }
}

void vtkKOVANode::StopObserving(const Reference& reference)
{
  // Drop observations of the node that no remaining reference asks for.
  for (auto it = this->Observations.begin(); it != this->Observations.end();)
  {
    if (!it->Node)
    {
      it = this->Observations.erase(it);
      continue;
    }
    if (it->Node != reference.Node)
    {
      ++it;
      continue;
    }
    bool stillWanted = false;
    for (const auto& r : this->References)
    {
      for (const Reference& other : r.second)
      {
        if (other.Node == it->Node &&
            std::find(other.Events.begin(), other.Events.end(), it->Event) != other.Events.end())
        {
          stillWanted = true;
        }
      }
    }
    if (stillWanted)
    {
      ++it;
    }
    else
    {
      it->Node->RemoveObserver(it->Tag);
      it = this->Observations.erase(it);
    }
  }
}

std::string vtkKOVANode::ReferencesToString()
{
  std::string text;
  for (const auto& r : this->References)
  {
    if (!text.empty())
    {
      text += ';';
    }
    text += EscapeReferencePart(r.first) + ':';
    bool first = true;
    for (const Reference& reference : r.second)
    {
      if (!first)
      {
        text += ' ';
      }
      first = false;
      text += EscapeReferencePart(reference.ID);
    }
  }
  return text;
}

void vtkKOVANode::ReferencesFromString(const std::string& text)
{
  this->RemoveNodeReferenceIDs(nullptr);
  std::stringstream roles(text);
  std::string roleEntry;
  while (std::getline(roles, roleEntry, ';'))
  {
    const size_t colon = roleEntry.find(':');
    if (colon == std::string::npos)
    {
      continue;
    }
    const std::string role = XMLAttributeDecodeString(roleEntry.substr(0, colon));
    std::stringstream ids(roleEntry.substr(colon + 1));
    std::string id;
    while (std::getline(ids, id, ' '))
    {
      if (!id.empty())
      {
        this->AddNodeReferenceID(role.c_str(), XMLAttributeDecodeString(id).c_str());
      }
    }
  }
}

//------------------------------------------------------------------------------
void vtkKOVANode::ProcessKOVAEvents(vtkObject* vtkNotUsed(caller),
  unsigned long vtkNotUsed(event),
  void* vtkNotUsed(callData))
{
  // The base keeps no state that depends on referenced nodes' events.
}

//------------------------------------------------------------------------------
void vtkKOVANode::KOVACallback(vtkObject* caller,
  unsigned long eid,
  void* clientData,
  void* callData)
{
  vtkKOVANode* self = static_cast<vtkKOVANode*>(clientData);
  if (self)
  {
    vtkSmartPointer<vtkKOVANode> keepAlive = self;
    self->ProcessKOVAEvents(caller, eid, callData);
  }
}
