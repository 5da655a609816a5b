// From start to the first painted report: the real program (handing over to its desktop part)
// under a private X server, with 10,000 records. Targets: 0.4 s, and a peak resident memory
// under 60 MB. JUBILORA_BENCH_PROGRAM=FILE times another build of the program instead, side by
// side with this one (its desktop part, if it has one, beside it).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>

#include <sys/resource.h>

#include <sys/wait.h>
#include <unistd.h>

#include "core/calendar.h"
#include "data/data_file.h"
#include "support/program_copy.h"
#include "support/temp_dir.h"
#include "support/xvfb.h"

namespace {

using namespace jubilora;

TAnniversaryList RandomRecords(int count) {
  std::mt19937 random(20261206);
  TAnniversaryList list;
  for (int i = 0; i < count; ++i) {
    TAnniversary r;
    r.Kind = static_cast<std::uint8_t>(1 + random() % 7);
    r.Date = DayFromCivil(1930 + static_cast<int>(random() % 90), 1, 1) + static_cast<int>(random() % 365);
    r.SetDescription("Person " + std::to_string(random() % 500));
    r.Importance = static_cast<std::uint8_t>(random() % 6);
    r.ReminderDays = (random() % 3 == 0) ? DefaultReminder : static_cast<std::uint8_t>(random() % 91);
    list.push_back(r);
  }
  return list;
}

std::filesystem::path Program(const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  const char* other = std::getenv("JUBILORA_BENCH_PROGRAM");
  if (other == nullptr || *other == '\0') return test::CopyProgram(folder);
  const fs::path desktop = fs::path(other).parent_path() / "jubilora-desktop";
  if (fs::exists(desktop)) fs::copy_file(desktop, folder / desktop.filename());
  fs::copy_file(other, folder / "jubilora");
  return folder / "jubilora";
}

void BM_WindowUntilFirstPaint(benchmark::State& state) {
  test::Xvfb xvfb;
  if (!xvfb.Running()) {
    state.SkipWithError("Xvfb cannot be started");
    return;
  }
  test::TempDir dir;
  const auto program = Program(dir.path());
  test::WriteBytes(dir / "jubilora.jld", EncodeRecords(RandomRecords(static_cast<int>(state.range(0)))));
  test::WriteBytes(dir / "jubilora.ini", "[Other]\nStartupCheck=0\n");
  long peakKiB = 0;
  double secondsUntilExit = 0;
  using Clock = std::chrono::steady_clock;
  const auto since = [](Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); };
  for (auto _ : state) {
    int out[2];
    if (pipe(out) != 0) state.SkipWithError("no pipe");
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
      dup2(out[1], STDOUT_FILENO);
      close(out[0]);
      close(out[1]);
      setenv("DISPLAY", xvfb.Display().c_str(), 1);
      setenv("JUBILORA_QUIT_AFTER_FIRST_PAINT", "1", 1);
      unsetenv("QT_QPA_PLATFORM");
      execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(out[1]);
    // The program says when its first report is on screen; a build that does not only ends.
    char mark[16];
    [[maybe_unused]] const auto n = read(out[0], mark, sizeof mark);
    state.SetIterationTime(since(start));
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    secondsUntilExit += since(start);
    close(out[0]);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("the program failed");
    peakKiB = std::max(peakKiB, usage.ru_maxrss);
  }
  state.counters["peak_rss_MiB"] = static_cast<double>(peakKiB) / 1024.0;
  state.counters["until_exit_ms"] = 1000 * secondsUntilExit / static_cast<double>(state.iterations());
}
BENCHMARK(BM_WindowUntilFirstPaint)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(9)->UseManualTime();

}  // namespace
