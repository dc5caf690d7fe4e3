#pragma once
/// CUpgradeFirm "Upgrade Firmware" in Qt: the list with "MAC Address" (100)
/// and "Progress" (300), the button "Cancel" (later "Close"), and the two
/// 100 ms timers of the behaviour, timer 1 for the switch rows and timer 2
/// for the video-server rows, each stopping on its own.

#include <QDialog>
#include <QTimer>
#include <memory>

#include "ui/upgrade_firm.h"

class QPushButton;
class QTreeWidget;

namespace vantrell {

class QtPrompter;
class TreeRows;

class UpgradeDialog : public QDialog, public DialogControls {
  Q_OBJECT
 public:
  /// `prompter` may be null; with one, ticks wait while a message is open.
  UpgradeDialog(UpgradeFirmDriver& driver, const QtPrompter* prompter, QWidget* parent = nullptr);
  ~UpgradeDialog() override;

  void SetStatusText(std::string_view) override {}
  void SetButtonText(std::string_view text) override;

  QTreeWidget* list() const { return list_; }
  QPushButton* button() const { return button_; }
  const QTimer& timer1() const { return timer1_; }
  const QTimer& timer2() const { return timer2_; }

  /// Opens the behaviour, starts the timers it needs and runs modally.
  int run();
  /// The button, Esc and the close box.
  void reject() override;

 private:
  void OnTimer1();
  void OnTimer2();
  bool Held() const;

  UpgradeFirmDriver& driver_;
  const QtPrompter* prompter_;
  QTimer timer1_;
  QTimer timer2_;
  QTreeWidget* list_;
  std::unique_ptr<TreeRows> rows_;
  QPushButton* button_;
  bool ended_ = false;
};

/// What a Qt dialog host does for RunUpgradeModal.
void RunUpgradeDialog(UpgradeFirmDriver& driver, const QtPrompter* prompter, QWidget* parent);

}  // namespace vantrell
