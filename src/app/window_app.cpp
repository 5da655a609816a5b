#include "app/window_app.h"

#include <QApplication>
#include <QSessionManager>

#include <cstdio>

#include "app/main_window.h"
#include "app/report_view.h"
#include "app/session_end.h"
#include "core/product.h"
#include "online/about_box.h"
#include "online/help.h"
#include "report/render/report_painter.h"
#include "ui/error_report.h"

namespace jubilora {

namespace {

// For the start-up benchmark: say when the first report is on screen, and end.
bool QuitAfterFirstPaint() { return qEnvironmentVariableIsSet("JUBILORA_QUIT_AFTER_FIRST_PAINT"); }

}  // namespace

int RunWindowProgram(const CommandLine& commandLine, const ProgramPaths& paths) {
  QApplication& app = *qApp;
  QApplication::setApplicationName(ProductName);
  InitResources();
  InstallAnswerDialogHelp();
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/jubilora.svg")));

  // From the start: a signal also ends the start-up report and the first-run greeting.
  SessionEnd::QuitOnSignals(&app);
  AppState state;
  state.Paths = paths;
  TfrmMain frmMain(state, commandLine);
  switch (frmMain.FormCreate()) {
    case TfrmMain::Outcome::Unreadable:
      // Nothing is written, so no later save can rotate the unreadable file away.
      ShowErrorReport(nullptr, QString::fromStdString(frmMain.LoadError()->Describe()));
      return 1;
    case TfrmMain::Outcome::Gated:
      SessionEnd::SetSettingsWriter([&frmMain] { frmMain.WriteSettings(); });
      frmMain.FormDestroy();
      return 0;
    case TfrmMain::Outcome::Show:
      break;
  }
  SessionEnd::SetSettingsWriter([&frmMain] { frmMain.WriteSettings(); });
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &frmMain, [&frmMain](QSessionManager&) {
    SessionEnd::WriteSettingsOnce();
    frmMain.close();
    QCoreApplication::quit();
  });

  TfrmAbout frmAbout(&frmMain, [&frmAbout, &paths] { return RunHelp(&frmAbout, paths.help); });
  frmMain.SetAboutBox(&frmAbout);
  // The first run greets with the about box before the window appears.
  if (state.FirstRun) frmAbout.exec();
  if (SessionEnd::QuitRequested()) {
    frmMain.FormDestroy();
    return 0;
  }

  if (QuitAfterFirstPaint()) {
    QObject::connect(frmMain.View(), &ReportView::Painted, &app, [] {
      // The benchmark's mark: the time up to here is the start.
      std::fputs("painted\n", stdout);
      std::fflush(stdout);
      QCoreApplication::quit();
    });
  }
  QObject::connect(frmMain.View(), &ReportView::Painted, &frmMain, [&frmMain] { frmMain.CreateEditors(); },
                   static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
  frmMain.show();
  const int status = QApplication::exec();
  frmMain.FormDestroy();
  return status;
}

}  // namespace jubilora
