#pragma once
// What the tests of the data layer share: a folder with the data file, the scripted Ui,
// settings whose LastPath names a folder of its own, a few records and a few checks.

#include <deque>
#include <filesystem>
#include <map>
#include <optional>
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

using Names = std::vector<std::string>;

// Exactly one error report, holding every one of `words`.
inline void ExpectOneError(const FakeUi& ui, const std::vector<std::string>& words) {
  ASSERT_EQ(ui.errors.size(), 1u);
  for (const auto& word : words) EXPECT_NE(ui.errors[0].find(word), std::string::npos) << ui.errors[0];
}

// Every file and folder under `folder`, with its bytes ("<folder>" for a folder).
using Disk = std::map<std::string, std::string>;
inline Disk Contents(const std::filesystem::path& folder) {
  Disk disk;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    disk[std::filesystem::relative(entry.path(), folder).string()] =
        entry.is_directory() ? "<folder>" : ReadBytes(entry.path());
  }
  return disk;
}

inline Names Descriptions(const TAnniversaryList& list) {
  Names texts;
  for (const auto& record : list) texts.push_back(record.Description());
  return texts;
}

class FileCommandsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    cfg.LastPath = cfg.ExportPath = lastPath;
    std::filesystem::create_directories(dir / "last");
    std::filesystem::create_directories(dir / "other");
  }

  // The list as a start would have it: saved, then loaded back in date order.
  void Store(TAnniversaryList list) {
    ASSERT_EQ(SaveData(list, paths, ui), std::nullopt);
    ui = FakeUi{};
    anniversaries = list;
  }

  // A fresh Ui for the next command, with the answers it gives and the files it chooses.
  void Script(std::deque<int> answers, std::deque<std::optional<std::filesystem::path>> files = {}) {
    ui = FakeUi{};
    ui.answers = std::move(answers);
    ui.files = std::move(files);
  }

  std::filesystem::path OtherFile(const std::string& name, const std::string& bytes) {
    const auto file = dir / "other" / name;
    WriteBytes(file, bytes);
    return file;
  }

  // What a command that ends early or fails leaves as it was: every file, the list, the
  // remembered folders, and no save or redraw told.
  struct State {
    Disk disk;
    Names list;
  };
  State Now() const { return {Contents(dir.path()), Descriptions(anniversaries)}; }
  void ExpectNothingChanged(const State& before) const {
    EXPECT_EQ(Contents(dir.path()), before.disk);
    EXPECT_EQ(Descriptions(anniversaries), before.list);
    EXPECT_EQ(ui.redraws, 0);
    EXPECT_TRUE(ui.saved.empty());
    EXPECT_EQ(cfg.LastPath, lastPath);
    EXPECT_EQ(cfg.ExportPath, lastPath);
  }

  TempDir dir;
  const std::string lastPath = (dir / "last").string() + "/";
  DataPaths paths{dir / "jubilora.jld", dir / "jubilora.jlb"};
  FakeUi ui;
  TCfg cfg;
  TAnniversaryList anniversaries;

  TAnniversary anna = Record(KindBirthday, 1990, 5, 1, "Anna", 4, 7);
  TAnniversary ben = Record(KindWedding, 2001, 6, 15, "Ben & Carla", 3, DefaultReminder);
  TAnniversary eve = Record(KindHoliday, 1900, 12, 24, "Christmas Eve", 2, 14);
};

}  // namespace jubilora::test
