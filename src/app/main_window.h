#pragma once
// TfrmMain: the report window, its menus, timers and the start-up and shutdown steps.

#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <optional>

#include "app/app_state.h"
#include "app/command_line.h"
#include "app/main_menus.h"
#include "app/settings_store.h"
#include "data/data_file.h"
#include "data/icalendar_export.h"
#include "platform/autostart.h"
#include "platform/autostart_logic.h"
#include "platform/regional.h"
#include "ui/font_catalog.h"
#include "ui/system_colors.h"

class QSystemTrayIcon;

namespace jubilora {

class WindowSnooze;
class TfrmCfg;
class TfrmEdit;
class TfrmTable;
class VersionCheck;
class QtUi;
class ReportView;
class TfrmAbout;

class TfrmMain : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr int MinWidth = 320;
  static constexpr int MinHeight = 233;

  TfrmMain(AppState& state, const CommandLine& commandLine);
  ~TfrmMain() override;

  enum class Outcome { Show, Gated, Unreadable };
  // The creation steps; Unreadable leaves `LoadError()` set and nothing may be written.
  Outcome FormCreate();
  const std::optional<FileError>& LoadError() const { return loadError_; }

  // Writes the settings file (once per process, see SessionEnd), stops a running check and
  // reports a failed write.
  void FormDestroy();
  StoredSettings CurrentSettings() const;
  void WriteSettings();

  void DisplayData();
  void SetAboutBox(TfrmAbout* about) { about_ = about; }
  // The editing windows, created once in this order: after the first paint, or at their first
  // use if that comes sooner; with many records they cost more than the rest of the start.
  void CreateEditors();
  TfrmTable* Table() const { return frmTable_.get(); }
  TfrmEdit* RecordEditor() const { return frmEdit_.get(); }
  TfrmCfg* Preferences() const { return frmCfg_.get(); }
  Ui& UiPort();
  ReportView* View() const { return ivReport_; }
  const MainMenus& Menus() const { return menus_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ConnectMenus();
  void FormShow();
  void OnShowDelayTimer();
  // The welcome offer of the first run.
  void OfferSampleData();
  void menuOnTopClick();
  void menuAboutClick();
  void menuAddNewClick();
  void menuShowEditorClick();
  void menuImportContactsClick();
  void menuPreferencesClick();
  void menuBackupClick();
  void menuRestoreClick();
  void menuSynchronizeClick();
  void menuExportClick();
  void menuExportIcsClick();
  void RefreshICalendarCopy(const TAnniversaryList& saved);
  void menuAddSampleClick();
  void menuRemoveSampleClick();
  bool EditRecord(bool adding, int index);
  void FitToPicture();
  void FitToFrame();
  void ApplyAutostartMenu();
  void menuAutostartClick();
  void menuOnceADayClick();
  void EndProgram();

  AppState& state_;
  CommandLine commandLine_;
  MainMenus menus_;
  ReportView* ivReport_;
  QSystemTrayIcon* trayIcon_;
  QTimer onShowDelay_;
  std::unique_ptr<QtUi> ui_;
  QtRegionalSettings regional_;
  QtSystemColors systemColors_;
  QtFontCatalog fonts_;
  ICalendarCopy icsCopy_;
  std::unique_ptr<TfrmTable> frmTable_;
  std::unique_ptr<TfrmEdit> frmEdit_;
  std::unique_ptr<TfrmCfg> frmCfg_;
  std::optional<FileError> loadError_;
  std::optional<FileError> settingsError_;            // reported when the settings were read
  std::optional<FileError> unreportedSettingsError_;  // of the last write
  TfrmAbout* about_ = nullptr;
  bool reshowing_ = false;       // shown again only for a changed stay-on-top state
  bool fitAwaitsFrame_ = false;  // fitted before the window manager framed the window
  QTimer frameWatch_;
  int frameChecks_ = 0;
  XdgAutostart autostart_;
  AutostartMenuState autostartMenu_;
  // These hold references to ui_ and regional_, so they go first.
  std::unique_ptr<VersionCheck> versionCheck_;
  std::unique_ptr<WindowSnooze> snooze_;
};

}  // namespace jubilora
