// HTTP exchanges as the logic asks for them: send one request, receive the status and the body
// once the exchange ends. The program implements it with Qt Network on the main thread; tests
// use a fake that answers from a script. Redirects are followed by the implementation.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/result.h"

namespace duvelin {

struct HttpRequest {
  std::string method = "GET";
  std::string url;  // UTF-8 (addresses are ASCII in practice)
  std::vector<std::pair<std::string, std::string>> headers;  // e.g. {"User-Agent", "..."}
  std::string body;  // sent with POST
};

struct HttpResponse {
  int status = 0;                            // the HTTP status code, e.g. 200
  std::string body;                          // the bytes received, exactly as sent
  std::optional<std::int64_t> contentLength;  // as announced by the server, when it did
  bool IsSuccess() const { return status >= 200 && status < 300; }
};

class HttpClient {
 public:
  // Runs exactly once, on the thread that owns the client, when the exchange has ended. A
  // transport failure (no connection, bad address, broken transfer) arrives as an error; any
  // HTTP status, 404 included, arrives as a response.
  using Completion = std::function<void(Result<HttpResponse>)>;

  virtual ~HttpClient() = default;

  // Starts the request and returns at once; `done` may run before Send returns (fakes do).
  virtual void Send(HttpRequest request, Completion done) = 0;

  void Get(std::string url, Completion done) {
    HttpRequest request;
    request.url = std::move(url);
    Send(std::move(request), std::move(done));
  }
};

}  // namespace duvelin
