#include "data/sample_source.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/data_file.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

TEST(ParseSampleSource, EveryKindWordReminderAndTheRestOfTheLineAsDescriptionMakeASampleRecord) {
  const std::string fifty(50, 'x');
  const ParsedSamples parsed = ParseSampleSource(
      "\xEF\xBB\xBF# a comment | with | bars | in it\r\n"
      "\r\n"
      "   \t\r\n"
      "  # indented comment\r\n"
      "birthday|2000-01-01|0|a\r\n"
      "name-day|2000-01-01|1|  Jakob | M\xC3\xBCller \xE2\x82\xAC  \n"
      "wedding|2000-01-01|90|c\n"
      "death|2000-01-01|default|d\n"
      "holiday|2000-01-01|7|e\n"
      "other|2000-02-29|30|" + fifty + "\n"
      "other-no-years|2000-01-01|45|g");  // no line end at the very end
  ASSERT_FALSE(parsed.error.has_value()) << parsed.error->message;
  std::vector<std::string> fields;
  for (const auto& r : parsed.records) {
    fields.push_back(std::to_string(r.Kind) + " " + std::to_string(r.ReminderDays) + " " + r.Description());
  }
  // Descriptions trimmed, in Windows-1252, bars and all.
  EXPECT_EQ(fields, (std::vector<std::string>{"1 0 a", "2 1 Jakob | M\xFCller \x80", "3 90 c", "4 255 d", "5 7 e",
                                              "6 30 " + fifty, "7 45 g"}));
  // Every record is a sample, with nothing in its padding.
  EXPECT_TRUE(SameBytes(parsed.records.at(0), test::Record(KindBirthday, 2000, 1, 1, "a", SampleImportance, 0)));
}

TEST(ParseSampleSource, RefusesWhatNoRecordCanHoldNamingTheLineAndKeepingNothing) {
  struct Case {
    std::string line;
    std::string words;
  };
  const std::vector<Case> cases = {
      {"birthday | 1952-01-27 | default", "four fields"},
      {"birth | 1952-01-27 | default | Rose", "unknown kind \"birth\""},
      {"birthday | 2023-02-29 | 3 | x", "is not a day"},
      {"birthday | 1952-01-27 | 91 | x", "reminder \"91\""},
      {"birthday | 1952-01-27 | 3 |   ", "description is empty"},
      {"birthday | 1952-01-27 | 3 | " + std::string(51, 'x'), "51 characters"},
      {"birthday | 1952-01-27 | 3 | \xE2\x9C\x93 done", "Windows-1252"},
  };
  const std::string good = "holiday | 1900-12-24 | 14 | Christmas Eve\n";
  for (const Case& c : cases) {
    const ParsedSamples parsed = ParseSampleSource(good + "\n# note\n" + c.line + "\n" + good);
    ASSERT_TRUE(parsed.error.has_value()) << c.line;
    EXPECT_TRUE(parsed.records.empty());
    EXPECT_EQ(parsed.error->line, 4);
    EXPECT_NE(parsed.error->message.find(c.words), std::string::npos) << parsed.error->message;
  }
}

TEST(BuildSampleFile, WritesTheRecordsWholeOrNamesTheFileAndLineOfTheFirstError) {
  test::TempDir dir;
  test::WriteBytes(dir / "samples.txt", "wedding | 1988-04-23 | 45 | Helen & Mark\ndeath | 2009-03-12 | 0 | Walter\n");
  ASSERT_FALSE(BuildSampleFile(dir / "samples.txt", dir / "out.spl").has_value());
  const std::string built = test::ReadBytes(dir / "out.spl");
  EXPECT_EQ(built, EncodeRecords(ParseSampleSource(test::ReadBytes(dir / "samples.txt")).records));
  EXPECT_EQ(built.size(), 2 * RecordSize);

  test::WriteBytes(dir / "samples.txt", "# header\nwedding | 1988-04-31 | 45 | Helen & Mark\n");
  const auto error = BuildSampleFile(dir / "samples.txt", dir / "out.spl");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->rfind((dir / "samples.txt").string() + ":2: ", 0), 0u) << *error;
  EXPECT_EQ(test::ReadBytes(dir / "out.spl"), built);

  const auto missing = BuildSampleFile(dir / "nothing.txt", dir / "out.spl");
  ASSERT_TRUE(missing.has_value());
  EXPECT_NE(missing->find("nothing.txt"), std::string::npos) << *missing;
}

#if !defined(JUBILORA_SAMPLE_SOURCE) || !defined(JUBILORA_SAMPLE_FILE)
#error "the build names the sample source and the built sample file (cmake/samples.cmake)"
#endif

// The build's own samples parse, and the built file holds exactly their records.
TEST(ShippedSamples, TheBuiltSampleFileHoldsExactlyTheseRecords) {
  const ParsedSamples parsed = ParseSampleSource(test::ReadBytes(JUBILORA_SAMPLE_SOURCE));
  ASSERT_FALSE(parsed.error.has_value()) << "line " << parsed.error->line << ": " << parsed.error->message;
  EXPECT_EQ(test::ReadBytes(JUBILORA_SAMPLE_FILE), EncodeRecords(parsed.records));
}

}  // namespace
}  // namespace jubilora
