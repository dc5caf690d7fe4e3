#pragma once
/// CCMultipleLogin "Kavex Device Multiple Login" (dialog 159) in Qt: the
/// four-column list with grid lines, the in-place user name box (1028),
/// opened where InPlaceEditorRect puts it, and password box
/// (1035, characters hidden), "Apply All", "OK" and "Cancel". Every event
/// goes to the ui behaviour, which says what to show. The boxes take at
/// most 15 characters, what a record keeps.

#include <QDialog>

#include "ui/multiple_login.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vantrell {

class MultipleLoginDialog : public QDialog, public MultipleLoginView {
  Q_OBJECT
 public:
  MultipleLoginDialog(CCMultipleLogin& behaviour, QWidget* parent = nullptr);

  // MultipleLoginView
  void DeleteAllRows() override;
  void InsertRow(int row, std::string_view firstCell) override;
  void SetCell(int row, int column, std::string_view text) override;
  void HideUserBox() override;
  void HidePasswordBox() override;
  void OpenUserBox(int row, std::string_view text) override;
  void OpenPasswordBox(int row, std::string_view text) override;
  int SelectedRow() const override;

  QTreeWidget* list() const { return list_; }
  QLineEdit* userBox() const { return userBox_; }
  QLineEdit* passwordBox() const { return passwordBox_; }
  QPushButton* applyAllButton() const { return applyAll_; }

  /// A click on the cell at (row, column) of the list.
  void ClickCell(int row, int column);

  void accept() override;
  void reject() override;

 private:
  void OpenBox(QLineEdit* box, int row, int column, std::string_view text);

  CCMultipleLogin& behaviour_;
  QTreeWidget* list_;
  QLineEdit* userBox_;
  QLineEdit* passwordBox_;
  QPushButton* applyAll_;
};

}  // namespace vantrell
