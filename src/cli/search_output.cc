#include "cli/search_output.h"

#include <array>

#include "core/text_forms.h"

namespace vantrell {
namespace {

constexpr std::array<const char*, 8> kTableHeader = {
    "Model", "IP Address", "MAC Address", "Status", "Name", "Location", "Firmware", "Serial"};

using TableRow = std::array<std::string, kTableHeader.size()>;

TableRow RowOf(const DeviceRecord& record) {
  return {std::string(FieldText(record.modelName)), FormatIpv4(record.ipAddr),
          FormatMac(record.mac),                    StatusText(record),
          std::string(FieldText(record.serverName)), std::string(FieldText(record.location)),
          FormatFirmwareVersion(record.firmwareVersion), FormatSerial(record.serialNo)};
}

/// Texts from devices may hold control characters; the table shows them as
/// blanks so a line stays one line.
std::string Printable(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return text;
}

/// JSON needs valid UTF-8; bytes that are not are kept as Latin-1 letters.
std::string AsUtf8(std::string_view text) {
  std::string utf8;
  for (unsigned char c : text) {
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

}  // namespace

std::string SearchTable(const DeviceList& devices) {
  std::vector<TableRow> rows;
  TableRow header;
  for (std::size_t c = 0; c < header.size(); ++c) header[c] = kTableHeader[c];
  rows.push_back(header);
  for (const DeviceRecord& record : devices) {
    TableRow row = RowOf(record);
    for (std::string& cell : row) cell = Printable(cell);
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
        {"model", AsUtf8(FieldText(record.modelName))},
        {"modelId", record.modelId},
        {"ip", FormatIpv4(record.ipAddr)},
        {"mac", FormatMac(record.mac)},
        {"interface", FormatIpv4(record.localIfAddr)},
        {"status", StatusText(record)},
        {"name", AsUtf8(FieldText(record.serverName))},
        {"location", AsUtf8(FieldText(record.location))},
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

}  // namespace vantrell
