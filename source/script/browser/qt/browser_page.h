// The browser band's page: the place where navigation is intercepted. Every navigation that
// a page of our own scheme (or a blank page) starts goes through the LinkInterceptor; the
// browser's own loads (Navigate, pages written from memory, reloads, history) and everything
// that remote pages or frames inside a page do pass untouched, so a link in a remote page or
// an advertisement's frame never runs as a command.
#pragma once

#include <QWebEnginePage>

namespace duvelin {

class LinkInterceptor;

class BrowserPage final : public QWebEnginePage {
  Q_OBJECT

 public:
  explicit BrowserPage(QObject* parent = nullptr) : QWebEnginePage(parent) {}

  void SetLinkInterceptor(LinkInterceptor* interceptor) { m_interceptor = interceptor; }

  // True for our scheme, "about:" pages and the empty page before the first load.
  static bool IsOwnPage(const QUrl& page);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

 private:
  LinkInterceptor* m_interceptor = nullptr;
};

}  // namespace duvelin
