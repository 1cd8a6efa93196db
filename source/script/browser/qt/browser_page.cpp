#include "script/browser/qt/browser_page.h"

#include "common/qt/qt_text.h"
#include "script/browser/browser_addresses.h"
#include "script/browser/browser_events.h"
#include "script/browser/link_interceptor.h"

namespace duvelin {

bool BrowserPage::IsOwnPage(const QUrl& page) {
  const QString scheme = page.scheme();
  return page.isEmpty() || scheme == QLatin1String(kBrowserScheme) || scheme == QLatin1String("about");
}

bool BrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
  const BrowserFrame source = isMainFrame ? BrowserFrame::Band : BrowserFrame::Inner;
  // A server's redirect goes on with a navigation already reported.
  if (m_events && type != NavigationTypeRedirect) m_events->WebBrowser1BeforeNavigate2(source);
  const bool accepted = Intercept(url, type, isMainFrame);
  if (accepted && m_events) {
    // The band's own arrival is its urlChanged signal; a frame has none.
    if (isMainFrame)
      m_events->BandLeavesPage();
    else
      m_events->WebBrowser1NavigateComplete2(source, ToUtf8(url.toString(QUrl::FullyEncoded)));
  }
  return accepted;
}

bool BrowserPage::Intercept(const QUrl& url, NavigationType type, bool isMainFrame) {
  // A frame inside the page (an advertisement's, say) may load whatever it likes: only the
  // page's own navigations can be commands.
  if (!m_interceptor || !isMainFrame) return true;
  switch (type) {
    case NavigationTypeTyped:
    case NavigationTypeReload:
    case NavigationTypeBackForward:
    case NavigationTypeRedirect:
      return true;
    default:
      break;
  }
  const QUrl page = this->url();
  if (!IsOwnPage(page)) return true;
  const LinkDecision decision = m_interceptor->BeforeNavigate(ToUtf8(url.toString(QUrl::FullyEncoded)),
                                                              ToUtf8(page.toString(QUrl::FullyEncoded)));
  return !decision.cancel;
}

}  // namespace duvelin
