#include "platform/autostart.h"

#include <gtest/gtest.h>

#include <cctype>
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

// Every path comes back as it was written, through both escaping layers and the file, and the
// Exec line is what the Desktop Entry rules ask for.
TEST_F(Autostart, EveryAwkwardProgramPathSurvivesTheEntry) {
  for (const std::string program : {"/home/ann/My \"quoted\" it's/a\\b/c\\\\d/$HOME/`id`/100% sure/%f/%%/jubilora",
                                    " leading blank/tab\there/new\nline/;&|<>~*?#()=/jubilora",
                                    "/home/änn/Ünïcödé/jubilora"}) {
    ASSERT_EQ(store.WriteValue({program, "/autorun", "two words"}), std::nullopt);
    EXPECT_EQ(store.ReadValue(), (Words{program, "/autorun", "two words"})) << ReadBytes(store.File());
  }
  // What launchers read: quoted words escape " ` $ and \, then the string layer doubles each \.
  ASSERT_EQ(store.WriteValue({"/opt/my \"x\" $y\\z `w` 50%/jubilora", "/autorun"}), std::nullopt);
  EXPECT_NE(ReadBytes(store.File()).find(R"(Exec="/opt/my \\"x\\" \\$y\\\\z \\`w\\` 50%%/jubilora" /autorun)"),
            std::string::npos);
}

// Entries written by hand: field codes, "%%", blanks and quotes as launchers read them; broken
// quoting or another type start nothing usable; desktops switch entries off without removing
// them; keys of other groups are not the entry's.
TEST_F(Autostart, EntriesWrittenByHandOrSwitchedOffByTheDesktop) {
  const struct {
    std::string text;
    bool exists;
    Words words;
  } entries[] = {
      {HandWrittenEntry("  \"/a b/jubilora\"\t /autorun  "), true, {"/a b/jubilora", "/autorun"}},
      {HandWrittenEntry("/usr/bin/jubilora %U /autorun"), true, {"/usr/bin/jubilora", "/autorun"}},
      {HandWrittenEntry("\"/a/50%%\" \"\\$HOME\""), true, {"/a/50%", "$HOME"}},
      {HandWrittenEntry("\"/usr/bin/jubilora /autorun"), true, {}},
      {HandWrittenEntry("\"/usr/bin/jubilora\\\" /autorun"), true, {}},
      {"[Desktop Entry]\nType=Link\nExec=jubilora\n", true, {}},
      {HandWrittenEntry("j") + "Hidden=true\n", false, {"j"}},
      {HandWrittenEntry("j") + "X-GNOME-Autostart-enabled=false\n", false, {"j"}},
      {"[Desktop Action x]\nExec=other\n" + HandWrittenEntry("jubilora /autorun"), true, {"jubilora", "/autorun"}},
  };
  fs::create_directories(store.File().parent_path());
  for (const auto& entry : entries) {
    WriteBytes(store.File(), entry.text);
    EXPECT_EQ(store.ValueExists(), entry.exists) << entry.text;
    EXPECT_EQ(store.ReadValue(), entry.words) << entry.text;
  }
}

// The first show of the first run switches autostart on, asking nothing. Switching off asks,
// without a close box, and only the second answer goes on. At start an entry that names the
// program in another letter case is left as it is, one for a moved program is written anew.
TEST_F(Autostart, TheMenuFollowsTheEntryWhichIsWrittenOnlyWhenItNamesAnotherProgram) {
  FirstShowAutostart(off, false, false, store, program, ui);  // not the first run
  FirstShowAutostart(off, true, true, store, program, ui);    // shown before (after a snooze)
  EXPECT_FALSE(fs::exists(store.File()));
  EXPECT_EQ(Show(FirstShowAutostart(off, true, false, store, program, ui)), "on1 once:unchecked,enabled0");
  EXPECT_EQ(store.ReadValue(), AutostartCommand(program));
  for (int answer : {1, 0, -1}) {
    ui.answers = {answer};
    EXPECT_EQ(Show(AutostartClick(On(true), store, program, ui)), "on1 once:checked,enabled1") << answer;
    EXPECT_TRUE(fs::exists(store.File())) << answer;
  }
  EXPECT_FALSE(ui.questions.front().canCancel);
  ui.answers = {2};
  const AutostartMenuState switchedOff = AutostartClick(On(true), store, program, ui);
  EXPECT_EQ(Show(switchedOff), "off0 once:unchecked,disabled0");
  EXPECT_FALSE(fs::exists(store.File()));
  EXPECT_FALSE(RefreshAutostart(store, program, ui));
  EXPECT_FALSE(fs::exists(store.File()));

  std::string upper = program.string();
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const std::string text = HandWrittenEntry("\"" + upper + "\" /AutoRun") + "# kept as it is\n";
  WriteBytes(store.File(), text);
  EXPECT_TRUE(RefreshAutostart(store, program, ui));
  EXPECT_TRUE(AutostartClick(off, store, program, ui).autostartChecked);
  EXPECT_EQ(ReadBytes(store.File()), text);

  program = dir / "My \"Best\" Programs" / "it's $here" / "jubilora";
  EXPECT_TRUE(RefreshAutostart(store, program, ui));
  EXPECT_EQ(store.ReadValue(), AutostartCommand(program));
  EXPECT_EQ(ui.questions.size(), 4u) << "switching on asks nothing";
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
    std::optional<bool> clickedOn;  // the menu's state at a click; none for the check at start
    bool on;                        // whether autostart is on after it
    const char* error;              // words of the report; nullptr for none
  } steps[] = {
      {"switching on", std::nullopt, false, false, false, "Permission denied"},
      {"rewriting at start", old, false, std::nullopt, true, "Permission denied"},
      {"switching off", AutostartCommand(program), false, true, false, "could not be removed"},
      {"reading at start", old, true, std::nullopt, false, nullptr},
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
                local.answers = {2};
                const AutostartMenuState from = step.clickedOn && *step.clickedOn ? On(true) : off;
                const bool on = step.clickedOn ? Show(AutostartClick(from, store, program, local)) != Show(off)
                                               : RefreshAutostart(store, program, local);
                if (on != step.on) return 1;
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
