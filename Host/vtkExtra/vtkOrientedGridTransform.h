#ifndef vtkOrientedGridTransform_h
#define vtkOrientedGridTransform_h

#include "vtkExtraExport.h"

#include <vtkGridTransform.h>

class vtkMatrix4x4;

/// A grid transform whose displacement grid has a direction matrix.
///
/// Grid point (i, j, k) lies at origin + D * (i * sx, j * sy, k * sz), where D is the upper-left
/// 3x3 part of GridDirectionMatrix (identity when none is set); the displacements stored in the
/// grid are in world coordinates. A point p maps to p + displacement(p), the displacement
/// interpolated in the grid (VTK's grid interpolation modes). The inverse is found by Newton
/// iteration, so both directions work, also through GetInverse().
class VTKEXTRA_EXPORT vtkOrientedGridTransform : public vtkGridTransform
{
public:
  static vtkOrientedGridTransform* New();
  vtkTypeMacro(vtkOrientedGridTransform, vtkGridTransform);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// Direction of the grid axes: only the upper-left 3x3 part is used. Held by reference.
  virtual void SetGridDirectionMatrix(vtkMatrix4x4* matrix);
  vtkGetObjectMacro(GridDirectionMatrix, vtkMatrix4x4);

  /// Continuous grid index of a world point (grid point (0, 0, 0) at the grid origin).
  void TransformWorldToGridIndex(const double world[3], double index[3]);

  /// Exact shortcut for resamplers. When the grid has two points along its first two axes, the
  /// four displacements of each of its sections form a parallelogram (as those of a
  /// straightening transform do) and the interpolation is linear, the transform is affine on
  /// every plane of constant third grid index, within the grid's extent along the first two
  /// axes. \a sectionMatrix then receives that world-to-world map for the plane at third grid
  /// index \a k (clamped to the grid as the interpolation clamps it) and the result is true;
  /// otherwise the result is false and the matrix is left as it was.
  bool GetSectionMatrix(double k, vtkMatrix4x4* sectionMatrix);

  vtkAbstractTransform* MakeTransform() override;
  vtkMTimeType GetMTime() override;

protected:
  vtkOrientedGridTransform();
  ~vtkOrientedGridTransform() override;

  void InternalUpdate() override;
  void InternalDeepCopy(vtkAbstractTransform* transform) override;

  void ForwardTransformPoint(const float in[3], float out[3]) override;
  void ForwardTransformPoint(const double in[3], double out[3]) override;
  void ForwardTransformDerivative(const float in[3], float out[3], float derivative[3][3]) override;
  void ForwardTransformDerivative(const double in[3],
    double out[3],
    double derivative[3][3]) override;
  void InverseTransformPoint(const float in[3], float out[3]) override;
  void InverseTransformPoint(const double in[3], double out[3]) override;
  void InverseTransformDerivative(const float in[3], float out[3], float derivative[3][3]) override;
  void InverseTransformDerivative(const double in[3],
    double out[3],
    double derivative[3][3]) override;

  /// Continuous grid index of a world point.
  void WorldToGridIndex(const double world[3], double index[3]) const;
  /// Whether the grid is of the kind GetSectionMatrix handles.
  bool HasAffineSections();

  vtkMatrix4x4* GridDirectionMatrix = nullptr;
  /// World to grid index: inverse of (direction * spacing), applied after subtracting the origin.
  double WorldToIndex[3][3];
  /// Whether GetSectionMatrix applies (found by InternalUpdate).
  bool AffineSections = false;

private:
  vtkOrientedGridTransform(const vtkOrientedGridTransform&) = delete;
  void operator=(const vtkOrientedGridTransform&) = delete;
};

#endif
