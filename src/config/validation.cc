#include "config/validation.h"

#include <array>

namespace vantrell {
namespace {

using namespace validation;

constexpr std::array<ValidationGroup, kValidationGroupCount> kGroups = {{
    {kSystem, "system"},
    {kAccessibleIp, "accessible ip"},
    {kPort, "port"},
    {kNetwork, "network"},
    {kTime, "time"},
    {kPortTrunking, "port trunking"},
    {kCommRedundancy, "comm. redundancy"},
    {kSnmp, "snmp"},
    {kQos, "QoS"},
    {kVlan, "802.1q VLAN"},
    {kIgmpSnooping, "IGMP Snooping"},
    {kStaticMulticast, "static multicast address"},
    {kRateLimiting, "rate limiting"},
    {kPortLock, "port lock"},
    {kStaticUnicast, "static unicast mac address"},
    {kEmailWarning, "email warning"},
    {kRelayAlarm, "relay alarm"},
    {kLineSwap, "line-swap"},
    {kSetDeviceIp, "set device ip"},
    {kMirror, "mirror"},
    {kCf, "cf"},
    {kGmrp, "gmrp"},
    {kBandwidthManagement, "bandwith management"},
    {kDot1x, "802.1X"},
}};

}  // namespace

std::span<const ValidationGroup, kValidationGroupCount> ValidationGroups() { return kGroups; }

std::string ValidationMessageText(std::string_view groupName) {
  std::string text = "There is a invalid ";
  text += groupName;
  text += " function setting in the configuration file !\nPlease check all ";
  text += groupName;
  text += " function settings , renew it , and retry again !";
  return text;
}

std::optional<ValidationMessage> showValidationMessage(ValidationFlags flags) {
  for (const ValidationGroup& group : kGroups) {
    if ((flags & group.bit) == 0) continue;
    return ValidationMessage{group.bit, group.name, ValidationMessageText(group.name),
                             MessageIcon::kStop};
  }
  return std::nullopt;
}

bool showValidationMessage(ValidationFlags flags, MessageSink& sink) {
  const auto message = showValidationMessage(flags);
  if (!message) return false;
  sink.ShowMessage(message->text, message->icon);
  return true;
}

}  // namespace vantrell
