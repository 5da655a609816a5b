#include "ui/answer_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>

#include "support/qt_app.h"
#include "support/qt_modal.h"

namespace jubilora {
namespace {

// In the column's order, top to bottom.
std::vector<QPushButton*> ButtonsOf(QWidget* dialog) {
  std::vector<QPushButton*> buttons;
  for (int i = 1; auto* b = dialog->findChild<QPushButton*>(QStringLiteral("btnAnswer%1").arg(i)); ++i)
    buttons.push_back(b);
  return buttons;
}

struct Call {
  QStringList buttons{"&Yes", "&No", "&Cancel"};
  QString message = "Delete the selected record?\r\nThis cannot be undone.";
  bool canCancel = true;
};

// Opens the dialog and runs `script` on it once its loop runs.
int Ask(const Call& call, const std::function<void(QDialog*)>& script) {
  test::TestApplication();
  return test::WhileModal([&](QWidget* dialog) { script(qobject_cast<QDialog*>(dialog)); }, [&] {
    return AnswerDialog(nullptr, QStringLiteral("Question"), call.message, call.buttons, IconKind::Question,
                        call.canCancel);
  });
}

void Type(QDialog* dialog, const std::vector<Qt::Key>& keys) {
  for (Qt::Key key : keys) QTest::keyClick(dialog->focusWidget(), key);
}

// The first button has the focus, Tab moves down the column, Return, Enter and Space press the
// focused one; Escape and the close box give 0, unless the call cannot be cancelled: then only
// a button answers, and a call without buttons still gets one.
TEST(AnswerDialog, ButtonsAnswerWithTheirNumberAndEscapeOrCloseWithZero) {
  const std::vector<std::pair<std::vector<Qt::Key>, int>> typed{
      {{Qt::Key_Return}, 1}, {{Qt::Key_Tab, Qt::Key_Space}, 2}, {{Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Enter}, 3},
      {{Qt::Key_Tab, Qt::Key_Escape}, 0}};
  for (const auto& [keys, answer] : typed) EXPECT_EQ(Ask({}, [&](QDialog* d) { Type(d, keys); }), answer);
  EXPECT_EQ(Ask({}, [](QDialog* d) { d->close(); }), 0);
  EXPECT_EQ(Ask({.buttons = {}, .canCancel = false},
                [](QDialog* d) {
                  Type(d, {Qt::Key_Escape});
                  d->close();
                  EXPECT_TRUE(d->isVisible() && !d->windowFlags().testFlag(Qt::WindowCloseButtonHint));
                  ButtonsOf(d).at(0)->click();
                }),
            1);
}

// A call from a timer while a dialog is open returns -1 and leaves the open one alone.
TEST(AnswerDialog, ReentryIsRefused) {
  EXPECT_EQ(Ask({},
                [](QDialog* d) {
                  EXPECT_EQ(AnswerDialog(nullptr, "Other", "?", {"OK"}, IconKind::Information), -1);
                  EXPECT_TRUE(QApplication::activeModalWidget() == d && d->isVisible());
                  ButtonsOf(d).at(1)->click();
                }),
            2);
}

}  // namespace
}  // namespace jubilora
