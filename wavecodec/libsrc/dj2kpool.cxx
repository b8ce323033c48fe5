#include "dj2kpool.h"

#include <condition_variable>
#include <exception>
#include <list>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace
{

// One call of run(): how far its indices are started, finished and committed.
struct Job
{
  size_t count = 0;
  size_t window = 0;
  Uint32 maxThreads = 0;
  const std::function<void(size_t)>* work = nullptr;
  const std::function<OFBool(size_t)>* commit = nullptr;
  size_t next = 0;            // the next index to start
  size_t committed = 0;       // every index below is committed
  Uint32 running = 0;         // calls of work in progress
  bool committing = false;    // a thread is calling commit
  bool stopped = false;       // a commit returned false or a call threw
  std::vector<bool> finished; // work(i) has returned
  std::exception_ptr error;
};

// The pool whose work the calling thread is doing.
thread_local DJ2KThreadPool* currentPool = nullptr;

} // namespace

struct DJ2KThreadPool::Impl
{
  std::mutex mutex;
  std::condition_variable changed;
  std::list<Job*> jobs; // newest first: nested work is finished before more is begun
  std::vector<std::thread> workers;
  bool stopping = false;

  static bool startable(const Job& job)
  {
    return !job.stopped && job.next < job.count &&
           (job.window == 0 || job.next < job.committed + job.window) &&
           (job.maxThreads == 0 || job.running < job.maxThreads);
  }

  static bool done(const Job& job)
  {
    return job.running == 0 && !job.committing && (job.stopped || job.committed == job.count);
  }

  Job* pick()
  {
    for (Job* job : jobs)
    {
      if (startable(*job))
        return job;
    }
    return nullptr;
  }

  // Runs the next index of job without the lock, then commits what is ready in order.
  void runOne(Job& job, std::unique_lock<std::mutex>& lock)
  {
    const size_t index = job.next++;
    ++job.running;
    lock.unlock();
    std::exception_ptr error;
    try
    {
      (*job.work)(index);
    }
    catch (...)
    {
      error = std::current_exception();
    }
    lock.lock();
    --job.running;
    job.finished[index] = true;
    if (error)
      stop(job, error);
    commitReady(job, lock);
    changed.notify_all();
  }

  static void stop(Job& job, const std::exception_ptr& error)
  {
    job.stopped = true;
    if (!job.error)
      job.error = error;
  }

  // One thread at a time commits the finished indices that follow the committed ones.
  static void commitReady(Job& job, std::unique_lock<std::mutex>& lock)
  {
    if (job.committing)
      return;
    job.committing = true;
    while (!job.stopped && job.committed < job.count && job.finished[job.committed])
    {
      OFBool ok = OFTrue;
      if (job.commit != nullptr && *job.commit)
      {
        const size_t index = job.committed;
        lock.unlock();
        std::exception_ptr error;
        try
        {
          ok = (*job.commit)(index);
        }
        catch (...)
        {
          error = std::current_exception();
          ok = OFFalse;
        }
        lock.lock();
        if (error)
          stop(job, error);
      }
      ++job.committed;
      if (!ok)
        job.stopped = true;
    }
    job.committing = false;
  }

  void workerLoop(DJ2KThreadPool* pool)
  {
    currentPool = pool;
    std::unique_lock<std::mutex> lock(mutex);
    for (;;)
    {
      if (Job* job = pick())
        runOne(*job, lock);
      else if (stopping)
        break;
      else
        changed.wait(lock);
    }
  }
};

DJ2KThreadPool::DJ2KThreadPool(Uint32 threads)
  : impl_(new Impl)
{
  const Uint32 wanted = threads == 0 ? hardwareThreads() : threads;
  impl_->workers.reserve(wanted - 1);
  for (Uint32 k = 1; k < wanted; ++k)
  {
    try
    {
      impl_->workers.emplace_back(&Impl::workerLoop, impl_.get(), this);
    }
    catch (const std::system_error&)
    {
      // The system has no more threads to give: work with those there are.
      break;
    }
  }
}

DJ2KThreadPool::~DJ2KThreadPool()
{
  {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->stopping = true;
  }
  impl_->changed.notify_all();
  for (std::thread& worker : impl_->workers)
    worker.join();
}

Uint32 DJ2KThreadPool::threads() const
{
  return static_cast<Uint32>(impl_->workers.size()) + 1;
}

void DJ2KThreadPool::run(size_t count,
  const std::function<void(size_t)>& work,
  const std::function<OFBool(size_t)>& commit,
  size_t window,
  Uint32 maxThreads)
{
  if (count == 0)
    return;
  Job job;
  job.count = count;
  job.window = window;
  job.maxThreads = maxThreads;
  job.work = &work;
  job.commit = &commit;
  job.finished.assign(count, false);

  DJ2KThreadPool* const outer = currentPool;
  currentPool = this;
  std::unique_lock<std::mutex> lock(impl_->mutex);
  impl_->jobs.push_front(&job);
  impl_->changed.notify_all();
  // The caller works on its own job only, so it returns as soon as that job is done.
  for (;;)
  {
    if (Impl::startable(job))
      impl_->runOne(job, lock);
    else if (Impl::done(job))
      break;
    else
      impl_->changed.wait(lock);
  }
  impl_->jobs.remove(&job);
  lock.unlock();
  currentPool = outer;
  if (job.error)
    std::rethrow_exception(job.error);
}

DJ2KThreadPool* DJ2KThreadPool::current()
{
  return currentPool;
}

Uint32 DJ2KThreadPool::hardwareThreads()
{
  const unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 1 : static_cast<Uint32>(n);
}
