#include "app/qt_ui.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

#include "ui/answer_dialog.h"
#include "ui/error_report.h"
#include "ui/qt_text.h"

namespace jubilora {

namespace {

std::optional<std::filesystem::path> RunFileDialog(QWidget* owner, const FileDialogOptions& request, bool save) {
  QFileDialog dialog(owner, FromCp1252(request.title), QString::fromStdString(request.initialFolder),
                     QString::fromStdString(request.filter));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!request.defaultSuffix.empty()) dialog.setDefaultSuffix(QString::fromStdString(request.defaultSuffix));
  if (!request.initialName.empty()) dialog.selectFile(QString::fromStdString(request.initialName));
  const QStringList filters = QString::fromStdString(request.filter).split(";;");
  if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
    dialog.selectNameFilter(filters.at(request.filterIndex - 1));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return std::filesystem::path(dialog.selectedFiles().constFirst().toStdString());
}

}  // namespace

QtUi::QtUi(QWidget* owner, std::function<void()> displayData, std::function<void(const TAnniversaryList&)> dataSaved)
    : owner_(owner), displayData_(std::move(displayData)), dataSaved_(std::move(dataSaved)) {}

int QtUi::AnswerDialog(const std::string& caption, const std::string& message, const std::vector<std::string>& buttons,
                       IconKind icon, bool canCancel) {
  QStringList captions;
  for (const std::string& button : buttons) captions << FromCp1252(button);
  return jubilora::AnswerDialog(owner_, FromCp1252(caption), FromCp1252(message), captions, icon, canCancel);
}

std::optional<std::filesystem::path> QtUi::ChooseSaveFile(const FileDialogOptions& request) {
  return RunFileDialog(owner_, request, true);
}

std::optional<std::filesystem::path> QtUi::ChooseOpenFile(const FileDialogOptions& request) {
  return RunFileDialog(owner_, request, false);
}

void QtUi::ReportError(const std::string& text) { ShowErrorReport(owner_, QString::fromStdString(text)); }

void QtUi::DisplayData() {
  if (displayData_) displayData_();
}

void QtUi::DataSaved(const TAnniversaryList& saved) {
  if (dataSaved_) dataSaved_(saved);
}

}  // namespace jubilora
