// The options record: every user option of the settings file, held in memory for the whole
// run and read by the windows, the page composition and the music player. Fields bear the
// names of their keys. Filling it at start is settings_store.h's job; who uses which value is
// the business of the windows that read it.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "settings/font_text.h"

namespace duvelin {

// Longest texts the record keeps (bytes of GBK text).
inline constexpr size_t kSearchKeyMaxLength = 64;   // sch_key
inline constexpr size_t kShortTextMaxLength = 255;  // sch_pic, gum_path, lrc_dir

// The word timer never runs faster than this (delay_show_word).
inline constexpr int32_t kMinimumWordDelayMs = 3000;

// `text` cut to at most `maxLength` bytes; a double-byte (or four-byte) character that would
// be split is dropped whole, so the result is always whole GBK characters.
std::string CutText(std::string_view text, size_t maxLength);

// A text shared with the music thread: read and written whole under a lock.
class GuardedText {
 public:
  std::string Get() const {
    std::lock_guard lock(m_mutex);
    return m_text;
  }
  void Set(std::string text) {
    std::lock_guard lock(m_mutex);
    m_text = std::move(text);
  }

 private:
  mutable std::mutex m_mutex;
  std::string m_text;  // guarded by m_mutex
};

// Word-battle display: colours of the word strip and the explanation strips, font sizes,
// strip width, background and animation speed. Colour components are single bytes: 256 reads
// as 0, 300 as 44.
struct BattleDisplay {
  uint8_t game_E_color_R = 0, game_E_color_G = 0, game_E_color_B = 0;     // English word text
  uint8_t game_BE_color_R = 0, game_BE_color_G = 0, game_BE_color_B = 0;  // English strip background
  uint8_t game_C_color_R = 0, game_C_color_G = 0, game_C_color_B = 0;     // explanation text
  uint8_t game_BC_color_R = 0, game_BC_color_G = 0, game_BC_color_B = 0;  // explanation strips
  uint8_t game_WB_color_R = 0, game_WB_color_G = 0, game_WB_color_B = 0;  // word prefix
  uint8_t game_WA_color_R = 0, game_WA_color_G = 0, game_WA_color_B = 0;  // word suffix
  int32_t game_en_size = 0;
  int32_t game_cn_size = 0;
  uint8_t game_width = 0;  // double-width strip; read only at start
  uint8_t game_bk = 0;     // plain black background
  uint8_t game_speed_a = 0;
  int32_t game_m_color = 0;  // 0-4, colouring by roots and affixes

  // From game_width at start: 512 and 64 for the double-width strip, else 256 and 192.
  int32_t stripWidth = 256;
  int32_t stripSide = 192;

  int32_t AnimationIntervalMs() const { return game_speed_a ? 15 : 30; }
};

// Quiz behaviour.
struct QuizOptions {
  int32_t delay_show_word = kMinimumWordDelayMs;  // never below 3000
  // The repeat gap: the key's index − 1, so −1 is no repeat and 0 repeats at once. The
  // settings window writes it back as game_rep + 1.
  int32_t game_rep = -1;
  int32_t game_tingli_i = 0;  // 0-10
  uint8_t game_shunxu = 0;
  uint8_t game_abhs = 0;
  uint8_t mg_pop = 0;
  uint8_t not_tiankong = 0;
  uint8_t type_word = 0;
  uint8_t type_word_flash = 0;
  uint8_t type_char_spk = 0;
};

// Speech and pronunciation. The speech engine takes rate and volume from here when it is set
// up; the pronunciation service takes the templates, whose "$guid$" is already replaced.
struct SpeechOptions {
  int32_t game_tts_rate = 0;   // -10..10
  int32_t game_tts_vol = 0;    // 0..100
  int32_t game_tts_index = 0;  // voice position, used by the settings window
  uint8_t game_tts_sooth = 0;  // prefer the real-voice word module
  uint8_t yodao_sound = 0;
  std::string yodao_udp_path;  // "$word$" still to be replaced per request
  std::string yodao_tcp_path;  // "$wordid$" still to be replaced per download
  std::string yodao_udp_host;
  std::string runId;  // the 17 digits put in place of "$guid$" this run
};

// Shortcut texts of the word-battle window's fourteen actions ("A", "Ctrl+F1"; empty for
// none). The battle window turns them into shortcuts.
struct ShortcutTexts {
  std::string game_gong, game_fang, game_shu, game_wu, game_tao;
  std::string game_word1, game_word2, game_word3, game_del;
  std::string game_key1, game_key2, game_key3, game_key4, game_key5;
};

// The fourteen shortcut keys in the order of their fields, for loops over all of them.
struct ShortcutKey {
  std::string_view key;
  std::string ShortcutTexts::*field;
};
inline constexpr ShortcutKey kShortcutKeys[] = {
    {"game_gong", &ShortcutTexts::game_gong},   {"game_fang", &ShortcutTexts::game_fang},
    {"game_shu", &ShortcutTexts::game_shu},     {"game_wu", &ShortcutTexts::game_wu},
    {"game_tao", &ShortcutTexts::game_tao},     {"game_word1", &ShortcutTexts::game_word1},
    {"game_word2", &ShortcutTexts::game_word2}, {"game_word3", &ShortcutTexts::game_word3},
    {"game_del", &ShortcutTexts::game_del},     {"game_key1", &ShortcutTexts::game_key1},
    {"game_key2", &ShortcutTexts::game_key2},   {"game_key3", &ShortcutTexts::game_key3},
    {"game_key4", &ShortcutTexts::game_key4},   {"game_key5", &ShortcutTexts::game_key5},
};

// Background pictures and the picture search.
struct PictureOptions {
  uint8_t bg_img = 0;
  int32_t bg_tm = 0;  // 0-100
  uint8_t bg_img_radm = 0;
  int32_t bg_img_index = 0;  // current picture; restored from the battle window's state file
  uint8_t No_RevealTrans = 0;
  uint8_t sch_enable = 0;
  std::string sch_key;  // at most 64 bytes
  std::string sch_pic;  // at most 255 bytes; ":number" and ":name" stand for counter and key
  int32_t sch_MAX = 0;
  int32_t sch_img_sty = 0;  // 0 top, 1 bottom, 2 local picture settings
  int32_t sch_img_height = 0;
  int32_t searchPage = 0;  // the search page counter (no key)
};

// Background music and lyrics. The music thread reads these while the windows change them,
// so the numbers and flags it touches are atomic and the lyric folder is guarded.
struct MusicOptions {
  std::atomic<uint8_t> bg_music{0};  // music on; also keeps the player running
  std::atomic<int32_t> bg_yl{0};     // volume 0-100
  std::atomic<uint8_t> bg_music_radm{0};
  std::atomic<int32_t> bg_music_index{0};  // order pointer into the music list
  std::atomic<uint8_t> bg_music_base{0};   // echo
  std::atomic<uint8_t> bg_lrc{0};          // lyrics switched off
  GuardedText lrc_dir;                     // at most 255 bytes, ends with "\"; empty for none
};

// Content, reader and other keys.
struct GeneralOptions {
  std::string game_id;
  std::string gum_path;  // at most 255 bytes
  uint8_t gum_only = 0;
  uint8_t no_image = 0;
  std::string synedit_font;          // the font text as stored
  std::optional<FontSpec> readerFont;  // its reading; nothing when empty or unreadable
  uint8_t quci_guangbiao = 0;        // click-to-pick-word (caret shown)
  uint8_t langdu_gaoliang = 0;       // highlight what is read aloud
  uint8_t desktop_word = 0;
  uint8_t show_ad_web = 0;
  uint8_t game_net_hide = 0;
  uint8_t pop_img = 0;
  int32_t pop_img_tm = 0;
};

struct TGameOptions {
  BattleDisplay display;
  QuizOptions quiz;
  SpeechOptions speech;
  ShortcutTexts shortcuts;
  PictureOptions pictures;
  MusicOptions music;
  GeneralOptions general;
};

// The one record of the process. Code that can take the record as a parameter does so.
TGameOptions& GameOptions();

}  // namespace duvelin
