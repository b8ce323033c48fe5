// libFuzzer target: curvedreformat's curve files (CurvedReformat::ReadCurve) and its MetaImage and
// NRRD volumes (CurvedReformat::ReadVolume: VTK's reader, then the tool's own reading of the
// header's axes and origin).
//
// Byte 0 chooses the file name (its value modulo 5: curve.csv, volume.mha, volume.mhd,
// volume.nrrd, volume.nhdr); the rest is the file. Beside it lies volume.raw, 8 x 8 x 8 16-bit
// voxels, for headers that name a data file. Besides the sanitizers:
// - a failure is a CurvedReformat::Failure with a one-line message and exit code 1;
// - a curve read lists its points in the order of their lines, each on a line that is not blank
//   or a comment, and its points written out again as numbers ("%.17g,%.17g,%.17g") read back
//   exactly; a failure that names a line names one that holds something;
// - a volume read has voxels, a scalar value for each, finite geometry, positive spacing, and
//   voxel axes of unit length that span space (what the reformat relies on).
#include "CurvedReformatFiles.h"

#include <vtkKOVATestFiles.h>

#include <vtkDataArray.h>
#include <vtkImageData.h>
#include <vtkMath.h>
#include <vtkNew.h>
#include <vtkPointData.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
[[noreturn]] void Fail(const std::string& what)
{
  std::fprintf(stderr, "curvedreformatFilesFuzzer: %s\n", what.c_str());
  std::abort();
}

const vtkKOVATestTemporaryDirectory& Folder()
{
  static const vtkKOVATestTemporaryDirectory folder;
  return folder;
}

/// A failure must come as the tool reports it: one line, exit code 1.
void CheckFailure(const CurvedReformat::Failure& failure)
{
  if (failure.Message.empty() || failure.Message.find('\n') != std::string::npos ||
      failure.ExitCode != 1)
    Fail("the failure '" + failure.Message + "' with exit code " +
         std::to_string(failure.ExitCode));
}

/// The file's lines as std::getline gives them.
std::vector<std::string> Lines(const std::string& text)
{
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size())
  {
    const size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    start = end == std::string::npos ? text.size() : end + 1;
  }
  return lines;
}

/// Whether a line holds something (not only blanks, not a comment).
bool Holds(const std::string& line)
{
  const size_t first = line.find_first_not_of(" \t\r\n");
  return first != std::string::npos && line[first] != '#';
}

void CheckCurve(const std::string& path, const std::string& text)
{
  const std::vector<std::string> lines = Lines(text);
  std::vector<CurvedReformat::CurvePoint> points;
  try
  {
    points = CurvedReformat::ReadCurve(path);
  }
  catch (const CurvedReformat::Failure& failure)
  {
    CheckFailure(failure);
    const size_t at = failure.Message.find(", line ");
    if (at != std::string::npos)
    {
      const int line = std::atoi(failure.Message.c_str() + at + 7);
      if (line < 1 || line > static_cast<int>(lines.size()) || !Holds(lines[line - 1]))
        Fail("the failure '" + failure.Message + "' names a line that holds nothing");
    }
    return;
  }
  int previous = 0;
  std::string again;
  for (const CurvedReformat::CurvePoint& point : points)
  {
    if (point.Line <= previous || point.Line > static_cast<int>(lines.size()) ||
        !Holds(lines[point.Line - 1]))
      Fail("a point on line " + std::to_string(point.Line) + " after line " +
           std::to_string(previous));
    previous = point.Line;
    char line[128];
    std::snprintf(line, sizeof(line), "%.17g,%.17g,%.17g\n", point.Position[0], point.Position[1],
      point.Position[2]);
    again += line;
  }
  const std::string copy = Folder().Write("again.csv", again);
  const std::vector<CurvedReformat::CurvePoint> reread = CurvedReformat::ReadCurve(copy);
  if (reread.size() != points.size())
    Fail("the points written out read back as " + std::to_string(reread.size()) + " points, not " +
         std::to_string(points.size()));
  for (size_t i = 0; i < points.size(); ++i)
  {
    if (reread[i].Position != points[i].Position || reread[i].Line != static_cast<int>(i) + 1)
      Fail("point " + std::to_string(i + 1) + " does not read back as written");
  }
}

void CheckVolume(const std::string& path)
{
  vtkNew<CurvedReformat::CapturingOutputWindow> errors;
  CurvedReformat::Volume volume;
  try
  {
    volume = CurvedReformat::ReadVolume(path, "", errors, {});
  }
  catch (const CurvedReformat::Failure& failure)
  {
    CheckFailure(failure);
    return;
  }
  vtkImageData* image = volume.Image;
  vtkDataArray* scalars = image ? image->GetPointData()->GetScalars() : nullptr;
  if (!scalars || image->GetNumberOfPoints() == 0 ||
      scalars->GetNumberOfTuples() != image->GetNumberOfPoints())
    Fail("a volume without a scalar value for each of its voxels");
  double determinant = vtkMath::Determinant3x3(volume.Directions);
  bool sound = std::isfinite(determinant) && std::abs(determinant) >= 1e-3;
  for (int k = 0; k < 3; ++k)
  {
    const double axis[3] = { volume.Directions[0][k], volume.Directions[1][k],
      volume.Directions[2][k] };
    sound = sound && std::isfinite(volume.Origin[k]) && std::isfinite(volume.Spacing[k]) &&
            volume.Spacing[k] > 0.0 && std::abs(vtkMath::Norm(axis) - 1.0) < 1e-6;
  }
  if (!sound)
  {
    char text[512];
    std::snprintf(text, sizeof(text),
      "a volume with origin (%g, %g, %g), spacing (%g, %g, %g), axes (%g, %g, %g) (%g, %g, %g) "
      "(%g, %g, %g)",
      volume.Origin[0], volume.Origin[1], volume.Origin[2], volume.Spacing[0], volume.Spacing[1],
      volume.Spacing[2], volume.Directions[0][0], volume.Directions[1][0], volume.Directions[2][0],
      volume.Directions[0][1], volume.Directions[1][1], volume.Directions[2][1],
      volume.Directions[0][2], volume.Directions[1][2], volume.Directions[2][2]);
    Fail(text);
  }
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  std::string raw;
  for (int i = 0; i < 8 * 8 * 8; ++i)
  {
    raw += static_cast<char>(i & 0xFF);
    raw += static_cast<char>(i >> 8);
  }
  Folder().Write("volume.raw", raw);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size == 0)
    return 0;
  static const char* const Names[5] = { "curve.csv", "volume.mha", "volume.mhd", "volume.nrrd",
    "volume.nhdr" };
  const int kind = data[0] % 5;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string path = Folder().Write(Names[kind], text);
  try
  {
    if (kind == 0)
      CheckCurve(path, text);
    else
      CheckVolume(path);
  }
  catch (const CurvedReformat::Failure& failure)
  {
    Fail("a failure while checking: " + failure.Message);
  }
  return 0;
}
