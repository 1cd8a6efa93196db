// One game as the main window holds it: the game state, the command table with the core
// commands, the interpreter and the notice handler, wired to the browser, the prompter, the
// options and the program folder the caller gives. The main window (and duvelin-tool) make one;
// further commands register into Commands(). A scene loader may be given; without one, the
// placeholder pages stand in.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "common/program_folder.h"
#include "common/prompter.h"
#include "common/result.h"
#include "common/scheduler.h"
#include "script/browser/browser.h"
#include "script/command_table.h"
#include "script/core_commands.h"
#include "script/game_command_handler.h"
#include "script/game_state.h"
#include "script/interpreter.h"
#include "script/scene_pages.h"

namespace duvelin {

struct TGameOptions;
class BattleRunner;

struct GameSessionServices {
  Browser& browser;
  Prompter& prompter;
  TGameOptions& options;
  const ProgramFolder& folder;
  Scheduler* scheduler = nullptr;   // for the advertisement row's second look
  ScenePages* scenes = nullptr;     // none: PlaceholderScenePages
  BattleRunner* battles = nullptr;  // none: battles yield 0
  std::function<void()> loadGoodsCatalogue = {};
  std::function<void()> openSaveWindow = {};
};

class GameSession {
 public:
  explicit GameSession(const GameSessionServices& services);
  GameSession(const GameSession&) = delete;
  GameSession& operator=(const GameSession&) = delete;

  GameState& State() { return m_state; }
  CommandTable& Commands() { return m_commands; }
  Interpreter& Script() { return m_interpreter; }
  CoreCommands& Core() { return m_core; }
  GameCommandHandler& Notices() { return m_handler; }
  // The placeholder scene loader, when no loader was given.
  PlaceholderScenePages* Placeholder() { return m_placeholder.get(); }

  // The main window's handler of MSG_GAME_COMMAND: see GameCommandHandler::Handle.
  Status HandleGameCommand(intptr_t code, intptr_t lParam, std::string_view pendingLink) {
    return m_handler.Handle(code, lParam, pendingLink);
  }

 private:
  GameState m_state;
  CommandTable m_commands;
  Interpreter m_interpreter;
  std::unique_ptr<PlaceholderScenePages> m_placeholder;
  CoreCommands m_core;
  GameCommandHandler m_handler;
};

}  // namespace duvelin
