#include "ui/row_worker_thread.h"

#include <utility>

namespace vantrell {

std::shared_ptr<RowWorkerThread> RowWorkerThread::Start(std::function<void()> work) {
  auto worker = std::make_shared<RowWorkerThread>();
  // The thread keeps its own record of the end alive, whatever the dialog does.
  worker->thread_ = std::thread([worker, work = std::move(work)] {
    work();
    std::lock_guard lock(worker->mutex_);
    worker->finished_ = true;
    worker->ended_.notify_all();
  });
  return worker;
}

RowWorkerThread::~RowWorkerThread() {
  if (thread_.joinable()) thread_.detach();
}

void RowWorkerThread::JoinOrDetach(std::chrono::milliseconds grace) {
  if (!thread_.joinable()) return;
  std::unique_lock lock(mutex_);
  const bool finished = ended_.wait_for(lock, grace, [&] { return finished_; });
  lock.unlock();
  if (finished) {
    thread_.join();
  } else {
    thread_.detach();
  }
}

}  // namespace vantrell
