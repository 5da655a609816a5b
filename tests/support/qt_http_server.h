#pragma once
// A tiny HTTP/1.1 server on 127.0.0.1 for tests of the online features. It runs in the
// thread that creates it, so the test must keep that thread's event loop turning (WaitUntil).

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QUrl>
#include <chrono>
#include <functional>

class QTcpSocket;

namespace jubilora::test {

struct HttpResponse {
  int status = 200;
  QByteArray body;
  QList<QPair<QByteArray, QByteArray>> headers;  // besides Content-Length and Connection
  bool sendLength = true;  // false: the body ends where the connection closes
  bool keepOpen = false;   // true: the connection stays open after the body
};

// No Q_OBJECT: it has no signals of its own, and the test support library runs no moc.
class QtHttpServer : public QObject {
 public:
  // Listens on an unused port of 127.0.0.1 at once.
  QtHttpServer();
  ~QtHttpServer() override;

  quint16 Port() const { return port_; }
  // http://127.0.0.1:PORT
  QUrl Base() const;

  // What a GET of `path` answers; other paths get 404.
  void Serve(const QByteArray& path, HttpResponse response);
  // Accept connections and read requests but never answer them.
  void SetSilent(bool silent) { silent_ = silent; }
  // Stop listening and drop every connection: new connections are refused.
  void Close();

  // The request lines' paths, in arrival order.
  const QList<QByteArray>& RequestedPaths() const { return requested_; }

 private:
  void OnNewConnection();
  void OnReadyRead(QTcpSocket* socket);

  QTcpServer server_;
  quint16 port_ = 0;
  bool silent_ = false;
  QMap<QByteArray, HttpResponse> responses_;
  QList<QByteArray> requested_;
  QList<QPointer<QTcpSocket>> sockets_;
};

// Turns the calling thread's event loop until `done` holds or `timeout` passes; says whether
// `done` held.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

}  // namespace jubilora::test
