#include "common/qt/qt_http_client.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include "common/qt/qt_text.h"

namespace duvelin {
namespace {

// A reply that carries an HTTP status ended as an exchange, whatever the status; one without
// a status failed on the way (refused connection, unknown host, broken transfer).
Result<HttpResponse> ResponseOf(QNetworkReply& reply) {
  const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
  const QNetworkReply::NetworkError error = reply.error();
  // Network and proxy failures (codes below 200) break the exchange even after a status line
  // arrived; content and server errors come with their status and are answers.
  if (error != QNetworkReply::NoError && (error < QNetworkReply::ContentAccessDenied || !status.isValid()))
    return Error{ToUtf8(reply.errorString())};
  HttpResponse response;
  response.status = status.toInt();
  const QByteArray body = reply.readAll();
  response.body.assign(body.constData(), static_cast<size_t>(body.size()));
  // Qt removes the header when it unpacks a compressed body, so a length given here is always
  // that of `body`; a body that ends before it (server closed early) came as an error above.
  const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
  if (length.isValid()) response.contentLength = length.toLongLong();
  return response;
}

}  // namespace

QtHttpClient::QtHttpClient() : m_manager(std::make_unique<QNetworkAccessManager>()) {
  m_manager->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

QtHttpClient::~QtHttpClient() {
  // Completions must not run for a client that is gone: take each reply out first.
  std::map<QNetworkReply*, Completion> pending;
  pending.swap(m_pending);
  for (auto& [reply, done] : pending) {
    QObject::disconnect(reply, nullptr, nullptr, nullptr);
    reply->abort();
    delete reply;
  }
}

void QtHttpClient::Send(HttpRequest request, Completion done) {
  QNetworkRequest qtRequest(QUrl(FromUtf8(request.url)));
  qtRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
  for (const auto& [name, value] : request.headers)
    qtRequest.setRawHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));
  const QByteArray body = QByteArray::fromStdString(request.body);
  QNetworkReply* reply = nullptr;
  if (request.method == "GET")
    reply = m_manager->get(qtRequest);
  else if (request.method == "POST")
    reply = m_manager->post(qtRequest, body);
  else
    reply = m_manager->sendCustomRequest(qtRequest, QByteArray::fromStdString(request.method), body);
  m_pending[reply] = std::move(done);
  QObject::connect(reply, &QNetworkReply::finished, m_manager.get(), [this, reply] { Finished(reply); });
}

void QtHttpClient::Finished(QNetworkReply* reply) {
  auto found = m_pending.find(reply);
  if (found == m_pending.end()) return;
  Completion done = std::move(found->second);
  m_pending.erase(found);
  Result<HttpResponse> response = ResponseOf(*reply);
  reply->deleteLater();
  done(std::move(response));
}

}  // namespace duvelin
