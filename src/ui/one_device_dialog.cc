#include "ui/one_device_dialog.h"

#include "core/text_forms.h"

namespace vantrell {

std::string_view OneDeviceStateText(int state) {
  switch (state) {
    case kJobSucceeded:
      return "OK..";
    case kJobFailed:
      return "Fail..";
    default:
      return "Wait..";
  }
}

OneDeviceDialog::OneDeviceDialog(SingleDeviceJob& job, Ports ports)
    : job_(job), ports_(std::move(ports)) {}

OneDeviceDialog::~OneDeviceDialog() {
  timerRunning_ = false;
  JoinWorker();
}

void OneDeviceDialog::Open(std::function<void(SingleDeviceJob&)> worker) {
  ports_.rows.InsertRow(0, FormatMac(job_.record.mac));
  ports_.rows.SetCell(0, 1, OneDeviceStateText(kJobRunning));
  job_.state = kJobRunning;
  worker_ = std::thread([this, worker = std::move(worker)] {
    worker(job_);
    workerDone_ = true;
  });
  timerRunning_ = true;
}

bool OneDeviceDialog::OnTimer() {
  if (!timerRunning_) return true;
  const int state = job_.state;
  ports_.rows.SetCell(0, 1, OneDeviceStateText(state));
  if (state != kJobSucceeded && state != kJobFailed) return false;
  if (ports_.setButtonText) ports_.setButtonText("Close");
  timerRunning_ = false;
  return true;
}

void OneDeviceDialog::PressButton() {
  timerRunning_ = false;
  if (worker_.joinable() && ports_.wait) ports_.wait([this] { return workerDone_.load(); });
  JoinWorker();
}

void OneDeviceDialog::JoinWorker() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace vantrell
