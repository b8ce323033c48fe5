#ifndef vtkKOVATestDisplayNode_h
#define vtkKOVATestDisplayNode_h

// A concrete display node for tests (the scene library's display node base is abstract):
//   vtkNew<vtkKOVATestDisplayNode> display;
//   scene->AddNode(display);
//   model->SetAndObserveDisplayNodeID(display->GetID());

#include <vtkKOVADisplayNode.h>

#include <vtkObjectFactory.h>

class vtkKOVATestDisplayNode : public vtkKOVADisplayNode
{
public:
  static vtkKOVATestDisplayNode* New() { VTK_STANDARD_NEW_BODY(vtkKOVATestDisplayNode); }
  vtkTypeMacro(vtkKOVATestDisplayNode, vtkKOVADisplayNode);
  vtkKOVANode* CreateNodeInstance() override { return vtkKOVATestDisplayNode::New(); }
  const char* GetNodeTagName() override { return "TestDisplay"; }

protected:
  vtkKOVATestDisplayNode() { this->HideFromEditors = true; }
  ~vtkKOVATestDisplayNode() override = default;
};

#endif
