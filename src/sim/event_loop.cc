#include "sim/event_loop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace vantrell::sim {

EventLoop::EventLoop() : wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

EventLoop::~EventLoop() {
  if (wakeFd_ >= 0) close(wakeFd_);
}

void EventLoop::WatchReadable(int fd, Callback onReadable) {
  watchers_[fd].onReadable = std::move(onReadable);
}

void EventLoop::WatchWritable(int fd, Callback onWritable) {
  watchers_[fd].onWritable = std::move(onWritable);
}

void EventLoop::UnwatchReadable(int fd) {
  const auto found = watchers_.find(fd);
  if (found == watchers_.end()) return;
  found->second.onReadable = nullptr;
  if (!found->second.onWritable) watchers_.erase(found);
}

void EventLoop::UnwatchWritable(int fd) {
  const auto found = watchers_.find(fd);
  if (found == watchers_.end()) return;
  found->second.onWritable = nullptr;
  if (!found->second.onReadable) watchers_.erase(found);
}

void EventLoop::Unwatch(int fd) { watchers_.erase(fd); }

EventLoop::TimerId EventLoop::After(std::chrono::milliseconds delay, Callback callback) {
  const TimerId id = nextTimerId_++;
  const Clock::time_point due = Clock::now() + delay;
  timers_.emplace(std::make_pair(due, id), std::move(callback));
  timerDue_.emplace(id, due);
  return id;
}

void EventLoop::Cancel(TimerId id) {
  const auto found = timerDue_.find(id);
  if (found == timerDue_.end()) return;
  timers_.erase(std::make_pair(found->second, id));
  timerDue_.erase(found);
}

void EventLoop::Stop() {
  stopRequested_.store(true);
  if (wakeFd_ >= 0) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(wakeFd_, &one, sizeof one);
  }
}

void EventLoop::DrainWakeFd() {
  std::uint64_t count;
  while (read(wakeFd_, &count, sizeof count) > 0) {
  }
}

int EventLoop::MillisecondsToNextTimer() const {
  if (timers_.empty()) return -1;
  const auto wait = timers_.begin()->first.first - Clock::now();
  if (wait <= Clock::duration::zero()) return 0;
  // Round up so a timer never fires early.
  const auto ms = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
  return ms > 60000 ? 60000 : static_cast<int>(ms);
}

void EventLoop::RunDueTimers() {
  const Clock::time_point now = Clock::now();
  // Timers added by a callback run on a later pass, never in this one.
  std::vector<TimerId> due;
  for (const auto& [key, callback] : timers_) {
    if (key.first > now) break;
    due.push_back(key.second);
  }
  for (TimerId id : due) {
    const auto found = timerDue_.find(id);
    if (found == timerDue_.end()) continue;  // cancelled by an earlier callback
    const auto node = timers_.find(std::make_pair(found->second, id));
    Callback callback = std::move(node->second);
    timers_.erase(node);
    timerDue_.erase(found);
    callback();
    if (stopRequested_.load()) return;
  }
}

int EventLoop::Run() {
  if (wakeFd_ < 0) return -1;
  std::vector<pollfd> fds;
  while (!stopRequested_.load()) {
    fds.clear();
    fds.push_back({wakeFd_, POLLIN, 0});
    for (const auto& [fd, watcher] : watchers_) {
      const short events = static_cast<short>((watcher.onReadable ? POLLIN : 0) |
                                              (watcher.onWritable ? POLLOUT : 0));
      fds.push_back({fd, events, 0});
    }
    const int ready = poll(fds.data(), fds.size(), MillisecondsToNextTimer());
    if (ready < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (fds[0].revents) DrainWakeFd();
    for (std::size_t i = 1; i < fds.size() && !stopRequested_.load(); ++i) {
      const short revents = fds[i].revents;
      if (!revents) continue;
      const bool failed = (revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
      // A callback may unwatch or close any descriptor, so look it up anew
      // before each call and copy the callback before running it.
      if ((revents & POLLIN) || failed) {
        const auto watcher = watchers_.find(fds[i].fd);
        if (watcher != watchers_.end() && watcher->second.onReadable && (fds[i].events & POLLIN)) {
          Callback callback = watcher->second.onReadable;
          callback();
        }
      }
      if ((revents & POLLOUT) || failed) {
        const auto watcher = watchers_.find(fds[i].fd);
        if (watcher != watchers_.end() && watcher->second.onWritable && (fds[i].events & POLLOUT)) {
          Callback callback = watcher->second.onWritable;
          callback();
        }
      }
    }
    if (!stopRequested_.load()) RunDueTimers();
  }
  return 0;
}

}  // namespace vantrell::sim
