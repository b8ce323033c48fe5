// Decoding speed of the JPEG 2000 codec, measured side by side in one run, every comparison in
// pairs whose order alternates from round to round (the machine may be shared):
//  1. in-process, a 100-frame 512x512 16-bit lossless series decoded through DCMTK: the serial
//     codec (one thread) against the same codestreams decoded with OpenJPEG alone (overhead,
//     goal at most 1.05), and the parallel codec against the serial one (goal at least 1.8);
//  2. the peak memory the codec adds while decoding, serial and parallel, beside OpenJPEG's own
//     working memory for one frame (goal: at most one frame-sized buffer per worker more);
//  3. dcmdj2k against gdcmconv --raw, whole processes, on the series (goal at most 0.75, wall)
//     and on one 4096x4096 16-bit frame (goal at most 1.0, wall); beside the series ratio, the
//     lowest one any program decoding with this OpenJPEG could reach (the library's own CPU time
//     spread evenly over the cores, nothing else done) and the in-process decoding alone.
// Every ratio is printed again at the end. Options: --rounds=N (default 5), --frames=N
// (default 100), --threads=N (the parallel codec's threads, default 0: one per core),
// --large=N (edge of the single large frame, default 4096; 0 skips it), --idle=S (before each
// round or pair, wait up to S seconds for the cores to be idle, for a machine shared with other
// work; the output says how many started on idle cores).
#include "BenchmarkHeap.h"
#include "BenchmarkMedian.h"
#include "BenchmarkProcess.h"
#include "DJ2KTestDataset.h"
#include "DJ2KTestStream.h"
#include "dj2kdecode.h"
#include "dj2kpool.h"

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
// --idle: seconds to wait for idle cores before each round or pair (0: no waiting).
double IdleWait = 0;

// Waits for idle cores when asked to; counts the rounds that start on them.
void beforeRound(unsigned& idleRounds)
{
  if (IdleWait > 0 && WaitForIdleCores(IdleWait))
    ++idleRounds;
}

// How many rounds started on idle cores, when waiting was asked for.
std::string idleNote(unsigned idleRounds, unsigned rounds)
{
  if (IdleWait <= 0)
    return "";
  return ", " + std::to_string(idleRounds) + " of " + std::to_string(rounds) + " on idle cores";
}
const unsigned kDistinctFrames = 10;

// A CT-like slice of size x size: smooth structures in a 16-bit range with some noise, encoded
// losslessly.
std::vector<uint8_t> encodeSlice(unsigned index, unsigned size = kSize)
{
  dj2ktest::Image image("slice", Uint16(size), Uint16(size), 1, 16, 16, 0, 0, 1);
  image.comps.assign(1, std::vector<int32_t>(size_t(size) * size));
  const double scale = double(size) / kSize;
  uint32_t state = 12345u + index;
  for (unsigned y = 0; y < size; ++y)
  {
    for (unsigned x = 0; x < size; ++x)
    {
      const double dx = (double(x) - size / 2.0) / scale;
      const double dy = (double(y) - size / 2.0) / scale - index;
      const double r = std::sqrt(dx * dx + dy * dy);
      double v = r < 200 ? 30000 + 8000 * std::cos(r / 15.0 + index) : 1000;
      state = state * 1664525u + 1013904223u;
      v += double(state >> 26);
      image.comps[0][size_t(y) * size + x] = int32_t(v);
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
  const size_t count = size_t(image->comps[0].w) * image->comps[0].h;
  for (size_t k = 0; k < count; ++k)
    frame[k] = uint16_t(std::min(65535, std::max(0, data[k])));
}

std::unique_ptr<DcmFileFormat> makeFile(const std::vector<std::vector<uint8_t>>& codestreams,
  unsigned frames,
  unsigned size = kSize)
{
  dj2ktest::Header header;
  header.rows = Uint16(size);
  header.columns = Uint16(size);
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
  double cpu = 0;       // all threads
  double callerCpu = 0; // the calling thread
};

double cpuNow(clockid_t clock)
{
  timespec ts;
  clock_gettime(clock, &ts);
  return double(ts.tv_sec) + 1e-9 * double(ts.tv_nsec);
}

Timing measure(const std::function<void()>& work)
{
  const auto start = std::chrono::steady_clock::now();
  const double cpuStart = cpuNow(CLOCK_PROCESS_CPUTIME_ID);
  const double callerStart = cpuNow(CLOCK_THREAD_CPUTIME_ID);
  work();
  Timing t;
  t.cpu = cpuNow(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
  t.callerCpu = cpuNow(CLOCK_THREAD_CPUTIME_ID) - callerStart;
  t.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return t;
}

void registerDecoders(Uint32 threads)
{
  DJ2KDecoderRegistration::cleanup();
  DJ2KDecoderRegistration::registerCodecs(
    EJ2KUC_default, EJ2KPC_restore, OFFalse, OFFalse, threads);
}

// Decodes a fresh copy of the series through DCMTK with the registered decoders.
void decodeThroughDcmtk(const std::vector<std::vector<uint8_t>>& codestreams,
  unsigned frames,
  unsigned size,
  Timing* timing)
{
  std::unique_ptr<DcmFileFormat> file = makeFile(codestreams, frames, size);
  const Timing t = measure(
    [&]
    {
      if (file->getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).bad())
      {
        std::fprintf(stderr, "codec decoding failed\n");
        std::exit(1);
      }
    });
  if (timing != nullptr)
    *timing = t;
}

// The ratios, kept for the summary at the end.
struct Summary
{
  std::vector<std::string> lines;
  void add(const std::string& label, double ratio, const std::string& goal)
  {
    char text[256];
    std::snprintf(text, sizeof(text), "  %-72s %7.3f   %s", label.c_str(), ratio, goal.c_str());
    lines.push_back(text);
  }
};

// Paired, interleaved whole-process runs of two programs on one file; returns the median wall
// time of the second program (0 when a run failed).
double compareTools(const char* what,
  const std::string& report,
  const std::vector<std::string>& ours,
  const std::vector<std::string>& theirs,
  unsigned rounds,
  double goal,
  Summary& summary,
  bool& ok)
{
  std::vector<double> ourWall, ourCpu, ourPeak, theirWall, theirCpu, theirPeak, wallRatio, cpuRatio;
  unsigned idleRounds = 0;
  for (unsigned r = 0; r < rounds && ok; ++r)
  {
    beforeRound(idleRounds);
    ProcessUse a, b;
    // Alternate which program goes first.
    if (r % 2 == 0)
      ok = RunMeasured(ours, report, a) && RunMeasured(theirs, report, b);
    else
      ok = RunMeasured(theirs, report, b) && RunMeasured(ours, report, a);
    ourWall.push_back(a.wall);
    ourCpu.push_back(a.cpu);
    ourPeak.push_back(a.peakMiB);
    theirWall.push_back(b.wall);
    theirCpu.push_back(b.cpu);
    theirPeak.push_back(b.peakMiB);
    wallRatio.push_back(a.wall / b.wall);
    cpuRatio.push_back(a.cpu / b.cpu);
  }
  if (!ok)
    return 0;
  const std::string ourName = ours[0].substr(ours[0].rfind('/') + 1);
  const std::string theirName = theirs[0].substr(theirs[0].rfind('/') + 1) + " " + theirs[1];
  std::printf("\nwhole process, %s, %u pairs (medians%s)\n",
    what,
    rounds,
    idleNote(idleRounds, rounds).c_str());
  std::printf("                                               wall s     CPU s   peak MiB\n");
  std::printf("  %-40s %10.3f %9.3f %10.1f\n",
    ourName.c_str(),
    Median(ourWall),
    Median(ourCpu),
    Median(ourPeak));
  std::printf("  %-40s %10.3f %9.3f %10.1f\n",
    theirName.c_str(),
    Median(theirWall),
    Median(theirCpu),
    Median(theirPeak));
  std::printf("  ratio of the pairs                       %10.3f %9.3f\n",
    Median(wallRatio),
    Median(cpuRatio));
  char goalText[64];
  std::snprintf(goalText, sizeof(goalText), "goal <= %.2f (wall)", goal);
  summary.add(ourName + " / " + theirName + ", " + what + ", wall" + idleNote(idleRounds, rounds),
    Median(wallRatio),
    goalText);
  summary.add(ourName + " / " + theirName + ", " + what + ", CPU", Median(cpuRatio), "");
  return Median(theirWall);
}

} // namespace

int main(int argc, char* argv[])
{
  unsigned rounds = 5;
  unsigned frames = 100;
  unsigned threads = 0;
  unsigned large = 4096;
  for (int i = 1; i < argc; ++i)
  {
    if (strncmp(argv[i], "--rounds=", 9) == 0)
      rounds = unsigned(std::max(1, atoi(argv[i] + 9)));
    else if (strncmp(argv[i], "--frames=", 9) == 0)
      frames = unsigned(std::max(2, atoi(argv[i] + 9)));
    else if (strncmp(argv[i], "--threads=", 10) == 0)
      threads = unsigned(std::max(0, atoi(argv[i] + 10)));
    else if (strncmp(argv[i], "--idle=", 7) == 0)
      IdleWait = std::max(0.0, atof(argv[i] + 7));
    else if (strncmp(argv[i], "--large=", 8) == 0)
      large = unsigned(std::max(0, std::min(65535, atoi(argv[i] + 8))));
    else
    {
      std::fprintf(stderr,
        "usage: %s [--rounds=N] [--frames=N] [--threads=N] [--large=N] [--idle=S]\n",
        argv[0]);
      return 2;
    }
  }
  const unsigned workers = threads == 0 ? DJ2KThreadPool::hardwareThreads() : threads;
  std::printf("%u processor cores (hardware concurrency); parallel codec: %u threads; load "
              "average %s\n",
    DJ2KThreadPool::hardwareThreads(),
    workers,
    LoadAverage().c_str());

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

  // Check once that both roads give the same pixels.
  registerDecoders(threads);
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

  // In-process: serial codec, parallel codec and OpenJPEG alone, in a rotating order.
  Summary summary;
  std::vector<double> serialWall, serialCpu, parallelWall, parallelCpu, openjpegWall, openjpegCpu,
    overheadCpu, overheadWall, speedup, speedupEstimate;
  std::vector<uint16_t> output(size_t(frames) * kSize * kSize);
  unsigned idleRounds = 0;
  for (unsigned r = 0; r < rounds; ++r)
  {
    beforeRound(idleRounds);
    Timing serial, parallel, alone;
    for (unsigned k = 0; k < 3; ++k)
    {
      switch ((r + k) % 3)
      {
        case 0:
          registerDecoders(1);
          decodeThroughDcmtk(codestreams, frames, kSize, &serial);
          break;
        case 1:
          registerDecoders(threads);
          decodeThroughDcmtk(codestreams, frames, kSize, &parallel);
          break;
        default:
          alone = measure(
            [&]
            {
              for (unsigned f = 0; f < frames; ++f)
                decodeWithOpenJPEG(
                  codestreams[f % kDistinctFrames], output.data() + size_t(f) * kSize * kSize);
            });
          break;
      }
    }
    serialWall.push_back(serial.wall);
    serialCpu.push_back(serial.cpu);
    parallelWall.push_back(parallel.wall);
    parallelCpu.push_back(parallel.cpu);
    openjpegWall.push_back(alone.wall);
    openjpegCpu.push_back(alone.cpu);
    overheadCpu.push_back(serial.cpu / alone.cpu);
    overheadWall.push_back(serial.wall / alone.wall);
    speedup.push_back(serial.wall / parallel.wall);
    // With two threads, the caller and one worker: the CPU time of both over that of the
    // busier one is the speed-up a machine with two idle cores would show.
    const double worker = parallel.cpu - parallel.callerCpu;
    speedupEstimate.push_back(parallel.cpu / std::max(parallel.callerCpu, worker));
  }
  std::printf("\nin-process decoding of %u frames, %u rounds (medians)       wall s     CPU s\n",
    frames,
    rounds);
  std::printf("  DCMTK + wavecodec, 1 thread                         %8.3f  %8.3f\n",
    Median(serialWall),
    Median(serialCpu));
  std::printf("  DCMTK + wavecodec, %2u threads                       %8.3f  %8.3f\n",
    workers,
    Median(parallelWall),
    Median(parallelCpu));
  std::printf("  OpenJPEG alone                                      %8.3f  %8.3f\n",
    Median(openjpegWall),
    Median(openjpegCpu));
  std::printf("  overhead: 1 thread / OpenJPEG alone                 %8.3f  %8.3f\n",
    Median(overheadWall),
    Median(overheadCpu));
  std::printf(
    "  speed-up: 1 thread / %2u threads (wall)              %8.3f\n", workers, Median(speedup));
  summary.add(
    "in process: serial codec / OpenJPEG alone, CPU", Median(overheadCpu), "goal <= 1.05");
  summary.add("in process: serial codec / OpenJPEG alone, wall", Median(overheadWall), "");
  summary.add("in process: speed-up of " + std::to_string(workers) + " threads over 1, wall" +
                idleNote(idleRounds, rounds),
    Median(speedup),
    "goal >= 1.8");
  if (workers == 2)
  {
    std::printf("  speed-up on idle cores (CPU of both threads / busier thread's)  %8.3f\n",
      Median(speedupEstimate));
    summary.add("in process: speed-up of 2 threads, from per-thread CPU",
      Median(speedupEstimate),
      "goal >= 1.8 (idle cores)");
  }

  // Memory: how far the heap in use rises while the codec decodes (the new pixel data
  // included), and OpenJPEG's own working memory for one frame.
  if (HeapCounted())
  {
    const double frameMiB = double(kSize) * kSize * 2 / (1024.0 * 1024.0);
    const double openjpegFrame =
      PeakHeapGrowthMiB([&] { decodeWithOpenJPEG(codestreams[0], output.data()); });
    std::printf("\npeak heap added while decoding (frame %.2f MiB, output %.1f MiB)\n",
      frameMiB,
      frameMiB * frames);
    std::printf("  OpenJPEG alone, one frame                           %8.1f MiB\n", openjpegFrame);
    double serialPeak = 0;
    const std::vector<Uint32> memoryThreads{ 1, 2, std::max(7u, workers) };
    for (const Uint32 t : memoryThreads)
    {
      registerDecoders(t);
      std::unique_ptr<DcmFileFormat> file = makeFile(codestreams, frames);
      const double peak = PeakHeapGrowthMiB(
        [&] { (void)file->getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr); });
      if (t == 1)
        serialPeak = peak;
      std::printf("  DCMTK + wavecodec, %u thread%s                        %8.1f MiB",
        t,
        t == 1 ? " " : "s",
        peak);
      if (t > 1)
      {
        const double perWorker = (peak - serialPeak) / double(t - 1);
        std::printf(", %.2f MiB more per added worker", perWorker);
        if (t == memoryThreads.back())
          summary.add("memory per added worker / (OpenJPEG's frame + 1 frame)",
            perWorker / (openjpegFrame + frameMiB),
            "goal <= 1.0");
      }
      std::printf("\n");
    }
  }

  // Whole processes on the same files.
  char dir[] = "/tmp/wavecodec-bench-XXXXXX";
  if (mkdtemp(dir) == nullptr)
    return 1;
  const std::string in = std::string(dir) + "/series.dcm";
  const std::string inLarge = std::string(dir) + "/large.dcm";
  const std::string outTool = std::string(dir) + "/dcmdj2k.dcm";
  const std::string outGdcm = std::string(dir) + "/gdcmconv.dcm";
  const std::string report = std::string(dir) + "/time.txt";
  bool ok = true;
  {
    std::unique_ptr<DcmFileFormat> file = makeFile(codestreams, frames);
    ok = file->saveFile(in.c_str(), EXS_JPEG2000LosslessOnly).good();
  }
  if (ok && large > 0)
  {
    std::printf("\nencoding one %ux%u 16-bit lossless frame...\n", large, large);
    std::unique_ptr<DcmFileFormat> file = makeFile({ encodeSlice(3, large) }, 1, large);
    ok = file->saveFile(inLarge.c_str(), EXS_JPEG2000LosslessOnly).good();
  }
  double gdcmSeriesWall = 0;
  if (ok)
    gdcmSeriesWall = compareTools((std::to_string(frames) + "-frame series").c_str(),
      report,
      { DCMDJ2K_PATH, in, outTool },
      { GDCMCONV_PATH, "--raw", in, outGdcm },
      rounds,
      0.75,
      summary,
      ok);
  if (ok && gdcmSeriesWall > 0)
  {
    // What any program decoding with this OpenJPEG could reach at best: the library's own
    // decoding time spread evenly over the cores, with nothing else to do.
    const unsigned cores = std::min(workers, DJ2KThreadPool::hardwareThreads());
    const double floorWall = Median(openjpegCpu) / double(cores);
    const std::string floorLabel =
      "OpenJPEG alone's CPU over " + std::to_string(cores) + " cores";
    const std::string inProcessLabel =
      "in process, " + std::to_string(workers) + " threads (decoding only)";
    std::printf("  %-40s %10.3f\n", floorLabel.c_str(), floorWall);
    std::printf("  %-40s %10.3f\n", inProcessLabel.c_str(), Median(parallelWall));
    summary.add("floor: OpenJPEG alone's CPU / " + std::to_string(cores) +
                  " cores, over gdcmconv --raw, series",
      floorWall / gdcmSeriesWall,
      "");
    summary.add("in process, " + std::to_string(workers) + " threads, over gdcmconv --raw, series",
      Median(parallelWall) / gdcmSeriesWall,
      "");
  }
  if (ok && large > 0)
    compareTools((std::to_string(large) + "x" + std::to_string(large) + " frame").c_str(),
      report,
      { DCMDJ2K_PATH, inLarge, outTool },
      { GDCMCONV_PATH, "--raw", inLarge, outGdcm },
      rounds,
      1.0,
      summary,
      ok);
  for (const std::string& name : { in, inLarge, outTool, outGdcm, report })
    unlink(name.c_str());
  rmdir(dir);
  DJ2KDecoderRegistration::cleanup();
  if (!ok)
  {
    std::fprintf(stderr, "a decompression program failed\n");
    return 1;
  }

  std::printf("\nratios (medians of paired runs; %u processor cores; load average now %s)\n",
    DJ2KThreadPool::hardwareThreads(),
    LoadAverage().c_str());
  for (const std::string& line : summary.lines)
    std::printf("%s\n", line.c_str());
  return 0;
}
