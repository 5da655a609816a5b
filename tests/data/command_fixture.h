#pragma once
// What the tests of the data layer share: a folder with the data file, the scripted Ui,
// settings whose LastPath names a folder of its own, a few records and a few checks.

#include <deque>
#include <filesystem>
#include <map>
#include <optional>
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

using Names = std::vector<std::string>;
using Files = std::set<std::string>;

inline void ExpectDialog(const FileDialogOptions& actual, const FileDialogOptions& expected) {
  EXPECT_EQ(actual.title, expected.title);
  EXPECT_EQ(actual.filter, expected.filter);
  EXPECT_EQ(actual.defaultSuffix, expected.defaultSuffix);
  EXPECT_EQ(actual.initialFolder, expected.initialFolder);
  EXPECT_EQ(actual.initialName, expected.initialName);
  EXPECT_EQ(actual.filterIndex, expected.filterIndex);
}

// The last of `count` questions asked: its caption and icon, and its message when given.
inline void ExpectLastQuestion(const FakeUi& ui, std::size_t count, const std::string& caption, IconKind icon,
                               const std::string& message = {}) {
  ASSERT_EQ(ui.questions.size(), count);
  const AskedQuestion& asked = ui.questions.back();
  EXPECT_EQ(asked.caption, caption);
  EXPECT_EQ(asked.icon, icon);
  if (!message.empty()) {
    EXPECT_EQ(asked.message, message);
  }
}

// Exactly one error report, holding every one of `words`.
inline void ExpectOneError(const FakeUi& ui, const std::vector<std::string>& words) {
  ASSERT_EQ(ui.errors.size(), 1u);
  for (const auto& word : words) EXPECT_NE(ui.errors[0].find(word), std::string::npos) << ui.errors[0];
}

inline void ExpectSameRecords(const TAnniversaryList& actual, const TAnniversaryList& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_TRUE(SameBytes(actual[i], expected[i])) << i;
}

inline Files Entries(const std::filesystem::path& folder) {
  Files names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
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
    cfg.LastPath = lastPath;
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

  // What a command that ends early or fails leaves as it was.
  struct State {
    std::string data;
    std::string backup;
    Names list;
  };
  State Now() const {
    const auto bytes = [](const std::filesystem::path& file) {
      return std::filesystem::exists(file) ? ReadBytes(file) : "<none>";
    };
    return {bytes(paths.data), bytes(paths.backup), Descriptions(anniversaries)};
  }
  void ExpectNothingChanged(const State& before) const {
    const State now = Now();
    EXPECT_EQ(now.data, before.data);
    EXPECT_EQ(now.backup, before.backup);
    EXPECT_EQ(now.list, before.list);
    EXPECT_EQ(ui.redraws, 0);
    EXPECT_TRUE(ui.saved.empty());
    EXPECT_EQ(cfg.LastPath, lastPath);
  }

  // The first reading is the last second of a year; any later one is in the next year.
  ReadLocalClock Clock() {
    return [this] {
      return ++clockReadings == 1 ? LocalDateTime{2025, 12, 31, 23, 59, 59} : LocalDateTime{2026, 1, 1, 0, 0, 0};
    };
  }

  TempDir dir;
  const std::string lastPath = (dir / "last").string() + "/";
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
