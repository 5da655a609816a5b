#include "app/command_line.h"

#include <gtest/gtest.h>

namespace jubilora {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, ModesAndTheirValues) {
  struct Case {
    Args args;
    RunMode mode;
    bool autorun = false;
    std::optional<DayNumber> today = std::nullopt;
  };
  const Case cases[] = {
      {{}, RunMode::Window},
      {{"/AutoRun", "--print"}, RunMode::Window, true},  // in any case; only the first argument counts
      {{"-style", "Fusion", "--print"}, RunMode::Window},  // Qt's options are the window's
      {{"--print=tsv"}, RunMode::PrintTsv},
      {{"--today", "1899-12-30", "--print"}, RunMode::Print, false, 0},
      {{"--print", "--today=2024-02-29"}, RunMode::Print, false, DayFromCivil(2024, 2, 29)},
      {{"--export-ics", "-"}, RunMode::ExportIcs},
  };
  for (const Case& c : cases) {
    const CommandLineResult result = ParseCommandLine(c.args);
    ASSERT_TRUE(result.commandLine) << testing::PrintToString(c.args) << ": " << result.error;
    EXPECT_EQ(result.commandLine->mode, c.mode) << testing::PrintToString(c.args);
    EXPECT_EQ(result.commandLine->autorun, c.autorun) << testing::PrintToString(c.args);
    EXPECT_EQ(result.commandLine->today, c.today) << testing::PrintToString(c.args);
  }
}

TEST(CommandLine, MalformedInputIsRefusedWithOneLine) {
  for (const Args& args : std::vector<Args>{
           {"--bogus"},
           {"--print", "--today"},
           {"--print", "--today", "31.01.2025"},
           {"--print", "--today", "0000-01-01"},
           {"--today", "2025-01-01"},
           {"--export-ics"},
           {"--export-ics", "a.ics", "--today", "2025-01-01"},
           {"--export-ics", "a.ics", "--export-csv", "a.csv"},
       }) {
    const CommandLineResult result = ParseCommandLine(args);
    EXPECT_FALSE(result.commandLine) << testing::PrintToString(args);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(result.error.find('\n'), std::string::npos) << result.error;
  }
}

TEST(CommandLine, TheWindowNeedsADisplayOrAPlatformChosenByTheUser) {
  const EnvLookup none = [](const std::string&) { return std::nullopt; };
  const EnvLookup wayland = [](const std::string& name) -> std::optional<std::string> {
    return name == "WAYLAND_DISPLAY" ? std::optional<std::string>("wayland-0") : std::nullopt;
  };
  EXPECT_FALSE(WindowCanStart({"-style", "Fusion"}, none));
  EXPECT_TRUE(WindowCanStart({"-platform", "offscreen"}, none));
  EXPECT_TRUE(WindowCanStart({}, wayland));
}

}  // namespace
}  // namespace jubilora
