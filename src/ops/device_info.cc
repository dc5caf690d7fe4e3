#include "ops/device_info.h"

#include "core/text_forms.h"
#include "net/arp_route_bracket.h"
#include "net/session.h"

namespace vantrell {

bool FetchDeviceInfoText(DeviceRecord& record, ArpRouteBracket* bracket, const Timing& timing) {
  if (bracket) bracket->Install(record);
  Session session;
  bool fetched = false;
  if (openSession(record.ipAddr, session, timing) == 0) {
    fetched = fetchInfoText(session, record.infoText) == 0;
  }
  session.connection.reset();
  if (bracket) bracket->Remove(record.ipAddr);
  return fetched;
}

std::string CannotConnectText(const DeviceRecord& record) {
  return "Can not connect to the device !\n Model : " + std::string(FieldText(record.modelName)) +
         "\n Mac : " + FormatMac(record.mac);
}

}  // namespace vantrell
