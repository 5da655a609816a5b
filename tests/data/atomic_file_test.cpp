#include "data/atomic_file.h"

#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "data/command_fixture.h"
#include "support/privileges.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
using test::Entries;
using test::Files;

mode_t ModeOf(const fs::path& file) {
  struct stat info {};
  if (stat(file.c_str(), &info) != 0) return 0;
  return info.st_mode & 07777;
}

TEST(WriteFileAtomically, WritesExactlyTheBytesEmptySmallOrLarge) {
  test::TempDir dir;
  std::string large(5 * 1024 * 1024 + 13, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 31 % 251);
  for (const std::string& bytes : {std::string(), std::string("a\0b\r\n\xff", 6), large}) {
    SCOPED_TRACE(bytes.size());
    EXPECT_EQ(WriteFileAtomically(dir / "out.bin", bytes), std::nullopt);
    EXPECT_EQ(test::ReadBytes(dir / "out.bin"), bytes);
    EXPECT_EQ(Entries(dir.path()), Files{"out.bin"});
  }
}

TEST(WriteFileAtomically, NewFilesGetTheUsualPermissionsAndReplacedOnesKeepTheirs) {
  test::TempDir dir;
  const mode_t previous = umask(022);
  const auto error = WriteFileAtomically(dir / "settings.ini", "old contents that are longer than the new ones");
  umask(previous);
  EXPECT_EQ(error, std::nullopt);
  EXPECT_EQ(ModeOf(dir / "settings.ini"), 0644u);  // not private, like any file the user saves

  ASSERT_EQ(chmod((dir / "settings.ini").c_str(), 0640), 0);
  EXPECT_EQ(WriteFileAtomically(dir / "settings.ini", "new"), std::nullopt);
  EXPECT_EQ(test::ReadBytes(dir / "settings.ini"), "new");
  EXPECT_EQ(ModeOf(dir / "settings.ini"), 0640u);
  EXPECT_EQ(Entries(dir.path()), Files{"settings.ini"});
}

TEST(WriteFileAtomicallyFailures, GiveTheSystemsReasonAndLeaveNoTemporaryBehind) {
  test::TempDir dir;
  fs::create_directories(dir / "target" / "inside");
  EXPECT_EQ(WriteFileAtomically(dir / "missing" / "out.bin", "x"), "No such file or directory");
  EXPECT_EQ(WriteFileAtomically(dir / "target", "x"), "Is a directory");
  EXPECT_TRUE(fs::is_directory(dir / "target" / "inside"));
  EXPECT_EQ(Entries(dir.path()), Files{"target"});
}

TEST(WriteFileAtomicallyFailures, ReadOnlyFolderLeavesTheOldFileUntouched) {
  test::TempDir dir;
  test::GiveToNobody(dir.path());
  const fs::path folder = dir / "locked";
  fs::create_directories(folder);
  test::WriteBytes(folder / "file", "old");
  ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
  const int result =
      test::RunAsNobody([&] { return WriteFileAtomically(folder / "file", "new") == "Permission denied" ? 0 : 1; });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(test::ReadBytes(folder / "file"), "old");
  EXPECT_EQ(Entries(folder), Files{"file"});
}

TEST(WriteTemporaryBeside, WritesItsOwnHiddenFileBesideTheTargetOrNothingAtAll) {
  test::TempDir dir;
  test::WriteBytes(dir / "data.jld", "old");
  std::string error;
  const auto first = WriteTemporaryBeside(dir / "data.jld", "one", error);
  const auto second = WriteTemporaryBeside(dir / "data.jld", "two", error);
  ASSERT_TRUE(first && second) << error;
  EXPECT_NE(*first, *second);
  EXPECT_EQ(first->parent_path(), dir.path());
  EXPECT_EQ(first->filename().string().rfind(".data.jld.", 0), 0u) << *first;
  EXPECT_EQ(test::ReadBytes(*first), "one");
  EXPECT_EQ(test::ReadBytes(*second), "two");
  EXPECT_EQ(test::ReadBytes(dir / "data.jld"), "old");

  // A failure sets the reason and leaves nothing.
  test::WriteBytes(dir / "plain", "a file, not a folder");
  EXPECT_EQ(WriteTemporaryBeside(dir / "plain" / "data.jld", "x", error), std::nullopt);
  EXPECT_EQ(error, "Not a directory");
  EXPECT_EQ(Entries(dir.path()), (Files{"data.jld", "plain", first->filename().string(), second->filename().string()}));
}

}  // namespace
}  // namespace jubilora
