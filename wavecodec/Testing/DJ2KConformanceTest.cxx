// Conformance of what dcmcj2k and dcmdj2k write: dciodvfy (dicom3tools) finds no error in an
// output that it did not find in that output's input. Each row makes one kind of file from a
// clean input of a real IOD, or from another row's output.
#include "DJ2KTestDataset.h"
#include "DJ2KTestProcess.h"

#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcmetinf.h"

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace dj2ktest;

namespace
{

const std::string kCompress = DJ2K_DCMCJ2K;
const std::string kDecompress = DJ2K_DCMDJ2K;
const std::string kValidator = DJ2K_DCIODVFY;

// Uncompressed inputs: an image of a real IOD with every module that IOD requires.
struct Input
{
  const char* name;
  Image shape;
  const char* sopClass;
};

const Input kInputs[] = {
  // CT_small-like: signed 12-bit CT with a modality LUT.
  { "ct", { "ct", 128, 128, 1, 16, 12, 1, 0, 1 }, UID_CTImageStorage },
  { "rgb", { "rgb", 48, 40, 3, 8, 8, 0, 0, 1 }, UID_SecondaryCaptureImageStorage },
  { "mfword",
    { "mfword", 32, 40, 1, 16, 12, 0, 0, 3 },
    UID_MultiframeGrayscaleWordSecondaryCaptureImageStorage },
  { "mfrgb",
    { "mfrgb", 24, 32, 3, 8, 8, 0, 0, 3 },
    UID_MultiframeTrueColorSecondaryCaptureImageStorage },
};

void PutStrings(DcmItem& item, const std::vector<std::pair<DcmTagKey, const char*>>& values)
{
  for (const auto& v : values)
    item.putAndInsertString(v.first, v.second);
}

void MakeInput(const Input& input, const std::string& path)
{
  DcmFileFormat fileformat;
  DcmDataset& d = *fileformat.getDataset();
  FillDataset(d, input.shape, MakePixels(input.shape, 7), input.shape.frames > 1);
  d.putAndInsertString(DCM_SOPClassUID, input.sopClass);
  // Patient, General Study, General Series, General Equipment, General Image.
  PutStrings(d,
    { { DCM_SpecificCharacterSet, "ISO_IR 100" },
      { DCM_PatientID, "DJ2K-1" },
      { DCM_PatientBirthDate, "19700101" },
      { DCM_PatientSex, "O" },
      { DCM_StudyDate, "20240102" },
      { DCM_StudyTime, "101500" },
      { DCM_ReferringPhysicianName, "Ref^Doc" },
      { DCM_StudyID, "S1" },
      { DCM_AccessionNumber, "A1" },
      { DCM_SeriesNumber, "3" },
      { DCM_InstanceNumber, "1" },
      { DCM_BodyPartExamined, "HEAD" },
      { DCM_Manufacturer, "Vireon" } });
  if (std::string(input.sopClass) == UID_CTImageStorage)
  {
    // Frame of Reference, Image Plane, CT Image (with the modality LUT).
    PutStrings(d,
      { { DCM_Modality, "CT" },
        { DCM_ImageType, "ORIGINAL\\PRIMARY\\AXIAL" },
        { DCM_PatientPosition, "HFS" },
        { DCM_FrameOfReferenceUID, "1.2.826.0.1.3680043.9.7433.5.4" },
        { DCM_PositionReferenceIndicator, "" },
        { DCM_PixelSpacing, "0.5\\0.5" },
        { DCM_ImageOrientationPatient, "1\\0\\0\\0\\1\\0" },
        { DCM_ImagePositionPatient, "-16\\-16\\0" },
        { DCM_SliceThickness, "1" },
        { DCM_KVP, "120" },
        { DCM_AcquisitionNumber, "1" },
        { DCM_RescaleIntercept, "-1024" },
        { DCM_RescaleSlope, "1" },
        { DCM_WindowCenter, "40" },
        { DCM_WindowWidth, "400" } });
  }
  else
  {
    // SC Equipment and SC Image; the multi-frame SC modules.
    PutStrings(d,
      { { DCM_Modality, "OT" }, { DCM_ConversionType, "WSD" }, { DCM_PatientOrientation, "L\\F" } });
    if (input.shape.frames > 1)
    {
      d.putAndInsertString(DCM_BurnedInAnnotation, "NO");
      d.putAndInsertTagKey(DCM_FrameIncrementPointer, DCM_FrameTime);
      d.putAndInsertString(DCM_FrameTime, "100");
    }
    if (input.shape.samplesPerPixel == 1 && input.shape.frames > 1)
    {
      PutStrings(d,
        { { DCM_PresentationLUTShape, "IDENTITY" },
          { DCM_RescaleIntercept, "0" },
          { DCM_RescaleSlope, "1" },
          { DCM_RescaleType, "US" } });
    }
  }
  ASSERT_TRUE(fileformat.saveFile(path.c_str(), EXS_LittleEndianExplicit).good());
}

// A fault of the codec library that dciodvfy (or OwnChecks below) finds in what the tools
// write: the lines it adds, and where it is mended.
struct KnownFault
{
  const char* line; // part of each error line the fault adds
  const char* where;
  // Mended on a branch not merged yet: a row that shows only this fault is skipped. Otherwise
  // the row is expected to fail with it, and fails once the fault is gone, so that the mark
  // goes too.
  bool mendedOnBranch;
};

// One file the tools write: the tool, its options and where its input comes from (an input
// above or another row).
struct Row
{
  const char* name;
  const char* from;
  const std::string* tool;
  std::vector<std::string> options;
  std::vector<KnownFault> knownFaults;
};

const Row kRows[] = {
  { "ct_lossless", "ct", &kCompress, {}, {} },
  { "ct_lossy", "ct", &kCompress, { "--encode-lossy" }, {} },
  { "ct_lossy_ratio20", "ct", &kCompress, { "--encode-lossy", "--ratio", "20" }, {} },
  { "ct_uid_always", "ct", &kCompress, { "--uid-always" }, {} },
  { "ct_sc", "ct", &kCompress, { "--convert-to-sc" }, {} },
  { "ct_lossy_sc", "ct", &kCompress, { "--encode-lossy", "--convert-to-sc" }, {} },
  { "rgb_lossless", "rgb", &kCompress, {}, {} },
  { "rgb_lossy", "rgb", &kCompress, { "--encode-lossy" }, {} },
  { "mfword_lossless", "mfword", &kCompress, {}, {} },
  { "mfword_fragments",
    "mfword",
    &kCompress,
    { "--fragment-size", "1", "--offset-table-empty" },
    {} },
  { "mfword_lossy", "mfword", &kCompress, { "--encode-lossy" }, {} },
  { "mfrgb_lossless", "mfrgb", &kCompress, {}, {} },
  { "mfrgb_lossy", "mfrgb", &kCompress, { "--encode-lossy" }, {} },
  { "ct_lossless_decompressed", "ct_lossless", &kDecompress, {}, {} },
  { "ct_lossy_decompressed", "ct_lossy", &kDecompress, {}, {} },
  { "ct_decompressed_uid_always", "ct_lossless", &kDecompress, { "--uid-always" }, {} },
  { "ct_decompressed_implicit", "ct_lossy", &kDecompress, { "--write-xfer-implicit" }, {} },
  { "ct_sc_decompressed", "ct_sc", &kDecompress, {}, {} },
  { "rgb_decompressed_by_plane", "rgb_lossless", &kDecompress, { "--color-by-plane" }, {} },
  { "mfword_decompressed", "mfword_fragments", &kDecompress, {}, {} },
  { "mfrgb_lossy_decompressed", "mfrgb_lossy", &kDecompress, {}, {} },
};

// The files of every input and row, made once, on demand.
class Files
{
public:
  // The path of the named input or row output; empty when it could not be made.
  std::string Get(const std::string& name, std::string* problem = nullptr)
  {
    auto found = paths_.find(name);
    if (found != paths_.end())
      return found->second;
    std::string path = dir_.File(name + ".dcm");
    for (const Input& input : kInputs)
    {
      if (name == input.name)
      {
        MakeInput(input, path);
        return paths_[name] = path;
      }
    }
    for (const Row& row : kRows)
    {
      if (name != row.name)
        continue;
      const std::string in = Get(row.from, problem);
      if (in.empty())
        return std::string();
      std::vector<std::string> args = { *row.tool };
      args.insert(args.end(), row.options.begin(), row.options.end());
      args.push_back(in);
      args.push_back(path);
      const ProcessResult r = RunProcess(args);
      if (!r.ExitedWith(0))
      {
        if (problem != nullptr)
          *problem = name + ": " + r.Describe() + "\n" + r.err;
        return std::string();
      }
      return paths_[name] = path;
    }
    if (problem != nullptr)
      *problem = "no input or row named " + name;
    return std::string();
  }

private:
  TempDir dir_;
  std::map<std::string, std::string> paths_;
};

Files& AllFiles()
{
  static Files files;
  return files;
}

// dciodvfy's errors about a file ("Error - ..." lines), and the IOD it recognised.
struct Verdict
{
  std::string iod;
  std::set<std::string> errors;
  std::string text;
};

Verdict Validate(const std::string& path)
{
  Verdict v;
  ProcessOptions options;
  options.mergeOutput = true;
  const ProcessResult r = RunProcess({ kValidator, path }, options);
  v.text = r.out;
  std::istringstream lines(r.out);
  std::string line;
  while (std::getline(lines, line))
  {
    if (line.compare(0, 8, "Error - ") == 0)
      v.errors.insert(line);
    else if (v.iod.empty() && !line.empty() && line.find(" - ") == std::string::npos)
      v.iod = line;
  }
  return v;
}

unsigned long ValueCount(DcmItem& item, const DcmTagKey& tag)
{
  DcmElement* element = nullptr;
  return item.findAndGetElement(tag, element).good() && element != nullptr ? element->getVM() : 0;
}

std::string GetString(DcmItem& item, const DcmTagKey& tag)
{
  OFString value;
  if (item.findAndGetOFStringArray(tag, value).bad())
    return "<absent>";
  return value.c_str();
}

// What dciodvfy does not check but the standard asks of what the tools write: the meta
// information agrees with the data set, and a lossy image carries its compression ratio
// beside each method.
std::set<std::string> OwnChecks(const std::string& path)
{
  std::set<std::string> problems;
  DcmFileFormat fileformat;
  if (fileformat.loadFile(path.c_str()).bad())
    return { "cannot be read" };
  DcmDataset& d = *fileformat.getDataset();
  DcmItem& meta = *fileformat.getMetaInfo();
  if (GetString(meta, DCM_MediaStorageSOPClassUID) != GetString(d, DCM_SOPClassUID))
    problems.insert("Media Storage SOP Class UID differs from SOP Class UID");
  if (GetString(meta, DCM_MediaStorageSOPInstanceUID) != GetString(d, DCM_SOPInstanceUID))
    problems.insert("Media Storage SOP Instance UID differs from SOP Instance UID");
  if (GetString(d, DCM_LossyImageCompression) == "01")
  {
    const unsigned long ratios = ValueCount(d, DCM_LossyImageCompressionRatio);
    if (ratios == 0)
      problems.insert("Lossy Image Compression \"01\" without Lossy Image Compression Ratio");
    else if (ratios != ValueCount(d, DCM_LossyImageCompressionMethod))
      problems.insert("Lossy Image Compression Ratio and Method differ in their number of values");
  }
  return problems;
}

void PrintTo(const Row& row, std::ostream* os)
{
  *os << row.name;
}

class Conformance : public ::testing::TestWithParam<Row>
{
};

std::string RowName(const ::testing::TestParamInfo<Row>& info)
{
  return info.param.name;
}

} // namespace

// The inputs themselves are clean, so that every row checks the whole of its output.
TEST(ConformanceInputs, AreCleanInstancesOfTheirIOD)
{
  for (const Input& input : kInputs)
  {
    SCOPED_TRACE(input.name);
    const std::string path = AllFiles().Get(input.name);
    ASSERT_FALSE(path.empty());
    const Verdict v = Validate(path);
    EXPECT_TRUE(v.errors.empty()) << v.text;
    EXPECT_FALSE(v.iod.empty()) << v.text;
  }
}

TEST_P(Conformance, NoErrorItsInputDidNotHave)
{
  const Row& row = GetParam();
  std::string problem;
  const std::string output = AllFiles().Get(row.name, &problem);
  ASSERT_FALSE(output.empty()) << problem;
  const std::string input = AllFiles().Get(row.from);
  const Verdict before = Validate(input);
  const Verdict after = Validate(output);
  std::set<std::string> added;
  for (const std::string& e : after.errors)
  {
    if (before.errors.count(e) == 0)
      added.insert(e);
  }
  // A changed instance gets a new UID.
  {
    DcmFileFormat in, out;
    ASSERT_TRUE(in.loadFile(input.c_str()).good());
    ASSERT_TRUE(out.loadFile(output.c_str()).good());
    if (GetString(*in.getDataset(), DCM_SOPClassUID) !=
          GetString(*out.getDataset(), DCM_SOPClassUID) &&
        GetString(*in.getDataset(), DCM_SOPInstanceUID) ==
          GetString(*out.getDataset(), DCM_SOPInstanceUID))
      added.insert("SOP Class UID changed but SOP Instance UID kept");
  }
  const std::set<std::string> ownBefore = OwnChecks(input);
  for (const std::string& p : OwnChecks(output))
  {
    if (ownBefore.count(p) == 0)
      added.insert(p);
  }
  // Each added error is either one of the row's known faults or a failure.
  std::string report;
  std::set<const KnownFault*> seen;
  for (const std::string& e : added)
  {
    const KnownFault* fault = nullptr;
    for (const KnownFault& k : row.knownFaults)
    {
      if (e.find(k.line) != std::string::npos)
        fault = &k;
    }
    if (fault != nullptr)
      seen.insert(fault);
    else
      report += e + "\n";
  }
  EXPECT_TRUE(report.empty()) << "errors the input (" << row.from << ") did not have:\n"
                              << report << "dciodvfy on the output:\n"
                              << after.text;
  std::string mendedOnBranch;
  for (const KnownFault& k : row.knownFaults)
  {
    if (seen.count(&k) != 0)
    {
      std::cout << "expected failure of " << row.name << ": " << k.where << "\n";
      if (k.mendedOnBranch)
        mendedOnBranch += std::string(k.where) + "\n";
    }
    else if (!k.mendedOnBranch)
    {
      ADD_FAILURE() << "the known fault is gone, remove its mark from this row: " << k.where;
    }
  }
  if (report.empty() && !mendedOnBranch.empty())
    GTEST_SKIP() << "known fault(s):\n" << mendedOnBranch;
}

INSTANTIATE_TEST_SUITE_P(Tools, Conformance, ::testing::ValuesIn(kRows), RowName);
