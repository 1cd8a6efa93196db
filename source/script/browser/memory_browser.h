// A Browser that keeps its page in memory: a small model of the document made of the page
// text around the body, the body's HTML, and elements found by their id attributes in that
// HTML. Writes change the HTML as the real document would; styles, pictures and scripts are
// recorded for the caller to read. Used by tests and by duvelin-tool; it renders nothing and
// intercepts no links.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/browser/browser.h"

namespace duvelin {

class MemoryBrowser final : public Browser {
 public:
  void Navigate(std::string_view url) override;
  void WritePage(std::string_view gbkHtml) override;
  void DocumentWrite(std::string_view utf8Line) override;
  std::string CurrentUrl() const override { return m_url; }

  bool HasDocument() override { return m_hasDocument; }
  void SetBodyInnerHtml(std::string_view gbkHtml) override;
  bool HasElement(std::string_view id) override;
  bool SetElementInnerHtml(std::string_view id, std::string_view gbkHtml) override;
  bool SetElementStyle(std::string_view id, std::string_view property, std::string_view value) override;
  int32_t BodyClientHeight() override { return m_hasDocument ? m_clientHeight : 0; }
  int32_t BodyScrollTop() override { return m_hasDocument ? m_scrollTop : 0; }
  bool SetImage(std::string_view id, int32_t height, std::string_view src) override;
  bool ExecScript(std::string_view script, std::string_view language) override;

  // What a test or the tool looks at.
  std::string PageHtml() const { return m_beforeBody + m_body + m_afterBody; }
  const std::string& BodyHtml() const { return m_body; }
  std::optional<std::string> ElementInnerHtml(std::string_view id) const;
  // The style value last set on the element, empty when none was.
  std::string ElementStyle(std::string_view id, std::string_view property) const;
  const std::vector<std::string>& Scripts() const { return m_scripts; }
  int32_t PagesWritten() const { return m_pagesWritten; }
  void SetViewport(int32_t clientHeight, int32_t scrollTop) {
    m_clientHeight = clientHeight;
    m_scrollTop = scrollTop;
  }

 private:
  struct ElementSpan {
    size_t contentStart;
    size_t contentEnd;
  };
  std::optional<ElementSpan> FindElement(std::string_view id) const;
  void NewDocument(std::string url);

  bool m_hasDocument = false;
  std::string m_url;
  std::string m_beforeBody;  // up to and including the body's start tag
  std::string m_body;
  std::string m_afterBody;  // from the body's end tag on
  std::map<std::string, std::map<std::string, std::string, std::less<>>, std::less<>> m_styles;
  std::vector<std::string> m_scripts;
  int32_t m_pagesWritten = 0;
  int32_t m_clientHeight = 600;
  int32_t m_scrollTop = 0;
};

}  // namespace duvelin
