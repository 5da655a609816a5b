#include "online/version_check.h"

#include <gtest/gtest.h>

#include <QAction>
#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "core/product.h"
#include "support/fake_ui.h"
#include "support/qt_app.h"
#include "support/qt_http_server.h"

namespace jubilora {
namespace {

using namespace std::chrono_literals;
using test::WaitUntil;
using enum CheckReport;

// Digit runs joined by single dots, white space around them, compared byte by byte with the
// program's own version.
TEST(VersionInBody, DigitRunsJoinedByDotsAreAVersionComparedByteByByte) {
  const std::pair<std::string, CheckReport> cases[] = {
      {" 3.22\r\n", Latest}, {"10.0", Latest},    {"\t3.3\n", NewVersion},       {"3.22.1", NewVersion},
      {" \r\n", Failure},     {"3.", Failure},   {"<html>3.3</html>", Failure}, {"3.2a", Failure},
  };
  for (const auto& [body, report] : cases)
    EXPECT_EQ(ChooseCheckReport(VersionInBody(body), true, ProductVersion), report) << '"' << body << '"';
}

// Records what the user was told, by the message's icon, and that "Check &Now" was disabled
// meanwhile.
struct RecordingUi : test::FakeUi {
  QAction* menu = nullptr;
  std::vector<CheckReport> told;
  int AnswerDialog(const std::string& caption, const std::string& message, const std::vector<std::string>& buttons,
                   IconKind icon, bool canCancel) override {
    EXPECT_FALSE(menu->isEnabled());
    told.push_back(icon == IconKind::Error ? Failure : icon == IconKind::Question ? NewVersion : Latest);
    return FakeUi::AnswerDialog(caption, message, buttons, icon, canCancel);
  }
};

struct VersionCheckTest : ::testing::Test {
  VersionCheckTest() {
    ui.menu = &menu;
    check.SetServer(server.Base());
  }
  void Serve(test::HttpResponse response) { server.Serve(VersionFileUrl({}).path().toUtf8(), response); }

  QApplication& app = test::TestApplication();
  test::QtHttpServer server;
  QAction menu{QStringLiteral("Check &Now")};
  RecordingUi ui;
  std::vector<QUrl> opened;
  VersionCheck check{ui, &menu, nullptr, [this](const QUrl& url) { return opened.push_back(url), true; }};
};

struct Behaviour {
  const char* name;
  std::function<void(VersionCheckTest&)> arrange;
  CheckReport toldOnRequest;
};
void PrintTo(const Behaviour& behaviour, std::ostream* out) { *out << behaviour.name; }
struct ServerBehaviourTest : VersionCheckTest, ::testing::WithParamInterface<Behaviour> {};

// A start-up check speaks only of a newer version; "Check Now" is greyed out from the start of
// a check until its message has been answered; only Yes to a newer version opens the download page.
TEST_P(ServerBehaviourTest, EndsInItsReportForAManualAndAStartUpCheck) {
  GetParam().arrange(*this);
  const CheckReport told = GetParam().toldOnRequest;
  for (const bool manual : {true, false}) {
    SCOPED_TRACE(manual ? "manual" : "start-up");
    ui.told.clear();
    ui.answers = {1};
    opened.clear();
    manual ? check.menuCheckNowClick() : check.StartupCheck();
    EXPECT_FALSE(menu.isEnabled());
    ASSERT_TRUE(WaitUntil([this] { return !check.Running(); }, 10s));
    EXPECT_EQ(ui.told, manual || told == NewVersion ? std::vector{told} : std::vector<CheckReport>{});
    EXPECT_TRUE(menu.isEnabled());
    EXPECT_EQ(opened, told == NewVersion ? std::vector{DownloadPageUrl(server.Base())} : std::vector<QUrl>{});
  }
}

const QByteArray Kibibyte(int(VersionBodyLimit), '9');
const Behaviour Behaviours[] = {
    {"Newer", [](VersionCheckTest& t) { t.Serve({200, "3.3", {}}); }, NewVersion},
    {"EqualWithALineEnd", [](VersionCheckTest& t) { t.Serve({200, "3.22\n", {}}); }, Latest},
    {"Redirect",
     [](VersionCheckTest& t) {
       t.Serve({302, "", {{"Location", "/moved.txt"}}});
       t.server.Serve("/moved.txt", {200, "3.3", {}});
     },
     NewVersion},
    // The body goes on and the connection stays open: only the cap ends the transfer.
    {"OverTheLimitWithoutLength", [](VersionCheckTest& t) { t.Serve({200, Kibibyte + "9", {}, false, true}); },
     Failure},
    {"NeverAnswers", [](VersionCheckTest& t) { t.server.SetSilent(true), t.check.SetTimeout(300ms); }, Failure},
    {"Refused", [](VersionCheckTest& t) { t.server.Close(); }, Failure},
};
INSTANTIATE_TEST_SUITE_P(Server, ServerBehaviourTest, ::testing::ValuesIn(Behaviours),
                         [](const ::testing::TestParamInfo<Behaviour>& info) { return std::string(info.param.name); });

// One check at a time; the program's end drops a running one at once and says nothing.
TEST_F(VersionCheckTest, OneCheckAtATimeAndStopEndsItSilently) {
  server.SetSilent(true);
  check.menuCheckNowClick();
  ASSERT_TRUE(WaitUntil([this] { return server.RequestedPaths().size() == 1; }, 10s));
  check.menuCheckNowClick();
  check.StartupCheck();
  check.Stop();
  EXPECT_FALSE(check.Running());
  WaitUntil([] { return false; }, 200ms);
  EXPECT_EQ(server.RequestedPaths().size(), 1);
  EXPECT_TRUE(ui.told.empty());
  // A build that names no server asks no one and greys out "Check Now" for good.
  check.SetServer(QUrl());
  check.StartupCheck();
  check.menuCheckNowClick();
  EXPECT_FALSE(menu.isEnabled());
  EXPECT_FALSE(check.Running());
}

}  // namespace
}  // namespace jubilora
