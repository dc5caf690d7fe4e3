#pragma once
/// A report-style QTreeWidget as the ui layer's row table.

#include <QTreeWidget>

#include "ui/prompter.h"
#include "ui/row_table.h"

namespace vantrell {

/// Sets up a flat report list: no root decoration, full-row select, fixed
/// column widths, no sorting of its own.
void MakeReportStyle(QTreeWidget& tree, const QStringList& titles, const QList<int>& widths,
                     bool centred);

/// The device list of a dialog driver's layout: its columns, single
/// selection, wide enough for every column.
QTreeWidget* MakeDriverList(const DialogDriver::Layout& layout, QWidget* parent);

class TreeRows : public RowTable {
 public:
  explicit TreeRows(QTreeWidget& tree, bool centred = false) : tree_(tree), centred_(centred) {}
  void DeleteAllRows() override;
  void InsertRow(int row, std::string_view firstCell) override;
  void SetCell(int row, int column, std::string_view text) override;

 private:
  QTreeWidget& tree_;
  bool centred_;
};

}  // namespace vantrell
