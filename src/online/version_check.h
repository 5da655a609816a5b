#pragma once
// The online version check: one request for the version file on the vendor's web server,
// made and answered on the user-interface thread (the network access is asynchronous), and
// its answer compared with the program's own version.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "online/links.h"

class QAction;
class QNetworkAccessManager;
class QNetworkReply;

namespace jubilora {

class Ui;

// ---- Texts and decisions, free of any network ----

// A version file larger than this is not a version text; the transfer ends when it passes it.
inline constexpr std::size_t VersionBodyLimit = 1024;
// A server that stops sending for this long has failed the check.
inline constexpr std::chrono::milliseconds DefaultCheckTimeout{30000};

// The version a version file's body names: digit runs joined by single dots, white space
// around them trimmed. Nothing for any other body: an empty one, a portal's web page, ...
std::optional<std::string> VersionInBody(std::string_view body);

enum class CheckReport { Nothing, Failure, NewVersion, Latest };

// Which message a finished check shows; `online` is nothing when the check failed. A start-up
// check speaks only of a newer version. Versions compare byte by byte as unsigned 8-bit
// values, a prefix being the lower.
CheckReport ChooseCheckReport(const std::optional<std::string>& online, bool manualCheck,
                              std::string_view ownVersion);

// The messages, Windows-1252 with CR LF line ends.
std::string CheckFailureMessage();
std::string NewVersionMessage(std::string_view productName);
std::string LatestVersionMessage(std::string_view productName);

// "http://" followed by the host the program was built with; empty when the build names none.
QUrl DefaultUpdateServer();
QUrl VersionFileUrl(const QUrl& server);
QUrl DownloadPageUrl(const QUrl& server);

// ---- The check as the main window runs it ----

class VersionCheck : public QObject {
  Q_OBJECT
 public:
  // `menuCheckNow` is disabled while a check runs, and for good when there is no server to
  // ask; the messages go through `ui`, and the download page to `open`.
  VersionCheck(Ui& ui, QAction* menuCheckNow, QObject* parent = nullptr, UrlOpener open = QDesktopServices::openUrl);
  ~VersionCheck() override;

  // The silent start-up mode: the check reports only a newer version.
  void StartupCheck();
  // "Check &Now": a check that reports every outcome.
  void menuCheckNowClick();
  // At program end: drops a running request at once and says nothing.
  void Stop();

  // From the start of a check until its result has been handled.
  bool Running() const { return running_; }

  // The web server of the version file and the download page, e.g. http://127.0.0.1:8080;
  // an empty address turns the check off.
  void SetServer(const QUrl& server);
  void SetTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }

 private:
  void Start(bool manual);
  void ReadBody();
  void ReplyFinished();
  void Report(const std::optional<std::string>& online);
  void UpdateMenu();

  Ui& ui_;
  QPointer<QAction> menuCheckNow_;
  UrlOpener open_;
  QNetworkAccessManager* manager_ = nullptr;  // made at the first check
  QPointer<QNetworkReply> reply_;
  QByteArray body_;
  bool overLimit_ = false;
  bool manualCheck_ = false;
  bool running_ = false;
  QUrl server_ = DefaultUpdateServer();
  std::chrono::milliseconds timeout_ = DefaultCheckTimeout;
};

}  // namespace jubilora
