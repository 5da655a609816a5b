#include "app/desktop_part.h"

#include <QString>
#include <QtGlobal>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include <unistd.h>

namespace jubilora {

namespace {

namespace fs = std::filesystem;

// Handed from the program to its desktop part; nobody else reads it.
constexpr const char* ProgramVariable = "JUBILORA_PROGRAM";
constexpr const char* ProgramName = "jubilora";

void SetHandOverSignals(int how) {
  sigset_t signals;
  sigemptyset(&signals);
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) sigaddset(&signals, signal);
  sigprocmask(how, &signals, nullptr);
}

// The same file relative to `from`: beside it, then at `relative` from its folder.
std::vector<fs::path> Partners(const fs::path& from, const char* relative, const char* name) {
  const fs::path folder = from.parent_path();
  std::vector<fs::path> candidates{folder / name};
  const fs::path installed = (folder / relative / name).lexically_normal();
  if (installed != candidates.front()) candidates.push_back(installed);
  return candidates;
}

void PrintFatalOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << "jubilora: " << message.toStdString() << '\n';
}

}  // namespace

fs::path OwnFile(const char* argv0) {
  std::error_code ec;
  auto self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) return self;
  return fs::absolute(argv0, ec);
}

std::vector<fs::path> DesktopPartCandidates(const fs::path& program) {
  return Partners(program, JUBILORA_DESKTOP_FROM_BIN, DesktopPartName);
}

std::string HandOverToDesktopPart(const fs::path& program, char** argv) {
  SetHandOverSignals(SIG_BLOCK);
  setenv(ProgramVariable, program.c_str(), 1);
  const auto candidates = DesktopPartCandidates(program);
  int reason = ENOENT;
  for (const fs::path& part : candidates) {
    execv(part.c_str(), argv);
    // A part that is there but cannot start says more than one that is not there.
    if (errno != ENOENT) reason = errno;
  }
  unsetenv(ProgramVariable);
  SetHandOverSignals(SIG_UNBLOCK);
  std::string message = "cannot start the desktop part \"" + candidates.front().string() + "\"";
  for (std::size_t i = 1; i < candidates.size(); ++i) message += " or \"" + candidates[i].string() + "\"";
  return message + ": " + std::strerror(reason);
}

fs::path ProgramOfDesktopPart(const fs::path& self) {
  if (const char* program = std::getenv(ProgramVariable); program != nullptr && *program != '\0') {
    const fs::path handedOver = program;
    unsetenv(ProgramVariable);
    return handedOver;
  }
  const auto candidates = Partners(self, JUBILORA_BIN_FROM_DESKTOP, ProgramName);
  std::error_code ec;
  return fs::exists(candidates.front(), ec) ? candidates.front() : candidates.back();
}

void UnblockHandOverSignals() { SetHandOverSignals(SIG_UNBLOCK); }

void KeepOnlyFatalQtMessages() { qInstallMessageHandler(PrintFatalOnly); }

}  // namespace jubilora
