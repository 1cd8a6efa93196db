#include "script/browser/memory_browser.h"

#include "common/gbk_text.h"
#include "script/browser/browser_addresses.h"

namespace duvelin {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Position of `what` (lower-case ASCII) in `text` from `from`, letter case ignored.
size_t FindIgnoringCase(std::string_view text, std::string_view what, size_t from = 0) {
  if (what.size() > text.size()) return std::string_view::npos;
  for (size_t i = from; i + what.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < what.size() && LowerAscii(text[i + k]) == what[k]) ++k;
    if (k == what.size()) return i;
  }
  return std::string_view::npos;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ':';
}

// The value of the id attribute of the start tag text (between "<" and ">"), if it has one.
std::optional<std::string> IdOfTag(std::string_view tag) {
  size_t i = 0;
  while (i < tag.size() && IsNameCharacter(tag[i])) ++i;  // the tag name
  while (i < tag.size()) {
    while (i < tag.size() && (IsSpace(tag[i]) || tag[i] == '/')) ++i;
    const size_t nameStart = i;
    while (i < tag.size() && !IsSpace(tag[i]) && tag[i] != '=' && tag[i] != '/') ++i;
    const std::string_view name = tag.substr(nameStart, i - nameStart);
    while (i < tag.size() && IsSpace(tag[i])) ++i;
    std::string_view value;
    if (i < tag.size() && tag[i] == '=') {
      ++i;
      while (i < tag.size() && IsSpace(tag[i])) ++i;
      if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
        const char quote = tag[i++];
        const size_t end = tag.find(quote, i);
        value = tag.substr(i, (end == std::string_view::npos ? tag.size() : end) - i);
        i = end == std::string_view::npos ? tag.size() : end + 1;
      } else {
        const size_t valueStart = i;
        while (i < tag.size() && !IsSpace(tag[i])) ++i;
        value = tag.substr(valueStart, i - valueStart);
      }
    }
    if (name.size() == 2 && LowerAscii(name[0]) == 'i' && LowerAscii(name[1]) == 'd') return std::string(value);
    if (name.empty() && i < tag.size()) ++i;
  }
  return std::nullopt;
}

}  // namespace

void MemoryBrowser::NewDocument(std::string url) {
  m_hasDocument = true;
  m_url = std::move(url);
  m_beforeBody.clear();
  m_body.clear();
  m_afterBody.clear();
  m_styles.clear();
}

void MemoryBrowser::Navigate(std::string_view url) { NewDocument(std::string(url)); }

void MemoryBrowser::WritePage(std::string_view gbkHtml) {
  ++m_pagesWritten;
  NewDocument(MemoryPageAddress(static_cast<unsigned>(m_pagesWritten)));
  const size_t bodyTag = FindIgnoringCase(gbkHtml, "<body");
  const size_t bodyOpenEnd = bodyTag == std::string_view::npos ? bodyTag : gbkHtml.find('>', bodyTag);
  if (bodyOpenEnd == std::string_view::npos) {
    m_body = std::string(gbkHtml);
    return;
  }
  m_beforeBody = std::string(gbkHtml.substr(0, bodyOpenEnd + 1));
  const size_t bodyClose = FindIgnoringCase(gbkHtml, "</body", bodyOpenEnd + 1);
  const size_t bodyEnd = bodyClose == std::string_view::npos ? gbkHtml.size() : bodyClose;
  m_body = std::string(gbkHtml.substr(bodyOpenEnd + 1, bodyEnd - bodyOpenEnd - 1));
  m_afterBody = std::string(gbkHtml.substr(bodyEnd));
}

void MemoryBrowser::DocumentWrite(std::string_view utf8Line) {
  if (!m_hasDocument) NewDocument("about:blank");
  m_body += Utf8ToGbk(utf8Line);
  m_body += '\n';
}

void MemoryBrowser::SetBodyInnerHtml(std::string_view gbkHtml) {
  if (!m_hasDocument) return;
  m_body = std::string(gbkHtml);
  m_styles.clear();
}

std::optional<MemoryBrowser::ElementSpan> MemoryBrowser::FindElement(std::string_view id) const {
  if (!m_hasDocument) return std::nullopt;
  const std::string_view body = m_body;
  for (size_t at = body.find('<'); at != std::string_view::npos; at = body.find('<', at + 1)) {
    if (at + 1 >= body.size() || !IsNameCharacter(body[at + 1])) continue;  // end tags, comments
    const size_t tagEnd = body.find('>', at);
    if (tagEnd == std::string_view::npos) return std::nullopt;
    const std::string_view tag = body.substr(at + 1, tagEnd - at - 1);
    const auto tagId = IdOfTag(tag);
    if (!tagId || *tagId != id) continue;
    size_t nameEnd = 0;
    while (nameEnd < tag.size() && IsNameCharacter(tag[nameEnd])) ++nameEnd;
    std::string name;
    for (char c : tag.substr(0, nameEnd)) name.push_back(LowerAscii(c));
    // The content runs to the end tag that balances this element's start tag.
    int depth = 1;
    size_t scan = tagEnd + 1;
    while (scan < body.size()) {
      const size_t next = body.find('<', scan);
      if (next == std::string_view::npos) break;
      const bool closing = next + 1 < body.size() && body[next + 1] == '/';
      const size_t nameStart = next + (closing ? 2 : 1);
      if (FindIgnoringCase(body.substr(nameStart, name.size()), name) == 0 &&
          (nameStart + name.size() >= body.size() || !IsNameCharacter(body[nameStart + name.size()]))) {
        depth += closing ? -1 : 1;
        if (depth == 0) return ElementSpan{tagEnd + 1, next};
      }
      scan = next + 1;
    }
    return ElementSpan{tagEnd + 1, body.size()};
  }
  return std::nullopt;
}

bool MemoryBrowser::HasElement(std::string_view id) { return FindElement(id).has_value(); }

std::optional<std::string> MemoryBrowser::ElementInnerHtml(std::string_view id) const {
  auto span = FindElement(id);
  if (!span) return std::nullopt;
  return m_body.substr(span->contentStart, span->contentEnd - span->contentStart);
}

bool MemoryBrowser::SetElementInnerHtml(std::string_view id, std::string_view gbkHtml) {
  auto span = FindElement(id);
  if (!span) return false;
  m_body.replace(span->contentStart, span->contentEnd - span->contentStart, gbkHtml);
  return true;
}

bool MemoryBrowser::SetElementStyle(std::string_view id, std::string_view property, std::string_view value) {
  if (!FindElement(id)) return false;
  auto& styles = m_styles[std::string(id)];
  styles[std::string(property)] = std::string(value);
  return true;
}

std::string MemoryBrowser::ElementStyle(std::string_view id, std::string_view property) const {
  auto element = m_styles.find(id);
  if (element == m_styles.end()) return {};
  auto value = element->second.find(property);
  return value == element->second.end() ? std::string() : value->second;
}

bool MemoryBrowser::SetImage(std::string_view id, int32_t height, std::string_view src) {
  if (!FindElement(id)) return false;
  auto& styles = m_styles[std::string(id)];
  styles["height"] = std::to_string(height);
  styles["src"] = std::string(src);
  return true;
}

bool MemoryBrowser::ExecScript(std::string_view script, std::string_view /*language*/) {
  if (!m_hasDocument) return false;
  m_scripts.emplace_back(script);
  return true;
}

}  // namespace duvelin
