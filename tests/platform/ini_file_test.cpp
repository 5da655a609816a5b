#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace jubilora {
namespace {

// Names in any case and without their blanks; the first occurrence of a section and of a key
// wins; comments, stray lines and keys before any section are no keys; a header without its
// bracket still opens a section; every line end reads, and LF is written.
TEST(IniFile, ReadsByTheProfileRules) {
  const IniFile ini = IniFile::Parse(
      "\xEF\xBB\xBFSize=99\n  [ Font ]  \n  Name  =  Courier New  \r\n\tSize\t=\t10\t\rsize=11\nPath=a=b=c\nEmpty=\n"
      "; Bold=1\n  ;Italic=1\njust text\n[Other]\nx=1\n[FONT]\nSize=12\nBold=1\n[Mine\nNote=a ; not a comment\n");
  const std::vector<std::pair<std::pair<const char*, const char*>, std::optional<std::string>>> cases = {
      {{"font", "NAME"}, "Courier New"}, {{"FONT", "size"}, "10"},     {{"Font", "Path"}, "a=b=c"},
      {{"Font", "Empty"}, ""},           {{"Font", "x"}, std::nullopt}, {{"Font", "Bold"}, std::nullopt},
      {{"Font", "Italic"}, std::nullopt}, {{"Other", "Name"}, std::nullopt}, {{"Mine", "Note"}, "a ; not a comment"},
  };
  for (const auto& [where, value] : cases) EXPECT_EQ(ini.GetString(where.first, where.second), value) << where.second;
  EXPECT_EQ(IniFile::Parse("[A]\r\nx=1\ry=2\nz=3\r\n\r; note\r").Text(), "[A]\nx=1\ny=2\nz=3\n\n; note\n");
}

// The first occurrence is replaced in place; new keys go to the end of their section before
// its blank lines, new sections to the end of the file; every other line is kept; a value is
// cut at a line break, so that it cannot forge keys.
TEST(IniFile, WritesOnlyTheLinesItMust) {
  test::TempDir dir;
  test::WriteBytes(dir / "s.ini",
                   "; my settings\n[Font]\nExtra = keep me\nsize = 10\nSize=11\n\n\n[Empty]\n\n"
                   "[Other]\nOnTop=1\n[font]\nB=1");
  IniLoadResult loaded = IniFile::Load(dir / "s.ini");
  ASSERT_EQ(loaded.status, IniLoadResult::Status::Loaded);
  IniFile& ini = loaded.file;
  ini.SetString("FONT", "Size", "14");
  ini.SetString("Font", "B", "2");
  ini.SetString("Empty", "Size", "9");
  ini.SetString("New", "LastPath", "/home/x\n[Font]\nName=Evil");
  ini.SetString("New", "x", "a\rb");
  EXPECT_EQ(ini.Save(dir / "s.ini"), std::nullopt);
  EXPECT_EQ(test::ReadBytes(dir / "s.ini"),
            "; my settings\n[Font]\nExtra = keep me\nSize=14\nSize=11\nB=2\n\n\n[Empty]\nSize=9\n\n[Other]\nOnTop=1\n"
            "[font]\nB=1\n\n[New]\nLastPath=/home/x\nx=a\n");
}

}  // namespace
}  // namespace jubilora
