#include "data/samples.h"

#include <string>

#include <gtest/gtest.h>

#include "data/command_fixture.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
using test::Descriptions;
using test::Names;

class SamplesTest : public test::FileCommandsFixture {
 protected:
  void WriteSampleFile(const TAnniversaryList& records) { test::WriteBytes(sampleFile, EncodeRecords(records)); }

  fs::path sampleFile = dir / "jubilora.spl";
  TAnniversary rose = test::Record(KindBirthday, 1952, 1, 27, "Grandma Rose", SampleImportance, DefaultReminder);
  TAnniversary joseph = test::Record(KindNameDay, 1979, 3, 19, "Joseph's name day", SampleImportance, 3);
  TAnniversary tom = test::Record(KindBirthday, 1975, 7, 19, "Uncle Tom", SampleImportance, 30);
};

TEST_F(SamplesTest, AddSamplesAppendsTheFileUnchangedUnlessItIsMissingOrUnreadable) {
  TAnniversaryList list{eve, anna};
  ASSERT_FALSE(AddSamples(list, sampleFile).has_value());
  EXPECT_EQ(Descriptions(list), (Names{"Christmas Eve", "Anna"}));

  TAnniversary odd = tom;
  odd.Padding1.fill(0x5A);
  test::WriteBytes(sampleFile, EncodeRecords({tom, odd, rose}) + "fragment");  // the fragment is ignored
  ASSERT_FALSE(AddSamples(list, sampleFile).has_value());
  EXPECT_EQ(Descriptions(list), (Names{"Christmas Eve", "Anna", "Uncle Tom", "Uncle Tom", "Grandma Rose"}));
  EXPECT_TRUE(SameBytes(list[3], odd));

  // A file that cannot be read adds nothing at all.
  fs::remove(sampleFile);
  fs::create_directories(sampleFile);
  const TAnniversaryList before = list;
  const auto error = AddSamples(list, sampleFile);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->reason, "Is a directory");
  test::ExpectSameRecords(list, before);
}

TEST_F(SamplesTest, AddSampleDataReplacesTheSamplesSoTwiceLeavesOneCopyOfEach) {
  // Without a sample file the old samples still go, and the list is saved and redrawn.
  anniversaries = {rose, eve, anna};
  AddSampleDataCommand(anniversaries, sampleFile, paths, ui);
  EXPECT_EQ(Descriptions(anniversaries), (Names{"Anna", "Christmas Eve"}));
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords({anna, eve}));
  EXPECT_EQ(ui.redraws, 1);

  WriteSampleFile({tom, rose, joseph});
  AddSampleDataCommand(anniversaries, sampleFile, paths, ui);
  AddSampleDataCommand(anniversaries, sampleFile, paths, ui);
  EXPECT_EQ(Descriptions(anniversaries),
            (Names{"Grandma Rose", "Joseph's name day", "Anna", "Uncle Tom", "Christmas Eve"}));
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));
  EXPECT_EQ(ui.redraws, 3);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_TRUE(ui.questions.empty());
}

TEST_F(SamplesTest, SampleFileRecordWithoutTheMarkerBecomesAnOrdinaryRecord) {
  TAnniversary unmarked = joseph;
  unmarked.Importance = 2;
  WriteSampleFile({tom, unmarked});
  anniversaries = {anna};
  AddSampleDataCommand(anniversaries, sampleFile, paths, ui);
  EXPECT_EQ(anniversaries.size(), 3u);
  RemoveSampleDataCommand(anniversaries, paths, ui);
  EXPECT_EQ(Descriptions(anniversaries), (Names{"Joseph's name day", "Anna"}));
  EXPECT_EQ(anniversaries[0].Importance, 2);
}

TEST_F(SamplesTest, RemoveSampleDataTakesEveryMarkedRecordAndAlwaysSavesAndRedraws) {
  // Without samples nothing goes, but the save still writes the unsaved change and rotates.
  Store({anna});
  const std::string saved = test::ReadBytes(paths.data);
  anniversaries.push_back(eve);
  RemoveSampleDataCommand(anniversaries, paths, ui);
  EXPECT_EQ(Descriptions(anniversaries), (Names{"Anna", "Christmas Eve"}));
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));
  EXPECT_EQ(test::ReadBytes(paths.backup), saved);
  EXPECT_EQ(ui.redraws, 1);

  TAnniversary ownMarked = anna;  // e.g. merged from another computer's samples
  ownMarked.Importance = SampleImportance;
  anniversaries = {eve, rose, anna, ownMarked, joseph, tom};
  RemoveSampleDataCommand(anniversaries, paths, ui);
  EXPECT_EQ(Descriptions(anniversaries), (Names{"Anna", "Christmas Eve"}));
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));
}

TEST_F(SamplesTest, AfterMakeSampleRemovingSamplesSavesAnEmptyDataFile) {
  anniversaries = {eve, anna};
  MakeSampleCommand(anniversaries, paths, ui);
  ASSERT_EQ(anniversaries.size(), 2u);
  for (const auto& record : anniversaries) EXPECT_EQ(record.Importance, SampleImportance);
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));
  EXPECT_EQ(ui.redraws, 0);

  RemoveSampleDataCommand(anniversaries, paths, ui);
  EXPECT_TRUE(anniversaries.empty());
  EXPECT_EQ(test::ReadBytes(paths.data), "");
}

}  // namespace
}  // namespace jubilora
