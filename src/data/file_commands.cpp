#include "data/file_commands.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "core/ordering.h"
#include "core/product.h"
#include "data/atomic_file.h"
#include "data/destination.h"

namespace jubilora {

namespace {

constexpr const char* OkButton = "&OK";
constexpr const char* ProceedButton = "&Proceed";
constexpr const char* CancelButton = "&Cancel";

constexpr const char* BackupCaption = "Backup Your Data";
constexpr const char* NothingToBackup =
    "There is nothing to backup.\r\n\r\nPlease enter some data before performing\r\na backup operation.";
constexpr const char* BackupQuestion =
    "Please select file path and name for a\r\nbackup copy of your anniversaries data.\r\n\r\n"
    "You may use this to secure collected data\r\nor to synchronize it with Jubilora on some\r\n"
    "other computer.";
constexpr const char* BackupNameSuffix = " Jubilora Backup.jld";

constexpr const char* RestoreCaption = "Restore Your Data";
constexpr const char* RestoreQuestion =
    "Please select a backup file that contains\r\ndata you wish to restore.\r\n\r\n"
    "You may use any backup file that you created\r\nearlier, or you may try with the latest\r\n"
    "autobackup file to undo the last edit.";
constexpr const char* OwnBackupButton = "Use &My Backup File";
constexpr const char* AutoBackupButton = "Use &Autobackup File";
constexpr const char* ConfirmCaption = "Please Confirm Overwrite";
constexpr const char* ConfirmQuestion =
    "Your current data file is not empty.\r\n\r\nAre you sure you wish to overwrite\r\n"
    "current data file with the backup?";
constexpr const char* OverwriteButton = "&Yes, overwrite";
constexpr const char* AbortButton = "&No, abort restoration";

constexpr const char* SynchronizeCaption = "Synchronize Data";
constexpr const char* SynchronizeQuestion =
    "Please select a backup file to synchronize\r\nyour data with.\r\n\r\n"
    "Please note that data from the file you\r\nselect will be added to your current data\r\n"
    "file. Selected file will remain the same.";

constexpr const char* ExportCaption = "Export Your Data";
constexpr const char* NothingToExport =
    "There is nothing to export.\r\n\r\nPlease enter some data before performing\r\nan export operation.";
constexpr const char* ExportQuestion =
    "Please select file path and name for a text\r\nfile containing your anniversaries data.\r\n\r\n"
    "You may use this to open you data in other\r\napplications.";

constexpr const char* DataFilter = "Jubilora Data (*.jld)";
constexpr const char* RestSyncFilter = "Jubilora Data (*.jld);;Jubilora Auto Backup (*.jlb)";
constexpr int DataFilterEntry = 1;
constexpr int AutoBackupFilterEntry = 2;
constexpr const char* DataExtension = "jld";
constexpr const char* AutoBackupExtension = "jlb";

constexpr const char* CopyOntoItself = "It is the file being copied";

constexpr int Proceed = 1;
constexpr int UseOwnBackup = 1;
constexpr int UseAutoBackup = 2;
constexpr int Overwrite = 1;

bool Asked(Ui& ui, const char* caption, const char* message, std::vector<std::string> buttons, IconKind icon,
           int wanted) {
  return ui.AnswerDialog(caption, message, buttons, icon, true) == wanted;
}

// Backup and the exports: an empty list has nothing to write, told so; otherwise the user is
// asked to go on.
bool ProceedWithList(const TAnniversaryList& anniversaries, Ui& ui, const char* caption, const char* nothing,
                     const char* question) {
  if (anniversaries.empty()) {
    ui.AnswerDialog(caption, nothing, {OkButton}, IconKind::Warning, true);
    return false;
  }
  return Asked(ui, caption, question, {ProceedButton, CancelButton}, IconKind::Question, Proceed);
}

// Everything that makes two records the same anniversary, as bytes for a hash set.
// Nothing when the date is NaN: a NaN equals nothing, not even itself.
std::optional<std::string> IdentityKey(const TAnniversary& record) {
  if (record.Date != record.Date) return std::nullopt;
  // -0.0 and 0.0 are equal dates.
  const double date = record.Date == 0.0 ? 0.0 : record.Date;
  const auto bits = std::bit_cast<std::uint64_t>(date);
  std::string key;
  key.push_back(static_cast<char>(record.Kind));
  for (int i = 0; i < 8; ++i) key.push_back(static_cast<char>(bits >> (8 * i)));
  key.push_back(static_cast<char>(record.Importance));
  key.push_back(static_cast<char>(record.ReminderDays));
  key.push_back(static_cast<char>(record.DescriptionLength));
  const std::size_t length = std::min<std::size_t>(record.DescriptionLength, MaxDescriptionLength);
  key.append(record.DescriptionChars.data(), length);
  return key;
}

std::string PadWithZeros(int value, int width) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
  return text;
}

// Replaces `destination` by a copy of `source`, whole or not at all: the whole source is
// read before the destination is touched.
FileResult CopyFileContents(const std::filesystem::path& source, const std::filesystem::path& destination) {
  std::string bytes;
  if (auto error = ReadRegularFile(source, MaxRecordFileSize, RecordFileTooLarge, bytes)) return error;
  // Writing a file onto itself would lose it.
  if (SameFile(source, destination)) return FileError{destination, FileAction::Write, CopyOntoItself};
  return WriteFileAtomically(destination, bytes);
}

// The folder of a chosen file, with its trailing separator; empty when it names none.
std::string FolderWithSeparator(const std::filesystem::path& file) {
  std::string folder = file.parent_path().string();
  if (folder.empty()) return folder;
  if (folder.back() != '/') folder.push_back('/');
  return folder;
}

}  // namespace

std::string GetBackupFileName(const LocalDateTime& now) {
  return PadWithZeros(now.year, 4) + "-" + PadWithZeros(now.month, 2) + "-" + PadWithZeros(now.day, 2) + "@" +
         PadWithZeros(now.hour, 2) + "-" + PadWithZeros(now.minute, 2) + "-" + PadWithZeros(now.second, 2) +
         BackupNameSuffix;
}

void BackupCommand(const TAnniversaryList& anniversaries, const DataPaths& paths, TCfg& cfg, Ui& ui,
                   const ReadLocalClock& readClock) {
  if (!ProceedWithList(anniversaries, ui, BackupCaption, NothingToBackup, BackupQuestion)) return;

  FileDialogOptions dialog;
  dialog.title = BackupCaption;
  dialog.filter = DataFilter;
  dialog.defaultSuffix = DataExtension;
  dialog.initialFolder = cfg.LastPath;
  dialog.initialName = GetBackupFileName(readClock());
  const auto chosen = ui.ChooseSaveFile(dialog);
  if (!chosen) return;

  // The file on disk is copied, not the list: every accepted change is already saved.
  std::string bytes;
  auto error = ReadRegularFile(paths.data, MaxRecordFileSize, RecordFileTooLarge, bytes);
  if (!error) error = WriteChosenFile(*chosen, bytes, {paths.data, paths.backup});
  if (error) {
    ui.ReportError(error->Describe());
    return;
  }
  cfg.LastPath = FolderWithSeparator(*chosen);
}

void RestoreCommand(TAnniversaryList& anniversaries, const DataPaths& paths, TCfg& cfg, Ui& ui) {
  const int choice = ui.AnswerDialog(RestoreCaption, RestoreQuestion, {OwnBackupButton, AutoBackupButton, CancelButton},
                                     IconKind::Question, true);
  FileDialogOptions dialog;
  dialog.filter = RestSyncFilter;
  if (choice == UseOwnBackup) {
    dialog.initialFolder = cfg.LastPath;
    dialog.defaultSuffix = DataExtension;
    dialog.filterIndex = DataFilterEntry;
  } else if (choice == UseAutoBackup) {
    dialog.initialName = paths.backup.string();
    dialog.defaultSuffix = AutoBackupExtension;
    dialog.filterIndex = AutoBackupFilterEntry;
  } else {
    return;
  }
  const auto chosen = ui.ChooseOpenFile(dialog);
  if (!chosen) return;

  if (!anniversaries.empty() &&
      !Asked(ui, ConfirmCaption, ConfirmQuestion, {OverwriteButton, AbortButton}, IconKind::Question, Overwrite)) {
    return;
  }

  // In the per-user layout the data folder may not exist before the first save.
  auto error = CreateOwnFolder(FolderOf(paths.data));
  if (!error) error = CopyFileContents(*chosen, paths.data);
  if (error) {
    ui.ReportError(error->Describe());
    return;
  }
  if ((error = LoadData(paths, anniversaries))) {
    ui.ReportError(error->Describe());
    return;
  }
  ui.DataSaved(anniversaries);
  ui.DisplayData();
  if (choice == UseOwnBackup) cfg.LastPath = FolderWithSeparator(*chosen);
}

void SynchronizeCommand(TAnniversaryList& anniversaries, const DataPaths& paths, const TCfg& cfg, Ui& ui) {
  if (!Asked(ui, SynchronizeCaption, SynchronizeQuestion, {ProceedButton, CancelButton}, IconKind::Information,
             Proceed)) {
    return;
  }
  FileDialogOptions dialog;
  dialog.filter = RestSyncFilter;
  dialog.initialFolder = cfg.LastPath;
  dialog.defaultSuffix = DataExtension;
  dialog.filterIndex = DataFilterEntry;
  const auto chosen = ui.ChooseOpenFile(dialog);
  if (!chosen) return;

  // The whole file first: a read that fails part-way must not leave half of it behind.
  TAnniversaryList merged;
  if (auto error = ReadRecordFile(*chosen, merged)) {
    ui.ReportError(error->Describe());
    return;
  }
  anniversaries.insert(anniversaries.end(), merged.begin(), merged.end());
  SortByDate(anniversaries, -1);
  RemoveDuplicates(anniversaries);
  SaveData(anniversaries, paths, ui);
  ui.DisplayData();
}

void RunExport(const TAnniversaryList& anniversaries, TCfg& cfg, Ui& ui, const ExportFormat& format) {
  if (!ProceedWithList(anniversaries, ui, ExportCaption, NothingToExport, ExportQuestion)) return;
  FileDialogOptions dialog;
  dialog.title = ExportCaption;
  dialog.filter = format.filter;
  dialog.defaultSuffix = format.extension;
  dialog.initialFolder = cfg.ExportPath;
  const auto chosen = ui.ChooseSaveFile(dialog);
  if (!chosen) return;

  if (auto error = format.write(*chosen)) ui.ReportError(error->Describe());
  // The folder is remembered even after a failed write: it is where the user looks next.
  cfg.ExportPath = FolderWithSeparator(*chosen);
}

// The sort keeps identical records together only when nothing else ties with them, so
// every earlier record is looked at, not just the neighbour.
void RemoveDuplicates(TAnniversaryList& anniversaries) {
  std::unordered_set<std::string> seen;
  seen.reserve(anniversaries.size());
  std::size_t kept = 0;
  for (std::size_t i = 0; i < anniversaries.size(); ++i) {
    auto key = IdentityKey(anniversaries[i]);
    if (key && !seen.insert(std::move(*key)).second) continue;
    if (kept != i) anniversaries[kept] = anniversaries[i];
    ++kept;
  }
  anniversaries.resize(kept);
}

}  // namespace jubilora
