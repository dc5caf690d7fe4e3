#pragma once
/// The device list pane: a report-style QTreeWidget with the six columns,
/// several rows selectable, whole rows highlighted, the selection still
/// drawn while another window has the focus. Clicks (on the release of the
/// left button), key releases, double clicks, header clicks and
/// context-menu requests go to OrvListView.

#include <QTreeWidget>
#include <functional>

#include "qt/tree_rows.h"
#include "ui/orv_list_view.h"

namespace vantrell {

class DeviceListWidget : public QTreeWidget, public ReportList {
  Q_OBJECT
 public:
  explicit DeviceListWidget(QWidget* parent = nullptr);

  /// The behaviour that receives the events; set once it exists.
  void setView(OrvListView* view) { view_ = view; }

  void DeleteAllRows() override { rows_.DeleteAllRows(); }
  void InsertRow(int row, std::string_view firstCell) override { rows_.InsertRow(row, firstCell); }
  void SetCell(int row, int column, std::string_view text) override {
    rows_.SetCell(row, column, text);
  }
  int FocusedRow() const override;
  std::vector<int> SelectedRows() const override;
  void SelectAndFocus(int row) override;
  void TakeKeyboardFocus() override { setFocus(Qt::OtherFocusReason); }

 signals:
  /// The popup "Setting" is to be shown at this screen point.
  void settingMenuRequested(const QPoint& globalPos);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  TreeRows rows_;
  OrvListView* view_ = nullptr;
  /// The release that ends a double click is no click of its own.
  bool releaseEndsDoubleClick_ = false;
};

}  // namespace vantrell
