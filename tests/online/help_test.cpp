#include "online/help.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "support/qt_app.h"
#include "support/temp_dir.h"
#include "ui/answer_dialog.h"
#include "ui/error_report.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// A browser that records what it was asked to show, and error reports collected instead of shown.
class HelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    SetErrorReportPresenter([this](QWidget* owner, const QString& text) { reports.push_back({owner, text}); });
  }
  void TearDown() override {
    SetErrorReportPresenter({});
    SetAnswerHelpHandler({});
  }

  UrlOpener browser = [this](const QUrl& url) {
    opened.push_back(url);
    return browserWorks;
  };
  bool browserWorks = true;
  std::vector<QUrl> opened;
  std::vector<std::pair<QWidget*, QString>> reports;  // owner and text
  TempDir dir;
};

TEST_F(HelpTest, APageOpensAsAFileUrlThatLeadsBackToIt) {
  // Blanks, '#' and '%' in the folder must survive the trip through a URL.
  const fs::path page = dir / "My #1 100% help" / "index.html";
  fs::create_directories(page.parent_path());
  test::WriteBytes(page, "<html></html>");
  const fs::path previous = fs::current_path();
  fs::current_path(page.parent_path());
  const bool shown = RunHelp(nullptr, "index.html", browser);
  fs::current_path(previous);

  EXPECT_TRUE(shown);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].scheme(), "file");
  EXPECT_EQ(opened[0].toLocalFile().toStdString(), page.string());
  EXPECT_TRUE(reports.empty());
}

TEST_F(HelpTest, AMissingPageOrABrowserThatFailsIsReportedNamingThePage) {
  QWidget owner;
  fs::create_directories(dir / "folder.html");  // a folder is no page either
  for (const fs::path& page : {dir / "missing.html", dir / "folder.html"}) {
    EXPECT_FALSE(RunHelp(&owner, page, browser));
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back().first, &owner);
    EXPECT_TRUE(reports.back().second.contains(QString::fromStdString(page.string()))) << reports.back().second.toStdString();
  }
  EXPECT_TRUE(opened.empty());

  test::WriteBytes(dir / "index.html", "<html></html>");
  browserWorks = false;
  EXPECT_FALSE(RunHelp(&owner, dir / "index.html", browser));
  EXPECT_EQ(reports.size(), 3u);
}

TEST_F(HelpTest, TheAnswerDialogsHelpButtonOpensItsPageAndStaysOpen) {
  InstallAnswerDialogHelp(browser);
  const fs::path page = dir / "backup.html";
  test::WriteBytes(page, "<html></html>");
  bool stayedOpen = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    dialog->findChild<QPushButton*>("btnAnswer1")->click();
    stayedOpen = dialog->isVisible();
    dialog->findChild<QPushButton*>("btnAnswer2")->click();
  });
  const int answer = AnswerDialog(nullptr, "Question", "Read the help?", {"&Help", "&Close"}, IconKind::Question,
                                  true, 1, QString::fromStdString(page.string()));
  EXPECT_EQ(answer, 2);
  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].toLocalFile().toStdString(), page.string());
}

}  // namespace
}  // namespace jubilora
