#pragma once
/// A report-style list as the dialogs and views drive it: rows of text
/// cells. The window draws it with a list widget, the command line keeps the
/// texts, tests record them.

#include <string_view>

namespace vantrell {

class RowTable {
 public:
  virtual ~RowTable() = default;
  virtual void DeleteAllRows() = 0;
  /// Inserts a row at `row` with `firstCell` in column 0.
  virtual void InsertRow(int row, std::string_view firstCell) = 0;
  virtual void SetCell(int row, int column, std::string_view text) = 0;
};

}  // namespace vantrell
