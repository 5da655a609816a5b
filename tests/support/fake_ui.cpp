#include "support/fake_ui.h"

namespace jubilora::test {

int FakeUi::AnswerDialog(const std::string& caption, const std::string& message,
                         const std::vector<std::string>& buttons, IconKind icon, bool canCancel) {
  questions.push_back({caption, message, buttons, icon, canCancel});
  if (answers.empty()) return 0;
  const int answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<std::filesystem::path> FakeUi::NextFile() {
  if (files.empty()) return std::nullopt;
  auto file = files.front();
  files.pop_front();
  return file;
}

std::optional<std::filesystem::path> FakeUi::ChooseSaveFile(const FileDialogOptions& request) {
  saveDialogs.push_back(request);
  return NextFile();
}

std::optional<std::filesystem::path> FakeUi::ChooseOpenFile(const FileDialogOptions& request) {
  openDialogs.push_back(request);
  return NextFile();
}

void FakeUi::ReportError(const std::string& text) { errors.push_back(text); }

void FakeUi::DisplayData() { ++redraws; }

void FakeUi::DataSaved(const TAnniversaryList& list) { saved.push_back(list); }

}  // namespace jubilora::test
