// The exports: their bytes, File > Export, and the iCalendar copy that follows every save.

#include <cmath>
#include <functional>
#include <limits>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <gtest/gtest.h>

#include "core/ordering.h"
#include "core/text_codec.h"
#include "data/command_fixture.h"
#include "data/csv_export.h"
#include "data/icalendar.h"
#include "data/icalendar_export.h"
#include "support/ical_read.h"
#include "support/records.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t NowUtc = 1'750'000'000;

class ExportCommands : public test::FileCommandsFixture {
 protected:
  test::IsoRegional regional;
  ProgramPaths program = DerivePaths(dir / "jubilora", [](const std::string&) { return std::nullopt; });
  TAnniversaryList list{anna, test::Record(KindOtherNoYears, 2020, 2, 29, "Car \"Blue\"; insurance", 255, 45)};
};

// Written whole over an old file; the folder is remembered after a failure too, which is
// reported with the file and the reason. The program's own files are never written.
TEST_F(ExportCommands, WriteTheirBytesOrReportWhyAndRememberTheFolder) {
  Store({anna});
  const std::vector<std::pair<std::string, std::function<void()>>> formats = {
      {"csv", [&] { ExportCommand(list, program, cfg, regional, ui); }},
      {"ics", [&] { ICalendarExportCommand(list, program, cfg, ui, NowUtc); }}};
  const std::string expected[] = {CsvExportBytes(list, regional), ICalendarExportBytes(list, cfg, paths, NowUtc)};
  for (std::size_t f = 0; f < formats.size(); ++f) {
    SCOPED_TRACE(formats[f].first);
    const fs::path chosen = OtherFile("list." + formats[f].first, std::string(5000, 'x'));
    const std::vector<std::tuple<fs::path, std::string>> cases = {
        {chosen, ""}, {dir / "missing" / "list", "No such file or directory"}, {paths.data, "one of Jubilora's own files"}};
    for (const auto& [file, reason] : cases) {
      const std::string data = test::ReadBytes(paths.data);
      Script({1}, {file});
      formats[f].second();
      if (reason.empty()) {
        EXPECT_TRUE(ui.errors.empty());
        EXPECT_EQ(test::ReadBytes(chosen), expected[f]);
      } else {
        test::ExpectOneError(ui, {file.string(), reason});
      }
      EXPECT_EQ(cfg.ExportPath, file.parent_path().string() + "/");
      EXPECT_EQ(test::ReadBytes(paths.data), data);
      EXPECT_EQ(ui.redraws, 0);
    }
  }
  EXPECT_EQ(test::Entries(dir / "other"), (test::Files{"list.csv", "list.ics"}));
  EXPECT_FALSE(fs::exists(dir / "missing"));
  // A calendar program reads every record, the leap-day one included.
  EXPECT_EQ(test::ReadBack(test::ReadBytes(dir / "other" / "list.ics")).size(), list.size());
}

// The stamp of every event is when the list was last saved, so that the same list gives the
// same file: the data file's time, or the backup's when only it exists, or else now.
TEST_F(ExportCommands, TheCalendarIsStampedWithTheTimeOfTheDataFile) {
  EXPECT_EQ(DataRevision(paths, NowUtc), NowUtc);
  for (const fs::path* file : {&paths.backup, &paths.data}) {
    test::WriteBytes(*file, "");
    const std::int64_t when = file == &paths.data ? 1'600'000'000 : 1'500'000'000;
    const timespec times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, file->c_str(), times, 0), 0);
    EXPECT_EQ(DataRevision(paths, NowUtc), when);
  }
}

// The copy is rewritten whole with what --export-ics writes; a failure is told once, until a
// rewrite succeeds or the copy moves, and never touches the data.
TEST_F(ExportCommands, CopyFollowsEverySaveAndReportsAFailureOnce) {
  ICalendarCopy copy;
  const fs::path file = dir / "calendars" / "jubilora.ics";
  const auto save = [&](const TAnniversaryList& records) {
    TAnniversaryList saved = records;
    ASSERT_EQ(SaveData(saved, paths, ui), std::nullopt);
    for (const TAnniversaryList& told : ui.saved) copy.Refresh(told, cfg, program, ui, NowUtc);
    ui.saved.clear();
  };
  save({anna});
  EXPECT_TRUE(ui.errors.empty());  // no copy asked for
  EXPECT_FALSE(fs::exists(file));

  cfg.ICalendarCopy = file.string();
  cfg.LeapDay = LeapDayChoice::March1;
  const struct {
    const char* what;
    std::function<void()> before;
    std::size_t errors;  // told so far
    bool written;
  } steps[] = {
      {"no folder", [] {}, 1, false},
      {"still none", [] {}, 1, false},
      {"folder made", [&] { fs::create_directories(file.parent_path()); }, 1, true},
      {"folder gone again", [&] { fs::remove_all(file.parent_path()); }, 2, false},
      {"moved onto the data", [&] { cfg.ICalendarCopy = paths.data.string(); }, 3, false},
  };
  ui = test::FakeUi{};
  TAnniversaryList sorted = list;
  SortByDate(sorted, 0);
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    step.before();
    save(list);
    ASSERT_EQ(ui.errors.size(), step.errors);
    EXPECT_NE(ui.errors.back().find(cfg.ICalendarCopy), std::string::npos) << ui.errors.back();
    EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(sorted));
    if (step.written) {
      EXPECT_EQ(test::ReadBytes(file), ICalendarExportBytes(sorted, cfg, paths, NowUtc));
    }
  }
}

// One line each in list order with the given separator, the event's own year, the date the
// only field without quotes and empty without a calendar day (the formatter never asked),
// quotes doubled so that other programs read a field back whole, codes out of range empty.
TEST(CsvExportBytes, OneQuotedLineEachInListOrder) {
  int formatted = 0;
  const test::IsoRegional iso;
  const ShortDateFormatter counting = [&](DayNumber day) {
    ++formatted;
    return iso.FormatShortDate(day);
  };
  TAnniversaryList records = {test::Record(KindWedding, 2001, 6, 15, "Say \"hi\", Bob; \"", 3, 1),
                              test::Record(0, 1975, 12, 24, "Ren\xE9\x95\x80", SampleImportance, DefaultReminder)};
  for (const double date : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300,
                            -1e9}) {
    records.push_back(test::Record(KindBirthday, 1975, 12, 24, "", 4, 7));
    records.back().Date = date;
  }
  const std::string empty = ";\"Birthday\";\"\";\"Very important\";\"7 days ahead\"\r\n";
  EXPECT_EQ(CsvExportBytes(records, ";", counting),
            "\"Date\";\"Type\";\"Description\";\"Priority\";\"Reminder\"\r\n"
            "2001-06-15;\"Wedding Aniversary\";\"Say \"\"hi\"\", Bob; \"\"\";\"Quite important\";\"1 day ahead\"\r\n"
            "1975-12-24;\"\";\"Ren\xE9\x95\x80\";\"\";\"Default\"\r\n" +
                empty + empty + empty + empty);
  EXPECT_EQ(formatted, 2);
}

using test::ReadBack;
using test::ReadEvent;

constexpr std::uint8_t DaysBefore = 21;

// The last record's date is no day at all, the fifth has no kind: neither is exported.
TAnniversaryList Records() {
  TAnniversaryList records = {
      test::Record(KindBirthday, 1990, 5, 14, "Zo\xEB; M\xFCller, \"Z\"", 3, 0),
      test::Record(KindWedding, 1992, 2, 29, "Anna & Bo", 3, 7),
      test::Record(KindOtherNoYears, 2000, 2, 29, "Hana: birthday", 3, DefaultReminder),
      test::Record(KindHoliday, 2020, 12, 31, "New Year's Eve", 3, 90),
      test::Record(0, 2020, 1, 1, "no kind"),
      test::Record(KindDeath, 1950, 3, 3, "Grandpa", 3, 1),
      test::Record(KindDeath, 1950, 3, 3, "Grandpa", 3, 1),
      test::Record(KindNameDay, 2020, 1, 1, "no day")};
  records.back().Date = std::nan("");
  return records;
}

TEST(ICalendarBytes, EachRecordFallsOnItsDaysWithItsAlarmUnderEachLeapDayChoice) {
  // 29 February in 2027 (common) and 2028 (leap), by choice.
  const std::vector<std::pair<LeapDayChoice, std::vector<CivilDate>>> leapDays = {
      {LeapDayChoice::NotShown, {{2028, 2, 29}}},
      {LeapDayChoice::February28, {{2027, 2, 28}, {2028, 2, 29}}},
      {LeapDayChoice::March1, {{2027, 3, 1}, {2028, 2, 29}}},
  };
  const TAnniversaryList records = Records();
  std::vector<std::string> firstUids;
  for (const auto& [choice, leapDayDates] : leapDays) {
    const ICalendarExport out = ICalendarBytes(records, {DaysBefore, choice, 1'700'000'000 + 86400 * static_cast<int>(choice)});
    const std::vector<ReadEvent> events = ReadBack(out.text);
    EXPECT_EQ(out.skipped, 2u);
    ASSERT_EQ(events.size(), 6u);
    ASSERT_EQ(out.events, 6u);
    std::vector<std::string> uids;
    for (std::size_t e = 0, i = 0; i < records.size(); ++i) {
      const TAnniversary& r = records[i];
      const auto date = DecodeDate(r.Date);
      if (r.Kind == 0 || !date) continue;
      const ReadEvent& event = events[e++];
      std::vector<DayNumber> days;
      for (int year : {2027, 2028}) {
        if (auto day = AnniversaryInYear(date->month, date->day, year, choice)) days.push_back(*day);
      }
      EXPECT_EQ(event.days, days) << r.Description();
      if (date->month == 2 && date->day == 29) {
        std::vector<DayNumber> expected;
        for (const CivilDate& d : leapDayDates) expected.push_back(DayFromCivil(d));
        EXPECT_EQ(days, expected);
      }
      EXPECT_EQ(event.start, *date);
      EXPECT_TRUE(event.complete) << r.Description();
      const int period = r.ReminderDays == DefaultReminder ? DaysBefore : r.ReminderDays;
      EXPECT_EQ(event.triggerSeconds, -period * 86400) << r.Description();
      // UTF-8 texts; the year it started only where the kind shows years.
      EXPECT_EQ(event.summary.rfind(Cp1252ToUtf8(r.Description()), 0), 0u) << event.summary;
      const bool showsYears = r.Kind != KindOtherNoYears && r.Kind != KindHoliday;
      EXPECT_EQ(event.description.find(std::to_string(date->year)) != std::string::npos, showsYears) << i;
      uids.push_back(event.uid);
    }
    // The same for the same records in every export, and distinct for identical ones.
    if (firstUids.empty()) firstUids = uids;
    EXPECT_EQ(uids, firstUids);
    EXPECT_EQ(std::set<std::string>(uids.begin(), uids.end()).size(), uids.size());
  }
}

}  // namespace
}  // namespace jubilora
