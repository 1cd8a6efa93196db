#include "shell/tray_rules.h"

#include "common/private_messages.h"

namespace duvelin {

MinimiseKind MinimiseKindFor(const GeneralOptions& options) {
  return options.desktop_word ? MinimiseKind::ToTray : MinimiseKind::Normal;
}

TrayRequest TrayRequestFor(intptr_t mouseMessage, bool minimised) {
  switch (mouseMessage) {
    case TRAY_LEFT_DOWN: return TrayRequest::Restore;
    case TRAY_LEFT_DOUBLE_CLICK: return minimised ? TrayRequest::Restore : TrayRequest::None;
    case TRAY_RIGHT_DOWN: return TrayRequest::ShowMenu;
    default: return TrayRequest::None;
  }
}

std::string TrayTip(std::string_view utf8Title) {
  size_t characters = 0;
  for (size_t i = 0; i < utf8Title.size(); ++i) {
    // A character starts at every byte that is not a continuation byte.
    if ((static_cast<unsigned char>(utf8Title[i]) & 0xC0) == 0x80) continue;
    if (characters == kTrayTipMaxCharacters) return std::string(utf8Title.substr(0, i));
    ++characters;
  }
  return std::string(utf8Title);
}

}  // namespace duvelin
