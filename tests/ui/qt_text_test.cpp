#include "ui/qt_text.h"

#include <gtest/gtest.h>

#include <string>

namespace jubilora {
namespace {

TEST(QtText, Windows1252BytesBecomeTheirUnicodeCharacters) {
  EXPECT_EQ(FromCp1252("Anna \x95 35th birthday"), QString::fromUtf8("Anna \u2022 35th birthday"));
  EXPECT_EQ(FromCp1252("\x80 \xE9t\xE9 \x9F"), QString::fromUtf8("\u20AC \u00E9t\u00E9 \u0178"));
  EXPECT_EQ(FromCp1252(std::string("a\0b", 3)).size(), 3);
}

TEST(QtText, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const QString text = FromCp1252(all);
  EXPECT_EQ(text.size(), 256);
  EXPECT_EQ(ToCp1252(text), all);
}

TEST(QtText, CharactersOutsideWindows1252AreRefusedNotReplaced) {
  EXPECT_EQ(ToCp1252(QString::fromUtf8("Caf\u00E9 \u2013 \u20AC")), std::string("Caf\xE9 \x96 \x80"));
  EXPECT_EQ(ToCp1252(QString::fromUtf8("\u03A9mega")), std::nullopt);
  EXPECT_EQ(ToCp1252(QString::fromUtf8("\xF0\x9F\x8E\x82")), std::nullopt);  // outside the BMP
  EXPECT_EQ(ToCp1252(QString(QChar(0xD800))), std::nullopt);  // lone surrogates
  EXPECT_EQ(ToCp1252(QString(QChar(0xDC00)) + QLatin1String("ab")), std::nullopt);
  EXPECT_EQ(ToCp1252(QString()), std::string());
}

}  // namespace
}  // namespace jubilora
