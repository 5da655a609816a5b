#include "online/about_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "support/qt_app.h"

namespace jubilora {
namespace {

// Enter acts as OK and Escape dismisses, from either button; OK has the focus at every show.
// Help opens the help and closes the box, unless the help could not be opened (a box left
// open ends with -5). The picture is named for a screen reader.
TEST(AboutBox, KeysAndHelp) {
  test::TestApplication();
  bool helpOpens = false;
  int helpCalls = 0;
  TfrmAbout box(nullptr, [&] { return ++helpCalls, helpOpens; });
  EXPECT_FALSE(box.findChild<QFrame*>("ivPicture")->accessibleName().isEmpty());
  const auto ok = box.findChild<QPushButton*>("btnOK"), help = box.findChild<QPushButton*>("btnHelp");
  const struct {
    QPushButton* on;
    Qt::Key key;  // none: a click on Help
    bool helpOpens;
    int result;
  } cases[] = {{ok, Qt::Key_Return, false, QDialog::Accepted}, {help, Qt::Key_Return, false, QDialog::Accepted},
               {ok, Qt::Key_Escape, false, QDialog::Rejected}, {help, Qt::Key_Escape, false, QDialog::Rejected},
               {help, Qt::Key_unknown, true, QDialog::Accepted}, {help, Qt::Key_unknown, false, -5}};
  for (const auto& c : cases) {
    helpOpens = c.helpOpens;
    QTimer::singleShot(0, &box, [&] {
      EXPECT_EQ(box.focusWidget(), ok);
      c.on->setFocus();
      c.key == Qt::Key_unknown ? c.on->click() : QTest::keyClick(c.on, c.key);
      if (box.isVisible()) box.done(-5);
    });
    EXPECT_EQ(box.exec(), c.result) << c.key << ' ' << c.helpOpens;
  }
  EXPECT_EQ(helpCalls, 2);
}

}  // namespace
}  // namespace jubilora
