#include "platform/ini_file.h"

#include <system_error>

#include "data/atomic_file.h"

namespace jubilora {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
// Settings take a few hundred bytes; a larger file is not ours.
constexpr std::size_t kMaxSize = 1u << 20;
constexpr std::string_view kTooLarge = "It is too large to be a Jubilora settings file (over 1 MiB)";

// The name of a section line, or nothing when the line is not one. A header without its
// closing bracket still opens a section, as the profile functions read it.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  const std::size_t close = line.find(']');
  if (close != std::string_view::npos) line = line.substr(0, close);
  return TrimBlanks(line);
}

struct KeyLine {
  std::string_view name;
  std::string_view value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  const std::string_view trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
  const std::size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return KeyLine{TrimBlanks(trimmed.substr(0, equals)), TrimBlanks(trimmed.substr(equals + 1))};
}

std::string MakeKeyLine(std::string_view key, std::string_view value) {
  std::string line(key);
  line += '=';
  line += value;
  return line;
}

}  // namespace

IniLoadResult IniFile::Load(const std::filesystem::path& path) {
  IniLoadResult result;
  std::error_code ec;
  if (std::filesystem::status(path, ec).type() == std::filesystem::file_type::not_found) return result;
  std::string bytes;
  if (auto error = ReadRegularFile(path, kMaxSize, kTooLarge, bytes)) {
    result.status = IniLoadResult::Status::Failed;
    result.error = std::move(error);
    return result;
  }
  result.status = IniLoadResult::Status::Loaded;
  result.file = Parse(bytes);
  return result;
}

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  if (text.starts_with(kBom)) {
    ini.hasBom_ = true;
    text.remove_prefix(kBom.size());
  }
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    ini.lines_.emplace_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
      start = end + 2;
    } else {
      start = end + 1;
    }
  }
  return ini;
}

std::optional<IniFile::Span> IniFile::FindSection(std::string_view section) const {
  const std::string_view wanted = TrimBlanks(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i]);
    if (!name || !EqualsNoCase(*name, wanted)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && !SectionName(lines_[end])) ++end;
    return Span{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> IniFile::FindKey(const Span& span, std::string_view key) const {
  const std::string_view wanted = TrimBlanks(key);
  for (std::size_t i = span.header + 1; i < span.end; ++i) {
    const auto parsed = ParseKeyLine(lines_[i]);
    if (parsed && EqualsNoCase(parsed->name, wanted)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniFile::GetString(std::string_view section, std::string_view key) const {
  const auto span = FindSection(section);
  if (!span) return std::nullopt;
  const auto index = FindKey(*span, key);
  if (!index) return std::nullopt;
  return std::string(ParseKeyLine(lines_[*index])->value);
}

void IniFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
  value = value.substr(0, value.find_first_of("\r\n"));
  const std::string line = MakeKeyLine(TrimBlanks(key), value);
  const auto span = FindSection(section);
  if (!span) {
    // A blank line keeps a new section apart from the one before it.
    if (!lines_.empty() && !TrimBlanks(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(TrimBlanks(section)) + "]");
    lines_.push_back(line);
    return;
  }
  if (const auto index = FindKey(*span, key)) {
    lines_[*index] = line;
    return;
  }
  // After the section's last non-blank line, so that blank lines before the next
  // section stay where they are.
  std::size_t insertAt = span->end;
  while (insertAt > span->header + 1 && TrimBlanks(lines_[insertAt - 1]).empty()) --insertAt;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
}

std::string IniFile::Text() const {
  std::string text;
  if (hasBom_) text += kBom;
  for (const std::string& line : lines_) {
    text += line;
    text += '\n';
  }
  return text;
}

FileResult IniFile::Save(const std::filesystem::path& path) const {
  return WriteFileAtomically(path, Text());
}

}  // namespace jubilora
