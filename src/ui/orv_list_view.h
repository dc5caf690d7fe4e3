#pragma once
/// The behaviour of the device list view (OrvListView), the left pane of the
/// main window and the place where every device command arrives: the row
/// texts, the selection step that tells the information pane what to show,
/// the enabling rule of each command, sorting by column, double click,
/// context menu, the Web Console, and the commands Broadcast Search,
/// Specify IP Address, Unlock, Change password, Modify IP Address, Export
/// and Import Configuration, Upgrade Firmware and Set Default, which run
/// their dialogs through the prompter and the dialog host. Destroying the
/// view removes the temporary ARP entry and host route of every listed
/// device.

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/device_list.h"
#include "core/timing.h"
#include "net/search_context.h"
#include "ops/device_job.h"
#include "ops/firmware_upgrade.h"
#include "ui/prompter.h"
#include "ui/row_table.h"

namespace vantrell {

class ArpRouteBracket;
class ConfigBlock;

/// Columns of the device list.
enum DeviceColumn : int {
  kColModel = 0,
  kColIpAddress,
  kColMacAddress,
  kColStatus,
  kColName,
  kColLocation,
  kDeviceColumnCount
};

struct ColumnSpec {
  const char* title;
  int width;
};
/// Titles and widths, in column order.
inline constexpr std::array<ColumnSpec, kDeviceColumnCount> kDeviceColumns = {{
    {"Model", 110},
    {"IP Address", 100},
    {"MAC Address", 120},
    {"Status", 100},
    {"Name", 100},
    {"Location", 100},
}};

/// The cell texts of a record's row, in column order.
std::array<std::string, kDeviceColumnCount> DeviceRowTexts(const DeviceRecord& record);

/// Whether `a` comes before `b` in the ascending order of a column.
bool ColumnLess(int column, const DeviceRecord& a, const DeviceRecord& b);

/// "http://a.b.c.d" for a switch, "http://a.b.c.d:port" for a video server.
std::string WebConsoleUrl(const DeviceRecord& record);

/// The open dialog of Import Configuration.
inline const FileDialogRequest kImportFileDialog{"ini files (*.ini)|*.ini|All files (*.*)|*.*||",
                                                 "ini"};

/// Asked after Set Default.
inline constexpr const char* kRefreshQuestion =
    "Do you want to refresh the Video or Meshvault Server information ?";

/// The report list of the view: rows of cells with a selection and a focus
/// mark.
class ReportList : public RowTable {
 public:
  /// The row with the focus mark, or -1.
  virtual int FocusedRow() const = 0;
  /// The highlighted rows in list order.
  virtual std::vector<int> SelectedRows() const = 0;
  /// Marks the row as selected (keeping the others) and gives it the focus
  /// mark.
  virtual void SelectAndFocus(int row) = 0;
  /// Gives the list the keyboard focus.
  virtual void TakeKeyboardFocus() = 0;
};

class OrvListView {
 public:
  /// The network and system work of the commands; tests substitute fakes.
  struct Services {
    std::function<void(SearchContext&)> searchWorker;
    std::function<int(DeviceRecord&)> detailsQuery;
    std::function<void(int ms)> sleep;
    /// Fetches the information text inside the ARP/route bracket.
    std::function<bool(DeviceRecord&)> fetchInfoText;
    std::function<void(SingleDeviceJob&)> unlockWorker;
    std::function<void(SingleDeviceJob&)> changePasswordWorker;
    std::function<int(DeviceJob&)> sendCommandWorker;
    /// Export Configuration inside the bracket; the result code.
    std::function<int(DeviceRecord&, const std::filesystem::path&)> exportConfiguration;
    /// The parameter export of a video server inside the bracket (0, -2
    /// refused credentials, -1).
    std::function<int(const DeviceRecord&, const std::filesystem::path&)> exportVideoServer;
    /// Upgrade Firmware: the workers of switch and video-server rows.
    std::function<int(UpgradeJob&, MessageSink*)> upgradeSwitchWorker;
    std::function<int(UpgradeJob&)> upgradeVideoServerWorker;
    /// Modify IP Address, inside the bracket: reads the device's address
    /// settings into the record (a short-reply device's block into the
    /// buffer); 0 or a negative code (readNetworkSettings).
    std::function<int(DeviceRecord&, ConfigBlock&)> readNetworkSettings;
    /// Stores the edited settings into the listed device: below 0, 0 or 1
    /// (applyNetworkSettings).
    std::function<int(const DeviceRecord& listed, const DeviceRecord& edited, ConfigBlock&)>
        applyNetworkSettings;
    std::function<void(const std::string& url)> openUrl;
    /// null: no ARP entries or routes are touched.
    ArpRouteBracket* bracket = nullptr;
    Timing timing;
  };

  struct Ports {
    ReportList& list;
    Prompter& prompter;
    ModalDialogHost& dialogs;
    /// View update hint 90: the record the information pane shows (-1: none).
    std::function<void(int index)> showDevice;
    /// A line for the status bar (the search's full list); may be empty.
    std::function<void(const std::string&)> showStatusMessage = {};
  };

  OrvListView(DeviceList& document, Ports ports, Services services);
  /// Removes the ARP entry and host route of every listed device.
  ~OrvListView();
  OrvListView(const OrvListView&) = delete;
  OrvListView& operator=(const OrvListView&) = delete;

  /// Sets the six cells of every row from its record, then SelectDevice.
  void RefreshRows();
  /// The selection step (left click, key release).
  void SelectDevice();
  /// Shows the refusal of the first selected record that is inaccessible
  /// or locked; true when every selected record passed.
  bool CheckSelectionRights();

  /// The enabling rule of a command.
  bool CommandEnabled(int id) const;
  /// Carries out a command of the dispatch table (its rule not checked).
  void OnCommand(int id);

  /// A left click, on the release of the button.
  void OnLeftClick() { SelectDevice(); }
  /// A key release in the list. The releases a held key repeats do
  /// nothing: holding an arrow key fetches no information text per repeat,
  /// only its final release does.
  void OnKeyRelease(bool autoRepeated) {
    if (!autoRepeated) SelectDevice();
  }
  void OnDoubleClick();
  /// Whether a context menu request shows the popup "Setting".
  bool ShowsContextMenu(bool pointInsideClientArea) const;
  /// Header click: sort by the column and flip its direction.
  void OnColumnClick(int column);

  const std::array<bool, kDeviceColumnCount>& sortDescending() const { return sortDescending_; }
  DeviceList& document() { return document_; }

 private:
  const DeviceRecord* Focused() const;
  std::vector<const DeviceRecord*> SelectedRecords() const;
  void RunSearch(Ipv4 sourceFilter);
  /// Removes the ARP entry and host route of every listed record.
  void RemoveListedBrackets();
  void BroadcastSearch();
  void SpecifyIpAddress();
  void Unlock();
  void ChangePassword();
  void ExportConfiguration();
  void ModifyIpAddress();
  void ImportConfiguration();
  void SetDefault();
  void WebConsole();
  void UpgradeFirmware();

  DeviceList& document_;
  Ports ports_;
  Services services_;
  std::array<bool, kDeviceColumnCount> sortDescending_;
};

/// The real services: search on every interface, the protocol operations
/// with `timing`, search-worker messages to `messages`, URLs opened by
/// `openUrl`.
OrvListView::Services SystemListServices(ArpRouteBracket* bracket, MessageSink& messages,
                                         std::function<void(const std::string&)> openUrl,
                                         const Timing& timing = {});

}  // namespace vantrell
