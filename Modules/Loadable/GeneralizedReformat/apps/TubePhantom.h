#ifndef TubePhantom_h
#define TubePhantom_h

// A synthetic volume holding a bright tube of known radius around a curved centre line (an arc or
// a helix), for the curved planar reformat tests, demonstration and benchmark.

#include <vtkImageData.h>
#include <vtkMath.h>
#include <vtkSmartPointer.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace TubePhantom
{
using Point = std::array<double, 3>;

/// The centre line, densely sampled: "arc" is half a circle of radius 40 mm in the z = 0 plane;
/// "helix" one and a half turns of radius 20 mm and pitch 40 mm about the z axis.
inline std::vector<Point> CentreLine(const std::string& shape, int samples = 2000)
{
  std::vector<Point> points;
  for (int i = 0; i < samples; ++i)
  {
    const double u = static_cast<double>(i) / (samples - 1);
    if (shape == "helix")
    {
      const double a = 3.0 * vtkMath::Pi() * u;
      points.push_back({ 20.0 * std::cos(a), 20.0 * std::sin(a), 60.0 * u - 30.0 });
    }
    else
    {
      const double a = vtkMath::Pi() * u;
      points.push_back({ 40.0 * std::cos(a), 40.0 * std::sin(a) - 20.0, 0.0 });
    }
  }
  return points;
}

/// Every \a step-th point of the dense centre line (and the last one): control points for a curve.
inline std::vector<Point> ControlPoints(const std::string& shape, int count)
{
  const std::vector<Point> dense = CentreLine(shape);
  std::vector<Point> points;
  for (int i = 0; i < count; ++i)
  {
    points.push_back(dense[static_cast<size_t>(i) * (dense.size() - 1) / (count - 1)]);
  }
  return points;
}

/// A short volume (1 mm voxels unless \a spacing says otherwise, origin at the box corner) that
/// holds the whole tube with a margin: voxels within \a radius of the centre line are 1000, the
/// others 0.
inline vtkSmartPointer<vtkImageData> Volume(const std::string& shape,
  double radius = 4.0,
  double spacing = 1.0,
  double margin = 12.0)
{
  const std::vector<Point> line = CentreLine(shape);
  double bounds[6] = {
    VTK_DOUBLE_MAX, VTK_DOUBLE_MIN, VTK_DOUBLE_MAX, VTK_DOUBLE_MIN, VTK_DOUBLE_MAX, VTK_DOUBLE_MIN
  };
  for (const Point& p : line)
  {
    for (int k = 0; k < 3; ++k)
    {
      bounds[2 * k] = std::min(bounds[2 * k], p[k] - margin);
      bounds[2 * k + 1] = std::max(bounds[2 * k + 1], p[k] + margin);
    }
  }
  auto image = vtkSmartPointer<vtkImageData>::New();
  int dims[3];
  for (int k = 0; k < 3; ++k)
  {
    dims[k] = static_cast<int>(std::ceil((bounds[2 * k + 1] - bounds[2 * k]) / spacing)) + 1;
  }
  image->SetDimensions(dims);
  image->SetSpacing(spacing, spacing, spacing);
  image->SetOrigin(bounds[0], bounds[2], bounds[4]);
  image->AllocateScalars(VTK_SHORT, 1);
  auto* voxels = static_cast<short*>(image->GetScalarPointer());
  std::fill(voxels, voxels + image->GetNumberOfPoints(), static_cast<short>(0));
  // Union of balls along the densely sampled centre line.
  const int reach = static_cast<int>(std::ceil(radius / spacing));
  for (const Point& p : line)
  {
    int centre[3];
    for (int k = 0; k < 3; ++k)
    {
      centre[k] = static_cast<int>(std::lround((p[k] - image->GetOrigin()[k]) / spacing));
    }
    for (int z = std::max(0, centre[2] - reach); z <= std::min(dims[2] - 1, centre[2] + reach); ++z)
    {
      for (int y = std::max(0, centre[1] - reach); y <= std::min(dims[1] - 1, centre[1] + reach);
           ++y)
      {
        for (int x = std::max(0, centre[0] - reach); x <= std::min(dims[0] - 1, centre[0] + reach);
             ++x)
        {
          const double q[3] = { image->GetOrigin()[0] + x * spacing,
            image->GetOrigin()[1] + y * spacing,
            image->GetOrigin()[2] + z * spacing };
          if (vtkMath::Distance2BetweenPoints(q, p.data()) <= radius * radius)
          {
            voxels[x + static_cast<vtkIdType>(dims[0]) *
                         (y + static_cast<vtkIdType>(dims[1]) * z)] = 1000;
          }
        }
      }
    }
  }
  image->Modified();
  return image;
}

/// How straight a straightened tube came out: over the slices along Z, the fraction of voxels
/// within radius/2 of the cross-section centre (cx, cy) that are bright, and the fraction of
/// voxels farther than 2 * radius that are dark. \a centreX gives the expected centre per slice
/// (null: the middle of the slice).
struct Straightness
{
  double InsideFraction = 0.0;
  double OutsideFraction = 0.0;
  int InsideVoxels = 0;
  int OutsideVoxels = 0;
};

inline Straightness Measure(vtkImageData* straightened,
  const double spacing[3],
  double radius,
  const std::vector<double>* centreX = nullptr,
  int skipEndSlices = 1)
{
  Straightness result;
  int dims[3];
  straightened->GetDimensions(dims);
  int inside = 0;
  int outside = 0;
  for (int k = skipEndSlices; k < dims[2] - skipEndSlices; ++k)
  {
    const double cx = centreX ? (*centreX)[k] : 0.5 * dims[0] * spacing[0];
    const double cy = 0.5 * dims[1] * spacing[1];
    for (int j = 0; j < dims[1]; ++j)
    {
      for (int i = 0; i < dims[0]; ++i)
      {
        const double dx = i * spacing[0] - cx;
        const double dy = j * spacing[1] - cy;
        const double distance = std::sqrt(dx * dx + dy * dy);
        const double value = straightened->GetScalarComponentAsDouble(i, j, k, 0);
        if (distance < 0.5 * radius)
        {
          ++result.InsideVoxels;
          inside += value > 500.0 ? 1 : 0;
        }
        else if (distance > 2.0 * radius)
        {
          ++result.OutsideVoxels;
          outside += value < 500.0 ? 1 : 0;
        }
      }
    }
  }
  result.InsideFraction =
    result.InsideVoxels ? static_cast<double>(inside) / result.InsideVoxels : 0;
  result.OutsideFraction =
    result.OutsideVoxels ? static_cast<double>(outside) / result.OutsideVoxels : 0;
  return result;
}
}

#endif
