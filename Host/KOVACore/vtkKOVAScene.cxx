#include "vtkKOVAScene.h"

#include "vtkKOVANode.h"

#include <vtkCollection.h>
#include <vtkObjectFactory.h>
#include <vtkXMLParser.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

namespace
{
std::vector<vtkKOVAScene::NodeFactory>& BuiltInNodeFactories()
{
  static std::vector<vtkKOVAScene::NodeFactory> factories;
  return factories;
}

/// Collects the elements directly below the root element, with their attribute pairs.
class SceneFileParser : public vtkXMLParser
{
public:
  static SceneFileParser* New();
  vtkTypeMacro(SceneFileParser, vtkXMLParser);

  struct Element
  {
    std::string Tag;
    std::vector<std::string> Attributes; // name, value, name, value, ...
  };
  std::string RootTag;
  std::vector<Element> Elements;

protected:
  SceneFileParser() = default;

  void StartElement(const char* name, const char** atts) override
  {
    ++this->Depth;
    if (this->Depth == 1)
    {
      this->RootTag = name;
      return;
    }
    if (this->Depth != 2)
    {
      return;
    }
    Element element;
    element.Tag = name;
    for (int i = 0; atts && atts[i] && atts[i + 1]; i += 2)
    {
      element.Attributes.emplace_back(atts[i]);
      element.Attributes.emplace_back(atts[i + 1]);
    }
    this->Elements.push_back(std::move(element));
  }
  void EndElement(const char* vtkNotUsed(name)) override { --this->Depth; }
  void CharacterDataHandler(const char* vtkNotUsed(data), int vtkNotUsed(length)) override {}

private:
  int Depth = 0;
};
vtkStandardNewMacro(SceneFileParser);

const char* const SceneRootTag = "KOVAScene";
}

vtkStandardNewMacro(vtkKOVAScene);

//------------------------------------------------------------------------------
void vtkKOVAScene::RegisterBuiltInNodeClass(NodeFactory factory)
{
  if (factory)
  {
    BuiltInNodeFactories().push_back(factory);
  }
}

//------------------------------------------------------------------------------
vtkKOVAScene::vtkKOVAScene()
{
  for (NodeFactory factory : BuiltInNodeFactories())
  {
    vtkSmartPointer<vtkKOVANode> prototype;
    prototype.TakeReference(factory());
    this->RegisterNodeClass(prototype);
  }
}

//------------------------------------------------------------------------------
vtkKOVAScene::~vtkKOVAScene()
{
  // No events while the scene goes away; nodes that others still hold just leave the scene.
  for (const auto& node : this->Nodes)
  {
    node->SetScene(nullptr);
  }
  this->Nodes.clear();
  this->NodeByID.clear();
}

//------------------------------------------------------------------------------
void vtkKOVAScene::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "NumberOfNodes: " << this->Nodes.size() << "\n";
  os << indent << "NumberOfRegisteredClasses: " << this->RegisteredClasses.size() << "\n";
  os << indent << "NumberOfDefaultNodes: " << this->DefaultNodes.size() << "\n";
  os << indent << "States: " << this->GetStates() << "\n";
}

//------------------------------------------------------------------------------
vtkKOVANode* vtkKOVAScene::AddNode(vtkKOVANode* node)
{
  if (!node)
  {
    vtkErrorMacro("AddNode: node is nullptr");
    return nullptr;
  }
  if (node->GetScene() == this && this->IsNodePresent(node))
  {
    return node;
  }
  if (node->GetScene() && node->GetScene() != this)
  {
    vtkErrorMacro("AddNode: node " << (node->GetID() ? node->GetID() : "(no ID)")
                                   << " is already in another scene");
    return nullptr;
  }

  vtkSmartPointer<vtkKOVANode> keepAlive = node;
  this->InvokeEvent(NodeAboutToBeAddedEvent, node);

  if (!node->GetID() || !*node->GetID() || this->GetNodeByID(node->GetID()))
  {
    node->SetID(this->GenerateUniqueID(node).c_str());
  }
  if (!node->GetName())
  {
    const char* tag = node->GetNodeTagName();
    node->SetName(this->GetUniqueNameByString(tag ? tag : node->GetClassName()).c_str());
  }

  this->Nodes.push_back(node);
  this->NodeByID[node->GetID()] = node;
  node->SetScene(this);
  // References of other nodes to this ID can be resolved now.
  for (const auto& other : this->Nodes)
  {
    if (other != node && other->HasNodeReferenceID(nullptr, node->GetID()))
    {
      other->UpdateNodeReferences();
    }
  }

  this->InvokeEvent(NodeAddedEvent, node);
  return node;
}

//------------------------------------------------------------------------------
vtkKOVANode* vtkKOVAScene::AddNewNodeByClass(const std::string& className,
  const std::string& nodeBaseName)
{
  vtkSmartPointer<vtkKOVANode> node;
  node.TakeReference(this->CreateNodeByClass(className.c_str()));
  if (!node)
  {
    vtkErrorMacro("AddNewNodeByClass: cannot create a node of class " << className);
    return nullptr;
  }
  std::string baseName = nodeBaseName;
  if (baseName.empty())
  {
    const char* tag = node->GetNodeTagName();
    baseName = tag ? tag : className;
  }
  node->SetName(this->GetUniqueNameByString(baseName.c_str()).c_str());
  return this->AddNode(node);
}

//------------------------------------------------------------------------------
vtkKOVANode* vtkKOVAScene::CreateNodeByClass(const char* className)
{
  if (!className)
  {
    vtkErrorMacro("CreateNodeByClass: className is nullptr");
    return nullptr;
  }
  const auto registered = std::find_if(this->RegisteredClasses.begin(),
    this->RegisteredClasses.end(),
    [className](const RegisteredClass& c) { return c.ClassName == className; });
  if (registered == this->RegisteredClasses.end())
  {
    vtkErrorMacro("CreateNodeByClass: node class " << className << " is not registered");
    return nullptr;
  }
  vtkKOVANode* node = registered->Prototype->CreateNodeInstance();
  if (!node)
  {
    return nullptr;
  }
  if (vtkKOVANode* defaultNode = this->GetDefaultNodeByClass(className))
  {
    node->Reset(defaultNode);
  }
  return node;
}

//------------------------------------------------------------------------------
void vtkKOVAScene::RemoveNode(vtkKOVANode* node)
{
  if (!node || node->GetScene() != this || !this->IsNodePresent(node))
  {
    return;
  }
  vtkSmartPointer<vtkKOVANode> keepAlive = node;
  this->InvokeEvent(NodeAboutToBeRemovedEvent, node);

  this->Nodes.erase(std::find(this->Nodes.begin(), this->Nodes.end(), keepAlive));
  const std::string id = node->GetID() ? node->GetID() : "";
  this->NodeByID.erase(id);
  for (const auto& other : this->Nodes)
  {
    other->RemoveReferencesToNodeID(id.c_str());
  }
  node->SetScene(nullptr);

  this->InvokeEvent(NodeRemovedEvent, node);
}

//------------------------------------------------------------------------------
void vtkKOVAScene::Clear()
{
  if (this->Nodes.empty())
  {
    return;
  }
  this->StartState(BatchProcessState);
  while (!this->Nodes.empty())
  {
    vtkSmartPointer<vtkKOVANode> last = this->Nodes.back();
    this->RemoveNode(last);
  }
  this->EndState(BatchProcessState);
}

//------------------------------------------------------------------------------
bool vtkKOVAScene::IsNodePresent(vtkKOVANode* node)
{
  return node && std::any_of(this->Nodes.begin(),
                   this->Nodes.end(),
                   [node](const vtkSmartPointer<vtkKOVANode>& n) { return n == node; });
}

//------------------------------------------------------------------------------
vtkKOVANode* vtkKOVAScene::GetNodeByID(const char* id)
{
  if (!id)
  {
    return nullptr;
  }
  const auto it = this->NodeByID.find(id);
  return it == this->NodeByID.end() ? nullptr : it->second;
}

//------------------------------------------------------------------------------
vtkKOVANode* vtkKOVAScene::GetFirstNodeByClass(const char* className)
{
  if (!className)
  {
    return nullptr;
  }
  for (const auto& node : this->Nodes)
  {
    if (node->IsA(className))
    {
      return node;
    }
  }
  return nullptr;
}

//------------------------------------------------------------------------------
vtkKOVANode* vtkKOVAScene::GetFirstNodeByName(const char* name)
{
  if (!name)
  {
    return nullptr;
  }
  for (const auto& node : this->Nodes)
  {
    if (node->GetName() && strcmp(node->GetName(), name) == 0)
    {
      return node;
    }
  }
  return nullptr;
}

//------------------------------------------------------------------------------
int vtkKOVAScene::GetNodesByClass(const char* className, std::vector<vtkKOVANode*>& nodes)
{
  nodes.clear();
  if (!className)
  {
    return 0;
  }
  for (const auto& node : this->Nodes)
  {
    if (node->IsA(className))
    {
      nodes.push_back(node);
    }
  }
  return static_cast<int>(nodes.size());
}

//------------------------------------------------------------------------------
vtkCollection* vtkKOVAScene::GetNodesByClass(const char* className)
{
  vtkCollection* collection = vtkCollection::New();
  std::vector<vtkKOVANode*> nodes;
  this->GetNodesByClass(className, nodes);
  for (vtkKOVANode* node : nodes)
  {
    collection->AddItem(node);
  }
  return collection;
}

//------------------------------------------------------------------------------
int vtkKOVAScene::GetNumberOfNodesByClass(const char* className)
{
  std::vector<vtkKOVANode*> nodes;
  return this->GetNodesByClass(className, nodes);
}

//------------------------------------------------------------------------------
vtkKOVANode* vtkKOVAScene::GetNthNode(int n)
{
  if (n < 0 || n >= static_cast<int>(this->Nodes.size()))
  {
    return nullptr;
  }
  return this->Nodes[static_cast<size_t>(n)];
}

//------------------------------------------------------------------------------
std::string vtkKOVAScene::GetUniqueNameByString(const char* baseName)
{
  const std::string base = baseName ? baseName : "";
  std::set<std::string> names;
  for (const auto& node : this->Nodes)
  {
    if (node->GetName())
    {
      names.insert(node->GetName());
    }
  }
  if (!names.count(base))
  {
    return base;
  }
  for (int i = 1;; ++i)
  {
    std::string candidate = base + "_" + std::to_string(i);
    if (!names.count(candidate))
    {
      return candidate;
    }
  }
}

//------------------------------------------------------------------------------
std::string vtkKOVAScene::GenerateUniqueID(vtkKOVANode* node)
{
  const std::string className = node->GetClassName();
  int& counter = this->UniqueIDCounters[className];
  std::string id;
  do
  {
    id = className + std::to_string(++counter);
  } while (this->NodeByID.count(id));
  return id;
}

//------------------------------------------------------------------------------
void vtkKOVAScene::RegisterNodeClass(vtkKOVANode* node, const char* tagName)
{
  if (!node)
  {
    vtkErrorMacro("RegisterNodeClass: node is nullptr");
    return;
  }
  const char* tag = tagName ? tagName : node->GetNodeTagName();
  if (!tag || !*tag)
  {
    vtkErrorMacro("RegisterNodeClass: node class " << node->GetClassName() << " has no tag name");
    return;
  }
  RegisteredClass entry{ node->GetClassName(), tag, node };
  const auto existing = std::find_if(this->RegisteredClasses.begin(),
    this->RegisteredClasses.end(),
    [&entry](const RegisteredClass& c) { return c.ClassName == entry.ClassName; });
  if (existing != this->RegisteredClasses.end())
  {
    *existing = entry;
  }
  else
  {
    this->RegisteredClasses.push_back(entry);
  }
}

//------------------------------------------------------------------------------
bool vtkKOVAScene::IsNodeClassRegistered(const std::string& className)
{
  return std::any_of(this->RegisteredClasses.begin(),
    this->RegisteredClasses.end(),
    [&className](const RegisteredClass& c) { return c.ClassName == className; });
}

//------------------------------------------------------------------------------
std::vector<std::string> vtkKOVAScene::GetRegisteredNodeClassNames()
{
  std::vector<std::string> names;
  for (const RegisteredClass& c : this->RegisteredClasses)
  {
    names.push_back(c.ClassName);
  }
  return names;
}

//------------------------------------------------------------------------------
const char* vtkKOVAScene::GetClassNameByTag(const char* tagName)
{
  if (!tagName)
  {
    return nullptr;
  }
  // The latest registration of a tag wins.
  for (auto it = this->RegisteredClasses.rbegin(); it != this->RegisteredClasses.rend(); ++it)
  {
    if (it->Tag == tagName)
    {
      return it->ClassName.c_str();
    }
  }
  return nullptr;
}

//------------------------------------------------------------------------------
const char* vtkKOVAScene::GetTagByClassName(const char* className)
{
  if (!className)
  {
    return nullptr;
  }
  for (const RegisteredClass& c : this->RegisteredClasses)
  {
    if (c.ClassName == className)
    {
      return c.Tag.c_str();
    }
  }
  return nullptr;
}

//------------------------------------------------------------------------------
void vtkKOVAScene::AddDefaultNode(vtkKOVANode* node)
{
  if (!node)
  {
    vtkErrorMacro("AddDefaultNode: node is nullptr");
    return;
  }
  this->DefaultNodes[node->GetClassName()] = node;
}

//------------------------------------------------------------------------------
vtkKOVANode* vtkKOVAScene::GetDefaultNodeByClass(const char* className)
{
  if (!className)
  {
    return nullptr;
  }
  const auto it = this->DefaultNodes.find(className);
  return it == this->DefaultNodes.end() ? nullptr : it->second.GetPointer();
}

//------------------------------------------------------------------------------
void vtkKOVAScene::RemoveAllDefaultNodes()
{
  this->DefaultNodes.clear();
}

//------------------------------------------------------------------------------
void vtkKOVAScene::StartState(unsigned long state, int vtkNotUsed(anyModifiedEventCount))
{
  const bool wasBatch = this->IsBatchProcessing();
  this->States.push_back(state);
  if (!wasBatch && this->IsBatchProcessing())
  {
    this->InvokeEvent(StartBatchProcessEvent);
  }
}

//------------------------------------------------------------------------------
void vtkKOVAScene::EndState(unsigned long state)
{
  const auto it = std::find(this->States.rbegin(), this->States.rend(), state);
  if (it == this->States.rend())
  {
    vtkErrorMacro("EndState: state " << state << " was not started");
    return;
  }
  const bool wasBatch = this->IsBatchProcessing();
  this->States.erase(std::next(it).base());
  if (wasBatch && !this->IsBatchProcessing())
  {
    this->InvokeEvent(EndBatchProcessEvent);
  }
}

//------------------------------------------------------------------------------
unsigned long vtkKOVAScene::GetStates()
{
  unsigned long states = 0;
  for (unsigned long state : this->States)
  {
    states |= state;
  }
  return states;
}

//------------------------------------------------------------------------------
void vtkKOVAScene::WriteToXML(ostream& os)
{
  os << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  os << "<" << SceneRootTag << " version=\"1\">\n";
  for (const auto& node : this->Nodes)
  {
    if (!node->GetSaveWithScene())
    {
      continue;
    }
    os << "  <" << node->GetNodeTagName();
    node->WriteXML(os, 1);
    os << " />\n";
  }
  os << "</" << SceneRootTag << ">\n";
}

//------------------------------------------------------------------------------
std::string vtkKOVAScene::WriteToXMLString()
{
  std::ostringstream os;
  this->WriteToXML(os);
  return os.str();
}

//------------------------------------------------------------------------------
bool vtkKOVAScene::WriteToFile(const char* fileName)
{
  if (!fileName || !*fileName)
  {
    vtkErrorMacro("WriteToFile: fileName is empty");
    return false;
  }
  std::ofstream file(fileName, std::ios::out | std::ios::binary | std::ios::trunc);
  if (!file)
  {
    vtkErrorMacro("WriteToFile: cannot open " << fileName << " for writing");
    return false;
  }
  this->WriteToXML(file);
  file.close();
  if (!file)
  {
    vtkErrorMacro("WriteToFile: failed to write " << fileName);
    return false;
  }
  return true;
}

//------------------------------------------------------------------------------
bool vtkKOVAScene::ReadFromXMLString(const std::string& xml)
{
  vtkNew<SceneFileParser> parser;
  if (!parser->Parse(xml.c_str(), static_cast<unsigned int>(xml.size())))
  {
    vtkErrorMacro("ReadFromXMLString: the scene file content is not well-formed XML");
    return false;
  }
  if (parser->RootTag != SceneRootTag)
  {
    vtkErrorMacro(
      "ReadFromXMLString: root element is " << parser->RootTag << ", expected " << SceneRootTag);
    return false;
  }

  std::vector<vtkSmartPointer<vtkKOVANode>> nodes;
  std::vector<std::string> fileIDs;
  for (const SceneFileParser::Element& element : parser->Elements)
  {
    const char* className = this->GetClassNameByTag(element.Tag.c_str());
    if (!className)
    {
      vtkWarningMacro(
        "ReadFromXMLString: no node class registered for element " << element.Tag << ", skipped");
      continue;
    }
    const auto registered = std::find_if(this->RegisteredClasses.begin(),
      this->RegisteredClasses.end(),
      [className](const RegisteredClass& c) { return c.ClassName == className; });
    vtkSmartPointer<vtkKOVANode> node;
    node.TakeReference(registered->Prototype->CreateNodeInstance());
    if (!node)
    {
      continue;
    }
    std::vector<std::string> decoded;
    decoded.reserve(element.Attributes.size());
    for (size_t i = 0; i < element.Attributes.size(); ++i)
    {
      // Names are plain; values carry XMLAttributeEncodeString's escapes.
      decoded.push_back(i % 2 ? vtkKOVANode::XMLAttributeDecodeString(element.Attributes[i])
                              : element.Attributes[i]);
    }
    std::vector<const char*> atts;
    for (const std::string& s : decoded)
    {
      atts.push_back(s.c_str());
    }
    atts.push_back(nullptr);
    atts.push_back(nullptr);
    node->ReadXMLAttributes(atts.data());
    fileIDs.emplace_back(node->GetID() ? node->GetID() : "");
    nodes.push_back(node);
  }

  this->StartState(BatchProcessState);
  std::map<std::string, std::string> idMap;
  for (size_t i = 0; i < nodes.size(); ++i)
  {
    if (!this->AddNode(nodes[i]))
    {
      continue;
    }
    if (!fileIDs[i].empty())
    {
      idMap[fileIDs[i]] = nodes[i]->GetID();
    }
  }
  for (const auto& node : nodes)
  {
    node->UpdateNodeReferences(&idMap);
  }
  this->EndState(BatchProcessState);
  return true;
}

//------------------------------------------------------------------------------
bool vtkKOVAScene::ReadFromFile(const char* fileName)
{
  if (!fileName || !*fileName)
  {
    vtkErrorMacro("ReadFromFile: fileName is empty");
    return false;
  }
  std::ifstream file(fileName, std::ios::in | std::ios::binary);
  if (!file)
  {
    vtkErrorMacro("ReadFromFile: cannot open " << fileName);
    return false;
  }
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad())
  {
    vtkErrorMacro("ReadFromFile: failed to read " << fileName);
    return false;
  }
  return this->ReadFromXMLString(content.str());
}
