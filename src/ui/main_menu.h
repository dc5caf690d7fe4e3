#pragma once
/// The commands of the main window and where they appear: the main menu,
/// the toolbar, the context menu "Setting" of the device list, and each
/// command's prompt (status-bar text and tooltip). Tables only; the window
/// builds its menus and buttons from them.

#include <optional>
#include <string>
#include <vector>

namespace vantrell {

/// Command identifiers.
enum CommandId : int {
  kCmdWebConsole = 32771,
  kCmdBroadcastSearch = 32773,
  kCmdSpecifyIp = 32774,
  kCmdUpgradeFirmware = 32775,
  kCmdModifyIp = 32776,
  kCmdChangePassword = 32777,
  kCmdUnlock = 32778,
  kCmdExportConfiguration = 32780,
  kCmdImportConfiguration = 32781,
  kCmdSetDefault = 32784,
  kCmdSaveListAs = 32785,
  kCmdBackupConfigurations = 32786,
  kCmdAbout = 57664,
  kCmdExit = 57665,
  kCmdToggleToolbar = 59392,
  kCmdToggleStatusBar = 59393,
};

/// Marks a separator in a menu and a gap in the toolbar.
inline constexpr int kSeparator = 0;

struct MenuEntry {
  int id;            ///< kSeparator for a separator
  const char* text;  ///< with its & mnemonic; empty for a separator
};

struct Menu {
  const char* title;
  std::vector<MenuEntry> entries;
};

/// The main menu, menus and entries in order.
const std::vector<Menu>& MainMenu();

/// The toolbar buttons left to right; kSeparator is a gap.
const std::vector<int>& ToolbarButtons();

/// The context menu of the device list (menu resource 142).
const Menu& SettingPopup();

/// The prompt of a command: the status-bar text and the tooltip.
struct CommandPrompt {
  std::string statusText;
  std::string tooltip;
};

/// Nothing for a command without a prompt string (Set Default).
std::optional<CommandPrompt> PromptFor(int id);

/// The prompt string split at its line feed.
CommandPrompt SplitPrompt(const std::string& promptString);

/// The About box.
inline constexpr const char* kAboutTitle = "About Utility";
inline constexpr const char* kProductName = "VANTRELL Configurator";
inline constexpr const char* kProductVersion = "V5.3.2";
/// Title of the main window.
inline constexpr const char* kMainWindowTitle = "VANTRELL Configurator";
/// Width of the device list pane when the window opens.
inline constexpr int kListPaneWidth = 575;
/// Idle text of the status bar and its indicator panes.
inline constexpr const char* kIdleStatusText = "Ready";
inline constexpr const char* kIndicatorTexts[] = {"CAP", "NUM", "SCRL"};

}  // namespace vantrell
