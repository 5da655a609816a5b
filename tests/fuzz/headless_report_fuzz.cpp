// The whole headless report on fuzzed data and settings, for any day the command line
// accepts. Input: four bytes for the day, then the data file and the settings file
// separated by the first "\n\f\n".

#include <cstring>
#include <string_view>

#include "app/settings_store.h"
#include "data/data_file.h"
#include "fuzz/fuzz_support.h"
#include "report/layout.h"
#include "report/text_report.h"

using namespace jubilora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  std::uint32_t raw = 0;
  std::memcpy(&raw, data, 4);
  const DayNumber first = DayFromCivil(1, 1, 1);
  const DayNumber last = DayFromCivil(9999, 12, 31);
  const DayNumber today = first + static_cast<DayNumber>(raw % static_cast<std::uint32_t>(last - first + 1));

  const std::string_view input(reinterpret_cast<const char*>(data) + 4, size - 4);
  const std::size_t cut = input.find("\n\f\n");
  TAnniversaryList list = DecodeRecords(input.substr(0, cut));
  const IniFile ini = IniFile::Parse(cut == std::string_view::npos ? std::string_view() : input.substr(cut + 3));
  const TCfg cfg = ReadSettings(&ini, test::NamedFonts({"Tahoma", "Verdana"}), test::IsoRegional(), today).cfg;

  const auto entries = PrepareReportEntries(list, cfg, today);
  const auto items = DescribeReport(list, entries, cfg, today, test::FixedSystemColors());
  for (const ReportItem& item : items) {
    fuzz::Require(item.day >= first && item.day <= last && !item.heading.empty());
  }
  fuzz::Require(FormatTsvReport(items).size() >= items.size());
  fuzz::Require(!FormatPlainReport(items).empty());
  const ReportLayout layout = LayoutReport(list, entries, cfg, today, test::FixedMeasurer(), test::FixedSystemColors());
  fuzz::Require(layout.width > 0 && layout.height > 0);
  return 0;
}
