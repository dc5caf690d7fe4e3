// End to end: the window against the device simulator in a lab of network
// namespaces (scripts/lab/window-test.json). The test brings the lab up,
// then runs itself again inside the workstation namespace, where the real
// window (offscreen) runs Broadcast Search through its dialog, selects
// devices and unlocks the locked one; and once more as an unprivileged user
// without any capability, where only the network helper beside it holds
// CAP_NET_ADMIN and still brackets the device on the foreign subnet. Needs
// root; without it, it skips.

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "qt/device_list_widget.h"
#include "qt/info_pane.h"
#include "qt/input_dialogs.h"
#include "qt/main_window.h"
#include "qt/progress_dialog.h"
#include "qt/qt_prompter.h"
#include "recording_lab.h"
#include "ui/main_menu.h"

namespace vantrell {

constexpr const char* kInsideFlag = "--inside-workstation";
constexpr const char* kUnprivilegedFlag = "--unprivileged";
constexpr const char* kScenario = VANTRELL_LAB_SCENARIOS "/window-test.json";
/// The search ends 5 s after the last new device; with the details queries,
/// unlock and selection the inner run takes about 10 s.
constexpr int kInnerRunLimitSeconds = 90;

namespace {

/// Runs `act` on the modal dialog on top once `ready` holds for it; polls
/// every 20 ms for at most `limitMs`.
void WhenModal(std::function<bool(QWidget*)> act, int limitMs) {
  auto* poll = new QTimer(qApp);  // goes with the application at the latest
  auto elapsed = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, [poll, elapsed, act, limitMs] {
    QWidget* top = QApplication::activeModalWidget();
    *elapsed += 20;
    if ((top && act(top)) || *elapsed > limitMs) {
      poll->stop();
      poll->deleteLater();
    }
  });
  poll->start(20);
}

int RowOf(const QTreeWidget& list, const QString& mac) {
  for (int i = 0; i < list.topLevelItemCount(); ++i) {
    if (list.topLevelItem(i)->text(2) == mac) return i;
  }
  return -1;
}

/// The "CapEff:" line of this process's status.
std::string EffectiveCapabilities() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("CapEff:")) return line;
  }
  return "";
}

/// Records and closes every message box that opens during the next minute.
void RecordMessages(QStringList& messages) {
  WhenModal(
      [&messages](QWidget* top) {
        if (auto* box = qobject_cast<QMessageBox*>(top)) {
          messages << box->text();
          box->done(QMessageBox::Ok);
        }
        return false;
      },
      60000);
}

}  // namespace

/// The part that runs inside the workstation namespace: each run takes one
/// of the slots, after a Broadcast Search in a shown window.
class WindowLabTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    window_ = std::make_unique<MainWindow>();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    // Messages would block the run: record and close any that opens.
    RecordMessages(messages_);
    window_->runCommand(kCmdBroadcastSearch);
    QCOMPARE(window_->listWidget()->topLevelItemCount(), 4);
  }

  void cleanup() {
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(" | ")));
    window_.reset();
  }

  /// As root.
  void searchSelectAndUnlock() {
    MainWindow& window = *window_;
    DeviceListWidget* list = window.listWidget();
    const int d8 = RowOf(*list, "02:56:30:00:01:01");
    const int r8 = RowOf(*list, "02:56:30:00:01:02");
    const int a8 = RowOf(*list, "02:56:30:00:01:03");
    QVERIFY(d8 >= 0 && r8 >= 0 && a8 >= 0);
    QCOMPARE(list->topLevelItem(d8)->text(0), QString("ORV-D8"));
    QCOMPARE(list->topLevelItem(d8)->text(1), QString("192.168.10.61"));
    QCOMPARE(list->topLevelItem(d8)->text(4), QString("Window D8"));
    QCOMPARE(list->topLevelItem(r8)->text(0), QString("ORV-R8-F2 Window Edition"));
    QCOMPARE(list->topLevelItem(a8)->text(3), QString("Locked"));

    // Selecting the long-reply device fetches its information text.
    list->clearSelection();
    list->SelectAndFocus(r8);
    window.listView().SelectDevice();
    QCOMPARE(window.infoPane()->shownIndex(), r8);
    QVERIFY(FieldText(window.document()[static_cast<std::size_t>(r8)].infoText)
                .starts_with("Model Name\tORV-R8-F2 Window Edition"));
    list->clearSelection();
    list->SelectAndFocus(d8);
    window.listView().SelectDevice();
    QCOMPARE(window.infoPane()->shownIndex(), d8);

    // Unlock the locked A8 with its password.
    list->clearSelection();
    list->SelectAndFocus(a8);
    window.listView().SelectDevice();
    window.updateCommandStates();
    QVERIFY(window.action(kCmdUnlock)->isEnabled());
    QString unlockRow;
    WhenModal(
        [](QWidget* top) {
          auto* dialog = qobject_cast<InputPassDialog*>(top);
          if (!dialog) return false;
          dialog->passwordEdit()->setText("  alpha ");
          dialog->accept();
          return true;
        },
        5000);
    WhenModal(
        [&unlockRow](QWidget* top) {
          auto* dialog = qobject_cast<ProgressDialog*>(top);
          if (!dialog || dialog->list()->topLevelItemCount() != 1) return false;
          const QString state = dialog->list()->topLevelItem(0)->text(1);
          if (state != "OK.." && state != "Fail..") return false;
          unlockRow = state;
          dialog->button()->click();
          return true;
        },
        20000);
    window.runCommand(kCmdUnlock);
    QCOMPARE(unlockRow, QString("OK.."));
    QCOMPARE(list->topLevelItem(a8)->text(3), QString("Unlocked"));
    QCOMPARE(FieldText(window.document()[static_cast<std::size_t>(a8)].password),
             std::string_view("alpha"));
  }

  /// As a user without any capability, beside a helper that holds
  /// CAP_NET_ADMIN.
  void searchReachesTheForeignDeviceThroughTheHelper() {
    QCOMPARE(QString::fromStdString(EffectiveCapabilities()), QString("CapEff:\t0000000000000000"));
    // Its details query needs the ARP entry and host route of the bracket.
    const int far = RowOf(*window_->listWidget(), "02:56:30:00:01:04");
    QVERIFY(far >= 0);
    QVERIFY(window_->document()[static_cast<std::size_t>(far)].detailsFetched);
    QCOMPARE(window_->listWidget()->topLevelItem(far)->text(4), QString("Window far"));
  }

 private:
  std::unique_ptr<MainWindow> window_;
  QStringList messages_;
};


}  // namespace vantrell

namespace {

using vantrell::kInnerRunLimitSeconds;
using vantrell::kInsideFlag;
using vantrell::kScenario;

int RunInside(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setApplicationName(vantrell::kMessageCaption);
  vantrell::WindowLabTest test;
  const bool asUnprivileged = argc > 2 && std::strcmp(argv[2], vantrell::kUnprivilegedFlag) == 0;
  // Qt Test takes only its own arguments: the one slot of this run.
  char slot[] = "searchSelectAndUnlock";
  char unprivilegedSlot[] = "searchReachesTheForeignDeviceThroughTheHelper";
  char* testArgs[] = {argv[0], asUnprivileged ? unprivilegedSlot : slot, nullptr};
  return QTest::qExec(&test, 2, testArgs);
}

/// A folder every user may read holding a copy of this test beside a copy of
/// the network helper with CAP_NET_ADMIN, so that the window in the copy
/// finds its helper beside itself; removed with the object.
class CopiesBesideTheHelper {
 public:
  CopiesBesideTheHelper() {
    char pattern[] = "/tmp/vantrell-window-lab-XXXXXX";
    if (!::mkdtemp(pattern)) return;
    folder_ = pattern;
    namespace fs = std::filesystem;
    std::error_code error;
    fs::copy_file("/proc/self/exe", folder_ / "window-lab", error);
    if (!error) fs::copy_file(VANTRELL_NETD, folder_ / "vantrell-netd", error);
    const fs::perms open = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                           fs::perms::others_read | fs::perms::others_exec;
    for (const fs::path& path : {folder_, folder_ / "window-lab", folder_ / "vantrell-netd"}) {
      if (!error) fs::permissions(path, open, error);
    }
    const std::string setcap = "setcap cap_net_admin+ep " + (folder_ / "vantrell-netd").string();
    ready_ = !error && std::system(setcap.c_str()) == 0;
  }
  ~CopiesBesideTheHelper() {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }
  bool ready() const { return ready_; }
  std::string test() const { return (folder_ / "window-lab").string(); }

 private:
  std::filesystem::path folder_;
  bool ready_ = false;
};

int RunOutside() {
  vantrell::lab::RecordingLab lab("vtq", kScenario);
  if (!lab.skipReason().empty()) {
    std::printf("[  SKIPPED ] %s\n", lab.skipReason().c_str());
    return 0;
  }
  if (!lab.upError().empty()) {
    std::fprintf(stderr, "%s\n", lab.upError().c_str());
    return 1;
  }
  const CopiesBesideTheHelper copies;
  if (!copies.ready()) {
    std::fprintf(stderr, "cannot place the test beside a copy of the helper with setcap\n");
    return 1;
  }
  const vantrell::lab::CommandResult inner =
      lab.Exec({copies.test(), kInsideFlag}, kInnerRunLimitSeconds);
  std::fwrite(inner.out.data(), 1, inner.out.size(), stdout);
  std::printf("window run inside %s-ws: exit code %d\n", lab.name().c_str(), inner.exitCode);
  const vantrell::lab::CommandResult unprivileged =
      lab.Exec({"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--inh-caps=-all",
                copies.test(), kInsideFlag, vantrell::kUnprivilegedFlag},
               kInnerRunLimitSeconds);
  std::fwrite(unprivileged.out.data(), 1, unprivileged.out.size(), stdout);
  std::printf("window run as nobody inside %s-ws: exit code %d\n", lab.name().c_str(),
              unprivileged.exitCode);
  lab.Down();
  return inner.exitCode == 0 && unprivileged.exitCode == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], kInsideFlag) == 0) return RunInside(argc, argv);
  return RunOutside();
}

#include "window_lab_test.moc"
