// JPEG 2000 lossless encoding of a 100-frame 512x512 16-bit CT-like series, measured side
// by side in one run:
//   - through DCMTK with the serial wavecodec encoder (one thread; chooseRepresentation of a
//     whole data set) against the same frames encoded with OpenJPEG alone, same settings, to
//     memory (overhead goal: at most 1.05, CPU time);
//   - the parallel encoder (one thread per core) against the serial one, in pairs whose order
//     alternates (goal: at least 1.8, wall time), and the peak memory each adds;
//   - the whole dcmcj2k process against the whole `gdcmconv --j2k` process, in alternating
//     pairs, on the series (goal at most 0.6, wall) and on one 4096x4096 16-bit frame (goal at
//     most 1.0, wall), with each program's peak memory.
// Every ratio is printed at the end.
//
// --frames=N changes the number of frames (100 by default), --large=N the edge of the single
// large frame (4096; 0 leaves it out), --idle=S makes each pair of the paired benchmarks wait
// up to S seconds for idle cores (their idle_pairs counter says how many found them).
#include "BenchmarkHeap.h"
#include "BenchmarkMedian.h"
#include "BenchmarkProcess.h"
#include "DJ2KTestDataset.h"
#include "DJ2KTestProcess.h"
#include "DJ2KTestStream.h"
#include "dj2kencode.h"
#include "dj2kpool.h"
#include "dj2krparam.h"

#include "dcmtk/dcmdata/dcdatset.h"
#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcuid.h"

#include <benchmark/benchmark.h>
#include <openjpeg.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
int Frames = 100;
const Uint16 Size = 512;
int LargeSize = 4096;
// --idle=S: seconds to wait for idle cores before each pair of the paired wall-clock
// benchmarks (0: no waiting), for a machine shared with other work.
double IdleWait = 0;

// Waits for idle cores when asked to (outside the timing); counts the pairs that start on them.
void BeforePair(benchmark::State& state, int& idlePairs)
{
  if (IdleWait <= 0)
  {
    return;
  }
  state.PauseTiming();
  if (WaitForIdleCores(IdleWait))
  {
    ++idlePairs;
  }
  state.ResumeTiming();
}

// Signed 12-bit CT-like slices of size x size in 16-bit words: a body ellipse with organs and
// noise.
std::vector<Uint16> MakeSlices(int size, int frames)
{
  std::vector<Uint16> words(size_t(size) * size * frames);
  std::mt19937 random(11);
  std::normal_distribution<double> noise(0.0, 10.0);
  for (int f = 0; f < frames; ++f)
  {
    for (int y = 0; y < size; ++y)
    {
      for (int x = 0; x < size; ++x)
      {
        const double u = (x - size / 2.0) / (size / 2.0);
        const double v = (y - size / 2.0) / (size / 2.0);
        double hu = -1000.0;
        if (u * u / 0.8 + v * v / 0.5 < 1.0)
        {
          hu = 40.0 + 30.0 * std::sin(u * 7.0 + f * 0.05) * std::cos(v * 5.0) + noise(random);
          if ((u - 0.3) * (u - 0.3) + v * v < 0.02 + 0.0001 * f)
          {
            hu = 600.0 + noise(random);
          }
        }
        words[(size_t(f) * size + y) * size + x] =
          Uint16(Sint16(std::lround(std::min(2047.0, std::max(-2048.0, hu)))));
      }
    }
  }
  return words;
}

const std::vector<Uint16>& Series()
{
  static const std::vector<Uint16> words = MakeSlices(Size, Frames);
  return words;
}

// frames frames of size x size pixels as an uncompressed CT data set.
void FillDataset(DcmDataset& d, const std::vector<Uint16>& words, int size, int frames)
{
  const dj2ktest::Image shape("series", Uint16(size), Uint16(size), 1, 16, 12, 1, 0, frames);
  const Uint8* bytes = reinterpret_cast<const Uint8*>(words.data());
  dj2ktest::FillDataset(d, shape, std::vector<Uint8>(bytes, bytes + words.size() * 2));
}

void FillDataset(DcmDataset& d)
{
  FillDataset(d, Series(), Size, Frames);
}

void RegisterEncoders(Uint32 threads)
{
  DJ2KEncoderRegistration::cleanup();
  DJ2KEncoderRegistration::registerCodecs(OFTrue, 0, EJ2KUC_default, OFFalse, OFFalse, threads);
}

// The serial codec: CPU time compared with OpenJPEG alone.
void BM_DcmtkCodec(benchmark::State& state)
{
  RegisterEncoders(1);
  const DJ2KRepresentationParameter lossless(OFTrue, 0.0);
  size_t bytes = 0;
  for (auto _ : state)
  {
    state.PauseTiming();
    std::unique_ptr<DcmDataset> dataset(new DcmDataset);
    FillDataset(*dataset);
    state.ResumeTiming();
    if (dataset->chooseRepresentation(EXS_JPEG2000LosslessOnly, &lossless).bad())
    {
      state.SkipWithError("chooseRepresentation failed");
      break;
    }
    state.PauseTiming();
    DcmElement* element = nullptr;
    dataset->findAndGetElement(DCM_PixelData, element);
    bytes = element->getLength(EXS_JPEG2000LosslessOnly);
    dataset.reset();
    state.ResumeTiming();
  }
  DJ2KEncoderRegistration::cleanup();
  state.counters["compressed_bytes"] = double(bytes);
}

// One frame with OpenJPEG's API alone, with the settings the codec uses for lossless.
size_t EncodeWithOpenJPEG(const Uint16* frame)
{
  opj_image_cmptparm_t component;
  std::memset(&component, 0, sizeof(component));
  component.dx = component.dy = 1;
  component.w = component.h = Size;
  component.prec = 12;
  component.sgnd = 1;
  opj_image_t* image = opj_image_create(1, &component, OPJ_CLRSPC_GRAY);
  image->x1 = image->y1 = Size;
  const size_t count = size_t(Size) * Size;
  for (size_t k = 0; k < count; ++k)
  {
    image->comps[0].data[k] = OPJ_INT32(Sint16(frame[k]));
  }
  opj_cparameters_t parameters;
  opj_set_default_encoder_parameters(&parameters);
  parameters.cp_disto_alloc = 1;
  parameters.tcp_numlayers = 1;
  parameters.tcp_rates[0] = 0;
  parameters.irreversible = 0;
  const size_t bytes = dj2ktest::CompressToMemory(image, parameters, OPJ_CODEC_J2K).size();
  opj_image_destroy(image);
  return bytes;
}

void BM_OpenJPEGAlone(benchmark::State& state)
{
  const std::vector<Uint16>& series = Series();
  size_t bytes = 0;
  for (auto _ : state)
  {
    bytes = 0;
    for (int f = 0; f < Frames; ++f)
    {
      const size_t n = EncodeWithOpenJPEG(series.data() + size_t(f) * Size * Size);
      if (n == 0)
      {
        state.SkipWithError("OpenJPEG failed");
        return;
      }
      bytes += n;
    }
  }
  state.counters["compressed_bytes"] = double(bytes);
}

std::string Directory()
{
  static std::string dir;
  if (dir.empty())
  {
    char pattern[] = "/tmp/wavecodec-bench-XXXXXX";
    dir = mkdtemp(pattern) ? pattern : "/tmp";
  }
  return dir;
}

const std::string& InputFile()
{
  static std::string path;
  if (path.empty())
  {
    path = Directory() + "/series.dcm";
    DcmFileFormat fileformat;
    FillDataset(*fileformat.getDataset());
    fileformat.saveFile(path.c_str(), EXS_LittleEndianExplicit);
  }
  return path;
}

// One large frame (LargeSize x LargeSize), uncompressed.
const std::string& LargeInputFile()
{
  static std::string path;
  if (path.empty())
  {
    path = Directory() + "/large.dcm";
    DcmFileFormat fileformat;
    FillDataset(*fileformat.getDataset(), MakeSlices(LargeSize, 1), LargeSize, 1);
    fileformat.saveFile(path.c_str(), EXS_LittleEndianExplicit);
  }
  return path;
}

std::string ProgramBeside(const char* name)
{
  char self[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof(self) - 1);
  std::string path = n > 0 ? std::string(self, size_t(n)) : std::string(".");
  return path.substr(0, path.rfind('/') + 1) + name;
}

// Runs a program and waits; cpuSeconds gets its user + system time.
bool RunProcess(const std::vector<std::string>& args, double& cpuSeconds)
{
  dj2ktest::ProcessOptions options;
  options.discardOutput = true;
  const dj2ktest::ProcessResult r = dj2ktest::RunProcess(args, options);
  cpuSeconds = r.cpuSeconds;
  return r.ExitedWith(0);
}

void RunTool(benchmark::State& state, const std::vector<std::string>& command)
{
  const std::string output = Directory() + "/out.dcm";
  std::vector<std::string> args = command;
  args.push_back(InputFile());
  args.push_back(output);
  double wall = 0;
  for (auto _ : state)
  {
    double cpu = 0;
    const auto start = std::chrono::steady_clock::now();
    if (!RunProcess(args, cpu))
    {
      state.SkipWithError(("failed: " + command[0]).c_str());
      break;
    }
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(cpu);
  }
  state.counters["wall_ms"] = 1000.0 * wall / double(state.iterations());
  struct stat st;
  state.counters["file_bytes"] = stat(output.c_str(), &st) == 0 ? double(st.st_size) : 0.0;
  std::remove(output.c_str());
}

void BM_Dcmcj2kProcess(benchmark::State& state)
{
  RunTool(state, { ProgramBeside("dcmcj2k") });
}

void BM_GdcmconvJ2kProcess(benchmark::State& state)
{
  RunTool(state, { GDCMCONV_PATH, "--j2k" });
}

double ThreadSeconds()
{
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

double ProcessSeconds()
{
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

// Both sides alternately, run after run, so that each pair meets the same machine load;
// the ratio counter is the median of the pairs' CPU time ratios.
void BM_PairedCodecOverhead(benchmark::State& state)
{
  RegisterEncoders(1);
  const DJ2KRepresentationParameter lossless(OFTrue, 0.0);
  const std::vector<Uint16>& series = Series();
  std::vector<double> ratios;
  for (auto _ : state)
  {
    std::unique_ptr<DcmDataset> dataset(new DcmDataset);
    FillDataset(*dataset);
    const double t0 = ThreadSeconds();
    const bool ok = dataset->chooseRepresentation(EXS_JPEG2000LosslessOnly, &lossless).good();
    const double t1 = ThreadSeconds();
    dataset.reset();
    const double t2 = ThreadSeconds();
    for (int f = 0; f < Frames; ++f)
    {
      EncodeWithOpenJPEG(series.data() + size_t(f) * Size * Size);
    }
    const double t3 = ThreadSeconds();
    if (!ok)
    {
      state.SkipWithError("chooseRepresentation failed");
      break;
    }
    ratios.push_back((t1 - t0) / (t3 - t2));
  }
  DJ2KEncoderRegistration::cleanup();
  state.counters["ratio"] = Median(ratios);
}

// The parallel codec (one thread per core) and the serial one alternately, in-process; the
// ratio counter is the median of the pairs' wall time ratios (serial / parallel).
void BM_PairedParallelSpeedup(benchmark::State& state)
{
  const DJ2KRepresentationParameter lossless(OFTrue, 0.0);
  std::vector<double> ratios, estimates;
  bool parallelFirst = false;
  int idlePairs = 0;
  for (auto _ : state)
  {
    BeforePair(state, idlePairs);
    double seconds[2] = { 0, 0 }; // serial, parallel
    for (int k = 0; k < 2; ++k)
    {
      const int which = parallelFirst ? 1 - k : k;
      RegisterEncoders(which == 0 ? 1 : 0);
      std::unique_ptr<DcmDataset> dataset(new DcmDataset);
      FillDataset(*dataset);
      const auto start = std::chrono::steady_clock::now();
      const double process0 = ProcessSeconds();
      const double caller0 = ThreadSeconds();
      const bool ok = dataset->chooseRepresentation(EXS_JPEG2000LosslessOnly, &lossless).good();
      const double caller = ThreadSeconds() - caller0;
      const double process = ProcessSeconds() - process0;
      seconds[which] =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      // With two threads, the caller and one worker: the CPU time of both over that of the
      // busier one is the speed-up a machine with two idle cores would show.
      if (which == 1 && DJ2KThreadPool::hardwareThreads() == 2)
      {
        estimates.push_back(process / std::max(caller, process - caller));
      }
      if (!ok)
      {
        state.SkipWithError("chooseRepresentation failed");
        break;
      }
    }
    parallelFirst = !parallelFirst;
    ratios.push_back(seconds[0] / seconds[1]);
  }
  DJ2KEncoderRegistration::cleanup();
  state.counters["ratio"] = Median(ratios);
  state.counters["threads"] = DJ2KThreadPool::hardwareThreads();
  state.counters["idle_pairs"] = idlePairs;
  if (!estimates.empty())
  {
    state.counters["cpu_estimate"] = Median(estimates);
  }
}

// dcmcj2k and gdcmconv --j2k alternately on the same file, which goes first alternating too:
// medians of the pairs' CPU time ratios (ratio) and wall time ratios (wall_ratio), and each
// program's peak memory.
void PairedTools(benchmark::State& state, const std::string& input)
{
  const std::string output = Directory() + "/out.dcm";
  const std::string report = Directory() + "/time.txt";
  const std::vector<std::string> ours{ ProgramBeside("dcmcj2k"), input, output };
  const std::vector<std::string> gdcm{ GDCMCONV_PATH, "--j2k", input, output };
  std::vector<double> ratios, wallRatios, ourPeak, gdcmPeak;
  bool gdcmFirst = false;
  int idlePairs = 0;
  for (auto _ : state)
  {
    BeforePair(state, idlePairs);
    ProcessUse a, b;
    const bool ok = gdcmFirst ? RunMeasured(gdcm, report, b) && RunMeasured(ours, report, a)
                              : RunMeasured(ours, report, a) && RunMeasured(gdcm, report, b);
    if (!ok)
    {
      state.SkipWithError("a tool failed");
      break;
    }
    gdcmFirst = !gdcmFirst;
    ratios.push_back(a.cpu / b.cpu);
    wallRatios.push_back(a.wall / b.wall);
    ourPeak.push_back(a.peakMiB);
    gdcmPeak.push_back(b.peakMiB);
  }
  std::remove(output.c_str());
  std::remove(report.c_str());
  state.counters["ratio"] = Median(ratios);
  state.counters["wall_ratio"] = Median(wallRatios);
  state.counters["idle_pairs"] = idlePairs;
  state.counters["dcmcj2k_MiB"] = Median(ourPeak);
  state.counters["gdcmconv_MiB"] = Median(gdcmPeak);
}

void BM_PairedToolRatio(benchmark::State& state)
{
  PairedTools(state, InputFile());
}

void BM_PairedToolRatioLarge(benchmark::State& state)
{
  PairedTools(state, LargeInputFile());
}

// Medians of three repetitions each: the machine may be shared with other work.
BENCHMARK(BM_DcmtkCodec)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(3);
BENCHMARK(BM_OpenJPEGAlone)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(3);
// Process time is the child's CPU time (user + system), steady under a loaded machine;
// wall_ms is the elapsed time.
BENCHMARK(BM_Dcmcj2kProcess)
  ->Unit(benchmark::kMillisecond)
  ->Iterations(2)
  ->Repetitions(3)
  ->UseManualTime();
BENCHMARK(BM_GdcmconvJ2kProcess)
  ->Unit(benchmark::kMillisecond)
  ->Iterations(2)
  ->Repetitions(3)
  ->UseManualTime();
BENCHMARK(BM_PairedCodecOverhead)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PairedParallelSpeedup)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PairedToolRatio)->Unit(benchmark::kMillisecond)->Iterations(5);

// Keeps the real time per iteration of each benchmark and the counters of the paired ones for
// the ratios.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
  RatioReporter()
    : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular)
  {
  }
  void ReportRuns(const std::vector<Run>& runs) override
  {
    for (const Run& run : runs)
    {
      if (run.error_occurred)
      {
        continue;
      }
      for (const auto& counter : run.counters)
      {
        counters_[run.benchmark_name()][counter.first] = counter.second.value;
      }
      // In-process runs compare CPU time; the tool runs report the child's CPU time as their
      // manual (real) time.
      seconds_[run.benchmark_name()] = run.benchmark_name().find("manual_time") != std::string::npos
                                         ? run.GetAdjustedRealTime()
                                         : run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // A counter of the benchmark called name (its arguments, such as "/iterations:5", aside).
  void PrintCounter(const std::string& label,
    const std::string& name,
    const char* counter,
    const char* goal)
  {
    for (const auto& entry : counters_)
    {
      const std::string& run = entry.first;
      if (run.compare(0, name.size(), name) == 0 &&
          (run.size() == name.size() || run[name.size()] == '/'))
      {
        auto value = entry.second.find(counter);
        if (value != entry.second.end())
        {
          std::printf("  %-66s %7.3f   %s\n", label.c_str(), value->second, goal);
        }
      }
    }
  }
  void PrintRatio(const char* label, const std::string& a, const std::string& b, const char* goal)
  {
    auto ia = find(a), ib = find(b);
    if (ia == seconds_.end() || ib == seconds_.end() || ib->second <= 0)
    {
      return;
    }
    std::printf("  %-66s %7.3f   %s\n", label, ia->second / ib->second, goal);
  }

private:
  // The median of the repetitions when there are several, else the one run.
  std::map<std::string, double>::iterator find(const std::string& prefix)
  {
    auto found = seconds_.end();
    for (auto i = seconds_.begin(); i != seconds_.end(); ++i)
    {
      if (i->first.compare(0, prefix.size(), prefix) == 0)
      {
        const std::string& name = i->first;
        if (name.size() > 7 && name.compare(name.size() - 7, 7, "_median") == 0)
        {
          return i;
        }
        found = i;
      }
    }
    return found;
  }
  std::map<std::string, double> seconds_;
  std::map<std::string, std::map<std::string, double>> counters_;
};

// Peak heap the encoder adds (the new pixel sequence included), serial and with more workers,
// beside OpenJPEG's own working memory for one frame; the ratio of what an added worker costs
// to OpenJPEG's frame plus one frame is the memory goal (at most 1). -1 when the heap is not
// counted.
double MeasureMemory()
{
  if (!HeapCounted())
  {
    return -1;
  }
  const DJ2KRepresentationParameter lossless(OFTrue, 0.0);
  const double frameMiB = double(Size) * Size * 2 / (1024.0 * 1024.0);
  const Uint16* firstFrame = Series().data();
  const double openjpegFrame = PeakHeapGrowthMiB([&] { EncodeWithOpenJPEG(firstFrame); });
  std::printf("peak heap added while encoding (frame %.2f MiB, series %.1f MiB)\n",
    frameMiB,
    frameMiB * Frames);
  std::printf("  OpenJPEG alone, one frame              %8.1f MiB\n", openjpegFrame);
  const Uint32 most = std::max(7u, DJ2KThreadPool::hardwareThreads());
  double serial = 0;
  double ratio = -1;
  for (const Uint32 threads : { 1u, 2u, most })
  {
    RegisterEncoders(threads);
    std::unique_ptr<DcmDataset> dataset(new DcmDataset);
    FillDataset(*dataset);
    const double peak = PeakHeapGrowthMiB(
      [&] { (void)dataset->chooseRepresentation(EXS_JPEG2000LosslessOnly, &lossless); });
    std::printf("  DCMTK + wavecodec, %u thread%s           %8.1f MiB",
      threads,
      threads == 1 ? " " : "s",
      peak);
    if (threads == 1)
    {
      serial = peak;
    }
    else
    {
      const double perWorker = (peak - serial) / double(threads - 1);
      std::printf(", %.2f MiB more per added worker", perWorker);
      ratio = perWorker / (openjpegFrame + frameMiB);
    }
    std::printf("\n");
  }
  DJ2KEncoderRegistration::cleanup();
  std::printf("\n");
  return ratio;
}
} // namespace

int main(int argc, char** argv)
{
  for (int i = 1; i < argc; ++i)
  {
    const bool frames = std::strncmp(argv[i], "--frames=", 9) == 0;
    const bool large = std::strncmp(argv[i], "--large=", 8) == 0;
    const bool idle = std::strncmp(argv[i], "--idle=", 7) == 0;
    if (frames || large || idle)
    {
      if (frames)
      {
        Frames = std::atoi(argv[i] + 9);
      }
      else if (large)
      {
        LargeSize = std::atoi(argv[i] + 8);
      }
      else
      {
        IdleWait = std::max(0.0, std::atof(argv[i] + 7));
      }
      for (int j = i; j + 1 < argc; ++j)
      {
        argv[j] = argv[j + 1];
      }
      --argc;
      --i;
    }
  }
  if (Frames < 1 || Frames > 1000)
  {
    std::fprintf(stderr, "frames must be between 1 and 1000\n");
    return 2;
  }
  if (LargeSize < 0 || LargeSize > 65535)
  {
    std::fprintf(stderr, "large must be between 0 and 65535\n");
    return 2;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
  {
    return 2;
  }
  if (LargeSize > 0)
  {
    benchmark::RegisterBenchmark("BM_PairedToolRatioLarge", BM_PairedToolRatioLarge)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(5);
  }
  std::printf("%u processor cores (hardware concurrency); load average %s\n\n",
    DJ2KThreadPool::hardwareThreads(),
    LoadAverage().c_str());
  const double memory = MeasureMemory();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const std::string series = std::to_string(Frames) + "-frame series";
  const std::string large = std::to_string(LargeSize) + "x" + std::to_string(LargeSize) + " frame";
  std::printf("\nratios (%u processor cores; load average now %s)\n",
    DJ2KThreadPool::hardwareThreads(),
    LoadAverage().c_str());
  reporter.PrintRatio("serial DCMTK + wavecodec / OpenJPEG alone, CPU",
    "BM_DcmtkCodec",
    "BM_OpenJPEGAlone",
    "goal <= 1.05");
  reporter.PrintRatio(
    "dcmcj2k / gdcmconv --j2k, unpaired, CPU", "BM_Dcmcj2kProcess", "BM_GdcmconvJ2kProcess", "");
  reporter.PrintCounter("paired: serial DCMTK + wavecodec / OpenJPEG alone, CPU",
    "BM_PairedCodecOverhead",
    "ratio",
    "goal <= 1.05");
  reporter.PrintCounter("paired: speed-up of one thread per core over 1, wall",
    "BM_PairedParallelSpeedup",
    "ratio",
    "goal >= 1.8");
  reporter.PrintCounter("paired: speed-up of 2 threads, from per-thread CPU",
    "BM_PairedParallelSpeedup",
    "cpu_estimate",
    "goal >= 1.8 (idle cores)");
  if (memory >= 0)
  {
    std::printf("  %-66s %7.3f   %s\n",
      "memory per added worker / (OpenJPEG's frame + 1 frame)",
      memory,
      "goal <= 1.0");
  }
  reporter.PrintCounter("paired: dcmcj2k / gdcmconv --j2k, " + series + ", wall",
    "BM_PairedToolRatio",
    "wall_ratio",
    "goal <= 0.6");
  reporter.PrintCounter(
    "paired: dcmcj2k / gdcmconv --j2k, " + series + ", CPU", "BM_PairedToolRatio", "ratio", "");
  reporter.PrintCounter("paired: dcmcj2k / gdcmconv --j2k, " + large + ", wall",
    "BM_PairedToolRatioLarge",
    "wall_ratio",
    "goal <= 1.0");
  reporter.PrintCounter(
    "paired: dcmcj2k / gdcmconv --j2k, " + large + ", CPU", "BM_PairedToolRatioLarge", "ratio", "");
  if (Directory() != "/tmp")
  {
    std::remove((Directory() + "/series.dcm").c_str());
    std::remove((Directory() + "/large.dcm").c_str());
    rmdir(Directory().c_str());
  }
  return 0;
}
