#include "platform/regional.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "core/calendar.h"

namespace jubilora {
namespace {

QtRegionalSettings For(const char* name) { return QtRegionalSettings(QLocale(QString::fromLatin1(name))); }

// A two-digit year is widened (outside quoted text), so that every date reads back as the day
// it was; letters outside Windows-1252 give way to ISO dates, which read back too. The list
// separator is ";" where the decimal separator is ",".
TEST(Regional, ShortDatesReadBackAndTheListSeparatorAndDurationsFollowTheRegion) {
  EXPECT_EQ(WidenTwoDigitYear("d.MM.yy 'it''s yy' yyyy"), "d.MM.yyyy 'it''s yy' yyyy");
  EXPECT_EQ(For("bg_BG").FormatShortDate(DayFromCivil(2025, 1, 31)), "2025-01-31");
  for (const char* name : {"en_US", "de_DE", "fr_CA", "ja_JP", "ko_KR", "bg_BG", "ar_EG"}) {
    const QtRegionalSettings regional = For(name);
    for (const DayNumber d : {DayFromCivil(2000, 2, 29), DayFromCivil(2068, 7, 4), DayFromCivil(1931, 11, 30)}) {
      const std::string text = regional.FormatShortDate(d);
      EXPECT_EQ(regional.ParseShortDate(text), d) << name << ": " << text;
    }
  }
  for (const char* text : {"", "yesterday", "2/30/2024", "2025-01-31"})
    EXPECT_EQ(For("en_US").ParseShortDate(text), std::nullopt) << text;
  EXPECT_EQ(For("de_DE").ListSeparator() + For("en_US").ListSeparator(), ";,");
  // The long time format's order and separators, without marker or zone, hours past 24.
  EXPECT_EQ(For("fr_CA").FormatDuration(13 * 3600 + 61), "13 h 01 min 01 s");
  EXPECT_EQ(For("de_DE").FormatDuration(25 * 3600 + 5), "25:00:05");
}

}  // namespace
}  // namespace jubilora
