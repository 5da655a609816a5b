#include "ui/answer_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QLabel>
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
  QStringList buttons{"&Yes", "&No", "&Cancel"};
  QString message = "Delete the selected record?\r\nThis cannot be undone.";
  IconKind icon = IconKind::Question;
  bool canCancel = true;
  int helpIndex = 0;
};

// Opens the dialog and runs `script` on it once its loop runs; one left open ends with -99.
int Ask(const Call& call, const std::function<void(QDialog*)>& script) {
  test::TestApplication();
  QObject scope;
  QTimer::singleShot(0, &scope, [&] {
    if (QDialog* dialog = OpenDialog()) script(dialog);
  });
  QTimer::singleShot(5000, &scope, [] {
    if (QDialog* dialog = OpenDialog()) dialog->done(-99);
  });
  return AnswerDialog(nullptr, QStringLiteral("Question"), call.message, call.buttons, call.icon, call.canCancel,
                      call.helpIndex, QStringLiteral("help-path"));
}

void Type(QDialog* dialog, const std::vector<Qt::Key>& keys) {
  for (Qt::Key key : keys) QTest::keyClick(dialog->focusWidget(), key);
}

// The first button has the focus, Tab moves down the column, Return, Enter and Space press the
// focused one, a click presses its button; Escape and the close box give 0.
TEST(AnswerDialog, ButtonsAnswerWithTheirNumberAndEscapeOrCloseWithZero) {
  const std::vector<std::pair<std::vector<Qt::Key>, int>> typed{{{Qt::Key_Return}, 1},
                                                                {{Qt::Key_Tab, Qt::Key_Space}, 2},
                                                                {{Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Enter}, 3},
                                                                {{Qt::Key_Tab, Qt::Key_Escape}, 0}};
  for (const auto& [keys, answer] : typed) EXPECT_EQ(Ask({}, [&](QDialog* d) { Type(d, keys); }), answer);
  EXPECT_EQ(Ask({}, [](QDialog* d) { QTest::mouseClick(ButtonsOf(d).at(2), Qt::LeftButton); }), 3);
  EXPECT_EQ(Ask({}, [](QDialog* d) { d->close(); }), 0);
}

// Without canCancel only a button answers, and a call without buttons still gets one.
TEST(AnswerDialog, WithoutCancelEscapeAndCloseDoNothing) {
  Call call;
  call.canCancel = false;
  call.buttons = {};
  EXPECT_EQ(Ask(call,
                [](QDialog* d) {
                  Type(d, {Qt::Key_Escape});
                  d->close();
                  EXPECT_TRUE(d->isVisible() && !d->windowFlags().testFlag(Qt::WindowCloseButtonHint));
                  ButtonsOf(d).at(0)->click();
                }),
            1);
}

// A call from a timer while a dialog is open returns -1 and leaves the open one alone; the
// help button opens its help and keeps the dialog open.
TEST(AnswerDialog, ReentryIsRefusedAndHelpKeepsTheDialogOpen) {
  QStringList helped;
  SetAnswerHelpHandler([&](QWidget*, const QString& path) { helped << path; });
  Call call;
  call.helpIndex = 3;
  EXPECT_EQ(Ask(call,
                [](QDialog* d) {
                  EXPECT_EQ(AnswerDialog(nullptr, "Other", "?", {"OK"}, IconKind::Information), -1);
                  ButtonsOf(d).at(2)->click();
                  EXPECT_TRUE(OpenDialog() == d && d->isVisible());
                  ButtonsOf(d).at(1)->click();
                }),
            2);
  EXPECT_EQ(helped, QStringList{"help-path"});
  SetAnswerHelpHandler({});
  EXPECT_EQ(Ask({}, [](QDialog* d) { ButtonsOf(d).at(0)->click(); }), 1);
}

// Over a few shapes, at the default and at a large font: the frame holds the message
// (described to assistive tools) and reaches the column's bottom; the buttons stand at its
// right, alike, 8 apart and large enough for every caption; no text is clipped.
TEST(AnswerDialog, LayoutHoldsForEveryShapeAndFont) {
  test::TestApplication();
  std::vector<Call> shapes(4);
  shapes[0] = {{"OK"}, "Saved.", IconKind::None};
  shapes[1].buttons = {"15 &Minutes", "30 M&inutes", "&1 Hour", "&2 Hours", "&4 Hours", "&Cancel"};
  shapes[1].message = "This option will minimize Jubilora\r\nto the tray.\r\n\r\n\r\nPick.";
  shapes[2].buttons = {"&Yes", "&No, and never ask again about this"};
  shapes[3].message = QString("A line of the message\r\n").repeated(12);
  const QFont defaultFont = QApplication::font();
  QFont large = defaultFont;
  large.setPointSize(14);
  for (const QFont& font : {defaultFont, large}) {
    QApplication::setFont(font);
    for (const Call& call : shapes) {
      SCOPED_TRACE(call.buttons.join(QLatin1Char('|')).toStdString() + " at " + font.toString().toStdString());
      Ask(call, [&](QDialog* d) {
        const std::vector<TbtnAnswer*> buttons = ButtonsOf(d);
        const QRect frame = d->findChild<QFrame*>(QStringLiteral("bvlFrame"))->geometry();
        const auto* label = d->findChild<QLabel*>(QStringLiteral("labMessage"));
        ASSERT_EQ(buttons.size(), std::size_t(call.buttons.size()));
        EXPECT_EQ(d->windowTitle(), QStringLiteral(" Question"));
        EXPECT_EQ(d->accessibleDescription(), label->text());
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

}  // namespace
}  // namespace jubilora
