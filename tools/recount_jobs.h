// Work on many items on several threads, handed back in the items' order.
//
// runInOrder(count, jobs, work) calls work.run(i) for i = 0..count-1 on up to
// `jobs` threads, and work.deliver(i) on the calling thread for i = 0, 1, 2,
// ... in that order, each after its run has returned. An item is started
// only while fewer than `jobs` items are started and not yet delivered, so
// at most `jobs` results wait in memory however uneven the items are. With
// jobs 1 everything runs on the calling thread, one item after the other.
#ifndef TINDAVEL_TOOLS_RECOUNT_JOBS_H_
#define TINDAVEL_TOOLS_RECOUNT_JOBS_H_

#include <cstddef>

class OrderedWork {
 public:
  // Does item i; may run on any thread, beside other items' runs. Keeps its
  // result where deliver(i) finds it.
  virtual void run(size_t index) = 0;
  // Hands on item i's result, on the calling thread, in order.
  virtual void deliver(size_t index) = 0;
  // Called on the calling thread while it waits for item `waiting`, about
  // once every `kIdleCallMs` milliseconds (a progress line).
  virtual void idle(size_t waiting) { (void)waiting; }

 protected:
  ~OrderedWork() = default;
};

inline constexpr int kIdleCallMs = 500;

void runInOrder(size_t count, int jobs, OrderedWork& work);

// The cores this process may run on (its CPU affinity), at least 1.
int availableCores();

#endif  // TINDAVEL_TOOLS_RECOUNT_JOBS_H_
