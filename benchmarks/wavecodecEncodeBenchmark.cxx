// JPEG 2000 lossless encoding of a 100-frame 512x512 16-bit CT-like series, measured side
// by side in one run:
//   - through DCMTK with the wavecodec encoder (chooseRepresentation of a whole data set)
//     against the same frames encoded with OpenJPEG alone, same settings, to memory;
//   - the whole dcmcj2k process against the whole `gdcmconv --j2k` process on one file.
// The ratios are printed at the end (encoder overhead goal: at most 1.05); they compare
// CPU time, which stays meaningful on a machine shared with other work.
//
// --frames=N changes the number of frames (100 by default).
#include "BenchmarkMedian.h"
#include "DJ2KTestDataset.h"
#include "DJ2KTestProcess.h"
#include "DJ2KTestStream.h"
#include "dj2kencode.h"
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

// Signed 12-bit CT-like slices in 16-bit words: a body ellipse with organs and noise.
const std::vector<Uint16>& Series()
{
  static std::vector<Uint16> words;
  if (words.empty())
  {
    words.resize(size_t(Size) * Size * Frames);
    std::mt19937 random(11);
    std::normal_distribution<double> noise(0.0, 10.0);
    for (int f = 0; f < Frames; ++f)
    {
      for (int y = 0; y < Size; ++y)
      {
        for (int x = 0; x < Size; ++x)
        {
          const double u = (x - Size / 2.0) / (Size / 2.0);
          const double v = (y - Size / 2.0) / (Size / 2.0);
          double hu = -1000.0;
          if (u * u / 0.8 + v * v / 0.5 < 1.0)
          {
            hu = 40.0 + 30.0 * std::sin(u * 7.0 + f * 0.05) * std::cos(v * 5.0) + noise(random);
            if ((u - 0.3) * (u - 0.3) + v * v < 0.02 + 0.0001 * f)
            {
              hu = 600.0 + noise(random);
            }
          }
          words[(size_t(f) * Size + y) * Size + x] =
            Uint16(Sint16(std::lround(std::min(2047.0, std::max(-2048.0, hu)))));
        }
      }
    }
  }
  return words;
}

// The series as an uncompressed CT data set.
void FillDataset(DcmDataset& d)
{
  const dj2ktest::Image shape("series", Size, Size, 1, 16, 12, 1, 0, Frames);
  const std::vector<Uint16>& words = Series();
  const Uint8* bytes = reinterpret_cast<const Uint8*>(words.data());
  dj2ktest::FillDataset(d, shape, std::vector<Uint8>(bytes, bytes + words.size() * 2));
}

void BM_DcmtkCodec(benchmark::State& state)
{
  DJ2KEncoderRegistration::registerCodecs(OFTrue, 0, EJ2KUC_default, OFFalse);
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

// Both sides alternately, run after run, so that each pair meets the same machine load;
// the ratio counter is the median of the pairs' CPU time ratios.
void BM_PairedCodecOverhead(benchmark::State& state)
{
  DJ2KEncoderRegistration::registerCodecs(OFTrue, 0, EJ2KUC_default, OFFalse);
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

// dcmcj2k and gdcmconv --j2k alternately on the same file; ratio of the children's CPU time.
void BM_PairedToolRatio(benchmark::State& state)
{
  const std::string output = Directory() + "/out.dcm";
  const std::vector<std::string> ours{ ProgramBeside("dcmcj2k"), InputFile(), output };
  const std::vector<std::string> gdcm{ GDCMCONV_PATH, "--j2k", InputFile(), output };
  std::vector<double> ratios;
  for (auto _ : state)
  {
    double a = 0, b = 0;
    if (!RunProcess(ours, a) || !RunProcess(gdcm, b))
    {
      state.SkipWithError("a tool failed");
      break;
    }
    ratios.push_back(a / b);
  }
  std::remove(output.c_str());
  state.counters["ratio"] = Median(ratios);
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
BENCHMARK(BM_PairedToolRatio)->Unit(benchmark::kMillisecond)->Iterations(5);

// Keeps the real time per iteration of each benchmark for the ratios.
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
      auto ratio = run.counters.find("ratio");
      if (!run.error_occurred && ratio != run.counters.end())
      {
        paired_[run.benchmark_name()] = ratio->second.value;
      }
      if (!run.error_occurred)
      {
        // In-process pairs compare CPU time; the tool runs report the child's CPU time
        // as their manual (real) time.
        seconds_[run.benchmark_name()] =
          run.benchmark_name().find("manual_time") != std::string::npos ? run.GetAdjustedRealTime()
                                                                        : run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintPaired(const char* label, const std::string& name, const char* goal)
  {
    for (const auto& entry : paired_)
    {
      if (entry.first.compare(0, name.size(), name) == 0)
      {
        std::printf("%-48s %.3f%s\n", label, entry.second, goal);
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
    std::printf("%-48s %.3f%s\n", label, ia->second / ib->second, goal);
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
  std::map<std::string, double> paired_;
};
} // namespace

int main(int argc, char** argv)
{
  for (int i = 1; i < argc; ++i)
  {
    if (std::strncmp(argv[i], "--frames=", 9) == 0)
    {
      Frames = std::atoi(argv[i] + 9);
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
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
  {
    return 2;
  }
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::printf("\n");
  reporter.PrintRatio("DCMTK + wavecodec / OpenJPEG alone:",
    "BM_DcmtkCodec",
    "BM_OpenJPEGAlone",
    "  (goal: at most 1.05)");
  reporter.PrintRatio(
    "dcmcj2k / gdcmconv --j2k (whole process):", "BM_Dcmcj2kProcess", "BM_GdcmconvJ2kProcess", "");
  reporter.PrintPaired("paired: DCMTK + wavecodec / OpenJPEG alone:",
    "BM_PairedCodecOverhead",
    "  (goal: at most 1.05)");
  reporter.PrintPaired("paired: dcmcj2k / gdcmconv --j2k:", "BM_PairedToolRatio", "");
  if (Directory() != "/tmp")
  {
    std::remove((Directory() + "/series.dcm").c_str());
    rmdir(Directory().c_str());
  }
  return 0;
}
