// The command language: calls, arguments, tails, statement lists, if-blocks, conditions, text
// expansion and page texts, on a real game session with recording commands.
#include <gtest/gtest.h>

#include "script/game_state.h"
#include "script_fixture.h"

namespace duvelin {
namespace {

using testing::ScriptFixture;

class EvalCallTest : public ScriptFixture {};

TEST_F(EvalCallTest, ValuesAndCalls) {
  struct Case {
    const char* text;
    std::map<std::string, int32_t> values;  // what game_a / game_b yield (else their argument)
    int32_t expected;
    const char* trace;
  };
  const Case cases[] = {
      {"game_a()", {}, 0, ""},                       // no argument: not called
      {"game_a( )", {}, 0, ""},
      {"game_a(0)", {}, 0, "game_a(0)"},
      {"game_a(5)", {}, 5, "game_a(5)"},
      {"GAME_A(5)", {}, 5, "game_a(5)"},            // names ignore letter case
      {"  game_a( 5 ) ", {}, 5, "game_a(5)"},
      {"not game_a(0)", {}, 1, "game_a(0)"},
      {"not game_a(3)", {}, 0, "game_a(3)"},
      {"game_a(1)/game_b(1)", {{"game_a", 0}}, 0, "game_a(1)"},  // b never called
      {"game_a(7)/2", {}, 3, "game_a(7)"},
      {"game_a(-7)/2", {}, -3, "game_a(-7)"},
      {"game_a(2)*game_b(5)+3", {}, 16, "game_a(2) game_b(5)"},  // a * (b + 3)
      {"game_a(2) - game_b(5) - 1", {}, -2, "game_a(2) game_b(5)"},  // a - (b - 1)
      {"game_a(2)*5*2", {}, 0, "game_a(2)"},       // "5*2" is no number
      {"game_a(2)+ 3", {}, 5, "game_a(2)"},
      {"game_a(2) % 3", {}, 2, "game_a(2)"},       // other tails are ignored
      {"game_a(game_b(4))", {}, 4, "game_b(4) game_a(4)"},
      {"game_a(game_b(1)+game_b(2))", {}, 3, "game_b(1) game_b(2) game_a(3)"},
      {"game_a(game_b(4)", {}, 4, "game_b(4) game_a(4)"},  // one "(" left open: the end closes
      {"game_a(((4)", {}, 0, ""},                          // more left open: no argument
      {"Dgame_a(1)", {}, 1, ""},
      {"x", {}, 0, ""},
      {"", {}, 0, ""},
      {"game_a(2147483647)+1", {}, -2147483647 - 1, "game_a(2147483647)"},
  };
  for (const Case& c : cases) {
    m_calls.clear();
    m_values = c.values;
    EXPECT_EQ(Script().EvalCall(c.text).Number(), c.expected) << c.text;
    EXPECT_EQ(CallTrace(), c.trace) << c.text;
  }
}

TEST_F(EvalCallTest, TextArguments) {
  State().temps.Write(5, "abc");
  State().temps.Write(6, "7");
  struct Case {
    const char* text;
    std::optional<std::string> received;
  };
  const Case cases[] = {
      {"game_x(1,'abc')", "abc"},
      {"game_x(1,^Hello^)", "Hello"},
      {"game_x(1,'^Hello^')", "'Hello'"},
      {"game_x(1,'')", std::nullopt},  // the null reference
      {"game_x(1,'a, b')", "a, b"},
      {"game_x(1,'it''s')", "it''s"},
      {"game_x(1,'<a href=\"game_page(2)\">go</a>')", "<a href=\"game_page(2)\">go</a>"},
      {"game_x(1,'<a href=game_page(2)>go</a>')", "<a href=game_page(2)>go</a>"},
      {"game_x(1,'n=string game_read_temp_string(5)')", "n=abc"},
      {"game_x(1,'v game_read_temp(6)!')", "v 7!"},
      {"game_x(1,'string game_read_temp(6)')", "7"},
      {"game_x(1,game_inttostr(42))", "42"},
      {"game_x(1,12)", "12"},     // an integer read as text: its decimal text
      {"game_x(1,0)", std::nullopt},
      {"game_x(1)", std::nullopt},  // a missing argument
  };
  for (const Case& c : cases) {
    m_calls.clear();
    EXPECT_EQ(Script().EvalCall(Utf8ToGbk(c.text)).Number(), 1) << c.text;
    ASSERT_EQ(m_calls.size(), 1u) << c.text;
    EXPECT_EQ(m_calls[0].text, c.received) << c.text;
  }
}

TEST_F(EvalCallTest, ChineseTextKeepsItsBytes) {
  // The second byte of 乗 (0x81 0x5E) is "^" and must not turn into an apostrophe.
  const std::string text = std::string("game_x(1,'") + "\x81\x5E" + Utf8ToGbk("中文") + "^')";
  Script().EvalCall(text);
  ASSERT_EQ(m_calls.size(), 1u);
  EXPECT_EQ(m_calls[0].text, std::string("\x81\x5E") + Utf8ToGbk("中文") + "'");
}

TEST_F(EvalCallTest, Errors) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"game_x(1, 'abc')", "''abc'' is not a valid integer value"},
      {"game_a(abc)", "'abc' is not a valid integer value"},
      {"game_a(1,)", "'' is not a valid integer value"},
      {"game_nothing(1)", "在 TForm1 内的函数: game_nothing 不存在。"},
      {"not  game_a(1)", "在 TForm1 内的函数:  game_a 不存在。"},
      {"game_a(4)/0", "Division by zero"},
      {"game_x(1,'string game_read_temp(6')", "错误，函数game_read_temp(6缺少右括号。"},
  };
  for (const Case& c : cases) {
    m_calls.clear();
    try {
      Script().EvalCall(c.text);
      ADD_FAILURE() << c.text << " did not fail";
    } catch (const ScriptError& error) {
      EXPECT_STREQ(error.what(), c.message) << c.text;
    }
  }
}

TEST_F(EvalCallTest, CallWithoutParenthesisShowsTheMessage) {
  EXPECT_EQ(Script().EvalCall("game_reload").Number(), 0);
  ASSERT_EQ(m_prompter.shown.size(), 1u);
  EXPECT_EQ(m_prompter.shown[0].text, "错误，函数game_reload的参数不存在。");
  EXPECT_EQ(m_prompter.shown[0].caption, "错误");
  EXPECT_EQ(m_prompter.shown[0].icon, Prompter::Icon::Error);
}

TEST_F(EvalCallTest, NoCommandTableIsTheObjectError) {
  Script().SetCommandTable(nullptr);
  EXPECT_THROW(
      {
        try {
          Script().EvalCall("game_a(1)");
        } catch (const ScriptError& error) {
          EXPECT_STREQ(error.what(), "对象参数错误！");
          throw;
        }
      },
      ScriptError);
}

TEST_F(EvalCallTest, NestingIsBounded) {
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "game_a(";
  deep += "1";
  for (int i = 0; i < 5000; ++i) deep += ")";
  EXPECT_THROW(Script().EvalCall(deep), ScriptError);
  // A text whose expansion brings itself back stops as well.
  State().temps.Write(1, "string game_read_temp_string(1)");
  EXPECT_THROW(Script().EvalCall("game_x(1,'string game_read_temp_string(1)')"), ScriptError);
  // And the interpreter is usable afterwards.
  EXPECT_EQ(Script().EvalCall("game_a(3)").Number(), 3);
}

class RunStatementsTest : public ScriptFixture {};

TEST_F(RunStatementsTest, ListsStopAtZero) {
  struct Case {
    const char* text;
    std::map<std::string, int32_t> values;
    const char* trace;
  };
  const Case cases[] = {
      {"game_a(1);game_b(2)", {}, "game_a(1) game_b(2)"},
      {"game_a(1);game_b(2);", {}, "game_a(1) game_b(2)"},
      {"  game_a(1) ; game_b(2)  ", {}, "game_a(1) game_b(2)"},
      {"game_a(0);game_b(2)", {}, "game_a(0)"},
      {"game_a(1);;game_b(2)", {}, "game_a(1)"},  // an empty statement stops the list too
      {"game_a(1);Dnothing;game_b(2)", {}, "game_a(1) game_b(2)"},
      {"game_a(1);game_b(game_a(3));game_b(4)", {{"game_b", 0}}, "game_a(1) game_a(3) game_b(3)"},
      {"game_x(1,'a%20b');game_b(1)", {}, "game_x(1) game_b(1)"},
      {"", {}, ""},
  };
  for (const Case& c : cases) {
    m_calls.clear();
    m_values = c.values;
    Script().RunStatements(c.text);
    EXPECT_EQ(CallTrace(), c.trace) << c.text;
  }
}

TEST_F(RunStatementsTest, BlanksAreDecodedAndQuotedSemicolonsEndStatements) {
  Script().RunStatements("game_x(1,'a%20b')");
  ASSERT_EQ(m_calls.size(), 1u);
  EXPECT_EQ(m_calls[0].text, "a b");
  m_calls.clear();
  // The ";" inside the quotes ends the statement: "game_x(1,'a" runs with the end closing it
  // (its text argument is the null text), then "b')" has no parenthesis.
  Script().RunStatements("game_x(1,'a;b')");
  ASSERT_EQ(m_calls.size(), 1u);
  EXPECT_EQ(m_calls[0].text, std::nullopt);
  ASSERT_EQ(m_prompter.shown.size(), 1u);
  EXPECT_EQ(m_prompter.shown[0].text, "错误，函数b')的参数不存在。");
}

TEST_F(RunStatementsTest, PurchaseIsGuarded) {
  ASSERT_TRUE(Run("game_check_money(100);game_change_money(-100);game_goods_change(12,1)"));
  EXPECT_EQ(State().goods.Count(12), 0);
  ASSERT_TRUE(Run("game_check_money(0);game_goods_change(12,1)"));
  EXPECT_EQ(State().goods.Count(12), 1);
}

TEST_F(RunStatementsTest, ConditionsSeeTheStateBeforeTheList) {
  ASSERT_TRUE(Run("game_write_temp(1,5);if game_check_temp(1,5) then game_write_temp(2,1) else game_write_temp(2,0) end"));
  EXPECT_EQ(State().temps.Find(2), "0");
  ASSERT_TRUE(Run("if game_check_temp(1,5) then game_write_temp(2,1) else game_write_temp(2,0) end"));
  EXPECT_EQ(State().temps.Find(2), "1");
}

TEST_F(RunStatementsTest, AnErrorAbandonsTheRestAndKeepsWhatRan) {
  const Status status = Run("game_write_temp(1,1);game_nothing(1);game_write_temp(2,2)");
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.message(), "在 TForm1 内的函数: game_nothing 不存在。");
  EXPECT_EQ(State().temps.Find(1), "1");
  EXPECT_FALSE(State().temps.Find(2));
}

TEST_F(RunStatementsTest, ObserverSeesEveryStatement) {
  std::vector<std::string> seen;
  Script().SetStatementObserver([&](std::string_view statement, const ScriptValue& value) {
    seen.push_back(std::string(statement) + "=" + (value.IsText() ? "'" + value.Text() + "'" : value.Text()));
  });
  Script().RunStatements(" game_a(2) ;game_inttostr(7);game_a(0);game_a(1)");
  EXPECT_EQ(seen, (std::vector<std::string>{"game_a(2)=2", "game_inttostr(7)='7'", "game_a(0)="}));
}

TEST_F(RunStatementsTest, InlineBattleDefersTheRest) {
  State().SceneAttributes = SCENE_MAZE;
  m_browser.WritePage("<html><body><div id=layer_chat1><table><tr><td id=cell_chat1></td></tr></table></div></body></html>");
  m_browser.SetViewport(600, 100);
  State().CurrentScene = 10001;
  ASSERT_TRUE(Run("game_pop_a(3);game_page(4);game_write_temp(1,1)"));
  EXPECT_EQ(State().CurrentScene, 10001);  // not yet
  EXPECT_EQ(Script().DeferredStatements(), "game_page(4);game_write_temp(1,1);");
  EXPECT_EQ(m_browser.ElementInnerHtml("cell_chat1"), "<b>battle 3</b>");
  EXPECT_EQ(m_browser.ElementStyle("layer_chat1", "display"), "block");
  EXPECT_EQ(m_browser.ElementStyle("layer_chat1", "height"), "268px");
  EXPECT_EQ(m_browser.ElementStyle("layer_chat1", "top"), "266px");  // 100 + (600 - 268) / 2
  EXPECT_TRUE(m_battles.requests.empty());

  ASSERT_TRUE(m_session.HandleGameCommand(GAME_RUN_QUEUED, 0, ""));
  EXPECT_EQ(State().CurrentScene, 10005);
  EXPECT_EQ(State().temps.Find(1), "1");
  EXPECT_EQ(Script().DeferredStatements(), "");
}

TEST_F(RunStatementsTest, BattleWindowWhenPopIsOnOrNotAMaze) {
  struct Case {
    uint8_t mgPop;
    int32_t attributes;
  };
  for (const Case c : {Case{1, SCENE_MAZE}, Case{0, SCENE_DEFAULT}}) {
    m_options.quiz.mg_pop = c.mgPop;
    State().SceneAttributes = c.attributes;
    m_battles.requests.clear();
    m_calls.clear();
    ASSERT_TRUE(Run("game_pop_a(3);game_a(1)"));
    ASSERT_EQ(m_battles.requests.size(), 1u);
    EXPECT_EQ(m_battles.requests[0].opening, BattleOpening::Zoom);
    EXPECT_EQ(CallTrace(), "game_a(1)");
  }
}

TEST_F(RunStatementsTest, DeferredRestIsCutAt1024) {
  State().SceneAttributes = SCENE_MAZE;
  std::string list = "game_pop_a(1);";
  while (list.size() < 3000) list += "game_a(1);";
  Script().RunStatements(list);
  EXPECT_EQ(Script().DeferredStatements(), list.substr(14, 1024));
}

TEST_F(RunStatementsTest, ADeferralInsideTheDeferredRestSurvives) {
  State().SceneAttributes = SCENE_MAZE;
  Script().RunStatements("game_pop_a(1);game_pop_a(2);game_a(9)");
  ASSERT_TRUE(m_session.HandleGameCommand(GAME_RUN_QUEUED, 0, ""));
  EXPECT_EQ(Script().DeferredStatements(), "game_a(9);");
  ASSERT_TRUE(m_session.HandleGameCommand(GAME_RUN_QUEUED, 0, ""));
  EXPECT_EQ(CallTrace(), "game_a(9)");
}

class ResolveIfBlocksTest : public ScriptFixture {};

TEST_F(ResolveIfBlocksTest, TakenBranchStays) {
  struct Case {
    const char* text;
    bool temp3, temp4;
    const char* expected;
  };
  const char* ifElse = "if game_check_temp(3,1) then game_page(2) else game_page(5) end";
  const char* nested =
      "if game_check_temp(3,1) then if game_check_temp(4,1) then game_b(1) else game_b(2) end else game_b(3) end";
  const Case cases[] = {
      {ifElse, true, false, "game_page(2)"},
      {ifElse, false, false, "game_page(5)"},
      {"if game_check_temp(3,1) then game_page(2) end", false, false, ""},
      {"if game_check_temp(3,1) then game_page(2) end;game_a(1)", true, false, "game_page(2) ;game_a(1)"},
      {"game_a(1);if game_check_temp(3,1) then game_b(2) end;game_b(3)", false, false, "game_a(1);;game_b(3)"},
      {"game_a(1);if game_check_temp(3,1) then game_b(2) end;game_b(3)", true, false, "game_a(1); game_b(2) ;game_b(3)"},
      {nested, true, true, "game_b(1)"},
      {nested, true, false, "game_b(2)"},
      {nested, false, true, "game_b(3)"},
      {"if game_check_temp(3,1) then game_a(1) end;if game_check_temp(4,1) then game_b(1) else game_b(2) end",
       true, false, "game_a(1) ; game_b(2)"},
      {"if game_check_temp(3,1) then game_b(1)", true, false, "game_b(1)"},  // no "end": the text ends it
      {"if game_check_temp(3,1) then game_b(1)", false, false, ""},
      {"game_x(1,'if it then that end')", true, false, "game_x(1,'if it then that end')"},  // inside parentheses
      {"if game_check_temp(3,1) game_b(1)", true, false, "if game_check_temp(3,1) game_b(1)"},  // no "then"
      {"gift(1)", true, false, "gift(1)"},
      {"if game_check_temp(3,1) then game_send(1) end", true, false, "game_send(1)"},
  };
  for (const Case& c : cases) {
    State().temps.Clear();
    if (c.temp3) State().temps.Write(3, "1");
    if (c.temp4) State().temps.Write(4, "1");
    std::string text = c.text;
    Script().ResolveIfBlocks(text);
    EXPECT_EQ(text, c.expected) << c.text << " with " << c.temp3 << c.temp4;
  }
}

TEST_F(ResolveIfBlocksTest, PopIsForcedOnWhileTheConditionRuns) {
  m_options.quiz.mg_pop = 0;
  std::string text = "if game_a(1) then game_b(1) end";
  Script().ResolveIfBlocks(text);
  ASSERT_EQ(m_calls.size(), 1u);
  EXPECT_EQ(m_calls[0].mgPop, 1);
  EXPECT_EQ(m_options.quiz.mg_pop, 0);
  // Also restored when the condition fails.
  text = "if game_nothing(1) then game_b(1) end";
  EXPECT_THROW(Script().ResolveIfBlocks(text), ScriptError);
  EXPECT_EQ(m_options.quiz.mg_pop, 0);
}

class EvalConditionTest : public ScriptFixture {};

TEST_F(EvalConditionTest, Reductions) {
  struct Case {
    const char* text;
    int32_t expected;
  };
  const Case cases[] = {
      {"", 0},
      {" game_a(1)", 1},
      {" game_a(0)", 0},
      {" game_a(7)", 7},
      {" game_a(12)", 0},  // more than one digit is false
      {" game_a(3) = 3", 1},
      {" game_a(3) = 4", 0},
      {" game_a(3) <> 3", 0},
      {" game_a(2) < 3", 1},
      {" game_a(3) <= 3", 1},
      {" game_a(4) <= 3", 0},
      {" game_a(4) > 3", 1},
      {" game_a(3) >= 3", 1},
      {" game_a(2) < -1", 0},
      {" game_a(-2) < 1", 0},  // the minus sign stays beside the result: "-1" is no digit
      {" game_a(2) * game_a(3) = 6", 1},
      {" game_a(7) / game_a(2) = 3", 1},
      {" game_a(5) - game_a(3) = 2", 1},
      {" game_a(1) + game_a(1) > 1", 1},
      {"( game_a(3) = 3) and ( game_a(1) = 1)", 1},
      {"( game_a(3) = 3) AND ( game_a(1) = 2)", 0},
      {"( game_a(3) = 4) or ( game_a(1) = 1)", 1},
      {"( game_a(3) = 4) or ( game_a(1) = 2)", 0},
      {" game_a(3) = 3 and game_a(1) = 1", 0},  // without parentheses "&" goes first
      {" game_a(1) and game_a(1)", 1},
      {" game_a(1) and game_a(0)", 0},
      {" game_a(0) or game_a(1)", 1},
      {"not game_a(0)", 1},
      {"not game_a(1)", 0},
      {"not ( game_a(1) = 2)", 1},
      {"(( game_a(2) = 2) and ( game_a(3) = 3)) or ( game_a(1) = 0)", 1},
      {" game_integer_comp(3,^<=^,3)", 1},
      {" game_a(3) = 3;", 1},
      {"1", 1},
      {"x", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(Script().EvalCondition(c.text), c.expected) << c.text;
}

TEST_F(EvalConditionTest, Errors) {
  EXPECT_THROW(Script().EvalCondition(" game_a(1) / 0 = 1"), ScriptError);
  EXPECT_THROW(Script().EvalCondition(" game_a(1"), ScriptError);
}

TEST_F(EvalConditionTest, FunctionsCommandEvaluatesAConditionText) {
  EXPECT_EQ(Script().EvalCall("game_functions_m('( game_a(3) = 3) and ( game_a(2) > 1)')").Number(), 1);
}

class ExpandTextTest : public ScriptFixture {};

TEST_F(ExpandTextTest, PageTexts) {
  State().temps.Write(5, "abc");
  State().temps.Write(8, "<b>run game_write_temp(9,1)</b>");
  struct Case {
    const char* text;
    bool temp3;
    const char* expected;
  };
  const Case cases[] = {
      {"[<:game_check_temp(3,1) yes else no:>]", true, "[ yes ]"},
      {"[<:game_check_temp(3,1) yes else no:>]", false, "[ no]"},
      {"[<:game_check_temp(3,1) only:>]", false, "[]"},
      {"[<:game_check_temp(3,1) only:>]", true, "[ only]"},
      {"[<:Dtext:>]", false, "[Dtext]"},
      {"[<:if game_check_temp(3,1) then A else B end:>]", true, "[A]"},
      {"[<:if game_check_temp(3,1) then A else B end:>]", false, "[B]"},
      {"[<:game_check_temp(3,1) unclosed", true, "[<:game_check_temp(3,1) unclosed"},
      {"Hello string game_read_temp_string(5)!", false, "Hello abc!"},
      {"x;string game_read_temp_string(5);", false, "x;abc"},
      {"page: exeing game_read_temp_string(8)", false, "page: <b></b>"},
      {"page: exeing game_read_temp_string(5) and string game_read_temp_string(5)", false, "page: abc and abc"},
      {"abcd run game_write_temp(1,7)", false, "abcd "},
      {"<a href=\"game_page(2)\">go</a>", false, "<a href=\"game_page(2)\">go</a>"},
      {"run game_write_temp(1,7)", false, ""},
      {"game_write_temp(1,1) run game_write_temp(2,2)", false, "game_write_temp(1,1) run game_write_temp(2,2)"},
  };
  for (const Case& c : cases) {
    if (c.temp3)
      State().temps.Write(3, "1");
    else
      State().temps.Write(3, "");
    EXPECT_EQ(Script().ExpandPageText(c.text), c.expected) << c.text;
  }
  EXPECT_EQ(State().temps.Find(9), "1");  // the "exe" result was expanded in turn
  EXPECT_FALSE(State().temps.Find(2));    // a call at the very start stops the markers
}

TEST_F(ExpandTextTest, PageMarkersAreBounded) {
  std::string page = "page";
  for (int i = 0; i < 1000; ++i) page += " run game_a(1)";
  Script().ExpandPageText(page);
  EXPECT_EQ(m_calls.size(), 900u);
}

}  // namespace
}  // namespace duvelin
