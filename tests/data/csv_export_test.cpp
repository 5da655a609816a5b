#include "data/csv_export.h"

#include <cmath>
#include <csignal>
#include <cstdio>
#include <iterator>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/calendar.h"
#include "support/fake_ui.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

const std::string ExportCaption = "Export Your Data";
const std::string NothingToExport =
    "There is nothing to export.\r\n\r\nPlease enter some data before performing\r\nan export operation.";
const std::string ExportQuestion =
    "Please select file path and name for a text\r\nfile containing your anniversaries data.\r\n\r\n"
    "You may use this to open you data in other\r\napplications.";

std::string GermanDate(DayNumber day) {
  const CivilDate d = CivilFromDay(day);
  char text[16];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", d.day, d.month, d.year);
  return text;
}

std::string AmericanDate(DayNumber day) {
  const CivilDate d = CivilFromDay(day);
  return std::to_string(d.month) + "/" + std::to_string(d.day) + "/" + std::to_string(d.year);
}

// Regional settings as a German (dd.MM.yyyy, ";") or American (M/d/yyyy, ",") desktop has them.
class FixedRegional : public RegionalSettings {
 public:
  explicit FixedRegional(bool german) : german_(german) {}
  std::string FormatShortDate(DayNumber day) const override { return german_ ? GermanDate(day) : AmericanDate(day); }
  std::optional<DayNumber> ParseShortDate(const std::string&) const override { return std::nullopt; }
  std::string ListSeparator() const override { return german_ ? ";" : ","; }
  std::string FormatDuration(int) const override { return {}; }

 private:
  bool german_;
};

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const auto end = bytes.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(at) + "<no CR LF>");
      break;
    }
    lines.push_back(bytes.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

const TAnniversary Ann = test::Record(KindBirthday, 1975, 12, 24, "Ann", 4, 7);

// --- The bytes --------------------------------------------------------------------------------

TEST(CsvExportBytes, HeaderAndRecordWithCommaAndAGermanDate) {
  EXPECT_EQ(CsvExportBytes({Ann}, ",", GermanDate),
            "\"Date\",\"Type\",\"Description\",\"Priority\",\"Reminder\"\r\n"
            "24.12.1975,\"Birthday\",\"Ann\",\"Very important\",\"7 days ahead\"\r\n");
}

TEST(CsvExportBytes, SemicolonSeparatesEveryFieldOfEveryLine) {
  EXPECT_EQ(CsvExportBytes({Ann}, ";", AmericanDate),
            "\"Date\";\"Type\";\"Description\";\"Priority\";\"Reminder\"\r\n"
            "12/24/1975;\"Birthday\";\"Ann\";\"Very important\";\"7 days ahead\"\r\n");
}

TEST(CsvExportBytes, RegionalSettingsGiveSeparatorAndShortDate) {
  const TAnniversary may = test::Record(KindNameDay, 2003, 5, 4, "Florian", 0, 0);
  EXPECT_EQ(Lines(CsvExportBytes({may}, FixedRegional(true)))[1],
            "04.05.2003;\"Name Day\";\"Florian\";\"Irrelevant\";\"This day only\"");
  EXPECT_EQ(Lines(CsvExportBytes({may}, FixedRegional(false)))[1],
            "5/4/2003,\"Name Day\",\"Florian\",\"Irrelevant\",\"This day only\"");
}

TEST(CsvExportBytes, OneLineEachInListOrderEveryOneEndingWithCrLf) {
  const TAnniversary b = test::Record(KindWedding, 2001, 6, 15, "B", 3, 1);
  const TAnniversary c = test::Record(KindHoliday, 1900, 1, 1, "C", 2, 2);
  const std::string bytes = CsvExportBytes({b, Ann, c}, ",", GermanDate);
  const auto lines = Lines(bytes);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], "15.06.2001,\"Wedding Aniversary\",\"B\",\"Quite important\",\"1 day ahead\"");
  EXPECT_EQ(lines[2].substr(0, 11), "24.12.1975,");
  EXPECT_EQ(lines[3], "01.01.1900,\"Holiday\",\"C\",\"Not important\",\"2 days ahead\"");
  // No line break but CR LF.
  std::size_t lineFeeds = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ++lineFeeds;
      EXPECT_EQ(bytes[i - 1], '\r');
    }
  }
  EXPECT_EQ(lineFeeds, 4u);
}

TEST(CsvExportBytes, TypeNamesWithKindSevenLikeSixAndUnknownKindsEmpty) {
  std::vector<std::string> types;
  for (const std::uint8_t kind : {1, 2, 3, 4, 5, 6, 7, 0, 8, 255}) {
    TAnniversary r = Ann;
    r.Kind = kind;
    types.push_back(Lines(CsvExportBytes({r}, ",", GermanDate))[1].substr(11));
  }
  const std::string rest = ",\"Ann\",\"Very important\",\"7 days ahead\"";
  EXPECT_EQ(types, (std::vector<std::string>{
                       "\"Birthday\"" + rest, "\"Name Day\"" + rest, "\"Wedding Aniversary\"" + rest,
                       "\"Death Aniversary\"" + rest, "\"Holiday\"" + rest, "\"Other Aniversaries\"" + rest,
                       "\"Other Aniversaries\"" + rest, "\"\"" + rest, "\"\"" + rest, "\"\"" + rest}));
}

TEST(CsvExportBytes, PriorityOfASampleOrUnknownImportanceIsEmpty) {
  std::vector<std::string> lines;
  for (const std::uint8_t importance : {0, 1, 2, 3, 4, 5, 6, 255}) {
    TAnniversary r = Ann;
    r.Importance = importance;
    lines.push_back(Lines(CsvExportBytes({r}, ",", GermanDate))[1]);
  }
  const std::string head = "24.12.1975,\"Birthday\",\"Ann\",";
  const std::string tail = ",\"7 days ahead\"";
  EXPECT_EQ(lines, (std::vector<std::string>{
                       head + "\"Irrelevant\"" + tail, head + "\"Quite Irrelevant\"" + tail,
                       head + "\"Not important\"" + tail, head + "\"Quite important\"" + tail,
                       head + "\"Very important\"" + tail, head + "\"Extremely important\"" + tail,
                       head + "\"\"" + tail, head + "\"\"" + tail}));
}

TEST(CsvExportBytes, ReminderPeriods) {
  std::vector<std::string> reminders;
  for (const std::uint8_t days : {0, 1, 2, 90, 254, 255}) {
    TAnniversary r = Ann;
    r.ReminderDays = days;
    const std::string line = Lines(CsvExportBytes({r}, ",", GermanDate))[1];
    reminders.push_back(line.substr(line.rfind(',') + 1));
  }
  EXPECT_EQ(reminders, (std::vector<std::string>{"\"This day only\"", "\"1 day ahead\"", "\"2 days ahead\"",
                                                 "\"90 days ahead\"", "\"254 days ahead\"", "\"Default\""}));
}

TEST(CsvExportBytes, DescriptionsEmptyWithQuotesSeparatorsAndWindows1252Bytes) {
  TAnniversary empty = Ann;
  empty.SetDescription("");
  TAnniversary quoted = Ann;
  quoted.SetDescription("Say \"hi\", Bob; \"");
  TAnniversary accents = Ann;
  accents.SetDescription("Ren\xE9\x95\x80");  // é, bullet, euro sign
  const auto lines = Lines(CsvExportBytes({empty, quoted, accents}, ",", GermanDate));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], "24.12.1975,\"Birthday\",\"\",\"Very important\",\"7 days ahead\"");
  EXPECT_EQ(lines[2], "24.12.1975,\"Birthday\",\"Say \"\"hi\"\", Bob; \"\"\",\"Very important\",\"7 days ahead\"");
  EXPECT_EQ(lines[3], "24.12.1975,\"Birthday\",\"Ren\xE9\x95\x80\",\"Very important\",\"7 days ahead\"");
}

TEST(CsvExportBytes, DateWithoutACalendarDayGivesAnEmptyField) {
  int formatted = 0;
  const ShortDateFormatter counting = [&formatted](DayNumber day) {
    ++formatted;
    return GermanDate(day);
  };
  TAnniversaryList list;
  for (const double date : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300,
                            -1e9}) {
    TAnniversary r = Ann;
    r.Date = date;
    list.push_back(r);
  }
  const auto lines = Lines(CsvExportBytes(list, ",", counting));
  ASSERT_EQ(lines.size(), 5u);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i], ",\"Birthday\",\"Ann\",\"Very important\",\"7 days ahead\"") << i;
  }
  EXPECT_EQ(formatted, 0);
}

TEST(CsvExportBytes, TheEventsOwnYearIsWritten) {
  const TAnniversary old = test::Record(KindDeath, 1801, 2, 28, "Old", 5, 30);
  EXPECT_EQ(Lines(CsvExportBytes({old}, ",", GermanDate))[1],
            "28.02.1801,\"Death Aniversary\",\"Old\",\"Extremely important\",\"30 days ahead\"");
}

// --- The command ------------------------------------------------------------------------------

class ExportCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cfg.ExportPath = (dir / "exports").string() + "/";
    fs::create_directories(dir / "exports");
    fs::create_directories(dir / "other");
  }

  test::TempDir dir;
  test::FakeUi ui;
  TCfg cfg;
  FixedRegional regional{true};
  TAnniversaryList list{Ann, test::Record(KindOtherNoYears, 2020, 9, 30, "Car \"Blue\"; insurance", 255, 45)};
};

TEST_F(ExportCommandTest, EmptyListOnlyTellsThereIsNothingToExport) {
  ui.answers = {1};
  ExportCommand({}, cfg, regional, ui);
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].caption, ExportCaption);
  EXPECT_EQ(ui.questions[0].message, NothingToExport);
  EXPECT_EQ(ui.questions[0].buttons, std::vector<std::string>{"&OK"});
  EXPECT_EQ(ui.questions[0].icon, IconKind::Warning);
  EXPECT_TRUE(ui.saveDialogs.empty());
  EXPECT_EQ(cfg.ExportPath, (dir / "exports").string() + "/");
}

TEST_F(ExportCommandTest, AnyAnswerButProceedEnds) {
  for (const int answer : {2, 0, -1}) {
    SCOPED_TRACE(answer);
    ui = test::FakeUi{};
    ui.answers = {answer};
    ui.files = {dir / "exports" / "x.csv"};
    ExportCommand(list, cfg, regional, ui);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].caption, ExportCaption);
    EXPECT_EQ(ui.questions[0].message, ExportQuestion);
    EXPECT_EQ(ui.questions[0].buttons, (std::vector<std::string>{"&Proceed", "&Cancel"}));
    EXPECT_EQ(ui.questions[0].icon, IconKind::Question);
    EXPECT_TRUE(ui.saveDialogs.empty());
  }
  EXPECT_TRUE(fs::is_empty(dir / "exports"));
}

TEST_F(ExportCommandTest, DialogIsPreparedAndCancellingItWritesNothing) {
  ui.answers = {1};
  ui.files = {std::nullopt};
  ExportCommand(list, cfg, regional, ui);
  ASSERT_EQ(ui.saveDialogs.size(), 1u);
  const FileDialogOptions& dialog = ui.saveDialogs[0];
  EXPECT_EQ(dialog.title, "Export Your Data");
  EXPECT_EQ(dialog.filter, "Comma-Separated Values (*.csv)");
  EXPECT_EQ(dialog.filterIndex, 1);
  EXPECT_EQ(dialog.defaultSuffix, "csv");
  EXPECT_EQ(dialog.initialFolder, (dir / "exports").string() + "/");
  EXPECT_EQ(dialog.initialName, "");
  EXPECT_TRUE(fs::is_empty(dir / "exports"));
  EXPECT_EQ(cfg.ExportPath, (dir / "exports").string() + "/");
}

TEST_F(ExportCommandTest, WritesTheBytesReplacingAnOldFileAndRemembersTheFolder) {
  const fs::path chosen = dir / "other" / "list.csv";
  test::WriteBytes(chosen, std::string(5000, 'x'));
  ui.answers = {1};
  ui.files = {chosen};
  ExportCommand(list, cfg, regional, ui);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(test::ReadBytes(chosen), CsvExportBytes(list, regional));
  EXPECT_EQ(Lines(test::ReadBytes(chosen))[2],
            "30.09.2020;\"Other Aniversaries\";\"Car \"\"Blue\"\"; insurance\";\"\";\"45 days ahead\"");
  EXPECT_EQ(cfg.ExportPath, (dir / "other").string() + "/");
  EXPECT_EQ(fs::directory_iterator(dir / "other")->path().filename(), "list.csv");
  EXPECT_EQ(ui.redraws, 0);
}

TEST_F(ExportCommandTest, FileThatCannotBeCreatedIsReported) {
  const fs::path chosen = dir / "missing" / "list.csv";
  ui.answers = {1};
  ui.files = {chosen};
  ExportCommand(list, cfg, regional, ui);
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_NE(ui.errors[0].find(chosen.string()), std::string::npos) << ui.errors[0];
  EXPECT_NE(ui.errors[0].find("No such file or directory"), std::string::npos) << ui.errors[0];
  EXPECT_FALSE(fs::exists(dir / "missing"));
  // The folder is remembered all the same.
  EXPECT_EQ(cfg.ExportPath, (dir / "missing").string() + "/");
}

TEST_F(ExportCommandTest, WriteThatFailsPartWayLeavesNoPartialFile) {
  const fs::path chosen = dir / "other" / "list.csv";
  const std::string old = "old contents\r\n";
  test::WriteBytes(chosen, old);
  const TAnniversaryList many(300, Ann);  // far more than the child may write
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit cap{2048, 2048};
    if (setrlimit(RLIMIT_FSIZE, &cap) != 0) _exit(126);
    ui.answers = {1};
    ui.files = {chosen};
    ExportCommand(many, cfg, regional, ui);
    const bool reported = ui.errors.size() == 1 && ui.errors[0].find("File too large") != std::string::npos;
    _exit(reported ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(test::ReadBytes(chosen), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "other"), fs::directory_iterator()), 1);
}

TEST(WriteCsvExport, WritesTheSameBytesAsTheMenuCommand) {
  test::TempDir dir;
  const FixedRegional american(false);
  const TAnniversaryList list{Ann};
  ASSERT_FALSE(WriteCsvExport(dir / "out.csv", list, american).has_value());
  EXPECT_EQ(test::ReadBytes(dir / "out.csv"), CsvExportBytes(list, ",", AmericanDate));
}

}  // namespace
}  // namespace jubilora
