// Files of the curvedreformat tool: volumes and curves read, straightened volumes, projections
// and models written. Failures are thrown as CurvedReformat::Failure with a one-line message.
#ifndef CurvedReformatFiles_h
#define CurvedReformatFiles_h

#include <vtkOutputWindow.h>
#include <vtkSmartPointer.h>

#include <array>
#include <string>
#include <vector>

class vtkImageData;
class vtkPolyData;

namespace CurvedReformat
{
/// A failure with a one-line message; exit code 2 for command-line errors, 1 otherwise.
struct Failure
{
  std::string Message;
  int ExitCode = 1;
};

/// Collects VTK's error texts instead of printing them.
class CapturingOutputWindow : public vtkOutputWindow
{
public:
  static CapturingOutputWindow* New();
  vtkTypeMacro(CapturingOutputWindow, vtkOutputWindow);
  void DisplayErrorText(const char* text) override { this->Errors.emplace_back(text ? text : ""); }
  void DisplayWarningText(const char*) override {}
  void DisplayGenericWarningText(const char*) override {}
  void DisplayText(const char*) override {}
  void DisplayDebugText(const char*) override {}

  /// The message of the first error (the text after the object's description), or "".
  std::string FirstMessage() const;

  std::vector<std::string> Errors;
};

/// The lower-case last extension of a path (".vti").
std::string Extension(const std::string& path);

/// Voxels plus physical geometry: physical = Origin + Directions * (Spacing * ijk).
struct Volume
{
  vtkSmartPointer<vtkImageData> Image;
  double Origin[3] = { 0, 0, 0 };
  double Spacing[3] = { 1, 1, 1 };
  double Directions[3][3] = { { 1, 0, 0 }, { 0, 1, 0 }, { 0, 0, 1 } }; // columns: voxel axes
};

/// Reads a .vti, .mha/.mhd or .nrrd/.nhdr file in its physical frame. \a errors collects VTK's
/// messages during the read.
Volume ReadVolume(const std::string& path, CapturingOutputWindow* errors);

/// A curve point and the line of the file it came from.
struct CurvePoint
{
  std::array<double, 3> Position;
  int Line;
};

/// Reads one x,y,z point per line (blank lines and lines starting with '#' skipped, an optional
/// header line first).
std::vector<CurvePoint> ReadCurve(const std::string& path);

/// An output file: written under Path, named Target (the user's name) in messages.
struct OutputFile
{
  std::string Path;
  std::string Target;
};

/// Writes a volume as .vti or .mha (by the target's extension).
void WriteVolume(const Volume& volume, const OutputFile& output);

/// Writes a single-slice projection along \a axis as an 8-bit PNG, windowed to its value range;
/// its rows run along the higher of the two remaining axes.
void WriteProjectionPNG(vtkImageData* projection, int axis, const OutputFile& output);

/// Writes a model as VTK XML poly data.
void WritePolyData(vtkPolyData* polyData, const OutputFile& output);

/// Output files are written beside their targets and moved there only when all are written;
/// whatever is not committed is removed.
class PendingOutputs
{
public:
  PendingOutputs() = default;
  PendingOutputs(const PendingOutputs&) = delete;
  PendingOutputs& operator=(const PendingOutputs&) = delete;
  ~PendingOutputs();
  /// Creates the file to write \a target under, in the target's folder (keeping the extension).
  OutputFile Add(const std::string& target);
  /// Moves every output to its target.
  void Commit();

private:
  std::vector<OutputFile> Outputs;
};
}

#endif
