#include "online/version_check.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <algorithm>

#include "core/ports.h"
#include "core/product.h"

#ifndef JUBILORA_UPDATE_HOST
#error "JUBILORA_UPDATE_HOST names the web server of the version file; the build sets it."
#endif

namespace jubilora {

namespace {

// How often the worker looks for a stop request while its transfer runs.
constexpr int StopPollMs = 50;
// At program end the worker gets this long to drop its transfer; the exit never waits longer.
constexpr int StopWaitMs = 2000;

constexpr const char* FailureButton = "&OK";
constexpr const char* YesButton = "&Yes";
constexpr const char* NoButton = "&No";
constexpr const char* LatestButton = "OK";

}  // namespace

int CompareVersionTexts(std::string_view online, std::string_view own) {
  const auto byte = [](char c) { return static_cast<unsigned char>(c); };
  const std::size_t common = std::min(online.size(), own.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (byte(online[i]) != byte(own[i])) return byte(online[i]) < byte(own[i]) ? -1 : 1;
  }
  if (online.size() == own.size()) return 0;
  return online.size() < own.size() ? -1 : 1;
}

bool IsNewerVersion(std::string_view online, std::string_view own) { return CompareVersionTexts(online, own) > 0; }

std::string HandOverText(const TransferOutcome& outcome) {
  if (!outcome.succeeded || outcome.status != 200 || outcome.overLimit) return CheckResultError;
  if (outcome.body.empty() || outcome.body.size() > VersionBodyLimit) return CheckResultError;
  return outcome.body;
}

CheckReport ChooseCheckReport(std::string_view result, bool manualCheck, std::string_view ownVersion) {
  if (result == CheckResultError) return manualCheck ? CheckReport::Failure : CheckReport::Nothing;
  if (IsNewerVersion(result, ownVersion)) return CheckReport::NewVersion;
  return manualCheck ? CheckReport::Latest : CheckReport::Nothing;
}

std::string CheckFailureMessage() {
  return "Application version checking was not successful.\r\n\r\nPlease check your Internet connection and try "
         "again.";
}

std::string NewVersionMessage(std::string_view productName) {
  return "There is a new version of " + std::string(productName) + "\r\n" + "available online.\r\n\r\n" +
         "Would you like to download it from the Internet?";
}

std::string LatestVersionMessage(std::string_view productName) {
  return "You are currently using the latest\r\nversion of " + std::string(productName) + ".";
}

QUrl DefaultUpdateServer() { return QUrl(QStringLiteral("http://") + QStringLiteral(JUBILORA_UPDATE_HOST)); }

QUrl VersionFileUrl(const QUrl& server) { return server.resolved(QUrl(QString::fromLatin1(VersionFilePath))); }

QUrl DownloadPageUrl(const QUrl& server) { return server.resolved(QUrl(QString::fromLatin1(DownloadPagePath))); }

void OnlineCheckResult::Store(std::string text) {
  const std::lock_guard lock(mutex_);
  text_ = std::move(text);
}

std::string OnlineCheckResult::Read() const {
  const std::lock_guard lock(mutex_);
  return text_;
}

TOnlineCheck::TOnlineCheck(QUrl versionFile, std::chrono::milliseconds timeout,
                           std::shared_ptr<OnlineCheckResult> result)
    : versionFile_(std::move(versionFile)), timeout_(timeout), result_(std::move(result)) {
  // QThread names the system thread after the object when it starts.
  setObjectName(QStringLiteral("OnlineCheck"));
}

void TOnlineCheck::run() { result_->Store(HandOverText(Fetch())); }

TransferOutcome TOnlineCheck::Fetch() {
  TransferOutcome outcome;
  QNetworkAccessManager manager;
  QNetworkReply* reply = manager.get(QNetworkRequest(versionFile_));
  QEventLoop loop;
  bool dropped = false;
  const auto drop = [&] {
    dropped = true;
    reply->abort();
  };
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  // A version text is a few bytes; anything much larger is not worth receiving.
  QObject::connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64 total) {
    if (received > qint64(VersionBodyLimit) || total > qint64(VersionBodyLimit)) {
      outcome.overLimit = true;
      drop();
    }
  });
  // A server that accepts the connection and never answers must not keep the check alive.
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, &loop, drop);
  deadline.start(timeout_);
  QTimer stopPoll;
  QObject::connect(&stopPoll, &QTimer::timeout, &loop, [&] {
    if (isInterruptionRequested()) drop();
  });
  stopPoll.start(StopPollMs);

  if (!reply->isFinished()) loop.exec();

  outcome.succeeded = !dropped && reply->error() == QNetworkReply::NoError;
  outcome.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (outcome.succeeded) {
    const QByteArray body = reply->read(qint64(VersionBodyLimit) + 1);
    outcome.body.assign(body.constData(), std::size_t(body.size()));
    if (outcome.body.size() > VersionBodyLimit) outcome.overLimit = true;
  }
  delete reply;
  return outcome;
}

VersionCheck::VersionCheck(Ui& ui, QAction* menuCheckNow, QObject* parent)
    : QObject(parent), ui_(ui), menuCheckNow_(menuCheckNow), openUrl_([](const QUrl& url) {
        QDesktopServices::openUrl(url);
      }) {
  onlineCheckTimer_.setInterval(OnlineCheckInterval);
  connect(&onlineCheckTimer_, &QTimer::timeout, this, &VersionCheck::OnlineCheckTimerTimer);
}

VersionCheck::~VersionCheck() { Stop(); }

void VersionCheck::StartupCheck() {
  if (running_) return;
  result_->Store(CheckResultStart);
  menuCheckNowClick();
}

void VersionCheck::menuCheckNowClick() {
  // One check at a time: the worker may not find its hand-over overwritten.
  if (running_) return;
  manualCheck_ = result_->Read() != CheckResultStart;
  result_->Store({});
  running_ = true;
  if (menuCheckNow_) menuCheckNow_->setEnabled(false);
  onlineCheckTimer_.start();
  auto* worker = new TOnlineCheck(VersionFileUrl(server_), timeout_, result_);
  // The worker frees itself; it has no parent, so nothing deletes it while it still runs.
  connect(worker, &QThread::finished, worker, &QObject::deleteLater);
  worker_ = worker;
  worker->start();
}

void VersionCheck::OnlineCheckTimerTimer() {
  const std::string result = result_->Read();
  if (result.empty()) return;
  onlineCheckTimer_.stop();
  switch (ChooseCheckReport(result, manualCheck_, ProductVersion)) {
    case CheckReport::Failure:
      ui_.AnswerDialog(ProductName, CheckFailureMessage(), {FailureButton}, IconKind::Error, true);
      break;
    case CheckReport::NewVersion:
      if (ui_.AnswerDialog(ProductName, NewVersionMessage(ProductName), {YesButton, NoButton}, IconKind::Question,
                           true) == 1 &&
          openUrl_)
        openUrl_(DownloadPageUrl(server_));
      break;
    case CheckReport::Latest:
      ui_.AnswerDialog(ProductName, LatestVersionMessage(ProductName), {LatestButton}, IconKind::Information, true);
      break;
    case CheckReport::Nothing:
      break;
  }
  result_->Store({});
  running_ = false;
  if (menuCheckNow_) menuCheckNow_->setEnabled(true);
}

void VersionCheck::Stop() {
  onlineCheckTimer_.stop();
  if (!worker_) return;
  TOnlineCheck* worker = worker_;
  // Asked once: the window's own destruction calls this again after FormDestroy.
  worker_ = nullptr;
  worker->requestInterruption();
  // A worker that is done (or drops its transfer in time) is freed here, as the event loop
  // that would free it may not run again. One that does not end is left to the process's end.
  if (worker->wait(QDeadlineTimer(StopWaitMs))) delete worker;
}

}  // namespace jubilora
