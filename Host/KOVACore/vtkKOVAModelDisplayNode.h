#ifndef vtkKOVAModelDisplayNode_h
#define vtkKOVAModelDisplayNode_h

#include "vtkKOVADisplayNode.h"

/// How a model is shown. Models are shown in 3D views; Visibility2D (their intersection with slice
/// views) starts off.
class KOVACORE_EXPORT vtkKOVAModelDisplayNode : public vtkKOVADisplayNode
{
public:
  static vtkKOVAModelDisplayNode* New();
  vtkTypeMacro(vtkKOVAModelDisplayNode, vtkKOVADisplayNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "ModelDisplay"; }

protected:
  vtkKOVAModelDisplayNode();
  ~vtkKOVAModelDisplayNode() override;

private:
  vtkKOVAModelDisplayNode(const vtkKOVAModelDisplayNode&) = delete;
  void operator=(const vtkKOVAModelDisplayNode&) = delete;
};

#endif
