// What the system asks of the embedded web browser: navigate, load a page from memory, append a
// line to the current document, and the address shown. The main window's WebEngine view
// implements it; the game's commands and page composition use it through this interface.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace duvelin {

class Browser {
 public:
  virtual ~Browser() = default;

  // `url` is UTF-8; "about:blank" gives an empty document.
  virtual void Navigate(std::string_view url) = 0;

  // The whole page as one GBK HTML text; it replaces the current page.
  virtual void WritePage(std::string_view gbkHtml) = 0;

  // Appends one line (UTF-8 HTML text) to the current document, as document.writeln does.
  virtual void DocumentWrite(std::string_view utf8Line) = 0;

  // The address of the current page, UTF-8 (empty before the first page).
  virtual std::string CurrentUrl() const = 0;

  // The document operations the game's commands and page composition use. Texts are GBK
  // (element ids, HTML, style values, scripts). Every operation is skipped when there is no
  // document; the defaults answer as a browser without one: 0, empty, false.

  // True when a document is loaded.
  virtual bool HasDocument() { return false; }
  // The body's content replaced; the head and the page's own scripts stay.
  virtual void SetBodyInnerHtml(std::string_view /*gbkHtml*/) {}
  // The element with that id exists (getElementById finds it).
  virtual bool HasElement(std::string_view /*id*/) { return false; }
  // The element's content replaced; false when there is no document or no such element.
  virtual bool SetElementInnerHtml(std::string_view /*id*/, std::string_view /*gbkHtml*/) { return false; }
  // One style property of the element ("display" with "none" or "block", "top" or "height"
  // with a length such as "120px"); false when there is no document or no such element.
  virtual bool SetElementStyle(std::string_view /*id*/, std::string_view /*property*/, std::string_view /*value*/) {
    return false;
  }
  // The body's clientHeight and scrollTop, in pixels.
  virtual int32_t BodyClientHeight() { return 0; }
  virtual int32_t BodyScrollTop() { return 0; }
  // The image element gets the height (pixels) and the picture `src` (a URL).
  virtual bool SetImage(std::string_view /*id*/, int32_t /*height*/, std::string_view /*src*/) { return false; }
  // window.execScript: runs the script in the page; `language` is "JavaScript".
  virtual bool ExecScript(std::string_view /*script*/, std::string_view /*language*/) { return false; }
};

}  // namespace duvelin
