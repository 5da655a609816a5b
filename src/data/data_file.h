#pragma once
// The data file and its automatic backup.

#include <filesystem>
#include <optional>
#include <string>

#include "core/anniversary.h"
#include "core/ports.h"

namespace jubilora {

struct DataPaths {
  std::filesystem::path data;    // .jld
  std::filesystem::path backup;  // .jlb
};

struct FileError {
  std::filesystem::path file;
  std::string reason;  // the system's words, e.g. "Permission denied"
  // "Cannot read <file>: <reason>"
  std::string Describe() const;
};

// Every 72-byte record of a file; a trailing fragment is ignored. An error leaves
// `records` untouched.
std::optional<FileError> ReadRecordFile(const std::filesystem::path& file, TAnniversaryList& records);
std::string EncodeRecords(const TAnniversaryList& records);

// Replaces `list` with the data file, or the backup when the data file is missing, and
// sorts it by date. Neither existing: an empty list. A source that cannot be read
// leaves `list` as it was and returns the error.
std::optional<FileError> LoadData(const DataPaths& paths, TAnniversaryList& list);

// Sorts by date and writes the data file, turning the previous one into the backup.
// Failures are reported through `ui`; returns whether the data reached the disk.
bool SaveData(TAnniversaryList& list, const DataPaths& paths, Ui& ui);

// Removes one record (0 <= index < size), or tells the user there is nothing to delete.
void DeleteRecord(TAnniversaryList& list, int index, Ui& ui);

}  // namespace jubilora
