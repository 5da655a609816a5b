// The same birthdays for Jubilora and two other reminder programs, for bench/compare_peers:
//   peer_files COUNT FOLDER
// writes FOLDER/jubilora.jld (Jubilora's records, each reminded 90 days ahead),
// FOLDER/reminders.rem (for `remind -n -q`) and FOLDER/birthdays (for `birthday -W 90 -f`).

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

#include "core/calendar.h"
#include "data/data_file.h"

int main(int argc, char** argv) {
  using namespace jubilora;
  if (argc != 3) {
    std::cerr << "usage: peer_files COUNT FOLDER\n";
    return 2;
  }
  const int count = std::atoi(argv[1]);
  const std::string folder = argv[2];
  static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::mt19937 random(20261206);
  TAnniversaryList list;
  std::ofstream remind(folder + "/reminders.rem");
  std::ofstream birthday(folder + "/birthdays");
  for (int i = 0; i < count; ++i) {
    const DayNumber day = DayFromCivil(1930 + static_cast<int>(random() % 90), 1, 1) + static_cast<int>(random() % 365);
    const CivilDate date = CivilFromDay(day);
    const std::string name = "Person " + std::to_string(i);
    TAnniversary record;
    record.Kind = KindBirthday;
    record.Date = day;
    record.SetDescription(name);
    record.ReminderDays = 90;
    list.push_back(record);
    remind << "REM " << date.day << ' ' << months[date.month - 1] << " MSG " << name << "'s birthday\n";
    birthday << name << '=' << date.day << '/' << date.month << '/' << date.year << " bd\n";
  }
  std::ofstream(folder + "/jubilora.jld", std::ios::binary) << EncodeRecords(list);
  return remind && birthday ? 0 : 1;
}
