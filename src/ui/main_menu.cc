#include "ui/main_menu.h"

#include <map>

namespace vantrell {

const std::vector<Menu>& MainMenu() {
  static const std::vector<Menu> menu = {
      {"&List Server",
       {{kCmdBroadcastSearch, "&Broadcast Search"},
        {kCmdSpecifyIp, "&Specify IP Address"},
        {kSeparator, ""},
        {kCmdSaveListAs, "Save List &As..."},
        {kSeparator, ""},
        {kCmdExit, "E&xit"}}},
      {"&Firmware", {{kCmdUpgradeFirmware, "&Upgrade"}}},
      {"&Configuration",
       {{kCmdModifyIp, "&Modify IP Address"},
        {kSeparator, ""},
        {kCmdExportConfiguration, "&Export Configuration"},
        {kCmdImportConfiguration, "&Import Configuration"},
        {kCmdBackupConfigurations, "&Backup Configurations..."},
        {kSeparator, ""},
        {kCmdChangePassword, "&Change password"},
        {kCmdUnlock, "&Unlock"},
        {kSeparator, ""},
        {kCmdWebConsole, "&Web Console"},
        {kSeparator, ""},
        {kCmdSetDefault, "Set Default"}}},
      {"&View", {{kCmdToggleToolbar, "&Toolbar"}, {kCmdToggleStatusBar, "&Status Bar"}}},
      {"&Help", {{kCmdAbout, "&About Configurator..."}}},
  };
  return menu;
}

const std::vector<int>& ToolbarButtons() {
  static const std::vector<int> buttons = {kCmdBroadcastSearch,
                                           kCmdSpecifyIp,
                                           kSeparator,
                                           kCmdUpgradeFirmware,
                                           kSeparator,
                                           kCmdModifyIp,
                                           kSeparator,
                                           kCmdChangePassword,
                                           kCmdUnlock,
                                           kSeparator,
                                           kCmdImportConfiguration,
                                           kCmdExportConfiguration,
                                           kSeparator,
                                           kCmdWebConsole};
  return buttons;
}

const Menu& SettingPopup() {
  static const Menu popup = {"Setting",
                             {{kCmdUnlock, "Unlock"},
                              {kCmdChangePassword, "ChangePassword"},
                              {kSeparator, ""},
                              {kCmdModifyIp, "Modify Configuration"},
                              {kCmdUpgradeFirmware, "Upgrade Firmware"},
                              {kSeparator, ""},
                              {kCmdExportConfiguration, "Export Configuration"},
                              {kCmdImportConfiguration, "Import Configuration"},
                              {kCmdBackupConfigurations, "Backup Configurations..."},
                              {kSeparator, ""},
                              {kCmdWebConsole, "&Web Console"}}};
  return popup;
}

CommandPrompt SplitPrompt(const std::string& promptString) {
  const std::size_t lineFeed = promptString.find('\n');
  if (lineFeed == std::string::npos) return {promptString, ""};
  return {promptString.substr(0, lineFeed), promptString.substr(lineFeed + 1)};
}

std::optional<CommandPrompt> PromptFor(int id) {
  static const std::map<int, std::string> prompts = {
      {kCmdBroadcastSearch,
       "Broadcast search for all the Device Servers on loacl LAN\nBroadcast Search"},
      {kCmdSpecifyIp, "Search for a Device Server with specific IP address\nSpecify by IP Address"},
      {kCmdUpgradeFirmware, "Upgrade firmware\nUpgrade Firmware"},
      {kCmdModifyIp, "Modify IP Address\nModify IP Address"},
      {kCmdExportConfiguration, "Export configuration from the Device Server to file\nExport"},
      {kCmdImportConfiguration, "Import configuration from file to the Device Server \nImport"},
      {kCmdChangePassword, "Change Password\nChange Password"},
      {kCmdUnlock, "Input password to unlock Meshvault Server\nUnlock"},
      {kCmdWebConsole, "Connect to Web Console\nWeb Console"},
      {kCmdSaveListAs, "Save the device list to a CSV file\nSave List As"},
      {kCmdBackupConfigurations,
       "Back up the configurations of the selected devices into a folder\nBackup Configurations"},
      {kCmdAbout, "Display program information, version number and copyright\nAbout"},
      {kCmdExit, "Quit the application; prompts to save documents\nExit"},
      {kCmdToggleToolbar, "Show or hide the toolbar\nToggle ToolBar"},
      {kCmdToggleStatusBar, "Show or hide the status bar\nToggle StatusBar"},
  };
  const auto found = prompts.find(id);
  if (found == prompts.end()) return std::nullopt;
  return SplitPrompt(found->second);
}

}  // namespace vantrell
