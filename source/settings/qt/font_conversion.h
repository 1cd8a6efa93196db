// Between the settings store's font text and colours and Qt: a FontSpec becomes a QFont (GBK
// name to family, points or pixel height, styles), colour values become QColors — system
// colours ("clWindowText", "clWindow", ...) through the application's palette.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

#include "settings/font_text.h"

namespace duvelin {

// A plain value's red, green and blue bytes; a system colour from `palette`; "none" is
// transparent and "default" the palette's text colour.
QColor ColourToQColor(ColourValue colour, const QPalette& palette);
QColor ColourToQColor(ColourValue colour);  // with the application's palette

// The plain colour value (00BBGGRR) of a QColor.
ColourValue ColourFromQColor(const QColor& colour);

// `base` with the font text's family, size and styles. A size of 0 keeps the base's size.
QFont FontFromSpec(const FontSpec& fontSpec, const QFont& base = QFont());

// A QFont as a FontSpec; character set and colour, which a QFont does not hold, are taken
// from `previous`.
FontSpec SpecFromFont(const QFont& font, const FontSpec& previous);

}  // namespace duvelin
