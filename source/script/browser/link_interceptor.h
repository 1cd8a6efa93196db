// Link interception of the browser band: before the browser follows an address of one of our
// own pages, the address is turned into the link's text (the "about:blank" / "about:" prefix,
// or our scheme's base, stripped) and kept as the pending link; a text that is a command or a
// scene number cancels the navigation and posts MSG_GAME_COMMAND for the main window to run
// later. Running the text is the script engine's job.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/private_messages.h"
#include "common/program_folder.h"

namespace duvelin {

struct LinkDecision {
  bool cancel = false;                  // the browser must not follow the address
  std::optional<GameCommandCode> code;  // the code posted, when cancelled
};

class LinkInterceptor {
 public:
  LinkInterceptor(MessagePoster& poster, const ProgramFolder& folder) : m_poster(poster), m_folder(folder) {}

  // `url` is the target as the browser reports it (percent-encoded); `pageUrl` the address of
  // the page that holds the link. Only pages of our own scheme (and blank pages) produce
  // commands: the caller lets every navigation of any other page through untouched.
  LinkDecision BeforeNavigate(std::string_view url, std::string_view pageUrl);

  // The text of the last intercepted link, GBK.
  const std::string& PendingLink() const { return m_pendingLink; }

  // The link text of a target: "about:blank"/"about:" or our base (or the directory of the
  // page that holds the link) stripped, percent-decoding undone, GBK.
  static std::string LinkText(std::string_view url, std::string_view pageUrl);

 private:
  // An address of our scheme that names an existing file of the program folder: a file link,
  // which the browser follows.
  bool IsFileLink(std::string_view url) const;

  MessagePoster& m_poster;
  const ProgramFolder& m_folder;
  std::string m_pendingLink;
};

}  // namespace duvelin
