// Decoding speed of the JPEG 2000 codec, measured side by side in one run:
//  1. a 100-frame 512x512 16-bit lossless series decoded through DCMTK with the codec, against
//     the same codestreams decoded with OpenJPEG alone (goal: ratio at most 1.05);
//  2. dcmdj2k against gdcmconv --raw on the same file, whole process.
// The series is made here. Options: --rounds=N (default 5), --frames=N (default 100).
#include "BenchmarkMedian.h"
#include "DJ2KTestDataset.h"
#include "DJ2KTestProcess.h"
#include "DJ2KTestStream.h"
#include "dj2kdecode.h"

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dcdatset.h"
#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcfilefo.h"

#include <openjpeg.h>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{

const unsigned kSize = 512;
const unsigned kDistinctFrames = 10;

// A CT-like slice: smooth structures in a 16-bit range with some noise, encoded losslessly.
std::vector<uint8_t> encodeSlice(unsigned index)
{
  dj2ktest::Image image("slice", kSize, kSize, 1, 16, 16, 0, 0, 1);
  image.comps.assign(1, std::vector<int32_t>(size_t(kSize) * kSize));
  uint32_t state = 12345u + index;
  for (unsigned y = 0; y < kSize; ++y)
  {
    for (unsigned x = 0; x < kSize; ++x)
    {
      const double dx = double(x) - 256.0, dy = double(y) - 256.0 - index;
      const double r = std::sqrt(dx * dx + dy * dy);
      double v = r < 200 ? 30000 + 8000 * std::cos(r / 15.0 + index) : 1000;
      state = state * 1664525u + 1013904223u;
      v += double(state >> 26);
      image.comps[0][y * kSize + x] = int32_t(v);
    }
  }
  std::vector<uint8_t> codestream = dj2ktest::Encode(image);
  if (codestream.empty())
  {
    std::fprintf(stderr, "encoding failed\n");
    std::exit(1);
  }
  return codestream;
}

// OpenJPEG alone: decode into a 16-bit frame buffer.
void decodeWithOpenJPEG(const std::vector<uint8_t>& codestream, uint16_t* frame)
{
  const dj2ktest::OpjImage image =
    dj2ktest::DecompressFromMemory(codestream.data(), codestream.size());
  if (!image)
  {
    std::fprintf(stderr, "OpenJPEG decoding failed\n");
    std::exit(1);
  }
  const int32_t* data = image->comps[0].data;
  for (size_t k = 0; k < size_t(kSize) * kSize; ++k)
    frame[k] = uint16_t(std::min(65535, std::max(0, data[k])));
}

std::unique_ptr<DcmFileFormat> makeFile(const std::vector<std::vector<uint8_t>>& codestreams,
  unsigned frames)
{
  dj2ktest::Header header;
  header.rows = kSize;
  header.columns = kSize;
  header.bitsAllocated = 16;
  header.bitsStored = 16;
  header.numberOfFrames = int(frames);
  std::vector<std::vector<uint8_t>> series;
  for (unsigned f = 0; f < frames; ++f)
    series.push_back(codestreams[f % codestreams.size()]);
  return dj2ktest::MakeFile(header, series);
}

// Wall-clock and CPU seconds of one piece of work; on a shared machine the CPU time is the
// steadier figure.
struct Timing
{
  double wall = 0;
  double cpu = 0;
};

double cpuNow()
{
  timespec ts;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + 1e-9 * double(ts.tv_nsec);
}

Timing measure(const std::function<void()>& work)
{
  const auto start = std::chrono::steady_clock::now();
  const double cpuStart = cpuNow();
  work();
  Timing t;
  t.cpu = cpuNow() - cpuStart;
  t.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return t;
}

// Runs a program to its end; cpu receives the user and system time it used.
bool runProcess(const std::vector<std::string>& argv, double& cpu)
{
  dj2ktest::ProcessOptions options;
  options.discardOutput = true;
  const dj2ktest::ProcessResult r = dj2ktest::RunProcess(argv, options);
  cpu = r.cpuSeconds;
  return r.ExitedWith(0);
}

} // namespace

int main(int argc, char* argv[])
{
  unsigned rounds = 5;
  unsigned frames = 100;
  for (int i = 1; i < argc; ++i)
  {
    if (strncmp(argv[i], "--rounds=", 9) == 0)
      rounds = unsigned(std::max(1, atoi(argv[i] + 9)));
    else if (strncmp(argv[i], "--frames=", 9) == 0)
      frames = unsigned(std::max(2, atoi(argv[i] + 9)));
  }

  std::printf("encoding %u distinct 512x512 16-bit lossless frames...\n", kDistinctFrames);
  std::vector<std::vector<uint8_t>> codestreams;
  size_t compressed = 0;
  for (unsigned i = 0; i < kDistinctFrames; ++i)
  {
    codestreams.push_back(encodeSlice(i));
    compressed += codestreams.back().size();
  }
  std::printf("series: %u frames, %.1f KiB per compressed frame\n",
    frames,
    double(compressed) / kDistinctFrames / 1024.0);

  DJ2KDecoderRegistration::registerCodecs(EJ2KUC_default, EJ2KPC_restore, OFFalse, OFFalse);

  // Check once that both roads give the same pixels.
  {
    std::unique_ptr<DcmFileFormat> file = makeFile(codestreams, frames);
    if (file->getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).bad())
    {
      std::fprintf(stderr, "codec decoding failed\n");
      return 1;
    }
    const Uint16* words = nullptr;
    file->getDataset()->findAndGetUint16Array(DCM_PixelData, words);
    std::vector<uint16_t> reference(size_t(kSize) * kSize);
    for (unsigned f = 0; f < frames; ++f)
    {
      decodeWithOpenJPEG(codestreams[f % kDistinctFrames], reference.data());
      if (memcmp(reference.data(), words + size_t(f) * kSize * kSize, reference.size() * 2) != 0)
      {
        std::fprintf(stderr, "frame %u differs between the codec and OpenJPEG\n", f);
        return 1;
      }
    }
  }

  std::vector<double> codecWall, codecCpu, openjpegWall, openjpegCpu;
  std::vector<uint16_t> output(size_t(frames) * kSize * kSize);
  for (unsigned r = 0; r < rounds; ++r)
  {
    std::unique_ptr<DcmFileFormat> file = makeFile(codestreams, frames);
    Timing t = measure(
      [&] { (void)file->getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr); });
    file.reset();
    codecWall.push_back(t.wall);
    codecCpu.push_back(t.cpu);
    t = measure(
      [&]
      {
        for (unsigned f = 0; f < frames; ++f)
          decodeWithOpenJPEG(
            codestreams[f % kDistinctFrames], output.data() + size_t(f) * kSize * kSize);
      });
    openjpegWall.push_back(t.wall);
    openjpegCpu.push_back(t.cpu);
  }
  std::printf("\nin-process decoding of %u frames, median of %u rounds      wall s     CPU s\n",
    frames,
    rounds);
  std::printf("  DCMTK + wavecodec                                  %8.3f  %8.3f\n",
    Median(codecWall),
    Median(codecCpu));
  std::printf("  OpenJPEG alone                                     %8.3f  %8.3f\n",
    Median(openjpegWall),
    Median(openjpegCpu));
  std::printf("  overhead ratio (goal <= 1.05)                      %8.3f  %8.3f\n",
    Median(codecWall) / Median(openjpegWall),
    Median(codecCpu) / Median(openjpegCpu));

  // Whole processes on the same file.
  char dir[] = "/tmp/wavecodec-bench-XXXXXX";
  if (mkdtemp(dir) == nullptr)
    return 1;
  const std::string in = std::string(dir) + "/series.dcm";
  const std::string outTool = std::string(dir) + "/dcmdj2k.dcm";
  const std::string outGdcm = std::string(dir) + "/gdcmconv.dcm";
  if (makeFile(codestreams, frames)->saveFile(in.c_str(), EXS_JPEG2000LosslessOnly).bad())
    return 1;
  std::vector<double> toolWall, toolCpu, gdcmWall, gdcmCpu;
  bool ok = true;
  for (unsigned r = 0; r < rounds && ok; ++r)
  {
    double cpu = 0;
    toolWall.push_back(measure(
      [&] {
        ok = ok && runProcess({ DCMDJ2K_PATH, in, outTool }, cpu);
      }).wall);
    toolCpu.push_back(cpu);
    gdcmWall.push_back(measure(
      [&] {
        ok = ok && runProcess({ GDCMCONV_PATH, "--raw", in, outGdcm }, cpu);
      }).wall);
    gdcmCpu.push_back(cpu);
  }
  unlink(in.c_str());
  unlink(outTool.c_str());
  unlink(outGdcm.c_str());
  rmdir(dir);
  if (!ok)
  {
    std::fprintf(stderr, "a decompression program failed\n");
    return 1;
  }
  std::printf("\nwhole process on the %u-frame file, median of %u runs     wall s     CPU s\n",
    frames,
    rounds);
  std::printf("  dcmdj2k                                            %8.3f  %8.3f\n",
    Median(toolWall),
    Median(toolCpu));
  std::printf("  gdcmconv --raw                                     %8.3f  %8.3f\n",
    Median(gdcmWall),
    Median(gdcmCpu));
  std::printf("  ratio dcmdj2k / gdcmconv                           %8.3f  %8.3f\n",
    Median(toolWall) / Median(gdcmWall),
    Median(toolCpu) / Median(gdcmCpu));

  DJ2KDecoderRegistration::cleanup();
  return 0;
}
