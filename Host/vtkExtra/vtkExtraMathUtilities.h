#ifndef vtkExtraMathUtilities_h
#define vtkExtraMathUtilities_h

#include "vtkExtraExport.h"

#include <vtkObject.h>

class vtkPlane;
class vtkPoints;

/// Geometry helpers that VTK's vtkMath does not offer.
class VTKEXTRA_EXPORT vtkExtraMathUtilities : public vtkObject
{
public:
  static vtkExtraMathUtilities* New();
  vtkTypeMacro(vtkExtraMathUtilities, vtkObject);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// Least-squares plane through \a points: the plane's origin becomes the points' centroid and
  /// its normal the unit direction of least spread. The normal's largest component (by absolute
  /// value) is made positive, so the result does not depend on the order of the points.
  /// Returns false, leaving the plane unchanged, for null arguments or fewer than 3 points; points
  /// that all lie on one line give true and one of the normals perpendicular to that line.
  static bool FitPlaneToPoints(vtkPoints* points, vtkPlane* plane);

protected:
  vtkExtraMathUtilities() = default;
  ~vtkExtraMathUtilities() override = default;

private:
  vtkExtraMathUtilities(const vtkExtraMathUtilities&) = delete;
  void operator=(const vtkExtraMathUtilities&) = delete;
};

#endif
