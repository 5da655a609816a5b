#pragma once
// The program keeps its texts as Windows-1252 bytes; Qt speaks Unicode. Every text that
// crosses into or out of a widget goes through this pair.

#include <optional>
#include <string>

#include <QString>

namespace jubilora {

QString FromCp1252(const std::string& text);
// Nothing when a character has no Windows-1252 byte; such text is refused, never altered.
std::optional<std::string> ToCp1252(const QString& text);

// The program's texts break lines with CR LF; Qt's widgets with a plain line feed.
QString WithLineFeeds(QString text);

}  // namespace jubilora
