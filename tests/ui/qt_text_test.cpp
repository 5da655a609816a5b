#include "ui/qt_text.h"

#include <gtest/gtest.h>

#include <string>

namespace jubilora {
namespace {

TEST(QtText, EveryByteSurvivesTheRoundTripAndOtherCharactersAreRefusedNotReplaced) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(FromCp1252(all).size(), 256);
  EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
  EXPECT_EQ(FromCp1252("\x95\x80"), QString::fromUtf8("\u2022\u20AC"));
  // Outside the code page, outside the BMP, and a lone surrogate (which Qt would write as "?").
  for (const QString& text : {QString::fromUtf8("\u03A9"), QString::fromUtf8("\xF0\x9F\x8E\x82"), QString(QChar(0xDC00))})
    EXPECT_EQ(ToCp1252(QStringLiteral("ab") + text), std::nullopt);
  EXPECT_EQ(WithLineFeeds(QStringLiteral("a\r\nb\rc\nd")), QStringLiteral("a\nb\nc\nd"));
}

}  // namespace
}  // namespace jubilora
