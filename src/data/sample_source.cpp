#include "data/sample_source.h"

#include <array>
#include <utility>

#include "core/ascii.h"
#include "core/calendar.h"
#include "core/text_codec.h"
#include "data/atomic_file.h"
#include "data/data_file.h"

namespace jubilora {

namespace {

struct KindWord {
  const char* word;
  std::uint8_t kind;
};

constexpr std::array<KindWord, 7> KindWords = {{
    {"birthday", KindBirthday},
    {"name-day", KindNameDay},
    {"wedding", KindWedding},
    {"death", KindDeath},
    {"holiday", KindHoliday},
    {"other", KindOtherWithYears},
    {"other-no-years", KindOtherNoYears},
}};

constexpr int MaxSampleReminder = 90;
constexpr char FieldSeparator = '|';
constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::size_t MaxSourceSize = 1u << 20;
constexpr std::string_view SourceTooLarge = "It is too large to be a sample source (over 1 MiB)";

std::string KindChoices() {
  std::string choices;
  for (const auto& entry : KindWords) {
    if (!choices.empty()) choices += ", ";
    choices += entry.word;
  }
  return choices;
}

// One record from the fields of a line; the text of the problem otherwise.
struct LineResult {
  TAnniversary record;
  std::string problem;
};

LineResult ParseKind(std::string_view word, TAnniversary& record) {
  for (const auto& entry : KindWords) {
    if (word == entry.word) {
      record.Kind = entry.kind;
      return {};
    }
  }
  return {{}, "unknown kind \"" + std::string(word) + "\"; use one of " + KindChoices()};
}

LineResult ParseDate(std::string_view text, TAnniversary& record) {
  const auto day = ParseIsoDay(text);
  if (!day) return {{}, "the date \"" + std::string(text) + "\" is not a day written as YYYY-MM-DD"};
  record.Date = *day;
  return {};
}

LineResult ParseReminder(std::string_view text, TAnniversary& record) {
  if (text == "default") {
    record.ReminderDays = DefaultReminder;
    return {};
  }
  const auto days = text.size() <= 2 ? DecimalDigits(text) : std::nullopt;
  if (!days || *days > MaxSampleReminder) {
    return {{}, "the reminder \"" + std::string(text) + "\" is neither \"default\" nor a number of days from 0 to 90"};
  }
  record.ReminderDays = static_cast<std::uint8_t>(*days);
  return {};
}

LineResult ParseDescription(std::string_view text, TAnniversary& record) {
  if (text.empty()) return {{}, "the description is empty"};
  const auto converted = Utf8ToCp1252(text);
  if (!converted) return {{}, "the description has a character that Windows-1252 cannot hold"};
  if (converted->size() > MaxDescriptionLength) {
    return {{}, "the description has " + std::to_string(converted->size()) + " characters; at most 50 fit"};
  }
  record.SetDescription(*converted);
  return {};
}

LineResult ParseLine(std::string_view line) {
  std::array<std::string_view, 4> fields;
  std::string_view rest = line;
  // The description comes last, so it may hold the separator itself.
  for (std::size_t i = 0; i < 3; ++i) {
    const auto at = rest.find(FieldSeparator);
    if (at == std::string_view::npos) {
      return {{}, "expected four fields separated by \"|\": kind | date | reminder | description"};
    }
    fields[i] = TrimBlanks(rest.substr(0, at));
    rest.remove_prefix(at + 1);
  }
  fields[3] = TrimBlanks(rest);

  TAnniversary record;
  record.Importance = SampleImportance;
  for (auto step : {ParseKind(fields[0], record), ParseDate(fields[1], record), ParseReminder(fields[2], record),
                    ParseDescription(fields[3], record)}) {
    if (!step.problem.empty()) return step;
  }
  return {record, {}};
}

}  // namespace

ParsedSamples ParseSampleSource(std::string_view text) {
  if (text.substr(0, Utf8Bom.size()) == Utf8Bom) text.remove_prefix(Utf8Bom.size());
  ParsedSamples parsed;
  int number = 0;
  while (!text.empty()) {
    ++number;
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = TrimBlanks(line);
    if (line.empty() || line.front() == '#') continue;

    LineResult result = ParseLine(line);
    if (!result.problem.empty()) {
      parsed.records.clear();
      parsed.error = SampleSourceError{number, std::move(result.problem)};
      return parsed;
    }
    parsed.records.push_back(result.record);
  }
  return parsed;
}

std::optional<std::string> BuildSampleFile(const std::filesystem::path& source, const std::filesystem::path& output) {
  std::string text;
  if (auto error = ReadRegularFile(source, MaxSourceSize, SourceTooLarge, text)) return error->Describe();
  const ParsedSamples parsed = ParseSampleSource(text);
  if (parsed.error) return source.string() + ":" + std::to_string(parsed.error->line) + ": " + parsed.error->message;
  if (auto error = WriteFileAtomically(output, EncodeRecords(parsed.records))) return error->Describe();
  return std::nullopt;
}

}  // namespace jubilora
