// Jubilora's desktop part: the window and --render. The program `jubilora` hands over to it
// (app/desktop_part.h); the text modes never load it.

#include <QApplication>

#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/desktop_part.h"
#include "app/headless.h"
#include "app/render_picture.h"
#include "app/session_end.h"
#include "app/window_app.h"
#include "core/product.h"
#include "data/program_paths.h"

int main(int argc, char** argv) {
  using namespace jubilora;
  const std::vector<std::string> args(argv + 1, argv + argc);
  const CommandLineResult parsed = ParseCommandLine(args);
  const bool window = parsed.commandLine && parsed.commandLine->mode == RunMode::Window;
  // The window's handlers are in place before the signals blocked for the hand-over arrive;
  // the other modes end on them as any program does.
  if (window) SessionEnd::CatchSignals();
  UnblockHandOverSignals();
  if (!parsed.commandLine) {
    std::cerr << "jubilora: " << parsed.error << '\n';
    return 2;
  }
  const ProgramPaths paths = DerivePaths(ProgramOfDesktopPart(OwnFile(argv[0])), ProcessEnvironment);

  const CommandLine& commandLine = *parsed.commandLine;
  if (window) {
    if (!WindowCanStart(args, ProcessEnvironment)) {
      std::cerr << "jubilora: " << NoDisplayMessage << '\n';
      return 1;
    }
    QApplication app(argc, argv);
    // Wayland compositors find the window's launcher, and with it its icon, by this name.
    QGuiApplication::setDesktopFileName(ApplicationId);
    return RunWindowProgram(commandLine, paths);
  }
  KeepOnlyFatalQtMessages();
  if (commandLine.mode != RunMode::Render) return RunHeadless(commandLine, paths, std::cout, std::cerr);
  // The picture needs no display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  return RenderPicture(commandLine, paths, std::cerr);
}
