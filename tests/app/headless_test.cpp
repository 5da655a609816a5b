// The command-line report, run as a real program beside its own files.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <string>

#include <QImage>

#include "core/ordering.h"
#include "data/csv_export.h"
#include "data/data_file.h"
#include "data/icalendar_export.h"
#include "platform/regional.h"
#include "ui/system_colors.h"
#include "report/layout.h"
#include "report/render/report_painter.h"
#include "report/text_report.h"
#include "support/hostile_files.h"
#include "support/ical_read.h"
#include "support/qt_app.h"
#include "support/process.h"
#include "support/program_copy.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
using test::Record;

// Each test gets its own copy of the program, so that its files are the test's files.
class HeadlessReport : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = test::CopyProgram(dir_.path());
  }

  void WriteData(const TAnniversaryList& list, const char* name = "jubilora.jld") {
    test::WriteBytes(dir_ / name, EncodeRecords(list));
  }

  // Under a time limit, so that a program that waits for ever fails (status 124) instead.
  test::ProcessResult Run(const std::vector<std::string>& args) {
    std::vector<std::string> limited = {"20", program_.string()};
    limited.insert(limited.end(), args.begin(), args.end());
    return test::RunProgram("/usr/bin/timeout", limited);
  }

  // Name, size and modification time of everything in the folder.
  std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> Snapshot() const {
    std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> result;
    for (const auto& entry : fs::directory_iterator(dir_.path()))
      result[entry.path().filename().string()] = {entry.is_regular_file() ? entry.file_size() : 0,
                                                  entry.last_write_time()};
    return result;
  }

  static TAnniversaryList LateJanuary() {
    TAnniversary damaged = Record(KindBirthday, 2000, 1, 29, "Damaged");
    damaged.Date = std::numeric_limits<double>::quiet_NaN();
    return {
        Record(KindBirthday, 1990, 1, 31, "Anna", 3),
        Record(KindNameDay, 2000, 1, 27, "Marek", 0),
        Record(KindBirthday, 1980, 6, 1, "Far away", 5),
        Record(KindWedding, 2000, 1, 31, "Eva & Jan", 3),
        Record(KindOtherNoYears, 2010, 1, 29, "Party", 1),
        damaged,
    };
  }

  test::TempDir dir_;
  fs::path program_;
};

TEST_F(HeadlessReport, PrintsHeadingsEntriesAndBlankLines) {
  WriteData(LateJanuary());
  const auto result = Run({"--print", "--today", "2025-01-29"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "Monday, January 27, 2025 (2 days ago)\n"
            "  Marek \xE2\x80\xA2 Name day \n"
            "\n"
            "Wednesday, January 29, 2025 (today)\n"
            "  Party*\n"
            "\n"
            "Friday, January 31, 2025 (the day after tomorrow)\n"
            "  Anna \xE2\x80\xA2 35th birthday (born in 1990, zodiac sign: Aquarius) ***\n"
            "  Eva & Jan \xE2\x80\xA2 25th wedding anniversary (married in 2000) ***\n"
            "\n");
}

TEST_F(HeadlessReport, TabSeparatedLinesCarryColoursAndOpacities) {
  WriteData(LateJanuary());
  const auto result = Run({"--today=2025-01-29", "--print=tsv"});
  EXPECT_EQ(result.status, 0) << result.err;
  // Past in Passed (#0090C0), today in MostUrgent; two days ahead of a 30-day period the
  // blue channel is 128 + Trunc(13 * (-128 / 30 * 2)) = 18.
  EXPECT_EQ(result.out,
            "2025-01-27\t-2\tMonday, January 27, 2025 (2 days ago)\tMarek \xE2\x80\xA2 Name day \t#0090C0\t128\t1\n"
            "2025-01-29\t0\tWednesday, January 29, 2025 (today)\tParty*\t#FFFF00\t255\t0\n"
            "2025-01-31\t2\tFriday, January 31, 2025 (the day after tomorrow)\t"
            "Anna \xE2\x80\xA2 35th birthday (born in 1990, zodiac sign: Aquarius) ***\t#FFFF12\t246\t0\n"
            "2025-01-31\t2\tFriday, January 31, 2025 (the day after tomorrow)\t"
            "Eva & Jan \xE2\x80\xA2 25th wedding anniversary (married in 2000) ***\t#FFFF12\t246\t0\n");
}

TEST_F(HeadlessReport, FollowsTheSettingsFile) {
  WriteData(LateJanuary());
  test::WriteBytes(dir_ / "jubilora.ini",
                   "[DefaultPeriod]\r\nDaysAfter=0\r\n[Other]\r\nDateFormat=7\r\nShowZodiacSign=0\r\n");
  const auto result = Run({"--print", "--today", "2025-01-29"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "Wednesday, 29th of January, 2025 (today)\n"
            "  Party*\n"
            "\n"
            "Friday, 31st of January, 2025 (the day after tomorrow)\n"
            "  Anna \xE2\x80\xA2 35th birthday (born in 1990) ***\n"
            "  Eva & Jan \xE2\x80\xA2 25th wedding anniversary (married in 2000) ***\n"
            "\n");
}

TEST_F(HeadlessReport, NothingDueGivesOneLineOrNoLines) {
  WriteData({Record(KindBirthday, 1990, 6, 1, "Summer")});
  EXPECT_EQ(Run({"--print", "--today", "2025-01-29"}).out, "Today there is nothing to remind you of...\n");
  const auto tsv = Run({"--print=tsv", "--today", "2025-01-29"});
  EXPECT_EQ(tsv.status, 0);
  EXPECT_EQ(tsv.out, "");
}

TEST_F(HeadlessReport, WhatIsNoRegularDataOrSettingsFileIsReportedAtOnce) {
  for (const auto& hostile : test::HostileFiles()) {
    for (const std::string name : {"jubilora.jld", "jubilora.ini"}) {
      SCOPED_TRACE(hostile.name + " as " + name);
      fs::remove_all(dir_ / "jubilora.jld");
      fs::remove_all(dir_ / "jubilora.ini");
      if (name == "jubilora.ini") WriteData(LateJanuary());
      hostile.make(dir_ / name);
      const auto result = Run({"--print", "--today", "2025-01-29"});
      // Without its data the report cannot be made; without its settings it uses the defaults.
      EXPECT_EQ(result.status, name == "jubilora.jld" ? 1 : 0);
      EXPECT_EQ(result.out.empty(), name == "jubilora.jld");
      EXPECT_NE(result.err.find("Cannot read the file \"" + (dir_ / name).string() + "\": "), std::string::npos);
      EXPECT_NE(result.err.find(hostile.reason), std::string::npos) << result.err;
      EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
  }
}

// Listed days stay inside the calendar, so every entry has a heading and sensible years.
TEST_F(HeadlessReport, TheFirstAndLastDayOfTheCalendarListOnlyTheirOwnDay) {
  WriteData({Record(KindBirthday, 1990, 12, 31, "Eve"), Record(KindBirthday, 1990, 1, 1, "New")});
  for (const std::string today : {"0001-01-01", "9999-12-31"}) {
    const auto result = Run({"--print=tsv", "--today", today});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 1) << result.out;
    EXPECT_TRUE(result.out.starts_with(today + "\t0\t" + (today == "0001-01-01" ? "Monday" : "Friday"))) << result.out;
  }
}

TEST_F(HeadlessReport, MalformedOptionsEndWithStatusTwo) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--print", "--today", "2025-02-30"}, {"--frobnicate"}, {"--print=xml"}}) {
    const auto result = Run(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
  }
}

TEST_F(HeadlessReport, RenderWritesThePictureTheWindowPaints) {
  WriteData(LateJanuary());
  const auto before = Snapshot();
  const fs::path png = dir_ / "out.png";
  const auto result = Run({"--render", png.string(), "--today", "2025-01-29"});
  ASSERT_EQ(result.status, 0) << result.err;

  test::TestApplication();
  TAnniversaryList list = LateJanuary();
  SortByDate(list, 0);  // as the load does
  const TCfg cfg;
  const DayNumber today = DayFromCivil(2025, 1, 29);
  const auto entries = PrepareReportEntries(list, cfg, today);
  const QImage expected =
      PaintReport(LayoutReport(list, entries, cfg, today, QtTextMeasurer(cfg), QtSystemColors()), cfg, KindIcons());
  const QImage written = QImage(QString::fromStdString(png.string())).convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(written.size(), expected.size());
  EXPECT_TRUE(written == expected);

  // Only the picture is new.
  auto after = Snapshot();
  after.erase("out.png");
  EXPECT_EQ(after, before);
}

TEST_F(HeadlessReport, NeverCreatesOrChangesTheProgramsOwnFiles) {
  WriteData(LateJanuary());
  WriteData({Record(KindBirthday, 1970, 1, 1, "Old")}, "jubilora.jlb");
  auto before = Snapshot();
  EXPECT_EQ(Run({"--print"}).status, 0);
  EXPECT_EQ(Run({"--print=tsv", "--today", "2025-01-29"}).status, 0);
  EXPECT_EQ(Snapshot(), before);  // in particular: no settings file appeared

  // Exports and pictures refuse them under any name.
  test::WriteBytes(dir_ / "jubilora.ini", "[Other]\nDateFormat=7\n");
  fs::create_symlink("jubilora.jld", dir_ / "mine.csv");
  before = Snapshot();
  for (const std::string option : {"--export-csv", "--export-ics", "--render"}) {
    for (const std::string target : {"jubilora.jld", "jubilora.jlb", "jubilora.ini", "mine.csv"}) {
      const auto result = Run({option, (dir_ / target).string()});
      EXPECT_EQ(result.status, 1) << option << " " << target;
      EXPECT_NE(result.err.find("It is one of Jubilora's own files"), std::string::npos) << result.err;
    }
  }
  EXPECT_EQ(Snapshot(), before);
}

// Each export writes what its menu command writes for the loaded list and the preferences,
// to a file or, for "-", to standard output, and changes nothing else.
TEST_F(HeadlessReport, ExportsWriteWhatTheMenuCommandsWriteForTheLoadedList) {
  WriteData(LateJanuary());
  test::WriteBytes(dir_ / "jubilora.ini", "[DefaultPeriod]\nDaysBefore=12\n[Other]\nLeapDay=2\n");
  test::TestApplication();
  TAnniversaryList list = LateJanuary();
  SortByDate(list, 0);  // the one sort of a load
  TCfg cfg;
  cfg.DaysBefore = 12;
  cfg.LeapDay = LeapDayChoice::March1;
  const DataPaths paths{dir_ / "jubilora.jld", dir_ / "jubilora.jlb"};
  const std::pair<std::string, std::string> exports[] = {
      {"--export-csv", CsvExportBytes(list, QtRegionalSettings())},
      // Stamped with the data file's time, which every run reads alike.
      {"--export-ics", ICalendarExportBytes(list, cfg, paths, 0)}};
  for (const auto& [option, expected] : exports) {
    const auto before = Snapshot();
    const fs::path file = dir_ / "out";
    const auto result = Run({option, file.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(test::ReadBytes(file), expected) << option;
    EXPECT_EQ(Run({option, "-"}).out, expected) << option;
    fs::remove(file);
    EXPECT_EQ(Snapshot(), before);
  }
  // A calendar program reads every record with a day (not the damaged one), and every line of
  // both ends in CR LF.
  EXPECT_EQ(test::ReadBack(exports[1].second).size(), list.size() - 1);
  for (const auto& [option, bytes] : exports) {
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), std::count(bytes.begin(), bytes.end(), '\r')) << option;
  }
}

TEST_F(HeadlessReport, ExportCsvGoesIntoADeviceAsItIsAndNeverMakesAFolder) {
  WriteData(LateJanuary());
  struct Case {
    fs::path destination;
    int status;
    std::string err;
  };
  const std::vector<Case> cases = {
      {test::SafeDevice(dir_.path(), "null"), 0, ""},
      {test::SafeDevice(dir_.path(), "full"), 1, "No space left on device"},
      {dir_ / "missing" / "out.csv", 1, "No such file or directory"},
  };
  for (const Case& c : cases) {
    const auto result = Run({"--export-csv", c.destination.string()});
    EXPECT_EQ(result.status, c.status) << c.destination;
    EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), c.status) << result.err;
  }
  EXPECT_TRUE(fs::is_character_file(cases[1].destination));
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

}  // namespace
}  // namespace jubilora
