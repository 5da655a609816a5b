// The headless report of 10,000 records: load (one date sort), the three date sorts of a
// report build, selection, texts and colours. Target: well under one second.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <unistd.h>

#include "core/calendar.h"
#include "data/data_file.h"
#include "report/text_report.h"

namespace {

using namespace jubilora;

class PlainColors : public SystemColors {
 public:
  std::uint32_t ColorOf(int index) const override { return static_cast<std::uint32_t>(index) * 0x010101u; }
};

TAnniversaryList RandomRecords(int count) {
  std::mt19937 random(20261206);
  const char* names[] = {"Anna", "Bernd", "Clara", "Dieter", "Eva", "Franz", "Greta", "Hans", "Ilse", "Jan"};
  TAnniversaryList list;
  for (int i = 0; i < count; ++i) {
    TAnniversary r;
    r.Kind = static_cast<std::uint8_t>(1 + random() % 7);
    r.Date = DayFromCivil(1930 + static_cast<int>(random() % 90), 1, 1) + static_cast<int>(random() % 365);
    // Few distinct texts, so that many records tie and the exchange procedure does real work.
    r.SetDescription(std::string(names[random() % 10]) + " " + std::to_string(random() % 50));
    r.Importance = static_cast<std::uint8_t>(random() % 6);
    r.ReminderDays = (random() % 3 == 0) ? DefaultReminder : static_cast<std::uint8_t>(random() % 91);
    list.push_back(r);
  }
  return list;
}

std::filesystem::path WriteDataFile(const TAnniversaryList& list) {
  const auto folder = std::filesystem::temp_directory_path() / ("jubilora-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const auto file = folder / "jubilora.jld";
  std::ofstream(file, std::ios::binary) << EncodeRecords(list);
  return folder;
}

void BM_HeadlessReport(benchmark::State& state) {
  const auto folder = WriteDataFile(RandomRecords(static_cast<int>(state.range(0))));
  const DataPaths paths{folder / "jubilora.jld", folder / "jubilora.jlb"};
  const TCfg cfg;
  const PlainColors colors;
  const DayNumber today = DayFromCivil(2026, 12, 6);
  std::size_t lines = 0;
  for (auto _ : state) {
    TAnniversaryList list;
    if (LoadData(paths, list)) state.SkipWithError("cannot read the data file");
    const auto entries = PrepareReportEntries(list, cfg, today);
    const std::string text = FormatPlainReport(DescribeReport(list, entries, cfg, today, colors));
    lines = entries.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["entries"] = static_cast<double>(lines);
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_HeadlessReport)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
