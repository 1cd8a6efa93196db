#include "script/browser/qt/local_scheme_handler.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

#include <filesystem>

#include "common/file_io.h"
#include "common/gbk_text.h"
#include "common/program_folder.h"
#include "common/qt/qt_text.h"
#include "script/browser/browser_addresses.h"

namespace duvelin {
namespace {

constexpr size_t kKeptMemoryPages = 8;

std::string LowerExtension(const std::string& fileName) {
  const size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return {};
  std::string extension = fileName.substr(dot + 1);
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return extension;
}

void Reply(QWebEngineUrlRequestJob* job, const QByteArray& contentType, std::string bytes) {
  auto* buffer = new QBuffer(job);
  buffer->setData(QByteArray::fromStdString(bytes));
  buffer->open(QIODevice::ReadOnly);
  job->reply(contentType, buffer);
}

}  // namespace

void LocalSchemeHandler::RegisterScheme() {
  // WebEngine shares its OpenGL context with the widgets; Qt wants to know before start.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QWebEngineUrlScheme scheme(kBrowserScheme);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
  QWebEngineUrlScheme::registerScheme(scheme);
}

LocalSchemeHandler& LocalSchemeHandler::Instance() {
  static LocalSchemeHandler* instance = nullptr;
  if (!instance) {
    QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
    // Owned by the profile, so that it lives exactly as long as the pages it serves.
    instance = new LocalSchemeHandler(profile);
    profile->installUrlSchemeHandler(kBrowserScheme, instance);
  }
  return *instance;
}

std::string LocalSchemeHandler::AddMemoryPage(std::string gbkHtml) {
  const unsigned number = ++m_nextPage;
  m_memoryPages.emplace_back(number, std::move(gbkHtml));
  while (m_memoryPages.size() > kKeptMemoryPages) m_memoryPages.pop_front();
  return MemoryPageAddress(number);
}

QByteArray LocalSchemeHandler::ContentType(const std::string& fileName, const std::string& bytes) {
  const std::string extension = LowerExtension(fileName);
  const bool utf8 = HasUtf8Bom(bytes);
  if (extension == "htm" || extension == "html")
    return utf8 ? "text/html;charset=utf-8" : "text/html;charset=gbk";
  if (extension == "txt" || extension == "dat" || extension == "ini" || extension == "lrc")
    return utf8 ? "text/plain;charset=utf-8" : "text/plain;charset=gbk";
  if (extension == "css") return utf8 ? "text/css;charset=utf-8" : "text/css;charset=gbk";
  if (extension == "js") return "application/javascript";
  if (extension == "png") return "image/png";
  if (extension == "jpg" || extension == "jpeg") return "image/jpeg";
  if (extension == "gif") return "image/gif";
  if (extension == "bmp") return "image/bmp";
  if (extension == "ico") return "image/x-icon";
  if (extension == "svg") return "image/svg+xml";
  if (extension == "mp3") return "audio/mpeg";
  if (extension == "wav") return "audio/wav";
  if (extension == "swf") return "application/x-shockwave-flash";
  return "application/octet-stream";
}

void LocalSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  const std::string url = ToUtf8(job->requestUrl().toString(QUrl::FullyEncoded));
  if (std::optional<unsigned> number = MemoryPageNumber(url)) {
    for (const auto& [kept, html] : m_memoryPages) {
      if (kept == *number) {
        Reply(job, "text/html;charset=gbk", html);
        return;
      }
    }
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  const std::optional<std::string> dataPath = LocalDataPath(url);
  if (!dataPath) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  const std::filesystem::path file = ProgramFolder::Current().Resolve(*dataPath);
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  Result<std::string> bytes = ReadWholeFile(file);
  if (!bytes) {
    job->fail(QWebEngineUrlRequestJob::RequestFailed);
    return;
  }
  Reply(job, ContentType(file.filename().string(), *bytes), std::move(bytes).value());
}

}  // namespace duvelin
