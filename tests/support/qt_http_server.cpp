#include "support/qt_http_server.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpSocket>
#include <QThread>
#include <stdexcept>

namespace jubilora::test {

namespace {

QByteArray ReasonPhrase(int status) {
  switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
  }
}

}  // namespace

QtHttpServer::QtHttpServer() {
  if (!server_.listen(QHostAddress::LocalHost, 0))
    throw std::runtime_error("test HTTP server cannot listen: " + server_.errorString().toStdString());
  port_ = server_.serverPort();
  connect(&server_, &QTcpServer::newConnection, this, &QtHttpServer::OnNewConnection);
}

QtHttpServer::~QtHttpServer() { Close(); }

QUrl QtHttpServer::Base() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port_)); }

void QtHttpServer::Serve(const QByteArray& path, HttpResponse response) { responses_[path] = std::move(response); }

void QtHttpServer::Close() {
  server_.close();
  for (const QPointer<QTcpSocket>& socket : sockets_) {
    if (socket) socket->abort();
  }
  sockets_.clear();
}

void QtHttpServer::OnNewConnection() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    socket->setParent(this);
    sockets_.append(socket);
    socket->setProperty("request", QByteArray());
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  }
}

void QtHttpServer::OnReadyRead(QTcpSocket* socket) {
  QByteArray request = socket->property("request").toByteArray() + socket->readAll();
  socket->setProperty("request", request);
  const qsizetype headEnd = request.indexOf("\r\n\r\n");
  if (headEnd < 0 || socket->property("answered").toBool()) return;
  socket->setProperty("answered", true);

  // "GET /path HTTP/1.1"
  const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
  const QByteArray path = requestLine.size() >= 2 ? requestLine[1] : QByteArray();
  requested_.append(path);
  if (silent_) return;

  HttpResponse response;
  response.status = 404;
  response.body = "Not Found";
  if (requestLine.value(0) == "GET" && responses_.contains(path)) response = responses_.value(path);

  QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + ReasonPhrase(response.status) + "\r\n";
  if (response.sendLength) head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
  head += "Content-Type: text/plain\r\nConnection: close\r\n";
  for (const auto& [name, value] : response.headers) head += name + ": " + value + "\r\n";
  head += "\r\n";
  socket->write(head + response.body);
  if (!response.keepOpen) socket->disconnectFromHost();
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() >= timeout.count()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    // Deferred deletions wait for a loop level of their own.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QThread::msleep(5);
  }
  return true;
}

}  // namespace jubilora::test
