// The browser band's events besides link interception: where a browser has got to, the status
// text, and new windows opened from the page. A browser that reaches the program's own web site
// (the advertisement row's frame shows a page of it) gets the event sink attached, which from
// then on turns each of its navigations into MSG_GAME_COMMAND 37: hide the row.
//
// The band reports the events of two browsers: its own (the page) and that of the frames inside
// its page, taken together, as WebEngine tells frames apart no further. A sink attached to the
// band hears the frames' events too; one attached to the frames hears theirs only. The WebEngine
// view feeds these handlers; the logic knows nothing of it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/private_messages.h"
#include "script/game_command_handler.h"

namespace duvelin {

// Dispatch ids of the browser's events.
enum class BrowserEventId : int32_t {
  StatusTextChange = 102,
  DownloadComplete = 104,
  CommandStateChange = 105,
  DownloadBegin = 106,
  ProgressChange = 108,
  TitleChange = 113,
  BeforeNavigate2 = 250,
  NewWindow2 = 251,
  NavigateComplete2 = 252,
  DocumentComplete = 259,
};

// Which browser an event comes from: the band's own, or the frames inside its page.
enum class BrowserFrame { Band, Inner };

// The event sink: a client of one browser's events at a time. Of the events it hears it acts
// only on BeforeNavigate2, posting MSG_GAME_COMMAND code 37 to the main window.
class TIEEvents {
 public:
  explicit TIEEvents(MessagePoster& poster) : m_poster(poster) {}
  TIEEvents(const TIEEvents&) = delete;
  TIEEvents& operator=(const TIEEvents&) = delete;
  ~TIEEvents() { Detach(); }

  // An earlier attachment is released first.
  void Attach(BrowserFrame browser);
  void Detach() { m_attached.reset(); }
  std::optional<BrowserFrame> Attached() const { return m_attached; }

  // An event of `source`; heard when the sink is attached to it, or to the band.
  void Invoke(BrowserEventId id, BrowserFrame source);

 private:
  MessagePoster& m_poster;
  std::optional<BrowserFrame> m_attached;
};

// The main window's handlers of the band's events. `advertisement` is the game's advertisement
// state; both it and the poster must outlive this object.
class BrowserEvents {
 public:
  BrowserEvents(MessagePoster& poster, AdvertisementState& advertisement)
      : m_sink(poster), m_advertisement(advertisement) {}

  // A navigation is about to start in `source` (every one, followed or cancelled).
  void WebBrowser1BeforeNavigate2(BrowserFrame source);
  // `source` has reached `url` (UTF-8): the sink is attached to it when the address names the
  // program's web site.
  void WebBrowser1NavigateComplete2(BrowserFrame source, std::string_view url);
  // The band goes on to another page (a navigation of its own that was not cancelled): the
  // frames of the page it leaves are gone, and an attachment to them with them, so that the
  // next page's frames are not heard before they reach the site themselves.
  void BandLeavesPage();
  // A new window is opened from the page; it is never prevented (the caller opens it). Unless
  // the status text names the program's web site, an advertisement was opened: the state
  // becomes 2 unless it is 1.
  void WebBrowser1NewWindow2();
  // The status text (UTF-8), kept for NewWindow2.
  void StatusTextChange(std::string_view text);

  const std::string& StatusText() const { return m_statusText; }
  const TIEEvents& Sink() const { return m_sink; }

 private:
  TIEEvents m_sink;
  AdvertisementState& m_advertisement;
  std::string m_statusText;
};

}  // namespace duvelin
