#include "settings/qt/font_conversion.h"

#include <QGuiApplication>

#include "common/gbk_text.h"

namespace duvelin {
namespace {

struct SystemRole {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};

// The palette entry that plays the part of a system colour number.
SystemRole RoleOfSystemColour(uint32_t index) {
  using P = QPalette;
  switch (index) {
    case 0: return {P::Active, P::Button};            // scroll bar
    case 1: return {P::Active, P::Window};            // desktop
    case 2: return {P::Active, P::Highlight};         // active caption
    case 3: return {P::Active, P::Mid};               // inactive caption
    case 4: return {P::Active, P::Window};            // menu
    case 5: return {P::Active, P::Base};              // window
    case 6: return {P::Active, P::Shadow};            // window frame
    case 7: return {P::Active, P::WindowText};        // menu text
    case 8: return {P::Active, P::Text};              // window text
    case 9: return {P::Active, P::HighlightedText};   // caption text
    case 10: return {P::Active, P::Window};           // active border
    case 11: return {P::Active, P::Window};           // inactive border
    case 12: return {P::Active, P::Dark};             // application work space
    case 13: return {P::Active, P::Highlight};        // highlight
    case 14: return {P::Active, P::HighlightedText};  // highlighted text
    case 15: return {P::Active, P::Button};           // button face
    case 16: return {P::Active, P::Dark};             // button shadow
    case 17: return {P::Disabled, P::Text};           // grey text
    case 18: return {P::Active, P::ButtonText};       // button text
    case 19: return {P::Disabled, P::WindowText};     // inactive caption text
    case 20: return {P::Active, P::Light};            // button highlight
    case 21: return {P::Active, P::Shadow};           // 3D dark shadow
    case 22: return {P::Active, P::Midlight};         // 3D light
    case 23: return {P::Active, P::ToolTipText};      // info text
    case 24: return {P::Active, P::ToolTipBase};      // info background
    case 26: return {P::Active, P::Link};             // hot-tracked item
    case 27: return {P::Active, P::Highlight};        // gradient of the active caption
    case 28: return {P::Active, P::Mid};              // gradient of the inactive caption
    case 29: return {P::Active, P::Highlight};        // menu highlight
    case 30: return {P::Active, P::Window};           // menu bar
    default: return {P::Active, P::Text};
  }
}

}  // namespace

QColor ColourToQColor(ColourValue colour, const QPalette& palette) {
  if (colour == kColourNone) return QColor(Qt::transparent);
  if (colour == kColourDefault) return palette.color(QPalette::Active, QPalette::Text);
  if ((colour & 0xFF000000u) == kSystemColourFlag) {
    SystemRole role = RoleOfSystemColour(colour & 0x00FFFFFFu);
    return palette.color(role.group, role.role);
  }
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                static_cast<int>(colour >> 16 & 0xFF));
}

QColor ColourToQColor(ColourValue colour) { return ColourToQColor(colour, QGuiApplication::palette()); }

ColourValue ColourFromQColor(const QColor& colour) {
  QColor rgb = colour.toRgb();
  return RgbColour(static_cast<uint8_t>(rgb.red()), static_cast<uint8_t>(rgb.green()),
                   static_cast<uint8_t>(rgb.blue()));
}

QFont FontFromSpec(const FontSpec& fontSpec, const QFont& base) {
  QFont font = base;
  if (!fontSpec.name.empty()) font.setFamilies({QString::fromStdString(GbkToUtf8(fontSpec.name))});
  if (fontSpec.size > 0)
    font.setPointSize(fontSpec.size);
  else if (fontSpec.size < 0)
    font.setPixelSize(-fontSpec.size);
  font.setBold(fontSpec.bold);
  font.setItalic(fontSpec.italic);
  font.setUnderline(fontSpec.underline);
  font.setStrikeOut(fontSpec.strikeout);
  return font;
}

FontSpec SpecFromFont(const QFont& font, const FontSpec& previous) {
  FontSpec fontSpec = previous;
  const QStringList families = font.families();
  const QString family = families.isEmpty() ? font.family() : families.front();
  fontSpec.name = Utf8ToGbk(family.toStdString());
  if (font.pointSize() > 0)
    fontSpec.size = font.pointSize();
  else if (font.pixelSize() > 0)
    fontSpec.size = -font.pixelSize();
  fontSpec.bold = font.bold();
  fontSpec.italic = font.italic();
  fontSpec.underline = font.underline();
  fontSpec.strikeout = font.strikeOut();
  return fontSpec;
}

}  // namespace duvelin
