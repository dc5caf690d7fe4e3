#include "core/device_list.h"

#include <algorithm>

namespace vantrell {

bool DeviceList::InsertUnique(const DeviceRecord& record) {
  if (FindByMac(record.mac) >= 0) return false;
  records_.push_back(record);
  return true;
}

int DeviceList::FindByMac(const MacAddress& mac) const {
  for (std::size_t i = 0; i < records_.size(); ++i) {
    if (records_[i].mac == mac) return static_cast<int>(i);
  }
  return -1;
}

void DeviceList::Sort(const std::function<bool(const DeviceRecord&, const DeviceRecord&)>& less) {
  std::sort(records_.begin(), records_.end(), less);
}

}  // namespace vantrell
