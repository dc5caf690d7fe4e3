#include "ui/device_list_file.h"

#include <cstring>

#include "platform/atomic_file.h"
#include "ui/inventory.h"

namespace vantrell {

std::string DeviceListSaveFailedText(const std::filesystem::path& path, std::string_view reason) {
  return "Cannot save the device list to " + path.string() + ":\n" + std::string(reason);
}

std::optional<std::string> SaveDeviceList(const std::filesystem::path& path,
                                          const DeviceList& devices,
                                          const std::vector<std::string>& progress) {
  AtomicFile file(path);
  if (file.Write(InventoryCsv(devices, progress)) && file.Commit()) return std::nullopt;
  return DeviceListSaveFailedText(path, std::strerror(file.error()));
}

void RunSaveListAs(const DeviceList& devices, const std::filesystem::path& path,
                   Prompter& prompter) {
  if (const auto failure = SaveDeviceList(path, devices)) {
    prompter.ShowMessage(*failure, MessageIcon::kStop);
  }
}

}  // namespace vantrell
