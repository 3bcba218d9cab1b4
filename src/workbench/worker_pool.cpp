#include "workbench/worker_pool.h"

#include <algorithm>

namespace vemla {

WorkerPool::WorkerPool(int threads) {
  const int hardware = static_cast<int>(std::thread::hardware_concurrency());
  threads_ = std::max(threads > 0 ? threads : hardware, 1);
}

WorkerPool::~WorkerPool() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

ParallelFor WorkerPool::parallelFor() {
  return ParallelFor(
      threads_, [this](int count, int parts, const LoopBody& body) { run(count, parts, body); });
}

void WorkerPool::run(int count, int parts, const LoopBody& body) {
  parts = std::clamp(parts, 1, std::min(std::max(count, 1), threads_));
  if (parts == 1) {
    if (count > 0) body(0, count);
    return;
  }
  const std::lock_guard running(runMutex_);
  // The workers start with the first loop that needs them and stay until the pool ends.
  if (workers_.empty()) {
    workers_.reserve(static_cast<std::size_t>(threads_ - 1));
    // Started before the loop below is announced, they all wait for it.
    const unsigned seen = generation_;
    for (int i = 1; i < threads_; ++i) workers_.emplace_back([this, seen] { work(seen); });
  }
  std::unique_lock lock(mutex_);
  body_ = &body;
  count_ = count;
  parts_ = parts;
  nextPiece_ = 0;
  piecesLeft_ = parts;
  ++generation_;
  wake_.notify_all();
  runPieces(lock);
  finished_.wait(lock, [this] { return piecesLeft_ == 0; });
  body_ = nullptr;
}

void WorkerPool::runPieces(std::unique_lock<std::mutex>& lock) {
  while (body_ != nullptr && nextPiece_ < parts_) {
    const int piece = nextPiece_++;
    const LoopBody& body = *body_;
    // Piece i covers [count * i / parts, count * (i + 1) / parts).
    const long long count = count_, parts = parts_;
    const int begin = static_cast<int>(count * piece / parts);
    const int end = static_cast<int>(count * (piece + 1) / parts);
    lock.unlock();
    body(begin, end);
    lock.lock();
    if (--piecesLeft_ == 0) finished_.notify_all();
  }
}

void WorkerPool::work(unsigned seen) {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
    if (stopping_) return;
    seen = generation_;
    runPieces(lock);
  }
}

}  // namespace vemla
