// The program's private window messages. Work that arises inside an event of the browser or
// the speech engine is posted as one of these and done later on the main thread. Numbers and
// codes are those the rest of the system (and other programs posting codes 1086/1087) know.
#pragma once

#include <cstdint>

namespace duvelin {

constexpr uint32_t MSG_GAME_COMMAND = 0x7FB8;   // to the main window; wParam a code below
constexpr uint32_t MSG_TRAY_NOTIFY = 0x7EA;     // to the main window; lParam a mouse message
constexpr uint32_t MSG_SPEECH_DONE = 0x7527;    // to the desktop word trainer; wParam 1022
constexpr uint32_t MSG_POP_ASK = 0x7FB7;        // battle window to itself; wParam 6, lParam 8
constexpr uint32_t MSG_ENGINE_EVENT = 0x6A13;   // engine thread to the battle window; lParam 999
constexpr uint32_t MSG_MUSIC_CONTROL = 0x6513;  // to the music player thread

constexpr intptr_t SPEECH_DONE_WPARAM = 1022;

// Codes of MSG_GAME_COMMAND.
enum GameCommandCode : intptr_t {
  GAME_RUN_AFTER_LOAD = 29,    // the scene's after-load command text
  GAME_RUN_NAMED = 30,         // "Pstart" / "Psave"
  GAME_NO_WORK_D = 31,         // a link beginning with "D"; no work
  GAME_RUN_LINK_G = 32,        // a link beginning with "g"
  GAME_RUN_LINK_I = 33,        // a link beginning with "i"
  GAME_SHOW_SCENE = 34,        // a five-character link: a scene number
  GAME_NO_WORK_35 = 35,
  GAME_RUN_QUEUED = 36,        // a command text queued by the battle window
  GAME_HIDE_AD = 37,           // hide the advertisement layer
  GAME_SHOW_AUTHORING = 38,    // show the authoring window
  GAME_RELOAD_PAGE_A = 1086,   // reload the current page (lParam the page number or twice it)
  GAME_RELOAD_PAGE_B = 1087,
};

// Mouse messages carried in MSG_TRAY_NOTIFY's lParam.
constexpr intptr_t TRAY_LEFT_DOWN = 513;
constexpr intptr_t TRAY_LEFT_DOUBLE_CLICK = 515;
constexpr intptr_t TRAY_RIGHT_DOWN = 516;

// The windows that receive private messages.
enum class MessageTarget { MainWindow, Trainer, BattleWindow, MusicPlayer };

struct PrivateMessage {
  uint32_t number = 0;
  intptr_t wParam = 0;
  intptr_t lParam = 0;
  friend bool operator==(const PrivateMessage&, const PrivateMessage&) = default;
};

// Posts a private message to a window; it is handled later, on the main thread.
class MessagePoster {
 public:
  virtual ~MessagePoster() = default;
  virtual void Post(MessageTarget target, PrivateMessage message) = 0;
};

}  // namespace duvelin
