#pragma once
/// CNetconf "Modify IP Address" drawn with widgets over NetconfForm: the
/// three device texts, the "AUTOIP" box with its mode buttons, the five
/// address boxes with their fields, the tip, and (when the import opened it
/// for review) the explanation with its information icon. Every click on a
/// box re-reads the boxes and enables the fields; OK checks the five
/// addresses and stays open with the message of the first unusable one.

#include <QDialog>
#include <array>
#include <optional>

#include "ui/netconf_form.h"
#include "ui/prompter.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace vantrell {

class NetconfDialog : public QDialog {
  Q_OBJECT
 public:
  NetconfDialog(const DeviceRecord& record, AddressChangeMask mask, NetconfPurpose purpose,
                Prompter& prompter, QWidget* parent = nullptr);

  /// The edited record after an accepted OK.
  const std::optional<DeviceRecord>& edited() const { return edited_; }

  QCheckBox* autoIpBox() const { return autoIp_; }
  QRadioButton* modeButton(AddressMode mode) const {
    return modes_[static_cast<std::size_t>(mode)];
  }
  QCheckBox* fieldBox(AddressField field) const { return boxes_[Index(field)]; }
  QLineEdit* fieldEdit(AddressField field) const { return edits_[Index(field)]; }
  QLabel* explanation() const { return explanation_; }
  QLabel* modelNameText() const { return modelName_; }
  QLabel* macText() const { return mac_; }
  QLabel* serialText() const { return serial_; }

  void accept() override;

 private:
  static std::size_t Index(AddressField field) { return static_cast<std::size_t>(field); }
  void BuildControls();
  void ApplyVisibility();
  /// Re-reads the boxes into the form and enables what they enable.
  void SyncBoxes();
  /// Takes the mode button and the five fields into the form.
  void ReadValues();

  NetconfForm form_;
  Prompter& prompter_;
  std::optional<DeviceRecord> edited_;
  QLabel* modelName_ = nullptr;
  QLabel* mac_ = nullptr;
  QLabel* serial_ = nullptr;
  QCheckBox* autoIp_ = nullptr;
  std::array<QRadioButton*, 3> modes_{};
  std::array<QCheckBox*, kAddressFieldCount> boxes_{};
  std::array<QLineEdit*, kAddressFieldCount> edits_{};
  QLabel* explanation_ = nullptr;
  QLabel* explanationIcon_ = nullptr;
};

}  // namespace vantrell
