// Dijkstra shortest paths on a 6-connected 3-D grid with float edge weights, one priority
// queue node per voxel: prioheap against std::priority_queue with lazy deletion and
// boost::heap::fibonacci_heap, measured side by side in one run. The console report ends with
// prioheap's time per voxel as a ratio to each of the other two, beside the speed goals.
//
// The grid edge length is 128 by default (--grid=N on the command line to change it, e.g. for a
// quick demo). Every variant keeps its per-voxel arrays (nodes, distances, states, handles)
// in transparent huge pages when the kernel grants them, as a caller holding one node per
// voxel of a large grid would arrange; --hugepages=0 uses ordinary pages throughout.
#include "BenchmarkMedian.h"
#include "FibHeap.h"

#include <benchmark/benchmark.h>
#include <boost/heap/fibonacci_heap.hpp>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <malloc.h>
#include <map>
#include <new>
#include <queue>
#include <random>
#include <string>
#include <sys/mman.h>
#include <vector>

// Heap memory accounting: every allocation of the process is counted, so the peak during one
// shortest-path run is what that variant really needs.
namespace
{
std::size_t CurrentBytes = 0;
std::size_t PeakBytes = 0;
}

__attribute__((noinline)) void* operator new(std::size_t size)
{
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr)
    throw std::bad_alloc();
  CurrentBytes += malloc_usable_size(block);
  if (CurrentBytes > PeakBytes)
    PeakBytes = CurrentBytes;
  return block;
}

__attribute__((noinline)) void operator delete(void* block) noexcept
{
  if (block == nullptr)
    return;
  CurrentBytes -= malloc_usable_size(block);
  std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
  operator delete(block);
}

namespace
{
bool UseHugePages = true;
constexpr std::size_t HugePageBytes = std::size_t{ 2 } << 20;

// Allocator of the per-voxel arrays: blocks of a huge page or more are aligned to huge pages
// and offered to the kernel for them. Counted like every other allocation, by the bytes the
// array asks for.
template <typename T>
struct VoxelAllocator
{
  using value_type = T;
  VoxelAllocator() = default;
  template <typename U>
  VoxelAllocator(const VoxelAllocator<U>&)
  {
  }
  T* allocate(std::size_t count)
  {
    const std::size_t bytes = count * sizeof(T);
    if (!UseHugePages || bytes < HugePageBytes)
    {
      return static_cast<T*>(::operator new(bytes));
    }
    const std::size_t rounded = (bytes + HugePageBytes - 1) / HugePageBytes * HugePageBytes;
    void* block = std::aligned_alloc(HugePageBytes, rounded);
    if (block == nullptr)
      throw std::bad_alloc();
    madvise(block, rounded, MADV_HUGEPAGE);
    // Counted as asked for: the alignment slack around the block is never touched.
    CurrentBytes += bytes;
    if (CurrentBytes > PeakBytes)
      PeakBytes = CurrentBytes;
    return static_cast<T*>(block);
  }
  void deallocate(T* block, std::size_t count) noexcept
  {
    if (!UseHugePages || count * sizeof(T) < HugePageBytes)
    {
      ::operator delete(block);
      return;
    }
    CurrentBytes -= count * sizeof(T);
    std::free(block);
  }
  template <typename U>
  bool operator==(const VoxelAllocator<U>&) const
  {
    return true;
  }
  template <typename U>
  bool operator!=(const VoxelAllocator<U>&) const
  {
    return false;
  }
};

template <typename T>
using VoxelVector = std::vector<T, VoxelAllocator<T>>;

// Kilobytes of the process's anonymous memory in huge pages.
long AnonHugePagesKiB()
{
  std::ifstream rollup("/proc/self/smaps_rollup");
  std::string line;
  while (std::getline(rollup, line))
  {
    if (line.compare(0, 14, "AnonHugePages:") == 0)
      return std::atol(line.c_str() + 14);
  }
  return -1;
}

// What the kernel grants: the huge-page kilobytes a touched 64 MiB voxel array gets.
std::string HugePageReport()
{
  if (!UseHugePages)
    return "off (--hugepages=0)";
  const long before = AnonHugePagesKiB();
  VoxelVector<char> probe(std::size_t{ 64 } << 20, 1);
  const long granted = AnonHugePagesKiB() - before;
  if (before < 0)
    return "requested (cannot read /proc/self/smaps_rollup)";
  return "requested, " + std::to_string(granted / 1024) + " of 64 MiB granted";
}
}

namespace
{
int GridSize = 128;

struct Grid
{
  int N = 0;
  VoxelVector<float> Cost; // traversal cost of each voxel; edge weight is the mean of its ends

  std::uint32_t Count() const { return static_cast<std::uint32_t>(N) * N * N; }
};

const Grid& GetGrid()
{
  static Grid grid;
  if (grid.N != GridSize)
  {
    grid.N = GridSize;
    grid.Cost.resize(grid.Count());
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> cost(0.1f, 10.0f);
    for (float& c : grid.Cost)
    {
      c = cost(rng);
    }
  }
  return grid;
}

template <typename Visit>
inline void ForEachNeighbour(const Grid& grid, std::uint32_t index, Visit&& visit)
{
  const std::uint32_t n = static_cast<std::uint32_t>(grid.N);
  const std::uint32_t x = index % n;
  const std::uint32_t y = (index / n) % n;
  const std::uint32_t z = index / (n * n);
  if (x > 0)
    visit(index - 1);
  if (x + 1 < n)
    visit(index + 1);
  if (y > 0)
    visit(index - n);
  if (y + 1 < n)
    visit(index + n);
  if (z > 0)
    visit(index - n * n);
  if (z + 1 < n)
    visit(index + n * n);
}

inline float EdgeWeight(const Grid& grid, std::uint32_t a, std::uint32_t b)
{
  return 0.5f * (grid.Cost[a] + grid.Cost[b]);
}

// Returns the sum of all distances, so the work cannot be optimised away and the three
// variants can be compared.
double DijkstraPrioheap(const Grid& grid, VoxelVector<FibHeapNode>& nodes)
{
  const std::uint32_t count = grid.Count();
  constexpr float Infinity = std::numeric_limits<float>::infinity();
  VoxelVector<std::uint8_t> state(count, 0); // 0 unseen, 1 in heap, 2 done
  for (std::uint32_t i = 0; i < count; ++i)
  {
    nodes[i] = FibHeapNode();
    nodes[i].SetIndexValue(i);
    nodes[i] = Infinity;
  }
  FibHeap heap;
  heap.SetHeapNodes(nodes.data());
  nodes[0] = 0.0f;
  heap.Insert(&nodes[0]);
  state[0] = 1;
  double total = 0.0;
  while (FibHeapNode* node = heap.ExtractMin())
  {
    const std::uint32_t u = node->GetIndexValue();
    const float du = node->GetKeyValue();
    state[u] = 2;
    total += du;
    ForEachNeighbour(grid,
      u,
      [&](std::uint32_t v)
      {
        if (state[v] == 2)
          return;
        const float candidate = du + EdgeWeight(grid, u, v);
        if (state[v] == 0)
        {
          nodes[v] = candidate;
          heap.Insert(&nodes[v]);
          state[v] = 1;
        }
        else if (candidate < nodes[v].GetKeyValue())
        {
          heap.DecreaseKey(&nodes[v], candidate);
        }
      });
  }
  return total;
}

double DijkstraStdLazy(const Grid& grid)
{
  const std::uint32_t count = grid.Count();
  VoxelVector<float> dist(count, std::numeric_limits<float>::infinity());
  VoxelVector<std::uint8_t> done(count, 0);
  using Entry = std::pair<float, std::uint32_t>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
  dist[0] = 0.0f;
  queue.emplace(0.0f, 0);
  double total = 0.0;
  while (!queue.empty())
  {
    const auto [du, u] = queue.top();
    queue.pop();
    if (done[u])
      continue;
    done[u] = 1;
    total += du;
    ForEachNeighbour(grid,
      u,
      [&](std::uint32_t v)
      {
        if (done[v])
          return;
        const float candidate = du + EdgeWeight(grid, u, v);
        if (candidate < dist[v])
        {
          dist[v] = candidate;
          queue.emplace(candidate, v);
        }
      });
  }
  return total;
}

struct BoostEntry
{
  float Key;
  std::uint32_t Index;
  bool operator<(const BoostEntry& other) const { return Key > other.Key; } // min-heap
};
using BoostHeap = boost::heap::fibonacci_heap<BoostEntry>;

double DijkstraBoost(const Grid& grid)
{
  const std::uint32_t count = grid.Count();
  VoxelVector<BoostHeap::handle_type> handles(count);
  VoxelVector<std::uint8_t> state(count, 0);
  BoostHeap heap;
  handles[0] = heap.push({ 0.0f, 0 });
  state[0] = 1;
  double total = 0.0;
  while (!heap.empty())
  {
    const BoostEntry top = heap.top();
    heap.pop();
    state[top.Index] = 2;
    total += top.Key;
    ForEachNeighbour(grid,
      top.Index,
      [&](std::uint32_t v)
      {
        if (state[v] == 2)
          return;
        const float candidate = top.Key + EdgeWeight(grid, top.Index, v);
        if (state[v] == 0)
        {
          handles[v] = heap.push({ candidate, v });
          state[v] = 1;
        }
        else if (candidate < (*handles[v]).Key)
        {
          heap.increase(handles[v], { candidate, v }); // "increase" priority: smaller key
        }
      });
  }
  return total;
}

// Time per voxel of every repetition of each variant, for the ratios printed at the end.
std::map<std::string, std::vector<double>> NanosecondsPerVoxel;

// Runs one variant under the benchmark loop; the first run also measures its peak memory.
template <typename Run>
void RunVariant(benchmark::State& state, const char* variant, Run&& run)
{
  const double voxels = static_cast<double>(GetGrid().Count());
  const std::size_t baseline = CurrentBytes;
  PeakBytes = CurrentBytes;
  double total = run();
  const double peakPerVoxel = static_cast<double>(PeakBytes - baseline) / voxels;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state)
  {
    total = run();
    benchmark::DoNotOptimize(total);
  }
  const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
  if (state.iterations() > 0)
  {
    NanosecondsPerVoxel[variant].push_back(
      elapsed.count() / static_cast<double>(state.iterations()) / voxels);
  }
  state.counters["time_per_voxel"] = benchmark::Counter(
    voxels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["peak_bytes_per_voxel"] = peakPerVoxel;
  state.counters["path_sum"] = total;
}

void BM_Prioheap(benchmark::State& state)
{
  RunVariant(state,
    "prioheap",
    []
    {
      VoxelVector<FibHeapNode> nodes(GetGrid().Count());
      return DijkstraPrioheap(GetGrid(), nodes);
    });
}

void BM_StdPriorityQueueLazy(benchmark::State& state)
{
  RunVariant(state, "std::priority_queue", [] { return DijkstraStdLazy(GetGrid()); });
}

void BM_BoostFibonacciHeap(benchmark::State& state)
{
  RunVariant(state, "boost::heap::fibonacci_heap", [] { return DijkstraBoost(GetGrid()); });
}

// The speed goals, as ratios of the median times per voxel measured in this run.
void PrintRatios()
{
  const auto prioheap = NanosecondsPerVoxel.find("prioheap");
  if (prioheap == NanosecondsPerVoxel.end())
    return;
  const double ours = Median(prioheap->second);
  const std::size_t runs = prioheap->second.size();
  if (runs == 1)
    std::printf("\nprioheap time per voxel (1 run) against:\n");
  else
    std::printf("\nprioheap time per voxel (median of %zu runs) against:\n", runs);
  const struct
  {
    const char* Variant;
    const char* Goal;
  } goals[] = { { "boost::heap::fibonacci_heap", "below 1" },
    { "std::priority_queue", "at most 1.5" } };
  for (const auto& goal : goals)
  {
    const auto other = NanosecondsPerVoxel.find(goal.Variant);
    if (other != NanosecondsPerVoxel.end())
      std::printf(
        "  %-28s %.2f (goal: %s)\n", goal.Variant, ours / Median(other->second), goal.Goal);
  }
}

BENCHMARK(BM_Prioheap)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StdPriorityQueueLazy)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BoostFibonacciHeap)->Unit(benchmark::kMillisecond)->Iterations(3);
}

int main(int argc, char** argv)
{
  // The ratio summary would break a machine-readable report on standard output.
  bool consoleFormat = true;
  for (int i = 1; i < argc; ++i)
  {
    // Left in place for the benchmark library, which reads it too.
    if (std::strncmp(argv[i], "--benchmark_format=", 19) == 0)
      consoleFormat = std::strcmp(argv[i] + 19, "console") == 0;
    const bool grid = std::strncmp(argv[i], "--grid=", 7) == 0;
    const bool hugePages = std::strncmp(argv[i], "--hugepages=", 12) == 0;
    if (grid || hugePages)
    {
      if (grid)
        GridSize = std::atoi(argv[i] + 7);
      else
        UseHugePages = std::strcmp(argv[i] + 12, "0") != 0;
      for (int j = i; j + 1 < argc; ++j)
        argv[j] = argv[j + 1];
      --argc;
      --i;
    }
  }
  if (GridSize < 2 || GridSize > 1024)
  {
    std::fprintf(stderr, "grid edge must be between 2 and 1024\n");
    return 2;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::AddCustomContext("grid", std::to_string(GridSize) + "^3 voxels");
  benchmark::AddCustomContext("huge pages for voxel arrays", HugePageReport());
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 2;
  benchmark::RunSpecifiedBenchmarks();
  if (consoleFormat)
    PrintRatios();
  benchmark::Shutdown();
  return 0;
}
