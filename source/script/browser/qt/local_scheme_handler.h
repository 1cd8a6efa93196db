// Serves the program's own URL scheme to WebEngine: pages written from memory (GBK bytes,
// "text/html;charset=gbk") and the files of the program folder, each with a content type from
// its extension. One handler serves every browser of the process (the default profile).
#pragma once

#include <QWebEngineUrlSchemeHandler>

#include <deque>
#include <string>
#include <utility>

namespace duvelin {

class LocalSchemeHandler final : public QWebEngineUrlSchemeHandler {
  Q_OBJECT

 public:
  // Registers the scheme with WebEngine (and sets what WebEngine needs of the application);
  // must run before the QApplication is made.
  static void RegisterScheme();

  // The handler of the default profile, installed there on first use.
  static LocalSchemeHandler& Instance();

  // Keeps a page written from memory and returns the address it is served at.
  std::string AddMemoryPage(std::string gbkHtml);

  void requestStarted(QWebEngineUrlRequestJob* job) override;

  // The content type of a file served from the program folder, from its extension (and, for
  // HTML and text, the byte-order mark of its bytes).
  static QByteArray ContentType(const std::string& fileName, const std::string& bytes);

 private:
  explicit LocalSchemeHandler(QObject* parent) : QWebEngineUrlSchemeHandler(parent) {}

  // The last pages written, oldest first; a few are kept so that a reload still finds its page.
  std::deque<std::pair<unsigned, std::string>> m_memoryPages;
  unsigned m_nextPage = 0;
};

}  // namespace duvelin
