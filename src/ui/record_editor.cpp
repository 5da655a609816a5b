#include "ui/record_editor.h"

#include <algorithm>

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>

#include "core/naming.h"
#include "core/product.h"
#include "platform/clock.h"
#include "ui/answer_dialog.h"
#include "ui/description_edit.h"
#include "ui/dialog_keys.h"
#include "ui/qt_text.h"

namespace jubilora {

namespace {

constexpr const char* WindowFontFamily = "Tahoma";
constexpr int WindowFontPoints = 8;

constexpr const char* AddingTitle = "Add New Anniversary";
constexpr const char* EditingTitle = "Edit Existing Anniversary Data";
constexpr const char* IncompleteCaptionTail = " in Trouble";
constexpr const char* IncompleteMessage =
    "Entered anniversary data is incomplete\r\nand cannot be saved.\r\n\r\n"
    "Please fill in the empty fields.";
constexpr const char* IncompleteButton = "&OK";

constexpr const char* KindItems[KindPositionCount] = {
    "Birthday", "Name Day", "Wedding Anniversary", "Death Anniversary", "Holiday", "Other Anniversaries"};

// Client-area geometry. The left column holds the date, the right one the rest.
constexpr int Margin = 8;
constexpr int LeftX = Margin;
constexpr int LeftWidth = 206;
constexpr int RuleX = LeftX + LeftWidth + Margin;
constexpr int RightX = RuleX + Margin;
constexpr int RightWidth = TfrmEdit::ClientWidth - Margin - RightX;
constexpr int FullWidth = TfrmEdit::ClientWidth - 2 * Margin;
constexpr int LineHeight = 22;
constexpr int TopRuleY = 38;
constexpr int DateFieldsY = 92;
constexpr int DayMonthWidth = 52;
constexpr int SlashWidth = 12;
constexpr int CalendarY = 120;
constexpr int ButtonWidth = 100;
constexpr int ButtonHeight = 32;

QString Text(const char* text) { return QString::fromLatin1(text); }

QDate ToQDate(DayNumber day) {
  const CivilDate c = CivilFromDay(day);
  return {c.year, c.month, c.day};
}

// 1 January of the current year: where a new record starts.
DayNumber NewYearsDay() {
  return DayFromCivil(std::clamp(CivilFromDay(Clock::Today()).year, FirstEditorYear, LastEditorYear), 1, 1);
}

DayNumber FromQDate(const QDate& date) { return DayFromCivil(date.year(), date.month(), date.day()); }

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

QMargins FrameMargins(const QWidget* window) {
  const QRect outer = window->frameGeometry();
  const QRect inner = window->geometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

QLabel* MakeLabel(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(Text(name));
  return label;
}

QFrame* MakeRule(QFrame::Shape shape, const QRect& where, QWidget* parent) {
  auto* rule = new QFrame(parent);
  rule->setFrameShape(shape);
  rule->setFrameShadow(QFrame::Sunken);
  rule->setGeometry(where);
  return rule;
}

QSpinBox* MakeSpin(const char* name, int minimum, int maximum, QWidget* parent) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(Text(name));
  spin->setRange(minimum, maximum);
  spin->setSingleStep(1);
  spin->setAlignment(Qt::AlignRight);
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
  QFont font(Text(WindowFontFamily));
  font.setPointSize(WindowFontPoints);
  setFont(font);
  setFixedSize(ClientWidth, ClientHeight);
  CreateControls();
  PlaceControls();

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

  // KeyDownAnywhere on the window and on every control, the parts of the calendar and of
  // the spin fields included.
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void TfrmEdit::CreateControls() {
  labDescription_ = MakeLabel("labDescription", Text("Description"), this);
  edDescription_ = new DescriptionEdit(this);
  edDescription_->setObjectName(QStringLiteral("edDescription"));
  QFont bold = font();
  bold.setBold(true);
  edDescription_->setFont(bold);

  labAnniversaryDate_ = MakeLabel("labAnniversaryDate", Text("Anniversary date"), this);
  btnToday_ = new QPushButton(Text("Today"), this);
  btnToday_->setObjectName(QStringLiteral("btnToday"));
  labDate_ = MakeLabel("labDate", QString(), this);
  labDate_->setFont(bold);
  labDate_->setAlignment(Qt::AlignCenter);

  cseDay_ = MakeSpin("cseDay", 1, 31, this);
  labSlash1_ = MakeLabel("labSlash1", Text("/"), this);
  cseMonth_ = MakeSpin("cseMonth", 1, 12, this);
  labSlash2_ = MakeLabel("labSlash2", Text("/"), this);
  cseYear_ = MakeSpin("cseYear", FirstEditorYear, LastEditorYear, this);
  for (QLabel* slash : {labSlash1_, labSlash2_}) slash->setAlignment(Qt::AlignCenter);

  calDate_ = new QCalendarWidget(this);
  calDate_->setObjectName(QStringLiteral("calDate"));
  calDate_->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  calDate_->setDateRange(ToQDate(FirstEditorDay()), ToQDate(LastEditorDay()));
  calDate_->setSelectionMode(QCalendarWidget::SingleSelection);
  // ISO week numbers read right only when the weeks begin on Monday.
  calDate_->setFirstDayOfWeek(Qt::Monday);
  calDate_->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
  calDate_->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);

  labType_ = MakeLabel("labType", Text("Event type"), this);
  cbType_ = new QComboBox(this);
  cbType_->setObjectName(QStringLiteral("cbType"));
  for (const char* item : KindItems) cbType_->addItem(Text(item));
  cbStarting_ = new QCheckBox(Text("Show elapsed years"), this);
  cbStarting_->setObjectName(QStringLiteral("cbStarting"));

  labImportance_ = MakeLabel("labImportance", Text("Importance"), this);
  cbImportance_ = new QComboBox(this);
  cbImportance_->setObjectName(QStringLiteral("cbImportance"));

  labStart_ = MakeLabel("labStart", Text("Start reminding "), this);
  cseStart_ = MakeSpin("cseStart", 0, MaxReminderField, this);
  labDaysBefore_ = MakeLabel("labDaysBefore", Text("days before the event"), this);
  cbDefault_ = new QCheckBox(Text("Use the default reminder period"), this);
  cbDefault_->setObjectName(QStringLiteral("cbDefault"));

  btnOK_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), Text("Remember"), this);
  btnOK_->setObjectName(QStringLiteral("btnOK"));
  btnCancel_ =
      new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), Text("Forget"), this);
  btnCancel_->setObjectName(QStringLiteral("btnCancel"));
  // Enter and Escape are KeyDownAnywhere's; no button is pressed by the dialog on its own.
  for (QPushButton* button : {btnToday_, btnOK_, btnCancel_}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
}

void TfrmEdit::PlaceControls() {
  const int labelShift = 3;  // a label's text sits level with the text of the field beside it
  const int descriptionLabelWidth = labDescription_->sizeHint().width();
  labDescription_->setGeometry(Margin, Margin + labelShift, descriptionLabelWidth, 16);
  const int descriptionX = Margin + descriptionLabelWidth + 6;
  edDescription_->setGeometry(descriptionX, Margin, ClientWidth - Margin - descriptionX, LineHeight);
  MakeRule(QFrame::HLine, {Margin, TopRuleY, FullWidth, 2}, this);

  // Left column.
  const int todayWidth = 75;
  labAnniversaryDate_->setGeometry(LeftX, 50, LeftWidth - todayWidth, 16);
  btnToday_->setGeometry(LeftX + LeftWidth - todayWidth, 46, todayWidth, 24);
  labDate_->setGeometry(LeftX, 72, LeftWidth, 18);
  // The day and month fields take their places in OrderDateFields.
  cseDay_->setGeometry(LeftX, DateFieldsY, DayMonthWidth, LineHeight);
  labSlash1_->setGeometry(LeftX + DayMonthWidth, DateFieldsY, SlashWidth, LineHeight);
  cseMonth_->setGeometry(LeftX + DayMonthWidth + SlashWidth, DateFieldsY, DayMonthWidth, LineHeight);
  const int slash2X = LeftX + 2 * DayMonthWidth + SlashWidth;
  labSlash2_->setGeometry(slash2X, DateFieldsY, SlashWidth, LineHeight);
  cseYear_->setGeometry(slash2X + SlashWidth, DateFieldsY, LeftX + LeftWidth - slash2X - SlashWidth,
                        LineHeight);
  calDate_->setGeometry(LeftX, CalendarY, LeftWidth, ClientHeight - Margin - CalendarY);

  MakeRule(QFrame::VLine, {RuleX - 1, TopRuleY + Margin, 2, ClientHeight - 2 * Margin - TopRuleY}, this);

  // Right column: kind, importance, reminder and the two buttons, between rules.
  labType_->setGeometry(RightX, 50, RightWidth, 16);
  cbType_->setGeometry(RightX, 67, RightWidth, LineHeight);
  cbStarting_->setGeometry(RightX, 94, RightWidth, 20);
  MakeRule(QFrame::HLine, {RightX, 122, RightWidth, 2}, this);
  labImportance_->setGeometry(RightX, 130, RightWidth, 16);
  cbImportance_->setGeometry(RightX, 147, RightWidth, LineHeight);
  MakeRule(QFrame::HLine, {RightX, 180, RightWidth, 2}, this);

  // "Start reminding [nn] days before the event" on one line, as narrow as its texts allow.
  const int reminderY = 190;
  const int startWidth = labStart_->sizeHint().width();
  const int spinWidth = cseStart_->sizeHint().width();
  labStart_->setGeometry(RightX, reminderY + labelShift, startWidth, 16);
  cseStart_->setGeometry(RightX + startWidth, reminderY, spinWidth, LineHeight);
  const int daysX = RightX + startWidth + spinWidth + 3;
  labDaysBefore_->setGeometry(daysX, reminderY + labelShift, ClientWidth - Margin - daysX, 16);
  cbDefault_->setGeometry(RightX, 218, RightWidth, 20);
  MakeRule(QFrame::HLine, {RightX, 248, RightWidth, 2}, this);

  const int buttonY = ClientHeight - Margin - ButtonHeight;
  btnCancel_->setGeometry(ClientWidth - Margin - ButtonWidth, buttonY, ButtonWidth, ButtonHeight);
  btnOK_->setGeometry(ClientWidth - Margin - 2 * ButtonWidth - 6, buttonY, ButtonWidth, ButtonHeight);
}

bool TfrmEdit::Execute(bool addingRecord, int editedIndex) {
  if (!addingRecord && (editedIndex < 0 || editedIndex >= static_cast<int>(anniversaries_.size()))) {
    return false;
  }
  addingRecord_ = addingRecord;
  editedIndex_ = editedIndex;
  FormShow();
  CentreOverMainWindow();
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
  first->move(LeftX, DateFieldsY);
  second->move(LeftX + DayMonthWidth + SlashWidth, DateFieldsY);
  QWidget* const chain[] = {edDescription_, btnToday_, first,      second, cseYear_,   cbType_,  cbStarting_,
                            cbImportance_,  cseStart_, cbDefault_, btnOK_, btnCancel_, calDate_};
  for (std::size_t i = 1; i < std::size(chain); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void TfrmEdit::CentreOverMainWindow() {
  QScreen* screen = nullptr;
  QRect over;
  QMargins frame = FrameMargins(this);
  if (mainWindow_ != nullptr && mainWindow_->isVisible()) {
    screen = mainWindow_->screen();
    over = mainWindow_->frameGeometry();
    // Before its first showing this window has no frame yet; it will get one like the
    // main window's.
    if (frame.isNull()) frame = FrameMargins(mainWindow_);
  } else {
    screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) over = screen->availableGeometry();
  }
  const QSize outer = size().grownBy(frame);
  QPoint topLeft(over.x() + (over.width() - outer.width()) / 2,
                 over.y() + (over.height() - outer.height()) / 2);
  if (screen != nullptr) {
    // Kept on the screen, as a window that hangs over its edge could not be moved back.
    const QRect area = screen->availableGeometry();
    const QPoint last(std::max(area.left(), area.right() + 1 - outer.width()),
                      std::max(area.top(), area.bottom() + 1 - outer.height()));
    topLeft = {std::clamp(topLeft.x(), area.left(), last.x()), std::clamp(topLeft.y(), area.top(), last.y())};
  }
  // The position of a window is that of its frame.
  move(topLeft);
}

void TfrmEdit::cbTypeChange() {
  const ElapsedYearsBox box = KindRule(cbType_->currentIndex());
  cbStarting_->setChecked(box.ticked);
  cbStarting_->setEnabled(box.enabled);
  FillLabDate();
}

void TfrmEdit::cbStartingClick() {
  // Grey only tells that the year will not be shown; it is still stored and editable.
  PaintField(cseYear_, cbStarting_->isChecked() ? QPalette::Base : QPalette::Button, QPalette::Text);
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
  cseDay_->setMaximum(DayLimit(cseYear_->value(), cseMonth_->value()));
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

bool TfrmEdit::KeyDownAnywhere(QKeyEvent* event) {
  return AcceptOrCancelOnKey(event->key(), btnOK_, [this] { btnOKClick(); }, btnCancel_,
                             [this] { btnCancelClick(); });
}

bool TfrmEdit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    // A drop-down list's popup is a window of its own and keeps Enter and Escape.
    return KeyDownAnywhere(static_cast<QKeyEvent*>(event));
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace jubilora
