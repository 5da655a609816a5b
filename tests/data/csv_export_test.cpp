#include "data/csv_export.h"

#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/calendar.h"
#include "support/records.h"

namespace jubilora {
namespace {

const std::string Header = "\"Date\",\"Type\",\"Description\",\"Priority\",\"Reminder\"\r\n";

std::string GermanDate(DayNumber day) {
  const CivilDate d = CivilFromDay(day);
  char text[16];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", d.day, d.month, d.year);
  return text;
}

const TAnniversary Ann = test::Record(KindBirthday, 1975, 12, 24, "Ann", 4, 7);

// Ann with some fields changed.
TAnniversary AnnWith(const std::function<void(TAnniversary&)>& change) {
  TAnniversary r = Ann;
  change(r);
  return r;
}

// --- The bytes --------------------------------------------------------------------------------

TEST(CsvExportBytes, OneLineEachInListOrderWithTheRegionalSeparatorAndShortDate) {
  const TAnniversary b = test::Record(KindWedding, 2001, 6, 15, "B", 3, 1);
  const TAnniversary c = test::Record(KindHoliday, 1900, 1, 1, "C", 2, 2);
  // The event's own year, not this year's occurrence.
  EXPECT_EQ(CsvExportBytes({b, Ann, c}, ",", GermanDate),
            Header + "15.06.2001,\"Wedding Aniversary\",\"B\",\"Quite important\",\"1 day ahead\"\r\n" +
                "24.12.1975,\"Birthday\",\"Ann\",\"Very important\",\"7 days ahead\"\r\n" +
                "01.01.1900,\"Holiday\",\"C\",\"Not important\",\"2 days ahead\"\r\n");
  EXPECT_EQ(CsvExportBytes({Ann}, ";", GermanDate),
            "\"Date\";\"Type\";\"Description\";\"Priority\";\"Reminder\"\r\n"
            "24.12.1975;\"Birthday\";\"Ann\";\"Very important\";\"7 days ahead\"\r\n");
}

TEST(CsvExportBytes, CodedFieldsAndDescriptionsAsWritten) {
  const TAnniversaryList records = {
      AnnWith([](TAnniversary& r) { r.Kind = KindOtherNoYears; }),
      AnnWith([](TAnniversary& r) { r.Kind = 0; }),
      AnnWith([](TAnniversary& r) { r.Importance = SampleImportance; r.ReminderDays = DefaultReminder; }),
      AnnWith([](TAnniversary& r) { r.SetDescription(""); }),
      AnnWith([](TAnniversary& r) { r.SetDescription("Say \"hi\", Bob; \""); }),
      AnnWith([](TAnniversary& r) { r.SetDescription("Ren\xE9\x95\x80"); }),
  };
  EXPECT_EQ(CsvExportBytes(records, ",", GermanDate),
            Header + "24.12.1975,\"Other Aniversaries\",\"Ann\",\"Very important\",\"7 days ahead\"\r\n" +
                "24.12.1975,\"\",\"Ann\",\"Very important\",\"7 days ahead\"\r\n" +
                "24.12.1975,\"Birthday\",\"Ann\",\"\",\"Default\"\r\n" +
                "24.12.1975,\"Birthday\",\"\",\"Very important\",\"7 days ahead\"\r\n" +
                // Quotes are doubled, so that other programs read the field back whole.
                "24.12.1975,\"Birthday\",\"Say \"\"hi\"\", Bob; \"\"\",\"Very important\",\"7 days ahead\"\r\n" +
                "24.12.1975,\"Birthday\",\"Ren\xE9\x95\x80\",\"Very important\",\"7 days ahead\"\r\n");
}

TEST(CsvExportBytes, DateWithoutACalendarDayGivesAnEmptyField) {
  int formatted = 0;
  const ShortDateFormatter counting = [&formatted](DayNumber day) {
    ++formatted;
    return GermanDate(day);
  };
  const auto dated = [](double date) { return AnnWith([date](TAnniversary& r) { r.Date = date; }); };
  const std::string line = ",\"Birthday\",\"Ann\",\"Very important\",\"7 days ahead\"\r\n";
  EXPECT_EQ(CsvExportBytes({dated(std::numeric_limits<double>::quiet_NaN()),
                            dated(std::numeric_limits<double>::infinity()), dated(1e300), dated(-1e9)},
                           ",", counting),
            Header + line + line + line + line);
  EXPECT_EQ(formatted, 0);
}

}  // namespace
}  // namespace jubilora
