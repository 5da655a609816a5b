#include "data/csv_export.h"

#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/records.h"

namespace jubilora {
namespace {

// One line each in list order with the given separator, the event's own year, the date the
// only field without quotes and empty without a calendar day (the formatter never asked),
// quotes doubled so that other programs read a field back whole, codes out of range empty.
TEST(CsvExportBytes, OneQuotedLineEachInListOrder) {
  int formatted = 0;
  const test::IsoRegional iso;
  const ShortDateFormatter counting = [&](DayNumber day) {
    ++formatted;
    return iso.FormatShortDate(day);
  };
  TAnniversaryList records = {test::Record(KindWedding, 2001, 6, 15, "Say \"hi\", Bob; \"", 3, 1),
                              test::Record(0, 1975, 12, 24, "Ren\xE9\x95\x80", SampleImportance, DefaultReminder)};
  for (const double date : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300,
                            -1e9}) {
    records.push_back(test::Record(KindBirthday, 1975, 12, 24, "", 4, 7));
    records.back().Date = date;
  }
  const std::string empty = ";\"Birthday\";\"\";\"Very important\";\"7 days ahead\"\r\n";
  EXPECT_EQ(CsvExportBytes(records, ";", counting),
            "\"Date\";\"Type\";\"Description\";\"Priority\";\"Reminder\"\r\n"
            "2001-06-15;\"Wedding Aniversary\";\"Say \"\"hi\"\", Bob; \"\"\";\"Quite important\";\"1 day ahead\"\r\n"
            "1975-12-24;\"\";\"Ren\xE9\x95\x80\";\"\";\"Default\"\r\n" +
                empty + empty + empty + empty);
  EXPECT_EQ(formatted, 2);
}

}  // namespace
}  // namespace jubilora
