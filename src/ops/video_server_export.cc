#include "ops/video_server_export.h"

#include <algorithm>

#include "net/arp_route_bracket.h"
#include "net/http_client.h"

namespace vantrell {

std::string KavexFieldText(std::string_view text) {
  std::size_t length = std::min(text.size(), kKavexFieldLength);
  // Step back over continuation bytes so a cut never splits a character.
  if (length < text.size()) {
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  }
  return std::string(text.substr(0, length));
}

void StoreKavexCredentials(DeviceRecord& record, std::string_view user, std::string_view password) {
  SetFieldText(record.kavexUser, KavexFieldText(user));
  SetFieldText(record.kavexPassword, KavexFieldText(password));
}

int ExportVideoServerParameters(const DeviceRecord& record, const std::filesystem::path& path,
                                ArpRouteBracket* bracket, const Timing& timing) {
  if (bracket) bracket->Install(record);
  const int result = downloadConfigFile(record, path.string(), timing);
  if (bracket) bracket->Remove(record.ipAddr);
  return result;
}

std::string VideoExportResultText(int result) {
  return result == 0 ? kVideoExportOkText : kVideoNotAccessibleText;
}

}  // namespace vantrell
