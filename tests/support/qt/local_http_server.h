// A small HTTP/1.1 server on 127.0.0.1 for Qt tests: answers each path from a table (404 for
// any other), one request per connection, and remembers every request. An answer can announce
// a Content-Length other than the bytes it sends, so a test can cut a transfer short.
#pragma once

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace duvelin::testing {

struct HttpAnswer {
  int status = 200;
  QByteArray body;                   // the bytes sent after the header, then the connection closes
  std::optional<qint64> announced;   // Content-Length; the body's size when unset
  bool withLength = true;            // false: no Content-Length, the close ends the body
  QList<QPair<QByteArray, QByteArray>> headers;  // further header lines
};

class LocalHttpServer {
 public:
  struct Request {
    QByteArray method;
    QByteArray target;  // path and query, as sent
    std::map<QByteArray, QByteArray> headers;  // names in lower case
  };

  LocalHttpServer() {
    m_server = std::make_unique<QTcpServer>();
    m_server->listen(QHostAddress::LocalHost, 0);
    QObject::connect(m_server.get(), &QTcpServer::newConnection, m_server.get(), [this] {
      while (QTcpSocket* socket = m_server->nextPendingConnection()) Serve(socket);
    });
  }

  bool IsListening() const { return m_server->isListening(); }
  quint16 Port() const { return m_server->serverPort(); }
  QString Url(const QString& target) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(Port()).arg(target); }

  // Answers requests whose target (query included) is `target`.
  void Answer(const QByteArray& target, HttpAnswer answer) { m_answers[target] = std::move(answer); }

  std::vector<Request> requests;

 private:
  void Serve(QTcpSocket* socket) {
    auto received = std::make_shared<QByteArray>();
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
      received->append(socket->readAll());
      const qsizetype end = received->indexOf("\r\n\r\n");
      if (end < 0) return;
      const QList<QByteArray> lines = received->left(end).split('\n');
      received->clear();
      Request request;
      const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
      request.method = requestLine.value(0);
      request.target = requestLine.value(1);
      for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0) request.headers[lines[i].left(colon).trimmed().toLower()] = lines[i].mid(colon + 1).trimmed();
      }
      requests.push_back(request);
      auto found = m_answers.find(request.target);
      const HttpAnswer answer = found != m_answers.end() ? found->second : HttpAnswer{404, "not found"};
      QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) + (answer.status == 200 ? " OK" : " Error") +
                        "\r\nConnection: close\r\nContent-Type: application/octet-stream\r\n";
      if (answer.withLength)
        head += "Content-Length: " + QByteArray::number(answer.announced.value_or(answer.body.size())) + "\r\n";
      for (const auto& [name, value] : answer.headers) head += name + ": " + value + "\r\n";
      socket->write(head + "\r\n" + answer.body);
      socket->disconnectFromHost();  // after the written bytes are out
    });
  }

  std::unique_ptr<QTcpServer> m_server;
  std::map<QByteArray, HttpAnswer> m_answers;
};

}  // namespace duvelin::testing
