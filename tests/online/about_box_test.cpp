// The about box: its texts, its keys and its help button.

#include "online/about_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "support/qt_app.h"

namespace jubilora {
namespace {

// Shows the box modally and lets `act` do something with it once it is up.
// A box left open would hang the test, so it is closed with -5 after a while.
int RunModal(TfrmAbout& box, const std::function<void()>& act) {
  QTimer::singleShot(0, &box, act);
  QTimer::singleShot(500, &box, [&box] { box.done(-5); });
  return box.exec();
}

QStringList LabelTexts(const TfrmAbout& box) {
  QStringList texts;
  for (const QLabel* label : box.findChildren<QLabel*>())
    if (!label->text().isEmpty()) texts << label->text();
  return texts;
}

TEST(AboutBox, ShowsNameVersionAndInstructionsBesideThePicture) {
  test::TestApplication();
  TfrmAbout box(nullptr, [] { return true; });
  EXPECT_EQ(box.windowTitle(), "About...");
  RunModal(box, [&box] {
    EXPECT_EQ(box.size(), QSize(TfrmAbout::ClientWidth, TfrmAbout::ClientHeight));
    const QStringList texts = LabelTexts(box);
    EXPECT_TRUE(texts.contains("Jubilora"));
    EXPECT_TRUE(texts.contains("Version: 3.22"));
    // The text stays clear of the picture panel, whatever face stands in for Tahoma.
    for (const QLabel* label : box.findChildren<QLabel*>()) {
      if (label->text().startsWith("Brief instructions:")) {
        EXPECT_LT(label->geometry().right(), 376);
      }
    }
    EXPECT_EQ(box.focusWidget(), box.findChild<QPushButton*>("btnOK"));
    box.accept();
  });
}

TEST(AboutBox, EnterOrEscapeClosesItFromEitherButton) {
  test::TestApplication();
  TfrmAbout box(nullptr, [] { return true; });
  for (const char* button : {"btnOK", "btnHelp"}) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
      const int result = RunModal(box, [&box, button, key] {
        QTest::keyClick(box.findChild<QPushButton*>(button), key);
      });
      EXPECT_EQ(result, QDialog::Accepted) << button << ' ' << key;
    }
  }
}

TEST(AboutBox, HelpClosesTheBoxOnlyWhenTheViewerStarted) {
  test::TestApplication();
  for (const bool started : {true, false}) {
    int calls = 0;
    TfrmAbout box(nullptr, [&calls, started] {
      ++calls;
      return started;
    });
    const int result = RunModal(box, [&box] { box.findChild<QPushButton*>("btnHelp")->click(); });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(result, started ? QDialog::Accepted : -5) << "viewer started: " << started;
  }
}

}  // namespace
}  // namespace jubilora
