#include "online/help.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include <QApplication>
#include <QWidget>
#include <QUrl>

#include "support/qt_app.h"
#include "support/temp_dir.h"
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

}  // namespace
}  // namespace jubilora
