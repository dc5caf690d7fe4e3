#include "qt/device_list_widget.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <utility>

namespace vantrell {

DeviceListWidget::DeviceListWidget(QWidget* parent) : QTreeWidget(parent), rows_(*this) {
  QStringList titles;
  QList<int> widths;
  for (const ColumnSpec& column : kDeviceColumns) {
    titles << column.title;
    widths << column.width;
  }
  MakeReportStyle(*this, titles, widths, false);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setContextMenuPolicy(Qt::DefaultContextMenu);
  header()->setSectionsClickable(true);
  header()->setSortIndicatorShown(false);
  connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
    if (view_) view_->OnColumnClick(column);
  });
  // Selected rows look the same whether or not the window is active.
  QPalette colours = palette();
  for (auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
    colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
  }
  setPalette(colours);
}

int DeviceListWidget::FocusedRow() const {
  QTreeWidgetItem* item = currentItem();
  return item ? indexOfTopLevelItem(item) : -1;
}

std::vector<int> DeviceListWidget::SelectedRows() const {
  std::vector<int> rows;
  for (int i = 0; i < topLevelItemCount(); ++i) {
    if (topLevelItem(i)->isSelected()) rows.push_back(i);
  }
  return rows;
}

void DeviceListWidget::SelectAndFocus(int row) {
  QTreeWidgetItem* item = topLevelItem(row);
  if (!item) return;
  item->setSelected(true);
  selectionModel()->setCurrentIndex(indexFromItem(item), QItemSelectionModel::NoUpdate);
}

void DeviceListWidget::mousePressEvent(QMouseEvent* event) {
  // A release lost to a dialog the double click opened must not swallow
  // the next click.
  releaseEndsDoubleClick_ = false;
  QTreeWidget::mousePressEvent(event);
}

void DeviceListWidget::mouseReleaseEvent(QMouseEvent* event) {
  QTreeWidget::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton) return;
  if (std::exchange(releaseEndsDoubleClick_, false)) return;
  if (view_) view_->OnLeftClick();
}

void DeviceListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeWidget::mouseDoubleClickEvent(event);
  if (event->button() != Qt::LeftButton) return;
  releaseEndsDoubleClick_ = true;
  if (view_) view_->OnDoubleClick();
}

void DeviceListWidget::keyReleaseEvent(QKeyEvent* event) {
  QTreeWidget::keyReleaseEvent(event);
  if (view_) view_->OnKeyRelease(event->isAutoRepeat());
}

void DeviceListWidget::focusOutEvent(QFocusEvent*) {
  // Not passed on: the selection stays drawn as it is.
}

void DeviceListWidget::contextMenuEvent(QContextMenuEvent* event) {
  const bool inside = event->reason() == QContextMenuEvent::Mouse &&
                      viewport()->rect().contains(viewport()->mapFromGlobal(event->globalPos()));
  if (view_ && view_->ShowsContextMenu(inside)) emit settingMenuRequested(event->globalPos());
  event->accept();
}

}  // namespace vantrell
