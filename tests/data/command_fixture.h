#pragma once
// What the tests of the File menu's commands share: a folder with the data file, the
// scripted Ui, settings whose LastPath names a folder of its own, and a few records.

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/anniversary.h"
#include "core/settings.h"
#include "data/data_file.h"
#include "data/file_commands.h"
#include "support/fake_ui.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace jubilora::test {

inline const std::string RestSyncFilter = "Jubilora Data (*.jld);;Jubilora Auto Backup (*.jlb)";

using Buttons = std::vector<std::string>;

inline void ExpectQuestion(const AskedQuestion& asked, const std::string& caption, const std::string& message,
                           const Buttons& buttons, IconKind icon) {
  EXPECT_EQ(asked.caption, caption);
  EXPECT_EQ(asked.message, message);
  EXPECT_EQ(asked.buttons, buttons);
  EXPECT_EQ(asked.icon, icon);
  EXPECT_TRUE(asked.canCancel);
}

inline std::set<std::string> Entries(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

inline std::vector<std::string> Descriptions(const TAnniversaryList& list) {
  std::vector<std::string> texts;
  for (const auto& record : list) texts.push_back(record.Description());
  return texts;
}

class FileCommandsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    cfg.LastPath = (dir / "last").string() + "/";
    std::filesystem::create_directories(dir / "last");
    std::filesystem::create_directories(dir / "other");
  }

  // The list as a start would have it: saved, then loaded back in date order.
  void Store(TAnniversaryList list) {
    ASSERT_TRUE(SaveData(list, paths, ui));
    ui = FakeUi{};
    anniversaries = list;
  }

  LocalDateTime FixedClock() {
    ++clockReadings;
    return {2026, 3, 7, 9, 5, 3};
  }
  ReadLocalClock Clock() {
    return [this] { return FixedClock(); };
  }

  TempDir dir;
  DataPaths paths{dir / "jubilora.jld", dir / "jubilora.jlb"};
  FakeUi ui;
  TCfg cfg;
  TAnniversaryList anniversaries;
  int clockReadings = 0;

  TAnniversary anna = Record(KindBirthday, 1990, 5, 1, "Anna", 4, 7);
  TAnniversary ben = Record(KindWedding, 2001, 6, 15, "Ben & Carla", 3, DefaultReminder);
  TAnniversary eve = Record(KindHoliday, 1900, 12, 24, "Christmas Eve", 2, 14);
};

}  // namespace jubilora::test
