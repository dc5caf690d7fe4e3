#include "ui/import_dialog.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>

#include "net/arp_route_bracket.h"
#include "support/recording_netd_channel.h"
#include "support/scripted_device.h"
#include "ui/netconf_form.h"

namespace vantrell {
namespace {

using namespace vantrell::test_support;

const std::string kHeader = "[Meshvault Server Configuration File]\r\n";

class RecordingRows : public RowTable {
 public:
  void DeleteAllRows() override { cells.clear(); }
  void InsertRow(int row, std::string_view firstCell) override {
    cells.insert(cells.begin() + row, std::vector<std::string>{std::string(firstCell), ""});
  }
  void SetCell(int row, int column, std::string_view text) override {
    cells.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = text;
  }
  std::vector<std::string> Progress() const {
    std::vector<std::string> texts;
    for (const auto& row : cells) texts.push_back(row[1]);
    return texts;
  }
  std::vector<std::vector<std::string>> cells;
};

class RecordingMessages : public MessageSink {
 public:
  void ShowMessage(std::string_view text, MessageIcon icon) override {
    shown.emplace_back(std::string(text), icon);
  }
  std::vector<std::pair<std::string, MessageIcon>> shown;
};

class FakeOperator : public ImportOperator {
 public:
  std::optional<LoginEntry> LoginIdPassword() override {
    ++logins;
    return login;
  }
  std::optional<DeviceRecord> ReviewAddressSettings(const DeviceRecord& device,
                                                    const DeviceRecord& fileSettings,
                                                    AddressChangeMask mask) override {
    reviews.push_back({device, fileSettings, mask});
    return review ? review(fileSettings) : std::nullopt;
  }

  struct Review {
    DeviceRecord device;
    DeviceRecord fileSettings;
    AddressChangeMask mask;
  };
  std::optional<LoginEntry> login;
  std::function<std::optional<DeviceRecord>(const DeviceRecord&)> review;
  int logins = 0;
  std::vector<Review> reviews;
};

class TempFile {
 public:
  explicit TempFile(std::string_view bytes)
      : path_(std::filesystem::temp_directory_path() /
              ("vantrell-import-dialog-" + std::to_string(::getpid()) + "-" +
               std::to_string(++count_))) {
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  ~TempFile() { std::filesystem::remove(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  static inline int count_ = 0;
  std::filesystem::path path_;
};

DeviceRecord Device(std::uint8_t macLast, std::uint16_t modelId, std::string_view modelName,
                    std::uint32_t firmware) {
  DeviceRecord record = MakeZeroRecord();
  record.mac = {0x02, 0x56, 0x30, 0x00, 0x00, macLast};
  record.modelId = modelId;
  record.firmwareVersion = firmware;
  record.ipAddr = MakeIpv4(127, 0, 0, 1);
  record.netmask = MakeIpv4(255, 0, 0, 0);
  SetFieldText(record.modelName, modelName);
  return record;
}

/// A dialog with recorders around it.
struct Harness {
  explicit Harness(std::vector<ImportTarget> targets, Timing timing = {})
      : dialog(std::move(targets), {rows, messages, op, [this](bool on) { okStates.push_back(on); },
                                    [this](int row) { ++redraws[row]; },
                                    [this](bool on) { cursor.push_back(on); }, nullptr, timing}) {}

  RecordingRows rows;
  RecordingMessages messages;
  FakeOperator op;
  std::vector<bool> okStates;
  std::map<int, int> redraws;
  std::vector<bool> cursor;
  ImportDialog dialog;
};

TEST(ImportDialog, OpensWithOneWaitingRowPerDeviceAndOkDisabled) {
  const auto targets = MakeImportTargets(
      {Device(0x0A, 0x6008, "ORV-D8", 0x01040100), Device(0xB1, 0x6018, "ORV-D8-F", 0x02000600)},
      "/tmp/x.ini");
  Harness h(targets);
  h.dialog.Open();
  ASSERT_EQ(h.rows.cells.size(), 2u);
  EXPECT_EQ(h.rows.cells[0], (std::vector<std::string>{"02:56:30:00:00:0A", "Wait.."}));
  EXPECT_EQ(h.rows.cells[1], (std::vector<std::string>{"02:56:30:00:00:B1", "Wait.."}));
  EXPECT_EQ(h.okStates, std::vector<bool>{false});
  EXPECT_EQ(h.dialog.state(), ImportDialog::State::kWaiting);
  EXPECT_EQ(h.dialog.targets()[1].path, "/tmp/x.ini");

  const DialogDriver::Layout layout = ImportDialogLayout();
  EXPECT_EQ(layout.title, "Import Configuration");
  EXPECT_EQ(layout.buttonText, "OK");
  ASSERT_EQ(layout.columns.size(), 2u);
  EXPECT_EQ(layout.columns[0].title, "MAC Address");
  EXPECT_EQ(layout.columns[0].width, 120);
  EXPECT_EQ(layout.columns[1].title, "Progress");
  EXPECT_EQ(layout.columns[1].width, 250);
  EXPECT_TRUE(layout.centredColumns);
  EXPECT_EQ(layout.timerPeriodMs, 500);
}

TEST(ImportDialog, WrongFirstLineStopsTheWholeRunOnce) {
  const TempFile file("\xEF\xBB\xBF" + kHeader);
  Harness h(MakeImportTargets(
      {Device(1, 0x6008, "ORV-D8", 0x01040100), Device(2, 0x6008, "ORV-D8", 0x01040100)},
      file.path()));
  h.dialog.Open();
  h.dialog.OnTimer();
  EXPECT_EQ(h.dialog.state(), ImportDialog::State::kStoppedByFileError);
  EXPECT_EQ(h.rows.Progress(), (std::vector<std::string>{"Importing...", "Wait.."}));
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0].first, "File format error.");
  EXPECT_EQ(h.messages.shown[0].second, MessageIcon::kStop);
  EXPECT_EQ(h.okStates, std::vector<bool>{false});
  EXPECT_FALSE(h.dialog.okEnabled());
  // The timer is one-shot: a late tick runs nothing again.
  h.dialog.OnTimer();
  EXPECT_EQ(h.messages.shown.size(), 1u);
}

TEST(ImportDialog, UnopenableFileStopsTheRunWithItsErrorCode) {
  Harness h(
      MakeImportTargets({Device(1, 0x6008, "ORV-D8", 0x01040100)}, "/nonexistent/vantrell/x.ini"));
  h.dialog.Open();
  h.dialog.OnTimer();
  EXPECT_EQ(h.dialog.state(), ImportDialog::State::kStoppedByFileError);
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0].first, "Can not open configuration file, error code: 2");
}

TEST(ImportDialog, AFailingDeviceNeverStopsTheRun) {
  const TempFile file(kHeader + "# Model Name\r\nModelName ORV-D8\r\n");
  // Unserved firmware, another model, a video server whose login is cancelled.
  Harness h(MakeImportTargets(
      {Device(1, 0x6008, "ORV-D8", 0x01040001), Device(2, 0x0508, "ORV-A8", 0x01010100),
       Device(3, 0x1280, "Kavex VS-100", 0x01000000)},
      file.path()));
  h.dialog.Open();
  h.dialog.OnTimer();
  EXPECT_EQ(h.dialog.state(), ImportDialog::State::kFinished);
  EXPECT_EQ(h.rows.Progress(),
            (std::vector<std::string>{"Import Fail", "Model type mismatch", "Import Canceled"}));
  EXPECT_EQ(h.dialog.rowTexts(), h.rows.Progress());
  ASSERT_EQ(h.messages.shown.size(), 2u);
  EXPECT_EQ(h.messages.shown[0].first,
            "The configuration of ORV-D8 with firmware 1.4 cannot be imported: this firmware "
            "version is not supported.");
  EXPECT_EQ(h.messages.shown[1].first, "Model type mismatch !");
  EXPECT_EQ(h.messages.shown[1].second, MessageIcon::kStop);
  EXPECT_EQ(h.op.logins, 1);
  EXPECT_TRUE(h.op.reviews.empty());
  EXPECT_EQ(h.okStates, (std::vector<bool>{false, true}));
  // Each row is redrawn when it starts and when it ends.
  EXPECT_EQ(h.redraws, (std::map<int, int>{{0, 2}, {1, 2}, {2, 2}}));
}

TEST(ImportDialog, CancelledReviewSendsNothing) {
  const TempFile file(kHeader + "ModelName ORV-D8\r\nIPAddress 10.0.0.7\r\nNetmask 255.0.0.0\r\n");
  Harness h(MakeImportTargets({Device(1, 0x6008, "ORV-D8", 0x01040100)}, file.path()));
  h.dialog.Open();
  h.dialog.OnTimer();
  ASSERT_EQ(h.op.reviews.size(), 1u);
  EXPECT_EQ(h.op.reviews[0].mask, kChangeIpAddr);
  EXPECT_EQ(h.op.reviews[0].fileSettings.ipAddr, MakeIpv4(10, 0, 0, 7));
  EXPECT_EQ(h.op.reviews[0].device.ipAddr, MakeIpv4(127, 0, 0, 1));
  EXPECT_EQ(h.rows.Progress(), std::vector<std::string>{"Import Canceled"});
  EXPECT_TRUE(h.messages.shown.empty());
  EXPECT_TRUE(h.cursor.empty());
}

TEST(ImportDialog, AddressBracketSurroundsTheReviewOfSwitchesOnly) {
  const TempFile file(kHeader + "ModelName ORV-D8\r\nAUTOIP 1\r\n");
  test_support::RecordingNetdChannel helper;
  std::vector<std::string>& log = helper.log;
  RecordingMessages bracketMessages;
  ArpRouteBracket bracket(&helper, bracketMessages);
  // Another model, a video server, then a switch whose review is cancelled.
  const DeviceRecord kavex = Device(3, 0x1280, "Kavex VS-100", 0x01000000);
  Harness withBracket(MakeImportTargets(
      {Device(4, 0x6028, "ORV-A8", 0x01040100), kavex, Device(5, 0x6008, "ORV-D8", 0x01040100)},
      file.path()));
  ImportDialog dialog(withBracket.dialog.targets(), {withBracket.rows,
                                                     withBracket.messages,
                                                     withBracket.op,
                                                     nullptr,
                                                     nullptr,
                                                     nullptr,
                                                     &bracket,
                                                     {}});
  withBracket.op.review = [&log](const DeviceRecord&) {
    log.push_back("review");
    return std::optional<DeviceRecord>();
  };
  dialog.Open();
  dialog.OnTimer();
  EXPECT_EQ(
      withBracket.rows.Progress(),
      (std::vector<std::string>{"Model type mismatch", "Import Canceled", "Import Canceled"}));
  // A file that changes only the address mode is reviewed too.
  ASSERT_EQ(withBracket.op.reviews.size(), 1u);
  EXPECT_EQ(withBracket.op.reviews[0].mask, kChangeAutoIp);
  EXPECT_EQ(withBracket.op.reviews[0].fileSettings.ipConfigFlags, 1u);
  ASSERT_FALSE(log.empty());
  const auto review = std::find(log.begin(), log.end(), "review");
  ASSERT_NE(review, log.end());
  // Only the switch whose review opens gets the bracket around it.
  EXPECT_EQ(log, (std::vector<std::string>{"add 127.0.0.1 if 0.0.0.0 02:56:30:00:00:05", "review",
                                           "remove 127.0.0.1"}));
}

TEST(ImportDialog, ReviewedSettingsGoToTheDevice) {
  const std::string bytes = kHeader + "ModelName ORV-R8\r\nGateway 127.0.0.9\r\n";
  const TempFile file(bytes);
  ScriptedDevice device({Expect{1}, Send{{0x14, 0x04, 1, 2, 3, 4}}, Expect{33}, Send{{0x00, 0x01}},
                         Expect{29}, Send{{0x1F, 0x00}}, Expect{bytes.size()},
                         Send{Bytes{0x1F, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}});
  DeviceRecord record = Device(1, 0x0538, "ORV-R8-F1", 0x01010100);
  record.replyKind = 1;
  Harness h(MakeImportTargets({record}, file.path()), device.timing());
  h.op.review = [](const DeviceRecord& fileSettings) {
    DeviceRecord edited = fileSettings;
    edited.gateway = MakeIpv4(127, 0, 0, 77);  // changed in the dialog
    return std::optional<DeviceRecord>(edited);
  };
  h.dialog.Open();
  h.dialog.OnTimer();
  ASSERT_EQ(h.op.reviews.size(), 1u);
  EXPECT_EQ(h.op.reviews[0].mask, kChangeGateway);
  EXPECT_EQ(h.rows.Progress(), std::vector<std::string>{"Import Success"});
  EXPECT_EQ(h.cursor, (std::vector<bool>{true, false}));
  const auto seen = device.received();
  ASSERT_GE(seen.size(), 3u);
  ASSERT_EQ(seen[2].size(), 29u);
  // Gateway at bytes 13-16 of the stream header.
  EXPECT_EQ(Bytes(seen[2].begin() + 13, seen[2].begin() + 17), (Bytes{127, 0, 0, 77}));
}

TEST(ImportDialog, VideoServerLoginIsStoredCutToItsField) {
  // A port on which nothing listens: the post fails at once.
  const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(probe);

  const TempFile file("not even a header");
  DeviceRecord record = Device(1, 0x1288, "Kavex VS-200", 0x01000000);
  record.webPort = ntohs(address.sin_port);
  Harness h(MakeImportTargets({record}, file.path()));
  h.op.login = LoginEntry{"a-rather-long-user", "pw"};
  h.dialog.Open();
  h.dialog.OnTimer();
  EXPECT_EQ(FieldText(h.dialog.targets()[0].record.kavexUser), "a-rather-long-u");
  EXPECT_EQ(FieldText(h.dialog.targets()[0].record.kavexPassword), "pw");
  EXPECT_EQ(h.rows.Progress(), std::vector<std::string>{"Import Fail"});
  EXPECT_TRUE(h.messages.shown.empty());
  EXPECT_EQ(h.cursor, (std::vector<bool>{true, false}));
  EXPECT_EQ(h.dialog.state(), ImportDialog::State::kFinished);
}

TEST(ImportDialog, VideoServerRefusesAFileWithNulBytesBeforeTheLogin) {
  // An executable, say: nothing is asked or sent, the switch after it still runs.
  const TempFile file(std::string("\x7F" "ELF\x02\x01\x00\x00", 8) + kHeader);
  Harness h(MakeImportTargets({Device(1, 0x1288, "Kavex VS-200", 0x01000000),
                               Device(2, 0x6008, "ORV-D8", 0x01040001)},
                              file.path()));
  h.op.login = LoginEntry{"admin", "pw"};
  h.dialog.Open();
  h.dialog.OnTimer();
  EXPECT_EQ(h.op.logins, 0);
  EXPECT_TRUE(h.cursor.empty());
  ASSERT_FALSE(h.messages.shown.empty());
  EXPECT_EQ(h.messages.shown[0].first,
            "The file holds NUL bytes: a video server takes only a text configuration file.");
  EXPECT_EQ(h.messages.shown[0].second, MessageIcon::kStop);
  // The switch reads the same file: its first line is no header.
  EXPECT_EQ(h.rows.Progress(), (std::vector<std::string>{"Import Fail", "Importing..."}));
  EXPECT_EQ(h.dialog.state(), ImportDialog::State::kStoppedByFileError);
}

}  // namespace
}  // namespace vantrell
