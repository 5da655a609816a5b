#include "ui/record_editor.h"

#include <algorithm>
#include <utility>

#include <QBoxLayout>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStyle>

#include "core/naming.h"
#include "core/product.h"
#include "platform/clock.h"
#include "ui/answer_dialog.h"
#include "ui/description_edit.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

namespace jubilora {

namespace {

constexpr const char* AddingTitle = "Add New Anniversary";
constexpr const char* EditingTitle = "Edit Existing Anniversary Data";
constexpr const char* IncompleteCaptionTail = " in Trouble";
constexpr const char* IncompleteMessage =
    "Entered anniversary data is incomplete\r\nand cannot be saved.\r\n\r\n"
    "Please fill in the empty fields.";
constexpr const char* IncompleteButton = "&OK";

constexpr const char* KindItems[KindPositionCount] = {
    "Birthday", "Name Day", "Wedding Anniversary", "Death Anniversary", "Holiday", "Other Anniversaries"};

// What a screen reader calls the inputs that have no caption of their own.
constexpr const char* DayFieldName = "Day";
constexpr const char* MonthFieldName = "Month";
constexpr const char* YearFieldName = "Year";
constexpr const char* CalendarName = "Calendar";

// The year field takes the keyboard focus from Tab only while its year is shown.
constexpr Qt::FocusPolicy ShownYearFocus = Qt::WheelFocus;
constexpr Qt::FocusPolicy GreyYearFocus = Qt::ClickFocus;

QString Text(const char* text) { return QString::fromLatin1(text); }

// 1 January of the current year: where a new record starts.
DayNumber NewYearsDay() {
  return DayFromCivil(std::clamp(CivilFromDay(Clock::Today()).year, FirstEditorYear, LastEditorYear), 1, 1);
}

// Sets a guard flag for one step and puts back what it was, so that a nested change
// (a day that drops to a new limit) cannot clear it early.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = previous_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool previous_;
};

// The field's ground and text in every state, taken from the desktop's palette.
void PaintField(QWidget* field, QPalette::ColorRole ground, QPalette::ColorRole text) {
  const QPalette system = QGuiApplication::palette();
  QPalette palette = field->palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, system.color(QPalette::Active, ground));
    palette.setColor(group, QPalette::Text, system.color(QPalette::Active, text));
  }
  field->setPalette(palette);
}

// Only the weight is set, so the face and size stay the window's own and follow the desktop.
QFont BoldFont() {
  QFont bold;
  bold.setBold(true);
  return bold;
}

// The month calendar. Its day grid takes Enter itself (the window's shortcut accepts); an
// Enter that comes up from inside has finished the year typed into the heading, and that is
// all it does: the window stays open.
class DateCalendar : public QCalendarWidget {
 public:
  using QCalendarWidget::QCalendarWidget;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      event->accept();
      return;
    }
    QCalendarWidget::keyPressEvent(event);
  }
};

template <typename Widget, typename... Args>
Widget* Make(const char* name, QWidget* parent, Args&&... args) {
  auto* widget = new Widget(std::forward<Args>(args)..., parent);
  widget->setObjectName(Text(name));
  return widget;
}

QLabel* MakeLabel(const char* name, const char* text, QWidget* parent, QWidget* buddy = nullptr) {
  auto* label = Make<QLabel>(name, parent, Text(text));
  if (buddy != nullptr) label->setBuddy(buddy);
  return label;
}

QFrame* MakeRule(QFrame::Shape shape, QWidget* parent) {
  auto* rule = new QFrame(parent);
  rule->setFrameShape(shape);
  rule->setFrameShadow(QFrame::Sunken);
  return rule;
}

QSpinBox* MakeSpin(const char* name, int minimum, int maximum, QWidget* parent, const char* accessibleName = nullptr) {
  auto* spin = Make<QSpinBox>(name, parent);
  spin->setRange(minimum, maximum);
  spin->setSingleStep(1);
  spin->setAlignment(Qt::AlignRight);
  if (accessibleName != nullptr) spin->setAccessibleName(Text(accessibleName));
  return spin;
}

}  // namespace

TfrmEdit::TfrmEdit(QWidget* mainWindow, TAnniversaryList& anniversaries, const TCfg& cfg)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow),
      anniversaries_(anniversaries),
      cfg_(cfg) {
  setObjectName(QStringLiteral("frmEdit"));
  CreateControls();
  BuildLayout();
  SetUpKeys();
  resize(QSize(ClientWidth, ClientHeight).expandedTo(minimumSizeHint()));

  // FormCreate: the importance list, most important first.
  for (int importance = ImportancePositionCount - 1; importance >= 0; --importance) {
    cbImportance_->addItem(FromCp1252(ImportanceName(static_cast<std::uint8_t>(importance))));
  }

  connect(cbType_, &QComboBox::currentIndexChanged, this, [this] { cbTypeChange(); });
  connect(cbStarting_, &QCheckBox::toggled, this, [this] { cbStartingClick(); });
  connect(cbDefault_, &QCheckBox::toggled, this, [this] { cbDefaultClick(); });
  for (QSpinBox* field : {cseDay_, cseMonth_, cseYear_}) {
    connect(field, &QSpinBox::valueChanged, this, [this] { cseDMYChange(); });
  }
  connect(calDate_, &QCalendarWidget::selectionChanged, this, [this] { calDateChange(); });
  connect(btnToday_, &QPushButton::clicked, this, [this] { btnTodayClick(); });
  connect(btnOK_, &QPushButton::clicked, this, [this] { btnOKClick(); });
  connect(btnCancel_, &QPushButton::clicked, this, [this] { btnCancelClick(); });
}

void TfrmEdit::CreateControls() {
  edDescription_ = Make<DescriptionEdit>("edDescription", this);
  edDescription_->setFont(BoldFont());
  labDescription_ = MakeLabel("labDescription", "Description", this, edDescription_);

  labAnniversaryDate_ = MakeLabel("labAnniversaryDate", "Anniversary date", this);
  btnToday_ = Make<QPushButton>("btnToday", this, Text("Today"));
  labDate_ = MakeLabel("labDate", "", this);
  labDate_->setFont(BoldFont());
  labDate_->setAlignment(Qt::AlignCenter);

  cseDay_ = MakeSpin("cseDay", 1, 31, this, DayFieldName);
  labSlash1_ = MakeLabel("labSlash1", "/", this);
  cseMonth_ = MakeSpin("cseMonth", 1, 12, this, MonthFieldName);
  labSlash2_ = MakeLabel("labSlash2", "/", this);
  cseYear_ = MakeSpin("cseYear", FirstEditorYear, LastEditorYear, this, YearFieldName);

  calDate_ = Make<DateCalendar>("calDate", this);
  calDate_->setAccessibleName(Text(CalendarName));
  calDate_->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  calDate_->setDateRange(ToQDate(FirstEditorDay()), ToQDate(LastEditorDay()));
  calDate_->setSelectionMode(QCalendarWidget::SingleSelection);
  // ISO week numbers read right only when the weeks begin on Monday.
  calDate_->setFirstDayOfWeek(Qt::Monday);
  calDate_->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
  calDate_->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);

  cbType_ = Make<QComboBox>("cbType", this);
  for (const char* item : KindItems) cbType_->addItem(Text(item));
  labType_ = MakeLabel("labType", "Event type", this, cbType_);
  cbStarting_ = Make<QCheckBox>("cbStarting", this, Text("Show elapsed years"));

  cbImportance_ = Make<QComboBox>("cbImportance", this);
  labImportance_ = MakeLabel("labImportance", "Importance", this, cbImportance_);

  cseStart_ = MakeSpin("cseStart", 0, MaxReminderField, this);
  labStart_ = MakeLabel("labStart", "Start reminding ", this, cseStart_);
  labDaysBefore_ = MakeLabel("labDaysBefore", "days before the event", this);
  cbDefault_ = Make<QCheckBox>("cbDefault", this, Text("Use the default reminder period"));

  btnOK_ = Make<QPushButton>("btnOK", this, style()->standardIcon(QStyle::SP_DialogOkButton), Text("Remember"));
  btnCancel_ =
      Make<QPushButton>("btnCancel", this, style()->standardIcon(QStyle::SP_DialogCancelButton), Text("Forget"));
}

void TfrmEdit::BuildLayout() {
  auto* description = new QHBoxLayout;
  description->addWidget(labDescription_);
  description->addWidget(edDescription_, 1);

  auto* columns = new QHBoxLayout;
  columns->addLayout(BuildLeftColumn(), 1);
  columns->addWidget(MakeRule(QFrame::VLine, this));
  columns->addLayout(BuildRightColumn(), 1);

  auto* window = new QVBoxLayout(this);
  window->addLayout(description);
  window->addWidget(MakeRule(QFrame::HLine, this));
  window->addLayout(columns, 1);
}

QLayout* TfrmEdit::BuildLeftColumn() {
  auto* heading = new QHBoxLayout;
  heading->addWidget(labAnniversaryDate_, 1);
  heading->addWidget(btnToday_);

  // The day and month fields change places in OrderDateFields.
  dateLine_ = new QHBoxLayout;
  dateLine_->addWidget(cseDay_, 1);
  dateLine_->addWidget(labSlash1_);
  dateLine_->addWidget(cseMonth_, 1);
  dateLine_->addWidget(labSlash2_);
  dateLine_->addWidget(cseYear_, 1);

  auto* column = new QVBoxLayout;
  column->addLayout(heading);
  column->addWidget(labDate_);
  column->addLayout(dateLine_);
  column->addWidget(calDate_, 1);
  return column;
}

QLayout* TfrmEdit::BuildRightColumn() {
  // "Start reminding [nn] days before the event" reads as one sentence.
  auto* reminder = new QHBoxLayout;
  reminder->setSpacing(0);
  reminder->addWidget(labStart_);
  reminder->addWidget(cseStart_);
  reminder->addSpacing(style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing) / 2);
  reminder->addWidget(labDaysBefore_);
  reminder->addStretch(1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnOK_);
  buttons->addWidget(btnCancel_);

  auto* column = new QVBoxLayout;
  for (QWidget* widget : std::initializer_list<QWidget*>{labType_, cbType_, cbStarting_, MakeRule(QFrame::HLine, this),
                                                         labImportance_, cbImportance_, MakeRule(QFrame::HLine, this)}) {
    column->addWidget(widget);
  }
  column->addLayout(reminder);
  column->addWidget(cbDefault_);
  column->addWidget(MakeRule(QFrame::HLine, this));
  column->addStretch(1);
  column->addLayout(buttons);
  return column;
}

void TfrmEdit::SetUpKeys() {
  // Enter anywhere presses "Remember", unless a button of its own has the focus; Escape is
  // QDialog's own and cancels. An open drop-down list is a window of its own and keeps both.
  btnOK_->setDefault(true);
  // The calendar takes Enter for itself; in its day grid Enter accepts the window too.
  auto* calendarEnter = new QShortcut(calDate_->focusProxy());
  calendarEnter->setKeys({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
  calendarEnter->setContext(Qt::WidgetShortcut);
  connect(calendarEnter, &QShortcut::activated, btnOK_, &QPushButton::click);
}

bool TfrmEdit::Execute(bool addingRecord, int editedIndex) {
  if (!addingRecord && (editedIndex < 0 || editedIndex >= static_cast<int>(anniversaries_.size()))) {
    return false;
  }
  addingRecord_ = addingRecord;
  editedIndex_ = editedIndex;
  FormShow();
  // The size follows the font of the day before the window is centred.
  ensurePolished();
  layout()->activate();
  PlaceCentred(this, mainWindow_);
  return exec() == QDialog::Accepted;
}

void TfrmEdit::FormShow() {
  if (addingRecord_) {
    LoadAdding();
  } else {
    LoadEditing(anniversaries_[static_cast<std::size_t>(editedIndex_)]);
  }
  cbStartingClick();
  OrderDateFields();
  edDescription_->setFocus();
}

void TfrmEdit::LoadAdding() {
  setWindowTitle(Text(AddingTitle));
  edDescription_->LoadText(QString());
  ShowCalendarDay(NewYearsDay());
  cbType_->setCurrentIndex(NoPosition);
  cbTypeChange();
  cbStarting_->setChecked(false);
  cbStarting_->setEnabled(false);
  cbImportance_->setCurrentIndex(NoPosition);
  cbDefault_->setChecked(true);
  cbDefaultClick();
}

void TfrmEdit::LoadEditing(const TAnniversary& record) {
  setWindowTitle(Text(EditingTitle));
  edDescription_->LoadText(FromCp1252(record.Description()));
  ShowCalendarDay(EditorDay(record.Date, NewYearsDay()));
  const KindChoice kind = KindChoiceOf(record.Kind);
  cbType_->setCurrentIndex(kind.position);
  cbTypeChange();
  if (kind.clearElapsedYears) cbStarting_->setChecked(false);
  cbImportance_->setCurrentIndex(ImportancePositionOf(record.Importance));
  const bool useDefault = record.ReminderDays == DefaultReminder;
  cbDefault_->setChecked(useDefault);
  if (!useDefault) cseStart_->setValue(record.ReminderDays);
  cbDefaultClick();
}

void TfrmEdit::OrderDateFields() {
  const bool dayFirst = DayFirst(cfg_.DateFormat);
  QSpinBox* first = dayFirst ? cseDay_ : cseMonth_;
  QSpinBox* second = dayFirst ? cseMonth_ : cseDay_;
  dateLine_->removeWidget(first);
  dateLine_->removeWidget(second);
  dateLine_->insertWidget(0, first, 1);
  dateLine_->insertWidget(2, second, 1);
  QWidget* const chain[] = {edDescription_, btnToday_, first,      second, cseYear_,   cbType_,  cbStarting_,
                            cbImportance_,  cseStart_, cbDefault_, btnOK_, btnCancel_, calDate_};
  for (std::size_t i = 1; i < std::size(chain); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void TfrmEdit::cbTypeChange() {
  const ElapsedYearsBox box = KindRule(cbType_->currentIndex());
  cbStarting_->setChecked(box.ticked);
  cbStarting_->setEnabled(box.enabled);
  FillLabDate();
}

void TfrmEdit::cbStartingClick() {
  // Grey only tells that the year will not be shown; it is still stored and editable, by a
  // click, while Tab passes it by.
  const bool shown = cbStarting_->isChecked();
  PaintField(cseYear_, shown ? QPalette::Base : QPalette::Button, QPalette::Text);
  cseYear_->setFocusPolicy(shown ? ShownYearFocus : GreyYearFocus);
  FillLabDate();
}

void TfrmEdit::cbDefaultClick() {
  if (cbDefault_->isChecked()) {
    cseStart_->setValue(cfg_.DaysBefore);
    cseStart_->setEnabled(false);
    PaintField(cseStart_, QPalette::Button, QPalette::Dark);
  } else {
    // The spin field itself turns each arrow off at its end of the range.
    cseStart_->setEnabled(true);
    PaintField(cseStart_, QPalette::Base, QPalette::WindowText);
  }
}

void TfrmEdit::cseDMYChange() {
  if (calendarWritingFields_) return;
  const FlagScope writing(fieldsWritingCalendar_);
  // Lowering the limit may drop the day, which comes back here first; the flag stays set.
  cseDay_->setMaximum(DaysInMonth(cseYear_->value(), cseMonth_->value()));
  calDate_->setSelectedDate(QDate(cseYear_->value(), cseMonth_->value(), cseDay_->value()));
}

void TfrmEdit::calDateChange() {
  const QDate date = calDate_->selectedDate();
  if (date == lastReportedDate_) return;
  lastReportedDate_ = date;
  FillLabDate();
  if (fieldsWritingCalendar_) return;
  const FlagScope writing(calendarWritingFields_);
  cseYear_->setValue(date.year());
  cseMonth_->setValue(date.month());
  cseDay_->setMaximum(date.daysInMonth());
  cseDay_->setValue(date.day());
}

void TfrmEdit::btnTodayClick() { calDate_->setSelectedDate(ToQDate(Clock::Today())); }

void TfrmEdit::FillLabDate() {
  labDate_->setText(FromCp1252(DateLabelText(cfg_.DateFormat, CalendarDay(), cbStarting_->isChecked())));
}

void TfrmEdit::ShowCalendarDay(DayNumber day) {
  // The calendar reports a day only when it differs from the last one reported; a new
  // opening must reach the fields and the label even on the same day.
  lastReportedDate_ = QDate();
  calDate_->setSelectedDate(ToQDate(day));
  calDateChange();
}

DayNumber TfrmEdit::CalendarDay() const { return FromQDate(calDate_->selectedDate()); }

EditorInput TfrmEdit::Input() const {
  EditorInput input;
  input.description = edDescription_->Bytes();
  input.date = CalendarDay();
  input.kindPosition = cbType_->currentIndex();
  input.elapsedYears = cbStarting_->isChecked();
  input.importancePosition = cbImportance_->currentIndex();
  input.useDefaultReminder = cbDefault_->isChecked();
  input.reminderDays = cseStart_->value();
  return input;
}

void TfrmEdit::FocusMissing(MissingItem missing) {
  switch (missing) {
    case MissingItem::Description:
      edDescription_->setFocus();
      break;
    case MissingItem::Kind:
      cbType_->setFocus();
      break;
    case MissingItem::Importance:
      cbImportance_->setFocus();
      break;
    case MissingItem::None:
      break;
  }
}

void TfrmEdit::btnOKClick() {
  const EditorInput input = Input();
  const MissingItem missing = FirstMissing(input.description, input.kindPosition, input.importancePosition);
  if (missing != MissingItem::None) {
    // Owned by this window, which is centred over the main window, so the notice is too; and
    // the focus comes back here when it closes.
    AnswerDialog(this, Text(ProductName) + Text(IncompleteCaptionTail),
                 Text(IncompleteMessage), {Text(IncompleteButton)}, IconKind::Warning);
    // The notice took the activation with it; the user goes on typing here.
    activateWindow();
    FocusMissing(missing);
    return;
  }
  editedIndex_ = CommitInput(input, anniversaries_, addingRecord_, editedIndex_);
  accept();
}

void TfrmEdit::btnCancelClick() { reject(); }

}  // namespace jubilora
