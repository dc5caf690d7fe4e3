#include "cli/results.h"

#include <chrono>
#include <thread>

#include <nlohmann/json.hpp>

#include "core/text_forms.h"

namespace vantrell {

void PrintResults(CliContext& context, const std::vector<DeviceResult>& results) {
  if (context.options.json) {
    nlohmann::json array = nlohmann::json::array();
    for (const DeviceResult& result : results) {
      array.push_back({{"mac", FormatMac(result.mac)}, {"result", result.text}});
    }
    context.console.out() << array.dump(2) << "\n";
    return;
  }
  for (const DeviceResult& result : results) {
    context.console.out() << FormatMac(result.mac) << '\t' << result.text << "\n";
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
