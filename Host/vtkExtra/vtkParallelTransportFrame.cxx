#include "vtkParallelTransportFrame.h"

#include <vtkCellArray.h>
#include <vtkCellArrayIterator.h>
#include <vtkDoubleArray.h>
#include <vtkIdList.h>
#include <vtkInformation.h>
#include <vtkInformationVector.h>
#include <vtkMath.h>
#include <vtkObjectFactory.h>
#include <vtkPointData.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>

#include <array>
#include <cmath>
#include <vector>

vtkStandardNewMacro(vtkParallelTransportFrame);

namespace
{
constexpr double Epsilon = 1e-12;

/// A unit vector perpendicular to the unit vector \a v.
void AnyPerpendicular(const double v[3], double out[3])
{
  // Cross with the axis least aligned with v.
  int axis = 0;
  for (int k = 1; k < 3; ++k)
  {
    if (std::fabs(v[k]) < std::fabs(v[axis]))
    {
      axis = k;
    }
  }
  double e[3] = { 0.0, 0.0, 0.0 };
  e[axis] = 1.0;
  vtkMath::Cross(v, e, out);
  vtkMath::Normalize(out);
}

/// \a normal made perpendicular to the unit \a tangent and normalised; \a fallback when that
/// leaves nothing.
void Orthogonalize(const double tangent[3], const double normal[3], double out[3])
{
  const double dot = vtkMath::Dot(normal, tangent);
  for (int k = 0; k < 3; ++k)
  {
    out[k] = normal[k] - dot * tangent[k];
  }
  if (vtkMath::Normalize(out) < Epsilon)
  {
    AnyPerpendicular(tangent, out);
  }
}
}

//------------------------------------------------------------------------------
vtkParallelTransportFrame::vtkParallelTransportFrame() = default;
vtkParallelTransportFrame::~vtkParallelTransportFrame() = default;

//------------------------------------------------------------------------------
void vtkParallelTransportFrame::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "PreferredInitialNormalVector: " << this->PreferredInitialNormalVector[0] << " "
     << this->PreferredInitialNormalVector[1] << " " << this->PreferredInitialNormalVector[2]
     << "\n";
  os << indent << "TangentsArrayName: " << this->TangentsArrayName << "\n";
  os << indent << "NormalsArrayName: " << this->NormalsArrayName << "\n";
  os << indent << "BinormalsArrayName: " << this->BinormalsArrayName << "\n";
}

//------------------------------------------------------------------------------
int vtkParallelTransportFrame::RequestData(vtkInformation* vtkNotUsed(request),
  vtkInformationVector** inputVector,
  vtkInformationVector* outputVector)
{
  vtkPolyData* input = vtkPolyData::GetData(inputVector[0], 0);
  vtkPolyData* output = vtkPolyData::GetData(outputVector, 0);
  if (!input || !output)
  {
    vtkErrorMacro("RequestData: missing input or output poly data");
    return 0;
  }
  output->ShallowCopy(input);

  const vtkIdType numberOfPoints = input->GetNumberOfPoints();
  vtkNew<vtkDoubleArray> tangents;
  vtkNew<vtkDoubleArray> normals;
  vtkNew<vtkDoubleArray> binormals;
  tangents->SetName(this->TangentsArrayName.c_str());
  normals->SetName(this->NormalsArrayName.c_str());
  binormals->SetName(this->BinormalsArrayName.c_str());
  for (vtkDoubleArray* array :
    { tangents.GetPointer(), normals.GetPointer(), binormals.GetPointer() })
  {
    array->SetNumberOfComponents(3);
    array->SetNumberOfTuples(numberOfPoints);
    array->Fill(0.0);
  }

  vtkCellArray* lines = input->GetLines();
  vtkPoints* points = input->GetPoints();
  if (lines && points)
  {
    vtkNew<vtkIdList> ids;
    auto cells = vtk::TakeSmartPointer(lines->NewIterator());
    for (cells->GoToFirstCell(); !cells->IsDoneWithTraversal(); cells->GoToNextCell())
    {
      cells->GetCurrentCell(ids);
      // Drop repeated points: they have no direction of their own.
      std::vector<vtkIdType> line;
      for (vtkIdType k = 0; k < ids->GetNumberOfIds(); ++k)
      {
        const vtkIdType id = ids->GetId(k);
        if (!line.empty())
        {
          double a[3], b[3];
          points->GetPoint(line.back(), a);
          points->GetPoint(id, b);
          if (vtkMath::Distance2BetweenPoints(a, b) < Epsilon * Epsilon)
          {
            continue;
          }
        }
        line.push_back(id);
      }
      if (line.size() < 2)
      {
        continue;
      }

      // Tangents: segment directions at the ends, the mean of the two neighbouring segment
      // directions inside.
      const size_t n = line.size();
      std::vector<std::array<double, 3>> segment(n - 1);
      for (size_t k = 0; k + 1 < n; ++k)
      {
        double a[3], b[3];
        points->GetPoint(line[k], a);
        points->GetPoint(line[k + 1], b);
        vtkMath::Subtract(b, a, segment[k].data());
        vtkMath::Normalize(segment[k].data());
      }
      std::vector<std::array<double, 3>> tangent(n);
      tangent[0] = segment[0];
      tangent[n - 1] = segment[n - 2];
      for (size_t k = 1; k + 1 < n; ++k)
      {
        vtkMath::Add(segment[k - 1].data(), segment[k].data(), tangent[k].data());
        if (vtkMath::Normalize(tangent[k].data()) < Epsilon)
        {
          tangent[k] = segment[k]; // the line turns back on itself
        }
      }

      double normal[3];
      Orthogonalize(tangent[0].data(), this->PreferredInitialNormalVector, normal);
      for (size_t k = 0; k < n; ++k)
      {
        if (k > 0)
        {
          // Rotate the previous normal by the rotation that carries the previous tangent into
          // this one (about their common perpendicular).
          const double* t0 = tangent[k - 1].data();
          const double* t1 = tangent[k].data();
          double axis[3];
          vtkMath::Cross(t0, t1, axis);
          const double sinAngle = vtkMath::Normalize(axis);
          const double cosAngle = vtkMath::Dot(t0, t1);
          if (sinAngle > Epsilon)
          {
            // Rodrigues' rotation formula.
            double cross[3];
            vtkMath::Cross(axis, normal, cross);
            const double dot = vtkMath::Dot(axis, normal);
            double rotated[3];
            for (int c = 0; c < 3; ++c)
            {
              rotated[c] =
                normal[c] * cosAngle + cross[c] * sinAngle + axis[c] * dot * (1.0 - cosAngle);
            }
            Orthogonalize(t1, rotated, normal);
          }
          else
          {
            double previous[3] = { normal[0], normal[1], normal[2] };
            Orthogonalize(t1, previous, normal);
          }
        }
        double binormal[3];
        vtkMath::Cross(tangent[k].data(), normal, binormal);
        vtkMath::Normalize(binormal);
        tangents->SetTuple(line[k], tangent[k].data());
        normals->SetTuple(line[k], normal);
        binormals->SetTuple(line[k], binormal);
      }
      // Repeated points take the frame of the point they repeat.
      vtkIdType last = ids->GetId(0);
      for (vtkIdType k = 1; k < ids->GetNumberOfIds(); ++k)
      {
        const vtkIdType id = ids->GetId(k);
        double a[3], b[3];
        points->GetPoint(last, a);
        points->GetPoint(id, b);
        if (vtkMath::Distance2BetweenPoints(a, b) < Epsilon * Epsilon)
        {
          tangents->SetTuple(id, tangents->GetTuple3(last));
          normals->SetTuple(id, normals->GetTuple3(last));
          binormals->SetTuple(id, binormals->GetTuple3(last));
        }
        else
        {
          last = id;
        }
      }
    }
  }

  output->GetPointData()->AddArray(tangents);
  output->GetPointData()->AddArray(normals);
  output->GetPointData()->AddArray(binormals);
  return 1;
}
