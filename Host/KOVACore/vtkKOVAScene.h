#ifndef vtkKOVAScene_h
#define vtkKOVAScene_h

#include "KOVACoreExport.h"

#include <vtkObject.h>
#include <vtkSmartPointer.h>

#include <map>
#include <string>
#include <vector>

class vtkCollection;
class vtkKOVANode;

/// The scene: owns its nodes, in the order they were added.
///
/// Node classes are registered by prototype; the scene creates nodes of a registered class by
/// class name (CreateNodeByClass, AddNewNodeByClass) and by XML tag when reading a scene file.
/// Each class may have one default node, kept outside the node list, whose content new nodes of
/// the class start from.
class KOVACORE_EXPORT vtkKOVAScene : public vtkObject
{
public:
  static vtkKOVAScene* New();
  vtkTypeMacro(vtkKOVAScene, vtkObject);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// Scene events; call data is the node for the node events.
  enum SceneEventType
  {
    NodeAboutToBeAddedEvent = 0x2000,
    NodeAddedEvent,            // 8193
    NodeAboutToBeRemovedEvent, // 8194
    NodeRemovedEvent,          // 8195
    StartBatchProcessEvent = 0x2200,
    EndBatchProcessEvent, // 8705
  };

  enum StateType
  {
    BatchProcessState = 0x0001,
  };

  /// Adds a node (the scene takes a reference), giving it a unique ID if it has none or its ID is
  /// taken, and a unique name if it has none. Returns the node, or null on error.
  vtkKOVANode* AddNode(vtkKOVANode* node);
  /// Creates a node of a registered class, names it uniquely after \a nodeBaseName (the node's tag
  /// name when empty) and adds it. The scene owns the node.
  vtkKOVANode* AddNewNodeByClass(const std::string& className,
    const std::string& nodeBaseName = "");
  /// A new node of a registered class, started from the class's default node if there is one.
  /// The caller owns it; it is not in the scene. Null for an unregistered class.
  vtkKOVANode* CreateNodeByClass(const char* className);
  /// Removes a node from the scene (and every reference to it from the other nodes); the scene
  /// drops its reference after NodeRemovedEvent. Nodes not in the scene are ignored.
  void RemoveNode(vtkKOVANode* node);
  /// Removes every node, within one batch.
  void Clear();

  bool IsNodePresent(vtkKOVANode* node);
  vtkKOVANode* GetNodeByID(const char* id);
  vtkKOVANode* GetNodeByID(const std::string& id) { return this->GetNodeByID(id.c_str()); }
  vtkKOVANode* GetFirstNodeByClass(const char* className);
  vtkKOVANode* GetFirstNodeByName(const char* name);
  /// Nodes that are of the class (IsA, so subclasses too), in scene order. Returns the count.
  int GetNodesByClass(const char* className, std::vector<vtkKOVANode*>& nodes);
  /// The same as a new collection, which the caller must Delete().
  vtkCollection* GetNodesByClass(const char* className);
  int GetNumberOfNodes() { return static_cast<int>(this->Nodes.size()); }
  int GetNumberOfNodesByClass(const char* className);
  vtkKOVANode* GetNthNode(int n);
  const std::vector<vtkSmartPointer<vtkKOVANode>>& GetNodes() { return this->Nodes; }

  /// \a baseName if no node has that name, else \a baseName followed by "_1", "_2", ... (the first
  /// unused).
  std::string GetUniqueNameByString(const char* baseName);

  /// Node class registration by prototype; the tag defaults to the prototype's GetNodeTagName.
  void RegisterNodeClass(vtkKOVANode* node, const char* tagName = nullptr);
  bool IsNodeClassRegistered(const std::string& className);
  /// Registered class names, in registration order.
  std::vector<std::string> GetRegisteredNodeClassNames();
  const char* GetClassNameByTag(const char* tagName);
  const char* GetTagByClassName(const char* className);

  /// Default nodes, one per class (a new one replaces the old). Not in the node list.
  void AddDefaultNode(vtkKOVANode* node);
  vtkKOVANode* GetDefaultNodeByClass(const char* className);
  void RemoveAllDefaultNodes();

  /// States. Entering batch processing invokes StartBatchProcessEvent, leaving it (the last
  /// matching EndState) EndBatchProcessEvent.
  void StartState(unsigned long state, int anyModifiedEventCount = 0);
  void EndState(unsigned long state);
  unsigned long GetStates();
  bool IsBatchProcessing() { return (this->GetStates() & BatchProcessState) != 0; }

  /// Scene files: an XML document whose root element holds one element per node (named by its tag,
  /// with the attributes its WriteXML appends). Nodes with SaveWithScene off are left out.
  void WriteToXML(ostream& os);
  std::string WriteToXMLString();
  bool WriteToFile(const char* fileName);
  /// Reads scene file content and adds its nodes to this scene (IDs that are already taken are
  /// replaced, and references among the read nodes follow). Nothing is added if the text is not a
  /// well-formed scene file. Elements of unregistered tags are skipped with a warning.
  bool ReadFromXMLString(const std::string& xml);
  bool ReadFromFile(const char* fileName);

  /// Node classes that every new scene registers (the scene library's own classes use it through
  /// vtkKOVASceneBuiltInNodeMacro).
  using NodeFactory = vtkKOVANode* (*)();
  static void RegisterBuiltInNodeClass(NodeFactory factory);

protected:
  vtkKOVAScene();
  ~vtkKOVAScene() override;

  std::string GenerateUniqueID(vtkKOVANode* node);

  std::vector<vtkSmartPointer<vtkKOVANode>> Nodes;
  std::map<std::string, vtkKOVANode*> NodeByID;
  std::map<std::string, int> UniqueIDCounters;

  struct RegisteredClass
  {
    std::string ClassName;
    std::string Tag;
    vtkSmartPointer<vtkKOVANode> Prototype;
  };
  std::vector<RegisteredClass> RegisteredClasses;
  std::map<std::string, vtkSmartPointer<vtkKOVANode>> DefaultNodes;
  std::vector<unsigned long> States;

private:
  vtkKOVAScene(const vtkKOVAScene&) = delete;
  void operator=(const vtkKOVAScene&) = delete;
};

/// Registers a node class with every scene created afterwards; use once in the class's .cxx file.
#define vtkKOVASceneBuiltInNodeMacro(nodeClass)                                                    \
  namespace                                                                                        \
  {                                                                                                \
  struct nodeClass##BuiltInRegistration                                                            \
  {                                                                                                \
    nodeClass##BuiltInRegistration()                                                               \
    {                                                                                              \
      vtkKOVAScene::RegisterBuiltInNodeClass([]() -> vtkKOVANode* { return nodeClass::New(); });   \
    }                                                                                              \
  } nodeClass##BuiltInRegistrationInstance;                                                        \
  }

#endif
