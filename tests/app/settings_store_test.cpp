#include "app/settings_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace jubilora {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

class FakeFonts : public FontCatalog {
 public:
  explicit FakeFonts(std::vector<std::string> names) {
    for (auto& name : names) names_.insert(Lower(name));
  }
  bool IsInstalled(const std::string& family) const override { return names_.count(Lower(family)) > 0; }

 private:
  std::set<std::string> names_;
};

// Short dates as yyyy-mm-dd.
class IsoRegional : public RegionalSettings {
 public:
  std::string FormatShortDate(DayNumber day) const override {
    const CivilDate d = CivilFromDay(day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
  }
  std::optional<DayNumber> ParseShortDate(const std::string& text) const override {
    int y = 0, m = 0, d = 0;
    char rest = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &rest) != 3) return std::nullopt;
    if (!IsValidCivil(y, m, d)) return std::nullopt;
    return DayFromCivil(y, m, d);
  }
  std::string ListSeparator() const override { return ","; }
  std::string FormatDuration(int seconds) const override { return std::to_string(seconds); }
};

const DayNumber kToday = DayFromCivil(2025, 3, 14);

class SettingsStore : public testing::Test {
 protected:
  FakeFonts fonts{{"Tahoma", "Verdana", "Courier New"}};
  IsoRegional regional;

  StoredSettings Read(const std::string& text) const {
    const IniFile ini = IniFile::Parse(text);
    return ReadSettings(&ini, fonts, regional, kToday);
  }
};

// --- Integers as the file holds them ----------------------------------------------

TEST(IniInteger, ReadsDecimalAndHexadecimalWithSignsAndLeadingBlanks) {
  EXPECT_EQ(ParseIniInteger("12"), 12);
  EXPECT_EQ(ParseIniInteger("  12"), 12);
  EXPECT_EQ(ParseIniInteger("+7"), 7);
  EXPECT_EQ(ParseIniInteger("-7"), -7);
  EXPECT_EQ(ParseIniInteger("007"), 7);
  EXPECT_EQ(ParseIniInteger("0x1E"), 30);
  EXPECT_EQ(ParseIniInteger("0X1e"), 30);
  EXPECT_EQ(ParseIniInteger("x1E"), 30);
  EXPECT_EQ(ParseIniInteger("X1E"), 30);
  EXPECT_EQ(ParseIniInteger("$1E"), 30);
  EXPECT_EQ(ParseIniInteger("-$10"), -16);
  EXPECT_EQ(ParseIniInteger("-0x10"), -16);
  EXPECT_EQ(ParseIniInteger("-$1"), -1);
  EXPECT_EQ(ParseIniInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseIniInteger("$80000000"), INT32_MIN);
  EXPECT_EQ(ParseIniInteger("$0000000000FF"), 255);
  EXPECT_EQ(ParseIniInteger("2147483647"), INT32_MAX);
  EXPECT_EQ(ParseIniInteger("-2147483648"), INT32_MIN);
}

TEST(IniInteger, RejectsWhatIsNotOneWholeNumber) {
  for (const char* text : {"", " ", "-", "+", "$", "0x", "-$", "12abc", "12 ", "1.5", "yes", "- 5", "$-5", "0x1G",
                           "2147483648", "-2147483649", "99999999999999999999", "$100000000", "++1"}) {
    EXPECT_EQ(ParseIniInteger(text), std::nullopt) << '"' << text << '"';
  }
}

// --- First start -------------------------------------------------------------------

TEST_F(SettingsStore, FirstStartGivesDefaultsAndWritesAll24KeysInOrder) {
  TempDir dir;
  const auto path = dir / "jubilora.ini";
  const LoadedSettings loaded = LoadSettingsFile(path, fonts, regional, kToday);
  EXPECT_TRUE(loaded.firstRun);
  EXPECT_EQ(loaded.error, std::nullopt);
  EXPECT_EQ(loaded.settings.cfg, TCfg{});
  EXPECT_FALSE(loaded.settings.onTop);
  EXPECT_TRUE(loaded.settings.startupCheck);
  EXPECT_FALSE(loaded.settings.onceADay);
  EXPECT_EQ(loaded.settings.lastRun, kToday - 1);

  ASSERT_EQ(SaveSettingsFile(path, loaded.settings, regional, kToday), std::nullopt);
  EXPECT_EQ(ReadBytes(path),
            "[DefaultPeriod]\n"
            "DaysBefore=30\n"
            "DaysAfter=7\n"
            "\n"
            "[Colors]\n"
            "Preset=1\n"
            "MostUrgent=65535\n"
            "SemiUrgent=8454143\n"
            "LeastUrgent=16777215\n"
            "Passed=12619776\n"
            "PlainText=15777888\n"
            "Background=6307840\n"
            "\n"
            "[Font]\n"
            "Name=Tahoma\n"
            "Size=14\n"
            "Bold=0\n"
            "Italic=0\n"
            "Charset=1\n"
            "\n"
            "[Other]\n"
            "DateFormat=1\n"
            "ShowIcons=1\n"
            "ShowZodiacSign=1\n"
            "ForceSmoothing=0\n"
            "LastPath=%SystemDrive%\n"
            "ExportPath=%SystemDrive%\n"
            "OnTop=0\n"
            "StartupCheck=1\n"
            "OnceADay=0\n"
            "LastRun=2025-03-14\n");

  const LoadedSettings again = LoadSettingsFile(path, fonts, regional, kToday + 1);
  EXPECT_FALSE(again.firstRun);
  EXPECT_EQ(again.settings.lastRun, kToday);
}

TEST_F(SettingsStore, EmptyFileIsNoFirstRunAndGivesDefaults) {
  TempDir dir;
  WriteBytes(dir / "s.ini", "");
  const LoadedSettings loaded = LoadSettingsFile(dir / "s.ini", fonts, regional, kToday);
  EXPECT_FALSE(loaded.firstRun);
  EXPECT_EQ(loaded.settings, ReadSettings(nullptr, fonts, regional, kToday));
}

// --- Value rules ---------------------------------------------------------------------

TEST_F(SettingsStore, IntegersReadInHexAndKeepTheLowByteForSmallFields) {
  const StoredSettings s = Read(
      "[DefaultPeriod]\nDaysBefore=0x1E\nDaysAfter=300\n"
      "[Colors]\nPreset=-1\nMostUrgent=$FFFFFFFF\nSemiUrgent=-$10\nLeastUrgent= 12\nPassed=$FF000008\n"
      "[Font]\nSize=-11\nCharset=x80\n"
      "[Other]\nDateFormat=$107\n");
  EXPECT_EQ(s.cfg.DaysBefore, 30);
  EXPECT_EQ(s.cfg.DaysAfter, 44);
  EXPECT_EQ(s.cfg.Preset, 255);
  EXPECT_EQ(s.cfg.MostUrgent, -1);
  EXPECT_EQ(s.cfg.SemiUrgent, -16);
  EXPECT_EQ(s.cfg.LeastUrgent, 12);
  EXPECT_EQ(s.cfg.Passed, static_cast<StoredColor>(0xFF000008u));
  EXPECT_EQ(s.cfg.FontSize, -11);
  EXPECT_EQ(s.cfg.FontCharset, 128);
  EXPECT_EQ(s.cfg.DateFormat, 7);
}

TEST_F(SettingsStore, MalformedIntegersFallBackToEachKeysDefault) {
  const StoredSettings s = Read(
      "[DefaultPeriod]\nDaysBefore=12abc\nDaysAfter=\n"
      "[Colors]\nMostUrgent=2147483648\nBackground=0x\n"
      "[Font]\nSize=fourteen\n");
  const TCfg defaults;
  EXPECT_EQ(s.cfg.DaysBefore, defaults.DaysBefore);
  EXPECT_EQ(s.cfg.DaysAfter, defaults.DaysAfter);
  EXPECT_EQ(s.cfg.MostUrgent, defaults.MostUrgent);
  EXPECT_EQ(s.cfg.Background, defaults.Background);
  EXPECT_EQ(s.cfg.FontSize, defaults.FontSize);
}

TEST_F(SettingsStore, BooleansAreIntegersWhereAnythingButZeroIsTrue) {
  const StoredSettings s = Read(
      "[Font]\nBold=2\nItalic=-1\n"
      "[Other]\nOnTop=yes\nStartupCheck=0\nOnceADay=$10\nShowIcons=0x0\nShowZodiacSign=true\nForceSmoothing=1\n");
  EXPECT_TRUE(s.cfg.FontBold);
  EXPECT_TRUE(s.cfg.FontItalic);
  EXPECT_FALSE(s.onTop);  // "yes" is no integer: the default
  EXPECT_FALSE(s.startupCheck);
  EXPECT_TRUE(s.onceADay);
  EXPECT_FALSE(s.cfg.ShowIcons);
  EXPECT_TRUE(s.cfg.ShowZodiacSign);  // "true" is no integer either
  EXPECT_TRUE(s.cfg.ForceSmoothing);

  EXPECT_TRUE(Read("[Other]\nOnTop=2\n").onTop);
  EXPECT_TRUE(Read("[Other]\nOnTop=garbage\nStartupCheck=garbage\n").startupCheck);
}

TEST_F(SettingsStore, TextsKeepEmptyValuesAndDefaultOnlyWhenMissing) {
  const StoredSettings s = Read("[Other]\nLastPath=\nExportPath=  /home/ann/csv  \n");
  EXPECT_EQ(s.cfg.LastPath, "");
  EXPECT_EQ(s.cfg.ExportPath, "/home/ann/csv");
  EXPECT_EQ(Read("[Other]\n").cfg.LastPath, "%SystemDrive%");
}

TEST_F(SettingsStore, FontMustBeInstalledInAnyLetterCase) {
  EXPECT_EQ(Read("[Font]\nName=courier NEW\n").cfg.FontName, "courier NEW");
  EXPECT_EQ(Read("[Font]\nName=Comic Sans MS\n").cfg.FontName, "Tahoma");
  EXPECT_EQ(Read("[Font]\nName=\n").cfg.FontName, "Tahoma");
}

TEST_F(SettingsStore, LastRunIsReadInTheShortDateFormatOrElseYesterday) {
  EXPECT_EQ(Read("[Other]\nLastRun=2024-12-31\n").lastRun, DayFromCivil(2024, 12, 31));
  EXPECT_EQ(Read("[Other]\n").lastRun, kToday - 1);
  EXPECT_EQ(Read("[Other]\nLastRun=\n").lastRun, kToday - 1);
  EXPECT_EQ(Read("[Other]\nLastRun=12/31/2024\n").lastRun, kToday - 1);
  EXPECT_EQ(Read("[Other]\nLastRun=2024-02-30\n").lastRun, kToday - 1);
}

TEST_F(SettingsStore, SectionsAndKeysMatchInAnyLetterCaseAndTheFirstOccurrenceWins) {
  const StoredSettings s = Read(
      "[defaultperiod]\ndaysbefore=10\nDAYSBEFORE=20\n"
      "[OTHER]\nontop=1\n"
      "[Other]\nOnceADay=1\n");
  EXPECT_EQ(s.cfg.DaysBefore, 10);
  EXPECT_TRUE(s.onTop);
  EXPECT_FALSE(s.onceADay);  // only in the repeated section
}

TEST_F(SettingsStore, CrLfAndCrFilesReadLikeLfFiles) {
  const std::string lines[] = {"[DefaultPeriod]", "DaysBefore=15", "[Font]", "Name=Verdana", "Bold=1"};
  for (const std::string eol : {"\r\n", "\r", "\n"}) {
    std::string text;
    for (const auto& line : lines) text += line + eol;
    const StoredSettings s = Read(text);
    EXPECT_EQ(s.cfg.DaysBefore, 15);
    EXPECT_EQ(s.cfg.FontName, "Verdana");
    EXPECT_TRUE(s.cfg.FontBold);
  }
}

// --- Writing -----------------------------------------------------------------------

TEST_F(SettingsStore, EveryFieldSurvivesARoundTrip) {
  StoredSettings s;
  s.cfg.DaysBefore = 90;
  s.cfg.DaysAfter = 0;
  s.cfg.Preset = 255;
  s.cfg.MostUrgent = static_cast<StoredColor>(0xFF000008u);
  s.cfg.SemiUrgent = 0x00123456;
  s.cfg.LeastUrgent = 0;
  s.cfg.Passed = -1;
  s.cfg.PlainText = INT32_MIN;
  s.cfg.Background = INT32_MAX;
  s.cfg.FontName = "Courier New";
  s.cfg.FontSize = -9;
  s.cfg.FontBold = true;
  s.cfg.FontItalic = true;
  s.cfg.FontCharset = 238;
  s.cfg.DateFormat = 7;
  s.cfg.ShowIcons = false;
  s.cfg.ShowZodiacSign = false;
  s.cfg.ForceSmoothing = true;
  s.cfg.LastPath = "/home/ann/Backups; old=1";
  s.cfg.ExportPath = "";
  s.onTop = true;
  s.startupCheck = false;
  s.onceADay = true;
  s.lastRun = DayFromCivil(2020, 1, 1);  // replaced by the day of writing

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
             "; written by hand\r\n"
             "[Mine]\r\n"
             "Answer=42\r\n"
             "[font]\r\n"
             "size = 9\r\n"
             "Future=yes\r\n"
             "[Font]\r\n"
             "Size=99\r\n");
  StoredSettings s;
  s.cfg.FontSize = 11;
  ASSERT_EQ(SaveSettingsFile(path, s, regional, kToday), std::nullopt);

  const IniLoadResult written = IniFile::Load(path);
  ASSERT_EQ(written.status, IniLoadResult::Status::Loaded);
  const auto& lines = written.file.Lines();
  ASSERT_GE(lines.size(), 8u);
  EXPECT_EQ(lines[0], "; written by hand");
  EXPECT_EQ(lines[1], "[Mine]");
  EXPECT_EQ(lines[2], "Answer=42");
  EXPECT_EQ(lines[3], "[font]");
  EXPECT_EQ(lines[4], "Size=11");
  EXPECT_EQ(lines[5], "Future=yes");
  EXPECT_EQ(lines[6], "Name=Tahoma");  // new keys join the first [Font] section
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Size=99"), lines.end());
  EXPECT_EQ(written.file.GetString("Mine", "Answer"), "42");
  EXPECT_EQ(written.file.GetString("Font", "Future"), "yes");
  EXPECT_EQ(ReadSettings(&written.file, fonts, regional, kToday).cfg.FontSize, 11);
}

TEST_F(SettingsStore, AFileThatCannotBeReadGivesDefaultsAReasonAndIsNotReplaced) {
  TempDir dir;
  const auto path = dir / "s.ini";
  std::filesystem::create_directory(path);

  const LoadedSettings loaded = LoadSettingsFile(path, fonts, regional, kToday);
  EXPECT_FALSE(loaded.firstRun);
  ASSERT_TRUE(loaded.error.has_value());
  EXPECT_EQ(*loaded.error, "Cannot read " + path.string() + ": " + std::generic_category().message(EISDIR));
  EXPECT_EQ(loaded.settings, ReadSettings(nullptr, fonts, regional, kToday));

  const auto saved = SaveSettingsFile(path, loaded.settings, regional, kToday);
  ASSERT_TRUE(saved.has_value());
  EXPECT_TRUE(saved->starts_with("Cannot read "));
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(SettingsStore, AFailedWriteReturnsTheReason) {
  TempDir dir;
  const auto path = dir / "missing folder" / "s.ini";
  const auto saved = SaveSettingsFile(path, StoredSettings{}, regional, kToday);
  ASSERT_TRUE(saved.has_value());
  EXPECT_TRUE(saved->starts_with("Cannot write " + path.string() + ": ")) << *saved;
}

}  // namespace
}  // namespace jubilora
