// Minimising into the notification area: whether a minimise goes to the tray (with the desktop
// word trainer on top) or stays an ordinary one, what each mouse message that MSG_TRAY_NOTIFY
// carries asks for, and the tray icon's tip. The main window does the work.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/game_options.h"

namespace duvelin {

enum class MinimiseKind { Normal, ToTray };

// To the tray only while the minimise-to-trainer option (desktop_word) is on.
MinimiseKind MinimiseKindFor(const GeneralOptions& options);

enum class TrayRequest { None, Restore, ShowMenu };

// 513 (left button down) restores; 515 (double click) restores only while the program is
// minimised; 516 (right button down) opens the shared menu at the mouse; anything else nothing.
TrayRequest TrayRequestFor(intptr_t mouseMessage, bool minimised);

inline constexpr size_t kTrayTipMaxCharacters = 63;

// The application title cut to the tip's 63 characters, never inside a character (UTF-8).
std::string TrayTip(std::string_view utf8Title);

}  // namespace duvelin
