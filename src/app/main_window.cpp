#include "app/main_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QLayout>
#include <QShowEvent>
#include <QSystemTrayIcon>
#include <QToolButton>

#include "app/qt_ui.h"
#include "app/report_view.h"
#include "app/session_end.h"
#include "core/ordering.h"
#include "online/about_box.h"
#include "online/help.h"
#include "online/links.h"
#include "online/version_check.h"
#include "platform/clock.h"
#include "report/layout.h"
#include "report/render/report_painter.h"
#include "report/text_report.h"
#include "ui/contacts_import.h"
#include "ui/preferences.h"
#include "ui/record_editor.h"
#include "ui/snooze.h"
#include "ui/table_editor.h"
#include "ui/window_placement.h"
#include "data/csv_export.h"
#include "data/file_commands.h"
#include "data/samples.h"

namespace jubilora {

namespace {

constexpr int OnShowDelayMs = 100;
constexpr int FrameWatchMs = 200;
constexpr int FrameChecks = 25;

}  // namespace

TfrmMain::TfrmMain(AppState& state, const CommandLine& commandLine)
    : state_(state),
      commandLine_(commandLine),
      ivReport_(new ReportView(this)),
      trayIcon_(new QSystemTrayIcon(this)),
      autostart_(XdgAutostart::ForCurrentUser()) {
  setObjectName("frmMain");
  InitResources();
  setMinimumSize(MinWidth, MinHeight);
  resize(MinWidth, MinHeight);
  setCentralWidget(ivReport_);
  menus_ = BuildMainMenus(this);
  trayIcon_->setContextMenu(menus_.trayMenu);
  ui_ = std::make_unique<QtUi>(this, [this] { DisplayData(); },
                               [this](const TAnniversaryList& saved) { RefreshICalendarCopy(saved); });
  versionCheck_ = std::make_unique<VersionCheck>(*ui_, menus_.menuCheckNow, this);
  snooze_ = std::make_unique<WindowSnooze>(*this, *trayIcon_, *menus_.menuTrayShow, *menus_.menuTrayExit, *ui_, regional_,
                                           [this] { FormShow(); }, [this] { EndProgram(); });
  onShowDelay_.setInterval(OnShowDelayMs);
  connect(&onShowDelay_, &QTimer::timeout, this, &TfrmMain::OnShowDelayTimer);
  onShowDelay_.start();
  connect(ivReport_, &ReportView::Painted, this, &TfrmMain::FitToFrame, Qt::QueuedConnection);
  // A window manager that starts after the window adopts it within a few seconds, if at all.
  frameWatch_.setInterval(FrameWatchMs);
  connect(&frameWatch_, &QTimer::timeout, this, [this] {
    if (++frameChecks_ >= FrameChecks) frameWatch_.stop();
    FitToFrame();
  });
  ConnectMenus();
}

TfrmMain::~TfrmMain() = default;

Ui& TfrmMain::UiPort() { return *ui_; }

void TfrmMain::ConnectMenus() {
  connect(menus_.menuExit, &QAction::triggered, this, &TfrmMain::close);
  connect(menus_.menuRefresh, &QAction::triggered, this, &TfrmMain::DisplayData);
  connect(menus_.menuOnTop, &QAction::triggered, this, &TfrmMain::menuOnTopClick);
  connect(menus_.menuAbout, &QAction::triggered, this, &TfrmMain::menuAboutClick);
  connect(menus_.menuAutostart, &QAction::triggered, this, &TfrmMain::menuAutostartClick);
  connect(menus_.menuOnceADay, &QAction::triggered, this, &TfrmMain::menuOnceADayClick);
  connect(menus_.menuShowHelp, &QAction::triggered, this, [this] { RunHelp(this, state_.Paths.help); });
  const std::pair<QAction*, std::string (*)()> links[] = {
      {menus_.menuVendorSite, VendorSiteUrl},   {menus_.menuVendorMirror, VendorMirrorUrl},
      {menus_.menuMakerSite, MakerSiteUrl},     {menus_.menuQuestion, QuestionMailUrl},
      {menus_.menuComment, CommentMailUrl},     {menus_.menuBug, BugMailUrl}};
  for (const auto& [action, address] : links)
    connect(action, &QAction::triggered, this, [address] { OpenUrl(address()); });
  SnoozeController& snooze = snooze_->Controller();
  connect(menus_.menuSnooze, &QAction::triggered, &snooze, &SnoozeController::menuSnoozeClick);
  connect(menus_.menuRightSnooze, &QToolButton::clicked, &snooze, &SnoozeController::menuRightSnoozeClick);
  connect(menus_.menuAddNew, &QAction::triggered, this, &TfrmMain::menuAddNewClick);
  connect(menus_.menuShowEditor, &QAction::triggered, this, &TfrmMain::menuShowEditorClick);
  connect(menus_.menuImportContacts, &QAction::triggered, this, &TfrmMain::menuImportContactsClick);
  connect(menus_.menuPreferences, &QAction::triggered, this, &TfrmMain::menuPreferencesClick);
  connect(menus_.menuBackup, &QAction::triggered, this, &TfrmMain::menuBackupClick);
  connect(menus_.menuRestore, &QAction::triggered, this, &TfrmMain::menuRestoreClick);
  connect(menus_.menuSynchronize, &QAction::triggered, this, &TfrmMain::menuSynchronizeClick);
  connect(menus_.menuExportCsv, &QAction::triggered, this, &TfrmMain::menuExportClick);
  connect(menus_.menuExportIcs, &QAction::triggered, this, &TfrmMain::menuExportIcsClick);
  connect(menus_.menuAddSample, &QAction::triggered, this, &TfrmMain::menuAddSampleClick);
  connect(menus_.menuRemoveSample, &QAction::triggered, this, &TfrmMain::menuRemoveSampleClick);
  connect(menus_.menuCheckNow, &QAction::triggered, versionCheck_.get(), &VersionCheck::menuCheckNowClick);
}

void TfrmMain::CreateEditors() {
  if (frmTable_) return;
  frmTable_ = std::make_unique<TfrmTable>(this, state_.Anniversaries, state_.Cfg, state_.Paths.Data(), *ui_,
                                          [this](bool adding, int index) { return EditRecord(adding, index); });
  frmEdit_ = std::make_unique<TfrmEdit>(this, state_.Anniversaries, state_.Cfg);
  frmCfg_ = std::make_unique<TfrmCfg>(this, state_.Cfg, fonts_, systemColors_, *ui_);
}

bool TfrmMain::EditRecord(bool adding, int index) {
  CreateEditors();
  return frmEdit_->Execute(adding, index);
}

void TfrmMain::menuAddNewClick() {
  if (!EditRecord(true, -1)) return;
  SortByDate(state_.Anniversaries, 0);
  SaveData(state_.Anniversaries, state_.Paths.Data(), *ui_);
  DisplayData();
}

void TfrmMain::menuShowEditorClick() {
  CreateEditors();
  ShowTableEditor(*frmTable_, state_.Anniversaries, *ui_);
}

void TfrmMain::menuImportContactsClick() {
  ImportContactsCommand(this, state_.Anniversaries, state_.Paths.Data(), state_.Cfg, *ui_);
}

void TfrmMain::menuPreferencesClick() {
  CreateEditors();
  if (!frmCfg_->Execute()) return;
  // The copy follows the preferences it is made with, and one just chosen is made at once.
  RefreshICalendarCopy(state_.Anniversaries);
  DisplayData();
}

void TfrmMain::menuBackupClick() {
  BackupCommand(state_.Anniversaries, state_.Paths.Data(), state_.Cfg, *ui_, [] {
    const QDateTime now = QDateTime::currentDateTime();
    return LocalDateTime{now.date().year(), now.date().month(), now.date().day(),
                         now.time().hour(), now.time().minute(), now.time().second()};
  });
}

void TfrmMain::menuRestoreClick() { RestoreCommand(state_.Anniversaries, state_.Paths.Data(), state_.Cfg, *ui_); }

void TfrmMain::menuSynchronizeClick() {
  SynchronizeCommand(state_.Anniversaries, state_.Paths.Data(), state_.Cfg, *ui_);
}

void TfrmMain::menuExportClick() { ExportCommand(state_.Anniversaries, state_.Paths, state_.Cfg, regional_, *ui_); }

void TfrmMain::RefreshICalendarCopy(const TAnniversaryList& saved) {
  icsCopy_.Refresh(saved, state_.Cfg, state_.Paths, *ui_, QDateTime::currentSecsSinceEpoch());
}

void TfrmMain::menuExportIcsClick() {
  ICalendarExportCommand(state_.Anniversaries, state_.Paths, state_.Cfg, *ui_, QDateTime::currentSecsSinceEpoch());
}

void TfrmMain::menuAddSampleClick() {
  AddSampleDataCommand(state_.Anniversaries, state_.Paths.samples, state_.Paths.Data(), *ui_);
}

void TfrmMain::menuRemoveSampleClick() { RemoveSampleDataCommand(state_.Anniversaries, state_.Paths.Data(), *ui_); }

void TfrmMain::EndProgram() {
  // A hidden window's close does not end the event loop; quitting does, and the normal
  // shutdown follows.
  close();
  QCoreApplication::quit();
}

void TfrmMain::ApplyAutostartMenu() {
  const AutostartMenuState& s = autostartMenu_;
  menus_.menuAutostart->setChecked(s.autostartChecked);
  menus_.menuAutostart->setIcon(MenuIcon(s.autostartImage ? MenuImage::Ticked : MenuImage::Unticked));
  menus_.menuOnceADay->setChecked(s.onceADayChecked);
  menus_.menuOnceADay->setEnabled(s.onceADayEnabled);
  menus_.menuOnceADay->setIcon(MenuIcon(s.onceADayImage ? MenuImage::Ticked : MenuImage::Unticked));
}

// Qt flips the check mark before these run; the state decides what it shows.
void TfrmMain::menuAutostartClick() {
  autostartMenu_ = AutostartClick(autostartMenu_, autostart_, state_.Paths.program, *ui_);
  ApplyAutostartMenu();
}

void TfrmMain::menuOnceADayClick() {
  autostartMenu_ = OnceADayClick(autostartMenu_);
  ApplyAutostartMenu();
}

TfrmMain::Outcome TfrmMain::FormCreate() {
  // The right-most "&Snooze" and the menus were placed by the constructor.
  trayIcon_->setIcon(QIcon(QStringLiteral(":/icons/jubilora.svg")));
  setWindowTitle(QString("%1 %2").arg(ProductName, ProductVersion));
  setMaximumSize(LargestClientSize(this));

  const DayNumber today = Clock::Today();
  const bool autostartOn = RefreshAutostart(autostart_, state_.Paths.program, *ui_);
  if (auto error = LoadData(state_.Paths.Data(), state_.Anniversaries)) {
    loadError_ = std::move(error);
    return Outcome::Unreadable;
  }

  const LoadedSettings loaded = LoadSettingsFile(state_.Paths.settings, fonts_, regional_, today);
  // The defaults stand in for what cannot be read, and that file is never replaced.
  settingsError_ = loaded.error;
  if (loaded.error) ui_->ReportError(loaded.error->Describe());
  state_.FirstRun = loaded.firstRun;
  state_.Cfg = loaded.settings.cfg;
  menus_.menuOnTop->setChecked(loaded.settings.onTop);
  menus_.menuStartupCheck->setChecked(loaded.settings.startupCheck);
  autostartMenu_ = StartupAutostartMenu(autostartOn, loaded.settings.onceADay);
  ApplyAutostartMenu();
  menuOnTopClick();

  // An automatic start ends silently when the program already ran today and the user asked for
  // reminders only once a day.
  if (commandLine_.autorun && menus_.menuOnceADay->isChecked() && today == loaded.settings.lastRun)
    return Outcome::Gated;
  if (menus_.menuStartupCheck->isChecked() && !state_.FirstRun) versionCheck_->StartupCheck();
  return Outcome::Show;
}

StoredSettings TfrmMain::CurrentSettings() const {
  StoredSettings settings;
  settings.cfg = state_.Cfg;
  settings.onTop = menus_.menuOnTop->isChecked();
  settings.startupCheck = menus_.menuStartupCheck->isChecked();
  settings.onceADay = menus_.menuOnceADay->isChecked();
  return settings;
}

void TfrmMain::WriteSettings() {
  const auto error = SaveSettingsFile(state_.Paths.settings, CurrentSettings(), regional_, Clock::Today());
  // A file that could not be read fails the same way again; the user has heard of it.
  if (error != settingsError_) unreportedSettingsError_ = error;
}

void TfrmMain::FormDestroy() {
  SessionEnd::WriteSettingsOnce();
  versionCheck_->Stop();
  // After a signal or without a display nobody would see it; otherwise the user hears of it.
  if (unreportedSettingsError_ && !SessionEnd::QuitRequested()) ui_->ReportError(unreportedSettingsError_->Describe());
  unreportedSettingsError_.reset();
}

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // A window restored from the task bar, or shown again for its new stay-on-top state, is
  // not shown anew.
  if (!event->spontaneous() && !reshowing_) FormShow();
}

void TfrmMain::FormShow() {
  autostartMenu_ = FirstShowAutostart(autostartMenu_, state_.FirstRun, state_.AlreadyShown, autostart_,
                                      state_.Paths.program, *ui_);
  ApplyAutostartMenu();
  DisplayData();
  state_.AlreadyShown = true;
}

void TfrmMain::OnShowDelayTimer() {
  if (!state_.AlreadyShown) return;
  onShowDelay_.stop();
  if (state_.FirstRun) OfferSampleData();
}

void TfrmMain::OfferSampleData() {
  const std::string caption = std::string("Welcome to ") + ProductName;
  const std::string message =
      "In order to get an idea how this works and looks like\r\n"
      "it is recommended that you include the sample data in\r\n"
      "your Jubilora. You can easily remove those data later.\r\n"
      "\r\n"
      "Would you like to add sample data now?";
  const int answer =
      ui_->AnswerDialog(caption, message, {"&Yes, add samples", "&No, not this time"}, IconKind::Question, true);
  if (answer != 1) return;
  AddSampleDataCommand(state_.Anniversaries, state_.Paths.samples, state_.Paths.Data(), *ui_);
}

void TfrmMain::menuOnTopClick() {
  const bool onTop = menus_.menuOnTop->isChecked();
  menus_.menuOnTop->setIcon(MenuIcon(onTop ? MenuImage::OnTop : MenuImage::NotOnTop));
  if (onTop == bool(windowFlags() & Qt::WindowStaysOnTopHint)) return;
  const bool visible = isVisible();
  // Changing a window flag hides the window (it keeps its place); showing it again is not a
  // new show of the report.
  setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  if (!visible) return;
  reshowing_ = true;
  show();
  reshowing_ = false;
}

void TfrmMain::menuAboutClick() {
  if (about_) about_->exec();
}

void TfrmMain::DisplayData() {
  const TCfg& cfg = state_.Cfg;
  const DayNumber today = Clock::Today();
  const auto entries = PrepareReportEntries(state_.Anniversaries, cfg, today);
  ReportLayout layout = LayoutReport(state_.Anniversaries, entries, cfg, today, QtTextMeasurer(cfg), systemColors_);
  const int scrollTarget = layout.scrollTarget.value_or(0);
  const QColor viewColor = QColor::fromRgba(layout.background);
  // A screen reader reads the report as --print writes it.
  const std::string text = FormatPlainReport(DescribeReport(state_.Anniversaries, entries, cfg, today, systemColors_));
  ivReport_->SetReport(std::move(layout), cfg, viewColor, QString::fromStdString(text));
  if (!isMaximized()) FitToPicture();
  ivReport_->ScrollTo(scrollTarget);
}

void TfrmMain::FitToPicture() {
  // The whole window, frame included, stays inside the work area however long the report.
  if (const QSize largest = LargestClientSize(this); largest != maximumSize()) setMaximumSize(largest);
  if (layout() != nullptr) layout()->invalidate();
  resize(sizeHint().expandedTo(minimumSize()).boundedTo(maximumSize()));
  PlaceCentred(this);
  // A window that the window manager has not framed yet gets its frame later, usually by the
  // time it is painted; it is fitted again then, or when a late window manager adopts it.
  fitAwaitsFrame_ = FrameMargins(this).isNull();
  if (fitAwaitsFrame_ && isVisible()) {
    frameChecks_ = 0;
    frameWatch_.start();
  }
}

void TfrmMain::FitToFrame() {
  // Without a window manager no frame ever comes; asking again costs nothing, Qt keeps the answer.
  if (!fitAwaitsFrame_ || FrameMargins(this).isNull()) return;
  fitAwaitsFrame_ = false;
  frameWatch_.stop();
  if (!isMaximized()) FitToPicture();
}

}  // namespace jubilora
