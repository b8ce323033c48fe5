// DICOM input of the curvedreformat tool: a series from a folder, or a multi-frame file.
#ifndef CurvedReformatDicom_h
#define CurvedReformatDicom_h

#include "CurvedReformatFiles.h"

#include <string>

namespace CurvedReformat
{
/// Whether \a path is a DICOM file (the "DICM" mark after the 128-byte preamble).
bool IsDicomFile(const std::string& path);

/// Reads a DICOM volume: the series in a folder (searched with its subfolders; files without
/// the DICOM preamble are ignored), the series \a seriesUID when the folder holds several, or a
/// multi-frame file (Per-frame and Shared Functional Groups, or the attributes at the top
/// level). Pixel data compressed with JPEG, JPEG-LS, RLE or JPEG 2000 is decompressed. Slices
/// are sorted along the normal of Image Orientation (Patient) by Image Position (Patient) and
/// Rescale Slope and Intercept are applied (an integer type when both are integers everywhere,
/// wide enough for the rescaled values, else float). The volume is placed in DICOM patient
/// coordinates (LPS, mm); a gantry tilt gives a sheared voxel grid, the slices staying where
/// they were scanned. \a progress (may be empty) receives the fraction read. Throws Failure,
/// naming the offending files, for anything that does not make one regular volume.
Volume ReadDicomVolume(const std::string& path,
  const std::string& seriesUID,
  const ProgressFunction& progress);
}

#endif
