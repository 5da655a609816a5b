#include "online/help.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include <QApplication>
#include <QFrame>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include "online/about_box.h"
#include "online/links.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"
#include "ui/answer_dialog.h"
#include "ui/error_report.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

// A browser that records what it was asked to show, and error reports collected instead of shown.
class HelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetErrorReportPresenter([this](QWidget* owner, const QString& text) { reports.push_back({owner, text}); });
  }
  void TearDown() override {
    SetErrorReportPresenter({});
    SetAnswerHelpHandler({});
  }

  QApplication& app = test::TestApplication();
  bool browserWorks = true;
  std::vector<QUrl> opened;
  UrlOpener browser = [this](const QUrl& url) { return opened.push_back(url), browserWorks; };
  std::vector<std::pair<QWidget*, QString>> reports;  // owner and text
  test::TempDir dir;
};

// A page opens as a file address that leads back to it, blanks, '#' and '%' in the folder
// surviving, a relative page found from the current folder. A missing page, a folder, or a
// browser that does not start is reported over the owner, naming the page.
TEST_F(HelpTest, APageOpensAsAFileUrlThatLeadsBackToItOrIsReportedByName) {
  QWidget owner;
  const fs::path folder = dir / "My #1 100% help";
  fs::create_directories(folder / "folder.html");
  test::WriteBytes(folder / "index.html", "<html></html>");
  const fs::path previous = fs::current_path();
  fs::current_path(folder);
  for (const auto& [page, works] : {std::pair{fs::path("index.html"), true}, {folder / "missing.html", true},
                                    {folder / "folder.html", true}, {folder / "index.html", false}}) {
    const bool shown = page == "index.html";
    browserWorks = works;
    opened.clear();
    reports.clear();
    EXPECT_EQ(RunHelp(&owner, page, browser), shown);
    ASSERT_EQ(reports.size(), shown ? 0u : 1u);
    ASSERT_EQ(opened.size(), works ? std::size_t(shown) : 1u);
    if (shown) {
      EXPECT_EQ(opened[0].toLocalFile().toStdString(), (folder / page).string());
    } else {
      EXPECT_EQ(reports[0].first, &owner);
      EXPECT_TRUE(reports[0].second.contains(QString::fromStdString(page.string())));
    }
  }
  fs::current_path(previous);
}

TEST_F(HelpTest, TheAnswerDialogsHelpButtonOpensItsPage) {
  InstallAnswerDialogHelp(browser);
  const fs::path page = dir / "backup.html";
  test::WriteBytes(page, "<html></html>");
  SetAnswerHelpHandler({})(nullptr, QString::fromStdString(page.string()));
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].toLocalFile().toStdString(), page.string());
}

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

// The mail program gets the address, the whole subject and an empty body, its blanks encoded.
TEST(MailLinks, ReachTheMailProgramWithTheirSubjectIntact) {
  QList<QUrl> opened;
  OpenUrl(BugMailUrl(), [&opened](const QUrl& url) { return opened.append(url), true; });
  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(opened[0].scheme() + ':' + opened[0].path(), QStringLiteral("mailto:") + BugAddress);
  EXPECT_FALSE(opened[0].toEncoded().contains(' '));
  EXPECT_EQ(QUrlQuery(opened[0]).queryItemValue("Subject", QUrl::FullyDecoded), "Bug in Jubilora");
  EXPECT_TRUE(QUrlQuery(opened[0]).hasQueryItem("Body"));
}

}  // namespace
}  // namespace jubilora
