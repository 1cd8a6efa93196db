#include "script/browser/qt/web_browser.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QWebEngineNewWindowRequest>

#include <filesystem>

#include <memory>

#include "common/program_folder.h"
#include "common/qt/qt_text.h"
#include "script/browser/browser_addresses.h"
#include "script/browser/browser_events.h"
#include "script/browser/qt/browser_page.h"
#include "script/browser/qt/local_scheme_handler.h"

namespace duvelin {

WebBrowser::WebBrowser(QWidget* parent) : QWebEngineView(parent) {
  LocalSchemeHandler::Instance();
  m_page = new BrowserPage(this);
  setPage(m_page);
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWebEngineView::loadStarted, this, [this] { m_loading = true; });
  connect(this, &QWebEngineView::loadFinished, this, [this] { m_loading = false; });
  // urlChanged comes when the page's navigation commits, before the new page's frames start
  // theirs: the right moment for NavigateComplete2.
  connect(m_page, &QWebEnginePage::urlChanged, this, [this](const QUrl& url) {
    if (m_events) m_events->WebBrowser1NavigateComplete2(BrowserFrame::Band, ToUtf8(url.toString(QUrl::FullyEncoded)));
  });
  connect(m_page, &QWebEnginePage::linkHovered, this, [this](const QString& url) {
    if (m_events) m_events->StatusTextChange(ToUtf8(url));
  });
  // Left unanswered (no page opened in), the request opens no window of WebEngine's own.
  connect(m_page, &QWebEnginePage::newWindowRequested, this, [this](QWebEngineNewWindowRequest& request) {
    if (m_events) m_events->WebBrowser1NewWindow2();
    OpenNewWindow(request.requestedUrl());
  });
  qApp->installEventFilter(this);
}

WebBrowser::~WebBrowser() {
  qApp->removeEventFilter(this);
  // The page outlives this part of the view: it must report no more events to it.
  disconnect(m_page, nullptr, this, nullptr);
  m_page->SetEvents(nullptr);
}

void WebBrowser::SetLinkInterceptor(LinkInterceptor* interceptor) { m_page->SetLinkInterceptor(interceptor); }

void WebBrowser::SetEvents(std::unique_ptr<BrowserEvents> events) {
  m_page->SetEvents(events.get());
  m_events = std::move(events);
}

void WebBrowser::OpenNewWindow(const QUrl& url) {
  QUrl address = url;
  if (std::optional<std::string> path = LocalDataPath(ToUtf8(url.toString(QUrl::FullyEncoded)))) {
    const std::filesystem::path file = ProgramFolder::Current().Resolve(*path);
    std::error_code error;
    if (std::filesystem::is_regular_file(file, error)) address = QUrl::fromLocalFile(QString::fromStdString(file.string()));
  }
  if (m_windowOpener)
    m_windowOpener(address);
  else
    QDesktopServices::openUrl(address);
}

void WebBrowser::Navigate(std::string_view url) {
  m_loading = true;
  load(QUrl(FromUtf8(url)));
}

void WebBrowser::WritePage(std::string_view gbkHtml) {
  Navigate(LocalSchemeHandler::Instance().AddMemoryPage(std::string(gbkHtml)));
}

void WebBrowser::DocumentWrite(std::string_view utf8Line) {
  WaitForLoad();
  const QString argument =
      QString::fromUtf8(QJsonDocument(QJsonArray{FromUtf8(utf8Line)}).toJson(QJsonDocument::Compact));
  // A loaded document gets the line appended to its body; one still open is written to.
  const QString script = QStringLiteral(
                             "(function(line){"
                             "if (document.body && document.readyState == 'complete') {"
                             "document.body.insertAdjacentHTML('beforeend', line + '\\n');"
                             "} else { document.writeln(line); }"
                             "return document.body ? document.body.innerText : '';"
                             "})(%1[0])")
                             .arg(argument);
  std::optional<QVariant> body = RunScript(script);
  emit documentWritten(body ? body->toString() : QString());
}

std::string WebBrowser::CurrentUrl() const { return ToUtf8(url().toString()); }

std::optional<QVariant> WebBrowser::RunWithTexts(const QString& body, std::initializer_list<std::string_view> gbkTexts) {
  WaitForLoad();
  if (url().isEmpty()) return std::nullopt;
  QJsonArray texts;
  for (std::string_view text : gbkTexts) texts.append(FromGbk(text));
  const QString arguments = QString::fromUtf8(QJsonDocument(texts).toJson(QJsonDocument::Compact));
  return RunScript(QStringLiteral("(function(a, b, c){%1})(...%2)").arg(body, arguments));
}

bool WebBrowser::HasDocument() {
  std::optional<QVariant> answer = RunWithTexts(QStringLiteral("return !!document.body;"), {});
  return answer && answer->toBool();
}

void WebBrowser::SetBodyInnerHtml(std::string_view gbkHtml) {
  RunWithTexts(QStringLiteral("if (document.body) document.body.innerHTML = a; return true;"), {gbkHtml});
}

bool WebBrowser::HasElement(std::string_view id) {
  std::optional<QVariant> answer = RunWithTexts(QStringLiteral("return !!document.getElementById(a);"), {id});
  return answer && answer->toBool();
}

bool WebBrowser::SetElementInnerHtml(std::string_view id, std::string_view gbkHtml) {
  std::optional<QVariant> answer = RunWithTexts(
      QStringLiteral("var e = document.getElementById(a); if (!e) return false; e.innerHTML = b; return true;"),
      {id, gbkHtml});
  return answer && answer->toBool();
}

bool WebBrowser::SetElementStyle(std::string_view id, std::string_view property, std::string_view value) {
  std::optional<QVariant> answer = RunWithTexts(
      QStringLiteral("var e = document.getElementById(a); if (!e) return false; e.style[b] = c; return true;"),
      {id, property, value});
  return answer && answer->toBool();
}

int32_t WebBrowser::BodyClientHeight() {
  std::optional<QVariant> answer =
      RunWithTexts(QStringLiteral("return document.body ? document.body.clientHeight : 0;"), {});
  return answer ? answer->toInt() : 0;
}

int32_t WebBrowser::BodyScrollTop() {
  std::optional<QVariant> answer = RunWithTexts(
      QStringLiteral("var s = document.scrollingElement || document.body; return s ? s.scrollTop : 0;"), {});
  return answer ? answer->toInt() : 0;
}

bool WebBrowser::SetImage(std::string_view id, int32_t height, std::string_view src) {
  const std::string heightText = std::to_string(height);
  std::optional<QVariant> answer = RunWithTexts(
      QStringLiteral("var e = document.getElementById(a); if (!e) return false; e.height = Number(b); e.src = c; "
                     "return true;"),
      {id, heightText, src});
  return answer && answer->toBool();
}

bool WebBrowser::ExecScript(std::string_view script, std::string_view /*language*/) {
  // Only JavaScript exists here; the script runs as written, its value ignored.
  std::optional<QVariant> answer = RunWithTexts(QStringLiteral("(0, eval)(a); return true;"), {script});
  return answer && answer->toBool();
}

bool WebBrowser::WaitForLoad(int timeoutMs) {
  if (!m_loading) return true;
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  connect(this, &QWebEngineView::loadFinished, &loop, &QEventLoop::quit);
  timer.start(timeoutMs);
  loop.exec();
  return !m_loading;
}

std::optional<QVariant> WebBrowser::RunScript(const QString& script, int timeoutMs) {
  // The answer may come after the wait has given up: it then lands in the shared state only.
  struct Answer {
    bool arrived = false;
    QVariant value;
    QPointer<QEventLoop> loop;
  };
  auto answer = std::make_shared<Answer>();
  QEventLoop loop;
  answer->loop = &loop;
  page()->runJavaScript(script, [answer](const QVariant& value) {
    answer->arrived = true;
    answer->value = value;
    if (answer->loop) answer->loop->quit();
  });
  if (!answer->arrived) {
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
  }
  answer->loop = nullptr;
  if (!answer->arrived) return std::nullopt;
  return answer->value;
}

bool WebBrowser::IsInside(QObject* object) const {
  auto* widget = qobject_cast<QWidget*>(object);
  return widget && (widget == this || isAncestorOf(widget));
}

void WebBrowser::PopUpMenu(const QPoint& globalPosition) {
  if (m_menu) m_menu->popup(globalPosition);
}

bool WebBrowser::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::RightButton && IsInside(watched)) {
        if (event->type() == QEvent::MouseButtonPress) PopUpMenu(mouse->globalPosition().toPoint());
        return true;
      }
      break;
    }
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::RightButton && IsInside(watched)) return true;
      break;
    }
    case QEvent::ContextMenu:
      // The mouse's menu request follows the press that already opened the menu; only the
      // keyboard's opens it here. The browser never shows its own.
      if (IsInside(watched)) {
        auto* request = static_cast<QContextMenuEvent*>(event);
        if (request->reason() == QContextMenuEvent::Keyboard) PopUpMenu(request->globalPos());
        return true;
      }
      break;
    default:
      break;
  }
  return QWebEngineView::eventFilter(watched, event);
}

}  // namespace duvelin
