#pragma once
// The online version check: a worker thread fetches the version file from the vendor's web
// server and hands one text to the window, which polls for it once a second and tells the user.

#include <QObject>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

class QAction;

namespace jubilora {

class Ui;

// ---- Texts and decisions, free of any network ----

// The hand-over texts besides a version file's body.
inline constexpr const char* CheckResultStart = "START";  // set before a start-up check begins
inline constexpr const char* CheckResultError = "ERROR";  // the request failed

// A version file larger than this is not a version text.
inline constexpr std::size_t VersionBodyLimit = 1024;
inline constexpr std::chrono::milliseconds DefaultCheckTimeout{30000};
inline constexpr std::chrono::milliseconds OnlineCheckInterval{1000};

inline constexpr const char* VersionFilePath = "/lastver/jl.txt";
inline constexpr const char* DownloadPagePath = "/download.htm";

// Byte by byte as unsigned 8-bit values; when one text is a prefix of the other, the shorter
// is lower. Negative, zero or positive as `online` is lower than, equal to or higher than `own`.
int CompareVersionTexts(std::string_view online, std::string_view own);
bool IsNewerVersion(std::string_view online, std::string_view own);

// What one transfer produced, as the worker saw it.
struct TransferOutcome {
  bool succeeded = false;  // no network error, no time-out, not stopped
  int status = 0;          // the HTTP status of the final response
  bool overLimit = false;  // the body grew beyond VersionBodyLimit
  std::string body;
};

// The text the worker hands over: the body, or CheckResultError for a failed request, any
// status but 200, an empty body (the empty text means "no result yet") and a body over the limit.
std::string HandOverText(const TransferOutcome& outcome);

enum class CheckReport { Nothing, Failure, NewVersion, Latest };

// Which message a finished check shows. A start-up check speaks only of a newer version.
CheckReport ChooseCheckReport(std::string_view result, bool manualCheck, std::string_view ownVersion);

// The messages, Windows-1252 with CR LF line ends.
std::string CheckFailureMessage();
std::string NewVersionMessage(std::string_view productName);
std::string LatestVersionMessage(std::string_view productName);

// "http://" followed by the host the program was built with.
QUrl DefaultUpdateServer();
QUrl VersionFileUrl(const QUrl& server);
QUrl DownloadPageUrl(const QUrl& server);

// ---- The hand-over and the worker ----

// OnlineCheckResult: the one text the worker and the window share. Every access holds the
// lock, so the whole text is published at once.
class OnlineCheckResult {
 public:
  void Store(std::string text);
  std::string Read() const;

 private:
  mutable std::mutex mutex_;
  std::string text_;
};

// One check: a GET of the version file in a thread of its own, with a network client and an
// event loop that live in that thread. It writes the hand-over exactly once, at its end, and
// touches nothing else that is shared.
class TOnlineCheck : public QThread {
  Q_OBJECT
 public:
  TOnlineCheck(QUrl versionFile, std::chrono::milliseconds timeout, std::shared_ptr<OnlineCheckResult> result);

 protected:
  void run() override;

 private:
  TransferOutcome Fetch();

  QUrl versionFile_;
  std::chrono::milliseconds timeout_;
  std::shared_ptr<OnlineCheckResult> result_;
};

// ---- The check as the main window runs it ----

class VersionCheck : public QObject {
  Q_OBJECT
 public:
  using OpenUrlHook = std::function<void(const QUrl&)>;

  // `menuCheckNow` is disabled while a check runs; the messages go through `ui`.
  VersionCheck(Ui& ui, QAction* menuCheckNow, QObject* parent = nullptr);
  ~VersionCheck() override;

  // The silent start-up mode: the check reports only a newer version.
  void StartupCheck();
  // "Check &Now": starts a check that reports every outcome (unless StartupCheck marked it).
  void menuCheckNowClick();
  // At program end: asks a running worker to stop and waits a moment for it, never long.
  void Stop();

  // From the start of a check until its result has been handled.
  bool Running() const { return running_; }
  QTimer& OnlineCheckTimer() { return onlineCheckTimer_; }

  // The web server of the version file and the download page, e.g. http://127.0.0.1:8080.
  void SetServer(const QUrl& server) { server_ = server; }
  const QUrl& Server() const { return server_; }
  void SetTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }
  // How the download page is opened; the default hands it to the desktop's browser.
  void SetOpenUrl(OpenUrlHook openUrl) { openUrl_ = std::move(openUrl); }

 private:
  void OnlineCheckTimerTimer();

  Ui& ui_;
  QPointer<QAction> menuCheckNow_;
  QTimer onlineCheckTimer_;
  std::shared_ptr<OnlineCheckResult> result_ = std::make_shared<OnlineCheckResult>();
  bool manualCheck_ = false;
  bool running_ = false;
  QPointer<TOnlineCheck> worker_;
  QUrl server_ = DefaultUpdateServer();
  std::chrono::milliseconds timeout_ = DefaultCheckTimeout;
  OpenUrlHook openUrl_;
};

}  // namespace jubilora
