// Files of the curvedreformat tool: volumes and curves read, straightened volumes, projections
// and models written. Failures are thrown as CurvedReformat::Failure with a one-line message.
#ifndef CurvedReformatFiles_h
#define CurvedReformatFiles_h

#include "CurvedReformatOutputs.h"

#include <vtkSmartPointer.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

class vtkImageData;
class vtkPolyData;

namespace CurvedReformat
{
/// The lower-case last extension of a path (".vti").
std::string Extension(const std::string& path);

/// \a text without leading and trailing blanks, tabs and line ends.
std::string Trim(const std::string& text);

/// Why \a path cannot be read as a file ("is a folder", the system's reason), or "".
std::string FileProblem(const std::string& path);

/// Receives the fraction of a step that is done, from 0 to 1.
using ProgressFunction = std::function<void(double)>;

/// Voxels plus physical geometry: physical = Origin + Directions * (Spacing * ijk).
struct Volume
{
  vtkSmartPointer<vtkImageData> Image;
  double Origin[3] = { 0, 0, 0 };
  double Spacing[3] = { 1, 1, 1 };
  double Directions[3][3] = { { 1, 0, 0 }, { 0, 1, 0 }, { 0, 0, 1 } }; // columns: voxel axes
};

/// Reads a DICOM folder or file (the series \a seriesUID, when given; see ReadDicomVolume), or a
/// .vti, .mha/.mhd or .nrrd/.nhdr file, in its physical frame. \a errors collects VTK's messages
/// during the read; \a progress (may be empty) follows a DICOM read. The volume has a scalar
/// value for each voxel, finite geometry, positive spacing and voxel axes of unit length that
/// span space; a file whose geometry is otherwise is refused.
Volume ReadVolume(const std::string& path,
  const std::string& seriesUID,
  CapturingOutputWindow* errors,
  const ProgressFunction& progress);

/// A curve point and the line of the file it came from.
struct CurvePoint
{
  std::array<double, 3> Position;
  int Line;
};

/// Reads one x,y,z point per line (blank lines and lines starting with '#' skipped, an optional
/// header line first).
std::vector<CurvePoint> ReadCurve(const std::string& path);

/// Writes a volume as .vti or .mha (by the target's extension).
void WriteVolume(const Volume& volume, const OutputFile& output);

/// Writes a single-slice projection along \a axis as an 8-bit PNG, windowed to its value range;
/// its rows run along the higher of the two remaining axes.
void WriteProjectionPNG(vtkImageData* projection, int axis, const OutputFile& output);

/// Writes a model as VTK XML poly data.
void WritePolyData(vtkPolyData* polyData, const OutputFile& output);

}

#endif
