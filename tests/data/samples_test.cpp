#include "data/samples.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/read_fault.h"
#include "support/fake_ui.h"
#include "support/records.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Descriptions(const TAnniversaryList& list) {
  std::vector<std::string> texts;
  for (const auto& record : list) texts.push_back(record.Description());
  return texts;
}

class SamplesTest : public ::testing::Test {
 protected:
  void WriteSampleFile(const TAnniversaryList& records) { test::WriteBytes(sampleFile, EncodeRecords(records)); }

  test::TempDir dir;
  DataPaths paths{dir / "jubilora.jld", dir / "jubilora.jlb"};
  fs::path sampleFile = dir / "jubilora.spl";
  test::FakeUi ui;

  // The user's own records.
  TAnniversary anna = test::Record(KindBirthday, 1990, 5, 1, "Anna", 4, 7);
  TAnniversary eve = test::Record(KindHoliday, 1900, 12, 24, "Christmas Eve", 2, 14);
  // Records of the sample file.
  TAnniversary rose = test::Record(KindBirthday, 1952, 1, 27, "Grandma Rose", SampleImportance, DefaultReminder);
  TAnniversary joseph = test::Record(KindNameDay, 1979, 3, 19, "Joseph's name day", SampleImportance, 3);
  TAnniversary tom = test::Record(KindBirthday, 1975, 7, 19, "Uncle Tom", SampleImportance, 30);
};

// --- AddSamples and RemoveSamples --------------------------------------------------------------

TEST_F(SamplesTest, AddSamplesAppendsTheFileUnchangedWithoutSorting) {
  TAnniversary odd = tom;
  odd.Padding1.fill(0x5A);
  WriteSampleFile({tom, odd, rose});
  test::WriteBytes(sampleFile, test::ReadBytes(sampleFile) + "fragment");  // ignored
  TAnniversaryList list{eve, anna};
  ASSERT_FALSE(AddSamples(list, sampleFile).has_value());
  ASSERT_EQ(list.size(), 5u);
  EXPECT_EQ(Descriptions(list), (std::vector<std::string>{"Christmas Eve", "Anna", "Uncle Tom", "Uncle Tom",
                                                          "Grandma Rose"}));
  EXPECT_TRUE(SameBytes(list[3], odd));
}

TEST_F(SamplesTest, AddSamplesWithoutASampleFileAddsNothing) {
  TAnniversaryList list{anna};
  EXPECT_FALSE(AddSamples(list, sampleFile).has_value());
  EXPECT_EQ(Descriptions(list), std::vector<std::string>{"Anna"});
}

TEST_F(SamplesTest, AddSamplesThatCannotReadTheFileLeavesTheListAsItWas) {
  fs::create_directories(sampleFile);
  TAnniversaryList list{anna};
  const auto error = AddSamples(list, sampleFile);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->reason, "Is a directory");
  EXPECT_EQ(Descriptions(list), std::vector<std::string>{"Anna"});
}

TEST_F(SamplesTest, RemoveSamplesTakesEveryMarkedRecordAndKeepsTheOrderOfTheRest) {
  TAnniversary ownMarked = anna;  // e.g. merged from another computer's samples
  ownMarked.Importance = SampleImportance;
  TAnniversaryList list{eve, rose, anna, ownMarked, joseph, tom};
  RemoveSamples(list);
  EXPECT_EQ(Descriptions(list), (std::vector<std::string>{"Christmas Eve", "Anna"}));

  TAnniversaryList none{eve, anna};
  RemoveSamples(none);
  EXPECT_EQ(Descriptions(none), (std::vector<std::string>{"Christmas Eve", "Anna"}));
}

// --- Add Sample Data ------------------------------------------------------------------------------

TEST_F(SamplesTest, AddSampleDataTwiceLeavesOneCopyOfEachSample) {
  WriteSampleFile({tom, rose, joseph});
  TAnniversaryList list{eve, anna};
  AddSampleDataCommand(list, sampleFile, paths, ui);
  AddSampleDataCommand(list, sampleFile, paths, ui);
  EXPECT_EQ(Descriptions(list), (std::vector<std::string>{"Grandma Rose", "Joseph's name day", "Anna", "Uncle Tom",
                                                          "Christmas Eve"}));
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(list));
  EXPECT_EQ(ui.redraws, 2);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_TRUE(ui.questions.empty());
}

TEST_F(SamplesTest, AddSampleDataWithoutASampleFileStillRemovesSavesAndRedraws) {
  TAnniversaryList list{rose, anna};
  AddSampleDataCommand(list, sampleFile, paths, ui);
  EXPECT_EQ(Descriptions(list), std::vector<std::string>{"Anna"});
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords({anna}));
  EXPECT_EQ(ui.redraws, 1);
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(SamplesTest, SampleFileRecordWithoutTheMarkerBecomesAnOrdinaryRecord) {
  TAnniversary unmarked = joseph;
  unmarked.Importance = 2;
  WriteSampleFile({tom, unmarked});
  TAnniversaryList list{anna};
  AddSampleDataCommand(list, sampleFile, paths, ui);
  EXPECT_EQ(list.size(), 3u);
  RemoveSampleDataCommand(list, paths, ui);
  EXPECT_EQ(Descriptions(list), (std::vector<std::string>{"Joseph's name day", "Anna"}));
  EXPECT_EQ(list[0].Importance, 2);
}

TEST_F(SamplesTest, AddSampleDataWhoseFileFailsPartWayChangesNothing) {
  WriteSampleFile(TAnniversaryList(2000, tom));  // several reads; the last one fails
  TAnniversaryList list{eve, rose, anna};
  const test::ReadFault fault(sampleFile, 1999 * RecordSize);
  AddSampleDataCommand(list, sampleFile, paths, ui);
  ASSERT_EQ(fault.Failures(), 1);
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_NE(ui.errors[0].find(sampleFile.string()), std::string::npos) << ui.errors[0];
  EXPECT_NE(ui.errors[0].find("Input/output error"), std::string::npos) << ui.errors[0];
  // Even the old samples are still there: nothing was removed, saved or redrawn.
  EXPECT_EQ(Descriptions(list), (std::vector<std::string>{"Christmas Eve", "Grandma Rose", "Anna"}));
  EXPECT_FALSE(fs::exists(paths.data));
  EXPECT_EQ(ui.redraws, 0);
}

// --- Remove Sample Data and the hidden button ---------------------------------------------------

TEST_F(SamplesTest, RemoveSampleDataWithoutSamplesStillSavesAndRedraws) {
  TAnniversaryList list{anna};
  ASSERT_TRUE(SaveData(list, paths, ui));
  const std::string before = test::ReadBytes(paths.data);
  list.push_back(eve);  // unsaved change: the save must write it
  RemoveSampleDataCommand(list, paths, ui);
  EXPECT_EQ(Descriptions(list), (std::vector<std::string>{"Anna", "Christmas Eve"}));
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(list));
  EXPECT_EQ(test::ReadBytes(paths.backup), before);
  EXPECT_EQ(ui.redraws, 1);
}

TEST_F(SamplesTest, RemovingFromAListOfOnlySamplesSavesAnEmptyDataFile) {
  TAnniversaryList list{rose, tom};
  RemoveSampleDataCommand(list, paths, ui);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(fs::file_size(paths.data), 0u);
}

TEST_F(SamplesTest, MakeSampleMarksEverythingAndSavesWithoutRedrawing) {
  TAnniversaryList list{eve, anna};
  MakeSampleCommand(list, paths, ui);
  ASSERT_EQ(list.size(), 2u);
  for (const auto& record : list) EXPECT_EQ(record.Importance, SampleImportance);
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(list));
  EXPECT_EQ(ui.redraws, 0);

  RemoveSampleDataCommand(list, paths, ui);
  EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace jubilora
