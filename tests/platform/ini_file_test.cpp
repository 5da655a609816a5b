#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace jubilora {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// Names in any case and without their blanks; the first occurrence of a section and of a key
// wins; comments, stray lines and keys before any section are no keys; a header without its
// bracket still opens a section.
TEST(IniFile, ReadsByTheProfileRules) {
  const IniFile ini = IniFile::Parse(
      "\xEF\xBB\xBFSize=99\n  [ Font ]  \n  Name  =  Courier New  \n\tSize\t=\t10\t\nsize=11\nPath=a=b=c\nEmpty=\n"
      "; Bold=1\n  ;Italic=1\njust text\n[Other]\nx=1\n[FONT]\nSize=12\nBold=1\n[Mine\nNote=a ; not a comment\n");
  const std::vector<std::pair<std::pair<const char*, const char*>, std::optional<std::string>>> cases = {
      {{"font", "NAME"}, "Courier New"}, {{"FONT", "size"}, "10"},     {{"Font", "Path"}, "a=b=c"},
      {{"Font", "Empty"}, ""},           {{"Font", "x"}, std::nullopt}, {{"Font", "Bold"}, std::nullopt},
      {{"Font", "Italic"}, std::nullopt}, {{"Other", "Name"}, std::nullopt}, {{"Mine", "Note"}, "a ; not a comment"},
  };
  for (const auto& [where, value] : cases) EXPECT_EQ(ini.GetString(where.first, where.second), value) << where.second;
}

TEST(IniFile, ReadsEveryLineEndAndWritesLf) {
  for (const std::string eol : {"\r\n", "\n", "\r"}) {
    const IniFile ini = IniFile::Parse("[A]" + eol + "x=1" + eol + eol + "[B]" + eol + "y=2");
    EXPECT_EQ(ini.GetString("B", "y"), "2");
    EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"[A]", "x=1", "", "[B]", "y=2"}));
  }
  EXPECT_EQ(IniFile::Parse("[A]\r\nx=1\ry=2\nz=3\r\n; note\r").Text(), "[A]\nx=1\ny=2\nz=3\n; note\n");
}

// The first occurrence is replaced in place; new keys go to the end of their section before
// its blank lines, new sections to the end of the file; every other line is kept; a value is
// cut at a line break, so that it cannot forge keys.
TEST(IniFile, WritesOnlyTheLinesItMust) {
  IniFile ini = IniFile::Parse(
      "; my settings\n[Font]\nExtra = keep me\nsize = 10\nSize=11\n\n\n[Empty]\n\n[Other]\nOnTop=1\n[font]\nB=1");
  ini.SetString("FONT", "Size", "14");
  ini.SetString("Font", "B", "2");
  ini.SetString("Empty", "Size", "9");
  ini.SetString("New", "LastPath", "/home/x\n[Font]\nName=Evil");
  EXPECT_EQ(ini.Text(),
            "; my settings\n[Font]\nExtra = keep me\nSize=14\nSize=11\nB=2\n\n\n[Empty]\nSize=9\n\n[Other]\nOnTop=1\n"
            "[font]\nB=1\n\n[New]\nLastPath=/home/x\n");
  IniFile empty;
  empty.SetString("A", "x", "a\rb");
  EXPECT_EQ(empty.Text(), "[A]\nx=a\n");
}

// A missing file is told apart from one that cannot be read (the settings' tests drive that);
// a failed save creates nothing.
TEST(IniFile, LoadsAndSavesWholeFiles) {
  test::TempDir dir;
  EXPECT_EQ(IniFile::Load(dir / "absent.ini").status, IniLoadResult::Status::Missing);

  WriteBytes(dir / "s.ini", "; c\r\n[A]\r\nx = 1\r\n");
  IniLoadResult loaded = IniFile::Load(dir / "s.ini");
  ASSERT_EQ(loaded.status, IniLoadResult::Status::Loaded);
  loaded.file.SetString("A", "y", "2");
  EXPECT_EQ(loaded.file.Save(dir / "s.ini"), std::nullopt);
  EXPECT_EQ(ReadBytes(dir / "s.ini"), "; c\n[A]\nx = 1\ny=2\n");
  EXPECT_EQ(loaded.file.Save(dir / "no" / "s.ini"),
            (FileError{dir / "no" / "s.ini", FileAction::Write, "No such file or directory"}));
  EXPECT_FALSE(std::filesystem::exists(dir / "no"));
}

}  // namespace
}  // namespace jubilora
