#pragma once
// How a kernel hands out independent pieces of its work (rows, candidates) to threads. The
// kernels never own threads: the caller passes a ParallelFor bound to its pool, and the
// default runs everything on the calling thread. Every kernel that takes one computes exactly
// the same integers whichever way the pieces are run.
#include <cstddef>
#include <functional>

namespace vemla {

// The pieces [begin, end) of one loop.
using LoopBody = std::function<void(int begin, int end)>;

class ParallelFor {
 public:
  // Splits [0, count) into at most `parts` consecutive pieces, runs `body` on each (possibly
  // at the same time) and returns when all are done.
  using Runner = std::function<void(int count, int parts, const LoopBody& body)>;

  ParallelFor() = default;  // everything on the calling thread
  ParallelFor(int threads, Runner runner) : threads_(threads), runner_(std::move(runner)) {}

  int threads() const { return runner_ ? threads_ : 1; }

  // Runs body over [0, count). `work` is the amount of work of the whole loop in pixels (or
  // pixel operations): below kMinimumWork the loop stays on the calling thread, where handing
  // it over would cost more than it saves.
  void operator()(int count, std::size_t work, const LoopBody& body) const {
    if (count <= 0) return;
    const int parts = threads() > count ? count : threads();
    if (parts <= 1 || work < kMinimumWork) {
      body(0, count);
      return;
    }
    runner_(count, parts, body);
  }

  static constexpr std::size_t kMinimumWork = std::size_t{1} << 17;

 private:
  int threads_ = 1;
  Runner runner_;
};

}  // namespace vemla
