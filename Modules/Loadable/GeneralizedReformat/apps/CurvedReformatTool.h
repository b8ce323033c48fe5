// The curvedreformat program as functions: its command line and the whole run, callable within a
// process (the program's main, the fuzz target of its command line).
#ifndef CurvedReformatTool_h
#define CurvedReformatTool_h

#include "CurvedReformatPreview.h"

#include <string>

namespace CurvedReformat
{
/// What the command line asks for.
struct Options
{
  std::string Volume;
  std::string SeriesUID;
  std::string Curve;
  std::string Output;
  double SliceSize[2] = { 40.0, 40.0 };
  double Spacing = 0.0; // 0: the input's smallest spacing
  double Rotation = 0.0;
  bool Stretch = false;
  bool LabelMap = false;
  std::string Projection;
  int ProjectionAxis = 1;
  bool ProjectionAxisGiven = false;
  std::string Planes;
  std::string Preview;
  bool WindowGiven = false;
  Window PreviewWindow;
  double MaxMemory = 0.0; // 0: half of the physical memory
  bool Verbose = false;
  bool Help = false;
  bool Version = false;
};

/// Parses the arguments after argv[0]. Throws Failure (exit code 2) for a wrong command line.
Options ParseCommandLine(int argc, char* argv[]);

/// Runs the program: parses the command line, reads, straightens and writes, and prints the
/// result on standard output or one line on standard error. Returns the exit status (0 done, 1
/// failure, 2 wrong command line); never ends the process. VTK's messages are collected while it
/// runs (the output window it found is put back).
int RunTool(int argc, char* argv[]);
}

#endif
