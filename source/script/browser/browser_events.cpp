#include "script/browser/browser_events.h"

#include "script/browser/browser_addresses.h"

namespace duvelin {

void TIEEvents::Attach(BrowserFrame browser) {
  Detach();
  m_attached = browser;
}

void TIEEvents::Invoke(BrowserEventId id, BrowserFrame source) {
  if (!m_attached || (*m_attached != BrowserFrame::Band && *m_attached != source)) return;
  if (id != BrowserEventId::BeforeNavigate2) return;
  m_poster.Post(MessageTarget::MainWindow, PrivateMessage{MSG_GAME_COMMAND, GAME_HIDE_AD, 0});
}

void BrowserEvents::WebBrowser1BeforeNavigate2(BrowserFrame source) {
  m_sink.Invoke(BrowserEventId::BeforeNavigate2, source);
}

void BrowserEvents::WebBrowser1NavigateComplete2(BrowserFrame source, std::string_view url) {
  m_sink.Invoke(BrowserEventId::NavigateComplete2, source);
  if (NamesProgramSite(url)) m_sink.Attach(source);
}

void BrowserEvents::BandLeavesPage() {
  if (m_sink.Attached() == BrowserFrame::Inner) m_sink.Detach();
}

void BrowserEvents::WebBrowser1NewWindow2() {
  m_sink.Invoke(BrowserEventId::NewWindow2, BrowserFrame::Band);
  if (!NamesProgramSite(m_statusText) && m_advertisement.state != 1) m_advertisement.state = 2;
}

void BrowserEvents::StatusTextChange(std::string_view text) {
  m_sink.Invoke(BrowserEventId::StatusTextChange, BrowserFrame::Band);
  m_statusText = text;
}

}  // namespace duvelin
