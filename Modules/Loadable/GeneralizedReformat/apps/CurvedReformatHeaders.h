// MetaImage and NRRD headers as curvedreformat reads them: checked before VTK's readers see the
// file, and the voxel axes and origin that those readers do not report.
#ifndef CurvedReformatHeaders_h
#define CurvedReformatHeaders_h

#include "CurvedReformatFiles.h"

#include <string>
#include <utility>
#include <vector>

namespace CurvedReformat
{
/// The header of a MetaImage (.mha, .mhd) or NRRD (.nrrd, .nhdr) file.
///
/// Read() accepts only what VTK's readers read safely and completely: a header that ends (NRRD:
/// an empty line before attached data, every line ended; MetaImage: ElementDataFile last, within
/// the first 64 KiB), a known voxel type, sizes that agree with the number of dimensions (NRRD:
/// 3, or 4 with the voxel components first; MetaImage: 1 to 3), one data file, and at least as
/// much voxel data as the sizes declare (bytes for raw data, values for text, inflated bytes for
/// zlib or gzip data; compressed MetaImage data in the header's file needs CompressedDataSize). VTK's readers leave voxels they could not read undefined, hang on an
/// unended NRRD header and crash on some incomplete ones; these files are refused here instead.
class ImageHeader
{
public:
  /// Reads and checks the header of \a path, a MetaImage or NRRD file by \a ext (".mha",
  /// ".mhd", ".nrrd", ".nhdr"). Throws Failure ("cannot read volume PATH: ...").
  static ImageHeader Read(const std::string& path, const std::string& ext);

  /// Checks that VTK's reader gave the voxel grid and components the header declares, and puts
  /// right the one known misreading: a 3-D NRRD with fewer than 10 voxels along its first axis,
  /// which VTK's NRRD reader takes for voxel components. Throws Failure for any other grid.
  void MatchVoxelGrid(Volume& volume) const;

  /// Sets the axes and origin that VTK's readers do not report: MetaImage TransformMatrix (or
  /// Rotation, Orientation; the direction of each voxel axis in turn), NRRD space directions (one
  /// vector per axis, its length the spacing) and space origin. Throws Failure for axes given
  /// with the wrong count of numbers or a zero length.
  void ApplyGeometry(Volume& volume) const;

private:
  ImageHeader() = default;
  void CheckMetaImage();
  void CheckNrrd();
  /// The field \a key, or null; throws Failure when it is given twice.
  const std::string* Field(const std::string& key) const;
  [[noreturn]] void Refuse(const std::string& why) const;

  std::string Path;
  bool Nrrd = false;
  std::vector<std::pair<std::string, std::string>> Fields; // key, value, in order
  size_t DataOffset = 0;     // where attached data starts in the file
  bool EndMarked = false;    // NRRD: an empty line; MetaImage: ElementDataFile
  bool LinesEnded = true;    // every header line ends with a line feed
  std::vector<long long> GridSize; // voxels along the three axes
  int Components = 1;
};
}

#endif
