#include "qt/tree_rows.h"

#include <QHeaderView>

namespace vantrell {
namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void MakeReportStyle(QTreeWidget& tree, const QStringList& titles, const QList<int>& widths,
                     bool centred) {
  tree.setColumnCount(static_cast<int>(titles.size()));
  tree.setHeaderLabels(titles);
  tree.setRootIsDecorated(false);
  tree.setItemsExpandable(false);
  tree.setUniformRowHeights(true);
  tree.setAllColumnsShowFocus(true);
  tree.setSelectionBehavior(QAbstractItemView::SelectRows);
  tree.setSortingEnabled(false);
  tree.header()->setStretchLastSection(false);
  tree.header()->setDefaultAlignment(centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
  for (int i = 0; i < widths.size(); ++i) tree.setColumnWidth(i, widths[i]);
}

void TreeRows::DeleteAllRows() { tree_.clear(); }

void TreeRows::InsertRow(int row, std::string_view firstCell) {
  auto* item = new QTreeWidgetItem;
  item->setText(0, Text(firstCell));
  if (centred_) {
    for (int c = 0; c < tree_.columnCount(); ++c) item->setTextAlignment(c, Qt::AlignCenter);
  }
  tree_.insertTopLevelItem(row, item);
}

void TreeRows::SetCell(int row, int column, std::string_view text) {
  QTreeWidgetItem* item = tree_.topLevelItem(row);
  if (item) item->setText(column, Text(text));
}

QTreeWidget* MakeDriverList(const DialogDriver::Layout& layout, QWidget* parent) {
  auto* list = new QTreeWidget(parent);
  QStringList titles;
  QList<int> widths;
  int totalWidth = 0;
  for (const auto& column : layout.columns) {
    titles << QString::fromStdString(column.title);
    widths << column.width;
    totalWidth += column.width;
  }
  MakeReportStyle(*list, titles, widths, layout.centredColumns);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setMinimumWidth(totalWidth + 24);
  return list;
}

}  // namespace vantrell
