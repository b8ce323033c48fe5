#ifndef vtkKOVADisplayableNode_h
#define vtkKOVADisplayableNode_h

#include "vtkKOVANode.h"

class vtkKOVADisplayNode;

/// Base of the nodes that can be shown in views, through display nodes that it refers to (and
/// observes) in the role "display".
class KOVACORE_EXPORT vtkKOVADisplayableNode : public vtkKOVANode
{
public:
  vtkTypeMacro(vtkKOVADisplayableNode, vtkKOVANode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  static constexpr const char* DisplayNodeReferenceRole = "display";

  enum
  {
    /// A display node was modified; call data is the display node.
    DisplayModifiedEvent = 17000,
  };

  /// Creates the display nodes the class needs (in the node's scene) if it has none. The base
  /// class creates none.
  virtual bool CreateDefaultDisplayNodes();

  vtkKOVADisplayNode* GetDisplayNode();
  vtkKOVADisplayNode* GetNthDisplayNode(int n);
  int GetNumberOfDisplayNodes();
  const char* GetDisplayNodeID();
  void SetAndObserveDisplayNodeID(const char* displayNodeID);
  void AddAndObserveDisplayNodeID(const char* displayNodeID);
  void RemoveAllDisplayNodeIDs();

  /// Visibility of the first display node (false without one); the setter sets it on all.
  virtual bool GetDisplayVisibility();
  virtual void SetDisplayVisibility(bool visible);

protected:
  vtkKOVADisplayableNode();
  ~vtkKOVADisplayableNode() override;

  void ProcessKOVAEvents(vtkObject* caller, unsigned long event, void* callData) override;

private:
  vtkKOVADisplayableNode(const vtkKOVADisplayableNode&) = delete;
  void operator=(const vtkKOVADisplayableNode&) = delete;
};

#endif
