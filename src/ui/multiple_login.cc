#include "ui/multiple_login.h"

#include "core/model_table.h"
#include "core/text_forms.h"
#include "ops/video_server_export.h"
#include "ui/prompter.h"

namespace vantrell {

EditorRect InPlaceEditorRect(const EditorRect& cell, int listLeftOffset) {
  return {cell.left + listLeftOffset, cell.top + kEditorTopOffset, cell.width,
          cell.height - kEditorHeightLoss};
}

std::string MaskedPassword(std::string_view password) {
  std::size_t characters = 0;
  for (const char c : password) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  }
  return std::string(characters, '*');
}

void CCMultipleLogin::addDevice(DeviceList& list, const DeviceRecord& record, std::size_t index) {
  list_ = &list;
  if (!IsKavexModelId(record.modelId)) return;
  entries_.push_back({record, index, kDefaultUser, ""});
}

void CCMultipleLogin::Init(MultipleLoginView& view) {
  view_ = &view;
  view.HideUserBox();
  view.HidePasswordBox();
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    Entry& entry = entries_[i];
    entry.user = kDefaultUser;
    entry.password.clear();
    view.InsertRow(static_cast<int>(i), FormatIpv4(entry.record.ipAddr));
    view.SetCell(static_cast<int>(i), kColMacAddress, FormatMac(entry.record.mac));
    ShowRow(i);
  }
}

void CCMultipleLogin::ShowRow(std::size_t row) {
  if (!view_) return;
  view_->SetCell(static_cast<int>(row), kColUsername, entries_[row].user);
  view_->SetCell(static_cast<int>(row), kColPassword, MaskedPassword(entries_[row].password));
}

void CCMultipleLogin::OnCellClick(int row, int column) {
  if (!view_ || row < 0 || static_cast<std::size_t>(row) >= entries_.size()) return;
  if (column != kColUsername && column != kColPassword) return;
  editRow_ = row;
  editColumn_ = column;
  view_->HideUserBox();
  view_->HidePasswordBox();
  const Entry& entry = entries_[static_cast<std::size_t>(row)];
  if (column == kColUsername) {
    view_->OpenUserBox(row, entry.user);
  } else {
    view_->OpenPasswordBox(row, entry.password);
  }
}

void CCMultipleLogin::OnUserTextChanged(std::string_view text) {
  if (editRow_ < 0 || static_cast<std::size_t>(editRow_) >= entries_.size()) return;
  entries_[static_cast<std::size_t>(editRow_)].user = text;
  ShowRow(static_cast<std::size_t>(editRow_));
  if (view_) view_->HidePasswordBox();
}

void CCMultipleLogin::OnPasswordTextChanged(std::string_view text) {
  if (editRow_ < 0 || static_cast<std::size_t>(editRow_) >= entries_.size()) return;
  entries_[static_cast<std::size_t>(editRow_)].password = text;
  ShowRow(static_cast<std::size_t>(editRow_));
  if (view_) view_->HideUserBox();
}

void CCMultipleLogin::OnApplyAll() {
  std::string user;
  std::string password;
  const int selected = view_ ? view_->SelectedRow() : -1;
  if (selected >= 0 && static_cast<std::size_t>(selected) < entries_.size()) {
    user = entries_[static_cast<std::size_t>(selected)].user;
    password = entries_[static_cast<std::size_t>(selected)].password;
  }
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    entries_[i].user = user;
    entries_[i].password = password;
    ShowRow(i);
  }
}

void CCMultipleLogin::OnOk() {
  if (!list_) return;
  for (const Entry& entry : entries_) {
    if (entry.index >= list_->size()) continue;
    StoreKavexCredentials((*list_)[entry.index], entry.user, entry.password);
  }
}

bool Prompter::MultipleLogin(CCMultipleLogin& dialog) {
  // Without a dialog of its own a front end accepts the defaults.
  dialog.OnOk();
  return true;
}

}  // namespace vantrell
