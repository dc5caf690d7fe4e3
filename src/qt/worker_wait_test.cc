// Window tests of the dialogs whose workers wait for the user-interface
// thread: a message box a worker asks for while the dialog waits for that
// worker, and the search countdown while a worker's message box is open.
// Run without a display (offscreen); every wait is bounded.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "core/text_forms.h"
#include "qt/device_list_widget.h"
#include "qt/input_dialogs.h"
#include "qt/main_window.h"
#include "qt/progress_dialog.h"
#include "qt/qt_prompter.h"
#include "ui/main_menu.h"

namespace vantrell {
namespace {

/// Ends the test program when a dialog deadlocks instead of hanging ctest.
class Watchdog {
 public:
  explicit Watchdog(int seconds) {
    thread_ = std::thread([this, seconds] {
      for (int i = 0; i < seconds * 100 && !done_; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      if (!done_) {
        std::fputs("worker_wait_test: the user-interface thread is stuck\n", stderr);
        std::_Exit(1);
      }
    });
  }
  ~Watchdog() {
    done_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> done_{false};
  std::thread thread_;
};

DeviceRecord LockedSwitch() {
  DeviceRecord record = MakeZeroRecord();
  SetFieldText(record.modelName, "ORV-D8-G1");
  record.modelId = 0x6008;
  record.ipAddr = MakeIpv4(10, 0, 0, 10);
  record.mac = {0x00, 0x60, 0xE9, 0x10, 0x20, 0x11};
  record.statusFlags = kStatusProtected;
  return record;
}

template <typename Widget>
Widget* ActiveModal() {
  return qobject_cast<Widget*>(QApplication::activeModalWidget());
}

/// Runs `step` every 10 ms until it returns true (at most `tries` times).
void Poll(int tries, std::function<bool()> step) {
  auto* timer = new QTimer;
  auto left = std::make_shared<int>(tries);
  QObject::connect(timer, &QTimer::timeout, [timer, left, step] {
    if (step() || --*left <= 0) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start(10);
}

}  // namespace

class WorkerWaitTest : public QObject {
  Q_OBJECT

 private slots:
  void okPressedWhileTheWorkersBracketMessageIsPending() {
    std::atomic<bool> mayAsk{false};
    MainWindow window([&](QtPrompter& prompter) {
      OrvListView::Services services;
      services.fetchInfoText = [](DeviceRecord&) { return false; };
      services.searchWorker = [](SearchContext& context) {
        std::lock_guard lock(context.searchLock);
        context.found.InsertUnique(LockedSwitch());
        context.countdownMs = 400;
      };
      services.detailsQuery = [](DeviceRecord&) { return 0; };
      services.unlockWorker = [&prompter, &mayAsk](SingleDeviceJob& job) {
        // The bracket's message, once the test holds the window's thread.
        for (int i = 0; i < 500 && !mayAsk; ++i) {
          std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        prompter.ShowMessage("SetIpNetEntry table not found.", MessageIcon::kStop);
        job.state = kJobFailed;
      };
      return services;
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.runCommand(kCmdBroadcastSearch);
    QCOMPARE(window.listWidget()->FocusedRow(), 0);

    Watchdog watchdog(30);
    bool pressedWhilePending = false;
    QString boxText;
    Poll(500, [] {
      auto* password = ActiveModal<InputPassDialog>();
      if (password) {
        password->passwordEdit()->setText("admin");
        password->accept();
      }
      return password != nullptr;
    });
    Poll(500, [&] {
      auto* dialog = ActiveModal<ProgressDialog>();
      if (!dialog) return false;
      // Hold this thread so that the worker's box is queued, not shown,
      // when OK is pressed: the press must not wait for the worker alone.
      mayAsk = true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      pressedWhilePending = ActiveModal<QMessageBox>() == nullptr;
      Poll(500, [&] {
        auto* box = ActiveModal<QMessageBox>();
        if (box) {
          boxText = box->text();
          box->done(QMessageBox::Ok);
        }
        return box != nullptr;
      });
      dialog->button()->click();
      return true;
    });
    window.runCommand(kCmdUnlock);
    QVERIFY(pressedWhilePending);
    QCOMPARE(boxText, QString("SetIpNetEntry table not found."));
  }

  void searchCountdownRunsWhileTheWorkersMessageIsOpen() {
    MainWindow window([](QtPrompter& prompter) {
      OrvListView::Services services;
      services.fetchInfoText = [](DeviceRecord&) { return false; };
      services.searchWorker = [&prompter](SearchContext&) {
        prompter.ShowMessage("broadcast_search table not found.", MessageIcon::kStop);
      };
      services.detailsQuery = [](DeviceRecord&) { return 0; };
      services.timing.searchCountdownMs = 3000;
      return services;
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    Watchdog watchdog(30);
    QStringList seenWhileOpen;
    QString boxText;
    Poll(800, [&] {
      auto* box = ActiveModal<QMessageBox>();
      if (!box) return false;
      ProgressDialog* search = nullptr;
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<ProgressDialog*>(widget)) search = dialog;
      }
      if (!search) return false;
      const QString status = search->statusLabel()->text();
      if (seenWhileOpen.isEmpty() || seenWhileOpen.back() != status) seenWhileOpen << status;
      // The box stays open until the countdown has run out behind it.
      if (!seenWhileOpen.contains("Total Count = 0, timeout = 1sec") ||
          status != "Total Count = 0, timeout = 0sec") {
        return false;
      }
      boxText = box->text();
      box->done(QMessageBox::Ok);
      return true;
    });
    const auto start = std::chrono::steady_clock::now();
    window.runCommand(kCmdBroadcastSearch);
    const auto took = std::chrono::steady_clock::now() - start;
    QCOMPARE(boxText, QString("broadcast_search table not found."));
    QVERIFY2(seenWhileOpen.contains("Total Count = 0, timeout = 2sec"),
             qPrintable(seenWhileOpen.join('|')));
    QVERIFY(took < std::chrono::seconds(6));
    QCOMPARE(window.listWidget()->topLevelItemCount(), 0);
  }
};

}  // namespace vantrell

QTEST_MAIN(vantrell::WorkerWaitTest)
#include "worker_wait_test.moc"
