#include "online/help.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include <QApplication>
#include <QUrl>

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

// Blanks, '#' and '%' in the folder survive the trip through the address; a relative page is
// found from the current folder.
TEST_F(HelpTest, APageOpensAsAFileUrlThatLeadsBackToIt) {
  const fs::path page = dir / "My #1 100% help" / "index.html";
  fs::create_directories(page.parent_path());
  test::WriteBytes(page, "<html></html>");
  const fs::path previous = fs::current_path();
  fs::current_path(page.parent_path());
  EXPECT_TRUE(RunHelp(nullptr, "index.html", browser));
  fs::current_path(previous);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].toLocalFile().toStdString(), page.string());
  EXPECT_TRUE(reports.empty());
}

// A missing page, a folder, or a browser that does not start: reported over the owner, naming the page.
TEST_F(HelpTest, WhatCannotBeShownIsReportedNamingThePage) {
  QWidget owner;
  fs::create_directories(dir / "folder.html");
  test::WriteBytes(dir / "index.html", "<html></html>");
  for (const auto& [page, works] : {std::pair{dir / "missing.html", true}, {dir / "folder.html", true},
                                    {dir / "index.html", false}}) {
    browserWorks = works;
    reports.clear();
    EXPECT_FALSE(RunHelp(&owner, page, browser));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].first, &owner);
    EXPECT_TRUE(reports[0].second.contains(QString::fromStdString(page.string()))) << reports[0].second.toStdString();
  }
  EXPECT_EQ(opened.size(), 1u);
}

TEST_F(HelpTest, TheAnswerDialogsHelpButtonOpensItsPage) {
  InstallAnswerDialogHelp(browser);
  const fs::path page = dir / "backup.html";
  test::WriteBytes(page, "<html></html>");
  SetAnswerHelpHandler({})(nullptr, QString::fromStdString(page.string()));
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].toLocalFile().toStdString(), page.string());
}

}  // namespace
}  // namespace jubilora
