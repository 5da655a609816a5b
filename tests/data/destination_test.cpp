// Where exports and backups chosen by the user are written.

#include "data/destination.h"

#include <string>
#include <tuple>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "data/command_fixture.h"
#include "support/hostile_files.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

class DestinationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& file : ProgramFiles(program)) test::WriteBytes(file, "own " + file.extension().string());
  }
  std::string Reason(const fs::path& destination) {
    const auto error = WriteChosenFile(destination, "exported", ProgramFiles(program));
    return error ? error->reason : "written";
  }

  test::TempDir dir;
  ProgramPaths program = DerivePaths(dir / "jubilora", [](const std::string&) { return std::nullopt; });
};

// A plain copy onto its own source would first empty it.
TEST_F(DestinationTest, TheProgramsOwnFilesAreRefusedUnderAnyNameEvenBeforeTheyExist) {
  fs::create_directory(dir / "sub");
  fs::create_hard_link(program.data, dir / "sub" / "hard.csv");
  fs::create_symlink(program.settings, dir / "sub" / "soft.csv");
  std::vector<fs::path> destinations = ProgramFiles(program);
  destinations.insert(destinations.end(), {dir / "sub" / "hard.csv", dir / "sub" / "soft.csv",
                                           dir / "sub" / ".." / "jubilora.jld", fs::relative(program.backup)});
  const test::Disk before = test::Contents(dir.path());
  for (const fs::path& destination : destinations) EXPECT_EQ(Reason(destination), "It is one of Jubilora's own files") << destination;
  EXPECT_EQ(test::Contents(dir.path()), before);
  fs::remove(program.data);
  EXPECT_EQ(Reason(program.data), "It is one of Jubilora's own files");
  EXPECT_FALSE(fs::exists(program.data));
}

TEST_F(DestinationTest, LinksAreFollowedDevicesWrittenDirectlyAndReadOnlyFilesKept) {
  const test::HangGuard guard;
  test::WriteBytes(dir / "target.csv", "old");
  chmod((dir / "target.csv").c_str(), 0640);
  fs::create_symlink("target.csv", dir / "link.csv");
  test::WriteBytes(dir / "read-only.csv", "keep");
  chmod((dir / "read-only.csv").c_str(), 0444);
  mkfifo((dir / "fifo").c_str(), 0600);
  fs::create_directory(dir / "folder");
  const std::vector<std::tuple<fs::path, std::string, fs::file_type>> cases = {
      {dir / "link.csv", "written", fs::file_type::symlink},
      {dir / "read-only.csv", "Permission denied", fs::file_type::regular},
      {test::SafeDevice(dir.path(), "null"), "written", fs::file_type::character},
      {test::SafeDevice(dir.path(), "full"), "No space left on device", fs::file_type::character},
      {dir / "fifo", "It is a FIFO that nothing reads from", fs::file_type::fifo},  // and no waiting
      {dir / "folder", "Is a directory", fs::file_type::directory},
  };
  for (const auto& [destination, reason, typeAfter] : cases) {
    EXPECT_EQ(Reason(destination), reason) << destination;
    EXPECT_EQ(fs::symlink_status(destination).type(), typeAfter) << destination;
  }
  EXPECT_EQ(test::ReadBytes(dir / "target.csv"), "exported");
  EXPECT_EQ(fs::status(dir / "target.csv").permissions(), static_cast<fs::perms>(0640));
  EXPECT_EQ(test::ReadBytes(dir / "read-only.csv"), "keep");

  // A FIFO with a reader gets the bytes.
  const int reader = open((dir / "fifo").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_EQ(Reason(dir / "fifo"), "written");
  char buffer[16] = {};
  EXPECT_EQ(read(reader, buffer, sizeof buffer), 8);
  EXPECT_EQ(std::string(buffer), "exported");
  close(reader);
}

}  // namespace
}  // namespace jubilora
