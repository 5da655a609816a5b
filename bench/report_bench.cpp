// The five orderings alone and the whole headless report (`--print`: load, which sorts by
// date, the three date sorts of a report build, selection, texts and colours), at 1,000,
// 10,000 and 100,000 records given in random, sorted and reverse-sorted order.
// Targets: from 10,000 to 100,000 random records at most 15 times the time, and
// reverse-sorted records no slower than random ones.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>

#include "core/calendar.h"
#include "core/ordering.h"
#include "data/data_file.h"
#include "report/text_report.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace {

using namespace jubilora;

enum Shape { Random = 0, Sorted = 1, Reversed = 2 };
const char* const ShapeNames[] = {"random", "sorted", "reversed"};

TAnniversaryList RandomRecords(int count) {
  std::mt19937 random(20261206);
  const char* names[] = {"Anna", "Bernd", "Clara", "Dieter", "Eva", "Franz", "Greta", "Hans", "Ilse", "Jan"};
  TAnniversaryList list;
  for (int i = 0; i < count; ++i) {
    TAnniversary r;
    r.Kind = static_cast<std::uint8_t>(1 + random() % 7);
    r.Date = DayFromCivil(1930 + static_cast<int>(random() % 90), 1, 1) + static_cast<int>(random() % 365);
    // Few distinct texts, so that many records tie on every key.
    r.SetDescription(std::string(names[random() % 10]) + " " + std::to_string(random() % 50));
    r.Importance = static_cast<std::uint8_t>(random() % 6);
    r.ReminderDays = (random() % 3 == 0) ? DefaultReminder : static_cast<std::uint8_t>(random() % 91);
    list.push_back(r);
  }
  return list;
}

// Sorted means sorted by the ordering being measured (by date for the report).
TAnniversaryList Records(int count, Shape shape, SortOrder order) {
  TAnniversaryList list = RandomRecords(count);
  if (shape != Random) SortBy(order, list, -1);
  if (shape == Reversed) std::reverse(list.begin(), list.end());
  return list;
}

void BM_Ordering(benchmark::State& state, SortOrder order) {
  const auto shape = static_cast<Shape>(state.range(1));
  const TAnniversaryList input = Records(static_cast<int>(state.range(0)), shape, order);
  for (auto _ : state) {
    state.PauseTiming();
    TAnniversaryList list = input;
    state.ResumeTiming();
    benchmark::DoNotOptimize(SortBy(order, list, static_cast<int>(list.size() / 2)));
  }
  state.SetLabel(ShapeNames[shape]);
}

void BM_HeadlessReport(benchmark::State& state) {
  const auto shape = static_cast<Shape>(state.range(1));
  const test::TempDir folder;
  const DataPaths paths{folder / "jubilora.jld", folder / "jubilora.jlb"};
  test::WriteBytes(paths.data, EncodeRecords(Records(static_cast<int>(state.range(0)), shape, SortOrder::Date)));
  const TCfg cfg;
  const test::FixedSystemColors colors;
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
  state.SetLabel(ShapeNames[shape]);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->ArgsProduct({{1000, 10000, 100000}, {Random, Sorted, Reversed}})->ArgNames({"records", "shape"});
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(BM_Ordering, date, SortOrder::Date)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Ordering, type, SortOrder::Type)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Ordering, description, SortOrder::Description)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Ordering, priority, SortOrder::Priority)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Ordering, reminder, SortOrder::Reminder)->Apply(Sizes);
BENCHMARK(BM_HeadlessReport)->Apply(Sizes);

}  // namespace
