#include "ui/table_editor.h"

#include <algorithm>
#include <array>
#include <functional>
#include <string>

#include <QBoxLayout>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTableView>

#include "core/naming.h"
#include "ui/anniversary_table_model.h"
#include "ui/window_placement.h"

namespace jubilora {

namespace {

constexpr const char* Caption = "Anniversaries Editor";
constexpr const char* TableName = "Anniversaries";
constexpr const char* RecordsCount = "Records Count: ";
// Positions follow SortOrder.
constexpr std::array<const char*, 5> SortChoices = {"Date", "Type", "Description", "Importance", "Reminder"};
// The Description column never gets narrower than this many average characters.
constexpr int DescriptionMinimumChars = 20;
constexpr int MinimumVisibleRows = 5;

// The table's own keys come to it as key presses, not as shortcuts: the Enter that picks an
// item of the open sort list is offered to the shortcuts once more after the list has closed
// and handed the focus back to the table. Escape goes on to the dialog.
class RecordTableView : public QTableView {
 public:
  RecordTableView(QWidget* parent, std::function<bool(int key)> onKey) : QTableView(parent), onKey_(std::move(onKey)) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (!onKey_(event->key())) QTableView::keyPressEvent(event);
  }

 private:
  std::function<bool(int key)> onKey_;
};

// Whole rows with a line between them: no frame around one cell of the row, no vertical lines.
class RowLineDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem cell = option;
    cell.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, cell, index);
    const QWidget* view = option.widget;
    const QStyle* style = view != nullptr ? view->style() : nullptr;
    if (style == nullptr) return;
    painter->save();
    painter->setPen(
        QColor::fromRgba(static_cast<QRgb>(style->styleHint(QStyle::SH_Table_GridLineColor, &option, view))));
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->restore();
  }
};

std::string DeleteQuestion(const TAnniversary& r, const TCfg& cfg) {
  return "Are you sure you wish to delete this anniversary?\r\n\r\nDescription: " + r.Description() + "\r\n" +
         "Date: " + DateText(cfg.DateFormat, r.Date) + " (" + YearText(r.Kind, r.Date) + ")\r\n" +
         "Type: " + KindName(r.Kind) + "\r\n" + "Importance: " + std::to_string(r.Importance) + "\r\n" +
         "Reminder: " + PeriodName(r.ReminderDays);
}

// No picture of the shared set fits deleting: a red cross, drawn at the sizes a HiDPI screen
// asks for too, so that it is never blown up.
QIcon DeletePicture() {
  QIcon icon;
  for (const int size : {16, 32, 48, 64}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    painter.setPen(QPen(QColor(0xa4, 0x00, 0x00), 4.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    painter.setPen(QPen(QColor(0xef, 0x29, 0x29), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    icon.addPixmap(pixmap);
  }
  return icon;
}

QPushButton* PictureButton(QWidget* parent, const char* name, const char* caption, const QIcon& picture) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setIcon(picture);
  // No button is the window's default: Enter in the sort list must not add a record.
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TfrmTable::TfrmTable(QWidget* mainWindow, TAnniversaryList& anniversaries, const TCfg& cfg, const DataPaths& paths,
                     Ui& ui, EditRecordFn editRecord)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                              Qt::WindowMaximizeButtonHint),
      anniversaries_(anniversaries),
      cfg_(cfg),
      paths_(paths),
      ui_(ui),
      editRecord_(std::move(editRecord)),
      model_(new AnniversaryTableModel(anniversaries, cfg, this)) {
  setObjectName("frmTable");
  setWindowTitle(Caption);
  CreateControls();
}

void TfrmTable::CreateControls() {
  sgTable_ = new RecordTableView(this, [this](int key) { return sgTableKeyDown(key); });
  sgTable_->setObjectName("sgTable");
  sgTable_->setAccessibleName(TableName);
  sgTable_->setModel(model_);
  sgTable_->setItemDelegate(new RowLineDelegate(sgTable_));
  sgTable_->setShowGrid(false);
  sgTable_->setWordWrap(false);
  sgTable_->setCornerButtonEnabled(false);
  sgTable_->setTabKeyNavigation(false);
  sgTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
  sgTable_->setSelectionMode(QAbstractItemView::SingleSelection);
  sgTable_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sgTable_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  QHeaderView* header = sgTable_->horizontalHeader();
  header->setSectionsClickable(false);
  header->setHighlightSections(false);
  header->setSectionResizeMode(QHeaderView::ResizeToContents);
  header->setSectionResizeMode(AnniversaryTableModel::DescriptionColumn, QHeaderView::Stretch);
  QHeaderView* rows = sgTable_->verticalHeader();
  rows->hide();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(fontMetrics().height() + 6);
  sgTable_->setMinimumHeight(header->sizeHint().height() + MinimumVisibleRows * rows->defaultSectionSize() +
                             2 * sgTable_->frameWidth());

  btnAddNew_ = PictureButton(this, "btnAddNew", "Add &New", QIcon(":/icons/menu_add.svg"));
  btnEdit_ = PictureButton(this, "btnEdit", "&Edit", QIcon(":/icons/menu_editor.svg"));
  btnDelete_ = PictureButton(this, "btnDelete", "&Delete", DeletePicture());

  auto* panel = panSort_ = new QFrame(this);
  panel->setObjectName("panSort");
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* labSort = new QLabel("Sort by", panel);
  labSort->setObjectName("labSort");
  cbSort_ = new QComboBox(panel);
  cbSort_->setObjectName("cbSort");
  for (const char* choice : SortChoices) cbSort_->addItem(QString::fromLatin1(choice));
  cbSort_->setCurrentIndex(-1);
  labSort->setBuddy(cbSort_);
  labRecords_ = new QLabel(panel);
  labRecords_->setObjectName("labRecords");
  labRecords_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* sortRow = new QHBoxLayout(panel);
  sortRow->addWidget(labSort);
  sortRow->addWidget(cbSort_);
  sortRow->addStretch(1);
  sortRow->addWidget(labRecords_);

  btnClose_ = PictureButton(this, "btnClose", "&Close", QIcon(":/icons/menu_exit.svg"));

  buttonLine_ = new QHBoxLayout;
  for (QPushButton* button : {btnAddNew_, btnEdit_, btnDelete_}) buttonLine_->addWidget(button);
  buttonLine_->addWidget(panel, 1);
  // Keeps "Close" at the right while the panel stands in a line of its own.
  buttonLine_->addStretch(0);
  buttonLine_->addWidget(btnClose_);
  auto* window = new QVBoxLayout(this);
  window->addWidget(sgTable_, 1);
  window->addLayout(buttonLine_);

  connect(btnAddNew_, &QPushButton::clicked, this, &TfrmTable::btnAddNewClick);
  connect(btnEdit_, &QPushButton::clicked, this, &TfrmTable::btnEditClick);
  connect(btnDelete_, &QPushButton::clicked, this, &TfrmTable::btnDeleteClick);
  connect(btnClose_, &QPushButton::clicked, this, &QDialog::reject);
  // Only the user's choice re-sorts; setting the choice from code does not.
  connect(cbSort_, &QComboBox::activated, this, &TfrmTable::cbSortChange);
  connect(sgTable_, &QAbstractItemView::doubleClicked, this, &TfrmTable::btnEditClick);
  // A row stays selected: neither Ctrl+click nor a click below the last row leaves the table
  // without a selected record.
  connect(sgTable_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    const int row = SelectedRecord();
    if (row >= 0 && !sgTable_->selectionModel()->isRowSelected(row, {})) SelectRow(row);
  });
  // Longer texts widen their columns; the Description column gives way down to its minimum.
  connect(model_, &QAbstractItemModel::rowsInserted, this, &TfrmTable::FitTableWidth);
  connect(model_, &QAbstractItemModel::dataChanged, this, &TfrmTable::FitTableWidth);
}

bool TfrmTable::sgTableKeyDown(int key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      btnEditClick();
      return true;
    case Qt::Key_Insert:
      btnAddNewClick();
      return true;
    case Qt::Key_Delete:
      btnDeleteClick();
      return true;
    default:
      return false;
  }
}

void TfrmTable::Execute() { exec(); }

void TfrmTable::showEvent(QShowEvent* event) {
  // Before the window is mapped: it appears at its place and size.
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmTable::FormShow() {
  // The list may have changed in any way since the last showing.
  model_->Reload();
  SelectAndApplySort(-1);
  btnDelete_->setEnabled(!anniversaries_.empty());
  FitTableWidth();
  SizeAndPlace();
  sgTable_->setFocus();
}

void TfrmTable::FitTableWidth() {
  int width = 2 * sgTable_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, sgTable_);
  const QHeaderView* header = sgTable_->horizontalHeader();
  const QAbstractItemView* view = sgTable_;
  for (int column = 0; column < AnniversaryTableModel::ColumnCount; ++column) {
    const int contents = column == AnniversaryTableModel::DescriptionColumn
                             ? DescriptionMinimumChars * sgTable_->fontMetrics().averageCharWidth()
                             : view->sizeHintForColumn(column);
    width += std::max(header->sectionSizeHint(column), contents);
  }
  sgTable_->setMinimumWidth(width);
}

void TfrmTable::FitScreen() {
  // On a narrow screen (a large scale factor) the sort panel gets a line of its own above the
  // buttons.
  auto* window = static_cast<QVBoxLayout*>(layout());
  const auto placePanel = [&](bool ownLine) {
    buttonLine_->removeWidget(panSort_);
    window->removeWidget(panSort_);
    if (ownLine) {
      window->insertWidget(1, panSort_);
    } else {
      buttonLine_->insertWidget(3, panSort_, 1);
    }
    window->activate();
  };
  placePanel(false);
  const int room = LargestClientSize(this, parentWidget()).width();
  if (room > 0 && minimumSizeHint().width() > room) placePanel(true);
}

void TfrmTable::SizeAndPlace() {
  FitScreen();
  const QSize wanted = sized_ ? size() : QSize(InitialWidth, InitialHeight);
  sized_ = true;
  resize(wanted.expandedTo(minimumSize()).boundedTo(LargestClientSize(this, parentWidget())));
  PlaceCentred(this, parentWidget());
}

int TfrmTable::SelectedRecord() const {
  const int row = sgTable_->currentIndex().row();
  return row >= 0 && row < static_cast<int>(anniversaries_.size()) ? row : -1;
}

void TfrmTable::SelectRow(int row) {
  if (row < 0 || row >= model_->rowCount()) return;
  const QModelIndex index = model_->index(row, 0);
  sgTable_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  sgTable_->scrollTo(index);
}

void TfrmTable::SelectAndApplySort(int keep) {
  if (cbSort_->currentIndex() < 0) cbSort_->setCurrentIndex(0);
  const auto order = static_cast<SortOrder>(cbSort_->currentIndex());
  const int k = model_->Reorder([&] { return SortBy(order, anniversaries_, keep); });
  SelectRow(keep == -1 ? 0 : k);
  labRecords_->setText(RecordsCount + QString::number(anniversaries_.size()));
}

void TfrmTable::cbSortChange() { SelectAndApplySort(SelectedRecord()); }

int TfrmTable::SortByDateAndSave(int follow) {
  // Sorted and saved on a copy, so that a failed save reports itself while the table still
  // stands as it was, not in the middle of a change.
  TAnniversaryList saved = anniversaries_;
  int k = SortByDate(saved, follow);
  if (k >= 0 && k < static_cast<int>(saved.size())) {
    const TAnniversary followed = saved[k];
    SaveData(saved, paths_, ui_);
    // Saving sorts by date once more, and that pass may swap records that tie on every key
    // (say, two that differ only in their year); keep following the same record.
    const auto same = [&followed](const TAnniversary& r) { return SameBytes(r, followed); };
    if (!same(saved[k])) k = static_cast<int>(std::find_if(saved.begin(), saved.end(), same) - saved.begin());
  } else {
    SaveData(saved, paths_, ui_);
  }
  model_->Reorder([&] {
    anniversaries_.swap(saved);
    return k;
  });
  return k;
}

void TfrmTable::btnAddNewClick() {
  if (!editRecord_ || !editRecord_(true, -1)) return;
  model_->RecordsAppended();
  // The accepted record is the last one.
  const int k = SortByDateAndSave(static_cast<int>(anniversaries_.size()) - 1);
  SelectAndApplySort(k);
  btnDelete_->setEnabled(!anniversaries_.empty());
}

void TfrmTable::btnEditClick() {
  const int selected = SelectedRecord();
  if (selected < 0 || !editRecord_ || !editRecord_(false, selected)) return;
  model_->RecordChanged(selected);
  const int k = SortByDateAndSave(selected);
  SelectAndApplySort(k);
}

void TfrmTable::btnDeleteClick() {
  const int selected = SelectedRecord();
  if (selected < 0) return;
  const int answer = ui_.AnswerDialog("Please confirm", DeleteQuestion(anniversaries_[selected], cfg_),
                                      {"&Yes, delete now!", "&No, keep it..."}, IconKind::Question, true);
  if (answer == 1) model_->RemoveRecord(selected, [&] { DeleteRecord(anniversaries_, selected, ui_); });
  // Kept or not, the selection moves to the record shown just above (none: the first row).
  const int k = SortByDateAndSave(selected - 1);
  SelectAndApplySort(k);
  btnDelete_->setEnabled(!anniversaries_.empty());
}

void ShowTableEditor(TfrmTable& table, TAnniversaryList& anniversaries, Ui& ui) {
  table.Execute();
  SortByDate(anniversaries, 0);
  ui.DisplayData();
}

}  // namespace jubilora
