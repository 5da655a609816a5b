#include "ui/answer_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "support/qt_app.h"

namespace jubilora {
namespace {

QDialog* OpenDialog() { return qobject_cast<QDialog*>(QApplication::activeModalWidget()); }

// Top to bottom.
std::vector<TbtnAnswer*> ButtonsOf(QWidget* dialog) {
  std::vector<TbtnAnswer*> buttons;
  for (TbtnAnswer* b : dialog->findChildren<TbtnAnswer*>()) buttons.push_back(b);
  std::sort(buttons.begin(), buttons.end(), [](const TbtnAnswer* a, const TbtnAnswer* b) { return a->y() < b->y(); });
  return buttons;
}

struct Call {
  QWidget* owner = nullptr;
  QString caption = QStringLiteral("Question");
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
    const int answer = AnswerDialog(call.owner, call.caption, call.message, call.buttons, call.icon, call.canCancel,
                                    call.helpIndex, {});
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
  EXPECT_EQ(Run([](QDialog* d) { QTest::keyClick(d->focusWidget(), Qt::Key_Return); }), 1);
  EXPECT_EQ(Run([](QDialog* d) {
              QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
              QTest::keyClick(d->focusWidget(), Qt::Key_Space);
            }),
            2);
  EXPECT_EQ(Run([](QDialog* d) {
              QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
              QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
              QTest::keyClick(d->focusWidget(), Qt::Key_Enter);
            }),
            3);
}

// Escape and the close box give 0 when the dialog may be cancelled; otherwise only a button answers.
TEST_F(AnswerDialogTest, EscapeAndTheCloseBoxCancelOnlyWhenAllowed) {
  const std::vector<std::pair<const char*, Script>> dismissals{
      {"Escape on a button", [](QDialog* d) { QTest::keyClick(ButtonsOf(d).at(1), Qt::Key_Escape); }},
      {"Escape on the dialog", [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }},
      {"close box", [](QDialog* d) { d->close(); }},
  };
  for (const auto& [how, dismiss] : dismissals) {
    SCOPED_TRACE(how);
    EXPECT_EQ(Run(dismiss), 0);
    Call call;
    call.canCancel = false;
    bool stayedOpen = false;
    EXPECT_EQ(Run(call, [&](QDialog* d) {
                dismiss(d);
                stayedOpen = d->isVisible() && OpenDialog() == d;
                ButtonsOf(d).at(2)->click();
              }),
              3);
    EXPECT_TRUE(stayedOpen);
  }
}

TEST_F(AnswerDialogTest, EmptyButtonListStillOffersAWayOut) {
  Call call;
  call.buttons = {};
  call.canCancel = false;
  QStringList captions;
  EXPECT_EQ(Run(call, [&](QDialog* d) {
              for (TbtnAnswer* b : ButtonsOf(d)) captions << b->text();
              ButtonsOf(d).at(0)->click();
            }),
            1);
  EXPECT_EQ(captions, QStringList{QStringLiteral("OK")});
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

// The title has a leading space; the close box is offered only when the dialog may be
// cancelled. The layout's arithmetic has its own tests; here the window shows the call's texts.
TEST_F(AnswerDialogTest, FixedOnTopWindowShowsTheTitleMessageIconAndButtons) {
  for (const bool canCancel : {true, false}) {
    Call call;
    call.canCancel = canCancel;
    call.icon = canCancel ? IconKind::Warning : IconKind::None;
    Run(call, [&](QDialog* d) {
      EXPECT_EQ(d->windowTitle(), QStringLiteral(" Question"));
      EXPECT_EQ(d->windowFlags().testFlag(Qt::WindowCloseButtonHint), canCancel);
      EXPECT_TRUE(d->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
      EXPECT_EQ(d->minimumSize(), d->maximumSize());
      const auto* refTop = d->findChild<TRefTop*>();
      EXPECT_TRUE(refTop != nullptr && refTop->isActive() && refTop->interval() == 100);
      const auto* label = d->findChild<QLabel*>(QStringLiteral("labMessage"));
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(label->text(), QStringLiteral("Delete the selected record?\nThis cannot be undone."));
      const auto* image = d->findChild<QLabel*>(QStringLiteral("imgIcon"));
      EXPECT_EQ(image != nullptr && !image->pixmap().isNull(), call.icon != IconKind::None);
      QStringList captions;
      for (const TbtnAnswer* b : ButtonsOf(d)) captions << b->text();
      EXPECT_EQ(captions, call.buttons);
      ButtonsOf(d).at(0)->click();
    });
  }
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
  EXPECT_EQ(reported, QStringLiteral("No help viewer is set up."));
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(answer, 2);
}

// Centred over its owner; over a window at the screen's corner its content still shows whole.
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
