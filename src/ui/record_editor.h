#pragma once
// TfrmEdit: the modal window in which one anniversary is added or changed. It works
// directly on the list: on acceptance it appends or overwrites one record; the opener then
// sorts, saves and redraws.

#include <QDate>
#include <QDialog>

#include "core/anniversary.h"
#include "core/settings.h"
#include "ui/record_rules.h"

class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLayout;
class QPushButton;
class QSpinBox;

namespace jubilora {

class DescriptionEdit;

class TfrmEdit : public QDialog {
  Q_OBJECT

 public:
  // The size it opens with at the desktop's usual font; a larger font grows it as far as
  // its layout needs.
  static constexpr int ClientWidth = 497;
  static constexpr int ClientHeight = 311;

  // Created once and reused; every opening reloads the controls from the list and the
  // settings. The window is centred over mainWindow whoever opens it.
  TfrmEdit(QWidget* mainWindow, TAnniversaryList& anniversaries, const TCfg& cfg);

  // Shows the window modally: adding a record, or editing the record at editedIndex.
  // True when the user accepted and the list was changed. An edited index outside the list
  // shows nothing.
  bool Execute(bool addingRecord, int editedIndex);

 private:
  void CreateControls();
  void BuildLayout();
  QLayout* BuildLeftColumn();
  QLayout* BuildRightColumn();
  void SetUpKeys();
  void FormShow();
  void LoadAdding();
  void LoadEditing(const TAnniversary& record);
  void OrderDateFields();

  void cbTypeChange();
  void cbStartingClick();
  void cbDefaultClick();
  void cseDMYChange();
  void calDateChange();
  void btnTodayClick();
  void FillLabDate();
  void btnOKClick();
  void btnCancelClick();

  void ShowCalendarDay(DayNumber day);
  DayNumber CalendarDay() const;
  EditorInput Input() const;
  void FocusMissing(MissingItem missing);

  QWidget* mainWindow_;
  TAnniversaryList& anniversaries_;
  const TCfg& cfg_;
  bool addingRecord_ = false;
  int editedIndex_ = -1;

  // Keep the date fields and the calendar from echoing each other's changes.
  bool fieldsWritingCalendar_ = false;
  bool calendarWritingFields_ = false;
  QDate lastReportedDate_;

  QLabel* labDescription_ = nullptr;
  DescriptionEdit* edDescription_ = nullptr;
  QLabel* labAnniversaryDate_ = nullptr;
  QPushButton* btnToday_ = nullptr;
  QLabel* labDate_ = nullptr;
  QSpinBox* cseDay_ = nullptr;
  QHBoxLayout* dateLine_ = nullptr;
  QLabel* labSlash1_ = nullptr;
  QSpinBox* cseMonth_ = nullptr;
  QLabel* labSlash2_ = nullptr;
  QSpinBox* cseYear_ = nullptr;
  QCalendarWidget* calDate_ = nullptr;
  QLabel* labType_ = nullptr;
  QComboBox* cbType_ = nullptr;
  QCheckBox* cbStarting_ = nullptr;
  QLabel* labImportance_ = nullptr;
  QComboBox* cbImportance_ = nullptr;
  QLabel* labStart_ = nullptr;
  QSpinBox* cseStart_ = nullptr;
  QLabel* labDaysBefore_ = nullptr;
  QCheckBox* cbDefault_ = nullptr;
  QPushButton* btnOK_ = nullptr;
  QPushButton* btnCancel_ = nullptr;
};

}  // namespace jubilora
