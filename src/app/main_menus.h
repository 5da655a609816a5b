#pragma once
// The main window's menu bar and the tray menu: captions, access keys, shortcuts, icons.

#include <QIcon>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QToolButton;

namespace jubilora {

struct MainMenus {
  QAction* menuBackup = nullptr;
  QAction* menuRestore = nullptr;
  QAction* menuSynchronize = nullptr;
  QMenu* menuExport = nullptr;
  QAction* menuExportCsv = nullptr;
  QAction* menuExportIcs = nullptr;
  QAction* menuSnooze = nullptr;
  QAction* menuExit = nullptr;
  QAction* menuAddNew = nullptr;
  QAction* menuShowEditor = nullptr;
  QAction* menuImportContacts = nullptr;
  QAction* menuAddSample = nullptr;
  QAction* menuRemoveSample = nullptr;
  QAction* menuRefresh = nullptr;
  QAction* menuPreferences = nullptr;
  QAction* menuOnTop = nullptr;
  QAction* menuAutostart = nullptr;
  QAction* menuOnceADay = nullptr;
  QAction* menuShowHelp = nullptr;
  QMenu* menuBrowse = nullptr;
  QAction* menuStartupCheck = nullptr;
  QAction* menuCheckNow = nullptr;
  QAction* menuVendorSite = nullptr;
  QAction* menuVendorMirror = nullptr;
  QAction* menuMakerSite = nullptr;
  QMenu* menuSupport = nullptr;
  QAction* menuQuestion = nullptr;
  QAction* menuComment = nullptr;
  QAction* menuBug = nullptr;
  QAction* menuAbout = nullptr;
  QToolButton* menuRightSnooze = nullptr;

  QMenu* trayMenu = nullptr;
  QAction* menuTrayShow = nullptr;
  QAction* menuTrayExit = nullptr;
};

// Builds every entry on the window's menu bar; nothing is connected yet.
MainMenus BuildMainMenus(QMainWindow* window);

// The menu icons: the desktop's theme first, our own pictures otherwise.
enum class MenuImage { Unticked, Ticked, Exit, AddNew, Preferences, Backup, Restore, Synchronize, Snooze,
                       Editor, OnTop, NotOnTop, Help, Export };
QIcon MenuIcon(MenuImage image);

}  // namespace jubilora
