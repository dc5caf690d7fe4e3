// Window tests of the main window, run without a display (offscreen).

#include "qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

#include "core/text_forms.h"
#include "ops/config_import.h"
#include "qt/device_list_widget.h"
#include "qt/info_pane.h"
#include "qt/input_dialogs.h"
#include "qt/qt_prompter.h"
#include "ui/main_menu.h"

namespace vantrell {
namespace {

DeviceRecord FakeDevice(const char* model, Ipv4 ip, std::uint8_t macLast) {
  DeviceRecord record = MakeZeroRecord();
  SetFieldText(record.modelName, model);
  record.modelId = 0x6008;
  record.ipAddr = ip;
  record.netmask = MakeIpv4(255, 255, 255, 0);
  record.gateway = MakeIpv4(10, 0, 0, 254);
  record.mac = {0x00, 0x60, 0xE9, 0x10, 0x20, macLast};
  record.serialNo = macLast;
  record.firmwareVersion = 0x01020300;
  return record;
}

/// A few devices as a search on a small plant network finds them.
std::vector<DeviceRecord> FakePlant() {
  std::vector<DeviceRecord> devices = {
      FakeDevice("ORV-D8-G1", MakeIpv4(10, 0, 0, 10), 0x11),
      FakeDevice("ORV-R8-F2", MakeIpv4(10, 0, 0, 2), 0x12),
      FakeDevice("ORV-A8-F1-W", MakeIpv4(10, 0, 0, 33), 0x13),
      FakeDevice("ORV-M26", MakeIpv4(10, 0, 1, 7), 0x14),
      FakeDevice("Kavex VS-400", MakeIpv4(10, 0, 2, 5), 0x15),
  };
  SetFieldText(devices[0].serverName, "press-line-1");
  SetFieldText(devices[0].location, "Hall A");
  devices[0].statusFlags = kStatusProtected;
  SetFieldText(devices[1].serverName, "packaging");
  SetFieldText(devices[1].location, "Hall B");
  devices[1].statusFlags = kStatusProtected;
  SetFieldText(devices[1].password, "secret");
  SetFieldText(devices[2].serverName, "yard");
  devices[2].statusFlags = kStatusInaccessible;
  devices[3].modelId = 0x0726;
  devices[3].serialNo = 42;
  devices[3].moduleType[0] = 1;
  SetFieldText(devices[3].moduleName[0], "M-8TX");
  SetFieldText(devices[3].moduleDesc[0], "8 x 10/100BASE-TX");
  SetFieldText(devices[3].serverName, "backbone");
  devices[4].modelId = 0x0188;
  devices[4].webPort = 8080;
  SetFieldText(devices[4].serverName, "gate camera");
  return devices;
}

/// Closes the next message box that opens and keeps what it showed.
struct SeenBox {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  bool seen = false;
  Qt::TextFormat format = Qt::AutoText;
  QString shown;  ///< what the box's label holds
};

void CloseNextMessageBox(SeenBox& seen) {
  auto* poll = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, [poll, tries, &seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box) {
      const auto* label = box->findChild<QLabel*>("qt_msgbox_label");
      seen.title = box->windowTitle();
      seen.text = box->text();
      seen.icon = box->icon();
      seen.seen = true;
      seen.format = box->textFormat();
      seen.shown = label ? label->text() : QString();
      box->done(QMessageBox::Ok);
    }
    if (box || ++*tries > 300) {
      poll->stop();
      poll->deleteLater();
    }
  });
  poll->start(10);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    openedUrls_.clear();
    fetchedFor_.clear();
    window_ = std::make_unique<MainWindow>([this](QtPrompter&) {
      OrvListView::Services services;
      services.openUrl = [this](const std::string& url) { openedUrls_.push_back(url); };
      services.fetchInfoText = [this](DeviceRecord& record) {
        fetchedFor_.push_back(record.mac[5]);
        return true;
      };
      services.searchWorker = [](SearchContext& context) {
        std::lock_guard lock(context.searchLock);
        for (const DeviceRecord& device : FakePlant()) context.found.InsertUnique(device);
        context.countdownMs = 400;
      };
      services.detailsQuery = [](DeviceRecord&) { return 0; };
      services.sleep = [](int) {};
      return services;
    });
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void cleanup() { window_.reset(); }

  void menusAndToolbarShowTheSpecifiedEntries() {
    const QList<QAction*> menus = window_->menuBar()->actions();
    QCOMPARE(menus.size(), static_cast<qsizetype>(MainMenu().size()));
    for (qsizetype m = 0; m < menus.size(); ++m) {
      const Menu& expected = MainMenu()[static_cast<std::size_t>(m)];
      QCOMPARE(menus[m]->text(), QString(expected.title));
      const QList<QAction*> entries = menus[m]->menu()->actions();
      QCOMPARE(entries.size(), static_cast<qsizetype>(expected.entries.size()));
      for (qsizetype e = 0; e < entries.size(); ++e) {
        const MenuEntry& entry = expected.entries[static_cast<std::size_t>(e)];
        QCOMPARE(entries[e]->isSeparator(), entry.id == kSeparator);
        if (entry.id == kSeparator) continue;
        QCOMPARE(entries[e]->text(), QString(entry.text));
        QCOMPARE(entries[e]->data().toInt(), entry.id);
      }
    }
    QStringList toolbar;
    for (QAction* action : window_->toolBar()->actions()) {
      toolbar << (action->isSeparator() ? QString("-") : QString::number(action->data().toInt()));
    }
    QCOMPARE(toolbar.join(' '), QString("32773 32774 - 32775 - 32776 - 32777 32778 - 32781 32780 - "
                                        "32771"));
    QCOMPARE(window_->action(kCmdBroadcastSearch)->toolTip(), QString("Broadcast Search"));
    QCOMPARE(window_->action(kCmdUnlock)->statusTip(),
             QString("Input password to unlock Meshvault Server"));
    QCOMPARE(window_->windowTitle(), QString("VANTRELL Configurator"));
    QStringList popup;
    for (QAction* action : window_->settingMenu()->actions()) {
      popup << (action->isSeparator() ? QString("-") : action->text());
    }
    QCOMPARE(popup.join('|'), QString("Unlock|ChangePassword|-|Modify Configuration|Upgrade "
                                      "Firmware|-|Export Configuration|Import Configuration|Backup "
                                      "Configurations...|-|&Web Console"));
  }

  void messageBoxesCarrySearchUtility() {
    Populate();
    SeenBox seen;
    CloseNextMessageBox(seen);
    Select({1}, 1);
    window_->runCommand(kCmdModifyIp);  // the fake services cannot read the settings
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QString("Search Utility"));
    QCOMPARE(seen.text, QString("Your IP address is not accessable for this Meshvault Server."));
    QCOMPARE(seen.icon, QMessageBox::Information);

    std::unique_ptr<QMessageBox> box(MakeMessageBox("Export configuration to file OK.",
                                                    MessageIcon::kInformation, PromptButtons::kOk,
                                                    window_.get()));
    QCOMPARE(box->windowTitle(), QString("Search Utility"));
    QCOMPARE(box->icon(), QMessageBox::Information);
  }

  void deviceTextInAMessageIsShownAsPlainText() {
    // A file's group name and a device's name as a hostile source writes them.
    const std::string text = GroupRejectedText("<b>Port</b><img src=\"file:///etc/passwd\">") +
                             "\n Model : <a href=\"http://x\">ORV</a> &amp;";
    SeenBox seen;
    CloseNextMessageBox(seen);
    window_->prompter().ShowMessage(text, MessageIcon::kStop);
    QVERIFY(seen.seen);
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.shown, QString::fromStdString(text));
    QCOMPARE(seen.text, QString("The <b>Port</b><img src=\"file:///etc/passwd\"> function of the "
                                "Configuration File has invaild settings !\n Model : <a "
                                "href=\"http://x\">ORV</a> &amp;"));
  }

  void twoSelectedRowsEnableOnlyMultiDeviceCommands() {
    Populate();
    Select({0, 1}, 1);
    for (int id :
         {kCmdExportConfiguration, kCmdWebConsole, kCmdChangePassword, kCmdUnlock, kCmdModifyIp}) {
      QVERIFY2(!window_->action(id)->isEnabled(), qPrintable(QString::number(id)));
    }
    for (int id : {kCmdUpgradeFirmware, kCmdSetDefault, kCmdImportConfiguration,
                   kCmdBroadcastSearch, kCmdSpecifyIp}) {
      QVERIFY2(window_->action(id)->isEnabled(), qPrintable(QString::number(id)));
    }
  }

  void kavexRowNeverEnablesUnlockOrChangePassword() {
    Populate();
    DeviceRecord& kavex = window_->document()[4];
    for (std::uint8_t flags : {std::uint8_t{0}, kStatusProtected}) {
      kavex.statusFlags = flags;
      Select({4}, 4);
      QVERIFY(!window_->action(kCmdUnlock)->isEnabled());
      QVERIFY(!window_->action(kCmdChangePassword)->isEnabled());
    }
    Select({0}, 0);  // a locked switch
    QVERIFY(window_->action(kCmdUnlock)->isEnabled());
    QVERIFY(window_->action(kCmdChangePassword)->isEnabled());
  }

  void ipAddressHeaderSortsDescendingThenAscending() {
    Populate();
    Select({0}, 0);
    QHeaderView* header = window_->listWidget()->header();
    const QPoint ipHeader(header->sectionViewportPosition(1) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, ipHeader);
    QCOMPARE(IpColumn(),
             QStringList({"10.0.2.5", "10.0.1.7", "10.0.0.33", "10.0.0.10", "10.0.0.2"}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, ipHeader);
    QCOMPARE(IpColumn(),
             QStringList({"10.0.0.2", "10.0.0.10", "10.0.0.33", "10.0.1.7", "10.0.2.5"}));
  }

  void infoPaneShowsTheSpecifiedForms() {
    Populate();
    DeviceList& document = window_->document();
    document[0].firmwareVersion = 0x01020300;
    document[1].firmwareVersion = 0x01020000;
    document[2].firmwareVersion = 0x0A0B0C00;
    const char* expected[] = {"1.2.3", "1.2", "A.B.C"};
    for (int row = 0; row < 3; ++row) {
      Select({row}, row);
      QCOMPARE(PaintedValue("Firmware Ver."), QString(expected[row]));
    }
    Select({3}, 3);
    QCOMPARE(PaintedValue("Serial No"), QString("00042"));
    QCOMPARE(PaintedValue("Port"), QString("1-1,1-2,1-3,1-4"));
    QCOMPARE(window_->infoPane()->paneFont().pixelSize(), 12);
    QVERIFY(QFontInfo(window_->infoPane()->paneFont()).fixedPitch());
  }

  void commandsReachTheListWhileTheInfoPaneHasFocus() {
    Populate();
    Select({4}, 4);
    window_->activateWindow();
    window_->infoPane()->setFocus();
    QVERIFY(QTest::qWaitFor([&] { return window_->infoPane()->hasFocus(); }, 1000));
    window_->action(kCmdWebConsole)->trigger();
    QCOMPARE(openedUrls_, std::vector<std::string>{"http://10.0.2.5:8080"});
    QTest::keyClick(window_->infoPane(), Qt::Key_F6);
    QVERIFY(window_->listWidget()->hasFocus());
  }

  void heldArrowKeyFetchesOnceOnItsFinalRelease() {
    PopulateSelfDescribing();
    DeviceListWidget* list = window_->listWidget();
    list->setFocus();
    // Down held for three steps: the first press, then repeated pairs, then
    // the real release.
    SendKey(QEvent::KeyPress, Qt::Key_Down, false);
    for (int repeat = 0; repeat < 2; ++repeat) {
      SendKey(QEvent::KeyRelease, Qt::Key_Down, true);
      SendKey(QEvent::KeyPress, Qt::Key_Down, true);
    }
    QCOMPARE(list->FocusedRow(), 3);
    QVERIFY(fetchedFor_.empty());
    SendKey(QEvent::KeyRelease, Qt::Key_Down, false);
    QCOMPARE(fetchedFor_, std::vector<int>{0x14});
    QCOMPARE(window_->infoPane()->shownIndex(), 3);
    // Every real release repeats the step, Shift's too.
    SendKey(QEvent::KeyPress, Qt::Key_Shift, false);
    SendKey(QEvent::KeyRelease, Qt::Key_Shift, false);
    QCOMPARE(fetchedFor_, (std::vector<int>{0x14, 0x14}));
  }

  void leftClickSelectsOnTheReleaseAndADoubleClickFetchesOnce() {
    PopulateSelfDescribing();
    // Through the window, as the platform delivers them: the toolkit makes
    // the double click out of two presses.
    QWindow* window = window_->windowHandle();
    const int apart = QApplication::doubleClickInterval() + 100;
    QTest::mousePress(window, Qt::LeftButton, {}, RowInWindow(2), apart);
    QCOMPARE(window_->listWidget()->FocusedRow(), 2);
    QVERIFY(fetchedFor_.empty());
    QTest::mouseRelease(window, Qt::LeftButton, {}, RowInWindow(2));
    QCOMPARE(fetchedFor_, std::vector<int>{0x13});

    // Double click on the video server: one step for the click, the Web
    // Console for the double click, nothing for its closing release.
    fetchedFor_.clear();
    QTest::mouseDClick(window, Qt::LeftButton, {}, RowInWindow(4), apart);
    QCOMPARE(fetchedFor_, std::vector<int>{0x15});
    QCOMPARE(openedUrls_, std::vector<std::string>{"http://10.0.2.5:8080"});
    QTest::mouseClick(window, Qt::LeftButton, {}, RowInWindow(4), apart);
    QCOMPARE(fetchedFor_, (std::vector<int>{0x15, 0x15}));
  }

  void listPaneIs575WideAndKeepsItsWidthWhenTheWindowIsResized() {
    QCOMPARE(window_->listWidget()->width(), 575);
    const int infoWidth = window_->infoPane()->width();
    for (int width : {1400, 820, 1000}) {
      window_->resize(width, 560);
      QVERIFY(QTest::qWaitFor([&] { return window_->width() == width; }, 1000));
      QApplication::processEvents();
      QCOMPARE(window_->listWidget()->width(), 575);
    }
    QCOMPARE(window_->infoPane()->width(), infoWidth);
    window_->resize(1400, 560);
    QVERIFY(QTest::qWaitFor([&] { return window_->infoPane()->width() == infoWidth + 400; }, 1000));
  }

  void lockIndicatorsStayDimmedWhereThePlatformDoesNotTell() {
    QStringList lit;
    auto litIndicators = [&] {
      lit.clear();
      for (QLabel* label : window_->statusBar()->findChildren<QLabel*>()) {
        if (QString("CAP NUM SCRL").split(' ').contains(label->text()) && label->isEnabled()) {
          lit << label->text();
        }
      }
      return lit;
    };
    QCOMPARE(litIndicators(), QStringList());
    // Pressing the keys guesses nothing: the state at start is not known.
    for (Qt::Key key : {Qt::Key_CapsLock, Qt::Key_NumLock, Qt::Key_ScrollLock}) {
      QTest::keyClick(window_->windowHandle(), key);
    }
    QCOMPARE(litIndicators(), QStringList());
    QCOMPARE(window_->statusBar()->findChildren<QLabel*>().size(), 4);
  }

  void broadcastSearchFillsTheListThroughItsDialog() {
    window_->runCommand(kCmdBroadcastSearch);
    QCOMPARE(window_->listWidget()->topLevelItemCount(), 5);
    QTreeWidgetItem* first = window_->listWidget()->topLevelItem(0);
    QCOMPARE(first->text(0), QString("ORV-D8-G1"));
    QCOMPARE(first->text(3), QString("Locked"));
    QCOMPARE(window_->listWidget()->topLevelItem(1)->text(3), QString("Unlocked"));
    QCOMPARE(window_->listWidget()->topLevelItem(2)->text(3), QString(" Inaccessible"));
    QCOMPARE(window_->listWidget()->FocusedRow(), 0);
    QCOMPARE(window_->infoPane()->shownIndex(), 0);
  }

  void screenshotOfAPopulatedWindow() {
    window_->runCommand(kCmdBroadcastSearch);
    window_->listWidget()->clearSelection();
    Select({3}, 3);
    window_->listWidget()->topLevelItem(1)->setSelected(true);
    window_->resize(1100, 520);
    QTest::qWait(50);
    const QString path = QString(VANTRELL_SCREENSHOT_DIR) + "/main_window.png";
    QVERIFY(window_->grab().save(path));
    qInfo("screenshot: %s", qPrintable(path));
  }

  void inputDialogsReturnWhatWasTyped() {
    QCOMPARE(IpControlValue("10.0.1.2"), 0x0A000102u);
    QCOMPARE(IpControlValue(""), 0u);
    QCOMPARE(IpControlValue("300.1"), 0xFF010000u);
    InputPassDialog unlock;
    QCOMPARE(unlock.windowTitle(), QString("Input Password"));
    QCOMPARE(unlock.passwordEdit()->maxLength(), 16);
    QCOMPARE(unlock.passwordEdit()->echoMode(), QLineEdit::Password);

    ChangePasswdDialog change(window_->prompter());
    change.newEdit()->setText("Secret");
    change.confirmEdit()->setText("secret");
    SeenBox seen;
    CloseNextMessageBox(seen);
    change.accept();
    QVERIFY(seen.seen);
    QCOMPARE(seen.text, QString("confirm password mismatch"));
    QCOMPARE(change.result(), static_cast<int>(QDialog::Rejected));  // still open
    change.confirmEdit()->setText("Secret");
    change.accept();
    QCOMPARE(change.result(), static_cast<int>(QDialog::Accepted));
  }

 private:
  /// Rows as a search leaves them, without running one.
  void Populate() {
    DeviceList& document = window_->document();
    document.clear();
    DeviceListWidget* list = window_->listWidget();
    list->DeleteAllRows();
    int row = 0;
    for (const DeviceRecord& device : FakePlant()) {
      document.append(device);
      list->InsertRow(row++, FieldText(device.modelName));
    }
    window_->listView().RefreshRows();
  }
  void Select(std::vector<int> rows, int focus) {
    DeviceListWidget* list = window_->listWidget();
    list->clearSelection();
    list->SelectAndFocus(focus);
    for (int row : rows) list->topLevelItem(row)->setSelected(true);
    window_->listView().SelectDevice();
    window_->updateCommandStates();
  }
  QStringList IpColumn() const {
    QStringList texts;
    for (int i = 0; i < window_->listWidget()->topLevelItemCount(); ++i) {
      texts << window_->listWidget()->topLevelItem(i)->text(1);
    }
    return texts;
  }
  QString PaintedValue(const std::string& label) {
    window_->infoPane()->viewport()->repaint();
    const auto& texts = window_->infoPane()->lastLayout().texts;
    for (std::size_t i = 0; i + 1 < texts.size(); ++i) {
      if (texts[i].x == 0 && texts[i].text == label && texts[i + 1].x == kInfoValueX &&
          texts[i + 1].y == texts[i].y) {
        return QString::fromStdString(texts[i + 1].text);
      }
    }
    return "<not painted>";
  }

  /// Rows whose devices describe themselves, so that every selection step
  /// fetches their information text; row 0 focused, nothing fetched yet.
  void PopulateSelfDescribing() {
    Populate();
    DeviceList& document = window_->document();
    for (std::size_t i = 0; i < document.size(); ++i) document[i].replyKind = 1;
    Select({0}, 0);
    fetchedFor_.clear();
  }
  /// The centre of a row in the window's coordinates.
  QPoint RowInWindow(int row) const {
    DeviceListWidget* list = window_->listWidget();
    const QPoint centre = list->visualItemRect(list->topLevelItem(row)).center();
    return list->viewport()->mapTo(window_.get(), centre);
  }
  void SendKey(QEvent::Type type, Qt::Key key, bool autoRepeat) {
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(window_->listWidget(), &event);
  }

  std::unique_ptr<MainWindow> window_;
  std::vector<std::string> openedUrls_;
  /// The last MAC byte of each device whose information text was fetched.
  std::vector<int> fetchedFor_;
};

}  // namespace vantrell

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setApplicationName(vantrell::kMessageCaption);
  vantrell::MainWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
