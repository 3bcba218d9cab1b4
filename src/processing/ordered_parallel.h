#pragma once
// Work that is independent per item but must be consumed in order: items are prepared on up to
// `threads` threads and handed to the consumer on the calling thread in ascending order, each
// as soon as it and every item before it are prepared.
#include <algorithm>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vemla {

struct InOrderOptions {
  // At most this many items are started beyond the ones consumed, so that at most this many
  // prepared results wait at any time (memory stays bounded); 0: as many as there are threads.
  int ahead = 0;
  // Told on the calling thread how many items are prepared, whenever that number has grown
  // (several at once when they finish together), before the items it frees are consumed.
  std::function<void(int prepared)> progress;
};

// `prepare(i)` runs on any thread and must not touch state the consumer changes; `consume(i, r)`
// runs on the calling thread for i = 0, 1, ... in order and returns false to stop: no further
// result is consumed and no further item is started. With one thread or one item everything
// runs on the calling thread, item by item.
template <typename Result>
void runInOrder(int count, int threads, const std::function<Result(int)>& prepare,
                const std::function<bool(int, Result&)>& consume,
                const InOrderOptions& options = {}) {
  if (threads <= 1 || count <= 1) {
    for (int i = 0; i < count; ++i) {
      Result result = prepare(i);
      if (options.progress) options.progress(i + 1);
      if (!consume(i, result)) return;
    }
    return;
  }
  const int ahead = options.ahead > 0 ? options.ahead : threads;
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::optional<Result>> results(static_cast<std::size_t>(count));
  int next = 0;      // the next item to start
  int prepared = 0;  // items whose result has arrived
  int consumed = 0;  // items handed to the consumer
  bool stop = false;
  auto worker = [&] {
    std::unique_lock lock(mutex);
    for (;;) {
      changed.wait(lock, [&] { return stop || next >= count || next < consumed + ahead; });
      if (stop || next >= count) return;
      const int item = next++;
      lock.unlock();
      Result result = prepare(item);
      lock.lock();
      results[static_cast<std::size_t>(item)] = std::move(result);
      ++prepared;
      changed.notify_all();
    }
  };
  std::vector<std::thread> workers;
  const int started = std::min(threads, count);
  for (int t = 0; t < started; ++t) workers.emplace_back(worker);
  int told = 0;
  std::unique_lock lock(mutex);
  const auto tellProgress = [&] {
    if (!options.progress || prepared == told) return;
    told = prepared;
    lock.unlock();
    options.progress(told);
    lock.lock();
  };
  for (int i = 0; i < count && !stop;) {
    changed.wait(lock, [&] {
      return results[static_cast<std::size_t>(i)].has_value() ||
             (options.progress && prepared != told);
    });
    tellProgress();
    for (; i < count && !stop && results[static_cast<std::size_t>(i)].has_value(); ++i) {
      // A result that arrived while the previous one was consumed is told before its turn.
      tellProgress();
      Result result = std::move(*results[static_cast<std::size_t>(i)]);
      results[static_cast<std::size_t>(i)].reset();
      lock.unlock();
      const bool goOn = consume(i, result);
      lock.lock();
      consumed = i + 1;
      if (!goOn) stop = true;
      changed.notify_all();
    }
  }
  lock.unlock();
  for (std::thread& thread : workers) thread.join();
}

}  // namespace vemla
