// duvelin-tool voices and say, run as the real program: the voice list in the engine's order
// and WAV files whose header and length match what the engine synthesises in-process.
#include <gtest/gtest.h>


#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "common/gbk_text.h"
#include "reader/speech/espeak_speech_engine.h"
#include "support/temp_folder.h"
#include "support/tool_runner.h"

namespace duvelin {
namespace {

using testing::ToolRun;

ToolRun RunTool(const std::vector<std::string>& args) {
  const testing::TempFolder scratch;
  return testing::RunToolProgram(args, scratch);
}

uint32_t LittleEndian(const std::string& bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

TEST(VoicesCommand, ListsTheEngineVoicesInOrderWithTheirLanguage) {
  const ToolRun run = RunTool({"voices"});
  ASSERT_EQ(run.status, 0);
  const auto& voices = EspeakSpeechEngine::InstalledVoices();
  std::istringstream lines(run.out);
  std::string line;
  size_t index = 0;
  bool chinese = false, english = false;
  while (std::getline(lines, line)) {
    ASSERT_LT(index, voices.size());
    const std::string language = voices[index].token.language.empty() ? "-" : voices[index].token.language;
    EXPECT_EQ(line, std::to_string(index) + " " + language + " " + voices[index].name);
    chinese |= language == "804";
    english |= language == "409";
    ++index;
  }
  EXPECT_EQ(index, voices.size());
  EXPECT_TRUE(chinese);
  EXPECT_TRUE(english);
  EXPECT_EQ(RunTool({"voices", "extra"}).status, 2);
}

TEST(SayCommand, WritesAWavOfTheExpectedLength) {
  testing::TempFolder folder;
  const auto& voices = EspeakSpeechEngine::InstalledVoices();
  size_t chineseVoice = 0, englishVoice = EspeakSpeechEngine::DefaultVoice();
  while (chineseVoice < voices.size() && voices[chineseVoice].token.language != "804") ++chineseVoice;
  ASSERT_LT(chineseVoice, voices.size());

  struct Case {
    size_t voice;
    std::string text;  // UTF-8
    int rate;
  };
  const Case cases[] = {
      {englishVoice, "Learning words without noticing is the best way.", 0},
      {chineseVoice, "不知不觉背单词，每天进步一点点。", 0},
      {englishVoice, "Learning words without noticing is the best way.", 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " rate " + std::to_string(c.rate));
    const std::string file = (folder.path() / "out.wav").string();
    const ToolRun run = RunTool({"say", "--voice", std::to_string(c.voice), "--rate", std::to_string(c.rate),
                                 "--volume", "80", "--wav", file, c.text});
    ASSERT_EQ(run.status, 0);
    Result<std::string> wav = ReadWholeFile(file);
    ASSERT_TRUE(wav.ok());
    const std::string& bytes = *wav;
    ASSERT_GE(bytes.size(), 44u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(LittleEndian(bytes, 4, 4), bytes.size() - 8);
    EXPECT_EQ(LittleEndian(bytes, 20, 2), 1u);  // PCM
    EXPECT_EQ(LittleEndian(bytes, 22, 2), 1u);  // mono
    EXPECT_EQ(LittleEndian(bytes, 24, 4), 22050u);
    EXPECT_EQ(LittleEndian(bytes, 34, 2), 16u);
    EXPECT_EQ(bytes.substr(36, 4), "data");
    EXPECT_EQ(LittleEndian(bytes, 40, 4), bytes.size() - 44);

    // espeak-ng varies a few samples between runs; the length must match the engine's own.
    auto expected = EspeakSpeechEngine::Synthesise(Utf8ToGbk(c.text), SpeechSettings{c.voice, c.rate, 80});
    ASSERT_TRUE(expected.ok());
    const double samples = (bytes.size() - 44) / 2.0;
    EXPECT_NEAR(samples, static_cast<double>(expected->samples.size()), expected->samples.size() * 0.02);
    EXPECT_GT(samples, 22050 * 1.0) << "a sentence lasts more than a second";
  }
}

TEST(SayCommand, RejectsBadArguments) {
  testing::TempFolder folder;
  const std::string file = (folder.path() / "x.wav").string();
  const std::vector<std::vector<std::string>> cases = {
      {"say", "hello"},                                     // no --wav
      {"say", "--wav", file},                               // no text
      {"say", "--voice", "100000", "--wav", file, "hello"},  // no such voice
      {"say", "--rate", "11", "--wav", file, "hello"},
      {"say", "--volume", "x", "--wav", file, "hello"},
      {"say", "--speed", "1", "--wav", file, "hello"},
      {"say", "--wav"},
  };
  for (const auto& args : cases) EXPECT_EQ(RunTool(args).status, 2) << args.back();
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace duvelin
