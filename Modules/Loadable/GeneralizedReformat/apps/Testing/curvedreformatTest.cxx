// The curvedreformat command-line tool, run as a program on files.

#include "CurvedReformatFiles.h"
#include "CurvedReformatPreview.h"
#include "DJ2KTestProcess.h"
#include "DicomSeriesWriter.h"
#include "TubePhantom.h"

#include <vtkDataArray.h>
#include <vtkImageData.h>
#include <vtkMath.h>
#include <vtkMatrix3x3.h>
#include <vtkMetaImageReader.h>
#include <vtkNew.h>
#include <vtkPNGReader.h>
#include <vtkPointData.h>
#include <vtkPolyData.h>
#include <vtkTransform.h>
#include <vtkXMLImageDataReader.h>
#include <vtkXMLImageDataWriter.h>
#include <vtkXMLPolyDataReader.h>

#include <vtksys/Directory.hxx>
#include <vtksys/SystemTools.hxx>

#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace
{
struct Result
{
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

class CurvedReformatTool : public ::testing::Test
{
protected:
  void SetUp() override
  {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    this->Dir = std::string(TEST_WORK_DIRECTORY) + "/" + info->name();
    vtksys::SystemTools::RemoveADirectory(this->Dir);
    vtksys::SystemTools::MakeDirectory(this->Dir);
  }

  std::string Path(const std::string& name) const { return this->Dir + "/" + name; }

  Result Run(const std::string& arguments) const
  {
    return this->RunTool(CURVEDREFORMAT_EXECUTABLE, arguments);
  }

  /// Runs \a executable (no shell) with \a arguments, one per blank-separated word (the tests'
  /// paths hold no blanks), collecting both outputs. A run that does not exit (a crash, a
  /// sanitizer report) fails the test.
  Result RunTool(const std::string& executable, const std::string& arguments) const
  {
    std::vector<std::string> argv{ executable };
    std::istringstream words(arguments);
    std::string word;
    while (words >> word)
    {
      argv.push_back(word);
    }
    const dj2ktest::ProcessResult run = dj2ktest::RunProcess(argv);
    EXPECT_TRUE(run.exited && !run.sanitizerReport) << arguments << ": " << run.Describe();
    return Result{ run.exited ? run.exitCode : -1, run.out, run.err };
  }

  static std::string Read(const std::string& path)
  {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  /// Files in the work folder.
  std::vector<std::string> Files() const
  {
    vtksys::Directory directory;
    directory.Load(this->Dir);
    std::vector<std::string> files;
    for (unsigned long i = 0; i < directory.GetNumberOfFiles(); ++i)
    {
      const std::string name = directory.GetFile(i);
      if (name != "." && name != "..")
      {
        files.push_back(name);
      }
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  /// Writes the tube phantom volume (.vti) and its centre line (with a header line).
  void WritePhantom(const std::string& shape,
    const std::string& volume,
    const std::string& curve,
    int points = 25) const
  {
    vtkNew<vtkXMLImageDataWriter> writer;
    writer->SetInputData(TubePhantom::Volume(shape, 4.0));
    writer->SetFileName(Path(volume).c_str());
    ASSERT_TRUE(writer->Write());
    WriteCurve(curve, TubePhantom::ControlPoints(shape, points));
  }

  void WriteCurve(const std::string& name, const std::vector<TubePhantom::Point>& points) const
  {
    std::ofstream out(Path(name));
    out.precision(17);
    out << "x,y,z\n";
    for (const auto& p : points)
    {
      out << p[0] << ", " << p[1] << ", " << p[2] << "\n";
    }
  }

  std::string Dir;
};

#define EXPECT_VEC3_NEAR(a, b, tol)                                                                \
  do                                                                                               \
  {                                                                                                \
    EXPECT_NEAR((a)[0], (b)[0], tol);                                                              \
    EXPECT_NEAR((a)[1], (b)[1], tol);                                                              \
    EXPECT_NEAR((a)[2], (b)[2], tol);                                                              \
  } while (false)

vtkSmartPointer<vtkImageData> ReadVTI(const std::string& path)
{
  vtkNew<vtkXMLImageDataReader> reader;
  reader->SetFileName(path.c_str());
  reader->Update();
  auto image = vtkSmartPointer<vtkImageData>::New();
  image->ShallowCopy(reader->GetOutput());
  return image;
}
}

TEST_F(CurvedReformatTool, HelpAndExitCodes)
{
  Result help = this->Run("--help");
  EXPECT_EQ(help.ExitCode, 0);
  EXPECT_NE(help.Out.find("Usage: curvedreformat --volume IN --curve CURVE.csv --output OUT"),
    std::string::npos);
  EXPECT_EQ(this->Run("-h").ExitCode, 0);
}

TEST_F(CurvedReformatTool, StraightensTheTubeWithAndWithoutStretching)
{
  for (const char* shape : { "arc", "helix" })
  {
    SCOPED_TRACE(shape);
    const std::string volume = std::string(shape) + ".vti";
    const std::string curve = std::string(shape) + ".csv";
    this->WritePhantom(shape, volume, curve);

    const std::string output = Path(std::string(shape) + "-straight.vti");
    Result run =
      this->Run("--volume " + Path(volume) + " --curve " + Path(curve) + " --output " + output +
                " --slice-size 30 30 --projection " + Path(std::string(shape) + ".png") +
                " --planes " + Path(std::string(shape) + "-planes.vtp"));
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_TRUE(run.Err.empty()) << run.Err;
    vtkSmartPointer<vtkImageData> straight = ReadVTI(output);
    int dims[3];
    straight->GetDimensions(dims);
    EXPECT_EQ(dims[0], 30);
    EXPECT_EQ(dims[1], 30);
    EXPECT_GT(dims[2], 100);
    EXPECT_EQ(straight->GetScalarType(), VTK_SHORT);
    // The voxel axes are the straightened box axes: a rotation.
    EXPECT_NEAR(straight->GetDirectionMatrix()->Determinant(), 1.0, 1e-9);
    const double spacing[3] = { 1, 1, 1 };
    const TubePhantom::Straightness s = TubePhantom::Measure(straight, spacing, 4.0);
    EXPECT_GT(s.InsideFraction, 0.98);
    EXPECT_GT(s.OutsideFraction, 0.98);

    vtkNew<vtkPNGReader> png;
    png->SetFileName(Path(std::string(shape) + ".png").c_str());
    png->Update();
    int pngDims[3];
    png->GetOutput()->GetDimensions(pngDims);
    EXPECT_EQ(pngDims[0], 30);
    EXPECT_EQ(pngDims[1], dims[2]);
    EXPECT_EQ(png->GetOutput()->GetScalarType(), VTK_UNSIGNED_CHAR);
    EXPECT_EQ(png->GetOutput()->GetPointData()->GetScalars()->GetRange()[1], 255.0);
    // Windowed to the range (B-spline ringing makes the darkest value slightly negative): the
    // tube's band is bright, the border dark.
    EXPECT_GT(png->GetOutput()->GetScalarComponentAsDouble(15, dims[2] / 2, 0, 0), 200.0);
    EXPECT_LT(png->GetOutput()->GetScalarComponentAsDouble(0, dims[2] / 2, 0, 0), 40.0);

    vtkNew<vtkXMLPolyDataReader> planes;
    planes->SetFileName(Path(std::string(shape) + "-planes.vtp").c_str());
    planes->Update();
    EXPECT_GT(planes->GetOutput()->GetNumberOfPolys(), 20);

    // Stretched: the curve is flattened along the box's X axis only, so the whole tube stays in
    // the wide slices, and the planar arc (whose plane normal is the box's Y axis) stays at
    // mid-height.
    const std::string stretched = Path(std::string(shape) + "-stretched.mha");
    run = this->Run("--volume " + Path(volume) + " --curve " + Path(curve) + " --output " +
                    stretched + " --slice-size 120 30 --stretch --spacing 1");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    vtkNew<vtkMetaImageReader> meta;
    meta->SetFileName(stretched.c_str());
    meta->Update();
    vtkImageData* image = meta->GetOutput();
    image->GetDimensions(dims);
    EXPECT_EQ(dims[0], 120);
    int rowsWithTube = 0;
    int rowsCentred = 0;
    for (int k = 3; k < dims[2] - 3; ++k)
    {
      double sumY = 0;
      double count = 0;
      for (int j = 0; j < dims[1]; ++j)
      {
        for (int i = 0; i < dims[0]; ++i)
        {
          if (image->GetScalarComponentAsDouble(i, j, k, 0) > 500)
          {
            sumY += j;
            ++count;
          }
        }
      }
      if (count > 0)
      {
        ++rowsWithTube;
        rowsCentred += std::abs(sumY / count - 0.5 * (dims[1] - 1)) < 1.0 ? 1 : 0;
      }
    }
    EXPECT_GT(rowsWithTube, 0.95 * (dims[2] - 6));
    if (std::string(shape) == "arc")
    {
      EXPECT_EQ(rowsCentred, rowsWithTube);
    }
  }
}

TEST_F(CurvedReformatTool, ReadsMetaImageAndNrrdInTheirPhysicalFrame)
{
  // The same helix tube, shifted by (100, -50, 25) mm in the files' frame.
  vtkSmartPointer<vtkImageData> phantom = TubePhantom::Volume("helix", 4.0);
  double origin[3];
  phantom->GetOrigin(origin);
  const double shift[3] = { 100, -50, 25 };
  int dims[3];
  phantom->GetDimensions(dims);
  std::vector<TubePhantom::Point> points = TubePhantom::ControlPoints("helix", 25);
  for (auto& p : points)
  {
    for (int k = 0; k < 3; ++k)
    {
      p[k] += shift[k];
    }
  }
  this->WriteCurve("helix.csv", points);
  {
    // NRRD with space directions and origin.
    std::ofstream nrrd(Path("helix.nrrd"), std::ios::binary);
    nrrd << "NRRD0004\ntype: short\ndimension: 3\nspace: right-anterior-superior\nsizes: "
         << dims[0] << " " << dims[1] << " " << dims[2]
         << "\nspace directions: (1,0,0) (0,1,0) (0,0,1)\nkinds: domain domain domain\n"
         << "endian: little\nencoding: raw\nspace origin: (" << origin[0] + shift[0] << ","
         << origin[1] + shift[1] << "," << origin[2] + shift[2] << ")\n\n";
    nrrd.write(static_cast<const char*>(phantom->GetScalarPointer()),
      static_cast<std::streamsize>(phantom->GetNumberOfPoints() * sizeof(short)));
  }
  {
    std::ofstream mha(Path("helix.mha"), std::ios::binary);
    mha << "ObjectType = Image\nNDims = 3\nBinaryData = True\nBinaryDataByteOrderMSB = False\n"
        << "TransformMatrix = 1 0 0 0 1 0 0 0 1\nOffset = " << origin[0] + shift[0] << " "
        << origin[1] + shift[1] << " " << origin[2] + shift[2]
        << "\nElementSpacing = 1 1 1\nDimSize = " << dims[0] << " " << dims[1] << " " << dims[2]
        << "\nElementType = MET_SHORT\nElementDataFile = LOCAL\n";
    mha.write(static_cast<const char*>(phantom->GetScalarPointer()),
      static_cast<std::streamsize>(phantom->GetNumberOfPoints() * sizeof(short)));
  }
  for (const char* input : { "helix.nrrd", "helix.mha" })
  {
    SCOPED_TRACE(input);
    const std::string output = Path(std::string(input) + "-straight.vti");
    const Result run = this->Run("--volume " + Path(input) + " --curve " + Path("helix.csv") +
                                 " --output " + output + " --slice-size 30 30");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const double spacing[3] = { 1, 1, 1 };
    const TubePhantom::Straightness s = TubePhantom::Measure(ReadVTI(output), spacing, 4.0);
    EXPECT_GT(s.InsideFraction, 0.98);
    EXPECT_GT(s.OutsideFraction, 0.98);
  }
}

TEST_F(CurvedReformatTool, ErrorsGiveOneLineAndNoOutputFiles)
{
  this->WritePhantom("arc", "arc.vti", "arc.csv");
  this->WriteCurve("one.csv", { { 0, 20, 0 } });
  this->WriteCurve("outside.csv", { { 500, 500, 500 }, { 600, 500, 500 }, { 700, 500, 500 } });
  {
    std::ofstream garbage(Path("garbage.vti"));
    garbage << "not a volume\n";
    std::ofstream bad(Path("bad.csv"));
    bad << "x,y,z\n1,2,3\n4,five,6\n";
    // 4 of its 8 voxels: MetaIO complained on standard error and the run went on.
    std::ofstream truncated(Path("truncated.mha"), std::ios::binary);
    truncated << "ObjectType = Image\nNDims = 3\nDimSize = 2 2 2\nElementType = MET_UCHAR\n"
              << "ElementDataFile = LOCAL\n1234";
  }
  const std::string out = " --output " + Path("out.vti") + " --projection " + Path("out.png") +
                          " --planes " + Path("out.vtp");
  const std::string good = "--volume " + Path("arc.vti") + " --curve " + Path("arc.csv");
  const struct
  {
    std::string Arguments;
    int ExitCode;
    std::string Message;
  } cases[] = {
    { "--volume " + Path("missing.vti") + " --curve " + Path("arc.csv") + out,
      1,
      "cannot read volume" },
    { "--volume " + Path("garbage.vti") + " --curve " + Path("arc.csv") + out,
      1,
      "cannot read volume" },
    { "--volume " + Path("truncated.mha") + " --curve " + Path("arc.csv") + out,
      1,
      "cannot read volume " + Path("truncated.mha") +
        ": it holds less voxel data than DimSize and ElementType declare" },
    { "--volume " + Path("arc.vti") + " --curve " + Path("one.csv") + out,
      1,
      "has 1 point(s); at least 2 are needed" },
    { "--volume " + Path("arc.vti") + " --curve " + Path("outside.csv") + out,
      1,
      "lies outside the volume" },
    { "--volume " + Path("arc.vti") + " --curve " + Path("bad.csv") + out,
      1,
      "line 3: expected x,y,z" },
    { good + out + " --frobnicate", 2, "unknown option \"--frobnicate\"" },
    { good + out + " --spacing", 2, "--spacing needs a value" },
    { good + out + " --spacing -1", 2, "--spacing needs a positive size" },
    { good + out + " --slice-size 10 wide", 2, "--slice-size expects a number, got \"wide\"" },
    { good + out + " --projection-axis 3", 2, "--projection-axis must be 0, 1 or 2" },
    { good + " --output " + Path("out.nii"), 2, "--output must end in .vti or .mha" },
    { good, 2, "--volume, --curve and --output are required" },
    // A 2 mm curve gives too few curve samples at 1 mm spacing.
    { "--volume " + Path("arc.vti") + " --curve " + Path("short.csv") + out,
      1,
      "is too short: 2 mm gives no straightened volume at 1 mm spacing" },
    { "--volume " + Path("arc.vti") + " --curve " + Dir + out, 1, "is a folder" },
    { "--volume " + Path("arc.vti") + " --curve " + Path("missing.csv") + out,
      1,
      "cannot read curve " + Path("missing.csv") + ": No such file or directory" },
    { good + " --output " + Path("out.vti") + " --projection " + Path("missing/out.png"),
      1,
      "cannot write " + Path("missing/out.png") + ": No such file or directory" },
    { good + " --output " + Path("out.vti") + " --projection-axis 2",
      2,
      "--projection-axis needs --projection" },
    { good + out + " --window 0 100", 2, "--window needs --preview" },
    { good + out + " --preview " + Path("out.jpg"), 2, "--preview must end in .png" },
    { good + out + " --stretch=yes", 2, "--stretch takes no value" },
    { good + out + " --slice-size=30", 2, "--slice-size needs two values (--slice-size=A,B)" },
    { good + out + " --max-memory 4Q", 2, "--max-memory expects a size such as 4G or 512M" },
    { good + out + " --series-uid 1.2.3", 2, "--series-uid needs a DICOM volume" },
    // Outputs far too large are refused by their size before anything is allocated.
    { good + out + " --spacing 0.01", 1, "the straightened volume would need about " },
    { good + out + " --slice-size 100000 100000", 1, "(100000 x 100000 x " },
    { good + out + " --max-memory 1M", 1, "more than the 1 MB that --max-memory allows" },
    // A slice narrower than the spacing: refused before the work (a huge height gave an extent
    // beyond the range of int in the reformat logic).
    { good + out + " --slice-size 1 1e21 --spacing 2",
      1,
      "the straightened volume would be empty: the slice size 1 x 1e+21 mm is smaller than the "
      "spacing 2 mm" },
    // A mistyped coordinate: named, and refused by the same estimate.
    { "--volume " + Path("arc.vti") + " --curve " + Path("mistyped.csv") + out,
      1,
      "curve point (1e+11, 20, 0) on line 4 of " + Path("mistyped.csv") +
        " lies 1e+11 mm outside the volume" },
  };
  this->WriteCurve("short.csv", { { 40, -20, 0 }, { 40, -18, 0 } });
  this->WriteCurve("mistyped.csv", { { 40, -20, 0 }, { 0, 20, 0 }, { 1e11, 20, 0 } });
  const std::vector<std::string> before = this->Files();
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.Arguments);
    const Result run = this->Run(c.Arguments);
    EXPECT_EQ(run.ExitCode, c.ExitCode);
    EXPECT_NE(run.Err.find(c.Message), std::string::npos) << run.Err;
    EXPECT_EQ(run.Err.rfind("curvedreformat: ", 0), 0u) << run.Err;
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
    EXPECT_EQ(this->Files(), before) << "no output, partial or final";
  }
}

TEST_F(CurvedReformatTool, OptionsInTheirEqualsFormVersionAndProgress)
{
  this->WritePhantom("arc", "arc.vti", "arc.csv");
  const Result version = this->Run("--version");
  EXPECT_EQ(version.ExitCode, 0);
  EXPECT_EQ(version.Out, "curvedreformat " VIREON_PROJECT_VERSION "\n");

  // --option=value forms, two values separated by a comma; --verbose shows each stage's
  // progress as lines rising to 100 %.
  Result run = this->Run("--volume=" + Path("arc.vti") + " --curve=" + Path("arc.csv") +
                         " --output=" + Path("out.vti") + " --slice-size=30,20 --spacing=1 -v");
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  int dims[3];
  ReadVTI(Path("out.vti"))->GetDimensions(dims);
  EXPECT_EQ(dims[0], 30);
  EXPECT_EQ(dims[1], 20);
  for (const char* stage : { "reading", "straightening", "writing" })
  {
    SCOPED_TRACE(stage);
    std::vector<int> percents;
    std::istringstream lines(run.Err);
    std::string line;
    const std::string prefix = std::string("curvedreformat: ") + stage + " ";
    while (std::getline(lines, line))
    {
      if (line.rfind(prefix, 0) == 0)
      {
        percents.push_back(std::atoi(line.c_str() + prefix.size()));
      }
    }
    ASSERT_FALSE(percents.empty()) << run.Err;
    EXPECT_EQ(percents.front(), 0);
    EXPECT_EQ(percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  }
  std::istringstream lines(run.Err);
  std::string line;
  while (std::getline(lines, line))
  {
    EXPECT_EQ(line.rfind("curvedreformat: ", 0), 0u) << line;
    EXPECT_EQ(line.back(), '%') << line;
  }
}

namespace
{
/// \a name with dashes for blanks, for file names on a command line.
std::string FileName(std::string name)
{
  std::replace(name.begin(), name.end(), ' ', '-');
  return name;
}

/// The tube phantom in the voxels of \a geometry.
vtkSmartPointer<vtkImageData> PhantomIn(const std::string& shape, const SeriesGeometry& geometry)
{
  return Resample(TubePhantom::Volume(shape, 4.0), geometry);
}

/// The phantom's own voxel grid (axis-aligned, 1 mm).
SeriesGeometry PhantomGeometry(const std::string& shape)
{
  vtkSmartPointer<vtkImageData> phantom = TubePhantom::Volume(shape, 4.0);
  SeriesGeometry geometry;
  phantom->GetDimensions(geometry.Dimensions);
  phantom->GetOrigin(geometry.Origin);
  return geometry;
}

/// Compresses \a file in place with a DCMTK-style tool (program, input, output).
void Compress(const std::string& program, const std::string& file)
{
  const std::string compressed = file + ".compressed";
  const dj2ktest::ProcessResult result = dj2ktest::RunProcess({ program, file, compressed });
  ASSERT_TRUE(result.ExitedWith(0)) << program << ": " << result.Describe() << "\n" << result.err;
  ASSERT_EQ(std::rename(compressed.c_str(), file.c_str()), 0);
}

/// Loads a DICOM file, changes its data set and saves it again.
template <typename Change>
void Modify(const std::string& path, Change change)
{
  DcmFileFormat file;
  ASSERT_TRUE(file.loadFile(path.c_str()).good()) << path;
  change(file.getDataset());
  ASSERT_TRUE(file.saveFile(path.c_str(), EXS_LittleEndianExplicit).good()) << path;
}
}

TEST_F(CurvedReformatTool, StraightensDicomSeries)
{
  // The helix tube written as DICOM CT series in several ways; each straightened volume must
  // hold the straight tube. Series on the phantom's own voxels must give exactly what the
  // phantom's .vti file gives: same voxels, same rescaled values, same geometry.
  const SeriesGeometry aligned = PhantomGeometry("helix");
  this->WritePhantom("helix", "helix.vti", "helix.csv");
  const std::string arguments = " --curve " + Path("helix.csv") + " --slice-size 30 30 --spacing 1";
  const Result reference =
    this->Run("--volume " + Path("helix.vti") + " --output " + Path("reference.vti") + arguments);
  ASSERT_EQ(reference.ExitCode, 0) << reference.Err;
  vtkSmartPointer<vtkImageData> expected = ReadVTI(Path("reference.vti"));

  // Oblique: rotated rows and columns, non-square pixels, slices 1.1 mm apart, covering the
  // phantom.
  SeriesGeometry oblique;
  {
    vtkNew<vtkTransform> rotation;
    rotation->RotateWXYZ(25, 1, 2, 0.5);
    const double x[3] = { 1, 0, 0 }, y[3] = { 0, 1, 0 }, z[3] = { 0, 0, 1 };
    rotation->TransformVector(x, oblique.Row);
    rotation->TransformVector(y, oblique.Column);
    rotation->TransformVector(z, oblique.Step);
    const double spacing[3] = { 0.9, 1.0, 1.1 };
    const double side = 116.0; // mm: the phantom's diagonal
    double centre[3];
    for (int k = 0; k < 3; ++k)
    {
      centre[k] = aligned.Origin[k] + 0.5 * (aligned.Dimensions[k] - 1);
    }
    for (int k = 0; k < 3; ++k)
    {
      oblique.Spacing[k] = spacing[k];
      oblique.Dimensions[k] = static_cast<int>(side / spacing[k]) + 1;
    }
    for (int r = 0; r < 3; ++r)
    {
      oblique.Origin[r] =
        centre[r] - 0.5 * side * (oblique.Row[r] + oblique.Column[r] + oblique.Step[r]);
    }
  }
  // Gantry tilt of 15 degrees: the slices lie in axial planes, but each is shifted along the
  // columns by tan(15) of the slice step.
  SeriesGeometry tilted = aligned;
  {
    const double tilt = vtkMath::RadiansFromDegrees(15.0);
    tilted.Step[1] = std::sin(tilt);
    tilted.Step[2] = std::cos(tilt);
    tilted.Spacing[2] = 1.0 / std::cos(tilt); // 1 mm between the slice planes
    tilted.Dimensions[1] += 24;
    tilted.Origin[1] -= 12 + 0.5 * aligned.Dimensions[2] * std::tan(tilt);
  }

  const struct
  {
    const char* Name;
    const SeriesGeometry* Geometry;
    SeriesOptions Options;
    bool Compressed;
    int ScalarType;
  } cases[] = {
    { "out of order", &aligned, SeriesOptions(), false, VTK_SHORT },
    { "compressed", &aligned, SeriesOptions(), true, VTK_SHORT },
    { "oblique", &oblique, { "", "Oblique", -1000.0, 2.0, false, "slice" }, false, VTK_SHORT },
    { "gantry tilt", &tilted, SeriesOptions(), false, VTK_SHORT },
    { "multi-frame", &aligned, { "", "Enhanced", -0.5, 0.5, true, "frames" }, false, VTK_FLOAT },
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.Name);
    const std::string folder = Path("series-" + FileName(c.Name));
    vtksys::SystemTools::MakeDirectory(folder);
    const std::vector<std::string> files =
      WriteSeries(folder, PhantomIn("helix", *c.Geometry), *c.Geometry, c.Options);
    if (c.Compressed)
    {
      // Every fifth file uncompressed, the others JPEG 2000, JPEG-LS, RLE and lossless JPEG.
      const char* programs[] = {
        nullptr, DCMCJ2K_EXECUTABLE, DCMCJPLS_EXECUTABLE, DCMCRLE_EXECUTABLE, DCMCJPEG_EXECUTABLE
      };
      for (size_t i = 0; i < files.size(); ++i)
      {
        if (const char* program = programs[i % 5])
        {
          Compress(program, files[i]);
        }
      }
    }
    const std::string input = c.Options.MultiFrame ? files.front() : folder;
    const std::string output = Path("straight-" + FileName(c.Name) + ".vti");
    const Result run = this->Run("--volume " + input + " --output " + output + arguments);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    vtkSmartPointer<vtkImageData> straight = ReadVTI(output);
    EXPECT_EQ(straight->GetScalarType(), c.ScalarType);
    const double spacing[3] = { 1, 1, 1 };
    const TubePhantom::Straightness s = TubePhantom::Measure(straight, spacing, 4.0);
    EXPECT_GT(s.InsideFraction, 0.97);
    EXPECT_GT(s.OutsideFraction, 0.97);
    if (c.Geometry == &aligned)
    {
      vtkDataArray* values = straight->GetPointData()->GetScalars();
      vtkDataArray* expectedValues = expected->GetPointData()->GetScalars();
      ASSERT_EQ(values->GetNumberOfTuples(), expectedValues->GetNumberOfTuples());
      double largest = 0.0;
      for (vtkIdType id = 0; id < values->GetNumberOfTuples(); ++id)
      {
        largest = std::max(
          largest, std::abs(values->GetComponent(id, 0) - expectedValues->GetComponent(id, 0)));
      }
      // Float voxels (the multi-frame series) are interpolated without rounding to integers.
      EXPECT_LE(largest, c.ScalarType == VTK_FLOAT ? 0.5 : 0.0);
      EXPECT_VEC3_NEAR(straight->GetOrigin(), expected->GetOrigin(), 1e-9);
    }
  }
}

TEST_F(CurvedReformatTool, DicomSeriesThatMakeNoVolumeAreRefusedByName)
{
  // A small series, 8 x 8 pixels, 6 slices 2 mm apart, changed in one way each time.
  SeriesGeometry geometry;
  geometry.Dimensions[0] = geometry.Dimensions[1] = 8;
  geometry.Dimensions[2] = 6;
  geometry.Spacing[2] = 2.0;
  auto constantImage = [&](double value)
  {
    auto image = vtkSmartPointer<vtkImageData>::New();
    image->SetDimensions(geometry.Dimensions);
    image->AllocateScalars(VTK_SHORT, 1);
    image->GetPointData()->GetScalars()->Fill(value);
    return image;
  };
  vtkSmartPointer<vtkImageData> image = constantImage(100);
  this->WriteCurve("line.csv", { { 4, 4, 0 }, { 4, 4, 10 } });

  using Files = std::vector<std::string>;
  const struct
  {
    const char* Name;
    std::function<void(const std::string& folder, const Files& files)> Change;
    std::string Message; // with {0}, {1}: the names of files[0], files[1]
  } cases[] = {
    { "mixed sizes",
      [](const std::string&, const Files& files)
      { Modify(files[3], [](DcmDataset* d) { d->putAndInsertUint16(DCM_Columns, 4); }); },
      "mixed image sizes: " },
    { "missing position",
      [](const std::string&, const Files& files) {
        Modify(files[2], [](DcmDataset* d) { d->findAndDeleteElement(DCM_ImagePositionPatient); });
      },
      "{2} has no Image Position (Patient)" },
    { "mixed orientations",
      [](const std::string&, const Files& files)
      {
        Modify(files[4],
          [](DcmDataset* d)
          { d->putAndInsertString(DCM_ImageOrientationPatient, "1\\0\\0\\0\\0.8\\0.6"); });
      },
      "mixed orientations: " },
    { "a slice missing",
      [](const std::string&, const Files& files) { std::remove(files[3].c_str()); },
      "uneven slice gaps (a slice missing?): the largest is 4 mm, between {2} and {4}" },
    { "two slices at one place",
      [](const std::string&, const Files& files)
      {
        Modify(files[4],
          [](DcmDataset* d) { d->putAndInsertString(DCM_ImagePositionPatient, "0\\0\\6"); });
      },
      " lie at the same position" },
    { "colour",
      [](const std::string&, const Files& files)
      { Modify(files[0], [](DcmDataset* d) { d->putAndInsertUint16(DCM_SamplesPerPixel, 3); }); },
      "colour images (Samples per Pixel 3) are not supported" },
    { "no images",
      [](const std::string&, const Files& files)
      {
        for (const std::string& file : files)
        {
          std::remove(file.c_str());
        }
      },
      "no DICOM images in the folder" },
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.Name);
    const std::string folder = Path("series-" + FileName(c.Name));
    vtksys::SystemTools::MakeDirectory(folder);
    const Files files = WriteSeries(folder, image, geometry);
    c.Change(folder, files);
    std::string message = c.Message;
    for (int i = 0; i < 6; ++i)
    {
      const std::string mark = "{" + std::to_string(i) + "}";
      const size_t at = message.find(mark);
      if (at != std::string::npos)
      {
        message.replace(at, mark.size(), files[i]);
      }
    }
    const Result run = this->Run(
      "--volume " + folder + " --curve " + Path("line.csv") + " --output " + Path("out.vti"));
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find(message), std::string::npos) << run.Err;
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
    EXPECT_FALSE(vtksys::SystemTools::FileExists(Path("out.vti")));
  }

  // One image is not a volume.
  const Files single =
    WriteSeries(Path("."), image, geometry, { "", "Tube", -1024, 1, false, "single" });
  Result run = this->Run(
    "--volume " + single[0] + " --curve " + Path("line.csv") + " --output " + Path("out.vti"));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_NE(
    run.Err.find("a single image, not a volume (give the folder of its series)"), std::string::npos)
    << run.Err;

  // Two series in one folder: listed with their descriptions and slice counts until one is
  // chosen.
  const std::string both = Path("two-series");
  vtksys::SystemTools::MakeDirectory(both);
  WriteSeries(
    both, image, geometry, { "1.2.826.0.1.3680043.2.1125.1", "Arterial", -1024, 1, false, "a" });
  SeriesGeometry shorter = geometry;
  shorter.Dimensions[2] = 5;
  WriteSeries(both,
    constantImage(300),
    shorter,
    { "1.2.826.0.1.3680043.2.1125.2", "Venous", -1024, 1, false, "v" });
  run =
    this->Run("--volume " + both + " --curve " + Path("line.csv") + " --output " + Path("out.vti"));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_NE(run.Err.find(both + " holds 2 series; choose one with --series-uid:\n"
                                "  1.2.826.0.1.3680043.2.1125.1  \"Arterial\", 6 slices\n"
                                "  1.2.826.0.1.3680043.2.1125.2  \"Venous\", 5 slices\n"),
    std::string::npos)
    << run.Err;
  run = this->Run("--volume " + both + " --series-uid 1.2.3 --curve " + Path("line.csv") +
                  " --output " + Path("out.vti"));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_NE(run.Err.find("no series 1.2.3 in " + both + "; it holds:"), std::string::npos)
    << run.Err;
  run = this->Run("--volume " + both + " --series-uid 1.2.826.0.1.3680043.2.1125.2 --curve " +
                  Path("line.csv") + " --output " + Path("out.vti") + " --slice-size 6 6");
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  double range[2];
  ReadVTI(Path("out.vti"))->GetPointData()->GetScalars()->GetRange(range);
  EXPECT_EQ(range[1], 300) << "the venous series";
}

TEST_F(CurvedReformatTool, PreviewShowsBothCutsThroughTheCentreLine)
{
  // The preview's pixels against the straightened volume written beside it: at one pixel per
  // voxel, the X-Z cut's column through the centre line and the Y-Z cut's columns hold the
  // windowed voxels of the middle row and column, down the curve.
  this->WritePhantom("helix", "helix.vti", "helix.csv");
  const std::string common = "--volume " + Path("helix.vti") + " --curve " + Path("helix.csv") +
                             " --output " + Path("straight.vti") + " --slice-size 30 40";
  Result run = this->Run(common + " --preview " + Path("window.png") + " --window 500 1000");
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  run = this->Run(common + " --preview " + Path("default.png"));
  ASSERT_EQ(run.ExitCode, 0) << run.Err;

  CurvedReformat::Volume straight;
  straight.Image = ReadVTI(Path("straight.vti"));
  straight.Image->GetSpacing(straight.Spacing);
  int dims[3];
  straight.Image->GetDimensions(dims);
  const CurvedReformat::PreviewLayout layout = CurvedReformat::LayoutPreview(straight);
  EXPECT_NEAR(layout.PixelSize, 1.0, 1e-9);
  EXPECT_EQ(layout.CutWidth[0], 30);
  EXPECT_EQ(layout.CutWidth[1], 40);
  EXPECT_EQ(layout.CutHeight, dims[2]);

  // PNG rows from the top; vtkPNGReader puts the top row at the highest y.
  auto readPicture = [&](const std::string& name)
  {
    vtkNew<vtkPNGReader> reader;
    reader->SetFileName(Path(name).c_str());
    reader->Update();
    auto picture = vtkSmartPointer<vtkImageData>::New();
    picture->ShallowCopy(reader->GetOutput());
    return picture;
  };
  vtkSmartPointer<vtkImageData> windowed = readPicture("window.png");
  int size[3];
  windowed->GetDimensions(size);
  ASSERT_EQ(size[0], layout.Width);
  ASSERT_EQ(size[1], layout.Height);
  auto pixel = [&](vtkImageData* picture, int x, int y)
  { return picture->GetScalarComponentAsDouble(x, layout.Height - 1 - y, 0, 0); };
  auto grey = [](double value)
  { return std::lround(std::min(std::max(255.0 * value / 1000.0, 0.0), 255.0)); };
  for (int k = 0; k < dims[2]; k += 7)
  {
    EXPECT_EQ(pixel(windowed, layout.CutLeft[0] + 15, layout.CutTop + k),
      grey(straight.Image->GetScalarComponentAsDouble(15, 20, k, 0)))
      << "X-Z, row " << k;
    for (int j = 0; j < 40; j += 3)
    {
      EXPECT_EQ(pixel(windowed, layout.CutLeft[1] + j, layout.CutTop + k),
        grey(straight.Image->GetScalarComponentAsDouble(15, j, k, 0)))
        << "Y-Z, row " << k << ", column " << j;
    }
  }
  // The scale bar: a round length, drawn to scale.
  const double mantissa =
    layout.ScaleBarMillimetres / std::pow(10.0, std::floor(std::log10(layout.ScaleBarMillimetres)));
  EXPECT_TRUE(mantissa == 1.0 || mantissa == 2.0 || mantissa == 5.0) << layout.ScaleBarMillimetres;
  EXPECT_EQ(layout.ScaleBarLength, std::lround(layout.ScaleBarMillimetres / layout.PixelSize));
  int bar = 0;
  for (int x = 0; x < layout.Width; ++x)
  {
    bar += pixel(windowed, x, layout.ScaleBarTop + 1) == 255 ? 1 : 0;
  }
  EXPECT_EQ(bar, layout.ScaleBarLength);

  // The default window runs from the 1st to the 99th percentile (B-spline ringing reaches
  // beyond the tube's value): the tube light, the background dark.
  vtkSmartPointer<vtkImageData> automatic = readPicture("default.png");
  const int middle = dims[2] / 2;
  EXPECT_GT(pixel(automatic, layout.CutLeft[0] + 15, layout.CutTop + middle), 200);
  EXPECT_LT(pixel(automatic, layout.CutLeft[0] + 1, layout.CutTop + middle), 40);
}

TEST(CurvedReformatPreview, LayoutKeepsThePhysicalAspectWithinItsSize)
{
  // Anisotropic voxels: one pixel per smallest spacing. A long volume: the picture's height
  // stays within 2048 pixels.
  const struct
  {
    int Dimensions[3];
    double Spacing[3];
    double PixelSize;
  } cases[] = {
    { { 40, 60, 100 }, { 0.5, 0.5, 2.0 }, 0.5 },
    { { 20, 30, 5000 }, { 1.0, 1.0, 2.0 }, 0.0 },
  };
  for (const auto& c : cases)
  {
    CurvedReformat::Volume volume;
    volume.Image = vtkSmartPointer<vtkImageData>::New();
    volume.Image->SetDimensions(c.Dimensions);
    std::copy(c.Spacing, c.Spacing + 3, volume.Spacing);
    const CurvedReformat::PreviewLayout layout = CurvedReformat::LayoutPreview(volume);
    if (c.PixelSize > 0)
    {
      EXPECT_NEAR(layout.PixelSize, c.PixelSize, 1e-12);
    }
    EXPECT_LE(layout.Height, 2048);
    EXPECT_LE(layout.Width, 2048);
    for (int cut = 0; cut < 2; ++cut)
    {
      EXPECT_NEAR(layout.CutWidth[cut] * layout.PixelSize,
        c.Dimensions[cut] * c.Spacing[cut],
        layout.PixelSize);
    }
    EXPECT_NEAR(
      layout.CutHeight * layout.PixelSize, c.Dimensions[2] * c.Spacing[2], layout.PixelSize);
    EXPECT_GT(layout.CutLeft[1], layout.CutLeft[0] + layout.CutWidth[0]);
    EXPECT_GT(layout.ScaleBarTop, layout.CutTop + layout.CutHeight);
  }
}

TEST_F(CurvedReformatTool, TubePhantomWritesBothFilesOrNone)
{
  const Result written = this->RunTool(
    TUBEPHANTOM_EXECUTABLE, "arc " + Path("arc.mha") + " " + Path("arc.csv") + " 4 9");
  ASSERT_EQ(written.ExitCode, 0) << written.Err;
  EXPECT_EQ(this->Files(), (std::vector<std::string>{ "arc.csv", "arc.mha" }));
  const std::string curve = Read(Path("arc.csv"));
  EXPECT_EQ(std::count(curve.begin(), curve.end(), '\n'), 10) << "a header and 9 points";

  // Either file unwritable: a one-line message, an error status, and no file of the pair.
  const std::vector<std::string> before = this->Files();
  const struct
  {
    std::string Arguments;
    std::string Message;
  } cases[] = {
    { "helix " + Path("missing/helix.vti") + " " + Path("helix.csv"),
      "tubephantom: cannot write " + Path("missing/helix.vti") + ": No such file or directory" },
    { "helix " + Path("helix.vti") + " " + Path("missing/helix.csv"),
      "tubephantom: cannot write " + Path("missing/helix.csv") + ": No such file or directory" },
    { "helix " + Path("helix.vti") + " " + Dir,
      "tubephantom: cannot write " + Dir + ": Is a directory" },
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.Arguments);
    const Result run = this->RunTool(TUBEPHANTOM_EXECUTABLE, c.Arguments);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, c.Message + "\n");
    EXPECT_TRUE(run.Out.empty()) << run.Out;
    EXPECT_EQ(this->Files(), before);
  }
  // A straightened volume that cannot be read: one line, not VTK's report.
  const Result measure = this->RunTool(TUBEPHANTOM_EXECUTABLE, "measure " + Path("none.vti"));
  EXPECT_EQ(measure.ExitCode, 1);
  EXPECT_EQ(measure.Err, "tubephantom: cannot read " + Path("none.vti") + "\n");
}

TEST_F(CurvedReformatTool, OutputsAreWrittenThroughSymbolicLinks)
{
  // The project's safe writer: a link given as output stays a link, its target gets the volume.
  this->WritePhantom("arc", "arc.vti", "arc.csv");
  vtksys::SystemTools::MakeDirectory(Path("elsewhere"));
  {
    std::ofstream old(Path("elsewhere/straight.vti"));
    old << "old content\n";
  }
  ASSERT_TRUE(vtksys::SystemTools::CreateSymlink("elsewhere/straight.vti", Path("straight.vti")));
  const Result run = this->Run("--volume " + Path("arc.vti") + " --curve " + Path("arc.csv") +
                               " --output " + Path("straight.vti") + " --slice-size 20 20");
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_TRUE(vtksys::SystemTools::FileIsSymlink(Path("straight.vti")));
  int dims[3];
  ReadVTI(Path("elsewhere/straight.vti"))->GetDimensions(dims);
  EXPECT_EQ(dims[0], 20);
  EXPECT_EQ(
    this->Files(), (std::vector<std::string>{ "arc.csv", "arc.vti", "elsewhere", "straight.vti" }));
}

namespace
{
/// 16-bit little-endian voxels 0, 1, 2, ... as raw bytes.
std::string ShortRamp(int count)
{
  std::string bytes;
  for (int i = 0; i < count; ++i)
  {
    bytes += static_cast<char>(i & 0xFF);
    bytes += static_cast<char>(i >> 8);
  }
  return bytes;
}

std::string Deflated(const std::string& bytes, int windowBits)
{
  z_stream stream{};
  EXPECT_EQ(deflateInit2(&stream, 6, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY), Z_OK);
  std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())) + 32, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

const std::string MetaHeader =
  "ObjectType = Image\nNDims = 3\nDimSize = 2 2 2\nElementType = MET_SHORT\n";
const std::string NrrdHeader = "NRRD0004\ntype: short\ndimension: 3\nsizes: 2 2 2\nendian: little\n";
}

TEST_F(CurvedReformatTool, ReadVolumeRefusesHeadersItCannotReadCompletely)
{
  // Each was read wrongly before: VTK's NRRD reader hung on an unended header or a NUL byte and
  // crashed without dimension or sizes; both readers left the voxels missing from a short file
  // (or compressed data in a MetaImage file without its size) undefined; zero spacing, and axes
  // that are not unit vectors or do not span space, were taken as geometry.
  const std::string eight = ShortRamp(8);
  const struct
  {
    std::string Name;
    std::string Content;
    std::string Message;
  } cases[] = {
    { "unended.nrrd", NrrdHeader + "encoding: raw", "its header ends in the middle of a line" },
    { "nul.nrrd", NrrdHeader + "spacings: 1" + std::string(1, '\0') + " 1 2\nencoding: raw\n\n" +
        eight, "line 6 of its header holds a NUL byte" },
    { "magic.nrrd", "NRRD0001\n", "dimension must be 3, or 4 with the voxel components first" },
    { "flat.nrrd", "NRRD0004\ntype: short\ndimension: 2\nsizes: 2 2\nencoding: raw\n\n" + eight,
      "dimension must be 3, or 4 with the voxel components first" },
    { "nosizes.nrrd", "NRRD0004\ntype: short\ndimension: 3\nencoding: raw\n\n" + eight,
      "sizes must give 3 positive sizes" },
    { "noblank.nrrd", NrrdHeader + "encoding: raw\n",
      "its header does not end with an empty line before the voxel data" },
    { "short.nrrd", NrrdHeader + "encoding: raw\n\n" + eight.substr(0, 15),
      "it holds less voxel data than its sizes and type declare" },
    { "text.nrrd", NrrdHeader + "encoding: ascii\n\n1 2 3 4 5 6 7\n",
      "it holds less voxel data than its sizes and type declare" },
    { "gzip.nrrd", NrrdHeader + "encoding: gzip\n\n" + Deflated(eight.substr(0, 12), 15 + 16),
      "it holds less voxel data than its sizes and type declare" },
    { "broken.nrrd", NrrdHeader + "encoding: gzip\n\n" + "not gzip data at all",
      "its compressed voxel data is broken" },
    { "hex.nrrd", NrrdHeader + "encoding: hex\n\n" + eight,
      "encoding hex is not supported (raw, ascii or gzip)" },
    { "list.nhdr", NrrdHeader + "encoding: raw\ndata file: LIST\nslice0.raw\n",
      "data file must name one file" },
    { "zero.nrrd", NrrdHeader + "spacings: 0 0 1\nencoding: raw\n\n" + eight,
      "voxel spacing 0 0 1 is not positive" },
    { "plane.nrrd",
      NrrdHeader + "space: RAS\nspace directions: (1,0,0) (0,1,0) (1,1,0)\nencoding: raw\n\n" +
        eight,
      "its voxel axes do not span space" },
    { "short.mha", MetaHeader + "ElementDataFile = LOCAL\n" + eight.substr(0, 10),
      "it holds less voxel data than DimSize and ElementType declare" },
    { "zshort.mha",
      MetaHeader + "CompressedData = True\nCompressedDataSize = " +
        std::to_string(Deflated(eight.substr(0, 12), 15).size()) + "\nElementDataFile = LOCAL\n" +
        Deflated(eight.substr(0, 12), 15),
      "it holds less voxel data than DimSize and ElementType declare" },
    { "zsize.mha",
      MetaHeader + "CompressedData = True\nElementDataFile = LOCAL\n" + Deflated(eight, 15),
      "compressed voxel data in the header's file needs CompressedDataSize" },
    { "scaled.mha",
      MetaHeader + "TransformMatrix = 2 0 0 0 1 0 0 0 1\nElementDataFile = LOCAL\n" + eight,
      "voxel axis 1 is not a unit vector" },
    { "nodata.mhd", MetaHeader + "ElementDataFile = missing.raw\n",
      "its data file " + Path("missing.raw") + ": No such file or directory" },
    { "unended.mha", MetaHeader, "its header has no ElementDataFile" },
    { "misspelt.mha", MetaHeader + "ElementDataFile = LOCAl\n" + eight,
      "its data file " + Path("LOCAl") + ": No such file or directory" },
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.Name);
    {
      std::ofstream(Path(c.Name), std::ios::binary) << c.Content;
    }
    vtkNew<CurvedReformat::CapturingOutputWindow> errors;
    try
    {
      CurvedReformat::ReadVolume(Path(c.Name), "", errors, {});
      ADD_FAILURE() << "read";
    }
    catch (const CurvedReformat::Failure& failure)
    {
      EXPECT_EQ(failure.Message, "cannot read volume " + Path(c.Name) + ": " + c.Message);
      EXPECT_EQ(failure.ExitCode, 1);
    }
  }
}

TEST_F(CurvedReformatTool, ReadVolumeTakesCompleteHeaderVariants)
{
  // What the checks above must let through, with the voxels and geometry the file declares:
  // compressed and text voxels, a data file beside the header, axes given to 4 decimals, a NRRD
  // with the voxel components first. The 3-D NRRD files are 2 voxels deep along their first axis,
  // which VTK's reader takes for 2 components of a 2 x 2 x 1 image (their voxels and spacing were
  // misplaced before). MetaIO's own complaints (text voxels without a last line end) stay off
  // standard error.
  const std::string eight = ShortRamp(8);
  std::ofstream(Path("voxels.raw"), std::ios::binary) << eight;
  const struct
  {
    std::string Name;
    std::string Content;
    int Components;
    double Spacing[3];
    double FirstAxis[3];
  } cases[] = {
    { "zlib.mha",
      MetaHeader + "CompressedData = True\nCompressedDataSize = " +
        std::to_string(Deflated(eight, 15).size()) + "\nElementDataFile = LOCAL\n" +
        Deflated(eight, 15),
      1, { 1, 1, 1 }, { 1, 0, 0 } },
    { "text.mha", MetaHeader + "BinaryData = False\nElementDataFile = LOCAL\n0 1 2 3 4 5 6 7", 1,
      { 1, 1, 1 }, { 1, 0, 0 } },
    { "turned.mha",
      MetaHeader + "TransformMatrix = 0.7071 0.7071 0 -0.7071 0.7071 0 0 0 1\n" +
        "ElementSpacing = 1 2 3\nElementDataFile = voxels.raw\n",
      1, { 1, 2, 3 }, { 1 / std::sqrt(2.0), 1 / std::sqrt(2.0), 0 } },
    { "gzip.nrrd",
      NrrdHeader + "spacings: 2 3 4\nencoding: gzip\n\n" + Deflated(eight, 15 + 16), 1,
      { 2, 3, 4 }, { 1, 0, 0 } },
    { "detached.nhdr",
      NrrdHeader + "space: RAS\nspace directions: (0,2,0) (-2,0,0) (0,0,3)\nencoding: raw\n" +
        "data file: voxels.raw\n",
      1, { 2, 2, 3 }, { 0, 1, 0 } },
    { "vector.nrrd",
      "NRRD0004\ntype: short\ndimension: 4\nsizes: 2 2 2 1\nkinds: vector domain domain domain\n"
      "endian: little\nspace: RAS\nspace directions: none (0,2,0) (-2,0,0) (0,0,3)\n"
      "encoding: raw\n\n" +
        eight,
      2, { 2, 2, 3 }, { 0, 1, 0 } },
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.Name);
    {
      std::ofstream(Path(c.Name), std::ios::binary) << c.Content;
    }
    vtkNew<CurvedReformat::CapturingOutputWindow> errors;
    std::ostringstream standardError;
    std::streambuf* old = std::cerr.rdbuf(standardError.rdbuf());
    CurvedReformat::Volume volume;
    try
    {
      volume = CurvedReformat::ReadVolume(Path(c.Name), "", errors, {});
    }
    catch (const CurvedReformat::Failure& failure)
    {
      ADD_FAILURE() << failure.Message;
    }
    std::cerr.rdbuf(old);
    EXPECT_EQ(standardError.str(), "");
    ASSERT_NE(volume.Image, nullptr);
    ASSERT_EQ(volume.Image->GetNumberOfScalarComponents(), c.Components);
    vtkDataArray* scalars = volume.Image->GetPointData()->GetScalars();
    ASSERT_EQ(scalars->GetNumberOfValues(), 8);
    for (int i = 0; i < 8; ++i)
    {
      EXPECT_EQ(scalars->GetComponent(i / c.Components, i % c.Components), i);
    }
    for (int k = 0; k < 3; ++k)
    {
      EXPECT_NEAR(volume.Spacing[k], c.Spacing[k], 1e-12);
      EXPECT_NEAR(volume.Directions[k][0], c.FirstAxis[k], 1e-12);
    }
    const double* axis = &volume.Directions[0][0];
    EXPECT_NEAR(std::sqrt(axis[0] * axis[0] + axis[3] * axis[3] + axis[6] * axis[6]), 1.0, 1e-12);
  }
}
