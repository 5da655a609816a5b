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

// Shows the box modally and lets `act` do something with it once it is up; a box left open
// ends with -5.
int RunModal(TfrmAbout& box, const std::function<void(QPushButton* ok, QPushButton* help)>& act) {
  const auto button = [&box](const char* name) { return box.findChild<QPushButton*>(name); };
  QTimer::singleShot(0, &box, [&] { act(button("btnOK"), button("btnHelp")); });
  QTimer::singleShot(2000, &box, [&box] { box.done(-5); });
  return box.exec();
}

// Enter acts as OK and Escape dismisses, from either button; OK has the focus at every show.
// Help opens the help and closes the box, unless the help could not be opened. The picture is
// named for a screen reader.
TEST(AboutBox, KeysAndHelp) {
  test::TestApplication();
  bool helpOpens = false;
  int helpCalls = 0;
  TfrmAbout box(nullptr, [&] { return ++helpCalls, helpOpens; });
  EXPECT_FALSE(box.findChild<QFrame*>("ivPicture")->accessibleName().isEmpty());
  for (const bool onHelp : {false, true}) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
      const int result = RunModal(box, [&](QPushButton* ok, QPushButton* help) {
        EXPECT_EQ(box.focusWidget(), ok);
        (onHelp ? help : ok)->setFocus();
        QTest::keyClick(box.focusWidget(), key);
      });
      EXPECT_EQ(result, key == Qt::Key_Return ? QDialog::Accepted : QDialog::Rejected) << onHelp << ' ' << key;
    }
  }
  EXPECT_EQ(helpCalls, 0);
  for (const bool opens : {true, false}) {
    helpOpens = opens;
    const int result = RunModal(box, [&](QPushButton*, QPushButton* help) {
      help->click();
      if (box.isVisible()) box.done(-5);
    });
    EXPECT_EQ(result, opens ? QDialog::Accepted : -5);
  }
  EXPECT_EQ(helpCalls, 2);
}

}  // namespace
}  // namespace jubilora
