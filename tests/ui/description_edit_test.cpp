#include "ui/description_edit.h"

#include <gtest/gtest.h>

#include <memory>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTest>
#include "support/qt_app.h"


namespace jubilora {
namespace {

QApplication& App() { return test::TestApplication(); }

const QString Snowman = QString::fromUtf8("\u2603");

QString Repeat(char c, int n) { return QString(n, QLatin1Char(c)); }

class DescriptionEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    edit_ = std::make_unique<DescriptionEdit>(nullptr);
    edit_->show();
    edit_->setFocus();
  }

  // QTest types only what a keyboard layout knows; this types any text, one character a key.
  void Type(const QString& text) {
    for (const QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(edit_.get(), &press);
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(edit_.get(), &release);
    }
  }

  void Paste(const QString& text) {
    QApplication::clipboard()->setText(text);
    edit_->paste();
  }

  std::unique_ptr<DescriptionEdit> edit_;
};

TEST(DescriptionCharacters, StorableAreThePrintableWindows1252Characters) {
  EXPECT_TRUE(IsStorableCharacter(U'A'));
  EXPECT_TRUE(IsStorableCharacter(U' '));
  EXPECT_TRUE(IsStorableCharacter(U'\u00e9'));
  EXPECT_TRUE(IsStorableCharacter(U'\u00ff'));
  EXPECT_TRUE(IsStorableCharacter(U'\u20ac'));  // byte 0x80
  EXPECT_TRUE(IsStorableCharacter(U'\u2022'));  // byte 0x95
  EXPECT_FALSE(IsStorableCharacter(U'\u0100'));
  EXPECT_FALSE(IsStorableCharacter(U'\u65e5'));
  EXPECT_FALSE(IsStorableCharacter(U'\U0001F600'));
  // A description is one line of text.
  EXPECT_FALSE(IsStorableCharacter(U'\n'));
  EXPECT_FALSE(IsStorableCharacter(U'\t'));
  EXPECT_FALSE(IsStorableCharacter(U'\x7f'));
  EXPECT_FALSE(IsStorableCharacter(U'\u0081'));
}

TEST(DescriptionFilter, KeepsTheStorablePartOfWhatWasInserted) {
  int cursor = -1;
  EXPECT_EQ(DescriptionEdit::Filtered("Anna", "An\u65e5na", cursor), QStringLiteral("Anna"));
  EXPECT_EQ(cursor, 2);
  EXPECT_EQ(DescriptionEdit::Filtered("", QString::fromUtf8("a\u65e5b\U0001F600c"), cursor),
            QStringLiteral("abc"));
  EXPECT_EQ(cursor, 3);
  // A replaced selection: "nn" becomes "\u0100x".
  EXPECT_EQ(DescriptionEdit::Filtered("Anna", QString::fromUtf8("A\u0100xa"), cursor), QStringLiteral("Axa"));
  EXPECT_EQ(cursor, 2);
  // Deleting is never refused.
  EXPECT_EQ(DescriptionEdit::Filtered("Anna", "Ana", cursor), QStringLiteral("Ana"));
}

TEST(DescriptionFilter, CutsTheInsertionToTheRoomLeft) {
  int cursor = -1;
  const QString before = Repeat('x', 47);
  EXPECT_EQ(DescriptionEdit::Filtered(before, "xx12345" + Repeat('x', 45), cursor),
            "xx123" + Repeat('x', 45));
  EXPECT_EQ(cursor, 5);
  EXPECT_EQ(DescriptionEdit::Filtered(Repeat('x', 50), Repeat('x', 50) + "y", cursor), Repeat('x', 50));
  EXPECT_EQ(cursor, 50);
}

TEST_F(DescriptionEditTest, RefusesA51stAndUnstorableCharactersAlike) {
  Type(Repeat('a', 49));
  Type(QString::fromUtf8("\u65e5\u0100") + Snowman);
  EXPECT_EQ(edit_->text(), Repeat('a', 49));
  // A refused character leaves the undo history as it was.
  EXPECT_TRUE(edit_->isUndoAvailable());
  Type(QStringLiteral("bc"));
  EXPECT_EQ(edit_->text(), Repeat('a', 49) + QLatin1Char('b'));
  edit_->setCursorPosition(10);
  Type(QStringLiteral("z"));
  EXPECT_EQ(edit_->text(), Repeat('a', 49) + QLatin1Char('b'));
  EXPECT_TRUE(edit_->isUndoAvailable());
}

TEST_F(DescriptionEditTest, TakesEveryWindows1252Character) {
  Type(QString::fromUtf8("Caf\u00e9 \u2022 \u20ac \u0160\u017e \u00ff"));
  EXPECT_EQ(edit_->text(), QString::fromUtf8("Caf\u00e9 \u2022 \u20ac \u0160\u017e \u00ff"));
  EXPECT_EQ(edit_->Bytes(), "Caf\xe9 \x95 \x80 \x8a\x9e \xff");
}

TEST_F(DescriptionEditTest, PastingKeepsTheStorableCharactersThatFit) {
  Paste(QString::fromUtf8("Jo\u65e5hn\U0001F600 S\u2022mith\nJr"));
  EXPECT_EQ(edit_->text(), QString::fromUtf8("John S\u2022mithJr"));
  EXPECT_EQ(edit_->cursorPosition(), edit_->text().size());

  edit_->setText(Repeat('x', 46));
  edit_->setCursorPosition(2);
  Paste(QString::fromUtf8("\u65e5AB\u65e5CDEF"));
  EXPECT_EQ(edit_->text(), "xxABCD" + Repeat('x', 44));
  EXPECT_EQ(edit_->cursorPosition(), 6);

  // Pasted over a selection, the room includes what the selection held.
  edit_->setSelection(0, 6);
  Paste(Snowman + "123456789");
  EXPECT_EQ(edit_->text(), "123456" + Repeat('x', 44));
}

TEST_F(DescriptionEditTest, StoredTextIsShownAndGivenBackAsItIs) {
  // Bytes an old file may hold, which the field would not let the user type.
  const std::string stored = std::string("A\tB\x81") + "\x95";
  edit_->LoadText(QString::fromUtf8("A\tB\u0081\u2022"));
  EXPECT_EQ(edit_->Bytes(), stored);
  edit_->end(false);
  Type(QStringLiteral("!"));
  EXPECT_EQ(edit_->Bytes(), stored + "!");
}

}  // namespace
}  // namespace jubilora
