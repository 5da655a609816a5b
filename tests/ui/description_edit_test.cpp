#include "ui/description_edit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "support/qt_app.h"
#include "ui/qt_text.h"

namespace jubilora {
namespace {

QString Repeat(char c, int n) { return QString(n, QLatin1Char(c)); }

class DescriptionEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    edit_ = std::make_unique<DescriptionEdit>(nullptr);
    edit_->show();
    edit_->setFocus();
  }

  // QTest types only what a keyboard layout knows; this types any text, one character a key.
  void Type(const QString& text) {
    for (const QChar c : text) {
      for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit_.get(), &event);
      }
    }
  }

  std::unique_ptr<DescriptionEdit> edit_;
};

// Controls, the five bytes Windows-1252 leaves undefined, and characters it lacks are refused.
TEST_F(DescriptionEditTest, TakesWindows1252AndRefusesA51stAndUnstorableCharacters) {
  const QString start = QString::fromUtf8("Caf\u00e9 \u2022 \u20ac \u0160\u017e") + Repeat('a', 38);  // 49
  Type(start + QString::fromUtf8("\u65e5\u0100\u2603\t\x7f\u0081"));
  EXPECT_EQ(edit_->Bytes(), "Caf\xe9 \x95 \x80 \x8a\x9e" + std::string(38, 'a'));
  Type(QStringLiteral("bc"));
  EXPECT_EQ(edit_->text(), start + QLatin1Char('b'));
  edit_->setCursorPosition(10);
  Type(QStringLiteral("z"));
  EXPECT_EQ(edit_->text(), start + QLatin1Char('b'));
  // Deleting from a full field is never refused.
  QTest::keyClick(edit_.get(), Qt::Key_Backspace);
  EXPECT_EQ(edit_->text().size(), 49);
}

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
