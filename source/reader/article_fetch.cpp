#include "reader/article_fetch.h"

#include <algorithm>

#include "common/file_io.h"
#include "common/gbk_text.h"
#include "common/line_list.h"
#include "reader/material_authoring.h"

namespace duvelin {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kHeadlineMarker = "id=\"headline\"";
constexpr size_t kHeadlineWindow = 513;
constexpr std::string_view kChineseMarker = "bolder'>";
constexpr std::string_view kChineseEnd = "<br><br><I><B>";
constexpr std::string_view kChineseEndOther = "<br><br><B><I>";
constexpr std::string_view kEnglishMarker = "en_bodytext=\"";
constexpr std::string_view kEnglishEnd = "<br><br><";
constexpr std::string_view kErrorCaption = "错误";
constexpr uint32_t kReadDelayMs = 300;

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  size_t at = 0;
  while ((at = text.find(from, at)) != std::string::npos) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
}

void BreaksToLineEnds(std::string& text) {
  ReplaceAll(text, "<br><br>", "\r\n");
  ReplaceAll(text, "<br>", "\r\n");
}

// Both passes walk the indices from the first to the last but one. After a deletion the walk
// goes on at the deleted tag's start, which now holds the text that followed the tag: going on
// at the index of the tag's end instead would step over the text between the two and keep the
// next tag (A<b>c</b>d would become Ac</b>d).
void RemoveFollowingBlocks(std::string& text) {
  int depth = 1;
  size_t tagStart = std::string::npos;
  size_t i = 0;
  while (i + 1 < text.size()) {
    const char c = text[i], next = text[i + 1];
    if (c == '<' && next == '/') {
      --depth;
    } else if (c == '<' && (next == 'd' || next == 's')) {
      if (depth == 0) tagStart = i;
      ++depth;
    } else if (c == '>' && depth == 0 && tagStart != std::string::npos) {
      text.erase(tagStart, i - tagStart + 1);
      i = tagStart;
      tagStart = std::string::npos;
      continue;
    }
    ++i;
  }
}

void RemoveTags(std::string& text) {
  int depth = 0;
  size_t tagStart = std::string::npos;
  size_t i = 0;
  while (i + 1 < text.size()) {
    const char c = text[i];
    if (c == '>') {
      --depth;
      if (depth == 0 && tagStart != std::string::npos) {
        text.erase(tagStart, i - tagStart + 1);
        i = tagStart;
        tagStart = std::string::npos;
        continue;
      }
    } else if (c == '<') {
      if (depth == 0) tagStart = i;
      ++depth;
    }
    ++i;
  }
}

bool DeclaresUtf8(std::string_view bytes) {
  std::string head(bytes.substr(0, 8192));
  for (char& c : head)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  for (size_t at = head.find("charset="); at != std::string::npos; at = head.find("charset=", at + 1)) {
    size_t value = at + 8;
    if (value < head.size() && (head[value] == '"' || head[value] == '\'')) ++value;
    std::string_view rest = std::string_view(head).substr(value);
    if (rest.starts_with("utf-8") || rest.starts_with("utf8")) return true;
  }
  return false;
}

}  // namespace

std::string CutArticleTitle(std::string_view page) {
  const size_t marker = page.find(kHeadlineMarker);
  if (marker == std::string_view::npos) return {};
  size_t start = std::string_view::npos, end = std::string_view::npos;
  const size_t last = std::min(page.size(), marker + kHeadlineWindow);
  for (size_t i = marker; i < last; ++i) {
    if (page[i] == '>') start = i + 1;
    if (page[i] == '<') {
      end = i;
      break;
    }
  }
  if (start == std::string_view::npos || end == std::string_view::npos || start >= end) return {};
  return std::string(page.substr(start, end - start));
}

std::string CutArticleChinese(std::string_view page) {
  const size_t marker = page.find(kChineseMarker);
  if (marker == std::string_view::npos) return {};
  const size_t start = marker + kChineseMarker.size();
  size_t end = page.find(kChineseEnd);
  if (end == std::string_view::npos) end = page.find(kChineseEndOther);
  if (end == std::string_view::npos || end <= start) return {};
  std::string text(page.substr(start, end - start));
  BreaksToLineEnds(text);
  RemoveFollowingBlocks(text);
  RemoveTags(text);
  return text;
}

std::string CutArticleEnglish(std::string_view page) {
  const size_t marker = page.find(kEnglishMarker);
  if (marker == std::string_view::npos) return {};
  const size_t start = marker + kEnglishMarker.size();
  const size_t end = page.find(kEnglishEnd, start);
  if (end == std::string_view::npos) return {};
  std::string text(page.substr(start, end - start));
  BreaksToLineEnds(text);
  return text;
}

ArticleParts CutArticle(std::string_view page) {
  return {CutArticleTitle(page), CutArticleChinese(page), CutArticleEnglish(page)};
}

std::string PageTextFromFile(std::string_view fileBytes) {
  std::string text = HasUtf8Bom(fileBytes) ? FileBytesToGbk(fileBytes)
                     : DeclaresUtf8(fileBytes) ? Utf8ToGbk(fileBytes)
                                               : std::string(fileBytes);
  return JoinLinesCrLf(SplitLines(text));
}

ArticleFetcher::ArticleFetcher(const ProgramFolder& programFolder, HttpClient& http, Scheduler& scheduler,
                               Prompter& prompter, ArticleSink& sink)
    : m_programFolder(programFolder),
      m_http(http),
      m_scheduler(scheduler),
      m_prompter(prompter),
      m_sink(sink),
      m_self(std::make_shared<ArticleFetcher*>(this)) {}

ArticleFetcher::~ArticleFetcher() {
  if (m_waitTimer) m_scheduler.Cancel(m_waitTimer);
}

fs::path ArticleFetcher::DownloadFile() const { return m_programFolder.Resolve("tmp\\wsj.htm"); }

void ArticleFetcher::Fetch(std::string_view address) {
  using Buttons = Prompter::Buttons;
  using Icon = Prompter::Icon;
  if (m_fetching) return;
  if (address.empty()) {
    m_prompter.ShowMessage(kFetchAddressEmptyMessage, kAttentionCaption, Buttons::Ok, Icon::Warning);
    return;
  }
  if (address.find("source=channel") == std::string_view::npos &&
      m_prompter.ShowMessage(kFetchAddressQuestion, kAttentionCaption, Buttons::YesNo, Icon::Question) !=
          Prompter::Answer::Yes)
    return;
  (void)RemoveFileIfPresent(DownloadFile());
  m_fetching = true;
  m_sink.SetFetching(true);
  std::weak_ptr<ArticleFetcher*> self = m_self;
  m_http.Get(std::string(address), [self](Result<HttpResponse> response) {
    if (auto alive = self.lock()) (*alive)->Downloaded(std::move(response));
  });
}

void ArticleFetcher::Downloaded(Result<HttpResponse> response) {
  bool stored = response.ok() && response->IsSuccess();
  if (stored) {
    const fs::path file = DownloadFile();
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    stored = !error && WriteFileAtomically(file, response->body).ok();
  }
  if (!stored) {
    m_prompter.ShowMessage(kFetchFailedMessage, kErrorCaption, Prompter::Buttons::Ok, Prompter::Icon::Error);
    Finish();
    return;
  }
  std::weak_ptr<ArticleFetcher*> self = m_self;
  m_waitTimer = m_scheduler.RunAfter(kReadDelayMs, [self] {
    if (auto alive = self.lock()) (*alive)->ReadAndCut();
  });
}

void ArticleFetcher::ReadAndCut() {
  m_waitTimer = 0;
  auto bytes = ReadWholeFile(DownloadFile());
  const std::string page = bytes.ok() ? PageTextFromFile(*bytes) : std::string();
  if (page.empty()) {
    m_prompter.ShowMessage(kFetchEmptyMessage, kErrorCaption, Prompter::Buttons::Ok, Prompter::Icon::Error);
    Finish();
    return;
  }
  ArticleParts parts = CutArticle(page);
  // A title can hold characters that no file name may (a colon, a question mark, a slash).
  std::string fileName = CleanFileName(parts.title);
  if (!fileName.empty()) m_sink.SetFileName(fileName);
  if (parts.chinese.empty() && parts.english.empty()) {
    m_prompter.ShowMessage(kFetchAnalysisFailedMessage, kErrorCaption, Prompter::Buttons::Ok,
                           Prompter::Icon::Error);
  } else {
    m_sink.InsertTexts(parts.chinese, parts.english);
  }
  Finish();
}

void ArticleFetcher::Finish() {
  m_fetching = false;
  m_sink.SetFetching(false);
}

}  // namespace duvelin
