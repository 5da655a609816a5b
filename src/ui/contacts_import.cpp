#include "ui/contacts_import.h"

#include <algorithm>
#include <string>
#include <utility>

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStyle>
#include <QTableView>

#include "core/naming.h"
#include "core/product.h"
#include "core/text_codec.h"
#include "data/atomic_file.h"
#include "ui/qt_text.h"
#include "ui/record_rules.h"
#include "ui/window_placement.h"

namespace jubilora {

namespace {

constexpr const char* Caption = "Import from Contacts";
constexpr const char* VCardFilter = "vCard files (*.vcf *.vcard);;All files (*)";
// Far more than any address book with photos; anything larger is not one.
constexpr std::size_t MaxContactsFileSize = 64u << 20;
constexpr std::string_view ContactsFileTooLarge = "It is too large to be an address book (over 64 MiB)";
constexpr const char* OkButton = "&OK";

constexpr const char* FoundLabel = "&Dates found in \"%1\":";
constexpr const char* TableName = "Dates found";
constexpr const char* CountText = "%1 of %2 will be added.";
constexpr const char* ImportanceLabel = "Im&portance:";
constexpr const char* StartLabel = "Start re&minding";
constexpr const char* DaysBeforeLabel = "days before the event";
constexpr const char* DefaultLabel = "&Use the default reminder period";
constexpr const char* ImportButton = "&Import";
constexpr const char* CancelButton = "&Cancel";

// Birthdays matter to most people, but not all of them alike; the user picks for all.
constexpr std::uint8_t DefaultImportance = 3;
// Names get this many average characters before the window grows no further for them.
constexpr int DescriptionChars = 32;
// Enough to recognise what went wrong; the rest is summed up.
constexpr std::size_t ShownProblems = 5;

QString Text(const char* text) { return QString::fromLatin1(text); }

std::string Counted(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The lines the reader could not use, the first few with their numbers. Windows-1252 (the
// reasons are ASCII).
std::string ProblemsText(const std::vector<VCardProblem>& problems) {
  if (problems.empty()) return {};
  const std::size_t count = problems.size();
  // Past MaxVCardProblems the reader sums up the rest in one last problem.
  std::string text = "\r\n\r\n";
  text += count > MaxVCardProblems ? "More than " + Counted(MaxVCardProblems, "place", "places")
                                   : Counted(count, "place", "places");
  text += " in the file could not be read and " + std::string(count == 1 ? "was" : "were") + " skipped:";
  for (std::size_t i = 0; i < std::min(count, ShownProblems); ++i)
    text += "\r\nLine " + std::to_string(problems[i].line) + ": " + problems[i].reason;
  if (count > ShownProblems) text += "\r\n...";
  return text;
}

std::string NothingFoundMessage(const std::string& fileName, const std::vector<VCardProblem>& problems) {
  return std::string(ProductName) + " found no birthdays or anniversaries in\r\n\"" + fileName +
         "\".\r\n\r\nThere is nothing to import." + ProblemsText(problems);
}

std::string ImportedMessage(std::size_t added, const std::string& fileName,
                            const std::vector<VCardProblem>& problems) {
  return std::string(ProductName) + " added " + Counted(added, "anniversary", "anniversaries") + " from\r\n\"" +
         fileName + "\"." + ProblemsText(problems);
}

}  // namespace

ContactsImportDialog::ContactsImportDialog(QWidget* owner, std::vector<ImportRow> rows, const TCfg& cfg,
                                           const QString& fileName)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint),
      cfg_(cfg),
      model_(new ContactsImportModel(std::move(rows), cfg, this)) {
  setObjectName(QStringLiteral("frmContactsImport"));
  setWindowTitle(Text(Caption));
  CreateControls(fileName);
  BuildLayout();
  connect(model_, &ContactsImportModel::TicksChanged, this, &ContactsImportDialog::TicksChanged);
  connect(cbDefault_, &QCheckBox::toggled, this, &ContactsImportDialog::cbDefaultClick);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  TicksChanged();
  cbDefaultClick();
}

void ContactsImportDialog::CreateControls(const QString& fileName) {
  tvDates_ = new QTableView(this);
  tvDates_->setAccessibleName(Text(TableName));
  tvDates_->setModel(model_);
  tvDates_->setWordWrap(false);
  tvDates_->setTabKeyNavigation(false);
  tvDates_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tvDates_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tvDates_->setSelectionMode(QAbstractItemView::SingleSelection);
  // Rows as high as a line of text, apart by their colour alone: more of them show.
  tvDates_->setShowGrid(false);
  tvDates_->setAlternatingRowColors(true);
  QHeaderView* rows = tvDates_->verticalHeader();
  rows->hide();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(fontMetrics().height() + 6);
  QHeaderView* header = tvDates_->horizontalHeader();
  header->setSectionsClickable(false);
  header->setHighlightSections(false);
  header->setSectionResizeMode(QHeaderView::ResizeToContents);
  header->setSectionResizeMode(ContactsImportModel::DescriptionColumn, QHeaderView::Stretch);
  // Space ticks the current row whichever of its cells has the focus.
  auto* space = new QShortcut(QKeySequence(Qt::Key_Space), tvDates_, nullptr, nullptr, Qt::WidgetShortcut);
  connect(space, &QShortcut::activated, this, [this] { model_->Toggle(tvDates_->currentIndex().row()); });
  if (model_->rowCount() > 0) tvDates_->setCurrentIndex(model_->index(0, ContactsImportModel::DescriptionColumn));

  QString shownName = fileName;
  shownName.replace(QLatin1Char('&'), QStringLiteral("&&"));
  labFound_ = new QLabel(Text(FoundLabel).arg(shownName), this);
  labFound_->setBuddy(tvDates_);
  labCount_ = new QLabel(this);

  cbImportance_ = new QComboBox(this);
  for (int importance = ImportancePositionCount - 1; importance >= 0; --importance)
    cbImportance_->addItem(FromCp1252(ImportanceName(static_cast<std::uint8_t>(importance))));
  cbImportance_->setCurrentIndex(ImportancePositionOf(DefaultImportance));
  labImportance_ = new QLabel(Text(ImportanceLabel), this);
  labImportance_->setBuddy(cbImportance_);

  cseStart_ = new QSpinBox(this);
  cseStart_->setRange(0, MaxReminderField);
  cseStart_->setAlignment(Qt::AlignRight);
  labStart_ = new QLabel(Text(StartLabel), this);
  labStart_->setBuddy(cseStart_);
  labDaysBefore_ = new QLabel(Text(DaysBeforeLabel), this);
  cbDefault_ = new QCheckBox(Text(DefaultLabel), this);
  cbDefault_->setChecked(true);

  buttons_ = new QDialogButtonBox(this);
  btnImport_ = buttons_->addButton(Text(ImportButton), QDialogButtonBox::AcceptRole);
  btnImport_->setDefault(true);
  QPushButton* cancel = buttons_->addButton(Text(CancelButton), QDialogButtonBox::RejectRole);

  const std::pair<QObject*, const char*> names[] = {
      {tvDates_, "tvDates"},         {labFound_, "labFound"},           {labCount_, "labCount"},
      {cbImportance_, "cbImportance"}, {labImportance_, "labImportance"}, {cseStart_, "cseStart"},
      {labStart_, "labStart"},       {labDaysBefore_, "labDaysBefore"}, {cbDefault_, "cbDefault"},
      {btnImport_, "btnImport"},     {cancel, "btnCancel"}};
  for (const auto& [widget, name] : names) widget->setObjectName(Text(name));
}

void ContactsImportDialog::BuildLayout() {
  auto* reminder = new QHBoxLayout;
  reminder->addWidget(cseStart_);
  reminder->addWidget(labDaysBefore_);
  reminder->addStretch(1);

  auto* settings = new QFormLayout;
  settings->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  settings->addRow(labImportance_, cbImportance_);
  settings->addRow(labStart_, reminder);
  settings->addRow(QString(), cbDefault_);

  auto* window = new QVBoxLayout(this);
  window->addWidget(labFound_);
  window->addWidget(tvDates_, 1);
  window->addWidget(labCount_);
  window->addLayout(settings);
  window->addWidget(buttons_);
}

// Every column as wide as its widest text; the description takes up to DescriptionChars.
int ContactsImportDialog::TableWidth() const {
  const QHeaderView* header = tvDates_->horizontalHeader();
  const QAbstractItemView* view = tvDates_;
  int width = 2 * tvDates_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, tvDates_);
  for (int column = 0; column < ContactsImportModel::ColumnCount; ++column) {
    // While the table is hidden this measures every row.
    int contents = view->sizeHintForColumn(column);
    if (column == ContactsImportModel::DescriptionColumn)
      contents = std::min(contents, DescriptionChars * tvDates_->fontMetrics().averageCharWidth());
    width += std::max(header->sectionSizeHint(column), contents);
  }
  return width;
}

std::optional<TAnniversaryList> ContactsImportDialog::Execute() {
  ensurePolished();
  layout()->activate();
  // A larger font widens the window rather than squeezing the names.
  const QMargins margins = layout()->contentsMargins();
  const QSize wanted(std::max(InitialWidth, TableWidth() + margins.left() + margins.right()), InitialHeight);
  resize(wanted.expandedTo(minimumSizeHint()).boundedTo(LargestClientSize(this, parentWidget())));
  PlaceCentred(this, parentWidget());
  tvDates_->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  const std::uint8_t reminder =
      cbDefault_->isChecked() ? DefaultReminder : static_cast<std::uint8_t>(cseStart_->value());
  return model_->Ticked(StoredImportance(cbImportance_->currentIndex()), reminder);
}

void ContactsImportDialog::TicksChanged() {
  const int ticked = model_->TickedCount();
  const int total = model_->rowCount();
  labCount_->setText(Text(CountText).arg(ticked).arg(QString::fromStdString(Counted(total, "date", "dates"))));
  // Nothing ticked, nothing to import: Enter does nothing either.
  btnImport_->setEnabled(ticked > 0);
}

void ContactsImportDialog::cbDefaultClick() {
  // As in the record editor: the default period shows greyed out.
  const bool useDefault = cbDefault_->isChecked();
  if (useDefault) cseStart_->setValue(cfg_.DaysBefore);
  cseStart_->setEnabled(!useDefault);
}

void ImportContactsCommand(QWidget* owner, TAnniversaryList& anniversaries, const DataPaths& paths, const TCfg& cfg,
                           Ui& ui) {
  FileDialogOptions request;
  request.title = Caption;
  request.filter = VCardFilter;
  request.initialFolder = QDir::homePath().toStdString();
  const auto chosen = ui.ChooseOpenFile(request);
  if (!chosen) return;

  std::string bytes;
  if (auto error = ReadRegularFile(*chosen, MaxContactsFileSize, ContactsFileTooLarge, bytes)) {
    ui.ReportError(error->Describe());
    return;
  }
  VCardContents contents = ReadVCards(bytes);
  std::vector<ImportRow> rows = ImportRows(contents.events, anniversaries, contents.problems);
  std::stable_sort(contents.problems.begin(), contents.problems.end(),
                   [](const VCardProblem& a, const VCardProblem& b) { return a.line < b.line; });
  const QString fileName = QFile::decodeName(chosen->filename().c_str());
  const std::string shownName = Utf8ToCp1252Nearest(fileName.toStdString());
  if (rows.empty()) {
    ui.AnswerDialog(Caption, NothingFoundMessage(shownName, contents.problems), {OkButton}, IconKind::Information,
                    true);
    return;
  }

  ContactsImportDialog preview(owner, std::move(rows), cfg, fileName);
  const std::optional<TAnniversaryList> added = preview.Execute();
  if (!added) return;
  anniversaries.insert(anniversaries.end(), added->begin(), added->end());
  const FileResult failure = SaveData(anniversaries, paths, ui);
  ui.DisplayData();
  // A failed save has said so itself; the records stay in the list for the next save.
  if (!failure)
    ui.AnswerDialog(Caption, ImportedMessage(added->size(), shownName, contents.problems), {OkButton},
                    IconKind::Information, true);
}

}  // namespace jubilora
