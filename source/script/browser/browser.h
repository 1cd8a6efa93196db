// What the system asks of the embedded web browser: navigate, load a page from memory, append a
// line to the current document, and the address shown. The main window's WebEngine view
// implements it; the game's commands and page composition use it through this interface.
#pragma once

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
};

}  // namespace duvelin
