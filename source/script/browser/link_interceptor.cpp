#include "script/browser/link_interceptor.h"

#include <filesystem>

#include "common/gbk_text.h"
#include "script/browser/browser_addresses.h"

namespace duvelin {
namespace {

// The page's address up to and including its last "/" (query and fragment dropped).
std::string_view PageDirectory(std::string_view pageUrl) {
  const size_t end = pageUrl.find_first_of("?#");
  if (end != std::string_view::npos) pageUrl = pageUrl.substr(0, end);
  const size_t slash = pageUrl.rfind('/');
  if (slash == std::string_view::npos) return {};
  return pageUrl.substr(0, slash + 1);
}

}  // namespace

std::string LinkInterceptor::LinkText(std::string_view url, std::string_view pageUrl) {
  std::string_view text = url;
  if (text == "about:blank") {
    // kept as it is
  } else if (text.starts_with("about:blank")) {
    text.remove_prefix(11);
  } else if (text.starts_with("about:")) {
    text.remove_prefix(6);
  } else if (IsLocalAddress(text)) {
    // A relative link resolves against the directory of its page; strip the longer of that
    // directory and our base.
    const std::string_view directory = PageDirectory(pageUrl);
    if (IsLocalAddress(directory) && text.starts_with(directory))
      text.remove_prefix(directory.size());
    else
      text.remove_prefix(std::string_view(kLocalBase).size());
  }
  return Utf8ToGbk(PercentDecode(text));
}

bool LinkInterceptor::IsFileLink(std::string_view url) const {
  const std::optional<std::string> path = LocalDataPath(url);
  if (!path) return false;
  std::error_code error;
  return std::filesystem::is_regular_file(m_folder.Resolve(*path), error);
}

LinkDecision LinkInterceptor::BeforeNavigate(std::string_view url, std::string_view pageUrl) {
  m_pendingLink = LinkText(url, pageUrl);
  // Links to our own files (tip pages, pictures) are followed like any file link, even when
  // their stripped name looks like a command ("1.htm" has five characters).
  if (IsFileLink(url)) return {};
  if (m_pendingLink.empty()) return {};
  std::optional<GameCommandCode> code;
  switch (m_pendingLink.front()) {
    case 'g': code = GAME_RUN_LINK_G; break;
    case 'i': code = GAME_RUN_LINK_I; break;
    case 'D': code = GAME_NO_WORK_D; break;
    default:
      if (m_pendingLink.size() == 5) code = GAME_SHOW_SCENE;
      break;
  }
  if (!code) return {};
  m_poster.Post(MessageTarget::MainWindow, PrivateMessage{MSG_GAME_COMMAND, *code, 0});
  return {true, code};
}

}  // namespace duvelin
