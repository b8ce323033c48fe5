#ifndef vtkKOVAVolumeNode_h
#define vtkKOVAVolumeNode_h

#include "vtkKOVADisplayableNode.h"

#include <vtkSmartPointer.h>

#include <vtkImageData.h> // for the smart pointer member
class vtkMatrix4x4;

/// Base of the volume nodes: an image (voxel values, indexed IJK) and the IJK-to-RAS geometry
/// that places it in world coordinates (millimetres): origin, spacing and axis directions.
///
/// The geometry belongs to the node; the image's own origin and spacing are not used. The node
/// holds and observes its image: a change of the image invokes ImageDataModifiedEvent.
class KOVACORE_EXPORT vtkKOVAVolumeNode : public vtkKOVADisplayableNode
{
public:
  vtkTypeMacro(vtkKOVAVolumeNode, vtkKOVADisplayableNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  enum
  {
    /// The image was replaced or modified.
    ImageDataModifiedEvent = 18001,
  };

  void ReadXMLAttributes(const char** atts) override;
  /// Writes spacing, origin and ijkToRASDirections (the image itself is not written).
  void WriteXML(ostream& of, int indent) override;
  /// Copies geometry and image (a deep copy of the image with \a deepCopy, else shared).
  vtkKOVACopyContentMacro(vtkKOVAVolumeNode);

  vtkImageData* GetImageData() { return this->ImageData; }
  /// Holds and observes \a imageData (null removes the image).
  virtual void SetAndObserveImageData(vtkImageData* imageData);

  /// IJK-to-RAS: columns are the axis directions scaled by the spacing, then the origin.
  void GetIJKToRASMatrix(vtkMatrix4x4* matrix);
  void GetRASToIJKMatrix(vtkMatrix4x4* matrix);
  /// Sets origin, spacing (the column lengths) and directions (the normalised columns) from
  /// \a matrix. A column of zero length is an error and changes nothing.
  void SetIJKToRASMatrix(vtkMatrix4x4* matrix);

  vtkGetVector3Macro(Spacing, double);
  vtkSetVector3Macro(Spacing, double);
  vtkGetVector3Macro(Origin, double);
  vtkSetVector3Macro(Origin, double);
  /// Unit direction of each voxel axis in RAS: directions[row][column], column = IJK axis.
  void GetIJKToRASDirections(double directions[3][3]);
  void SetIJKToRASDirections(const double directions[3][3]);
  /// The directions as the upper-left part of a 4x4 matrix (rest identity).
  void GetIJKToRASDirectionMatrix(vtkMatrix4x4* matrix);

  /// Bounds in RAS of the voxel centres of the image's extent; false (and an empty, inverted box)
  /// without an image.
  bool GetRASBounds(double bounds[6]);

protected:
  vtkKOVAVolumeNode();
  ~vtkKOVAVolumeNode() override;

  static void ImageCallback(vtkObject* caller, unsigned long eid, void* clientData, void* callData);

  vtkSmartPointer<vtkImageData> ImageData;
  unsigned long ImageObserverTag = 0;
  double Spacing[3] = { 1.0, 1.0, 1.0 };
  double Origin[3] = { 0.0, 0.0, 0.0 };
  double IJKToRASDirections[3][3] = { { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, { 0.0, 0.0, 1.0 } };

private:
  vtkKOVAVolumeNode(const vtkKOVAVolumeNode&) = delete;
  void operator=(const vtkKOVAVolumeNode&) = delete;
};

#endif
