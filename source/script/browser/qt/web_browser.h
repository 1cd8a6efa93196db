// The browser band: a WebEngine view that implements Browser over our own URL scheme. Calls
// that need the page (document writes, scripts) wait for it in a bounded local event loop so
// that they keep their synchronous results. A right-button press anywhere inside the view is
// taken by an application-wide filter and opens the shared pop-up menu instead of the
// browser's own. The band's events (where it has got to, the hovered link as status text, new
// windows) go to its BrowserEvents; a new window opens in the desktop's own web browser.
#pragma once

#include <QPointer>
#include <QVariant>
#include <QWebEngineView>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>

#include "script/browser/browser.h"

#include <QMenu>

namespace duvelin {

class BrowserEvents;
class BrowserPage;
class LinkInterceptor;

class WebBrowser final : public QWebEngineView, public Browser {
  Q_OBJECT

 public:
  static constexpr int kPageWaitMs = 15000;

  explicit WebBrowser(QWidget* parent = nullptr);
  ~WebBrowser() override;

  void SetLinkInterceptor(LinkInterceptor* interceptor);
  void SetContextMenu(QMenu* menu) { m_menu = menu; }
  // The handlers of the band's events, owned from here on; null takes them away.
  void SetEvents(std::unique_ptr<BrowserEvents> events);
  BrowserEvents* Events() { return m_events.get(); }
  // Opens the address of a window the page asks for (QDesktopServices when unset). An address
  // of our scheme that names a file of the program folder is handed on as that file.
  void SetWindowOpener(std::function<void(const QUrl&)> opener) { m_windowOpener = std::move(opener); }

  void Navigate(std::string_view url) override;
  void WritePage(std::string_view gbkHtml) override;
  void DocumentWrite(std::string_view utf8Line) override;
  std::string CurrentUrl() const override;

  // The document operations, each run as a script in the page once it has loaded.
  bool HasDocument() override;
  void SetBodyInnerHtml(std::string_view gbkHtml) override;
  bool HasElement(std::string_view id) override;
  bool SetElementInnerHtml(std::string_view id, std::string_view gbkHtml) override;
  bool SetElementStyle(std::string_view id, std::string_view property, std::string_view value) override;
  int32_t BodyClientHeight() override;
  int32_t BodyScrollTop() override;
  bool SetImage(std::string_view id, int32_t height, std::string_view src) override;
  bool ExecScript(std::string_view script, std::string_view language) override;

  bool IsLoading() const { return m_loading; }
  // Runs the event loop until the current load has finished; false on time-out.
  bool WaitForLoad(int timeoutMs = kPageWaitMs);
  // Runs a script in the page and waits for its result; nothing on time-out.
  std::optional<QVariant> RunScript(const QString& script, int timeoutMs = kPageWaitMs);

 signals:
  // After a document write: the body's text as the page now shows it.
  void documentWritten(const QString& bodyText);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool IsInside(QObject* object) const;
  // Runs `body` as a function of the GBK texts passed (as JavaScript strings a, b, c) once
  // the page has loaded; nothing without a document or an answer.
  std::optional<QVariant> RunWithTexts(const QString& body, std::initializer_list<std::string_view> gbkTexts);
  void PopUpMenu(const QPoint& globalPosition);
  void OpenNewWindow(const QUrl& url);

  BrowserPage* m_page;
  std::unique_ptr<BrowserEvents> m_events;
  std::function<void(const QUrl&)> m_windowOpener;
  QPointer<QMenu> m_menu;
  bool m_loading = false;
};

}  // namespace duvelin
