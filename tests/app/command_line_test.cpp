#include "app/command_line.h"

#include <gtest/gtest.h>

namespace jubilora {
namespace {

CommandLine Parsed(const std::vector<std::string>& args) {
  const CommandLineResult result = ParseCommandLine(args);
  EXPECT_TRUE(result.commandLine) << result.error;
  return result.commandLine.value_or(CommandLine{});
}

std::string Error(const std::vector<std::string>& args) {
  const CommandLineResult result = ParseCommandLine(args);
  EXPECT_FALSE(result.commandLine);
  return result.error;
}

TEST(CommandLineWindow, NoArgumentsOpensTheWindow) {
  const CommandLine c = Parsed({});
  EXPECT_EQ(c.mode, RunMode::Window);
  EXPECT_FALSE(c.autorun);
}

TEST(CommandLineWindow, AutorunInAnyLetterCaseOnlyAsFirstArgument) {
  EXPECT_TRUE(Parsed({"/autorun"}).autorun);
  EXPECT_TRUE(Parsed({"/AutoRun"}).autorun);
  EXPECT_TRUE(Parsed({"/AUTORUN", "--print"}).autorun);  // the rest is ignored
  EXPECT_EQ(Parsed({"/AUTORUN", "--print"}).mode, RunMode::Window);
  EXPECT_FALSE(Parsed({"other", "/autorun"}).autorun);
  EXPECT_FALSE(Parsed({"/autorunx"}).autorun);
}

TEST(CommandLineOptions, PrintModesAndToday) {
  EXPECT_EQ(Parsed({"--print"}).mode, RunMode::Print);
  EXPECT_EQ(Parsed({"--print=tsv"}).mode, RunMode::PrintTsv);
  const CommandLine c = Parsed({"--today", "2025-01-31", "--print"});
  EXPECT_EQ(c.mode, RunMode::Print);
  EXPECT_EQ(c.today, DayFromCivil(2025, 1, 31));
  EXPECT_EQ(Parsed({"--print", "--today=2024-02-29"}).today, DayFromCivil(2024, 2, 29));
  EXPECT_EQ(Parsed({"--help"}).mode, RunMode::Help);
  EXPECT_EQ(Parsed({"--version"}).mode, RunMode::Version);
}

TEST(CommandLineOptions, MalformedInputIsRefusedWithOneLine) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--bogus"},
           {"--print=csv"},
           {"--print", "--today"},
           {"--print", "--today", "2025-02-29"},
           {"--print", "--today", "2025-1-31"},
           {"--print", "--today", "31.01.2025"},
           {"--print", "--today", "2025-13-01"},
           {"--print", "--today", "0000-01-01"},
           {"--print", "--today", "2025-01-01", "--today", "2025-01-02"},
           {"--today", "2025-01-01"},
           {"--print", "--help"},
           {"--print", "extra"},
       }) {
    const std::string error = Error(args);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

TEST(CommandLineOptions, IsoDatesAreStrict) {
  EXPECT_EQ(ParseIsoDate("1899-12-30"), 0);
  EXPECT_EQ(ParseIsoDate("9999-12-31"), DayFromCivil(9999, 12, 31));
  EXPECT_FALSE(ParseIsoDate("2025-04-31"));
  EXPECT_FALSE(ParseIsoDate(" 2025-04-01"));
  EXPECT_FALSE(ParseIsoDate("2025-04-0a"));
}

}  // namespace
}  // namespace jubilora
