#include "platform/autostart.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
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

struct Autostart : ::testing::Test {
  test::TempDir dir;
  fs::path config = dir / "config";
  XdgAutostart store{config / "autostart"};
  fs::path program = dir / "bin" / "jubilora";
  FakeUi ui;
  const AutostartMenuState off = StartupAutostartMenu(false, false);
  AutostartMenuState On(bool onceADay) { return StartupAutostartMenu(true, onceADay); }
};

// Every path comes back as it was written, through both escaping layers and the file; the
// Exec line is what the Desktop Entry rules ask for.
TEST_F(Autostart, EveryAwkwardProgramPathSurvivesTheEntry) {
  for (const std::string program : {"/home/ann/My \"quoted\" it's/a\\b/c\\\\d/$HOME/`id`/100% sure/%f/%%/jubilora",
                                    " leading blank/tab\there/new\nline/;&|<>~*?#()=/jubilora",
                                    "/home/änn/Ünïcödé/jubilora"}) {
    ASSERT_EQ(store.WriteValue({program, "/autorun"}), std::nullopt);
    EXPECT_EQ(store.ReadValue(), (Words{program, "/autorun"})) << ReadBytes(store.File());
  }
  ASSERT_EQ(store.WriteValue({"/opt/my \"x\" $y\\z `w` 50%/jubilora", "/autorun", "two words"}), std::nullopt);
  const std::string text = ReadBytes(store.File());
  EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
  for (const char* line : {"\nType=Application\n", R"(Exec="/opt/my \\"x\\" \\$y\\\\z \\`w\\` 50%%/jubilora" /autorun "two words")"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  EXPECT_EQ(std::distance(fs::directory_iterator(store.File().parent_path()), fs::directory_iterator()), 1)
      << "no temporary file is left beside it";
  EXPECT_EQ(store.DeleteValue(), std::nullopt);
  EXPECT_FALSE(fs::exists(store.File()));
  EXPECT_EQ(store.DeleteValue(), std::nullopt) << "already gone is no failure";
}

// Entries written by hand: field codes, "%%", blanks and quotes as launchers read them;
// broken quoting, another type or no Exec start nothing usable; desktops switch entries off.
TEST_F(Autostart, EntriesWrittenByHandOrSwitchedOffByTheDesktop) {
  const std::vector<std::pair<std::string, std::optional<Words>>> lines = {
      {"  \"/a b/jubilora\"\t /autorun  ", Words{"/a b/jubilora", "/autorun"}},
      {"/usr/bin/jubilora %U /autorun", Words{"/usr/bin/jubilora", "/autorun"}},
      {"\"/a/50%%\" \"\\$HOME\"", Words{"/a/50%", "$HOME"}},
      {"\"\" x", Words{"", "x"}},
      {"\"/usr/bin/jubilora /autorun", std::nullopt},
      {"'/usr/bin/jubilora /autorun", std::nullopt},
      {"\"/usr/bin/jubilora\\\" /autorun", std::nullopt},
  };
  for (const auto& [line, words] : lines) EXPECT_EQ(ExecWords(UnescapeDesktopString(line)), words) << line;
  fs::create_directories(store.File().parent_path());
  for (const auto& [text, exists] : std::vector<std::pair<std::string, bool>>{
           {HandWrittenEntry("j") + "Hidden=true\n", false},
           {HandWrittenEntry("j") + "X-GNOME-Autostart-enabled=false\n", false},
           {HandWrittenEntry("j") + "X-GNOME-Autostart-enabled=true\n", true}}) {
    WriteBytes(store.File(), text);
    EXPECT_EQ(store.ValueExists(), exists) << text;
  }
  for (const std::string& text :
       {std::string("not a desktop file at all\n"), std::string("[Desktop Entry]\nType=Link\nExec=jubilora\n"),
        std::string("[Desktop Entry]\nType=Application\n"), HandWrittenEntry("\"/opt/jubilora")}) {
    WriteBytes(store.File(), text);
    EXPECT_TRUE(store.ValueExists()) << text;
    EXPECT_EQ(store.ReadValue(), Words{}) << text;
  }
  WriteBytes(store.File(), "[Desktop Action x]\nExec=other\n" + HandWrittenEntry("jubilora /autorun"));
  EXPECT_EQ(store.ReadValue(), (Words{"jubilora", "/autorun"})) << "keys of other groups are not the entry's";

  const auto env = [](const std::string& name) -> std::optional<std::string> {
    if (name == "HOME") return "/home/ann";
    return name == "XDG_CONFIG_HOME" ? std::optional<std::string>("relative") : std::nullopt;
  };
  EXPECT_EQ(XdgAutostart::UserFolder(env), fs::path("/home/ann/.config/autostart"));
}

// The first show of the first run switches autostart on, asking nothing; an entry that names
// the program in another letter case is left as it is, one for a moved program is written anew
// at start, and an entry read back as written is not written again.
TEST_F(Autostart, TheEntryIsWrittenOnlyWhenItNamesAnotherProgram) {
  FirstShowAutostart(off, false, false, store, program, ui);  // not the first run
  FirstShowAutostart(off, true, true, store, program, ui);    // shown before (after a snooze)
  EXPECT_FALSE(fs::exists(store.File()));
  EXPECT_EQ(Show(FirstShowAutostart(off, true, false, store, program, ui)), "on1 once:unchecked,enabled0");
  EXPECT_EQ(store.ReadValue(), AutostartCommand(program));

  std::string upper = program.string();
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const std::string text = HandWrittenEntry("\"" + upper + "\" /AutoRun") + "# kept as it is\n";
  WriteBytes(store.File(), text);
  EXPECT_TRUE(RefreshAutostart(store, program, ui));
  EXPECT_TRUE(AutostartClick(off, store, program, ui).autostartChecked);
  FirstShowAutostart(off, true, false, store, program, ui);
  EXPECT_EQ(ReadBytes(store.File()), text);
  // Word boundaries do count: an unquoted path with a blank runs another program.
  EXPECT_FALSE(SameAutostartCommand({"/my", "apps/jubilora", "/autorun"}, {"/my apps/jubilora", "/autorun"}));

  program = dir / "My \"Best\" Programs" / "it's $here" / "jubilora";
  EXPECT_TRUE(RefreshAutostart(store, program, ui));
  EXPECT_EQ(store.ReadValue(), AutostartCommand(program));
  struct stat before {}, after {};
  ASSERT_EQ(stat(store.File().c_str(), &before), 0);
  EXPECT_TRUE(RefreshAutostart(store, program, ui));
  ASSERT_EQ(stat(store.File().c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_TRUE(ui.errors.empty());
}

// Switching off asks, and only the second answer goes on; switching on again leaves "Once a
// Day" unchecked but enabled. An entry already gone switches off quietly, and one deleted
// while running shows unchecked at the next start, which writes nothing.
TEST_F(Autostart, SwitchingOffAsksAndTheMenuFollowsTheEntry) {
  ASSERT_EQ(store.WriteValue(AutostartCommand(program)), std::nullopt);
  const std::string text = ReadBytes(store.File());
  for (int answer : {1, 0, -1}) {
    ui.answers = {answer};
    EXPECT_EQ(Show(AutostartClick(On(true), store, program, ui)), "on1 once:checked,enabled1") << answer;
    EXPECT_EQ(ReadBytes(store.File()), text) << answer;
  }
  EXPECT_FALSE(ui.questions.front().canCancel);
  ui.answers = {2};
  const AutostartMenuState switchedOff = AutostartClick(On(true), store, program, ui);
  EXPECT_EQ(Show(switchedOff), "off0 once:unchecked,disabled0");
  EXPECT_FALSE(fs::exists(store.File()));
  EXPECT_EQ(Show(AutostartClick(switchedOff, store, program, ui)), "on1 once:unchecked,enabled0");
  EXPECT_EQ(ui.questions.size(), 4u) << "switching on asks nothing";
  EXPECT_EQ(Show(OnceADayClick(On(false))), "on1 once:checked,enabled1");
  EXPECT_EQ(Show(OnceADayClick(On(true))), "on1 once:unchecked,enabled0");

  fs::remove(store.File());
  ui.answers = {2};
  EXPECT_EQ(Show(AutostartClick(On(false), store, program, ui)), "off0 once:unchecked,disabled0");
  EXPECT_FALSE(RefreshAutostart(store, program, ui));
  EXPECT_FALSE(fs::exists(store.File()));
  EXPECT_EQ(Show(StartupAutostartMenu(false, true)), "off0 once:checked,disabled0") << "the setting itself is kept";
  EXPECT_TRUE(ui.errors.empty());
}

// Refused access, run as an unprivileged user since root ignores permission bits: every step
// that fails is reported once (naming the entry and the reason), the menu stays consistent with
// what is on the disk, and the entry is left as it was.
TEST_F(Autostart, RefusedAccessIsReportedAndTheMenuTellsTheTruth) {
  const Words old{"/old/jubilora", "/autorun"};
  const struct {
    const char* step;
    std::optional<Words> entry;  // before and after
    bool lockFile;               // else the folder is locked
    std::function<bool(Autostart&, FakeUi&)> act;  // whether autostart is on after it
    bool on;
    const char* error;  // words of the report; nullptr for none
  } steps[] = {
      {"switching on", std::nullopt, false,
       [](Autostart& t, FakeUi& ui) {
         const AutostartMenuState menu = AutostartClick(t.off, t.store, t.program, ui);
         return menu.onceADayEnabled || menu.autostartChecked;
       },
       false, "Permission denied"},
      {"rewriting at start", old, false, [](Autostart& t, FakeUi& ui) { return RefreshAutostart(t.store, t.program, ui); },
       true, "Permission denied"},
      {"switching off", AutostartCommand(program), false,
       [](Autostart& t, FakeUi& ui) {
         ui.answers = {2};
         const AutostartMenuState menu = AutostartClick(t.On(true), t.store, t.program, ui);
         return menu.autostartChecked || menu.onceADayChecked || menu.onceADayEnabled;
       },
       false, "could not be removed"},
      {"reading at start", old, true, [](Autostart& t, FakeUi& ui) { return RefreshAutostart(t.store, t.program, ui); },
       false, nullptr},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.step);
    fs::remove_all(config);
    fs::create_directories(config / "autostart");
    if (step.entry) {
      ASSERT_EQ(store.WriteValue(*step.entry), std::nullopt);
    }
    ASSERT_EQ(chmod(step.lockFile ? store.File().c_str() : (config / "autostart").c_str(), step.lockFile ? 0 : 0555), 0);
    test::GiveToNobody(dir.path());
    EXPECT_EQ(test::RunAsNobody([&] {
                FakeUi local;
                if (step.act(*this, local) != step.on) return 1;
                if (step.error == nullptr) return local.errors.empty() ? 0 : 2;
                if (local.errors.size() != 1 || local.errors[0].find(step.error) == std::string::npos) return 3;
                return local.errors[0].find(store.File().string()) == std::string::npos ? 4 : 0;
              }),
              0);
    chmod((config / "autostart").c_str(), 0755);
    chmod(store.File().c_str(), 0644);
    EXPECT_EQ(store.ReadValue(), step.entry);
  }
}

}  // namespace
}  // namespace jubilora
