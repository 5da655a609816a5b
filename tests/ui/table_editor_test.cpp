#include "ui/table_editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "support/fake_ui.h"
#include "support/qt_app.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

using test::Record;

// Carol and carol, Bob and BOB tie on every key of every ordering (they differ only in their
// year and letter case), so only the orderings themselves know where each one goes.
TAnniversaryList Records() {
  return {Record(KindBirthday, 1980, 3, 5, "Carol", 2, 10),
          Record(KindNameDay, 2001, 1, 20, "alice", 5, DefaultReminder),
          Record(KindHoliday, 1999, 12, 25, "Bob", SampleImportance, 0),
          Record(KindBirthday, 1990, 3, 5, "carol", 2, 10),
          Record(KindWedding, 1975, 7, 4, "dave", 0, 30),
          Record(KindHoliday, 1998, 12, 25, "BOB", SampleImportance, 0),
          Record(KindOtherNoYears, 1990, 5, 15, "Eve", 4, 1)};
}

class TableEditorTest : public ::testing::Test {
 public:
  // The fake record editor counts its calls and runs `edit` on the list.
  void Open(std::function<bool(TAnniversaryList&, bool, int)> edit = {}) {
    table = std::make_unique<TfrmTable>(nullptr, list, cfg, paths, ui, [this, edit](bool adding, int index) {
      ++calls;
      return edit ? edit(list, adding, index) : false;
    });
    table->show();
    // The table's keys need the window active and the table focused, as on a desktop.
    QApplication::setActiveWindow(table.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(table.get()));
  }

  QTableView* View() const { return table->findChild<QTableView*>("sgTable"); }
  QComboBox* Sort() const { return table->findChild<QComboBox*>("cbSort"); }
  QPushButton* Button(const char* name) const { return table->findChild<QPushButton*>(name); }
  void ClickRow(int row) {
    QTest::mouseClick(View()->viewport(), Qt::LeftButton, {},
                      View()->visualRect(View()->model()->index(row, 3)).center());
  }
  // The one row both current and selected, or -1.
  int SelectedRow() const {
    const QModelIndexList rows = View()->selectionModel()->selectedRows();
    return rows.size() == 1 && rows[0].row() == table->SelectedRecord() ? rows[0].row() : -1;
  }
  // As the user does it: one key on the closed list per step.
  void ChooseSort(int position) {
    Sort()->setFocus();
    while (Sort()->currentIndex() != position) QTest::keyClick(Sort(), Qt::Key_Down);
  }

  QApplication& app = test::TestApplication();
  test::TempDir dir;
  DataPaths paths{dir / "jubilora.jld", dir / "jubilora.jlb"};
  TAnniversaryList list = Records();
  TCfg cfg;
  test::FakeUi ui;
  int calls = 0;
  std::unique_ptr<TfrmTable> table;
};

// Differential: from every row, every change of ordering leaves the list as SortBy leaves it
// and the selection (and what a view held on to) on the record SortBy followed.
TEST_F(TableEditorTest, EveryOrderingFollowsTheSelectedRecordWhereTheOrderingPutsIt) {
  Open();
  for (int row = 0; row < static_cast<int>(list.size()); ++row) {
    for (int step = 0; step < 5; ++step) {
      const int next = (Sort()->currentIndex() + 1) % 5;
      ClickRow(row);
      TAnniversaryList expected = list;
      const int k = SortBy(static_cast<SortOrder>(next), expected, row);
      const QPersistentModelIndex held = View()->model()->index(row, 3);
      QTest::keyClick(Sort(), next == 0 ? Qt::Key_Home : Qt::Key_Down);
      ASSERT_TRUE(std::equal(list.begin(), list.end(), expected.begin(), expected.end(), SameBytes))
          << row << " by " << next;
      EXPECT_EQ(SelectedRow(), k) << row << " by " << next;
      EXPECT_EQ(held.row(), k) << row << " by " << next;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(paths.data)) << "sorting for display saves nothing";
}

// Under every ordering: the added and the edited record are selected, a deletion selects the
// record shown above, every change is saved at once, and the model moves rows instead of
// starting over.
TEST_F(TableEditorTest, AddEditAndDeleteSelectTheirRecordAndSaveAtOnce) {
  for (int order = 0; order < 5; ++order) {
    SCOPED_TRACE(order);
    calls = 0;
    list = Records();
    const TAnniversary added = Record(KindBirthday, 1985, 3, 5, "CAROL", 2, 10);
    TAnniversary edited;
    Open([&](TAnniversaryList& records, bool adding, int index) {
      if (adding) return records.push_back(added), true;
      records[index].DescriptionChars[0] ^= 0x20;  // another letter case: still tied with its twin
      return edited = records[index], true;
    });
    ChooseSort(order);
    QAbstractItemModel* model = View()->model();
    QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted), removed(model, &QAbstractItemModel::rowsRemoved),
        reset(model, &QAbstractItemModel::modelReset);

    Button("btnAddNew")->click();
    ASSERT_GE(SelectedRow(), 0);
    EXPECT_TRUE(SameBytes(list[SelectedRow()], added));
    ClickRow(3);
    QTest::keyClick(View(), Qt::Key_Return);
    ASSERT_GE(SelectedRow(), 0);
    EXPECT_TRUE(SameBytes(list[SelectedRow()], edited));
    ClickRow(5);
    const TAnniversary above = list[4];
    ui.answers = {1};
    Button("btnDelete")->click();
    ASSERT_GE(SelectedRow(), 0);
    EXPECT_TRUE(SameBytes(list[SelectedRow()], above));
    EXPECT_EQ(std::filesystem::file_size(paths.data), list.size() * RecordSize);
    ClickRow(0);
    ui.answers = {1};
    Button("btnDelete")->click();
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(removed.count(), 2);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(calls, 2);
  }
}

}  // namespace
}  // namespace jubilora
