// The exports: their bytes, File > Export, and the iCalendar copy that follows every save.

#include <cmath>
#include <functional>
#include <limits>
#include <set>
#include <string>
#include <tuple>
#include <vector>

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
// reported with the file and the reason.
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
        {chosen, ""}, {dir / "missing" / "list", "No such file or directory"}};
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
  for (const double date : {std::numeric_limits<double>::quiet_NaN(), 1e300}) {
    records.push_back(test::Record(KindBirthday, 1975, 12, 24, "", 4, 7));
    records.back().Date = date;
  }
  const std::string empty = ";\"Birthday\";\"\";\"Very important\";\"7 days ahead\"\r\n";
  EXPECT_EQ(CsvExportBytes(records, ";", counting),
            "\"Date\";\"Type\";\"Description\";\"Priority\";\"Reminder\"\r\n"
            "2001-06-15;\"Wedding Aniversary\";\"Say \"\"hi\"\", Bob; \"\"\";\"Quite important\";\"1 day ahead\"\r\n"
            "1975-12-24;\"\";\"Ren\xE9\x95\x80\";\"\";\"Default\"\r\n" +
                empty + empty);
  EXPECT_EQ(formatted, 2);
}

// Each record falls on its days in 2027 (common) and 2028 (leap) under each choice for
// 29 February, with its own alarm and its text in UTF-8. A record without a kind or a day is
// skipped. Identifiers are the same for the same records in every export, and distinct for
// identical ones.
TEST(ICalendarBytes, EachRecordFallsOnItsDaysWithItsAlarmUnderEachLeapDayChoice) {
  constexpr std::uint8_t DaysBefore = 21;
  TAnniversaryList records = {test::Record(KindBirthday, 1990, 5, 14, "Zo\xEB; M\xFCller, \"Z\"", 3, 0),
                              test::Record(KindOtherNoYears, 2000, 2, 29, "Hana: birthday", 3, DefaultReminder),
                              test::Record(0, 2020, 1, 1, "no kind"),
                              test::Record(KindDeath, 1950, 3, 3, "Grandpa", 3, 1),
                              test::Record(KindDeath, 1950, 3, 3, "Grandpa", 3, 1),
                              test::Record(KindNameDay, 2020, 1, 1, "no day")};
  records.back().Date = std::nan("");
  const DayNumber may14 = DayFromCivil(2027, 5, 14);
  const DayNumber mar3 = DayFromCivil(2027, 3, 3);
  const std::vector<std::pair<LeapDayChoice, std::vector<CivilDate>>> leapDays = {
      {LeapDayChoice::NotShown, {{2028, 2, 29}}},
      {LeapDayChoice::February28, {{2027, 2, 28}, {2028, 2, 29}}},
      {LeapDayChoice::March1, {{2027, 3, 1}, {2028, 2, 29}}},
  };
  std::vector<std::string> firstUids;
  for (const auto& [choice, leapDayDates] : leapDays) {
    const ICalendarExport out = ICalendarBytes(records, {DaysBefore, choice, 1'700'000'000 + 86400 * static_cast<int>(choice)});
    const std::vector<test::ReadEvent> events = test::ReadBack(out.text);
    EXPECT_EQ(out.skipped, 2u);
    ASSERT_EQ(events.size(), 4u);
    std::vector<DayNumber> leap;
    for (const CivilDate& d : leapDayDates) leap.push_back(DayFromCivil(d));
    const std::vector<std::vector<DayNumber>> days = {{may14, may14 + 366}, leap, {mar3, mar3 + 366}, {mar3, mar3 + 366}};
    const int alarms[] = {0, DaysBefore, 1, 1};
    std::vector<std::string> uids;
    for (std::size_t e = 0; e < events.size(); ++e) {
      const TAnniversary& r = records[e < 2 ? e : e + 1];
      EXPECT_EQ(events[e].days, days[e]) << e;
      EXPECT_EQ(events[e].start, *DecodeDate(r.Date));
      EXPECT_TRUE(events[e].complete) << e;
      EXPECT_EQ(events[e].triggerSeconds, -alarms[e] * 86400) << e;
      EXPECT_EQ(events[e].summary.rfind(Cp1252ToUtf8(r.Description()), 0), 0u) << events[e].summary;
      uids.push_back(events[e].uid);
    }
    if (firstUids.empty()) firstUids = uids;
    EXPECT_EQ(uids, firstUids);
    EXPECT_EQ(std::set<std::string>(uids.begin(), uids.end()).size(), uids.size());
  }
}

}  // namespace
}  // namespace jubilora
