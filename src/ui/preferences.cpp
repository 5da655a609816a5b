#include "ui/preferences.h"

#include <filesystem>
#include <iterator>
#include <tuple>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>

#include "core/calendar.h"
#include "core/naming.h"
#include "data/icalendar_export.h"
#include "ui/color_box.h"
#include "ui/font_choice.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

namespace jubilora {

namespace {

constexpr const char* Caption = " Jubilora Preferences";

constexpr const char* ColorGroupTitle = " Colors and font settings ";
constexpr const char* PresetLabel = "Preset (Theme)";
constexpr const char* FontLabel = "Font";
constexpr int PresetRowsVisible = 20;
// Margins kept to the spacing between controls, so that the window fits a small screen.
constexpr int Margin = 6;

// Each colour box and the settings field it shows and stores.
struct ColorRow {
  const char* name;
  const char* label;
  StoredColor TCfg::*field;
};
constexpr ColorRow ColorRows[] = {
    {"cbMost", "Most urgent events", &TCfg::MostUrgent},    {"cbSemi", "Semi urgent events", &TCfg::SemiUrgent},
    {"cbLeast", "Least urgent events", &TCfg::LeastUrgent}, {"cbPassed", "Passed events", &TCfg::Passed},
    {"cbPlain", "Date background", &TCfg::PlainText},       {"cbBack", "Background", &TCfg::Background},
};

constexpr const char* PeriodGroupTitle = " Default reminder period ";
constexpr const char* BeforeLead = "Start reminding ";
constexpr const char* BeforeTail = "days before the event";
constexpr const char* AfterLead = "Also, remind for";
constexpr const char* AfterTail = "days after the event";
constexpr int MaxDaysBefore = 90;
constexpr int MaxDaysAfter = 45;

constexpr const char* OtherGroupTitle = " Other preferences ";
constexpr const char* DateFormatLabel = "Date display format";
constexpr int DateFormatCount = 8;
constexpr const char* ShowIconsText = "Show anniversary type icons";
constexpr const char* ZodiacText = "Show zodiac signs for birthdays";
constexpr const char* SmoothText = "Advanced font smoothing (anti-aliasing)";
constexpr const char* LeapDayLabel = "Events on 29 February, in common years:";
// In the order of LeapDayChoice.
constexpr const char* LeapDayItems[] = {"are not shown", "show on 28 February", "show on 1 March"};
constexpr const char* ICalendarCopyText = "Keep an iCalendar copy up to date at:";
constexpr const char* ICalendarCopyName = "iCalendar copy";
constexpr const char* ICalendarCopyTitle = "iCalendar Copy";
constexpr const char* BrowseText = "Browse...";

constexpr const char* OKText = "O&K";
constexpr const char* CancelText = "&Cancel";

// 31 January shows every format at its widest day.
constexpr int SampleYear = 2001;
constexpr int SampleMonth = 1;
constexpr int SampleDay = 31;

QString Text(const char* text) { return QString::fromLatin1(text); }

// A face name with "&" would otherwise lose it to an access key.
QString ButtonText(const std::string& text) { return FromCp1252(text).replace(QLatin1Char('&'), QLatin1String("&&")); }

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(Text(name));
  return widget;
}

template <typename Layout>
Layout* Compact(Layout* layout) {
  layout->setContentsMargins(Margin, Margin, Margin, Margin);
  return layout;
}

// A group's rows of captions and fields, the fields taking the width there is. Each caption
// is its field's label buddy, which names the field for assistive tools; no access key is added.
QFormLayout* GroupForm(QGroupBox* group) {
  auto* form = Compact(new QFormLayout(group));
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  return form;
}

}  // namespace

TfrmCfg::TfrmCfg(QWidget* mainWindow, TCfg& cfg, const FontCatalog& fonts, const SystemColors& colors, Ui& ui)
    : QDialog(mainWindow), cfg_(cfg), fonts_(fonts), colors_(colors), ui_(ui) {
  setObjectName(QStringLiteral("frmCfg"));
  setWindowTitle(Text(Caption));

  auto* grid = Compact(new QGridLayout(this));
  grid->addWidget(BuildColorGroup(), 0, 0, 4, 1);
  grid->addWidget(BuildPeriodGroup(), 0, 1);
  grid->addWidget(BuildOtherGroup(), 1, 1);
  grid->setRowStretch(2, 1);
  BuildButtons();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnOK_);
  buttons->addWidget(btnCancel_);
  grid->addLayout(buttons, 3, 1);
  // Room to spare goes to the colour boxes, whose names are the longest texts.
  grid->setColumnStretch(0, 1);

  static_assert(std::size(ColorRows) == std::tuple_size_v<decltype(colorBoxes_)>);
  std::vector<QWidget*> tabOrder{cbPreset_};
  tabOrder.insert(tabOrder.end(), colorBoxes_.begin(), colorBoxes_.end());
  tabOrder.insert(tabOrder.end(), {btnFont_, cseBefore_, cseAfter_, cbDateFormat_, cbLeapDay_, cbShowIcons_, cbZodiac_,
                                   cbSmooth_, cbICalendarCopy_, edICalendarCopy_, btnICalendarBrowse_, btnOK_,
                                   btnCancel_});
  for (std::size_t i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

  // FormCreate: the font dialog starts with the settings' font.
  shown_ = cfg_;
  UpdateFontButton();
  resize(InitialSize.expandedTo(minimumSizeHint()));
}

QGroupBox* TfrmCfg::BuildColorGroup() {
  auto* group = new QGroupBox(Text(ColorGroupTitle));
  QFormLayout* form = GroupForm(group);

  cbPreset_ = Named(new QComboBox, "cbPreset");
  for (std::string_view name : PresetNames())
    cbPreset_->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
  cbPreset_->setMaxVisibleItems(PresetRowsVisible);
  connect(cbPreset_, &QComboBox::activated, this, [this] { cbPresetChange(); });
  form->addRow(Text(PresetLabel), cbPreset_);

  auto* separator = new QFrame;
  separator->setFrameShape(QFrame::HLine);
  separator->setFrameShadow(QFrame::Sunken);
  form->addRow(separator);

  for (std::size_t i = 0; i < colorBoxes_.size(); ++i) {
    auto* box = Named(new ColorBox(colors_), ColorRows[i].name);
    box->setAccessibleName(Text(ColorRows[i].label));
    form->addRow(Text(ColorRows[i].label), box);
    colorBoxes_[i] = box;
  }

  btnFont_ = Named(new QPushButton, "btnFont");
  btnFont_->setAccessibleName(Text(FontLabel));
  connect(btnFont_, &QPushButton::clicked, this, &TfrmCfg::btnFontClick);
  form->addRow(Text(FontLabel), btnFont_);
  return group;
}

QGroupBox* TfrmCfg::BuildPeriodGroup() {
  auto* group = new QGroupBox(Text(PeriodGroupTitle));
  QFormLayout* form = GroupForm(group);
  // A line reads lead, days, tail; the lead is the days' caption.
  auto addLine = [form](const char* lead, const char* tail, int maximum, const char* name) {
    auto* spin = Named(new QSpinBox, name);
    spin->setRange(0, maximum);
    spin->setSingleStep(1);
    auto* line = new QHBoxLayout;
    line->addWidget(spin);
    line->addWidget(new QLabel(Text(tail)), 1);
    form->addRow(Text(lead), line);
    qobject_cast<QLabel*>(form->labelForField(line))->setBuddy(spin);
    return spin;
  };
  cseBefore_ = addLine(BeforeLead, BeforeTail, MaxDaysBefore, "cseBefore");
  cseAfter_ = addLine(AfterLead, AfterTail, MaxDaysAfter, "cseAfter");
  return group;
}

QGroupBox* TfrmCfg::BuildOtherGroup() {
  auto* group = new QGroupBox(Text(OtherGroupTitle));
  QFormLayout* form = GroupForm(group);

  cbDateFormat_ = Named(new QComboBox, "cbDateFormat");
  // The items are the formats' own texts for 31 January.
  const DayNumber sample = DayFromCivil(SampleYear, SampleMonth, SampleDay);
  for (int format = 0; format < DateFormatCount; ++format)
    cbDateFormat_->addItem(FromCp1252(DateText(static_cast<std::uint8_t>(format), sample)));
  form->addRow(Text(DateFormatLabel), cbDateFormat_);

  // The caption is too long to stand beside its list: it takes a line of its own.
  cbLeapDay_ = Named(new QComboBox, "cbLeapDay");
  for (const char* item : LeapDayItems) cbLeapDay_->addItem(Text(item));
  auto* leapDayLabel = new QLabel(Text(LeapDayLabel));
  leapDayLabel->setBuddy(cbLeapDay_);
  form->addRow(leapDayLabel);
  form->addRow(QString(), cbLeapDay_);

  cbShowIcons_ = Named(new QCheckBox(Text(ShowIconsText)), "cbShowIcons");
  cbZodiac_ = Named(new QCheckBox(Text(ZodiacText)), "cbZodiac");
  cbSmooth_ = Named(new QCheckBox(Text(SmoothText)), "cbSmooth");
  for (QCheckBox* check : {cbShowIcons_, cbZodiac_, cbSmooth_}) form->addRow(check);

  // The check box is the path's caption.
  cbICalendarCopy_ = Named(new QCheckBox(Text(ICalendarCopyText)), "cbICalendarCopy");
  edICalendarCopy_ = Named(new QLineEdit, "edICalendarCopy");
  edICalendarCopy_->setAccessibleName(Text(ICalendarCopyName));
  btnICalendarBrowse_ = Named(new QPushButton(Text(BrowseText)), "btnICalendarBrowse");
  connect(cbICalendarCopy_, &QCheckBox::toggled, this, &TfrmCfg::cbICalendarCopyChange);
  connect(btnICalendarBrowse_, &QPushButton::clicked, this, &TfrmCfg::btnICalendarBrowseClick);
  auto* copyLine = new QHBoxLayout;
  copyLine->addWidget(edICalendarCopy_, 1);
  copyLine->addWidget(btnICalendarBrowse_);
  form->addRow(cbICalendarCopy_);
  form->addRow(copyLine);
  return group;
}

void TfrmCfg::BuildButtons() {
  btnOK_ = Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), Text(OKText)), "btnOK");
  btnCancel_ =
      Named(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), Text(CancelText)), "btnCancel");
  // Enter anywhere but on another button is O&K; Escape is QDialog's own cancel.
  btnOK_->setDefault(true);
  connect(btnOK_, &QPushButton::clicked, this, &TfrmCfg::btnOKClick);
  connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmCfg::Execute() {
  FormShow();
  // The initial size gives way to a small screen (a large scale factor), down to what the
  // layout needs.
  resize(size().expandedTo(minimumSizeHint()).boundedTo(LargestClientSize(this, parentWidget())));
  PlaceCentred(this, parentWidget());
  return exec() == QDialog::Accepted;
}

void TfrmCfg::FormShow() {
  cseBefore_->setValue(cfg_.DaysBefore);
  cseAfter_->setValue(cfg_.DaysAfter);
  cbPreset_->setCurrentIndex(PresetPosition(cfg_.Preset));
  shown_ = cfg_;
  ShowColors(shown_);
  // Formats beyond the list are written like the first one, so that is what the list shows.
  cbDateFormat_->setCurrentIndex(cfg_.DateFormat < DateFormatCount ? cfg_.DateFormat : 0);
  cbShowIcons_->setChecked(cfg_.ShowIcons);
  cbZodiac_->setChecked(cfg_.ShowZodiacSign);
  cbSmooth_->setChecked(cfg_.ForceSmoothing);
  cbLeapDay_->setCurrentIndex(static_cast<int>(cfg_.LeapDay));
  cbICalendarCopy_->setChecked(!cfg_.ICalendarCopy.empty());
  edICalendarCopy_->setText(QString::fromStdString(cfg_.ICalendarCopy));
  cbICalendarCopyChange();
  // Last, so that a stored preset shows its own colours and font whatever the fields hold.
  cbPresetChange();
  cbPreset_->setFocus();
}

void TfrmCfg::ShowColors(const TCfg& from) {
  for (std::size_t i = 0; i < colorBoxes_.size(); ++i) colorBoxes_[i]->SetColor(from.*ColorRows[i].field);
}

void TfrmCfg::ReadColors(TCfg& into) const {
  for (std::size_t i = 0; i < colorBoxes_.size(); ++i) into.*ColorRows[i].field = colorBoxes_[i]->Color();
}

void TfrmCfg::cbPresetChange() {
  const int position = cbPreset_->currentIndex();
  const bool editable = PresetIsEditable(position);
  for (ColorBox* box : colorBoxes_) box->setEnabled(editable);
  btnFont_->setEnabled(editable);
  // "Custom..." starts from whatever the boxes show.
  ReadColors(shown_);
  ApplyPreset(position, shown_);
  ShowColors(shown_);
  UpdateFontButton();
}

void TfrmCfg::UpdateFontButton() {
  StoreFont(WithInstalledFace(FontOf(shown_), fonts_), shown_);
  const std::string caption = FontCaption(FontOf(shown_));
  btnFont_->setText(ButtonText(caption));
  btnFont_->setAccessibleDescription(FromCp1252(caption));
}

void TfrmCfg::btnFontClick() {
  if (std::optional<ReportFont> chosen = ChooseReportFont(this, FontOf(shown_))) StoreFont(*chosen, shown_);
  UpdateFontButton();
}

void TfrmCfg::btnOKClick() {
  cfg_.DaysBefore = static_cast<std::uint8_t>(cseBefore_->value());
  cfg_.DaysAfter = static_cast<std::uint8_t>(cseAfter_->value());
  cfg_.Preset = static_cast<std::uint8_t>(cbPreset_->currentIndex());
  ReadColors(cfg_);
  StoreFont(FontOf(shown_), cfg_);
  cfg_.DateFormat = static_cast<std::uint8_t>(cbDateFormat_->currentIndex());
  cfg_.ShowIcons = cbShowIcons_->isChecked();
  cfg_.ShowZodiacSign = cbZodiac_->isChecked();
  cfg_.ForceSmoothing = cbSmooth_->isChecked();
  cfg_.LeapDay = static_cast<LeapDayChoice>(cbLeapDay_->currentIndex());
  // No file, no copy.
  cfg_.ICalendarCopy = cbICalendarCopy_->isChecked() ? edICalendarCopy_->text().trimmed().toStdString() : "";
  accept();
}

void TfrmCfg::cbICalendarCopyChange() {
  edICalendarCopy_->setEnabled(cbICalendarCopy_->isChecked());
  btnICalendarBrowse_->setEnabled(cbICalendarCopy_->isChecked());
}

void TfrmCfg::btnICalendarBrowseClick() {
  const std::filesystem::path current = edICalendarCopy_->text().trimmed().toStdString();
  FileDialogOptions dialog;
  dialog.title = ICalendarCopyTitle;
  dialog.filter = ICalendarFilter;
  dialog.defaultSuffix = ICalendarExtension;
  // Where the copy is now, or else where exports go.
  dialog.initialFolder = current.has_parent_path() ? current.parent_path().string() : cfg_.ExportPath;
  dialog.initialName = current.filename().string();
  if (const auto chosen = ui_.ChooseSaveFile(dialog)) {
    edICalendarCopy_->setText(QString::fromStdString(chosen->string()));
  }
}

}  // namespace jubilora
