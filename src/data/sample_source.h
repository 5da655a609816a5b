#pragma once
// The readable source of the sample file: one record per line, turned into the 72-byte
// records of the sample file when the program is built.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/anniversary.h"

namespace jubilora {

struct SampleSourceError {
  int line = 0;  // 1-based
  std::string message;
};

struct ParsedSamples {
  TAnniversaryList records;  // empty when there is an error
  std::optional<SampleSourceError> error;
};

// Lines of "kind | YYYY-MM-DD | reminder | description" (UTF-8); blank lines and lines
// starting with "#" are skipped. Every record gets Importance 255, the sample marker.
ParsedSamples ParseSampleSource(std::string_view text);

// Reads `source` and writes its records to `output`, whole or not at all. Returns a
// message naming the file and line of the first error.
std::optional<std::string> BuildSampleFile(const std::filesystem::path& source, const std::filesystem::path& output);

}  // namespace jubilora
