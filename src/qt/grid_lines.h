#pragma once
/// Grid lines for a report-style QTreeWidget, as a report list with the
/// grid-lines style draws them: a line at the right and the bottom edge of
/// every cell, in the style's table grid colour. The rows may be given a
/// least height, for lists that open an editor inside a row.

#include <QStyledItemDelegate>

class QTreeWidget;

namespace vantrell {

class GridLinesDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  explicit GridLinesDelegate(int minimumRowHeight, QObject* parent = nullptr)
      : QStyledItemDelegate(parent), minimumRowHeight_(minimumRowHeight) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  /// The colour the lines are drawn in.
  static QColor LineColour(const QWidget* widget);

 private:
  int minimumRowHeight_;
};

/// Draws grid lines in `tree`, whose rows are at least `minimumRowHeight`
/// pixels high.
void ShowGridLines(QTreeWidget& tree, int minimumRowHeight = 0);

}  // namespace vantrell
