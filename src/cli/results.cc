#include "cli/results.h"

#include <chrono>
#include <thread>

#include <nlohmann/json.hpp>

#include "core/device_text.h"
#include "core/text_forms.h"

namespace vantrell {

std::string DumpJson(const nlohmann::json& value) {
  return value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

void PrintJson(std::ostream& out, const nlohmann::json& value) { out << DumpJson(value) << "\n"; }

void PrintResults(CliContext& context, const std::vector<DeviceResult>& results) {
  if (context.options.json) {
    nlohmann::json array = nlohmann::json::array();
    for (const DeviceResult& result : results) {
      array.push_back({{"mac", FormatMac(result.mac)}, {"result", result.text}});
    }
    PrintJson(context.console.out(), array);
    return;
  }
  for (const DeviceResult& result : results) {
    context.console.out() << FormatMac(result.mac) << '\t' << PrintableText(result.text) << "\n";
  }
}

void PrintOutcome(CliContext& context, const DeviceRecord& record, const std::string& message,
                  bool toStderr) {
  const std::size_t lineEnd = message.find('\n');
  const std::string outcome = message.substr(0, lineEnd);
  if (lineEnd != std::string::npos) context.console.Error(message.substr(lineEnd + 1));
  const std::string line = context.options.json
                               ? DumpJson({{"mac", FormatMac(record.mac)}, {"result", outcome}})
                               : PrintableText(outcome);
  if (toStderr) {
    context.console.Error(line);
  } else if (!line.empty()) {
    context.console.out() << line << "\n";
  }
}

void RunTimer(const std::function<bool()>& tick, int periodMs, int limitMs) {
  const auto period = std::chrono::milliseconds(periodMs);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  auto next = std::chrono::steady_clock::now() + period;
  while (std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_until(next);
    next += period;
    if (tick()) return;
  }
}

}  // namespace vantrell
