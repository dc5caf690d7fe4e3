#pragma once
/// The behaviour of CCMultipleLogin "Kavex Device Multiple Login" (dialog
/// 159): one row per video server of the selection with its address, MAC
/// address, user name and masked password; a click on a Username or
/// Password cell opens an in-place box over it; "Apply All" copies the
/// selected row's texts to every row; OK stores every row into the
/// DeviceList records, Cancel stores nothing.
///
/// Texts are kept as typed while the dialog is open; a record keeps at most
/// 15 bytes of each (the window's boxes refuse a 16th character, anything
/// longer that still arrives is cut on a character boundary when stored).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/device_list.h"
#include "ui/row_table.h"

namespace vantrell {

/// The list and the two in-place boxes as the toolkit shows them.
class MultipleLoginView : public RowTable {
 public:
  virtual void HideUserBox() = 0;
  virtual void HidePasswordBox() = 0;
  /// Moves the box over the cell, shows it, gives it the focus and
  /// selects its whole text.
  virtual void OpenUserBox(int row, std::string_view text) = 0;
  virtual void OpenPasswordBox(int row, std::string_view text) = 0;
  /// The selected row of the list, or -1.
  virtual int SelectedRow() const = 0;
};

/// A rectangle in dialog coordinates.
struct EditorRect {
  int left;
  int top;
  int width;
  int height;
};
/// How far below the cell's top a box opens, and how much lower it is than
/// the cell.
inline constexpr int kEditorTopOffset = 25;
inline constexpr int kEditorHeightLoss = 10;
/// Where a box opens over a cell, in dialog coordinates: the cell's left
/// (counted in the list's client area) plus the distance from the dialog
/// window's left edge to the list's, the cell's top plus 25, the cell's
/// width, its height less 10.
EditorRect InPlaceEditorRect(const EditorRect& cell, int listLeftOffset);

/// One "*" per character (UTF-8 sequences count once).
std::string MaskedPassword(std::string_view password);

class CCMultipleLogin {
 public:
  enum Column : int { kColIpAddress = 0, kColMacAddress, kColUsername, kColPassword };
  struct ColumnSpec {
    const char* title;
    int width;
  };
  static constexpr ColumnSpec kColumns[] = {
      {"IP Address", 100}, {"MAC Address", 130}, {"Username", 100}, {"Password", 100}};
  static constexpr const char* kTitle = "Kavex Device Multiple Login";
  static constexpr const char* kDefaultUser = "admin";

  struct Entry {
    DeviceRecord record;  ///< copy taken when the device was added
    std::size_t index;    ///< position in the DeviceList
    std::string user;     ///< as being edited
    std::string password;
  };

  /// Offered every selected device in turn; keeps only video servers.
  void addDevice(DeviceList& list, const DeviceRecord& record, std::size_t index);
  const std::vector<Entry>& entries() const { return entries_; }
  bool empty() const { return entries_.empty(); }

  /// The dialog's initialisation: hides both boxes, fills one row per
  /// device with "admin" and an empty password.
  void Init(MultipleLoginView& view);
  /// A click on a cell; -1 for a point outside any row or column.
  void OnCellClick(int row, int column);
  /// The text of the user name box changed while it had the focus.
  void OnUserTextChanged(std::string_view text);
  /// The text of the password box changed while it had the focus.
  void OnPasswordTextChanged(std::string_view text);
  void OnApplyAll();
  /// Stores every row into its DeviceList record.
  void OnOk();
  /// Closes without storing.
  void OnCancel() {}

  int editRow() const { return editRow_; }
  int editColumn() const { return editColumn_; }

 private:
  void ShowRow(std::size_t row);

  DeviceList* list_ = nullptr;
  MultipleLoginView* view_ = nullptr;
  std::vector<Entry> entries_;
  int editRow_ = -1;
  int editColumn_ = -1;
};

}  // namespace vantrell
