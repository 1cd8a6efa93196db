#include "script/game_command_handler.h"

#include <exception>
#include <memory>

#include "common/settings_file.h"
#include "script/game_state.h"
#include "script/interpreter.h"
#include "script/script_error.h"

namespace duvelin {

GameCommandHandler::GameCommandHandler(Interpreter& interpreter, GameState& state, Browser& browser, Scheduler* scheduler)
    : m_interpreter(interpreter), m_state(state), m_browser(browser), m_scheduler(scheduler) {}

GameCommandHandler::~GameCommandHandler() {
  for (Scheduler::TimerId id : m_pendingLooks) m_scheduler->Cancel(id);
}

Status GameCommandHandler::Handle(intptr_t code, intptr_t lParam, std::string_view pendingLink) {
  try {
    Dispatch(code, lParam, pendingLink);
  } catch (const ScriptError& error) {
    return Error{error.what()};
  } catch (const std::exception& error) {
    return Error{error.what()};
  }
  return Status::Ok();
}

void GameCommandHandler::Dispatch(intptr_t code, intptr_t lParam, std::string_view pendingLink) {
  switch (code) {
    case GAME_RUN_AFTER_LOAD: {
      const std::string action = m_state.afterLoadAction;  // a copy: the action may load another scene
      m_interpreter.RunStatements(action);
      return;
    }
    case GAME_RUN_NAMED: {
      const std::string name(pendingLink);
      m_interpreter.InvokeCommand("game_cmd_execute", {name.empty() ? ScriptValue(0) : ScriptValue::TextReference(name, 1)});
      return;
    }
    case GAME_RUN_LINK_G:
    case GAME_RUN_LINK_I:
      m_interpreter.RunStatements(pendingLink);
      return;
    case GAME_SHOW_SCENE:
      m_interpreter.InvokeCommand("game_show_scene", {ParseInteger(pendingLink).value_or(0)});
      return;
    case GAME_RUN_QUEUED: {
      // Taken out before it runs, so that a battle deferring again inside it keeps its own rest.
      const std::string rest = m_interpreter.TakeDeferredStatements();
      m_interpreter.RunStatements(rest);
      return;
    }
    case GAME_HIDE_AD:
      HideAdvertisementRow();
      return;
    case GAME_SHOW_AUTHORING:
      if (m_addReadingMaterial) m_addReadingMaterial();
      return;
    case GAME_RELOAD_PAGE_A:
    case GAME_RELOAD_PAGE_B:
      if (lParam == m_state.CurrentScene)
        m_interpreter.InvokeCommand("game_reload_direct", {0});
      else if (lParam == 2 * static_cast<intptr_t>(m_state.CurrentScene))
        m_interpreter.InvokeCommand("game_reload", {0});
      return;
    default:  // 31, 35 and anything else: no work
      return;
  }
}

void GameCommandHandler::HideAdvertisementRow() {
  auto hideAndCount = [this] {
    if (m_browser.HasElement(kAdvertisementFrameId)) m_browser.SetElementStyle(kAdvertisementFrameId, "display", "none");
    if (m_advertisement.count > 13)
      m_advertisement.state = 1;
    else
      m_advertisement.count += 2;
  };
  if (!m_browser.HasElement(kAdvertisementFrameId) && m_scheduler) {
    // The timer's id is known only once it is set; the task never runs before that.
    auto id = std::make_shared<Scheduler::TimerId>(0);
    *id = m_scheduler->RunAfter(kAdvertisementRetryMs, [this, id, hideAndCount] {
      std::erase(m_pendingLooks, *id);
      hideAndCount();
    });
    m_pendingLooks.push_back(*id);
    return;
  }
  hideAndCount();
}

}  // namespace duvelin
