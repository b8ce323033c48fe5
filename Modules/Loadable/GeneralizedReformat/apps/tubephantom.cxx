// tubephantom: writes a synthetic volume with a bright curved tube and its centre line.
//
//   tubephantom SHAPE VOLUME CURVE.csv [RADIUS] [COUNT]
//
// SHAPE is "arc" or "helix"; VOLUME is .vti or .mha; CURVE.csv gets COUNT (default 25) points of
// the tube's centre line, in the volume's physical coordinates. RADIUS defaults to 4 mm.

#include "TubePhantom.h"

#include <vtkMetaImageWriter.h>
#include <vtkNew.h>
#include <vtkXMLImageDataWriter.h>

#include <vtksys/SystemTools.hxx>

#include <cstdlib>
#include <fstream>
#include <iostream>

int main(int argc, char* argv[])
{
  if (argc < 4 || argc > 6)
  {
    std::cerr << "usage: tubephantom arc|helix VOLUME.vti|VOLUME.mha CURVE.csv [RADIUS] [COUNT]\n";
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
  bool written = false;
  if (ext == ".vti")
  {
    vtkNew<vtkXMLImageDataWriter> writer;
    writer->SetInputData(volume);
    writer->SetFileName(argv[2]);
    written = writer->Write() != 0;
  }
  else
  {
    vtkNew<vtkMetaImageWriter> writer;
    writer->SetInputData(volume);
    writer->SetFileName(argv[2]);
    writer->SetCompression(false);
    writer->Write();
    written = vtksys::SystemTools::FileExists(argv[2], true);
  }
  std::ofstream curve(argv[3]);
  curve.precision(17);
  curve << "x,y,z\n";
  for (const auto& p : TubePhantom::ControlPoints(shape, count))
  {
    curve << p[0] << "," << p[1] << "," << p[2] << "\n";
  }
  if (!written || !curve)
  {
    std::cerr << "tubephantom: cannot write the outputs\n";
    return 1;
  }
  int dims[3];
  volume->GetDimensions(dims);
  std::cout << "tubephantom: " << shape << " tube of radius " << radius << " mm in a " << dims[0]
            << " x " << dims[1] << " x " << dims[2] << " volume (1 mm voxels)\n";
  return 0;
}
