#include "ops/device_job.h"

#include <cctype>

namespace vantrell {

void DeviceJob::AttachConnection(std::shared_ptr<TcpConnection> connection) {
  std::lock_guard lock(connectionMutex_);
  connection_ = std::move(connection);
  if (cancelled_ && connection_) connection_->Abort();
}

void DeviceJob::DetachConnection() {
  std::lock_guard lock(connectionMutex_);
  connection_.reset();
}

void DeviceJob::Cancel() {
  std::lock_guard lock(connectionMutex_);
  cancelled_ = true;
  if (connection_) connection_->Abort();
}

void CopyTrimmedPassword(char (&field)[kPasswordLength + 1], std::string_view typed) {
  const auto isBlank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!typed.empty() && isBlank(typed.front())) typed.remove_prefix(1);
  while (!typed.empty() && isBlank(typed.back())) typed.remove_suffix(1);
  SetFieldText(field, typed);
}

}  // namespace vantrell
