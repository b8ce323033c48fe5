#include "dj2kframes.h"

#include "dj2kpool.h"

DJ2KFrameRunner::DJ2KFrameRunner(Uint32 threadCount, size_t frames, Uint64 frameSamples)
  : frames_(frames)
  , frameSamples_(frameSamples)
  , threads_(threadCount == 0 ? DJ2KThreadPool::hardwareThreads() : threadCount)
  , workers_(1)
  , pool_(DJ2KThreadPool::current())
{
  Uint32 workers = threads_;
  if (pool_ != nullptr && pool_->threads() < workers)
    workers = pool_->threads();
  if (frames_ < workers)
    workers = frames_ == 0 ? 1 : static_cast<Uint32>(frames_);
  workers_ = workers;
}

Uint32 DJ2KFrameRunner::openjpegThreads(size_t frame) const
{
  if (pool_ != nullptr || frames_ == 0 || frames_ >= threads_ ||
      frameSamples_ < minimumSamplesForOpenJPEGThreads)
    return 1;
  // The threads shared out evenly, the first frames taking one more of the remainder.
  const Uint32 frames = static_cast<Uint32>(frames_);
  return threads_ / frames + (frame < threads_ % frames ? 1 : 0);
}

void DJ2KFrameRunner::run(const std::function<void(size_t)>& work,
  const std::function<OFBool(size_t)>& commit,
  size_t window) const
{
  if (workers_ <= 1)
  {
    for (size_t frame = 0; frame < frames_; ++frame)
    {
      work(frame);
      if (commit && !commit(frame))
        break;
    }
  }
  else if (pool_ != nullptr)
  {
    pool_->run(frames_, work, commit, window, workers_);
  }
  else
  {
    DJ2KThreadPool pool(workers_);
    pool.run(frames_, work, commit, window);
  }
}
