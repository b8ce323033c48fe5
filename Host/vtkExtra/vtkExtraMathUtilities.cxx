#include "vtkExtraMathUtilities.h"

#include <vtkMath.h>
#include <vtkObjectFactory.h>
#include <vtkPlane.h>
#include <vtkPoints.h>

#include <cmath>

vtkStandardNewMacro(vtkExtraMathUtilities);

//------------------------------------------------------------------------------
void vtkExtraMathUtilities::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
}

//------------------------------------------------------------------------------
bool vtkExtraMathUtilities::FitPlaneToPoints(vtkPoints* points, vtkPlane* plane)
{
  if (!points || !plane)
  {
    return false;
  }
  const vtkIdType count = points->GetNumberOfPoints();
  if (count < 3)
  {
    return false;
  }

  double centroid[3] = { 0.0, 0.0, 0.0 };
  for (vtkIdType i = 0; i < count; ++i)
  {
    double p[3];
    points->GetPoint(i, p);
    for (int k = 0; k < 3; ++k)
    {
      centroid[k] += p[k];
    }
  }
  for (double& c : centroid)
  {
    c /= static_cast<double>(count);
  }

  // Covariance of the centred points; its eigenvector of the smallest eigenvalue is the normal.
  double covariance[3][3] = { { 0.0 } };
  for (vtkIdType i = 0; i < count; ++i)
  {
    double p[3];
    points->GetPoint(i, p);
    const double d[3] = { p[0] - centroid[0], p[1] - centroid[1], p[2] - centroid[2] };
    for (int r = 0; r < 3; ++r)
    {
      for (int c = 0; c < 3; ++c)
      {
        covariance[r][c] += d[r] * d[c];
      }
    }
  }
  double* rows[3] = { covariance[0], covariance[1], covariance[2] };
  double eigenvalues[3];
  double eigenvectors[3][3];
  double* vectorRows[3] = { eigenvectors[0], eigenvectors[1], eigenvectors[2] };
  if (!vtkMath::Jacobi(rows, eigenvalues, vectorRows))
  {
    return false;
  }
  // Jacobi sorts the eigenvalues in decreasing order; eigenvectors are the columns.
  double normal[3] = { eigenvectors[0][2], eigenvectors[1][2], eigenvectors[2][2] };
  if (vtkMath::Normalize(normal) == 0.0)
  {
    return false;
  }
  int largest = 0;
  for (int k = 1; k < 3; ++k)
  {
    if (std::fabs(normal[k]) > std::fabs(normal[largest]) + 1e-12)
    {
      largest = k;
    }
  }
  if (normal[largest] < 0.0)
  {
    for (double& n : normal)
    {
      n = -n;
    }
  }
  plane->SetOrigin(centroid);
  plane->SetNormal(normal);
  return true;
}
