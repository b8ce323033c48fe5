#include "BenchmarkHeap.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define BENCHMARK_HEAP_COUNTED 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define BENCHMARK_HEAP_COUNTED 0
#endif
#endif
#ifndef BENCHMARK_HEAP_COUNTED
#define BENCHMARK_HEAP_COUNTED 1
#endif

#if BENCHMARK_HEAP_COUNTED

#include <atomic>
#include <cerrno>
#include <malloc.h>

extern "C"
{
  void* __libc_malloc(size_t size);
  void* __libc_calloc(size_t count, size_t size);
  void* __libc_realloc(void* pointer, size_t size);
  void* __libc_memalign(size_t alignment, size_t size);
  void __libc_free(void* pointer);
}

namespace
{
std::atomic<long long> InUse(0);
std::atomic<long long> Peak(0);

void Count(long long bytes)
{
  const long long now = InUse.fetch_add(bytes, std::memory_order_relaxed) + bytes;
  long long peak = Peak.load(std::memory_order_relaxed);
  while (now > peak && !Peak.compare_exchange_weak(peak, now, std::memory_order_relaxed))
  {
  }
}

void* Counted(void* pointer)
{
  if (pointer != nullptr)
    Count(static_cast<long long>(malloc_usable_size(pointer)));
  return pointer;
}
} // namespace

extern "C"
{
  void* malloc(size_t size)
  {
    return Counted(__libc_malloc(size));
  }

  void* calloc(size_t count, size_t size)
  {
    return Counted(__libc_calloc(count, size));
  }

  void free(void* pointer)
  {
    if (pointer != nullptr)
      Count(-static_cast<long long>(malloc_usable_size(pointer)));
    __libc_free(pointer);
  }

  void* realloc(void* pointer, size_t size)
  {
    const long long before =
      pointer != nullptr ? static_cast<long long>(malloc_usable_size(pointer)) : 0;
    void* result = __libc_realloc(pointer, size);
    if (result != nullptr)
      Count(static_cast<long long>(malloc_usable_size(result)) - before);
    else if (size == 0 && pointer != nullptr)
      Count(-before); // freed
    return result;
  }

  void* memalign(size_t alignment, size_t size)
  {
    return Counted(__libc_memalign(alignment, size));
  }

  void* aligned_alloc(size_t alignment, size_t size)
  {
    return Counted(__libc_memalign(alignment, size));
  }

  int posix_memalign(void** result, size_t alignment, size_t size)
  {
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
      return EINVAL;
    void* pointer = Counted(__libc_memalign(alignment, size));
    if (pointer == nullptr && size != 0)
      return ENOMEM;
    *result = pointer;
    return 0;
  }
}

bool HeapCounted()
{
  return true;
}

double PeakHeapGrowthMiB(const std::function<void()>& work)
{
  const long long start = InUse.load();
  Peak.store(start);
  work();
  return double(Peak.load() - start) / (1024.0 * 1024.0);
}

#else

bool HeapCounted()
{
  return false;
}

double PeakHeapGrowthMiB(const std::function<void()>& work)
{
  work();
  return -1;
}

#endif
