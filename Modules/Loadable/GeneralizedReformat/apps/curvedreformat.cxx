// curvedreformat: straightens a volume along a curve (curved planar reformatting); the program
// is CurvedReformat::RunTool.
#include "CurvedReformatTool.h"

int main(int argc, char* argv[])
{
  return CurvedReformat::RunTool(argc, argv);
}
