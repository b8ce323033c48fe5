#ifndef vtkKOVAScalarVolumeNode_h
#define vtkKOVAScalarVolumeNode_h

#include "vtkKOVAVolumeNode.h"

/// A volume of scalar (or multi-component) voxel values, shown through a scalar volume display
/// node.
class KOVACORE_EXPORT vtkKOVAScalarVolumeNode : public vtkKOVAVolumeNode
{
public:
  static vtkKOVAScalarVolumeNode* New();
  vtkTypeMacro(vtkKOVAScalarVolumeNode, vtkKOVAVolumeNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "Volume"; }

  /// Adds a vtkKOVAScalarVolumeDisplayNode to the node's scene and refers to it, unless the node
  /// has a display node already. False when the node is not in a scene.
  bool CreateDefaultDisplayNodes() override;

protected:
  vtkKOVAScalarVolumeNode();
  ~vtkKOVAScalarVolumeNode() override;

  /// Shared by the subclasses: adds a display node of \a displayNodeClass unless there is one.
  bool CreateDefaultDisplayNodeOfClass(const char* displayNodeClass);

private:
  vtkKOVAScalarVolumeNode(const vtkKOVAScalarVolumeNode&) = delete;
  void operator=(const vtkKOVAScalarVolumeNode&) = delete;
};

#endif
