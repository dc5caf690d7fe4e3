#include "ui/details_queries.h"

#include <algorithm>
#include <utility>

namespace vantrell {

DetailsQueries::DetailsQueries(int concurrency, QueryFn query)
    : concurrency_(std::max(1, concurrency)), query_(std::move(query)) {}

DetailsQueries::~DetailsQueries() {
  Stop();
  Join();
}

void DetailsQueries::Add(std::size_t index, const DeviceRecord& record) {
  std::lock_guard lock(mutex_);
  if (stop_) return;
  queued_.push_back({index, record});
  if (idleThreads_ > 0) {
    wake_.notify_one();
  } else if (static_cast<int>(threads_.size()) < concurrency_) {
    threads_.emplace_back([this] { Serve(); });
  }
}

std::vector<DetailsQueries::Finished> DetailsQueries::TakeFinished() {
  std::lock_guard lock(mutex_);
  return std::exchange(finished_, {});
}

std::size_t DetailsQueries::Pending() const {
  std::lock_guard lock(mutex_);
  return queued_.size() + static_cast<std::size_t>(running_);
}

std::vector<std::size_t> DetailsQueries::Stop() {
  std::vector<std::size_t> dropped;
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    for (const Job& job : queued_) dropped.push_back(job.index);
    queued_.clear();
  }
  wake_.notify_all();
  return dropped;
}

bool DetailsQueries::Idle() const {
  std::lock_guard lock(mutex_);
  return running_ == 0;
}

void DetailsQueries::Join() {
  std::vector<std::thread> threads;
  {
    std::lock_guard lock(mutex_);
    threads.swap(threads_);
  }
  for (std::thread& thread : threads) {
    if (thread.joinable()) thread.join();
  }
}

bool DetailsQueries::TakeRunnable(Job& job) {
  const auto runnable = std::find_if(queued_.begin(), queued_.end(), [this](const Job& queued) {
    return busyAddresses_.count(queued.record.ipAddr) == 0;
  });
  if (runnable == queued_.end()) return false;
  job = std::move(*runnable);
  queued_.erase(runnable);
  return true;
}

void DetailsQueries::Serve() {
  std::unique_lock lock(mutex_);
  for (;;) {
    Job job;
    ++idleThreads_;
    wake_.wait(lock, [&] { return stop_ || TakeRunnable(job); });
    --idleThreads_;
    if (stop_) return;
    ++running_;
    busyAddresses_.insert(job.record.ipAddr);
    lock.unlock();
    const bool answered = query_(job.record, stop_);
    lock.lock();
    busyAddresses_.erase(busyAddresses_.find(job.record.ipAddr));
    --running_;
    finished_.push_back({job.index, std::move(job.record), answered});
    // A query that waited for this address may run now.
    wake_.notify_all();
  }
}

}  // namespace vantrell
