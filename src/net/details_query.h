#pragma once
/// Asks one device by unicast for its firmware version, status, name and
/// network settings and fills its record from the answer.

#include "core/device_record.h"
#include "core/timing.h"

namespace vantrell {

/// Up to `timing.detailsAttempts` requests, each waiting
/// `timing.detailsWaitMs` for an acceptable reply. Returns 0 when the record
/// was filled, -1 when no acceptable reply came. The caller installs the
/// ARP/route bracket for devices on foreign subnets.
int QueryDeviceDetails(DeviceRecord& record, const Timing& timing = {});

}  // namespace vantrell
