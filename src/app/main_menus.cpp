#include "app/main_menus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include "online/links.h"

namespace jubilora {

namespace {

struct IconSource {
  const char* theme;  // empty: always our own picture
  const char* file;
};

IconSource SourceOf(MenuImage image) {
  switch (image) {
    case MenuImage::Unticked: return {"", "menu_unticked"};
    case MenuImage::Ticked: return {"", "menu_ticked"};
    case MenuImage::Exit: return {"application-exit", "menu_exit"};
    case MenuImage::AddNew: return {"list-add", "menu_add"};
    case MenuImage::Preferences: return {"preferences-system", "menu_preferences"};
    case MenuImage::Backup: return {"document-save", "menu_backup"};
    case MenuImage::Restore: return {"document-revert", "menu_restore"};
    case MenuImage::Synchronize: return {"emblem-synchronizing", "menu_synchronize"};
    case MenuImage::Snooze: return {"", "menu_snooze"};
    case MenuImage::Editor: return {"accessories-text-editor", "menu_editor"};
    case MenuImage::OnTop: return {"", "menu_ontop"};
    case MenuImage::NotOnTop: return {"", "menu_notontop"};
    case MenuImage::Help: return {"help-contents", "menu_help"};
    case MenuImage::Export: return {"document-export", "menu_export"};
  }
  return {"", "menu_unticked"};
}

QAction* Entry(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut = {}) {
  auto* action = menu->addAction(caption);
  action->setObjectName(name);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  return action;
}

QAction* Entry(QMenu* menu, const char* name, const QString& caption, MenuImage image,
               const QKeySequence& shortcut = {}) {
  auto* action = Entry(menu, name, caption, shortcut);
  action->setIcon(MenuIcon(image));
  return action;
}

}  // namespace

QIcon MenuIcon(MenuImage image) {
  const IconSource source = SourceOf(image);
  const QIcon own(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(source.file)));
  if (*source.theme == '\0') return own;
  return QIcon::fromTheme(QLatin1String(source.theme), own);
}

MainMenus BuildMainMenus(QMainWindow* window) {
  MainMenus m;
  QMenuBar* bar = window->menuBar();

  QMenu* file = bar->addMenu(QObject::tr("&File"));
  m.menuBackup = Entry(file, "menuBackup", "&Backup", MenuImage::Backup, QKeySequence("Ctrl+B"));
  m.menuRestore = Entry(file, "menuRestore", "&Restore", MenuImage::Restore, QKeySequence("Ctrl+R"));
  file->addSeparator();
  m.menuSynchronize = Entry(file, "menuSynchronize", "S&ynchronize", MenuImage::Synchronize, QKeySequence("Ctrl+Y"));
  file->addSeparator();
  m.menuExport = file->addMenu(MenuIcon(MenuImage::Export), "&Export");
  m.menuExport->setObjectName("menuExport");
  m.menuExportCsv = Entry(m.menuExport, "menuExportCsv", "&Comma-Separated Values...");
  m.menuExportIcs = Entry(m.menuExport, "menuExportIcs", "&iCalendar...");
  file->addSeparator();
  m.menuSnooze = Entry(file, "menuSnooze", "&Snooze", MenuImage::Snooze, QKeySequence("Ctrl+S"));
  m.menuExit = Entry(file, "menuExit", "E&xit", MenuImage::Exit, QKeySequence("Alt+F4"));

  QMenu* anniversary = bar->addMenu("&Anniversary");
  m.menuAddNew = Entry(anniversary, "menuAddNew", "Add &New", MenuImage::AddNew, QKeySequence("Ctrl+N"));
  m.menuShowEditor = Entry(anniversary, "menuShowEditor", "Show &Editor", MenuImage::Editor, QKeySequence("Ctrl+E"));
  m.menuImportContacts = Entry(anniversary, "menuImportContacts", "Import from &Contacts...");
  anniversary->addSeparator();
  m.menuAddSample = Entry(anniversary, "menuAddSample", "Add &Sample Data", QKeySequence("Ctrl+Ins"));
  m.menuRemoveSample = Entry(anniversary, "menuRemoveSample", "&Remove Sample Data", QKeySequence("Ctrl+Del"));
  anniversary->addSeparator();
  m.menuRefresh = Entry(anniversary, "menuRefresh", "R&efresh", QKeySequence("F5"));

  QMenu* options = bar->addMenu("&Options");
  m.menuPreferences = Entry(options, "menuPreferences", "&Preferences", MenuImage::Preferences, QKeySequence("Ctrl+P"));
  m.menuOnTop = Entry(options, "menuOnTop", "Always on &Top", MenuImage::NotOnTop, QKeySequence("Ctrl+T"));
  m.menuOnTop->setCheckable(true);
  options->addSeparator();
  m.menuAutostart = Entry(options, "menuAutostart", "&Autostart at Log-on...", MenuImage::Unticked);
  m.menuAutostart->setCheckable(true);
  m.menuOnceADay = Entry(options, "menuOnceADay", "... But Only Once a Day!", MenuImage::Unticked);
  m.menuOnceADay->setCheckable(true);

  QMenu* help = bar->addMenu("&Help");
  m.menuShowHelp = Entry(help, "menuShowHelp", "&Help", MenuImage::Help, QKeySequence("F1"));
  help->addSeparator();
  m.menuBrowse = help->addMenu("&Browse Web for Updates");
  m.menuBrowse->setObjectName("menuBrowse");
  m.menuStartupCheck = Entry(m.menuBrowse, "menuStartupCheck", "&Try to Check on Startup");
  m.menuStartupCheck->setCheckable(true);
  m.menuCheckNow = Entry(m.menuBrowse, "menuCheckNow", "Check &Now");
  m.menuBrowse->addSeparator();
  m.menuVendorSite = Entry(m.menuBrowse, "menuVendorSite", QString("&Download Site (%1)").arg(VendorSiteHost));
  m.menuVendorMirror = Entry(m.menuBrowse, "menuVendorMirror", QString("&Mirror Site (%1)").arg(VendorMirrorHost));
  m.menuMakerSite = Entry(m.menuBrowse, "menuMakerSite", QString("&Creator's Home Page (%1)").arg(MakerSiteHost));
  m.menuSupport = help->addMenu("&Support");
  m.menuSupport->setObjectName("menuSupport");
  m.menuQuestion = Entry(m.menuSupport, "menuQuestion", "Ask a &Question");
  m.menuComment = Entry(m.menuSupport, "menuComment", "Send &Comments");
  m.menuBug = Entry(m.menuSupport, "menuBug", "Report a &Bug");
  m.menuAbout = Entry(help, "menuAbout", "&About...");

  // The right-most "&Snooze": a bold entry of its own at the far end of the bar.
  m.menuRightSnooze = new QToolButton(bar);
  m.menuRightSnooze->setObjectName("menuRightSnooze");
  m.menuRightSnooze->setText("&Snooze");
  m.menuRightSnooze->setAutoRaise(true);
  m.menuRightSnooze->setFocusPolicy(Qt::NoFocus);
  QFont bold = m.menuRightSnooze->font();
  bold.setBold(true);
  m.menuRightSnooze->setFont(bold);
  bar->setCornerWidget(m.menuRightSnooze, Qt::TopRightCorner);

  m.trayMenu = new QMenu(window);
  m.menuTrayShow = Entry(m.trayMenu, "menuTrayShow", "Show Jubilora Window");
  m.trayMenu->addSeparator();
  m.menuTrayExit = Entry(m.trayMenu, "menuTrayExit", "Exit");
  return m;
}

}  // namespace jubilora
