#include "ui/answer_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "ui/error_report.h"
#include "support/qt_app.h"

namespace jubilora {
namespace {

QApplication& App() { return test::TestApplication(); }

QDialog* OpenDialog() { return qobject_cast<QDialog*>(QApplication::activeModalWidget()); }

std::vector<TbtnAnswer*> ButtonsOf(QWidget* dialog) {
  std::vector<TbtnAnswer*> buttons;
  for (TbtnAnswer* b : dialog->findChildren<TbtnAnswer*>()) buttons.push_back(b);
  std::sort(buttons.begin(), buttons.end(),
            [](const TbtnAnswer* a, const TbtnAnswer* b) { return a->y() < b->y(); });
  return buttons;
}

int VisibleWindows() {
  const QWidgetList windows = QApplication::topLevelWidgets();
  return static_cast<int>(
      std::count_if(windows.cbegin(), windows.cend(), [](const QWidget* w) { return w->isVisible(); }));
}

struct Call {
  QWidget* owner = nullptr;
  QString caption = QStringLiteral("Question");
  QString message = QStringLiteral("Delete the selected record?\r\nThis cannot be undone.");
  QStringList buttons{QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("&Cancel")};
  IconKind icon = IconKind::Question;
  bool canCancel = true;
  int helpIndex = 0;
  QString helpPath;
};

class AnswerDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { App(); }
  void TearDown() override { SetAnswerHelpHandler({}); }

  // Opens the dialog and runs `script` on it once its loop runs. A script that leaves the
  // dialog open fails the test instead of hanging it.
  static int Run(const Call& call, const std::function<void(QDialog*)>& script) {
    QObject scope;
    bool ran = false;
    QTimer::singleShot(0, &scope, [&] {
      QDialog* dialog = OpenDialog();
      ran = true;
      if (dialog == nullptr) return;
      script(dialog);
    });
    QTimer::singleShot(5000, &scope, [] {
      if (QDialog* dialog = OpenDialog()) dialog->done(-99);
    });
    const int answer = AnswerDialog(call.owner, call.caption, call.message, call.buttons, call.icon,
                                    call.canCancel, call.helpIndex, call.helpPath);
    EXPECT_TRUE(ran);
    return answer;
  }
};

TEST_F(AnswerDialogTest, ButtonsAnswerWithTheirOneBasedNumber) {
  EXPECT_EQ(Run({}, [](QDialog* d) { QTest::mouseClick(ButtonsOf(d).at(1), Qt::LeftButton); }), 2);
  EXPECT_EQ(Run({}, [](QDialog* d) { QTest::mouseClick(ButtonsOf(d).at(0), Qt::LeftButton); }), 1);
  EXPECT_EQ(Run({}, [](QDialog* d) { ButtonsOf(d).at(2)->click(); }), 3);
}

TEST_F(AnswerDialogTest, EscapeAndCloseBoxDismissWhenCancellable) {
  EXPECT_EQ(Run({}, [](QDialog* d) { QTest::keyClick(ButtonsOf(d).at(1), Qt::Key_Escape); }), 0);
  EXPECT_EQ(Run({}, [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }), 0);
  EXPECT_EQ(Run({}, [](QDialog* d) { d->close(); }), 0);
}

TEST_F(AnswerDialogTest, WithoutCancelOnlyAButtonAnswers) {
  Call call;
  call.canCancel = false;
  bool stayedOpen = false;
  const int answer = Run(call, [&](QDialog* d) {
    const auto buttons = ButtonsOf(d);
    QTest::keyClick(buttons.at(0), Qt::Key_Escape);
    QTest::keyClick(d, Qt::Key_Escape);
    d->close();
    stayedOpen = d->isVisible() && OpenDialog() == d;
    QTest::mouseClick(buttons.at(2), Qt::LeftButton);
  });
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(answer, 3);
}

TEST_F(AnswerDialogTest, EmptyButtonListStillOffersAWayOut) {
  Call call;
  call.buttons = {};
  call.canCancel = false;
  QString caption;
  const int answer = Run(call, [&](QDialog* d) {
    const auto buttons = ButtonsOf(d);
    ASSERT_EQ(buttons.size(), 1u);
    caption = buttons[0]->text();
    buttons[0]->click();
  });
  EXPECT_EQ(caption, QStringLiteral("OK"));
  EXPECT_EQ(answer, 1);
}

TEST_F(AnswerDialogTest, WindowIsFixedOnTopAndTitledWithALeadingSpace) {
  for (const bool canCancel : {true, false}) {
    Call call;
    call.canCancel = canCancel;
    Run(call, [&](QDialog* d) {
      EXPECT_EQ(d->windowTitle(), QStringLiteral(" Question"));
      EXPECT_EQ(d->windowFlags().testFlag(Qt::WindowCloseButtonHint), canCancel);
      EXPECT_TRUE(d->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
      EXPECT_EQ(d->minimumSize(), d->maximumSize());
      EXPECT_EQ(d->size(), d->minimumSize());
      const auto* refTop = d->findChild<TRefTop*>();
      ASSERT_NE(refTop, nullptr);
      EXPECT_TRUE(refTop->isActive());
      EXPECT_EQ(refTop->interval(), 100);
      ButtonsOf(d).at(0)->click();
    });
  }
}

TEST_F(AnswerDialogTest, ButtonsFormAnEvenColumnWithTheFirstFocused) {
  Call call;
  call.buttons = {QStringLiteral("&OK"), QStringLiteral("Restore the &previous backup"),
                  QStringLiteral("&Cancel")};
  Run(call, [&](QDialog* d) {
    const auto buttons = ButtonsOf(d);
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(d->focusWidget(), buttons[0]);
    const QFontMetrics metrics(d->font());
    const int widest = metrics.size(Qt::TextShowMnemonic, call.buttons[1]).width();
    for (const TbtnAnswer* b : buttons) {
      EXPECT_EQ(b->size(), buttons[0]->size());
      EXPECT_EQ(b->width(), widest + 32);
      EXPECT_EQ(b->x(), buttons[0]->x());
      EXPECT_EQ(d->width() - b->geometry().right() - 1, 8);
    }
    EXPECT_EQ(buttons[1]->y() - buttons[0]->geometry().bottom() - 1, 8);
    EXPECT_EQ(d->height() - buttons[2]->geometry().bottom() - 1, 8);
    buttons[0]->click();
  });
}

TEST_F(AnswerDialogTest, KeyboardMovesAlongTheColumnAndPressesTheFocusedButton) {
  EXPECT_EQ(Run({}, [](QDialog* d) { QTest::keyClick(d->focusWidget(), Qt::Key_Return); }), 1);
  EXPECT_EQ(Run({}, [](QDialog* d) {
              QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
              EXPECT_EQ(d->focusWidget(), ButtonsOf(d).at(1));
              QTest::keyClick(d->focusWidget(), Qt::Key_Space);
            }),
            2);
  EXPECT_EQ(Run({}, [](QDialog* d) {
              ButtonsOf(d).at(2)->setFocus();
              QTest::keyClick(d->focusWidget(), Qt::Key_Enter);
            }),
            3);
}

TEST_F(AnswerDialogTest, SecondCallWhileOpenReturnsMinusOneAndLeavesTheFirstAlone) {
  int nested = 0;
  bool firstUndisturbed = false;
  const int answer = Run({}, [&](QDialog* d) {
    const int visibleBefore = VisibleWindows();
    nested = AnswerDialog(nullptr, QStringLiteral("Other"), QStringLiteral("Other question"),
                          {QStringLiteral("&OK")}, IconKind::Information);
    const int visibleAfter = VisibleWindows();
    firstUndisturbed = OpenDialog() == d && d->isVisible() && visibleAfter == visibleBefore;
    QTest::mouseClick(ButtonsOf(d).at(1), Qt::LeftButton);
  });
  EXPECT_EQ(nested, -1);
  EXPECT_TRUE(firstUndisturbed);
  EXPECT_EQ(answer, 2);
  // Once closed, the next call is shown again.
  EXPECT_EQ(Run({}, [](QDialog* d) { ButtonsOf(d).at(0)->click(); }), 1);
}

TEST_F(AnswerDialogTest, HelpButtonCallsTheHandlerAndKeepsTheDialogOpen) {
  QString helpedWith;
  QWidget* helpedDialog = nullptr;
  SetAnswerHelpHandler([&](QWidget* dialog, const QString& path) {
    helpedWith = path;
    helpedDialog = dialog;
  });
  Call call;
  call.buttons = {QStringLiteral("&OK"), QStringLiteral("&Help")};
  call.helpIndex = 2;
  call.helpPath = QStringLiteral("jubilora.chm::/editor.htm");
  bool stayedOpen = false;
  const int answer = Run(call, [&](QDialog* d) {
    QTest::mouseClick(ButtonsOf(d).at(1), Qt::LeftButton);
    stayedOpen = d->isVisible() && helpedDialog == d;
    ButtonsOf(d).at(0)->click();
  });
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(helpedWith, call.helpPath);
  EXPECT_EQ(answer, 1);
}

TEST_F(AnswerDialogTest, DefaultHelpReportsTheMissingViewerOverTheDialog) {
  Call call;
  call.buttons = {QStringLiteral("&Help"), QStringLiteral("&Close")};
  call.helpIndex = 1;
  QString reported;
  bool stayedOpen = false;
  const int answer = Run(call, [&](QDialog* d) {
    // The report is modal in turn; close it from inside its own loop.
    QTimer::singleShot(0, d, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        reported = box->text();
        box->button(QMessageBox::Ok)->click();
      }
    });
    QTest::mouseClick(ButtonsOf(d).at(0), Qt::LeftButton);
    stayedOpen = d->isVisible() && OpenDialog() == d;
    ButtonsOf(d).at(1)->click();
  });
  EXPECT_EQ(reported, QStringLiteral("The help viewer is not available yet."));
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(answer, 2);
}

TEST_F(AnswerDialogTest, MessageKeepsItsLinesAndFitsItsLabel) {
  for (const IconKind icon : {IconKind::Warning, IconKind::None}) {
    Call call;
    call.icon = icon;
    Run(call, [&](QDialog* d) {
      const auto* label = d->findChild<QLabel*>(QStringLiteral("labMessage"));
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(label->text(),
                QStringLiteral("Delete the selected record?\nThis cannot be undone."));
      EXPECT_EQ(label->x(), icon == IconKind::None ? 24 : 72);
      EXPECT_EQ(label->y(), 24);
      const QSize text = QFontMetrics(d->font()).size(0, label->text());
      EXPECT_GE(label->width(), text.width());
      EXPECT_GE(label->height(), text.height());
      EXPECT_TRUE(label->alignment().testFlag(Qt::AlignVCenter));
      const auto* image = d->findChild<QLabel*>(QStringLiteral("imgIcon"));
      if (icon == IconKind::None) {
        EXPECT_EQ(image, nullptr);
      } else {
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->geometry(), QRect(24, 24, 32, 32));
        EXPECT_FALSE(image->pixmap().isNull());
      }
      const auto* frame = d->findChild<QFrame*>(QStringLiteral("bvlFrame"));
      ASSERT_NE(frame, nullptr);
      EXPECT_EQ(frame->geometry().topLeft(), QPoint(8, 8));
      EXPECT_EQ(frame->geometry().right() - label->geometry().right(), 16);
      ButtonsOf(d).at(0)->click();
    });
  }
}

TEST_F(AnswerDialogTest, DialogIsCentredOverItsOwner) {
  QWidget owner;
  owner.setGeometry(200, 150, 640, 480);
  owner.show();
  Call call;
  call.owner = &owner;
  Run(call, [&](QDialog* d) {
    const QPoint offset = d->geometry().center() - owner.geometry().center();
    EXPECT_LE(offset.manhattanLength(), 1);
    ButtonsOf(d).at(0)->click();
  });

  // Over a window at the screen's corner its content still shows whole.
  const QRect area = owner.screen()->availableGeometry();
  owner.setGeometry(area.right() - 100, area.bottom() - 80, 300, 200);
  Run(call, [&](QDialog* d) {
    EXPECT_TRUE(area.contains(d->geometry()));
    ButtonsOf(d).at(0)->click();
  });
}

}  // namespace
}  // namespace jubilora
