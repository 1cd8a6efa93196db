// The game state's stores and lifecycle rules, and the core commands that read and change them.
#include <gtest/gtest.h>

#include "script/event_store.h"
#include "script/game_state.h"
#include "script/temp_list.h"
#include "script_fixture.h"

namespace duvelin {
namespace {

using testing::ScriptFixture;

TEST(EventStoreTest, NewGameHoldsExactlyTheFourLines) {
  EXPECT_EQ(EventStore::NewGame().Lines(), (LineList{"[EVENTS]", "", "[FOODS]", ""}));
}

TEST(EventStoreTest, WritesReadsAndDeletes) {
  EventStore store = EventStore::NewGame();
  store.WriteInteger(kEventsSection, 1001, 1);
  store.Write(kEventsSection, 1002, "文字");
  store.WriteInteger(kFoodsSection, 2001, 1);
  store.WriteInteger(kEventsSection, 1001, 5);  // replaced in place
  EXPECT_EQ(store.Lines(), (LineList{"[EVENTS]", "1001=5", "1002=文字", "", "[FOODS]", "2001=1", ""}));
  EXPECT_EQ(store.ReadInteger("events", 1001, -1), 5);  // sections ignore letter case
  EXPECT_EQ(store.ReadInteger(kEventsSection, 1002, -1), -1);  // not an integer
  EXPECT_EQ(store.ReadInteger(kEventsSection, 1003, -1), -1);
  EXPECT_EQ(store.Read(kEventsSection, 1002), "文字");
  store.Delete(kEventsSection, 1001);
  store.Delete(kEventsSection, 4444);
  EXPECT_EQ(store.Lines(), (LineList{"[EVENTS]", "1002=文字", "", "[FOODS]", "2001=1", ""}));
}

TEST(EventStoreTest, ReadBackFromASavedText) {
  const LineList saved{"stray", "[EVENTS]", "1001=1", "", "comment", "[FOODS]", "", "2001=1", ""};
  EventStore store = EventStore::FromLines(saved);
  EXPECT_EQ(store.ReadInteger(kEventsSection, 1001, 0), 1);
  EXPECT_EQ(store.ReadInteger(kFoodsSection, 2001, 0), 1);
  EXPECT_EQ(store.Lines(), (LineList{"[EVENTS]", "1001=1", "comment", "", "[FOODS]", "2001=1", ""}));
  // A missing section is added when written.
  EventStore partial = EventStore::FromLines({"[EVENTS]"});
  partial.WriteInteger(kFoodsSection, 2002, 1);
  EXPECT_EQ(partial.Lines(), (LineList{"[EVENTS]", "", "[FOODS]", "2002=1", ""}));
}

TEST(TempListTest, NamesValuesAndRemoval) {
  TempList temps;
  temps.Write(7, "abc");
  temps.Write(3, "12");
  temps.Write(7, "x");
  EXPECT_EQ(temps.Find(7), "x");
  EXPECT_EQ(temps.ReadInteger(7), 0);
  EXPECT_EQ(temps.ReadInteger(3), 12);
  EXPECT_EQ(temps.ReadInteger(99), 0);
  temps.Write(7, "");
  EXPECT_FALSE(temps.Find(7));
  ASSERT_EQ(temps.Lines().size(), 1u);
  EXPECT_EQ(temps.Lines()[0].first, "3");
}

TEST(GameStateTest, StartsEmptyAndANewGameMakesTheStore) {
  GameState state;
  EXPECT_EQ(state.CurrentScene, 0);
  EXPECT_EQ(state.PreviousScene, 0);
  EXPECT_EQ(state.HomeScene, 0);
  EXPECT_FALSE(state.UnsavedGame);
  EXPECT_FALSE(state.events);
  EXPECT_TRUE(state.temps.Empty());
  EXPECT_EQ(state.goods.Count(5), 0);
  EXPECT_EQ(state.party.MemberCount(), 0);
  EXPECT_TRUE(state.party.CompanionSlotsFull());
  state.StartNewGame();
  EXPECT_TRUE(state.UnsavedGame);
  ASSERT_TRUE(state.events);
  EXPECT_EQ(state.events->Lines(), (LineList{"[EVENTS]", "", "[FOODS]", ""}));
}

TEST(GameStateTest, GoodsCountsAreHeldAtTheirLimits) {
  struct Case {
    int32_t number, change, before, after;
  };
  const Case cases[] = {
      {5, 300, 0, 255}, {5, -300, 100, 0}, {5, 0, 100, 0}, {5, 3, 250, 253}, {1023, 1, 0, 1}, {1024, 1, 0, 0},
      {0, 1, 0, 0},
  };
  for (const Case& c : cases) {
    GoodsCounts goods;
    if (c.number > 0 && c.number < 1024) goods.Bytes()[static_cast<size_t>(c.number)] = static_cast<uint8_t>(c.before);
    goods.Change(c.number, c.change);
    EXPECT_EQ(goods.Count(c.number), c.after) << c.number << " " << c.change;
  }
}

class StateCommandsTest : public ScriptFixture {
 protected:
  int32_t Eval(std::string_view utf8) { return Script().EvalCall(Utf8ToGbk(utf8)).Number(); }
  std::string EvalText(std::string_view utf8) { return GbkToUtf8(Script().EvalCall(Utf8ToGbk(utf8)).Text()); }
};

TEST_F(StateCommandsTest, TempsSurviveOneReloadAfterAWrite) {
  ASSERT_TRUE(Run("game_page(10001)"));
  ASSERT_TRUE(Run("game_write_temp(5,3);game_reload(0)"));
  EXPECT_EQ(State().temps.Find(5), "3");
  EXPECT_EQ(State().TempsMark, 0);
  ASSERT_TRUE(Run("game_reload(0)"));
  EXPECT_FALSE(State().temps.Find(5));

  // The same through the in-place redisplay.
  ASSERT_TRUE(Run("game_write_temp_string(6,'x');game_write_factor(4);game_reload_direct(0)"));
  EXPECT_EQ(State().temps.Find(6), "x");
  EXPECT_EQ(State().Factor, 4);
  ASSERT_TRUE(Run("game_reload_direct(0)"));
  EXPECT_FALSE(State().temps.Find(6));
  EXPECT_EQ(State().Factor, 0);
}

TEST_F(StateCommandsTest, SceneWithAttributeFourKeepsTheTemps) {
  m_session.Placeholder()->SetAttributes(10002, SCENE_KEEPS_TEMPS);
  ASSERT_TRUE(Run("game_write_temp(5,3);game_page(10002);game_reload(0);game_reload(0)"));
  EXPECT_EQ(State().temps.Find(5), "3");
  ASSERT_TRUE(Run("game_page(10003)"));
  EXPECT_FALSE(State().temps.Find(5));
}

TEST_F(StateCommandsTest, ScenesAndPages) {
  ASSERT_TRUE(Run("game_weather(3);game_page(10001)"));
  EXPECT_EQ(State().CurrentScene, 10001);
  EXPECT_EQ(State().Weather, 0);
  EXPECT_EQ(m_browser.ElementInnerHtml("bo_1"), "10001");
  ASSERT_TRUE(Run("game_page(0)"));
  EXPECT_EQ(m_browser.PagesWritten(), 1);
  ASSERT_TRUE(Run("game_page(-1)"));
  EXPECT_EQ(State().CurrentScene, 10000);
  EXPECT_EQ(State().PreviousScene, 10001);
  ASSERT_TRUE(Run("game_page(2)"));
  EXPECT_EQ(State().CurrentScene, 10002);
  ASSERT_TRUE(Run("game_goto_oldpage(0)"));
  EXPECT_EQ(State().CurrentScene, 10000);
  ASSERT_TRUE(Run("game_show_scene(10000)"));  // the same scene: the previous one stays
  EXPECT_EQ(State().PreviousScene, 10002);
  EXPECT_EQ(Eval("game_get_pscene_id(5)"), 10005);
  EXPECT_EQ(EvalText("game_get_pscene_id_s(-1)"), "9999");

  const int32_t pages = m_browser.PagesWritten();
  ASSERT_TRUE(Run("game_direct_scene(10001)"));  // into the present document's body
  EXPECT_EQ(m_browser.PagesWritten(), pages);
  EXPECT_EQ(State().CurrentScene, 10001);
  EXPECT_NE(m_browser.BodyHtml().find("<p id=bo_1>10001</p>"), std::string::npos);
  m_browser.SetElementInnerHtml("bo_1", "kept");
  ASSERT_TRUE(Run("game_reload_chatlist(0)"));
  EXPECT_EQ(m_browser.ElementInnerHtml("bo_1"), "kept");
  EXPECT_FALSE(State().ListReload);
}

TEST_F(StateCommandsTest, NewGame) {
  int loads = 0;
  GameSession fresh(GameSessionServices{m_browser, m_prompter, m_options, m_folder, nullptr, nullptr, nullptr,
                                        [&] { ++loads; }});
  EXPECT_FALSE(fresh.State().events);
  ASSERT_TRUE(fresh.HandleGameCommand(GAME_RUN_LINK_G, 0, "game_cmd_execute('Pstart')"));
  EXPECT_EQ(loads, 1);
  EXPECT_EQ(fresh.State().CurrentScene, kFirstScene);
  EXPECT_TRUE(fresh.State().UnsavedGame);
  ASSERT_TRUE(fresh.State().events);
  EXPECT_EQ(fresh.State().events->Lines(), (LineList{"[EVENTS]", "", "[FOODS]", ""}));
  EXPECT_EQ(fresh.Script().EvalCall("game_start_now(1)").Number(), 1);  // no scene shown
  EXPECT_EQ(fresh.State().CurrentScene, kFirstScene);
  EXPECT_EQ(fresh.Script().EvalCall("game_cmd_execute('other')").Number(), 0);
}

TEST_F(StateCommandsTest, EventsBeforeTheFirstGame) {
  GameSession fresh(GameSessionServices{m_browser, m_prompter, m_options, m_folder});
  EXPECT_EQ(fresh.Script().EvalCall("game_check_scene_event(1234)").Number(), 0);
  EXPECT_EQ(fresh.Script().EvalCall("game_not_res_event(1234)").Number(), 1);
  const Status refused = fresh.HandleGameCommand(GAME_RUN_LINK_G, 0, "game_add_scene_event(1001)");
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.message(), "错误，游戏尚未开始，不能记录事件。");
}

TEST_F(StateCommandsTest, EventCommands) {
  struct Case {
    const char* text;
    int32_t expected;
  };
  const Case cases[] = {
      {"game_check_scene_event(1234)", 0},
      {"game_not_scene_event(1234)", 1},
      {"game_add_scene_event(1001)", 1},
      {"game_check_scene_event(1001)", 1},
      {"game_not_scene_event(1001)", 0},
      {"game_add_res_event(2001)", 1},
      {"game_check_res_event(2001)", 1},
      {"game_check_res_event(1001)", 0},
      {"game_write_scene_integer(1002,-1)", 1},
      {"game_read_scene_integer(1002)", 0},  // -1 reads as 0
      {"game_write_scene_integer(1003,42)", 1},
      {"game_read_scene_integer(1003)", 42},
      {"game_check_res_event_and('2001,2002')", 0},
      {"game_check_res_event_and('2001,')", 1},
      {"game_check_res_event_and('2001')", 1},
      {"game_check_res_event_and('')", 0},
      {"game_check_scene_event_and('1001,1003')", 42},  // the last value, unchanged
      {"game_check_res_event_or('2002,2001,2003')", 1},
      {"game_check_res_event_or('2002,2003,')", 0},
      {"game_not_res_event_or('2001,2002')", 1},
      {"game_not_scene_event_and('1004,1005')", 1},
      {"game_check_scene_event_or('1004,1003')", 42},
      {"game_del_scene_event(1003)", 1},
      {"game_read_scene_integer(1003)", 0},
      {"game_del_res_event(2001)", 1},
      {"game_not_res_event(2001)", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(Eval(c.text), c.expected) << c.text;
  EXPECT_TRUE(m_prompter.shown.empty());
}

TEST_F(StateCommandsTest, ReservedNumbersAreRefused) {
  State().UnsavedGame = false;
  for (const char* text : {"game_add_scene_event(1000)", "game_add_res_event(5)", "game_write_scene_integer(999,1)"}) {
    m_prompter.shown.clear();
    EXPECT_EQ(Eval(text), 0) << text;
    ASSERT_EQ(m_prompter.shown.size(), 1u) << text;
    EXPECT_EQ(m_prompter.shown[0].text, "错误，事件编号1000及以下为系统保留，请使用1000以上。");
    EXPECT_EQ(m_prompter.shown[0].caption, "错误");
    EXPECT_EQ(m_prompter.shown[0].icon, Prompter::Icon::Error);
  }
  EXPECT_FALSE(State().UnsavedGame);
  EXPECT_EQ(Eval("game_add_scene_event(1001)"), 1);
  EXPECT_TRUE(State().UnsavedGame);
}

TEST_F(StateCommandsTest, SceneStrings) {
  EXPECT_EQ(EvalText("game_read_scene_string(1234)"), "");
  EXPECT_EQ(Eval("game_write_scene_string(5,'你好')"), 1);  // no number check
  EXPECT_EQ(EvalText("game_read_scene_string(5)"), "你好");
}

TEST_F(StateCommandsTest, TempCommands) {
  struct Case {
    const char* text;
    int32_t expected;
  };
  const Case cases[] = {
      {"game_read_temp(1)", 0},          {"game_check_temp(1,0)", 0},  // absent
      {"game_write_temp(1,5)", 1},       {"game_check_temp(1,5)", 1},
      {"game_check_temp(1,6)", 0},       {"game_read_temp(1)", 5},
      {"game_write_temp_string(2,'ab')", 1}, {"game_read_temp(2)", 0},
      {"game_check_temp(2,0)", 1},       {"game_write_factor(7)", 1},
      {"game_read_factor(0)", 7},        {"game_clear_temp(0)", 1},
      {"game_read_factor(0)", 0},        {"game_read_temp(1)", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(Eval(c.text), c.expected) << c.text;
  EXPECT_EQ(State().TempsMark, 1);
  EXPECT_EQ(Eval("game_write_temp_string(7,'x')"), 1);
  EXPECT_EQ(Eval("game_write_temp_string(7,'')"), 1);
  EXPECT_FALSE(State().temps.Find(7));
  EXPECT_EQ(EvalText("game_read_temp_string(7)"), " ");
}

TEST_F(StateCommandsTest, MoneyGoodsAndNumbers) {
  struct Case {
    const char* text;
    int32_t expected;
  };
  const Case cases[] = {
      {"game_get_money(0)", 0},
      {"game_check_money(0)", 1},
      {"game_check_money(-5)", 1},
      {"game_check_money(1)", 0},
      {"game_change_money(100)", 1},
      {"game_get_money(0)", 0},  // the party table has no members
      {"game_goods_change(5,300)", 1},
      {"game_goods_change(1024,1)", 1},
      {"game_true(0)", 0},
      {"game_true(-3)", 1},
      {"game_integer_comp(3,'<=',3)", 1},
      {"game_integer_comp(3,'!=',4)", 0},
      {"game_integer_comp(3,'<>',4)", 1},
      {"game_integer_comp(5,'>=',4)", 1},
      {"game_integer_comp(5,'<',4)", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(Eval(c.text), c.expected) << c.text;
  EXPECT_EQ(State().goods.Count(5), 255);
  EXPECT_EQ(EvalText("game_inttostr(-42)"), "-42");
}

TEST_F(StateCommandsTest, MessageBoxesAndPageElements) {
  m_prompter.answers = {Prompter::Answer::No};
  EXPECT_EQ(Eval("game_question('继续？')"), 0);
  EXPECT_EQ(Eval("game_question('继续？')"), 1);
  EXPECT_EQ(Eval("game_infobox('好')"), 1);
  ASSERT_EQ(m_prompter.shown.size(), 3u);
  EXPECT_EQ(m_prompter.shown[0].caption, "询问");
  EXPECT_EQ(m_prompter.shown[0].icon, Prompter::Icon::Question);
  EXPECT_EQ(m_prompter.shown[2].text, "好");
  EXPECT_EQ(m_prompter.shown[2].caption, "dizavi");

  EXPECT_EQ(Eval("game_inner_html(1,'<b>x</b>')"), 0);  // no document yet
  m_browser.WritePage("<html><body><p id=\"bo_1\">old</p><div id=layer_chat1><span id=cell_chat1>t</span></div></body></html>");
  EXPECT_EQ(Eval("game_inner_html(1,'<b>x</b>')"), 1);
  EXPECT_EQ(m_browser.ElementInnerHtml("bo_1"), "<b>x</b>");
  EXPECT_EQ(Eval("game_inner_html(2,'<b>x</b>')"), 0);
  EXPECT_EQ(Eval("game_chat_cleans(0)"), 1);
  EXPECT_EQ(m_browser.ElementInnerHtml("cell_chat1"), "&nbsp;");
  EXPECT_EQ(m_browser.ElementStyle("layer_chat1", "display"), "none");
}

}  // namespace
}  // namespace duvelin
