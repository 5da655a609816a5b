#include "data/sample_source.h"

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/calendar.h"
#include "core/settings.h"
#include "data/data_file.h"
#include "report/selection.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

SampleSourceError ErrorOf(const std::string& text) {
  const ParsedSamples parsed = ParseSampleSource(text);
  EXPECT_TRUE(parsed.records.empty());
  return parsed.error.value_or(SampleSourceError{-1, "no error"});
}

// --- Reading lines ----------------------------------------------------------------------------

TEST(ParseSampleSource, ALineBecomesASampleRecordWithZeroPadding) {
  const ParsedSamples parsed = ParseSampleSource("birthday | 1952-01-27 | default | Grandma Rose\n");
  ASSERT_FALSE(parsed.error.has_value());
  ASSERT_EQ(parsed.records.size(), 1u);
  TAnniversary expected;
  expected.Kind = KindBirthday;
  expected.Date = DayFromCivil(1952, 1, 27);
  expected.SetDescription("Grandma Rose");
  expected.Importance = SampleImportance;
  expected.ReminderDays = DefaultReminder;
  EXPECT_TRUE(SameBytes(parsed.records[0], expected));
}

TEST(ParseSampleSource, EveryKindWordAndReminder) {
  const ParsedSamples parsed = ParseSampleSource(
      "birthday|2000-01-01|0|a\n"
      "name-day|2000-01-01|1|b\n"
      "wedding|2000-01-01|90|c\n"
      "death|2000-01-01|default|d\n"
      "holiday|2000-01-01|7|e\n"
      "other|2000-01-01|30|f\n"
      "other-no-years|2000-01-01|45|g\n");
  ASSERT_FALSE(parsed.error.has_value()) << parsed.error->message;
  std::vector<int> kinds;
  std::vector<int> reminders;
  for (const auto& r : parsed.records) {
    kinds.push_back(r.Kind);
    reminders.push_back(r.ReminderDays);
  }
  EXPECT_EQ(kinds, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(reminders, (std::vector<int>{0, 1, 90, 255, 7, 30, 45}));
}

TEST(ParseSampleSource, SkipsCommentsAndBlankLinesAndCopesWithCrLfAndAByteOrderMark) {
  const ParsedSamples parsed = ParseSampleSource(
      "\xEF\xBB\xBF# a comment | with | bars | in it\r\n"
      "\r\n"
      "   \t\r\n"
      "  # indented comment\r\n"
      "holiday | 1900-12-24 | 14 | Christmas Eve\r\n"
      "holiday | 1900-12-31 | 3 | New Year's Eve");  // no line end at the very end
  ASSERT_FALSE(parsed.error.has_value()) << parsed.error->message;
  ASSERT_EQ(parsed.records.size(), 2u);
  EXPECT_EQ(parsed.records[0].Description(), "Christmas Eve");
  EXPECT_EQ(parsed.records[1].Description(), "New Year's Eve");
}

TEST(ParseSampleSource, DescriptionIsTheRestOfTheLineInWindows1252) {
  const ParsedSamples parsed = ParseSampleSource("birthday | 1987-02-20 | 5 |  Jakob | M\xC3\xBCller \xE2\x82\xAC  \n");
  ASSERT_FALSE(parsed.error.has_value()) << parsed.error->message;
  EXPECT_EQ(parsed.records.at(0).Description(), "Jakob | M\xFCller \x80");

  const std::string fifty(50, 'x');
  const ParsedSamples longest = ParseSampleSource("other | 2000-02-29 | 1 | " + fifty + "\n");
  ASSERT_FALSE(longest.error.has_value());
  EXPECT_EQ(longest.records.at(0).Description(), fifty);
}

TEST(ParseSampleSource, ErrorsNameTheLineAndStopEverything) {
  const std::string good = "holiday | 1900-12-24 | 14 | Christmas Eve\n";
  const SampleSourceError error = ErrorOf(good + "\n# note\nbirth | 1952-01-27 | default | Rose\n" + good);
  EXPECT_EQ(error.line, 4);
  EXPECT_NE(error.message.find("unknown kind \"birth\""), std::string::npos) << error.message;
  EXPECT_NE(error.message.find("other-no-years"), std::string::npos) << error.message;
}

TEST(ParseSampleSource, RefusesWhatNoRecordCanHold) {
  struct Case {
    std::string line;
    std::string words;
  };
  const std::vector<Case> cases = {
      {"birthday | 1952-01-27 | default", "four fields"},
      {"Birthday | 1952-01-27 | 3 | x", "unknown kind"},
      {"birthday | 2023-02-29 | 3 | x", "is not a day"},
      {"birthday | 1952-13-01 | 3 | x", "is not a day"},
      {"birthday | 0000-01-01 | 3 | x", "is not a day"},
      {"birthday | 24.12.1900 | 3 | x", "is not a day"},
      {"birthday | 1952-1-27 | 3 | x", "is not a day"},
      {"birthday | 1952-01-27 | 91 | x", "reminder \"91\""},
      {"birthday | 1952-01-27 | -1 | x", "reminder \"-1\""},
      {"birthday | 1952-01-27 | +5 | x", "reminder \"+5\""},
      {"birthday | 1952-01-27 | Default | x", "reminder \"Default\""},
      {"birthday | 1952-01-27 | 3 |   ", "description is empty"},
      {"birthday | 1952-01-27 | 3 | " + std::string(51, 'x'), "51 characters"},
      {"birthday | 1952-01-27 | 3 | \xE2\x9C\x93 done", "Windows-1252"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const SampleSourceError error = ErrorOf("# first line\n" + c.line + "\n");
    EXPECT_EQ(error.line, 2);
    EXPECT_NE(error.message.find(c.words), std::string::npos) << error.message;
  }
}

// --- The build step ---------------------------------------------------------------------------

TEST(BuildSampleFile, WritesTheRecordsAsTheSampleFile) {
  test::TempDir dir;
  test::WriteBytes(dir / "samples.txt", "wedding | 1988-04-23 | 45 | Helen & Mark\ndeath | 2009-03-12 | 0 | Walter\n");
  ASSERT_FALSE(BuildSampleFile(dir / "samples.txt", dir / "out.spl").has_value());
  TAnniversaryList written;
  ASSERT_FALSE(ReadRecordFile(dir / "out.spl", written).has_value());
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(written[0].Description(), "Helen & Mark");
  EXPECT_EQ(written[1].Description(), "Walter");
  EXPECT_EQ(fs::file_size(dir / "out.spl"), 2 * RecordSize);
}

TEST(BuildSampleFile, AnErrorNamesFileAndLineAndLeavesTheOldOutput) {
  test::TempDir dir;
  test::WriteBytes(dir / "samples.txt", "# header\nwedding | 1988-04-31 | 45 | Helen & Mark\n");
  test::WriteBytes(dir / "out.spl", "old");
  const auto error = BuildSampleFile(dir / "samples.txt", dir / "out.spl");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->rfind((dir / "samples.txt").string() + ":2: ", 0), 0u) << *error;
  EXPECT_EQ(test::ReadBytes(dir / "out.spl"), "old");

  const auto missing = BuildSampleFile(dir / "nothing.txt", dir / "out.spl");
  ASSERT_TRUE(missing.has_value());
  EXPECT_NE(missing->find("nothing.txt"), std::string::npos) << *missing;
}

// --- The samples shipped with the program -----------------------------------------------------

#if !defined(JUBILORA_SAMPLE_SOURCE) || !defined(JUBILORA_SAMPLE_FILE)
#error "the build names the sample source and the built sample file (cmake/samples.cmake)"
#endif

class ShippedSamplesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parsed = ParseSampleSource(test::ReadBytes(JUBILORA_SAMPLE_SOURCE));
    ASSERT_FALSE(parsed.error.has_value()) << "line " << parsed.error->line << ": " << parsed.error->message;
  }
  ParsedSamples parsed;
};

TEST_F(ShippedSamplesTest, FifteenToTwentyMarkedRecordsOfEveryKindAndManyPeriods) {
  const TAnniversaryList& samples = parsed.records;
  EXPECT_GE(samples.size(), 15u);
  EXPECT_LE(samples.size(), 20u);
  std::set<int> kinds;
  std::set<int> periods;
  for (const auto& r : samples) {
    EXPECT_EQ(r.Importance, SampleImportance) << r.Description();
    kinds.insert(r.Kind);
    periods.insert(r.ReminderDays);
  }
  EXPECT_EQ(kinds, (std::set<int>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_TRUE(periods.contains(DefaultReminder));
  EXPECT_GE(periods.size(), 5u);
}

TEST_F(ShippedSamplesTest, SomeSampleIsDueWithinAMonthOfAnyDay) {
  const TCfg cfg;  // the default periods of a new user
  for (const int year : {2025, 2028}) {
    for (DayNumber today = DayFromCivil(year, 1, 1); today <= DayFromCivil(year, 12, 31); ++today) {
      bool due = false;
      for (const ReportEntry& entry : SelectionWindow(parsed.records, cfg, today)) {
        if (entry.day >= today && entry.day <= today + 30) due = true;
      }
      const CivilDate d = CivilFromDay(today);
      EXPECT_TRUE(due) << "nothing due from " << d.year << "-" << d.month << "-" << d.day;
    }
  }
}

TEST_F(ShippedSamplesTest, TheBuiltSampleFileHoldsExactlyTheseRecords) {
  EXPECT_EQ(test::ReadBytes(JUBILORA_SAMPLE_FILE), EncodeRecords(parsed.records));
}

}  // namespace
}  // namespace jubilora
