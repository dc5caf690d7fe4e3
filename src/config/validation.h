#pragma once
/// The outcome of reading a configuration file into a block: one bit per
/// function group whose settings the file got wrong, and the message that
/// the import shows for it. Readers return the flags; the import turns the
/// first group set (in message order) into one error message box and
/// stores nothing on that device. Some bits carry no message: the import
/// still fails, silently.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"

namespace vantrell {

/// Function-group error bits; 0 means the file was accepted.
using ValidationFlags = std::uint32_t;

namespace validation {

// Groups with a message.
inline constexpr ValidationFlags kSystem = 0x1;
inline constexpr ValidationFlags kAccessibleIp = 0x4;
inline constexpr ValidationFlags kPort = 0x8;
inline constexpr ValidationFlags kNetwork = 0x10;
inline constexpr ValidationFlags kTime = 0x20;
inline constexpr ValidationFlags kPortTrunking = 0x40;
inline constexpr ValidationFlags kCommRedundancy = 0x80;
inline constexpr ValidationFlags kQos = 0x200;
inline constexpr ValidationFlags kVlan = 0x400;
inline constexpr ValidationFlags kIgmpSnooping = 0x800;
inline constexpr ValidationFlags kStaticMulticast = 0x1000;
inline constexpr ValidationFlags kRateLimiting = 0x2000;
inline constexpr ValidationFlags kPortLock = 0x4000;
inline constexpr ValidationFlags kStaticUnicast = 0x8000;
inline constexpr ValidationFlags kEmailWarning = 0x10000;
inline constexpr ValidationFlags kRelayAlarm = 0x20000;
inline constexpr ValidationFlags kLineSwap = 0x40000;
inline constexpr ValidationFlags kSetDeviceIp = 0x80000;
inline constexpr ValidationFlags kMirror = 0x100000;
inline constexpr ValidationFlags kSnmp = 0x800000;
inline constexpr ValidationFlags kGmrp = 0x1000000;
inline constexpr ValidationFlags kBandwidthManagement = 0x2000000;
inline constexpr ValidationFlags kCf = 0x4000000;
inline constexpr ValidationFlags kDot1x = 0x8000000;

// Bits without a message.
/// A password value breaks its rule.
inline constexpr ValidationFlags kPasswords = 0x2;
/// The modular model's file has a wrong model line.
inline constexpr ValidationFlags kWrongModelLine = 0x200000;
/// The modular model's file has a wrong first line.
inline constexpr ValidationFlags kWrongFirstLine = 0x400000;
/// The fetched block cannot take the generation's items (shorter than the
/// generation's block, or an item write was refused); nothing may be
/// stored from it.
inline constexpr ValidationFlags kBlockRefused = 0x10000000;

}  // namespace validation

/// One problem a reader met in a file: the 1-based line where the
/// offending value stands (0 for a missing line or a check not tied to one
/// line), the value's file key and its function group.
struct FileProblem {
  int line = 0;
  std::string key;
  ValidationFlags group = 0;

  bool operator==(const FileProblem&) const = default;
};

/// What a reader returns beside the block: the flags the import acts on
/// (the same as the reader's plain form returns) and every problem met, in
/// the order met.
struct FileReadResult {
  ValidationFlags flags = 0;
  std::vector<FileProblem> problems;
};

/// A group with a message: its bit and its name as the message spells it.
struct ValidationGroup {
  ValidationFlags bit;
  std::string_view name;
};

inline constexpr std::size_t kValidationGroupCount = 24;

/// The 24 groups in the order the message is chosen (the first set bit wins).
std::span<const ValidationGroup, kValidationGroupCount> ValidationGroups();

/// The message of a group: "There is a invalid <name> function setting in
/// the configuration file !\nPlease check all <name> function settings ,
/// renew it , and retry again !".
std::string ValidationMessageText(std::string_view groupName);

/// One message box to show: text and icon (the caller adds the caption).
struct ValidationMessage {
  ValidationFlags bit;     ///< the group chosen
  std::string_view group;  ///< its name
  std::string text;
  MessageIcon icon;  ///< always the error (stop) icon
};

/// The message for `flags`: that of the first group in ValidationGroups()
/// whose bit is set; nothing when no such bit is set (0, or only bits
/// without a message). Shows nothing itself.
std::optional<ValidationMessage> showValidationMessage(ValidationFlags flags);

/// Hands the message for `flags`, if any, to `sink`. True when a message
/// was shown.
bool showValidationMessage(ValidationFlags flags, MessageSink& sink);

}  // namespace vantrell
