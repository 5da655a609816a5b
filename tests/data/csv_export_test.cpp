#include "data/csv_export.h"

#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/calendar.h"
#include "data/command_fixture.h"
#include "support/records.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

const std::string ExportCaption = "Export Your Data";
const std::string Header = "\"Date\",\"Type\",\"Description\",\"Priority\",\"Reminder\"\r\n";

std::string GermanDate(DayNumber day) {
  const CivilDate d = CivilFromDay(day);
  char text[16];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", d.day, d.month, d.year);
  return text;
}

const TAnniversary Ann = test::Record(KindBirthday, 1975, 12, 24, "Ann", 4, 7);

// Ann with some fields changed.
TAnniversary AnnWith(const std::function<void(TAnniversary&)>& change) {
  TAnniversary r = Ann;
  change(r);
  return r;
}

// --- The bytes --------------------------------------------------------------------------------

TEST(CsvExportBytes, OneLineEachInListOrderWithTheRegionalSeparatorAndShortDate) {
  const TAnniversary b = test::Record(KindWedding, 2001, 6, 15, "B", 3, 1);
  const TAnniversary c = test::Record(KindHoliday, 1900, 1, 1, "C", 2, 2);
  // The event's own year, not this year's occurrence.
  EXPECT_EQ(CsvExportBytes({b, Ann, c}, ",", GermanDate),
            Header + "15.06.2001,\"Wedding Aniversary\",\"B\",\"Quite important\",\"1 day ahead\"\r\n" +
                "24.12.1975,\"Birthday\",\"Ann\",\"Very important\",\"7 days ahead\"\r\n" +
                "01.01.1900,\"Holiday\",\"C\",\"Not important\",\"2 days ahead\"\r\n");
  EXPECT_EQ(CsvExportBytes({Ann}, ";", GermanDate),
            "\"Date\";\"Type\";\"Description\";\"Priority\";\"Reminder\"\r\n"
            "24.12.1975;\"Birthday\";\"Ann\";\"Very important\";\"7 days ahead\"\r\n");
}

TEST(CsvExportBytes, CodedFieldsAndDescriptionsAsWritten) {
  const TAnniversaryList records = {
      AnnWith([](TAnniversary& r) { r.Kind = KindOtherNoYears; }),
      AnnWith([](TAnniversary& r) { r.Kind = 0; }),
      AnnWith([](TAnniversary& r) { r.Importance = SampleImportance; r.ReminderDays = DefaultReminder; }),
      AnnWith([](TAnniversary& r) { r.SetDescription(""); }),
      AnnWith([](TAnniversary& r) { r.SetDescription("Say \"hi\", Bob; \""); }),
      AnnWith([](TAnniversary& r) { r.SetDescription("Ren\xE9\x95\x80"); }),
  };
  EXPECT_EQ(CsvExportBytes(records, ",", GermanDate),
            Header + "24.12.1975,\"Other Aniversaries\",\"Ann\",\"Very important\",\"7 days ahead\"\r\n" +
                "24.12.1975,\"\",\"Ann\",\"Very important\",\"7 days ahead\"\r\n" +
                "24.12.1975,\"Birthday\",\"Ann\",\"\",\"Default\"\r\n" +
                "24.12.1975,\"Birthday\",\"\",\"Very important\",\"7 days ahead\"\r\n" +
                // Quotes are doubled, so that other programs read the field back whole.
                "24.12.1975,\"Birthday\",\"Say \"\"hi\"\", Bob; \"\"\",\"Very important\",\"7 days ahead\"\r\n" +
                "24.12.1975,\"Birthday\",\"Ren\xE9\x95\x80\",\"Very important\",\"7 days ahead\"\r\n");
}

TEST(CsvExportBytes, DateWithoutACalendarDayGivesAnEmptyField) {
  int formatted = 0;
  const ShortDateFormatter counting = [&formatted](DayNumber day) {
    ++formatted;
    return GermanDate(day);
  };
  const auto dated = [](double date) { return AnnWith([date](TAnniversary& r) { r.Date = date; }); };
  const std::string line = ",\"Birthday\",\"Ann\",\"Very important\",\"7 days ahead\"\r\n";
  EXPECT_EQ(CsvExportBytes({dated(std::numeric_limits<double>::quiet_NaN()),
                            dated(std::numeric_limits<double>::infinity()), dated(1e300), dated(-1e9)},
                           ",", counting),
            Header + line + line + line + line);
  EXPECT_EQ(formatted, 0);
}

// --- The command ------------------------------------------------------------------------------

class ExportCommandTest : public test::FileCommandsFixture {
 protected:
  void SetUp() override {
    FileCommandsFixture::SetUp();
    cfg.ExportPath = lastPath;
  }

  void Export(const TAnniversaryList& records, std::deque<int> answers, std::optional<fs::path> file) {
    Script(std::move(answers), {file});
    ExportCommand(records, program, cfg, regional, ui);
  }

  test::IsoRegional regional;
  ProgramPaths program = DerivePaths(dir / "jubilora", [](const std::string&) { return std::nullopt; });
  TAnniversaryList list{Ann, test::Record(KindOtherNoYears, 2020, 9, 30, "Car \"Blue\"; insurance", 255, 45)};
};

TEST_F(ExportCommandTest, EndsOnTheEmptyListNoticeOrAnyAnswerButProceedOrWhenTheDialogIsCancelled) {
  Export({}, {1}, dir / "last" / "x.csv");
  test::ExpectLastQuestion(ui, 1, ExportCaption, IconKind::Warning);
  EXPECT_TRUE(ui.saveDialogs.empty());

  for (const int answer : {2, 0, -1}) {
    SCOPED_TRACE(answer);
    Export(list, {answer}, dir / "last" / "x.csv");
    test::ExpectLastQuestion(ui, 1, ExportCaption, IconKind::Question);
    EXPECT_TRUE(ui.saveDialogs.empty());
  }

  Export(list, {1}, std::nullopt);
  ASSERT_EQ(ui.saveDialogs.size(), 1u);
  test::ExpectDialog(ui.saveDialogs[0], {ExportCaption, "Comma-Separated Values (*.csv)", "csv", lastPath, "", 1});
  EXPECT_TRUE(fs::is_empty(dir / "last"));
  EXPECT_EQ(cfg.ExportPath, lastPath);
}

TEST_F(ExportCommandTest, WritesTheBytesReplacingAnOldFileAndRemembersTheFolder) {
  const fs::path chosen = OtherFile("list.csv", std::string(5000, 'x'));
  Export(list, {1}, chosen);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(test::ReadBytes(chosen), Header +
                                     "1975-12-24,\"Birthday\",\"Ann\",\"Very important\",\"7 days ahead\"\r\n"
                                     "2020-09-30,\"Other Aniversaries\",\"Car \"\"Blue\"\"; insurance\",\"\","
                                     "\"45 days ahead\"\r\n");
  EXPECT_EQ(cfg.ExportPath, (dir / "other").string() + "/");
  EXPECT_EQ(test::Entries(dir / "other"), test::Files{"list.csv"});
  EXPECT_EQ(ui.redraws, 0);
}

TEST_F(ExportCommandTest, FileThatCannotBeCreatedIsReportedAndItsFolderRemembered) {
  const fs::path chosen = dir / "missing" / "list.csv";
  Export(list, {1}, chosen);
  test::ExpectOneError(ui, {chosen.string(), "No such file or directory"});
  EXPECT_FALSE(fs::exists(dir / "missing"));
  EXPECT_EQ(cfg.ExportPath, (dir / "missing").string() + "/");
}

}  // namespace
}  // namespace jubilora
