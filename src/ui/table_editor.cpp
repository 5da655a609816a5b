#include "ui/table_editor.h"

#include <array>
#include <string>

#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "core/naming.h"
#include "report/render/report_painter.h"
#include "ui/qt_text.h"

namespace jubilora {

namespace {

constexpr const char* Caption = "Anniversaries Editor";
constexpr int ColumnCount = 6;
constexpr std::array<const char*, ColumnCount> ColumnHeaders = {"Date",        "Year",     "Type",
                                                                "Description", "Priority", "Reminder"};
constexpr std::array<int, ColumnCount> ColumnWidths = {110, 44, 116, 333, 53, 83};
// Positions follow SortOrder.
constexpr std::array<const char*, 5> SortChoices = {"Date", "Type", "Description", "Importance", "Reminder"};

// Geometry of the client area.
constexpr int Margin = 16;
constexpr int GridWidth = 760;
constexpr int GridHeight = 440;
constexpr int BottomTop = Margin + GridHeight + 17;  // 473
constexpr int BottomHeight = TfrmTable::ClientHeight - Margin - BottomTop;
constexpr int ButtonWidth = 103;
constexpr int Gap = 8;
constexpr int PanelLeft = Margin + 3 * (ButtonWidth + Gap);
constexpr int PanelWidth = TfrmTable::ClientWidth - Margin - ButtonWidth - Gap - PanelLeft;

// Cells as the grid draws them: the text 2 pixels from the left edge, cut at the right edge
// without an ellipsis, the whole row highlighted when selected (no frame around one cell),
// and horizontal lines between the rows only.
class GridCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QPalette::ColorGroup group = !(cell.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (cell.state & QStyle::State_Active) ? QPalette::Active
                                                                             : QPalette::Inactive;
    const bool selected = cell.state & QStyle::State_Selected;
    painter->save();
    if (selected) painter->fillRect(cell.rect, cell.palette.brush(group, QPalette::Highlight));
    painter->setClipRect(cell.rect);
    painter->setFont(cell.font);
    painter->setPen(cell.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(cell.rect.adjusted(TfrmTable::CellTextLeft, 0, 0, 0),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, cell.text);
    painter->setPen(cell.palette.color(group, QPalette::Midlight));
    painter->drawLine(cell.rect.bottomLeft(), cell.rect.bottomRight());
    painter->restore();
  }
};

QTableWidgetItem* Cell(const std::string& cp1252Text) {
  auto* item = new QTableWidgetItem(FromCp1252(cp1252Text));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

std::array<std::string, ColumnCount> CellTexts(const TAnniversary& r, const TCfg& cfg) {
  return {DateText(cfg.DateFormat, r.Date), YearText(r.Kind, r.Date), KindName(r.Kind),
          r.Description(),                  ImportanceBullets(r.Importance), PeriodName(r.ReminderDays)};
}

std::string DeleteQuestion(const TAnniversary& r, const TCfg& cfg) {
  return "Are you sure you wish to delete this anniversary?\r\n\r\nDescription: " + r.Description() + "\r\n" +
         "Date: " + DateText(cfg.DateFormat, r.Date) + " (" + YearText(r.Kind, r.Date) + ")\r\n" +
         "Type: " + KindName(r.Kind) + "\r\n" + "Importance: " + std::to_string(r.Importance) + "\r\n" +
         "Reminder: " + PeriodName(r.ReminderDays);
}

// No picture of the shared set fits deleting: a red cross.
QIcon DeletePicture() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0xa4, 0x00, 0x00), 4.2, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
  painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
  painter.setPen(QPen(QColor(0xef, 0x29, 0x29), 2.2, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
  painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
  return QIcon(pixmap);
}

QPushButton* PictureButton(QWidget* parent, const char* name, const char* caption, const QIcon& picture, int left) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setIcon(picture);
  button->setIconSize(QSize(16, 16));
  // No button is the window's default: Enter in the sort list must not add a record.
  button->setAutoDefault(false);
  button->setGeometry(left, BottomTop, ButtonWidth, BottomHeight);
  return button;
}

}  // namespace

TfrmTable::TfrmTable(QWidget* mainWindow, TAnniversaryList& anniversaries, const TCfg& cfg,
                     const DataPaths& paths, Ui& ui, EditRecordFn editRecord)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint),
      anniversaries_(anniversaries),
      cfg_(cfg),
      paths_(paths),
      ui_(ui),
      editRecord_(std::move(editRecord)) {
  InitResources();
  setObjectName("frmTable");
  setWindowTitle(Caption);
  QFont font("Tahoma");
  font.setPointSize(8);
  setFont(font);
  setFixedSize(ClientWidth, ClientHeight);

  sgTable_ = new QTableWidget(this);
  sgTable_->setObjectName("sgTable");
  sgTable_->setGeometry(Margin, Margin, GridWidth, GridHeight);
  sgTable_->setItemDelegate(new GridCellDelegate(sgTable_));

  btnAddNew_ = PictureButton(this, "btnAddNew", "Add &New", QIcon(":/icons/menu_add.svg"), Margin);
  btnEdit_ = PictureButton(this, "btnEdit", "&Edit", QIcon(":/icons/menu_editor.svg"), Margin + ButtonWidth + Gap);
  btnDelete_ = PictureButton(this, "btnDelete", "&Delete", DeletePicture(), Margin + 2 * (ButtonWidth + Gap));

  auto* panel = new QFrame(this);
  panel->setObjectName("panSort");
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setGeometry(PanelLeft, BottomTop, PanelWidth, BottomHeight);
  auto* labSort = new QLabel("Sort by", panel);
  labSort->setGeometry(10, 0, 44, BottomHeight);
  labSort->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  cbSort_ = new QComboBox(panel);
  cbSort_->setObjectName("cbSort");
  for (const char* choice : SortChoices) cbSort_->addItem(QString::fromLatin1(choice));
  cbSort_->setCurrentIndex(-1);
  constexpr int comboHeight = 22;
  cbSort_->setGeometry(58, (BottomHeight - comboHeight) / 2, 112, comboHeight);
  labRecords_ = new QLabel(panel);
  labRecords_->setObjectName("labRecords");
  labRecords_->setGeometry(178, 0, PanelWidth - 178 - 10, BottomHeight);
  labRecords_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  btnClose_ = PictureButton(this, "btnClose", "&Close", QIcon(":/icons/menu_exit.svg"),
                            ClientWidth - Margin - ButtonWidth);

  setTabOrder(sgTable_, btnAddNew_);
  setTabOrder(btnAddNew_, btnEdit_);
  setTabOrder(btnEdit_, btnDelete_);
  setTabOrder(btnDelete_, cbSort_);
  setTabOrder(cbSort_, btnClose_);

  connect(btnAddNew_, &QPushButton::clicked, this, &TfrmTable::btnAddNewClick);
  connect(btnEdit_, &QPushButton::clicked, this, &TfrmTable::btnEditClick);
  connect(btnDelete_, &QPushButton::clicked, this, &TfrmTable::btnDeleteClick);
  connect(btnClose_, &QPushButton::clicked, this, &TfrmTable::btnCloseClick);
  // Only the user's choice re-sorts; setting the choice from code does not.
  connect(cbSort_, &QComboBox::activated, this, &TfrmTable::cbSortChange);

  // KeyDownAnywhere on the window and its controls, the grid's own keys and its double click.
  for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(sgTable_),
                          static_cast<QWidget*>(btnAddNew_), static_cast<QWidget*>(btnEdit_),
                          static_cast<QWidget*>(btnDelete_), static_cast<QWidget*>(cbSort_),
                          static_cast<QWidget*>(btnClose_)})
    widget->installEventFilter(this);
  sgTable_->viewport()->installEventFilter(this);
  sgTable_->horizontalHeader()->viewport()->installEventFilter(this);

  FormCreate();
}

void TfrmTable::FormCreate() {
  sgTable_->setColumnCount(ColumnCount);
  QStringList headers;
  for (const char* header : ColumnHeaders) headers << QString::fromLatin1(header);
  sgTable_->setHorizontalHeaderLabels(headers);
  for (int column = 0; column < ColumnCount; ++column) sgTable_->setColumnWidth(column, ColumnWidths[column]);

  QHeaderView* header = sgTable_->horizontalHeader();
  header->setSectionResizeMode(QHeaderView::Fixed);
  header->setSectionsClickable(false);
  header->setHighlightSections(false);
  header->setStretchLastSection(false);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setFixedHeight(RowHeight);

  QHeaderView* rows = sgTable_->verticalHeader();
  rows->hide();
  rows->setMinimumSectionSize(1);
  rows->setDefaultSectionSize(RowHeight);
  rows->setSectionResizeMode(QHeaderView::Fixed);

  sgTable_->setShowGrid(false);
  sgTable_->setWordWrap(false);
  sgTable_->setTextElideMode(Qt::ElideNone);
  sgTable_->setCornerButtonEnabled(false);
  sgTable_->setTabKeyNavigation(false);
  sgTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
  sgTable_->setSelectionMode(QAbstractItemView::SingleSelection);
  sgTable_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sgTable_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

  // A row stays selected: neither Ctrl+click nor a click below the last row leaves the grid
  // without a selected record.
  connect(sgTable_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    const int row = SelectedRecord();
    if (row >= 0 && !sgTable_->selectionModel()->isRowSelected(row, {})) sgTable_->selectRow(row);
  });
}

void TfrmTable::Execute() {
  CentreOnScreen();
  exec();
}

void TfrmTable::CentreOnScreen() {
  QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  // Before the first showing the frame is not known yet; the client area stands for it.
  const QSize outer = frameGeometry().size();
  move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
}

void TfrmTable::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmTable::FormShow() {
  SelectAndApplySort(-1);
  btnDelete_->setEnabled(!anniversaries_.empty());
  sgTable_->setFocus();
}

int TfrmTable::SelectedRecord() const {
  const int row = sgTable_->currentRow();
  return row >= 0 && row < static_cast<int>(anniversaries_.size()) ? row : -1;
}

void TfrmTable::FillGrid() {
  const int count = static_cast<int>(anniversaries_.size());
  sgTable_->setUpdatesEnabled(false);
  sgTable_->setCurrentItem(nullptr);
  sgTable_->setRowCount(0);
  if (count == 0) {
    // Without records there is no fixed row: the header texts stand in an ordinary row.
    sgTable_->horizontalHeader()->hide();
    sgTable_->setRowCount(1);
    for (int column = 0; column < ColumnCount; ++column) {
      auto* item = Cell(ColumnHeaders[column]);
      item->setFlags(Qt::ItemIsEnabled);
      sgTable_->setItem(0, column, item);
    }
  } else {
    sgTable_->horizontalHeader()->show();
    sgTable_->setRowCount(count);
    for (int row = 0; row < count; ++row) {
      const auto texts = CellTexts(anniversaries_[row], cfg_);
      for (int column = 0; column < ColumnCount; ++column) sgTable_->setItem(row, column, Cell(texts[column]));
    }
  }
  sgTable_->setUpdatesEnabled(true);
}

void TfrmTable::SelectAndApplySort(int keep) {
  if (cbSort_->currentIndex() < 0) cbSort_->setCurrentIndex(0);
  const int k = SortBy(static_cast<SortOrder>(cbSort_->currentIndex()), anniversaries_, keep);
  FillGrid();
  const int count = static_cast<int>(anniversaries_.size());
  const int row = keep == -1 ? 0 : k;
  if (row >= 0 && row < count) {
    sgTable_->setCurrentCell(row, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    sgTable_->scrollToItem(sgTable_->item(row, 0));
  }
  labRecords_->setText(QString("Records Count: %1").arg(count));
}

void TfrmTable::cbSortChange() { SelectAndApplySort(SelectedRecord()); }

int TfrmTable::SortByDateAndSave(int follow) {
  int k = SortByDate(anniversaries_, follow);
  const int count = static_cast<int>(anniversaries_.size());
  if (k < 0 || k >= count) {
    SaveData(anniversaries_, paths_, ui_);
    return k;
  }
  const TAnniversary followed = anniversaries_[k];
  SaveData(anniversaries_, paths_, ui_);
  // Saving sorts by date once more, and that pass may swap records that tie on every key
  // (say, two that differ only in their year); keep following the same record.
  if (!SameBytes(anniversaries_[k], followed)) {
    for (int i = 0; i < count; ++i) {
      if (SameBytes(anniversaries_[i], followed)) {
        k = i;
        break;
      }
    }
  }
  return k;
}

void TfrmTable::btnAddNewClick() {
  if (!editRecord_ || !editRecord_(true, -1)) return;
  // The accepted record is the last one.
  const int k = SortByDateAndSave(static_cast<int>(anniversaries_.size()) - 1);
  SelectAndApplySort(k);
  btnDelete_->setEnabled(!anniversaries_.empty());
}

void TfrmTable::btnEditClick() {
  const int selected = SelectedRecord();
  if (selected < 0 || !editRecord_ || !editRecord_(false, selected)) return;
  const int k = SortByDateAndSave(selected);
  SelectAndApplySort(k);
}

void TfrmTable::btnDeleteClick() {
  const int selected = SelectedRecord();
  if (selected < 0) return;
  const int answer = ui_.AnswerDialog("Please confirm", DeleteQuestion(anniversaries_[selected], cfg_),
                                      {"&Yes, delete now!", "&No, keep it..."}, IconKind::Question, true);
  if (answer == 1) DeleteRecord(anniversaries_, selected, ui_);
  // Kept or not, the selection moves to the record shown just above (none: the first row).
  const int k = SortByDateAndSave(selected - 1);
  SelectAndApplySort(k);
  btnDelete_->setEnabled(!anniversaries_.empty());
}

void TfrmTable::btnCloseClick() { close(); }

bool TfrmTable::sgTableKeyDown(const QKeyEvent& event) {
  const bool any = !anniversaries_.empty();
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (any) btnEditClick();
      return true;
    case Qt::Key_Escape:
      btnCloseClick();
      return true;
    case Qt::Key_Insert:
      btnAddNewClick();
      return true;
    case Qt::Key_Delete:
      if (any) btnDeleteClick();
      return true;
    default:
      return false;
  }
}

void TfrmTable::sgTableDblClick() { btnEditClick(); }

bool TfrmTable::eventFilter(QObject* watched, QEvent* event) {
  const bool inGrid = watched == sgTable_->viewport() || watched == sgTable_->horizontalHeader()->viewport();
  if (inGrid && event->type() == QEvent::MouseButtonDblClick) {
    if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) sgTableDblClick();
    return true;
  }
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == sgTable_) return sgTableKeyDown(*key);
    if (auto* button = qobject_cast<QPushButton*>(watched);
        button != nullptr && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
      // Enter presses the focused button, as on any dialog.
      button->click();
      return true;
    }
    if (key->key() == Qt::Key_Escape) {
      btnCloseClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void ShowTableEditor(TfrmTable& table, TAnniversaryList& anniversaries, Ui& ui) {
  table.Execute();
  SortByDate(anniversaries, 0);
  ui.DisplayData();
}

}  // namespace jubilora
