// curvedreformat: straightens a volume along a curve (curved planar reformatting).
//
//   curvedreformat --volume IN --curve CURVE.csv --output OUT [options]
//
// IN is VTK XML image data (.vti), MetaImage (.mha, .mhd) or NRRD (.nrrd, .nhdr); the curve file
// lists one point per line as x,y,z (an optional header line first) in the volume file's physical
// coordinates, which the outputs use too. Nothing is written unless every step succeeds.

#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVALabelMapVolumeNode.h>
#include <vtkKOVAMarkupsCurveNode.h>
#include <vtkKOVAModelNode.h>
#include <vtkKOVAScalarVolumeNode.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATransformNode.h>
#include <vtkVireonCLIModuleLogic.h>
#include <vtkVireonGeneralizedReformatLogic.h>

#include <vtkDataArray.h>
#include <vtkImageData.h>
#include <vtkLogger.h>
#include <vtkMath.h>
#include <vtkMatrix3x3.h>
#include <vtkMatrix4x4.h>
#include <vtkMetaImageReader.h>
#include <vtkNew.h>
#include <vtkNrrdReader.h>
#include <vtkObjectFactory.h>
#include <vtkOutputWindow.h>
#include <vtkPNGWriter.h>
#include <vtkPointData.h>
#include <vtkPolyData.h>
#include <vtkSmartPointer.h>
#include <vtkXMLImageDataReader.h>
#include <vtkXMLImageDataWriter.h>
#include <vtkXMLPolyDataWriter.h>

#include <vtksys/SystemTools.hxx>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
const char* const Usage =
  R"(Usage: curvedreformat --volume IN --curve CURVE.csv --output OUT [options]

Straightens the volume IN along the curve in CURVE.csv and writes the straightened volume to OUT.

  --volume IN            input volume: .vti, .mha, .mhd, .nrrd or .nhdr
  --curve CURVE.csv      curve points, one x,y,z per line (an optional header line first), in
                         the volume file's physical coordinates (mm)
  --output OUT           straightened volume: .vti or .mha
  --slice-size W H       cross-section width and height in mm (default 40 40)
  --spacing S            output voxel size in mm (default: the input's smallest spacing)
  --rotation DEG         rotation of the cross-sections about the curve direction (default 0)
  --stretch              flatten the curve into its best-fitting plane first
  --label-map            the input holds labels: nearest-neighbour resampling
  --projection FILE      also write the mean projection along --projection-axis: .png (8-bit,
                         windowed to its range), .vti or .mha (the values)
  --projection-axis A    0, 1 or 2 (default 1)
  --planes FILE.vtp      also write the reslicing planes as a model
  -h, --help             show this help
)";

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
  std::string FirstMessage() const
  {
    if (this->Errors.empty())
    {
      return "";
    }
    std::string message = this->Errors.front();
    const size_t start = message.find("): ");
    if (start != std::string::npos)
    {
      message = message.substr(start + 3);
    }
    message = message.substr(0, message.find('\n'));
    return message;
  }
  std::vector<std::string> Errors;
};
vtkStandardNewMacro(CapturingOutputWindow);

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

std::string Extension(const std::string& path)
{
  return vtksys::SystemTools::LowerCase(vtksys::SystemTools::GetFilenameLastExtension(path));
}

double ParseNumber(const std::string& text, const std::string& option)
{
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value))
  {
    throw Failure{ option + " expects a number, got \"" + text + "\"", 2 };
  }
  return value;
}

struct Options
{
  std::string Volume;
  std::string Curve;
  std::string Output;
  double SliceSize[2] = { 40.0, 40.0 };
  double Spacing = 0.0; // 0: the input's smallest spacing
  double Rotation = 0.0;
  bool Stretch = false;
  bool LabelMap = false;
  std::string Projection;
  int ProjectionAxis = 1;
  std::string Planes;
  bool Help = false;
};

Options ParseOptions(int argc, char* argv[])
{
  Options options;
  auto value = [&](int& i, const std::string& option) -> std::string
  {
    if (i + 1 >= argc)
    {
      throw Failure{ option + " needs a value", 2 };
    }
    return argv[++i];
  };
  for (int i = 1; i < argc; ++i)
  {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help")
    {
      options.Help = true;
    }
    else if (arg == "--volume")
    {
      options.Volume = value(i, arg);
    }
    else if (arg == "--curve")
    {
      options.Curve = value(i, arg);
    }
    else if (arg == "--output")
    {
      options.Output = value(i, arg);
    }
    else if (arg == "--slice-size")
    {
      options.SliceSize[0] = ParseNumber(value(i, arg), arg);
      options.SliceSize[1] = ParseNumber(value(i, arg), arg);
      if (options.SliceSize[0] <= 0.0 || options.SliceSize[1] <= 0.0)
      {
        throw Failure{ "--slice-size needs two positive sizes", 2 };
      }
    }
    else if (arg == "--spacing")
    {
      options.Spacing = ParseNumber(value(i, arg), arg);
      if (options.Spacing <= 0.0)
      {
        throw Failure{ "--spacing needs a positive size", 2 };
      }
    }
    else if (arg == "--rotation")
    {
      options.Rotation = ParseNumber(value(i, arg), arg);
    }
    else if (arg == "--stretch")
    {
      options.Stretch = true;
    }
    else if (arg == "--label-map")
    {
      options.LabelMap = true;
    }
    else if (arg == "--projection")
    {
      options.Projection = value(i, arg);
    }
    else if (arg == "--projection-axis")
    {
      const std::string text = value(i, arg);
      if (text != "0" && text != "1" && text != "2")
      {
        throw Failure{ "--projection-axis must be 0, 1 or 2, got \"" + text + "\"", 2 };
      }
      options.ProjectionAxis = text[0] - '0';
    }
    else if (arg == "--planes")
    {
      options.Planes = value(i, arg);
    }
    else
    {
      throw Failure{ "unknown option \"" + arg + "\" (see --help)", 2 };
    }
  }
  if (options.Help)
  {
    return options;
  }
  if (options.Volume.empty() || options.Curve.empty() || options.Output.empty())
  {
    throw Failure{ "--volume, --curve and --output are required (see --help)", 2 };
  }
  const std::string out = Extension(options.Output);
  if (out != ".vti" && out != ".mha")
  {
    throw Failure{ "--output must end in .vti or .mha", 2 };
  }
  if (!options.Projection.empty())
  {
    const std::string ext = Extension(options.Projection);
    if (ext != ".png" && ext != ".vti" && ext != ".mha")
    {
      throw Failure{ "--projection must end in .png, .vti or .mha", 2 };
    }
  }
  if (!options.Planes.empty() && Extension(options.Planes) != ".vtp")
  {
    throw Failure{ "--planes must end in .vtp", 2 };
  }
  return options;
}

//------------------------------------------------------------------------------
// Volume files

/// Voxels plus physical geometry: physical = origin + directions * (spacing * ijk).
struct Volume
{
  vtkSmartPointer<vtkImageData> Image;
  double Origin[3] = { 0, 0, 0 };
  double Spacing[3] = { 1, 1, 1 };
  double Directions[3][3] = { { 1, 0, 0 }, { 0, 1, 0 }, { 0, 0, 1 } }; // columns: voxel axes
};

/// The text header of a MetaImage or NRRD file (up to the data or an empty line).
std::vector<std::string> HeaderLines(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (lines.size() < 200 && std::getline(in, line))
  {
    if (!line.empty() && line.back() == '\r')
    {
      line.pop_back();
    }
    if (line.empty())
    {
      break; // NRRD: the data follows
    }
    lines.push_back(line);
    if (line.rfind("ElementDataFile", 0) == 0)
    {
      break;
    }
  }
  return lines;
}

std::vector<double> Numbers(const std::string& text)
{
  std::string cleaned = text;
  std::replace_if(
    cleaned.begin(), cleaned.end(), [](char c) { return c == '(' || c == ')' || c == ','; }, ' ');
  std::istringstream in(cleaned);
  std::vector<double> numbers;
  double v;
  while (in >> v)
  {
    numbers.push_back(v);
  }
  return numbers;
}

/// Rotated axes that the VTK readers do not report: MetaImage TransformMatrix (the direction of
/// each voxel axis in turn), NRRD space directions (one vector per axis, its length the spacing)
/// and space origin.
void ReadHeaderDirections(const std::string& path, const std::string& ext, Volume& volume)
{
  for (const std::string& line : HeaderLines(path))
  {
    const size_t separator = line.find(ext == ".mha" || ext == ".mhd" ? '=' : ':');
    if (separator == std::string::npos)
    {
      continue;
    }
    std::string key = Trim(line.substr(0, separator));
    const std::vector<double> values = Numbers(line.substr(separator + 1));
    if ((ext == ".mha" || ext == ".mhd") &&
        (key == "TransformMatrix" || key == "Rotation" || key == "Orientation"))
    {
      if (values.size() != 9)
      {
        throw Failure{ "cannot read volume " + path + ": " + key + " needs 9 numbers" };
      }
      for (int axis = 0; axis < 3; ++axis)
      {
        for (int r = 0; r < 3; ++r)
        {
          volume.Directions[r][axis] = values[3 * axis + r];
        }
      }
    }
    else if ((ext == ".nrrd" || ext == ".nhdr") && key == "space directions")
    {
      if (values.size() != 9)
      {
        throw Failure{ "cannot read volume " + path + ": space directions needs 3 vectors" };
      }
      for (int axis = 0; axis < 3; ++axis)
      {
        double v[3] = { values[3 * axis], values[3 * axis + 1], values[3 * axis + 2] };
        const double length = vtkMath::Normalize(v);
        if (length == 0.0)
        {
          throw Failure{ "cannot read volume " + path + ": a space direction is zero" };
        }
        volume.Spacing[axis] = length;
        for (int r = 0; r < 3; ++r)
        {
          volume.Directions[r][axis] = v[r];
        }
      }
    }
    else if ((ext == ".nrrd" || ext == ".nhdr") && key == "space origin" && values.size() == 3)
    {
      std::copy(values.begin(), values.end(), volume.Origin);
    }
  }
}

Volume ReadVolume(const std::string& path, CapturingOutputWindow* errors)
{
  if (!vtksys::SystemTools::FileExists(path, true))
  {
    throw Failure{ "cannot read volume " + path + ": no such file" };
  }
  const std::string ext = Extension(path);
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
    throw Failure{ "cannot read volume " + path +
                   ": unknown format (use .vti, .mha, .mhd, .nrrd or .nhdr)" };
  }
  errors->Errors.clear();
  reader->Update();
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
  if (ext != ".vti")
  {
    ReadHeaderDirections(path, ext, volume);
  }
  return volume;
}

void SetNodeGeometry(vtkKOVAVolumeNode* node, const Volume& volume)
{
  vtkNew<vtkMatrix4x4> ijkToRAS;
  for (int r = 0; r < 3; ++r)
  {
    for (int c = 0; c < 3; ++c)
    {
      ijkToRAS->SetElement(r, c, volume.Directions[r][c] * volume.Spacing[c]);
    }
    ijkToRAS->SetElement(r, 3, volume.Origin[r]);
  }
  node->SetIJKToRASMatrix(ijkToRAS);
}

Volume NodeVolume(vtkKOVAVolumeNode* node)
{
  Volume volume;
  volume.Image = node->GetImageData();
  node->GetOrigin(volume.Origin);
  node->GetSpacing(volume.Spacing);
  node->GetIJKToRASDirections(volume.Directions);
  return volume;
}

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
void WriteMetaImage(const Volume& volume, const std::string& path)
{
  vtkImageData* image = volume.Image;
  const char* type = MetaElementType(image->GetScalarType());
  if (!type)
  {
    throw Failure{ "cannot write " + path + ": unsupported voxel type" };
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
  std::ofstream out(path, std::ios::binary);
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
  if (!out)
  {
    throw Failure{ "cannot write " + path };
  }
}

void WriteVTI(const Volume& volume, const std::string& path)
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
  writer->SetFileName(path.c_str());
  if (!writer->Write())
  {
    throw Failure{ "cannot write " + path };
  }
}

void WriteVolume(const Volume& volume, const std::string& path, const std::string& ext)
{
  if (ext == ".mha")
  {
    WriteMetaImage(volume, path);
  }
  else
  {
    WriteVTI(volume, path);
  }
}

/// The single-slice projection as an 8-bit picture, windowed to its value range. Its rows run
/// along the higher of the two remaining axes.
void WritePNG(vtkImageData* projection, int axis, const std::string& path)
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
  writer->SetFileName(path.c_str());
  writer->Write();
  if (writer->GetErrorCode() != 0 || !vtksys::SystemTools::FileExists(path, true))
  {
    throw Failure{ "cannot write " + path };
  }
}

//------------------------------------------------------------------------------
// Curve file

std::vector<std::array<double, 3>> ReadCurve(const std::string& path)
{
  std::ifstream in(path);
  if (!in)
  {
    throw Failure{ "cannot read curve " + path };
  }
  std::vector<std::array<double, 3>> points;
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
    points.push_back(p);
  }
  return points;
}

//------------------------------------------------------------------------------
// Output files are written beside their final names and moved there only when all are written.

class PendingOutputs
{
public:
  ~PendingOutputs()
  {
    for (const auto& output : this->Outputs)
    {
      std::remove(output.first.c_str());
    }
  }
  /// A temporary name for \a finalPath in the same folder (keeps the extension).
  std::string Add(const std::string& finalPath)
  {
    const std::string ext = vtksys::SystemTools::GetFilenameLastExtension(finalPath);
    const std::string stem = finalPath.substr(0, finalPath.size() - ext.size());
    const std::string temporary = stem + ".partial-" + std::to_string(this->Outputs.size()) + ext;
    this->Outputs.emplace_back(temporary, finalPath);
    return temporary;
  }
  void Commit()
  {
    for (size_t i = 0; i < this->Outputs.size(); ++i)
    {
      if (std::rename(this->Outputs[i].first.c_str(), this->Outputs[i].second.c_str()) != 0)
      {
        // Undo what was moved already, so no partial set of outputs remains.
        for (size_t j = 0; j < i; ++j)
        {
          std::remove(this->Outputs[j].second.c_str());
        }
        throw Failure{ "cannot write " + this->Outputs[i].second + ": " + std::strerror(errno) };
      }
    }
    this->Outputs.clear();
  }

private:
  std::vector<std::pair<std::string, std::string>> Outputs;
};

//------------------------------------------------------------------------------
int Run(const Options& options, CapturingOutputWindow* errors)
{
  const Volume input = ReadVolume(options.Volume, errors);
  const std::vector<std::array<double, 3>> curvePoints = ReadCurve(options.Curve);
  if (curvePoints.size() < 2)
  {
    throw Failure{ "curve " + options.Curve + " has " + std::to_string(curvePoints.size()) +
                   " point(s); at least 2 are needed" };
  }

  // The host's pieces: scene, application logic, the resampling module and the reformat logic.
  vtkNew<vtkKOVAScene> scene;
  vtkNew<vtkKOVAApplicationLogic> applicationLogic;
  applicationLogic->SetKOVAScene(scene);
  vtkNew<vtkVireonCLIModuleLogic> resampleLogic;
  resampleLogic->SetModuleName("ResampleScalarVectorDWIVolume");
  resampleLogic->SetKOVAApplicationLogic(applicationLogic);
  resampleLogic->SetKOVAScene(scene);
  applicationLogic->SetModuleLogic("ResampleScalarVectorDWIVolume", resampleLogic);
  vtkNew<vtkVireonGeneralizedReformatLogic> logic;
  logic->SetKOVAApplicationLogic(applicationLogic);
  logic->SetKOVAScene(scene);
  logic->GetVolumeResampler("ResampleScalarVectorDWIVolume")
    ->SetKOVAApplicationLogic(applicationLogic);
  struct Cleanup
  {
    vtkKOVAApplicationLogic* Logic;
    ~Cleanup() { this->Logic->SetModuleLogic("ResampleScalarVectorDWIVolume", nullptr); }
  } cleanup{ applicationLogic };

  auto* inputNode = vtkKOVAScalarVolumeNode::SafeDownCast(scene->AddNewNodeByClass(
    options.LabelMap ? "vtkKOVALabelMapVolumeNode" : "vtkKOVAScalarVolumeNode", "Input"));
  inputNode->SetAndObserveImageData(input.Image);
  SetNodeGeometry(inputNode, input);

  double bounds[6];
  inputNode->GetRASBounds(bounds);
  const double margin = 0.5 * std::max({ input.Spacing[0], input.Spacing[1], input.Spacing[2] });
  const bool anyInside = std::any_of(curvePoints.begin(),
    curvePoints.end(),
    [&](const std::array<double, 3>& p)
    {
      for (int k = 0; k < 3; ++k)
      {
        if (p[k] < bounds[2 * k] - margin || p[k] > bounds[2 * k + 1] + margin)
        {
          return false;
        }
      }
      return true;
    });
  if (!anyInside)
  {
    throw Failure{ "the curve in " + options.Curve + " lies outside the volume" };
  }

  auto* curve = vtkKOVAMarkupsCurveNode::SafeDownCast(
    scene->AddNewNodeByClass("vtkKOVAMarkupsCurveNode", "Curve"));
  for (const auto& p : curvePoints)
  {
    curve->AddControlPoint(vtkVector3d(p[0], p[1], p[2]));
  }

  const double spacing = options.Spacing > 0.0
                           ? options.Spacing
                           : std::min({ input.Spacing[0], input.Spacing[1], input.Spacing[2] });
  auto* transform = vtkKOVATransformNode::SafeDownCast(
    scene->AddNewNodeByClass("vtkKOVATransformNode", "Straightening"));
  vtkKOVAModelNode* planes = nullptr;
  if (!options.Planes.empty())
  {
    planes = vtkKOVAModelNode::SafeDownCast(scene->AddNewNodeByClass("vtkKOVAModelNode", "Planes"));
  }
  auto logicFailure = [&](const std::string& what)
  {
    const std::string reason = errors->FirstMessage();
    return Failure{ what + (reason.empty() ? "" : ": " + reason) };
  };
  errors->Errors.clear();
  if (!logic->ComputeStraighteningTransform(
        transform, curve, options.SliceSize, spacing, options.Stretch, options.Rotation, planes))
  {
    throw logicFailure("cannot compute the straightening transform");
  }
  auto* straightened = vtkKOVAScalarVolumeNode::SafeDownCast(
    scene->AddNewNodeByClass("vtkKOVAScalarVolumeNode", "Straightened"));
  const double outputSpacing[3] = { spacing, spacing, spacing };
  if (!logic->StraightenVolume(straightened, inputNode, outputSpacing, transform))
  {
    throw logicFailure("cannot straighten the volume");
  }
  if (straightened->GetImageData()->GetNumberOfPoints() == 0)
  {
    throw Failure{ "the straightened volume is empty (slice size smaller than the spacing?)" };
  }

  PendingOutputs outputs;
  WriteVolume(NodeVolume(straightened), outputs.Add(options.Output), Extension(options.Output));
  if (!options.Projection.empty())
  {
    auto* projected = vtkKOVAScalarVolumeNode::SafeDownCast(
      scene->AddNewNodeByClass("vtkKOVAScalarVolumeNode", "Projection"));
    if (!logic->ProjectVolume(projected, straightened, options.ProjectionAxis))
    {
      throw logicFailure("cannot project the straightened volume");
    }
    const std::string ext = Extension(options.Projection);
    const std::string path = outputs.Add(options.Projection);
    if (ext == ".png")
    {
      WritePNG(projected->GetImageData(), options.ProjectionAxis, path);
    }
    else
    {
      WriteVolume(NodeVolume(projected), path, ext);
    }
  }
  if (planes)
  {
    vtkNew<vtkXMLPolyDataWriter> writer;
    writer->SetInputData(planes->GetPolyData());
    const std::string path = outputs.Add(options.Planes);
    writer->SetFileName(path.c_str());
    if (!writer->Write())
    {
      throw Failure{ "cannot write " + options.Planes };
    }
  }
  outputs.Commit();

  int dims[3];
  straightened->GetImageData()->GetDimensions(dims);
  std::cout << "curvedreformat: straightened " << options.Volume << " along "
            << curve->GetCurveLengthWorld() << " mm of curve into " << options.Output << " ("
            << dims[0] << " x " << dims[1] << " x " << dims[2] << " voxels of " << spacing
            << " mm)\n";
  return 0;
}
}

int main(int argc, char* argv[])
{
  // VTK's messages are collected and reported as one line; its logger stays quiet.
  vtkLogger::SetStderrVerbosity(vtkLogger::VERBOSITY_OFF);
  vtkNew<CapturingOutputWindow> errors;
  vtkOutputWindow::SetInstance(errors);
  try
  {
    const Options options = ParseOptions(argc, argv);
    if (options.Help)
    {
      std::cout << Usage;
      return 0;
    }
    return Run(options, errors);
  }
  catch (const Failure& failure)
  {
    std::cerr << "curvedreformat: " << failure.Message << "\n";
    return failure.ExitCode;
  }
  catch (const std::exception& e)
  {
    std::cerr << "curvedreformat: " << e.what() << "\n";
    return 1;
  }
}
