#include "app/session_end.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>

#include <atomic>
#include <csignal>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace jubilora {

namespace {

std::function<void()>& Writer() {
  static std::function<void()> writer;
  return writer;
}

std::atomic<bool> written{false};
bool quitRequested = false;
int signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  // Nothing else is safe here; the event loop does the rest.
  [[maybe_unused]] const auto n = write(signalPipe[1], &byte, 1);
}

void WriteAtExit() { SessionEnd::WriteSettingsOnce(); }

}  // namespace

void SessionEnd::SetSettingsWriter(std::function<void()> write) {
  static bool registered = false;
  Writer() = std::move(write);
  if (!registered) {
    registered = true;
    std::atexit(WriteAtExit);
  }
}

void SessionEnd::WriteSettingsOnce() {
  if (!Writer() || written.exchange(true)) return;
  Writer()();
}

void SessionEnd::CatchSignals() {
  if (signalPipe[0] >= 0 || pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) sigaction(signal, &action, nullptr);
}

void SessionEnd::QuitOnSignals(QObject* parent) {
  CatchSignals();
  if (signalPipe[0] < 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, parent);
  QObject::connect(notifier, &QSocketNotifier::activated, parent, [] {
    char buffer[16];
    while (read(signalPipe[0], buffer, sizeof buffer) > 0) {
    }
    quitRequested = true;
    // Before the main loop runs, quit() reaches no loop; a start-up report or the first-run
    // greeting ends as if it had been closed.
    for (QWidget* window : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<QDialog*>(window); dialog != nullptr && dialog->isVisible()) dialog->done(0);
    QCoreApplication::quit();
  });
}

bool SessionEnd::QuitRequested() { return quitRequested; }

}  // namespace jubilora
