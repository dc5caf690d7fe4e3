#include "qt/fleet_file_dialogs.h"

#include <QFileDialog>

#include "qt/qt_prompter.h"
#include "ui/device_list_file.h"
#include "ui/window_backup.h"

namespace vantrell {
namespace {

std::optional<std::filesystem::path> Chosen(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

}  // namespace

std::optional<std::filesystem::path> AskDeviceListFile(QWidget* parent) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QtNameFilter(kDeviceListFileDialog.filter));
  dialog.setDefaultSuffix(QString::fromStdString(kDeviceListFileDialog.defaultExtension));
  dialog.selectFile(kDeviceListFileName);
  return Chosen(dialog);
}

std::optional<std::filesystem::path> AskBackupFolder(QWidget* parent) {
  QFileDialog dialog(parent, kBackupDialogTitle);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  return Chosen(dialog);
}

}  // namespace vantrell
