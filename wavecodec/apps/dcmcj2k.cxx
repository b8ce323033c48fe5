// dcmcj2k: compresses the pixel data of a DICOM file with JPEG 2000; the program is
// DJ2KCompressTool.
#include "dj2ktool.h"

int main(int argc, char* argv[])
{
  return DJ2KCompressTool(argc, argv);
}
