#include "ui/main_menu.h"

#include <gtest/gtest.h>

namespace vantrell {
namespace {

std::vector<std::string> Entries(const Menu& menu) {
  std::vector<std::string> texts;
  for (const MenuEntry& entry : menu.entries) {
    texts.push_back(
        entry.id == kSeparator ? "-" : std::string(entry.text) + "=" + std::to_string(entry.id));
  }
  return texts;
}

TEST(MainMenu, MenusEntriesAndSeparatorsInOrder) {
  const auto& menu = MainMenu();
  ASSERT_EQ(menu.size(), 5u);
  EXPECT_STREQ(menu[0].title, "&List Server");
  EXPECT_EQ(Entries(menu[0]),
            (std::vector<std::string>{"&Broadcast Search=32773", "&Specify IP Address=32774", "-",
                                      "Save List &As...=32785", "-", "E&xit=57665"}));
  EXPECT_EQ(Entries(menu[1]), std::vector<std::string>{"&Upgrade=32775"});
  EXPECT_STREQ(menu[2].title, "&Configuration");
  EXPECT_EQ(Entries(menu[2]), (std::vector<std::string>{
                                  "&Modify IP Address=32776", "-", "&Export Configuration=32780",
                                  "&Import Configuration=32781", "&Backup Configurations...=32786",
                                  "-", "&Change password=32777", "&Unlock=32778", "-",
                                  "&Web Console=32771", "-", "Set Default=32784"}));
  EXPECT_EQ(Entries(menu[3]), (std::vector<std::string>{"&Toolbar=59392", "&Status Bar=59393"}));
  EXPECT_EQ(Entries(menu[4]), std::vector<std::string>{"&About Configurator...=57664"});
}

TEST(MainMenu, ToolbarAndPopup) {
  EXPECT_EQ(ToolbarButtons(), (std::vector<int>{32773, 32774, 0, 32775, 0, 32776, 0, 32777, 32778,
                                                0, 32781, 32780, 0, 32771}));
  EXPECT_EQ(
      Entries(SettingPopup()),
      (std::vector<std::string>{"Unlock=32778", "ChangePassword=32777", "-",
                                "Modify Configuration=32776", "Upgrade Firmware=32775", "-",
                                "Export Configuration=32780", "Import Configuration=32781",
                                "Backup Configurations...=32786", "-", "&Web Console=32771"}));
}

TEST(MainMenu, PromptsSplitIntoStatusTextAndTooltip) {
  const auto search = PromptFor(kCmdBroadcastSearch);
  ASSERT_TRUE(search);
  EXPECT_EQ(search->statusText, "Broadcast search for all the Device Servers on loacl LAN");
  EXPECT_EQ(search->tooltip, "Broadcast Search");
  EXPECT_EQ(PromptFor(kCmdImportConfiguration)->statusText,
            "Import configuration from file to the Device Server ");
  EXPECT_EQ(PromptFor(kCmdUnlock)->statusText, "Input password to unlock Meshvault Server");
  EXPECT_EQ(PromptFor(kCmdSpecifyIp)->tooltip, "Specify by IP Address");
  EXPECT_FALSE(PromptFor(kCmdSetDefault));
  EXPECT_EQ(PromptFor(kCmdSaveListAs)->tooltip, "Save List As");
  EXPECT_EQ(PromptFor(kCmdBackupConfigurations)->statusText,
            "Back up the configurations of the selected devices into a folder");
  EXPECT_EQ(SplitPrompt("only").tooltip, "");
}

}  // namespace
}  // namespace vantrell
