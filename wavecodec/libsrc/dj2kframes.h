// How the threads of one codec call are shared out among the frames of a data set (internal
// to the library).
#ifndef DJ2KFRAMES_H
#define DJ2KFRAMES_H

#include "dcmtk/config/osconfig.h"
#include "dcmtk/ofstd/oftypes.h"

#include <cstddef>
#include <functional>

class DJ2KThreadPool;

// Frames go to worker threads, one frame per thread at a time. Where there are fewer frames
// than threads, OpenJPEG gets the threads left over for its own work inside a frame, unless
// the frames are small (starting threads would cost more than they save). A call made from
// the work of a pool (a tool converting the files of a folder) hands its frames to that pool,
// whose threads are busy with other files: OpenJPEG gets no threads then.
class DJ2KFrameRunner
{
public:
  // Frames of fewer samples (columns x rows x samples per pixel) decode or encode in a few
  // milliseconds, of which starting OpenJPEG's threads would take a good part.
  static const Uint64 minimumSamplesForOpenJPEGThreads = 65536;

  // threadCount as the codec parameter gives it (0: one per processor core); frameSamples:
  // columns x rows x samples per pixel of each frame.
  DJ2KFrameRunner(Uint32 threadCount, size_t frames, Uint64 frameSamples);

  // Threads working on frames at once, the caller's included.
  Uint32 workers() const { return workers_; }

  // Threads OpenJPEG may use for frame (1: none of its own).
  Uint32 openjpegThreads(size_t frame) const;

  // work(i) for every frame, commit(i) in frame order as DJ2KThreadPool::run describes; with
  // one worker both run on the calling thread, frame after frame, and no thread is started.
  // window: frames started and not yet committed, at most (0: no limit).
  void run(const std::function<void(size_t)>& work,
    const std::function<OFBool(size_t)>& commit,
    size_t window) const;

private:
  size_t frames_;
  Uint64 frameSamples_;
  Uint32 threads_;
  Uint32 workers_;
  DJ2KThreadPool* pool_;
};

#endif
