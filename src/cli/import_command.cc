#include "cli/import_command.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "cli/device_selection.h"
#include "cli/fleet_selection.h"
#include "cli/input_file.h"
#include "cli/results.h"
#include "cli/upgrade_command.h"
#include "core/model_table.h"
#include "core/text_forms.h"
#include "ops/config_import.h"
#include "ops/selection_rights.h"
#include "ui/import_dialog.h"
#include "ui/netconf_form.h"

namespace vantrell {
namespace {

constexpr const char* kUsage = "usage: vantrell import FILE DEVICE...";

/// Said after the differences when --yes was not given.
constexpr const char* kReviewNotConfirmedText =
    "Not imported: confirm the file's address settings with --yes to import them.";

/// A report list that keeps nothing; the dialog keeps its row texts itself.
class NoRows : public RowTable {
 public:
  void DeleteAllRows() override {}
  void InsertRow(int, std::string_view) override {}
  void SetCell(int, int, std::string_view) override {}
};

std::string ModeText(std::uint32_t flags, bool d8) {
  if (!d8 && (flags & 0x2)) return "Bootp";
  if (flags & 0x1) return d8 ? "Enable" : "DHCP";
  return "Disable";
}

/// The operator's answers come from the options.
class OptionsOperator : public ImportOperator {
 public:
  explicit OptionsOperator(CliContext& context) : context_(context) {}

  std::optional<LoginEntry> LoginIdPassword() override {
    return LoginEntry{context_.options.kavexUser, context_.options.kavexPassword};
  }

  std::optional<DeviceRecord> ReviewAddressSettings(const DeviceRecord& device,
                                                    const DeviceRecord& fileSettings,
                                                    AddressChangeMask mask) override {
    ListDifferences(device, fileSettings, mask);
    if (!context_.options.yes) {
      context_.console.Error(kReviewNotConfirmedText);
      return std::nullopt;
    }
    // "OK" pressed on the review as the file filled it in.
    const NetconfForm::OkResult ok =
        NetconfForm(fileSettings, mask, NetconfPurpose::kImportReview).PressOk();
    if (!ok.edited) {
      // The dialog would stay open for a correction; here the review ends.
      context_.console.ShowMessage(ok.message, MessageIcon::kNone);
      return std::nullopt;
    }
    return ok.edited;
  }

 private:
  /// "MAC<TAB>SETTING<TAB>FROM -> TO" per setting the file changes, on
  /// stderr (always without --yes, as progress with it).
  void ListDifferences(const DeviceRecord& device, const DeviceRecord& file,
                       AddressChangeMask mask) {
    const std::string mac = FormatMac(device.mac);
    std::vector<std::string> lines;
    if (mask & kChangeAutoIp) {
      const bool d8 = IsD8Family(device.modelId);
      lines.push_back(mac + "\tAUTOIP\t" + ModeText(device.ipConfigFlags, d8) + " -> " +
                      ModeText(file.ipConfigFlags, d8));
    }
    const std::pair<AddressChangeMask, AddressField> fields[] = {
        {kChangeIpAddr, AddressField::kIpAddr},
        {kChangeNetmask, AddressField::kNetmask},
        {kChangeGateway, AddressField::kGateway},
        {kChangeDns1, AddressField::kDns1},
        {kChangeDns2, AddressField::kDns2}};
    for (const auto& [bit, field] : fields) {
      if (!(mask & bit)) continue;
      lines.push_back(mac + "\t" + std::string(AddressFieldLabel(field)) + "\t" +
                      FormatIpv4(AddressOf(device, field)) + " -> " +
                      FormatIpv4(AddressOf(file, field)));
    }
    for (const std::string& line : lines) {
      if (context_.options.yes) {
        context_.console.Progress(line);
      } else {
        context_.console.Error(line);
      }
    }
  }

  CliContext& context_;
};

std::optional<std::string> UsageError(const CliOptions& options) {
  if (options.args.size() < (HasFleetSelection(options) ? 1u : 2u)) return kUsage;
  for (const auto& [name, value] : options.values) {
    if (!IsFleetOption(name)) return "option " + name + " does not apply to import";
  }
  for (const std::string& name : options.flags) {
    if (!IsFleetOption(name) && name != "--keep-address") {
      return "option " + name + " does not apply to import";
    }
  }
  return KavexOptionsRefusal(options);
}

/// The window stops the whole run at the first switch when the file's first
/// line is not the header, leaving rows that never got a final text; here
/// that ends the command before anything is sent.
bool StopsAtHeader(std::string_view bytes, const std::vector<DeviceRecord>& records) {
  if (IsGzipFile(bytes)) return false;
  ImportFileReader file(bytes);
  if (HeaderLineMatches(file)) return false;
  return std::any_of(records.begin(), records.end(),
                     [](const DeviceRecord& record) { return !IsKavexModelId(record.modelId); });
}

/// --keep-address works on the block: a device that reads the file itself
/// (a long-reply switch, a video server) would take the file's address.
std::optional<std::string> KeepAddressRefusal(const std::vector<DeviceRecord>& records) {
  for (const DeviceRecord& record : records) {
    if (record.replyKind == 1 || IsKavexModelId(record.modelId)) {
      return "--keep-address does not apply to " + FormatMac(record.mac) + " (" +
             std::string(FieldText(record.modelName)) +
             "): it reads the file itself and would take the file's address settings";
    }
  }
  return std::nullopt;
}

/// One file with a fixed address into several devices would give all of
/// them that address.
std::optional<std::string> SharedAddressRefusal(const std::string& path, std::string_view bytes,
                                                const std::vector<DeviceRecord>& records) {
  if (records.size() < 2) return std::nullopt;
  for (const DeviceRecord& record : records) {
    if (IsKavexModelId(record.modelId)) continue;
    if (const auto address = FixedAddressOfFile(bytes, record)) {
      return path + " sets the fixed address " + FormatIpv4(*address) + ": importing it into " +
             std::to_string(records.size()) +
             " devices would give all of them that address; give --keep-address to keep each "
             "device's own address settings";
    }
  }
  return std::nullopt;
}

std::vector<ImportTarget> Targets(const std::vector<DeviceRecord>& records,
                                  const std::filesystem::path& path, bool keepAddress) {
  std::vector<ImportTarget> targets = MakeImportTargets(records, path);
  for (ImportTarget& target : targets) target.keepAddress = keepAddress;
  return targets;
}

}  // namespace

int RunImportCommand(CliContext& context) {
  if (const auto usage = UsageError(context.options)) return context.Refuse(*usage);
  // The file is read once, before the search; the review and every device
  // get these very bytes, however the file changes meanwhile.
  std::string error;
  const auto bytes = ReadImportFileOnce(context.options.args[0], error);
  if (!bytes) return context.Refuse(error);
  const auto frozen = FrozenFile::Make(*bytes);
  if (!frozen) return context.Refuse(CannotOpenFileText(errno));
  const std::filesystem::path path = frozen->path();

  const std::vector<std::string> names(context.options.args.begin() + 1,
                                       context.options.args.end());
  DeviceSelection selection = SelectNamedDevices(context, names);
  if (selection.error) return selection.error;
  std::vector<DeviceRecord> records;
  std::vector<const DeviceRecord*> chosen;
  for (std::size_t index : selection.picked) records.push_back(selection.search.devices[index]);
  for (const DeviceRecord& record : records) chosen.push_back(&record);
  if (const auto refusal = CheckSelectionRights(chosen)) return context.Refuse(*refusal);
  if (StopsAtHeader(*bytes, records)) return context.Refuse(kFileFormatErrorText);
  const bool keepAddress = context.options.Flag("--keep-address");
  if (const auto refusal = keepAddress ? KeepAddressRefusal(records)
                                       : SharedAddressRefusal(context.options.args[0], *bytes,
                                                              records)) {
    return context.Refuse(*refusal);
  }

  NoRows rows;
  OptionsOperator op(context);
  ImportDialog dialog(
      Targets(records, path, keepAddress),
      {rows, context.console, op, nullptr, nullptr, nullptr, &context.bracket(), context.timing});
  dialog.Open();
  RunTimer(
      [&] {
        dialog.OnTimer();
        return true;
      },
      kImportStartDelayMs);

  std::vector<DeviceResult> results;
  bool allImported = dialog.state() == ImportDialog::State::kFinished;
  for (std::size_t i = 0; i < records.size(); ++i) {
    results.push_back({records[i].mac, dialog.rowTexts().at(i)});
    allImported = allImported && dialog.rowTexts()[i] == kImportSuccessText;
  }
  PrintResults(context, results);
  return allImported ? kExitOk : kExitFailed;
}

}  // namespace vantrell
