#ifndef DicomSeriesWriter_h
#define DicomSeriesWriter_h

// Small DICOM CT series written with DCMTK for the curvedreformat tests: one file per slice or one
// enhanced multi-frame file, from a VTK image and a voxel geometry.

#include "dcmtk/config/osconfig.h"

#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcuid.h"

#include <vtkImageData.h>
#include <vtkImageReslice.h>
#include <vtkMatrix4x4.h>
#include <vtkNew.h>
#include <vtkSmartPointer.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

/// Where the voxels of a series lie (patient coordinates, mm): voxel (i, j, k) at
/// Origin + i * Spacing[0] * Row + j * Spacing[1] * Column + k * Spacing[2] * Step.
/// Step need not be the slice normal (a gantry tilt).
struct SeriesGeometry
{
  int Dimensions[3] = { 1, 1, 1 };
  double Origin[3] = { 0, 0, 0 };
  double Spacing[3] = { 1, 1, 1 };
  double Row[3] = { 1, 0, 0 };
  double Column[3] = { 0, 1, 0 };
  double Step[3] = { 0, 0, 1 };

  void Point(double i, double j, double k, double p[3]) const
  {
    for (int r = 0; r < 3; ++r)
    {
      p[r] = this->Origin[r] + i * this->Spacing[0] * this->Row[r] +
             j * this->Spacing[1] * this->Column[r] + k * this->Spacing[2] * this->Step[r];
    }
  }
};

/// The voxels of \a geometry sampled (nearest neighbour) from \a source, an axis-aligned image
/// in the same coordinates.
inline vtkSmartPointer<vtkImageData> Resample(vtkImageData* source, const SeriesGeometry& geometry)
{
  vtkNew<vtkMatrix4x4> axes;
  for (int r = 0; r < 3; ++r)
  {
    axes->SetElement(r, 0, geometry.Spacing[0] * geometry.Row[r]);
    axes->SetElement(r, 1, geometry.Spacing[1] * geometry.Column[r]);
    axes->SetElement(r, 2, geometry.Spacing[2] * geometry.Step[r]);
    axes->SetElement(r, 3, geometry.Origin[r]);
  }
  vtkNew<vtkImageReslice> reslice;
  reslice->SetInputData(source);
  reslice->SetResliceAxes(axes);
  reslice->SetInterpolationModeToNearestNeighbor();
  reslice->SetOutputOrigin(0, 0, 0);
  reslice->SetOutputSpacing(1, 1, 1);
  reslice->SetOutputExtent(
    0, geometry.Dimensions[0] - 1, 0, geometry.Dimensions[1] - 1, 0, geometry.Dimensions[2] - 1);
  reslice->Update();
  auto image = vtkSmartPointer<vtkImageData>::New();
  image->ShallowCopy(reslice->GetOutput());
  return image;
}

/// How a series is written.
struct SeriesOptions
{
  std::string SeriesUID; // empty: a new one
  std::string Description = "Tube";
  double Intercept = -1024.0; // stored value = (value - Intercept) / Slope
  double Slope = 1.0;
  bool MultiFrame = false;          // one enhanced CT file, its frames in reverse order
  std::string NamePrefix = "slice"; // files NamePrefix<number>.dcm, numbered out of order
};

inline std::string Decimals(const double* values, int count)
{
  std::ostringstream text;
  text.precision(10);
  for (int i = 0; i < count; ++i)
  {
    text << (i ? "\\" : "") << values[i];
  }
  return text.str();
}

/// The stored values of slice \a k of \a image.
inline std::vector<Uint16> StoredSlice(vtkImageData* image, int k, const SeriesOptions& options)
{
  int dims[3];
  image->GetDimensions(dims);
  std::vector<Uint16> pixels;
  for (int j = 0; j < dims[1]; ++j)
  {
    for (int i = 0; i < dims[0]; ++i)
    {
      const double value = image->GetScalarComponentAsDouble(i, j, k, 0);
      pixels.push_back(static_cast<Uint16>((value - options.Intercept) / options.Slope + 0.5));
    }
  }
  return pixels;
}

inline void PutImageAttributes(DcmDataset* dataset, int rows, int columns)
{
  dataset->putAndInsertUint16(DCM_Rows, static_cast<Uint16>(rows));
  dataset->putAndInsertUint16(DCM_Columns, static_cast<Uint16>(columns));
  dataset->putAndInsertUint16(DCM_SamplesPerPixel, 1);
  dataset->putAndInsertString(DCM_PhotometricInterpretation, "MONOCHROME2");
  dataset->putAndInsertUint16(DCM_BitsAllocated, 16);
  dataset->putAndInsertUint16(DCM_BitsStored, 12);
  dataset->putAndInsertUint16(DCM_HighBit, 11);
  dataset->putAndInsertUint16(DCM_PixelRepresentation, 0);
}

/// Writes \a image (voxels of \a geometry) into \a folder as a CT series; returns the files
/// written, in slice order.
inline std::vector<std::string> WriteSeries(const std::string& folder,
  vtkImageData* image,
  const SeriesGeometry& geometry,
  const SeriesOptions& options = SeriesOptions())
{
  char uid[100];
  const std::string study = dcmGenerateUniqueIdentifier(uid, SITE_STUDY_UID_ROOT);
  const std::string series = options.SeriesUID.empty()
                               ? std::string(dcmGenerateUniqueIdentifier(uid, SITE_SERIES_UID_ROOT))
                               : options.SeriesUID;
  const int* dims = geometry.Dimensions;
  const double orientation[6] = { geometry.Row[0],
    geometry.Row[1],
    geometry.Row[2],
    geometry.Column[0],
    geometry.Column[1],
    geometry.Column[2] };
  const double pixelSpacing[2] = { geometry.Spacing[1], geometry.Spacing[0] }; // rows, columns
  auto common = [&](DcmDataset* dataset)
  {
    dataset->putAndInsertString(DCM_StudyInstanceUID, study.c_str());
    dataset->putAndInsertString(DCM_SeriesInstanceUID, series.c_str());
    dataset->putAndInsertString(
      DCM_SOPInstanceUID, dcmGenerateUniqueIdentifier(uid, SITE_INSTANCE_UID_ROOT));
    dataset->putAndInsertString(DCM_Modality, "CT");
    dataset->putAndInsertString(DCM_SeriesDescription, options.Description.c_str());
    dataset->putAndInsertString(DCM_PatientName, "Phantom^Tube");
    PutImageAttributes(dataset, dims[1], dims[0]);
  };
  std::vector<std::string> files;
  if (options.MultiFrame)
  {
    DcmFileFormat file;
    DcmDataset* dataset = file.getDataset();
    common(dataset);
    dataset->putAndInsertString(DCM_SOPClassUID, UID_EnhancedCTImageStorage);
    dataset->putAndInsertString(DCM_NumberOfFrames, std::to_string(dims[2]).c_str());
    DcmItem* shared = nullptr;
    dataset->findOrCreateSequenceItem(DCM_SharedFunctionalGroupsSequence, shared, 0);
    DcmItem* item = nullptr;
    shared->findOrCreateSequenceItem(DCM_PlaneOrientationSequence, item, 0);
    item->putAndInsertString(DCM_ImageOrientationPatient, Decimals(orientation, 6).c_str());
    shared->findOrCreateSequenceItem(DCM_PixelMeasuresSequence, item, 0);
    item->putAndInsertString(DCM_PixelSpacing, Decimals(pixelSpacing, 2).c_str());
    shared->findOrCreateSequenceItem(DCM_PixelValueTransformationSequence, item, 0);
    item->putAndInsertString(DCM_RescaleIntercept, Decimals(&options.Intercept, 1).c_str());
    item->putAndInsertString(DCM_RescaleSlope, Decimals(&options.Slope, 1).c_str());
    item->putAndInsertString(DCM_RescaleType, "HU");
    std::vector<Uint16> pixels;
    for (int frame = 0; frame < dims[2]; ++frame)
    {
      const int k = dims[2] - 1 - frame;
      DcmItem* perFrame = nullptr;
      dataset->findOrCreateSequenceItem(DCM_PerFrameFunctionalGroupsSequence, perFrame, frame);
      perFrame->findOrCreateSequenceItem(DCM_PlanePositionSequence, item, 0);
      double position[3];
      geometry.Point(0, 0, k, position);
      item->putAndInsertString(DCM_ImagePositionPatient, Decimals(position, 3).c_str());
      const std::vector<Uint16> slice = StoredSlice(image, k, options);
      pixels.insert(pixels.end(), slice.begin(), slice.end());
    }
    dataset->putAndInsertUint16Array(
      DCM_PixelData, pixels.data(), static_cast<unsigned long>(pixels.size()));
    const std::string path = folder + "/" + options.NamePrefix + ".dcm";
    file.saveFile(path.c_str(), EXS_LittleEndianExplicit);
    files.push_back(path);
    return files;
  }
  for (int k = 0; k < dims[2]; ++k)
  {
    DcmFileFormat file;
    DcmDataset* dataset = file.getDataset();
    common(dataset);
    dataset->putAndInsertString(DCM_SOPClassUID, UID_CTImageStorage);
    dataset->putAndInsertString(DCM_InstanceNumber, std::to_string(k + 1).c_str());
    double position[3];
    geometry.Point(0, 0, k, position);
    dataset->putAndInsertString(DCM_ImagePositionPatient, Decimals(position, 3).c_str());
    dataset->putAndInsertString(DCM_ImageOrientationPatient, Decimals(orientation, 6).c_str());
    dataset->putAndInsertString(DCM_PixelSpacing, Decimals(pixelSpacing, 2).c_str());
    dataset->putAndInsertString(DCM_RescaleIntercept, Decimals(&options.Intercept, 1).c_str());
    dataset->putAndInsertString(DCM_RescaleSlope, Decimals(&options.Slope, 1).c_str());
    const std::vector<Uint16> pixels = StoredSlice(image, k, options);
    dataset->putAndInsertUint16Array(
      DCM_PixelData, pixels.data(), static_cast<unsigned long>(pixels.size()));
    // Names out of order: slice k is file number (k * 7919) mod 10007.
    const int number = (k * 7919) % 10007;
    const std::string path = folder + "/" + options.NamePrefix + std::to_string(number) + ".dcm";
    file.saveFile(path.c_str(), EXS_LittleEndianExplicit);
    files.push_back(path);
  }
  return files;
}

#endif
