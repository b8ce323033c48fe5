// libFuzzer target: argument vectors through dcmcj2k's program, DJ2KCompressTool, within the
// process (see DJ2KToolArgumentsFuzzer.h for the scratch folder and the checks).
#include "DJ2KToolArgumentsFuzzer.h"

namespace
{
const dj2kfuzz::Tool Compress{ "dcmcj2kArgumentsFuzzer", "dcmcj2k", DJ2KCompressTool, true };
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  dj2kfuzz::WriteInputs();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  return dj2kfuzz::TestOneInput(Compress, data, size);
}
