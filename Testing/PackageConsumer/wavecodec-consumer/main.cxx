// Links only Vireon::wavecodec and runs a lossless round trip through it.
#include "WavecodecRoundTrip.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main()
{
  const std::string error = WavecodecRoundTrip();
  if (!error.empty())
  {
    std::fprintf(stderr, "codec-consumer: %s\n", error.c_str());
    return EXIT_FAILURE;
  }
  std::puts("codec-consumer: ok");
  return EXIT_SUCCESS;
}
