// Fetching a bilingual news article: the page is downloaded into tmp\wsj.htm, read back, and
// the title, the Chinese text and the English text are cut out of it by fixed markers. The
// cutting rules are pure functions over the page text; ArticleFetcher runs the whole exchange
// with its questions and messages. The window shows the hourglass, disables "抓取" and fills
// its editors through ArticleSink.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/http_client.h"
#include "common/program_folder.h"
#include "common/prompter.h"
#include "common/scheduler.h"

namespace duvelin {

struct ArticleParts {
  std::string title;    // GBK; empty when the page has none
  std::string chinese;  // GBK, paragraphs separated by CR LF
  std::string english;  // GBK, paragraphs separated by CR LF
};

// The text between the last ">" and the first "<" within the 513 characters from the marker
// id="headline" on; empty when there is no marker, no "<" there, or nothing between them.
std::string CutArticleTitle(std::string_view page);
// The text after "bolder'>" up to the first "<br><br><I><B>" (else the first "<br><br><B><I>"),
// when that end lies after it; line breaks made of "<br>", then the blocks following the article
// and the remaining tags removed. Empty without "bolder'>".
std::string CutArticleChinese(std::string_view page);
// The text after en_bodytext=" up to the first "<br><br><" after it, "<br>" made line breaks;
// empty without either marker.
std::string CutArticleEnglish(std::string_view page);
ArticleParts CutArticle(std::string_view page);

// The page text as the cutting rules see it: the file's lines, each followed by CR LF, in GBK
// (a page that declares itself UTF-8, or starts with a UTF-8 byte-order mark, is converted).
std::string PageTextFromFile(std::string_view fileBytes);

// What the fetch does to the window.
class ArticleSink {
 public:
  virtual ~ArticleSink() = default;
  // On while fetching: the hourglass shows and "抓取" is disabled; off when the fetch has ended,
  // whatever its outcome.
  virtual void SetFetching(bool fetching) = 0;
  // The file-name field gets the page's title (GBK, already cleaned for a file name).
  virtual void SetFileName(const std::string& gbkName) = 0;
  // Each text goes into its editor at the caret, replacing that editor's selection (GBK).
  virtual void InsertTexts(const std::string& gbkChinese, const std::string& gbkEnglish) = 0;
};

class ArticleFetcher {
 public:
  ArticleFetcher(const ProgramFolder& programFolder, HttpClient& http, Scheduler& scheduler, Prompter& prompter,
                 ArticleSink& sink);
  ~ArticleFetcher();
  ArticleFetcher(const ArticleFetcher&) = delete;
  ArticleFetcher& operator=(const ArticleFetcher&) = delete;

  // "抓取" with the address field's text (UTF-8). Returns at once; the download, the 300 ms
  // wait and the cutting follow through the client and the scheduler. Ignored while a fetch
  // is under way.
  void Fetch(std::string_view address);
  bool IsFetching() const { return m_fetching; }

  // program folder + tmp\wsj.htm
  std::filesystem::path DownloadFile() const;

 private:
  void Downloaded(Result<HttpResponse> response);
  void ReadAndCut();
  void Finish();

  const ProgramFolder& m_programFolder;
  HttpClient& m_http;
  Scheduler& m_scheduler;
  Prompter& m_prompter;
  ArticleSink& m_sink;
  bool m_fetching = false;
  Scheduler::TimerId m_waitTimer = 0;
  // Completions that arrive after the fetcher has gone find this expired and do nothing.
  std::shared_ptr<ArticleFetcher*> m_self;
};

inline constexpr std::string_view kFetchAddressEmptyMessage = "下载页面网址不能为空";
inline constexpr std::string_view kFetchAddressQuestion = "该网址可能不是有效的双语阅读网页文章的网址，是否继续抓取？";
inline constexpr std::string_view kFetchFailedMessage = "下载失败，可能网址不正确或者网络不通";
inline constexpr std::string_view kFetchEmptyMessage = "下载的文件为空";
inline constexpr std::string_view kFetchAnalysisFailedMessage =
    "网页自动分析失败，您可以手工在浏览器内打开此网页并复制相应的中文和英文到下面的框内。";

}  // namespace duvelin
