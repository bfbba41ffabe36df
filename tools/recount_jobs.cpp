#include "tools/recount_jobs.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#ifdef __linux__
#include <sched.h>
#endif

namespace {

// What the threads share, under one lock.
struct Shared {
  std::mutex lock;
  std::condition_variable changed;
  size_t next = 0;       // the next item to start
  size_t delivered = 0;  // items handed on so far
  std::vector<bool> done;
};

void worker(Shared& s, size_t count, size_t window, OrderedWork& work) {
  for (;;) {
    size_t i;
    {
      std::unique_lock<std::mutex> hold(s.lock);
      s.changed.wait(hold, [&] { return s.next >= count || s.next < s.delivered + window; });
      if (s.next >= count) return;
      i = s.next++;
    }
    work.run(i);
    {
      const std::lock_guard<std::mutex> hold(s.lock);
      s.done[i] = true;
    }
    s.changed.notify_all();
  }
}

}  // namespace

void runInOrder(size_t count, int jobs, OrderedWork& work) {
  const auto threads = static_cast<size_t>(std::max(jobs, 1));
  if (threads == 1 || count <= 1) {
    for (size_t i = 0; i < count; ++i) {
      work.run(i);
      work.deliver(i);
    }
    return;
  }
  Shared s;
  s.done.assign(count, false);
  std::vector<std::thread> pool;
  pool.reserve(std::min(threads, count));
  for (size_t t = 0; t < std::min(threads, count); ++t) {
    pool.emplace_back(worker, std::ref(s), count, threads, std::ref(work));
  }
  for (size_t i = 0; i < count; ++i) {
    {
      std::unique_lock<std::mutex> hold(s.lock);
      while (!s.changed.wait_for(hold, std::chrono::milliseconds(kIdleCallMs), [&] { return bool(s.done[i]); })) {
        hold.unlock();
        work.idle(i);
        hold.lock();
      }
    }
    work.deliver(i);
    {
      const std::lock_guard<std::mutex> hold(s.lock);
      s.delivered = i + 1;
    }
    s.changed.notify_all();
  }
  for (std::thread& t : pool) t.join();
}

int availableCores() {
#ifdef __linux__
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(CPU_COUNT(&set), 1);
#endif
  return static_cast<int>(std::max(std::thread::hardware_concurrency(), 1U));
}
