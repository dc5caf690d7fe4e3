#pragma once
/// The record file of `--record`: one JSON object per line for every session
/// request and web request a simulated device received, with what it did
/// about it, so tests can assert on what reached a device. Every line is
/// flushed as soon as it is written.
///
/// Common fields: "t" (seconds since the recorder started), "mac", "ip"
/// (the device's address when the request arrived), "proto" ("tcp" or
/// "http"), "result" (what the device did).

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "sim/sim_device.h"

namespace vantrell::sim {

class Recorder {
 public:
  using LineSink = std::function<void(const std::string&)>;

  /// Writes each line (without its line feed) to `sink`.
  explicit Recorder(LineSink sink);
  ~Recorder();
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  /// Creates or truncates the file; nothing (with the reason in *error)
  /// when it cannot be opened.
  static std::unique_ptr<Recorder> OpenFile(const std::string& path, std::string* error);

  /// Writes `entry` as one line after adding "t", "mac", "ip" and "proto".
  /// Texts that are not valid UTF-8 are written with replacement characters.
  void Write(const SimDevice& device, const char* proto, nlohmann::json entry);

 private:
  LineSink sink_;
  std::FILE* file_ = nullptr;
  std::chrono::steady_clock::time_point start_;
};

/// Writes to the recorder when there is one.
inline void Record(Recorder* recorder, const SimDevice& device, const char* proto,
                   nlohmann::json entry) {
  if (recorder) recorder->Write(device, proto, std::move(entry));
}

}  // namespace vantrell::sim
