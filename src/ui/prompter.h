#pragma once
/// The ports through which the window behaviour talks to the operator: the
/// prompter (message boxes, file dialogs, the modal input dialogs, each
/// returning what was entered or nothing for Cancel) and the host of the
/// modal progress dialogs, whose timer drives a dialog behaviour until it
/// ends. The window implements them with widgets, tests with recorders.
/// Message boxes always carry the caption "Search Utility".

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"
#include "ui/netconf_form.h"
#include "ui/row_table.h"

namespace vantrell {

class CCMultipleLogin;
class UpgradeFirmDriver;

/// The caption of every message box.
inline constexpr const char* kMessageCaption = "Search Utility";

enum class PromptButtons { kOk, kYesNo };
enum class PromptAnswer { kOk, kYes, kNo };

/// What the change-password dialog (ChangePasswdDlg) yields: the texts as
/// typed; new and confirm were equal.
struct PasswordChange {
  std::string oldPassword;
  std::string newPassword;
};

/// What the login dialog (CLoginIDPwd) yields on "Login".
struct LoginEntry {
  std::string user;
  std::string password;
};

/// A standard open or save file dialog.
struct FileDialogRequest {
  /// Filter in the form "ini files (*.ini)|*.ini|All files (*.*)|*.*||".
  std::string filter;
  std::string defaultExtension;
};

/// The save dialog of Export Configuration.
inline const FileDialogRequest kConfigurationFileDialog{
    "ini files (*.ini)|*.ini|All files (*.*)|*.*||", "ini"};

class Prompter : public MessageSink {
 public:
  /// One message box; may be called from any thread and returns when the
  /// operator has answered.
  virtual PromptAnswer Ask(std::string_view text, MessageIcon icon, PromptButtons buttons) = 0;
  void ShowMessage(std::string_view text, MessageIcon icon) override {
    Ask(text, icon, PromptButtons::kOk);
  }

  /// The save dialog (with a prompt before overwriting); nothing on Cancel.
  virtual std::optional<std::filesystem::path> SaveFileName(const FileDialogRequest& request) = 0;
  /// The open dialog; nothing on Cancel.
  virtual std::optional<std::filesystem::path> OpenFileName(const FileDialogRequest& request) = 0;

  /// CSpecifyIP "Search Server with IP Address": the entered address with
  /// the first octet in the highest byte (the control's form; empty gives
  /// 0); nothing on Cancel.
  virtual std::optional<std::uint32_t> SpecifyIp() = 0;
  /// CInputPass "Input Password": the typed password (at most 16
  /// characters); nothing on Cancel.
  virtual std::optional<std::string> InputPassword() = 0;
  /// ChangePasswdDlg: old and new password; nothing on Cancel.
  virtual std::optional<PasswordChange> ChangePassword() = 0;
  /// CLoginIDPwd "Username & Password"; nothing when closed without Login.
  virtual std::optional<LoginEntry> LoginIdPassword() = 0;
  /// CCMultipleLogin "Kavex Device Multiple Login", run modally on the
  /// filled dialog: true after OK (the DeviceList records hold the texts),
  /// false after Cancel (nothing stored). Without a dialog of its own a
  /// front end presses OK at once (multiple_login.cc).
  virtual bool MultipleLogin(CCMultipleLogin& dialog);
  /// CNetconf "Modify IP Address" on a copy of `record` with the boxes of
  /// `mask` checked: the edited record after an accepted OK, nothing on
  /// Cancel.
  virtual std::optional<DeviceRecord> EditNetworkSettings(const DeviceRecord& record,
                                                          AddressChangeMask mask,
                                                          NetconfPurpose purpose) {
    (void)record, (void)mask, (void)purpose;
    return std::nullopt;
  }
};

/// Controls of a modal progress dialog besides its list.
class DialogControls {
 public:
  virtual ~DialogControls() = default;
  virtual void SetStatusText(std::string_view text) = 0;
  virtual void SetButtonText(std::string_view text) = 0;
  /// Enables or disables the button (the import's "OK").
  virtual void SetButtonEnabled(bool enabled) { (void)enabled; }
  /// Repaints a row at once, while a long step blocks the message loop.
  virtual void RedrawRow(int row) { (void)row; }
  /// Shows (true) or hides the wait cursor.
  virtual void SetWaitCursor(bool on) { (void)on; }
  /// Waits on the dialog's thread until `finished` holds. The window keeps
  /// serving its events meanwhile, so a worker waiting for a message box
  /// gets it; without an event loop this is a plain wait.
  virtual void WaitServing(const std::function<bool()>& finished);
};

/// What a timer tick of a modal dialog leads to.
enum class TickResult { kContinue, kStopTimer, kEndDialog };

/// Resources and behaviour of one modal dialog with a list, an optional
/// status text and one button (the search and progress dialogs).
class DialogDriver {
 public:
  struct Column {
    std::string title;
    int width;
  };
  struct Layout {
    std::string title;
    std::string buttonText;
    std::vector<Column> columns;
    bool centredColumns = false;
    /// The group box "Status" with a status text above the list.
    bool statusText = false;
    int timerPeriodMs = 100;
    /// Ticks wait while a message box is open (a tick that would wait for
    /// a worker which waits for the operator); the search's ticks never
    /// wait, so its countdown keeps running.
    bool holdTicksWhileMessageOpen = true;
  };

  virtual ~DialogDriver() = default;
  virtual const Layout& layout() const = 0;
  /// The dialog's initialisation: fill the list, start the workers.
  virtual void Open(RowTable& rows, DialogControls& controls) = 0;
  virtual TickResult OnTick() = 0;
  /// The button (also Esc and the close box); the dialog ends afterwards.
  virtual void OnButton() = 0;
};

/// Runs a dialog driver modally: Open, then OnTick every period until the
/// driver stops the timer or ends the dialog, OnButton when pressed.
class ModalDialogHost {
 public:
  virtual ~ModalDialogHost() = default;
  virtual void RunModal(DialogDriver& driver) = 0;
  /// CUpgradeFirm with its two timers. By default as any progress dialog,
  /// each tick running timer 1, then timer 2 (upgrade_firm.cc).
  virtual void RunUpgradeModal(UpgradeFirmDriver& driver);
};

}  // namespace vantrell
