#include "qt/multiple_login_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ops/video_server_export.h"
#include "qt/grid_lines.h"
#include "qt/tree_rows.h"

namespace vantrell {
namespace {

QString FromText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToText(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace

MultipleLoginDialog::MultipleLoginDialog(CCMultipleLogin& behaviour, QWidget* parent)
    : QDialog(parent), behaviour_(behaviour) {
  setWindowTitle(CCMultipleLogin::kTitle);
  list_ = new QTreeWidget(this);
  QStringList titles;
  QList<int> widths;
  int totalWidth = 0;
  for (const auto& column : CCMultipleLogin::kColumns) {
    titles << column.title;
    widths << column.width;
    totalWidth += column.width;
  }
  userBox_ = new QLineEdit(this);
  passwordBox_ = new QLineEdit(this);
  passwordBox_->setEchoMode(QLineEdit::Password);
  for (QLineEdit* box : {userBox_, passwordBox_}) {
    box->setMaxLength(static_cast<int>(kKavexFieldLength));
    box->hide();
  }

  MakeReportStyle(*list_, titles, widths, false);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setMinimumWidth(totalWidth + 24);
  // A box opens 10 pixels lower than its cell: the rows leave room for a
  // whole box.
  ShowGridLines(*list_, userBox_->sizeHint().height() + kEditorHeightLoss);
  connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int column) {
    ClickCell(list_->indexOfTopLevelItem(item), column);
  });
  connect(userBox_, &QLineEdit::textEdited, this,
          [this](const QString& text) { behaviour_.OnUserTextChanged(ToText(text)); });
  connect(passwordBox_, &QLineEdit::textEdited, this,
          [this](const QString& text) { behaviour_.OnPasswordTextChanged(ToText(text)); });

  applyAll_ = new QPushButton("Apply All", this);
  connect(applyAll_, &QPushButton::clicked, this, [this] { behaviour_.OnApplyAll(); });
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(applyAll_);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* main = new QVBoxLayout(this);
  // The list's client area starts 25 pixels below the dialog's top, where
  // a box opens over the cell it edits.
  const QMargins margins = main->contentsMargins();
  main->setContentsMargins(margins.left(), kEditorTopOffset - list_->frameWidth(), margins.right(),
                           margins.bottom());
  main->addWidget(list_, 1);
  main->addLayout(buttons);
  resize(totalWidth + 48, 260);

  behaviour_.Init(*this);
}

void MultipleLoginDialog::DeleteAllRows() { list_->clear(); }

void MultipleLoginDialog::InsertRow(int row, std::string_view firstCell) {
  auto* item = new QTreeWidgetItem;
  item->setText(0, FromText(firstCell));
  list_->insertTopLevelItem(row, item);
}

void MultipleLoginDialog::SetCell(int row, int column, std::string_view text) {
  if (QTreeWidgetItem* item = list_->topLevelItem(row)) item->setText(column, FromText(text));
}

void MultipleLoginDialog::HideUserBox() { userBox_->hide(); }
void MultipleLoginDialog::HidePasswordBox() { passwordBox_->hide(); }

void MultipleLoginDialog::OpenUserBox(int row, std::string_view text) {
  OpenBox(userBox_, row, CCMultipleLogin::kColUsername, text);
}

void MultipleLoginDialog::OpenPasswordBox(int row, std::string_view text) {
  OpenBox(passwordBox_, row, CCMultipleLogin::kColPassword, text);
}

void MultipleLoginDialog::OpenBox(QLineEdit* box, int row, int column, std::string_view text) {
  QTreeWidgetItem* item = list_->topLevelItem(row);
  if (!item) return;
  // The cell in the list's client area (inside its frame, header included).
  const QRect rowRect = list_->visualItemRect(item);
  const QPoint viewport = list_->viewport()->pos() - list_->contentsRect().topLeft();
  const EditorRect cell{viewport.x() + list_->header()->sectionViewportPosition(column),
                        viewport.y() + rowRect.top(), list_->header()->sectionSize(column),
                        rowRect.height()};
  const int listLeftOffset = list_->mapToGlobal(QPoint(0, 0)).x() - frameGeometry().x();
  const EditorRect at = InPlaceEditorRect(cell, listLeftOffset);
  box->setGeometry(at.left, at.top, at.width, at.height);
  box->setText(FromText(text));
  box->show();
  box->raise();
  box->setFocus();
  box->selectAll();
}

int MultipleLoginDialog::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
}

void MultipleLoginDialog::ClickCell(int row, int column) { behaviour_.OnCellClick(row, column); }

void MultipleLoginDialog::accept() {
  behaviour_.OnOk();
  QDialog::accept();
}

void MultipleLoginDialog::reject() {
  behaviour_.OnCancel();
  QDialog::reject();
}

}  // namespace vantrell
