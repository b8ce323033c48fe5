#ifndef vtkKOVAMarkupsDisplayNode_h
#define vtkKOVAMarkupsDisplayNode_h

#include "vtkKOVADisplayNode.h"

/// How a markups node is shown (the display node family of markups).
class KOVACORE_EXPORT vtkKOVAMarkupsDisplayNode : public vtkKOVADisplayNode
{
public:
  static vtkKOVAMarkupsDisplayNode* New();
  vtkTypeMacro(vtkKOVAMarkupsDisplayNode, vtkKOVADisplayNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "MarkupsDisplay"; }

protected:
  vtkKOVAMarkupsDisplayNode();
  ~vtkKOVAMarkupsDisplayNode() override;

private:
  vtkKOVAMarkupsDisplayNode(const vtkKOVAMarkupsDisplayNode&) = delete;
  void operator=(const vtkKOVAMarkupsDisplayNode&) = delete;
};

#endif
