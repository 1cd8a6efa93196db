// The HttpClient of the program: requests go through one QNetworkAccessManager on the main
// thread, redirects are followed (never from https to http), and each completion runs once
// from the event loop when its exchange has ended. Requests still under way when the client
// goes are aborted and their completions never run.
#pragma once

#include <QObject>

#include <map>
#include <memory>

#include "common/http_client.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace duvelin {

class QtHttpClient final : public HttpClient {
 public:
  QtHttpClient();
  ~QtHttpClient() override;
  QtHttpClient(const QtHttpClient&) = delete;
  QtHttpClient& operator=(const QtHttpClient&) = delete;

  void Send(HttpRequest request, Completion done) override;

  // Exchanges that have not ended yet.
  size_t PendingCount() const { return m_pending.size(); }

 private:
  void Finished(QNetworkReply* reply);

  std::unique_ptr<QNetworkAccessManager> m_manager;
  std::map<QNetworkReply*, Completion> m_pending;
};

}  // namespace duvelin
