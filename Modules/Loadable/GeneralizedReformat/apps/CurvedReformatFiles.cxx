#include "CurvedReformatFiles.h"

#include "CurvedReformatDicom.h"
#include "CurvedReformatHeaders.h"

#include <vtkDataArray.h>
#include <vtkImageData.h>
#include <vtkMath.h>
#include <vtkMatrix3x3.h>
#include <vtkMetaImageReader.h>
#include <vtkNew.h>
#include <vtkNrrdReader.h>
#include <vtkObjectFactory.h>
#include <vtkPNGWriter.h>
#include <vtkPointData.h>
#include <vtkPolyData.h>
#include <vtkXMLImageDataReader.h>
#include <vtkXMLImageDataWriter.h>
#include <vtkXMLPolyDataWriter.h>

#include <vtksys/SystemTools.hxx>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

namespace CurvedReformat
{
std::string Extension(const std::string& path)
{
  return vtksys::SystemTools::LowerCase(vtksys::SystemTools::GetFilenameLastExtension(path));
}

std::string FileProblem(const std::string& path)
{
  if (vtksys::SystemTools::FileIsDirectory(path))
  {
    return "is a folder";
  }
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file)
  {
    return std::strerror(errno);
  }
  std::fclose(file);
  return "";
}

std::string Trim(const std::string& text)
{
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos)
  {
    return "";
  }
  const size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

namespace
{

/// Refuses geometry the reformat cannot place: numbers that are not finite, spacing that is not
/// positive, voxel axes that are not unit vectors (within 0.1 %; those within are made exact) or
/// that do not span space (nearly in one plane).
void CheckGeometry(const std::string& path, Volume& volume)
{
  const auto refuse = [&](const std::string& why)
  { return Failure{ "cannot read volume " + path + ": " + why }; };
  const std::vector<double> numbers = { volume.Origin[0], volume.Origin[1], volume.Origin[2],
    volume.Spacing[0], volume.Spacing[1], volume.Spacing[2], volume.Directions[0][0],
    volume.Directions[0][1], volume.Directions[0][2], volume.Directions[1][0],
    volume.Directions[1][1], volume.Directions[1][2], volume.Directions[2][0],
    volume.Directions[2][1], volume.Directions[2][2] };
  if (!std::all_of(numbers.begin(), numbers.end(), [](double v) { return std::isfinite(v); }))
  {
    throw refuse("its origin, spacing or axes hold a number that is not finite");
  }
  if (!(volume.Spacing[0] > 0.0 && volume.Spacing[1] > 0.0 && volume.Spacing[2] > 0.0))
  {
    std::ostringstream text;
    text << "voxel spacing " << volume.Spacing[0] << " " << volume.Spacing[1] << " "
         << volume.Spacing[2] << " is not positive";
    throw refuse(text.str());
  }
  for (int axis = 0; axis < 3; ++axis)
  {
    double v[3] = { volume.Directions[0][axis], volume.Directions[1][axis],
      volume.Directions[2][axis] };
    const double length = vtkMath::Normalize(v);
    if (!(std::abs(length - 1.0) <= 1e-3))
    {
      throw refuse("voxel axis " + std::to_string(axis + 1) + " is not a unit vector");
    }
    for (int r = 0; r < 3; ++r)
    {
      volume.Directions[r][axis] = v[r];
    }
  }
  if (!(std::abs(vtkMath::Determinant3x3(volume.Directions)) >= 1e-3))
  {
    throw refuse("its voxel axes do not span space");
  }
}

Volume ReadFileVolume(const std::string& path,
  const std::string& seriesUID,
  CapturingOutputWindow* errors,
  const ProgressFunction& progress)
{
  if (vtksys::SystemTools::FileIsDirectory(path))
  {
    return ReadDicomVolume(path, seriesUID, progress);
  }
  const std::string problem = FileProblem(path);
  if (!problem.empty())
  {
    throw Failure{ "cannot read volume " + path + ": " + problem };
  }
  if (IsDicomFile(path))
  {
    return ReadDicomVolume(path, seriesUID, progress);
  }
  if (!seriesUID.empty())
  {
    throw Failure{ "--series-uid needs a DICOM volume", 2 };
  }
  const std::string ext = Extension(path);
  const bool headerFile = ext == ".mha" || ext == ".mhd" || ext == ".nrrd" || ext == ".nhdr";
  std::optional<ImageHeader> header;
  if (headerFile)
  {
    header = ImageHeader::Read(path, ext);
  }
  vtkSmartPointer<vtkAlgorithm> reader;
  if (ext == ".vti")
  {
    auto xml = vtkSmartPointer<vtkXMLImageDataReader>::New();
    xml->SetFileName(path.c_str());
    reader = xml;
  }
  else if (ext == ".mha" || ext == ".mhd")
  {
    auto meta = vtkSmartPointer<vtkMetaImageReader>::New();
    if (!meta->CanReadFile(path.c_str()))
    {
      throw Failure{ "cannot read volume " + path + ": not a MetaImage file" };
    }
    meta->SetFileName(path.c_str());
    reader = meta;
  }
  else if (ext == ".nrrd" || ext == ".nhdr")
  {
    auto nrrd = vtkSmartPointer<vtkNrrdReader>::New();
    if (!nrrd->CanReadFile(path.c_str()))
    {
      throw Failure{ "cannot read volume " + path + ": not a NRRD file" };
    }
    nrrd->SetFileName(path.c_str());
    reader = nrrd;
  }
  else
  {
    throw Failure{
      "cannot read volume " + path +
      ": unknown format (use a DICOM folder or file, .vti, .mha, .mhd, .nrrd or .nhdr)"
    };
  }
  errors->Errors.clear();
  {
    // VTK's MetaIO prints its complaints on standard error; what matters reaches VTK's errors or
    // was checked in the header.
    std::ostringstream ignored;
    std::streambuf* standardError = std::cerr.rdbuf(ignored.rdbuf());
    reader->Update();
    std::cerr.rdbuf(standardError);
  }
  vtkImageData* image = vtkImageData::SafeDownCast(reader->GetOutputDataObject(0));
  if (!errors->Errors.empty() || !image || image->GetNumberOfPoints() == 0 ||
      !image->GetPointData()->GetScalars())
  {
    const std::string reason = errors->FirstMessage();
    throw Failure{ "cannot read volume " + path +
                   (reason.empty() ? ": no voxels" : ": " + reason) };
  }
  Volume volume;
  volume.Image = vtkSmartPointer<vtkImageData>::New();
  volume.Image->ShallowCopy(image);
  image->GetOrigin(volume.Origin);
  image->GetSpacing(volume.Spacing);
  if (vtkMatrix3x3* direction = image->GetDirectionMatrix())
  {
    for (int r = 0; r < 3; ++r)
    {
      for (int c = 0; c < 3; ++c)
      {
        volume.Directions[r][c] = direction->GetElement(r, c);
      }
    }
  }
  if (header)
  {
    header->MatchVoxelGrid(volume);
    header->ApplyGeometry(volume);
  }
  return volume;
}
}

//------------------------------------------------------------------------------
Volume ReadVolume(const std::string& path,
  const std::string& seriesUID,
  CapturingOutputWindow* errors,
  const ProgressFunction& progress)
{
  Volume volume = ReadFileVolume(path, seriesUID, errors, progress);
  CheckGeometry(path, volume);
  return volume;
}

//------------------------------------------------------------------------------
namespace
{
const char* MetaElementType(int vtkType)
{
  switch (vtkType)
  {
    case VTK_CHAR:
    case VTK_SIGNED_CHAR:
      return "MET_CHAR";
    case VTK_UNSIGNED_CHAR:
      return "MET_UCHAR";
    case VTK_SHORT:
      return "MET_SHORT";
    case VTK_UNSIGNED_SHORT:
      return "MET_USHORT";
    case VTK_INT:
      return "MET_INT";
    case VTK_UNSIGNED_INT:
      return "MET_UINT";
    case VTK_LONG_LONG:
      return "MET_LONG_LONG";
    case VTK_UNSIGNED_LONG_LONG:
      return "MET_ULONG_LONG";
    case VTK_FLOAT:
      return "MET_FLOAT";
    case VTK_DOUBLE:
      return "MET_DOUBLE";
    default:
      return nullptr;
  }
}

/// Writes a MetaImage file with its data inline; TransformMatrix gives the direction of each
/// voxel axis in turn.
void WriteMetaImage(const Volume& volume, const OutputFile& output)
{
  vtkImageData* image = volume.Image;
  const char* type = MetaElementType(image->GetScalarType());
  if (!type)
  {
    throw Failure{ "cannot write " + output.Target + ": unsupported voxel type" };
  }
  int dims[3];
  image->GetDimensions(dims);
  int extent[6];
  image->GetExtent(extent);
  // The file's first voxel is the extent's first voxel.
  double offset[3];
  for (int r = 0; r < 3; ++r)
  {
    offset[r] = volume.Origin[r];
    for (int c = 0; c < 3; ++c)
    {
      offset[r] += volume.Directions[r][c] * volume.Spacing[c] * extent[2 * c];
    }
  }
  std::ofstream out(output.Path, std::ios::binary);
  out.precision(17);
  out << "ObjectType = Image\nNDims = 3\nBinaryData = True\nBinaryDataByteOrderMSB = False\n"
      << "CompressedData = False\n";
  out << "TransformMatrix =";
  for (int c = 0; c < 3; ++c)
  {
    for (int r = 0; r < 3; ++r)
    {
      out << " " << volume.Directions[r][c];
    }
  }
  out << "\nOffset = " << offset[0] << " " << offset[1] << " " << offset[2] << "\n";
  out << "CenterOfRotation = 0 0 0\n";
  out << "ElementSpacing = " << volume.Spacing[0] << " " << volume.Spacing[1] << " "
      << volume.Spacing[2] << "\n";
  out << "DimSize = " << dims[0] << " " << dims[1] << " " << dims[2] << "\n";
  if (image->GetNumberOfScalarComponents() > 1)
  {
    out << "ElementNumberOfChannels = " << image->GetNumberOfScalarComponents() << "\n";
  }
  out << "ElementType = " << type << "\nElementDataFile = LOCAL\n";
  vtkDataArray* scalars = image->GetPointData()->GetScalars();
  out.write(static_cast<const char*>(scalars->GetVoidPointer(0)),
    static_cast<std::streamsize>(scalars->GetDataSize() * scalars->GetDataTypeSize()));
  out.close();
  if (!out)
  {
    throw Failure{ "cannot write " + output.Target };
  }
}

void WriteVTI(const Volume& volume, const OutputFile& output)
{
  vtkNew<vtkImageData> image;
  image->ShallowCopy(volume.Image);
  image->SetOrigin(volume.Origin);
  image->SetSpacing(volume.Spacing);
  image->SetDirectionMatrix(volume.Directions[0][0],
    volume.Directions[0][1],
    volume.Directions[0][2],
    volume.Directions[1][0],
    volume.Directions[1][1],
    volume.Directions[1][2],
    volume.Directions[2][0],
    volume.Directions[2][1],
    volume.Directions[2][2]);
  vtkNew<vtkXMLImageDataWriter> writer;
  writer->SetInputData(image);
  writer->SetFileName(output.Path.c_str());
  if (!writer->Write())
  {
    throw Failure{ "cannot write " + output.Target };
  }
}

}

void WriteVolume(const Volume& volume, const OutputFile& output)
{
  if (Extension(output.Target) == ".mha")
  {
    WriteMetaImage(volume, output);
  }
  else
  {
    WriteVTI(volume, output);
  }
}

//------------------------------------------------------------------------------
void WriteProjectionPNG(vtkImageData* projection, int axis, const OutputFile& output)
{
  int dims[3];
  projection->GetDimensions(dims);
  const int a = axis == 0 ? 1 : 0;
  const int b = axis == 2 ? 1 : 2;
  vtkDataArray* scalars = projection->GetPointData()->GetScalars();
  double range[2];
  scalars->GetRange(range, 0);
  const double scale = range[1] > range[0] ? 255.0 / (range[1] - range[0]) : 0.0;
  vtkNew<vtkImageData> picture;
  picture->SetDimensions(dims[a], dims[b], 1);
  picture->AllocateScalars(VTK_UNSIGNED_CHAR, 1);
  auto* pixels = static_cast<unsigned char*>(picture->GetScalarPointer());
  for (int v = 0; v < dims[b]; ++v)
  {
    for (int u = 0; u < dims[a]; ++u)
    {
      int ijk[3] = { 0, 0, 0 };
      ijk[a] = u;
      ijk[b] = v;
      const double value = scalars->GetComponent(projection->ComputePointId(ijk), 0);
      pixels[u + dims[a] * v] =
        static_cast<unsigned char>(std::lround(std::clamp((value - range[0]) * scale, 0.0, 255.0)));
    }
  }
  vtkNew<vtkPNGWriter> writer;
  writer->SetInputData(picture);
  writer->SetFileName(output.Path.c_str());
  writer->Write();
  if (writer->GetErrorCode() != 0 || !vtksys::SystemTools::FileExists(output.Path, true))
  {
    throw Failure{ "cannot write " + output.Target };
  }
}

void WritePolyData(vtkPolyData* polyData, const OutputFile& output)
{
  vtkNew<vtkXMLPolyDataWriter> writer;
  writer->SetInputData(polyData);
  writer->SetFileName(output.Path.c_str());
  if (!writer->Write())
  {
    throw Failure{ "cannot write " + output.Target };
  }
}

//------------------------------------------------------------------------------
std::vector<CurvePoint> ReadCurve(const std::string& path)
{
  const std::string problem = FileProblem(path);
  if (!problem.empty())
  {
    throw Failure{ "cannot read curve " + path + ": " + problem };
  }
  std::ifstream in(path);
  if (!in)
  {
    throw Failure{ "cannot read curve " + path };
  }
  std::vector<CurvePoint> points;
  std::string line;
  int number = 0;
  while (std::getline(in, line))
  {
    ++number;
    line = Trim(line);
    if (line.empty() || line[0] == '#')
    {
      continue;
    }
    std::vector<std::string> fields;
    std::stringstream fieldStream(line);
    std::string field;
    while (std::getline(fieldStream, field, ','))
    {
      fields.push_back(Trim(field));
    }
    std::array<double, 3> p{};
    bool ok = fields.size() == 3;
    for (size_t k = 0; ok && k < 3; ++k)
    {
      char* end = nullptr;
      p[k] = std::strtod(fields[k].c_str(), &end);
      ok = !fields[k].empty() && *end == '\0' && std::isfinite(p[k]);
    }
    if (!ok)
    {
      if (points.empty() && number == 1)
      {
        continue; // header line
      }
      throw Failure{ "curve " + path + ", line " + std::to_string(number) + ": expected x,y,z" };
    }
    points.push_back({ p, number });
  }
  return points;
}

}
