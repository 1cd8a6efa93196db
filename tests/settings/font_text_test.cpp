// The font text of the reader font: reading, writing, colours, and text that cannot be read.
#include <gtest/gtest.h>

#include "settings/font_text.h"

namespace duvelin {
namespace {

const std::string kSongTi = "\xCB\xCE\xCC\xE5";  // 宋体 in GBK

FontSpec Font(std::string name, uint8_t charset, int32_t size, bool bold, bool italic, bool underline, bool strikeout,
              ColourValue colour) {
  return FontSpec{std::move(name), charset, size, bold, italic, underline, strikeout, colour};
}

TEST(FontText, ReadsNameCharsetSizeStylesAndColour) {
  struct Case {
    std::string text;
    FontSpec font;
  };
  const Case cases[] = {
      {kSongTi + ",134,12,{},{clWindowText}", Font(kSongTi, 134, 12, false, false, false, false, kColourWindowText)},
      {"Arial,0,10,{Bold|Italic},{clRed}", Font("Arial", 0, 10, true, true, false, false, 0x0000FF)},
      {"Arial,1,9,{Bold|Italic|Underline|Strikeout},{$00FF8000}", Font("Arial", 1, 9, true, true, true, true, 0xFF8000)},
      {"Courier New,0,-13,{Underline},{clwindowtext}", Font("Courier New", 0, -13, false, false, true, false, kColourWindowText)},
      {"A,0,10,{Strikeout},{255}", Font("A", 0, 10, false, false, false, true, 0x0000FF)},
      // Styles are looked for as "|" + word in "|" + styles, in any order.
      {"A,0,10,{Italic|Bold},{clBlack}", Font("A", 0, 10, true, true, false, false, 0)},
      {"A,0,10,{Bolder},{clBlack}", Font("A", 0, 10, true, false, false, false, 0)},
      {"A,0,10,{xBold|bold},{clBlack}", Font("A", 0, 10, false, false, false, false, 0)},
      // The character set is a byte.
      {"A,390,10,{},{clBlack}", Font("A", 134, 10, false, false, false, false, 0)},
      // The colour is between the last "{" and the last "}".
      {"A,0,10,{},{x}{clBlue}", Font("A", 0, 10, false, false, false, false, 0xFF0000)},
      {",0,10,{},{clBlack}", Font("", 0, 10, false, false, false, false, 0)},
  };
  for (const auto& c : cases) {
    auto font = ParseFontText(c.text);
    ASSERT_TRUE(font.has_value()) << c.text;
    EXPECT_EQ(*font, c.font) << c.text;
  }
}

TEST(FontText, TextThatCannotBeReadGivesNothing) {
  const char* const cases[] = {
      "",
      "Arial",
      "Arial,134",
      "Arial,134,12",
      "Arial,134,12,",
      "Arial,x,12,{},{clRed}",
      "Arial,134,big,{},{clRed}",
      "Arial,,12,{},{clRed}",
      "Arial,134,12,{}",
      "Arial,134,12,{},clRed",
      "Arial,134,12,Bold,{clRed}",
      "Arial,134,12,{Bold,{clRed}",
      "Arial,134,12,{},{clNoSuchColour}",
      "Arial,134,12,{},{clRed",
      "Arial,134,12,{},{}",
      "Arial,134,12,{},}{",
      ",,,",
      "{,},{,}",
  };
  for (const char* text : cases) EXPECT_FALSE(ParseFontText(text).has_value()) << text;
}

TEST(FontText, WritesStylesInOrderAndColoursByName) {
  EXPECT_EQ(WriteFontText(Font(kSongTi, 134, 12, false, false, false, false, kColourWindowText)),
            kSongTi + ",134,12,{},{clWindowText}");
  EXPECT_EQ(WriteFontText(Font("Arial", 0, 10, true, false, true, true, 0x0000FF)),
            "Arial,0,10,{Bold|Underline|Strikeout},{clRed}");
  EXPECT_EQ(WriteFontText(Font("Arial", 1, -13, false, true, false, false, 0x00123456)),
            "Arial,1,-13,{Italic},{$00123456}");
  // A comma would end the name early, so it is dropped.
  EXPECT_EQ(WriteFontText(Font("A,B", 1, 9, false, false, false, false, 0)), "AB,1,9,{},{clBlack}");
}

TEST(FontText, RoundTrips) {
  const FontSpec fonts[] = {
      Font(kSongTi, 134, 12, false, false, false, false, kColourWindowText),
      Font("Arial", 0, 10, true, true, true, true, 0x00FF8000),
      Font("Courier New", 255, -20, false, true, false, true, kColourNone),
      Font("\xC1\xA5\xCA\xE9", 134, 22, true, false, false, false, 0xFF00001Fu),  // 隶书, an unnamed system colour
  };
  for (const auto& font : fonts) {
    auto back = ParseFontText(WriteFontText(font));
    ASSERT_TRUE(back.has_value()) << WriteFontText(font);
    EXPECT_EQ(*back, font);
  }
}

TEST(ColourNames, NamedColoursAndValues) {
  const std::pair<const char*, ColourValue> cases[] = {
      {"clBlack", 0x000000},       {"clMaroon", 0x000080},    {"clGreen", 0x008000},     {"clOlive", 0x008080},
      {"clNavy", 0x800000},        {"clPurple", 0x800080},    {"clTeal", 0x808000},      {"clGray", 0x808080},
      {"clSilver", 0xC0C0C0},      {"clRed", 0x0000FF},       {"clLime", 0x00FF00},      {"clYellow", 0x00FFFF},
      {"clBlue", 0xFF0000},        {"clFuchsia", 0xFF00FF},   {"clAqua", 0xFFFF00},      {"clWhite", 0xFFFFFF},
      {"clMoneyGreen", 0xC0DCC0},  {"clSkyBlue", 0xF0CAA6},   {"clCream", 0xF0FBFF},     {"clMedGray", 0xA4A0A0},
      {"clWindowText", 0xFF000008}, {"clWindow", 0xFF000005}, {"clBtnFace", 0xFF00000F}, {"clBtnText", 0xFF000012},
      {"clHighlight", 0xFF00000D}, {"clHighlightText", 0xFF00000E}, {"clGrayText", 0xFF000011},
      {"clInfoBk", 0xFF000018},    {"clInfoText", 0xFF000017}, {"clNone", 0x1FFFFFFF},   {"clDefault", 0x20000000},
  };
  for (auto [name, value] : cases) {
    EXPECT_EQ(ParseColour(name), value) << name;
    EXPECT_EQ(ColourText(value), name);
  }
  EXPECT_EQ(ParseColour("CLRED"), 0x0000FFu);
  EXPECT_EQ(ParseColour("$00FF8040"), 0xFF8040u);
  EXPECT_EQ(ColourText(0x00FF8040), "$00FF8040");
  EXPECT_EQ(ColourText(RgbColour(1, 2, 3)), "$00030201");
  EXPECT_FALSE(ParseColour("").has_value());
  EXPECT_FALSE(ParseColour("red").has_value());
  EXPECT_FALSE(ColourName(0x123456).has_value());
}

}  // namespace
}  // namespace duvelin
