#include "platform/regional.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "core/calendar.h"

namespace jubilora {
namespace {

QtRegionalSettings For(const char* name) { return QtRegionalSettings(QLocale(QString::fromLatin1(name))); }

// --- Short dates -------------------------------------------------------------------

TEST(ShortDateFormat, TwoDigitYearIsWidenedOutsideQuotedText) {
  EXPECT_EQ(WidenTwoDigitYear("M/d/yy"), "M/d/yyyy");
  EXPECT_EQ(WidenTwoDigitYear("yy. M. d."), "yyyy. M. d.");
  EXPECT_EQ(WidenTwoDigitYear("dd/MM/yyyy"), "dd/MM/yyyy");
  EXPECT_EQ(WidenTwoDigitYear("d.MM.yy 'yy'"), "d.MM.yyyy 'yy'");
  EXPECT_EQ(WidenTwoDigitYear("'it''s' yy"), "'it''s' yyyy");
}

TEST(ShortDateFormat, LocalesWriteTheirOwnFormatWithFourDigitYears) {
  const DayNumber day = DayFromCivil(2025, 1, 31);
  EXPECT_EQ(For("en_US").ShortDateFormat(), "M/d/yyyy");
  EXPECT_EQ(For("en_US").FormatShortDate(day), "1/31/2025");
  EXPECT_EQ(For("de_DE").ShortDateFormat(), "dd.MM.yyyy");
  EXPECT_EQ(For("de_DE").FormatShortDate(day), "31.01.2025");
  EXPECT_EQ(For("en_GB").FormatShortDate(day), "31/01/2025");
}

TEST(ShortDateFormat, WrittenDatesReadBackAsTheSameDay) {
  for (const char* name : {"en_US", "de_DE", "en_GB", "fr_CA", "ja_JP", "ko_KR", "bg_BG", "ar_EG", "fi_FI"}) {
    SCOPED_TRACE(name);
    const QtRegionalSettings regional = For(name);
    for (const DayNumber day : {DayFromCivil(1999, 12, 31), DayFromCivil(2000, 2, 29), DayFromCivil(2025, 1, 1),
                                DayFromCivil(2068, 7, 4), DayFromCivil(1931, 11, 30)}) {
      const std::string text = regional.FormatShortDate(day);
      EXPECT_EQ(regional.ParseShortDate(text), day) << text;
    }
  }
}

TEST(ShortDateFormat, LocalesWithLettersOutsideWindows1252FallBackToIsoDates) {
  const DayNumber day = DayFromCivil(2025, 1, 31);
  EXPECT_EQ(For("bg_BG").FormatShortDate(day), "2025-01-31");
  EXPECT_EQ(For("ar_EG").FormatShortDate(day), "2025-01-31");
  // ISO dates are not taken where the locale writes dates itself.
  EXPECT_EQ(For("en_US").ParseShortDate("2025-01-31"), std::nullopt);
}

TEST(ShortDateFormat, TextThatIsNoDateIsRefused) {
  const QtRegionalSettings us = For("en_US");
  EXPECT_EQ(us.ParseShortDate(""), std::nullopt);
  EXPECT_EQ(us.ParseShortDate("yesterday"), std::nullopt);
  EXPECT_EQ(us.ParseShortDate("2/30/2024"), std::nullopt);
  EXPECT_EQ(us.ParseShortDate("31.01.2025"), std::nullopt);
  EXPECT_EQ(For("de_DE").ParseShortDate("1/31/2025"), std::nullopt);
}

// --- List separator ------------------------------------------------------------------

TEST(ListSeparator, IsSemicolonWhereTheDecimalSeparatorIsAComma) {
  EXPECT_EQ(For("en_US").ListSeparator(), ",");
  EXPECT_EQ(For("de_DE").ListSeparator(), ";");
  EXPECT_EQ(For("fr_FR").ListSeparator(), ";");
  EXPECT_EQ(For("ja_JP").ListSeparator(), ",");
}

// --- Durations -----------------------------------------------------------------------

TEST(Duration, FollowsTheLongTimeFormatWithoutMarkerOrZone) {
  EXPECT_EQ(For("en_US").FormatDuration(899), "0:14:59");
  EXPECT_EQ(For("de_DE").FormatDuration(899), "00:14:59");
  EXPECT_EQ(For("fi_FI").FormatDuration(899), "0.14.59");
  EXPECT_EQ(For("zh_CN").FormatDuration(899), "00:14:59");  // zone stands in front there
  EXPECT_EQ(For("fr_CA").FormatDuration(899), "00 h 14 min 59 s");
}

TEST(Duration, HoursAreNeitherWrappedNorMarked) {
  const QtRegionalSettings us = For("en_US");
  EXPECT_EQ(us.FormatDuration(4 * 3600), "4:00:00");
  EXPECT_EQ(us.FormatDuration(13 * 3600 + 61), "13:01:01");
  EXPECT_EQ(us.FormatDuration(0), "0:00:00");
  EXPECT_EQ(For("de_DE").FormatDuration(25 * 3600 + 5), "25:00:05");
}

TEST(Duration, LocalesOutsideWindows1252FallBackToPlainDigits) {
  EXPECT_EQ(For("ko_KR").FormatDuration(899), "0:14:59");
  EXPECT_EQ(For("ar_EG").FormatDuration(3599), "0:59:59");
}

}  // namespace
}  // namespace jubilora
