#include "app/main_window.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QSystemTrayIcon>
#include <QToolButton>
#include <iostream>

#include "app/qt_ui.h"
#include "app/report_view.h"
#include "app/session_end.h"
#include "app/startup.h"
#include "core/naming.h"
#include "core/ordering.h"
#include "online/about_box.h"
#include "platform/clock.h"
#include "platform/font_catalog.h"
#include "report/layout.h"
#include "report/render/report_painter.h"
#include "report/text_report.h"
#include "ui/answer_dialog.h"

namespace jubilora {

namespace {

constexpr int OnShowDelayMs = 100;

QRect WorkArea(const QWidget* widget) {
  const QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

TfrmMain::TfrmMain(AppState& state, const CommandLine& commandLine)
    : state_(state), commandLine_(commandLine), ivReport_(new ReportView(this)), trayIcon_(new QSystemTrayIcon(this)) {
  setObjectName("frmMain");
  InitResources();
  QFont font("Tahoma");
  font.setPointSize(8);
  setFont(font);
  setMinimumSize(MinWidth, MinHeight);
  resize(MinWidth, MinHeight);
  setCentralWidget(ivReport_);
  menus_ = BuildMainMenus(this);
  trayIcon_->setContextMenu(menus_.trayMenu);
  icons_ = std::make_unique<KindIcons>();
  ui_ = std::make_unique<QtUi>(this, [this] { DisplayData(); });
  onShowDelay_.setInterval(OnShowDelayMs);
  connect(&onShowDelay_, &QTimer::timeout, this, &TfrmMain::OnShowDelayTimer);
  onShowDelay_.start();
  ConnectMenus();
}

TfrmMain::~TfrmMain() = default;

Ui& TfrmMain::UiPort() { return *ui_; }

void TfrmMain::ConnectMenus() {
  connect(menus_.menuExit, &QAction::triggered, this, &TfrmMain::menuExitClick);
  connect(menus_.menuRefresh, &QAction::triggered, this, &TfrmMain::menuRefreshClick);
  connect(menus_.menuOnTop, &QAction::triggered, this, &TfrmMain::menuOnTopClick);
  connect(menus_.menuAbout, &QAction::triggered, this, &TfrmMain::menuAboutClick);
  // Entries whose commands are not built yet stay visible but disabled.
  for (QAction* action :
       {menus_.menuBackup, menus_.menuRestore, menus_.menuSynchronize, menus_.menuExport, menus_.menuSnooze,
        menus_.menuAddNew, menus_.menuShowEditor, menus_.menuAddSample, menus_.menuRemoveSample,
        menus_.menuPreferences, menus_.menuAutostart, menus_.menuShowHelp, menus_.menuCheckNow,
        menus_.menuVendorSite, menus_.menuVendorMirror, menus_.menuMakerSite, menus_.menuQuestion,
        menus_.menuComment, menus_.menuBug, menus_.menuTrayShow, menus_.menuTrayExit})
    action->setEnabled(false);
  menus_.menuRightSnooze->setEnabled(false);
}

TfrmMain::Outcome TfrmMain::FormCreate() {
  // The right-most "&Snooze" and the menus were placed by the constructor.
  trayIcon_->setIcon(QIcon(QStringLiteral(":/icons/jubilora.svg")));
  setWindowTitle(QString("%1 %2").arg(ProductName, ProductVersion));
  setMaximumSize(WorkArea(this).size());

  const DayNumber today = Clock::Today();
  if (auto error = LoadData(state_.Paths.Data(), state_.Anniversaries)) {
    loadError_ = std::move(error);
    return Outcome::Unreadable;
  }

  const QtFontCatalog fonts;
  const LoadedSettings loaded = LoadSettingsFile(state_.Paths.settings, fonts, regional_, today);
  if (loaded.error) std::cerr << "jubilora: " << *loaded.error << '\n';
  state_.FirstRun = loaded.firstRun;
  state_.Cfg = loaded.settings.cfg;
  menus_.menuOnTop->setChecked(loaded.settings.onTop);
  menus_.menuStartupCheck->setChecked(loaded.settings.startupCheck);
  menus_.menuOnceADay->setChecked(loaded.settings.onceADay);

  if (!menus_.menuAutostart->isChecked()) {
    menus_.menuOnceADay->setEnabled(false);
  } else if (menus_.menuOnceADay->isChecked()) {
    menus_.menuOnceADay->setIcon(MenuIcon(MenuImage::Ticked));
  }
  menuOnTopClick();

  if (OnceADayGateEnds(commandLine_.autorun, today, loaded.settings.lastRun, menus_.menuOnceADay->isChecked()))
    return Outcome::Gated;
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

void TfrmMain::WriteSettings() const {
  if (auto error = SaveSettingsFile(state_.Paths.settings, CurrentSettings(), regional_, Clock::Today()))
    std::cerr << "jubilora: " << *error << '\n';
}

void TfrmMain::FormDestroy() { SessionEnd::WriteSettingsOnce(); }

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // A window restored from the task bar is not shown anew.
  if (!event->spontaneous()) FormShow();
}

void TfrmMain::FormShow() {
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
  SortByDate(state_.Anniversaries, 0);
  SaveData(state_.Anniversaries, state_.Paths.Data(), *ui_);
  DisplayData();
}

void TfrmMain::menuExitClick() { close(); }

void TfrmMain::menuRefreshClick() { DisplayData(); }

void TfrmMain::menuOnTopClick() {
  const bool onTop = menus_.menuOnTop->isChecked();
  menus_.menuOnTop->setIcon(MenuIcon(onTop ? MenuImage::OnTop : MenuImage::NotOnTop));
  if (onTop == bool(windowFlags() & Qt::WindowStaysOnTopHint)) return;
  const bool visible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  // Changing a window flag hides the window.
  if (visible) show();
}

void TfrmMain::menuAboutClick() {
  if (about_) about_->exec();
}

void TfrmMain::DisplayData() {
  const TCfg& cfg = state_.Cfg;
  const DayNumber today = Clock::Today();
  const auto entries = PrepareReportEntries(state_.Anniversaries, cfg, today);
  const QtTextMeasurer measurer(cfg);
  const ReportLayout layout = LayoutReport(state_.Anniversaries, entries, cfg, today, measurer, systemColors_);
  QImage picture = PaintReport(layout, cfg, *icons_);
  const QSize size = picture.size();
  ivReport_->SetPicture(std::move(picture), QColor::fromRgba(ToColor32(cfg.Background, systemColors_)));
  if (!isMaximized()) FitToPicture(size);
  ivReport_->ScrollTo(layout.scrollTarget.value_or(0));
}

void TfrmMain::FitToPicture(QSize picture) {
  const QSize client = ivReport_->SizeFor(picture);
  const int menuHeight = menuBar()->isVisible() || !isVisible() ? menuBar()->sizeHint().height() : 0;
  resize(QSize(client.width(), client.height() + menuHeight).expandedTo(minimumSize()).boundedTo(maximumSize()));
  const QRect area = WorkArea(this);
  const QSize outer = isVisible() ? frameGeometry().size() : size();
  move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
}

}  // namespace jubilora
