// Window tests of CNetconf "Modify IP Address", the Modify IP Address
// command and CImportFile "Import Configuration", run without a display.

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <deque>
#include <fstream>

#include "core/text_forms.h"
#include "qt/device_list_widget.h"
#include "qt/input_dialogs.h"
#include "qt/main_window.h"
#include "qt/modal_script.h"
#include "qt/netconf_dialog.h"
#include "qt/progress_dialog.h"
#include "qt/qt_prompter.h"
#include "ui/main_menu.h"

namespace vantrell {
namespace {

DeviceRecord D8Switch(Ipv4 ip, std::uint8_t macLast) {
  DeviceRecord record = MakeZeroRecord();
  SetFieldText(record.modelName, "ORV-D8-G1");
  record.modelId = 0x6008;
  record.replyKind = 1;
  record.ipAddr = ip;
  record.netmask = MakeIpv4(255, 255, 255, 0);
  record.gateway = MakeIpv4(10, 0, 0, 254);
  record.dns2 = MakeIpv4(10, 0, 0, 54);
  record.ipConfigFlags = 1;
  record.mac = {0x00, 0x60, 0xE9, 0x10, 0x20, macLast};
  record.serialNo = 17;
  return record;
}

QStringList ColumnTexts(const QTreeWidget& tree, int column) {
  QStringList texts;
  for (int i = 0; i < tree.topLevelItemCount(); ++i) texts << tree.topLevelItem(i)->text(column);
  return texts;
}

}  // namespace

class NetconfImportTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    applied_.clear();
    window_ = std::make_unique<MainWindow>([this](QtPrompter&) {
      OrvListView::Services services;
      services.fetchInfoText = [](DeviceRecord&) { return true; };
      services.readNetworkSettings = [](DeviceRecord& record, ConfigBlock&) {
        record.dns1 = MakeIpv4(10, 0, 0, 53);
        return 0;
      };
      services.applyNetworkSettings = [this](const DeviceRecord&, const DeviceRecord& edited,
                                             ConfigBlock&) {
        applied_.push_back(edited);
        return 0;
      };
      return services;
    });
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void cleanup() { window_.reset(); }

  void netconfDialogDrawsTheFormOfAD8SwitchUnderReview() {
    DeviceRecord record = D8Switch(MakeIpv4(10, 0, 0, 5), 0x11);
    NetconfDialog dialog(record, kChangeNetmask | kChangeAutoIp, NetconfPurpose::kImportReview,
                         window_->prompter(), window_.get());
    QCOMPARE(dialog.windowTitle(), QString("Modify IP Address"));
    QCOMPARE(dialog.modelNameText()->text(), QString("ORV-D8-G1"));
    QCOMPARE(dialog.macText()->text(), QString("00:60:E9:10:20:11"));
    QCOMPARE(dialog.serialText()->text(), QString("00017"));
    QCOMPARE(dialog.modelNameText()->textFormat(), Qt::PlainText);
    QVERIFY(dialog.fieldBox(AddressField::kDns2)->isHidden());
    QVERIFY(dialog.fieldEdit(AddressField::kDns2)->isHidden());
    QVERIFY(dialog.modeButton(AddressMode::kBootp)->isHidden());
    QCOMPARE(dialog.modeButton(AddressMode::kDhcp)->text(), QString("Enable"));
    QVERIFY(dialog.modeButton(AddressMode::kDhcp)->isChecked());
    QVERIFY(!dialog.explanation()->isHidden());
    QVERIFY(dialog.explanation()->text().startsWith("This dialog displays the import file"));
    // Boxes from the mask; each box enables its field.
    QVERIFY(dialog.autoIpBox()->isChecked());
    QVERIFY(dialog.modeButton(AddressMode::kDisable)->isEnabled());
    QVERIFY(dialog.fieldBox(AddressField::kNetmask)->isChecked());
    QVERIFY(dialog.fieldEdit(AddressField::kNetmask)->isEnabled());
    QVERIFY(!dialog.fieldEdit(AddressField::kIpAddr)->isEnabled());
    QCOMPARE(dialog.fieldEdit(AddressField::kIpAddr)->text(), QString("10.0.0.5"));
    dialog.fieldBox(AddressField::kIpAddr)->click();
    QVERIFY(dialog.fieldEdit(AddressField::kIpAddr)->isEnabled());
    dialog.autoIpBox()->click();
    QVERIFY(!dialog.modeButton(AddressMode::kDisable)->isEnabled());
    dialog.autoIpBox()->click();

    // OK refuses an all-ones netmask and stays open.
    dialog.fieldEdit(AddressField::kNetmask)->setText("255.255.255.255");
    QStringList texts;
    ModalScript script({Answer(texts, QMessageBox::Ok)});
    dialog.accept();
    QCOMPARE(texts, QStringList{"Netmask cannot be broadcast or multicast address"});
    QVERIFY(!dialog.edited());
    // Corrected: every field is taken, the hidden second DNS unchanged.
    dialog.fieldEdit(AddressField::kNetmask)->setText("255.255.0.0");
    dialog.fieldEdit(AddressField::kIpAddr)->setText("10.0.0.6");
    dialog.modeButton(AddressMode::kDisable)->click();
    dialog.accept();
    QVERIFY(dialog.edited());
    QCOMPARE(dialog.edited()->netmask, MakeIpv4(255, 255, 0, 0));
    QCOMPARE(dialog.edited()->ipAddr, MakeIpv4(10, 0, 0, 6));
    QCOMPARE(dialog.edited()->dns2, MakeIpv4(10, 0, 0, 54));
    QCOMPARE(dialog.edited()->ipConfigFlags, 0u);
  }

  void netconfDialogRefusesAnUnreachableFixedAddressAndStaysOpen() {
    DeviceRecord record = D8Switch(MakeIpv4(10, 0, 0, 5), 0x12);
    record.modelId = 0x3508;
    NetconfDialog dialog(record, 0, NetconfPurpose::kModify, window_->prompter());
    dialog.autoIpBox()->click();
    dialog.modeButton(AddressMode::kDisable)->click();
    const struct {
      const char* ip;
      const char* netmask;
      const char* gateway;
      const char* message;
    } cases[] = {
        {"0.0.0.0", "255.255.255.0", "10.0.0.254", "IP address cannot be 0.0.0.0"},
        {"10.0.0.6", "255.0.255.0", "10.0.0.254", "Netmask is not a valid subnet mask"},
        {"10.0.0.6", "0.0.0.0", "10.0.0.254", "Netmask is not a valid subnet mask"},
        {"10.0.0.6", "255.255.255.0", "10.0.1.254",
         "Gateway is not in the subnet of the IP address"},
    };
    for (const auto& c : cases) {
      dialog.fieldEdit(AddressField::kIpAddr)->setText(c.ip);
      dialog.fieldEdit(AddressField::kNetmask)->setText(c.netmask);
      dialog.fieldEdit(AddressField::kGateway)->setText(c.gateway);
      QStringList texts;
      ModalScript script({Answer(texts, QMessageBox::Ok)});
      dialog.accept();
      QCOMPARE(texts, QStringList{c.message});
      QVERIFY(!dialog.edited());
      QVERIFY(dialog.result() != QDialog::Accepted);
    }
    // A gateway of 0.0.0.0 passes.
    dialog.fieldEdit(AddressField::kGateway)->setText("0.0.0.0");
    dialog.accept();
    QVERIFY(dialog.edited());
    QCOMPARE(dialog.edited()->gateway, Ipv4{0});
  }

  void netconfDialogOfModifyStartsUncheckedWithBootp() {
    DeviceRecord record = D8Switch(MakeIpv4(10, 0, 0, 5), 0x11);
    record.modelId = 0x3508;
    record.ipConfigFlags = 3;
    NetconfDialog dialog(record, 0, NetconfPurpose::kModify, window_->prompter());
    QVERIFY(dialog.explanation()->isHidden());
    QVERIFY(!dialog.modeButton(AddressMode::kBootp)->isHidden());
    QVERIFY(dialog.modeButton(AddressMode::kBootp)->isChecked());
    QCOMPARE(dialog.modeButton(AddressMode::kDhcp)->text(), QString("DHCP"));
    QVERIFY(!dialog.fieldBox(AddressField::kDns2)->isHidden());
    QVERIFY(!dialog.autoIpBox()->isChecked());
    for (AddressField field : kAddressFields) QVERIFY(!dialog.fieldEdit(field)->isEnabled());
  }

  void modifyIpAddressStoresTheEditedAddressAndRefreshesTheRow() {
    Populate({D8Switch(MakeIpv4(10, 0, 0, 5), 0x11)});
    QStringList texts;
    ModalScript script({On<NetconfDialog>([](NetconfDialog* dialog) {
                          dialog->fieldBox(AddressField::kIpAddr)->click();
                          dialog->fieldEdit(AddressField::kIpAddr)->setText("10.0.0.99");
                          dialog->accept();
                          return true;
                        }),
                        Answer(texts, QMessageBox::Yes), Answer(texts, QMessageBox::Ok)});
    QTest::mouseDClick(
        window_->listWidget()->viewport(), Qt::LeftButton, {},
        window_->listWidget()->visualItemRect(window_->listWidget()->topLevelItem(0)).center());
    QVERIFY(script.finished());
    QCOMPARE(texts.size(), 2);
    QVERIFY(texts[0].startsWith("Warning!\nSome or all of your Tarn devices own network"));
    QCOMPARE(texts[1], QString("Modify IP OK."));
    QCOMPARE(applied_.size(), std::size_t{1});
    QCOMPARE(applied_[0].dns1, MakeIpv4(10, 0, 0, 53));
    QCOMPARE(window_->listWidget()->topLevelItem(0)->text(1), QString("10.0.0.99"));
    QCOMPARE(window_->document()[0].ipAddr, MakeIpv4(10, 0, 0, 99));
  }

  void importShowsItsRowsAndEnablesOkAtTheEnd() {
    DeviceRecord video = D8Switch(MakeIpv4(127, 0, 0, 9), 0x21);
    SetFieldText(video.modelName, "Kavex V100");
    video.modelId = 0x0180;
    DeviceRecord other = D8Switch(MakeIpv4(127, 0, 0, 10), 0x22);
    SetFieldText(other.modelName, "ORV-A8");
    Populate({video, other});
    window_->listWidget()->topLevelItem(0)->setSelected(true);
    window_->listWidget()->topLevelItem(1)->setSelected(true);

    const QString path = QDir(QDir::tempPath()).filePath("vantrell_window_import.ini");
    std::ofstream(path.toStdString(), std::ios::binary)
        << "[Meshvault Server Configuration File]\r\nModelName ORV-D8\r\n";
    QStringList texts, started, finished;
    bool okDisabledAtStart = false;
    int loginLimit = 0;
    ModalScript script({
        On<QFileDialog>([&](QFileDialog* dialog) {
          dialog->selectFile(path);
          static_cast<QDialog*>(dialog)->accept();
          return true;
        }),
        On<ProgressDialog>([&](ProgressDialog* dialog) {
          started << dialog->windowTitle() << dialog->list()->headerItem()->text(0)
                  << dialog->list()->headerItem()->text(1)
                  << QString::number(dialog->list()->columnWidth(1)) << dialog->button()->text()
                  << ColumnTexts(*dialog->list(), 1);
          okDisabledAtStart = !dialog->button()->isEnabled();
          return true;
        }),
        On<LoginIdPwdDialog>([&](LoginIdPwdDialog* dialog) {
          texts << dialog->windowTitle();
          loginLimit = dialog->userEdit()->maxLength();
          dialog->reject();
          return true;
        }),
        Answer(texts, QMessageBox::Ok),
        On<ProgressDialog>([&](ProgressDialog* dialog) {
          if (!dialog->button()->isEnabled()) return false;
          finished << ColumnTexts(*dialog->list(), 0) << ColumnTexts(*dialog->list(), 1);
          dialog->button()->click();
          return true;
        }),
    });
    window_->runCommand(kCmdImportConfiguration);
    QVERIFY(script.finished());
    QCOMPARE(started, QStringList({"Import Configuration", "MAC Address", "Progress", "250", "OK",
                                   "Wait..", "Wait.."}));
    QVERIFY(okDisabledAtStart);
    QCOMPARE(texts, QStringList({"Username & Password", "Model type mismatch !"}));
    QCOMPARE(loginLimit, 15);
    QCOMPARE(finished, QStringList({"00:60:E9:10:20:21", "00:60:E9:10:20:22", "Import Canceled",
                                    "Model type mismatch"}));
    QFile::remove(path);
  }

  void loginDialogRefusesMoreThanFifteenBytes() {
    LoginIdPwdDialog dialog(window_->prompter(), window_.get());
    QCOMPARE(dialog.passwordEdit()->echoMode(), QLineEdit::Password);
    dialog.userEdit()->setText(QString::fromUtf8("\xC3\xA9t\xC3\xA9-operators"));  // 15 bytes
    dialog.passwordEdit()->setText(QString::fromUtf8("p\xC3\xA4sswort-123456"));   // 16 bytes
    QStringList texts;
    ModalScript script({Answer(texts, QMessageBox::Ok)});
    dialog.accept();
    QCOMPARE(texts, QStringList{"Enter no more than 15 characters."});
    QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));  // still open
    dialog.passwordEdit()->setText(QString::fromUtf8("p\xC3\xA4sswort-12345"));
    dialog.accept();
    QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
    QCOMPARE(dialog.entry().user, std::string("\xC3\xA9t\xC3\xA9-operators"));
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

  std::unique_ptr<MainWindow> window_;
  std::vector<DeviceRecord> applied_;
};

}  // namespace vantrell

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setApplicationName(vantrell::kMessageCaption);
  vantrell::NetconfImportTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "netconf_import_test.moc"
