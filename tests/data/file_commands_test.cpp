// The File menu's dialogues (Backup, Restore, Synchronize, the exports, the samples), and
// faults of the file system in the middle of them: a read or a write that fails part-way is
// reported once and leaves every file and the list as they were. The exports' bytes, and the
// iCalendar copy that follows every save.

#include <algorithm>
#include <cmath>
#include <csignal>
#include <functional>
#include <limits>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <sys/resource.h>
#include <gtest/gtest.h>

#include "core/text_codec.h"
#include "data/command_fixture.h"
#include "data/csv_export.h"
#include "data/file_commands.h"
#include "data/icalendar.h"
#include "data/icalendar_export.h"
#include "data/read_fault.h"
#include "data/samples.h"
#include "support/ical_read.h"
#include "support/records.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
using test::Descriptions;
using test::Names;

class FileCommandsTest : public test::FileCommandsFixture {
 protected:
  // The first reading is the last second of a year; any later one is in the next year.
  ReadLocalClock Clock() {
    return [this] {
      return ++clockReadings == 1 ? LocalDateTime{2025, 12, 31, 23, 59, 59} : LocalDateTime{2026, 1, 1, 0, 0, 0};
    };
  }
  int clockReadings = 0;
  test::IsoRegional regional;
  ProgramPaths program = DerivePaths(dir / "jubilora", [](const std::string&) { return std::nullopt; });
};

// Dismissing a question (0), closing it (-1), its other button, a cancelled file dialog or
// the empty list's notice: nothing is written, loaded or remembered.
TEST_F(FileCommandsTest, EveryCommandEndsWithoutActingUnlessTheUserGoesOn) {
  struct Command {
    const char* name;
    std::function<void()> run;
    std::vector<std::pair<int, int>> questions;  // the answer that goes on, and the other button
    bool notice;                                 // the empty list ends it
  };
  const std::vector<Command> commands = {
      {"backup", [&] { BackupCommand(anniversaries, paths, cfg, ui, Clock()); }, {{1, 2}}, true},
      {"restore", [&] { RestoreCommand(anniversaries, paths, cfg, ui); }, {{1, 3}, {1, 2}}, false},
      {"synchronize", [&] { SynchronizeCommand(anniversaries, paths, cfg, ui); }, {{1, 2}}, false},
      {"csv", [&] { ExportCommand(anniversaries, program, cfg, regional, ui); }, {{1, 2}}, true},
      {"ics", [&] { ICalendarExportCommand(anniversaries, program, cfg, ui, 0); }, {{1, 2}}, true},
  };
  const fs::path chosen = OtherFile("backup.jld", EncodeRecords({ben}));
  for (const Command& command : commands) {
    SCOPED_TRACE(command.name);
    std::deque<int> goOn;
    for (const auto& question : command.questions) goOn.push_back(question.first);
    if (command.notice) {
      Store({});
      const State before = Now();
      Script(goOn, {chosen});
      command.run();
      EXPECT_EQ(ui.questions.size(), 1u);
      ExpectNothingChanged(before);
    }
    Store({anna});
    const State before = Now();
    for (std::size_t at = 0; at < command.questions.size(); ++at) {
      for (const int stop : {0, -1, command.questions[at].second}) {
        SCOPED_TRACE("question " + std::to_string(at) + " answered " + std::to_string(stop));
        std::deque<int> answers = goOn;
        answers[at] = stop;
        Script(answers, {chosen});
        command.run();
        EXPECT_EQ(ui.questions.size(), at + 1);
        EXPECT_TRUE(ui.errors.empty());
        ExpectNothingChanged(before);
      }
    }
    Script(goOn, {std::nullopt});
    command.run();
    EXPECT_EQ(ui.saveDialogs.size() + ui.openDialogs.size(), 1u);
    ExpectNothingChanged(before);
  }
  EXPECT_EQ(clockReadings, 1);  // only for the backup's file dialog
}

TEST_F(FileCommandsTest, BackupNamesTheCopyFromOneClockReadingCopiesTheFileAndRemembersItsFolder) {
  EXPECT_EQ(GetBackupFileName({987, 3, 7, 9, 5, 3}), "0987-03-07@09-05-03 Jubilora Backup.jld");
  // Odd padding: the file is copied, not re-encoded.
  TAnniversary odd = ben;
  odd.Padding1.fill(0xAB);
  odd.Padding2 = {1, 2, 3};
  Store({anna, odd, eve});
  const fs::path chosen = OtherFile("mine.jld", std::string(1000, 'x'));  // replaced whole
  Script({1}, {chosen});
  BackupCommand(anniversaries, paths, cfg, ui, Clock());
  // Started in the last second of a year: the name never mixes in the next year.
  ASSERT_EQ(ui.saveDialogs.size(), 1u);
  EXPECT_EQ(ui.saveDialogs[0].initialName, "2025-12-31@23-59-59 Jubilora Backup.jld");
  EXPECT_EQ(ui.saveDialogs[0].initialFolder, lastPath);
  EXPECT_EQ(clockReadings, 1);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(test::ReadBytes(chosen), test::ReadBytes(paths.data));
  EXPECT_EQ(cfg.LastPath, (dir / "other").string() + "/");
}

// Own backup: the dialog opens in LastPath, and its folder is remembered; automatic backup:
// the dialog opens on it, and LastPath stays. The automatic backup itself is never rotated.
TEST_F(FileCommandsTest, RestoreReplacesTheDataFileReloadsAndLeavesTheAutoBackupAlone) {
  struct Case {
    int answer;
    std::string file;  // in "other"; none for the automatic backup
    std::string bytes;
    Names expected;
  };
  const std::vector<Case> cases = {
      {1, "backup.jld", EncodeRecords({eve, ben}), {"Ben & Carla", "Christmas Eve"}},  // not in date order
      {2, "", "", {"Anna"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    cfg.LastPath = lastPath;
    Store({anna});
    Store({anna, eve});  // a second save: the automatic backup now holds {anna}
    const std::string autoBackup = test::ReadBytes(paths.backup);
    const fs::path chosen = c.file.empty() ? paths.backup : OtherFile(c.file, c.bytes);
    const std::string restored = test::ReadBytes(chosen);

    Script({c.answer, 1}, {chosen});
    RestoreCommand(anniversaries, paths, cfg, ui);
    ASSERT_EQ(ui.openDialogs.size(), 1u);
    EXPECT_EQ(ui.openDialogs[0].initialFolder, c.file.empty() ? "" : lastPath);
    EXPECT_EQ(ui.openDialogs[0].initialName, c.file.empty() ? paths.backup.string() : "");
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(test::ReadBytes(paths.data), restored);
    EXPECT_EQ(test::ReadBytes(paths.backup), autoBackup);
    EXPECT_EQ(Descriptions(anniversaries), c.expected);
    EXPECT_EQ(ui.redraws, 1);
    EXPECT_EQ(cfg.LastPath, c.file.empty() ? lastPath : (dir / "other").string() + "/");
  }

  // Into an empty list it asks no confirmation, and makes the per-user data folder that does
  // not exist before the first save.
  const DataPaths fresh{dir / "data" / "jubilora" / "jubilora.jld", dir / "data" / "jubilora" / "jubilora.jlb"};
  anniversaries.clear();
  Script({1, 2}, {dir / "other" / "backup.jld"});
  RestoreCommand(anniversaries, fresh, cfg, ui);
  EXPECT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(Descriptions(anniversaries), (Names{"Ben & Carla", "Christmas Eve"}));
}

// A copy that cannot be made is reported with the file and the reason, and changes nothing:
// a copy onto the data file itself (by any name), which a plain copy would first empty, or
// onto the automatic backup, which the next save would rotate away.
TEST_F(FileCommandsTest, ACopyThatCannotBeMadeIsReportedAndChangesNothing) {
  const auto backup = [this] { BackupCommand(anniversaries, paths, cfg, ui, Clock()); };
  const auto restore = [this] { RestoreCommand(anniversaries, paths, cfg, ui); };
  const fs::path link = dir / "other" / "same.jld";
  const std::vector<std::tuple<std::function<void()>, fs::path, fs::path, std::string>> cases = {
      {backup, paths.data, paths.data, "one of Jubilora's own files"},
      {restore, paths.data, paths.data, "the file being copied"},
      {restore, link, paths.data, "the file being copied"},
  };
  Store({anna});
  Store({anna, eve});
  fs::create_hard_link(paths.data, link);
  for (const auto& [run, chosen, named, reason] : cases) {
    SCOPED_TRACE(chosen);
    const State before = Now();
    Script({1, 1}, {chosen});
    run();
    test::ExpectOneError(ui, {named.string(), reason});
    ExpectNothingChanged(before);
  }
}

// The records as 72-byte blocks in byte order, so that lists compare whatever their order.
std::vector<std::string> Blocks(const TAnniversaryList& list) {
  std::vector<std::string> blocks;
  for (const auto& record : list) blocks.push_back(EncodeRecords({record}));
  std::sort(blocks.begin(), blocks.end());
  return blocks;
}

TEST_F(FileCommandsTest, SynchronizeMergesDropsDuplicatesWhereverTheyStandSavesAndRedraws) {
  const TAnniversary sample = test::Record(KindNameDay, 1980, 3, 19, "Joseph", SampleImportance, 3);
  // Differs from Anna only in letter case: it ties with her in the date order, so the sort
  // may leave it between Anna and her copy.
  TAnniversary shouting = anna;
  shouting.SetDescription("ANNA");
  const std::vector<std::tuple<TAnniversaryList, TAnniversaryList, TAnniversaryList>> cases = {
      {{eve, anna}, {ben, sample, anna}, {sample, anna, ben, eve}},  // a sample stays a sample
      {{anna, eve, anna}, {}, {anna, eve}},  // an empty file still cleans what the data held
      {{anna, shouting}, {anna}, {anna, shouting}},
  };
  for (const auto& [stored, source, expected] : cases) {
    Store(stored);
    const std::string before = test::ReadBytes(paths.data);
    const auto chosen = OtherFile("laptop.jld", EncodeRecords(source));
    Script({1}, {chosen});
    SynchronizeCommand(anniversaries, paths, cfg, ui);
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(Blocks(anniversaries), Blocks(expected));
    EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));
    EXPECT_EQ(test::ReadBytes(paths.backup), before);
    EXPECT_EQ(test::ReadBytes(chosen), EncodeRecords(source));
    EXPECT_EQ(ui.redraws, 1);
    EXPECT_EQ(cfg.LastPath, lastPath);
  }
}

// Adding replaces the samples with the file's records, unchanged (odd padding stays, a record
// without the marker becomes an ordinary one, a fragment at the end is ignored), so adding
// twice leaves one copy; removing takes every marked record. Each saves and redraws.
TEST_F(FileCommandsTest, SamplesAreAddedOnceAndRemovedWhole) {
  const fs::path sampleFile = dir / "jubilora.spl";
  TAnniversary odd = test::Record(KindBirthday, 1975, 7, 19, "Tom", SampleImportance, 30);
  odd.Padding1.fill(0x5A);
  const TAnniversary unmarked = test::Record(KindBirthday, 1952, 1, 27, "Rose", 2, DefaultReminder);
  test::WriteBytes(sampleFile, EncodeRecords({odd, unmarked}) + "fragment");
  TAnniversary oldSample = eve;
  oldSample.Importance = SampleImportance;
  Store({anna, oldSample});
  AddSampleDataCommand(anniversaries, sampleFile, paths, ui);
  AddSampleDataCommand(anniversaries, sampleFile, paths, ui);
  EXPECT_EQ(EncodeRecords(anniversaries), EncodeRecords({unmarked, unmarked, anna, odd}));
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));
  RemoveSampleDataCommand(anniversaries, paths, ui);
  EXPECT_EQ(EncodeRecords(anniversaries), EncodeRecords({unmarked, unmarked, anna}));
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));
  EXPECT_EQ(ui.redraws, 3);
  EXPECT_TRUE(ui.errors.empty() && ui.questions.empty());
}

// Runs `body` in a child process whose files may not grow beyond `limit` bytes, so that a
// write fails part-way with EFBIG. Returns the child's exit status.
int RunWithFileSizeLimit(rlim_t limit, const std::function<int()>& body) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit cap{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &cap) != 0) _exit(126);
    const int result = body();
    std::fflush(nullptr);
    _exit(result & 0xFF);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

using FileFaults = FileCommandsTest;

// Every command reads the chosen file through the same reader; Restore stands for them.
TEST_F(FileFaults, AReadThatFailsPartWayChangesNothing) {
  Store({anna});
  Store({anna, eve});
  const fs::path chosen = OtherFile("big.jld", EncodeRecords(TAnniversaryList(2000, ben)));
  const State before = Now();
  Script({1, 1}, {chosen});
  {
    const test::ReadFault fault(chosen, 1999 * RecordSize);  // several reads; the last one fails
    RestoreCommand(anniversaries, paths, cfg, ui);
    EXPECT_EQ(fault.Failures(), 1);
  }
  test::ExpectOneError(ui, {chosen.string(), "Input/output error"});
  ExpectNothingChanged(before);
}

TEST_F(FileFaults, AWriteThatFailsPartWayLeavesTheOldFileAsItWas) {
  Store(TAnniversaryList(200, anna));  // 14400 bytes, more than the child may write
  const fs::path old = OtherFile("old.jld", std::string(500, 'o'));
  const fs::path big = OtherFile("big.jld", EncodeRecords(TAnniversaryList(200, ben)));
  const std::function<void()> commands[] = {
      [&] { Script({1}, {old}); BackupCommand(anniversaries, paths, cfg, ui, [] { return LocalDateTime{}; }); },
      [&] { Script({1, 1}, {big}); RestoreCommand(anniversaries, paths, cfg, ui); },
  };
  const test::Disk before = test::Contents(dir.path());
  for (const auto& command : commands) {
    const int status = RunWithFileSizeLimit(4096, [&] {
      command();
      return ui.errors.size() == 1 && ui.errors[0].find("File too large") != std::string::npos ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(test::Contents(dir.path()), before);
  }
}

// The exports: their bytes, File > Export, and the iCalendar copy that follows every save.

constexpr std::int64_t NowUtc = 1'750'000'000;

class ExportCommands : public FileCommandsTest {
 protected:
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
      Script({1}, {file});
      formats[f].second();
      if (reason.empty()) {
        EXPECT_TRUE(ui.errors.empty());
        EXPECT_EQ(test::ReadBytes(chosen), expected[f]);
      } else {
        test::ExpectOneError(ui, {file.string(), reason});
      }
      EXPECT_EQ(cfg.ExportPath, file.parent_path().string() + "/");
    }
  }
  EXPECT_FALSE(fs::exists(dir / "missing"));
  // A calendar program reads every record, the leap-day one included.
  EXPECT_EQ(test::ReadBack(test::ReadBytes(dir / "other" / "list.ics")).size(), list.size());
}

// The copy is rewritten after each save; a copy that cannot be written is told once, until it
// is written again or moves.
TEST_F(ExportCommands, TheICalendarCopyFollowsEverySaveAndItsFailureIsToldOnce) {
  ICalendarCopy copy;
  const fs::path blocked = dir / "blocked";
  test::WriteBytes(blocked, "a file where the folder should be");
  for (const auto& [file, errors] : std::vector<std::pair<fs::path, std::size_t>>{
           {blocked / "copy.ics", 1}, {blocked / "copy.ics", 1}, {dir / "copy.ics", 1}, {blocked / "copy.ics", 2}}) {
    cfg.ICalendarCopy = file.string();
    copy.Refresh(list, cfg, program, ui, NowUtc);
    EXPECT_EQ(ui.errors.size(), errors) << file;
  }
  EXPECT_EQ(test::ReadBytes(dir / "copy.ics"), ICalendarExportBytes(list, cfg, paths, NowUtc));
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
  records.push_back(test::Record(KindBirthday, 1975, 12, 24, "", 4, 7));
  records.back().Date = std::numeric_limits<double>::quiet_NaN();
  const std::string empty = ";\"Birthday\";\"\";\"Very important\";\"7 days ahead\"\r\n";
  EXPECT_EQ(CsvExportBytes(records, ";", counting),
            "\"Date\";\"Type\";\"Description\";\"Priority\";\"Reminder\"\r\n"
            "2001-06-15;\"Wedding Aniversary\";\"Say \"\"hi\"\", Bob; \"\"\";\"Quite important\";\"1 day ahead\"\r\n"
            "1975-12-24;\"\";\"Ren\xE9\x95\x80\";\"\";\"Default\"\r\n" +
                empty);
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
    const std::vector<std::vector<DayNumber>> days = {
        {may14, may14 + 366}, leap, {mar3, mar3 + 366}, {mar3, mar3 + 366}};
    const int alarms[] = {0, DaysBefore, 1, 1};
    std::vector<std::string> uids;
    for (std::size_t e = 0; e < events.size(); ++e) {
      const TAnniversary& r = records[e < 2 ? e : e + 1];
      EXPECT_EQ(events[e].days, days[e]) << e;
      EXPECT_TRUE(events[e].complete && events[e].start == *DecodeDate(r.Date)) << e;
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
