// Start-up load of the settings file into the options record, the run id, and the writes of
// single keys (reader options, settings window).
#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_io.h"
#include "common/line_list.h"
#include "settings/settings_store.h"
#include "support/scripted_random.h"
#include "support/temp_folder.h"

namespace duvelin {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

const std::string kGbkZhong = "\xD6\xD0";  // 中

class SettingsStoreTest : public ::testing::Test {
 protected:
  void WriteSettings(const LineList& lines) { folder.Write("dat/set.txt", JoinLinesCrLf(lines)); }

  // Loads `lines` into a fresh record.
  void Load(const LineList& lines) {
    WriteSettings(lines);
    ASSERT_TRUE(LoadStartupSettings(program, options, random).ok());
  }

  TempFolder folder;
  ProgramFolder program{folder.path()};
  TGameOptions options;
  SeededRandom random{7};
};

TEST_F(SettingsStoreTest, MissingSettingsFileGivesTheInstallationMessage) {
  Status status = LoadStartupSettings(program, options, random);
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.message(), MissingSettingsMessage());
  EXPECT_TRUE(status.message().starts_with("set.txt，设置文件不存在，可能游戏安装不完成。请从"));
  EXPECT_NE(status.message().find(kDownloadPageAddress), std::string::npos);
  EXPECT_TRUE(status.message().ends_with(" 下载完整版本。"));
  EXPECT_STREQ(kStartupErrorCaption, "错误");
  // A folder of that name is no settings file either.
  fs::create_directories(folder.path() / "dat" / "set.txt");
  EXPECT_EQ(LoadStartupSettings(program, options, random).message(), MissingSettingsMessage());
}

TEST_F(SettingsStoreTest, ColourComponentsAreBytesThatWrap) {
  Load({"game_E_color_R=300", "game_E_color_G=256", "game_E_color_B=255", "game_BE_color_R=-1", "game_BE_color_G=x",
        "game_WA_color_B=44"});
  EXPECT_EQ(options.display.game_E_color_R, 44);
  EXPECT_EQ(options.display.game_E_color_G, 0);
  EXPECT_EQ(options.display.game_E_color_B, 255);
  EXPECT_EQ(options.display.game_BE_color_R, 255);
  EXPECT_EQ(options.display.game_BE_color_G, 0);
  EXPECT_EQ(options.display.game_BC_color_B, 0);
  EXPECT_EQ(options.display.game_WA_color_B, 44);
}

TEST_F(SettingsStoreTest, WordDelayIsRaisedToTheMinimum) {
  const std::pair<const char*, int32_t> cases[] = {
      {"delay_show_word=2500", 3000}, {"delay_show_word=4000", 4000}, {"delay_show_word=3000", 3000},
      {"delay_show_word=abc", 3000},  {"delay_show_word=-1", 3000},   {"other=1", 3000},
  };
  for (auto [line, delay] : cases) {
    Load({line});
    EXPECT_EQ(options.quiz.delay_show_word, delay) << line;
  }
}

TEST_F(SettingsStoreTest, RepeatIsStoredAsTheGapMinusOne) {
  const std::pair<const char*, int32_t> cases[] = {
      {"game_rep=0", -1}, {"game_rep=1", 0}, {"game_rep=2", 1}, {"game_rep=7", 6}, {"other=1", -1},
  };
  for (auto [line, gap] : cases) {
    Load({line});
    EXPECT_EQ(options.quiz.game_rep, gap) << line;
  }
}

TEST_F(SettingsStoreTest, DoubleWidthSetsStripWidthAndSide) {
  Load({"game_width=1", "game_speed_a=1"});
  EXPECT_EQ(options.display.stripWidth, 512);
  EXPECT_EQ(options.display.stripSide, 64);
  EXPECT_EQ(options.display.AnimationIntervalMs(), 15);
  Load({"game_width=0"});
  EXPECT_EQ(options.display.stripWidth, 256);
  EXPECT_EQ(options.display.stripSide, 192);
  EXPECT_EQ(options.display.AnimationIntervalMs(), 30);
}

TEST_F(SettingsStoreTest, DuplicateCapitalisedAndBlankedNamesReadByTheRules) {
  Load({"bg_yl=40", "bg_yl=90", "GAME_BK=1", "game_shunxu =1", "sch_key=", "show_ad_web=1"});
  EXPECT_EQ(options.music.bg_yl, 40);
  EXPECT_EQ(options.display.game_bk, 1);
  EXPECT_EQ(options.quiz.game_shunxu, 0);
  EXPECT_EQ(options.pictures.sch_key, "");
  EXPECT_EQ(options.general.show_ad_web, 1);
}

TEST_F(SettingsStoreTest, LongTextsAreCutToTheirFieldsWithoutSplittingCharacters) {
  std::string chinese;
  for (int i = 0; i < 33; ++i) chinese += kGbkZhong;
  Load({"sch_key=" + std::string(70, 'k'), "sch_pic=" + std::string(300, 'p'), "gum_path=" + std::string(256, 'g'),
        "lrc_dir=" + std::string(255, 'l'), "game_id=" + std::string(400, 'i')});
  EXPECT_EQ(options.pictures.sch_key, std::string(64, 'k'));
  EXPECT_EQ(options.pictures.sch_pic, std::string(255, 'p'));
  EXPECT_EQ(options.general.gum_path, std::string(255, 'g'));
  EXPECT_EQ(options.music.lrc_dir.Get(), std::string(255, 'l'));
  EXPECT_EQ(options.general.game_id.size(), 400u);

  Load({"sch_key=" + chinese});  // 66 bytes: 32 whole characters fit
  EXPECT_EQ(options.pictures.sch_key, chinese.substr(0, 64));
  Load({"sch_key=a" + chinese});  // 67 bytes: the character across byte 64 goes whole
  EXPECT_EQ(options.pictures.sch_key, "a" + chinese.substr(0, 62));
}

TEST(CutText, KeepsWholeCharacters) {
  const std::string fourByte = "\x81\x30\x81\x30";  // a four-byte GB18030 character
  EXPECT_EQ(CutText("abc", 5), "abc");
  EXPECT_EQ(CutText("abcdef", 3), "abc");
  EXPECT_EQ(CutText("a\xD6\xD0", 2), "a");
  EXPECT_EQ(CutText("ab" + fourByte + "c", 5), "ab");
  EXPECT_EQ(CutText("ab" + fourByte + "c", 6), "ab" + fourByte);
  EXPECT_EQ(CutText("ab\xD6", 2), "ab");  // a dangling lead byte counts as one
  EXPECT_EQ(CutText("", 0), "");
}

TEST_F(SettingsStoreTest, RunIdReplacesEveryGuidMarkWithTheSameDigitsAndChangesPerRun) {
  const LineList lines = {"yodao_udp_path=A $guid$ B $guid$ $word$", "yodao_tcp_path=http://h/$guid$/$wordid$",
                          "yodao_udp_host=pronounce.invalid"};
  Load(lines);
  const std::string id = options.speech.runId;
  ASSERT_EQ(id.size(), 17u);
  for (char c : id) EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << id;
  EXPECT_EQ(options.speech.yodao_udp_path, "A " + id + " B " + id + " $word$");
  EXPECT_EQ(options.speech.yodao_tcp_path, "http://h/" + id + "/$wordid$");
  EXPECT_EQ(options.speech.yodao_udp_host, "pronounce.invalid");

  TGameOptions nextRun;
  SeededRandom otherRandom(8);
  ASSERT_TRUE(LoadStartupSettings(program, nextRun, otherRandom).ok());
  EXPECT_NE(nextRun.speech.runId, id);
  EXPECT_EQ(nextRun.speech.yodao_udp_path, "A " + nextRun.speech.runId + " B " + nextRun.speech.runId + " $word$");
}

TEST(RunId, IsTheFirstSeventeenDigitsOfTheGuidText) {
  testing::ScriptedRandom scripted;
  for (uint32_t i = 0; i < 16; ++i) scripted.values.push_back(0x10 * i + 0x0A);
  Guid guid = NewGuid(scripted);
  EXPECT_EQ(GuidText(guid), "{0A1A2A3A-4A5A-4A7A-8A9A-AABACADAEAFA}");
  EXPECT_EQ(RunIdFromGuid(guid), "0A1A2A3A4A5A4A7A8");
  EXPECT_EQ(ReplaceAll("$guid$$guid$x", "$guid$", "1"), "11x");
  EXPECT_EQ(ReplaceAll("none", "", "1"), "none");
}

TEST_F(SettingsStoreTest, ReaderFontIsReadWhenReadableAndKeptOtherwise) {
  Load({"synedit_font=" + kGbkZhong + ",134,14,{Bold},{clRed}"});
  ASSERT_TRUE(options.general.readerFont.has_value());
  EXPECT_EQ(options.general.readerFont->name, kGbkZhong);
  EXPECT_EQ(options.general.readerFont->size, 14);
  EXPECT_TRUE(options.general.readerFont->bold);
  const FontSpec before = *options.general.readerFont;
  Load({"synedit_font=broken"});
  EXPECT_EQ(options.general.synedit_font, "broken");
  EXPECT_EQ(options.general.readerFont, before);
}

TEST_F(SettingsStoreTest, EveryKeyReachesItsField) {
  Load({"game_en_size=22", "game_cn_size=15", "game_m_color=3", "game_tingli_i=4", "game_abhs=1", "mg_pop=1",
        "not_tiankong=1", "type_word=1", "type_word_flash=1", "type_char_spk=1", "game_tts_rate=-3", "game_tts_vol=80",
        "game_tts_index=2", "game_tts_sooth=1", "yodao_sound=1", "game_gong=A", "game_key5=Ctrl+F5", "game_del=Del",
        "bg_img=1", "bg_tm=30", "bg_img_radm=1", "No_RevealTrans=1", "sch_enable=1", "sch_MAX=9", "sch_img_sty=2",
        "sch_img_height=120", "bg_music=1", "bg_music_radm=1", "bg_music_base=1", "bg_lrc=1", "game_id=ID-1",
        "gum_only=1", "no_image=1", "quci_guangbiao=1", "langdu_gaoliang=1", "desktop_word=1", "game_net_hide=1",
        "pop_img=1", "pop_img_tm=5", "bg_img_index=4", "bg_music_index=6"});
  EXPECT_EQ(options.display.game_en_size, 22);
  EXPECT_EQ(options.display.game_cn_size, 15);
  EXPECT_EQ(options.display.game_m_color, 3);
  EXPECT_EQ(options.quiz.game_tingli_i, 4);
  EXPECT_EQ(options.quiz.game_abhs + options.quiz.mg_pop + options.quiz.not_tiankong + options.quiz.type_word +
                options.quiz.type_word_flash + options.quiz.type_char_spk,
            6);
  EXPECT_EQ(options.speech.game_tts_rate, -3);
  EXPECT_EQ(options.speech.game_tts_vol, 80);
  EXPECT_EQ(options.speech.game_tts_index, 2);
  EXPECT_EQ(options.speech.game_tts_sooth, 1);
  EXPECT_EQ(options.speech.yodao_sound, 1);
  EXPECT_EQ(options.shortcuts.game_gong, "A");
  EXPECT_EQ(options.shortcuts.game_key5, "Ctrl+F5");
  EXPECT_EQ(options.shortcuts.game_del, "Del");
  EXPECT_EQ(options.shortcuts.game_fang, "");
  EXPECT_EQ(options.pictures.bg_img, 1);
  EXPECT_EQ(options.pictures.bg_tm, 30);
  EXPECT_EQ(options.pictures.bg_img_radm, 1);
  EXPECT_EQ(options.pictures.No_RevealTrans, 1);
  EXPECT_EQ(options.pictures.sch_enable, 1);
  EXPECT_EQ(options.pictures.sch_MAX, 9);
  EXPECT_EQ(options.pictures.sch_img_sty, 2);
  EXPECT_EQ(options.pictures.sch_img_height, 120);
  EXPECT_EQ(options.music.bg_music, 1);
  EXPECT_EQ(options.music.bg_music_radm, 1);
  EXPECT_EQ(options.music.bg_music_base, 1);
  EXPECT_EQ(options.music.bg_lrc, 1);
  EXPECT_EQ(options.general.game_id, "ID-1");
  EXPECT_EQ(options.general.gum_only, 1);
  EXPECT_EQ(options.general.no_image, 1);
  EXPECT_EQ(options.general.quci_guangbiao, 1);
  EXPECT_EQ(options.general.langdu_gaoliang, 1);
  EXPECT_EQ(options.general.desktop_word, 1);
  EXPECT_EQ(options.general.game_net_hide, 1);
  EXPECT_EQ(options.general.pop_img, 1);
  EXPECT_EQ(options.general.pop_img_tm, 5);
  // The indexes come from the battle window's state file, not from here.
  EXPECT_EQ(options.pictures.bg_img_index, 0);
  EXPECT_EQ(options.music.bg_music_index, 0);
}

TEST_F(SettingsStoreTest, WritingKeysKeepsUnknownLinesAndTheirOrder) {
  WriteSettings({"; installed", "GAME_BK=1", "sch_key=old", "mystery", "bg_yl=1", "bg_yl=2"});
  ASSERT_TRUE(WriteSettingsKeys(program, {{"game_bk", "0"}, {"sch_key", ""}, {"bg_yl", "50"}, {"lrc_dir", "D:\\l\\"}})
                  .ok());
  EXPECT_EQ(folder.Read("dat/set.txt"), "; installed\r\ngame_bk=0\r\nmystery\r\nbg_yl=50\r\nbg_yl=2\r\nlrc_dir=D:\\l\\\r\n");
  // A key written empty reads back as its default.
  ASSERT_TRUE(LoadStartupSettings(program, options, random).ok());
  EXPECT_EQ(options.pictures.sch_key, "");
  EXPECT_EQ(options.music.bg_yl, 50);
}

TEST_F(SettingsStoreTest, ReaderOptionsAreWrittenAtOnceAndFollowedByTheRecord) {
  WriteSettings({"a=1", "LANGDU_GAOLIANG=1", "b=2"});
  ASSERT_TRUE(WriteReaderOptions(program, PickingMode::ByCaret, ReadingHighlight::Off, options).ok());
  EXPECT_EQ(folder.Read("dat/set.txt"), "a=1\r\nlangdu_gaoliang=0\r\nb=2\r\nquci_guangbiao=1\r\n");
  EXPECT_EQ(options.general.quci_guangbiao, 1);
  EXPECT_EQ(options.general.langdu_gaoliang, 0);

  ASSERT_TRUE(WriteReaderOptions(program, PickingMode::ByMouse, ReadingHighlight::On, options).ok());
  EXPECT_EQ(folder.Read("dat/set.txt"), "a=1\r\nlangdu_gaoliang=1\r\nb=2\r\nquci_guangbiao=0\r\n");
  EXPECT_EQ(options.general.quci_guangbiao, 0);
  EXPECT_EQ(options.general.langdu_gaoliang, 1);
}

TEST_F(SettingsStoreTest, AFailedWriteLeavesFileAndRecordAsTheyWere) {
  // No settings file: nothing is created, and the record keeps its values.
  options.general.quci_guangbiao = 1;
  EXPECT_FALSE(WriteReaderOptions(program, PickingMode::ByMouse, ReadingHighlight::On, options).ok());
  EXPECT_EQ(options.general.quci_guangbiao, 1);
  EXPECT_EQ(options.general.langdu_gaoliang, 0);
  EXPECT_FALSE(fs::exists(folder.path() / "dat" / "set.txt"));
  EXPECT_FALSE(WriteSettingsKeys(program, {{"a", "1"}}).ok());
}

// Every key of the settings file, as the system writes them.
const char* const kAllKeys[] = {
    "game_E_color_R", "game_E_color_G", "game_E_color_B", "game_BE_color_R", "game_BE_color_G", "game_BE_color_B",
    "game_C_color_R", "game_C_color_G", "game_C_color_B", "game_BC_color_R", "game_BC_color_G", "game_BC_color_B",
    "game_WB_color_R", "game_WB_color_G", "game_WB_color_B", "game_WA_color_R", "game_WA_color_G", "game_WA_color_B",
    "game_en_size", "game_cn_size", "game_width", "game_bk", "game_speed_a", "game_m_color", "delay_show_word",
    "game_rep", "game_tingli_i", "game_shunxu", "game_abhs", "mg_pop", "not_tiankong", "type_word", "type_word_flash",
    "type_char_spk", "game_tts_rate", "game_tts_vol", "game_tts_index", "game_tts_sooth", "yodao_sound",
    "yodao_udp_path", "yodao_tcp_path", "yodao_udp_host", "game_gong", "game_fang", "game_shu", "game_wu", "game_tao",
    "game_word1", "game_word2", "game_word3", "game_del", "game_key1", "game_key2", "game_key3", "game_key4",
    "game_key5", "bg_img", "bg_tm", "bg_img_radm", "bg_img_index", "No_RevealTrans", "sch_enable", "sch_key",
    "sch_pic", "sch_MAX", "sch_img_sty", "sch_img_height", "bg_music", "bg_yl", "bg_music_radm", "bg_music_index",
    "bg_music_base", "bg_lrc", "lrc_dir", "game_id", "gum_path", "gum_only", "no_image", "synedit_font",
    "quci_guangbiao", "langdu_gaoliang", "desktop_word", "show_ad_web", "game_net_hide", "pop_img", "pop_img_tm",
};

TEST(BundledSettings, HoldEveryKeyAndLoad) {
  ProgramFolder program{fs::path(DUVELIN_DATA_DIR)};
  auto file = ReadSettingsFile(program);
  ASSERT_TRUE(file.ok()) << file.message();
  for (const char* key : kAllKeys) {
    auto value = file->Find(key);
    EXPECT_TRUE(value.has_value()) << key;
    // Written with the key's own spelling, once.
    size_t lines = 0;
    for (const auto& line : file->Lines())
      if (line.starts_with(std::string(key) + "=")) ++lines;
    EXPECT_EQ(lines, 1u) << key;
  }
  EXPECT_EQ(file->Lines().size(), std::size(kAllKeys));
  const std::string bytes = ReadWholeFile(program.Resolve(kSettingsFile)).value();
  EXPECT_TRUE(bytes.ends_with("\r\n"));
  EXPECT_EQ(SplitLines(bytes), file->Lines());
  EXPECT_EQ(JoinLinesCrLf(file->Lines()), bytes);  // CR LF throughout

  TGameOptions options;
  SeededRandom random(1);
  ASSERT_TRUE(LoadStartupSettings(program, options, random).ok());
  EXPECT_EQ(options.display.game_en_size, 21);
  EXPECT_EQ(options.display.game_cn_size, 16);
  EXPECT_EQ(options.quiz.delay_show_word, 3000);
  EXPECT_EQ(options.quiz.game_rep, 1);
  EXPECT_EQ(options.speech.yodao_sound, 0);
  EXPECT_EQ(options.speech.yodao_udp_host, "pronounce.invalid");
  EXPECT_EQ(options.speech.yodao_udp_path.find("$guid$"), std::string::npos);
  EXPECT_NE(options.speech.yodao_udp_path.find(options.speech.runId), std::string::npos);
  EXPECT_NE(options.speech.yodao_tcp_path.find(options.speech.runId), std::string::npos);
  EXPECT_TRUE(options.speech.yodao_tcp_path.starts_with("http://127.0.0.1:9/"));
  EXPECT_EQ(options.general.gum_path, "http://scenes.invalid/ugm/");
  EXPECT_EQ(options.general.quci_guangbiao, 0);
  EXPECT_EQ(options.general.langdu_gaoliang, 1);
  EXPECT_EQ(options.general.desktop_word, 1);
  EXPECT_EQ(options.general.show_ad_web, 1);
  EXPECT_EQ(options.pictures.bg_img, 0);
  EXPECT_EQ(options.music.bg_music, 0);
  EXPECT_EQ(options.shortcuts.game_gong, "A");
  EXPECT_EQ(options.shortcuts.game_word1, "1");
  ASSERT_TRUE(options.general.readerFont.has_value());
  EXPECT_EQ(options.general.readerFont->name, "\xCB\xCE\xCC\xE5");  // 宋体
  EXPECT_EQ(options.general.readerFont->charset, 134);
  EXPECT_EQ(options.general.readerFont->size, 12);
  EXPECT_EQ(options.general.readerFont->colour, kColourWindowText);
  // The battle strips are readable: text and background differ clearly.
  auto brightness = [](int r, int g, int b) { return (r * 299 + g * 587 + b * 114) / 1000; };
  const BattleDisplay& d = options.display;
  EXPECT_GT(brightness(d.game_BE_color_R, d.game_BE_color_G, d.game_BE_color_B) -
                brightness(d.game_E_color_R, d.game_E_color_G, d.game_E_color_B),
            125);
  EXPECT_GT(brightness(d.game_BC_color_R, d.game_BC_color_G, d.game_BC_color_B) -
                brightness(d.game_C_color_R, d.game_C_color_G, d.game_C_color_B),
            125);
}

}  // namespace
}  // namespace duvelin
