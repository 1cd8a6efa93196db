// The bilingual document: display modes and their layouts, locating lines, sentences and words
// by byte position, and paragraph partners.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/gbk_text.h"
#include "reader/cnen_reader.h"

namespace duvelin {
namespace {

// GBK from the UTF-8 of this source.
std::string G(std::string_view utf8) { return Utf8ToGbk(utf8); }

// A text as the loader builds it: every paragraph followed by CR LF CR LF.
std::string Paragraphs(const std::vector<std::string>& paragraphs) {
  std::string text;
  for (const auto& paragraph : paragraphs) text += G(paragraph) + "\r\n\r\n";
  return text;
}

Tcnen_reader Document(const std::vector<std::string>& english, const std::vector<std::string>& chinese) {
  Tcnen_reader document;
  document.Refill(Paragraphs(english), Paragraphs(chinese));
  return document;
}

void BringToMode(Tcnen_reader& document, DisplayMode mode) {
  switch (mode) {
    case DisplayMode::English:
      break;
    case DisplayMode::Chinese:
      document.ToggleWhole();
      break;
    case DisplayMode::EnglishFirst:
      document.CycleInterleave();
      break;
    case DisplayMode::ChineseFirst:
      document.CycleInterleave();
      document.CycleInterleave();
      break;
  }
  ASSERT_EQ(document.mode(), mode);
}

LineList GbkLines(const std::vector<std::string>& utf8) {
  LineList lines;
  for (const auto& line : utf8) lines.push_back(G(line));
  return lines;
}

TEST(CnenReaderModes, ToggleWholeAndCycleInterleaveMoveBetweenModes) {
  struct Case {
    DisplayMode from;
    DisplayMode afterToggle;
    DisplayMode afterCycle;
  };
  const Case cases[] = {
      {DisplayMode::English, DisplayMode::Chinese, DisplayMode::EnglishFirst},
      {DisplayMode::Chinese, DisplayMode::English, DisplayMode::EnglishFirst},
      {DisplayMode::EnglishFirst, DisplayMode::English, DisplayMode::ChineseFirst},
      {DisplayMode::ChineseFirst, DisplayMode::English, DisplayMode::English},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.from));
    Tcnen_reader toggled = Document({"One."}, {"一。"});
    BringToMode(toggled, c.from);
    EXPECT_EQ(toggled.IsChineseShown(), c.from == DisplayMode::Chinese);
    LineList shown = toggled.ToggleWhole();
    EXPECT_EQ(toggled.mode(), c.afterToggle);
    EXPECT_EQ(shown, toggled.ViewLines(c.afterToggle));

    Tcnen_reader cycled = Document({"One."}, {"一。"});
    BringToMode(cycled, c.from);
    shown = cycled.CycleInterleave();
    EXPECT_EQ(cycled.mode(), c.afterCycle);
    EXPECT_EQ(shown, cycled.ViewLines(c.afterCycle));
  }
}

TEST(CnenReaderModes, CycleInterleaveThreeTimesReturnsToEnglish) {
  Tcnen_reader document = Document({"One."}, {"一。"});
  document.CycleInterleave();
  document.CycleInterleave();
  LineList shown = document.CycleInterleave();
  EXPECT_EQ(document.mode(), DisplayMode::English);
  EXPECT_EQ(shown, GbkLines({"One.", ""}));
}

TEST(CnenReaderModes, OpeningWhileChineseIsShownShowsEnglishAndToggleThenShowsChinese) {
  Tcnen_reader document = Document({"Old."}, {"旧。"});
  document.ToggleWhole();
  ASSERT_TRUE(document.IsChineseShown());
  LineList shown = document.Refill(Paragraphs({"New."}), Paragraphs({"新。"}));
  EXPECT_EQ(document.mode(), DisplayMode::English);
  EXPECT_EQ(shown, GbkLines({"New.", ""}));
  EXPECT_EQ(document.ToggleWhole(), GbkLines({"新。", ""}));
  EXPECT_EQ(document.ChineseText(), Paragraphs({"新。"}));
  EXPECT_EQ(document.EnglishText(), Paragraphs({"New."}));
}

TEST(CnenReaderModes, SetTextsSplitIntoLines) {
  Tcnen_reader document;
  EXPECT_EQ(document.mode(), DisplayMode::English);
  EXPECT_TRUE(document.ViewLines().empty());
  document.SetEnglish("a\r\n\r\nb\r\n\r\n");
  document.SetChinese(G("甲\r\n\r\n"));
  EXPECT_EQ(document.enLines(), (LineList{"a", "", "b", ""}));
  EXPECT_EQ(document.cnLines(), GbkLines({"甲", ""}));
  EXPECT_EQ(document.enText(), "a\r\n\r\nb\r\n\r\n");
}

TEST(CnenReaderLayout, EveryModeWithPartsOfUnequalLength) {
  struct Case {
    std::vector<std::string> english;
    std::vector<std::string> chinese;
    DisplayMode mode;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {{"A", "B", "C"}, {"甲"}, DisplayMode::English, {"A", "", "B", "", "C", ""}},
      {{"A", "B", "C"}, {"甲"}, DisplayMode::Chinese, {"甲", ""}},
      {{"A", "B", "C"}, {"甲"}, DisplayMode::EnglishFirst, {"A", "甲", "", "", "B", "", "C", ""}},
      {{"A", "B", "C"}, {"甲"}, DisplayMode::ChineseFirst, {"甲", "A", "", "", "B", "", "C", ""}},
      {{"A"}, {"甲", "乙"}, DisplayMode::EnglishFirst, {"A", "甲", "", "", "乙", ""}},
      {{"A"}, {"甲", "乙"}, DisplayMode::ChineseFirst, {"甲", "A", "", "", "乙", ""}},
      {{"A"}, {}, DisplayMode::Chinese, {}},
      {{"A"}, {}, DisplayMode::ChineseFirst, {"A", ""}},
  };
  for (const auto& c : cases) {
    Tcnen_reader document = Document(c.english, c.chinese);
    EXPECT_EQ(document.ViewLines(c.mode), GbkLines(c.lines)) << static_cast<int>(c.mode);
  }
}

TEST(CnenReaderLocate, HelloLineAndTheLineBreakPositions) {
  struct Case {
    int position;
    int shownLine;
    int start;
    int length;
    int rest;
  };
  const Case cases[] = {
      {0, 0, 0, 6, 6}, {3, 0, 0, 6, 3}, {6, 0, 0, 6, 0},  {7, 0, 0, 6, -1},
      {8, 1, 8, 0, 0}, {9, 1, 8, 0, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.position);
    Tcnen_reader document = Document({"Hello."}, {});
    LocatedLine located = document.LocateLine(c.position);
    EXPECT_TRUE(located.found);
    EXPECT_EQ(located.text, c.shownLine == 0 ? "Hello." : "");
    EXPECT_EQ(located.rest, c.rest);
    EXPECT_EQ(document.shownLine(), c.shownLine);
    EXPECT_EQ(document.lineIndex(), c.shownLine);
    EXPECT_EQ(document.spanLanguage(), Language::English);
    EXPECT_EQ(document.LastSpan(), (TextSpan{c.start, c.length}));
  }
}

TEST(CnenReaderLocate, PositionsBeyondTheTextChangeNothing) {
  Tcnen_reader document = Document({"Hello."}, {});
  document.LocateLine(3);
  for (int position : {10, 11, 1000, -1}) {
    LocatedLine located = document.LocateLine(position);
    EXPECT_FALSE(located.found) << position;
    EXPECT_EQ(located.text, "");
    EXPECT_EQ(document.LastSpan(), (TextSpan{0, 6}));
    EXPECT_EQ(document.shownLine(), 0);
  }
  Tcnen_reader empty;
  EXPECT_FALSE(empty.LocateLine(0).found);
}

// Mixed Chinese and ASCII lines of unequal parts in the interleaved modes. A Chinese character
// counts two bytes: "Hi 你好" is 7 long, "甲乙" 4.
TEST(CnenReaderLocate, InterleavedModesCountGbkBytes) {
  struct Case {
    DisplayMode mode;
    int position;
    std::string text;
    int shownLine;
    int lineIndex;
    Language language;
    int start;
    int rest;
  };
  const Case cases[] = {
      // Mode 2: "Hi 你好" 0..8, "甲乙" 9..14, "" 15..16, "" 17..18, "Bye" 19..23, "" 24..25.
      {DisplayMode::EnglishFirst, 3, "Hi 你好", 0, 0, Language::English, 0, 4},
      {DisplayMode::EnglishFirst, 8, "Hi 你好", 0, 0, Language::English, 0, -1},
      {DisplayMode::EnglishFirst, 9, "甲乙", 1, 0, Language::Chinese, 9, 4},
      {DisplayMode::EnglishFirst, 14, "甲乙", 1, 0, Language::Chinese, 9, -1},
      {DisplayMode::EnglishFirst, 15, "", 2, 1, Language::English, 15, 0},
      {DisplayMode::EnglishFirst, 17, "", 3, 1, Language::Chinese, 17, 0},
      {DisplayMode::EnglishFirst, 20, "Bye", 4, 2, Language::English, 19, 2},
      {DisplayMode::EnglishFirst, 25, "", 5, 3, Language::English, 24, -1},
      // Mode 3: "甲乙" 0..5, "Hi 你好" 6..14, "" 15..16, "" 17..18, "Bye" 19..23, "" 24..25.
      {DisplayMode::ChineseFirst, 2, "甲乙", 0, 0, Language::Chinese, 0, 2},
      {DisplayMode::ChineseFirst, 6, "Hi 你好", 1, 0, Language::English, 6, 7},
      {DisplayMode::ChineseFirst, 15, "", 2, 1, Language::Chinese, 15, 0},
      {DisplayMode::ChineseFirst, 17, "", 3, 1, Language::English, 17, 0},
      {DisplayMode::ChineseFirst, 23, "Bye", 4, 2, Language::English, 19, -1},
      // Mode 1: only the Chinese lines.
      {DisplayMode::Chinese, 5, "甲乙", 0, 0, Language::Chinese, 0, -1},
      {DisplayMode::Chinese, 6, "", 1, 1, Language::Chinese, 6, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << static_cast<int>(c.mode) << " @" << c.position);
    Tcnen_reader document = Document({"Hi 你好", "Bye"}, {"甲乙"});
    BringToMode(document, c.mode);
    LocatedLine located = document.LocateLine(c.position);
    EXPECT_EQ(located.text, G(c.text));
    EXPECT_EQ(located.rest, c.rest);
    EXPECT_EQ(document.shownLine(), c.shownLine);
    EXPECT_EQ(document.lineIndex(), c.lineIndex);
    EXPECT_EQ(document.spanLanguage(), c.language);
    EXPECT_EQ(document.LastSpan(), (TextSpan{c.start, static_cast<int>(G(c.text).size())}));
  }
  Tcnen_reader document = Document({"Hi 你好", "Bye"}, {"甲乙"});
  BringToMode(document, DisplayMode::EnglishFirst);
  EXPECT_FALSE(document.LocateLine(26).found);
}

struct SentenceCase {
  std::string line;
  int position;  // within the line, which is the first of the document
  std::string sentence;
  int start;
};

void CheckSentences(const std::vector<SentenceCase>& cases, DisplayMode mode) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line + " @" + std::to_string(c.position));
    Tcnen_reader document = mode == DisplayMode::English ? Document({c.line}, {}) : Document({}, {c.line});
    BringToMode(document, mode);
    EXPECT_EQ(document.SentenceAt(c.position), G(c.sentence));
    EXPECT_EQ(document.LastSpan(), (TextSpan{c.start, static_cast<int>(G(c.sentence).size())}));
  }
}

TEST(CnenReaderSentence, SentenceEndsAndAbbreviations) {
  const std::string smith = "He met Mr. Smith. Then he left.";
  CheckSentences(
      {
          {smith, 20, " Then he left.", 17},  // inside "Then"
          {smith, 13, "He met Mr. Smith.", 0},  // inside "Smith"
          {smith, 17, "He met Mr. Smith.", 0},  // on the blank right after "Smith."
          {smith, 0, "He met Mr. Smith.", 0},
          {"It rained today. He met Mr. Smith. Then he left.", 34, " He met Mr. Smith.", 16},
          {"I love NASA. It is great.", 14, "I love NASA. It is great.", 0},
          {"See the U.S. Army here.", 20, "See the U.S. Army here.", 0},
          {"It is 3.5 metres. Yes", 12, "It is 3.5 metres.", 0},
          {"Use e.g. x and more.", 17, "Use e.g. x and more.", 0},
          {"Call item.number. Now go.", 22, "Call item.number. Now go.", 0},
          {"I met John. He waved.", 15, "I met John. He waved.", 0},
          {"I met Johnson. He waved.", 18, " He waved.", 14},
          {"Say Hello.World now.", 17, "Say Hello.World now.", 0},
          {"Stop! Go on; fine? Yes", 20, " Yes", 18},
          {"Stop! Go on; fine? Yes", 7, " Go on;", 5},
          {"Stop! Go on; fine? Yes", 12, " Go on;", 5},  // the end at k closes the sentence
          {"Well, ok: yes. Then", 3, "Well, ok: yes.", 0},
          {"No end here", 4, "No end here", 0},
          {"Hello.", 6, "Hello.", 0},  // at the end of the line
          {"Hello.", 7, "", 6},        // on the second character of the line break
          {"Wow!?", 5, "Wow!", 0},     // at the end of the line the index left of it is L[len-1]
      },
      DisplayMode::English);
}

TEST(CnenReaderSentence, FullWidthPunctuationEndsNothing) {
  CheckSentences({{"他走了。我来了！好", 10, "他走了。我来了！好", 0}, {"我爱你们. 真的", 13, " 真的", 9}},
                 DisplayMode::Chinese);
}

TEST(CnenReaderSentence, EmptyLineAndBeyondTheText) {
  Tcnen_reader document = Document({"Hello."}, {});
  EXPECT_EQ(document.SentenceAt(8), "");
  EXPECT_EQ(document.LastSpan(), (TextSpan{8, 0}));  // the empty line was located
  document.SentenceAt(2);
  EXPECT_EQ(document.SentenceAt(50), "");
  EXPECT_EQ(document.LastSpan(), (TextSpan{0, 6}));
}

TEST(CnenReaderWord, WordAroundTheCaret) {
  struct Case {
    std::string line;
    int position;
    std::optional<std::string> word;
    int start;  // of the word, or of the line span left in place when there is none
    int length;
  };
  const Case cases[] = {
      {"a word here", 2, "word", 2, 4},  // caret just before "word"
      {"a word here", 11, "here", 7, 4},  // caret after "here" at the end of the line
      {"a word here", 6, "word", 2, 4},  // caret just after "word"
      {"a word here", 0, "a", 0, 1},
      {"a word here", 1, "a", 0, 1},
      {"a word here", 12, std::nullopt, 0, 11},  // on the line break
      {"x  y", 2, std::nullopt, 0, 4},
      {"id_2x+y", 3, "id_2x", 0, 5},
      {"id_2x+y", 6, "y", 6, 1},
      {"中文abc", 4, "abc", 4, 3},  // left of the caret is the second byte of 文
      {"中文abc", 7, "abc", 4, 3},
      {"中文 abc", 2, std::nullopt, 0, 8},
      {"ab.", 3, "ab", 0, 2},  // at the end of the line the index tested is L[len-1]
      // The second byte of 說 is "f": it belongs to the Chinese character, not to a word.
      {"說 go", 2, std::nullopt, 0, 5},
      {"說go", 2, "go", 2, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line + " @" + std::to_string(c.position));
    Tcnen_reader document = Document({c.line}, {});
    auto word = document.WordSpanAt(c.position);
    ASSERT_EQ(word.has_value(), c.word.has_value());
    if (word) EXPECT_EQ(*word, *c.word);
    EXPECT_EQ(document.LastSpan(), (TextSpan{c.start, c.length}));
  }
}

TEST(CnenReaderWord, SecondLineAndNoLine) {
  Tcnen_reader document = Document({"one", "two words"}, {});
  auto word = document.WordSpanAt(7 + 2);  // "two words" starts at 7
  ASSERT_TRUE(word);
  EXPECT_EQ(*word, "two");
  EXPECT_EQ(document.LastSpan(), (TextSpan{7, 3}));
  EXPECT_FALSE(document.WordSpanAt(5));  // the empty line
  EXPECT_FALSE(document.WordSpanAt(100));
  EXPECT_EQ(document.LastSpan(), (TextSpan{5, 0}));
}

TEST(CnenReaderCounterpart, PartnersInTheWantedLanguage) {
  // Mode 2: "A" 0..2, "甲" 3..6, "" 7..8, "" 9..10, "B" 11..13, "" 14..15.
  struct Case {
    int position;
    Language wanted;
    std::optional<CounterpartLine> partner;
  };
  const Case cases[] = {
      {0, Language::Chinese, CounterpartLine{0, G("甲")}},
      {0, Language::English, CounterpartLine{0, "A"}},
      {3, Language::English, CounterpartLine{1, "A"}},
      {7, Language::Chinese, std::nullopt},
      {16, Language::English, std::nullopt},
      {11, Language::English, CounterpartLine{4, "B"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.position);
    Tcnen_reader document = Document({"A", "B"}, {"甲"});
    BringToMode(document, DisplayMode::EnglishFirst);
    auto partner = document.Counterpart(c.position, c.wanted);
    ASSERT_TRUE(partner.ok());
    EXPECT_EQ(*partner, c.partner);
    EXPECT_EQ(document.mode(), DisplayMode::EnglishFirst);
    EXPECT_EQ(document.ViewLines(), GbkLines({"A", "甲", "", "", "B", ""}));
  }
}

TEST(CnenReaderCounterpart, PartnerPastTheEndOfTheOtherListIsAnError) {
  Tcnen_reader document = Document({"A", "B"}, {"甲"});
  auto partner = document.Counterpart(5, Language::Chinese);  // "B" in mode 0, index 2
  ASSERT_FALSE(partner.ok());
  EXPECT_NE(partner.message().find("List index out of bounds (2)"), std::string::npos) << partner.message();
  EXPECT_EQ(document.mode(), DisplayMode::English);
  EXPECT_EQ(document.cnLines().size(), 2u);
}

}  // namespace
}  // namespace duvelin
