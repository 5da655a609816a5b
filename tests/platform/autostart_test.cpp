#include "platform/autostart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
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

std::string HandWrittenEntry(const std::string& exec) {
  return "[Desktop Entry]\nType=Application\nName=Jubilora\nExec=" + exec + "\n";
}

// Both menu entries at a glance: "on1 once:checked,enabled1".
std::string Show(const AutostartMenuState& s) {
  return std::string(s.autostartChecked ? "on" : "off") + std::to_string(s.autostartImage) + " once:" +
         (s.onceADayChecked ? "checked" : "unchecked") + (s.onceADayEnabled ? ",enabled" : ",disabled") +
         std::to_string(s.onceADayImage);
}

// --- The Desktop Entry rules -------------------------------------------------------------

TEST(DesktopEntryExec, EscapesBothLayersForEveryReservedCharacter) {
  EXPECT_EQ(ExecCommandLine({"/opt/x/jubilora", "two words"}), "\"/opt/x/jubilora\" \"two words\"");
  // Command-line layer: \" \$ \\ \` inside the quotes, %% for a percent sign.
  const std::string line = ExecCommandLine({"/opt/my \"x\" $y\\z `w` 50%/jubilora", "/autorun"});
  EXPECT_EQ(line, R"("/opt/my \"x\" \$y\\z \`w\` 50%%/jubilora" /autorun)");
  // String layer on top: every backslash doubled, so a literal backslash takes four.
  EXPECT_EQ(EscapeDesktopString(line), R"("/opt/my \\"x\\" \\$y\\\\z \\`w\\` 50%%/jubilora" /autorun)");
  EXPECT_EQ(EscapeDesktopString(" a\tb\nc\rd"), "\\sa\\tb\\nc\\rd");
  // An escape the string layer does not know is left for the command-line layer.
  EXPECT_EQ(UnescapeDesktopString(R"("\$HOME")"), R"("\$HOME")");
}

TEST(DesktopEntryExec, EveryAwkwardPathSurvivesBothLayersBothWays) {
  const std::vector<std::string> programs{
      "/home/ann/My Programs/jubilora",     "/home/ann/\"quoted\"/jubilora",      "/home/ann/it's/jubilora",
      "/home/ann/a\\b/c\\\\d/jubilora",     "/home/ann/$HOME/`id`/jubilora",      "/home/ann/100% sure/%f/%%/jubilora",
      "/home/ann/tab\there/new\nline/jubilora", " leading blank/jubilora",       "/home/ann/;&|<>~*?#()=/jubilora",
      "/home/änn/Ünïcödé/jubilora",
  };
  for (const auto& program : programs) {
    const Words command{program, "/autorun"};
    const std::string stored = EscapeDesktopString(ExecCommandLine(command));
    EXPECT_EQ(stored.find('\n'), std::string::npos) << program;
    EXPECT_EQ(ExecWords(UnescapeDesktopString(stored)), command) << program << "\n  stored as " << stored;
  }
}

TEST(DesktopEntryExec, ReadsEntriesWrittenByHandAndRefusesBrokenQuoting) {
  const std::vector<std::pair<std::string, std::optional<Words>>> cases = {
      {"/usr/bin/jubilora /autorun", Words{"/usr/bin/jubilora", "/autorun"}},
      {"  \"/a b/jubilora\"\t /autorun  ", Words{"/a b/jubilora", "/autorun"}},
      // Field codes expand to nothing when no files are handed over; %% is a percent sign.
      {"/usr/bin/jubilora %U /autorun", Words{"/usr/bin/jubilora", "/autorun"}},
      {"\"/a/50%%\" /autorun", Words{"/a/50%", "/autorun"}},
      {"\"\" x", Words{"", "x"}},
      {"", Words{}},
      {"\"/usr/bin/jubilora /autorun", std::nullopt},
      {"'/usr/bin/jubilora /autorun", std::nullopt},
      {"\"/usr/bin/jubilora\\\" /autorun", std::nullopt},
  };
  for (const auto& [line, words] : cases) EXPECT_EQ(ExecWords(line), words) << line;
}

// --- Where the entry lives and what it holds ------------------------------------------------

TEST(XdgAutostartFolder, FollowsAnAbsoluteXdgConfigHomeAndFallsBackToHome) {
  const std::vector<std::pair<std::map<std::string, std::string>, fs::path>> cases = {
      {{{"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/ann"}}, "/cfg/autostart"},
      {{{"HOME", "/home/ann"}}, "/home/ann/.config/autostart"},
      {{{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/ann"}}, "/home/ann/.config/autostart"},
      {{{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "/home/ann"}}, "/home/ann/.config/autostart"},
  };
  for (const auto& [values, folder] : cases) {
    const auto env = [&values](const std::string& name) -> std::optional<std::string> {
      const auto it = values.find(name);
      return it == values.end() ? std::nullopt : std::optional(it->second);
    };
    EXPECT_EQ(XdgAutostart::UserFolder(env), folder);
  }
  EXPECT_EQ(XdgAutostart(fs::path("/cfg/autostart")).File(), fs::path("/cfg/autostart/Jubilora.desktop"));
}

TEST(XdgAutostartStore, WritesAValidEntryInAFolderItCreatesAndDeletesItQuietly) {
  TempDir dir;
  XdgAutostart store(dir / "config" / "autostart");
  EXPECT_FALSE(store.ValueExists());
  EXPECT_EQ(store.ReadValue(), std::nullopt);

  ASSERT_EQ(store.WriteValue({"/opt/jubilora/jubilora", "/autorun"}), std::nullopt);
  const std::string text = ReadBytes(store.File());
  EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
  for (const char* line : {"\nType=Application\n", "\nName=Jubilora\n", "\nExec=\"/opt/jubilora/jubilora\" /autorun\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
  EXPECT_EQ(store.ReadValue(), (Words{"/opt/jubilora/jubilora", "/autorun"}));
  // Written whole: no temporary file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "config" / "autostart"), fs::directory_iterator()), 1);

  EXPECT_EQ(store.DeleteValue(), std::nullopt);
  EXPECT_FALSE(fs::exists(store.File()));
  EXPECT_EQ(store.DeleteValue(), std::nullopt) << "already gone is no failure";
}

TEST(XdgAutostartStore, EntriesSwitchedOffByTheDesktopOrStartingNothingUsable) {
  TempDir dir;
  XdgAutostart store(dir.path());
  for (const auto& [extra, exists] : std::vector<std::pair<std::string, bool>>{
           {"Hidden=true\n", false},
           {"X-GNOME-Autostart-enabled=false\n", false},
           {"X-GNOME-Autostart-enabled=true\n", true}}) {
    WriteBytes(store.File(), HandWrittenEntry("jubilora /autorun") + extra);
    EXPECT_EQ(store.ValueExists(), exists) << extra;
  }
  // Present but unusable: an empty command.
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

// --- The menu logic, against a temporary configuration folder ----------------------------

class AutostartLogic : public ::testing::Test {
 protected:
  TempDir dir;
  fs::path config = dir / "config";
  XdgAutostart store{config / "autostart"};
  fs::path program = dir / "bin" / "jubilora";
  FakeUi ui;

  const AutostartMenuState off = StartupAutostartMenu(false, false);
  AutostartMenuState On(bool onceADay) { return StartupAutostartMenu(true, onceADay); }

  // Runs `body` as an unprivileged user with a fresh Ui; its result 0 means all went as expected.
  int AsNobody(const std::function<int(FakeUi&)>& body) {
    test::GiveToNobody(dir.path());
    return test::RunAsNobody([&] {
      FakeUi local;
      return body(local);
    });
  }
};

TEST_F(AutostartLogic, OnlyTheFirstShowOfTheFirstRunSwitchesOnAndItAsksNothing) {
  FirstShowAutostart(off, false, false, store, program, ui);  // not the first run
  FirstShowAutostart(off, true, true, store, program, ui);    // shown before (after a snooze)
  EXPECT_FALSE(fs::exists(store.File()));

  EXPECT_EQ(Show(FirstShowAutostart(off, true, false, store, program, ui)), "on1 once:unchecked,enabled0");
  EXPECT_NE(ReadBytes(store.File()).find("\nExec=\"" + program.string() + "\" /autorun\n"), std::string::npos);

  // Already on: the entry is not touched.
  WriteBytes(store.File(), HandWrittenEntry("/elsewhere/jubilora /autorun"));
  FirstShowAutostart(On(false), true, false, store, program, ui);
  EXPECT_EQ(store.ReadValue(), (Words{"/elsewhere/jubilora", "/autorun"}));
  EXPECT_TRUE(ui.questions.empty());
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
  EXPECT_TRUE(AutostartClick(off, store, program, ui).autostartChecked);
  EXPECT_EQ(ReadBytes(store.File()), text);
  EXPECT_TRUE(SameAutostartCommand({"/Opt/Ünï/JUBILORA", "/AUTORUN"}, {"/opt/ünï/jubilora", "/autorun"}));
  // Word boundaries do count: an unquoted path with a blank runs another program.
  EXPECT_FALSE(SameAutostartCommand({"/my", "apps/jubilora", "/autorun"}, {"/my apps/jubilora", "/autorun"}));
  EXPECT_FALSE(SameAutostartCommand({"/opt/jubilora"}, {"/opt/jubilora", "/autorun"}));
}

TEST_F(AutostartLogic, AMovedProgramIsWrittenAnewAtStart) {
  ASSERT_EQ(store.WriteValue({"/old/place/jubilora", "/autorun"}), std::nullopt);
  EXPECT_TRUE(RefreshAutostart(store, program, ui));
  EXPECT_EQ(store.ReadValue(), (Words{program.string(), "/autorun"}));
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(AutostartLogic, AProgramPathWithSpacesAndQuotesIsKeptAndNotRewrittenAgain) {
  program = dir / "My \"Best\" Programs" / "it's $here" / "jubilora";
  AutostartClick(off, store, program, ui);
  EXPECT_EQ(store.ReadValue(), (Words{program.string(), "/autorun"}));
  // The next start reads back the same path, so it does not write again.
  struct stat before {};
  ASSERT_EQ(stat(store.File().c_str(), &before), 0);
  EXPECT_TRUE(RefreshAutostart(store, program, ui));
  struct stat after {};
  ASSERT_EQ(stat(store.File().c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
}

TEST_F(AutostartLogic, SwitchingOffAsksAndOnlyTheSecondAnswerGoesOn) {
  ASSERT_EQ(store.WriteValue(AutostartCommand(program)), std::nullopt);
  const std::string text = ReadBytes(store.File());
  for (int answer : {1, 0, -1}) {
    ui.answers = {answer};
    EXPECT_EQ(Show(AutostartClick(On(true), store, program, ui)), "on1 once:checked,enabled1") << answer;
    EXPECT_EQ(ReadBytes(store.File()), text) << answer;
  }
  ASSERT_EQ(ui.questions.size(), 3u);
  const test::AskedQuestion& asked = ui.questions.front();
  EXPECT_EQ(asked.caption, "Attention, please");
  EXPECT_EQ(asked.message,
            "If you turn \"Autostart at Log-on\" option off,\r\n"
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
  const AutostartMenuState switchedOff = AutostartClick(On(true), store, program, ui);
  EXPECT_EQ(Show(switchedOff), "off0 once:unchecked,disabled0");
  EXPECT_FALSE(fs::exists(store.File()));

  EXPECT_EQ(Show(AutostartClick(switchedOff, store, program, ui)), "on1 once:unchecked,enabled0");
  EXPECT_EQ(ui.questions.size(), 1u);  // switching on asks nothing
  EXPECT_EQ(store.ReadValue(), AutostartCommand(program));

  // With the entry already gone, switching off still switches the menu off, quietly.
  fs::remove(store.File());
  ui.answers = {2};
  EXPECT_EQ(Show(AutostartClick(On(false), store, program, ui)), "off0 once:unchecked,disabled0");
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(AutostartLogic, AnEntryDeletedWhileRunningShowsUncheckedAtTheNextStart) {
  ASSERT_EQ(store.WriteValue(AutostartCommand(program)), std::nullopt);
  ASSERT_TRUE(RefreshAutostart(store, program, ui));
  fs::remove(store.File());
  const bool on = RefreshAutostart(store, program, ui);
  EXPECT_FALSE(on);
  EXPECT_FALSE(fs::exists(store.File()));  // the start writes nothing
  // The once-a-day setting itself is kept.
  EXPECT_EQ(Show(StartupAutostartMenu(on, true)), "off0 once:checked,disabled0");
}

TEST(AutostartMenu, StartupStateAndTheOnceADayClick) {
  EXPECT_EQ(Show(StartupAutostartMenu(true, true)), "on1 once:checked,enabled1");
  EXPECT_EQ(Show(StartupAutostartMenu(true, false)), "on1 once:unchecked,enabled0");
  EXPECT_EQ(Show(StartupAutostartMenu(false, false)), "off0 once:unchecked,disabled0");
  const AutostartMenuState once = OnceADayClick(StartupAutostartMenu(true, false));
  EXPECT_EQ(Show(once), "on1 once:checked,enabled1");
  EXPECT_EQ(Show(OnceADayClick(once)), "on1 once:unchecked,enabled0");
}

// --- Refused access: run as an unprivileged user, since root ignores permission bits ------

TEST_F(AutostartLogic, AnUnwritableFolderIsReportedAndAutostartStaysOff) {
  fs::create_directories(config / "autostart");
  ASSERT_EQ(chmod((config / "autostart").c_str(), 0555), 0);
  EXPECT_EQ(AsNobody([&](FakeUi& local) {
    const AutostartMenuState after = AutostartClick(off, store, program, local);
    if (after.autostartChecked || after.onceADayEnabled) return 1;
    if (local.errors.size() != 1) return 2;
    const std::string& error = local.errors.front();
    if (error.find(store.File().string()) == std::string::npos) return 3;
    return error.find("Permission denied") == std::string::npos ? 4 : 0;
  }), 0);
  EXPECT_FALSE(fs::exists(store.File()));
}

TEST_F(AutostartLogic, AFailedRewriteAtStartIsReportedAndKeepsTheOldEntry) {
  ASSERT_EQ(store.WriteValue({"/old/jubilora", "/autorun"}), std::nullopt);
  ASSERT_EQ(chmod((config / "autostart").c_str(), 0555), 0);
  EXPECT_EQ(AsNobody([&](FakeUi& local) {
    if (!RefreshAutostart(store, program, local)) return 1;
    return local.errors.size() != 1 || local.errors.front().find("Permission denied") == std::string::npos ? 2 : 0;
  }), 0);
  EXPECT_EQ(store.ReadValue(), (Words{"/old/jubilora", "/autorun"}));
}

TEST_F(AutostartLogic, AnEntryThatCannotBeRemovedIsReportedButTheMenuIsSwitchedOff) {
  ASSERT_EQ(store.WriteValue(AutostartCommand(program)), std::nullopt);
  ASSERT_EQ(chmod((config / "autostart").c_str(), 0555), 0);
  EXPECT_EQ(AsNobody([&](FakeUi& local) {
    local.answers = {2};
    const AutostartMenuState after = AutostartClick(On(true), store, program, local);
    if (after.autostartChecked || after.onceADayChecked || after.onceADayEnabled) return 1;
    return local.errors.size() != 1 || local.errors.front().find("could not be removed") == std::string::npos ? 2 : 0;
  }), 0);
  EXPECT_TRUE(fs::exists(store.File()));
}

TEST_F(AutostartLogic, AnUnreadableEntryCountsAsNoneAtStartAndIsNotWritten) {
  ASSERT_EQ(store.WriteValue({"/old/jubilora", "/autorun"}), std::nullopt);
  ASSERT_EQ(chmod(store.File().c_str(), 0), 0);
  EXPECT_EQ(AsNobody([&](FakeUi& local) {
    return RefreshAutostart(store, program, local) ? 1 : local.errors.empty() ? 0 : 2;
  }), 0);
  EXPECT_EQ(store.ReadValue(), (Words{"/old/jubilora", "/autorun"}));
}

}  // namespace
}  // namespace jubilora
