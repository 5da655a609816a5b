#include "data/data_file.h"

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

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

std::string Reason(int error) { return std::generic_category().message(error); }

// A path "exists" in any form, a dangling link included; when its state cannot be
// learned it counts as present, so that the operation on it reports the real error.
bool Exists(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found;
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
  const auto folder = file.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

void ReportSaveFailure(Ui& ui, const char* text) {
  ui.AnswerDialog(SaveErrorCaption, std::string(ProductName) + text + ChangesNotSaved, {OkButton},
                  IconKind::Error, true);
}

}  // namespace

std::string FileError::Describe() const { return "Cannot read the file \"" + file.string() + "\": " + reason; }

std::optional<FileError> ReadRecordFile(const std::filesystem::path& file, TAnniversaryList& records) {
  std::string bytes;
  if (const int failure = ReadWholeFile(file, bytes); failure != 0) return FileError{file, Reason(failure)};

  TAnniversaryList read;
  read.reserve(bytes.size() / RecordSize);
  for (std::size_t at = 0; at + RecordSize <= bytes.size(); at += RecordSize) {
    read.push_back(DecodeRecord(reinterpret_cast<const std::uint8_t*>(bytes.data() + at)));
  }
  records = std::move(read);
  return std::nullopt;
}

std::string EncodeRecords(const TAnniversaryList& records) {
  std::string bytes(records.size() * RecordSize, '\0');
  for (std::size_t i = 0; i < records.size(); ++i) {
    EncodeRecord(records[i], reinterpret_cast<std::uint8_t*>(bytes.data() + i * RecordSize));
  }
  return bytes;
}

std::optional<FileError> LoadData(const DataPaths& paths, TAnniversaryList& list) {
  const std::filesystem::path* source = nullptr;
  if (Exists(paths.data)) {
    source = &paths.data;
  } else if (Exists(paths.backup)) {
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

// The new data is written and synced before anything is deleted or moved, so at every
// moment a whole data file (old or new), or the old data as the backup, is on disk.
bool SaveData(TAnniversaryList& list, const DataPaths& paths, Ui& ui) {
  SortByDate(list, 0);

  // In the per-user layout the folder may not exist before the first save.
  std::error_code ignored;
  std::filesystem::create_directories(FolderOf(paths.data), ignored);

  std::string error;
  const auto temporary = WriteTemporaryBeside(paths.data, EncodeRecords(list), error);
  if (!temporary) {
    ReportSaveFailure(ui, CannotCreateDataFile);
    return false;
  }
  const auto giveUp = [&](const char* text) {
    std::error_code ec;
    std::filesystem::remove(*temporary, ec);
    ReportSaveFailure(ui, text);
    return false;
  };

  if (Exists(paths.backup)) {
    std::error_code ec;
    // Removes a file, a link or an empty folder; anything else is not ours to wipe out.
    std::filesystem::remove(paths.backup, ec);
    if (ec) return giveUp(CannotRemoveBackup);
  }
  if (Exists(paths.data) && rename(paths.data.c_str(), paths.backup.c_str()) != 0) {
    return giveUp(CannotMoveDataFile);
  }
  if (rename(temporary->c_str(), paths.data.c_str()) != 0) return giveUp(CannotCreateDataFile);

  SyncFolder(FolderOf(paths.data));
  if (FolderOf(paths.backup) != FolderOf(paths.data)) SyncFolder(FolderOf(paths.backup));
  return true;
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
