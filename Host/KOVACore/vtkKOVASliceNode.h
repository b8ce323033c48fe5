#ifndef vtkKOVASliceNode_h
#define vtkKOVASliceNode_h

#include "vtkKOVAAbstractViewNode.h"

#include <vtkSmartPointer.h>

#include <string>

#include <vtkMatrix4x4.h> // for the smart pointer members

/// A slice view. Its orientation ("Axial", "Sagittal", "Coronal" or another name) and its own
/// default orientation are properties of the view: Reset keeps both.
class KOVACORE_EXPORT vtkKOVASliceNode : public vtkKOVAAbstractViewNode
{
public:
  static vtkKOVASliceNode* New();
  vtkTypeMacro(vtkKOVASliceNode, vtkKOVAAbstractViewNode);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  vtkKOVANode* CreateNodeInstance() override;
  const char* GetNodeTagName() override { return "Slice"; }
  void ReadXMLAttributes(const char** atts) override;
  void WriteXML(ostream& of, int indent) override;
  vtkKOVACopyContentMacro(vtkKOVASliceNode);
  void Reset(vtkKOVANode* defaultNode) override;

  std::string GetOrientation() { return this->Orientation; }
  void SetOrientation(const std::string& orientation);
  std::string GetDefaultOrientation() { return this->DefaultOrientation; }
  void SetDefaultOrientation(const std::string& orientation);
  /// Orientation = DefaultOrientation (nothing when no default orientation is set).
  void SetOrientationToDefault();

  vtkGetVector3Macro(FieldOfView, double);
  vtkSetVector3Macro(FieldOfView, double);
  vtkGetMacro(SliceVisible, bool);
  vtkSetMacro(SliceVisible, bool);
  vtkBooleanMacro(SliceVisible, bool);
  vtkGetMacro(UseLabelOutline, bool);
  vtkSetMacro(UseLabelOutline, bool);
  vtkBooleanMacro(UseLabelOutline, bool);

  // Slice geometry (view state: not written to the scene file, not copied) ------------------

  /// Slice-to-RAS: the columns are the slice's x axis, y axis and normal (unit vectors) and its
  /// origin, the centre of the view. Identity (axial at the origin) at first. After changing
  /// the matrix in place, call UpdateMatrices.
  vtkMatrix4x4* GetSliceToRAS() { return this->SliceToRAS; }
  /// Sets the slice-to-RAS matrix from the normal \a n, the in-plane x axis \a t (made
  /// perpendicular to the normal) and the origin \a p. Zero or parallel vectors are an error.
  bool SetSliceToRASByNTP(const double n[3], const double t[3], const double p[3]);
  /// Size of the view in pixels (x, y) and number of slices (z; 1 for a single slice).
  vtkGetVector3Macro(Dimensions, int);
  void SetDimensions(int x, int y, int z);
  /// XY-to-RAS: view pixel coordinates (x, y from the lower left corner, z the slice index) to
  /// RAS. Pixel (0, 0) is a corner of the field of view, (Dimensions x, y) the opposite corner;
  /// the z column is the slice normal scaled by the slice spacing (FieldOfView z / Dimensions z).
  /// Computed from SliceToRAS, FieldOfView and Dimensions on each call.
  vtkMatrix4x4* GetXYToRAS();
  /// Brings XYToRAS up to date and marks the node modified (after SliceToRAS or FieldOfView
  /// changed).
  void UpdateMatrices();

protected:
  vtkKOVASliceNode();
  ~vtkKOVASliceNode() override;

  void ComputeXYToRAS();

  std::string Orientation = "Axial";
  std::string DefaultOrientation = "Axial";
  double FieldOfView[3] = { 250.0, 250.0, 1.0 };
  bool SliceVisible = false;
  bool UseLabelOutline = false;
  // Slice geometry.
  vtkSmartPointer<vtkMatrix4x4> SliceToRAS;
  vtkSmartPointer<vtkMatrix4x4> XYToRAS;
  int Dimensions[3] = { 256, 256, 1 };

private:
  vtkKOVASliceNode(const vtkKOVASliceNode&) = delete;
  void operator=(const vtkKOVASliceNode&) = delete;
};

#endif
