#include "data/atomic_file.h"

#include <set>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/privileges.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

std::set<std::string> Entries(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

mode_t ModeOf(const fs::path& file) {
  struct stat info {};
  if (stat(file.c_str(), &info) != 0) return 0;
  return info.st_mode & 07777;
}

TEST(WriteFileAtomically, CreatesANewFileWithExactlyTheBytes) {
  test::TempDir dir;
  const std::string bytes("a\0b\r\n\xff", 6);
  EXPECT_EQ(WriteFileAtomically(dir / "out.bin", bytes), std::nullopt);
  EXPECT_EQ(test::ReadBytes(dir / "out.bin"), bytes);
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"out.bin"});
}

TEST(WriteFileAtomically, ReplacesAnExistingFileWholeAndKeepsItsPermissions) {
  test::TempDir dir;
  test::WriteBytes(dir / "settings.ini", "old contents that are longer than the new ones");
  ASSERT_EQ(chmod((dir / "settings.ini").c_str(), 0640), 0);
  EXPECT_EQ(WriteFileAtomically(dir / "settings.ini", "new"), std::nullopt);
  EXPECT_EQ(test::ReadBytes(dir / "settings.ini"), "new");
  EXPECT_EQ(ModeOf(dir / "settings.ini"), 0640u);
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"settings.ini"});
}

TEST(WriteFileAtomically, NewFilesGetTheUsualPermissionsNotPrivateOnes) {
  test::TempDir dir;
  const mode_t previous = umask(022);
  const auto error = WriteFileAtomically(dir / "export.csv", "x");
  umask(previous);
  EXPECT_EQ(error, std::nullopt);
  EXPECT_EQ(ModeOf(dir / "export.csv"), 0644u);
}

TEST(WriteFileAtomically, WritesEmptyAndLargeContents) {
  test::TempDir dir;
  EXPECT_EQ(WriteFileAtomically(dir / "empty", ""), std::nullopt);
  EXPECT_EQ(fs::file_size(dir / "empty"), 0u);

  std::string large(5 * 1024 * 1024 + 13, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 31 % 251);
  EXPECT_EQ(WriteFileAtomically(dir / "large", large), std::nullopt);
  EXPECT_EQ(test::ReadBytes(dir / "large"), large);
}

TEST(WriteFileAtomicallyFailures, MissingFolderGivesTheSystemsReason) {
  test::TempDir dir;
  EXPECT_EQ(WriteFileAtomically(dir / "missing" / "out.bin", "x"), "No such file or directory");
  EXPECT_TRUE(Entries(dir.path()).empty());
}

TEST(WriteFileAtomicallyFailures, TargetThatIsAFolderIsLeftAloneAndNoTemporaryRemains) {
  test::TempDir dir;
  fs::create_directories(dir / "target" / "inside");
  EXPECT_EQ(WriteFileAtomically(dir / "target", "x"), "Is a directory");
  EXPECT_TRUE(fs::is_directory(dir / "target" / "inside"));
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"target"});
}

TEST(WriteFileAtomicallyFailures, ReadOnlyFolderLeavesTheOldFileUntouched) {
  test::TempDir dir;
  test::GiveToNobody(dir.path());
  const fs::path folder = dir / "locked";
  fs::create_directories(folder);
  test::WriteBytes(folder / "file", "old");
  ASSERT_EQ(chmod(folder.c_str(), 0555), 0);

  const int result = test::RunAsNobody([&] {
    const auto error = WriteFileAtomically(folder / "file", "new");
    if (!error) return 1;
    if (*error != "Permission denied") return 2;
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(test::ReadBytes(folder / "file"), "old");
  EXPECT_EQ(Entries(folder), std::set<std::string>{"file"});
}

TEST(WriteTemporaryBeside, WritesAHiddenFileInTheTargetsFolderAndLeavesTheTargetAlone) {
  test::TempDir dir;
  test::WriteBytes(dir / "data.jld", "old");
  std::string error;
  const auto temporary = WriteTemporaryBeside(dir / "data.jld", "new bytes", error);
  ASSERT_TRUE(temporary.has_value()) << error;
  EXPECT_EQ(temporary->parent_path(), dir.path());
  EXPECT_EQ(temporary->filename().string().rfind(".data.jld.", 0), 0u) << *temporary;
  EXPECT_EQ(test::ReadBytes(*temporary), "new bytes");
  EXPECT_EQ(test::ReadBytes(dir / "data.jld"), "old");
}

TEST(WriteTemporaryBeside, EachCallGetsItsOwnFile) {
  test::TempDir dir;
  std::string error;
  const auto first = WriteTemporaryBeside(dir / "data.jld", "one", error);
  const auto second = WriteTemporaryBeside(dir / "data.jld", "two", error);
  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
  EXPECT_EQ(test::ReadBytes(*first), "one");
  EXPECT_EQ(test::ReadBytes(*second), "two");
}

TEST(WriteTemporaryBeside, FailureSetsTheReasonAndLeavesNothing) {
  test::TempDir dir;
  test::WriteBytes(dir / "plain", "a file, not a folder");
  std::string error;
  EXPECT_EQ(WriteTemporaryBeside(dir / "plain" / "data.jld", "x", error), std::nullopt);
  EXPECT_EQ(error, "Not a directory");
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"plain"});
}

}  // namespace
}  // namespace jubilora
