// libFuzzer target: argument vectors through dcmdj2k's program, DJ2KDecompressTool, within the
// process (see DJ2KToolArgumentsFuzzer.h for the scratch folder and the checks).
#include "DJ2KToolArgumentsFuzzer.h"

namespace
{
const dj2kfuzz::Tool Decompress{ "dcmdj2kArgumentsFuzzer", "dcmdj2k", DJ2KDecompressTool, false };
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  dj2kfuzz::WriteInputs();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  return dj2kfuzz::TestOneInput(Decompress, data, size);
}
