#ifndef vtkKOVAVolumeNode_h
#define vtkKOVAVolumeNode_h

#include "vtkKOVADisplayableNode.h"

class vtkImageData;
class vtkMatrix4x4;

/// Base of the volume nodes: image data (voxels, not written to the scene file) placed in the
/// world by origin, spacing and IJK-to-RAS directions.
class KOVACORE_EXPORT vtkKOVAVolumeNode : public vtkKOVADisplayableNode
{
public:
  vtkTypeMacro(vtkKOVAVolumeNode, vtkKOVADisplayableNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  enum
  {
    /// The image data was replaced or modified.
    ImageDataModifiedEvent = 18001,
  };

  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVAVolumeNode);

  vtkImageData* GetImageData();
  void SetAndObserveImageData(vtkImageData* imageData);

  vtkGetVector3Macro(Origin, double);
  vtkSetVector3Macro(Origin, double);
  vtkGetVector3Macro(Spacing, double);
  vtkSetVector3Macro(Spacing, double);
  /// Unit direction of each voxel axis (i, j, k) in RAS.
  void GetIJKToRASDirections(double dirs[3][3]);
  void SetIJKToRASDirections(const double dirs[3][3]);
  /// Origin, spacing and directions as one matrix, and back (the matrix must not be singular).
  void GetIJKToRASMatrix(vtkMatrix4x4* matrix);
  void SetIJKToRASMatrix(vtkMatrix4x4* matrix);
  void GetRASToIJKMatrix(vtkMatrix4x4* matrix);

protected:
  vtkKOVAVolumeNode();
  ~vtkKOVAVolumeNode() override;

  static void ImageDataModified(vtkObject*, unsigned long, void* clientData, void*);

  vtkSmartPointer<vtkImageData> ImageData;
  unsigned long ImageDataObserverTag = 0;
  double Origin[3] = { 0.0, 0.0, 0.0 };
  double Spacing[3] = { 1.0, 1.0, 1.0 };
  double IJKToRASDirections[3][3] = { { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, { 0.0, 0.0, 1.0 } };

private:
  vtkKOVAVolumeNode(const vtkKOVAVolumeNode&) = delete;
  void operator=(const vtkKOVAVolumeNode&) = delete;
};

/// A volume of scalar voxels.
class KOVACORE_EXPORT vtkKOVAScalarVolumeNode : public vtkKOVAVolumeNode
{
public:
  static vtkKOVAScalarVolumeNode* New();
  vtkTypeMacro(vtkKOVAScalarVolumeNode, vtkKOVAVolumeNode);
  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "Volume"; }

protected:
  vtkKOVAScalarVolumeNode();
  ~vtkKOVAScalarVolumeNode() override;

private:
  vtkKOVAScalarVolumeNode(const vtkKOVAScalarVolumeNode&) = delete;
  void operator=(const vtkKOVAScalarVolumeNode&) = delete;
};

/// A volume whose voxels are labels.
class KOVACORE_EXPORT vtkKOVALabelMapVolumeNode : public vtkKOVAVolumeNode
{
public:
  static vtkKOVALabelMapVolumeNode* New();
  vtkTypeMacro(vtkKOVALabelMapVolumeNode, vtkKOVAVolumeNode);
  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "LabelMapVolume"; }

protected:
  vtkKOVALabelMapVolumeNode();
  ~vtkKOVALabelMapVolumeNode() override;

private:
  vtkKOVALabelMapVolumeNode(const vtkKOVALabelMapVolumeNode&) = delete;
  void operator=(const vtkKOVALabelMapVolumeNode&) = delete;
};

#endif
