#include "online/help.h"

#include <system_error>
#include <utility>

#include <QUrl>

#include "ui/answer_dialog.h"
#include "ui/error_report.h"

namespace jubilora {

namespace {

constexpr const char* PageMissing = "The help page %1 was not found";
constexpr const char* NoBrowser = "No web browser could be started to show the help page %1";

QString Text(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

bool RunHelp(QWidget* owner, const std::filesystem::path& page, const UrlOpener& open) {
  std::error_code error;
  std::filesystem::path file = std::filesystem::absolute(page, error);
  if (error) file = page;
  // A browser shows its own error page for a missing file, far from the program that sent it.
  if (!std::filesystem::is_regular_file(file, error)) {
    ShowErrorReport(owner, QString(PageMissing).arg(Text(file)));
    return false;
  }
  if (!open(QUrl::fromLocalFile(Text(file)))) {
    ShowErrorReport(owner, QString(NoBrowser).arg(Text(file)));
    return false;
  }
  return true;
}

void InstallAnswerDialogHelp(UrlOpener open) {
  SetAnswerHelpHandler([open = std::move(open)](QWidget* dialog, const QString& helpPath) {
    RunHelp(dialog, std::filesystem::path(helpPath.toStdString()), open);
  });
}

}  // namespace jubilora
