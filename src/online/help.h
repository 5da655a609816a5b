#pragma once
// Opening the help file: the compiled help beside the program, shown by the CHM viewer.

#include <filesystem>
#include <functional>

#include <QString>
#include <QStringList>

class QWidget;

namespace jubilora {

inline constexpr const char* HelpViewer = "xchm";

// Starts `program` with `arguments` in `workingFolder` without waiting for it. Returns
// whether it started; otherwise `error` holds the system's reason.
using HelpLauncher = std::function<bool(const QString& program, const QStringList& arguments,
                                        const QString& workingFolder, QString& error)>;

// Replaces the launcher, e.g. for a test that must not start a viewer. An empty function
// restores the real one. Returns the previous launcher.
HelpLauncher SetHelpLauncher(HelpLauncher launcher);

// Shows `helpFile` in the viewer, the file's full path as its only argument. A missing help
// file, or a viewer that cannot be started, ends in the generic error report over `owner`.
// Returns whether the viewer started.
bool RunHelp(QWidget* owner, const std::filesystem::path& helpFile, const QString& viewer = HelpViewer);

// Makes the answer dialog's help button open its help path with RunHelp.
void InstallAnswerDialogHelp();

}  // namespace jubilora
