#include "ui/table_editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "core/calendar.h"
#include "core/naming.h"
#include "support/fake_ui.h"
#include "support/records.h"
#include "support/temp_dir.h"
#include "ui/qt_text.h"
#include "support/qt_app.h"

namespace jubilora {
namespace {

using test::Record;

void App() { test::TestApplication(); }

struct EditCall {
  bool adding = false;
  int index = 0;
};

// Five records whose keys differ in every column, so each ordering has one answer.
TAnniversaryList FiveRecords() {
  return {
      Record(KindBirthday, 1980, 3, 5, "Carol", 2, 10),
      Record(KindNameDay, 2001, 1, 20, "alice", 5, DefaultReminder),
      Record(KindHoliday, 1999, 12, 25, "Bob", SampleImportance, 0),
      Record(KindWedding, 1975, 7, 4, "dave", 0, 30),
      Record(KindOtherNoYears, 1990, 5, 15, "Eve", 4, 1),
  };
}

const std::vector<std::string> ByDate = {"alice", "Carol", "Eve", "dave", "Bob"};

class TableEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    paths = {dir / "jubilora.jld", dir / "jubilora.jlb"};
    cfg.DateFormat = 2;
  }

  // The editor as the main window creates it; the fake record editor records its calls
  // and runs `edit` on the list.
  TfrmTable& Open(std::function<bool(TAnniversaryList&, bool, int)> edit = {}) {
    table = std::make_unique<TfrmTable>(nullptr, list, cfg, paths, ui, [this, edit](bool adding, int index) {
      calls.push_back({adding, index});
      return edit ? edit(list, adding, index) : false;
    });
    table->show();
    return *table;
  }

  QTableWidget* Grid() const { return table->findChild<QTableWidget*>("sgTable"); }
  QComboBox* Sort() const { return table->findChild<QComboBox*>("cbSort"); }
  QString RecordsLabel() const { return table->findChild<QLabel*>("labRecords")->text(); }
  QPushButton* Button(const char* name) const { return table->findChild<QPushButton*>(name); }
  QString Text(int row, int column) const {
    const QTableWidgetItem* item = Grid()->item(row, column);
    return item != nullptr ? item->text() : QString();
  }

  // The one selected row, or -1 when none (or a selection that is not one whole row).
  int SelectedRow() const {
    const QModelIndexList rows = Grid()->selectionModel()->selectedRows();
    if (rows.size() != 1 || rows[0].row() != Grid()->currentRow()) return -1;
    return rows[0].row();
  }
  std::string SelectedDescription() const {
    const int row = SelectedRow();
    return row < 0 ? std::string() : Text(row, 3).toStdString();
  }

  std::vector<std::string> Descriptions() const {
    std::vector<std::string> shown;
    for (int row = 0; row < Grid()->rowCount(); ++row) shown.push_back(Text(row, 3).toStdString());
    return shown;
  }
  std::vector<std::string> ListDescriptions() const {
    std::vector<std::string> texts;
    for (const TAnniversary& r : list) texts.push_back(r.Description());
    return texts;
  }

  void ClickRow(int row) {
    const QRect cell = Grid()->visualItemRect(Grid()->item(row, 3));
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
  }
  void ClickDescription(const std::string& description) {
    for (int row = 0; row < Grid()->rowCount(); ++row) {
      if (Text(row, 3).toStdString() == description) return ClickRow(row);
    }
    ADD_FAILURE() << "no row shows " << description;
  }
  // As the user does it: the keyboard on the closed drop-down list.
  void ChooseSort(int position) {
    QComboBox* sort = Sort();
    sort->setFocus();
    QTest::keyClick(sort, Qt::Key_Home);
    for (int i = 0; i < position; ++i) QTest::keyClick(sort, Qt::Key_Down);
    ASSERT_EQ(sort->currentIndex(), position);
  }

  std::uintmax_t DataFileSize() const {
    return std::filesystem::exists(paths.data) ? std::filesystem::file_size(paths.data) : 0;
  }

  test::TempDir dir;
  DataPaths paths;
  TAnniversaryList list;
  TCfg cfg;
  test::FakeUi ui;
  std::vector<EditCall> calls;
  std::unique_ptr<TfrmTable> table;
};

TEST_F(TableEditorTest, WindowGridAndControlsAreLaidOutToFit) {
  for (int i = 0; i < 6; ++i) {
    for (const TAnniversary& r : FiveRecords()) list.push_back(r);
  }
  Open();
  EXPECT_EQ(table->windowTitle(), QStringLiteral("Anniversaries Editor"));
  EXPECT_EQ(table->size(), QSize(792, 521));
  EXPECT_EQ(table->minimumSize(), table->maximumSize());
  EXPECT_EQ(Grid()->size(), QSize(760, 440));
  EXPECT_LE(Grid()->y(), 16);

  const std::vector<int> widths = {110, 44, 116, 333, 53, 83};
  const QStringList headers = {"Date", "Year", "Type", "Description", "Priority", "Reminder"};
  ASSERT_EQ(Grid()->columnCount(), 6);
  for (int column = 0; column < 6; ++column) {
    EXPECT_EQ(Grid()->columnWidth(column), widths[column]);
    EXPECT_EQ(Grid()->horizontalHeaderItem(column)->text(), headers[column]);
  }
  EXPECT_EQ(Grid()->rowHeight(0), 18);
  EXPECT_EQ(Grid()->horizontalHeader()->height(), 18);
  EXPECT_FALSE(Grid()->verticalHeader()->isVisible());
  // Thirty rows need the vertical bar; the six columns still fit beside it.
  QApplication::processEvents();
  EXPECT_TRUE(Grid()->verticalScrollBar()->isVisible());
  EXPECT_EQ(Grid()->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(Grid()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

  QStringList choices;
  for (int i = 0; i < Sort()->count(); ++i) choices << Sort()->itemText(i);
  EXPECT_EQ(choices, QStringList({"Date", "Type", "Description", "Importance", "Reminder"}));

  // Tab order: the grid, the three buttons, the sort list, "Close".
  std::vector<QString> order;
  QWidget* widget = Grid();
  do {
    if (widget->focusPolicy() & Qt::TabFocus) order.push_back(widget->objectName());
    widget = widget->nextInFocusChain();
  } while (widget != Grid() && order.size() < 10);
  EXPECT_EQ(order, (std::vector<QString>{"sgTable", "btnAddNew", "btnEdit", "btnDelete", "cbSort", "btnClose"}));

  const std::vector<std::pair<const char*, QString>> buttons = {
      {"btnAddNew", "Add &New"}, {"btnEdit", "&Edit"}, {"btnDelete", "&Delete"}, {"btnClose", "&Close"}};
  for (const auto& [name, caption] : buttons) {
    QPushButton* button = Button(name);
    ASSERT_NE(button, nullptr) << name;
    EXPECT_EQ(button->text(), caption);
    EXPECT_FALSE(button->icon().isNull()) << name;
    EXPECT_LE(button->sizeHint().width(), button->width()) << name;
    EXPECT_LE(button->sizeHint().height(), button->height()) << name;
    EXPECT_TRUE(table->rect().contains(button->geometry())) << name;
  }
  const QLabel* records = table->findChild<QLabel*>("labRecords");
  EXPECT_LE(records->fontMetrics().horizontalAdvance("Records Count: 99999"), records->width());
  EXPECT_EQ(records->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
  // "Close" at the bottom right, under the grid's right edge; the bottom row clear of the grid.
  EXPECT_EQ(Button("btnClose")->geometry().right(), Grid()->geometry().right());
  for (const char* name : {"btnAddNew", "btnEdit", "btnDelete", "btnClose"})
    EXPECT_GT(Button(name)->y(), Grid()->geometry().bottom()) << name;
  EXPECT_GT(table->findChild<QWidget*>("panSort")->y(), Grid()->geometry().bottom());
}

TEST_F(TableEditorTest, LongestTextsOfEachColumnFitTheirWidth) {
  Open();
  const QFontMetrics metrics(Grid()->font());
  std::array<int, 6> widest{};
  const auto widen = [&](int column, const std::string& cp1252) {
    widest[column] = std::max(widest[column], metrics.horizontalAdvance(FromCp1252(cp1252)));
  };
  for (std::uint8_t format = 0; format < 8; ++format) {
    // A leap year: every day of the year.
    for (DayNumber day = DayFromCivil(2000, 1, 1); day < DayFromCivil(2001, 1, 1); ++day)
      widen(0, DateText(format, day));
  }
  widen(1, YearText(KindBirthday, DayFromCivil(2188, 8, 8)));
  widen(1, YearText(KindNameDay, 0));
  for (std::uint8_t kind = 1; kind <= 7; ++kind) widen(2, KindName(kind));
  for (std::uint8_t importance : {0, 1, 2, 3, 4, 5, 255}) widen(4, ImportanceBullets(importance));
  for (int days = 0; days <= 90; ++days) widen(5, PeriodName(static_cast<std::uint8_t>(days)));
  widen(5, PeriodName(DefaultReminder));
  for (int column : {0, 1, 2, 4, 5}) {
    EXPECT_LE(TfrmTable::CellTextLeft + widest[column], Grid()->columnWidth(column)) << column;
    EXPECT_LE(metrics.horizontalAdvance(Grid()->horizontalHeaderItem(column)->text()) + 4, Grid()->columnWidth(column));
  }
}

TEST_F(TableEditorTest, EnterPressesTheFocusedButtonOnly) {
  list = FiveRecords();
  Open([](TAnniversaryList&, bool, int) { return false; });
  for (QPushButton* button : table->findChildren<QPushButton*>()) EXPECT_FALSE(button->isDefault());
  QTest::keyClick(Sort(), Qt::Key_Return);
  EXPECT_TRUE(calls.empty());
  EXPECT_TRUE(table->isVisible());
  QTest::keyClick(Button("btnDelete"), Qt::Key_Return);
  EXPECT_EQ(ui.questions.size(), 1u);
  QTest::keyClick(Button("btnAddNew"), Qt::Key_Enter);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls[0].adding);
  QTest::keyClick(Button("btnClose"), Qt::Key_Return);
  EXPECT_FALSE(table->isVisible());
}

TEST_F(TableEditorTest, EmptyListShowsHeaderTextsInAnOrdinaryRow) {
  Open();
  EXPECT_FALSE(Grid()->horizontalHeader()->isVisible());
  ASSERT_EQ(Grid()->rowCount(), 1);
  EXPECT_EQ(Text(0, 0), QStringLiteral("Date"));
  EXPECT_EQ(Text(0, 5), QStringLiteral("Reminder"));
  EXPECT_EQ(SelectedRow(), -1);
  EXPECT_EQ(RecordsLabel(), QStringLiteral("Records Count: 0"));
  EXPECT_FALSE(Button("btnDelete")->isEnabled());
  EXPECT_TRUE(Button("btnEdit")->isEnabled());
  EXPECT_EQ(Sort()->currentText(), QStringLiteral("Date"));

  // Editing and deleting need a record, whichever way they are asked for.
  QTest::keyClick(Grid(), Qt::Key_Return);
  QTest::keyClick(Grid(), Qt::Key_Delete);
  Button("btnEdit")->click();
  QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, Grid()->visualItemRect(Grid()->item(0, 0)).center());
  EXPECT_TRUE(calls.empty());
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_FALSE(std::filesystem::exists(paths.data));
}

TEST_F(TableEditorTest, RowsShowTheRecordTextsInListOrder) {
  list = FiveRecords();
  Open();
  EXPECT_TRUE(Grid()->horizontalHeader()->isVisible());
  ASSERT_EQ(Grid()->rowCount(), 5);
  EXPECT_EQ(Descriptions(), ByDate);
  EXPECT_EQ(ListDescriptions(), ByDate);
  EXPECT_EQ(RecordsLabel(), QStringLiteral("Records Count: 5"));
  EXPECT_EQ(SelectedRow(), 0);
  EXPECT_TRUE(Button("btnDelete")->isEnabled());

  const QString bullet(QChar(0x2022));
  const std::vector<QStringList> rows = {
      {"January 20th", "----", "Name Day", "alice", bullet.repeated(5), "Default"},
      {"March 5th", "1980", "Birthday", "Carol", bullet.repeated(2), "10 days ahead"},
      {"May 15th", "----", "Other Aniversaries", "Eve", bullet.repeated(4), "1 day ahead"},
      {"July 4th", "1975", "Wedding Aniversary", "dave", "", "30 days ahead"},
      {"December 25th", "----", "Holiday", "Bob", "Sample", "This day only"},
  };
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 6; ++column) EXPECT_EQ(Text(row, column), rows[row][column]) << row << "," << column;
  }
}

TEST_F(TableEditorTest, EverySortFollowsTheSelectedRecord) {
  list = FiveRecords();
  Open();
  ClickDescription("Eve");
  ASSERT_EQ(SelectedDescription(), "Eve");

  const std::vector<std::vector<std::string>> orders = {
      ByDate,
      {"Carol", "alice", "dave", "Bob", "Eve"},
      {"alice", "Bob", "Carol", "dave", "Eve"},
      {"Bob", "alice", "Eve", "Carol", "dave"},
      {"dave", "Carol", "Eve", "Bob", "alice"},
  };
  for (int position : {1, 2, 3, 4, 0}) {
    ChooseSort(position);
    EXPECT_EQ(Descriptions(), orders[position]) << position;
    EXPECT_EQ(ListDescriptions(), orders[position]) << position;
    EXPECT_EQ(SelectedDescription(), "Eve") << position;
  }
  ClickDescription("Carol");
  for (int position : {4, 2, 3}) {
    ChooseSort(position);
    EXPECT_EQ(Descriptions(), orders[position]) << position;
    EXPECT_EQ(SelectedDescription(), "Carol") << position;
  }
  // Choosing from the list never saves.
  EXPECT_FALSE(std::filesystem::exists(paths.data));
}

TEST_F(TableEditorTest, ClicksNeverLeaveTheGridWithoutASelectedRecord) {
  list = FiveRecords();
  Open();
  ClickDescription("Eve");
  const QRect eve = Grid()->visualItemRect(Grid()->item(2, 3));
  QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, Qt::ControlModifier, eve.center());
  EXPECT_EQ(SelectedDescription(), "Eve");
  QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, QPoint(eve.center().x(), Grid()->viewport()->height() - 4));
  EXPECT_EQ(SelectedDescription(), "Eve");
}

TEST_F(TableEditorTest, DeleteQuestionNamesTheRecord) {
  list = FiveRecords();
  Open();
  ClickDescription("Bob");
  Button("btnDelete")->click();
  ClickDescription("alice");
  QTest::keyClick(Grid(), Qt::Key_Delete);

  ASSERT_EQ(ui.questions.size(), 2u);
  const test::AskedQuestion& sample = ui.questions[0];
  EXPECT_EQ(sample.caption, "Please confirm");
  EXPECT_EQ(sample.message,
            "Are you sure you wish to delete this anniversary?\r\n\r\n"
            "Description: Bob\r\n"
            "Date: December 25th (----)\r\n"
            "Type: Holiday\r\n"
            "Importance: 255\r\n"
            "Reminder: This day only");
  EXPECT_EQ(sample.buttons, (std::vector<std::string>{"&Yes, delete now!", "&No, keep it..."}));
  EXPECT_EQ(sample.icon, IconKind::Question);
  EXPECT_TRUE(sample.canCancel);
  EXPECT_EQ(ui.questions[1].message,
            "Are you sure you wish to delete this anniversary?\r\n\r\n"
            "Description: alice\r\n"
            "Date: January 20th (----)\r\n"
            "Type: Name Day\r\n"
            "Importance: 5\r\n"
            "Reminder: Default");
}

TEST_F(TableEditorTest, DeletingMovesTheSelectionUpAndSaves) {
  list = FiveRecords();
  Open();
  ClickDescription("dave");
  ui.answers = {1};
  Button("btnDelete")->click();
  EXPECT_EQ(Descriptions(), (std::vector<std::string>{"alice", "Carol", "Eve", "Bob"}));
  EXPECT_EQ(SelectedDescription(), "Eve");
  EXPECT_EQ(RecordsLabel(), QStringLiteral("Records Count: 4"));
  EXPECT_EQ(DataFileSize(), 4 * RecordSize);

  // The first row: the first row of the new list.
  ClickRow(0);
  ui.answers = {1};
  QTest::keyClick(Grid(), Qt::Key_Delete);
  EXPECT_EQ(Descriptions(), (std::vector<std::string>{"Carol", "Eve", "Bob"}));
  EXPECT_EQ(SelectedRow(), 0);
  EXPECT_EQ(DataFileSize(), 3 * RecordSize);

  // "Above" is the row above in the order shown.
  ChooseSort(2);
  ASSERT_EQ(Descriptions(), (std::vector<std::string>{"Bob", "Carol", "Eve"}));
  ClickDescription("Eve");
  ui.answers = {1};
  Button("btnDelete")->click();
  EXPECT_EQ(Descriptions(), (std::vector<std::string>{"Bob", "Carol"}));
  EXPECT_EQ(SelectedDescription(), "Carol");

  ui.answers = {1, 1};
  Button("btnDelete")->click();
  Button("btnDelete")->click();
  EXPECT_EQ(Grid()->rowCount(), 1);
  EXPECT_FALSE(Grid()->horizontalHeader()->isVisible());
  EXPECT_FALSE(Button("btnDelete")->isEnabled());
  EXPECT_EQ(RecordsLabel(), QStringLiteral("Records Count: 0"));
  EXPECT_EQ(DataFileSize(), 0u);
  EXPECT_TRUE(std::filesystem::exists(paths.data));
}

TEST_F(TableEditorTest, KeepingTheRecordStillMovesUpAndSaves) {
  list = FiveRecords();
  Open();
  ClickDescription("Eve");
  ui.answers = {2};
  Button("btnDelete")->click();
  EXPECT_EQ(Descriptions(), ByDate);
  EXPECT_EQ(SelectedDescription(), "Carol");
  EXPECT_EQ(DataFileSize(), 5 * RecordSize);

  // Escape in the question (no answer) and the busy answer count as "No" too.
  ui.answers = {0, -1};
  Button("btnDelete")->click();
  EXPECT_EQ(SelectedDescription(), "alice");
  Button("btnDelete")->click();
  EXPECT_EQ(SelectedDescription(), "alice");
  EXPECT_EQ(list.size(), 5u);
  EXPECT_TRUE(std::filesystem::exists(paths.backup));
  EXPECT_EQ(ui.questions.size(), 3u);
}

TEST_F(TableEditorTest, AddingSavesAndSelectsTheNewRecord) {
  const auto append = [](TAnniversaryList& records, bool adding, int) {
    EXPECT_TRUE(adding);
    records.push_back(Record(KindBirthday, 1970, 2, 14, "Bianca", 3, 5));
    return true;
  };
  Open(append);
  Button("btnAddNew")->click();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls[0].adding);
  EXPECT_TRUE(Grid()->horizontalHeader()->isVisible());
  EXPECT_EQ(Descriptions(), (std::vector<std::string>{"Bianca"}));
  EXPECT_EQ(SelectedRow(), 0);
  EXPECT_TRUE(Button("btnDelete")->isEnabled());
  EXPECT_EQ(RecordsLabel(), QStringLiteral("Records Count: 1"));
  EXPECT_EQ(DataFileSize(), RecordSize);

  // Insert in the grid adds too, and the new record is found in the chosen order.
  list = FiveRecords();
  ChooseSort(2);
  QTest::keyClick(Grid(), Qt::Key_Insert);
  EXPECT_EQ(Descriptions(), (std::vector<std::string>{"alice", "Bianca", "Bob", "Carol", "dave", "Eve"}));
  EXPECT_EQ(SelectedDescription(), "Bianca");
  EXPECT_EQ(DataFileSize(), 6 * RecordSize);
}

TEST_F(TableEditorTest, CancelledEditorChangesNothing) {
  list = FiveRecords();
  Open([](TAnniversaryList&, bool, int) { return false; });
  ClickDescription("Eve");
  Button("btnAddNew")->click();
  Button("btnEdit")->click();
  EXPECT_EQ(calls.size(), 2u);
  EXPECT_EQ(SelectedDescription(), "Eve");
  EXPECT_EQ(list.size(), 5u);
  EXPECT_FALSE(std::filesystem::exists(paths.data));
}

TEST_F(TableEditorTest, EditedRecordIsSelectedAtItsNewPlace) {
  list = FiveRecords();
  Open([](TAnniversaryList& records, bool, int index) {
    records[index].SetDescription("Zed");
    return true;
  });
  ChooseSort(2);
  ClickDescription("alice");
  Button("btnEdit")->click();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_FALSE(calls[0].adding);
  EXPECT_EQ(calls[0].index, 0);
  EXPECT_EQ(Descriptions(), (std::vector<std::string>{"Bob", "Carol", "dave", "Eve", "Zed"}));
  EXPECT_EQ(SelectedDescription(), "Zed");
  EXPECT_EQ(DataFileSize(), 5 * RecordSize);

  // Enter and a double click edit the selected row.
  ClickDescription("Carol");
  QTest::keyClick(Grid(), Qt::Key_Return);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].index, 1);
  EXPECT_EQ(SelectedDescription(), "Zed");
  const int dave = 1;
  ASSERT_EQ(Text(dave, 3), QStringLiteral("dave"));
  // A double click starts with a click.
  ClickRow(dave);
  QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, Grid()->visualItemRect(Grid()->item(dave, 3)).center());
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[2].index, dave);
  EXPECT_FALSE(calls[2].adding);
}

TEST_F(TableEditorTest, AcceptedEditKeepsFollowingARecordThatTiesWithAnother) {
  // Birthdays that differ only in their year tie on every key of the date order.
  const std::vector<std::pair<int, int>> yearsAndMonths = {{1950, 1}, {1950, 1}, {1951, 1}, {1952, 2}, {1951, 2}};
  for (const auto& [year, month] : yearsAndMonths)
    list.push_back(Record(KindBirthday, year, month, 1, "A", 3, DefaultReminder));
  Open([](TAnniversaryList&, bool, int) { return true; });
  ClickRow(1);
  ASSERT_EQ(Text(1, 1), QStringLiteral("1951"));
  ASSERT_EQ(Text(1, 0), QStringLiteral("January 1st"));
  QTest::keyClick(Grid(), Qt::Key_Return);
  const int row = SelectedRow();
  ASSERT_GE(row, 0);
  EXPECT_EQ(Text(row, 1), QStringLiteral("1951"));
  EXPECT_EQ(Text(row, 0), QStringLiteral("January 1st"));
}

TEST_F(TableEditorTest, FailedSaveKeepsTheChangeOnScreen) {
  test::WriteBytes(dir / "file", "not a folder");
  paths = {dir / "file" / "jubilora.jld", dir / "file" / "jubilora.jlb"};
  Open([](TAnniversaryList& records, bool, int) {
    records.push_back(Record(KindHoliday, 2000, 1, 1, "New Year"));
    return true;
  });
  Button("btnAddNew")->click();
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].caption, "File I/O Error");
  EXPECT_EQ(Descriptions(), (std::vector<std::string>{"New Year"}));
  EXPECT_EQ(SelectedRow(), 0);
}

TEST_F(TableEditorTest, EscapeClosesFromTheGridTheButtonsAndTheSortList) {
  list = FiveRecords();
  Open();
  for (QWidget* control : {static_cast<QWidget*>(Grid()), static_cast<QWidget*>(Button("btnEdit")),
                           static_cast<QWidget*>(Sort()), static_cast<QWidget*>(table.get())}) {
    table->show();
    ASSERT_TRUE(table->isVisible());
    QTest::keyClick(control, Qt::Key_Escape);
    EXPECT_FALSE(table->isVisible()) << control->objectName().toStdString();
  }
  table->show();
  Button("btnClose")->click();
  EXPECT_FALSE(table->isVisible());
  EXPECT_TRUE(calls.empty());
}

TEST_F(TableEditorTest, EveryShowingReloadsWithTheLastSortChoice) {
  list = FiveRecords();
  Open();
  ChooseSort(3);
  ClickDescription("Carol");
  table->close();

  list.push_back(Record(KindDeath, 1900, 6, 6, "Frank", 1, 20));
  table->show();
  EXPECT_EQ(Sort()->currentIndex(), 3);
  EXPECT_EQ(Descriptions(), (std::vector<std::string>{"Bob", "alice", "Eve", "Carol", "Frank", "dave"}));
  EXPECT_EQ(SelectedRow(), 0);
  EXPECT_EQ(RecordsLabel(), QStringLiteral("Records Count: 6"));
  EXPECT_EQ(table->focusWidget(), Grid());
}

TEST_F(TableEditorTest, ShowEditorRestoresDateOrderAndRedrawsOnClose) {
  list = FiveRecords();
  Open();
  ChooseSort(2);
  table->close();
  ASSERT_NE(ListDescriptions(), ByDate);

  QRect shownAt;
  QRect screenArea;
  bool wasModal = false;
  QTimer::singleShot(0, table.get(), [&] {
    wasModal = QApplication::activeModalWidget() == table.get();
    shownAt = table->frameGeometry();
    screenArea = table->screen()->geometry();
    EXPECT_EQ(ListDescriptions(), (std::vector<std::string>{"alice", "Bob", "Carol", "dave", "Eve"}));
    Button("btnClose")->click();
  });
  QTimer::singleShot(5000, table.get(), [&] { table->done(0); });
  ShowTableEditor(*table, list, ui);

  EXPECT_TRUE(wasModal);
  EXPECT_LE(std::abs(shownAt.center().x() - screenArea.center().x()), 1);
  EXPECT_LE(std::abs(shownAt.center().y() - screenArea.center().y()), 1);
  EXPECT_EQ(ListDescriptions(), ByDate);
  EXPECT_EQ(ui.redraws, 1);
  EXPECT_FALSE(std::filesystem::exists(paths.data));
}

}  // namespace
}  // namespace jubilora
