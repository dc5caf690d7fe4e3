#pragma once
/// Per-device results of the commands: "MAC<TAB>ROW TEXT" lines, or one
/// JSON array of {"mac", "result"} objects with --json.

#include <functional>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "core/device_record.h"

namespace vantrell {

struct DeviceResult {
  MacAddress mac;
  std::string text;  ///< the final row text of the window's progress dialog
};

void PrintResults(CliContext& context, const std::vector<DeviceResult>& results);

/// Drives a dialog's 100 ms timer until `tick` reports the end (bounded by
/// `limitMs`, a safety net far above any protocol time-out).
void RunTimer(const std::function<bool()>& tick, int periodMs = 100, int limitMs = 3'600'000);

}  // namespace vantrell
