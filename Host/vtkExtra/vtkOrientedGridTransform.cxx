#include "vtkOrientedGridTransform.h"

#include <vtkDataArray.h>
#include <vtkImageData.h>
#include <vtkMath.h>
#include <vtkMatrix4x4.h>
#include <vtkObjectFactory.h>
#include <vtkPointData.h>

#include <algorithm>
#include <cmath>

vtkStandardNewMacro(vtkOrientedGridTransform);

namespace
{
template <typename From, typename To>
void Copy3(const From in[3], To out[3])
{
  for (int k = 0; k < 3; ++k)
  {
    out[k] = static_cast<To>(in[k]);
  }
}
}

//------------------------------------------------------------------------------
vtkOrientedGridTransform::vtkOrientedGridTransform()
{
  vtkMath::Identity3x3(this->WorldToIndex);
}

vtkOrientedGridTransform::~vtkOrientedGridTransform()
{
  this->SetGridDirectionMatrix(nullptr);
}

//------------------------------------------------------------------------------
void vtkOrientedGridTransform::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "GridDirectionMatrix:";
  if (this->GridDirectionMatrix)
  {
    os << "\n";
    this->GridDirectionMatrix->PrintSelf(os, indent.GetNextIndent());
  }
  else
  {
    os << " (none)\n";
  }
}

//------------------------------------------------------------------------------
void vtkOrientedGridTransform::SetGridDirectionMatrix(vtkMatrix4x4* matrix)
{
  if (this->GridDirectionMatrix == matrix)
  {
    return;
  }
  if (this->GridDirectionMatrix)
  {
    this->GridDirectionMatrix->UnRegister(this);
  }
  this->GridDirectionMatrix = matrix;
  if (this->GridDirectionMatrix)
  {
    this->GridDirectionMatrix->Register(this);
  }
  this->Modified();
}

//------------------------------------------------------------------------------
vtkAbstractTransform* vtkOrientedGridTransform::MakeTransform()
{
  return vtkOrientedGridTransform::New();
}

//------------------------------------------------------------------------------
vtkMTimeType vtkOrientedGridTransform::GetMTime()
{
  vtkMTimeType mtime = this->Superclass::GetMTime();
  if (this->GridDirectionMatrix)
  {
    mtime = std::max(mtime, this->GridDirectionMatrix->GetMTime());
  }
  return mtime;
}

//------------------------------------------------------------------------------
void vtkOrientedGridTransform::InternalDeepCopy(vtkAbstractTransform* transform)
{
  this->Superclass::InternalDeepCopy(transform);
  auto* other = vtkOrientedGridTransform::SafeDownCast(transform);
  if (!other || other == this)
  {
    return;
  }
  if (other->GridDirectionMatrix)
  {
    vtkNew<vtkMatrix4x4> matrix;
    matrix->DeepCopy(other->GridDirectionMatrix);
    this->SetGridDirectionMatrix(matrix);
  }
  else
  {
    this->SetGridDirectionMatrix(nullptr);
  }
}

//------------------------------------------------------------------------------
void vtkOrientedGridTransform::InternalUpdate()
{
  this->Superclass::InternalUpdate();

  // index = inverse(D * diag(spacing)) * (p - origin)
  double indexToWorld[3][3];
  for (int r = 0; r < 3; ++r)
  {
    for (int c = 0; c < 3; ++c)
    {
      const double direction = this->GridDirectionMatrix
                                 ? this->GridDirectionMatrix->GetElement(r, c)
                                 : (r == c ? 1.0 : 0.0);
      indexToWorld[r][c] = direction * this->GridSpacing[c];
    }
  }
  this->AffineSections = false;
  if (vtkMath::Determinant3x3(indexToWorld) == 0.0)
  {
    vtkErrorMacro("InternalUpdate: the grid direction matrix or the grid spacing is singular");
    vtkMath::Identity3x3(this->WorldToIndex);
    return;
  }
  vtkMath::Invert3x3(indexToWorld, this->WorldToIndex);
  this->AffineSections = this->HasAffineSections();
}

//------------------------------------------------------------------------------
bool vtkOrientedGridTransform::HasAffineSections()
{
  vtkImageData* grid = this->GetDisplacementGrid();
  const int* extent = this->GridExtent;
  if (!this->GridPointer || !grid || this->InterpolationMode != VTK_LINEAR_INTERPOLATION ||
      extent[1] - extent[0] != 1 || extent[3] - extent[2] != 1)
  {
    return false;
  }
  vtkDataArray* displacements = grid->GetPointData()->GetScalars();
  if (!displacements || displacements->GetNumberOfComponents() != 3)
  {
    return false;
  }
  // Rounding of the displacements, relative to the grid's size and displacements.
  const double tolerance = 1e-9 * (std::abs(this->GridSpacing[0]) + std::abs(this->GridSpacing[1]) +
                                    displacements->GetMaxNorm());
  for (vtkIdType section = 0; section <= extent[5] - extent[4]; ++section)
  {
    double corner[4][3];
    for (vtkIdType c = 0; c < 4; ++c)
    {
      displacements->GetTuple(4 * section + c, corner[c]);
    }
    for (int k = 0; k < 3; ++k)
    {
      if (std::abs(corner[0][k] + corner[3][k] - corner[1][k] - corner[2][k]) > tolerance)
      {
        return false;
      }
    }
  }
  return true;
}

//------------------------------------------------------------------------------
void vtkOrientedGridTransform::TransformWorldToGridIndex(const double world[3], double index[3])
{
  this->Update();
  this->WorldToGridIndex(world, index);
}

//------------------------------------------------------------------------------
bool vtkOrientedGridTransform::GetSectionMatrix(double k, vtkMatrix4x4* sectionMatrix)
{
  this->Update();
  if (!this->AffineSections || !sectionMatrix)
  {
    return false;
  }
  // The two sections around k and the weight of the second, clamped as the interpolation does.
  const int* extent = this->GridExtent;
  const double floorK = std::floor(k);
  vtkIdType section0 = static_cast<vtkIdType>(floorK) - extent[4];
  vtkIdType section1 = section0 + 1;
  double weight = k - floorK;
  const vtkIdType lastSection = extent[5] - extent[4];
  if (k < extent[4])
  {
    section0 = section1 = 0;
    weight = 0.0;
  }
  else if (section1 > lastSection)
  {
    section0 = section1 = lastSection;
    weight = 0.0;
  }
  // Displacement at (t, j) on the plane: D00 + t (D10 - D00) + j (D01 - D00), with t and j the
  // first two grid indices counted from the extent's start.
  vtkDataArray* displacements = this->GetDisplacementGrid()->GetPointData()->GetScalars();
  double corner[3][3]; // (0, 0), (1, 0), (0, 1)
  for (int c = 0; c < 3; ++c)
  {
    double a[3], b[3];
    displacements->GetTuple(4 * section0 + c, a);
    displacements->GetTuple(4 * section1 + c, b);
    for (int r = 0; r < 3; ++r)
    {
      corner[c][r] = (1.0 - weight) * a[r] + weight * b[r];
    }
  }
  double alongT[3], alongJ[3];
  vtkMath::Subtract(corner[1], corner[0], alongT);
  vtkMath::Subtract(corner[2], corner[0], alongJ);
  // t = row 0 of WorldToIndex . (p - origin) - extent start, likewise j with row 1.
  const double* tRow = this->WorldToIndex[0];
  const double* jRow = this->WorldToIndex[1];
  const double tOffset = -vtkMath::Dot(tRow, this->GridOrigin) - extent[0];
  const double jOffset = -vtkMath::Dot(jRow, this->GridOrigin) - extent[2];
  const double scale = this->DisplacementScale;
  sectionMatrix->Identity();
  for (int r = 0; r < 3; ++r)
  {
    for (int c = 0; c < 3; ++c)
    {
      sectionMatrix->SetElement(
        r, c, (r == c ? 1.0 : 0.0) + scale * (alongT[r] * tRow[c] + alongJ[r] * jRow[c]));
    }
    sectionMatrix->SetElement(r,
      3,
      scale * (corner[0][r] + alongT[r] * tOffset + alongJ[r] * jOffset) + this->DisplacementShift);
  }
  return true;
}

//------------------------------------------------------------------------------
void vtkOrientedGridTransform::WorldToGridIndex(const double world[3], double index[3]) const
{
  const double shifted[3] = {
    world[0] - this->GridOrigin[0], world[1] - this->GridOrigin[1], world[2] - this->GridOrigin[2]
  };
  vtkMath::Multiply3x3(this->WorldToIndex, shifted, index);
}

//------------------------------------------------------------------------------
void vtkOrientedGridTransform::ForwardTransformPoint(const double in[3], double out[3])
{
  if (!this->GridPointer)
  {
    Copy3(in, out);
    return;
  }
  double index[3];
  this->WorldToGridIndex(in, index);
  double displacement[3];
  this->InterpolationFunction(index,
    displacement,
    nullptr,
    this->GridPointer,
    this->GridScalarType,
    this->GridExtent,
    this->GridIncrements);
  for (int k = 0; k < 3; ++k)
  {
    out[k] = in[k] + displacement[k] * this->DisplacementScale + this->DisplacementShift;
  }
}

void vtkOrientedGridTransform::ForwardTransformPoint(const float in[3], float out[3])
{
  double point[3];
  Copy3(in, point);
  this->ForwardTransformPoint(point, point);
  Copy3(point, out);
}

//------------------------------------------------------------------------------
void vtkOrientedGridTransform::ForwardTransformDerivative(const double in[3],
  double out[3],
  double derivative[3][3])
{
  if (!this->GridPointer)
  {
    Copy3(in, out);
    vtkMath::Identity3x3(derivative);
    return;
  }
  double index[3];
  this->WorldToGridIndex(in, index);
  double displacement[3];
  double indexDerivative[3][3];
  this->InterpolationFunction(index,
    displacement,
    indexDerivative,
    this->GridPointer,
    this->GridScalarType,
    this->GridExtent,
    this->GridIncrements);
  // d(displacement)/d(world) = d(displacement)/d(index) * d(index)/d(world)
  vtkMath::Multiply3x3(indexDerivative, this->WorldToIndex, derivative);
  for (int r = 0; r < 3; ++r)
  {
    for (int c = 0; c < 3; ++c)
    {
      derivative[r][c] *= this->DisplacementScale;
    }
    derivative[r][r] += 1.0;
    out[r] = in[r] + displacement[r] * this->DisplacementScale + this->DisplacementShift;
  }
}

void vtkOrientedGridTransform::ForwardTransformDerivative(const float in[3],
  float out[3],
  float derivative[3][3])
{
  double point[3];
  double d[3][3];
  Copy3(in, point);
  this->ForwardTransformDerivative(point, point, d);
  Copy3(point, out);
  for (int r = 0; r < 3; ++r)
  {
    Copy3(d[r], derivative[r]);
  }
}

//------------------------------------------------------------------------------
void vtkOrientedGridTransform::InverseTransformDerivative(const double in[3],
  double out[3],
  double derivative[3][3])
{
  // Newton's method on f(x) = x + displacement(x) - in, started from in - displacement(in).
  double x[3];
  double fx[3];
  this->ForwardTransformPoint(in, fx);
  for (int k = 0; k < 3; ++k)
  {
    x[k] = in[k] - (fx[k] - in[k]);
  }
  const double tolerance2 = this->InverseTolerance * this->InverseTolerance;
  double jacobian[3][3];
  double error2 = VTK_DOUBLE_MAX;
  double step[3] = { 0.0, 0.0, 0.0 };
  double lastX[3] = { x[0], x[1], x[2] };
  double lastError2 = VTK_DOUBLE_MAX;
  double stepScale = 1.0;
  // Stops at the tolerance or after InverseIterations, with the best estimate found.
  for (int iteration = 0; iteration < this->InverseIterations; ++iteration)
  {
    this->ForwardTransformDerivative(x, fx, jacobian);
    double residual[3];
    vtkMath::Subtract(fx, in, residual);
    error2 = vtkMath::Dot(residual, residual);
    if (error2 <= tolerance2)
    {
      break;
    }
    if (error2 > lastError2)
    {
      // The last step overshot: go back and take half of it.
      stepScale *= 0.5;
      for (int k = 0; k < 3; ++k)
      {
        x[k] = lastX[k] - stepScale * step[k];
      }
      continue;
    }
    lastError2 = error2;
    stepScale = 1.0;
    Copy3(x, lastX);
    double inverseJacobian[3][3];
    if (vtkMath::Determinant3x3(jacobian) == 0.0)
    {
      break;
    }
    vtkMath::Invert3x3(jacobian, inverseJacobian);
    vtkMath::Multiply3x3(inverseJacobian, residual, step);
    for (int k = 0; k < 3; ++k)
    {
      x[k] -= step[k];
    }
  }
  if (derivative)
  {
    this->ForwardTransformDerivative(x, fx, jacobian);
    vtkMath::Invert3x3(jacobian, derivative);
  }
  Copy3(x, out);
}

void vtkOrientedGridTransform::InverseTransformDerivative(const float in[3],
  float out[3],
  float derivative[3][3])
{
  double point[3];
  double d[3][3];
  Copy3(in, point);
  this->InverseTransformDerivative(point, point, d);
  Copy3(point, out);
  for (int r = 0; r < 3; ++r)
  {
    Copy3(d[r], derivative[r]);
  }
}

//------------------------------------------------------------------------------
void vtkOrientedGridTransform::InverseTransformPoint(const double in[3], double out[3])
{
  double derivative[3][3];
  this->InverseTransformDerivative(in, out, derivative);
}

void vtkOrientedGridTransform::InverseTransformPoint(const float in[3], float out[3])
{
  double point[3];
  Copy3(in, point);
  this->InverseTransformPoint(point, point);
  Copy3(point, out);
}
