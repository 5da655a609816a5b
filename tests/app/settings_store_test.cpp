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

const DayNumber kToday = DayFromCivil(2025, 3, 14);

class SettingsStore : public testing::Test {
 protected:
  test::NamedFonts fonts{{"Tahoma", "Verdana", "Courier New"}};
  test::IsoRegional regional;
  test::TempDir dir;
  std::filesystem::path path = dir / "config" / "jubilora" / "s.ini";

  StoredSettings Read(const std::string& text) const {
    const IniFile ini = IniFile::Parse(text);
    return ReadSettings(&ini, fonts, regional, kToday);
  }
};

TEST(IniInteger, DecimalOrHexadecimalWithSignAndLeadingBlanksAndNothingElse) {
  const std::vector<std::pair<const char*, std::optional<std::int32_t>>> cases = {
      {"  +12", 12},      {"-007", -7},        {"X1e", 30},           {"-$10", -16},
      {"$FFFFFFFF", -1},  {"$0000000000FF", 255}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
      // Not one whole number, trailing characters included.
      {"", std::nullopt}, {"0x", std::nullopt}, {"12 ", std::nullopt}, {"- 5", std::nullopt}, {"$-5", std::nullopt},
      {"0x1G", std::nullopt}, {"2147483648", std::nullopt}, {"$100000000", std::nullopt},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseIniInteger(text), value) << '"' << text << '"';
}

// A first start gives the defaults; every field written comes back as it was, from a private
// folder that the write creates; the next start is no first run, nor is one with an empty file.
TEST_F(SettingsStore, FirstStartGivesDefaultsAndEveryFieldSurvivesARoundTrip) {
  const LoadedSettings first = LoadSettingsFile(path, fonts, regional, kToday);
  EXPECT_TRUE(first.firstRun);
  EXPECT_EQ(first.settings, (StoredSettings{TCfg{}, false, true, false, kToday - 1}));

  StoredSettings s{
      TCfg{.DaysBefore = 90, .DaysAfter = 0, .Preset = 255, .MostUrgent = static_cast<StoredColor>(0xFF000008u),
           .SemiUrgent = 0x00123456, .LeastUrgent = 0, .Passed = -1, .PlainText = INT32_MIN,
           .Background = INT32_MAX, .FontName = "Courier New", .FontSize = -9, .FontBold = true,
           .FontItalic = true, .FontCharset = 238, .DateFormat = 7, .ShowIcons = false, .ShowZodiacSign = false,
           .ForceSmoothing = true, .LastPath = "/home/ann/Backups; old=1", .ExportPath = "",
           .LeapDay = LeapDayChoice::February28, .ICalendarCopy = "/home/ann/Jubilora.ics"},
      true, false, true, DayFromCivil(2020, 1, 1)};  // the last run is replaced by the day of writing
  ASSERT_EQ(SaveSettingsFile(path, s, regional, kToday), std::nullopt);
  EXPECT_EQ(std::filesystem::status(path.parent_path()).permissions(), std::filesystem::perms::owner_all);
  const LoadedSettings loaded = LoadSettingsFile(path, fonts, regional, kToday + 5);
  EXPECT_FALSE(loaded.firstRun);
  s.lastRun = kToday;
  EXPECT_EQ(loaded.settings, s);
  test::WriteBytes(path, "");
  EXPECT_FALSE(LoadSettingsFile(path, fonts, regional, kToday).firstRun);
}

// Booleans are integers too, where anything but zero is true; small fields keep the low byte;
// a malformed value, a font that is not installed or a choice unknown gives the key's default.
TEST_F(SettingsStore, ValuesAreReadByTheirKeysRules) {
  StoredSettings expected = Read("");
  expected.cfg.DaysAfter = 44;  // 300
  expected.cfg.Preset = 255;    // -1
  expected.cfg.MostUrgent = -1;
  expected.cfg.FontCharset = 128;
  expected.cfg.DateFormat = 7;  // $107
  expected.cfg.LeapDay = LeapDayChoice::March1;
  expected.onceADay = true;
  expected.cfg.FontBold = true;
  expected.cfg.ShowIcons = false;
  expected.startupCheck = false;
  expected.cfg.FontName = "courier NEW";
  expected.cfg.LastPath = "";  // empty is kept; only a missing key gives the default
  expected.lastRun = DayFromCivil(2024, 12, 31);
  EXPECT_EQ(Read("[DefaultPeriod]\nDaysAfter=300\n[Colors]\nPreset=-1\nMostUrgent=$FFFFFFFF\n[Font]\n"
                 "Name=courier NEW\nCharset=x80\nBold=-1\n[Other]\nDateFormat=$107\nOnceADay=$10\nLeapDay=$2\n"
                 "ShowIcons=0x0\nStartupCheck=0\nOnTop=yes\nShowZodiacSign=true\nLastPath=\nLastRun=2024-12-31\n"),
            expected);
  EXPECT_EQ(Read("[DefaultPeriod]\nDaysBefore=12abc\nDaysAfter=\n[Colors]\nMostUrgent=2147483648\n[Font]\n"
                 "Name=Comic Sans MS\nSize=fourteen\n[Other]\nLastRun=2024-02-30\nLeapDay=$102\n"),
            Read(""));
}

TEST_F(SettingsStore, AFileThatCannotBeReadGivesDefaultsAReasonAndIsNotReplaced) {
  std::filesystem::create_directories(path.parent_path());
  mkfifo(path.c_str(), 0600);  // a plain open would wait for a writer for ever
  const test::HangGuard guard;
  const FileError error{path, FileAction::Read, "It is a FIFO, not a regular file"};

  const LoadedSettings loaded = LoadSettingsFile(path, fonts, regional, kToday);
  EXPECT_FALSE(loaded.firstRun);
  EXPECT_EQ(loaded.error, error);
  EXPECT_EQ(loaded.settings, Read(""));
  EXPECT_EQ(SaveSettingsFile(path, loaded.settings, regional, kToday), error);
  EXPECT_TRUE(std::filesystem::is_fifo(path));
}

}  // namespace
}  // namespace jubilora
