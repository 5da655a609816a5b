#include "platform/regional.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "core/calendar.h"

namespace jubilora {
namespace {

QtRegionalSettings For(const char* name) { return QtRegionalSettings(QLocale(QString::fromLatin1(name))); }

TEST(ShortDateFormat, TwoDigitYearIsWidenedOutsideQuotedText) {
  EXPECT_EQ(WidenTwoDigitYear("M/d/yy"), "M/d/yyyy");
  EXPECT_EQ(WidenTwoDigitYear("dd/MM/yyyy"), "dd/MM/yyyy");
  EXPECT_EQ(WidenTwoDigitYear("d.MM.yy 'yy'"), "d.MM.yyyy 'yy'");
  EXPECT_EQ(WidenTwoDigitYear("'it''s' yy"), "'it''s' yyyy");
}

TEST(ShortDateFormat, LocalesWriteTheirOwnFormatOrIsoDatesAndReadThemBack) {
  const DayNumber day = DayFromCivil(2025, 1, 31);
  EXPECT_EQ(For("en_US").ShortDateFormat(), "M/d/yyyy");
  EXPECT_EQ(For("en_US").FormatShortDate(day), "1/31/2025");
  EXPECT_EQ(For("de_DE").FormatShortDate(day), "31.01.2025");
  // Letters outside Windows-1252 fall back to ISO dates.
  EXPECT_EQ(For("bg_BG").FormatShortDate(day), "2025-01-31");
  for (const char* name : {"en_US", "de_DE", "fr_CA", "ja_JP", "ko_KR", "bg_BG", "ar_EG"}) {
    const QtRegionalSettings regional = For(name);
    for (const DayNumber d : {DayFromCivil(2000, 2, 29), DayFromCivil(2068, 7, 4), DayFromCivil(1931, 11, 30)}) {
      const std::string text = regional.FormatShortDate(d);
      EXPECT_EQ(regional.ParseShortDate(text), d) << name << ": " << text;
    }
  }
}

TEST(ShortDateFormat, TextThatIsNoDateIsRefused) {
  const QtRegionalSettings us = For("en_US");
  for (const char* text : {"", "yesterday", "2/30/2024", "31.01.2025", "2025-01-31"}) {
    EXPECT_EQ(us.ParseShortDate(text), std::nullopt) << text;
  }
  EXPECT_EQ(For("de_DE").ParseShortDate("1/31/2025"), std::nullopt);
}

TEST(ListSeparator, IsSemicolonWhereTheDecimalSeparatorIsAComma) {
  EXPECT_EQ(For("en_US").ListSeparator(), ",");
  EXPECT_EQ(For("de_DE").ListSeparator(), ";");
}

TEST(Duration, FollowsTheLongTimeFormatWithoutMarkerOrZoneOrWrapping) {
  EXPECT_EQ(For("en_US").FormatDuration(899), "0:14:59");
  EXPECT_EQ(For("en_US").FormatDuration(13 * 3600 + 61), "13:01:01");  // no PM
  EXPECT_EQ(For("de_DE").FormatDuration(25 * 3600 + 5), "25:00:05");
  EXPECT_EQ(For("fi_FI").FormatDuration(899), "0.14.59");
  EXPECT_EQ(For("zh_CN").FormatDuration(899), "00:14:59");  // zone stands in front there
  EXPECT_EQ(For("fr_CA").FormatDuration(899), "00 h 14 min 59 s");
  // Locales outside Windows-1252 fall back to plain digits.
  EXPECT_EQ(For("ko_KR").FormatDuration(899), "0:14:59");
  EXPECT_EQ(For("ar_EG").FormatDuration(3599), "0:59:59");
}

}  // namespace
}  // namespace jubilora
