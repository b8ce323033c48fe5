#ifndef vtkKOVANode_h
#define vtkKOVANode_h

#include "KOVACoreExport.h"

#include <vtkObject.h>
#include <vtkSmartPointer.h>
#include <vtkWeakPointer.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

class vtkCallbackCommand;
class vtkIntArray;
class vtkKOVAScene;

/// Base of every scene node.
///
/// A node has an ID and a name (both given by the scene when it is added, if unset), belongs to at
/// most one scene, serialises itself as XML attributes and can refer to other nodes of its scene by
/// role. Events of referenced nodes that are observed reach ProcessKOVAEvents.
///
/// Subclasses override CreateNodeInstance and GetNodeTagName, and those of ReadXMLAttributes,
/// WriteXML, Copy, CopyContent, PrintSelf, ProcessKOVAEvents and Reset that concern their own
/// properties, each calling the base class's version first.
class KOVACORE_EXPORT vtkKOVANode : public vtkObject
{
public:
  vtkTypeMacro(vtkKOVANode, vtkObject);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// A new, empty node of the same class as this one (the caller owns it).
  virtual vtkKOVANode* CreateNodeInstance() = 0;

  /// The XML element name under which nodes of this class are written and created.
  virtual const char* GetNodeTagName() = 0;

  /// Reads the node's properties from a null-terminated array of name, value pairs.
  /// Values are decoded already (the scene reader undoes XMLAttributeEncodeString).
  virtual void ReadXMLAttributes(const char** atts);

  /// Appends one attribute per property: a blank, the name, '=' and the quoted, encoded value.
  virtual void WriteXML(ostream& of, int indent);

  /// Copies name, flags, node references and then the content (CopyContent) of \a node.
  /// ID and scene are not copied.
  virtual void Copy(vtkKOVANode* node);

  /// Copies the content (the properties that are not identity, flags or references).
  virtual void CopyContent(vtkKOVANode* node, bool deepCopy = true);

  /// True when the most derived class defines CopyContent (see vtkKOVACopyContentMacro); Reset
  /// then copies only the content, otherwise it goes through Copy.
  virtual bool HasCopyContent() const;

  /// Copy() and the ID of \a node. Adding the result to a scene that already holds that ID gives it
  /// a new one.
  virtual void CopyWithScene(vtkKOVANode* node);

  /// Returns the content to that of \a defaultNode, or to a new node's if it is null. ID, name,
  /// flags, scene and references are kept.
  virtual void Reset(vtkKOVANode* defaultNode);

  /// The user-visible name of the node type.
  virtual std::string GetTypeDisplayName();

  vtkGetStringMacro(ID);
  /// Set by the scene; changing the ID of a node in a scene is not supported.
  vtkSetStringMacro(ID);
  vtkGetStringMacro(Name);
  vtkSetStringMacro(Name);

  vtkGetMacro(HideFromEditors, bool);
  vtkSetMacro(HideFromEditors, bool);
  vtkBooleanMacro(HideFromEditors, bool);
  vtkGetMacro(Selectable, bool);
  vtkSetMacro(Selectable, bool);
  vtkBooleanMacro(Selectable, bool);
  /// Nodes with SaveWithScene off are left out of scene files.
  vtkGetMacro(SaveWithScene, bool);
  vtkSetMacro(SaveWithScene, bool);
  vtkBooleanMacro(SaveWithScene, bool);

  /// The scene the node is in, or null.
  vtkKOVAScene* GetScene() { return this->Scene; }
  /// Called by the scene when the node is added to it or removed from it.
  virtual void SetScene(vtkKOVAScene* scene);

  /// Modification batching: while modifications are disabled, Modified() only counts and custom
  /// events are held back; EndModify invokes one ModifiedEvent and each held-back event once.
  /// StartModify returns the previous state, to be given to EndModify.
  int StartModify();
  int EndModify(int previousDisableModifiedEventState);
  int GetDisableModifiedEvent() { return this->DisableModifiedEvent; }
  void SetDisableModifiedEvent(int onOff) { this->DisableModifiedEvent = onOff; }
  int GetModifiedEventPending() { return this->ModifiedEventPending; }
  void Modified() override;
  /// Invokes \a event now, or once at EndModify when modifications are disabled.
  void InvokeCustomModifiedEvent(int event, void* callData = nullptr);
  /// Invokes what has been held back; returns the number of pending ModifiedEvents it replaced.
  virtual int InvokePendingModifiedEvent();

  /// Makes any text safe inside a double-quoted XML attribute; the scene reader decodes it back
  /// exactly (entities for & < > " ', percent escapes for '%', control characters and bytes that
  /// are not UTF-8).
  static std::string XMLAttributeEncodeString(const std::string& inString);
  /// Undoes the percent escapes of XMLAttributeEncodeString (the XML parser resolves entities).
  static std::string XMLAttributeDecodeString(const std::string& inString);

  /// Node references by role. IDs are resolved in the node's scene. With "Observe", the events
  /// (ModifiedEvent when \a events is null) of the referenced node reach ProcessKOVAEvents.
  vtkKOVANode* SetNodeReferenceID(const char* referenceRole, const char* referencedNodeID);
  vtkKOVANode* SetAndObserveNodeReferenceID(const char* referenceRole,
    const char* referencedNodeID,
    vtkIntArray* events = nullptr);
  vtkKOVANode* AddNodeReferenceID(const char* referenceRole, const char* referencedNodeID);
  vtkKOVANode* AddAndObserveNodeReferenceID(const char* referenceRole,
    const char* referencedNodeID,
    vtkIntArray* events = nullptr);
  /// Sets the n-th reference of the role (appends when n is the current count); a null ID removes
  /// it.
  vtkKOVANode* SetAndObserveNthNodeReferenceID(const char* referenceRole,
    int n,
    const char* referencedNodeID,
    vtkIntArray* events = nullptr);
  void RemoveNthNodeReferenceID(const char* referenceRole, int n);
  /// Removes every reference of the role (of all roles when the role is null).
  void RemoveNodeReferenceIDs(const char* referenceRole);
  const char* GetNodeReferenceID(const char* referenceRole);
  const char* GetNthNodeReferenceID(const char* referenceRole, int n);
  vtkKOVANode* GetNodeReference(const char* referenceRole);
  vtkKOVANode* GetNthNodeReference(const char* referenceRole, int n);
  int GetNumberOfNodeReferences(const char* referenceRole);
  bool HasNodeReferenceID(const char* referenceRole, const char* referencedNodeID);
  /// Roles that have at least one reference, in sorted order.
  std::vector<std::string> GetNodeReferenceRoles();

  /// Scene bookkeeping: resolves unresolved references in the scene and starts their observations;
  /// replaces referenced IDs according to \a idMap (old ID -> new ID, used when importing).
  virtual void UpdateNodeReferences(const std::map<std::string, std::string>* idMap = nullptr);
  /// Scene bookkeeping: drops every reference to \a nodeID (the node leaves the scene).
  virtual void RemoveReferencesToNodeID(const char* nodeID);

protected:
  vtkKOVANode();
  ~vtkKOVANode() override;

  /// Called for every observed event of a referenced node.
  virtual void ProcessKOVAEvents(vtkObject* caller, unsigned long event, void* callData);

  static void KOVACallback(vtkObject* caller, unsigned long eid, void* clientData, void* callData);

  char* ID = nullptr;
  char* Name = nullptr;
  bool HideFromEditors = false;
  bool Selectable = true;
  bool SaveWithScene = true;
  vtkKOVAScene* Scene = nullptr;

  /// User-visible name of the node type (subclasses set it in their constructor).
  std::string TypeDisplayName;

  int DisableModifiedEvent = 0;
  int ModifiedEventPending = 0;
  std::vector<std::pair<int, void*>> CustomModifiedEventPending;

private:
  struct Reference
  {
    std::string ID;
    vtkWeakPointer<vtkKOVANode> Node;
    std::vector<unsigned long> Events; // empty: not observed
  };
  struct Observation
  {
    vtkWeakPointer<vtkKOVANode> Node;
    unsigned long Event;
    unsigned long Tag;
  };

  vtkKOVANode* SetNthReference(const std::string& role,
    int n,
    const char* id,
    bool observe,
    vtkIntArray* events);
  void ResolveReference(Reference& reference);
  void StartObserving(Reference& reference);
  void StopObserving(const Reference& reference);
  std::string ReferencesToString();
  void ReferencesFromString(const std::string& text);

  std::map<std::string, std::vector<Reference>> References;
  std::vector<Observation> Observations;
  vtkSmartPointer<vtkCallbackCommand> KOVACallbackCommand;

  vtkKOVANode(const vtkKOVANode&) = delete;
  void operator=(const vtkKOVANode&) = delete;
};

/// Blocks a node's modified events for its lifetime (StartModify/EndModify).
class KOVANodeModifyBlocker
{
public:
  explicit KOVANodeModifyBlocker(vtkKOVANode* node)
    : Node(node)
  {
    if (this->Node)
    {
      this->WasModifying = this->Node->StartModify();
    }
  }
  ~KOVANodeModifyBlocker()
  {
    if (this->Node)
    {
      this->Node->EndModify(this->WasModifying);
    }
  }
  KOVANodeModifyBlocker(const KOVANodeModifyBlocker&) = delete;
  KOVANodeModifyBlocker& operator=(const KOVANodeModifyBlocker&) = delete;

private:
  vtkWeakPointer<vtkKOVANode> Node;
  int WasModifying = 0;
};

/// In the class declaration of a node that defines CopyContent.
#define vtkKOVACopyContentMacro(thisClassName)                                                     \
  void CopyContent(vtkKOVANode* node, bool deepCopy = true) override;                              \
  bool HasCopyContent() const override                                                             \
  {                                                                                                \
    return strcmp(#thisClassName, this->GetClassNameInternal()) == 0;                              \
  }

/// In the implementation file of a concrete node class: New() and CreateNodeInstance().
#define vtkKOVANodeNewMacro(newClass)                                                              \
  vtkStandardNewMacro(newClass);                                                                   \
  vtkKOVANode* newClass::CreateNodeInstance()                                                      \
  {                                                                                                \
    return newClass::New();                                                                        \
  }

#endif
