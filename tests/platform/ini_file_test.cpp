#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace jubilora {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// --- Reading -----------------------------------------------------------------------

TEST(IniFileRead, MatchesSectionsAndKeysWithoutRegardToCaseAndDropsBlanks) {
  const IniFile ini = IniFile::Parse("  [ Font ]  \n  Name  =  Courier New  \n\tSize\t=\t12\t\n");
  EXPECT_EQ(ini.GetString("font", "NAME"), "Courier New");
  EXPECT_EQ(ini.GetString("FONT", "size"), "12");
  EXPECT_EQ(ini.GetString("Font", "Bold"), std::nullopt);
  EXPECT_EQ(ini.GetString("Colors", "Name"), std::nullopt);
}

TEST(IniFileRead, EmptyValueIsEmptyNotMissing) {
  const IniFile ini = IniFile::Parse("[Other]\nLastPath=\nExportPath =   \n");
  EXPECT_EQ(ini.GetString("Other", "LastPath"), "");
  EXPECT_EQ(ini.GetString("Other", "ExportPath"), "");
}

TEST(IniFileRead, FirstOccurrenceOfKeyAndOfSectionWins) {
  const IniFile ini = IniFile::Parse(
      "[Font]\nSize=10\nsize=11\n"
      "[Other]\nDateFormat=3\n"
      "[FONT]\nSize=12\nBold=1\n");
  EXPECT_EQ(ini.GetString("Font", "Size"), "10");
  // A key only in the repeated section is not seen: that section never counts.
  EXPECT_EQ(ini.GetString("Font", "Bold"), std::nullopt);
}

TEST(IniFileRead, KeysStopAtTheNextSection) {
  const IniFile ini = IniFile::Parse("[A]\nx=1\n[B]\ny=2\n");
  EXPECT_EQ(ini.GetString("A", "y"), std::nullopt);
  EXPECT_EQ(ini.GetString("B", "x"), std::nullopt);
  EXPECT_EQ(ini.GetString("B", "y"), "2");
}

TEST(IniFileRead, CommentsAndStrayLinesAreNotKeys) {
  const IniFile ini = IniFile::Parse(
      "Size=99\n"  // before any section
      "[Font]\n"
      "; Size=8\n"
      "  ;Name=Arial\n"
      "just text\n"
      "Name=Verdana ; not a comment\n");
  EXPECT_EQ(ini.GetString("Font", "Size"), std::nullopt);
  EXPECT_EQ(ini.GetString("Font", "Name"), "Verdana ; not a comment");
}

TEST(IniFileRead, ValueKeepsEverythingAfterTheFirstEqualsSign) {
  const IniFile ini = IniFile::Parse("[Other]\nLastPath=a=b=c\n");
  EXPECT_EQ(ini.GetString("Other", "LastPath"), "a=b=c");
}

TEST(IniFileRead, ReadsCrLfLfAndCrLineEndsAlike) {
  for (const std::string eol : {"\r\n", "\n", "\r"}) {
    SCOPED_TRACE(testing::PrintToString(eol));
    const IniFile ini = IniFile::Parse("[A]" + eol + "x=1" + eol + eol + "[B]" + eol + "y=2");
    EXPECT_EQ(ini.GetString("A", "x"), "1");
    EXPECT_EQ(ini.GetString("B", "y"), "2");
    EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"[A]", "x=1", "", "[B]", "y=2"}));
  }
  const IniFile mixed = IniFile::Parse("[A]\r\nx=1\ry=2\nz=3\r\n");
  EXPECT_EQ(mixed.GetString("A", "x"), "1");
  EXPECT_EQ(mixed.GetString("A", "y"), "2");
  EXPECT_EQ(mixed.GetString("A", "z"), "3");
}

TEST(IniFileRead, HeaderWithoutClosingBracketStillOpensItsSection) {
  const IniFile ini = IniFile::Parse("[Font\nSize=9\n[Other] trailing words\nOnTop=1\n");
  EXPECT_EQ(ini.GetString("Font", "Size"), "9");
  EXPECT_EQ(ini.GetString("Other", "OnTop"), "1");
}

TEST(IniFileRead, ByteOrderMarkDoesNotHideTheFirstSection) {
  const IniFile ini = IniFile::Parse("\xEF\xBB\xBF[A]\nx=1\n");
  EXPECT_EQ(ini.GetString("A", "x"), "1");
  EXPECT_EQ(ini.Text(), "\xEF\xBB\xBF[A]\nx=1\n");
}

// --- Writing -----------------------------------------------------------------------

TEST(IniFileWrite, ReplacesTheFirstOccurrenceInPlaceAndKeepsEverythingElse) {
  IniFile ini = IniFile::Parse(
      "; my settings\n"
      "[Font]\n"
      "Extra = keep me\n"
      "size = 10\n"
      "Size=11\n"
      "\n"
      "[Mine]\n"
      "k=v\n");
  ini.SetString("FONT", "Size", "14");
  EXPECT_EQ(ini.Text(),
            "; my settings\n"
            "[Font]\n"
            "Extra = keep me\n"
            "Size=14\n"
            "Size=11\n"
            "\n"
            "[Mine]\n"
            "k=v\n");
  EXPECT_EQ(ini.GetString("Font", "Size"), "14");
}

TEST(IniFileWrite, NewKeyGoesAtTheEndOfItsSectionBeforeBlankLines) {
  IniFile ini = IniFile::Parse("[Font]\nName=Arial\n\n\n[Other]\nOnTop=1\n");
  ini.SetString("font", "Bold", "1");
  ini.SetString("Other", "OnceADay", "0");
  EXPECT_EQ(ini.Text(), "[Font]\nName=Arial\nBold=1\n\n\n[Other]\nOnTop=1\nOnceADay=0\n");
}

TEST(IniFileWrite, NewKeyInAnEmptySectionFollowsItsHeader) {
  IniFile ini = IniFile::Parse("[Font]\n\n[Other]\n");
  ini.SetString("Font", "Size", "9");
  EXPECT_EQ(ini.Text(), "[Font]\nSize=9\n\n[Other]\n");
}

TEST(IniFileWrite, NewSectionGoesAtTheEndOfTheFile) {
  IniFile ini = IniFile::Parse("[A]\nx=1");
  ini.SetString("B", "y", "2");
  EXPECT_EQ(ini.Text(), "[A]\nx=1\n\n[B]\ny=2\n");

  IniFile empty;
  empty.SetString("A", "x", "1");
  EXPECT_EQ(empty.Text(), "[A]\nx=1\n");
}

TEST(IniFileWrite, KeyWrittenToARepeatedSectionLandsInTheFirst) {
  IniFile ini = IniFile::Parse("[A]\nx=1\n[a]\ny=2\n");
  ini.SetString("A", "y", "3");
  EXPECT_EQ(ini.Text(), "[A]\nx=1\ny=3\n[a]\ny=2\n");
  EXPECT_EQ(ini.GetString("A", "y"), "3");
}

TEST(IniFileWrite, ValueIsCutAtALineBreakSoItCannotForgeKeys) {
  IniFile ini;
  ini.SetString("Other", "LastPath", "/home/x\n[Font]\nName=Evil");
  EXPECT_EQ(ini.GetString("Other", "LastPath"), "/home/x");
  EXPECT_EQ(ini.GetString("Font", "Name"), std::nullopt);
  ini.SetString("Other", "ExportPath", "a\rb");
  EXPECT_EQ(ini.GetString("Other", "ExportPath"), "a");
}

TEST(IniFileWrite, TextEndsEveryLineWithLf) {
  const IniFile ini = IniFile::Parse("[A]\r\nx=1\r\n; note\r");
  EXPECT_EQ(ini.Text(), "[A]\nx=1\n; note\n");
}

// --- Files -------------------------------------------------------------------------

TEST(IniFileDisk, MissingFileIsReportedAsMissing) {
  TempDir dir;
  const IniLoadResult result = IniFile::Load(dir / "absent.ini");
  EXPECT_EQ(result.status, IniLoadResult::Status::Missing);
  EXPECT_TRUE(result.file.Lines().empty());
}

TEST(IniFileDisk, UnreadableFileGivesTheSystemsReason) {
  TempDir dir;
  std::filesystem::create_directory(dir / "folder.ini");
  const IniLoadResult result = IniFile::Load(dir / "folder.ini");
  EXPECT_EQ(result.status, IniLoadResult::Status::Failed);
  EXPECT_EQ(result.reason, std::generic_category().message(EISDIR));
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
}

TEST(IniFileDisk, SaveIntoAMissingFolderReturnsTheReason) {
  TempDir dir;
  IniFile ini;
  ini.SetString("A", "x", "1");
  const auto reason = ini.Save(dir / "no" / "such" / "s.ini");
  ASSERT_TRUE(reason.has_value());
  EXPECT_FALSE(reason->empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "no"));
}

}  // namespace
}  // namespace jubilora
