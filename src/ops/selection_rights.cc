#include "ops/selection_rights.h"

#include "core/text_forms.h"

namespace vantrell {

bool IsAccessible(const DeviceRecord& record) {
  return (record.statusFlags & kStatusInaccessible) == 0;
}

bool IsUsable(const DeviceRecord& record) {
  return (record.statusFlags & kStatusProtected) == 0 || !FieldText(record.password).empty();
}

std::string NotAccessibleText(const DeviceRecord& record) {
  return FormatMac(record.mac) + " is not accessable!";
}

std::string PasswordProtectedText(const DeviceRecord& record) {
  return FormatMac(record.mac) +
         " is password protected.\n Please select \"unlock\" function to get the rights.";
}

std::optional<std::string> CheckSelectionRights(std::span<const DeviceRecord* const> selection) {
  for (const DeviceRecord* record : selection) {
    if (!IsAccessible(*record)) return NotAccessibleText(*record);
    if (!IsUsable(*record)) return PasswordProtectedText(*record);
  }
  return std::nullopt;
}

}  // namespace vantrell
