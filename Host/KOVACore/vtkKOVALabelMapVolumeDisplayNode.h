#ifndef vtkKOVALabelMapVolumeDisplayNode_h
#define vtkKOVALabelMapVolumeDisplayNode_h

#include "vtkKOVADisplayNode.h"

/// How a label map volume is shown (the display node family of label maps).
class KOVACORE_EXPORT vtkKOVALabelMapVolumeDisplayNode : public vtkKOVADisplayNode
{
public:
  static vtkKOVALabelMapVolumeDisplayNode* New();
  vtkTypeMacro(vtkKOVALabelMapVolumeDisplayNode, vtkKOVADisplayNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "LabelMapVolumeDisplay"; }

protected:
  vtkKOVALabelMapVolumeDisplayNode();
  ~vtkKOVALabelMapVolumeDisplayNode() override;

private:
  vtkKOVALabelMapVolumeDisplayNode(const vtkKOVALabelMapVolumeDisplayNode&) = delete;
  void operator=(const vtkKOVALabelMapVolumeDisplayNode&) = delete;
};

#endif
