#include "settings/font_text.h"

#include <array>
#include <cstdio>

#include "common/settings_file.h"

namespace duvelin {
namespace {

struct NamedColour {
  std::string_view name;
  ColourValue value;
};

constexpr ColourValue System(uint32_t index) { return kSystemColourFlag | index; }

// The platform's colour names, in its own order; a value with two names (clSilver and
// clLtGray) is written with the one listed here.
constexpr std::array kNamedColours = {
    NamedColour{"clBlack", 0x000000},
    NamedColour{"clMaroon", 0x000080},
    NamedColour{"clGreen", 0x008000},
    NamedColour{"clOlive", 0x008080},
    NamedColour{"clNavy", 0x800000},
    NamedColour{"clPurple", 0x800080},
    NamedColour{"clTeal", 0x808000},
    NamedColour{"clGray", 0x808080},
    NamedColour{"clSilver", 0xC0C0C0},
    NamedColour{"clRed", 0x0000FF},
    NamedColour{"clLime", 0x00FF00},
    NamedColour{"clYellow", 0x00FFFF},
    NamedColour{"clBlue", 0xFF0000},
    NamedColour{"clFuchsia", 0xFF00FF},
    NamedColour{"clAqua", 0xFFFF00},
    NamedColour{"clWhite", 0xFFFFFF},
    NamedColour{"clMoneyGreen", 0xC0DCC0},
    NamedColour{"clSkyBlue", 0xF0CAA6},
    NamedColour{"clCream", 0xF0FBFF},
    NamedColour{"clMedGray", 0xA4A0A0},
    NamedColour{"clActiveBorder", System(10)},
    NamedColour{"clActiveCaption", System(2)},
    NamedColour{"clAppWorkSpace", System(12)},
    NamedColour{"clBackground", System(1)},
    NamedColour{"clBtnFace", System(15)},
    NamedColour{"clBtnHighlight", System(20)},
    NamedColour{"clBtnShadow", System(16)},
    NamedColour{"clBtnText", System(18)},
    NamedColour{"clCaptionText", System(9)},
    NamedColour{"clDefault", kColourDefault},
    NamedColour{"clGradientActiveCaption", System(27)},
    NamedColour{"clGradientInactiveCaption", System(28)},
    NamedColour{"clGrayText", System(17)},
    NamedColour{"clHighlight", System(13)},
    NamedColour{"clHighlightText", System(14)},
    NamedColour{"clHotLight", System(26)},
    NamedColour{"clInactiveBorder", System(11)},
    NamedColour{"clInactiveCaption", System(3)},
    NamedColour{"clInactiveCaptionText", System(19)},
    NamedColour{"clInfoBk", System(24)},
    NamedColour{"clInfoText", System(23)},
    NamedColour{"clMenu", System(4)},
    NamedColour{"clMenuBar", System(30)},
    NamedColour{"clMenuHighlight", System(29)},
    NamedColour{"clMenuText", System(7)},
    NamedColour{"clNone", kColourNone},
    NamedColour{"clScrollBar", System(0)},
    NamedColour{"cl3DDkShadow", System(21)},
    NamedColour{"cl3DLight", System(22)},
    NamedColour{"clWindow", System(5)},
    NamedColour{"clWindowFrame", System(6)},
    NamedColour{"clWindowText", System(8)},
};

std::optional<int32_t> ParseNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  return ParseInteger(text);
}

}  // namespace

std::optional<std::string_view> ColourName(ColourValue colour) {
  for (const auto& named : kNamedColours)
    if (named.value == colour) return named.name;
  return std::nullopt;
}

std::optional<ColourValue> ParseColour(std::string_view text) {
  for (const auto& named : kNamedColours)
    if (NamesEqual(named.name, text)) return named.value;
  auto number = ParseNumber(text);
  if (!number) return std::nullopt;
  return static_cast<ColourValue>(*number);
}

std::string ColourText(ColourValue colour) {
  if (auto name = ColourName(colour)) return std::string(*name);
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(colour));
  return text;
}

std::optional<FontSpec> ParseFontText(std::string_view text) {
  FontSpec font;
  size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  font.name = std::string(text.substr(0, comma));
  text.remove_prefix(comma + 1);

  comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  auto charset = ParseNumber(text.substr(0, comma));
  if (!charset) return std::nullopt;
  font.charset = static_cast<uint8_t>(*charset);  // a byte, as the platform keeps it
  text.remove_prefix(comma + 1);

  comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  auto size = ParseNumber(text.substr(0, comma));
  if (!size) return std::nullopt;
  font.size = *size;
  text.remove_prefix(comma + 1);

  // "{" styles "}," then "{" colour "}": the styles end at the "}" just before the next ",".
  comma = text.find(',');
  if (text.empty() || text.front() != '{' || comma == std::string_view::npos || comma < 2 || text[comma - 1] != '}')
    return std::nullopt;
  const std::string styles = "|" + std::string(text.substr(1, comma - 2));
  size_t open = text.rfind('{');
  size_t close = text.rfind('}');
  if (open == std::string_view::npos || open <= comma || close == std::string_view::npos || close < open)
    return std::nullopt;
  auto colour = ParseColour(text.substr(open + 1, close - open - 1));
  if (!colour) return std::nullopt;
  font.colour = *colour;

  font.bold = styles.find("|Bold") != std::string::npos;
  font.italic = styles.find("|Italic") != std::string::npos;
  font.underline = styles.find("|Underline") != std::string::npos;
  font.strikeout = styles.find("|Strikeout") != std::string::npos;
  return font;
}

std::string WriteFontText(const FontSpec& font) {
  std::string styles;
  auto add = [&styles](bool on, std::string_view word) {
    if (!on) return;
    if (!styles.empty()) styles += '|';
    styles += word;
  };
  add(font.bold, "Bold");
  add(font.italic, "Italic");
  add(font.underline, "Underline");
  add(font.strikeout, "Strikeout");

  std::string name;
  for (char c : font.name)
    if (c != ',') name += c;
  return name + "," + std::to_string(font.charset) + "," + std::to_string(font.size) + ",{" + styles + "},{" +
         ColourText(font.colour) + "}";
}

}  // namespace duvelin
