// Worker threads of the JPEG 2000 codec: the frames of a data set, or the files of a folder,
// worked on in parallel.
#ifndef DJ2KPOOL_H
#define DJ2KPOOL_H

#include "dcmtk/config/osconfig.h"
#include "dcmtk/ofstd/oftypes.h"

#include "dj2kutil.h"

#include <cstddef>
#include <functional>
#include <memory>

// A fixed set of threads that run indexed work. The thread that calls run() works too, so a
// pool of n threads starts n - 1 threads of its own; they live until the pool is destroyed.
// run() may be called from inside work of the same pool (a file converted by a worker hands
// its frames to the same pool): the nested work is shared by the threads that are free, the
// caller included, and no thread waits for work that nobody runs.
class WAVECODEC_EXPORT DJ2KThreadPool
{
public:
  // threads: threads in all, the caller of run() included; 0 means hardwareThreads().
  // Fewer are used when the system cannot start more.
  explicit DJ2KThreadPool(Uint32 threads);

  // Waits for the pool's threads to finish; no run() may be in progress.
  ~DJ2KThreadPool();

  DJ2KThreadPool(const DJ2KThreadPool&) = delete;
  DJ2KThreadPool& operator=(const DJ2KThreadPool&) = delete;

  // Threads in all, the caller of run() included.
  Uint32 threads() const;

  // Calls work(i) for every i below count, on at most maxThreads threads at once (0: as many
  // as the pool has), and returns when every started call has returned. When commit is given,
  // commit(i) is called for i = 0, 1, 2, ... in this order, one call at a time, as soon as
  // work(i) has returned; at most window indices (0: no limit) are started and not yet
  // committed, which bounds the results that wait for their turn. When commit returns false,
  // no further work is started and no later index is committed. An exception thrown by
  // either function stops the run in the same way and is thrown again by run().
  void run(size_t count,
    const std::function<void(size_t)>& work,
    const std::function<OFBool(size_t)>& commit = std::function<OFBool(size_t)>(),
    size_t window = 0,
    Uint32 maxThreads = 0);

  // The pool whose work the calling thread is doing, null outside of any pool's work.
  static DJ2KThreadPool* current();

  // Threads the machine runs at once: its hardware concurrency, at least 1.
  static Uint32 hardwareThreads();

private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

#endif
