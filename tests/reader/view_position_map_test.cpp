// The map between the reading view's lines and columns (UTF-16) and the document's GBK byte
// positions, the editor's word at a place and F6's choice of language.
#include "reader/view_position_map.h"

#include <gtest/gtest.h>

#include "common/gbk_text.h"
#include "reader/cnen_reader.h"

namespace duvelin {
namespace {

std::string Gbk(std::string_view utf8) { return Utf8ToGbk(utf8); }

// Line 0 "Hello." (6 bytes), line 1 empty, line 2 "a中b" (4 bytes, 3 units), line 3 "中文"
// (4 bytes, 2 units), line 4 "x𠀀y" (6 bytes: a four-byte character; 4 units: a surrogate pair).
// Line starts: 0, 8, 10, 16, 22; text length 30.
class ViewPositionMapTest : public ::testing::Test {
 protected:
  ViewPositionMap map{{"Hello.", "", Gbk("a中b"), Gbk("中文"), Gbk("x𠀀y")}};
};

TEST_F(ViewPositionMapTest, CountsLinesInBytesAndUnits) {
  struct Case {
    int line, bytes, units, start;
  };
  const Case cases[] = {{0, 6, 6, 0}, {1, 0, 0, 8}, {2, 4, 3, 10}, {3, 4, 2, 16}, {4, 6, 4, 22}};
  for (const auto& c : cases) {
    EXPECT_EQ(map.GbkLength(c.line), c.bytes) << c.line;
    EXPECT_EQ(map.Utf16Length(c.line), c.units) << c.line;
    EXPECT_EQ(map.LineStart(c.line), c.start) << c.line;
  }
  EXPECT_EQ(map.TextLength(), 30);
  EXPECT_EQ(map.LineCount(), 5);
}

TEST_F(ViewPositionMapTest, ColumnToPositionCountsGbkBytesAndGoesOnPastTheLineEnd) {
  struct Case {
    int line, column, position;
  };
  const Case cases[] = {
      {0, 0, 0},   {0, 5, 5},   {0, 6, 6},
      {0, 7, 7},                // past the end: on the line break
      {0, 8, 8},                // two past the end: the next line's first character
      {1, 0, 8},   {1, 3, 11},  // an empty line: every column is past its end
      {2, 1, 11},  {2, 2, 13},  {2, 3, 14}, {2, 4, 15},
      {3, 1, 18},  {3, 2, 20},
      {4, 1, 23},  {4, 2, 23},  // inside the surrogate pair: the character's start
      {4, 3, 27},  {4, 4, 28},
      {5, 0, 30},  {6, 1, 33},  // lines after the last count as empty lines
      {0, -3, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(map.PositionAt(c.line, c.column), c.position) << c.line << ":" << c.column;
}

TEST_F(ViewPositionMapTest, PositionToPointRoundsInsideCharactersAndStopsAtLineEnds) {
  struct Case {
    int position;
    Rounding rounding;
    ViewPoint point;
  };
  const Case cases[] = {
      {0, Rounding::Down, {0, 0}},  {6, Rounding::Down, {0, 6}},
      {7, Rounding::Down, {0, 6}},  // the line break belongs to the line before it
      {8, Rounding::Down, {1, 0}},  {9, Rounding::Down, {1, 0}},
      {11, Rounding::Down, {2, 1}}, {12, Rounding::Down, {2, 1}}, {12, Rounding::Up, {2, 2}},
      {13, Rounding::Up, {2, 2}},   {14, Rounding::Down, {2, 3}}, {15, Rounding::Down, {2, 3}},
      {17, Rounding::Down, {3, 0}}, {17, Rounding::Up, {3, 1}},
      {24, Rounding::Down, {4, 1}}, {25, Rounding::Up, {4, 3}},   {27, Rounding::Down, {4, 3}},
      {29, Rounding::Down, {4, 4}}, {500, Rounding::Down, {4, 4}}, {-1, Rounding::Down, {0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(map.PointAt(c.position, c.rounding), c.point) << c.position;
  }
}

TEST_F(ViewPositionMapTest, EveryColumnRoundTrips) {
  for (int line = 0; line < map.LineCount(); ++line) {
    for (int column = 0; column <= map.Utf16Length(line); ++column) {
      if (line == 4 && column == 2) continue;  // inside a surrogate pair: no place of its own
      EXPECT_EQ(map.PointAt(map.PositionAt(line, column)), (ViewPoint{line, column})) << line << ":" << column;
    }
  }
}

TEST_F(ViewPositionMapTest, SelectionCoversWholeCharacters) {
  struct Case {
    TextSpan span;
    ViewSelection selection;
  };
  const Case cases[] = {
      {{10, 4}, {{2, 0}, {2, 3}}},   // a whole located line
      {{12, 1}, {{2, 1}, {2, 2}}},   // a span starting on the trail byte of 中
      {{11, 1}, {{2, 1}, {2, 2}}},   // half of 中 rounds up to all of it
      {{0, 6}, {{0, 0}, {0, 6}}},
      {{2, 0}, {{0, 2}, {0, 2}}},
      {{16, 5}, {{3, 0}, {3, 2}}},   // running into the line break stops at the line's end
      {{23, 4}, {{4, 1}, {4, 3}}},
  };
  for (const auto& c : cases) EXPECT_EQ(map.SelectionFor(c.span), c.selection) << c.span.start;
}

TEST_F(ViewPositionMapTest, ViewTextIsTheLinesInUtf8WithoutAFinalBreak) {
  EXPECT_EQ(map.LineUtf8(2), "a中b");
  EXPECT_EQ(map.ViewTextUtf8(), "Hello.\n\na中b\n中文\nx𠀀y");
  EXPECT_EQ(ViewPositionMap({"A", ""}).ViewTextUtf8(), "A\n");
}

TEST_F(ViewPositionMapTest, ReplacingALineMovesTheLinesAfterIt) {
  map.ReplaceLine(2, "Longer English");
  EXPECT_EQ(map.LineStart(3), 10 + 14 + 2);
  EXPECT_EQ(map.PositionAt(3, 1), 28);
  EXPECT_EQ(map.PointAt(28), (ViewPoint{3, 1}));
  EXPECT_EQ(map.Line(2), "Longer English");
}

TEST(ViewPositionMap, InvalidBytesShowAsOneReplacementEach) {
  ViewPositionMap map({std::string("a\x80" "b\xFF" "c\x81", 6)});
  EXPECT_EQ(map.Utf16Length(0), 6);
  EXPECT_EQ(map.LineUtf8(0), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c\xEF\xBF\xBD");
  EXPECT_EQ(map.PositionAt(0, 4), 4);
}

TEST(ViewPositionMap, AFourByteFormTheConverterRejectsCountsByteByByte) {
  const std::string line("\x85\x30\x81\x30" "a", 5);  // shaped like a four-byte character, unassigned
  ViewPositionMap map({line});
  EXPECT_EQ(map.LineUtf8(0), GbkToUtf8(line));
  EXPECT_EQ(map.Utf16Length(0), 5);
  EXPECT_EQ(map.PositionAt(0, 2), 2);
  EXPECT_EQ(map.PointAt(4), (ViewPoint{0, 4}));
}

TEST(ViewPositionMap, AParagraphSeparatorCannotSplitAViewLine) {
  ViewPositionMap map({Gbk("a\u2029b")});
  EXPECT_EQ(map.LineUtf8(0), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(map.Utf16Length(0), 3);
  EXPECT_EQ(map.GbkLength(0), 6);
  EXPECT_EQ(map.PositionAt(0, 2), 5);
}

// Built over the document's own view lines, every place of the view locates its own line.
TEST(ViewPositionMap, AgreesWithTheDocumentInEveryMode) {
  Tcnen_reader document;
  document.Refill(Gbk("He met Mr. Smith.\r\n\r\nIn 2012 it rained.\r\n\r\n"),
                  Gbk("他见了史密斯先生。\r\n\r\n2012年下了雨。\r\n\r\n"));
  // English, then Chinese, interleaved English first, interleaved Chinese first.
  for (int step = 0; step < 4; ++step) {
    ViewPositionMap map(document.ViewLines());
    for (int line = 0; line < map.LineCount(); ++line) {
      for (int column = 0; column <= map.Utf16Length(line); ++column) {
        LocatedLine located = document.LocateLine(map.PositionAt(line, column));
        ASSERT_TRUE(located.found);
        EXPECT_EQ(document.shownLine(), line);
        EXPECT_EQ(located.text, map.Line(line));
        EXPECT_EQ(document.spanStart(), map.LineStart(line));
        EXPECT_EQ(map.SelectionFor(document.LastSpan()),
                  (ViewSelection{{line, 0}, {line, map.Utf16Length(line)}}));
      }
    }
    if (step == 0)
      document.ToggleWhole();
    else
      document.CycleInterleave();
  }
}

TEST(EditorWord, LongestRunTouchingThePlace) {
  const std::string zai2012 = Gbk("在2012年");
  struct Case {
    std::string line;
    int column;
    std::string word;
  };
  const Case cases[] = {
      {"hello world", 0, "hello"},
      {"hello world", 3, "hello"},
      {"hello world", 5, "hello"},   // touching from the left
      {"hello world", 6, "world"},   // touching from the right
      {"hello world", 11, "world"},  // at the line's end
      {"hello world", 12, ""},       // past the line's end
      {"a  b", 2, ""},               // blanks on both sides
      {"snake_case2 x", 4, "snake_case2"},
      {zai2012, 3, zai2012},         // GBK bytes of most characters count as word bytes
      {Gbk("，2012。"), 2, "2012"},   // full-width punctuation does not
      {"\xD7\xD7", 1, ""},           // 0xD7 is no word byte
  };
  for (const auto& c : cases) EXPECT_EQ(EditorWordAt(c.line, c.column), c.word) << GbkToUtf8(c.line) << "@" << c.column;
}

TEST(EditorWord, F6WantsEnglishForNumbersAndChineseElseChinese) {
  EXPECT_EQ(WantedLanguageForWord("2012"), Language::English);
  EXPECT_EQ(WantedLanguageForWord(Gbk("在2012年")), Language::English);
  EXPECT_EQ(WantedLanguageForWord("rain"), Language::Chinese);
  EXPECT_EQ(WantedLanguageForWord("Rain"), Language::Chinese);
  EXPECT_EQ(WantedLanguageForWord(""), Language::Chinese);
  EXPECT_EQ(WantedLanguageForWord("_x"), Language::English);
}

}  // namespace
}  // namespace duvelin
