#include "qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
#include <iostream>

#include "net/arp_route_bracket.h"
#include "platform/netd_client.h"
#include "qt/device_list_widget.h"
#include "qt/fleet_file_dialogs.h"
#include "qt/info_pane.h"
#include "qt/input_dialogs.h"
#include "qt/lock_indicators.h"
#include "qt/progress_dialog.h"
#include "qt/qt_prompter.h"
#include "ui/device_list_file.h"
#include "ui/main_menu.h"
#include "ui/window_backup.h"

namespace vantrell {
namespace {

QStyle::StandardPixmap ToolbarIcon(int id) {
  switch (id) {
    case kCmdBroadcastSearch:
      return QStyle::SP_BrowserReload;
    case kCmdSpecifyIp:
      return QStyle::SP_FileDialogContentsView;
    case kCmdUpgradeFirmware:
      return QStyle::SP_ArrowUp;
    case kCmdModifyIp:
      return QStyle::SP_FileDialogDetailedView;
    case kCmdChangePassword:
      return QStyle::SP_DialogResetButton;
    case kCmdUnlock:
      return QStyle::SP_DialogYesButton;
    case kCmdImportConfiguration:
      return QStyle::SP_DialogOpenButton;
    case kCmdExportConfiguration:
      return QStyle::SP_DialogSaveButton;
    case kCmdWebConsole:
      return QStyle::SP_DriveNetIcon;
    default:
      return QStyle::SP_CustomBase;
  }
}

void ApplyPrompt(QAction* action, int id) {
  if (const auto prompt = PromptFor(id)) {
    action->setStatusTip(QString::fromStdString(prompt->statusText));
    action->setToolTip(QString::fromStdString(prompt->tooltip));
  }
}

}  // namespace

MainWindow::MainWindow(ServicesFactory services, QWidget* parent)
    : QMainWindow(parent),
      prompter_(std::make_unique<QtPrompter>()),
      dialogHost_(std::make_unique<QtDialogHost>(prompter_.get(), this)) {
  prompter_->setParentWidget(this);
  setWindowTitle(kMainWindowTitle);
  setDockOptions(dockOptions() | QMainWindow::AnimatedDocks);

  list_ = new DeviceListWidget;
  info_ = new InfoPane(document_);
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->addWidget(list_);
  splitter_->addWidget(info_);
  splitter_->setChildrenCollapsible(false);
  // The list keeps its width; the information pane takes every resize.
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  splitter_->setSizes({kListPaneWidth, 400});
  setCentralWidget(splitter_);

  OrvListView::Services listServices;
  if (services) {
    listServices = services(*prompter_);
  } else {
    NetdStart helper = StartNetdHelper();
    netd_ = std::move(helper.client);
    netdNotice_ = helper.notice;
    if (!netd_) std::cerr << netdNotice_ << "\n";
    bracket_ = std::make_unique<ArpRouteBracket>(netd_.get(), *prompter_);
    listServices = SystemListServices(bracket_.get(), *prompter_, [](const std::string& url) {
      QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
    });
  }
  servicesBracket_ = listServices.bracket;
  servicesTiming_ = listServices.timing;
  listView_ = std::make_unique<OrvListView>(
      document_,
      OrvListView::Ports{*list_, *prompter_, *dialogHost_,
                         [this](int index) { info_->showDevice(index); },
                         [this](const std::string& text) {
                           statusBar()->showMessage(QString::fromStdString(text));
                         }},
      std::move(listServices));
  list_->setView(listView_.get());

  BuildMenus();
  BuildToolBar();
  BuildStatusBar();
  BuildPopup();
  if (!services && !netd_) statusBar()->showMessage(QString::fromStdString(netdNotice_), 15000);

  connect(list_, &QTreeWidget::itemSelectionChanged, this, &MainWindow::updateCommandStates);
  connect(list_, &QTreeWidget::currentItemChanged, this, &MainWindow::updateCommandStates);
  connect(list_, &DeviceListWidget::settingMenuRequested, this, [this](const QPoint& at) {
    updateCommandStates();
    settingMenu_->exec(at);
  });
  auto* next = new QShortcut(QKeySequence(Qt::Key_F6), this);
  auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), this);
  connect(next, &QShortcut::activated, this, &MainWindow::FocusOtherPane);
  connect(previous, &QShortcut::activated, this, &MainWindow::FocusOtherPane);
  qApp->installEventFilter(this);
  resize(1000, 560);
  updateCommandStates();
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  list_->setView(nullptr);
  listView_.reset();  // removes the ARP entries and routes while the bracket lives
}

QAction* MainWindow::MakeAction(int id, const char* text) {
  auto* action = new QAction(QString::fromUtf8(text), this);
  action->setData(id);
  ApplyPrompt(action, id);
  connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
  return action;
}

void MainWindow::BuildMenus() {
  for (const Menu& menu : MainMenu()) {
    QMenu* qmenu = menuBar()->addMenu(QString::fromUtf8(menu.title));
    connect(qmenu, &QMenu::aboutToShow, this, &MainWindow::updateCommandStates);
    for (const MenuEntry& entry : menu.entries) {
      if (entry.id == kSeparator) {
        qmenu->addSeparator();
        continue;
      }
      QAction* action = MakeAction(entry.id, entry.text);
      if (entry.id == kCmdToggleToolbar || entry.id == kCmdToggleStatusBar) {
        action->setCheckable(true);
        action->setChecked(true);
      }
      if (entry.id != kCmdToggleToolbar && entry.id != kCmdToggleStatusBar &&
          entry.id != kCmdAbout && entry.id != kCmdExit) {
        action->setIcon(style()->standardIcon(ToolbarIcon(entry.id)));
        action->setIconVisibleInMenu(false);
      }
      actions_[entry.id] = action;
      qmenu->addAction(action);
    }
  }
}

void MainWindow::BuildToolBar() {
  toolBar_ = new QToolBar("Toolbar", this);
  toolBar_->setObjectName("toolbar");
  toolBar_->setMovable(true);
  toolBar_->setFloatable(true);
  toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
  toolBar_->setIconSize(QSize(16, 16));
  for (int id : ToolbarButtons()) {
    if (id == kSeparator) {
      toolBar_->addSeparator();
    } else {
      toolBar_->addAction(actions_.at(id));
    }
  }
  addToolBar(Qt::TopToolBarArea, toolBar_);
}

void MainWindow::BuildStatusBar() {
  auto* ready = new QLabel(kIdleStatusText);
  statusBar()->addWidget(ready, 1);
  for (const char* text : kIndicatorTexts) {
    auto* label = new QLabel(text);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance("SCRL") + 8);
    statusBar()->addPermanentWidget(label);
    indicators_.push_back(label);
  }
  UpdateLockIndicators();
}

void MainWindow::UpdateLockIndicators() {
  const LockStates states = ReadLockStates();
  for (std::size_t i = 0; i < indicators_.size() && i < states.size(); ++i) {
    // Unknown stays dimmed: no guess from the keys this window happens to see.
    indicators_[i]->setEnabled(states[i].value_or(false));
  }
}

void MainWindow::BuildPopup() {
  const Menu& popup = SettingPopup();
  settingMenu_ = new QMenu(QString::fromUtf8(popup.title), this);
  for (const MenuEntry& entry : popup.entries) {
    if (entry.id == kSeparator) {
      settingMenu_->addSeparator();
      continue;
    }
    QAction* action = MakeAction(entry.id, entry.text);
    popupActions_.emplace(entry.id, action);
    settingMenu_->addAction(action);
  }
}

QAction* MainWindow::action(int id) const {
  const auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

bool MainWindow::commandEnabled(int id) const {
  switch (id) {
    case kCmdSaveListAs:
      return !document_.empty();
    case kCmdBackupConfigurations:
      return !list_->SelectedRows().empty();
    default:
      return listView_->CommandEnabled(id);
  }
}

void MainWindow::updateCommandStates() {
  if (!listView_) return;
  for (auto& [id, action] : actions_) action->setEnabled(commandEnabled(id));
  for (auto& [id, action] : popupActions_) action->setEnabled(commandEnabled(id));
  actions_.at(kCmdToggleToolbar)->setChecked(toolBar_ && !toolBar_->isHidden());
  actions_.at(kCmdToggleStatusBar)->setChecked(!statusBar()->isHidden());
}

void MainWindow::runCommand(int id) {
  switch (id) {
    case kCmdExit:
      close();
      return;
    case kCmdAbout: {
      AboutDialog about(this);
      about.exec();
      return;
    }
    case kCmdToggleToolbar:
      toolBar_->setVisible(toolBar_->isHidden());
      break;
    case kCmdToggleStatusBar:
      statusBar()->setVisible(statusBar()->isHidden());
      break;
    case kCmdSaveListAs:
      SaveListAs();
      break;
    case kCmdBackupConfigurations:
      BackupConfigurations();
      break;
    default:
      listView_->OnCommand(id);
      break;
  }
  updateCommandStates();
}

void MainWindow::SaveListAs() {
  if (document_.empty()) return;
  const auto path = AskDeviceListFile(this);
  if (path) RunSaveListAs(document_, *path, *prompter_);
}

void MainWindow::BackupConfigurations() {
  RunWindowBackup(document_, list_->SelectedRows(),
                  {*prompter_, *dialogHost_, [this] { return AskBackupFolder(this); },
                   servicesBracket_, servicesTiming_});
}

void MainWindow::FocusOtherPane() {
  if (list_->hasFocus()) {
    info_->setFocus(Qt::ShortcutFocusReason);
  } else {
    list_->setFocus(Qt::ShortcutFocusReason);
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // Every key event reaches the window object exactly once; a lock key
  // may have changed what the keyboard shows, and so may another program
  // while this window was inactive.
  const QEvent::Type type = event->type();
  if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && watched->isWindowType()) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_CapsLock:
      case Qt::Key_NumLock:
      case Qt::Key_ScrollLock:
        UpdateLockIndicators();
        break;
      default:
        break;
    }
  } else if (type == QEvent::WindowActivate && watched == this) {
    UpdateLockIndicators();
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace vantrell
