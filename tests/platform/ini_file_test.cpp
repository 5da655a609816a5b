#include "platform/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "support/hostile_files.h"
#include "support/temp_dir.h"

namespace jubilora {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(IniFileRead, NamesIgnoreCaseAndBlanksAndFirstOccurrenceWins) {
  const IniFile ini = IniFile::Parse(
      "\xEF\xBB\xBF  [ Font ]  \n  Name  =  Courier New  \n\tSize\t=\t10\t\nsize=11\nPath=a=b=c\nEmpty=\n"
      "[Other]\nx=1\n"
      "[FONT]\nSize=12\nBold=1\n");
  EXPECT_EQ(ini.GetString("font", "NAME"), "Courier New");
  EXPECT_EQ(ini.GetString("FONT", "size"), "10");
  EXPECT_EQ(ini.GetString("Font", "Path"), "a=b=c");
  EXPECT_EQ(ini.GetString("Font", "Empty"), "");
  // Keys stop at the next section, and a repeated section never counts.
  EXPECT_EQ(ini.GetString("Font", "x"), std::nullopt);
  EXPECT_EQ(ini.GetString("Font", "Bold"), std::nullopt);
  EXPECT_EQ(ini.GetString("Other", "Name"), std::nullopt);
}

TEST(IniFileRead, CommentsAndStrayLinesAreNotKeys) {
  const IniFile ini = IniFile::Parse(
      "Size=99\n"  // before any section
      "[Font\n"    // no closing bracket still opens the section
      "; Size=8\n"
      "  ;Name=Arial\n"
      "just text\n"
      "Name=Verdana ; not a comment\n");
  EXPECT_EQ(ini.GetString("Font", "Size"), std::nullopt);
  EXPECT_EQ(ini.GetString("Font", "Name"), "Verdana ; not a comment");
}

TEST(IniFileRead, ReadsCrLfLfAndCrLineEndsAlikeAndWritesLf) {
  for (const std::string eol : {"\r\n", "\n", "\r"}) {
    SCOPED_TRACE(testing::PrintToString(eol));
    const IniFile ini = IniFile::Parse("[A]" + eol + "x=1" + eol + eol + "[B]" + eol + "y=2");
    EXPECT_EQ(ini.GetString("A", "x"), "1");
    EXPECT_EQ(ini.GetString("B", "y"), "2");
    EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"[A]", "x=1", "", "[B]", "y=2"}));
  }
  const IniFile mixed = IniFile::Parse("[A]\r\nx=1\ry=2\nz=3\r\n; note\r");
  EXPECT_EQ(mixed.GetString("A", "y"), "2");
  EXPECT_EQ(mixed.Text(), "[A]\nx=1\ny=2\nz=3\n; note\n");
}

TEST(IniFileWrite, ReplacesTheFirstOccurrenceInPlaceAndKeepsEverythingElse) {
  IniFile ini = IniFile::Parse(
      "; my settings\n[Font]\nExtra = keep me\nsize = 10\nSize=11\n\n"
      "[Mine]\nk=v\n[font]\nB=1\n");
  ini.SetString("FONT", "Size", "14");
  ini.SetString("Font", "B", "2");  // lands in the first of the repeated sections
  EXPECT_EQ(ini.Text(), "; my settings\n[Font]\nExtra = keep me\nSize=14\nSize=11\nB=2\n\n[Mine]\nk=v\n[font]\nB=1\n");
  EXPECT_EQ(ini.GetString("Font", "Size"), "14");
}

TEST(IniFileWrite, NewKeysAndSectionsGoWhereAPersonWouldPutThem) {
  IniFile ini = IniFile::Parse("[Font]\nName=Arial\n\n\n[Empty]\n\n[Other]\nOnTop=1");
  ini.SetString("font", "Bold", "1");       // end of its section, before the blank lines
  ini.SetString("Empty", "Size", "9");      // right after the header
  ini.SetString("Other", "OnceADay", "0");  // file without a final line break
  ini.SetString("New", "y", "2");           // at the end of the file
  EXPECT_EQ(ini.Text(),
            "[Font]\nName=Arial\nBold=1\n\n\n[Empty]\nSize=9\n\n"
            "[Other]\nOnTop=1\nOnceADay=0\n\n[New]\ny=2\n");

  IniFile empty;
  empty.SetString("A", "x", "1");
  EXPECT_EQ(empty.Text(), "[A]\nx=1\n");
}

TEST(IniFileWrite, ValueIsCutAtALineBreakSoItCannotForgeKeys) {
  IniFile ini;
  ini.SetString("Other", "LastPath", "/home/x\n[Font]\nName=Evil");
  ini.SetString("Other", "ExportPath", "a\rb");
  EXPECT_EQ(ini.GetString("Other", "LastPath"), "/home/x");
  EXPECT_EQ(ini.GetString("Other", "ExportPath"), "a");
  EXPECT_EQ(ini.GetString("Font", "Name"), std::nullopt);
}

TEST(IniFileDisk, MissingFilesAreToldApartFromWhatCannotBeReadWhichIsNeverWaitedOn) {
  TempDir dir;
  const test::HangGuard guard;
  const IniLoadResult missing = IniFile::Load(dir / "absent.ini");
  EXPECT_EQ(missing.status, IniLoadResult::Status::Missing);
  EXPECT_TRUE(missing.file.Lines().empty());

  std::filesystem::create_directory(dir / "folder.ini");
  mkfifo((dir / "fifo.ini").c_str(), 0600);
  for (const auto& [name, reason] : {std::pair{"folder.ini", "Is a directory"}, {"fifo.ini", "It is a FIFO, not a regular file"}}) {
    const IniLoadResult failed = IniFile::Load(dir / name);
    EXPECT_EQ(failed.status, IniLoadResult::Status::Failed);
    EXPECT_EQ(failed.error, (FileError{dir / name, FileAction::Read, reason}));
  }
}

TEST(IniFileDisk, SaveAndLoadKeepTheContents) {
  TempDir dir;
  WriteBytes(dir / "s.ini", "; c\r\n[A]\r\nx = 1\r\n");
  IniLoadResult loaded = IniFile::Load(dir / "s.ini");
  ASSERT_EQ(loaded.status, IniLoadResult::Status::Loaded);
  EXPECT_EQ(loaded.file.GetString("a", "X"), "1");
  loaded.file.SetString("A", "y", "2");
  EXPECT_EQ(loaded.file.Save(dir / "s.ini"), std::nullopt);
  EXPECT_EQ(ReadBytes(dir / "s.ini"), "; c\n[A]\nx = 1\ny=2\n");

  const auto error = loaded.file.Save(dir / "no" / "such" / "s.ini");
  EXPECT_EQ(error, (FileError{dir / "no" / "such" / "s.ini", FileAction::Write, "No such file or directory"}));
  EXPECT_FALSE(std::filesystem::exists(dir / "no"));
}

}  // namespace
}  // namespace jubilora
