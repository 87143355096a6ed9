#include "core/workers.h"

#include <algorithm>
#include <system_error>

namespace veskaro {

namespace {
constexpr unsigned kMaxThreads = 8;
}  // namespace

int WorkerPool::capacity() {
  const unsigned hw = std::max(1U, std::thread::hardware_concurrency());
  return static_cast<int>(std::min(hw, kMaxThreads));
}

WorkerPool::~WorkerPool() {
  {
    const std::lock_guard<std::mutex> lock(mu_);
    stop_ = true;
  }
  wake_.notify_all();
  for (std::thread& t : threads_) t.join();
}

void WorkerPool::start(int threads) {
  while (static_cast<int>(threads_.size()) < threads) {
    const int index = static_cast<int>(threads_.size()) + 1;
    try {
      threads_.emplace_back(&WorkerPool::work, this, index);
    } catch (const std::system_error&) {
      return;  // fewer threads: the caller takes the remaining shares
    }
  }
}

void WorkerPool::run(int parts, const std::function<void(int)>& job) {
  if (parts < 1) return;
  start(parts - 1);
  const int helpers = std::min(parts - 1, static_cast<int>(threads_.size()));
  if (helpers > 0) {
    const std::lock_guard<std::mutex> lock(mu_);
    job_ = &job;
    parts_ = helpers + 1;
    pending_ = helpers;
    ++generation_;
  }
  wake_.notify_all();
  job(0);
  // Shares no thread took run here.
  for (int t = helpers + 1; t < parts; ++t) job(t);
  if (helpers == 0) return;
  std::unique_lock<std::mutex> lock(mu_);
  done_.wait(lock, [&] { return pending_ == 0; });
  job_ = nullptr;
}

void WorkerPool::work(int index) {
  unsigned long seen = 0;
  for (;;) {
    const std::function<void(int)>* job = nullptr;
    {
      std::unique_lock<std::mutex> lock(mu_);
      wake_.wait(lock, [&] { return stop_ || generation_ != seen; });
      if (stop_) return;
      seen = generation_;
      if (index >= parts_) continue;
      job = job_;
    }
    (*job)(index);
    const std::lock_guard<std::mutex> lock(mu_);
    if (--pending_ == 0) done_.notify_one();
  }
}

}  // namespace veskaro
