#pragma once
/// The modal dialogs with a list and one button that a timer drives (the
/// search dialog, the unlock and password dialogs, the send-command
/// dialog), and the host that runs them for the device list view.

#include <QDialog>
#include <QTimer>
#include <memory>

#include "ui/prompter.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace vantrell {

class QtPrompter;
class TreeRows;

class ProgressDialog : public QDialog, public DialogControls {
  Q_OBJECT
 public:
  /// `prompter` may be null; with one, ticks wait while a message is open.
  ProgressDialog(DialogDriver& driver, const QtPrompter* prompter, QWidget* parent = nullptr);
  ~ProgressDialog() override;

  void SetStatusText(std::string_view text) override;
  void SetButtonText(std::string_view text) override;
  void SetButtonEnabled(bool enabled) override;
  void RedrawRow(int row) override;
  void SetWaitCursor(bool on) override;
  void WaitServing(const std::function<bool()>& finished) override;

  QTreeWidget* list() const { return list_; }
  QPushButton* button() const { return button_; }
  QLabel* statusLabel() const { return status_; }

  /// Opens the driver and starts the timer; then the dialog runs modally.
  int run();
  /// Esc, the close box and the button all end the dialog through here.
  void reject() override;

 private:
  void OnTimer();

  DialogDriver& driver_;
  const QtPrompter* prompter_;
  QTimer timer_;
  QTreeWidget* list_;
  std::unique_ptr<TreeRows> rows_;
  QPushButton* button_;
  QLabel* status_ = nullptr;
  bool ended_ = false;
  bool waitCursor_ = false;
};

class QtDialogHost : public ModalDialogHost {
 public:
  QtDialogHost(const QtPrompter* prompter, QWidget* parent)
      : prompter_(prompter), parent_(parent) {}
  void RunModal(DialogDriver& driver) override;
  /// The firmware dialog, with its two timers.
  void RunUpgradeModal(UpgradeFirmDriver& driver) override;

 private:
  const QtPrompter* prompter_;
  QWidget* parent_;
};

}  // namespace vantrell
