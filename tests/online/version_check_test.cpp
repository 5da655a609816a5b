#include "online/version_check.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <chrono>
#include <memory>
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
using test::AskedQuestion;
using test::HttpResponse;
using test::QtHttpServer;
using test::WaitUntil;

// ---- Comparison and decisions ----

TEST(CompareVersionTexts, ComparesBytesNotNumbers) {
  EXPECT_EQ(CompareVersionTexts("3.22", "3.22"), 0);
  EXPECT_GT(CompareVersionTexts("3.23", "3.22"), 0);
  EXPECT_GT(CompareVersionTexts("3.3", "3.22"), 0);   // '3' beats '2' before the length counts
  EXPECT_LT(CompareVersionTexts("10.0", "3.22"), 0);  // '1' is below '3'
  EXPECT_LT(CompareVersionTexts("3.21", "3.22"), 0);
  EXPECT_LT(CompareVersionTexts("3.22", "3.3"), 0);
}

TEST(CompareVersionTexts, APrefixIsLowerAndALongerTextHigher) {
  EXPECT_GT(CompareVersionTexts("3.22\r\n", "3.22"), 0);
  EXPECT_GT(CompareVersionTexts("3.22\n", "3.22"), 0);
  EXPECT_GT(CompareVersionTexts("3.22 ", "3.22"), 0);
  EXPECT_LT(CompareVersionTexts("3.2", "3.22"), 0);
  EXPECT_LT(CompareVersionTexts("", "3.22"), 0);
}

TEST(CompareVersionTexts, BytesAboveSevenBitsAreHighNotNegative) {
  EXPECT_GT(CompareVersionTexts("\xE9", "3.22"), 0);
  EXPECT_GT(CompareVersionTexts("3.2\x80", "3.22"), 0);
  EXPECT_LT(CompareVersionTexts("3.22", "3.2\xFF"), 0);
  EXPECT_TRUE(IsNewerVersion("3.2\x80", "3.22"));
  EXPECT_FALSE(IsNewerVersion("3.22", "3.22"));
}

TEST(HandOverText, OnlyAStatus200WithABodyWithinTheLimitIsAResult) {
  EXPECT_EQ(HandOverText({true, 200, false, "3.23"}), "3.23");
  EXPECT_EQ(HandOverText({true, 200, false, "3.22\r\n"}), "3.22\r\n");
  EXPECT_EQ(HandOverText({false, 0, false, ""}), CheckResultError);
  EXPECT_EQ(HandOverText({false, 200, false, "3.23"}), CheckResultError);  // cut short
  EXPECT_EQ(HandOverText({true, 404, false, "3.23"}), CheckResultError);
  EXPECT_EQ(HandOverText({true, 204, false, "3.23"}), CheckResultError);
  EXPECT_EQ(HandOverText({true, 301, false, "3.23"}), CheckResultError);
  EXPECT_EQ(HandOverText({true, 200, true, "3.23"}), CheckResultError);
  // The empty text means "no result yet": an empty body must still end the check.
  EXPECT_EQ(HandOverText({true, 200, false, ""}), CheckResultError);
}

TEST(HandOverText, TheLimitIsOneKibibyte) {
  EXPECT_EQ(HandOverText({true, 200, false, std::string(VersionBodyLimit, '9')}),
            std::string(VersionBodyLimit, '9'));
  EXPECT_EQ(HandOverText({true, 200, false, std::string(VersionBodyLimit + 1, '9')}), CheckResultError);
}

TEST(ChooseCheckReport, AStartUpCheckSpeaksOnlyOfANewerVersion) {
  EXPECT_EQ(ChooseCheckReport("ERROR", true, "3.22"), CheckReport::Failure);
  EXPECT_EQ(ChooseCheckReport("ERROR", false, "3.22"), CheckReport::Nothing);
  EXPECT_EQ(ChooseCheckReport("3.22", true, "3.22"), CheckReport::Latest);
  EXPECT_EQ(ChooseCheckReport("3.22", false, "3.22"), CheckReport::Nothing);
  EXPECT_EQ(ChooseCheckReport("10.0", true, "3.22"), CheckReport::Latest);
  EXPECT_EQ(ChooseCheckReport("10.0", false, "3.22"), CheckReport::Nothing);
  EXPECT_EQ(ChooseCheckReport("3.3", true, "3.22"), CheckReport::NewVersion);
  EXPECT_EQ(ChooseCheckReport("3.3", false, "3.22"), CheckReport::NewVersion);
  // Marker words are compared whole: "ERRORS" is a (strange) version text, and higher.
  EXPECT_EQ(ChooseCheckReport("ERRORS", false, "3.22"), CheckReport::NewVersion);
}

TEST(UpdateServerUrls, PathsAreAbsoluteOnTheServer) {
  EXPECT_EQ(VersionFileUrl(QUrl("http://127.0.0.1:8080")).toString(), "http://127.0.0.1:8080/lastver/jl.txt");
  EXPECT_EQ(VersionFileUrl(QUrl("http://host.test/")).toString(), "http://host.test/lastver/jl.txt");
  EXPECT_EQ(DownloadPageUrl(QUrl("http://host.test")).toString(), "http://host.test/download.htm");
  EXPECT_EQ(DefaultUpdateServer().scheme(), "http");
  EXPECT_FALSE(DefaultUpdateServer().host().isEmpty());
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

  void Start(Mode mode) {
    if (mode == Mode::StartUp)
      check->StartupCheck();
    else
      check->menuCheckNowClick();
  }

  // Runs one check to its end.
  void Run(Mode mode) {
    Start(mode);
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

TEST_F(VersionCheckTest, SameVersionIsReportedOnlyToAUserWhoAsked) {
  ServeVersion("3.22");
  Run(Mode::Manual);
  ASSERT_EQ(ui.questions.size(), 1u);
  ExpectQuestion(ui.questions[0], LatestText, {"OK"}, IconKind::Information);
  EXPECT_EQ(server.RequestedPaths(), QList<QByteArray>{"/lastver/jl.txt"});

  Run(Mode::StartUp);
  EXPECT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(server.RequestedPaths().size(), 2);  // the silent check did ask the server
  EXPECT_TRUE(opened.empty());
}

TEST_F(VersionCheckTest, AStartUpCheckDoesNotMakeTheNextCheckSilent) {
  ServeVersion("10.0");
  Run(Mode::StartUp);
  EXPECT_TRUE(ui.questions.empty());
  Run(Mode::Manual);
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].message, LatestText);
}

TEST_F(VersionCheckTest, NewerVersionIsOfferedInBothModesAndYesOpensTheDownloadPage) {
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
}

TEST_F(VersionCheckTest, AnythingButYesLeavesTheBrowserAlone) {
  ServeVersion("3.23");
  // No, dismissed, and another answer dialog already open.
  for (const int answer : {2, 0, -1}) {
    ui.answers = {answer};
    Run(Mode::Manual);
  }
  EXPECT_EQ(ui.questions.size(), 3u);
  EXPECT_TRUE(opened.empty());
  EXPECT_TRUE(menuCheckNow.isEnabled());
}

TEST_F(VersionCheckTest, OlderOnlineVersionIsNoNews) {
  ServeVersion("10.0");
  Run(Mode::Manual);
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].message, LatestText);
  EXPECT_TRUE(opened.empty());
}

TEST_F(VersionCheckTest, ABodyOfExactlyOneKibibyteIsStillAVersionText) {
  ServeVersion(QByteArray(int(VersionBodyLimit), '9'));
  Run(Mode::StartUp);
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].message, NewVersionText);
}

TEST_F(VersionCheckTest, ABodyWithoutLengthIsReadToTheEndOfTheConnection) {
  server.Serve("/lastver/jl.txt", {200, "3.23", {}, false});
  Run(Mode::StartUp);
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].message, NewVersionText);
}

TEST_F(VersionCheckTest, ARedirectedVersionFileIsFollowed) {
  server.Serve("/lastver/jl.txt", {302, "moved", {{"Location", "/lastver/moved.txt"}}});
  server.Serve("/lastver/moved.txt", {200, "3.23", {}});
  Run(Mode::StartUp);
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].message, NewVersionText);
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

INSTANTIATE_TEST_SUITE_P(
    Failures, FailedCheckTest,
    ::testing::Values(
        Failure{"EmptyBody", [](QtHttpServer& s, VersionCheck&) { s.Serve("/lastver/jl.txt", {200, "", {}}); }},
        Failure{"TwoKibibytes",
                [](QtHttpServer& s, VersionCheck&) {
                  s.Serve("/lastver/jl.txt", {200, QByteArray(2048, '9'), {}});
                }},
        Failure{"TwoKibibytesWithoutLength",
                [](QtHttpServer& s, VersionCheck&) {
                  s.Serve("/lastver/jl.txt", {200, QByteArray(2048, '9'), {}, false});
                }},
        Failure{"OneByteOverTheLimit",
                [](QtHttpServer& s, VersionCheck&) {
                  s.Serve("/lastver/jl.txt", {200, QByteArray(int(VersionBodyLimit) + 1, '9'), {}});
                }},
        Failure{"NotFound", [](QtHttpServer&, VersionCheck&) {}},
        Failure{"ServerError", [](QtHttpServer& s, VersionCheck&) { s.Serve("/lastver/jl.txt", {500, "3.23", {}}); }},
        Failure{"BodyIsTheFailureMarker",
                [](QtHttpServer& s, VersionCheck&) { s.Serve("/lastver/jl.txt", {200, "ERROR", {}}); }},
        Failure{"Refused", [](QtHttpServer& s, VersionCheck&) { s.Close(); }},
        Failure{"NeverAnswers",
                [](QtHttpServer& s, VersionCheck& c) {
                  s.SetSilent(true);
                  c.SetTimeout(300ms);
                }}),
    [](const ::testing::TestParamInfo<Failure>& info) { return std::string(info.param.name); });

TEST_F(VersionCheckTest, CheckNowIsGreyedOutUntilTheResultHasBeenHandled) {
  EXPECT_EQ(check->OnlineCheckTimer().interval(), 20);  // set by the fixture
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

TEST_F(VersionCheckTest, StopWithoutACheckDoesNothing) {
  check->Stop();
  ServeVersion("3.22");
  Run(Mode::Manual);
  check->Stop();
  EXPECT_EQ(ui.questions.size(), 1u);
}

}  // namespace
}  // namespace jubilora
