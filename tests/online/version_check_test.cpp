#include "online/version_check.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <chrono>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/product.h"
#include "support/fake_ui.h"
#include "support/qt_app.h"
#include "support/qt_http_server.h"

namespace jubilora {
namespace {

using namespace std::chrono_literals;
using test::AskedQuestion;
using test::HttpResponse;
using test::QtHttpServer;
using test::WaitUntil;

// ---- Comparison and decisions ----

TEST(CompareVersionTexts, ComparesUnsignedBytesAndAPrefixIsLower) {
  const std::vector<std::tuple<std::string, std::string, int>> cases = {
      {"3.22", "3.22", 0},    {"3.23", "3.22", 1},   {"3.21", "3.22", -1},
      {"3.3", "3.22", 1},     // '3' beats '2' before the length counts
      {"10.0", "3.22", -1},   // '1' is below '3'
      {"3.22\r\n", "3.22", 1}, {"3.22 ", "3.22", 1}, {"3.2", "3.22", -1}, {"", "3.22", -1},
      {"\xE9", "3.22", 1},    {"3.2\x80", "3.22", 1}, {"3.22", "3.2\xFF", -1},  // high bytes are not negative
  };
  for (const auto& [online, own, sign] : cases) {
    const int result = CompareVersionTexts(online, own);
    EXPECT_EQ((result > 0) - (result < 0), sign) << online << " against " << own;
  }
  EXPECT_TRUE(IsNewerVersion("3.2\x80", "3.22"));
  EXPECT_FALSE(IsNewerVersion("3.22", "3.22"));
}

TEST(HandOverText, OnlyAStatus200WithABodyWithinOneKibibyteIsAResult) {
  const std::string limit(VersionBodyLimit, '9');
  const std::vector<std::pair<TransferOutcome, std::string>> cases = {
      {{true, 200, false, "3.23"}, "3.23"},           {{true, 200, false, "3.22\r\n"}, "3.22\r\n"},
      {{true, 200, false, limit}, limit},             {{true, 200, false, limit + "9"}, CheckResultError},
      {{false, 0, false, ""}, CheckResultError},      {{false, 200, false, "3.23"}, CheckResultError},  // cut short
      {{true, 404, false, "3.23"}, CheckResultError}, {{true, 204, false, "3.23"}, CheckResultError},
      {{true, 301, false, "3.23"}, CheckResultError}, {{true, 200, true, "3.23"}, CheckResultError},
      // The empty text means "no result yet": an empty body must still end the check.
      {{true, 200, false, ""}, CheckResultError},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(HandOverText(cases[i].first), cases[i].second) << i;
}

TEST(ChooseCheckReport, AStartUpCheckSpeaksOnlyOfANewerVersion) {
  struct Case {
    const char* result;
    CheckReport manual, startUp;
  };
  const std::vector<Case> cases = {
      {"ERROR", CheckReport::Failure, CheckReport::Nothing},
      {"3.22", CheckReport::Latest, CheckReport::Nothing},
      {"10.0", CheckReport::Latest, CheckReport::Nothing},
      {"3.3", CheckReport::NewVersion, CheckReport::NewVersion},
      // Marker words are compared whole: "ERRORS" is a (strange) version text, and higher.
      {"ERRORS", CheckReport::NewVersion, CheckReport::NewVersion},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChooseCheckReport(c.result, true, "3.22"), c.manual) << c.result;
    EXPECT_EQ(ChooseCheckReport(c.result, false, "3.22"), c.startUp) << c.result;
  }
}

TEST(UpdateServerUrls, PathsAreAbsoluteOnTheServer) {
  EXPECT_EQ(VersionFileUrl(QUrl("http://host.test/")).toString(), "http://host.test/lastver/jl.txt");
  EXPECT_EQ(DownloadPageUrl(QUrl("http://host.test/")).toString(), "http://host.test/download.htm");
}

// ---- Checks against a real server ----

// Records whether "Check &Now" was enabled while each message was up.
class RecordingUi : public test::FakeUi {
 public:
  QAction* menu = nullptr;
  std::vector<bool> menuEnabledDuringQuestion;

  int AnswerDialog(const std::string& caption, const std::string& message, const std::vector<std::string>& buttons,
                   IconKind icon, bool canCancel) override {
    menuEnabledDuringQuestion.push_back(menu->isEnabled());
    return FakeUi::AnswerDialog(caption, message, buttons, icon, canCancel);
  }
};

const std::string FailureText =
    "Application version checking was not successful.\r\n\r\nPlease check your Internet connection and try again.";
const std::string NewVersionText =
    "There is a new version of Jubilora\r\navailable online.\r\n\r\nWould you like to download it from the Internet?";
const std::string LatestText = "You are currently using the latest\r\nversion of Jubilora.";

enum class Mode { Manual, StartUp };

class VersionCheckTest : public ::testing::Test {
 protected:
  VersionCheckTest() {
    ui.menu = &menuCheckNow;
    check = std::make_unique<VersionCheck>(ui, &menuCheckNow);
    check->SetServer(server.Base());
    check->SetOpenUrl([this](const QUrl& url) { opened.push_back(url); });
    // The one-second poll is checked once below; the other cases need not wait for it.
    check->OnlineCheckTimer().setInterval(20);
  }

  void ServeVersion(const QByteArray& body) { server.Serve("/lastver/jl.txt", {200, body, {}}); }

  // Runs one check to its end.
  void Run(Mode mode) {
    mode == Mode::StartUp ? check->StartupCheck() : check->menuCheckNowClick();
    ASSERT_TRUE(WaitUntil([this] { return !check->Running(); }, 15s)) << "the check did not end";
  }

  static bool OnlineCheckThreadExists() {
    const QDir tasks("/proc/self/task");
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
      QFile comm(tasks.filePath(task + "/comm"));
      if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "OnlineCheck") return true;
    }
    return false;
  }

  QApplication& app = test::TestApplication();
  QtHttpServer server;
  QAction menuCheckNow{"Check &Now"};
  RecordingUi ui;
  std::vector<QUrl> opened;
  std::unique_ptr<VersionCheck> check;
};

void ExpectQuestion(const AskedQuestion& asked, const std::string& message, const std::vector<std::string>& buttons,
                    IconKind icon) {
  EXPECT_EQ(asked.caption, "Jubilora");
  EXPECT_EQ(asked.message, message);
  EXPECT_EQ(asked.buttons, buttons);
  EXPECT_EQ(asked.icon, icon);
}

TEST_F(VersionCheckTest, TheSameOrAnOlderVersionIsReportedOnlyToAUserWhoAsked) {
  for (const QByteArray& body : {QByteArray("3.22"), QByteArray("10.0")}) {
    SCOPED_TRACE(body.toStdString());
    ServeVersion(body);
    ui.questions.clear();
    // A silent start-up check does ask the server, and does not silence the next check.
    Run(Mode::StartUp);
    EXPECT_TRUE(ui.questions.empty());
    Run(Mode::Manual);
    ASSERT_EQ(ui.questions.size(), 1u);
    ExpectQuestion(ui.questions[0], LatestText, {"OK"}, IconKind::Information);
  }
  EXPECT_EQ(server.RequestedPaths(), QList<QByteArray>(4, "/lastver/jl.txt"));
  EXPECT_TRUE(opened.empty());
}

TEST_F(VersionCheckTest, NewerVersionIsOfferedInBothModesAndOnlyYesOpensTheDownloadPage) {
  for (const QByteArray& body : {QByteArray("3.23"), QByteArray("3.3"), QByteArray("3.22\r\n")}) {
    for (const Mode mode : {Mode::Manual, Mode::StartUp}) {
      SCOPED_TRACE(body.toStdString() + (mode == Mode::Manual ? " manual" : " start-up"));
      ServeVersion(body);
      ui.questions.clear();
      opened.clear();
      ui.answers = {1};
      Run(mode);
      ASSERT_EQ(ui.questions.size(), 1u);
      ExpectQuestion(ui.questions[0], NewVersionText, {"&Yes", "&No"}, IconKind::Question);
      ASSERT_EQ(opened.size(), 1u);
      EXPECT_EQ(opened[0], server.Base().resolved(QUrl("/download.htm")));
    }
  }
  // No, dismissed, and another answer dialog already open: the browser is left alone.
  opened.clear();
  for (const int answer : {2, 0, -1}) {
    ui.answers = {answer};
    Run(Mode::Manual);
  }
  EXPECT_TRUE(opened.empty());
  EXPECT_TRUE(menuCheckNow.isEnabled());
}

TEST_F(VersionCheckTest, ExactlyOneKibibyteABodyWithoutLengthAndARedirectStillGiveAVersion) {
  const std::vector<std::vector<std::pair<QByteArray, HttpResponse>>> servings = {
      {{"/lastver/jl.txt", {200, QByteArray(int(VersionBodyLimit), '9'), {}}}},
      {{"/lastver/jl.txt", {200, "3.23", {}, false}}},  // read to the end of the connection
      {{"/lastver/jl.txt", {302, "moved", {{"Location", "/lastver/moved.txt"}}}},
       {"/lastver/moved.txt", {200, "3.23", {}}}},
  };
  for (std::size_t i = 0; i < servings.size(); ++i) {
    for (const auto& [path, response] : servings[i]) server.Serve(path, response);
    ui.questions.clear();
    Run(Mode::StartUp);
    ASSERT_EQ(ui.questions.size(), 1u) << i;
    EXPECT_EQ(ui.questions[0].message, NewVersionText) << i;
  }
}

// Each way a request can fail, told to a user who asked and kept from one who did not.
struct Failure {
  const char* name;
  std::function<void(QtHttpServer&, VersionCheck&)> arrange;
};

void PrintTo(const Failure& failure, std::ostream* out) { *out << failure.name; }

class FailedCheckTest : public VersionCheckTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(FailedCheckTest, IsReportedOnlyToAUserWhoAsked) {
  GetParam().arrange(server, *check);
  Run(Mode::StartUp);
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_TRUE(menuCheckNow.isEnabled());

  Run(Mode::Manual);
  ASSERT_EQ(ui.questions.size(), 1u);
  ExpectQuestion(ui.questions[0], FailureText, {"&OK"}, IconKind::Error);
  EXPECT_TRUE(menuCheckNow.isEnabled());
  EXPECT_TRUE(opened.empty());
}

void Serve(QtHttpServer& server, HttpResponse response) { server.Serve("/lastver/jl.txt", std::move(response)); }

const std::vector<Failure> Failures = {
    {"EmptyBody", [](QtHttpServer& s, VersionCheck&) { Serve(s, {200, "", {}}); }},
    {"TwoKibibytes", [](QtHttpServer& s, VersionCheck&) { Serve(s, {200, QByteArray(2048, '9'), {}}); }},
    {"TwoKibibytesWithoutLength",
     [](QtHttpServer& s, VersionCheck&) { Serve(s, {200, QByteArray(2048, '9'), {}, false}); }},
    {"NotFound", [](QtHttpServer&, VersionCheck&) {}},
    {"BodyIsTheFailureMarker", [](QtHttpServer& s, VersionCheck&) { Serve(s, {200, "ERROR", {}}); }},
    {"Refused", [](QtHttpServer& s, VersionCheck&) { s.Close(); }},
    {"NeverAnswers",
     [](QtHttpServer& s, VersionCheck& c) {
       s.SetSilent(true);
       c.SetTimeout(300ms);
     }},
};

INSTANTIATE_TEST_SUITE_P(Failures, FailedCheckTest, ::testing::ValuesIn(Failures),
                         [](const ::testing::TestParamInfo<Failure>& info) { return std::string(info.param.name); });

TEST_F(VersionCheckTest, CheckNowIsGreyedOutUntilTheResultHasBeenHandled) {
  VersionCheck fresh(ui, &menuCheckNow);
  EXPECT_EQ(fresh.OnlineCheckTimer().interval(), 1000);
  EXPECT_FALSE(fresh.OnlineCheckTimer().isActive());

  server.SetSilent(true);
  check->SetTimeout(30s);
  check->menuCheckNowClick();
  EXPECT_FALSE(menuCheckNow.isEnabled());
  EXPECT_TRUE(check->Running());
  EXPECT_TRUE(check->OnlineCheckTimer().isActive());
  ASSERT_TRUE(WaitUntil([this] { return server.RequestedPaths().size() == 1; }, 10s));

  // Neither the greyed entry nor a second call starts another check.
  menuCheckNow.trigger();
  check->menuCheckNowClick();
  check->StartupCheck();
  WaitUntil([] { return false; }, 300ms);
  EXPECT_EQ(server.RequestedPaths().size(), 1);
  EXPECT_TRUE(ui.questions.empty());

  // Dropping the connection fails the request; the entry comes back after the message.
  server.Close();
  ASSERT_TRUE(WaitUntil([this] { return !check->Running(); }, 10s));
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].message, FailureText);  // the manual mode held
  EXPECT_EQ(ui.menuEnabledDuringQuestion, std::vector<bool>{false});
  EXPECT_TRUE(menuCheckNow.isEnabled());
  EXPECT_FALSE(check->OnlineCheckTimer().isActive());
}

TEST_F(VersionCheckTest, TheWorkerIsANamedThreadThatStopEnds) {
  check->Stop();  // without a check: nothing happens
  server.SetSilent(true);
  check->menuCheckNowClick();
  ASSERT_TRUE(WaitUntil([this] { return server.RequestedPaths().size() == 1; }, 10s));
  EXPECT_TRUE(OnlineCheckThreadExists());

  // The exit does not wait out the 30 seconds' time-out, and says nothing.
  check->Stop();
  EXPECT_TRUE(WaitUntil([] { return !OnlineCheckThreadExists(); }, 5s));
  WaitUntil([] { return false; }, 200ms);
  EXPECT_TRUE(ui.questions.empty());
}

}  // namespace
}  // namespace jubilora
