// A small set of worker threads for splitting one large job into shares.
// The threads are started on first use and wait between jobs, so a job
// costs a wake-up, not a thread start.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace veskaro {

class WorkerPool {
 public:
  WorkerPool() = default;
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;
  ~WorkerPool();

  // Threads a job may be split over (at least 1: the calling thread).
  static int capacity();

  // Share t of `parts` near-equal shares of the indices first .. first +
  // n - 1, as the index it starts at and the one after its last.
  struct Range {
    int begin;
    int end;
  };
  static Range share(int first, int n, int t, int parts) {
    auto at = [&](int k) {
      return first + static_cast<int>(static_cast<long>(n) * k / parts);
    };
    return {at(t), at(t + 1)};
  }

  // Runs job(0) .. job(parts - 1) and returns when all are done; share 0
  // runs on the calling thread. When threads can not be started, the
  // shares run one after another on the calling thread.
  void run(int parts, const std::function<void(int)>& job);

 private:
  void start(int threads);
  void work(int index);

  std::mutex mu_;
  std::condition_variable wake_;
  std::condition_variable done_;
  std::vector<std::thread> threads_;
  const std::function<void(int)>* job_ = nullptr;
  int parts_ = 0;
  int pending_ = 0;
  unsigned long generation_ = 0;
  bool stop_ = false;
};

}  // namespace veskaro
