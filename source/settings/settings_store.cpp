#include "settings/settings_store.h"

#include <cstdio>
#include <filesystem>

namespace duvelin {
namespace fs = std::filesystem;
namespace {

uint8_t FlagByte(const SettingsFile& file, std::string_view key) { return file.Flag(key) ? 1 : 0; }

// Colour components are single bytes: larger values wrap.
uint8_t ColourByte(const SettingsFile& file, std::string_view key) {
  return static_cast<uint8_t>(static_cast<uint32_t>(file.Integer(key)));
}

void ReadDisplayColours(const SettingsFile& file, BattleDisplay& display) {
  display.game_E_color_R = ColourByte(file, "game_E_color_R");
  display.game_E_color_G = ColourByte(file, "game_E_color_G");
  display.game_E_color_B = ColourByte(file, "game_E_color_B");
  display.game_BE_color_R = ColourByte(file, "game_BE_color_R");
  display.game_BE_color_G = ColourByte(file, "game_BE_color_G");
  display.game_BE_color_B = ColourByte(file, "game_BE_color_B");
  display.game_C_color_R = ColourByte(file, "game_C_color_R");
  display.game_C_color_G = ColourByte(file, "game_C_color_G");
  display.game_C_color_B = ColourByte(file, "game_C_color_B");
  display.game_BC_color_R = ColourByte(file, "game_BC_color_R");
  display.game_BC_color_G = ColourByte(file, "game_BC_color_G");
  display.game_BC_color_B = ColourByte(file, "game_BC_color_B");
  display.game_WB_color_R = ColourByte(file, "game_WB_color_R");
  display.game_WB_color_G = ColourByte(file, "game_WB_color_G");
  display.game_WB_color_B = ColourByte(file, "game_WB_color_B");
  display.game_WA_color_R = ColourByte(file, "game_WA_color_R");
  display.game_WA_color_G = ColourByte(file, "game_WA_color_G");
  display.game_WA_color_B = ColourByte(file, "game_WA_color_B");
}

}  // namespace

std::string MissingSettingsMessage() {
  return std::string("set.txt，设置文件不存在，可能游戏安装不完成。请从") + kDownloadPageAddress + " 下载完整版本。";
}

Status LoadStartupSettings(const ProgramFolder& folder, TGameOptions& options, Random& random) {
  const fs::path path = folder.Resolve(kSettingsFile);
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return Error{MissingSettingsMessage()};
  auto file = SettingsFile::Load(path);
  if (!file) return file.status();
  ApplyStartupSettings(*file, options, random);
  return Status::Ok();
}

void ApplyStartupSettings(const SettingsFile& file, TGameOptions& options, Random& random) {
  // Word-battle colours, font sizes and animation speed.
  BattleDisplay& display = options.display;
  ReadDisplayColours(file, display);
  display.game_en_size = file.Integer("game_en_size");
  display.game_cn_size = file.Integer("game_cn_size");
  display.game_speed_a = FlagByte(file, "game_speed_a");

  // Speech engine values; the engine takes them when it is set up.
  SpeechOptions& speech = options.speech;
  speech.game_tts_rate = file.Integer("game_tts_rate");
  speech.game_tts_vol = file.Integer("game_tts_vol");
  speech.game_tts_index = file.Integer("game_tts_index");
  speech.game_tts_sooth = FlagByte(file, "game_tts_sooth");

  // Battle and quiz behaviour.
  QuizOptions& quiz = options.quiz;
  display.game_bk = FlagByte(file, "game_bk");
  quiz.game_shunxu = FlagByte(file, "game_shunxu");
  quiz.game_abhs = FlagByte(file, "game_abhs");
  display.game_width = FlagByte(file, "game_width");
  display.stripWidth = display.game_width ? 512 : 256;
  display.stripSide = display.game_width ? 64 : 192;
  quiz.delay_show_word = WordDelayFromSetting(file.Integer("delay_show_word"));
  display.game_m_color = file.Integer("game_m_color");
  quiz.game_tingli_i = file.Integer("game_tingli_i");
  quiz.game_rep = file.Integer("game_rep") - 1;
  options.general.game_net_hide = FlagByte(file, "game_net_hide");
  options.general.game_id = file.Text("game_id");
  options.general.no_image = FlagByte(file, "no_image");
  options.pictures.No_RevealTrans = FlagByte(file, "No_RevealTrans");

  // The options the page composition, the music player and the windows read at run time.
  PictureOptions& pictures = options.pictures;
  MusicOptions& music = options.music;
  GeneralOptions& general = options.general;
  pictures.bg_img = FlagByte(file, "bg_img");
  pictures.bg_tm = file.Integer("bg_tm");
  music.bg_music = FlagByte(file, "bg_music");
  music.bg_yl = file.Integer("bg_yl");
  music.bg_lrc = FlagByte(file, "bg_lrc");
  quiz.mg_pop = FlagByte(file, "mg_pop");
  general.pop_img = FlagByte(file, "pop_img");
  general.pop_img_tm = file.Integer("pop_img_tm");
  pictures.bg_img_radm = FlagByte(file, "bg_img_radm");
  music.bg_music_radm = FlagByte(file, "bg_music_radm");
  music.bg_music_base = FlagByte(file, "bg_music_base");
  music.lrc_dir.Set(CutText(file.Text("lrc_dir"), kShortTextMaxLength));
  pictures.sch_enable = FlagByte(file, "sch_enable");
  pictures.sch_MAX = file.Integer("sch_MAX");
  pictures.sch_key = CutText(file.Text("sch_key"), kSearchKeyMaxLength);
  pictures.sch_pic = CutText(file.Text("sch_pic"), kShortTextMaxLength);
  general.gum_path = CutText(file.Text("gum_path"), kShortTextMaxLength);
  general.gum_only = FlagByte(file, "gum_only");
  pictures.sch_img_sty = file.Integer("sch_img_sty");
  pictures.sch_img_height = file.Integer("sch_img_height");
  quiz.not_tiankong = FlagByte(file, "not_tiankong");
  quiz.type_word = FlagByte(file, "type_word");
  quiz.type_word_flash = FlagByte(file, "type_word_flash");
  quiz.type_char_spk = FlagByte(file, "type_char_spk");
  general.desktop_word = FlagByte(file, "desktop_word");
  general.show_ad_web = FlagByte(file, "show_ad_web");
  speech.yodao_sound = FlagByte(file, "yodao_sound");
  general.quci_guangbiao = FlagByte(file, "quci_guangbiao");
  general.langdu_gaoliang = FlagByte(file, "langdu_gaoliang");

  // One run id for this run, in both pronunciation templates.
  speech.runId = RunIdFromGuid(NewGuid(random));
  speech.yodao_udp_path = ReplaceAll(file.Text("yodao_udp_path"), "$guid$", speech.runId);
  speech.yodao_tcp_path = ReplaceAll(file.Text("yodao_tcp_path"), "$guid$", speech.runId);
  speech.yodao_udp_host = file.Text("yodao_udp_host");

  // Shortcut texts, for the battle window to assign.
  for (const auto& shortcut : kShortcutKeys) options.shortcuts.*shortcut.field = file.Text(shortcut.key);

  // The reader font; an unreadable text leaves the font as it was.
  general.synedit_font = file.Text("synedit_font");
  if (!general.synedit_font.empty()) {
    if (auto font = ParseFontText(general.synedit_font)) general.readerFont = std::move(font);
  }
}

Result<SettingsFile> ReadSettingsFile(const ProgramFolder& folder) {
  const fs::path path = folder.Resolve(kSettingsFile);
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return Error{MissingSettingsMessage()};
  return SettingsFile::Load(path);
}

Status WriteSettingsKeys(const ProgramFolder& folder, const std::vector<SettingsEntry>& entries) {
  auto file = ReadSettingsFile(folder);
  if (!file) return file.status();
  for (const auto& entry : entries) file.value().Set(entry.key, entry.value);
  return file->Save(folder.Resolve(kSettingsFile));
}

Status WriteReaderOptions(const ProgramFolder& folder, PickingMode picking, ReadingHighlight highlight,
                          TGameOptions& options) {
  const bool byCaret = picking == PickingMode::ByCaret;
  const bool highlighted = highlight == ReadingHighlight::On;
  Status written = WriteSettingsKeys(folder, {{"quci_guangbiao", byCaret ? "1" : "0"},
                                              {"langdu_gaoliang", highlighted ? "1" : "0"}});
  if (!written) return written;
  options.general.quci_guangbiao = byCaret ? 1 : 0;
  options.general.langdu_gaoliang = highlighted ? 1 : 0;
  return Status::Ok();
}

Guid NewGuid(Random& random) {
  Guid guid;
  for (auto& byte : guid) byte = static_cast<uint8_t>(random.Below(256));
  guid[6] = static_cast<uint8_t>((guid[6] & 0x0F) | 0x40);  // version 4: random
  guid[8] = static_cast<uint8_t>((guid[8] & 0x3F) | 0x80);  // the standard variant
  return guid;
}

std::string GuidText(const Guid& guid) {
  std::string text = "{";
  for (size_t i = 0; i < guid.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", guid[i]);
    text += digits;
  }
  return text + "}";
}

std::string RunIdFromGuid(const Guid& guid) {
  std::string digits;
  for (char c : GuidText(guid))
    if (c != '{' && c != '}' && c != '-') digits += c;
  return digits.substr(0, 17);
}

std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with) {
  if (what.empty()) return std::string(text);
  std::string result;
  size_t start = 0;
  for (size_t found; (found = text.find(what, start)) != std::string_view::npos; start = found + what.size()) {
    result.append(text.substr(start, found - start));
    result.append(with);
  }
  result.append(text.substr(start));
  return result;
}

}  // namespace duvelin
