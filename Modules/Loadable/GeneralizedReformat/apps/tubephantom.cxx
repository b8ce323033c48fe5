// tubephantom: writes a synthetic volume with a bright curved tube and its centre line, and
// measures how straight a straightened tube came out.
//
//   tubephantom SHAPE VOLUME CURVE.csv [RADIUS] [COUNT]
//   tubephantom measure STRAIGHTENED.vti [RADIUS]
//
// SHAPE is "arc" or "helix"; VOLUME is .vti or .mha; CURVE.csv gets COUNT (default 25) points of
// the tube's centre line, in the volume's physical coordinates. RADIUS defaults to 4 mm.
// "measure" reports, over the slices of a straightened volume, the fractions of voxels near the
// slice centre that are bright and far from it that are dark, and how far the tube's centre
// strays from the slice centre; it fails when either fraction is below 0.95.

#include "TubePhantom.h"
#include "CurvedReformatOutputs.h"

#include <vtkLogger.h>
#include <vtkMetaImageWriter.h>
#include <vtkNew.h>
#include <vtkXMLImageDataReader.h>
#include <vtkXMLImageDataWriter.h>

#include <vtksys/SystemTools.hxx>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>

namespace
{
int Measure(const char* path, double radius)
{
  vtkNew<vtkXMLImageDataReader> reader;
  reader->SetFileName(path);
  reader->Update();
  vtkImageData* image = reader->GetOutput();
  if (!image || image->GetNumberOfPoints() == 0)
  {
    std::cerr << "tubephantom: cannot read " << path << "\n";
    return 1;
  }
  double spacing[3];
  image->GetSpacing(spacing);
  const TubePhantom::Straightness s = TubePhantom::Measure(image, spacing, radius);
  // The tube's centre in each slice: the mean position of its bright voxels.
  int dims[3];
  image->GetDimensions(dims);
  double largest = 0.0;
  double sum = 0.0;
  int slices = 0;
  for (int k = 1; k < dims[2] - 1; ++k)
  {
    double cx = 0, cy = 0, n = 0;
    for (int j = 0; j < dims[1]; ++j)
    {
      for (int i = 0; i < dims[0]; ++i)
      {
        if (image->GetScalarComponentAsDouble(i, j, k, 0) > 500.0)
        {
          cx += i * spacing[0];
          cy += j * spacing[1];
          ++n;
        }
      }
    }
    if (n > 0)
    {
      // Voxel 0 sits at the box corner, so the box centre is half the box size from it.
      const double dx = cx / n - 0.5 * dims[0] * spacing[0];
      const double dy = cy / n - 0.5 * dims[1] * spacing[1];
      const double offset = std::sqrt(dx * dx + dy * dy);
      largest = std::max(largest, offset);
      sum += offset;
      ++slices;
    }
  }
  std::cout << "tubephantom: " << s.InsideFraction * 100.0 << "% of " << s.InsideVoxels
            << " voxels within radius/2 of the centre line are inside the tube, "
            << s.OutsideFraction * 100.0 << "% of " << s.OutsideVoxels
            << " voxels beyond 2 radii are outside; tube found in " << slices << " of "
            << dims[2] - 2 << " slices, its centre " << (slices ? sum / slices : 0.0)
            << " mm from the slice centre on average (at most " << largest << " mm)\n";
  return s.InsideFraction >= 0.95 && s.OutsideFraction >= 0.95 ? 0 : 1;
}
}

int main(int argc, char* argv[])
{
  // VTK's own messages are collected and its logger stays quiet; the tool reports failures in
  // one line.
  vtkLogger::SetStderrVerbosity(vtkLogger::VERBOSITY_OFF);
  vtkNew<CurvedReformat::CapturingOutputWindow> errors;
  vtkOutputWindow::SetInstance(errors);
  if (argc >= 3 && argc <= 4 && std::string(argv[1]) == "measure")
  {
    return Measure(argv[2], argc > 3 ? std::atof(argv[3]) : 4.0);
  }
  if (argc < 4 || argc > 6)
  {
    std::cerr << "usage: tubephantom arc|helix VOLUME.vti|VOLUME.mha CURVE.csv [RADIUS] [COUNT]\n"
                 "       tubephantom measure STRAIGHTENED.vti [RADIUS]\n";
    return 2;
  }
  const std::string shape = argv[1];
  const std::string ext =
    vtksys::SystemTools::LowerCase(vtksys::SystemTools::GetFilenameLastExtension(argv[2]));
  const double radius = argc > 4 ? std::atof(argv[4]) : 4.0;
  const int count = argc > 5 ? std::atoi(argv[5]) : 25;
  if ((shape != "arc" && shape != "helix") || (ext != ".vti" && ext != ".mha") || radius <= 0 ||
      count < 2)
  {
    std::cerr << "tubephantom: bad arguments (shape arc or helix, .vti or .mha, radius > 0, "
                 "count >= 2)\n";
    return 2;
  }
  vtkSmartPointer<vtkImageData> volume = TubePhantom::Volume(shape, radius);
  try
  {
    // Both files are written under temporary names and moved into place together.
    CurvedReformat::PendingOutputs outputs;
    const CurvedReformat::OutputFile volumeFile = outputs.Add(argv[2]);
    const CurvedReformat::OutputFile curveFile = outputs.Add(argv[3]);
    bool written = false;
    if (ext == ".vti")
    {
      vtkNew<vtkXMLImageDataWriter> writer;
      writer->SetInputData(volume);
      writer->SetFileName(volumeFile.Path.c_str());
      written = writer->Write() != 0;
    }
    else
    {
      vtkNew<vtkMetaImageWriter> writer;
      writer->SetInputData(volume);
      writer->SetFileName(volumeFile.Path.c_str());
      writer->SetCompression(false);
      writer->Write();
      written = writer->GetErrorCode() == 0;
    }
    if (!written || !errors->Errors.empty())
    {
      throw CurvedReformat::Failure{ "cannot write " + volumeFile.Target };
    }
    std::ofstream curve(curveFile.Path);
    curve.precision(17);
    curve << "x,y,z\n";
    for (const auto& p : TubePhantom::ControlPoints(shape, count))
    {
      curve << p[0] << "," << p[1] << "," << p[2] << "\n";
    }
    curve.close();
    if (!curve)
    {
      throw CurvedReformat::Failure{ "cannot write " + curveFile.Target };
    }
    outputs.Commit();
  }
  catch (const CurvedReformat::Failure& failure)
  {
    std::cerr << "tubephantom: " << failure.Message << "\n";
    return 1;
  }
  int dims[3];
  volume->GetDimensions(dims);
  std::cout << "tubephantom: " << shape << " tube of radius " << radius << " mm in a " << dims[0]
            << " x " << dims[1] << " x " << dims[2] << " volume (1 mm voxels)\n";
  return 0;
}
