// Reading and writing the program's files, and the files the user chooses for exports and backups.

#include "data/atomic_file.h"

#include <string>
#include <tuple>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include "data/command_fixture.h"
#include "data/destination.h"
#include "support/hostile_files.h"
#include "support/privileges.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

std::string ReasonOf(const FileResult& error) { return error ? error->reason : "no error"; }

// Every reader of the program's files comes here; what is no regular file is met through
// the command line's tests. A file of exactly the limit is read, one byte more is refused.
TEST(ReadRegularFile, RefusesAnythingOverTheLimit) {
  test::TempDir dir;
  test::WriteBytes(dir / "ten", "0123456789");
  std::string bytes;
  EXPECT_EQ(ReadRegularFile(dir / "ten", 10, "big", bytes), std::nullopt);
  EXPECT_EQ(bytes, "0123456789");
  EXPECT_EQ(ReasonOf(ReadRegularFile(dir / "ten", 9, "big", bytes)), "big");
}

// The data file's save writes through the same temporary file, so this holds for it too.
TEST(WriteFileAtomically, WritesExactlyTheBytesThroughLinksKeepingOwnerAndPermissions) {
  test::TempDir dir;
  std::string large(3 * 1024 * 1024 + 13, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 31 % 251);
  for (const std::string& bytes : {std::string(), large}) {
    EXPECT_EQ(WriteFileAtomically(dir / "out.bin", bytes), std::nullopt);
    EXPECT_EQ(test::ReadBytes(dir / "out.bin"), bytes);
    EXPECT_EQ(test::Contents(dir.path()), (test::Disk{{"out.bin", bytes}}));  // no temporary left
  }
  const mode_t previous = umask(022);
  EXPECT_EQ(WriteFileAtomically(dir / "new.ini", "x"), std::nullopt);
  umask(previous);
  EXPECT_EQ(fs::status(dir / "new.ini").permissions(), fs::perms(0644));  // not private, like any file the user saves

  ASSERT_EQ(chmod((dir / "new.ini").c_str(), 0640), 0);
  const uid_t owner = test::RunningAsRoot() ? 65534 : getuid();
  ASSERT_EQ(lchown((dir / "new.ini").c_str(), owner, static_cast<gid_t>(-1)), 0);
  fs::create_symlink("new.ini", dir / "link.ini");
  EXPECT_EQ(WriteFileAtomically(dir / "link.ini", "new"), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(dir / "link.ini"));
  EXPECT_EQ(test::ReadBytes(dir / "new.ini"), "new");
  struct stat info {};
  ASSERT_EQ(stat((dir / "new.ini").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(info.st_uid, owner);
}

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
TEST_F(DestinationTest, OwnFilesAreRefusedUnderAnyNameLinksFollowedAndDevicesWrittenDirectly) {
  fs::create_directory(dir / "sub");
  fs::create_hard_link(program.data, dir / "sub" / "hard.csv");
  fs::create_symlink(program.settings, dir / "sub" / "soft.csv");
  std::vector<fs::path> destinations = ProgramFiles(program);
  destinations.insert(destinations.end(), {dir / "sub" / "hard.csv", dir / "sub" / "soft.csv"});
  const test::Disk before = test::Contents(dir.path());
  for (const fs::path& destination : destinations) {
    EXPECT_EQ(Reason(destination), "It is one of Jubilora's own files") << destination;
  }
  EXPECT_EQ(test::Contents(dir.path()), before);
  fs::remove(program.data);
  EXPECT_EQ(Reason(program.data), "It is one of Jubilora's own files");
  EXPECT_FALSE(fs::exists(program.data));

  // Links are followed, devices written directly, read-only files kept.
  const test::HangGuard guard;
  test::WriteBytes(dir / "target.csv", "old");
  chmod((dir / "target.csv").c_str(), 0640);
  fs::create_symlink("target.csv", dir / "link.csv");
  test::WriteBytes(dir / "read-only.csv", "keep");
  chmod((dir / "read-only.csv").c_str(), 0444);
  mkfifo((dir / "fifo").c_str(), 0600);
  const std::vector<std::tuple<fs::path, std::string, fs::file_type>> cases = {
      {dir / "link.csv", "written", fs::file_type::symlink},
      {dir / "read-only.csv", "Permission denied", fs::file_type::regular},
      {test::SafeDevice(dir.path(), "full"), "No space left on device", fs::file_type::character},
      {dir / "fifo", "It is a FIFO that nothing reads from", fs::file_type::fifo},  // and no waiting
  };
  for (const auto& [destination, reason, typeAfter] : cases) {
    EXPECT_EQ(Reason(destination), reason) << destination;
    EXPECT_EQ(fs::symlink_status(destination).type(), typeAfter) << destination;
  }
  EXPECT_EQ(test::ReadBytes(dir / "target.csv"), "exported");
  EXPECT_EQ(fs::status(dir / "target.csv").permissions(), static_cast<fs::perms>(0640));
  EXPECT_EQ(test::ReadBytes(dir / "read-only.csv"), "keep");
}

}  // namespace
}  // namespace jubilora
