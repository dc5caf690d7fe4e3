#include "qt/input_dialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/main_menu.h"

namespace vantrell {
namespace {

QLineEdit* PasswordBox(QWidget* parent, int limit) {
  auto* edit = new QLineEdit(parent);
  edit->setEchoMode(QLineEdit::Password);
  if (limit > 0) edit->setMaxLength(limit);
  return edit;
}

QDialogButtonBox* OkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace

std::uint32_t IpControlValue(const QString& text) {
  const QStringList octets = text.split('.');
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    const uint octet = i < octets.size() ? octets[i].trimmed().toUInt() : 0;
    value = (value << 8) | (octet > 255 ? 255 : octet);
  }
  return value;
}

SpecifyIpDialog::SpecifyIpDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Search Server with IP Address");
  address_ = new QLineEdit(this);
  address_->setObjectName("ipAddress");
  address_->setValidator(new QRegularExpressionValidator(
      QRegularExpression(R"(^\d{0,3}(\.\d{0,3}){0,3}$)"), address_));
  address_->setPlaceholderText("0.0.0.0");
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("IP Address", this));
  row->addWidget(address_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(OkCancel(this));
}

std::uint32_t SpecifyIpDialog::address() const { return IpControlValue(address_->text()); }

InputPassDialog::InputPassDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Input Password");
  password_ = PasswordBox(this, kPasswordBoxLimit);
  auto* form = new QFormLayout;
  form->addRow("UserName:", new QLabel("admin", this));
  form->addRow("Password:", password_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(OkCancel(this));
}

std::string InputPassDialog::password() const { return password_->text().toStdString(); }

ChangePasswdDialog::ChangePasswdDialog(Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
  setWindowTitle("Dialog");
  old_ = PasswordBox(this, kPasswordBoxLimit);
  new_ = PasswordBox(this, kPasswordBoxLimit);
  confirm_ = PasswordBox(this, kPasswordBoxLimit);
  auto* form = new QFormLayout;
  form->addRow("User name :", new QLabel("admin", this));
  form->addRow("Old Password :", old_);
  form->addRow("New Password :", new_);
  form->addRow("Confirm Password :", confirm_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(OkCancel(this));
}

PasswordChange ChangePasswdDialog::change() const {
  return {old_->text().toStdString(), new_->text().toStdString()};
}

void ChangePasswdDialog::accept() {
  if (new_->text() != confirm_->text()) {
    prompter_.ShowMessage("confirm password mismatch", MessageIcon::kStop);
    return;
  }
  QDialog::accept();
}

LoginIdPwdDialog::LoginIdPwdDialog(Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
  setWindowTitle("Username & Password");
  user_ = new QLineEdit(this);
  user_->setMaxLength(kLoginBoxLimit);
  password_ = PasswordBox(this, kLoginBoxLimit);
  auto* form = new QFormLayout;
  form->addRow(QString::fromUtf8("Username\xEF\xBC\x9A"), user_);
  form->addRow(QString::fromUtf8("Password\xEF\xBC\x9A"), password_);
  auto* login = new QPushButton("Login", this);
  login->setDefault(true);
  connect(login, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(login, 0, Qt::AlignRight);
}

LoginEntry LoginIdPwdDialog::entry() const {
  return {user_->text().toStdString(), password_->text().toStdString()};
}

void LoginIdPwdDialog::accept() {
  const LoginEntry typed = entry();
  constexpr auto limit = static_cast<std::size_t>(kLoginBoxLimit);
  if (typed.user.size() > limit || typed.password.size() > limit) {
    prompter_.ShowMessage("Enter no more than " + std::to_string(kLoginBoxLimit) + " characters.",
                          MessageIcon::kNone);
    return;
  }
  QDialog::accept();
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(kAboutTitle);
  auto* icon = new QLabel(this);
  icon->setPixmap(QApplication::windowIcon().isNull()
                      ? style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32)
                      : QApplication::windowIcon().pixmap(32, 32));
  auto* texts = new QVBoxLayout;
  texts->addWidget(new QLabel(kProductName, this));
  texts->addWidget(new QLabel(kProductVersion, this));
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(icon, 0, Qt::AlignTop);
  layout->addLayout(texts, 1);
  layout->addWidget(ok, 0, Qt::AlignTop);
}

}  // namespace vantrell
