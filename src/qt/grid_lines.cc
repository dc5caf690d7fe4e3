#include "qt/grid_lines.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>

namespace vantrell {

QColor GridLinesDelegate::LineColour(const QWidget* widget) {
  const QStyle* style = widget ? widget->style() : QApplication::style();
  QStyleOption option;
  if (widget) option.initFrom(widget);
  return QColor::fromRgba(
      static_cast<QRgb>(style->styleHint(QStyle::SH_Table_GridLineColor, &option, widget)));
}

void GridLinesDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  QStyledItemDelegate::paint(painter, option, index);
  painter->save();
  painter->setPen(LineColour(option.widget));
  const QRect cell = option.rect;
  painter->drawLine(cell.topRight(), cell.bottomRight());
  painter->drawLine(cell.bottomLeft(), cell.bottomRight());
  painter->restore();
}

QSize GridLinesDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  size.setHeight(std::max(size.height(), minimumRowHeight_));
  return size;
}

void ShowGridLines(QTreeWidget& tree, int minimumRowHeight) {
  tree.setItemDelegate(new GridLinesDelegate(minimumRowHeight, &tree));
}

}  // namespace vantrell
