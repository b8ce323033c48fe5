// Heap bytes in use and their peak, counted by the malloc family of the benchmark program
// itself (BenchmarkHeap.cxx wraps glibc's allocator; every library the program loads allocates
// through it). Not available in sanitizer builds, whose allocator must stay in charge.
#ifndef BenchmarkHeap_h
#define BenchmarkHeap_h

#include <cstddef>
#include <functional>

// False when the allocator is not counted (sanitizer builds).
bool HeapCounted();

// How far the bytes allocated and not yet freed rise above those at the start while work
// runs, in MiB; -1 when the heap is not counted. Allocations of other threads during the
// work count too.
double PeakHeapGrowthMiB(const std::function<void()>& work);

#endif
