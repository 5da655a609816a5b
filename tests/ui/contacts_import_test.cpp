#include "ui/contacts_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include "core/ordering.h"
#include "data/contact_import.h"
#include "support/fake_ui.h"
#include "support/qt_app.h"
#include "support/qt_fit.h"
#include "support/qt_modal.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

const fs::path PhoneBook = fs::path(JUBILORA_TEST_SOURCE_DIR) / "data/vcards/phone-book.vcf";

QTableView* Table(QDialog& preview) { return preview.findChild<QTableView*>("tvDates"); }
QVariant Cell(QDialog& preview, int row, int column, int role = Qt::DisplayRole) {
  return Table(preview)->model()->index(row, column).data(role);
}

class ContactsImport : public testing::Test {
 protected:
  ContactsImport() {
    test::TestApplication();
    paths = {dir / "jubilora.jld", dir / "jubilora.jlb"};
  }

  // Runs the command on `file` with `list` saved as the data file; `script` runs in the
  // preview, which must not open without one. A preview left open fails instead of hanging.
  void Run(const fs::path& file, const std::function<void(QDialog&)>& script = {}) {
    test::WriteBytes(paths.data, EncodeRecords(list));
    before = list;
    ui.files = {file};
    const auto guard = test::InNextModal([&](QWidget* window) {
      if (auto* preview = qobject_cast<QDialog*>(window)) {
        EXPECT_TRUE(script) << "a preview opened for " << file;
        QApplication::setActiveWindow(preview);
        ASSERT_TRUE(QTest::qWaitForWindowActive(preview));
        script ? script(*preview) : preview->reject();
      }
    });
    ImportContactsCommand(nullptr, list, paths, cfg, ui);
  }

  test::TempDir dir;
  DataPaths paths;
  TAnniversaryList list = {test::Record(KindBirthday, 1990, 5, 14, "Anna Smith"),
                           test::Record(KindOtherNoYears, 1987, 7, 21, "Zo\xEB M\xFCller: birthday"),
                           test::Record(KindHoliday, 2000, 12, 25, "Christmas")};
  TAnniversaryList before;
  TCfg cfg;
  test::FakeUi ui;
};

// At 14 points every text of the preview fits.
TEST_F(ContactsImport, TickedDatesBecomeRecordsWithTheChosenImportanceAndReminderInOneSave) {
  const QFont font = QApplication::font();
  QApplication::setFont(QFont(font.family(), 14));
  ui.answers = {1};
  constexpr int LeftOut = 4;
  std::vector<int> unticked;
  Run(PhoneBook, [&](QDialog& preview) {
    EXPECT_EQ(test::TextsThatDoNotFit(preview), std::vector<std::string>());
    QTableView* table = Table(preview);
    // Space on any cell of a row toggles its tick.
    table->setFocus();
    table->setCurrentIndex(table->model()->index(LeftOut, ContactsImportModel::TypeColumn));
    QTest::keyClick(table, Qt::Key_Space);
    for (int row = 0; row < table->model()->rowCount(); ++row) {
      if (Cell(preview, row, 0, Qt::CheckStateRole).toInt() == Qt::Checked) continue;
      unticked.push_back(row);
      EXPECT_EQ(Cell(preview, row, ContactsImportModel::NoteColumn).toString().isEmpty(), row == LeftOut);
    }
    preview.findChild<QComboBox*>("cbImportance")->setCurrentIndex(1);  // "Very important"
    preview.findChild<QCheckBox*>("cbDefault")->setChecked(false);
    preview.findChild<QSpinBox*>("cseStart")->setValue(14);
    QTest::keyClick(table, Qt::Key_Return);
  });
  QApplication::setFont(font);
  // Anna Smith and Zoe Mueller (a year-less birthday, listed in another year) are listed.
  EXPECT_EQ(unticked, (std::vector<int>{0, 2, LeftOut}));

  // The rows are the file's dates in order: what the data layer makes of them, less the unticked.
  const std::vector<ImportCandidate> all = CandidatesFromEvents(ReadVCards(test::ReadBytes(PhoneBook)).events, 4, 14);
  TAnniversaryList expected = before;
  for (std::size_t i = 0; i < all.size(); ++i)
    if (std::count(unticked.begin(), unticked.end(), static_cast<int>(i)) == 0) expected.push_back(all[i].record);
  SortByDate(expected, 0);
  EXPECT_TRUE(std::equal(list.begin(), list.end(), expected.begin(), expected.end(), SameBytes));
  // Saved once: the old data file became the backup.
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(list));
  EXPECT_EQ(test::ReadBytes(paths.backup), EncodeRecords(before));
  EXPECT_EQ(ui.redraws, 1);
  // Afterwards: how many were added.
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_NE(ui.questions[0].message.find(" 23 "), std::string::npos);
}

// Cancel, Escape and a file that cannot be read (reported by name) change nothing.
TEST_F(ContactsImport, NothingChangesWithoutAnImport) {
  const struct {
    fs::path file;
    std::function<void(QDialog&)> leave;
    std::size_t errors, questions;
    std::string told;
  } cases[] = {{PhoneBook, [](QDialog& p) { p.findChild<QPushButton*>("btnCancel")->click(); }, 0, 0, ""},
               {PhoneBook, [](QDialog& p) { QTest::keyClick(Table(p), Qt::Key_Escape); }, 0, 0, ""},
               {dir / "missing.vcf", {}, 1, 0, (dir / "missing.vcf").string()}};
  for (const auto& c : cases) {
    ui = {};
    Run(c.file, c.leave);
    EXPECT_TRUE(std::equal(list.begin(), list.end(), before.begin(), before.end(), SameBytes));
    EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(before));
    EXPECT_FALSE(fs::exists(paths.backup));
    EXPECT_EQ(ui.redraws, 0);
    EXPECT_EQ(ui.errors.size(), c.errors);
    ASSERT_EQ(ui.questions.size(), c.questions);
    const std::string told = c.errors > 0 ? ui.errors[0] : c.questions > 0 ? ui.questions[0].message : "";
    EXPECT_NE(told.find(c.told), std::string::npos) << told;
  }
}

}  // namespace
}  // namespace jubilora
