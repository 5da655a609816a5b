// The program run as a real process beside its own files: the command-line report, its exit
// codes, and the window program ended by a signal or by itself.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <limits>
#include <map>
#include <regex>
#include <string>
#include <thread>

#include <QImage>

#include <sys/stat.h>

#include "app/command_line.h"
#include "core/ordering.h"
#include "data/csv_export.h"
#include "data/data_file.h"
#include "data/icalendar_export.h"
#include "platform/clock.h"
#include "platform/default_colors.h"
#include "platform/regional.h"
#include "report/layout.h"
#include "report/render/report_painter.h"
#include "report/text_report.h"
#include "support/qt_app.h"
#include "support/process.h"
#include "support/program_copy.h"
#include "support/records.h"
#include "support/temp_dir.h"
#include "ui/system_colors.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;
using test::Record;

const DayNumber Today = DayFromCivil(2025, 1, 29);

std::size_t Lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

// Each test gets its own copy of the program, so that its files are the test's files.
class HeadlessReport : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = test::CopyProgram(dir_.path());
    test::WriteBytes(dir_ / "jubilora.jld", EncodeRecords(LateJanuary()));
  }

  // Under a time limit, so that a program that waits for ever fails (status 124) instead.
  test::ProcessResult Run(const std::vector<std::string>& args) {
    std::vector<std::string> limited = {"20", program_.string()};
    limited.insert(limited.end(), args.begin(), args.end());
    return test::RunProgram("/usr/bin/timeout", limited);
  }

  // Name, size and modification time of everything in the folder.
  std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> Snapshot() const {
    std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> result;
    for (const auto& entry : fs::directory_iterator(dir_.path()))
      result[entry.path().filename().string()] = {entry.is_regular_file() ? entry.file_size() : 0,
                                                  entry.last_write_time()};
    return result;
  }

  // Past, today, ahead, out of the period, and a damaged date; sorted as a load sorts.
  static TAnniversaryList LateJanuary() {
    TAnniversary damaged = Record(KindBirthday, 2000, 1, 29, "Damaged");
    damaged.Date = std::numeric_limits<double>::quiet_NaN();
    TAnniversaryList list = {Record(KindBirthday, 1990, 1, 31, "Anna", 3), Record(KindNameDay, 2000, 1, 27, "Marek"),
                             Record(KindBirthday, 1980, 6, 1, "Far away", 5),
                             Record(KindWedding, 2000, 1, 31, "Eva & Jan", 3),
                             Record(KindOtherNoYears, 2010, 1, 29, "Party", 1), damaged};
    SortByDate(list, 0);
    return list;
  }

  test::TempDir dir_;
  fs::path program_;
};

// A FIFO in place of a file, which a plain open would wait on for ever, is reported at once:
// without its data the report cannot be made; without its settings it uses the defaults.
TEST_F(HeadlessReport, WhatIsNoRegularDataOrSettingsFileIsReportedAtOnce) {
  for (const std::string name : {"jubilora.ini", "jubilora.jld"}) {
    fs::remove(dir_ / "jubilora.ini");
    fs::remove(dir_ / name);
    ASSERT_EQ(mkfifo((dir_ / name).c_str(), 0600), 0);
    const auto result = Run({"--print", "--today", "2025-01-29"});
    EXPECT_EQ(result.status, name == "jubilora.jld" ? 1 : 0);
    EXPECT_EQ(result.out.empty(), name == "jubilora.jld");
    EXPECT_NE(result.err.find("Cannot read the file \"" + (dir_ / name).string() + "\": It is a FIFO"),
              std::string::npos) << result.err;
    EXPECT_EQ(Lines(result.err), 1u) << result.err;
  }
}

// With the settings file followed, both text formats print what the report's own formatter
// makes of the loaded list, --render writes the picture the window paints, and each export what
// its menu command writes, to a file or, for "-", to standard output. Loading never writes, each
// output refuses the program's own files under any name, and nothing else changes.
TEST_F(HeadlessReport, WritesWhatTheWindowShowsAndOnlyWhatItIsAskedFor) {
  test::WriteBytes(dir_ / "jubilora.ini",
                   "[DefaultPeriod]\r\nDaysBefore=12\r\nDaysAfter=0\r\n"
                   "[Other]\r\nDateFormat=7\r\nShowZodiacSign=0\r\nLeapDay=2\r\n");
  fs::create_symlink("jubilora.jld", dir_ / "mine.csv");
  const auto before = Snapshot();
  TAnniversaryList list = LateJanuary();
  TCfg cfg;
  cfg.DaysBefore = 12;
  cfg.DaysAfter = 0;
  cfg.DateFormat = 7;
  cfg.ShowZodiacSign = false;
  cfg.LeapDay = LeapDayChoice::March1;
  const auto entries = PrepareReportEntries(list, cfg, Today);
  const auto items = DescribeReport(list, entries, cfg, Today, DefaultSystemColors());
  for (const auto& [format, expected] :
       {std::pair{"--print", FormatPlainReport(items)}, std::pair{"--print=tsv", FormatTsvReport(items)}}) {
    const auto result = Run({format, "--today=2025-01-29"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, expected) << format;
  }
  for (const std::string option : {"--export-csv", "--export-ics", "--render"}) {
    const auto result = Run({option, (dir_ / "mine.csv").string()});
    EXPECT_EQ(result.status, 1) << option;
    EXPECT_NE(result.err.find("It is one of Jubilora's own files"), std::string::npos) << result.err;
  }
  EXPECT_EQ(Snapshot(), before);

  test::TestApplication();
  const QImage picture =
      PaintReport(LayoutReport(list, entries, cfg, Today, QtTextMeasurer(cfg), QtSystemColors()), cfg, KindIcons());
  ASSERT_EQ(Run({"--render", (dir_ / "out.png").string(), "--today", "2025-01-29"}).status, 0);
  EXPECT_TRUE(QImage(QString::fromStdString((dir_ / "out.png").string())).convertToFormat(QImage::Format_ARGB32) ==
              picture);
  const DataPaths paths{dir_ / "jubilora.jld", dir_ / "jubilora.jlb"};
  const std::pair<std::string, std::string> exports[] = {
      {"--export-csv", CsvExportBytes(LateJanuary(), QtRegionalSettings())},
      // Stamped with the data file's time, which every run reads alike.
      {"--export-ics", ICalendarExportBytes(LateJanuary(), cfg, paths, 0)}};
  for (const auto& [option, expected] : exports) {
    ASSERT_EQ(Run({option, (dir_ / "out").string()}).status, 0);
    EXPECT_EQ(test::ReadBytes(dir_ / "out"), expected) << option;
    EXPECT_EQ(Run({option, "-"}).out, expected) << option;
  }
  auto after = Snapshot();
  after.erase("out");
  after.erase("out.png");
  EXPECT_EQ(after, before);
}

// The libraries the dynamic loader initialised for a run, as LD_DEBUG=libs reports them, that
// belong to the desktop.
std::string DesktopLibraries(const fs::path& program, const std::vector<std::string>& args) {
  const std::string err = test::RunProgram(program, args, {"LD_DEBUG=libs"}).err;
  const std::regex init("calling init: \\S*/(libQt6(Gui|Widgets|Svg|Network|DBus)|libfontconfig|libX11|libxcb\\.)\\S*");
  std::string found;
  for (std::sregex_iterator it(err.begin(), err.end(), init), end; it != end; ++it) found += (*it)[1].str() + " ";
  return found;
}

// The text modes load nothing of the desktop; the window and --render are handed to the desktop
// part. A malformed option ends with status 2; no display or a missing desktop part with 1,
// saying what to do or which part is missing; each in one line.
TEST_F(HeadlessReport, OnlyTheWindowAndRenderNeedTheDesktopPartAndEveryRefusalIsOneLine) {
  EXPECT_EQ(DesktopLibraries(program_, {"--export-csv", "-"}), "");
  EXPECT_NE(DesktopLibraries(program_, {"--render", (dir_ / "out.png").string()}).find("libQt6Gui"), std::string::npos);

  const std::tuple<std::vector<std::string>, int, std::string> refusals[] = {
      {{"--print", "--today", "2025-02-30"}, 2, "2025-02-30"},
      {{"--print=xml"}, 2, "xml"},
      {{"-style", "Fusion"}, 1, "--print"},
      {{"--render", "out.png"}, 1, (dir_ / "jubilora-desktop").string() + "\""}};
  for (const auto& [args, status, words] : refusals) {
    if (args.front() == "--render") fs::remove(dir_ / "jubilora-desktop");
    const auto result = test::RunProgram(program_, args, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
    EXPECT_EQ(result.status, status);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(Lines(result.err), 1u) << result.err;
    EXPECT_NE(result.err.find(words), std::string::npos) << result.err;
  }
}

// Ended by a signal as at the end of a session, or ending by itself when the once-a-day gate
// closes, the window program writes the settings once on the way out, keeping the lines it does
// not know, and never after an unreadable data file.
TEST(WindowProgram, EndsAsIfItsWindowHadBeenClosed) {
  enum class Start { Window, FirstRun, Unreadable, Gated };
  const struct {
    Start start;
    int signal;
    int status;
  } cases[] = {{Start::Window, SIGTERM, 0},     {Start::Window, SIGHUP, 0}, {Start::FirstRun, SIGINT, 0},
               {Start::Unreadable, SIGTERM, 1}, {Start::Gated, 0, 0}};  // ends by itself: no signal
  for (const auto& c : cases) {
    const std::string where = "start " + std::to_string(static_cast<int>(c.start)) + ", signal " + std::to_string(c.signal);
    test::TempDir dir;
    const fs::path program = test::CopyProgram(dir.path());
    // The last run as the program writes it: today, in the user's short date format.
    const std::string gate = "OnceADay=1\nLastRun=" + QtRegionalSettings().FormatShortDate(Clock::Today()) + "\n";
    if (c.start != Start::FirstRun)
      test::WriteBytes(dir / "jubilora.ini", "[Other]\nStartupCheck=0\n; kept\n" + (c.start == Start::Gated ? gate : ""));
    if (c.start == Start::Unreadable) fs::create_directory(dir / "jubilora.jld");
    const pid_t pid = test::StartProgram(program, c.start == Start::Gated ? std::vector<std::string>{"/autorun"}
                                                                               : std::vector<std::string>{},
                                         {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + (dir / "config").string()});
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(test::StopProgram(pid, c.signal), c.status) << where;
    const std::string text = fs::exists(dir / "jubilora.ini") ? test::ReadBytes(dir / "jubilora.ini") : "";
    EXPECT_EQ(text.find("[Font]") != std::string::npos, c.start != Start::Unreadable) << where << text;
    EXPECT_EQ(text.find("; kept") != std::string::npos, c.start != Start::FirstRun) << where << text;
  }
}

}  // namespace
}  // namespace jubilora
