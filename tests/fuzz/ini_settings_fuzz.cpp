// The INI reader and the settings store on any text: whatever was read is written back
// so that the next start reads the same settings, and a second write changes nothing.

#include <string_view>

#include "app/settings_store.h"
#include "fuzz/fuzz_support.h"
#include "platform/ini_file.h"

using namespace jubilora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const test::IsoRegional regional;
  const test::NamedFonts fonts({"Tahoma", "Verdana", "Courier New"});
  const DayNumber today = DayFromCivil(2025, 3, 14);

  IniFile file = IniFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  const StoredSettings read = ReadSettings(&file, fonts, regional, today);
  WriteSettings(file, read, regional, today);
  const std::string text = file.Text();

  IniFile again = IniFile::Parse(text);
  StoredSettings expected = read;
  expected.lastRun = today;
  fuzz::Require(ReadSettings(&again, fonts, regional, today + 1) == expected);
  WriteSettings(again, expected, regional, today);
  fuzz::Require(again.Text() == text);
  return 0;
}
