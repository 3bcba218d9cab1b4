#pragma once
// The workbench's threads for the heavy kernels: one pool, started once (with its first loop),
// with one thread less than the machine has (the calling thread takes a share of every loop). Loops
// are run one at a time; a loop's pieces are numbered and taken in turn by the workers and the
// caller, and the call returns when every piece is done.
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "processing/parallel_for.h"

namespace vemla {

class WorkerPool {
 public:
  // `threads` in all, the caller included; 0 takes the machine's hardware threads.
  explicit WorkerPool(int threads = 0);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  int threads() const { return threads_; }
  // A ParallelFor that runs its loops on this pool; valid while the pool lives.
  ParallelFor parallelFor();
  // Splits [0, count) into `parts` consecutive pieces and runs body on each.
  void run(int count, int parts, const LoopBody& body);

 private:
  // A worker: runs pieces of every loop announced after `seen`.
  void work(unsigned seen);
  // Takes and runs pieces of the current loop until none is left; called with the lock held.
  void runPieces(std::unique_lock<std::mutex>& lock);

  int threads_ = 1;
  std::vector<std::thread> workers_;
  std::mutex runMutex_;  // one loop at a time
  std::mutex mutex_;
  std::condition_variable wake_, finished_;
  const LoopBody* body_ = nullptr;
  int count_ = 0, parts_ = 0;
  int nextPiece_ = 0, piecesLeft_ = 0;
  unsigned generation_ = 0;
  bool stopping_ = false;
};

}  // namespace vemla
