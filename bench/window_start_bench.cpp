// From start to the first painted report: the real program under a private X server,
// with 10,000 records. Targets: under two seconds, and a peak resident memory that does not
// grow with the length of the report (the view paints only what shows).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <algorithm>
#include <random>

#include <sys/resource.h>

#include <sys/wait.h>
#include <unistd.h>

#include "core/calendar.h"
#include "data/data_file.h"
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

void BM_WindowUntilFirstPaint(benchmark::State& state) {
  test::Xvfb xvfb;
  if (!xvfb.Running()) {
    state.SkipWithError("Xvfb cannot be started");
    return;
  }
  test::TempDir dir;
  const auto program = dir / "jubilora";
  std::filesystem::copy_file(JUBILORA_EXE, program);
  test::WriteBytes(dir / "jubilora.jld", EncodeRecords(RandomRecords(static_cast<int>(state.range(0)))));
  test::WriteBytes(dir / "jubilora.ini", "[Other]\nStartupCheck=0\n");
  long peakKiB = 0;
  for (auto _ : state) {
    const pid_t pid = fork();
    if (pid == 0) {
      setenv("DISPLAY", xvfb.Display().c_str(), 1);
      setenv("JUBILORA_QUIT_AFTER_FIRST_PAINT", "1", 1);
      unsetenv("QT_QPA_PLATFORM");
      execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("the program failed");
    peakKiB = std::max(peakKiB, usage.ru_maxrss);
  }
  state.counters["peak_rss_MiB"] = static_cast<double>(peakKiB) / 1024.0;
}
BENCHMARK(BM_WindowUntilFirstPaint)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
