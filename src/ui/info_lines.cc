#include "ui/info_lines.h"

#include <cstdio>

#include "core/model_table.h"
#include "core/text_forms.h"

namespace vantrell {
namespace {

constexpr std::size_t kMaxCell = 255;

std::string ModulePortText(int slot) {
  if (slot == 6) return "G-1";
  if (slot == 7) return "G-2";
  char text[64];
  const int n = slot + 1;
  std::snprintf(text, sizeof text, "%d-%d,%d-%d,%d-%d,%d-%d", n, 1, n, 2, n, 3, n, 4);
  return text;
}

}  // namespace

std::vector<std::vector<std::string>> InfoTextCells(std::string_view text) {
  std::vector<std::vector<std::string>> lines(1);
  std::string cell;
  for (char c : text) {
    if (c == '\t' || c == '\n') {
      lines.back().push_back(cell.substr(0, kMaxCell));
      cell.clear();
      if (c == '\n') lines.emplace_back();
    } else {
      cell += c;
    }
  }
  if (lines.back().empty()) lines.pop_back();
  return lines;
}

std::vector<InfoLine> InfoPaneLines(const DeviceRecord& record) {
  if (record.replyKind == 1) {
    std::vector<InfoLine> lines;
    for (const auto& cells : InfoTextCells(FieldText(record.infoText))) {
      InfoLine line;
      if (!cells.empty()) line.label = cells[0];
      for (std::size_t i = 1; i < cells.size(); ++i) {
        line.value += (i > 1 ? "\t" : "") + cells[i];
      }
      lines.push_back(line);
    }
    return lines;
  }
  std::vector<InfoLine> lines = {
      {"Model", std::string(FieldText(record.modelName))},
      {"Name", std::string(FieldText(record.serverName))},
      {"IP Address", FormatIpv4(record.ipAddr)},
      {"Netmask", FormatIpv4(record.netmask)},
      {"Gateway", FormatIpv4(record.gateway)},
      {"MAC Address", FormatMac(record.mac)},
      {"Serial No", FormatSerial(record.serialNo)},
      {"Firmware Ver.", FormatFirmwareVersion(record.firmwareVersion)},
  };
  if (!IsM26Model(record.modelId)) return lines;
  lines.push_back({std::string(46, '-'), ""});
  lines.push_back({"Module Information", "", true});
  for (int slot = 0; slot < kModuleSlots; ++slot) {
    if (record.moduleType[static_cast<std::size_t>(slot)] != 1) continue;
    lines.push_back({"Module", std::string(FieldText(record.moduleName[slot]))});
    lines.push_back({"Port", ModulePortText(slot)});
    lines.push_back({"Description", std::string(FieldText(record.moduleDesc[slot]))});
    lines.push_back({"", ""});
  }
  return lines;
}

}  // namespace vantrell
