#include "cli/netconf_command.h"

#include <nlohmann/json.hpp>
#include <set>

#include "cli/device_selection.h"
#include "cli/results.h"
#include "core/model_table.h"
#include "core/text_forms.h"
#include "ops/network_settings.h"
#include "ops/selection_rights.h"
#include "ui/netconf_form.h"

namespace vantrell {
namespace {

constexpr const char* kUsage =
    "usage: vantrell netconf DEVICE [--ip A] [--netmask A] [--gateway A] [--dns1 A] [--dns2 A] "
    "[--mode off|dhcp|bootp]";

/// The result text when the warning was not answered with --yes.
constexpr const char* kNotStoredText = "Not stored: answer the warning with --yes to store.";

/// Low byte of the video-server model IDs for which the command is not offered.
constexpr std::uint8_t kNoNetconfModelLowByte = 0x80;

struct AddressOption {
  const char* name;
  AddressField field;
};
constexpr AddressOption kAddressOptions[] = {{"--ip", AddressField::kIpAddr},
                                             {"--netmask", AddressField::kNetmask},
                                             {"--gateway", AddressField::kGateway},
                                             {"--dns1", AddressField::kDns1},
                                             {"--dns2", AddressField::kDns2}};

/// What the options ask to change: the values typed into the dialog.
struct NetconfRequest {
  std::array<std::optional<Ipv4>, kAddressFieldCount> addresses;
  std::optional<AddressMode> mode;
};

std::optional<AddressMode> ParseMode(const std::string& text) {
  if (text == "off") return AddressMode::kDisable;
  if (text == "dhcp") return AddressMode::kDhcp;
  if (text == "bootp") return AddressMode::kBootp;
  return std::nullopt;
}

/// The request of the options, or a usage error in `error`.
std::optional<NetconfRequest> ParseRequest(const CliOptions& options, std::string& error) {
  NetconfRequest request;
  std::set<std::string> known = {"--mode"};
  for (const AddressOption& option : kAddressOptions) {
    known.insert(option.name);
    const auto value = options.Value(option.name);
    if (!value) continue;
    const auto address = ParseIpv4(*value);
    if (!address) {
      error = std::string("invalid address for ") + option.name + ": " + *value;
      return std::nullopt;
    }
    request.addresses[static_cast<std::size_t>(option.field)] = *address;
  }
  if (const auto mode = options.Value("--mode")) {
    request.mode = ParseMode(*mode);
    if (!request.mode) {
      error = "invalid --mode " + *mode + " (off, dhcp or bootp)";
      return std::nullopt;
    }
  }
  for (const auto& [name, value] : options.values) {
    if (!known.count(name)) {
      error = "option " + name + " does not apply to netconf";
      return std::nullopt;
    }
  }
  if (!options.flags.empty()) {
    error = "option " + options.flags.front() + " does not apply to netconf";
    return std::nullopt;
  }
  return request;
}

/// The window's enabling rule of Modify IP Address, as a refusal.
std::optional<std::string> NetconfRefusal(const DeviceRecord& record) {
  if (!IsAccessible(record)) return NotAccessibleText(record);
  if (!IsUsable(record)) return PasswordProtectedText(record);
  if (IsKavexName(FieldText(record.modelName)) &&
      (record.modelId & 0xFF) == kNoNetconfModelLowByte) {
    return FormatMac(record.mac) + " is a video server: Modify IP Address does not apply";
  }
  return std::nullopt;
}

/// Checks the boxes of the requested settings and types their values, as
/// the operator would; a setting the dialog hides is a usage error.
bool FillForm(NetconfForm& form, const NetconfRequest& request, std::string& error) {
  for (const AddressOption& option : kAddressOptions) {
    const auto& value = request.addresses[static_cast<std::size_t>(option.field)];
    if (!value) continue;
    if (!form.fieldVisible(option.field)) {
      error = std::string(option.name) + " does not apply to " + form.modelNameText() +
              " (it has no \"" + std::string(AddressFieldLabel(option.field)) + "\")";
      return false;
    }
    form.SetFieldChecked(option.field, true);
    form.SetAddress(option.field, *value);
  }
  if (request.mode) {
    form.SetAutoIpChecked(true);
    if (!form.SetMode(*request.mode)) {
      error = "--mode bootp does not apply to " + form.modelNameText();
      return false;
    }
  }
  return true;
}

std::string ModeText(const NetconfForm& form, std::uint32_t flags, bool d8) {
  const bool bootp = !d8 && (flags & 0x2);
  if (bootp) return "Bootp";
  return (flags & 0x1) ? std::string(form.dhcpLabel()) : "Disable";
}

struct SettingChange {
  std::string setting;
  std::string from;
  std::string to;
};

std::vector<SettingChange> Changes(const NetconfForm& form, const DeviceRecord& before,
                                   const DeviceRecord& after) {
  std::vector<SettingChange> changes;
  const bool d8 = IsD8Family(before.modelId);
  const std::string modeBefore = ModeText(form, before.ipConfigFlags, d8);
  const std::string modeAfter = ModeText(form, after.ipConfigFlags, d8);
  if (modeBefore != modeAfter) changes.push_back({"AUTOIP", modeBefore, modeAfter});
  for (AddressField field : kAddressFields) {
    const Ipv4 from = AddressOf(before, field);
    const Ipv4 to = AddressOf(after, field);
    if (from != to) {
      changes.push_back({std::string(AddressFieldLabel(field)), FormatIpv4(from), FormatIpv4(to)});
    }
  }
  return changes;
}

/// Without --yes: what would have changed, one "SETTING<TAB>FROM -> TO" line
/// each, then the not-stored text; with --json the object also lists them.
void PrintNotStored(CliContext& context, const DeviceRecord& record,
                    const std::vector<SettingChange>& changes) {
  if (context.options.json) {
    nlohmann::json list = nlohmann::json::array();
    for (const SettingChange& change : changes) {
      list.push_back({{"setting", change.setting}, {"from", change.from}, {"to", change.to}});
    }
    PrintJson(context.console.out(),
              {{"mac", FormatMac(record.mac)}, {"result", kNotStoredText}, {"changes", list}});
    return;
  }
  for (const SettingChange& change : changes) {
    context.console.out() << change.setting << "\t" << change.from << " -> " << change.to << "\n";
  }
  context.console.out() << kNotStoredText << "\n";
}

}  // namespace

int RunNetconfCommand(CliContext& context) {
  std::string error;
  const auto request = ParseRequest(context.options, error);
  const std::size_t devices = context.options.args.size();
  if (!(devices == 1 || (devices == 0 && HasFleetSelection(context.options))) || !request) {
    return context.Refuse(error.empty() ? kUsage : error);
  }
  DeviceSelection selection =
      SelectNamedDevices(context, context.options.args, DeviceCount::kOne);
  if (selection.error) return selection.error;
  DeviceRecord& record = selection.search.devices[selection.picked.at(0)];
  if (const auto refusal = NetconfRefusal(record)) return context.Refuse(*refusal);

  NetworkSettingsChange change(record, &context.bracket(), context.timing);
  if (const auto failure = change.Read()) {
    PrintOutcome(context, record, failure->text);
    return kExitFailed;
  }
  NetconfForm form(change.record(), 0, NetconfPurpose::kModify);
  if (!FillForm(form, *request, error)) return context.Refuse(error);
  // The dialog would stay open for a correction; nothing is stored.
  const NetconfForm::OkResult ok = form.PressOk();
  if (!ok.edited) return context.Refuse(ok.message);
  // Nothing changed: the window ends without a message.
  if (!change.Changed(*ok.edited)) {
    PrintOutcome(context, record, "");
    return kExitOk;
  }
  context.console.ShowMessage(kNetworkSettingsWarning, MessageIcon::kStop);
  if (!context.options.yes) {
    PrintNotStored(context, record, Changes(form, change.record(), *ok.edited));
    return kExitFailed;
  }
  NetworkSettingsMessage message;
  const int result = change.Apply(*ok.edited, message);
  PrintOutcome(context, record, message.text);
  return result >= 0 ? kExitOk : kExitFailed;
}

}  // namespace vantrell
