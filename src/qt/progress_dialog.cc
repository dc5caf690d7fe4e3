#include "qt/progress_dialog.h"

#include <QApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "qt/qt_prompter.h"
#include "qt/tree_rows.h"
#include "qt/upgrade_dialog.h"

namespace vantrell {

ProgressDialog::~ProgressDialog() { SetWaitCursor(false); }

ProgressDialog::ProgressDialog(DialogDriver& driver, const QtPrompter* prompter, QWidget* parent)
    : QDialog(parent), driver_(driver), prompter_(prompter) {
  const DialogDriver::Layout& layout = driver_.layout();
  setWindowTitle(QString::fromStdString(layout.title));
  button_ = new QPushButton(QString::fromStdString(layout.buttonText), this);
  button_->setDefault(true);
  connect(button_, &QPushButton::clicked, this, &ProgressDialog::reject);
  list_ = MakeDriverList(layout, this);
  rows_ = std::make_unique<TreeRows>(*list_, layout.centredColumns);

  auto* top = new QHBoxLayout;
  if (layout.statusText) {
    auto* group = new QGroupBox("Status", this);
    status_ = new QLabel(group);
    status_->setTextFormat(Qt::PlainText);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(status_);
    top->addWidget(group, 1);
  } else {
    top->addStretch(1);
  }
  top->addWidget(button_, 0, Qt::AlignTop);
  auto* main = new QVBoxLayout(this);
  main->addLayout(top);
  main->addWidget(list_, 1);
  resize(list_->minimumWidth() + 24, 300);

  timer_.setInterval(layout.timerPeriodMs);
  connect(&timer_, &QTimer::timeout, this, &ProgressDialog::OnTimer);
}

void ProgressDialog::SetStatusText(std::string_view text) {
  if (status_)
    status_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed());
}

void ProgressDialog::SetButtonText(std::string_view text) {
  button_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void ProgressDialog::SetButtonEnabled(bool enabled) { button_->setEnabled(enabled); }

void ProgressDialog::RedrawRow(int row) {
  // The step that changed the row blocks the message loop: paint now.
  if (QTreeWidgetItem* item = list_->topLevelItem(row)) {
    list_->viewport()->repaint(list_->visualItemRect(item));
  }
}

void ProgressDialog::SetWaitCursor(bool on) {
  if (on == waitCursor_) return;
  waitCursor_ = on;
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void ProgressDialog::WaitServing(const std::function<bool()>& finished) {
  // Queued calls of a worker (its message boxes) are delivered here, so the
  // worker can end while we wait for it.
  if (finished()) return;
  QEventLoop loop;
  QTimer poll;
  poll.setInterval(10);
  connect(&poll, &QTimer::timeout, &loop, [&] {
    if (finished()) loop.quit();
  });
  poll.start();
  loop.exec();
}

int ProgressDialog::run() {
  driver_.Open(*rows_, *this);
  timer_.start();
  return exec();
}

void ProgressDialog::OnTimer() {
  if (ended_) return;
  // A worker waiting for the operator must not be waited for by a tick.
  if (driver_.layout().holdTicksWhileMessageOpen && prompter_ && prompter_->busy()) return;
  switch (driver_.OnTick()) {
    case TickResult::kContinue:
      return;
    case TickResult::kStopTimer:
      timer_.stop();
      return;
    case TickResult::kEndDialog:
      timer_.stop();
      ended_ = true;
      done(0);
      return;
  }
}

void ProgressDialog::reject() {
  if (ended_) return;
  ended_ = true;
  timer_.stop();
  driver_.OnButton();
  QDialog::reject();
}

void QtDialogHost::RunModal(DialogDriver& driver) {
  ProgressDialog dialog(driver, prompter_, parent_);
  dialog.run();
}

void QtDialogHost::RunUpgradeModal(UpgradeFirmDriver& driver) {
  RunUpgradeDialog(driver, prompter_, parent_);
}

}  // namespace vantrell
