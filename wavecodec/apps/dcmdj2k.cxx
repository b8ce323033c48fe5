// dcmdj2k: decompresses a JPEG 2000 DICOM file to an uncompressed transfer syntax; the program
// is DJ2KDecompressTool.
#include "dj2ktool.h"

int main(int argc, char* argv[])
{
  return DJ2KDecompressTool(argc, argv);
}
