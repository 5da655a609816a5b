#include "online/about_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "support/qt_app.h"
#include "support/qt_fit.h"

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
// Help opens the help and closes the box, unless the help could not be opened.
TEST(AboutBox, KeysAndHelp) {
  test::TestApplication();
  bool helpOpens = false;
  int helpCalls = 0;
  TfrmAbout box(nullptr, [&] { return ++helpCalls, helpOpens; });
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

// 560 x 350 at the default font; a larger font grows the box instead of clipping its texts.
TEST(AboutBox, TextsFitBesideTheNamedPictureAtAnyFontSize) {
  test::TestApplication();
  const QFont defaultFont = QApplication::font();
  QFont large = defaultFont;
  large.setPointSize(14);
  for (const QFont& font : {defaultFont, large}) {
    QApplication::setFont(font);
    TfrmAbout box(nullptr, [] { return true; });
    RunModal(box, [&](QPushButton*, QPushButton*) {
      EXPECT_TRUE(font != defaultFont || box.size() == QSize(560, 350));
      EXPECT_EQ(test::TextsThatDoNotFit(box), std::vector<std::string>{}) << font.toString().toStdString();
      const auto* picture = box.findChild<QFrame*>("ivPicture");
      ASSERT_NE(picture, nullptr);
      EXPECT_FALSE(picture->accessibleName().isEmpty());
      EXPECT_TRUE(box.rect().contains(picture->geometry()));
      box.accept();
    });
  }
  QApplication::setFont(defaultFont);
}

}  // namespace
}  // namespace jubilora
