#pragma once
/// The worker thread of one row of a multi-device dialog. The thread owns
/// what its work captures (the row), never touches the dialog, and can be
/// left behind when the dialog closes while it still waits.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace vantrell {

class RowWorkerThread {
 public:
  /// Runs `work` on a new thread.
  static std::shared_ptr<RowWorkerThread> Start(std::function<void()> work);
  /// A thread nobody joined is let go rather than ending the program.
  ~RowWorkerThread();

  /// Joins the thread when its work ends within `grace`; otherwise detaches
  /// it: a worker still inside a wait that no closed connection cuts short
  /// (a connect in progress) ends on its own time-out, keeping only what it
  /// captured alive.
  void JoinOrDetach(std::chrono::milliseconds grace = std::chrono::milliseconds(100));

 private:
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable ended_;
  bool finished_ = false;
};

}  // namespace vantrell
