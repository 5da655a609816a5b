// The data-file loader on any bytes: records come back byte for byte, and sorting, merging
// and exporting them never fails, whatever their dates hold (NaN, infinities, huge values).

#include <string_view>

#include "core/ordering.h"
#include "data/csv_export.h"
#include "data/data_file.h"
#include "data/file_commands.h"
#include "fuzz/fuzz_support.h"

using namespace jubilora;

// What a duplicate is, worked out here as the five fields compare: a NaN date equals nothing.
static bool SameAnniversary(const TAnniversary& a, const TAnniversary& b) {
  return a.Kind == b.Kind && a.Date == b.Date && a.Importance == b.Importance && a.ReminderDays == b.ReminderDays &&
         a.Description() == b.Description() && a.DescriptionLength == b.DescriptionLength;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TAnniversaryList list = DecodeRecords(bytes);
  fuzz::Require(list.size() == size / RecordSize);
  fuzz::Require(EncodeRecords(list) == bytes.substr(0, list.size() * RecordSize));

  const TAnniversaryList loaded = list;
  SortByDate(list, 0);
  fuzz::Require(list.size() == loaded.size());
  const std::string csv = CsvExportBytes(list, test::IsoRegional());
  fuzz::Require(csv.size() >= list.size() * 2);
  RemoveDuplicates(list);
  for (std::size_t i = 0; i < list.size(); ++i) {
    for (std::size_t j = i + 1; j < list.size(); ++j) fuzz::Require(!SameAnniversary(list[i], list[j]));
  }
  return 0;
}
