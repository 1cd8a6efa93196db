// The core of the game's command set: moving between scenes, events and scene values, temps and
// the factor, money and goods counts, the chat layer and page elements, message boxes, texts of
// the content store and numbers, and the quiz battles. This object is the holder of the
// commands; the rest of the command set registers beside it. Scene files, battles, the goods
// catalogue and the save window are reached through the services given.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/program_folder.h"
#include "common/prompter.h"
#include "script/browser/browser.h"
#include "script/command_table.h"

namespace duvelin {

struct GameState;
struct TGameOptions;
class Interpreter;
class ScenePages;
class BattleRunner;
class EventStore;

struct CoreCommandServices {
  GameState& state;
  Interpreter& interpreter;
  Browser& browser;
  Prompter& prompter;
  TGameOptions& options;
  const ProgramFolder& folder;
  ScenePages& scenes;
  BattleRunner* battles = nullptr;                // none: battles yield 0
  std::function<void()> loadGoodsCatalogue = {};  // run when a new game starts
  std::function<void()> openSaveWindow = {};      // game_cmd_execute('Psave')
};

// Element ids of the chat layer (page composition).
inline constexpr char kChatLayerId[] = "layer_chat1";
inline constexpr char kChatCellId[] = "cell_chat1";
inline constexpr int32_t kInlineBattleHeight = 268;

// The message of the event commands for numbers up to 1000 (UTF-8).
inline constexpr char kReservedEventMessage[] = "错误，事件编号1000及以下为系统保留，请使用1000以上。";
// game_include_str's text for a missing or empty file.
inline constexpr char kNoStringFound[] = "no string find";

class CoreCommands {
 public:
  explicit CoreCommands(CoreCommandServices services) : m_services(std::move(services)) {}

  void Register(CommandTable& table);

  // The operations behind the scene commands, for the rest of the command set and the notices.
  int32_t ShowScene(int32_t number);
  int32_t DirectScene(int32_t number);
  int32_t Page(int32_t offset);
  int32_t Reload();
  int32_t ReloadDirect();
  int32_t StartNewGame(int32_t showFirstScene);
  void HideChatLayer();
  // Shows the chat layer with `html` in its cell.
  void ShowChatLayer(std::string_view html);

 private:
  // The scene numbers move on to `number` (the previous one kept when it changes), the weather
  // clears, and the scene's page is made: what showing a scene and redisplaying one share.
  std::string EnterScene(int32_t number);
  void RegisterScenes(CommandTable& table);
  void RegisterEvents(CommandTable& table);
  void RegisterTemps(CommandTable& table);
  void RegisterGoodsAndMoney(CommandTable& table);
  void RegisterPageAndMessages(CommandTable& table);
  void RegisterNumbers(CommandTable& table);
  void RegisterBattles(CommandTable& table);

  // The event store of the started game; writing before the first new game is an error.
  EventStore& StoreForWriting();
  int32_t CheckSceneEvent(int32_t number) const;
  int32_t CheckResEvent(int32_t number) const;
  bool RefuseReservedNumber(int32_t number);

  CoreCommandServices m_services;
};

}  // namespace duvelin
