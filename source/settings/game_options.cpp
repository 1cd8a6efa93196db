#include "settings/game_options.h"

namespace duvelin {
namespace {

// Bytes of the GBK (GB18030) character that starts at `text[i]`.
size_t CharacterLength(std::string_view text, size_t i) {
  auto byte = [&](size_t at) { return static_cast<unsigned char>(text[at]); };
  unsigned char lead = byte(i);
  if (lead < 0x81 || lead == 0xFF || i + 1 >= text.size()) return 1;
  unsigned char second = byte(i + 1);
  if (second >= 0x30 && second <= 0x39 && i + 3 < text.size()) return 4;
  return 2;
}

}  // namespace

std::string CutText(std::string_view text, size_t maxLength) {
  if (text.size() <= maxLength) return std::string(text);
  size_t end = 0;
  while (end < text.size()) {
    size_t next = end + CharacterLength(text, end);
    if (next > maxLength) break;
    end = next;
  }
  return std::string(text.substr(0, end));
}

TGameOptions& GameOptions() {
  static TGameOptions options;
  return options;
}

}  // namespace duvelin
