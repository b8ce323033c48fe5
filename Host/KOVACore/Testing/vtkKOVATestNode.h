#ifndef vtkKOVATestNode_h
#define vtkKOVATestNode_h

// A small concrete node for the scene library's tests: one text property and a record of the
// events that reach ProcessKOVAEvents.

#include <vtkKOVANode.h>
#include <vtkObjectFactory.h>

#include <string>
#include <utility>
#include <vector>

class vtkKOVATestNode : public vtkKOVANode
{
public:
  static vtkKOVATestNode* New() { VTK_STANDARD_NEW_BODY(vtkKOVATestNode); }
  vtkTypeMacro(vtkKOVATestNode, vtkKOVANode);

  vtkKOVANode* CreateNodeInstance() override { return vtkKOVATestNode::New(); }
  const char* GetNodeTagName() override { return "TestNode"; }

  void ReadXMLAttributes(const char** atts) override
  {
    KOVANodeModifyBlocker blocker(this);
    this->Superclass::ReadXMLAttributes(atts);
    for (int i = 0; atts[i] && atts[i + 1]; i += 2)
    {
      if (std::string(atts[i]) == "value")
      {
        this->SetValue(atts[i + 1]);
      }
    }
  }
  void WriteXML(ostream& of, int indent) override
  {
    this->Superclass::WriteXML(of, indent);
    of << " value=\"" << XMLAttributeEncodeString(this->Value) << "\"";
  }
  vtkKOVACopyContentMacro(vtkKOVATestNode);

  const std::string& GetValue() const { return this->Value; }
  void SetValue(const std::string& value)
  {
    if (value != this->Value)
    {
      this->Value = value;
      this->Modified();
    }
  }

  /// (caller, event) of every call of ProcessKOVAEvents.
  std::vector<std::pair<vtkObject*, unsigned long>> ReceivedEvents;

protected:
  vtkKOVATestNode() = default;
  ~vtkKOVATestNode() override = default;

  void ProcessKOVAEvents(vtkObject* caller, unsigned long event, void* callData) override
  {
    this->Superclass::ProcessKOVAEvents(caller, event, callData);
    this->ReceivedEvents.emplace_back(caller, event);
  }

  std::string Value;
};

inline void vtkKOVATestNode::CopyContent(vtkKOVANode* node, bool deepCopy)
{
  KOVANodeModifyBlocker blocker(this);
  this->Superclass::CopyContent(node, deepCopy);
  if (vtkKOVATestNode* source = vtkKOVATestNode::SafeDownCast(node))
  {
    this->SetValue(source->Value);
  }
}

/// A subclass without CopyContent of its own.
class vtkKOVATestSubNode : public vtkKOVATestNode
{
public:
  static vtkKOVATestSubNode* New() { VTK_STANDARD_NEW_BODY(vtkKOVATestSubNode); }
  vtkTypeMacro(vtkKOVATestSubNode, vtkKOVATestNode);
  vtkKOVANode* CreateNodeInstance() override { return vtkKOVATestSubNode::New(); }
  const char* GetNodeTagName() override { return "TestSubNode"; }

protected:
  vtkKOVATestSubNode() = default;
  ~vtkKOVATestSubNode() override = default;
};

#endif
