#include "ui/preferences.h"

#include <algorithm>
#include <array>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>

#include "core/calendar.h"
#include "core/naming.h"
#include "ui/color_box.h"
#include "ui/font_choice.h"
#include "ui/qt_text.h"

namespace jubilora {

namespace {

constexpr const char* Caption = " Jubilora Preferences";
constexpr const char* DialogFontFamily = "Tahoma";
constexpr int DialogFontPoints = 8;

constexpr const char* ColorGroupTitle = " Colors and font settings ";
constexpr const char* PresetLabel = "Preset (Theme)";
constexpr const char* FontLabel = "Font";
constexpr std::array<const char*, 6> ColorLabels{"Most urgent events", "Semi urgent events", "Least urgent events",
                                                 "Passed events",      "Date background",    "Background"};
constexpr std::array<const char*, 6> ColorBoxNames{"cbMost", "cbSemi", "cbLeast", "cbPassed", "cbPlain", "cbBack"};

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

constexpr const char* OKText = "O&K";
constexpr const char* CancelText = "&Cancel";

constexpr int PresetRowsVisible = 20;

// Layout, in pixels of the client area.
constexpr QRect ColorGroupRect(8, 6, 322, 267);
constexpr QRect PeriodGroupRect(338, 6, 315, 80);
constexpr QRect OtherGroupRect(338, 92, 315, 140);
constexpr QRect OKRect(494, 244, 77, 29);
constexpr QRect CancelRect(576, 244, 77, 29);
constexpr int GroupInset = 12;
constexpr int FieldLeft = 130;
constexpr int FieldWidth = 180;
constexpr int FieldHeight = 22;
constexpr int PresetTop = 20;
constexpr int SeparatorTop = 52;
constexpr int FirstColorTop = 62;
constexpr int ColorRowStep = 28;
constexpr int FontButtonHeight = 27;
constexpr int LabelNudge = 4;  // a label's text top against its field's
constexpr int SpinWidth = 48;
constexpr int SpinGap = 6;
constexpr int BeforeTop = 20;
constexpr int AfterTop = 48;
constexpr int DateFormatLeft = 150;
constexpr int DateFormatWidth = 152;
constexpr int DateFormatTop = 20;
constexpr int FirstCheckTop = 54;
constexpr int CheckStep = 24;
constexpr int CheckHeight = 20;

// 31 January shows every format at its widest day.
constexpr int SampleYear = 2001;
constexpr int SampleMonth = 1;
constexpr int SampleDay = 31;

QLabel* AddLabel(QWidget* parent, const char* text, int left, int fieldTop) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->adjustSize();
  label->move(left, fieldTop + (FieldHeight - label->height()) / 2);
  return label;
}

int TextWidth(const QWidget* widget, const char* text) {
  return widget->fontMetrics().horizontalAdvance(QString::fromLatin1(text));
}

// A face name with "&" would otherwise lose it to an access key.
QString ButtonText(const std::string& text) { return FromCp1252(text).replace(QLatin1Char('&'), QLatin1String("&&")); }

}  // namespace

TfrmCfg::TfrmCfg(QWidget* mainWindow, TCfg& cfg, const FontCatalog& fonts, const SystemColors& colors)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      cfg_(cfg),
      fonts_(fonts),
      colors_(colors),
      fontChooser_(ChooseReportFont) {
  setObjectName(QStringLiteral("frmCfg"));
  setWindowTitle(QString::fromLatin1(Caption));
  QFont font(QString::fromLatin1(DialogFontFamily));
  font.setPointSize(DialogFontPoints);
  setFont(font);
  setFixedSize(ClientWidth, ClientHeight);

  BuildColorGroup();
  BuildPeriodGroup();
  BuildOtherGroup();
  BuildButtons();

  // FormCreate: the font dialog starts with the settings' font.
  dlgFont_ = LookOf(cfg_).Font;

  // KeyDownAnywhere listens on the window and on every control in it.
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void TfrmCfg::BuildColorGroup() {
  auto* group = new QGroupBox(QString::fromLatin1(ColorGroupTitle), this);
  group->setGeometry(ColorGroupRect);

  AddLabel(group, PresetLabel, GroupInset, PresetTop);
  cbPreset_ = new QComboBox(group);
  cbPreset_->setObjectName(QStringLiteral("cbPreset"));
  for (std::string_view name : PresetNames())
    cbPreset_->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
  cbPreset_->setMaxVisibleItems(PresetRowsVisible);
  cbPreset_->setGeometry(FieldLeft, PresetTop, FieldWidth, FieldHeight);
  connect(cbPreset_, &QComboBox::activated, this, [this] { cbPresetChange(); });

  auto* separator = new QFrame(group);
  separator->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  separator->setGeometry(GroupInset, SeparatorTop, ColorGroupRect.width() - 2 * GroupInset, 2);

  const std::array<ColorBox**, 6> boxes{&cbMost_, &cbSemi_, &cbLeast_, &cbPassed_, &cbPlain_, &cbBack_};
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const int top = FirstColorTop + static_cast<int>(i) * ColorRowStep;
    AddLabel(group, ColorLabels[i], GroupInset, top);
    auto* box = new ColorBox(colors_, group);
    box->setObjectName(QString::fromLatin1(ColorBoxNames[i]));
    box->setGeometry(FieldLeft, top, FieldWidth, FieldHeight);
    *boxes[i] = box;
  }

  const int fontTop = FirstColorTop + static_cast<int>(boxes.size()) * ColorRowStep;
  auto* fontLabel = new QLabel(QString::fromLatin1(FontLabel), group);
  fontLabel->adjustSize();
  fontLabel->move(GroupInset, fontTop + (FontButtonHeight - fontLabel->height()) / 2);
  btnFont_ = new QPushButton(group);
  btnFont_->setObjectName(QStringLiteral("btnFont"));
  btnFont_->setAutoDefault(false);
  btnFont_->setGeometry(FieldLeft, fontTop, FieldWidth, FontButtonHeight);
  connect(btnFont_, &QPushButton::clicked, this, &TfrmCfg::btnFontClick);
}

void TfrmCfg::BuildPeriodGroup() {
  auto* group = new QGroupBox(QString::fromLatin1(PeriodGroupTitle), this);
  group->setGeometry(PeriodGroupRect);

  // Both fields line up after the longer of the two lead texts.
  const int spinLeft = GroupInset + std::max(TextWidth(this, BeforeLead), TextWidth(this, AfterLead)) + SpinGap;
  auto addRow = [&](const char* lead, const char* tail, int top, int maximum, const char* name) {
    AddLabel(group, lead, GroupInset, top);
    auto* spin = new QSpinBox(group);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(0, maximum);
    spin->setSingleStep(1);
    spin->setGeometry(spinLeft, top, SpinWidth, FieldHeight);
    AddLabel(group, tail, spinLeft + SpinWidth + SpinGap, top);
    return spin;
  };
  cseBefore_ = addRow(BeforeLead, BeforeTail, BeforeTop, MaxDaysBefore, "cseBefore");
  cseAfter_ = addRow(AfterLead, AfterTail, AfterTop, MaxDaysAfter, "cseAfter");
}

void TfrmCfg::BuildOtherGroup() {
  auto* group = new QGroupBox(QString::fromLatin1(OtherGroupTitle), this);
  group->setGeometry(OtherGroupRect);

  AddLabel(group, DateFormatLabel, GroupInset, DateFormatTop);
  cbDateFormat_ = new QComboBox(group);
  cbDateFormat_->setObjectName(QStringLiteral("cbDateFormat"));
  // The items are the formats' own texts for 31 January.
  const DayNumber sample = DayFromCivil(SampleYear, SampleMonth, SampleDay);
  for (int format = 0; format < DateFormatCount; ++format)
    cbDateFormat_->addItem(FromCp1252(DateText(static_cast<std::uint8_t>(format), sample)));
  cbDateFormat_->setGeometry(DateFormatLeft, DateFormatTop, DateFormatWidth, FieldHeight);

  auto addCheck = [&](const char* text, int index, const char* name) {
    auto* check = new QCheckBox(QString::fromLatin1(text), group);
    check->setObjectName(QString::fromLatin1(name));
    check->setGeometry(GroupInset, FirstCheckTop + index * CheckStep, OtherGroupRect.width() - 2 * GroupInset,
                       CheckHeight);
    return check;
  };
  cbShowIcons_ = addCheck(ShowIconsText, 0, "cbShowIcons");
  cbZodiac_ = addCheck(ZodiacText, 1, "cbZodiac");
  cbSmooth_ = addCheck(SmoothText, 2, "cbSmooth");
}

void TfrmCfg::BuildButtons() {
  btnOK_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QString::fromLatin1(OKText), this);
  btnOK_->setObjectName(QStringLiteral("btnOK"));
  btnOK_->setGeometry(OKRect);
  btnCancel_ =
      new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QString::fromLatin1(CancelText), this);
  btnCancel_->setObjectName(QStringLiteral("btnCancel"));
  btnCancel_->setGeometry(CancelRect);
  // Enter and Escape are the window's own keys; no button is a default one.
  for (QPushButton* button : {btnOK_, btnCancel_}) button->setAutoDefault(false);
  connect(btnOK_, &QPushButton::clicked, this, &TfrmCfg::btnOKClick);
  connect(btnCancel_, &QPushButton::clicked, this, &TfrmCfg::btnCancelClick);

  QWidget* previous = cbPreset_;
  for (QWidget* next : std::initializer_list<QWidget*>{cbMost_, cbSemi_, cbLeast_, cbPassed_, cbPlain_, cbBack_,
                                                       btnFont_, cseBefore_, cseAfter_, cbDateFormat_, cbShowIcons_,
                                                       cbZodiac_, cbSmooth_, btnOK_, btnCancel_}) {
    setTabOrder(previous, next);
    previous = next;
  }
}

void TfrmCfg::SetFontChooser(FontChooser chooser) {
  fontChooser_ = chooser ? std::move(chooser) : FontChooser(ChooseReportFont);
}

bool TfrmCfg::Execute() {
  CenterOnScreen();
  return exec() == QDialog::Accepted;
}

void TfrmCfg::CenterOnScreen() {
  const QWidget* anchor = parentWidget() != nullptr ? parentWidget() : this;
  const QScreen* screen = anchor->screen() != nullptr ? anchor->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  // The whole window, frame included, once the frame is known (from the second showing on).
  const QSize outer = frameGeometry().size();
  const QRect area = screen->geometry();
  move(area.left() + (area.width() - outer.width()) / 2, area.top() + (area.height() - outer.height()) / 2);
}

void TfrmCfg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TfrmCfg::FormShow() {
  cseBefore_->setValue(cfg_.DaysBefore);
  cseAfter_->setValue(cfg_.DaysAfter);
  cbPreset_->setCurrentIndex(PresetPosition(cfg_.Preset));
  const ReportLook look = LookOf(cfg_);
  cbMost_->SetColor(look.Colors.MostUrgent);
  cbSemi_->SetColor(look.Colors.SemiUrgent);
  cbLeast_->SetColor(look.Colors.LeastUrgent);
  cbPassed_->SetColor(look.Colors.Passed);
  cbPlain_->SetColor(look.Colors.PlainText);
  cbBack_->SetColor(look.Colors.Background);
  dlgFont_ = look.Font;
  // Formats beyond the list are written like the first one, so that is what the list shows.
  cbDateFormat_->setCurrentIndex(cfg_.DateFormat < DateFormatCount ? cfg_.DateFormat : 0);
  cbShowIcons_->setChecked(cfg_.ShowIcons);
  cbZodiac_->setChecked(cfg_.ShowZodiacSign);
  cbSmooth_->setChecked(cfg_.ForceSmoothing);
  // Last, so that a stored preset shows its own colours and font whatever the fields hold.
  cbPresetChange();
  UpdateFontButton();
  cbPreset_->setFocus();
}

void TfrmCfg::cbPresetChange() {
  const int position = cbPreset_->currentIndex();
  const bool editable = PresetIsEditable(position);
  const std::array<ColorBox*, 6> boxes{cbMost_, cbSemi_, cbLeast_, cbPassed_, cbPlain_, cbBack_};
  for (ColorBox* box : boxes) box->setEnabled(editable);
  btnFont_->setEnabled(editable);

  ReportLook look;
  look.Colors = {cbMost_->Color(), cbSemi_->Color(), cbLeast_->Color(),
                 cbPassed_->Color(), cbPlain_->Color(), cbBack_->Color()};
  look.Font = dlgFont_;
  look = ApplyPreset(position, look);
  cbMost_->SetColor(look.Colors.MostUrgent);
  cbSemi_->SetColor(look.Colors.SemiUrgent);
  cbLeast_->SetColor(look.Colors.LeastUrgent);
  cbPassed_->SetColor(look.Colors.Passed);
  cbPlain_->SetColor(look.Colors.PlainText);
  cbBack_->SetColor(look.Colors.Background);
  dlgFont_ = look.Font;

  UpdateFontButton();
  for (ColorBox* box : boxes) box->update();
}

void TfrmCfg::UpdateFontButton() {
  dlgFont_ = WithInstalledFace(dlgFont_, fonts_);
  btnFont_->setText(ButtonText(FontCaption(dlgFont_)));
}

void TfrmCfg::btnFontClick() {
  if (std::optional<ReportFont> chosen = fontChooser_(this, dlgFont_)) {
    // The character set is the settings' own; the dialog never changes it.
    chosen->Charset = dlgFont_.Charset;
    dlgFont_ = *chosen;
  }
  UpdateFontButton();
}

void TfrmCfg::btnOKClick() {
  cfg_.DaysBefore = static_cast<std::uint8_t>(cseBefore_->value());
  cfg_.DaysAfter = static_cast<std::uint8_t>(cseAfter_->value());
  cfg_.Preset = static_cast<std::uint8_t>(cbPreset_->currentIndex());
  ReportLook look;
  look.Colors = {cbMost_->Color(), cbSemi_->Color(), cbLeast_->Color(),
                 cbPassed_->Color(), cbPlain_->Color(), cbBack_->Color()};
  look.Font = dlgFont_;
  StoreLook(look, cfg_);
  cfg_.DateFormat = static_cast<std::uint8_t>(cbDateFormat_->currentIndex());
  cfg_.ShowIcons = cbShowIcons_->isChecked();
  cfg_.ShowZodiacSign = cbZodiac_->isChecked();
  cfg_.ForceSmoothing = cbSmooth_->isChecked();
  accept();
}

void TfrmCfg::btnCancelClick() { reject(); }

bool TfrmCfg::KeyDownAnywhere(int key) {
  // The focus moves to the button first, so that a field being edited hands in its value.
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      btnOK_->setFocus();
      btnOKClick();
      return true;
    case Qt::Key_Escape:
      btnCancel_->setFocus();
      btnCancelClick();
      return true;
    default:
      return false;
  }
}

bool TfrmCfg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && isVisible()) {
    if (KeyDownAnywhere(static_cast<QKeyEvent*>(event)->key())) return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace jubilora
