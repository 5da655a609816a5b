#include "ui/answer_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "support/qt_app.h"
#include "support/qt_fit.h"

namespace jubilora {
namespace {

QDialog* OpenDialog() { return qobject_cast<QDialog*>(QApplication::activeModalWidget()); }

// In the column's order, top to bottom.
std::vector<TbtnAnswer*> ButtonsOf(QWidget* dialog) {
  std::vector<TbtnAnswer*> buttons;
  for (int i = 1; auto* b = dialog->findChild<TbtnAnswer*>(QStringLiteral("btnAnswer%1").arg(i)); ++i)
    buttons.push_back(b);
  return buttons;
}

struct Call {
  QWidget* owner = nullptr;
  QString message = QStringLiteral("Delete the selected record?\r\nThis cannot be undone.");
  QStringList buttons{QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("&Cancel")};
  IconKind icon = IconKind::Question;
  bool canCancel = true;
  int helpIndex = 0;
};

using Script = std::function<void(QDialog*)>;

class AnswerDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { test::TestApplication(); }
  void TearDown() override { SetAnswerHelpHandler({}); }

  // Opens the dialog and runs `script` on it once its loop runs. A script that leaves the
  // dialog open fails the test instead of hanging it.
  static int Run(const Call& call, const Script& script) {
    QObject scope;
    bool ran = false;
    QTimer::singleShot(0, &scope, [&] {
      ran = true;
      if (QDialog* dialog = OpenDialog()) script(dialog);
    });
    QTimer::singleShot(5000, &scope, [] {
      if (QDialog* dialog = OpenDialog()) dialog->done(-99);
    });
    const int answer = AnswerDialog(call.owner, QStringLiteral("Question"), call.message, call.buttons, call.icon,
                                    call.canCancel, call.helpIndex, QStringLiteral("help-path"));
    EXPECT_TRUE(ran);
    return answer;
  }
  static int Run(const Script& script) { return Run(Call{}, script); }
};

// Buttons answer with their 1-based number, from the mouse or the keyboard: the first has the
// focus, Tab moves down the column, Return, Enter and Space press the focused one.
TEST_F(AnswerDialogTest, ButtonsAnswerWithTheirNumber) {
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(Run([i](QDialog* d) { QTest::mouseClick(ButtonsOf(d).at(i), Qt::LeftButton); }), i + 1);
  const std::vector<std::pair<std::vector<Qt::Key>, int>> typed{
      {{Qt::Key_Return}, 1}, {{Qt::Key_Tab, Qt::Key_Space}, 2}, {{Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Enter}, 3}};
  for (const auto& [keys, answer] : typed)
    EXPECT_EQ(Run([&keys](QDialog* d) {
                for (Qt::Key key : keys) QTest::keyClick(d->focusWidget(), key);
              }),
              answer);
}

// Escape and the close box give 0 when the dialog may be cancelled; otherwise only a button
// answers, and a call without buttons still gets one.
TEST_F(AnswerDialogTest, EscapeAndTheCloseBoxCancelOnlyWhenAllowed) {
  const std::vector<Script> dismissals{[](QDialog* d) { QTest::keyClick(ButtonsOf(d).back(), Qt::Key_Escape); },
                                       [](QDialog* d) { d->close(); }};
  for (const Script& dismiss : dismissals) {
    EXPECT_EQ(Run(dismiss), 0);
    Call call;
    call.canCancel = false;
    call.buttons = {};
    bool stayedOpen = false;
    EXPECT_EQ(Run(call, [&](QDialog* d) {
                dismiss(d);
                stayedOpen = d->isVisible() && OpenDialog() == d;
                ButtonsOf(d).at(0)->click();
              }),
              1);
    EXPECT_TRUE(stayedOpen);
  }
}

TEST_F(AnswerDialogTest, SecondCallWhileOpenReturnsMinusOneAndLeavesTheFirstAlone) {
  int nested = 0;
  bool firstUndisturbed = false;
  const int answer = Run([&](QDialog* d) {
    nested = AnswerDialog(nullptr, QStringLiteral("Other"), QStringLiteral("Other question"), {QStringLiteral("&OK")},
                          IconKind::Information);
    firstUndisturbed = OpenDialog() == d && d->isVisible();
    QTest::mouseClick(ButtonsOf(d).at(1), Qt::LeftButton);
  });
  EXPECT_EQ(nested, -1);
  EXPECT_TRUE(firstUndisturbed);
  EXPECT_EQ(answer, 2);
  // Once closed, the next call is shown again.
  EXPECT_EQ(Run([](QDialog* d) { ButtonsOf(d).at(0)->click(); }), 1);
}

TEST_F(AnswerDialogTest, HelpButtonOpensTheHelpPathAndKeepsTheDialogOpen) {
  QStringList opened;
  SetAnswerHelpHandler([&](QWidget*, const QString& path) { opened << path; });
  Call call;
  call.helpIndex = 3;
  bool stayedOpen = false;
  EXPECT_EQ(Run(call,
                [&](QDialog* d) {
                  ButtonsOf(d).at(2)->click();
                  stayedOpen = d->isVisible() && OpenDialog() == d;
                  ButtonsOf(d).at(1)->click();
                }),
            2);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(opened, QStringList{QStringLiteral("help-path")});
}

// Over a few shapes of message and buttons, at the default and at a large font: the frame
// holds the message (described to assistive tools), the buttons stand in a column at its right,
// all alike and large enough for every caption, and no text is clipped.
TEST_F(AnswerDialogTest, LayoutHoldsForEveryShapeAndFont) {
  const QString sixLines = QStringLiteral("This option will minimize Jubilora\r\nto the tray.\r\n\r\n\r\nPick.");
  std::vector<Call> shapes(4);
  shapes[0].buttons = {QStringLiteral("OK")};
  shapes[0].message = QStringLiteral("Saved.");
  shapes[0].icon = IconKind::None;
  shapes[1].buttons = {"15 &Minutes", "30 M&inutes", "&1 Hour", "&2 Hours", "&4 Hours", "&Cancel"};
  shapes[1].message = sixLines;
  shapes[2].buttons = {QStringLiteral("&Yes"), QStringLiteral("&No, and never ask again about this")};
  shapes[3].message = QString(QStringLiteral("A line of the message\r\n")).repeated(12);
  const QFont defaultFont = QApplication::font();
  QFont large = defaultFont;
  large.setPointSize(14);
  for (const QFont& font : {defaultFont, large}) {
    QApplication::setFont(font);
    for (const Call& call : shapes) {
      SCOPED_TRACE(call.buttons.join(QLatin1Char('|')).toStdString() + " at " + font.toString().toStdString());
      Run(call, [&](QDialog* d) {
        const std::vector<TbtnAnswer*> buttons = ButtonsOf(d);
        const QRect frame = d->findChild<QFrame*>(QStringLiteral("bvlFrame"))->geometry();
        const auto* label = d->findChild<QLabel*>(QStringLiteral("labMessage"));
        ASSERT_EQ(buttons.size(), std::size_t(call.buttons.size()));
        EXPECT_EQ(d->windowTitle(), QStringLiteral(" Question"));
        EXPECT_EQ(d->accessibleDescription(), label->text());
        EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("imgIcon")) != nullptr, call.icon != IconKind::None);
        for (std::size_t i = 0; i < buttons.size(); ++i) {
          const QRect b = buttons[i]->geometry();
          EXPECT_EQ(b.size(), buttons[0]->size());
          EXPECT_GE(b.width(), std::max(65, buttons[i]->sizeHint().width()));
          EXPECT_GE(b.height(), std::max(25, buttons[i]->sizeHint().height()));
          EXPECT_GT(b.left(), frame.right());
          if (i > 0) {
            EXPECT_EQ(b.top(), buttons[i - 1]->geometry().bottom() + 1 + 8);
          }
        }
        const QRect column(buttons.front()->geometry().topLeft(), buttons.back()->geometry().bottomRight());
        EXPECT_EQ(column.bottom(), frame.bottom());
        EXPECT_GE(frame.height(), column.height());
        if (frame.height() == column.height()) {
          EXPECT_NEAR(label->mapTo(d, label->rect().center()).y(), column.center().y(), 1);
        }
        EXPECT_EQ(test::TextsThatDoNotFit(*d), std::vector<std::string>{});
        buttons.front()->click();
      });
    }
  }
  QApplication::setFont(defaultFont);
}

// Centred over its owner; over a window at the screen's corner it still shows whole.
TEST_F(AnswerDialogTest, DialogIsCentredOverItsOwner) {
  QWidget owner;
  owner.setGeometry(200, 150, 640, 480);
  owner.show();
  Call call;
  call.owner = &owner;
  Run(call, [&](QDialog* d) {
    EXPECT_LE((d->geometry().center() - owner.geometry().center()).manhattanLength(), 1);
    ButtonsOf(d).at(0)->click();
  });
  const QRect area = owner.screen()->availableGeometry();
  owner.setGeometry(area.right() - 100, area.bottom() - 80, 300, 200);
  Run(call, [&](QDialog* d) {
    EXPECT_TRUE(area.contains(d->geometry()));
    ButtonsOf(d).at(0)->click();
  });
}

}  // namespace
}  // namespace jubilora
