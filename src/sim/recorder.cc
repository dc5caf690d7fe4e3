#include "sim/recorder.h"

#include <cerrno>
#include <cmath>
#include <cstring>

#include "core/text_forms.h"

namespace vantrell::sim {

Recorder::Recorder(LineSink sink)
    : sink_(std::move(sink)), start_(std::chrono::steady_clock::now()) {}

Recorder::~Recorder() {
  if (file_) std::fclose(file_);
}

std::unique_ptr<Recorder> Recorder::OpenFile(const std::string& path, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (!file) {
    if (error) *error = "cannot create the record file " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  auto recorder = std::make_unique<Recorder>([file](const std::string& line) {
    std::fputs(line.c_str(), file);
    std::fputc('\n', file);
    std::fflush(file);
  });
  recorder->file_ = file;
  return recorder;
}

void Recorder::Write(const SimDevice& device, const char* proto, nlohmann::json entry) {
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  entry["t"] = std::round(seconds * 1000.0) / 1000.0;
  entry["mac"] = FormatMac(device.mac);
  entry["ip"] = FormatIpv4(device.ip);
  entry["proto"] = proto;
  sink_(entry.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

}  // namespace vantrell::sim
