// The reader font and colours between the settings store and Qt.
#include <QApplication>
#include <QTest>

#include "settings/qt/font_conversion.h"

using namespace duvelin;

class FontConversionTest : public QObject {
  Q_OBJECT

 private slots:
  void fontTextBecomesAQFontAndBack() {
    auto fontSpec = ParseFontText("\xCB\xCE\xCC\xE5,134,12,{Bold|Underline},{clRed}");
    QVERIFY(fontSpec.has_value());
    QFont font = FontFromSpec(*fontSpec);
    QCOMPARE(font.families().front(), QString::fromUtf8("宋体"));
    QCOMPARE(font.pointSize(), 12);
    QVERIFY(font.bold());
    QVERIFY(!font.italic());
    QVERIFY(font.underline());
    QVERIFY(!font.strikeOut());
    // Character set and colour are not a QFont's: they come from the previous fontSpec.
    FontSpec back = SpecFromFont(font, *fontSpec);
    QCOMPARE(back, *fontSpec);
    QVERIFY(WriteFontText(back) == "\xCB\xCE\xCC\xE5,134,12,{Bold|Underline},{clRed}");
  }

  void negativeSizesArePixelHeights() {
    FontSpec fontSpec{"Arial", 0, -13, false, true, false, true, kColourWindowText};
    QFont font = FontFromSpec(fontSpec);
    QCOMPARE(font.pixelSize(), 13);
    QVERIFY(font.italic());
    QVERIFY(font.strikeOut());
    QCOMPARE(SpecFromFont(font, fontSpec).size, -13);
    // Size 0 keeps the base font's size.
    QFont base;
    base.setPointSize(17);
    QCOMPARE(FontFromSpec(FontSpec{"Arial", 0, 0, false, false, false, false, 0}, base).pointSize(), 17);
  }

  void coloursMapToRgbAndThePalette() {
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Text, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::Base, QColor(250, 251, 252));
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(10, 20, 30));
    QCOMPARE(ColourToQColor(*ParseColour("clWindowText"), palette), QColor(1, 2, 3));
    QCOMPARE(ColourToQColor(*ParseColour("clWindow"), palette), QColor(250, 251, 252));
    QCOMPARE(ColourToQColor(*ParseColour("clHighlight"), palette), QColor(10, 20, 30));
    QCOMPARE(ColourToQColor(kColourDefault, palette), QColor(1, 2, 3));
    QCOMPARE(ColourToQColor(*ParseColour("clRed"), palette), QColor(255, 0, 0));
    QCOMPARE(ColourToQColor(*ParseColour("$00FF8040"), palette), QColor(0x40, 0x80, 0xFF));
    QCOMPARE(ColourToQColor(kColourNone, palette).alpha(), 0);
    QCOMPARE(ColourFromQColor(QColor(0x40, 0x80, 0xFF)), ColourValue{0x00FF8040});
    QCOMPARE(ColourFromQColor(QColor(Qt::blue)), *ParseColour("clBlue"));
  }
};

QTEST_MAIN(FontConversionTest)
#include "font_conversion_qtest.moc"
