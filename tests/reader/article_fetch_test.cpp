// Fetching an article: the cutting rules over page text, and the fetch with its download into
// tmp\wsj.htm, its wait, questions and messages, against a scripted HTTP client.
#include "reader/article_fetch.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "common/gbk_text.h"
#include "support/fake_prompter.h"
#include "support/manual_scheduler.h"
#include "support/temp_folder.h"

namespace duvelin {
namespace {

using testing::FakePrompter;
using testing::ManualScheduler;
using testing::TempFolder;
namespace fs = std::filesystem;

std::string Gbk(std::string_view utf8) { return Utf8ToGbk(utf8); }

// A page with the markers of the news site's bilingual articles (GBK, CR LF as read back).
std::string ArticlePage(bool withChinese = true) {
  std::string page =
      "<html><head><title>x</title></head><body>\r\n"
      "<h1 id=\"headline\">美联储: 加息?</h1>\r\n";
  if (withChinese)
    page +=
        "<div class='bolder'>美联储周三宣布加息。<br><br>市场反应平静。<br>分析师表示满意。</div>\r\n"
        "<div class=\"related\">相关文章</div>\r\n"
        "<br><br><I><B>More</B></I>\r\n";
  page +=
      "<div en_bodytext=\"The Fed raised rates on Wednesday.<br><br>Markets were calm.<br><br><div>\r\n"
      "</body></html>\r\n";
  return Gbk(page);
}

TEST(ArticleCut, TitleChineseAndEnglishFromAPage) {
  ArticleParts parts = CutArticle(ArticlePage());
  EXPECT_EQ(GbkToUtf8(parts.title), "美联储: 加息?");
  EXPECT_EQ(GbkToUtf8(parts.english), "The Fed raised rates on Wednesday.\r\nMarkets were calm.");
  // Pass 1 takes the block after the article's closing tag, pass 2 that closing tag.
  EXPECT_EQ(GbkToUtf8(parts.chinese), "美联储周三宣布加息。\r\n市场反应平静。\r\n分析师表示满意。\r\n\r\n");
}

TEST(ArticleCut, TitleRules) {
  struct Case {
    std::string page, title;
  };
  const std::string far(600, 'x');
  const Case cases[] = {
      {"<h1 id=\"headline\">Big</h1>", "Big"},
      {"<h1 id=\"headline\" class=\"a\">Big <b>x</b>", "Big "},
      {"<h1 id=\"headline\"><a>Big</a></h1>", ""},        // nothing between the last ">" and "<"
      {"<h1 id=\"headline\">" + far + "</h1>", ""},      // no "<" within 513 characters
      {"<h1 id=\"title\">Big</h1>", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CutArticleTitle(c.page), c.title) << c.page.substr(0, 40);
}

TEST(ArticleCut, ChineseRules) {
  struct Case {
    std::string page, chinese;
  };
  const Case cases[] = {
      {"<p class='bolder'>A<br>B<br><br><B><I>", "A\r\nB"},                      // the other end marker
      {"<br><br><I><B><p class='bolder'>A<br><br><I><B>", ""},                   // end before start
      {"no marker here<br><br><I><B>", ""},                                      // never the page's beginning
      {"bolder'>A</div>\r\n<div>y</div>\r\n<br><br><I><B>", "A\r\n\r\n"},  // pass 1, then pass 2
      // After a deletion the walk goes on at the tag's start: every tag goes, all text stays.
      {"bolder'>A<b>c</b>d<br><br><I><B>", "Acd"},
      {"bolder'>x<b><i>y</i></b>z<br><br><I><B>", "xyz"},
      // Pass 1 takes both blocks after the article's closing tag, pass 2 that closing tag.
      {"bolder'>A</div><div>x</div><span>y</span>B<br><br><I><B>", "AB"},
      {"bolder'>A<i>B<br><br><I><B>", "AB"},
      {"bolder'>Ab>c<br><br><I><B>", "Ab>c"},  // a stray ">" drops the depth below 0
      {"bolder'>A<b><br><br><I><B>", "A<b>"},  // the last character is never examined
  };
  for (const auto& c : cases) EXPECT_EQ(CutArticleChinese(c.page), c.chinese) << c.page;
}

TEST(ArticleCut, EnglishRules) {
  struct Case {
    std::string page, english;
  };
  const Case cases[] = {
      {"en_bodytext=\"One.<br><br>Two.<br>Three.<br><br><p>", "One.\r\nTwo.\r\nThree."},
      {"<br><br><x en_bodytext=\"One.<br><br><", "One."},  // the end is searched after the marker
      {"en_bodytext=\"One. no end", ""},
      {"en_bodytext=One.<br><br><", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CutArticleEnglish(c.page), c.english) << c.page;
}

TEST(ArticleCut, PageTextIsLinesWithCrLfInGbk) {
  EXPECT_EQ(PageTextFromFile("a\nb"), "a\r\nb\r\n");
  EXPECT_EQ(PageTextFromFile(""), "");
  EXPECT_EQ(PageTextFromFile("<meta charset=\"UTF-8\">中"), "<meta charset=\"UTF-8\">" + Gbk("中") + "\r\n");
  EXPECT_EQ(PageTextFromFile("\xEF\xBB\xBF中"), Gbk("中") + "\r\n");
  EXPECT_EQ(PageTextFromFile(Gbk("中")), Gbk("中") + "\r\n");
}

// Answers requests from a script; a request stays pending until Answer() when asked to.
class ScriptedHttpClient : public HttpClient {
 public:
  std::vector<std::string> requested;
  std::deque<Result<HttpResponse>> script;
  bool answerAtOnce = true;

  void Send(HttpRequest request, Completion done) override {
    requested.push_back(request.url);
    m_pending.push_back(std::move(done));
    if (answerAtOnce) Answer();
  }
  void Answer() {
    Completion done = std::move(m_pending.front());
    m_pending.pop_front();
    Result<HttpResponse> response = std::move(script.front());
    script.pop_front();
    done(std::move(response));
  }

 private:
  std::deque<Completion> m_pending;
};

class RecordingSink : public ArticleSink {
 public:
  std::vector<bool> fetching;
  std::string fileName, chinese, english;
  int inserted = 0;
  void SetFetching(bool on) override { fetching.push_back(on); }
  void SetFileName(const std::string& name) override { fileName = name; }
  void InsertTexts(const std::string& c, const std::string& e) override {
    chinese = c;
    english = e;
    ++inserted;
  }
};

HttpResponse Page(std::string body, int status = 200) { return {status, std::move(body), std::nullopt}; }

class ArticleFetcherTest : public ::testing::Test {
 protected:
  void Serve(Result<HttpResponse> response) { http.script.push_back(std::move(response)); }

  TempFolder folder;
  ProgramFolder programFolder{folder.path()};
  ScriptedHttpClient http;
  ManualScheduler scheduler;
  FakePrompter prompter;
  RecordingSink sink;
  ArticleFetcher fetcher{programFolder, http, scheduler, prompter, sink};
  const std::string address = "http://127.0.0.1/article?source=channel";
};

TEST_F(ArticleFetcherTest, FillsBothEditorsAndTheFileNameAfterTheWait) {
  Serve(Page(ArticlePage()));
  fetcher.Fetch(address);
  EXPECT_EQ(http.requested, std::vector<std::string>{address});
  EXPECT_TRUE(fetcher.IsFetching());
  EXPECT_EQ(folder.Read("tmp/wsj.htm"), ArticlePage());
  scheduler.Advance(299);
  EXPECT_EQ(sink.inserted, 0);
  scheduler.Advance(1);
  EXPECT_EQ(sink.inserted, 1);
  EXPECT_TRUE(prompter.shown.empty());
  EXPECT_EQ(GbkToUtf8(sink.fileName), "美联储 加息");  // ":" and "?" cannot stand in a file name
  EXPECT_EQ(GbkToUtf8(sink.english), "The Fed raised rates on Wednesday.\r\nMarkets were calm.");
  EXPECT_TRUE(sink.chinese.starts_with(Gbk("美联储周三宣布加息。")));
  EXPECT_EQ(sink.fetching, (std::vector<bool>{true, false}));
  EXPECT_FALSE(fetcher.IsFetching());
}

TEST_F(ArticleFetcherTest, APageWithoutTheChineseMarkerYieldsNoChinese) {
  Serve(Page(ArticlePage(false)));
  fetcher.Fetch(address);
  scheduler.Advance(300);
  EXPECT_EQ(sink.inserted, 1);
  EXPECT_EQ(sink.chinese, "");
  EXPECT_FALSE(sink.english.empty());
}

TEST_F(ArticleFetcherTest, AnEmptyDownloadIsReportedAndTheButtonWorksAgain) {
  Serve(Page(""));
  fetcher.Fetch(address);
  scheduler.Advance(300);
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text, "下载的文件为空");
  EXPECT_EQ(prompter.shown[0].caption, "错误");
  EXPECT_EQ(sink.fetching, (std::vector<bool>{true, false}));
  EXPECT_FALSE(fetcher.IsFetching());

  Serve(Page(ArticlePage()));
  fetcher.Fetch(address);
  scheduler.Advance(300);
  EXPECT_EQ(http.requested.size(), 2u);
  EXPECT_EQ(sink.inserted, 1);
}

TEST_F(ArticleFetcherTest, FailedDownloadsAreReportedAndLeaveNoOldPage) {
  folder.Write("tmp/wsj.htm", "an old page");
  const Result<HttpResponse> failures[] = {Error{"connection refused"}, Page("not found", 404)};
  for (const auto& failure : failures) {
    FakePrompter fresh;
    ArticleFetcher local(programFolder, http, scheduler, fresh, sink);
    Serve(failure);
    local.Fetch(address);
    ASSERT_EQ(fresh.shown.size(), 1u);
    EXPECT_EQ(fresh.shown[0].text, "下载失败，可能网址不正确或者网络不通");
    EXPECT_EQ(fresh.shown[0].caption, "错误");
    EXPECT_FALSE(local.IsFetching());
    EXPECT_FALSE(fs::exists(folder.path() / "tmp/wsj.htm"));
  }
  scheduler.Advance(1000);
  EXPECT_EQ(sink.inserted, 0);
}

TEST_F(ArticleFetcherTest, AddressChecksComeBeforeAnyDownload) {
  fetcher.Fetch("");
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text, "下载页面网址不能为空");
  EXPECT_EQ(prompter.shown[0].caption, "注意");

  prompter.answers = {Prompter::Answer::No};
  fetcher.Fetch("http://127.0.0.1/other");
  EXPECT_EQ(prompter.shown.back().text, "该网址可能不是有效的双语阅读网页文章的网址，是否继续抓取？");
  EXPECT_TRUE(http.requested.empty());
  EXPECT_TRUE(sink.fetching.empty());

  prompter.answers = {Prompter::Answer::Yes};
  Serve(Page(ArticlePage()));
  fetcher.Fetch("http://127.0.0.1/other");
  scheduler.Advance(300);
  EXPECT_EQ(http.requested.size(), 1u);
  EXPECT_EQ(sink.inserted, 1);
}

TEST_F(ArticleFetcherTest, APageWithoutEitherTextIsReported) {
  Serve(Page(Gbk("<html><h1 id=\"headline\">标题</h1></html>")));
  fetcher.Fetch(address);
  scheduler.Advance(300);
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text,
            "网页自动分析失败，您可以手工在浏览器内打开此网页并复制相应的中文和英文到下面的框内。");
  EXPECT_EQ(sink.inserted, 0);
  EXPECT_EQ(GbkToUtf8(sink.fileName), "标题");
  EXPECT_EQ(sink.fetching.back(), false);
}

TEST_F(ArticleFetcherTest, ASecondClickWhileFetchingIsIgnoredAndLateAnswersAfterCloseAreHarmless) {
  http.answerAtOnce = false;
  fetcher.Fetch(address);
  fetcher.Fetch(address);
  EXPECT_EQ(http.requested.size(), 1u);
  Serve(Page(ArticlePage()));
  {
    RecordingSink otherSink;
    auto closing = std::make_unique<ArticleFetcher>(programFolder, http, scheduler, prompter, otherSink);
    closing->Fetch(address);
    Serve(Page(ArticlePage()));
    closing.reset();
  }
  http.Answer();  // the first fetcher's download
  http.Answer();  // the closed fetcher's download: nothing happens
  scheduler.Advance(300);
  EXPECT_EQ(sink.inserted, 1);
}

}  // namespace
}  // namespace duvelin
