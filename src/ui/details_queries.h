#pragma once
/// The details queries of one search, run on threads of their own so that
/// no device holds the search dialog's timer: at most a given number at a
/// time, and never two for the same device address at once (devices that
/// share an address are queried one after another, so that one's bracket
/// is never removed under the other's query). Each query works on a copy
/// of its record; the dialog's thread collects the finished copies.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "core/device_record.h"

namespace vantrell {

class DetailsQueries {
 public:
  /// Runs one device's whole details exchange on `record`; true when it
  /// answered. `stop` is set when the search ends early: the query should
  /// end after its current request.
  using QueryFn = std::function<bool(DeviceRecord& record, const std::atomic<bool>& stop)>;

  struct Finished {
    std::size_t index;  ///< as given to Add
    DeviceRecord record;
    bool answered;
  };

  DetailsQueries(int concurrency, QueryFn query);
  /// Stops and joins every thread.
  ~DetailsQueries();
  DetailsQueries(const DetailsQueries&) = delete;
  DetailsQueries& operator=(const DetailsQueries&) = delete;

  /// Queues the query of a record (a copy is taken).
  void Add(std::size_t index, const DeviceRecord& record);
  /// The queries finished since the last call, in the order they finished.
  std::vector<Finished> TakeFinished();
  /// Queued or running queries, not yet taken as finished.
  std::size_t Pending() const;
  /// Drops the queued queries and tells the running ones to end; returns
  /// the indexes of the dropped ones. Threads end on their own afterwards.
  std::vector<std::size_t> Stop();
  /// True when no thread runs a query any more (after Stop: all ended).
  bool Idle() const;
  /// Joins the threads; call after Stop (and, on a thread that must stay
  /// responsive, once Idle is true).
  void Join();

 private:
  struct Job {
    std::size_t index;
    DeviceRecord record;
  };
  void Serve();
  /// The first queued job whose address no running query holds.
  bool TakeRunnable(Job& job);

  const int concurrency_;
  QueryFn query_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> queued_;
  std::multiset<std::uint32_t> busyAddresses_;
  std::vector<Finished> finished_;
  std::vector<std::thread> threads_;
  int idleThreads_ = 0;
  int running_ = 0;
  std::atomic<bool> stop_{false};
};

}  // namespace vantrell
