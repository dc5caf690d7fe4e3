#pragma once
/// The main window "VANTRELL Configurator": menus, dockable toolbar, status
/// bar, and a splitter with the device list (575 pixels) and the
/// information pane. It owns the document's device list and routes every
/// command to the device list view, wherever the keyboard focus is.

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/device_list.h"
#include "core/timing.h"
#include "ui/orv_list_view.h"

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

namespace vantrell {

class ArpRouteBracket;
class NetdClient;
class DeviceListWidget;
class InfoPane;
class QtDialogHost;
class QtPrompter;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  /// Builds the services of the device list from the window's prompter;
  /// without one the window uses the real network and system tables.
  using ServicesFactory = std::function<OrvListView::Services(QtPrompter&)>;

  explicit MainWindow(ServicesFactory services = {}, QWidget* parent = nullptr);
  ~MainWindow() override;

  DeviceList& document() { return document_; }
  OrvListView& listView() { return *listView_; }
  DeviceListWidget* listWidget() const { return list_; }
  InfoPane* infoPane() const { return info_; }
  QToolBar* toolBar() const { return toolBar_; }
  QtPrompter& prompter() { return *prompter_; }
  /// The menu and toolbar action of a command.
  QAction* action(int id) const;
  /// The popup "Setting" (its entries share the commands' enabling).
  QMenu* settingMenu() const { return settingMenu_; }

  /// The enabling rule of a command: the list view's, and the window's own
  /// for Save List As (a listed device) and Backup Configurations (a
  /// selected one).
  bool commandEnabled(int id) const;
  /// Re-evaluates every command's enabling rule.
  void updateCommandStates();
  /// Carries out a command as the menus do.
  void runCommand(int id);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolBar();
  void BuildStatusBar();
  void BuildPopup();
  QAction* MakeAction(int id, const char* text);
  void FocusOtherPane();
  void SaveListAs();
  void BackupConfigurations();
  /// Shows the keyboard's lock states as the platform tells them now.
  void UpdateLockIndicators();

  DeviceList document_;
  std::unique_ptr<QtPrompter> prompter_;
  std::unique_ptr<QtDialogHost> dialogHost_;
  std::unique_ptr<NetdClient> netd_;  ///< the network helper; null without one
  std::string netdNotice_;            ///< how to install the helper, when there is none
  std::unique_ptr<ArpRouteBracket> bracket_;
  /// The bracket and timing of the list's services, for the backup.
  ArpRouteBracket* servicesBracket_ = nullptr;
  Timing servicesTiming_;
  DeviceListWidget* list_ = nullptr;
  InfoPane* info_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QMenu* settingMenu_ = nullptr;
  std::map<int, QAction*> actions_;
  std::multimap<int, QAction*> popupActions_;
  /// "CAP", "NUM", "SCRL": lit while the lock is on, dimmed while it is
  /// off or the platform does not tell.
  std::vector<QLabel*> indicators_;
  std::unique_ptr<OrvListView> listView_;
};

}  // namespace vantrell
