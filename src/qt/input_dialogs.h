#pragma once
/// The small modal dialogs of the window: CSpecifyIP "Search Server with IP
/// Address", CInputPass "Input Password", ChangePasswdDlg "Dialog",
/// CLoginIDPwd "Username & Password" and the About box.

#include <QDialog>
#include <cstdint>
#include <string>

#include "ui/prompter.h"

class QLineEdit;

namespace vantrell {

/// The IP address control's value of a dotted text, first octet in the
/// highest byte: missing octets are 0, octets above 255 read as 255.
std::uint32_t IpControlValue(const QString& text);

/// The longest password the password boxes accept.
inline constexpr int kPasswordBoxLimit = 16;
/// The longest user name and password CLoginIDPwd accepts: the record keeps
/// at most 15 bytes of each, and a longer text would be cut unseen.
inline constexpr int kLoginBoxLimit = 15;

class SpecifyIpDialog : public QDialog {
  Q_OBJECT
 public:
  explicit SpecifyIpDialog(QWidget* parent = nullptr);
  std::uint32_t address() const;
  QLineEdit* addressEdit() const { return address_; }

 private:
  QLineEdit* address_;
};

class InputPassDialog : public QDialog {
  Q_OBJECT
 public:
  explicit InputPassDialog(QWidget* parent = nullptr);
  std::string password() const;
  QLineEdit* passwordEdit() const { return password_; }

 private:
  QLineEdit* password_;
};

class ChangePasswdDialog : public QDialog {
  Q_OBJECT
 public:
  ChangePasswdDialog(Prompter& prompter, QWidget* parent = nullptr);
  PasswordChange change() const;
  QLineEdit* oldEdit() const { return old_; }
  QLineEdit* newEdit() const { return new_; }
  QLineEdit* confirmEdit() const { return confirm_; }

  /// OK: "confirm password mismatch" keeps the dialog open when the new
  /// and confirm texts differ.
  void accept() override;

 private:
  Prompter& prompter_;
  QLineEdit* old_;
  QLineEdit* new_;
  QLineEdit* confirm_;
};

class LoginIdPwdDialog : public QDialog {
  Q_OBJECT
 public:
  LoginIdPwdDialog(Prompter& prompter, QWidget* parent = nullptr);
  LoginEntry entry() const;
  QLineEdit* userEdit() const { return user_; }
  QLineEdit* passwordEdit() const { return password_; }

  /// "Login": refuses a text of more than 15 bytes (non-ASCII characters
  /// take several) with "Enter no more than 15 characters.".
  void accept() override;

 private:
  Prompter& prompter_;
  QLineEdit* user_;
  QLineEdit* password_;
};

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace vantrell
