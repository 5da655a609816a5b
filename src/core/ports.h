#pragma once
// The services the logic needs from outside. The shell implements them with Qt;
// tests use fakes.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/anniversary.h"
#include "core/calendar.h"

namespace jubilora {

enum class IconKind { None, Information, Question, Warning, Error };

struct FileDialogOptions {
  std::string title;
  std::string filter;        // Qt filter text, e.g. "Jubilora Data (*.jld)"
  std::string defaultSuffix;  // without the dot
  std::string initialFolder;
  std::string initialName;
  int filterIndex = 1;  // the entry of `filter` (1-based, entries separated by ";;") selected at first
};

// How commands talk to the user. Texts are Windows-1252, lines separated by CR LF.
class Ui {
 public:
  virtual ~Ui() = default;
  // 1-based number of the button pressed; 0 when dismissed; -1 when another answer
  // dialog is already open.
  virtual int AnswerDialog(const std::string& caption, const std::string& message,
                           const std::vector<std::string>& buttons, IconKind icon,
                           bool canCancel) = 0;
  virtual std::optional<std::filesystem::path> ChooseSaveFile(const FileDialogOptions& request) = 0;
  virtual std::optional<std::filesystem::path> ChooseOpenFile(const FileDialogOptions& request) = 0;
  // The generic error report: title ProductName, error icon, one OK. UTF-8, since it
  // carries the system's words and file names.
  virtual void ReportError(const std::string& text) = 0;
  // Rebuild and show the report.
  virtual void DisplayData() = 0;
  // The data file now holds `saved` (after a save or a restore): what follows the data
  // file, like the iCalendar copy, follows it here.
  virtual void DataSaved(const TAnniversaryList& saved) { static_cast<void>(saved); }
};

// The system colour table: index -> 0x00BBGGRR.
class SystemColors {
 public:
  virtual ~SystemColors() = default;
  virtual std::uint32_t ColorOf(int index) const = 0;
};

// The installed fonts, compared without regard to case.
class FontCatalog {
 public:
  virtual ~FontCatalog() = default;
  virtual bool IsInstalled(const std::string& family) const = 0;
};

// The user's regional formats.
class RegionalSettings {
 public:
  virtual ~RegionalSettings() = default;
  virtual std::string FormatShortDate(DayNumber day) const = 0;
  virtual std::optional<DayNumber> ParseShortDate(const std::string& text) const = 0;
  virtual std::string ListSeparator() const = 0;
  // A duration as hours, minutes and seconds in the long time format's order.
  virtual std::string FormatDuration(int seconds) const = 0;
};

}  // namespace jubilora
