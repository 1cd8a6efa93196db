// The notice codes of MSG_GAME_COMMAND, also with links going through the real link
// interception first.
#include <gtest/gtest.h>

#include "script/browser/browser_addresses.h"
#include "script/browser/link_interceptor.h"
#include "script_fixture.h"
#include "support/recording_poster.h"

namespace duvelin {
namespace {

using testing::ScriptFixture;

class NoticeTest : public ScriptFixture {
 protected:
  // Follows a link in one of our pages: the interception posts a notice, which is delivered.
  std::optional<intptr_t> Click(std::string_view url) {
    m_poster.posted.clear();
    const LinkDecision decision = m_links.BeforeNavigate(url, MemoryPageAddress(1));
    for (const auto& [target, message] : m_poster.posted) {
      EXPECT_EQ(target, MessageTarget::MainWindow);
      EXPECT_EQ(message.number, MSG_GAME_COMMAND);
      EXPECT_TRUE(m_session.HandleGameCommand(message.wParam, message.lParam, m_links.PendingLink()));
    }
    if (!decision.cancel) return std::nullopt;
    return decision.code;
  }

  testing::RecordingPoster m_poster;
  LinkInterceptor m_links{m_poster, m_folder};
};

TEST_F(NoticeTest, LinksRunTheirTexts) {
  EXPECT_EQ(Click("about:blankgame_page(2)"), GAME_RUN_LINK_G);
  EXPECT_EQ(State().CurrentScene, 2);
  EXPECT_EQ(Click("about:game_write_temp(1,4)"), GAME_RUN_LINK_G);
  EXPECT_EQ(State().temps.Find(1), "4");
  EXPECT_EQ(Click("about:blankif%20game_check_temp(1,4)%20then%20game_write_temp(2,1)%20end"), GAME_RUN_LINK_I);
  EXPECT_EQ(State().temps.Find(2), "1");
  EXPECT_EQ(Click(std::string(kLocalBase) + "game_write_temp(3,3)"), GAME_RUN_LINK_G);
  EXPECT_EQ(State().temps.Find(3), "3");
}

TEST_F(NoticeTest, FiveCharacterLinksShowThatScene) {
  EXPECT_EQ(Click("about:blank10001"), GAME_SHOW_SCENE);
  EXPECT_EQ(State().CurrentScene, 10001);
  EXPECT_EQ(m_browser.ElementInnerHtml("bo_1"), "10001");
  EXPECT_EQ(Click("10002"), GAME_SHOW_SCENE);
  EXPECT_EQ(State().CurrentScene, 10002);
  EXPECT_EQ(Click("about:abcde"), GAME_SHOW_SCENE);  // not a number: scene 0
  EXPECT_EQ(State().CurrentScene, 0);
}

TEST_F(NoticeTest, LinksThatRunNothing) {
  State().CurrentScene = 10001;
  EXPECT_EQ(Click("about:blankDgame_page(5)"), GAME_NO_WORK_D);
  EXPECT_EQ(Click("https://example.com/game_page(5)"), std::nullopt);  // a remote address
  EXPECT_EQ(Click("about:blank"), std::nullopt);
  EXPECT_EQ(State().CurrentScene, 10001);
  EXPECT_TRUE(m_calls.empty());
}

TEST_F(NoticeTest, AfterLoadActionAndNamedCommands) {
  State().afterLoadAction = "game_write_temp(1,1);game_write_temp(2,2)";
  ASSERT_TRUE(m_session.HandleGameCommand(GAME_RUN_AFTER_LOAD, 0, "ignored"));
  EXPECT_EQ(State().temps.Find(2), "2");
  ASSERT_TRUE(m_session.HandleGameCommand(GAME_RUN_NAMED, 0, "Pstart"));
  EXPECT_EQ(State().CurrentScene, 10001);
  for (intptr_t code : {31, 35, 99}) ASSERT_TRUE(m_session.HandleGameCommand(code, 0, "game_page(3)"));
  EXPECT_EQ(State().CurrentScene, 10001);
}

TEST_F(NoticeTest, ReloadCodesCompareWithTheCurrentScene) {
  ASSERT_TRUE(Run("game_page(10003)"));
  struct Case {
    intptr_t code, lParam;
    int pagesAdded;
    bool bodyRewritten;
  };
  const Case cases[] = {
      {GAME_RELOAD_PAGE_A, 10003, 0, true},  // in place
      {GAME_RELOAD_PAGE_B, 20006, 1, false},  // in full
      {GAME_RELOAD_PAGE_A, 10004, 0, false},  // anything else: nothing
      {GAME_RELOAD_PAGE_B, 0, 0, false},
  };
  for (const Case& c : cases) {
    m_browser.SetElementInnerHtml("bo_1", "marked");
    const int before = m_browser.PagesWritten();
    ASSERT_TRUE(m_session.HandleGameCommand(c.code, c.lParam, ""));
    EXPECT_EQ(m_browser.PagesWritten() - before, c.pagesAdded) << c.code << " " << c.lParam;
    EXPECT_EQ(m_browser.ElementInnerHtml("bo_1") == "marked", !c.bodyRewritten && c.pagesAdded == 0)
        << c.code << " " << c.lParam;
    EXPECT_EQ(State().CurrentScene, 10003);
  }
}

TEST_F(NoticeTest, AdvertisementRowIsHidden) {
  m_browser.WritePage("<html><body><iframe id=ad_layer1 src=\"x\"></iframe></body></html>");
  ASSERT_TRUE(m_session.HandleGameCommand(GAME_HIDE_AD, 0, ""));
  EXPECT_EQ(m_browser.ElementStyle("ad_layer1", "display"), "none");
  EXPECT_EQ(m_session.Notices().Advertisement().count, 2);

  // Not there yet: looked up once more after 200 ms.
  m_browser.WritePage("<html><body></body></html>");
  m_session.Notices().Advertisement().count = 14;
  ASSERT_TRUE(m_session.HandleGameCommand(GAME_HIDE_AD, 0, ""));
  EXPECT_EQ(m_session.Notices().Advertisement().state, 0);
  m_browser.SetBodyInnerHtml("<iframe id=ad_layer1></iframe>");
  m_scheduler.Advance(199);
  EXPECT_EQ(m_browser.ElementStyle("ad_layer1", "display"), "");
  m_scheduler.Advance(1);
  EXPECT_EQ(m_browser.ElementStyle("ad_layer1", "display"), "none");
  EXPECT_EQ(m_session.Notices().Advertisement().state, 1);
}

TEST_F(NoticeTest, SecondLooksAtTheAdvertisementRowEndWithTheSession) {
  m_browser.WritePage("<html><body></body></html>");
  const size_t timersBefore = m_scheduler.ActiveTimers();
  {
    GameSession ended(GameSessionServices{m_browser, m_prompter, m_options, m_folder, &m_scheduler});
    ASSERT_TRUE(ended.HandleGameCommand(GAME_HIDE_AD, 0, ""));
    ASSERT_TRUE(ended.HandleGameCommand(GAME_HIDE_AD, 0, ""));
    EXPECT_EQ(m_scheduler.ActiveTimers(), timersBefore + 2);
  }
  // Both looks were still to come: they must not run on the session that is gone.
  EXPECT_EQ(m_scheduler.ActiveTimers(), timersBefore);
  m_scheduler.Advance(kAdvertisementRetryMs);

  // A look that has run leaves the one still to come, which the end cancels.
  {
    GameSession ended(GameSessionServices{m_browser, m_prompter, m_options, m_folder, &m_scheduler});
    ASSERT_TRUE(ended.HandleGameCommand(GAME_HIDE_AD, 0, ""));
    m_scheduler.Advance(kAdvertisementRetryMs);
    EXPECT_EQ(ended.Notices().Advertisement().count, 2);
    ASSERT_TRUE(ended.HandleGameCommand(GAME_HIDE_AD, 0, ""));
    EXPECT_EQ(m_scheduler.ActiveTimers(), timersBefore + 1);
  }
  EXPECT_EQ(m_scheduler.ActiveTimers(), timersBefore);
}

TEST_F(NoticeTest, ReadingMaterialNotice) {
  int opened = 0;
  m_session.Notices().SetAddReadingMaterial([&] { ++opened; });
  ASSERT_TRUE(m_session.HandleGameCommand(GAME_SHOW_AUTHORING, 0, ""));
  EXPECT_EQ(opened, 1);
}

TEST_F(NoticeTest, ErrorsAreReturnedForTheTrap) {
  const Status status = m_session.HandleGameCommand(GAME_RUN_LINK_G, 0, "game_write_temp(1,1);game_a(x);game_write_temp(2,1)");
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.message(), "'x' is not a valid integer value");
  EXPECT_EQ(State().temps.Find(1), "1");
  EXPECT_FALSE(State().temps.Find(2));
  // A failure inside a command that is not a script error reaches the trap too.
  m_session.Commands().Add("game_broken", "n", [](const CommandArguments&) -> ScriptValue {
    throw std::runtime_error("broken");
  });
  EXPECT_EQ(m_session.HandleGameCommand(GAME_RUN_LINK_G, 0, "game_broken(1)").message(), "broken");
}

}  // namespace
}  // namespace duvelin
