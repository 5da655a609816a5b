#include "data/data_file.h"

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <utility>

#include "core/ordering.h"
#include "core/product.h"
#include "data/atomic_file.h"

namespace jubilora {

namespace {

constexpr const char* SaveErrorCaption = "File I/O Error";
constexpr const char* CannotRemoveBackup = " could not remove existing autobackup file.\r\n\r\n";
constexpr const char* CannotMoveDataFile = " could not autobackup your current data file.\r\n\r\n";
constexpr const char* CannotCreateDataFile = " could not create a new data file.\r\n\r\n";
constexpr const char* ChangesNotSaved = "Your changes are not saved.";

constexpr const char* DeleteWhatCaption = "Delete What?";
constexpr const char* NothingToDelete =
    "There are no anniversaries records\r\nthat can be deleted.\r\n\r\nPlease enter some data first.";

constexpr const char* OkButton = "&OK";

// A failed save: the step's own message and the system's account of it.
struct SaveFailure {
  const char* message;
  FileError error;
};

std::optional<SaveFailure> Failed(const char* message, const std::filesystem::path& file, int error) {
  return SaveFailure{message, SystemError(file, FileAction::Write, error)};
}

std::optional<SaveFailure> Rename(const std::filesystem::path& from, const std::filesystem::path& to,
                                  const char* message) {
  if (rename(from.c_str(), to.c_str()) != 0) return Failed(message, to, errno);
  SyncFolder(FolderOf(to));
  return std::nullopt;
}

// The new data is written and flushed before anything is deleted or moved, and a missing
// data file is put in place before the backup is touched. So the last saved data is always
// whole as the data file or, when a crash came between the two renames, as the backup.
std::optional<SaveFailure> WriteDataFile(const std::string& bytes, const DataPaths& paths) {
  for (const auto* file : {&paths.data, &paths.backup}) {
    if (auto error = CreateOwnFolder(FolderOf(*file))) return SaveFailure{CannotCreateDataFile, *error};
  }
  std::filesystem::path temporary;
  if (auto error = WriteTemporaryBeside(paths.data, bytes, temporary)) {
    return SaveFailure{CannotCreateDataFile, *error};
  }
  const auto rotate = [&]() -> std::optional<SaveFailure> {
    if (!PathExists(paths.data)) return Rename(temporary, paths.data, CannotCreateDataFile);
    if (PathExists(paths.backup)) {
      std::error_code ec;
      // Removes a file, a link or an empty folder; anything else is not ours to wipe out.
      std::filesystem::remove(paths.backup, ec);
      if (ec) return Failed(CannotRemoveBackup, paths.backup, ec.value());
    }
    if (auto failure = Rename(paths.data, paths.backup, CannotMoveDataFile)) return failure;
    return Rename(temporary, paths.data, CannotCreateDataFile);
  };
  if (auto failure = rotate()) {
    std::error_code ec;
    std::filesystem::remove(temporary, ec);
    return failure;
  }
  RemoveStaleTemporaries(paths.data);
  return std::nullopt;
}

}  // namespace

TAnniversaryList DecodeRecords(std::string_view bytes) {
  TAnniversaryList records;
  records.reserve(bytes.size() / RecordSize);
  for (std::size_t at = 0; at + RecordSize <= bytes.size(); at += RecordSize) {
    records.push_back(DecodeRecord(reinterpret_cast<const std::uint8_t*>(bytes.data() + at)));
  }
  return records;
}

std::string EncodeRecords(const TAnniversaryList& records) {
  std::string bytes(records.size() * RecordSize, '\0');
  for (std::size_t i = 0; i < records.size(); ++i) {
    EncodeRecord(records[i], reinterpret_cast<std::uint8_t*>(bytes.data() + i * RecordSize));
  }
  return bytes;
}

FileResult ReadRecordFile(const std::filesystem::path& file, TAnniversaryList& records) {
  std::string bytes;
  if (auto error = ReadRegularFile(file, MaxRecordFileSize, RecordFileTooLarge, bytes)) return error;
  records = DecodeRecords(bytes);
  return std::nullopt;
}

FileResult LoadData(const DataPaths& paths, TAnniversaryList& list) {
  const std::filesystem::path* source = nullptr;
  if (PathExists(paths.data)) {
    source = &paths.data;
  } else if (PathExists(paths.backup)) {
    // Read where it is: the backup stays the backup until the next save rotates it.
    source = &paths.backup;
  } else {
    list.clear();
    return std::nullopt;
  }

  TAnniversaryList loaded;
  if (auto error = ReadRecordFile(*source, loaded)) return error;
  list = std::move(loaded);
  SortByDate(list, 0);
  return std::nullopt;
}

FileResult SaveData(TAnniversaryList& list, const DataPaths& paths, Ui& ui) {
  SortByDate(list, 0);
  const auto failure = WriteDataFile(EncodeRecords(list), paths);
  if (!failure) {
    ui.DataSaved(list);
    return std::nullopt;
  }
  ui.AnswerDialog(SaveErrorCaption, std::string(ProductName) + failure->message + ChangesNotSaved, {OkButton},
                  IconKind::Error, true);
  return failure->error;
}

void DeleteRecord(TAnniversaryList& list, int index, Ui& ui) {
  if (list.empty()) {
    ui.AnswerDialog(DeleteWhatCaption, NothingToDelete, {OkButton}, IconKind::Warning, true);
    return;
  }
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return;
  list.erase(list.begin() + index);
}

}  // namespace jubilora
