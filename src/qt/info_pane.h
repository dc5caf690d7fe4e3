#pragma once
/// The information pane (OrvInfoView): a read-only scroll area that paints
/// the record it was last told about in a 12-pixel monospace font, as
/// InfoPaneLayout places it, and scrolls by text lines with the wheel.

#include <QAbstractScrollArea>
#include <QFont>

#include "core/device_list.h"
#include "ui/info_pane_layout.h"

namespace vantrell {

class InfoPane : public QAbstractScrollArea {
  Q_OBJECT
 public:
  InfoPane(const DeviceList& document, QWidget* parent = nullptr);

  /// View update hint 90: the record to show, -1 for none.
  void showDevice(int index);
  int shownIndex() const { return shownIndex_; }
  /// What the last paint drew (for tests and the screenshot).
  const InfoPaneLayout& lastLayout() const { return lastLayout_; }
  const QFont& paneFont() const { return font_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdateScrollBars();

  const DeviceList& document_;
  QFont font_;
  int shownIndex_ = -1;
  int totalWidth_ = kInfoInitialScrollSize;
  int totalHeight_ = kInfoInitialScrollSize;
  int pageStep_ = kInfoInitialScrollSize;
  int lineStep_ = 1;
  InfoPaneLayout lastLayout_;
};

}  // namespace vantrell
