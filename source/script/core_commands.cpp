#include "script/core_commands.h"

#include "common/gbk_text.h"
#include "common/settings_file.h"
#include "content/protected_text.h"
#include "script/battle_runner.h"
#include "script/event_store.h"
#include "script/game_state.h"
#include "script/interpreter.h"
#include "script/scene_pages.h"
#include "script/script_error.h"
#include "settings/game_options.h"

namespace duvelin {
namespace {

using Args = CommandArguments;

ScriptValue Flag(bool on) { return on ? 1 : 0; }

enum class ListForm { And, Or };

// The list forms of the event checks: the stem applied to each number of a "," list.
ScriptValue ApplyToList(const std::optional<std::string>& list, ListForm form,
                        const std::function<int32_t(int32_t)>& stem) {
  if (!list) return 0;
  std::string_view rest = *list;
  for (size_t comma = rest.find(',', 1); comma != std::string_view::npos; comma = rest.find(',', 1)) {
    const int32_t value = stem(ParseInteger(rest.substr(0, comma)).value_or(0));
    if (form == ListForm::And && value == 0) return 0;
    if (form == ListForm::Or && value == 1) return 1;
    rest.remove_prefix(comma + 1);
  }
  if (rest.empty()) return form == ListForm::And ? 1 : 0;
  return stem(ParseInteger(rest).value_or(0));
}

}  // namespace

void CoreCommands::Register(CommandTable& table) {
  RegisterScenes(table);
  RegisterEvents(table);
  RegisterTemps(table);
  RegisterGoodsAndMoney(table);
  RegisterPageAndMessages(table);
  RegisterNumbers(table);
  RegisterBattles(table);
}

// --- Scenes -----------------------------------------------------------------------------------

std::string CoreCommands::EnterScene(int32_t number) {
  GameState& state = m_services.state;
  if (number != state.CurrentScene) {
    state.PreviousScene = state.CurrentScene;
    state.CurrentScene = number;
  }
  state.Weather = 0;
  return JoinLinesCrLf(m_services.scenes.LoadScene(number));
}

int32_t CoreCommands::ShowScene(int32_t number) {
  m_services.browser.WritePage(EnterScene(number));
  return 1;
}

int32_t CoreCommands::DirectScene(int32_t number) {
  const std::string page = EnterScene(number);
  if (!m_services.state.ListReload) m_services.browser.SetBodyInnerHtml(page);
  return 1;
}

int32_t CoreCommands::Page(int32_t offset) {
  if (offset > 9999) return ShowScene(offset);
  if (offset != 0) return ShowScene(m_services.state.CurrentScene + offset);
  return 1;
}

int32_t CoreCommands::Reload() {
  GameState& state = m_services.state;
  if (state.TempsMark == 1) state.TempsMark = 2;
  return ShowScene(state.CurrentScene);
}

int32_t CoreCommands::ReloadDirect() {
  GameState& state = m_services.state;
  if (state.TempsMark == 1) state.TempsMark = 2;
  state.DirectReload = true;
  return DirectScene(state.CurrentScene);
}

int32_t CoreCommands::StartNewGame(int32_t showFirstScene) {
  if (m_services.loadGoodsCatalogue) m_services.loadGoodsCatalogue();
  m_services.state.StartNewGame();
  if (showFirstScene == 0) ShowScene(kFirstScene);
  return 1;
}

void CoreCommands::RegisterScenes(CommandTable& table) {
  GameState& state = m_services.state;
  table.Add("game_show_scene", "n", [this](const Args& a) { return ShowScene(a.Integer(0)); });
  table.Add("game_page", "n", [this](const Args& a) { return Page(a.Integer(0)); });
  table.Add("game_direct_scene", "n", [this](const Args& a) { return DirectScene(a.Integer(0)); });
  table.Add("game_direct_page", "n", [this](const Args& a) {
    HideChatLayer();
    return DirectScene(a.Integer(0));
  });
  table.Add("game_reload", "", [this](const Args&) { return Reload(); });
  table.Add("game_reload_direct", "", [this](const Args&) { return ReloadDirect(); });
  table.Add("game_reload_chatlist", "", [this, &state](const Args&) {
    // Cleared again also when the load fails, or every later redisplay would write nothing.
    struct ListReloadScope {
      bool& flag;
      ~ListReloadScope() { flag = false; }
    } scope{state.ListReload};
    state.ListReload = true;
    return DirectScene(state.CurrentScene);
  });
  table.Add("game_goto_oldpage", "", [this, &state](const Args&) { return Page(state.PreviousScene); });
  table.Add("game_get_pscene_id", "n", [&state](const Args& a) { return ScriptValue(state.CurrentScene + a.Integer(0)); });
  table.Add("game_get_pscene_id_s", "n", [this, &state](const Args& a) {
    return m_services.interpreter.SetOwnTextResult("game_get_pscene_id_s",
                                                   std::to_string(int64_t{state.CurrentScene} + a.Integer(0)));
  });
  table.Add("game_start_now", "n", [this](const Args& a) { return StartNewGame(a.Integer(0)); });
  table.Add("game_cmd_execute", "t", [this](const Args& a) -> ScriptValue {
    const std::string name = a.TextOrEmpty(0);
    if (name == "Pstart") return StartNewGame(0);
    if (name == "Psave") {
      if (m_services.openSaveWindow) m_services.openSaveWindow();
      return 1;
    }
    return 0;
  });
  table.Add("game_weather", "n", [&state](const Args& a) {
    state.Weather = a.Integer(0);
    return 1;
  });
  table.Add("game_run_off_no", "n", [&state](const Args& a) {
    state.NoEscape = a.Integer(0) == 0;
    return 1;
  });
}

// --- Events -----------------------------------------------------------------------------------

EventStore& CoreCommands::StoreForWriting() {
  if (!m_services.state.events) throw ScriptError("错误，游戏尚未开始，不能记录事件。");
  return *m_services.state.events;
}

bool CoreCommands::RefuseReservedNumber(int32_t number) {
  if (number > 1000) return false;
  m_services.prompter.ShowMessage(kReservedEventMessage, "错误", Prompter::Buttons::Ok, Prompter::Icon::Error);
  return true;
}

int32_t CoreCommands::CheckResEvent(int32_t number) const {
  const auto& events = m_services.state.events;
  return events ? events->ReadInteger(kFoodsSection, number, 0) : 0;
}

int32_t CoreCommands::CheckSceneEvent(int32_t number) const {
  const auto& events = m_services.state.events;
  const int32_t value = events ? events->ReadInteger(kEventsSection, number, -1) : -1;
  return value == -1 ? 0 : value;
}

void CoreCommands::RegisterEvents(CommandTable& table) {
  GameState& state = m_services.state;
  auto adder = [this, &state](const char* section) {
    return [this, &state, section](const Args& a) -> ScriptValue {
      if (RefuseReservedNumber(a.Integer(0))) return 0;
      StoreForWriting().WriteInteger(section, a.Integer(0), 1);
      state.UnsavedGame = true;
      return 1;
    };
  };
  table.Add("game_add_res_event", "n", adder(kFoodsSection));
  table.Add("game_add_scene_event", "n", adder(kEventsSection));

  auto checkRes = [this](int32_t n) { return CheckResEvent(n); };
  auto notRes = [this](int32_t n) { return CheckResEvent(n) == 0 ? 1 : 0; };
  auto checkScene = [this](int32_t n) { return CheckSceneEvent(n); };
  auto notScene = [this](int32_t n) { return CheckSceneEvent(n) == 0 ? 1 : 0; };
  table.Add("game_check_res_event", "n", [checkRes](const Args& a) { return ScriptValue(checkRes(a.Integer(0))); });
  table.Add("game_check_scene_event", "n", [checkScene](const Args& a) { return ScriptValue(checkScene(a.Integer(0))); });
  table.Add("game_read_scene_integer", "n", [checkScene](const Args& a) { return ScriptValue(checkScene(a.Integer(0))); });
  table.Add("game_not_res_event", "n", [notRes](const Args& a) { return ScriptValue(notRes(a.Integer(0))); });
  table.Add("game_not_scene_event", "n", [notScene](const Args& a) { return ScriptValue(notScene(a.Integer(0))); });

  struct ListCommand {
    const char* name;
    std::function<int32_t(int32_t)> stem;
    ListForm form;
  };
  const ListCommand lists[] = {
      {"game_check_res_event_and", checkRes, ListForm::And},   {"game_not_res_event_and", notRes, ListForm::And},
      {"game_check_scene_event_and", checkScene, ListForm::And}, {"game_not_scene_event_and", notScene, ListForm::And},
      {"game_check_res_event_or", checkRes, ListForm::Or},     {"game_not_res_event_or", notRes, ListForm::Or},
      {"game_check_scene_event_or", checkScene, ListForm::Or},  {"game_not_scene_event_or", notScene, ListForm::Or},
  };
  for (const ListCommand& list : lists) {
    table.Add(list.name, "t", [stem = list.stem, form = list.form](const Args& a) {
      return ApplyToList(a.Text(0), form, stem);
    });
  }

  table.Add("game_del_res_event", "n", [&state](const Args& a) {
    if (state.events) state.events->Delete(kFoodsSection, a.Integer(0));
    return 1;
  });
  table.Add("game_del_scene_event", "n", [&state](const Args& a) {
    if (state.events) state.events->Delete(kEventsSection, a.Integer(0));
    return 1;
  });
  table.Add("game_write_scene_integer", "na", [this, &state](const Args& a) -> ScriptValue {
    if (RefuseReservedNumber(a.Integer(0))) return 0;
    StoreForWriting().WriteInteger(kEventsSection, a.Integer(0), a.Integer(1));
    state.UnsavedGame = true;
    return 1;
  });
  table.Add("game_read_scene_string", "n", [this, &state](const Args& a) {
    std::string text;
    if (state.events) text = state.events->Read(kEventsSection, a.Integer(0)).value_or(std::string());
    return m_services.interpreter.SetSharedTextResult(std::move(text));
  });
  table.Add("game_write_scene_string", "nt", [this, &state](const Args& a) {
    StoreForWriting().Write(kEventsSection, a.Integer(0), a.TextOrEmpty(1));
    state.UnsavedGame = true;
    return 1;
  });
}

// --- Temps and the factor ---------------------------------------------------------------------

void CoreCommands::RegisterTemps(CommandTable& table) {
  GameState& state = m_services.state;
  table.Add("game_write_temp", "na", [&state](const Args& a) {
    state.temps.Write(a.Integer(0), std::to_string(a.Integer(1)));
    state.TempsMark = 1;
    return 1;
  });
  table.Add("game_read_temp", "n", [&state](const Args& a) { return ScriptValue(state.temps.ReadInteger(a.Integer(0))); });
  table.Add("game_check_temp", "na", [&state](const Args& a) {
    return Flag(state.temps.Find(a.Integer(0)).has_value() && state.temps.ReadInteger(a.Integer(0)) >= a.Integer(1));
  });
  table.Add("game_write_temp_string", "nt", [&state](const Args& a) {
    state.temps.Write(a.Integer(0), a.TextOrEmpty(1));
    state.TempsMark = 1;
    return 1;
  });
  table.Add("game_read_temp_string", "n", [this, &state](const Args& a) {
    return m_services.interpreter.SetSharedTextResult(state.temps.Find(a.Integer(0)).value_or(" "));
  });
  table.Add("game_clear_temp", "", [&state](const Args&) {
    state.ClearTemps();
    return 1;
  });
  table.Add("game_read_factor", "", [&state](const Args&) { return ScriptValue(state.Factor); });
  table.Add("game_write_factor", "n", [&state](const Args& a) {
    state.Factor = a.Integer(0);
    return 1;
  });
}

// --- Goods and money --------------------------------------------------------------------------

void CoreCommands::RegisterGoodsAndMoney(CommandTable& table) {
  GameState& state = m_services.state;
  table.Add("game_goods_change", "na", [&state](const Args& a) {
    state.UnsavedGame = true;
    state.goods.Change(a.Integer(0), a.Integer(1));
    return 1;
  });
  table.Add("game_get_money", "", [&state](const Args&) { return ScriptValue(state.party.Money()); });
  table.Add("game_check_money", "a", [&state](const Args& a) { return Flag(state.party.Money() >= a.Integer(0)); });
  table.Add("game_change_money", "a", [&state](const Args& a) {
    state.party.SetAttribute(0, PartyTable::kMoney, state.party.Money() + a.Integer(0));
    return 1;
  });
}

// --- The page, the chat layer and message boxes -----------------------------------------------

void CoreCommands::HideChatLayer() {
  m_services.browser.SetElementInnerHtml(kChatCellId, "&nbsp;");
  m_services.browser.SetElementStyle(kChatLayerId, "display", "none");
}

void CoreCommands::ShowChatLayer(std::string_view html) {
  m_services.browser.SetElementStyle(kChatLayerId, "display", "block");
  m_services.browser.SetElementInnerHtml(kChatCellId, html);
}

void CoreCommands::RegisterPageAndMessages(CommandTable& table) {
  Prompter& prompter = m_services.prompter;
  Browser& browser = m_services.browser;
  table.Add("game_infobox", "t", [&prompter](const Args& a) {
    prompter.ShowMessage(GbkToUtf8(a.TextOrEmpty(0)), "dizavi", Prompter::Buttons::Ok, Prompter::Icon::Information);
    return 1;
  });
  table.Add("game_question", "t", [&prompter](const Args& a) {
    return Flag(prompter.ShowMessage(GbkToUtf8(a.TextOrEmpty(0)), "询问", Prompter::Buttons::YesNo,
                                     Prompter::Icon::Question) == Prompter::Answer::Yes);
  });
  table.Add("game_inner_html", "nt", [&browser](const Args& a) {
    if (!browser.HasDocument()) return Flag(false);
    return Flag(browser.SetElementInnerHtml("bo_" + std::to_string(a.Integer(0)), a.TextOrEmpty(1)));
  });
  table.Add("game_chat_cleans", "", [this](const Args&) {
    HideChatLayer();
    return 1;
  });
  table.Add("game_chat", "t", [](const Args&) { return 1; });
  table.Add("game_include_str", "t", [this](const Args& a) {
    const GameIdCheck check{m_services.options.general.game_id, &m_services.prompter};
    const LineList lines = ReadProtectedText(m_services.folder.Resolve("dat\\" + a.TextOrEmpty(0)),
                                             PasswordKind::Derived, check);
    return m_services.interpreter.SetSharedTextResult(lines.empty() ? std::string(kNoStringFound)
                                                                    : JoinLinesCrLf(lines));
  });
}

// --- Numbers ----------------------------------------------------------------------------------

void CoreCommands::RegisterNumbers(CommandTable& table) {
  Interpreter& interpreter = m_services.interpreter;
  table.Add("game_inttostr", "n", [&interpreter](const Args& a) {
    return interpreter.SetOwnTextResult("game_inttostr", std::to_string(a.Integer(0)));
  });
  table.Add("game_true", "n", [](const Args& a) { return Flag(a.Integer(0) != 0); });
  table.Add("game_integer_comp", "atb", [](const Args& a) {
    const int32_t left = a.Integer(0), right = a.Integer(2);
    const std::string op = a.TextOrEmpty(1);
    if (op == "=") return Flag(left == right);
    if (op == ">") return Flag(left > right);
    if (op == "<") return Flag(left < right);
    if (op == "<>") return Flag(left != right);
    if (op == ">=") return Flag(left >= right);
    if (op == "<=") return Flag(left <= right);
    return Flag(false);
  });
  table.Add("game_functions_m", "t", [&interpreter](const Args& a) {
    return ScriptValue(interpreter.EvalCondition(a.TextOrEmpty(0)));
  });
}

// --- Battles ----------------------------------------------------------------------------------

void CoreCommands::RegisterBattles(CommandTable& table) {
  auto run = [this](BattleRequest request) -> ScriptValue {
    return m_services.battles ? m_services.battles->RunBattle(request) : 0;
  };
  table.Add("game_pop", "n", [run](const Args& a) { return run({1, a.Integer(0), 0, BattleOpening::Plain, {}}); });
  table.Add("game_pop_a", "n", [this, run](const Args& a) -> ScriptValue {
    const GameState& state = m_services.state;
    if (!m_services.options.quiz.mg_pop && (state.SceneAttributes & SCENE_MAZE)) {
      Browser& browser = m_services.browser;
      const int32_t top = browser.BodyScrollTop() + (browser.BodyClientHeight() - kInlineBattleHeight) / 2;
      browser.SetElementStyle(kChatLayerId, "height", std::to_string(kInlineBattleHeight) + "px");
      browser.SetElementStyle(kChatLayerId, "top", std::to_string(top) + "px");
      ShowChatLayer(m_services.battles ? m_services.battles->InlineBattleHtml(a.Integer(0)) : std::string());
      return kInlineBattleStarted;
    }
    return run({1, a.Integer(0), 0, BattleOpening::Zoom, {}});
  });
}

}  // namespace duvelin
