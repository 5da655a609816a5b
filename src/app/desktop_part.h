#pragma once
// The window and --render live in a second executable, the desktop part, so that the text modes
// load nothing but QtCore. The program hands over to it with execv: the same process, the same
// arguments, and the program's own file in the environment, so that the data, the settings and
// the log-on entry stay those of the program. The desktop part sits beside the program in a
// build folder or a copy of one, and in libexec/jubilora/ when installed.

#include <filesystem>
#include <string>
#include <vector>

namespace jubilora {

inline constexpr const char* DesktopPartName = "jubilora-desktop";

// The running executable's own file: /proc/self/exe, or argv[0] made absolute where that fails.
std::filesystem::path OwnFile(const char* argv0);

// Where the desktop part of `program` may be, in the order tried: beside it, then where the
// install puts it relative to bin/.
std::vector<std::filesystem::path> DesktopPartCandidates(const std::filesystem::path& program);

// Replaces this process with the desktop part of `program`, with SIGTERM, SIGHUP and SIGINT
// blocked so that none is lost before the desktop part catches them. Returns only when no
// candidate can be started: the one-line message why, with the signals as they were.
std::string HandOverToDesktopPart(const std::filesystem::path& program, char** argv);

// In the desktop part: the program that handed over, taken out of the environment so that
// nothing the window starts inherits it; run directly, the program beside it or where the
// install puts it.
std::filesystem::path ProgramOfDesktopPart(const std::filesystem::path& self);

// In the desktop part, once its handlers are in place: the blocked signals arrive.
void UnblockHandOverSignals();

// The command-line modes print only their own messages, and Qt's fatal ones.
void KeepOnlyFatalQtMessages();

}  // namespace jubilora
