// The curvedreformat command-line tool, run as a program on files.

#include "TubePhantom.h"

#include <vtkImageData.h>
#include <vtkMatrix3x3.h>
#include <vtkMetaImageReader.h>
#include <vtkNew.h>
#include <vtkPNGReader.h>
#include <vtkPointData.h>
#include <vtkPolyData.h>
#include <vtkXMLImageDataReader.h>
#include <vtkXMLImageDataWriter.h>
#include <vtkXMLPolyDataReader.h>

#include <vtksys/Directory.hxx>
#include <vtksys/SystemTools.hxx>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
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
    const std::string out = Path("stdout.txt");
    const std::string err = Path("stderr.txt");
    const std::string command = std::string("\"") + CURVEDREFORMAT_EXECUTABLE + "\" " + arguments +
                                " >\"" + out + "\" 2>\"" + err + "\"";
    Result result;
    const int status = std::system(command.c_str());
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.Out = Read(out);
    result.Err = Read(err);
    vtksys::SystemTools::RemoveFile(out);
    vtksys::SystemTools::RemoveFile(err);
    return result;
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
    // A 2 mm curve resamples into too few points.
    { "--volume " + Path("arc.vti") + " --curve " + Path("short.csv") + out,
      1,
      "Not enough resampled curve points" },
  };
  this->WriteCurve("short.csv", { { 40, -20, 0 }, { 40, -18, 0 } });
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
