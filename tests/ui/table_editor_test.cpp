#include "ui/table_editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
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
#include "support/qt_app.h"
#include "support/records.h"
#include "support/temp_dir.h"
#include "ui/qt_text.h"

namespace jubilora {
namespace {

using test::Record;
using Texts = std::vector<std::string>;

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

const Texts ByDate = {"alice", "Carol", "Eve", "dave", "Bob"};

class TableEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    paths = {dir / "jubilora.jld", dir / "jubilora.jlb"};
    cfg.DateFormat = 2;
  }

  // The editor as the main window creates it; the fake record editor records each call
  // (adding, index) and runs `edit` on the list.
  void Open(std::function<bool(TAnniversaryList&, bool, int)> edit = {}) {
    table = std::make_unique<TfrmTable>(nullptr, list, cfg, paths, ui, [this, edit](bool adding, int index) {
      calls.emplace_back(adding, index);
      return edit ? edit(list, adding, index) : false;
    });
    table->show();
  }

  QTableWidget* Grid() const { return table->findChild<QTableWidget*>("sgTable"); }
  QComboBox* Sort() const { return table->findChild<QComboBox*>("cbSort"); }
  QString RecordsLabel() const { return table->findChild<QLabel*>("labRecords")->text(); }
  QPushButton* Button(const char* name) const { return table->findChild<QPushButton*>(name); }
  QString Text(int row, int column) const {
    return Grid()->item(row, column) != nullptr ? Grid()->item(row, column)->text() : QString();
  }

  // The one selected row, or -1 when none (or a selection that is not one whole row).
  int SelectedRow() const {
    const QModelIndexList rows = Grid()->selectionModel()->selectedRows();
    if (rows.size() != 1 || rows[0].row() != Grid()->currentRow()) return -1;
    return rows[0].row();
  }
  std::string Selected() const { return SelectedRow() < 0 ? std::string() : Text(SelectedRow(), 3).toStdString(); }

  Texts Shown() const {
    Texts shown;
    for (int row = 0; row < Grid()->rowCount(); ++row) shown.push_back(Text(row, 3).toStdString());
    return shown;
  }
  Texts Stored() const {
    Texts texts;
    for (const TAnniversary& r : list) texts.push_back(r.Description());
    return texts;
  }

  QPoint CellCentre(int row) const { return Grid()->visualItemRect(Grid()->item(row, 3)).center(); }
  void ClickRow(int row) { QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, CellCentre(row)); }
  void Click(const std::string& description) {
    const Texts shown = Shown();
    const auto found = std::find(shown.begin(), shown.end(), description);
    ASSERT_NE(found, shown.end()) << "no row shows " << description;
    ClickRow(static_cast<int>(found - shown.begin()));
  }
  // As the user does it: the keyboard on the closed drop-down list.
  void ChooseSort(int position) {
    Sort()->setFocus();
    QTest::keyClick(Sort(), Qt::Key_Home);
    for (int i = 0; i < position; ++i) QTest::keyClick(Sort(), Qt::Key_Down);
    ASSERT_EQ(Sort()->currentIndex(), position);
  }
  void Delete(int answer) {
    ui.answers = {answer};
    Button("btnDelete")->click();
  }

  std::uintmax_t DataFileSize() const {
    return std::filesystem::exists(paths.data) ? std::filesystem::file_size(paths.data) : 0;
  }

  test::TempDir dir;
  DataPaths paths;
  TAnniversaryList list;
  TCfg cfg;
  test::FakeUi ui;
  std::vector<std::pair<bool, int>> calls;
  std::unique_ptr<TfrmTable> table;
};

TEST_F(TableEditorTest, WindowHoldsItsControlsInTabOrderWithoutClipping) {
  for (int i = 0; i < 6; ++i) {
    for (const TAnniversary& r : FiveRecords()) list.push_back(r);
  }
  Open();
  EXPECT_EQ(table->windowTitle(), QStringLiteral("Anniversaries Editor"));
  EXPECT_EQ(table->size(), QSize(792, 521));
  EXPECT_EQ(table->minimumSize(), table->maximumSize());
  QStringList headers;
  for (int column = 0; column < Grid()->columnCount(); ++column) {
    headers << Grid()->horizontalHeaderItem(column)->text();
  }
  EXPECT_EQ(headers, QStringList({"Date", "Year", "Type", "Description", "Priority", "Reminder"}));
  QStringList choices;
  for (int i = 0; i < Sort()->count(); ++i) choices << Sort()->itemText(i);
  EXPECT_EQ(choices, QStringList({"Date", "Type", "Description", "Importance", "Reminder"}));
  // Thirty rows need the vertical bar; the six columns still fit beside it.
  QApplication::processEvents();
  EXPECT_TRUE(Grid()->verticalScrollBar()->isVisible());
  EXPECT_EQ(Grid()->horizontalScrollBar()->maximum(), 0);

  std::vector<QString> order;
  QWidget* widget = Grid();
  do {
    if (widget->focusPolicy() & Qt::TabFocus) order.push_back(widget->objectName());
    widget = widget->nextInFocusChain();
  } while (widget != Grid() && order.size() < 10);
  EXPECT_EQ(order, (std::vector<QString>{"sgTable", "btnAddNew", "btnEdit", "btnDelete", "cbSort", "btnClose"}));

  const std::pair<const char*, QString> buttons[] = {
      {"btnAddNew", "Add &New"}, {"btnEdit", "&Edit"}, {"btnDelete", "&Delete"}, {"btnClose", "&Close"}};
  for (const auto& [name, caption] : buttons) {
    QPushButton* button = Button(name);
    ASSERT_NE(button, nullptr) << name;
    EXPECT_EQ(button->text(), caption);
    EXPECT_LE(button->sizeHint().width(), button->width()) << name;
    EXPECT_GT(button->y(), Grid()->geometry().bottom()) << name;
  }
  const QLabel* records = table->findChild<QLabel*>("labRecords");
  EXPECT_LE(records->fontMetrics().horizontalAdvance("Records Count: 99999"), records->width());
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
  }
}

TEST_F(TableEditorTest, RowsShowTheRecordTextsAndEverySortFollowsTheSelectedRecord) {
  list = FiveRecords();
  Open();
  EXPECT_TRUE(Grid()->horizontalHeader()->isVisible());
  EXPECT_EQ(Stored(), ByDate);
  EXPECT_EQ(RecordsLabel(), QStringLiteral("Records Count: 5"));
  EXPECT_EQ(SelectedRow(), 0);
  const QString bullet(QChar(0x2022));
  const std::vector<QStringList> rows = {
      {"January 20th", "----", "Name Day", "alice", bullet.repeated(5), "Default"},
      {"March 5th", "1980", "Birthday", "Carol", bullet.repeated(2), "10 days ahead"},
      {"May 15th", "----", "Other Aniversaries", "Eve", bullet.repeated(4), "1 day ahead"},
      {"July 4th", "1975", "Wedding Aniversary", "dave", "", "30 days ahead"},
      {"December 25th", "----", "Holiday", "Bob", "Sample", "This day only"},
  };
  ASSERT_EQ(Grid()->rowCount(), 5);
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 6; ++column) EXPECT_EQ(Text(row, column), rows[row][column]) << row << "," << column;
  }

  // A Ctrl+click or a click below the rows leaves the record selected.
  Click("Eve");
  QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, Qt::ControlModifier, CellCentre(2));
  QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, QPoint(10, Grid()->viewport()->height() - 4));
  EXPECT_EQ(Selected(), "Eve");

  // Every sort reorders the list itself, follows the selected record and never saves.
  const std::vector<Texts> orders = {
      ByDate,
      {"Carol", "alice", "dave", "Bob", "Eve"},
      {"alice", "Bob", "Carol", "dave", "Eve"},
      {"Bob", "alice", "Eve", "Carol", "dave"},
      {"dave", "Carol", "Eve", "Bob", "alice"},
  };
  for (int position : {1, 2, 3, 4, 0}) {
    ChooseSort(position);
    EXPECT_EQ(Shown(), orders[position]) << position;
    EXPECT_EQ(Stored(), orders[position]) << position;
    EXPECT_EQ(Selected(), "Eve") << position;
  }
  EXPECT_FALSE(std::filesystem::exists(paths.data));
}

TEST_F(TableEditorTest, DeletingMovesTheSelectionUpAndSaves) {
  list = FiveRecords();
  Open();
  Click("dave");
  Delete(1);
  EXPECT_EQ(Shown(), Texts({"alice", "Carol", "Eve", "Bob"}));
  EXPECT_EQ(Selected(), "Eve");
  EXPECT_EQ(RecordsLabel(), QStringLiteral("Records Count: 4"));
  EXPECT_EQ(DataFileSize(), 4 * RecordSize);

  // The first row: the first row of the new list.
  ClickRow(0);
  ui.answers = {1};
  QTest::keyClick(Grid(), Qt::Key_Delete);
  EXPECT_EQ(Shown(), Texts({"Carol", "Eve", "Bob"}));
  EXPECT_EQ(SelectedRow(), 0);

  // "Above" is the row above in the order shown.
  ChooseSort(2);
  Click("Eve");
  Delete(1);
  EXPECT_EQ(Shown(), Texts({"Bob", "Carol"}));
  EXPECT_EQ(Selected(), "Carol");

  Delete(1);
  Delete(1);
  EXPECT_FALSE(Button("btnDelete")->isEnabled());
  EXPECT_EQ(RecordsLabel(), QStringLiteral("Records Count: 0"));
  // The emptied list is saved too.
  EXPECT_TRUE(std::filesystem::exists(paths.data));
  EXPECT_EQ(DataFileSize(), 0u);
}

TEST_F(TableEditorTest, DeleteQuestionNamesTheRecordAndNoStillMovesUpAndSaves) {
  list = FiveRecords();
  Open();
  Click("Bob");
  Delete(2);
  EXPECT_EQ(Shown(), ByDate);
  EXPECT_EQ(Selected(), "dave");
  EXPECT_EQ(DataFileSize(), 5 * RecordSize);
  // Escape in the question (no answer) and the busy answer count as "No" too.
  Delete(0);
  Delete(-1);
  EXPECT_EQ(Selected(), "Carol");
  Click("alice");
  QTest::keyClick(Grid(), Qt::Key_Delete);
  EXPECT_EQ(Selected(), "alice");
  EXPECT_EQ(list.size(), 5u);
  EXPECT_TRUE(std::filesystem::exists(paths.backup));

  ASSERT_EQ(ui.questions.size(), 4u);
  const test::AskedQuestion& sample = ui.questions[0];
  EXPECT_EQ(sample.caption, "Please confirm");
  EXPECT_EQ(sample.message,
            "Are you sure you wish to delete this anniversary?\r\n\r\n"
            "Description: Bob\r\nDate: December 25th (----)\r\nType: Holiday\r\n"
            "Importance: 255\r\nReminder: This day only");
  EXPECT_EQ(sample.buttons, Texts({"&Yes, delete now!", "&No, keep it..."}));
  EXPECT_EQ(sample.icon, IconKind::Question);
  EXPECT_TRUE(sample.canCancel);
  // A name day has no year either.
  EXPECT_NE(ui.questions[3].message.find("Date: January 20th (----)\r\nType: Name Day\r\nImportance: 5\r\n"),
            std::string::npos);
}

TEST_F(TableEditorTest, EmptyListRefusesEditAndDeleteUntilTheFirstRecordIsAdded) {
  Open([](TAnniversaryList& records, bool, int) {
    records.push_back(Record(KindBirthday, 1970, 2, 14, "Bianca", 3, 5));
    return true;
  });
  EXPECT_FALSE(Grid()->horizontalHeader()->isVisible());
  EXPECT_EQ(Shown(), Texts({"Description"}));
  EXPECT_EQ(Text(0, 0), QStringLiteral("Date"));
  EXPECT_EQ(SelectedRow(), -1);
  EXPECT_EQ(RecordsLabel(), QStringLiteral("Records Count: 0"));
  EXPECT_FALSE(Button("btnDelete")->isEnabled());
  EXPECT_EQ(Sort()->currentText(), QStringLiteral("Date"));
  // Editing and deleting need a record, whichever way they are asked for.
  QTest::keyClick(Grid(), Qt::Key_Return);
  QTest::keyClick(Grid(), Qt::Key_Delete);
  Button("btnEdit")->click();
  QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, CellCentre(0));
  EXPECT_TRUE(calls.empty());
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_FALSE(std::filesystem::exists(paths.data));

  Button("btnAddNew")->click();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls[0].first);
  EXPECT_TRUE(Grid()->horizontalHeader()->isVisible());
  EXPECT_EQ(Shown(), Texts({"Bianca"}));
  EXPECT_EQ(SelectedRow(), 0);
  EXPECT_TRUE(Button("btnDelete")->isEnabled());
  EXPECT_EQ(RecordsLabel(), QStringLiteral("Records Count: 1"));
  EXPECT_EQ(DataFileSize(), RecordSize);

  // Insert in the grid adds too, and the new record is found in the chosen order.
  list = FiveRecords();
  ChooseSort(2);
  QTest::keyClick(Grid(), Qt::Key_Insert);
  EXPECT_EQ(Shown(), Texts({"alice", "Bianca", "Bob", "Carol", "dave", "Eve"}));
  EXPECT_EQ(Selected(), "Bianca");
  EXPECT_EQ(DataFileSize(), 6 * RecordSize);
}

TEST_F(TableEditorTest, EditedRecordIsSelectedAtItsNewPlace) {
  list = FiveRecords();
  Open([](TAnniversaryList& records, bool, int index) {
    records[index].SetDescription("Zed");
    return true;
  });
  ChooseSort(2);
  Click("alice");
  Button("btnEdit")->click();
  EXPECT_EQ(Shown(), Texts({"Bob", "Carol", "dave", "Eve", "Zed"}));
  EXPECT_EQ(Selected(), "Zed");
  EXPECT_EQ(DataFileSize(), 5 * RecordSize);

  // Enter and a double click (which starts with a click) edit the selected row.
  Click("Carol");
  QTest::keyClick(Grid(), Qt::Key_Return);
  EXPECT_EQ(Selected(), "Zed");
  ClickRow(1);
  QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, CellCentre(1));
  EXPECT_EQ(calls, (std::vector<std::pair<bool, int>>{{false, 0}, {false, 1}, {false, 1}}));
}

TEST_F(TableEditorTest, AcceptedEditKeepsFollowingARecordThatTiesWithAnother) {
  // Birthdays that differ only in their year tie on every key of the date order.
  for (const auto& [year, month] : {std::pair{1950, 1}, {1950, 1}, {1951, 1}, {1952, 2}, {1951, 2}})
    list.push_back(Record(KindBirthday, year, month, 1, "A", 3, DefaultReminder));
  Open([](TAnniversaryList&, bool, int) { return true; });
  ClickRow(1);
  ASSERT_EQ(Text(1, 1) + Text(1, 0), QStringLiteral("1951January 1st"));
  QTest::keyClick(Grid(), Qt::Key_Return);
  ASSERT_GE(SelectedRow(), 0);
  EXPECT_EQ(Text(SelectedRow(), 1) + Text(SelectedRow(), 0), QStringLiteral("1951January 1st"));
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
  EXPECT_EQ(Shown(), Texts({"New Year"}));
  EXPECT_EQ(SelectedRow(), 0);
}

TEST_F(TableEditorTest, CancelledEditorChangesNothingAndEnterPressesOnlyTheFocusedButton) {
  list = FiveRecords();
  Open();
  Click("Eve");
  QTest::keyClick(Sort(), Qt::Key_Return);
  EXPECT_TRUE(calls.empty());
  QTest::keyClick(Button("btnAddNew"), Qt::Key_Enter);
  QTest::keyClick(Button("btnEdit"), Qt::Key_Return);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_TRUE(calls[0].first);
  EXPECT_FALSE(calls[1].first);
  EXPECT_EQ(Selected(), "Eve");
  EXPECT_EQ(list.size(), 5u);
  EXPECT_FALSE(std::filesystem::exists(paths.data));
  QTest::keyClick(Button("btnDelete"), Qt::Key_Return);
  EXPECT_EQ(ui.questions.size(), 1u);
  QTest::keyClick(Button("btnClose"), Qt::Key_Return);
  EXPECT_FALSE(table->isVisible());
}

TEST_F(TableEditorTest, EscapeClosesFromTheGridTheButtonsAndTheSortList) {
  list = FiveRecords();
  Open();
  for (QWidget* control : {static_cast<QWidget*>(Grid()), static_cast<QWidget*>(Button("btnEdit")),
                           static_cast<QWidget*>(Sort()), static_cast<QWidget*>(table.get())}) {
    table->show();
    QTest::keyClick(control, Qt::Key_Escape);
    EXPECT_FALSE(table->isVisible()) << control->objectName().toStdString();
  }
}

TEST_F(TableEditorTest, EveryShowingReloadsWithTheLastSortAndClosingRestoresDateOrder) {
  list = FiveRecords();
  Open();
  ChooseSort(2);
  Click("Carol");
  table->close();
  list.push_back(Record(KindDeath, 1900, 6, 6, "Frank", 1, 20));
  QRect shownAt, screenArea;
  bool wasModal = false;
  QTimer::singleShot(0, table.get(), [&] {
    wasModal = QApplication::activeModalWidget() == table.get();
    shownAt = table->frameGeometry();
    screenArea = table->screen()->geometry();
    EXPECT_EQ(Sort()->currentIndex(), 2);
    EXPECT_EQ(Stored(), Texts({"alice", "Bob", "Carol", "dave", "Eve", "Frank"}));
    EXPECT_EQ(Shown(), Stored());
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(RecordsLabel(), QStringLiteral("Records Count: 6"));
    EXPECT_EQ(table->focusWidget(), Grid());
    Button("btnClose")->click();
  });
  QTimer::singleShot(5000, table.get(), [&] { table->done(0); });
  ShowTableEditor(*table, list, ui);

  EXPECT_TRUE(wasModal);
  EXPECT_LE((shownAt.center() - screenArea.center()).manhattanLength(), 2);
  EXPECT_EQ(Stored(), Texts({"alice", "Carol", "Eve", "Frank", "dave", "Bob"}));
  EXPECT_EQ(ui.redraws, 1);
  EXPECT_FALSE(std::filesystem::exists(paths.data));
}

}  // namespace
}  // namespace jubilora
