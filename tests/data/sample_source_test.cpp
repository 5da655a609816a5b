#include "data/sample_source.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/data_file.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

TEST(ParseSampleSource, KindWordReminderAndTheRestOfTheLineAsDescriptionMakeASampleRecord) {
  const std::string fifty(50, 'x');
  const ParsedSamples parsed = ParseSampleSource(
      "\xEF\xBB\xBF# a comment | with | bars | in it\r\n"
      "\r\n"
      "  # indented comment\r\n"
      "birthday|2000-01-01|0|a\r\n"
      "name-day|2000-01-01|1|  Jakob | M\xC3\xBCller \xE2\x82\xAC  \n"
      "death|2000-01-01|default|d\n"
      "other|2000-02-29|30|" + fifty + "\n"
      "other-no-years|2000-01-01|45|g");  // no line end at the very end
  ASSERT_FALSE(parsed.error.has_value()) << parsed.error->message;
  std::vector<std::string> fields;
  for (const auto& r : parsed.records) {
    fields.push_back(std::to_string(r.Kind) + " " + std::to_string(r.ReminderDays) + " " + r.Description());
  }
  // Descriptions trimmed, in Windows-1252, bars and all.
  EXPECT_EQ(fields,
            (std::vector<std::string>{"1 0 a", "2 1 Jakob | M\xFCller \x80", "4 255 d", "6 30 " + fifty, "7 45 g"}));
  // Every record is a sample, with nothing in its padding.
  EXPECT_TRUE(SameBytes(parsed.records.at(0), test::Record(KindBirthday, 2000, 1, 1, "a", SampleImportance, 0)));
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
