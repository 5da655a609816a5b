// The sample-source parser on any text: either an error naming a line, or records that
// are all valid samples.

#include <string_view>

#include "data/sample_source.h"
#include "fuzz/fuzz_support.h"

using namespace jubilora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ParsedSamples parsed = ParseSampleSource(std::string_view(reinterpret_cast<const char*>(data), size));
  if (parsed.error) {
    fuzz::Require(parsed.records.empty() && parsed.error->line >= 1 && !parsed.error->message.empty());
    return 0;
  }
  for (const TAnniversary& record : parsed.records) {
    fuzz::Require(record.Importance == SampleImportance && record.Kind >= 1 && record.Kind <= 7);
    fuzz::Require(record.DescriptionLength >= 1 && record.DescriptionLength <= MaxDescriptionLength);
    fuzz::Require(record.ReminderDays <= 90 || record.ReminderDays == DefaultReminder);
    fuzz::Require(DecodeDate(record.Date).has_value());
  }
  return 0;
}
