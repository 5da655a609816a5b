#include "online/help.h"

#include <cerrno>
#include <fstream>
#include <system_error>
#include <utility>

#include <QProcess>
#include <QRegularExpression>

#include "ui/answer_dialog.h"
#include "ui/error_report.h"

namespace jubilora {

namespace {

bool StartDetached(const QString& program, const QStringList& arguments, const QString& workingFolder,
                   QString& error) {
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  process.setWorkingDirectory(workingFolder);
  if (process.startDetached()) return true;
  // Qt names the failing call first ("execv: No such file or directory"); the user needs
  // only the system's reason.
  error = process.errorString();
  error.remove(QRegularExpression("^[a-z_]+: "));
  return false;
}

HelpLauncher& Launcher() {
  static HelpLauncher launcher;
  return launcher;
}

QString Text(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// The viewer shows its own about page for a file it cannot open and says nothing, so the
// file is looked at first. Returns what is wrong with it, or an empty text.
QString HelpFileProblem(const std::filesystem::path& helpFile) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(helpFile, error))
    return QString("The help file %1 was not found").arg(Text(helpFile));
  std::ifstream probe(helpFile, std::ios::binary);
  if (!probe) {
    const QString reason = QString::fromStdString(std::generic_category().message(errno));
    return QString("The help file %1 cannot be read: %2").arg(Text(helpFile), reason);
  }
  return {};
}

}  // namespace

HelpLauncher SetHelpLauncher(HelpLauncher launcher) { return std::exchange(Launcher(), std::move(launcher)); }

bool RunHelp(QWidget* owner, const std::filesystem::path& helpFile, const QString& viewer) {
  std::error_code error;
  std::filesystem::path file = std::filesystem::absolute(helpFile, error);
  if (error) file = helpFile;

  if (const QString problem = HelpFileProblem(file); !problem.isEmpty()) {
    ShowErrorReport(owner, problem);
    return false;
  }

  // The path goes over as one argument, as it is: no quotes added.
  const QStringList arguments{Text(file)};
  const QString folder = Text(file.parent_path());
  QString reason;
  const bool started = Launcher() ? Launcher()(viewer, arguments, folder, reason)
                                  : StartDetached(viewer, arguments, folder, reason);
  if (!started) {
    ShowErrorReport(owner, QString("The help viewer %1 could not be started: %2").arg(viewer, reason));
  }
  return started;
}

void InstallAnswerDialogHelp() {
  SetAnswerHelpHandler([](QWidget* dialog, const QString& helpPath) {
    RunHelp(dialog, std::filesystem::path(helpPath.toStdString()));
  });
}

}  // namespace jubilora
