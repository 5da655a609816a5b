#pragma once
// The data file and its automatic backup.

#include <filesystem>
#include <string>
#include <string_view>

#include "core/anniversary.h"
#include "core/ports.h"
#include "data/file_error.h"

namespace jubilora {

struct DataPaths {
  std::filesystem::path data;    // .jld
  std::filesystem::path backup;  // .jlb
};

// Every 72-byte record of the bytes; a trailing fragment is ignored.
TAnniversaryList DecodeRecords(std::string_view bytes);
std::string EncodeRecords(const TAnniversaryList& records);

// Every record of a file of records (a regular file of at most MaxRecordFileSize bytes).
// An error leaves `records` untouched.
FileResult ReadRecordFile(const std::filesystem::path& file, TAnniversaryList& records);

// Replaces `list` with the data file, or the backup when the data file is missing, and
// sorts it by date. Neither existing: an empty list. A source that cannot be read
// leaves `list` as it was and returns the error.
FileResult LoadData(const DataPaths& paths, TAnniversaryList& list);

// Sorts by date and writes the data file, turning the previous one into the backup. At
// every moment, whatever happens, the old or the new data is whole under a name that
// LoadData reads. A failure is reported through `ui` and returned; a success is told to
// `ui` as DataSaved.
FileResult SaveData(TAnniversaryList& list, const DataPaths& paths, Ui& ui);

// Removes one record (0 <= index < size), or tells the user there is nothing to delete.
void DeleteRecord(TAnniversaryList& list, int index, Ui& ui);

}  // namespace jubilora
