#include "processing/ordered_parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace vemla {
namespace {

struct Case {
  int count, threads, ahead;
  int stopAfter;  // the item whose consumer says stop, or -1
  bool progress;
};

// Items are consumed in order with their own results, each prepared once; the preparing never
// runs more than `ahead` items beyond the consumed ones (nor past a stop); the progress grows
// to the number of items.
TEST(RunInOrder, ConsumesInOrderWithinItsWindowAndTellsProgress) {
  const Case cases[] = {
      {0, 4, 0, -1, true},   {1, 4, 0, -1, true},  {7, 1, 0, -1, true},  {7, 1, 0, 3, false},
      {40, 3, 0, -1, false}, {40, 3, 0, 9, false}, {40, 4, 2, -1, true}, {40, 4, 40, -1, true},
      {40, 4, 40, 5, true},  {3, 8, 0, -1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.count << " items, " << c.threads << " threads, ahead "
                                    << c.ahead << ", stop after " << c.stopAfter);
    const int ahead = c.ahead > 0 ? c.ahead : c.threads;
    std::vector<std::atomic<int>> prepared(static_cast<std::size_t>(c.count));
    std::atomic<int> consumedSoFar{0}, outOfWindow{0};
    std::vector<int> consumed, told;
    std::mutex toldMutex;
    InOrderOptions options{c.ahead, nullptr};
    if (c.progress) {
      options.progress = [&](int done) {
        const std::lock_guard lock(toldMutex);
        told.push_back(done);
      };
    }
    runInOrder<int>(
        c.count, c.threads,
        [&](int i) {
          if (i >= consumedSoFar + ahead) ++outOfWindow;
          ++prepared[static_cast<std::size_t>(i)];
          // Later items finish first now and then, so that results wait for their turn.
          if (i % 3 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
          return i * i;
        },
        [&](int i, int& result) {
          EXPECT_EQ(result, i * i);
          consumed.push_back(i);
          ++consumedSoFar;
          return i != c.stopAfter;
        },
        options);
    const int last = c.stopAfter >= 0 ? c.stopAfter : c.count - 1;
    ASSERT_EQ(static_cast<int>(consumed.size()), last + 1);
    for (int i = 0; i <= last; ++i) EXPECT_EQ(consumed[static_cast<std::size_t>(i)], i);
    EXPECT_EQ(outOfWindow, 0);
    for (int i = 0; i < c.count; ++i) {
      const int times = prepared[static_cast<std::size_t>(i)];
      EXPECT_LE(times, 1) << "item " << i;
      if (i <= last) EXPECT_EQ(times, 1) << "item " << i;
      if (i > last + ahead) EXPECT_EQ(times, 0) << "item " << i;
    }
    if (c.progress && c.count > 0 && c.stopAfter < 0) {
      ASSERT_FALSE(told.empty());
      EXPECT_EQ(told.back(), c.count);
      for (std::size_t k = 1; k < told.size(); ++k) EXPECT_GT(told[k], told[k - 1]);
    }
  }
}

}  // namespace
}  // namespace vemla
