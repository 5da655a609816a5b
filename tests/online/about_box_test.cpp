// The about box: its keys, its help button, and its texts at two font sizes.

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

// Shows the box modally and lets `act` do something with it once it is up.
// A box left open would hang the test, so it is closed with -5 after a while.
int RunModal(TfrmAbout& box, const std::function<void()>& act) {
  QTimer::singleShot(0, &box, act);
  QTimer::singleShot(2000, &box, [&box] { box.done(-5); });
  return box.exec();
}

QPushButton* Button(const TfrmAbout& box, const char* name) { return box.findChild<QPushButton*>(name); }

// Enter acts as OK and Escape dismisses, from either button; OK has the focus at every show.
// Help, were it pressed, would keep the box open.
TEST(AboutBox, EnterOrEscapeClosesItFromEitherButton) {
  test::TestApplication();
  TfrmAbout box(nullptr, [] { return false; });
  for (const char* button : {"btnOK", "btnHelp"}) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
      bool focusOnOK = false;
      const int result = RunModal(box, [&] {
        focusOnOK = box.focusWidget() == Button(box, "btnOK");
        Button(box, button)->setFocus();
        QTest::keyClick(Button(box, button), key);
      });
      EXPECT_EQ(result, key == Qt::Key_Return ? QDialog::Accepted : QDialog::Rejected) << button << ' ' << key;
      EXPECT_TRUE(focusOnOK);
    }
  }
}

TEST(AboutBox, HelpClosesTheBoxOnlyWhenTheHelpOpened) {
  test::TestApplication();
  for (const bool opened : {true, false}) {
    int calls = 0;
    TfrmAbout box(nullptr, [&calls, opened] {
      ++calls;
      return opened;
    });
    const int result = RunModal(box, [&box] {
      Button(box, "btnHelp")->click();
      if (box.isVisible()) box.done(-5);
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(result, opened ? QDialog::Accepted : -5) << "help opened: " << opened;
  }
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
    RunModal(box, [&] {
      if (font == defaultFont) {
        EXPECT_EQ(box.size(), QSize(560, 350));
      }
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
