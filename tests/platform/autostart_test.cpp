#include "platform/autostart.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "platform/autostart_logic.h"
#include "support/fake_ui.h"
#include "support/privileges.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
using test::FakeUi;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;
using Words = std::vector<std::string>;

// A file's lines, without their ends.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

std::string ExecLineOf(const fs::path& file) {
  for (const auto& line : Lines(ReadBytes(file)))
    if (line.rfind("Exec=", 0) == 0) return line;
  return {};
}

std::string HandWrittenEntry(const std::string& exec) {
  return "[Desktop Entry]\nType=Application\nName=Jubilora\nExec=" + exec + "\n";
}

// --- The Desktop Entry rules -------------------------------------------------------------

TEST(DesktopEntryExec, QuotesTheProgramAndLeavesAPlainSwitchBare) {
  EXPECT_EQ(ExecCommandLine({"/usr/bin/jubilora", "/autorun"}), "\"/usr/bin/jubilora\" /autorun");
  EXPECT_EQ(ExecCommandLine({"/opt/x/jubilora", "two words"}), "\"/opt/x/jubilora\" \"two words\"");
}

TEST(DesktopEntryExec, EscapesBothLayersForEveryReservedCharacter) {
  const Words command{"/opt/my \"x\" $y\\z `w` 50%/jubilora", "/autorun"};
  // Command-line layer: \" \$ \\ \` inside the quotes, %% for a percent sign.
  const std::string line = ExecCommandLine(command);
  EXPECT_EQ(line, R"("/opt/my \"x\" \$y\\z \`w\` 50%%/jubilora" /autorun)");
  // String layer on top: every backslash doubled, so a literal backslash takes four.
  EXPECT_EQ(EscapeDesktopString(line), R"("/opt/my \\"x\\" \\$y\\\\z \\`w\\` 50%%/jubilora" /autorun)");
}

TEST(DesktopEntryExec, StringEscapesCoverLineBreaksTabsAndALeadingBlank) {
  EXPECT_EQ(EscapeDesktopString(" a\tb\nc\rd\\"), "\\sa\\tb\\nc\\rd\\\\");
  EXPECT_EQ(UnescapeDesktopString("\\sa\\tb\\nc\\rd\\\\"), " a\tb\nc\rd\\");
  // An escape the string layer does not know is left for the command-line layer.
  EXPECT_EQ(UnescapeDesktopString(R"("\$HOME")"), R"("\$HOME")");
}

TEST(DesktopEntryExec, EveryAwkwardPathSurvivesBothLayersBothWays) {
  const std::vector<std::string> programs{
      "/usr/bin/jubilora",
      "/home/ann/My Programs/jubilora",
      "/home/ann/\"quoted\"/jubilora",
      "/home/ann/it's/jubilora",
      "/home/ann/a\\b/c\\\\d/jubilora",
      "/home/ann/$HOME/`id`/jubilora",
      "/home/ann/100% sure/%f/%%/jubilora",
      "/home/ann/tab\there/new\nline/jubilora",
      " leading blank/jubilora",
      "/home/ann/;&|<>~*?#()=/jubilora",
      "/home/änn/Ünïcödé/jubilora",
  };
  for (const auto& program : programs) {
    const Words command{program, "/autorun"};
    const std::string stored = EscapeDesktopString(ExecCommandLine(command));
    EXPECT_EQ(stored.find('\n'), std::string::npos) << program;
    EXPECT_EQ(ExecWords(UnescapeDesktopString(stored)), command) << program << "\n  stored as " << stored;
  }
}

TEST(DesktopEntryExec, ReadsEntriesWrittenByHandOrByOtherTools) {
  EXPECT_EQ(ExecWords("/usr/bin/jubilora /autorun"), (Words{"/usr/bin/jubilora", "/autorun"}));
  EXPECT_EQ(ExecWords("  \"/a b/jubilora\"\t /autorun  "), (Words{"/a b/jubilora", "/autorun"}));
  // Field codes expand to nothing when no files are handed over; %% is a percent sign.
  EXPECT_EQ(ExecWords("/usr/bin/jubilora %U /autorun"), (Words{"/usr/bin/jubilora", "/autorun"}));
  EXPECT_EQ(ExecWords("\"/a/50%%\" /autorun"), (Words{"/a/50%", "/autorun"}));
  EXPECT_EQ(ExecWords("\"\" x"), (Words{"", "x"}));
  EXPECT_EQ(ExecWords(""), Words{});
}

TEST(DesktopEntryExec, BrokenQuotingIsNoCommand) {
  EXPECT_EQ(ExecWords("\"/usr/bin/jubilora /autorun"), std::nullopt);
  EXPECT_EQ(ExecWords("'/usr/bin/jubilora /autorun"), std::nullopt);
  EXPECT_EQ(ExecWords("\"/usr/bin/jubilora\\\" /autorun"), std::nullopt);
}

// --- Where the entry lives and what it holds ------------------------------------------------

TEST(XdgAutostartFolder, FollowsXdgConfigHomeAndFallsBackToHome) {
  auto env = [](std::map<std::string, std::string> values) {
    return [values](const std::string& name) -> std::optional<std::string> {
      const auto it = values.find(name);
      if (it == values.end()) return std::nullopt;
      return it->second;
    };
  };
  EXPECT_EQ(XdgAutostart::UserFolder(env({{"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/ann"}})),
            fs::path("/cfg/autostart"));
  EXPECT_EQ(XdgAutostart::UserFolder(env({{"HOME", "/home/ann"}})), fs::path("/home/ann/.config/autostart"));
  // An empty or relative XDG_CONFIG_HOME is not to be used.
  EXPECT_EQ(XdgAutostart::UserFolder(env({{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/ann"}})),
            fs::path("/home/ann/.config/autostart"));
  EXPECT_EQ(XdgAutostart::UserFolder(env({{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "/home/ann"}})),
            fs::path("/home/ann/.config/autostart"));
  EXPECT_EQ(XdgAutostart(fs::path("/cfg/autostart")).File(), fs::path("/cfg/autostart/Jubilora.desktop"));
}

TEST(XdgAutostartStore, WritesAValidEntryInAFolderItCreates) {
  TempDir dir;
  XdgAutostart store(dir / "config" / "autostart");
  EXPECT_FALSE(store.ValueExists());
  EXPECT_EQ(store.ReadValue(), std::nullopt);

  ASSERT_EQ(store.WriteValue({"/opt/jubilora/jubilora", "/autorun"}), std::nullopt);
  const auto lines = Lines(ReadBytes(store.File()));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "[Desktop Entry]");
  for (const char* line : {"Type=Application", "Name=Jubilora", "Exec=\"/opt/jubilora/jubilora\" /autorun"})
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  EXPECT_TRUE(store.ValueExists());
  EXPECT_EQ(store.ReadValue(), (Words{"/opt/jubilora/jubilora", "/autorun"}));
  // Written whole: no temporary file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "config" / "autostart"), fs::directory_iterator()), 1);
}

TEST(XdgAutostartStore, AnEntryTheDesktopSwitchedOffDoesNotCount) {
  TempDir dir;
  XdgAutostart store(dir.path());
  WriteBytes(store.File(), HandWrittenEntry("jubilora /autorun") + "Hidden=true\n");
  EXPECT_FALSE(store.ValueExists());
  WriteBytes(store.File(), HandWrittenEntry("jubilora /autorun") + "X-GNOME-Autostart-enabled=false\n");
  EXPECT_FALSE(store.ValueExists());
  WriteBytes(store.File(), HandWrittenEntry("jubilora /autorun") + "X-GNOME-Autostart-enabled=true\n");
  EXPECT_TRUE(store.ValueExists());
}

TEST(XdgAutostartStore, AnEntryThatStartsNothingUsableReadsAsAnEmptyCommand) {
  TempDir dir;
  XdgAutostart store(dir.path());
  for (const std::string& text :
       {std::string("not a desktop file at all\n"), std::string("[Desktop Entry]\nType=Link\nExec=jubilora\n"),
        std::string("[Desktop Entry]\nType=Application\nName=Jubilora\n"), HandWrittenEntry("\"/opt/jubilora")}) {
    WriteBytes(store.File(), text);
    EXPECT_TRUE(store.ValueExists()) << text;
    EXPECT_EQ(store.ReadValue(), Words{}) << text;
  }
  // Keys of other groups are not the entry's.
  WriteBytes(store.File(),
             "[Desktop Action x]\nExec=other\n[Desktop Entry]\nType=Application\nExec=jubilora /autorun\n");
  EXPECT_EQ(store.ReadValue(), (Words{"jubilora", "/autorun"}));
}

TEST(XdgAutostartStore, DeletingIsQuietWhenTheEntryIsAlreadyGone) {
  TempDir dir;
  XdgAutostart store(dir.path());
  ASSERT_EQ(store.WriteValue({"/a/jubilora", "/autorun"}), std::nullopt);
  EXPECT_EQ(store.DeleteValue(), std::nullopt);
  EXPECT_FALSE(fs::exists(store.File()));
  EXPECT_EQ(store.DeleteValue(), std::nullopt);
}

// --- The menu logic ------------------------------------------------------------------------

class AutostartLogic : public ::testing::Test {
 protected:
  TempDir dir;
  fs::path config = dir / "config";
  XdgAutostart store{config / "autostart"};
  fs::path program = dir / "bin" / "jubilora";
  FakeUi ui;

  AutostartMenuState On(bool onceADay) { return StartupAutostartMenu(true, onceADay); }
};

TEST_F(AutostartLogic, FirstShowOfTheFirstRunSwitchesOnWithoutAsking) {
  const AutostartMenuState before = StartupAutostartMenu(false, false);
  const AutostartMenuState after = FirstShowAutostart(before, true, false, store, program, ui);
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_TRUE(after.autostartChecked);
  EXPECT_EQ(after.autostartImage, 1);
  EXPECT_TRUE(after.onceADayEnabled);
  EXPECT_FALSE(after.onceADayChecked);
  EXPECT_EQ(ExecLineOf(store.File()), "Exec=\"" + program.string() + "\" /autorun");
  EXPECT_EQ(store.ReadValue(), (Words{program.string(), "/autorun"}));
}

TEST_F(AutostartLogic, FirstShowLeavesAutostartAloneOtherwise) {
  const AutostartMenuState off = StartupAutostartMenu(false, false);
  FirstShowAutostart(off, false, false, store, program, ui);  // not the first run
  FirstShowAutostart(off, true, true, store, program, ui);    // shown before (after a snooze)
  EXPECT_FALSE(fs::exists(store.File()));

  // Already on: the entry is not touched.
  fs::create_directories(config / "autostart");
  WriteBytes(store.File(), HandWrittenEntry("/elsewhere/jubilora /autorun"));
  FirstShowAutostart(On(false), true, false, store, program, ui);
  EXPECT_EQ(store.ReadValue(), (Words{"/elsewhere/jubilora", "/autorun"}));
  EXPECT_TRUE(ui.questions.empty());
}

TEST_F(AutostartLogic, AMovedProgramIsWrittenAnewAtStart) {
  ASSERT_EQ(store.WriteValue({"/old/place/jubilora", "/autorun"}), std::nullopt);
  EXPECT_TRUE(RefreshAutostart(store, program, ui));
  EXPECT_EQ(store.ReadValue(), (Words{program.string(), "/autorun"}));
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(AutostartLogic, AnEntryDifferingOnlyInLetterCaseIsLeftAlone) {
  fs::create_directories(config / "autostart");
  std::string upper = program.string();
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const std::string text = HandWrittenEntry("\"" + upper + "\" /AutoRun") + "# kept as it is\n";
  WriteBytes(store.File(), text);
  EXPECT_TRUE(RefreshAutostart(store, program, ui));
  EXPECT_EQ(ReadBytes(store.File()), text);
  // The same for switching on.
  const AutostartMenuState after = AutostartClick(StartupAutostartMenu(false, false), store, program, ui);
  EXPECT_TRUE(after.autostartChecked);
  EXPECT_EQ(ReadBytes(store.File()), text);
}

TEST_F(AutostartLogic, AProgramPathWithSpacesAndQuotesIsKeptAndNotRewrittenAgain) {
  program = dir / "My \"Best\" Programs" / "it's $here" / "jubilora";
  AutostartClick(StartupAutostartMenu(false, false), store, program, ui);
  EXPECT_EQ(store.ReadValue(), (Words{program.string(), "/autorun"}));
  const std::string written = ReadBytes(store.File());
  // The next start reads back the same path, so it does not write again.
  fs::remove(store.File());
  WriteBytes(store.File(), written);
  const auto stamp = fs::last_write_time(store.File());
  const auto inode = [&] {
    struct stat info {};
    stat(store.File().c_str(), &info);
    return info.st_ino;
  };
  const auto before = inode();
  EXPECT_TRUE(RefreshAutostart(store, program, ui));
  EXPECT_EQ(inode(), before);
  EXPECT_EQ(fs::last_write_time(store.File()), stamp);
}

TEST_F(AutostartLogic, SwitchingOffAsksAndOnlyTheSecondAnswerGoesOn) {
  ASSERT_EQ(store.WriteValue(AutostartCommand(program)), std::nullopt);
  const std::string text = ReadBytes(store.File());
  const AutostartMenuState on = On(true);
  for (int answer : {1, 0, -1}) {
    ui.answers = {answer};
    const AutostartMenuState after = AutostartClick(on, store, program, ui);
    EXPECT_EQ(after.autostartChecked, true) << answer;
    EXPECT_EQ(after.autostartImage, 1) << answer;
    EXPECT_EQ(after.onceADayChecked, true) << answer;
    EXPECT_EQ(after.onceADayEnabled, true) << answer;
    EXPECT_EQ(after.onceADayImage, 1) << answer;
    EXPECT_EQ(ReadBytes(store.File()), text) << answer;
  }
  ASSERT_EQ(ui.questions.size(), 3u);
  const test::AskedQuestion& asked = ui.questions.front();
  EXPECT_EQ(asked.caption, "Attention, please");
  EXPECT_EQ(asked.message,
            "If you turn \"Autostart with Windows\" option off,\r\n"
            "Jubilora will not display upcoming\r\n"
            "events every time you turn your computer on.\r\n"
            "\r\n"
            "This will make Jubilora quite useless. Are you\r\n"
            "sure you want to do this?");
  EXPECT_EQ(asked.buttons, (Words{"Oooops, &keep reminding me", "I &understand, but still want to turn it off"}));
  EXPECT_EQ(asked.icon, IconKind::Warning);
  EXPECT_FALSE(asked.canCancel);
}

TEST_F(AutostartLogic, OffThenOnLeavesOnceADayUncheckedButEnabled) {
  ASSERT_EQ(store.WriteValue(AutostartCommand(program)), std::nullopt);
  ui.answers = {2};
  const AutostartMenuState off = AutostartClick(On(true), store, program, ui);
  EXPECT_FALSE(off.autostartChecked);
  EXPECT_EQ(off.autostartImage, 0);
  EXPECT_FALSE(off.onceADayChecked);
  EXPECT_FALSE(off.onceADayEnabled);
  EXPECT_EQ(off.onceADayImage, 0);
  EXPECT_FALSE(fs::exists(store.File()));

  const AutostartMenuState on = AutostartClick(off, store, program, ui);
  EXPECT_EQ(ui.questions.size(), 1u);  // switching on asks nothing
  EXPECT_TRUE(on.autostartChecked);
  EXPECT_EQ(on.autostartImage, 1);
  EXPECT_FALSE(on.onceADayChecked);
  EXPECT_TRUE(on.onceADayEnabled);
  EXPECT_EQ(on.onceADayImage, 0);
  EXPECT_EQ(store.ReadValue(), AutostartCommand(program));
}

TEST_F(AutostartLogic, AnEntryDeletedWhileRunningShowsUncheckedAtTheNextStart) {
  ASSERT_EQ(store.WriteValue(AutostartCommand(program)), std::nullopt);
  ASSERT_TRUE(RefreshAutostart(store, program, ui));
  fs::remove(store.File());
  const bool on = RefreshAutostart(store, program, ui);
  EXPECT_FALSE(on);
  EXPECT_FALSE(fs::exists(store.File()));  // the start writes nothing
  const AutostartMenuState state = StartupAutostartMenu(on, true);
  EXPECT_FALSE(state.autostartChecked);
  EXPECT_EQ(state.autostartImage, 0);
  EXPECT_FALSE(state.onceADayEnabled);
  EXPECT_TRUE(state.onceADayChecked);  // the setting itself is kept
  EXPECT_EQ(state.onceADayImage, 0);
}

TEST_F(AutostartLogic, SwitchingOffWithTheEntryAlreadyGoneStillSwitchesTheMenuOff) {
  ui.answers = {2};
  const AutostartMenuState off = AutostartClick(On(false), store, program, ui);
  EXPECT_FALSE(off.autostartChecked);
  EXPECT_FALSE(off.onceADayEnabled);
  EXPECT_TRUE(ui.errors.empty());
}

TEST(AutostartMenu, StartupStateFollowsAutostartAndTheSetting) {
  const AutostartMenuState on = StartupAutostartMenu(true, true);
  EXPECT_TRUE(on.autostartChecked && on.onceADayChecked && on.onceADayEnabled);
  EXPECT_EQ(on.autostartImage, 1);
  EXPECT_EQ(on.onceADayImage, 1);
  const AutostartMenuState onPlain = StartupAutostartMenu(true, false);
  EXPECT_TRUE(onPlain.onceADayEnabled);
  EXPECT_EQ(onPlain.onceADayImage, 0);
  const AutostartMenuState off = StartupAutostartMenu(false, false);
  EXPECT_FALSE(off.autostartChecked || off.onceADayEnabled);
  EXPECT_EQ(off.autostartImage, 0);
}

TEST(AutostartMenu, OnceADayFlipsItsMarkAndImageOnly) {
  const AutostartMenuState on = StartupAutostartMenu(true, false);
  const AutostartMenuState once = OnceADayClick(on);
  EXPECT_TRUE(once.onceADayChecked);
  EXPECT_EQ(once.onceADayImage, 1);
  EXPECT_TRUE(once.autostartChecked);
  const AutostartMenuState back = OnceADayClick(once);
  EXPECT_FALSE(back.onceADayChecked);
  EXPECT_EQ(back.onceADayImage, 0);
}

TEST(AutostartMenu, CommandsCompareWordByWordWithoutRegardToCase) {
  EXPECT_TRUE(SameAutostartCommand({"/Opt/Ünï/JUBILORA", "/AUTORUN"}, {"/opt/ünï/jubilora", "/autorun"}));
  EXPECT_FALSE(SameAutostartCommand({"/opt/jubilora"}, {"/opt/jubilora", "/autorun"}));
  EXPECT_FALSE(SameAutostartCommand({"/opt/jubilora", "/autorun", "x"}, {"/opt/jubilora", "/autorun"}));
  // Word boundaries count: an unquoted path with a blank runs another program.
  EXPECT_FALSE(SameAutostartCommand({"/my", "apps/jubilora", "/autorun"}, {"/my apps/jubilora", "/autorun"}));
}

// --- Refused access --------------------------------------------------------------------------

TEST_F(AutostartLogic, AnUnwritableFolderIsReportedAndAutostartStaysOff) {
  test::GiveToNobody(dir.path());
  fs::create_directories(config / "autostart");
  ASSERT_EQ(chmod((config / "autostart").c_str(), 0555), 0);
  const int result = test::RunAsNobody([&] {
    FakeUi local;
    const AutostartMenuState before = StartupAutostartMenu(false, false);
    const AutostartMenuState after = AutostartClick(before, store, program, local);
    if (after.autostartChecked || after.onceADayEnabled) return 1;
    if (local.errors.size() != 1) return 2;
    const std::string& error = local.errors.front();
    if (error.find(store.File().string()) == std::string::npos) return 3;
    if (error.find("Permission denied") == std::string::npos) return 4;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(fs::exists(store.File()));
}

TEST_F(AutostartLogic, AFailedRewriteAtStartIsReportedAndKeepsTheOldEntry) {
  test::GiveToNobody(dir.path());
  ASSERT_EQ(store.WriteValue({"/old/jubilora", "/autorun"}), std::nullopt);
  ASSERT_EQ(chmod((config / "autostart").c_str(), 0555), 0);
  const int result = test::RunAsNobody([&] {
    FakeUi local;
    if (!RefreshAutostart(store, program, local)) return 1;
    if (local.errors.size() != 1 || local.errors.front().find("Permission denied") == std::string::npos) return 2;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(store.ReadValue(), (Words{"/old/jubilora", "/autorun"}));
}

TEST_F(AutostartLogic, AnEntryThatCannotBeRemovedIsReportedButTheMenuIsSwitchedOff) {
  test::GiveToNobody(dir.path());
  ASSERT_EQ(store.WriteValue(AutostartCommand(program)), std::nullopt);
  ASSERT_EQ(chmod((config / "autostart").c_str(), 0555), 0);
  const int result = test::RunAsNobody([&] {
    FakeUi local;
    local.answers = {2};
    const AutostartMenuState after = AutostartClick(StartupAutostartMenu(true, true), store, program, local);
    if (after.autostartChecked || after.onceADayChecked || after.onceADayEnabled) return 1;
    if (local.errors.size() != 1 || local.errors.front().find("could not be removed") == std::string::npos) return 2;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(fs::exists(store.File()));
}

TEST_F(AutostartLogic, AnUnreadableEntryCountsAsNoneAtStartAndIsNotWritten) {
  test::GiveToNobody(dir.path());
  ASSERT_EQ(store.WriteValue({"/old/jubilora", "/autorun"}), std::nullopt);
  ASSERT_EQ(chmod(store.File().c_str(), 0), 0);
  const int result = test::RunAsNobody([&] {
    FakeUi local;
    if (RefreshAutostart(store, program, local)) return 1;
    if (!local.errors.empty()) return 2;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(store.ReadValue(), (Words{"/old/jubilora", "/autorun"}));
}

}  // namespace
}  // namespace jubilora
