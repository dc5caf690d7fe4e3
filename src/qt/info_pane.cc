#include "qt/info_pane.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace vantrell {

InfoPane::InfoPane(const DeviceList& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document) {
  font_ = QFont("Courier New");
  font_.setStyleHint(QFont::TypeWriter);
  font_.setFixedPitch(true);
  font_.setPixelSize(kInfoFontPixels);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  UpdateScrollBars();
}

void InfoPane::showDevice(int index) {
  shownIndex_ = index;
  lastLayout_ = {};
  viewport()->update();
}

void InfoPane::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  if (shownIndex_ < 0 || static_cast<std::size_t>(shownIndex_) >= document_.size()) {
    lastLayout_ = {};
    return;
  }
  painter.setFont(font_);
  const QFontMetrics metrics(font_);
  const DeviceRecord& record = document_[static_cast<std::size_t>(shownIndex_)];
  lastLayout_ = LayoutInfoPane(record, metrics.height(), [&metrics](std::string_view text) {
    return metrics.horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  });
  const int dx = horizontalScrollBar()->value();
  const int dy = verticalScrollBar()->value();
  for (const InfoPaneText& text : lastLayout_.texts) {
    painter.setPen(text.highlighted ? QColor(0, 0, 255) : QColor(0, 0, 0));
    painter.drawText(text.x - dx, text.y - dy + metrics.ascent(),
                     QString::fromStdString(text.text));
  }
  if (totalWidth_ != lastLayout_.totalWidth || totalHeight_ != lastLayout_.totalHeight ||
      pageStep_ != lastLayout_.pageStep || lineStep_ != lastLayout_.lineStep) {
    totalWidth_ = lastLayout_.totalWidth;
    totalHeight_ = lastLayout_.totalHeight;
    pageStep_ = lastLayout_.pageStep;
    lineStep_ = lastLayout_.lineStep;
    UpdateScrollBars();
  }
}

void InfoPane::UpdateScrollBars() {
  const QSize view = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, totalWidth_ - view.width()));
  horizontalScrollBar()->setPageStep(std::max(1, view.width()));
  verticalScrollBar()->setRange(0, std::max(0, totalHeight_ - view.height()));
  verticalScrollBar()->setPageStep(std::max(1, pageStep_));
  verticalScrollBar()->setSingleStep(std::max(1, lineStep_));
}

void InfoPane::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void InfoPane::wheelEvent(QWheelEvent* event) {
  const WheelScroll scroll =
      WheelScrollSteps(event->angleDelta().y(), QApplication::wheelScrollLines());
  const auto up =
      scroll.pages ? QAbstractSlider::SliderPageStepSub : QAbstractSlider::SliderSingleStepSub;
  const auto down =
      scroll.pages ? QAbstractSlider::SliderPageStepAdd : QAbstractSlider::SliderSingleStepAdd;
  for (int i = 0; i < std::abs(scroll.steps); ++i) {
    verticalScrollBar()->triggerAction(scroll.steps > 0 ? up : down);
  }
  event->accept();
}

}  // namespace vantrell
