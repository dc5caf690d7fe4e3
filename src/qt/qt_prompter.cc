#include "qt/qt_prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <QThread>

#include "qt/input_dialogs.h"
#include "qt/multiple_login_dialog.h"
#include "qt/netconf_dialog.h"

namespace vantrell {
namespace {

QMessageBox::Icon QtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kStop:
      return QMessageBox::Critical;
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

/// Counts an open or requested message box for the dialog timers.
class PendingBox {
 public:
  explicit PendingBox(std::atomic<int>& count) : count_(count) { ++count_; }
  ~PendingBox() { --count_; }
  PendingBox(const PendingBox&) = delete;
  PendingBox& operator=(const PendingBox&) = delete;

 private:
  std::atomic<int>& count_;
};

}  // namespace

QMessageBox* MakeMessageBox(std::string_view text, MessageIcon icon, PromptButtons buttons,
                            QWidget* parent) {
  auto* box = new QMessageBox(parent);
  box->setWindowTitle(kMessageCaption);
  // Messages carry device text (names, locations, a file's group names):
  // shown as it is, never read as markup.
  box->setTextFormat(Qt::PlainText);
  box->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  box->setIcon(QtIcon(icon));
  if (buttons == PromptButtons::kYesNo) {
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  } else {
    box->setStandardButtons(QMessageBox::Ok);
  }
  return box;
}

QString QtNameFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    filters << (parts[i].contains('(') ? parts[i] : parts[i] + " (" + parts[i + 1] + ")");
  }
  return filters.join(";;");
}

QtPrompter::QtPrompter(QObject* parent) : QObject(parent) {}

PromptAnswer QtPrompter::Ask(std::string_view text, MessageIcon icon, PromptButtons buttons) {
  PendingBox pending(pending_);
  if (QThread::currentThread() == thread()) return AskHere(text, icon, buttons);
  PromptAnswer answer = PromptAnswer::kOk;
  const std::string copy(text);
  QMetaObject::invokeMethod(
      this, [&] { answer = AskHere(copy, icon, buttons); }, Qt::BlockingQueuedConnection);
  return answer;
}

PromptAnswer QtPrompter::AskHere(std::string_view text, MessageIcon icon, PromptButtons buttons) {
  PendingBox pending(pending_);
  QMessageBox* box = MakeMessageBox(text, icon, buttons, parentWidget_);
  const int result = box->exec();
  delete box;
  if (buttons == PromptButtons::kOk) return PromptAnswer::kOk;
  return result == QMessageBox::Yes ? PromptAnswer::kYes : PromptAnswer::kNo;
}

std::optional<std::filesystem::path> QtPrompter::SaveFileName(const FileDialogRequest& request) {
  QFileDialog dialog(parentWidget_);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QtNameFilter(request.filter));
  dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

std::optional<std::filesystem::path> QtPrompter::OpenFileName(const FileDialogRequest& request) {
  QFileDialog dialog(parentWidget_);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(QtNameFilter(request.filter));
  dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

std::optional<std::uint32_t> QtPrompter::SpecifyIp() {
  SpecifyIpDialog dialog(parentWidget_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.address();
}

std::optional<std::string> QtPrompter::InputPassword() {
  InputPassDialog dialog(parentWidget_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.password();
}

std::optional<PasswordChange> QtPrompter::ChangePassword() {
  ChangePasswdDialog dialog(*this, parentWidget_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.change();
}

bool QtPrompter::MultipleLogin(CCMultipleLogin& dialog) {
  MultipleLoginDialog window(dialog, parentWidget_);
  return window.exec() == QDialog::Accepted;
}

std::optional<LoginEntry> QtPrompter::LoginIdPassword() {
  LoginIdPwdDialog dialog(*this, parentWidget_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.entry();
}

std::optional<DeviceRecord> QtPrompter::EditNetworkSettings(const DeviceRecord& record,
                                                            AddressChangeMask mask,
                                                            NetconfPurpose purpose) {
  NetconfDialog dialog(record, mask, purpose, *this, parentWidget_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.edited();
}

}  // namespace vantrell
