#include "qt/netconf_dialog.h"

#include <arpa/inet.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QVBoxLayout>

#include "core/ipv4.h"
#include "qt/input_dialogs.h"

namespace vantrell {
namespace {

constexpr const char* kNetconfTitle = "Modify IP Address";

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// A dotted-quad field as the IP address control takes it.
QLineEdit* AddressEdit(QWidget* parent, Ipv4 value) {
  auto* edit = new QLineEdit(QString::fromStdString(FormatIpv4(value)), parent);
  edit->setValidator(
      new QRegularExpressionValidator(QRegularExpression(R"(^\d{0,3}(\.\d{0,3}){0,3}$)"), edit));
  edit->setMinimumWidth(130);
  return edit;
}

}  // namespace

NetconfDialog::NetconfDialog(const DeviceRecord& record, AddressChangeMask mask,
                             NetconfPurpose purpose, Prompter& prompter, QWidget* parent)
    : QDialog(parent), form_(record, mask, purpose), prompter_(prompter) {
  setWindowTitle(kNetconfTitle);
  BuildControls();
  ApplyVisibility();
  SyncBoxes();
}

void NetconfDialog::BuildControls() {
  auto* identity = new QGridLayout;
  modelName_ = new QLabel(Text(form_.modelNameText()), this);
  mac_ = new QLabel(Text(form_.macText()), this);
  serial_ = new QLabel(Text(form_.serialText()), this);
  // Texts from the device are shown as they are, never read as markup.
  for (QLabel* label : {modelName_, mac_, serial_}) label->setTextFormat(Qt::PlainText);
  identity->addWidget(new QLabel("Model Name:", this), 0, 0);
  identity->addWidget(modelName_, 0, 1);
  identity->addWidget(new QLabel("MAC address", this), 1, 0);
  identity->addWidget(mac_, 1, 1);
  identity->addWidget(new QLabel("Serial Number", this), 2, 0);
  identity->addWidget(serial_, 2, 1);

  autoIp_ = new QCheckBox("AUTOIP", this);
  autoIp_->setChecked(form_.autoIpChecked());
  auto* modeGroup = new QButtonGroup(this);
  const QString modeTexts[] = {"Disable", Text(form_.dhcpLabel()), "Bootp"};
  auto* modeRow = new QHBoxLayout;
  modeRow->addWidget(autoIp_);
  for (int i = 0; i < 3; ++i) {
    modes_[static_cast<std::size_t>(i)] = new QRadioButton(modeTexts[i], this);
    modeGroup->addButton(modes_[static_cast<std::size_t>(i)], i);
    modeRow->addWidget(modes_[static_cast<std::size_t>(i)]);
  }
  modeRow->addStretch(1);
  modeButton(form_.mode())->setChecked(true);
  connect(autoIp_, &QCheckBox::clicked, this, &NetconfDialog::SyncBoxes);

  auto* addresses = new QGridLayout;
  int line = 0;
  for (AddressField field : kAddressFields) {
    auto* box = new QCheckBox(Text(AddressFieldLabel(field)), this);
    box->setChecked(form_.fieldChecked(field));
    auto* edit = AddressEdit(this, form_.address(field));
    boxes_[Index(field)] = box;
    edits_[Index(field)] = edit;
    connect(box, &QCheckBox::clicked, this, &NetconfDialog::SyncBoxes);
    addresses->addWidget(box, line, 0);
    addresses->addWidget(edit, line, 1);
    ++line;
  }

  auto* tip = new QLabel(kNetconfTipText, this);
  explanationIcon_ = new QLabel(this);
  explanationIcon_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32));
  explanation_ = new QLabel(kNetconfImportExplanation, this);
  explanation_->setWordWrap(true);
  auto* explanationRow = new QHBoxLayout;
  explanationRow->addWidget(explanationIcon_, 0, Qt::AlignTop);
  explanationRow->addWidget(explanation_, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(explanationRow);
  layout->addLayout(identity);
  layout->addLayout(modeRow);
  layout->addLayout(addresses);
  layout->addWidget(tip);
  layout->addWidget(buttons);
}

void NetconfDialog::ApplyVisibility() {
  for (AddressField field : kAddressFields) {
    const bool visible = form_.fieldVisible(field);
    boxes_[Index(field)]->setVisible(visible);
    edits_[Index(field)]->setVisible(visible);
  }
  modeButton(AddressMode::kBootp)->setVisible(form_.bootpVisible());
  explanation_->setVisible(form_.explanationVisible());
  explanationIcon_->setVisible(form_.explanationVisible());
}

void NetconfDialog::SyncBoxes() {
  form_.SetAutoIpChecked(autoIp_->isChecked());
  for (QRadioButton* mode : modes_) mode->setEnabled(form_.modeButtonsEnabled());
  for (AddressField field : kAddressFields) {
    form_.SetFieldChecked(field, boxes_[Index(field)]->isChecked());
    edits_[Index(field)]->setEnabled(form_.fieldEnabled(field));
  }
}

void NetconfDialog::ReadValues() {
  SyncBoxes();
  for (std::size_t i = 0; i < modes_.size(); ++i) {
    if (modes_[i]->isChecked()) form_.SetMode(static_cast<AddressMode>(i));
  }
  for (AddressField field : kAddressFields) {
    form_.SetAddress(field, htonl(IpControlValue(edits_[Index(field)]->text())));
  }
}

void NetconfDialog::accept() {
  ReadValues();
  NetconfForm::OkResult result = form_.PressOk();
  if (!result.edited) {
    prompter_.ShowMessage(result.message, MessageIcon::kNone);
    return;
  }
  edited_ = std::move(result.edited);
  QDialog::accept();
}

}  // namespace vantrell
