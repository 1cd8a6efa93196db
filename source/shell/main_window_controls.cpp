#include "shell/main_window_controls.h"

namespace duvelin {

const std::vector<ReaderControl>& ReaderControls() {
  using C = ShellCommand;
  using K = ControlKind;
  static const std::vector<ReaderControl> controls = {
      {C::ReadWord, K::Button, "单词朗读 F2", "朗读当前光标或者鼠标所在位置的单词，快捷键 F2", "F2"},
      {C::ReadSentence, K::Button, "句子朗读 F5", "朗读当前光标或者鼠标所在位置的句子，快捷键 F5", "F5"},
      {C::ReadParagraph, K::Button, "整段朗读 F4", "朗读当前光标或者鼠标所在位置的整段文本，快捷键 F4", "F4"},
      {C::ReadWhole, K::Button, "全文朗读", "朗读全文", ""},
      {C::SwitchParagraph, K::Button, "中英文切换-当前段 F6",
       "当前光标或者鼠标所在位置的整段文本显示为中文或者英文，快捷键 F6", "F6"},
      {C::SwitchWhole, K::Button, "中英文切换-  全文 F7", "全文切换显示为中文或者英文，快捷键 F7", "F7"},
      {C::Interleave, K::Button, "中英文同屏交叉显示 F8", "按段交替显示英文和中文，快捷键 F8", "F8"},
      {C::CloseAdvertisement, K::Button, "关闭广告", "点此按钮可关闭迷宫内的广告显示", ""},
      {C::Help, K::Button, "帮助", "", "F1"},
      {C::NewWord, K::Button, "生词F9", "添加当前鼠标下的单词到生词本，背单词用", "F9"},
      {C::AddMaterial, K::Button, "添加双语阅读材料", "添加双语阅读文本到本阅读器内。", ""},
      {C::PickByCaret, K::Radio, "光标点击取词", "朗读或者翻译以光标（黑竖条）所在位置为准", ""},
      {C::PickByMouse, K::Radio, "鼠标取词", "朗读和翻译取词以鼠标所在位置为准", ""},
      {C::HighlightWhileReading, K::CheckBox, "朗读时高亮", "朗读句子和段落时，相应内容高亮显示", ""},
      {C::Settings, K::Button, "设置…", "语音引擎，阅读器字体，背景图等设置", ""},
  };
  return controls;
}

const std::vector<std::string_view>& HiddenButtonCaptions() {
  static const std::vector<std::string_view> captions = {"单词翻译", "发表留言评论", "上论坛讨论"};
  return captions;
}

const std::vector<MenuEntry>& SharedMenuEntries() {
  using C = ShellCommand;
  using V = MenuVisibility;
  static const std::vector<MenuEntry> entries = {
      {"显示窗口", C::RestoreWindow, 0, V::Hidden, "", {}},
      {"背单词", C::CompanionBattle, kCompanionBattleLevel, V::Shown,
       "和某个同伴一起背单词，连续背满20个单词，就有机会增长和她的爱情值", {}},
      {"小游戏背单词",
       C::None,
       0,
       V::Shown,
       "",
       {
           {"泡泡龙",
            C::None,
            0,
            V::Shown,
            "",
            {
                {"初级", C::BubbleGame, 60, V::Shown, "", {}},
                {"中级", C::BubbleGame, 120, V::Shown, "", {}},
                {"高级", C::BubbleGame, 200, V::Shown, "", {}},
            }},
           {"五子棋背单词",
            C::None,
            0,
            V::Shown,
            "",
            {
                {"白痴级", C::Gomoku, 0, V::Shown, "", {}},
                {"入门级", C::Gomoku, 1, V::Shown, "", {}},
                {"熟练级", C::Gomoku, 2, V::Shown, "", {}},
                {"中级", C::Gomoku, 3, V::Hidden, "", {}},
                {"高级", C::Gomoku, 4, V::Hidden, "", {}},
            }},
       }},
      {},
      {"复制", C::Copy, 0, V::Shown, "", {}},
      {"添加阅读材料", C::AddMaterial, 0, V::Shown, "", {}},
      {},
      {"单词朗读", C::ReadWord, 0, V::Shown, "", {}},
      {"句子朗读", C::ReadSentence, 0, V::Shown, "", {}},
      {"整段朗读", C::ReadParagraph, 0, V::Shown, "", {}},
      {"全文朗读", C::ReadWhole, 0, V::Shown, "", {}},
      {},
      {"中英切换-段", C::SwitchParagraph, 0, V::Shown, "", {}},
      {"中英切换-全文", C::SwitchWhole, 0, V::Shown, "", {}},
      {"中英文同时显示", C::Interleave, 0, V::Shown, "", {}},
      {},
      {"设置…", C::Settings, 0, V::Shown, "", {}},
      {"作者…", C::About, 0, V::Shown, "", {}},
  };
  return entries;
}

}  // namespace duvelin
