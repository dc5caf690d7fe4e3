#include "cli/diff_output.h"

#include "core/device_text.h"

namespace vantrell {

std::string DifferenceLine(const ConfigDifference& difference) {
  std::string line = PrintableText(difference.key) + '\t' + PrintableText(difference.a) + '\t' +
                     PrintableText(difference.b);
  if (difference.address) line += "\taddress";
  return line;
}

nlohmann::json DifferencesJson(const std::vector<ConfigDifference>& differences) {
  nlohmann::json array = nlohmann::json::array();
  for (const ConfigDifference& difference : differences) {
    nlohmann::json object = {{"key", JsonText(difference.key)},
                             {"a", JsonText(difference.a)},
                             {"b", JsonText(difference.b)}};
    if (difference.address) object["address"] = true;
    array.push_back(std::move(object));
  }
  return array;
}

}  // namespace vantrell
