#pragma once
/// The prompter of the window: message boxes with the caption "Search
/// Utility", the standard file dialogs and the modal input dialogs. A call
/// from a worker thread is handed to the user-interface thread, which shows
/// the box while the worker waits for the answer.

#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>

#include "ui/prompter.h"

class QMessageBox;
class QWidget;

namespace vantrell {

/// A message box as every message of the program looks: caption "Search
/// Utility", the icon and buttons asked for, the text as plain text.
QMessageBox* MakeMessageBox(std::string_view text, MessageIcon icon, PromptButtons buttons,
                            QWidget* parent);

/// "ini files (*.ini)|*.ini|All files (*.*)|*.*||" as a Qt name filter.
QString QtNameFilter(const std::string& filter);

class QtPrompter : public QObject, public Prompter {
  Q_OBJECT

 public:
  explicit QtPrompter(QObject* parent = nullptr);

  /// The window the dialogs belong to.
  void setParentWidget(QWidget* widget) { parentWidget_ = widget; }
  /// True while a message box is open or requested by a worker; the dialog
  /// timers then hold their ticks so no tick waits for a worker that waits
  /// for the operator.
  bool busy() const { return pending_.load() > 0; }

  PromptAnswer Ask(std::string_view text, MessageIcon icon, PromptButtons buttons) override;
  std::optional<std::filesystem::path> SaveFileName(const FileDialogRequest& request) override;
  std::optional<std::filesystem::path> OpenFileName(const FileDialogRequest& request) override;
  std::optional<std::uint32_t> SpecifyIp() override;
  std::optional<std::string> InputPassword() override;
  std::optional<PasswordChange> ChangePassword() override;
  std::optional<LoginEntry> LoginIdPassword() override;
  bool MultipleLogin(CCMultipleLogin& dialog) override;
  std::optional<DeviceRecord> EditNetworkSettings(const DeviceRecord& record,
                                                  AddressChangeMask mask,
                                                  NetconfPurpose purpose) override;

 private:
  PromptAnswer AskHere(std::string_view text, MessageIcon icon, PromptButtons buttons);

  QPointer<QWidget> parentWidget_;
  std::atomic<int> pending_{0};
};

}  // namespace vantrell
