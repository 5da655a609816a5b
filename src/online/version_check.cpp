#include "online/version_check.h"

#include <QAction>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <algorithm>
#include <utility>

#include "core/ports.h"
#include "core/product.h"

#ifndef JUBILORA_UPDATE_HOST
#error "JUBILORA_UPDATE_HOST names the web server of the version file (empty for none); the build sets it."
#endif

namespace jubilora {

namespace {

constexpr const char* VersionFilePath = "/lastver/jl.txt";
constexpr const char* DownloadPagePath = "/download.htm";
// A moved version file may be followed a few steps, never from https down to http.
constexpr int MaxRedirects = 3;

constexpr const char* FailureButton = "&OK";
constexpr const char* YesButton = "&Yes";
constexpr const char* NoButton = "&No";
constexpr const char* LatestButton = "OK";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsNewerVersion(std::string_view online, std::string_view own) {
  return std::lexicographical_compare(own.begin(), own.end(), online.begin(), online.end(), [](char a, char b) {
    return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
  });
}

}  // namespace

std::optional<std::string> VersionInBody(std::string_view body) {
  constexpr std::string_view blanks = " \t\r\n\v\f";
  const std::size_t first = body.find_first_not_of(blanks);
  if (first == std::string_view::npos) return std::nullopt;
  body = body.substr(first, body.find_last_not_of(blanks) + 1 - first);
  // A dot is allowed only right after a digit, and the text must end with one.
  bool afterDigit = false;
  for (const char c : body) {
    if (IsDigit(c)) {
      afterDigit = true;
    } else if (c == '.' && afterDigit) {
      afterDigit = false;
    } else {
      return std::nullopt;
    }
  }
  if (!afterDigit) return std::nullopt;
  return std::string(body);
}

CheckReport ChooseCheckReport(const std::optional<std::string>& online, bool manualCheck,
                              std::string_view ownVersion) {
  if (!online) return manualCheck ? CheckReport::Failure : CheckReport::Nothing;
  if (IsNewerVersion(*online, ownVersion)) return CheckReport::NewVersion;
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

QUrl DefaultUpdateServer() {
  const QString host = QStringLiteral(JUBILORA_UPDATE_HOST);
  return host.isEmpty() ? QUrl() : QUrl(QStringLiteral("http://") + host);
}

QUrl VersionFileUrl(const QUrl& server) { return server.resolved(QUrl(QString::fromLatin1(VersionFilePath))); }

QUrl DownloadPageUrl(const QUrl& server) { return server.resolved(QUrl(QString::fromLatin1(DownloadPagePath))); }

VersionCheck::VersionCheck(Ui& ui, QAction* menuCheckNow, QObject* parent, UrlOpener open)
    : QObject(parent), ui_(ui), menuCheckNow_(menuCheckNow), open_(std::move(open)) {
  UpdateMenu();
}

VersionCheck::~VersionCheck() { Stop(); }

void VersionCheck::SetServer(const QUrl& server) {
  server_ = server;
  UpdateMenu();
}

void VersionCheck::StartupCheck() { Start(false); }

void VersionCheck::menuCheckNowClick() { Start(true); }

void VersionCheck::Start(bool manual) {
  // Without a server there is nothing to ask, and no failure to blame on the connection.
  if (running_ || server_.isEmpty()) return;
  running_ = true;
  manualCheck_ = manual;
  body_.clear();
  overLimit_ = false;
  UpdateMenu();

  if (manager_ == nullptr) manager_ = new QNetworkAccessManager(this);
  QNetworkRequest request(VersionFileUrl(server_));
  request.setTransferTimeout(static_cast<int>(timeout_.count()));
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setMaximumRedirectsAllowed(MaxRedirects);
  reply_ = manager_->get(request);
  reply_->setReadBufferSize(qint64(VersionBodyLimit) + 1);
  connect(reply_, &QNetworkReply::readyRead, this, &VersionCheck::ReadBody);
  connect(reply_, &QNetworkReply::finished, this, &VersionCheck::ReplyFinished);
}

void VersionCheck::ReadBody() {
  body_ += reply_->read(qint64(VersionBodyLimit) + 1 - body_.size());
  // Whether or not the server said how long the body is, nothing past the limit is fetched.
  if (body_.size() > qsizetype(VersionBodyLimit)) {
    overLimit_ = true;
    reply_->abort();
  }
}

void VersionCheck::ReplyFinished() {
  QNetworkReply* reply = std::exchange(reply_, nullptr);
  reply->deleteLater();
  std::optional<std::string> online;
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  // The whole body has come through ReadBody by now.
  if (reply->error() == QNetworkReply::NoError && status == 200 && !overLimit_)
    online = VersionInBody(body_.toStdString());
  // The answer dialog runs its own loop; it is not run inside the reply's signal.
  QMetaObject::invokeMethod(this, [this, online] { Report(online); }, Qt::QueuedConnection);
}

void VersionCheck::Report(const std::optional<std::string>& online) {
  if (!running_) return;  // stopped meanwhile
  const QPointer<VersionCheck> alive(this);
  switch (ChooseCheckReport(online, manualCheck_, ProductVersion)) {
    case CheckReport::Failure:
      ui_.AnswerDialog(ProductName, CheckFailureMessage(), {FailureButton}, IconKind::Error, true);
      break;
    case CheckReport::NewVersion:
      if (ui_.AnswerDialog(ProductName, NewVersionMessage(ProductName), {YesButton, NoButton}, IconKind::Question,
                           true) == 1 &&
          alive)
        OpenUrl(DownloadPageUrl(server_).toString().toStdString(), open_);
      break;
    case CheckReport::Latest:
      ui_.AnswerDialog(ProductName, LatestVersionMessage(ProductName), {LatestButton}, IconKind::Information, true);
      break;
    case CheckReport::Nothing:
      break;
  }
  if (!alive) return;
  running_ = false;
  UpdateMenu();
}

void VersionCheck::Stop() {
  running_ = false;
  if (QNetworkReply* reply = std::exchange(reply_, nullptr)) {
    // Its end is no result to report.
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
  }
  UpdateMenu();
}

void VersionCheck::UpdateMenu() {
  if (menuCheckNow_) menuCheckNow_->setEnabled(!running_ && !server_.isEmpty());
}

}  // namespace jubilora
