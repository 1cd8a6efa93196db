// The main window's controls as data: the left column's buttons with their captions, hints and
// keys, and the shared pop-up menu with its items in order. The window builds its widgets from
// these tables; what each command does is the window's (and later the reader's and the
// battle window's) business.
#pragma once

#include <string_view>
#include <vector>

namespace duvelin {

enum class ShellCommand {
  None,
  ReadWord,
  ReadSentence,
  ReadParagraph,
  ReadWhole,
  SwitchParagraph,
  SwitchWhole,
  Interleave,
  CloseAdvertisement,
  Help,
  NewWord,
  AddMaterial,
  PickByCaret,
  PickByMouse,
  HighlightWhileReading,
  Settings,
  // Menu only.
  RestoreWindow,
  CompanionBattle,
  BubbleGame,
  Gomoku,
  Copy,
  About,
};

enum class ControlKind { Button, Radio, CheckBox };

struct ReaderControl {
  ShellCommand command;
  ControlKind kind;
  std::string_view caption;
  std::string_view hint;  // empty for none
  std::string_view key;   // "F2" …, empty for none
};

// The left column from top to bottom (the tree sits between the buttons and the radios).
const std::vector<ReaderControl>& ReaderControls();

// The hidden controls that have no function: three buttons (the partner list is the fourth).
const std::vector<std::string_view>& HiddenButtonCaptions();

enum class MenuVisibility { Shown, Hidden };

struct MenuEntry {
  std::string_view caption;  // empty for a separator
  ShellCommand command = ShellCommand::None;
  int level = 0;             // the battle level of the game entries
  MenuVisibility visibility = MenuVisibility::Shown;
  std::string_view hint;
  std::vector<MenuEntry> children;

  bool IsSeparator() const { return caption.empty(); }
};

// The shared pop-up menu of the browser, the reader and the tray icon.
const std::vector<MenuEntry>& SharedMenuEntries();

inline constexpr int kCompanionBattleLevel = 50;

}  // namespace duvelin
