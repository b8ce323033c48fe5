#ifndef vtkKOVALayoutNode_h
#define vtkKOVALayoutNode_h

#include "vtkKOVANode.h"

/// The application's view layout: which arrangement of views is shown, by layout identifier.
class KOVACORE_EXPORT vtkKOVALayoutNode : public vtkKOVANode
{
public:
  static vtkKOVALayoutNode* New();
  vtkTypeMacro(vtkKOVALayoutNode, vtkKOVANode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "Layout"; }
  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVALayoutNode);

  /// The layout identifier of the current view arrangement (0 initially).
  vtkGetMacro(ViewArrangement, int);
  vtkSetMacro(ViewArrangement, int);

protected:
  vtkKOVALayoutNode();
  ~vtkKOVALayoutNode() override;

  int ViewArrangement = 0;

private:
  vtkKOVALayoutNode(const vtkKOVALayoutNode&) = delete;
  void operator=(const vtkKOVALayoutNode&) = delete;
};

#endif
