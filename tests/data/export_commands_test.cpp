// The exports as File > Export runs them, and the iCalendar copy that follows every save.

#include <fcntl.h>
#include <sys/stat.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "core/ordering.h"
#include "data/command_fixture.h"
#include "data/csv_export.h"
#include "data/icalendar_export.h"
#include "support/ical_read.h"

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

}  // namespace
}  // namespace jubilora
