#pragma once
/// The network part of selecting a device that describes itself: its
/// information text, fetched without a login inside the ARP/route bracket.

#include <string>

#include "core/timing.h"
#include "core/device_record.h"

namespace vantrell {

class ArpRouteBracket;

/// Fills record.infoText; false when the connection or the fetch failed
/// (the text is then empty, or keeps its older content when the connection
/// could not be opened).
bool FetchDeviceInfoText(DeviceRecord& record, ArpRouteBracket* bracket, const Timing& timing = {});

/// "Can not connect to the device !\n Model : %s\n Mac : XX:XX:XX:XX:XX:XX"
std::string CannotConnectText(const DeviceRecord& record);

}  // namespace vantrell
