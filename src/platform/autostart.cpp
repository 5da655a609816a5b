#include "platform/autostart.h"

#include <algorithm>
#include <sstream>
#include <string_view>
#include <system_error>

#include "core/product.h"
#include "data/atomic_file.h"
#include "platform/ini_file.h"

namespace jubilora {

namespace {

namespace fs = std::filesystem;

// The Desktop Entry rules, in their two layers. An Exec value is first a string value
// (backslash escapes \s \n \t \r \\), and the unescaped text is then a command line whose
// quoted words escape " ` $ and \ with a backslash; a literal % is written %%.

// The command as the Exec line's text, before string escaping: the program is always quoted,
// other words only when they hold a reserved character.
std::string ExecCommandLine(const std::vector<std::string>& command);
// The words of an Exec command line (string escapes already undone); nothing when its
// quoting is broken. Field codes standing alone (%f, %U ...) are dropped, since a log-on
// start passes no files.
std::optional<std::vector<std::string>> ExecWords(std::string_view commandLine);
std::string EscapeDesktopString(std::string_view text);
std::string UnescapeDesktopString(std::string_view value);

constexpr const char* EntryGroup = "[Desktop Entry]";
constexpr const char* EntryComment = "Shows the anniversaries around today when you log on";
// Characters that the Desktop Entry rules allow in an Exec word only inside quotes.
constexpr std::string_view ReservedCharacters = " \t\n\"'\\><~|&;$*?#()`";
// Inside quotes these take a backslash in front.
constexpr std::string_view QuotedEscapes = "\"`$\\";
// Field codes a launcher replaces; with no files to hand over they all expand to nothing.
constexpr std::string_view FieldCodes = "fFuUickdDnNvm";
constexpr std::size_t MaxEntrySize = 1u << 20;
constexpr std::string_view EntryTooLarge = "It is too large to be an autostart entry (over 1 MiB)";

// The keys of the [Desktop Entry] group that decide whether and what the entry starts.
struct EntryKeys {
  bool hasGroup = false;
  std::optional<std::string> type;
  std::optional<std::string> exec;
  std::optional<std::string> hidden;
  std::optional<std::string> gnomeEnabled;
};

EntryKeys ParseEntry(const std::string& text) {
  EntryKeys keys;
  bool inEntryGroup = false;
  std::istringstream lines(text);
  std::string raw;
  while (std::getline(lines, raw)) {
    std::string_view line(raw);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == '#') continue;
    if (trimmed.front() == '[') {
      inEntryGroup = trimmed == EntryGroup;
      keys.hasGroup = keys.hasGroup || inEntryGroup;
      continue;
    }
    if (!inEntryGroup) continue;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = TrimBlanks(line.substr(0, equals));
    std::string_view value = line.substr(equals + 1);
    value.remove_prefix(std::min(value.find_first_not_of(' '), value.size()));
    // The first occurrence of a key counts.
    auto take = [&](std::optional<std::string>& field) {
      if (!field) field = std::string(value);
    };
    if (key == "Type") take(keys.type);
    else if (key == "Exec") take(keys.exec);
    else if (key == "Hidden") take(keys.hidden);
    else if (key == "X-GNOME-Autostart-enabled") take(keys.gnomeEnabled);
  }
  return keys;
}

// Only a regular file of a sensible size is read, never waited on; failures read as nothing.
std::optional<std::string> ReadEntry(const fs::path& file) {
  std::string bytes;
  if (ReadRegularFile(file, MaxEntrySize, EntryTooLarge, bytes)) return std::nullopt;
  return bytes;
}

// Hidden=true or X-GNOME-Autostart-enabled=false is how desktops switch an entry off
// without removing it; such an entry starts nothing.
bool SwitchedOff(const EntryKeys& keys) {
  return (keys.hidden && TrimBlanks(*keys.hidden) == "true") ||
         (keys.gnomeEnabled && TrimBlanks(*keys.gnomeEnabled) == "false");
}

std::string DoublePercents(std::string_view word) {
  std::string out;
  for (const char c : word) {
    if (c == '%') out += '%';
    out += c;
  }
  return out;
}

std::string QuoteWord(std::string_view word) {
  std::string out = "\"";
  for (const char c : word) {
    if (QuotedEscapes.find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  out += '"';
  return out;
}

bool NeedsQuotes(std::string_view word) {
  return word.empty() || word.find_first_of(ReservedCharacters) != std::string_view::npos;
}

// What a launcher makes of the field codes when it hands over no files: "%%" is one "%",
// the codes vanish, anything else after "%" is left alone.
std::string ExpandFieldCodes(std::string_view line) {
  std::string out;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '%' && i + 1 < line.size()) {
      const char code = line[i + 1];
      if (code == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (FieldCodes.find(code) != std::string_view::npos) {
        ++i;
        continue;
      }
    }
    out += line[i];
  }
  return out;
}

// The whole desktop file that starts `command` at log-on.
std::string AutostartDesktopEntry(const std::vector<std::string>& command) {
  std::string entry;
  entry += std::string(EntryGroup) + "\n";
  entry += "Type=Application\n";
  entry += std::string("Name=") + ProductName + "\n";
  entry += std::string("Comment=") + EntryComment + "\n";
  entry += std::string("Icon=") + ApplicationId + "\n";
  entry += "Exec=" + EscapeDesktopString(ExecCommandLine(command)) + "\n";
  entry += "Terminal=false\n";
  entry += "X-GNOME-Autostart-enabled=true\n";
  return entry;
}

}  // namespace

XdgAutostart::XdgAutostart(fs::path folder)
    : folder_(std::move(folder)), file_(folder_ / (std::string(ProductName) + ".desktop")) {}

fs::path XdgAutostart::UserFolder(const EnvLookup& env) {
  return UserConfigHome(env).value_or(fs::path("/") / ".config") / "autostart";
}

XdgAutostart XdgAutostart::ForCurrentUser() { return XdgAutostart(UserFolder(ProcessEnvironment)); }

bool XdgAutostart::ValueExists() const {
  std::error_code error;
  if (!fs::is_regular_file(file_, error)) return false;
  const auto text = ReadEntry(file_);
  // An entry we cannot read is still there; ReadValue tells the caller it is unreadable.
  return !text || !SwitchedOff(ParseEntry(*text));
}

std::optional<std::vector<std::string>> XdgAutostart::ReadValue() const {
  std::error_code error;
  if (!fs::is_regular_file(file_, error)) return std::nullopt;
  const auto text = ReadEntry(file_);
  if (!text) return std::nullopt;
  const EntryKeys keys = ParseEntry(*text);
  if (!keys.hasGroup || !keys.exec || TrimBlanks(keys.type.value_or("")) != "Application")
    return std::vector<std::string>{};
  return ExecWords(UnescapeDesktopString(*keys.exec)).value_or(std::vector<std::string>{});
}

std::optional<std::string> XdgAutostart::WriteValue(const std::vector<std::string>& command) {
  // A folder made here is private, like every folder the program makes.
  if (auto failure = CreateOwnFolder(folder_)) return failure->reason;
  if (auto failure = WriteFileAtomically(file_, AutostartDesktopEntry(command))) return failure->reason;
  return std::nullopt;
}

std::optional<std::string> XdgAutostart::DeleteValue() {
  std::error_code error;
  fs::remove(file_, error);
  if (error) return error.message();
  SyncFolder(folder_);
  return std::nullopt;
}

namespace {

std::string ExecCommandLine(const std::vector<std::string>& command) {
  std::string line;
  for (std::size_t i = 0; i < command.size(); ++i) {
    if (i > 0) line += ' ';
    const std::string word = DoublePercents(command[i]);
    line += i == 0 || NeedsQuotes(word) ? QuoteWord(word) : word;
  }
  return line;
}

std::optional<std::vector<std::string>> ExecWords(std::string_view commandLine) {
  const std::string line = ExpandFieldCodes(commandLine);
  std::vector<std::string> words;
  std::size_t i = 0;
  const std::size_t n = line.size();
  auto isSeparator = [](char c) { return c == ' ' || c == '\t'; };
  while (true) {
    while (i < n && isSeparator(line[i])) ++i;
    if (i >= n) break;
    std::string word;
    bool quoted = false;
    while (i < n && !isSeparator(line[i])) {
      const char c = line[i];
      if (c == '"') {
        quoted = true;
        ++i;
        bool closed = false;
        while (i < n) {
          if (line[i] == '\\' && i + 1 < n && QuotedEscapes.find(line[i + 1]) != std::string_view::npos) {
            word += line[i + 1];
            i += 2;
          } else if (line[i] == '"') {
            closed = true;
            ++i;
            break;
          } else {
            word += line[i++];
          }
        }
        if (!closed) return std::nullopt;
      } else if (c == '\'') {
        // Not what the rules ask for, but launchers read the line as a shell would.
        quoted = true;
        const auto end = line.find('\'', i + 1);
        if (end == std::string::npos) return std::nullopt;
        word.append(line, i + 1, end - i - 1);
        i = end + 1;
      } else if (c == '\\' && i + 1 < n) {
        word += line[i + 1];
        i += 2;
      } else {
        word += c;
        ++i;
      }
    }
    if (!word.empty() || quoted) words.push_back(std::move(word));
  }
  return words;
}

std::string EscapeDesktopString(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    switch (const char c = text[i]) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      // A leading blank would be lost with the blanks after "=".
      case ' ': out += i == 0 ? "\\s" : " "; break;
      default: out += c;
    }
  }
  return out;
}

std::string UnescapeDesktopString(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    switch (const char next = value[++i]) {
      case 's': out += ' '; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case '\\': out += '\\'; break;
      // Unknown escapes are kept for the command-line layer ("\$" written by hand).
      default:
        out += '\\';
        out += next;
    }
  }
  return out;
}

}  // namespace

}  // namespace jubilora
