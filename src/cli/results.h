#pragma once
/// Per-device results of the commands: "MAC<TAB>ROW TEXT" lines, or one
/// JSON array of {"mac", "result"} objects with --json.

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/cli_context.h"
#include "core/device_record.h"

namespace vantrell {

struct DeviceResult {
  MacAddress mac;
  std::string text;  ///< the final row text of the window's progress dialog
};

void PrintResults(CliContext& context, const std::vector<DeviceResult>& results);

/// `value` indented; bytes that are not UTF-8 in any string become U+FFFD
/// rather than ending the run.
std::string DumpJson(const nlohmann::json& value);
/// DumpJson with a line end.
void PrintJson(std::ostream& out, const nlohmann::json& value);

/// The outcome message of a single-device command without a progress row
/// (export, netconf, web): its first line on stdout (nothing for an empty
/// message) or {"mac", "result"} with --json, and the notes of its further
/// lines on stderr. `toStderr` moves the outcome to stderr too (the file
/// itself went to stdout).
void PrintOutcome(CliContext& context, const DeviceRecord& record, const std::string& message,
                  bool toStderr = false);

/// Drives a dialog's 100 ms timer until `tick` reports the end (bounded by
/// `limitMs`, a safety net far above any protocol time-out).
void RunTimer(const std::function<bool()>& tick, int periodMs = 100, int limitMs = 3'600'000);

}  // namespace vantrell
