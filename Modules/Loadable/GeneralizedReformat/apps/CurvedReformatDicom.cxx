#include "CurvedReformatDicom.h"

#include <dj2kdecode.h>

#include "dcmtk/config/osconfig.h"

#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcrledrg.h"
#include "dcmtk/dcmdata/dcuid.h"
#include "dcmtk/dcmjpeg/djdecode.h"
#include "dcmtk/dcmjpls/djdecode.h"
#include "dcmtk/oflog/oflog.h"

#include <vtkImageData.h>
#include <vtkMath.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <sstream>
#include <vector>

namespace CurvedReformat
{
namespace
{
/// DCMTK's JPEG, JPEG-LS and RLE decoders and this project's JPEG 2000 decoders, registered for
/// the rest of the process; DCMTK's own log messages are not shown (failures are reported here).
void RegisterDecoders()
{
  struct Registration
  {
    Registration()
    {
      OFLog::configure(OFLogger::OFF_LOG_LEVEL);
      DJDecoderRegistration::registerCodecs();
      DJLSDecoderRegistration::registerCodecs();
      DcmRLEDecoderRegistration::registerCodecs();
      DJ2KDecoderRegistration::registerCodecs();
    }
    ~Registration()
    {
      DJ2KDecoderRegistration::cleanup();
      DcmRLEDecoderRegistration::cleanup();
      DJLSDecoderRegistration::cleanup();
      DJDecoderRegistration::cleanup();
    }
  };
  static Registration registration;
}

/// Image attributes that every slice of a volume must share.
struct PixelFormat
{
  long Rows = 0;
  long Columns = 0;
  long SamplesPerPixel = 1;
  long BitsAllocated = 0;
  long BitsStored = 0;
  long HighBit = 0;
  long PixelRepresentation = 0;
};

/// One slice: a frame of a file, with its place in space and its rescaling.
struct Slice
{
  std::shared_ptr<DcmFileFormat> File;
  std::string Path;
  long Frame = 0;      // in its file
  long FileFrames = 1; // frames of its file
  PixelFormat Format;
  bool HasPosition = false;
  double Position[3] = { 0, 0, 0 };
  bool HasOrientation = false;
  double Orientation[6] = { 0, 0, 0, 0, 0, 0 };
  bool HasSpacing = false;
  double PixelSpacing[2] = { 0, 0 }; // between rows, between columns
  double Slope = 1.0;
  double Intercept = 0.0;
  double Distance = 0.0; // along the slice normal

  /// The file, and the frame of a multi-frame file, for messages.
  std::string Name() const
  {
    return this->FileFrames > 1 ? this->Path + " (frame " + std::to_string(this->Frame + 1) + ")"
                                : this->Path;
  }
};

struct Series
{
  std::string UID;
  std::string Description;
  std::vector<Slice> Slices;
};

std::string ConditionText(const OFCondition& condition)
{
  return condition.text() ? condition.text() : "unknown error";
}

/// Reads \a count numbers of \a tag from the per-frame group, the shared group (each within its
/// functional group sequence \a groupTag) or the data set itself, the first that has them.
bool FindNumbers(DcmItem* perFrame,
  DcmItem* shared,
  const DcmTagKey& groupTag,
  DcmItem* dataset,
  const DcmTagKey& tag,
  int count,
  double* values)
{
  DcmItem* places[3] = { nullptr, nullptr, dataset };
  if (perFrame)
  {
    perFrame->findAndGetSequenceItem(groupTag, places[0], 0);
  }
  if (shared)
  {
    shared->findAndGetSequenceItem(groupTag, places[1], 0);
  }
  for (DcmItem* place : places)
  {
    if (!place)
    {
      continue;
    }
    bool found = true;
    for (int i = 0; i < count && found; ++i)
    {
      Float64 value = 0.0;
      found = place->findAndGetFloat64(tag, value, i).good() && std::isfinite(value);
      values[i] = value;
    }
    if (found)
    {
      return true;
    }
  }
  return false;
}

long LongValue(DcmItem* dataset, const DcmTagKey& tag, long fallback)
{
  long value = fallback;
  return dataset->findAndGetLongInt(tag, value).good() ? value : fallback;
}

std::string StringValue(DcmItem* dataset, const DcmTagKey& tag)
{
  OFString value;
  return dataset->findAndGetOFString(tag, value).good() ? std::string(value.c_str()) : "";
}

/// The slices of a DICOM image file, headers only (the pixel data stays on disk until needed).
/// Empty for files that hold no image (a DICOMDIR, a report).
std::vector<Slice> ReadSlices(const std::string& path,
  std::string& seriesUID,
  std::string& description)
{
  auto file = std::make_shared<DcmFileFormat>();
  // Pixel data and other long values are read when they are used.
  const OFCondition status = file->loadFile(path.c_str(), EXS_Unknown, EGL_noChange, 4096);
  if (status.bad())
  {
    throw Failure{ "cannot read DICOM file " + path + ": " + ConditionText(status) };
  }
  DcmDataset* dataset = file->getDataset();
  if (!dataset->tagExists(DCM_PixelData))
  {
    return {};
  }
  seriesUID = StringValue(dataset, DCM_SeriesInstanceUID);
  description = StringValue(dataset, DCM_SeriesDescription);
  PixelFormat format;
  format.Rows = LongValue(dataset, DCM_Rows, 0);
  format.Columns = LongValue(dataset, DCM_Columns, 0);
  format.SamplesPerPixel = LongValue(dataset, DCM_SamplesPerPixel, 1);
  format.BitsAllocated = LongValue(dataset, DCM_BitsAllocated, 0);
  format.BitsStored = LongValue(dataset, DCM_BitsStored, format.BitsAllocated);
  format.HighBit = LongValue(dataset, DCM_HighBit, format.BitsStored - 1);
  format.PixelRepresentation = LongValue(dataset, DCM_PixelRepresentation, 0);
  const long frames = std::max(1L, LongValue(dataset, DCM_NumberOfFrames, 1));

  DcmItem* shared = nullptr;
  dataset->findAndGetSequenceItem(DCM_SharedFunctionalGroupsSequence, shared, 0);
  std::vector<Slice> slices;
  for (long frame = 0; frame < frames; ++frame)
  {
    Slice slice;
    slice.File = file;
    slice.Path = path;
    slice.Frame = frame;
    slice.FileFrames = frames;
    slice.Format = format;
    DcmItem* perFrame = nullptr;
    dataset->findAndGetSequenceItem(
      DCM_PerFrameFunctionalGroupsSequence, perFrame, static_cast<signed long>(frame));
    slice.HasPosition = FindNumbers(perFrame,
      shared,
      DCM_PlanePositionSequence,
      dataset,
      DCM_ImagePositionPatient,
      3,
      slice.Position);
    slice.HasOrientation = FindNumbers(perFrame,
      shared,
      DCM_PlaneOrientationSequence,
      dataset,
      DCM_ImageOrientationPatient,
      6,
      slice.Orientation);
    slice.HasSpacing = FindNumbers(perFrame,
      shared,
      DCM_PixelMeasuresSequence,
      dataset,
      DCM_PixelSpacing,
      2,
      slice.PixelSpacing);
    FindNumbers(perFrame,
      shared,
      DCM_PixelValueTransformationSequence,
      dataset,
      DCM_RescaleSlope,
      1,
      &slice.Slope);
    FindNumbers(perFrame,
      shared,
      DCM_PixelValueTransformationSequence,
      dataset,
      DCM_RescaleIntercept,
      1,
      &slice.Intercept);
    slices.push_back(slice);
  }
  return slices;
}

/// The series of a folder and its subfolders, by Series Instance UID, in UID order.
std::map<std::string, Series> ReadFolder(const std::string& folder,
  const ProgressFunction& progress)
{
  std::vector<std::string> paths;
  std::error_code error;
  for (std::filesystem::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error))
  {
    if (it->is_regular_file(error) && IsDicomFile(it->path().string()))
    {
      paths.push_back(it->path().string());
    }
  }
  if (error)
  {
    throw Failure{ "cannot read folder " + folder + ": " + error.message() };
  }
  std::sort(paths.begin(), paths.end());
  std::map<std::string, Series> series;
  for (size_t i = 0; i < paths.size(); ++i)
  {
    std::string uid, description;
    std::vector<Slice> slices = ReadSlices(paths[i], uid, description);
    if (!slices.empty())
    {
      Series& entry = series[uid];
      entry.UID = uid;
      if (entry.Description.empty())
      {
        entry.Description = description;
      }
      entry.Slices.insert(entry.Slices.end(), slices.begin(), slices.end());
    }
    if (progress)
    {
      progress(0.1 * (i + 1) / paths.size());
    }
  }
  return series;
}

std::string SeriesList(const std::map<std::string, Series>& series)
{
  std::string list;
  for (const auto& entry : series)
  {
    list += "\n  " + (entry.first.empty() ? std::string("(no Series Instance UID)") : entry.first) +
            "  \"" + entry.second.Description + "\", " +
            std::to_string(entry.second.Slices.size()) + " slice" +
            (entry.second.Slices.size() == 1 ? "" : "s");
  }
  return list;
}

std::string Millimetres(double value)
{
  std::ostringstream text;
  text.precision(4);
  text << value << " mm";
  return text.str();
}

bool SameNumbers(const double* a, const double* b, int count, double tolerance)
{
  for (int i = 0; i < count; ++i)
  {
    if (std::abs(a[i] - b[i]) > tolerance)
    {
      return false;
    }
  }
  return true;
}

/// Checks that the slices make one regular volume and sorts them along the slice normal; gives
/// the volume's geometry.
void PlaceSlices(std::vector<Slice>& slices, Volume& volume)
{
  const Slice first = slices.front();
  for (const Slice& slice : slices)
  {
    const PixelFormat& f = slice.Format;
    if (f.SamplesPerPixel != 1)
    {
      throw Failure{ slice.Name() + ": colour images (Samples per Pixel " +
                     std::to_string(f.SamplesPerPixel) + ") are not supported" };
    }
    if ((f.BitsAllocated != 8 && f.BitsAllocated != 16 && f.BitsAllocated != 32) ||
        f.BitsStored < 1 || f.BitsStored > f.BitsAllocated || f.HighBit < f.BitsStored - 1 ||
        f.HighBit >= f.BitsAllocated || f.Rows < 1 || f.Columns < 1)
    {
      throw Failure{ slice.Name() + ": unsupported pixel format (" + std::to_string(f.Rows) +
                     " x " + std::to_string(f.Columns) + " pixels, Bits Allocated " +
                     std::to_string(f.BitsAllocated) + ", Bits Stored " +
                     std::to_string(f.BitsStored) + ")" };
    }
    if (f.Rows != first.Format.Rows || f.Columns != first.Format.Columns)
    {
      throw Failure{ "mixed image sizes: " + first.Name() + " has " +
                     std::to_string(first.Format.Columns) + " x " +
                     std::to_string(first.Format.Rows) + " pixels, " + slice.Name() + " " +
                     std::to_string(f.Columns) + " x " + std::to_string(f.Rows) };
    }
    if (!slice.HasPosition)
    {
      throw Failure{ slice.Name() + " has no Image Position (Patient)" };
    }
    if (!slice.HasOrientation)
    {
      throw Failure{ slice.Name() + " has no Image Orientation (Patient)" };
    }
    if (!slice.HasSpacing || slice.PixelSpacing[0] <= 0 || slice.PixelSpacing[1] <= 0)
    {
      throw Failure{ slice.Name() + " has no valid Pixel Spacing" };
    }
    if (!SameNumbers(slice.Orientation, first.Orientation, 6, 1e-4))
    {
      throw Failure{ "mixed orientations: " + first.Name() + " and " + slice.Name() +
                     " differ in Image Orientation (Patient)" };
    }
    if (!SameNumbers(slice.PixelSpacing, first.PixelSpacing, 2, 1e-4 * first.PixelSpacing[0]))
    {
      throw Failure{ "mixed pixel spacings: " + first.Name() + " and " + slice.Name() };
    }
  }
  if (slices.size() < 2)
  {
    throw Failure{ first.Name() + " is a single image, not a volume" };
  }

  double rowDirection[3] = { first.Orientation[0], first.Orientation[1], first.Orientation[2] };
  double columnDirection[3] = { first.Orientation[3], first.Orientation[4], first.Orientation[5] };
  double normal[3];
  vtkMath::Cross(rowDirection, columnDirection, normal);
  if (vtkMath::Normalize(rowDirection) < 0.5 || vtkMath::Normalize(columnDirection) < 0.5 ||
      vtkMath::Normalize(normal) < 0.5)
  {
    throw Failure{ first.Name() + ": invalid Image Orientation (Patient)" };
  }
  for (Slice& slice : slices)
  {
    slice.Distance = vtkMath::Dot(slice.Position, normal);
  }
  std::stable_sort(slices.begin(),
    slices.end(),
    [](const Slice& a, const Slice& b) { return a.Distance < b.Distance; });

  // Regular steps between neighbouring slices: each within 1 % of the usual gap (at least
  // 0.01 mm) of the mean step from the first slice to the last. A step with a part across the
  // slices is a gantry tilt.
  const size_t count = slices.size();
  double step[3];
  vtkMath::Subtract(slices.back().Position, slices.front().Position, step);
  vtkMath::MultiplyScalar(step, 1.0 / (count - 1));
  const double stepLength = vtkMath::Norm(step);
  std::vector<double> gaps;
  for (size_t i = 0; i + 1 < count; ++i)
  {
    gaps.push_back(
      std::sqrt(vtkMath::Distance2BetweenPoints(slices[i + 1].Position, slices[i].Position)));
  }
  std::vector<double> sorted = gaps;
  std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
  const double usual = sorted[sorted.size() / 2];
  const double tolerance = std::max(0.01, 0.01 * usual);
  bool regular = true;
  size_t odd = 0; // the gap farthest from the usual one
  for (size_t i = 0; i + 1 < count; ++i)
  {
    if (gaps[i] <= tolerance)
    {
      throw Failure{ slices[i].Name() + " and " + slices[i + 1].Name() +
                     " lie at the same position" };
    }
    double gap[3];
    vtkMath::Subtract(slices[i + 1].Position, slices[i].Position, gap);
    regular = regular && std::sqrt(vtkMath::Distance2BetweenPoints(gap, step)) <= tolerance;
    if (std::abs(gaps[i] - usual) > std::abs(gaps[odd] - usual))
    {
      odd = i;
    }
  }
  if (!regular)
  {
    throw Failure{ "uneven slice gaps (a slice missing?): the " +
                   std::string(gaps[odd] > usual ? "largest" : "smallest") + " is " +
                   Millimetres(gaps[odd]) + ", between " + slices[odd].Name() + " and " +
                   slices[odd + 1].Name() + ", where most are " + Millimetres(usual) };
  }

  std::copy(slices.front().Position, slices.front().Position + 3, volume.Origin);
  volume.Spacing[0] = first.PixelSpacing[1]; // between columns: along a row
  volume.Spacing[1] = first.PixelSpacing[0]; // between rows: along a column
  volume.Spacing[2] = stepLength;
  for (int r = 0; r < 3; ++r)
  {
    volume.Directions[r][0] = rowDirection[r];
    volume.Directions[r][1] = columnDirection[r];
    volume.Directions[r][2] = step[r] / stepLength;
  }
}

/// The stored values of one frame, as signed integers (Bits Stored, sign-extended for Pixel
/// Representation 1).
class FrameValues
{
public:
  FrameValues(const Slice& slice)
    : Format(slice.Format)
  {
    DcmDataset* dataset = slice.File->getDataset();
    OFCondition status = dataset->chooseRepresentation(EXS_LittleEndianExplicit, nullptr);
    if (status.bad() || !dataset->canWriteXfer(EXS_LittleEndianExplicit))
    {
      DcmXfer xfer(dataset->getOriginalXfer());
      throw Failure{ "cannot decompress " + slice.Path + " (" + xfer.getXferName() + ")" +
                     (status.bad() ? ": " + ConditionText(status) : "") };
    }
    // 8-bit pixel data is a byte array; wider data is held as 16-bit words in the machine's
    // byte order (little endian), 32-bit values as two words each.
    DcmElement* element = nullptr;
    const Uint8* bytes = nullptr;
    bool found = dataset->findAndGetElement(DCM_PixelData, element).good();
    if (found && this->Format.BitsAllocated == 8)
    {
      Uint8* data = nullptr;
      found = element->getUint8Array(data).good();
      bytes = data;
    }
    else if (found)
    {
      Uint16* data = nullptr;
      found = element->getUint16Array(data).good();
      bytes = reinterpret_cast<const Uint8*>(data);
    }
    if (!found || !bytes)
    {
      throw Failure{ "cannot read the pixel data of " + slice.Path };
    }
    const size_t frameBytes = static_cast<size_t>(this->Format.Rows) * this->Format.Columns *
                              (this->Format.BitsAllocated / 8);
    if (element->getLength() < frameBytes * (slice.Frame + 1))
    {
      throw Failure{ slice.Name() + ": the pixel data is shorter than its frames" };
    }
    this->Bytes = bytes + frameBytes * slice.Frame;
    this->Shift = this->Format.HighBit + 1 - this->Format.BitsStored;
    this->Mask = this->Format.BitsStored >= 32 ? 0xffffffffu : (1u << this->Format.BitsStored) - 1u;
    this->Signed = this->Format.PixelRepresentation == 1;
  }

  size_t Count() const
  {
    return static_cast<size_t>(this->Format.Rows) * static_cast<size_t>(this->Format.Columns);
  }

  /// Stored value of pixel \a i (row by row).
  int64_t operator[](size_t i) const
  {
    uint32_t word = 0;
    switch (this->Format.BitsAllocated)
    {
      case 8:
        word = this->Bytes[i];
        break;
      case 16:
      {
        uint16_t value;
        std::memcpy(&value, this->Bytes + 2 * i, 2);
        word = value;
        break;
      }
      default:
        std::memcpy(&word, this->Bytes + 4 * i, 4);
        break;
    }
    const uint32_t stored = (word >> this->Shift) & this->Mask;
    if (this->Signed && (stored >> (this->Format.BitsStored - 1)) != 0)
    {
      return static_cast<int64_t>(stored) - (int64_t(1) << this->Format.BitsStored);
    }
    return stored;
  }

private:
  PixelFormat Format;
  const Uint8* Bytes = nullptr;
  int Shift = 0;
  uint32_t Mask = 0;
  bool Signed = false;
};

bool IsInteger(double value)
{
  return std::floor(value) == value && std::abs(value) < 1e15;
}

/// The smallest of unsigned char, short, unsigned short and int that holds [low, high], or
/// float.
int IntegerType(double low, double high)
{
  const struct
  {
    int Type;
    double Low;
    double High;
  } types[] = {
    { VTK_UNSIGNED_CHAR, 0, 255 },
    { VTK_SHORT, -32768, 32767 },
    { VTK_UNSIGNED_SHORT, 0, 65535 },
    { VTK_INT, -2147483648.0, 2147483647.0 },
  };
  for (const auto& type : types)
  {
    if (low >= type.Low && high <= type.High)
    {
      return type.Type;
    }
  }
  return VTK_FLOAT;
}

template <typename T>
void FillSlice(const FrameValues& values, double slope, double intercept, T* voxels)
{
  for (size_t i = 0; i < values.Count(); ++i)
  {
    voxels[i] = static_cast<T>(slope * static_cast<double>(values[i]) + intercept);
  }
}
}

//------------------------------------------------------------------------------
bool IsDicomFile(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  char mark[4] = { 0, 0, 0, 0 };
  return in.seekg(128) && in.read(mark, 4) && std::memcmp(mark, "DICM", 4) == 0;
}

//------------------------------------------------------------------------------
Volume ReadDicomVolume(const std::string& path,
  const std::string& seriesUID,
  const ProgressFunction& progress)
{
  RegisterDecoders();
  std::vector<Slice> slices;
  if (std::filesystem::is_directory(path))
  {
    std::map<std::string, Series> series = ReadFolder(path, progress);
    if (series.empty())
    {
      throw Failure{ "cannot read volume " + path + ": no DICOM images in the folder" };
    }
    if (!seriesUID.empty())
    {
      const auto chosen = series.find(seriesUID);
      if (chosen == series.end())
      {
        throw Failure{ "no series " + seriesUID + " in " + path +
                       "; it holds:" + SeriesList(series) };
      }
      slices = chosen->second.Slices;
    }
    else if (series.size() > 1)
    {
      throw Failure{ path + " holds " + std::to_string(series.size()) +
                     " series; choose one with --series-uid:" + SeriesList(series) };
    }
    else
    {
      slices = series.begin()->second.Slices;
    }
  }
  else
  {
    std::string uid, description;
    slices = ReadSlices(path, uid, description);
    if (slices.empty())
    {
      throw Failure{ "cannot read volume " + path + ": the DICOM file holds no image" };
    }
    if (slices.size() == 1)
    {
      throw Failure{ "cannot read volume " + path +
                     ": a single image, not a volume (give the folder of its series)" };
    }
    if (!seriesUID.empty() && uid != seriesUID)
    {
      throw Failure{ path + " belongs to series " + uid + ", not " + seriesUID };
    }
  }

  Volume volume;
  PlaceSlices(slices, volume);

  // Decompressed (each file once) with the range of the rescaled values, then rescaled into a
  // type that holds them.
  double low = std::numeric_limits<double>::max();
  double high = std::numeric_limits<double>::lowest();
  bool integers = true;
  std::vector<FrameValues> frames;
  frames.reserve(slices.size());
  for (size_t i = 0; i < slices.size(); ++i)
  {
    const Slice& slice = slices[i];
    frames.emplace_back(slice);
    int64_t smallest = std::numeric_limits<int64_t>::max();
    int64_t largest = std::numeric_limits<int64_t>::min();
    const FrameValues& values = frames.back();
    for (size_t p = 0; p < values.Count(); ++p)
    {
      smallest = std::min(smallest, values[p]);
      largest = std::max(largest, values[p]);
    }
    const double a = slice.Slope * static_cast<double>(smallest) + slice.Intercept;
    const double b = slice.Slope * static_cast<double>(largest) + slice.Intercept;
    low = std::min({ low, a, b });
    high = std::max({ high, a, b });
    integers = integers && IsInteger(slice.Slope) && IsInteger(slice.Intercept);
    if (progress)
    {
      progress(0.1 + 0.8 * (i + 1) / slices.size());
    }
  }
  const int type = integers ? IntegerType(low, high) : VTK_FLOAT;
  volume.Image = vtkSmartPointer<vtkImageData>::New();
  volume.Image->SetDimensions(static_cast<int>(slices.front().Format.Columns),
    static_cast<int>(slices.front().Format.Rows),
    static_cast<int>(slices.size()));
  volume.Image->AllocateScalars(type, 1);
  for (size_t i = 0; i < slices.size(); ++i)
  {
    void* voxels = volume.Image->GetScalarPointer(0, 0, static_cast<int>(i));
    switch (type)
    {
      vtkTemplateMacro(
        FillSlice(frames[i], slices[i].Slope, slices[i].Intercept, static_cast<VTK_TT*>(voxels)));
    }
    // The decompressed file is released with its last slice.
    slices[i].File.reset();
  }
  if (progress)
  {
    progress(1.0);
  }
  return volume;
}
}
