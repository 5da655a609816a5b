#include "online/help.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

#include "data/program_paths.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"
#include "ui/answer_dialog.h"
#include "ui/error_report.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteBytes;

struct Launch {
  QString program;
  QStringList arguments;
  QString workingFolder;
};

// Every test gets a launcher that records instead of starting, and error reports that are
// collected instead of shown.
class RunHelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    SetHelpLauncher([this](const QString& program, const QStringList& arguments, const QString& folder, QString&) {
      launches.push_back({program, arguments, folder});
      return true;
    });
    SetErrorReportPresenter([this](QWidget* owner, const QString& text) { reports.push_back({owner, text}); });
  }
  void TearDown() override {
    SetHelpLauncher({});
    SetErrorReportPresenter({});
    SetAnswerHelpHandler({});
  }

  static QString Text(const fs::path& path) { return QString::fromStdString(path.string()); }

  std::vector<Launch> launches;
  std::vector<std::pair<QWidget*, QString>> reports;  // owner and text
};

// Changes the current folder for one scope.
class CurrentFolder {
 public:
  explicit CurrentFolder(const fs::path& folder) : previous_(fs::current_path()) { fs::current_path(folder); }
  ~CurrentFolder() { fs::current_path(previous_); }

 private:
  fs::path previous_;
};

TEST_F(RunHelpTest, F1StartsTheViewerWithTheHelpFileBesideTheProgramFromAnyFolder) {
  TempDir install;
  TempDir elsewhere;
  const ProgramPaths paths = DerivePaths(install / "jubilora", [](const std::string&) { return std::nullopt; });
  WriteBytes(paths.help, "ITSF");
  WriteBytes(elsewhere / "jubilora.chm", "a help file of the same name in the current folder");

  CurrentFolder inElsewhere(elsewhere.path());
  EXPECT_TRUE(RunHelp(nullptr, paths.help));
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].program, "xchm");
  EXPECT_EQ(launches[0].arguments, QStringList{Text(install / "jubilora.chm")});
  EXPECT_EQ(launches[0].workingFolder, Text(install.path()));
}

TEST_F(RunHelpTest, AMissingHelpFileIsReportedAndNoViewerStarts) {
  TempDir dir;
  QWidget owner;
  EXPECT_FALSE(RunHelp(&owner, dir / "jubilora.chm"));
  // A folder of that name is no help file either.
  fs::create_directories(dir / "folder.chm");
  EXPECT_FALSE(RunHelp(&owner, dir / "folder.chm"));
  EXPECT_TRUE(launches.empty());
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].first, &owner);
  EXPECT_EQ(reports[1].second, "The help file " + Text(dir / "folder.chm") + " was not found.");
}

TEST_F(RunHelpTest, AViewerThatCannotStartIsReportedWithTheSystemsReason) {
  SetHelpLauncher({});  // the real launcher
  TempDir dir;
  WriteBytes(dir / "jubilora.chm", "ITSF");
  EXPECT_FALSE(RunHelp(nullptr, dir / "jubilora.chm", "jubilora-test-no-such-viewer"));
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].second,
            "The help viewer jubilora-test-no-such-viewer could not be started: No such file or directory.");

}

TEST_F(RunHelpTest, TheRealLauncherHandsOverAPathWithBlanksAndQuotesAsOneArgument) {
  SetHelpLauncher({});
  TempDir dir;
  const fs::path help = dir / "My \"Help\" Files" / "jubilora.chm";
  fs::create_directories(help.parent_path());
  WriteBytes(help, "ITSF");
  const fs::path seen = dir / "seen.txt";
  const fs::path viewer = dir / "viewer";
  // Written aside and renamed so that the test never reads half a file.
  WriteBytes(viewer, "#!/bin/sh\n{ printf '%s\\n' \"$#\" \"$1\"; pwd; } > '" + seen.string() + ".part'\nmv '" +
                         seen.string() + ".part' '" + seen.string() + "'\n");
  ASSERT_EQ(chmod(viewer.c_str(), 0755), 0);

  EXPECT_TRUE(RunHelp(nullptr, help, Text(viewer)));
  EXPECT_TRUE(reports.empty());
  for (int i = 0; i < 200 && !fs::exists(seen); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  ASSERT_TRUE(fs::exists(seen));
  EXPECT_EQ(test::ReadBytes(seen), "1\n" + help.string() + "\n" + help.parent_path().string() + "\n");
}

TEST_F(RunHelpTest, TheAnswerDialogsHelpButtonOpensItsHelpPathAndStaysOpen) {
  InstallAnswerDialogHelp();
  TempDir dir;
  WriteBytes(dir / "jubilora.chm", "ITSF");
  bool stayedOpen = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    dialog->findChild<QPushButton*>("btnAnswer1")->click();
    stayedOpen = dialog->isVisible();
    dialog->findChild<QPushButton*>("btnAnswer2")->click();
  });
  const int answer = AnswerDialog(nullptr, "Question", "Read the help?", {"&Help", "&Close"}, IconKind::Question,
                                  true, 1, Text(dir / "jubilora.chm"));
  EXPECT_EQ(answer, 2);
  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].arguments, QStringList{Text(dir / "jubilora.chm")});
}

}  // namespace
}  // namespace jubilora
