// The browser band's page: the place where navigation is intercepted. Every navigation that
// a page of our own scheme (or a blank page) starts goes through the LinkInterceptor; the
// browser's own loads (Navigate, pages written from memory, reloads, history) and everything
// that remote pages or frames inside a page do pass untouched, so a link in a remote page or
// an advertisement's frame never runs as a command. Every navigation, of the page or of a frame
// inside it, is also reported to the band's event handlers (BeforeNavigate2). One of the page
// that goes ahead leaves the page and its frames; one of a frame that goes ahead stands for
// the frame having reached its address, as WebEngine tells nothing more of frames.
#pragma once

#include <QWebEnginePage>

namespace duvelin {

class BrowserEvents;
class LinkInterceptor;

class BrowserPage final : public QWebEnginePage {
  Q_OBJECT

 public:
  explicit BrowserPage(QObject* parent = nullptr) : QWebEnginePage(parent) {}

  void SetLinkInterceptor(LinkInterceptor* interceptor) { m_interceptor = interceptor; }
  void SetEvents(BrowserEvents* events) { m_events = events; }

  // True for our scheme, "about:" pages and the empty page before the first load.
  static bool IsOwnPage(const QUrl& page);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

 private:
  // False when the link interceptor cancels the navigation.
  bool Intercept(const QUrl& url, NavigationType type, bool isMainFrame);

  LinkInterceptor* m_interceptor = nullptr;
  BrowserEvents* m_events = nullptr;
};

}  // namespace duvelin
