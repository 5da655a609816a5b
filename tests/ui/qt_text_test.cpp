#include "ui/qt_text.h"

#include <gtest/gtest.h>

#include <string>

namespace jubilora {
namespace {

TEST(QtText, EveryByteSurvivesTheRoundTrip) {
  EXPECT_EQ(FromCp1252("Anna \x95 \x80"), QString::fromUtf8("Anna \u2022 \u20AC"));
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const QString text = FromCp1252(all);
  EXPECT_EQ(text.size(), 256);
  EXPECT_EQ(ToCp1252(text), all);
}

TEST(QtText, CharactersOutsideWindows1252AreRefusedNotReplaced) {
  EXPECT_EQ(ToCp1252(QString::fromUtf8("\u03A9mega")), std::nullopt);
  EXPECT_EQ(ToCp1252(QString::fromUtf8("\xF0\x9F\x8E\x82")), std::nullopt);  // outside the BMP
  EXPECT_EQ(ToCp1252(QString(QChar(0xDC00)) + QLatin1String("ab")), std::nullopt);  // lone surrogate
}

}  // namespace
}  // namespace jubilora
