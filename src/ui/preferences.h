#pragma once
// TfrmCfg: the preferences window. It edits the settings that shape the report: the six
// colours or one of the eight presets, the report font, the default reminder period, the date
// format, three display switches, where 29 February goes in common years and the iCalendar
// copy. Created once and reused; every showing reloads it.

#include <array>

#include <QDialog>

#include "core/ports.h"
#include "core/settings.h"
#include "ui/presets.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace jubilora {

class ColorBox;

class TfrmCfg : public QDialog {
  Q_OBJECT
 public:
  // The size it opens with at the default font; the layout's minimum where that is larger.
  static constexpr QSize InitialSize{661, 281};

  // `ui` offers the save-file choice of the iCalendar copy.
  TfrmCfg(QWidget* mainWindow, TCfg& cfg, const FontCatalog& fonts, const SystemColors& colors, Ui& ui);

  // Loads every control from the settings and shows the window modally, centred on the main
  // window. True when the user accepted: `cfg` then holds every field of the window. On cancel
  // `cfg` is untouched.
  bool Execute();

 private:
  QGroupBox* BuildColorGroup();
  QGroupBox* BuildPeriodGroup();
  QGroupBox* BuildOtherGroup();
  void BuildButtons();
  void FormShow();
  void cbPresetChange();
  void ShowColors(const TCfg& from);
  void ReadColors(TCfg& into) const;
  void UpdateFontButton();
  void btnFontClick();
  void btnOKClick();
  void cbICalendarCopyChange();
  void btnICalendarBrowseClick();

  TCfg& cfg_;
  const FontCatalog& fonts_;
  const SystemColors& colors_;
  Ui& ui_;
  // The font dialog's font (the font fields): loaded from the settings, changed by presets
  // and the dialog; and the colours as the preset rule works on them.
  TCfg shown_;

  QComboBox* cbPreset_ = nullptr;
  std::array<ColorBox*, 6> colorBoxes_{};  // by the rows of the colour table
  QPushButton* btnFont_ = nullptr;
  QSpinBox* cseBefore_ = nullptr;
  QSpinBox* cseAfter_ = nullptr;
  QComboBox* cbDateFormat_ = nullptr;
  QCheckBox* cbShowIcons_ = nullptr;
  QCheckBox* cbZodiac_ = nullptr;
  QCheckBox* cbSmooth_ = nullptr;
  QComboBox* cbLeapDay_ = nullptr;
  QCheckBox* cbICalendarCopy_ = nullptr;
  QLineEdit* edICalendarCopy_ = nullptr;
  QPushButton* btnICalendarBrowse_ = nullptr;
  QPushButton* btnOK_ = nullptr;
  QPushButton* btnCancel_ = nullptr;
};

}  // namespace jubilora
