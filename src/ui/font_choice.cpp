#include "ui/font_choice.h"

#include <algorithm>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/font_catalog.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

namespace jubilora {

namespace {

constexpr const char* Title = "Font";
constexpr const char* FaceLabel = "&Font:";
constexpr const char* StyleLabel = "Font st&yle:";
constexpr const char* SizeLabel = "&Size:";
constexpr const char* ScriptLabel = "Sc&ript:";
constexpr const char* SampleTitle = "Sample";
// By list row: bold is the row's second bit, italic its first.
constexpr const char* StyleNames[] = {"Regular", "Italic", "Bold", "Bold Italic"};

// The character sets the settings can name, with the writing system each one is for.
struct Script {
  int charset;
  const char* name;
  QFontDatabase::WritingSystem system;
};
constexpr int DefaultCharset = 1;
constexpr Script Scripts[] = {
    {0, "Western", QFontDatabase::Latin},
    {DefaultCharset, "Default", QFontDatabase::Any},
    {2, "Symbol", QFontDatabase::Symbol},
    {128, "Japanese", QFontDatabase::Japanese},
    {129, "Korean", QFontDatabase::Korean},
    {134, "Chinese Simplified", QFontDatabase::SimplifiedChinese},
    {136, "Chinese Traditional", QFontDatabase::TraditionalChinese},
    {161, "Greek", QFontDatabase::Greek},
    {162, "Turkish", QFontDatabase::Latin},
    {163, "Vietnamese", QFontDatabase::Vietnamese},
    {177, "Hebrew", QFontDatabase::Hebrew},
    {178, "Arabic", QFontDatabase::Arabic},
    {186, "Baltic", QFontDatabase::Latin},
    {204, "Cyrillic", QFontDatabase::Cyrillic},
    {222, "Thai", QFontDatabase::Thai},
    {238, "Central European", QFontDatabase::Latin},
};

const Script* ScriptOf(int charset) {
  const auto* found =
      std::find_if(std::begin(Scripts), std::end(Scripts), [charset](const Script& s) { return s.charset == charset; });
  return found != std::end(Scripts) ? found : nullptr;
}

// A character set without a name of ours is kept and shown by its number.
QString ScriptName(int charset) {
  const Script* script = ScriptOf(charset);
  return script != nullptr ? QString::fromLatin1(script->name) : QString::number(charset);
}

// Faces the settings can hold: a Windows-1252 name, one entry per family whatever its foundries.
QStringList InstalledFaces() {
  QStringList faces;
  for (const QString& listed : QFontDatabase::families()) {
    if (QFontDatabase::isPrivateFamily(listed)) continue;
    const QString face = FamilyName(listed);
    if (ToCp1252(face) && !faces.contains(face, Qt::CaseInsensitive)) faces << face;
  }
  return faces;
}

QLabel* BuddyLabel(const char* text, QWidget* buddy) {
  auto* label = new QLabel(QString::fromLatin1(text));
  label->setBuddy(buddy);
  return label;
}

}  // namespace

QFont ToQFont(const ReportFont& font) {
  QFont qfont(FromCp1252(font.Name));
  qfont.setPointSize(std::max(1, font.Size));
  qfont.setBold(font.Bold);
  qfont.setItalic(font.Italic);
  return qfont;
}

ReportFontDialog::ReportFontDialog(const ReportFont& initial, QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("dlgFont"));
  setWindowTitle(QString::fromLatin1(Title));

  faces_ = new QListWidget;
  faces_->setObjectName(QStringLiteral("lstFace"));
  FillFaces(initial.Name);

  styles_ = new QListWidget;
  styles_->setObjectName(QStringLiteral("lstStyle"));
  for (const char* name : StyleNames) styles_->addItem(QString::fromLatin1(name));
  styles_->setCurrentRow((initial.Bold ? 2 : 0) + (initial.Italic ? 1 : 0));

  size_ = new QSpinBox;
  size_->setObjectName(QStringLiteral("cseSize"));
  size_->setRange(MinFontPoints, MaxFontPoints);
  size_->setValue(initial.Size);

  script_ = new QComboBox;
  script_->setObjectName(QStringLiteral("cbScript"));
  script_->addItem(ScriptName(initial.Charset), initial.Charset);
  FillScripts();

  // Room for a line at the largest size, so that the window keeps its size while choosing.
  sample_ = new QLabel;
  sample_->setObjectName(QStringLiteral("labSample"));
  sample_->setAccessibleName(QString::fromLatin1(SampleTitle));
  sample_->setAlignment(Qt::AlignCenter);
  sample_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  QFont largest = font();
  largest.setPointSize(MaxFontPoints);
  sample_->setMinimumHeight(QFontMetrics(largest).height());
  auto* sampleGroup = new QGroupBox(QString::fromLatin1(SampleTitle));
  (new QVBoxLayout(sampleGroup))->addWidget(sample_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* grid = new QGridLayout(this);
  grid->addWidget(BuddyLabel(FaceLabel, faces_), 0, 0);
  grid->addWidget(BuddyLabel(StyleLabel, styles_), 0, 1);
  grid->addWidget(BuddyLabel(SizeLabel, size_), 0, 2);
  grid->addWidget(faces_, 1, 0);
  grid->addWidget(styles_, 1, 1);
  grid->addWidget(size_, 1, 2, Qt::AlignTop);
  auto* scriptRow = new QHBoxLayout;
  scriptRow->addWidget(BuddyLabel(ScriptLabel, script_));
  scriptRow->addWidget(script_, 1);
  grid->addLayout(scriptRow, 2, 0, 1, 3);
  grid->addWidget(sampleGroup, 3, 0, 1, 3);
  grid->addWidget(buttons, 4, 0, 1, 3);
  grid->setColumnStretch(0, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(1, 1);

  connect(faces_, &QListWidget::currentRowChanged, this, [this] {
    FillScripts();
    UpdateSample();
  });
  connect(styles_, &QListWidget::currentRowChanged, this, &ReportFontDialog::UpdateSample);
  connect(size_, &QSpinBox::valueChanged, this, &ReportFontDialog::UpdateSample);
  connect(script_, &QComboBox::currentIndexChanged, this, &ReportFontDialog::UpdateSample);
  UpdateSample();
  adjustSize();  // its own size before it is placed
}

void ReportFontDialog::FillFaces(const std::string& initial) {
  QStringList faces = InstalledFaces();
  // A face that is not installed stays what the dialog gives back until another is chosen.
  const QString wanted = FromCp1252(initial);
  if (!wanted.isEmpty() && !faces.contains(wanted, Qt::CaseInsensitive)) faces << wanted;
  faces.sort(Qt::CaseInsensitive);
  faces_->addItems(faces);
  const QList<QListWidgetItem*> found = faces_->findItems(wanted, Qt::MatchFixedString);
  if (!found.isEmpty()) faces_->setCurrentItem(found.front());
}

// The scripts the face writes, and always the one chosen, which a face change never drops.
void ReportFontDialog::FillScripts() {
  const int chosen = script_->currentData().toInt();
  const QList<QFontDatabase::WritingSystem> written = faces_->currentItem() != nullptr
                                                          ? QFontDatabase::writingSystems(faces_->currentItem()->text())
                                                          : QList<QFontDatabase::WritingSystem>();
  const QSignalBlocker quiet(script_);
  script_->clear();
  for (const Script& script : Scripts) {
    if (script.charset == chosen || script.charset == DefaultCharset || written.contains(script.system))
      script_->addItem(QString::fromLatin1(script.name), script.charset);
  }
  if (script_->findData(chosen) < 0) script_->insertItem(0, ScriptName(chosen), chosen);
  script_->setCurrentIndex(script_->findData(chosen));
}

ReportFont ReportFontDialog::Chosen() const {
  ReportFont font;
  const QListWidgetItem* face = faces_->currentItem();
  font.Name = face != nullptr ? ToCp1252(face->text()).value_or(std::string()) : std::string();
  font.Size = size_->value();
  font.Bold = (styles_->currentRow() & 2) != 0;
  font.Italic = (styles_->currentRow() & 1) != 0;
  font.Charset = script_->currentData().toInt();
  return font;
}

void ReportFontDialog::UpdateSample() {
  const Script* script = ScriptOf(script_->currentData().toInt());
  const QFontDatabase::WritingSystem system =
      script != nullptr && script->system != QFontDatabase::Any ? script->system : QFontDatabase::Latin;
  sample_->setFont(ToQFont(Chosen()));
  sample_->setText(QFontDatabase::writingSystemSample(system));
}

std::optional<ReportFont> ChooseReportFont(QWidget* owner, const ReportFont& current) {
  ReportFontDialog dialog(current, owner);
  PlaceCentred(&dialog, owner);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  ReportFont chosen = dialog.Chosen();
  if (chosen.Name.empty()) chosen.Name = current.Name;
  return chosen;
}

}  // namespace jubilora
