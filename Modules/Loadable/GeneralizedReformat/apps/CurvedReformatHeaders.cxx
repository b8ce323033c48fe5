#include "CurvedReformatHeaders.h"

#include <vtkDataArray.h>
#include <vtkImageData.h>
#include <vtkMath.h>
#include <vtkPointData.h>
#include <vtkSmartPointer.h>

#include <vtksys/SystemTools.hxx>

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

namespace CurvedReformat
{
namespace
{
const size_t MaximumHeaderBytes = 64 * 1024;

/// A whole decimal number, the entire (trimmed) text.
bool Integer(const std::string& text, long long& value)
{
  const std::string trimmed = Trim(text);
  const auto result =
    std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
  return !trimmed.empty() && result.ec == std::errc() &&
         result.ptr == trimmed.data() + trimmed.size();
}

/// Positive whole numbers separated by blanks; empty when anything else is there.
std::vector<long long> Sizes(const std::string& text)
{
  std::istringstream in(text);
  std::vector<long long> sizes;
  std::string word;
  while (in >> word)
  {
    long long size = 0;
    if (!Integer(word, size) || size <= 0)
    {
      return {};
    }
    sizes.push_back(size);
  }
  return sizes;
}

/// The numbers of a text, read up to the first word that is not one; brackets, commas and NRRD's
/// "none" (an axis without a direction) are skipped.
std::vector<double> Numbers(const std::string& text)
{
  std::string cleaned = text;
  std::replace_if(
    cleaned.begin(), cleaned.end(), [](char c) { return c == '(' || c == ')' || c == ','; }, ' ');
  std::istringstream in(cleaned);
  std::vector<double> numbers;
  std::string word;
  while (in >> word)
  {
    if (word == "none")
    {
      continue;
    }
    std::istringstream number(word);
    double v;
    if (!(number >> v) || !number.eof())
    {
      break;
    }
    numbers.push_back(v);
  }
  return numbers;
}

/// Bytes of a MetaImage element type as VTK's MetaIO reads it (0: not a voxel type).
size_t MetaTypeSize(std::string type)
{
  const std::string array = "_ARRAY";
  if (type.size() > array.size() && type.compare(type.size() - array.size(), array.size(), array) == 0)
  {
    type.erase(type.size() - array.size());
  }
  static const std::pair<const char*, size_t> Types[] = { { "MET_CHAR", 1 }, { "MET_UCHAR", 1 },
    { "MET_SHORT", 2 }, { "MET_USHORT", 2 }, { "MET_INT", 4 }, { "MET_UINT", 4 },
    { "MET_LONG", 4 }, { "MET_ULONG", 4 }, { "MET_LONG_LONG", 8 }, { "MET_ULONG_LONG", 8 },
    { "MET_FLOAT", 4 }, { "MET_DOUBLE", 8 } };
  for (const auto& [name, size] : Types)
  {
    if (type == name)
    {
      return size;
    }
  }
  return 0;
}

/// Bytes of a NRRD type (0: not a voxel type).
size_t NrrdTypeSize(const std::string& type)
{
  static const std::pair<const char*, size_t> Types[] = { { "signed char", 1 }, { "int8", 1 },
    { "int8_t", 1 }, { "uchar", 1 }, { "unsigned char", 1 }, { "uint8", 1 }, { "uint8_t", 1 },
    { "short", 2 }, { "short int", 2 }, { "signed short", 2 }, { "signed short int", 2 },
    { "int16", 2 }, { "int16_t", 2 }, { "ushort", 2 }, { "unsigned short", 2 },
    { "unsigned short int", 2 }, { "uint16", 2 }, { "uint16_t", 2 }, { "int", 4 },
    { "signed int", 4 }, { "int32", 4 }, { "int32_t", 4 }, { "uint", 4 }, { "unsigned int", 4 },
    { "uint32", 4 }, { "uint32_t", 4 }, { "longlong", 8 }, { "long long", 8 },
    { "long long int", 8 }, { "signed long long", 8 }, { "signed long long int", 8 },
    { "int64", 8 }, { "int64_t", 8 }, { "ulonglong", 8 }, { "unsigned long long", 8 },
    { "unsigned long long int", 8 }, { "uint64", 8 }, { "uint64_t", 8 }, { "float", 4 },
    { "double", 8 } };
  for (const auto& [name, size] : Types)
  {
    if (type == name)
    {
      return size;
    }
  }
  return 0;
}

enum class Encoding
{
  Raw,
  Text,
  Zlib // zlib or gzip
};

/// How much of the voxel data \a file holds from \a offset: bytes (raw), whitespace-separated
/// values (text) or inflated bytes (zlib, from at most \a inputLimit bytes when that is not
/// negative), counted up to \a needed. -1 when the data cannot be read (a broken compressed
/// stream).
double Available(const std::string& file,
  std::uintmax_t offset,
  Encoding encoding,
  double needed,
  double inputLimit = -1.0)
{
  std::ifstream in(file, std::ios::binary);
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (!in || size < 0 || static_cast<std::uintmax_t>(size) < offset)
  {
    return 0.0;
  }
  if (encoding == Encoding::Raw)
  {
    return static_cast<double>(static_cast<std::uintmax_t>(size) - offset);
  }
  in.seekg(static_cast<std::streamoff>(offset));
  double count = 0.0;
  if (encoding == Encoding::Text)
  {
    std::string word;
    while (count < needed && in >> word)
    {
      ++count;
    }
    return count;
  }
  z_stream stream{};
  if (inflateInit2(&stream, 15 + 32) != Z_OK) // 32: zlib or gzip, by the stream's header
  {
    return -1.0;
  }
  std::vector<char> input(64 * 1024);
  std::vector<unsigned char> output(64 * 1024);
  double unread = inputLimit < 0.0 ? static_cast<double>(size) : inputLimit;
  int status = Z_OK;
  while (count < needed && status == Z_OK)
  {
    if (stream.avail_in == 0)
    {
      const double chunk = std::min(unread, static_cast<double>(input.size()));
      unread -= chunk;
      in.read(input.data(), static_cast<std::streamsize>(chunk));
      stream.next_in = reinterpret_cast<unsigned char*>(input.data());
      stream.avail_in = static_cast<uInt>(in.gcount());
      if (stream.avail_in == 0)
      {
        break; // the stream ends early
      }
    }
    stream.next_out = output.data();
    stream.avail_out = static_cast<uInt>(output.size());
    status = inflate(&stream, Z_NO_FLUSH);
    count += static_cast<double>(output.size() - stream.avail_out);
  }
  inflateEnd(&stream);
  return status == Z_OK || status == Z_STREAM_END ? count : -1.0;
}

/// The data file named in a header, relative to the header's folder.
std::string DataFilePath(const std::string& header, const std::string& name)
{
  if (vtksys::SystemTools::FileIsFullPath(name))
  {
    return name;
  }
  const std::string folder = vtksys::SystemTools::GetFilenamePath(header);
  return folder.empty() ? name : folder + "/" + name;
}

bool True(const std::string& value)
{
  const std::string lower = vtksys::SystemTools::LowerCase(value);
  return lower == "true" || lower == "t" || lower == "1";
}
}

//------------------------------------------------------------------------------
ImageHeader ImageHeader::Read(const std::string& path, const std::string& ext)
{
  ImageHeader header;
  header.Path = path;
  header.Nrrd = ext == ".nrrd" || ext == ".nhdr";
  std::ifstream in(path, std::ios::binary);
  std::string text(MaximumHeaderBytes + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(in.gcount()));
  const bool whole = text.size() <= MaximumHeaderBytes;

  size_t start = 0;
  int number = 0;
  while (start < text.size())
  {
    const size_t end = text.find('\n', start);
    if (end == std::string::npos && !whole)
    {
      break; // a line cut by the limit
    }
    const size_t next = end == std::string::npos ? text.size() : end + 1;
    header.LinesEnded = header.LinesEnded && end != std::string::npos;
    std::string line = text.substr(start, next - start);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
    {
      line.pop_back();
    }
    start = next;
    ++number;
    if (line.find('\0') != std::string::npos)
    {
      header.Refuse("line " + std::to_string(number) + " of its header holds a NUL byte");
    }
    if (header.Nrrd)
    {
      if (number == 1)
      {
        if (line.size() != 8 || line.compare(0, 7, "NRRD000") != 0 || line[7] < '1' ||
            line[7] > '5')
        {
          header.Refuse("not a NRRD file (no NRRD0001 to NRRD0005 on its first line)");
        }
        continue;
      }
      if (line.empty())
      {
        header.EndMarked = true;
        header.DataOffset = next;
        break;
      }
      if (line[0] == '#' || line.find(":=") != std::string::npos)
      {
        continue; // a comment, or a key/value pair
      }
      const size_t colon = line.find(": ");
      if (colon == std::string::npos)
      {
        header.Refuse("line " + std::to_string(number) + " of its header is not a field");
      }
      header.Fields.emplace_back(line.substr(0, colon), Trim(line.substr(colon + 2)));
      if ((header.Fields.back().first == "data file" || header.Fields.back().first == "datafile") &&
          header.Fields.back().second.rfind("LIST", 0) == 0)
      {
        header.Refuse("data file must name one file"); // the lines that follow name the files
      }
    }
    else
    {
      const size_t equals = line.find('=');
      if (equals == std::string::npos)
      {
        continue;
      }
      const std::string key = Trim(line.substr(0, equals));
      header.Fields.emplace_back(key, Trim(line.substr(equals + 1)));
      if (key == "ElementDataFile")
      {
        header.EndMarked = true;
        header.DataOffset = next;
        break;
      }
    }
  }
  if (!header.EndMarked && !whole)
  {
    header.Refuse("its header does not end within its first 64 KiB");
  }
  if (header.Nrrd)
  {
    header.CheckNrrd();
  }
  else
  {
    header.CheckMetaImage();
  }
  return header;
}

void ImageHeader::Refuse(const std::string& why) const
{
  throw Failure{ "cannot read volume " + this->Path + ": " + why };
}

const std::string* ImageHeader::Field(const std::string& key) const
{
  const std::string* found = nullptr;
  for (const auto& field : this->Fields)
  {
    if (field.first == key)
    {
      if (found)
      {
        this->Refuse("its header gives " + key + " twice");
      }
      found = &field.second;
    }
  }
  return found;
}

void ImageHeader::CheckMetaImage()
{
  if (!this->EndMarked)
  {
    this->Refuse("its header has no ElementDataFile");
  }
  long long dimensions = 0;
  const std::string* nDims = this->Field("NDims");
  if (!nDims || !Integer(*nDims, dimensions) || dimensions < 1 || dimensions > 3)
  {
    this->Refuse("NDims must be 1, 2 or 3");
  }
  const std::string* dimSize = this->Field("DimSize");
  const std::vector<long long> sizes = dimSize ? Sizes(*dimSize) : std::vector<long long>();
  if (static_cast<long long>(sizes.size()) != dimensions)
  {
    this->Refuse("DimSize must give " + std::to_string(dimensions) + " positive sizes");
  }
  const std::string* type = this->Field("ElementType");
  const size_t typeSize = type ? MetaTypeSize(*type) : 0;
  if (typeSize == 0)
  {
    this->Refuse("ElementType " + (type ? *type : std::string("missing")) + " is not a voxel type");
  }
  long long channels = 1;
  const std::string* channelField = this->Field("ElementNumberOfChannels");
  if (channelField && (!Integer(*channelField, channels) || channels < 1))
  {
    this->Refuse("ElementNumberOfChannels must be a positive number");
  }
  long long headerSize = 0;
  const std::string* headerSizeField = this->Field("HeaderSize");
  if (headerSizeField && (!Integer(*headerSizeField, headerSize) || headerSize < -1))
  {
    this->Refuse("HeaderSize must be -1 or more");
  }
  const std::string* binaryField = this->Field("BinaryData");
  const std::string* compressedField = this->Field("CompressedData");
  const bool binary = !binaryField || True(*binaryField);
  const bool compressed = compressedField && True(*compressedField);
  long long compressedSize = -1;
  const std::string* compressedSizeField = this->Field("CompressedDataSize");
  if (compressedSizeField && (!Integer(*compressedSizeField, compressedSize) || compressedSize < 1))
  {
    this->Refuse("CompressedDataSize must be a positive number");
  }

  const std::string& dataFile = *this->Field("ElementDataFile");
  // MetaIO's spellings of "in this file"; any other is a file name.
  const bool local = dataFile == "LOCAL" || dataFile == "Local" || dataFile == "local";
  if (dataFile.empty() || dataFile == "LIST" || dataFile.find('%') != std::string::npos)
  {
    this->Refuse("ElementDataFile must be LOCAL or one file");
  }
  if (compressed && local && compressedSize < 0)
  {
    this->Refuse("compressed voxel data in the header's file needs CompressedDataSize");
  }
  const std::string file = local ? this->Path : DataFilePath(this->Path, dataFile);
  if (!local)
  {
    const std::string problem = FileProblem(file);
    if (!problem.empty())
    {
      this->Refuse("its data file " + file + (problem == "is a folder" ? " " : ": ") + problem);
    }
  }

  double count = static_cast<double>(channels);
  for (const long long size : sizes)
  {
    count *= static_cast<double>(size);
  }
  const Encoding encoding = compressed ? Encoding::Zlib : binary ? Encoding::Raw : Encoding::Text;
  const double needed = encoding == Encoding::Text ? count : count * static_cast<double>(typeSize);
  std::uintmax_t offset = local ? this->DataOffset : 0;
  if (!local && encoding == Encoding::Raw && headerSize == -1)
  {
    offset = 0; // the data ends the file: it only needs to be long enough
  }
  else if (!local && headerSize > 0)
  {
    offset = static_cast<std::uintmax_t>(headerSize);
  }
  const double available =
    Available(file, offset, encoding, needed, static_cast<double>(compressedSize));
  if (available < needed)
  {
    this->Refuse(available < 0 ? "its compressed voxel data is broken"
                               : "it holds less voxel data than DimSize and ElementType declare");
  }
  this->GridSize.assign(sizes.begin(), sizes.end());
  this->GridSize.resize(3, 1);
  this->Components = static_cast<int>(channels);
}

void ImageHeader::CheckNrrd()
{
  if (!this->LinesEnded)
  {
    this->Refuse("its header ends in the middle of a line");
  }
  long long dimension = 0;
  const std::string* dimensionField = this->Field("dimension");
  if (!dimensionField || !Integer(*dimensionField, dimension) || dimension < 3 || dimension > 4)
  {
    this->Refuse("dimension must be 3, or 4 with the voxel components first");
  }
  const std::string* sizesField = this->Field("sizes");
  const std::vector<long long> sizes = sizesField ? Sizes(*sizesField) : std::vector<long long>();
  if (static_cast<long long>(sizes.size()) != dimension)
  {
    this->Refuse("sizes must give " + std::to_string(dimension) + " positive sizes");
  }
  if (dimension == 4)
  {
    this->Components = static_cast<int>(sizes[0]);
    this->GridSize.assign(sizes.begin() + 1, sizes.end());
  }
  else
  {
    this->GridSize.assign(sizes.begin(), sizes.end());
  }
  const std::string* type = this->Field("type");
  const size_t typeSize = type ? NrrdTypeSize(*type) : 0;
  if (typeSize == 0)
  {
    this->Refuse("type " + (type ? *type : std::string("missing")) + " is not a voxel type");
  }
  const std::string* encodingField = this->Field("encoding");
  const std::string encodingName = encodingField ? *encodingField : "";
  Encoding encoding = Encoding::Raw;
  if (encodingName == "ascii" || encodingName == "txt" || encodingName == "text")
  {
    encoding = Encoding::Text;
  }
  else if (encodingName == "gzip" || encodingName == "gz")
  {
    encoding = Encoding::Zlib;
  }
  else if (encodingName != "raw")
  {
    this->Refuse("encoding " + (encodingName.empty() ? "missing" : encodingName) +
                 " is not supported (raw, ascii or gzip)");
  }

  const std::string* dataFile = this->Field("data file");
  const std::string* otherSpelling = this->Field("datafile");
  if (dataFile && otherSpelling)
  {
    this->Refuse("its header gives data file twice");
  }
  dataFile = dataFile ? dataFile : otherSpelling;
  std::string file = this->Path;
  std::uintmax_t offset = this->DataOffset;
  if (dataFile)
  {
    if (dataFile->empty() || *dataFile == "LIST" ||
        dataFile->find_first_of(" \t%") != std::string::npos)
    {
      this->Refuse("data file must name one file");
    }
    file = DataFilePath(this->Path, *dataFile);
    offset = 0;
    const std::string problem = FileProblem(file);
    if (!problem.empty())
    {
      this->Refuse("its data file " + file + (problem == "is a folder" ? " " : ": ") + problem);
    }
  }
  else if (!this->EndMarked)
  {
    this->Refuse("its header does not end with an empty line before the voxel data");
  }
  if (this->Field("byte skip") || this->Field("byteskip") || this->Field("line skip") ||
      this->Field("lineskip"))
  {
    return; // VTK's reader refuses skipped data itself
  }
  double count = 1.0;
  for (const long long size : sizes)
  {
    count *= static_cast<double>(size);
  }
  const double needed = encoding == Encoding::Text ? count : count * static_cast<double>(typeSize);
  const double available = Available(file, offset, encoding, needed);
  if (available < needed)
  {
    this->Refuse(available < 0 ? "its compressed voxel data is broken"
                               : "it holds less voxel data than its sizes and type declare");
  }
}

//------------------------------------------------------------------------------
void ImageHeader::MatchVoxelGrid(Volume& volume) const
{
  vtkImageData* image = volume.Image;
  vtkDataArray* scalars = image->GetPointData()->GetScalars();
  int dims[3];
  image->GetDimensions(dims);
  const int components = scalars->GetNumberOfComponents();
  const auto grid = [&](long long a, long long b, long long c)
  { return dims[0] == a && dims[1] == b && dims[2] == c; };
  const std::vector<long long>& size = this->GridSize;
  if (grid(size[0], size[1], size[2]) && components == this->Components &&
      scalars->GetNumberOfTuples() == image->GetNumberOfPoints())
  {
    return;
  }
  // A 3-D NRRD with fewer than 10 voxels along its first axis: VTK's reader takes that axis for
  // voxel components (the spacing of the other two moved down an axis). The values are in the
  // file's order either way.
  if (this->Nrrd && this->Components == 1 && size[0] < 10 && components == size[0] &&
      grid(size[1], size[2], 1) && scalars->GetNumberOfTuples() == image->GetNumberOfPoints())
  {
    vtkSmartPointer<vtkDataArray> values;
    values.TakeReference(scalars->NewInstance());
    values->SetName(scalars->GetName());
    values->SetNumberOfComponents(1);
    values->SetNumberOfTuples(scalars->GetNumberOfValues());
    std::memcpy(values->GetVoidPointer(0), scalars->GetVoidPointer(0),
      static_cast<size_t>(scalars->GetNumberOfValues()) * scalars->GetDataTypeSize());
    double spacing[3];
    image->GetSpacing(spacing);
    const std::string* spacings = this->Field("spacings");
    const std::vector<double> given = spacings ? Numbers(*spacings) : std::vector<double>();
    volume.Spacing[0] = given.size() == 3 ? given[0] : 1.0;
    volume.Spacing[1] = spacing[0];
    volume.Spacing[2] = spacing[1];
    auto regridded = vtkSmartPointer<vtkImageData>::New();
    regridded->SetDimensions(static_cast<int>(size[0]), static_cast<int>(size[1]),
      static_cast<int>(size[2]));
    regridded->GetPointData()->SetScalars(values);
    volume.Image = regridded;
    return;
  }
  std::ostringstream text;
  text << "VTK's reader gave " << dims[0] << " x " << dims[1] << " x " << dims[2]
       << " voxels of " << components << " component(s), not what its header declares";
  this->Refuse(text.str());
}

void ImageHeader::ApplyGeometry(Volume& volume) const
{
  for (const auto& [key, value] : this->Fields)
  {
    const std::vector<double> values = Numbers(value);
    if (!this->Nrrd && (key == "TransformMatrix" || key == "Rotation" || key == "Orientation"))
    {
      if (values.size() != 9)
      {
        this->Refuse(key + " needs 9 numbers");
      }
      for (int axis = 0; axis < 3; ++axis)
      {
        for (int r = 0; r < 3; ++r)
        {
          volume.Directions[r][axis] = values[3 * axis + r];
        }
      }
    }
    else if (this->Nrrd && key == "space directions")
    {
      if (values.size() != 9)
      {
        this->Refuse("space directions needs 3 vectors");
      }
      for (int axis = 0; axis < 3; ++axis)
      {
        double v[3] = { values[3 * axis], values[3 * axis + 1], values[3 * axis + 2] };
        const double length = vtkMath::Normalize(v);
        if (length == 0.0)
        {
          this->Refuse("a space direction is zero");
        }
        volume.Spacing[axis] = length;
        for (int r = 0; r < 3; ++r)
        {
          volume.Directions[r][axis] = v[r];
        }
      }
    }
    else if (this->Nrrd && key == "space origin" && values.size() == 3)
    {
      std::copy(values.begin(), values.end(), volume.Origin);
    }
  }
}
}
