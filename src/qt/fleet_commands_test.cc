// Window tests of Save List As and Backup Configurations, run without a
// display against devices on the loopback that do not answer.

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <fstream>
#include <iterator>

#include "core/text_forms.h"
#include "qt/device_list_widget.h"
#include "qt/main_window.h"
#include "qt/modal_script.h"
#include "qt/progress_dialog.h"
#include "qt/qt_prompter.h"
#include "ui/main_menu.h"

namespace vantrell {
namespace {

/// Nothing listens there on the loopback.
constexpr std::uint16_t kSilentPort = 9;

DeviceRecord LoopbackSwitch(std::uint8_t last) {
  DeviceRecord record = MakeZeroRecord();
  SetFieldText(record.modelName, "ORV-D8-G1");
  record.modelId = 0x6008;
  record.ipAddr = MakeIpv4(127, 0, 0, last);
  record.netmask = MakeIpv4(255, 0, 0, 0);
  record.mac = {0x00, 0x60, 0xE9, 0x10, 0x20, last};
  record.firmwareVersion = 0x01020300;
  record.serialNo = last;
  return record;
}

std::string ReadWhole(const QString& path) {
  std::ifstream file(path.toStdString(), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

QStringList ColumnTexts(const QTreeWidget& tree, int column) {
  QStringList texts;
  for (int i = 0; i < tree.topLevelItemCount(); ++i) texts << tree.topLevelItem(i)->text(column);
  return texts;
}

QAction* PopupAction(const MainWindow& window, int id) {
  for (QAction* action : window.settingMenu()->actions()) {
    if (!action->isSeparator() && action->data().toInt() == id) return action;
  }
  return nullptr;
}

}  // namespace

class FleetCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    window_ = std::make_unique<MainWindow>([](QtPrompter&) {
      OrvListView::Services services;
      services.fetchInfoText = [](DeviceRecord&) { return true; };
      services.timing.devicePort = kSilentPort;
      services.timing.connectMs = 200;
      services.timing.replyMs = 200;
      return services;
    });
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void cleanup() { window_.reset(); }

  void entriesSitInTheirMenusAndFollowTheListAndTheSelection() {
    const QList<QAction*> menus = window_->menuBar()->actions();
    QCOMPARE(menus[0]->menu()->actions()[3], window_->action(kCmdSaveListAs));
    QCOMPARE(window_->action(kCmdSaveListAs)->text(), QString("Save List &As..."));
    QVERIFY(menus[2]->menu()->actions().contains(window_->action(kCmdBackupConfigurations)));
    QCOMPARE(window_->action(kCmdBackupConfigurations)->text(),
             QString("&Backup Configurations..."));
    QAction* popupBackup = PopupAction(*window_, kCmdBackupConfigurations);
    QVERIFY(popupBackup);

    // An empty list: neither.
    window_->updateCommandStates();
    QVERIFY(!window_->action(kCmdSaveListAs)->isEnabled());
    QVERIFY(!window_->action(kCmdBackupConfigurations)->isEnabled());
    QVERIFY(!popupBackup->isEnabled());

    Populate({LoopbackSwitch(31), LoopbackSwitch(32)});
    window_->listWidget()->clearSelection();
    window_->updateCommandStates();
    QVERIFY(window_->action(kCmdSaveListAs)->isEnabled());
    QVERIFY(!window_->action(kCmdBackupConfigurations)->isEnabled());

    // Two selected rows, one of them locked: the backup still starts (the
    // locked row ends with its own text), Export does not.
    window_->document()[1].statusFlags = kStatusProtected;
    Select({0, 1});
    QVERIFY(window_->action(kCmdBackupConfigurations)->isEnabled());
    QVERIFY(popupBackup->isEnabled());
    QVERIFY(!window_->action(kCmdExportConfiguration)->isEnabled());
  }

  void saveListAsWritesTheInventoryWhereTheDialogSays() {
    Populate({LoopbackSwitch(31), LoopbackSwitch(32)});
    window_->document()[0].statusFlags = kStatusProtected;
    SetFieldText(window_->document()[1].serverName, "press \"2\", east");
    QTemporaryDir folder;
    const QString path = folder.filePath("plant.csv");
    QString offered, filter;
    ModalScript script({On<QFileDialog>([&](QFileDialog* dialog) {
      offered = QFileInfo(dialog->selectedFiles().value(0)).fileName();
      filter = dialog->nameFilters().join(";;");
      dialog->selectFile(path);
      static_cast<QDialog*>(dialog)->accept();
      return true;
    })});
    window_->runCommand(kCmdSaveListAs);
    QVERIFY(script.finished());
    QCOMPARE(offered, QString("devices.csv"));
    QCOMPARE(filter, QString("CSV files (*.csv);;All files (*.*)"));
    QCOMPARE(ReadWhole(path),
             std::string("model,ip,mac,status,name,location,firmware,serial,netmask,gateway,dns1,"
                         "dns2,dhcp,interface,details\r\n"
                         "ORV-D8-G1,127.0.0.31,00:60:E9:10:20:1F,Locked,,,1.2.3,00031,255.0.0.0,"
                         "0.0.0.0,0.0.0.0,0.0.0.0,off,0.0.0.0,\r\n"
                         "ORV-D8-G1,127.0.0.32,00:60:E9:10:20:20,,\"press \"\"2\"\", east\",,1.2.3,"
                         "00032,255.0.0.0,0.0.0.0,0.0.0.0,0.0.0.0,off,0.0.0.0,\r\n"));
  }

  void backupShowsARowPerSelectedDeviceEndsWithCloseAndWritesTheInventory() {
    Populate({LoopbackSwitch(31), LoopbackSwitch(32), LoopbackSwitch(33)});
    window_->document()[2].statusFlags = kStatusProtected;
    Select({0, 2});
    QTemporaryDir folder;
    QString folderTitle;
    bool directoriesOnly = false;
    QStringList layout, finished;
    ModalScript script({
        On<QFileDialog>([&](QFileDialog* dialog) {
          folderTitle = dialog->windowTitle();
          directoriesOnly = dialog->fileMode() == QFileDialog::Directory;
          dialog->selectFile(folder.path());
          static_cast<QDialog*>(dialog)->accept();
          return true;
        }),
        On<ProgressDialog>([&](ProgressDialog* dialog) {
          if (layout.isEmpty()) {
            layout << dialog->windowTitle() << dialog->list()->headerItem()->text(0)
                   << dialog->list()->headerItem()->text(1);
          }
          if (dialog->button()->text() != "Close") return false;
          finished << ColumnTexts(*dialog->list(), 0) << ColumnTexts(*dialog->list(), 1);
          dialog->button()->click();
          return true;
        }),
    });
    window_->runCommand(kCmdBackupConfigurations);
    QVERIFY(script.finished());
    QCOMPARE(folderTitle, QString("Backup Configurations"));
    QVERIFY(directoriesOnly);
    QCOMPARE(layout, QStringList({"Backup Configurations", "MAC Address", "Progress"}));
    QCOMPARE(finished, QStringList({"00:60:E9:10:20:1F", "00:60:E9:10:20:21",
                                    "Your IP address is not accessable for this Meshvault Server.",
                                    "Password protected"}));

    const std::string inventory = ReadWhole(folder.filePath("inventory.csv"));
    QVERIFY2(inventory.starts_with("model,ip,mac,status,name,location,firmware,serial,netmask,"
                                   "gateway,dns1,dns2,dhcp,interface,details,file,sha256,time,"
                                   "result\r\nORV-D8-G1,127.0.0.31,00:60:E9:10:20:1F,"),
             inventory.c_str());
    QVERIFY(inventory.find(",Your IP address is not accessable for this Meshvault Server.\r\n"
                           "ORV-D8-G1,127.0.0.33,00:60:E9:10:20:21,Locked,") != std::string::npos);
    QVERIFY(inventory.ends_with(",Password protected\r\n"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"inventory.csv"});
  }

 private:
  void Populate(const std::vector<DeviceRecord>& devices) {
    DeviceList& document = window_->document();
    document.clear();
    DeviceListWidget* list = window_->listWidget();
    list->DeleteAllRows();
    int row = 0;
    for (const DeviceRecord& device : devices) {
      document.append(device);
      list->InsertRow(row++, FieldText(device.modelName));
    }
    list->SelectAndFocus(0);
    window_->listView().RefreshRows();
    window_->updateCommandStates();
  }
  void Select(const std::vector<int>& rows) {
    DeviceListWidget* list = window_->listWidget();
    list->clearSelection();
    list->SelectAndFocus(rows.front());
    for (int row : rows) list->topLevelItem(row)->setSelected(true);
    window_->updateCommandStates();
  }

  std::unique_ptr<MainWindow> window_;
};

}  // namespace vantrell

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setApplicationName(vantrell::kMessageCaption);
  vantrell::FleetCommandsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "fleet_commands_test.moc"
