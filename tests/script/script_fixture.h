// A game session on the memory browser and the scripted prompter, with recording commands
// game_a and game_b (they yield the value set for them, or their first argument) and game_x
// (keeps its integer and its text argument), for the interpreter's tests.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/gbk_text.h"
#include "script/battle_runner.h"
#include "script/browser/memory_browser.h"
#include "script/game_session.h"
#include "script/script_error.h"
#include "settings/game_options.h"
#include "support/fake_prompter.h"
#include "support/manual_scheduler.h"
#include "support/temp_folder.h"

namespace duvelin::testing {

class ScriptedBattles final : public BattleRunner {
 public:
  int32_t result = 1;
  std::vector<BattleRequest> requests;
  int32_t RunBattle(const BattleRequest& request) override {
    requests.push_back(request);
    return result;
  }
  std::string InlineBattleHtml(int32_t parameter) override { return "<b>battle " + std::to_string(parameter) + "</b>"; }
};

class ScriptFixture : public ::testing::Test {
 protected:
  struct Call {
    std::string name;
    int32_t number;
    std::optional<std::string> text;
    uint8_t mgPop;
  };

  ScriptFixture()
      : m_folder(m_temp.path()),
        m_session(GameSessionServices{m_browser, m_prompter, m_options, m_folder, &m_scheduler, nullptr, &m_battles}) {
    for (const char* name : {"game_a", "game_b"}) {
      m_session.Commands().Add(name, "n", [this, name](const CommandArguments& a) {
        m_calls.push_back({name, a.Integer(0), std::nullopt, m_options.quiz.mg_pop});
        auto it = m_values.find(name);
        return ScriptValue(it == m_values.end() ? a.Integer(0) : it->second);
      });
    }
    m_session.Commands().Add("game_x", "nt", [this](const CommandArguments& a) {
      m_calls.push_back({"game_x", a.Integer(0), a.Text(1), m_options.quiz.mg_pop});
      return ScriptValue(1);
    });
    m_session.State().StartNewGame();
  }

  Interpreter& Script() { return m_session.Script(); }
  GameState& State() { return m_session.State(); }

  // The names of the recorded calls, joined by blanks ("game_b(1) game_a(2)").
  std::string CallTrace() const {
    std::string trace;
    for (const Call& call : m_calls) {
      if (!trace.empty()) trace += ' ';
      trace += call.name + "(" + std::to_string(call.number) + ")";
    }
    return trace;
  }

  // Runs a UTF-8 command text as a link's notice would.
  Status Run(std::string_view utf8) { return m_session.HandleGameCommand(GAME_RUN_LINK_G, 0, Utf8ToGbk(utf8)); }

  TempFolder m_temp;
  ProgramFolder m_folder;
  MemoryBrowser m_browser;
  FakePrompter m_prompter;
  TGameOptions m_options;
  ManualScheduler m_scheduler;
  ScriptedBattles m_battles;
  GameSession m_session;
  std::vector<Call> m_calls;
  std::map<std::string, int32_t> m_values;
};

}  // namespace duvelin::testing
