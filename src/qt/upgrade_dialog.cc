#include "qt/upgrade_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "qt/qt_prompter.h"
#include "qt/tree_rows.h"

namespace vantrell {

UpgradeDialog::~UpgradeDialog() = default;

UpgradeDialog::UpgradeDialog(UpgradeFirmDriver& driver, const QtPrompter* prompter, QWidget* parent)
    : QDialog(parent), driver_(driver), prompter_(prompter) {
  const DialogDriver::Layout& layout = driver_.layout();
  setWindowTitle(QString::fromStdString(layout.title));
  button_ = new QPushButton(QString::fromStdString(layout.buttonText), this);
  button_->setDefault(true);
  connect(button_, &QPushButton::clicked, this, &UpgradeDialog::reject);
  list_ = MakeDriverList(layout, this);
  rows_ = std::make_unique<TreeRows>(*list_, layout.centredColumns);

  auto* top = new QHBoxLayout;
  top->addStretch(1);
  top->addWidget(button_, 0, Qt::AlignTop);
  auto* main = new QVBoxLayout(this);
  main->addLayout(top);
  main->addWidget(list_, 1);
  resize(list_->minimumWidth() + 24, 300);

  for (QTimer* timer : {&timer1_, &timer2_}) timer->setInterval(layout.timerPeriodMs);
  connect(&timer1_, &QTimer::timeout, this, &UpgradeDialog::OnTimer1);
  connect(&timer2_, &QTimer::timeout, this, &UpgradeDialog::OnTimer2);
}

void UpgradeDialog::SetButtonText(std::string_view text) {
  button_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

int UpgradeDialog::run() {
  driver_.Open(*rows_, *this);
  if (driver_.dialog()->timer1Running()) timer1_.start();
  if (driver_.dialog()->timer2Running()) timer2_.start();
  return exec();
}

bool UpgradeDialog::Held() const {
  // A worker waiting for the operator must not be waited for by a tick.
  return ended_ || (prompter_ && prompter_->busy());
}

void UpgradeDialog::OnTimer1() {
  if (Held()) return;
  driver_.dialog()->OnTimer1();
  if (!driver_.dialog()->timer1Running()) timer1_.stop();
}

void UpgradeDialog::OnTimer2() {
  if (Held()) return;
  driver_.dialog()->OnTimer2();
  if (!driver_.dialog()->timer2Running()) timer2_.stop();
}

void UpgradeDialog::reject() {
  if (ended_) return;
  ended_ = true;
  timer1_.stop();
  timer2_.stop();
  driver_.OnButton();
  QDialog::reject();
}

void RunUpgradeDialog(UpgradeFirmDriver& driver, const QtPrompter* prompter, QWidget* parent) {
  UpgradeDialog dialog(driver, prompter, parent);
  dialog.run();
}

}  // namespace vantrell
