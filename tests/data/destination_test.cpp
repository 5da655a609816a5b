// Where exports and backups chosen by the user are written.

#include "data/destination.h"

#include <functional>
#include <string>
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
    for (const auto& file : {program.data, program.backup, program.settings, program.samples}) {
      test::WriteBytes(file, "own " + file.extension().string());
    }
  }
  std::string Reason(const fs::path& destination) {
    const auto error = WriteChosenFile(destination, "exported", ProgramFiles(program));
    return error ? error->reason : "written";
  }

  test::TempDir dir;
  ProgramPaths program = DerivePaths(dir / "jubilora", [](const std::string&) { return std::nullopt; });
};

TEST_F(DestinationTest, TheProgramsOwnFilesAreRefusedUnderAnyName) {
  fs::create_directory(dir / "sub");
  fs::create_hard_link(program.data, dir / "sub" / "hard.csv");
  fs::create_symlink(program.settings, dir / "sub" / "soft.csv");
  const std::vector<fs::path> destinations = {
      program.data, program.backup, program.settings, program.samples, dir / "sub" / "hard.csv",
      dir / "sub" / "soft.csv", dir / "sub" / ".." / "jubilora.jld", fs::relative(program.backup)};
  const test::Disk before = test::Contents(dir.path());
  for (const fs::path& destination : destinations) {
    EXPECT_EQ(Reason(destination), "It is one of Jubilora's own files") << destination;
  }
  // Also before it exists, as when the data was loaded from the backup.
  fs::remove(program.data);
  EXPECT_EQ(Reason(program.data), "It is one of Jubilora's own files");
  EXPECT_FALSE(fs::exists(program.data));
  fs::remove(dir / "sub" / "hard.csv");
  auto after = test::Contents(dir.path());
  after["jubilora.jld"] = before.at("jubilora.jld");
  after["sub/hard.csv"] = before.at("sub/hard.csv");
  EXPECT_EQ(after, before);
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

  struct Case {
    fs::path destination;
    std::string reason;
    fs::file_type typeAfter;
  };
  const std::vector<Case> cases = {
      {dir / "link.csv", "written", fs::file_type::symlink},
      {dir / "read-only.csv", "Permission denied", fs::file_type::regular},
      {test::SafeDevice(dir.path(), "null"), "written", fs::file_type::character},
      {test::SafeDevice(dir.path(), "full"), "No space left on device", fs::file_type::character},
      {dir / "fifo", "It is a FIFO that nothing reads from", fs::file_type::fifo},  // and no waiting
      {dir / "folder", "Is a directory", fs::file_type::directory},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Reason(c.destination), c.reason) << c.destination;
    EXPECT_EQ(fs::symlink_status(c.destination).type(), c.typeAfter) << c.destination;
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
