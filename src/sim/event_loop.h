#pragma once
/// The simulator's single-threaded event loop: waits with poll() for
/// readable and writable descriptors and runs timers (late answers, periodic
/// refreshes) at their due time. Every callback runs on the thread that
/// called Run().

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <unordered_map>
#include <utility>

namespace vantrell::sim {

class EventLoop {
 public:
  using Callback = std::function<void()>;
  using TimerId = std::uint64_t;
  using Clock = std::chrono::steady_clock;

  EventLoop();
  ~EventLoop();
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;

  /// False when the loop's wake-up descriptor could not be created.
  bool Ok() const { return wakeFd_ >= 0; }

  /// Calls `onReadable` whenever fd has data, an error or a hang-up. One
  /// read watcher per descriptor.
  void WatchReadable(int fd, Callback onReadable);
  /// Calls `onWritable` whenever fd accepts data (or has an error). One
  /// write watcher per descriptor.
  void WatchWritable(int fd, Callback onWritable);
  /// Stop one kind of watching (safe from inside a callback).
  void UnwatchReadable(int fd);
  void UnwatchWritable(int fd);
  /// Stops watching fd altogether (safe from inside a callback).
  void Unwatch(int fd);

  /// Runs `callback` once, `delay` from now.
  TimerId After(std::chrono::milliseconds delay, Callback callback);
  /// Forgets a timer that has not run yet; unknown ids are ignored.
  void Cancel(TimerId id);
  std::size_t PendingTimers() const { return timers_.size(); }

  /// Dispatches events until Stop(). Returns 0, or -1 when poll() fails.
  int Run();
  /// Makes Run() return soon. Safe from another thread and from a signal
  /// handler.
  void Stop();

 private:
  void RunDueTimers();
  int MillisecondsToNextTimer() const;
  void DrainWakeFd();

  int wakeFd_ = -1;
  std::atomic<bool> stopRequested_{false};
  struct Watcher {
    Callback onReadable;
    Callback onWritable;
  };
  std::map<int, Watcher> watchers_;
  std::map<std::pair<Clock::time_point, TimerId>, Callback> timers_;
  std::unordered_map<TimerId, Clock::time_point> timerDue_;
  TimerId nextTimerId_ = 1;
};

}  // namespace vantrell::sim
