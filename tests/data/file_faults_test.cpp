// Faults of the file system in the middle of a command: a read or a write that fails
// part-way is reported once and leaves every file and the list as they were.

#include <csignal>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/resource.h>

#include "data/command_fixture.h"
#include "data/csv_export.h"
#include "data/read_fault.h"
#include "data/samples.h"
#include "support/records.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

// Runs `body` in a child process whose files may not grow beyond `limit` bytes, so that a
// write fails part-way with EFBIG. Returns the child's exit status.
int RunWithFileSizeLimit(rlim_t limit, const std::function<int()>& body) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit cap{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &cap) != 0) _exit(126);
    const int result = body();
    std::fflush(nullptr);
    _exit(result & 0xFF);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class FileFaults : public test::FileCommandsFixture {
 protected:
  struct Case {
    const char* name;
    std::function<void()> run;
  };
  const test::IsoRegional regional;
  const ProgramPaths program = DerivePaths(dir / "jubilora", [](const std::string&) { return std::nullopt; });
};

TEST_F(FileFaults, AReadThatFailsPartWayChangesNothing) {
  Store({anna});
  Store({anna, eve});
  const fs::path chosen = OtherFile("big.jld", EncodeRecords(TAnniversaryList(2000, ben)));
  const std::vector<Case> cases = {
      {"add samples", [&] { AddSampleDataCommand(anniversaries, chosen, paths, ui); }},
      {"synchronize", [&] { Script({1}, {chosen}); SynchronizeCommand(anniversaries, paths, cfg, ui); }},
      {"restore", [&] { Script({1, 1}, {chosen}); RestoreCommand(anniversaries, paths, cfg, ui); }},
  };
  const State before = Now();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui = test::FakeUi{};
    {
      const test::ReadFault fault(chosen, 1999 * RecordSize);  // several reads; the last one fails
      c.run();
      EXPECT_EQ(fault.Failures(), 1);
    }
    test::ExpectOneError(ui, {chosen.string(), "Input/output error"});
    ExpectNothingChanged(before);
  }
}

TEST_F(FileFaults, AWriteThatFailsPartWayLeavesTheOldFileAsItWas) {
  Store(TAnniversaryList(200, anna));  // 14400 bytes, more than the child may write
  const fs::path old = OtherFile("old.jld", std::string(500, 'o'));
  const fs::path big = OtherFile("big.jld", EncodeRecords(TAnniversaryList(200, ben)));
  const std::vector<Case> cases = {
      {"backup", [&] { Script({1}, {old}); BackupCommand(anniversaries, paths, cfg, ui, [] { return LocalDateTime{}; }); }},
      {"restore", [&] { Script({1, 1}, {big}); RestoreCommand(anniversaries, paths, cfg, ui); }},
      {"export", [&] { Script({1}, {old}); ExportCommand(anniversaries, program, cfg, regional, ui); }},
  };
  const test::Disk before = test::Contents(dir.path());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int status = RunWithFileSizeLimit(4096, [&] {
      c.run();
      return ui.errors.size() == 1 && ui.errors[0].find("File too large") != std::string::npos ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(test::Contents(dir.path()), before);
  }
}

}  // namespace
}  // namespace jubilora
