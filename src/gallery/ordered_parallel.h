#pragma once
// Work that is independent per item but must be consumed in order: items are prepared on up to
// `threads` threads and handed to the consumer on the calling thread in ascending order, with at
// most `threads` prepared results waiting at any time (so memory stays bounded).
#include <algorithm>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vemla {

// `prepare(i)` runs on any thread and must not touch state the consumer changes; `consume(i, r)`
// runs on the calling thread for i = 0, 1, ... in order and returns false to stop: no further
// result is consumed and no further item is started.
template <typename Result>
void runInOrder(int count, int threads, const std::function<Result(int)>& prepare,
                const std::function<bool(int, Result&)>& consume) {
  if (threads <= 1 || count <= 1) {
    for (int i = 0; i < count; ++i) {
      Result result = prepare(i);
      if (!consume(i, result)) return;
    }
    return;
  }
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::optional<Result>> results(static_cast<std::size_t>(count));
  int next = 0;      // the next item to start
  int consumed = 0;  // items handed to the consumer
  bool stop = false;
  auto worker = [&] {
    std::unique_lock lock(mutex);
    for (;;) {
      changed.wait(lock, [&] { return stop || next >= count || next < consumed + threads; });
      if (stop || next >= count) return;
      const int item = next++;
      lock.unlock();
      Result result = prepare(item);
      lock.lock();
      results[static_cast<std::size_t>(item)] = std::move(result);
      changed.notify_all();
    }
  };
  std::vector<std::thread> workers;
  const int started = std::min(threads, count);
  for (int t = 0; t < started; ++t) workers.emplace_back(worker);
  for (int i = 0; i < count; ++i) {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return results[static_cast<std::size_t>(i)].has_value(); });
    Result result = std::move(*results[static_cast<std::size_t>(i)]);
    results[static_cast<std::size_t>(i)].reset();
    lock.unlock();
    const bool goOn = consume(i, result);
    lock.lock();
    consumed = i + 1;
    if (!goOn) stop = true;
    changed.notify_all();
    if (stop) break;
  }
  for (std::thread& thread : workers) thread.join();
}

}  // namespace vemla
