#pragma once
// A scripted Ui: records every question and answers from a queue.

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/ports.h"

namespace jubilora::test {

struct AskedQuestion {
  std::string caption;
  std::string message;
  std::vector<std::string> buttons;
  IconKind icon = IconKind::None;
  bool canCancel = false;
};

class FakeUi : public Ui {
 public:
  // Answers given in turn; an empty queue answers 0 (dismissed).
  std::deque<int> answers;
  std::deque<std::optional<std::filesystem::path>> files;

  std::vector<AskedQuestion> questions;
  std::vector<FileDialogOptions> saveDialogs;
  std::vector<FileDialogOptions> openDialogs;
  std::vector<std::string> errors;
  int redraws = 0;
  std::vector<TAnniversaryList> saved;  // the list of each DataSaved

  int AnswerDialog(const std::string& caption, const std::string& message,
                   const std::vector<std::string>& buttons, IconKind icon, bool canCancel) override;
  std::optional<std::filesystem::path> ChooseSaveFile(const FileDialogOptions& request) override;
  std::optional<std::filesystem::path> ChooseOpenFile(const FileDialogOptions& request) override;
  void ReportError(const std::string& text) override;
  void DisplayData() override;
  void DataSaved(const TAnniversaryList& list) override;

 private:
  std::optional<std::filesystem::path> NextFile();
};

}  // namespace jubilora::test
