#pragma once
// TfrmCfg: the preferences window. It edits the settings that shape the report: the six
// colours or one of the eight presets, the report font, the default reminder period, the date
// format and three display switches. Created once and reused; every showing reloads it.

#include <functional>
#include <optional>

#include <QDialog>

#include "core/ports.h"
#include "core/settings.h"
#include "ui/presets.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

namespace jubilora {

class ColorBox;

class TfrmCfg : public QDialog {
  Q_OBJECT
 public:
  static constexpr int ClientWidth = 661;
  static constexpr int ClientHeight = 281;

  // Asks for a report font starting from `current`; nothing when the user cancelled.
  using FontChooser = std::function<std::optional<ReportFont>(QWidget* owner, const ReportFont& current)>;

  TfrmCfg(QWidget* mainWindow, TCfg& cfg, const FontCatalog& fonts, const SystemColors& colors);

  // Shows the window modally, centred on the screen. True when the user accepted: `cfg` then
  // holds every field of the window. On cancel `cfg` is untouched.
  bool Execute();

  // Replaces the font dialog (tests); an empty chooser restores the dialog.
  void SetFontChooser(FontChooser chooser);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildColorGroup();
  void BuildPeriodGroup();
  void BuildOtherGroup();
  void BuildButtons();
  void CenterOnScreen();
  void FormShow();
  void cbPresetChange();
  void UpdateFontButton();
  void btnFontClick();
  void btnOKClick();
  void btnCancelClick();
  bool KeyDownAnywhere(int key);

  TCfg& cfg_;
  const FontCatalog& fonts_;
  const SystemColors& colors_;
  FontChooser fontChooser_;
  // The font dialog's font: loaded from the settings, changed by presets and the dialog.
  ReportFont dlgFont_;

  QComboBox* cbPreset_ = nullptr;
  ColorBox* cbMost_ = nullptr;
  ColorBox* cbSemi_ = nullptr;
  ColorBox* cbLeast_ = nullptr;
  ColorBox* cbPassed_ = nullptr;
  ColorBox* cbPlain_ = nullptr;
  ColorBox* cbBack_ = nullptr;
  QPushButton* btnFont_ = nullptr;
  QSpinBox* cseBefore_ = nullptr;
  QSpinBox* cseAfter_ = nullptr;
  QComboBox* cbDateFormat_ = nullptr;
  QCheckBox* cbShowIcons_ = nullptr;
  QCheckBox* cbZodiac_ = nullptr;
  QCheckBox* cbSmooth_ = nullptr;
  QPushButton* btnOK_ = nullptr;
  QPushButton* btnCancel_ = nullptr;
};

}  // namespace jubilora
