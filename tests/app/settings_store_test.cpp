#include "app/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "support/hostile_files.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const DayNumber kToday = DayFromCivil(2025, 3, 14);

class SettingsStore : public testing::Test {
 protected:
  test::NamedFonts fonts{{"Tahoma", "Verdana", "Courier New"}};
  test::IsoRegional regional;

  StoredSettings Read(const std::string& text) const {
    const IniFile ini = IniFile::Parse(text);
    return ReadSettings(&ini, fonts, regional, kToday);
  }
};

// --- Integers as the file holds them ----------------------------------------------

TEST(IniInteger, DecimalOrHexadecimalWithSignAndLeadingBlanksAndNothingElse) {
  const std::vector<std::pair<const char*, std::optional<std::int32_t>>> cases = {
      {"12", 12},           {"  12", 12},          {"+7", 7},           {"-7", -7},         {"007", 7},
      {"0x1E", 30},         {"0X1e", 30},          {"x1E", 30},         {"X1E", 30},        {"$1E", 30},
      {"-$10", -16},        {"-0x10", -16},        {"$FFFFFFFF", -1},   {"$80000000", INT32_MIN},
      {"$0000000000FF", 255}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
      // Not one whole number, trailing characters included.
      {"", std::nullopt},   {" ", std::nullopt},   {"-", std::nullopt}, {"$", std::nullopt}, {"0x", std::nullopt},
      {"12abc", std::nullopt}, {"12 ", std::nullopt}, {"1.5", std::nullopt}, {"yes", std::nullopt},
      {"- 5", std::nullopt}, {"$-5", std::nullopt}, {"0x1G", std::nullopt}, {"++1", std::nullopt},
      {"2147483648", std::nullopt}, {"-2147483649", std::nullopt}, {"$100000000", std::nullopt},
      {"99999999999999999999", std::nullopt},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseIniInteger(text), value) << '"' << text << '"';
}

// --- First start -------------------------------------------------------------------

TEST_F(SettingsStore, FirstStartGivesDefaultsAndWritesAll26KeysInOrder) {
  TempDir dir;
  const auto path = dir / "jubilora.ini";
  const LoadedSettings loaded = LoadSettingsFile(path, fonts, regional, kToday);
  EXPECT_TRUE(loaded.firstRun);
  EXPECT_EQ(loaded.error, std::nullopt);
  EXPECT_EQ(loaded.settings, (StoredSettings{TCfg{}, false, true, false, kToday - 1}));

  ASSERT_EQ(SaveSettingsFile(path, loaded.settings, regional, kToday), std::nullopt);
  EXPECT_EQ(ReadBytes(path),
            "[DefaultPeriod]\nDaysBefore=30\nDaysAfter=7\n\n"
            "[Colors]\nPreset=1\nMostUrgent=65535\nSemiUrgent=8454143\nLeastUrgent=16777215\nPassed=12619776\n"
            "PlainText=15777888\nBackground=6307840\n\n"
            "[Font]\nName=Tahoma\nSize=14\nBold=0\nItalic=0\nCharset=1\n\n"
            "[Other]\nDateFormat=1\nShowIcons=1\nShowZodiacSign=1\nForceSmoothing=0\nLastPath=%SystemDrive%\n"
            "ExportPath=%SystemDrive%\nLeapDay=0\nICalendarCopy=\nOnTop=0\nStartupCheck=1\nOnceADay=0\n"
            "LastRun=2025-03-14\n");

  const LoadedSettings again = LoadSettingsFile(path, fonts, regional, kToday + 1);
  EXPECT_FALSE(again.firstRun);
  EXPECT_EQ(again.settings.lastRun, kToday);
  WriteBytes(path, "");  // an empty file is no first run either
  EXPECT_FALSE(LoadSettingsFile(path, fonts, regional, kToday).firstRun);
}

// --- Value rules ---------------------------------------------------------------------

// Booleans are integers too, where anything but zero is true.
TEST_F(SettingsStore, IntegersKeepTheLowByteForSmallFieldsAndMalformedOnesFallBackToTheDefault) {
  StoredSettings expected = Read("");
  expected.cfg.DaysBefore = 31;
  expected.cfg.DaysAfter = 44;  // 300
  expected.cfg.Preset = 255;    // -1
  expected.cfg.MostUrgent = -1;
  expected.cfg.SemiUrgent = -16;
  expected.cfg.LeastUrgent = 12;
  expected.cfg.Passed = static_cast<StoredColor>(0xFF000008u);
  expected.cfg.FontSize = -11;
  expected.cfg.FontCharset = 128;
  expected.cfg.DateFormat = 7;  // $107
  expected.cfg.LeapDay = LeapDayChoice::March1;
  expected.onceADay = true;
  expected.cfg.FontBold = true;
  expected.cfg.ShowIcons = false;
  expected.startupCheck = false;
  EXPECT_EQ(Read("[DefaultPeriod]\nDaysBefore=0x1F\nDaysAfter=300\n"
                 "[Colors]\nPreset=-1\nMostUrgent=$FFFFFFFF\nSemiUrgent=-$10\nLeastUrgent= 12\nPassed=$FF000008\n"
                 "[Font]\nSize=-11\nCharset=x80\nBold=-1\n[Other]\nDateFormat=$107\nOnceADay=$10\nLeapDay=$2\n"
                 "ShowIcons=0x0\nStartupCheck=0\nOnTop=yes\nShowZodiacSign=true\n"),
            expected);
  // Trailing characters, nothing, a number too large, a bare prefix, a word, a choice
  // unknown: each key's default.
  for (const char* leapDay : {"3", "-1", "1x", "$102"}) {
    EXPECT_EQ(Read("[DefaultPeriod]\nDaysBefore=12abc\nDaysAfter=\n[Colors]\nMostUrgent=2147483648\nBackground=0x\n"
                   "[Font]\nSize=fourteen\n[Other]\nLeapDay=" + std::string(leapDay) + "\n"),
              Read(""));
  }
}

TEST_F(SettingsStore, TextsFontAndLastRun) {
  const StoredSettings s = Read("[Other]\nLastPath=\nExportPath=  /home/ann/csv  \n");
  EXPECT_EQ(s.cfg.LastPath, "");  // empty is kept; only a missing key gives the default
  EXPECT_EQ(s.cfg.ExportPath, "/home/ann/csv");
  // The font must be installed, in any letter case.
  EXPECT_EQ(Read("[Font]\nName=courier NEW\n").cfg.FontName, "courier NEW");
  EXPECT_EQ(Read("[Font]\nName=Comic Sans MS\n").cfg.FontName, "Tahoma");
  // The last run in the short date format, or else yesterday.
  EXPECT_EQ(Read("[Other]\nLastRun=2024-12-31\n").lastRun, DayFromCivil(2024, 12, 31));
  for (const char* text : {"", "12/31/2024", "2024-02-30"}) {
    EXPECT_EQ(Read(std::string("[Other]\nLastRun=") + text + "\n").lastRun, kToday - 1) << text;
  }
}

// --- Writing -----------------------------------------------------------------------

TEST_F(SettingsStore, EveryFieldSurvivesARoundTrip) {
  StoredSettings s{
      TCfg{.DaysBefore = 90, .DaysAfter = 0, .Preset = 255, .MostUrgent = static_cast<StoredColor>(0xFF000008u),
           .SemiUrgent = 0x00123456, .LeastUrgent = 0, .Passed = -1, .PlainText = INT32_MIN,
           .Background = INT32_MAX, .FontName = "Courier New", .FontSize = -9, .FontBold = true,
           .FontItalic = true, .FontCharset = 238, .DateFormat = 7, .ShowIcons = false, .ShowZodiacSign = false,
           .ForceSmoothing = true, .LastPath = "/home/ann/Backups; old=1", .ExportPath = "",
           .LeapDay = LeapDayChoice::February28, .ICalendarCopy = "/home/ann/Jubilora.ics"},
      true, false, true, DayFromCivil(2020, 1, 1)};  // the last run is replaced by the day of writing
  TempDir dir;
  ASSERT_EQ(SaveSettingsFile(dir / "s.ini", s, regional, kToday), std::nullopt);
  const LoadedSettings loaded = LoadSettingsFile(dir / "s.ini", fonts, regional, kToday + 5);
  EXPECT_EQ(loaded.error, std::nullopt);
  StoredSettings expected = s;
  expected.lastRun = kToday;
  EXPECT_EQ(loaded.settings, expected);
}

TEST_F(SettingsStore, WritingKeepsUnknownLinesAndReplacesKnownKeysInPlace) {
  TempDir dir;
  const auto path = dir / "s.ini";
  WriteBytes(path,
             "; written by hand\r\n[Mine]\r\nAnswer=42\r\n[font]\r\nsize = 9\r\nFuture=yes\r\n[Font]\r\nSize=99\r\n");
  StoredSettings s;
  s.cfg.FontSize = 11;
  ASSERT_EQ(SaveSettingsFile(path, s, regional, kToday), std::nullopt);

  // Known keys are replaced where they stand, new ones join the first [Font] section.
  const std::string text = ReadBytes(path);
  EXPECT_TRUE(text.starts_with("; written by hand\n[Mine]\nAnswer=42\n[font]\nSize=11\nFuture=yes\nName=Tahoma\n"))
      << text;
  EXPECT_NE(text.find("\n[Font]\nSize=99\n"), std::string::npos) << text;
}

TEST_F(SettingsStore, AFileThatCannotBeReadGivesDefaultsAReasonAndIsNotReplaced) {
  TempDir dir;
  const auto path = dir / "s.ini";
  mkfifo(path.c_str(), 0600);  // a plain open would wait for a writer for ever
  const test::HangGuard guard;
  const FileError error{path, FileAction::Read, "It is a FIFO, not a regular file"};

  const LoadedSettings loaded = LoadSettingsFile(path, fonts, regional, kToday);
  EXPECT_FALSE(loaded.firstRun);
  EXPECT_EQ(loaded.error, error);
  EXPECT_EQ(loaded.settings, ReadSettings(nullptr, fonts, regional, kToday));
  EXPECT_EQ(SaveSettingsFile(path, loaded.settings, regional, kToday), error);
  EXPECT_TRUE(std::filesystem::is_fifo(path));
}

TEST_F(SettingsStore, WritingCreatesAPrivateFolderOrReportsWhyItCannot) {
  TempDir dir;
  const auto path = dir / "config" / "jubilora" / "s.ini";
  ASSERT_EQ(SaveSettingsFile(path, StoredSettings{}, regional, kToday), std::nullopt);
  EXPECT_EQ(std::filesystem::status(path.parent_path()).permissions(), std::filesystem::perms::owner_all);
  // A crash's leftover goes with the next write.
  WriteBytes(path.parent_path() / ".s.ini.x1Y2z3", "");
  ASSERT_EQ(SaveSettingsFile(path, StoredSettings{}, regional, kToday), std::nullopt);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path.parent_path()), {}), 1);

  WriteBytes(dir / "plain", "");
  EXPECT_EQ(SaveSettingsFile(dir / "plain" / "s.ini", StoredSettings{}, regional, kToday),
            (FileError{dir / "plain", FileAction::CreateFolder, "Not a directory"}));
}

}  // namespace
}  // namespace jubilora
