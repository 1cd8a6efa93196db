// The font text of the settings file ("宋体,134,12,{Bold},{clWindowText}"): reading it into a
// FontSpec and writing one back. Colours are platform colour values (00BBGGRR, or a system
// colour index with the high byte FF) with the platform's colour names; turning a FontSpec
// into a real font is left to the windows (settings/qt/font_conversion.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace duvelin {

// A colour value as the settings files write it: 00BBGGRR for a plain colour, FF0000nn for
// the system colour number nn, 1FFFFFFF for "none" and 20000000 for "default".
using ColourValue = uint32_t;

inline constexpr ColourValue kSystemColourFlag = 0xFF000000u;
inline constexpr ColourValue kColourBlack = 0x00000000u;
inline constexpr ColourValue kColourWhite = 0x00FFFFFFu;
inline constexpr ColourValue kColourNone = 0x1FFFFFFFu;
inline constexpr ColourValue kColourDefault = 0x20000000u;
inline constexpr ColourValue kColourWindowText = kSystemColourFlag | 8;
inline constexpr ColourValue kColourWindow = kSystemColourFlag | 5;

inline constexpr ColourValue RgbColour(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<ColourValue>(red) | static_cast<ColourValue>(green) << 8 | static_cast<ColourValue>(blue) << 16;
}

// The name of a colour value ("clRed", "clWindowText"), or nothing when it has none.
std::optional<std::string_view> ColourName(ColourValue colour);
// A colour name (letter case ignored) or a number ("$0080FF00", "255") as a colour value.
std::optional<ColourValue> ParseColour(std::string_view text);
// The name when there is one, else "$" and eight upper-case hexadecimal digits.
std::string ColourText(ColourValue colour);

struct FontSpec {
  std::string name;      // GBK, as in the file
  uint8_t charset = 1;   // 1 = default character set, 134 = GB2312
  int32_t size = 0;      // points; a negative size is a pixel height
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  ColourValue colour = kColourWindowText;

  bool operator==(const FontSpec&) const = default;
};

// Name, character set, size, "{" styles "}", "{" colour "}". Text that cannot be read gives
// nothing, and the caller keeps its font.
std::optional<FontSpec> ParseFontText(std::string_view text);

// The inverse of ParseFontText. Commas cannot stand in a font name, so any are dropped.
std::string WriteFontText(const FontSpec& font);

}  // namespace duvelin
