#pragma once
/// An ordered list of device records without duplicate MAC addresses:
/// the document's list (row i of the device list view is record i) and the
/// private list of each running search.

#include <cstddef>
#include <functional>
#include <vector>

#include "core/device_record.h"

namespace vantrell {

class DeviceList {
 public:
  std::size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  DeviceRecord& operator[](std::size_t i) { return records_.at(i); }
  const DeviceRecord& operator[](std::size_t i) const { return records_.at(i); }
  void clear() { records_.clear(); }
  void append(const DeviceRecord& record) { records_.push_back(record); }

  /// Appends a copy unless an entry with the same MAC address exists;
  /// returns whether it was appended.
  bool InsertUnique(const DeviceRecord& record);

  /// Index of the first record with this MAC address, or -1.
  int FindByMac(const MacAddress& mac) const;

  /// Sorts in place with the caller's strict ordering (not stable).
  void Sort(const std::function<bool(const DeviceRecord&, const DeviceRecord&)>& less);

  auto begin() const { return records_.begin(); }
  auto end() const { return records_.end(); }

 private:
  std::vector<DeviceRecord> records_;
};

}  // namespace vantrell
