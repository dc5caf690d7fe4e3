#pragma once
/// How the differences of two configuration files are printed, by diff and
/// by restore: one "KEY<TAB>A<TAB>B" line each ("<TAB>address" added for an
/// address setting), or JSON objects {"key", "a", "b"} with "address": true
/// for an address setting.

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "ops/config_diff.h"

namespace vantrell {

/// "KEY<TAB>A<TAB>B" or "KEY<TAB>A<TAB>B<TAB>address", its texts made
/// printable (a tab or control character in a value becomes a blank).
std::string DifferenceLine(const ConfigDifference& difference);

/// The differences as a JSON array of {"key", "a", "b"[, "address": true]}.
nlohmann::json DifferencesJson(const std::vector<ConfigDifference>& differences);

}  // namespace vantrell
