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
  fs::path sampleFile = dir / "jubilora.spl";
  TAnniversary rose = test::Record(KindBirthday, 1952, 1, 27, "Rose", SampleImportance, DefaultReminder);
  TAnniversary tom = test::Record(KindBirthday, 1975, 7, 19, "Tom", SampleImportance, 30);
};

TEST_F(SamplesTest, AddingReplacesTheSamplesWithTheFilesRecordsUnchangedSoTwiceLeavesOneCopy) {
  // Without a sample file the old samples still go, and the list is saved and redrawn.
  anniversaries = {rose, eve, anna};
  AddSampleDataCommand(anniversaries, sampleFile, paths, ui);
  EXPECT_EQ(Descriptions(anniversaries), (Names{"Anna", "Christmas Eve"}));
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));

  // Odd padding stays; a record without the marker becomes an ordinary record; a fragment
  // at the end is ignored.
  TAnniversary odd = tom;
  odd.Padding1.fill(0x5A);
  TAnniversary unmarked = rose;
  unmarked.Importance = 2;
  test::WriteBytes(sampleFile, EncodeRecords({odd, unmarked}) + "fragment");
  AddSampleDataCommand(anniversaries, sampleFile, paths, ui);
  AddSampleDataCommand(anniversaries, sampleFile, paths, ui);
  EXPECT_EQ(EncodeRecords(anniversaries), EncodeRecords({unmarked, unmarked, anna, odd, eve}));
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));
  EXPECT_EQ(ui.redraws, 3);
  EXPECT_TRUE(ui.errors.empty() && ui.questions.empty());

  // A file that cannot be read is reported and changes nothing.
  fs::remove(sampleFile);
  fs::create_directories(sampleFile);
  const State before = Now();
  AddSampleDataCommand(anniversaries, sampleFile, paths, ui);
  test::ExpectOneError(ui, {sampleFile.string(), "Is a directory"});
  EXPECT_EQ(Now().list, before.list);
  EXPECT_EQ(Now().disk, before.disk);
}

TEST_F(SamplesTest, RemovingTakesEveryMarkedRecordAndAlwaysSavesAndRedraws) {
  // Without samples nothing goes, but the save still writes the unsaved change and rotates.
  Store({anna});
  const std::string saved = test::ReadBytes(paths.data);
  anniversaries.push_back(eve);
  RemoveSampleDataCommand(anniversaries, paths, ui);
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords({anna, eve}));
  EXPECT_EQ(test::ReadBytes(paths.backup), saved);
  EXPECT_EQ(ui.redraws, 1);

  // Declared samples (the report is not redrawn for that) all go.
  anniversaries = {eve, rose, anna, tom};
  MakeSampleCommand(anniversaries, paths, ui);
  EXPECT_EQ(test::ReadBytes(paths.data), EncodeRecords(anniversaries));
  EXPECT_EQ(ui.redraws, 1);
  RemoveSampleDataCommand(anniversaries, paths, ui);
  EXPECT_TRUE(anniversaries.empty());
  EXPECT_EQ(test::ReadBytes(paths.data), "");
}

}  // namespace
}  // namespace jubilora
