// The exit dialog's buttons and what its answer means for the main window's close query:
// which buttons are shown and enabled, and whether the window closes, stays or goes to the
// tray. The dialog draws the buttons; the main window opens it and does what DecideClose says.
#pragma once

#include <array>
#include <string_view>

namespace duvelin {

inline constexpr char kExitDialogCaption[] = "退出";
inline constexpr int kExitDialogWidth = 504;
inline constexpr int kExitDialogHeight = 168;

// The dialog's results; its own close box answers GoOnLearning.
enum class ExitResult : int {
  HideToTrainer = 1,
  GoOnLearning = 2,
  SaveAndExit = 6,
  ExitAtOnce = 7,
};

struct ExitButton {
  std::string_view caption;  // UTF-8
  ExitResult result;
  bool shown;
};

// The buttons in the dialog's order.
inline constexpr std::array<ExitButton, 4> kExitButtons = {{
    {"隐藏游戏并启动桌面背单词", ExitResult::HideToTrainer, true},
    {"存盘退出", ExitResult::SaveAndExit, false},
    {"直接退出", ExitResult::ExitAtOnce, true},
    {"继续学习", ExitResult::GoOnLearning, true},
}};

// What the close query knows when it opens the dialog.
struct ExitConditions {
  bool minimiseToTrainer = false;  // the option desktop_word
  bool unsavedChanges = false;     // the game has changes that no save holds
  bool online = false;             // the player is online
};

// Hiding into the trainer needs the minimise-to-trainer option; saving needs unsaved changes
// of a player who is not online; the other two are always enabled.
bool ExitButtonEnabled(ExitResult button, const ExitConditions& conditions);

enum class CloseDecision {
  Refuse,             // the window stays
  RefuseAndMinimise,  // the window stays and is minimised, later, as the minimise button does
  SaveThenClose,      // the game is saved to slot 0, then the window closes
  Close,
};

// Result 1 minimises, 2 keeps the window, 6 saves and closes, 7 and any other result closes.
CloseDecision DecideClose(int dialogResult);

}  // namespace duvelin
