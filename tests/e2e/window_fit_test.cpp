// Every window of the program, opened as the program opens it, on a private X server of
// 1280 x 1024 pixels under a window manager: once its layout has run, every text fits its
// widget, every picture has as many pixels as the screen shows of it, and the window, frame
// included, lies on the screen.
//
// The same run takes the pictures of docs/ (scripts/screenshots). It reads:
//   JUBILORA_FONT_POINTS  the application font's size: 14 when unset, 0 for the desktop's own
//   JUBILORA_DARK         when set, the Fusion style with a dark palette
//   JUBILORA_SCREENSHOTS  a folder that receives a picture of each window, frame included

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "app/main_window.h"
#include "core/ordering.h"
#include "data/data_file.h"
#include "data/samples.h"
#include "online/about_box.h"
#include "online/version_check.h"
#include "platform/clock.h"
#include "support/qt_app.h"
#include "support/qt_fit.h"
#include "support/temp_dir.h"
#include "support/xvfb.h"
#include "ui/font_choice.h"
#include "ui/preferences.h"
#include "ui/record_editor.h"
#include "ui/snooze_state.h"
#include "ui/table_editor.h"

namespace jubilora {
namespace {

namespace fs = std::filesystem;

constexpr int DefaultFontPoints = 14;
constexpr int PollMs = 100;
// A window counts as settled once its frame has stood still this long.
constexpr int SettledPolls = 3;
constexpr int WindowTimeoutMs = 15000;

// A dark desktop theme, as far as the roles the windows use.
QPalette DarkPalette() {
  const QColor window(0x35, 0x35, 0x35), base(0x24, 0x24, 0x24), text(0xe8, 0xe8, 0xe8), grey(0x7f, 0x7f, 0x7f),
      accent(0x2a, 0x82, 0xda);
  QPalette palette(text, window, window.lighter(150), window.darker(200), window.darker(150), text, QColor(Qt::white),
                   base, window);
  palette.setColor(QPalette::Highlight, accent);
  palette.setColor(QPalette::HighlightedText, Qt::white);
  palette.setColor(QPalette::Link, accent.lighter(130));
  palette.setColor(QPalette::ToolTipBase, base);
  palette.setColor(QPalette::ToolTipText, text);
  palette.setColor(QPalette::PlaceholderText, grey);
  for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    palette.setColor(QPalette::Disabled, role, grey);
  return palette;
}

// The desktop's look for this run: font, and style with palette.
void ApplyLook() {
  const char* points = "JUBILORA_FONT_POINTS";
  const int size = qEnvironmentVariableIsEmpty(points) ? DefaultFontPoints : qEnvironmentVariableIntValue(points);
  if (size > 0) {
    QFont font = QApplication::font();
    font.setPointSize(size);
    QApplication::setFont(font);
  }
  if (!qEnvironmentVariableIsEmpty("JUBILORA_DARK")) {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(DarkPalette());
  }
}

// Waits until the window is on the screen, framed and settled, checks it and takes its picture.
class Inspector {
 public:
  explicit Inspector(QWidget& mainWindow)
      : main_(mainWindow), folder_(qEnvironmentVariable("JUBILORA_SCREENSHOTS").toStdString()) {}

  // `open` shows the window and returns when it has closed again; without it, the main window
  // is the one looked at. A dialog is closed once it has been checked.
  void Run(const std::string& name, const std::function<void()>& open) {
    QWidget* target = nullptr;
    QRect last;
    int still = 0, waited = 0;
    bool done = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      waited += PollMs;
      QWidget* now = open ? QApplication::activeModalWidget() : &main_;
      if (now != target) {
        target = now;
        still = 0;
      }
      if (target == nullptr || done) return;
      const QWindow* handle = target->windowHandle();
      const bool shown = handle != nullptr && handle->isExposed() && !handle->frameMargins().isNull();
      still = shown && handle->frameGeometry() == last ? still + 1 : 0;
      if (handle != nullptr) last = handle->frameGeometry();
      if (still < SettledPolls && waited < WindowTimeoutMs) return;
      done = true;
      poll.stop();
      Check(name, *target);
      if (open) target->close();
    });
    poll.start(PollMs);
    if (open) open();
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, WindowTimeoutMs + 1000)) << name << " never showed";
  }

 private:
  void Check(const std::string& name, QWidget& window) {
    EXPECT_EQ(test::TextsThatDoNotFit(window), std::vector<std::string>{}) << name;
    EXPECT_EQ(test::InputsWithoutName(window), std::vector<std::string>{}) << name;
    // A picture with fewer pixels than the screen shows of it is blown up, and blurry.
    for (const QLabel* label : window.findChildren<QLabel*>()) {
      if (label->pixmap().isNull()) continue;
      EXPECT_GE(label->pixmap().devicePixelRatio(), window.devicePixelRatioF())
          << name << ": " << label->objectName().toStdString();
    }
    EXPECT_FALSE(window.windowHandle()->frameMargins().isNull()) << name << " got no frame";
    const QRect frame = window.windowHandle()->frameGeometry();
    const QRect screen = window.screen()->geometry();
    EXPECT_TRUE(screen.contains(frame)) << name << ": the frame leaves the screen";
    if (folder_.empty()) return;
    const QPixmap picture = window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    const fs::path file = fs::path(folder_) / (name + ".png");
    EXPECT_TRUE(picture.save(QString::fromStdString(file.string()), "PNG", 0)) << file;
  }

  QWidget& main_;
  std::string folder_;
};

TEST(WindowFit, EveryWindowShowsItsTextsWholeAndItsFrameOnTheScreen) {
  // A private X server with a window manager; the test's own Qt connects to it.
  test::Xvfb xvfb(1280, 1024);
  ASSERT_TRUE(xvfb.StartWindowManager()) << "no X server with a window manager";
  setenv("DISPLAY", xvfb.Display().c_str(), 1);
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  test::TestApplication();
  ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
  ApplyLook();
  // Valentine's Day six days past, a cousin's birthday today, a death anniversary ahead.
  Clock::FixToday(DayFromCivil(2026, 2, 20));

  // The sample records as the data file, beside a program of our own.
  test::TempDir dir;
  setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  AppState state;
  state.Paths = DerivePaths(dir / "jubilora", [](const std::string&) { return std::nullopt; });
  TAnniversaryList samples;
  ASSERT_FALSE(AddSamples(samples, fs::path(JUBILORA_EXE).replace_extension(".spl")));
  SortByDate(samples, 0);
  test::WriteBytes(state.Paths.data, EncodeRecords(samples));
  test::WriteBytes(state.Paths.settings, "[Other]\nStartupCheck=0\n");

  TfrmMain main(state, CommandLine{});
  ASSERT_EQ(main.FormCreate(), TfrmMain::Outcome::Show);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/jubilora.svg")));
  main.CreateEditors();
  TfrmAbout about(&main, [] { return false; });
  main.show();
  Ui& ui = main.UiPort();
  const auto cousin = std::find_if(state.Anniversaries.begin(), state.Anniversaries.end(),
                                   [](const TAnniversary& a) { return a.Description().starts_with("Cousin"); });
  ASSERT_NE(cousin, state.Anniversaries.end());
  const int edited = static_cast<int>(cousin - state.Anniversaries.begin());

  const std::vector<std::pair<std::string, std::function<void()>>> windows = {
      {"main-window", nullptr},
      {"record-editor", [&] { main.RecordEditor()->Execute(true, -1); }},
      {"record-editor-editing", [&] { main.RecordEditor()->Execute(false, edited); }},
      {"table-editor", [&] { main.Table()->Execute(); }},
      {"preferences", [&] { main.Preferences()->Execute(); }},
      {"font-dialog", [&] { ChooseReportFont(&main, FontOf(state.Cfg)); }},
      {"snooze-question",
       [&] { ui.AnswerDialog(SnoozeCaption(), SnoozeMessage(true), SnoozeButtons(), IconKind::Question, true); }},
      {"error-message", [&] { ui.AnswerDialog(ProductName, CheckFailureMessage(), {"&OK"}, IconKind::Error, true); }},
      {"about-box", [&] { about.exec(); }},
  };
  Inspector inspector(main);
  for (const auto& [name, open] : windows) inspector.Run(name, open);
  Clock::FixToday(std::nullopt);
}

}  // namespace
}  // namespace jubilora
