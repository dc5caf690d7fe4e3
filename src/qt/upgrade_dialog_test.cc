// Window tests of the firmware dialog and the multiple-login dialog, run
// without a display (offscreen).

#include "qt/upgrade_dialog.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "core/ipv4.h"
#include "qt/grid_lines.h"
#include "qt/multiple_login_dialog.h"

namespace vantrell {
namespace {

DeviceRecord Device(std::uint16_t modelId, std::uint8_t last) {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = modelId;
  SetFieldText(record.modelName, (modelId & 0xFF) == 0x80 ? "Kavex VS-2000" : "ORV-D8-F2");
  record.ipAddr = MakeIpv4(10, 0, 0, last);
  record.mac = {0x00, 0x0E, 0x1A, 0x00, 0x00, last};
  return record;
}

std::shared_ptr<UpgradeJob> Row(std::uint16_t modelId, std::uint8_t last) {
  auto row = std::make_shared<UpgradeJob>(Device(modelId, last));
  row->transferOpcode =
      (modelId & 0xFF) == 0x80 ? kVideoServerTransferOpcode : kSwitchTransferOpcode;
  return row;
}

QPoint CellCentre(QTreeWidget* list, int row, int column) {
  const QRect rect = list->visualItemRect(list->topLevelItem(row));
  return QPoint(
      list->header()->sectionViewportPosition(column) + list->header()->sectionSize(column) / 2,
      rect.center().y());
}

}  // namespace

class UpgradeDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void upgradeDialogRunsBothTimersUntilEveryRowIsFinal() {
    std::atomic<bool> videoMayEnd{false};
    auto sw = Row(0x6018, 1);
    auto video = Row(0x0180, 2);
    UpgradeFirmDriver driver({sw, video},
                             {[](UpgradeJob&) { return static_cast<int>(kUpgradeDone); },
                              [&](UpgradeJob& job) {
                                job.progress = 250;
                                for (int i = 0; i < 500 && !videoMayEnd; ++i) {
                                  std::this_thread::sleep_for(std::chrono::milliseconds(2));
                                }
                                return static_cast<int>(kUpgradeDone);
                              }},
                             nullptr);
    UpgradeDialog dialog(driver, nullptr);
    QString buttonWhileVideoRuns;
    QString videoText;
    bool timer1StoppedFirst = false;
    QTimer probe;
    int step = 0;
    connect(&probe, &QTimer::timeout, [&] {
      ++step;
      if (dialog.list()->topLevelItem(0)->text(1) == "Done" &&
          video->state == kUpgradeTransmitting &&
          dialog.list()->topLevelItem(1)->text(1) == "Transmit - 100%" && !videoMayEnd) {
        buttonWhileVideoRuns = dialog.button()->text();
        timer1StoppedFirst = !dialog.timer1().isActive() && dialog.timer2().isActive();
        videoText = dialog.list()->topLevelItem(1)->text(1);
        videoMayEnd = true;
      }
      if (dialog.button()->text() == "Close" || step > 400) {
#ifdef VANTRELL_SCREENSHOT_DIR
        dialog.grab().save(QString(VANTRELL_SCREENSHOT_DIR) + "/upgrade_dialog.png");
#endif
        dialog.button()->click();
      }
    });
    probe.start(10);
    dialog.run();
    QCOMPARE(buttonWhileVideoRuns, QString("Cancel"));
    QVERIFY(timer1StoppedFirst);
    QCOMPARE(videoText, QString("Transmit - 100%"));
    QCOMPARE(dialog.windowTitle(), QString("Upgrade Firmware"));
    QCOMPARE(dialog.button()->text(), QString("Close"));
    QCOMPARE(dialog.list()->topLevelItem(0)->text(0), QString("00:0E:1A:00:00:01"));
    QCOMPARE(dialog.list()->topLevelItem(0)->text(1), QString("Done"));
    QCOMPARE(dialog.list()->topLevelItem(1)->text(1),
             QString("Transmit Completed, Wait for Rebooting..."));
  }

  void multipleLoginEditsInPlaceAndStoresOnOk() {
    DeviceList list;
    list.append(Device(0x0180, 1));
    list.append(Device(0x6018, 2));
    list.append(Device(0x0180, 3));
    CCMultipleLogin behaviour;
    for (std::size_t i = 0; i < list.size(); ++i) behaviour.addDevice(list, list[i], i);
    MultipleLoginDialog dialog(behaviour);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QString("Kavex Device Multiple Login"));
    QCOMPARE(dialog.list()->topLevelItemCount(), 2);
    QCOMPARE(dialog.list()->topLevelItem(1)->text(0), QString("10.0.0.3"));
    QCOMPARE(dialog.list()->topLevelItem(1)->text(2), QString("admin"));
    QVERIFY(!dialog.userBox()->isVisible());
    QVERIFY(!dialog.passwordBox()->isVisible());
    QCOMPARE(dialog.passwordBox()->echoMode(), QLineEdit::Password);
    QCOMPARE(dialog.userBox()->maxLength(), 15);

    QTest::mouseClick(dialog.list()->viewport(), Qt::LeftButton, {},
                      CellCentre(dialog.list(), 1, 3));
    QVERIFY(dialog.passwordBox()->isVisible());
    QVERIFY(dialog.passwordBox()->hasFocus());
    QTest::keyClicks(dialog.passwordBox(), "secret");
    QCOMPARE(dialog.list()->topLevelItem(1)->text(3), QString("******"));

    QTest::mouseClick(dialog.list()->viewport(), Qt::LeftButton, {},
                      CellCentre(dialog.list(), 1, 2));
    QVERIFY(dialog.userBox()->isVisible());
    QVERIFY(!dialog.passwordBox()->isVisible());
    QCOMPARE(dialog.userBox()->selectedText(), QString("admin"));
    QTest::keyClicks(dialog.userBox(), "operator-with-a-long-name");
    QCOMPARE(dialog.list()->topLevelItem(1)->text(2), QString("operator-with-a"));

    // Row 1 is selected by the clicks: "Apply All" copies it to row 0.
    dialog.applyAllButton()->click();
    QCOMPARE(dialog.list()->topLevelItem(0)->text(2), QString("operator-with-a"));
    QCOMPARE(dialog.list()->topLevelItem(0)->text(3), QString("******"));
    dialog.accept();
    QCOMPARE(QString(list[0].kavexUser), QString("operator-with-a"));
    QCOMPARE(QString(list[0].kavexPassword), QString("secret"));
    QCOMPARE(QString(list[1].kavexUser), QString(""));
    QCOMPARE(QString(list[2].kavexPassword), QString("secret"));
#ifdef VANTRELL_SCREENSHOT_DIR
    const QString path = QString(VANTRELL_SCREENSHOT_DIR) + "/multiple_login.png";
    QVERIFY(dialog.grab().save(path));
#endif
  }

  void multipleLoginListHasGridLinesAndOpensBoxesWhereTheDialogPutsThem() {
    DeviceList list;
    for (std::uint8_t last : {1, 2}) list.append(Device(0x0180, last));
    CCMultipleLogin behaviour;
    for (std::size_t i = 0; i < list.size(); ++i) behaviour.addDevice(list, list[i], i);
    MultipleLoginDialog dialog(behaviour);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTreeWidget* tree = dialog.list();

    // A line at the right and the bottom edge of every cell.
    const QImage image = tree->viewport()->grab().toImage();
    const QRgb line = GridLinesDelegate::LineColour(tree).rgb();
    const QRect first = tree->visualItemRect(tree->topLevelItem(0));
    const QRect second = tree->visualItemRect(tree->topLevelItem(1));  // not the current row
    for (int right : {99, 229, 329, 429}) {
      QCOMPARE(image.pixel(right, second.center().y()), line);
    }
    QCOMPARE(image.pixel(50, second.bottom()), line);
    QVERIFY(image.pixel(360, second.center().y()) != line);

    // Password cell of row 1: its left in the list's client area is 330
    // (100 + 130 + 100), its top the header's height plus one row; the box
    // opens at that left plus the list's distance from the dialog's edge,
    // 25 pixels below that top, 100 wide, 10 pixels lower than the row.
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, CellCentre(tree, 1, 3));
    QLineEdit* box = dialog.passwordBox();
    QVERIFY(box->isVisible());
    const int rowHeight = first.height();
    // From the window's edge: the frame counts (2 pixels on this platform).
    const int frameLeft = dialog.geometry().x() - dialog.frameGeometry().x();
    const int listLeft = tree->mapTo(&dialog, QPoint(0, 0)).x() + frameLeft;
    QCOMPARE(box->geometry(),
             QRect(listLeft + 330, tree->header()->height() + rowHeight + 25, 100, rowHeight - 10));
    // The list sits so that the box covers the top of its cell, whole.
    QCOMPARE(box->y(), tree->viewport()->mapTo(&dialog, QPoint(0, rowHeight)).y());
    QVERIFY(box->height() >= box->sizeHint().height());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, CellCentre(tree, 0, 2));
    QCOMPARE(dialog.userBox()->geometry(),
             QRect(listLeft + 230, tree->header()->height() + 25, 100, rowHeight - 10));
  }

  void multipleLoginCancelStoresNothing() {
    DeviceList list;
    list.append(Device(0x0180, 1));
    CCMultipleLogin behaviour;
    behaviour.addDevice(list, list[0], 0);
    MultipleLoginDialog dialog(behaviour);
    dialog.reject();
    QCOMPARE(QString(list[0].kavexUser), QString(""));
  }
};

}  // namespace vantrell

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  vantrell::UpgradeDialogsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "upgrade_dialog_test.moc"
