#include "ui/inventory.h"

#include "core/device_text.h"
#include "core/csv.h"
#include "core/text_forms.h"

namespace vantrell {

const std::vector<std::string>& InventoryColumns() {
  static const std::vector<std::string> columns = {
      "model",   "ip",   "mac",  "status", "name", "location",  "firmware", "serial",
      "netmask", "gateway", "dns1", "dns2", "dhcp", "interface", "details"};
  return columns;
}

std::string_view AddressModeWord(std::uint32_t ipConfigFlags) {
  if (ipConfigFlags & 0x1) return "dhcp";
  if (ipConfigFlags & 0x2) return "bootp";
  return "off";
}

std::vector<std::string> InventoryFields(const DeviceRecord& record, std::string_view progress) {
  return {PrintableText(FieldText(record.modelName)),
          FormatIpv4(record.ipAddr),
          FormatMac(record.mac),
          PrintableText(StatusText(record)),
          PrintableText(FieldText(record.serverName)),
          PrintableText(FieldText(record.location)),
          FormatFirmwareVersion(record.firmwareVersion),
          FormatSerial(record.serialNo),
          FormatIpv4(record.netmask),
          FormatIpv4(record.gateway),
          FormatIpv4(record.dns1),
          FormatIpv4(record.dns2),
          std::string(AddressModeWord(record.ipConfigFlags)),
          FormatIpv4(record.localIfAddr),
          std::string(progress)};
}

std::string InventoryCsv(const DeviceList& devices, const std::vector<std::string>& progress) {
  std::string text = CsvLine(InventoryColumns());
  for (std::size_t i = 0; i < devices.size(); ++i) {
    text += CsvLine(InventoryFields(devices[i], i < progress.size() ? progress[i] : ""));
  }
  return text;
}

}  // namespace vantrell
