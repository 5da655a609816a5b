#include "data/vcard.h"

#include <algorithm>
#include <utility>

#include "core/ascii.h"
#include "core/calendar.h"
#include "core/text_codec.h"

namespace jubilora {

namespace {

constexpr char NoEndReason[] = "card has no END:VCARD";
constexpr char OutsideCardReason[] = "text outside a card";
constexpr char NotPropertyReason[] = "not a property line";
constexpr char TooLongReason[] = "line longer than 64 KiB, skipped";
constexpr char UnterminatedReason[] = "quoted-printable text not terminated";
constexpr char BadDateReason[] = "not a valid date";
constexpr char NoNameReason[] = "card without a name, its dates skipped";
constexpr char UnknownCharsetReason[] = "unknown character set";
constexpr char EncodingReason[] = "unsupported encoding";
constexpr char MoreProblemsReason[] = " more problems not listed";

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
// A date without a year is checked against a leap year, where 29 February is a day.
constexpr int AnyLeapYear = 2000;
// Enough of a damaged value to recognise it in a problem's text.
constexpr std::size_t ShownValueLength = 40;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Printable ASCII of a value, shortened, for a problem's text.
std::string Shown(std::string_view value) {
  std::string out;
  for (const char c : value.substr(0, ShownValueLength)) out += (c >= 0x20 && c < 0x7F) ? c : '?';
  return out;
}

// Control characters (line breaks from \n included) become blanks; runs of blanks one.
std::string CleanText(std::string_view utf8) {
  std::string out;
  for (const char c : utf8) {
    const bool blank = static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == ' ';
    if (!blank) {
      out += c;
    } else if (!out.empty() && out.back() != ' ') {
      out += ' ';
    }
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// --- Problems ------------------------------------------------------------------------------

class Problems {
 public:
  void Add(int line, std::string reason) {
    if (list_.size() < MaxVCardProblems) {
      list_.push_back({line, std::move(reason)});
    } else if (more_++ == 0) {
      firstMoreLine_ = line;
    }
  }
  std::vector<VCardProblem> Finish() {
    if (more_ > 0) list_.push_back({firstMoreLine_, std::to_string(more_) + MoreProblemsReason});
    return std::move(list_);
  }

 private:
  std::vector<VCardProblem> list_;
  std::size_t more_ = 0;
  int firstMoreLine_ = 0;
};

// --- Lines ---------------------------------------------------------------------------------

// The file's lines without their breaks (LF or CR LF), numbered from 1.
class PhysicalLines {
 public:
  explicit PhysicalLines(std::string_view bytes) : bytes_(bytes) {}
  bool AtEnd() const { return pos_ >= bytes_.size(); }
  std::string_view Peek() {
    if (next_ == std::string_view::npos) next_ = bytes_.find('\n', pos_);
    std::string_view line = bytes_.substr(pos_, next_ == std::string_view::npos ? next_ : next_ - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
  }
  std::string_view Take() {
    const std::string_view line = Peek();
    pos_ = next_ == std::string_view::npos ? bytes_.size() : next_ + 1;
    next_ = std::string_view::npos;
    ++number_;
    return line;
  }
  int Number() const { return number_; }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
  std::size_t next_ = std::string_view::npos;
  int number_ = 0;
};

// One property with its folded and soft-broken continuations joined.
struct LogicalLine {
  std::string text;  // at most MaxVCardLine bytes
  int line = 0;
  bool tooLong = false;
  bool unterminated = false;  // quoted-printable text whose soft break leads nowhere
};

void AppendCapped(LogicalLine& logical, std::string_view piece) {
  const std::size_t room = MaxVCardLine - logical.text.size();
  if (piece.size() > room) logical.tooLong = true;
  logical.text.append(piece.substr(0, room));
}

bool IsBegin(std::string_view line) { return EqualsNoCase(TrimBlanks(line), "BEGIN:VCARD"); }
bool IsEnd(std::string_view line) { return EqualsNoCase(TrimBlanks(line), "END:VCARD"); }

// The first ':' that is not inside a quoted parameter value.
std::size_t ValueColon(std::string_view line) {
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == ':' && !quoted) return i;
  }
  return std::string_view::npos;
}

bool DeclaresQuotedPrintable(std::string_view line) {
  const std::size_t colon = ValueColon(line);
  return colon != std::string_view::npos && UpperAscii(line.substr(0, colon)).find("QUOTED-PRINTABLE") != std::string::npos;
}

bool EndsWithEquals(std::string_view piece) { return !piece.empty() && piece.back() == '='; }

LogicalLine NextLogicalLine(PhysicalLines& lines) {
  LogicalLine logical;
  std::string_view piece = lines.Take();
  logical.line = lines.Number();
  AppendCapped(logical, piece);
  bool softBreak = EndsWithEquals(piece);
  // Decided once, when a soft break first asks, so that a huge line is not searched again.
  std::optional<bool> quotedPrintable;
  const auto isQuotedPrintable = [&] {
    if (!quotedPrintable) quotedPrintable = DeclaresQuotedPrintable(logical.text);
    return *quotedPrintable;
  };
  while (!lines.AtEnd()) {
    const std::string_view next = lines.Peek();
    if (!next.empty() && (next.front() == ' ' || next.front() == '\t')) {
      lines.Take();
      AppendCapped(logical, next.substr(1));
      if (next.size() > 1) softBreak = EndsWithEquals(next);
      continue;
    }
    if (!softBreak || !isQuotedPrintable()) return logical;
    // A card's end after a soft break means the writer broke the text off.
    if (IsBegin(next) || IsEnd(next)) {
      logical.unterminated = true;
      return logical;
    }
    lines.Take();
    if (!logical.tooLong) logical.text.pop_back();  // the soft break's "="
    AppendCapped(logical, next);
    softBreak = EndsWithEquals(next);
  }
  logical.unterminated = softBreak && isQuotedPrintable();
  return logical;
}

// --- Properties ----------------------------------------------------------------------------

struct Parameter {
  std::string name;  // upper-case
  std::string value;
};

struct Property {
  std::string group;  // upper-case; empty when there is none
  std::string name;   // upper-case
  std::vector<Parameter> parameters;
  std::string_view value;

  std::optional<std::string> Param(std::string_view wanted) const {
    for (const Parameter& p : parameters) {
      if (p.name == wanted) return p.value;
    }
    return std::nullopt;
  }
};

bool IsNameCharacter(char c) {
  return IsDigit(c) || (AsciiUpper(c) >= 'A' && AsciiUpper(c) <= 'Z') || c == '-' || c == '_';
}

bool IsEncodingWord(std::string_view word) {
  for (const std::string_view known : {"QUOTED-PRINTABLE", "BASE64", "8BIT", "7BIT"}) {
    if (EqualsNoCase(word, known)) return true;
  }
  return false;
}

// Splits at `separator` outside quotes.
std::vector<std::string_view> SplitOutsideQuotes(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') quoted = !quoted;
    if (text[i] == separator && !quoted) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(text.substr(start));
  return parts;
}

Parameter ParseParameter(std::string_view text) {
  text = TrimBlanks(text);
  const std::size_t equals = text.find('=');
  // vCard 2.1 writes bare values: "TEL;HOME:", "N;QUOTED-PRINTABLE:".
  if (equals == std::string_view::npos) return {IsEncodingWord(text) ? "ENCODING" : "TYPE", std::string(text)};
  std::string_view value = TrimBlanks(text.substr(equals + 1));
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  return {UpperAscii(TrimBlanks(text.substr(0, equals))), std::string(value)};
}

std::optional<Property> ParseProperty(std::string_view line) {
  const std::size_t colon = ValueColon(line);
  if (colon == std::string_view::npos) return std::nullopt;
  const std::vector<std::string_view> head = SplitOutsideQuotes(line.substr(0, colon), ';');
  const std::string_view fullName = TrimBlanks(head.front());
  const std::size_t dot = fullName.rfind('.');
  const std::string_view group = dot == std::string_view::npos ? std::string_view{} : fullName.substr(0, dot);
  const std::string_view name = dot == std::string_view::npos ? fullName : fullName.substr(dot + 1);
  const bool valid = std::all_of(group.begin(), group.end(), [](char c) { return IsNameCharacter(c) || c == '.'; });
  if (name.empty() || !valid || !std::all_of(name.begin(), name.end(), IsNameCharacter)) return std::nullopt;
  Property property{UpperAscii(group), UpperAscii(name), {}, line.substr(colon + 1)};
  for (std::size_t i = 1; i < head.size(); ++i) property.parameters.push_back(ParseParameter(head[i]));
  return property;
}

std::string DecodeQuotedPrintable(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '=' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      out += text[i];  // a stray "=" is kept as written
    }
  }
  return out;
}

bool IsUtf8Name(std::string_view charset) { return EqualsNoCase(charset, "UTF-8") || EqualsNoCase(charset, "UTF8"); }

// Files that say ISO-8859-1 mean Windows-1252 where they differ (0x80..0x9F are unused
// controls in the former), so one reading serves both, and plain ASCII too.
bool IsWesternName(std::string_view charset) {
  for (const std::string_view known :
       {"ISO-8859-1", "ISO8859-1", "ISO_8859-1", "LATIN1", "WINDOWS-1252", "CP1252", "US-ASCII", "ASCII"}) {
    if (EqualsNoCase(charset, known)) return true;
  }
  return false;
}

// Old files without a character set are often in the writer's code page: bytes that are not
// UTF-8 are read as Windows-1252 rather than lost.
std::string AsUtf8(std::string bytes) { return IsValidUtf8(bytes) ? bytes : Cp1252ToUtf8(bytes); }

// The property's text as UTF-8, still escaped; nothing (with a problem) when it cannot be read.
std::optional<std::string> TextOf(const Property& property, int line, Problems& problems) {
  std::string bytes(property.value);
  if (const auto encoding = property.Param("ENCODING")) {
    if (EqualsNoCase(*encoding, "QUOTED-PRINTABLE")) {
      bytes = DecodeQuotedPrintable(bytes);
    } else if (!EqualsNoCase(*encoding, "8BIT") && !EqualsNoCase(*encoding, "7BIT")) {
      problems.Add(line, property.name + ": " + EncodingReason + " " + Shown(*encoding));
      return std::nullopt;
    }
  }
  const auto charset = property.Param("CHARSET");
  if (!charset || IsUtf8Name(*charset)) return AsUtf8(std::move(bytes));
  if (IsWesternName(*charset)) return Cp1252ToUtf8(bytes);
  problems.Add(line, property.name + ": " + UnknownCharsetReason + " " + Shown(*charset));
  return AsUtf8(std::move(bytes));
}

// The escapes \, \; \: \\ and \n (\N, a line break); any other backslash stays as written.
std::string Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char next = text[i + 1];
      if (next == 'n' || next == 'N') {
        out += '\n';
        ++i;
        continue;
      }
      if (next == ',' || next == ';' || next == ':' || next == '\\') {
        out += next;
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

// Splits at `separator` where no backslash escapes it.
std::vector<std::string_view> SplitUnescaped(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\') {
      ++i;
    } else if (text[i] == separator) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(text.substr(start));
  return parts;
}

// A component of N may hold several values separated by commas.
std::string NameComponent(const std::vector<std::string_view>& components, std::size_t index) {
  if (index >= components.size()) return {};
  std::string joined;
  for (const std::string_view value : SplitUnescaped(components[index], ',')) joined += Unescape(value) + " ";
  return joined;
}

// N is family;given;additional;prefixes;suffixes: the name is "given family".
std::string NameFromStructured(std::string_view text) {
  const std::vector<std::string_view> components = SplitUnescaped(text, ';');
  return CleanText(NameComponent(components, 1) + NameComponent(components, 0));
}

// Apple's own labels look like _$!<Anniversary>!$_: they become plain lower-case words
// ("anniversary", "home page"); the user's own labels stay as typed.
std::string PlainLabel(std::string_view label) {
  constexpr std::string_view open = "_$!<";
  constexpr std::string_view close = ">!$_";
  if (label.size() < open.size() + close.size() || label.substr(0, open.size()) != open ||
      label.substr(label.size() - close.size()) != close) {
    return CleanText(label);
  }
  const std::string_view inner = label.substr(open.size(), label.size() - open.size() - close.size());
  std::string words;
  for (std::size_t i = 0; i < inner.size(); ++i) {
    const bool wordStart = i > 0 && AsciiUpper(inner[i]) == inner[i] && AsciiLower(inner[i]) != inner[i] &&
                           AsciiLower(inner[i - 1]) == inner[i - 1] && AsciiUpper(inner[i - 1]) != inner[i - 1];
    if (wordStart) words += ' ';
    words += AsciiLower(inner[i]);
  }
  return CleanText(words);
}

// --- Dates ---------------------------------------------------------------------------------

struct Date {
  int month = 0;
  int day = 0;
  std::optional<int> year;
};

// YYYY-MM-DD, YYYYMMDD, --MM-DD or --MMDD, with or without a time part.
std::optional<Date> ParseDate(std::string_view text, const std::optional<std::string>& omittedYear) {
  text = TrimBlanks(text);
  if (const std::size_t time = text.find_first_of("Tt"); time != std::string_view::npos) text = text.substr(0, time);
  std::string_view y;
  std::string_view m;
  std::string_view d;
  if (text.size() == 7 && text.substr(0, 2) == "--" && text[4] == '-') {
    m = text.substr(2, 2), d = text.substr(5, 2);
  } else if (text.size() == 6 && text.substr(0, 2) == "--") {
    m = text.substr(2, 2), d = text.substr(4, 2);
  } else if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
    y = text.substr(0, 4), m = text.substr(5, 2), d = text.substr(8, 2);
  } else if (text.size() == 8) {
    y = text.substr(0, 4), m = text.substr(4, 2), d = text.substr(6, 2);
  } else {
    return std::nullopt;
  }
  const auto month = DecimalDigits(m);
  const auto day = DecimalDigits(d);
  const auto year = DecimalDigits(y);
  if (!month || !day || (!y.empty() && !year)) return std::nullopt;
  Date date{*month, *day, year};
  // Apple writes a date the user gave no year with a stand-in year, and names it.
  if (year && omittedYear && DecimalDigits(*omittedYear) == year) date.year.reset();
  if (!IsValidCivil(date.year.value_or(AnyLeapYear), date.month, date.day)) return std::nullopt;
  return date;
}

std::optional<ContactDateKind> DateKindOf(std::string_view name) {
  if (name == "BDAY") return ContactDateKind::Birthday;
  for (const std::string_view anniversary :
       {"ANNIVERSARY", "X-ANNIVERSARY", "X-EVOLUTION-ANNIVERSARY", "X-MS-ANNIVERSARY"}) {
    if (name == anniversary) return ContactDateKind::Anniversary;
  }
  if (name == "X-ABDATE") return ContactDateKind::Other;
  return std::nullopt;
}

// --- Cards ---------------------------------------------------------------------------------

struct FoundDate {
  ContactDateKind kind;
  Date date;
  std::string group;
  int line;
};

struct Card {
  int beginLine = 0;
  std::string formattedName;
  std::string structuredName;
  std::vector<FoundDate> dates;
  std::vector<std::pair<std::string, std::string>> labels;  // group, label
  // vCard 2.1 lets base64 data run on over unindented lines until a blank line.
  bool inBase64 = false;
};

void ReadProperty(Card& card, const LogicalLine& logical, Problems& problems) {
  const auto property = ParseProperty(logical.text);
  if (!property) {
    if (!card.inBase64) problems.Add(logical.line, logical.tooLong ? TooLongReason : NotPropertyReason);
    return;
  }
  const auto encoding = property->Param("ENCODING");
  card.inBase64 = encoding && (EqualsNoCase(*encoding, "BASE64") || EqualsNoCase(*encoding, "B"));
  if (logical.unterminated) return problems.Add(logical.line, property->name + ": " + UnterminatedReason);

  const auto kind = DateKindOf(property->name);
  const bool isName = property->name == "FN" || property->name == "N";
  const bool isLabel = property->name == "X-ABLABEL" && !property->group.empty();
  // Photos and other data the import never reads may be as long as they like.
  if (!kind && !isName && !isLabel) return;
  if (logical.tooLong) return problems.Add(logical.line, property->name + ": " + TooLongReason);

  const auto text = TextOf(*property, logical.line, problems);
  if (!text) return;
  if (property->name == "FN") {
    if (card.formattedName.empty()) card.formattedName = CleanText(Unescape(*text));
  } else if (property->name == "N") {
    if (card.structuredName.empty()) card.structuredName = NameFromStructured(*text);
  } else if (isLabel) {
    card.labels.emplace_back(property->group, PlainLabel(Unescape(*text)));
  } else if (const auto date = ParseDate(*text, property->Param("X-APPLE-OMIT-YEAR"))) {
    card.dates.push_back({*kind, *date, property->group, logical.line});
  } else {
    problems.Add(logical.line, property->name + ": " + BadDateReason + " (" + Shown(*text) + ")");
  }
}

std::string LabelOf(const Card& card, const std::string& group) {
  if (group.empty()) return {};
  for (const auto& [labelGroup, label] : card.labels) {
    if (labelGroup == group) return label;
  }
  return {};
}

bool SameEvent(const ContactEvent& a, const ContactEvent& b) {
  return a.kind == b.kind && a.month == b.month && a.day == b.day && a.year == b.year && a.label == b.label;
}

void FinishCard(const Card& card, VCardContents& contents, Problems& problems) {
  if (card.dates.empty()) return;
  const std::string& name = card.formattedName.empty() ? card.structuredName : card.formattedName;
  if (name.empty()) return problems.Add(card.beginLine, NoNameReason);
  const std::size_t first = contents.events.size();
  for (const FoundDate& found : card.dates) {
    ContactEvent event{name,        found.kind, found.date.month, found.date.day, found.date.year,
                       LabelOf(card, found.group), found.line};
    // Some programs write the same date under two names (X-ANNIVERSARY and their own).
    const auto same = [&event](const ContactEvent& e) { return SameEvent(e, event); };
    if (std::none_of(contents.events.begin() + static_cast<std::ptrdiff_t>(first), contents.events.end(), same)) {
      contents.events.push_back(std::move(event));
    }
  }
}

}  // namespace

VCardContents ReadVCards(std::string_view bytes) {
  if (bytes.substr(0, ByteOrderMark.size()) == ByteOrderMark) bytes.remove_prefix(ByteOrderMark.size());
  VCardContents contents;
  Problems problems;
  std::optional<Card> card;
  bool outsideReported = false;  // one problem for each stretch of text between cards
  PhysicalLines lines(bytes);
  while (!lines.AtEnd()) {
    const LogicalLine logical = NextLogicalLine(lines);
    if (TrimBlanks(logical.text).empty()) {
      if (card) card->inBase64 = false;
    } else if (IsBegin(logical.text)) {
      if (card) {
        problems.Add(card->beginLine, NoEndReason);
        FinishCard(*card, contents, problems);
      }
      card.emplace();
      card->beginLine = logical.line;
      ++contents.cards;
      outsideReported = false;
    } else if (!card) {
      if (!outsideReported) problems.Add(logical.line, OutsideCardReason);
      outsideReported = true;
    } else if (IsEnd(logical.text)) {
      FinishCard(*card, contents, problems);
      card.reset();
      outsideReported = false;
    } else {
      ReadProperty(*card, logical, problems);
    }
  }
  // A file cut short keeps what its last card says, with the problem shown.
  if (card) {
    problems.Add(card->beginLine, NoEndReason);
    FinishCard(*card, contents, problems);
  }
  contents.problems = problems.Finish();
  return contents;
}

}  // namespace jubilora
