#include "ui/device_list_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/ipv4.h"
#include "core/text_forms.h"
#include "support/temp_folder.h"

namespace vantrell {
namespace {

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

DeviceList TwoSwitches() {
  DeviceRecord first = MakeZeroRecord();
  SetFieldText(first.modelName, "ORV-D8-G1");
  first.ipAddr = MakeIpv4(10, 0, 0, 10);
  first.netmask = MakeIpv4(255, 255, 255, 0);
  first.mac = {0x00, 0x60, 0xE9, 0x10, 0x20, 0x11};
  first.statusFlags = kStatusProtected;
  SetFieldText(first.serverName, "press-line-1");
  first.firmwareVersion = 0x01020300;
  first.serialNo = 17;
  DeviceRecord second = first;
  second.ipAddr = MakeIpv4(10, 0, 0, 11);
  second.mac[5] = 0x12;
  second.statusFlags = 0;
  second.ipConfigFlags = 1;
  DeviceList devices;
  devices.append(first);
  devices.append(second);
  return devices;
}

struct MessageRecorder : Prompter {
  PromptAnswer Ask(std::string_view text, MessageIcon icon, PromptButtons) override {
    boxes.emplace_back(text);
    icons.push_back(icon);
    return PromptAnswer::kOk;
  }
  std::optional<std::filesystem::path> SaveFileName(const FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::filesystem::path> OpenFileName(const FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::uint32_t> SpecifyIp() override { return std::nullopt; }
  std::optional<std::string> InputPassword() override { return std::nullopt; }
  std::optional<PasswordChange> ChangePassword() override { return std::nullopt; }
  std::optional<LoginEntry> LoginIdPassword() override { return std::nullopt; }
  std::vector<std::string> boxes;
  std::vector<MessageIcon> icons;
};

TEST(SaveDeviceList, WritesTheInventoryOfEveryListedDeviceReplacingTheFile) {
  test_support::TempFolder folder("device-list");
  const std::filesystem::path path = folder.path() / kDeviceListFileName;
  std::ofstream(path) << "an older, longer list that must not survive in part\n";
  MessageRecorder prompter;
  RunSaveListAs(TwoSwitches(), path, prompter);
  EXPECT_TRUE(prompter.boxes.empty());
  EXPECT_EQ(ReadWhole(path),
            "model,ip,mac,status,name,location,firmware,serial,netmask,gateway,dns1,dns2,dhcp,"
            "interface,details\r\n"
            "ORV-D8-G1,10.0.0.10,00:60:E9:10:20:11,Locked,press-line-1,,1.2.3,00017,"
            "255.255.255.0,0.0.0.0,0.0.0.0,0.0.0.0,off,0.0.0.0,\r\n"
            "ORV-D8-G1,10.0.0.11,00:60:E9:10:20:12,,press-line-1,,1.2.3,00017,"
            "255.255.255.0,0.0.0.0,0.0.0.0,0.0.0.0,dhcp,0.0.0.0,\r\n");
  // Nothing but the list is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(SaveDeviceList, ProgressCellsFillTheDetailsColumn) {
  test_support::TempFolder folder("device-list-progress");
  const std::filesystem::path path = folder.path() / "list.csv";
  EXPECT_FALSE(SaveDeviceList(path, TwoSwitches(), {"Finish", "Timeout"}));
  const std::string text = ReadWhole(path);
  EXPECT_NE(text.find(",off,0.0.0.0,Finish\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find(",dhcp,0.0.0.0,Timeout\r\n"), std::string::npos) << text;
}

TEST(SaveDeviceList, AFileThatCannotBeWrittenGivesAStopBoxWithItsNameAndTheReason) {
  test_support::TempFolder folder("device-list-missing");
  const std::filesystem::path path = folder.path() / "absent" / "devices.csv";
  MessageRecorder prompter;
  RunSaveListAs(TwoSwitches(), path, prompter);
  ASSERT_EQ(prompter.boxes.size(), 1u);
  EXPECT_EQ(prompter.boxes[0],
            "Cannot save the device list to " + path.string() + ":\nNo such file or directory");
  EXPECT_EQ(prompter.icons[0], MessageIcon::kStop);
  EXPECT_FALSE(std::filesystem::exists(path.parent_path()));
}

}  // namespace
}  // namespace vantrell
