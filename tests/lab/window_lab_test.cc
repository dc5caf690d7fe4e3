// End to end: the window against the device simulator in a lab of network
// namespaces (scripts/lab/window-test.json). The test brings the lab up,
// then runs itself again inside the workstation namespace, where the real
// window (offscreen) runs Broadcast Search through its dialog, selects
// devices and unlocks the locked one. Needs root; without it, it skips.

#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>

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

}  // namespace

/// The part that runs inside the workstation namespace.
class WindowLabTest : public QObject {
  Q_OBJECT

 private slots:
  void searchSelectAndUnlock() {
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Messages would block the run: record and close any that opens.
    QStringList messages;
    WhenModal(
        [&messages](QWidget* top) {
          if (auto* box = qobject_cast<QMessageBox*>(top)) {
            messages << box->text();
            box->done(QMessageBox::Ok);
          }
          return false;
        },
        60000);
    window.runCommand(kCmdBroadcastSearch);
    DeviceListWidget* list = window.listWidget();
    QCOMPARE(list->topLevelItemCount(), 3);
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
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join(" | ")));
  }
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
  // Qt Test takes only its own arguments.
  char* testArgs[] = {argv[0], nullptr};
  return QTest::qExec(&test, 1, testArgs);
}

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
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  const vantrell::lab::CommandResult inner = lab.Exec({self, kInsideFlag}, kInnerRunLimitSeconds);
  std::fwrite(inner.out.data(), 1, inner.out.size(), stdout);
  std::printf("window run inside %s-ws: exit code %d\n", lab.name().c_str(), inner.exitCode);
  lab.Down();
  return inner.exitCode == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], kInsideFlag) == 0) return RunInside(argc, argv);
  return RunOutside();
}

#include "window_lab_test.moc"
