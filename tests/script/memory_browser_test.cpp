// The memory browser's small document model: body, elements by id, writes and records.
#include "script/browser/memory_browser.h"

#include <gtest/gtest.h>

namespace duvelin {
namespace {

TEST(MemoryBrowserTest, NoDocumentAnswersNothing) {
  MemoryBrowser browser;
  EXPECT_FALSE(browser.HasDocument());
  EXPECT_FALSE(browser.HasElement("a"));
  EXPECT_FALSE(browser.SetElementInnerHtml("a", "x"));
  EXPECT_FALSE(browser.SetElementStyle("a", "display", "none"));
  EXPECT_FALSE(browser.ExecScript("1", "JavaScript"));
  EXPECT_EQ(browser.BodyClientHeight(), 0);
  EXPECT_EQ(browser.CurrentUrl(), "");
}

TEST(MemoryBrowserTest, ElementsAreFoundByTheirIds) {
  MemoryBrowser browser;
  browser.WritePage(
      "<html><head><title>t</title></head><BODY bgcolor=white>"
      "<div id=\"outer\"><div>in</div><p id='para'>text</p></div>"
      "<td id=cell_chat1 width=3>old</td><img id=pic src=a.gif><span ID = loose>z</span>"
      "</body></html>");
  EXPECT_TRUE(browser.HasDocument());
  EXPECT_EQ(browser.CurrentUrl(), "duvelin://local/?memory=1");
  struct Case {
    const char* id;
    std::optional<std::string> inner;
  };
  const Case cases[] = {
      {"outer", "<div>in</div><p id='para'>text</p>"},
      {"para", "text"},
      {"cell_chat1", "old"},
      {"loose", "z"},
      {"missing", std::nullopt},
      {"out", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(browser.ElementInnerHtml(c.id), c.inner) << c.id;

  EXPECT_TRUE(browser.SetElementInnerHtml("para", "<b>new</b>"));
  EXPECT_EQ(browser.ElementInnerHtml("outer"), "<div>in</div><p id='para'><b>new</b></p>");
  EXPECT_TRUE(browser.SetImage("pic", 44, "file:///x.gif"));
  EXPECT_EQ(browser.ElementStyle("pic", "src"), "file:///x.gif");
  EXPECT_EQ(browser.PageHtml().substr(0, 52), "<html><head><title>t</title></head><BODY bgcolor=whi");
  EXPECT_TRUE(browser.PageHtml().ends_with("</body></html>"));
}

TEST(MemoryBrowserTest, BodyWritesAndNavigation) {
  MemoryBrowser browser;
  browser.DocumentWrite("第一行");
  browser.DocumentWrite("<p>2</p>");
  EXPECT_EQ(browser.BodyHtml(), "\xB5\xDA\xD2\xBB\xD0\xD0\n<p>2</p>\n");
  browser.SetBodyInnerHtml("<i id=a>x</i>");
  EXPECT_EQ(browser.ElementInnerHtml("a"), "x");
  EXPECT_TRUE(browser.ExecScript("document.body.appendChild(x)", "JavaScript"));
  EXPECT_EQ(browser.Scripts().size(), 1u);
  browser.Navigate("about:blank");
  EXPECT_EQ(browser.BodyHtml(), "");
  EXPECT_EQ(browser.CurrentUrl(), "about:blank");
  browser.WritePage("no body tag <b id=k>v</b>");
  EXPECT_EQ(browser.ElementInnerHtml("k"), "v");
  EXPECT_EQ(browser.PagesWritten(), 1);
}

}  // namespace
}  // namespace duvelin
