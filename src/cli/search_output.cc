#include "cli/search_output.h"

#include <array>

#include "core/device_text.h"
#include "core/text_forms.h"

namespace vantrell {
namespace {

constexpr std::array<const char*, 8> kTableHeader = {
    "Model", "IP Address", "MAC Address", "Status", "Name", "Location", "Firmware", "Serial"};

using TableRow = std::array<std::string, kTableHeader.size()>;

/// The search dialog's Progress text of a device whose details query got
/// no answer.
constexpr std::string_view kDetailsTimeoutText = "Timeout";

/// A device whose details timed out has only what discovery told: the
/// Status column says "Timeout" and the columns that only the details fill
/// stay empty (rather than showing a nameless device with firmware 0.0).
TableRow RowOf(const DeviceRecord& record, std::string_view progress) {
  if (progress == kDetailsTimeoutText) {
    return {std::string(FieldText(record.modelName)), FormatIpv4(record.ipAddr),
            FormatMac(record.mac), std::string(kDetailsTimeoutText), "", "", "", ""};
  }
  return {std::string(FieldText(record.modelName)), FormatIpv4(record.ipAddr),
          FormatMac(record.mac),                    StatusText(record),
          std::string(FieldText(record.serverName)), std::string(FieldText(record.location)),
          FormatFirmwareVersion(record.firmwareVersion), FormatSerial(record.serialNo)};
}

}  // namespace

std::string SearchTable(const DeviceList& devices, const std::vector<std::string>& progress) {
  std::vector<TableRow> rows;
  TableRow header;
  for (std::size_t c = 0; c < header.size(); ++c) header[c] = kTableHeader[c];
  rows.push_back(header);
  for (std::size_t i = 0; i < devices.size(); ++i) {
    TableRow row = RowOf(devices[i], i < progress.size() ? progress[i] : std::string());
    // Device texts may hold control characters: a line stays one line.
    for (std::string& cell : row) cell = PrintableText(cell);
    rows.push_back(row);
  }
  std::array<std::size_t, kTableHeader.size()> widths{};
  for (const TableRow& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
  }
  std::string text;
  for (const TableRow& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      line += row[c];
      if (c + 1 < row.size()) line += std::string(widths[c] - row[c].size() + 2, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    text += line + "\n";
  }
  return text;
}

nlohmann::json SearchJson(const DeviceList& devices, const std::vector<std::string>& progress) {
  nlohmann::json array = nlohmann::json::array();
  for (std::size_t i = 0; i < devices.size(); ++i) {
    const DeviceRecord& record = devices[i];
    array.push_back({
        {"model", JsonText(FieldText(record.modelName))},
        {"modelId", record.modelId},
        {"ip", FormatIpv4(record.ipAddr)},
        {"mac", FormatMac(record.mac)},
        {"interface", FormatIpv4(record.localIfAddr)},
        {"status", StatusText(record)},
        {"name", JsonText(FieldText(record.serverName))},
        {"location", JsonText(FieldText(record.location))},
        {"netmask", FormatIpv4(record.netmask)},
        {"gateway", FormatIpv4(record.gateway)},
        {"dns1", FormatIpv4(record.dns1)},
        {"dns2", FormatIpv4(record.dns2)},
        {"ipConfigFlags", record.ipConfigFlags},
        {"firmware", FormatFirmwareVersion(record.firmwareVersion)},
        {"firmwareVersion", record.firmwareVersion},
        {"serial", FormatSerial(record.serialNo)},
        {"replyKind", record.replyKind},
        {"details", i < progress.size() ? progress[i] : std::string()},
    });
  }
  return array;
}

nlohmann::json InfoJson(const DeviceRecord& record, const std::string& progress) {
  DeviceList one;
  one.append(record);
  nlohmann::json info = SearchJson(one, {progress})[0];
  info["infoText"] = JsonText(FieldText(record.infoText));
  return info;
}

}  // namespace vantrell
