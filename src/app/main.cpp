// Jubilora: the window, or one of the command-line modes.

#include <QApplication>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/headless.h"
#include "app/session_end.h"
#include "app/window_app.h"
#include "core/product.h"
#include "data/program_paths.h"

namespace {

std::filesystem::path ProgramFile(const char* argv0) {
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return self;
  return std::filesystem::absolute(argv0, ec);
}

void KeepOnlyFatalMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << "jubilora: " << message.toStdString() << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  using namespace jubilora;
  const std::vector<std::string> args(argv + 1, argv + argc);
  const CommandLineResult parsed = ParseCommandLine(args);
  if (!parsed.commandLine) {
    std::cerr << "jubilora: " << parsed.error << '\n';
    return 2;
  }
  const ProgramPaths paths = DerivePaths(ProgramFile(argv[0]), ProcessEnvironment);

  const CommandLine& commandLine = *parsed.commandLine;
  if (commandLine.mode == RunMode::Window) {
    if (!WindowCanStart(args, ProcessEnvironment)) {
      std::cerr << "jubilora: " << NoDisplayMessage << '\n';
      return 1;
    }
    SessionEnd::CatchSignals();
    QApplication app(argc, argv);
    // Wayland compositors find the window's launcher, and with it its icon, by this name.
    QGuiApplication::setDesktopFileName(ApplicationId);
    return RunWindowProgram(commandLine, paths);
  }

  // The command-line modes need no display, and print only their own messages.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(KeepOnlyFatalMessages);
  QGuiApplication app(argc, argv);
  return RunHeadless(commandLine, paths, std::cout, std::cerr);
}
