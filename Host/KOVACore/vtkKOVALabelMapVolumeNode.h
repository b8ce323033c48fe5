#ifndef vtkKOVALabelMapVolumeNode_h
#define vtkKOVALabelMapVolumeNode_h

#include "vtkKOVAScalarVolumeNode.h"

/// A scalar volume whose voxel values are labels (shown through a label map display node).
class KOVACORE_EXPORT vtkKOVALabelMapVolumeNode : public vtkKOVAScalarVolumeNode
{
public:
  static vtkKOVALabelMapVolumeNode* New();
  vtkTypeMacro(vtkKOVALabelMapVolumeNode, vtkKOVAScalarVolumeNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "LabelMapVolume"; }

  /// Adds a vtkKOVALabelMapVolumeDisplayNode (see vtkKOVAScalarVolumeNode).
  bool CreateDefaultDisplayNodes() override;

protected:
  vtkKOVALabelMapVolumeNode();
  ~vtkKOVALabelMapVolumeNode() override;

private:
  vtkKOVALabelMapVolumeNode(const vtkKOVALabelMapVolumeNode&) = delete;
  void operator=(const vtkKOVALabelMapVolumeNode&) = delete;
};

#endif
