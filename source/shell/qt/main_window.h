// The main window TForm1: the browser band across the top, the reader's buttons, the material
// tree and the reading options on the left, the reading view in the centre and the status bar
// with the hint of the control under the mouse. It owns the bilingual document, the effect
// presets and the browser's link interception, opens materials, runs its first show and the
// tip-page timer, and receives the private messages. It wires the reader: the material tree
// opens materials and acts on its entries, F6/F7/F8 switch languages at the place the reading
// view names, F9 puts the word at hand into the new-word book, F2/F5/F4 and "全文朗读" read
// aloud through the voices of the battle window and the trainer, and the game's notices go to
// its game session. Closing goes through the exit dialog; a minimise with the minimise-to-trainer
// option on puts the program into the tray with the trainer on top, and the tray or the trainer
// bring it back. The script engine's commands and the other windows' work are left to their
// own classes.
#pragma once

#include <QMainWindow>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "battle/library_list.h"
#include "common/private_messages.h"
#include "reader/cnen_reader.h"
#include "reader/material_tree.h"
#include "reader/qt/material_tree_widget.h"
#include "settings/effect_presets.h"
#include "settings/font_text.h"
#include "settings/settings_store.h"
#include "shell/main_window_controls.h"
#include "shell/qt/shell_services.h"

class QAbstractButton;
class QAction;
class QCheckBox;
class QComboBox;
class QDialog;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;

namespace duvelin {

class GameSession;
class LinkInterceptor;
class ReaderSpeech;
class ReadingView;
class TForm_chinese;
class TForm_exit;
class TForm_pop;
class TipTimer;
class TrayIcon;
class WebBrowser;
class WindowReadingVoices;

class TForm1 final : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kInitialWidth = 745;
  static constexpr int kInitialHeight = 570;
  static constexpr int kBrowserBandHeight = 121;
  static constexpr int kLeftColumnWidth = 185;
  static constexpr int kSplitterWidth = 4;

  explicit TForm1(ShellServices& services, QWidget* parent = nullptr);
  ~TForm1() override;

  // Open material: fills the document and the view from a material file. A missing file shows
  // "文件不存在" (caption "错误") and changes nothing.
  void OpenMaterial(const std::filesystem::path& file);

  // The reading controls as the settings say (start-up); nothing is written.
  void ApplyReaderOptions(PickingMode picking, ReadingHighlight highlight);
  // The reading view's font from the stored font text (nothing keeps the view's font).
  void ApplyReaderFont(const std::optional<FontSpec>& font);
  PickingMode CurrentPickingMode() const;
  ReadingHighlight CurrentHighlight() const;

  // The work of a button, key or menu item.
  void RunCommand(ShellCommand command, int level = 0);

  // The windows made after this one, for the commands that show them. The authoring window's
  // saves, imports and closing rebuild the material tree.
  void SetSettingsWindow(QDialog* window) { m_settingsWindow = window; }
  void SetAuthoringWindow(QWidget* window);
  // The battle window owns the word libraries that the new-word book adds to.
  void SetBattleWindow(TForm_pop* window) { m_battleWindow = window; }
  // The voices the reader speaks with: English through the battle window, Chinese through the
  // trainer, whose every end of speech ends the reading here.
  void SetSpeechWindows(TForm_pop* battleWindow, TForm_chinese* trainer);
  // The exit dialog of the close query; without one the window closes when asked.
  void SetExitDialog(TForm_exit* dialog) { m_exitDialog = dialog; }
  // The trainer that a minimise into the tray shows and a restore closes.
  void SetTrainerWindow(TForm_chinese* trainer) { m_trainerWindow = trainer; }

  // Back from the tray (or from a minimise): the trainer closed, the window restored and in
  // front, "显示窗口" hidden, the tray icon removed.
  void Restore();
  bool IsInTray() const { return m_inTray; }
  // Made when first needed.
  TrayIcon& Tray();

  // The tree filled anew from text\.
  void RebuildMaterialTree();
  // F6: the paragraph at the current position in the language the word at hand asks for.
  void SwitchParagraph();
  // F9: the word at hand into the new-word book.
  void AddNewWord();

  // Parts for the other windows and for tests.
  Tcnen_reader& Document() { return m_document; }
  WebBrowser& BrowserBand() { return *m_browser; }
  ReadingView& Reader() { return *m_reader; }
  QMenu& SharedMenu() { return *m_sharedMenu; }
  QAction* RestoreAction() { return m_restoreAction; }
  MaterialTreeWidget& MaterialTree() { return *m_tree; }
  QSplitter& Splitter() { return *m_splitter; }
  QLabel& StatusPanel(int index) { return *m_statusPanels[index]; }
  QAbstractButton* Control(ShellCommand command) const;
  QAction* KeyAction(ShellCommand command) const;
  const EffectPresets& Effects() const { return *m_effects; }
  LinkInterceptor& Links() { return *m_links; }
  GameSession& Game() { return *m_game; }
  ReaderSpeech& Speech() { return *m_speech; }
  TipTimer& Tips() { return *m_tipTimer; }
  bool FirstShowDone() const { return m_firstShowDone; }
  std::optional<PrivateMessage> LastGameCommand() const { return m_lastGameCommand; }

  // The banner written into the blank page at first show.
  static QString BannerLine();

 signals:
  void firstShowCompleted();
  // The close query let the window close; the program ends.
  void closed();

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QWidget* BuildLeftColumn();
  void BuildSharedMenu();
  void AddMenuEntries(QMenu& menu, const std::vector<MenuEntry>& entries);
  void BindKeys();
  void FirstShow();
  void OpenTreeEntry(QTreeWidgetItem* item);
  void ActOnTreeEntry(DoubleClickAction action, const QPoint& globalPosition);
  // Hands an error to the error trap (posted: the handler itself returns).
  void ReportError(const std::string& message);
  void StoreReaderOptions();
  void ApplyCaret();
  void HandlePrivateMessage(const PrivateMessage& message);
  void HandleTrayNotify(intptr_t mouseMessage);
  void EnterTray();
  void OpenHelp();
  void ShowAbout();
  void Copy();

  ShellServices& m_services;
  Tcnen_reader m_document;
  std::unique_ptr<EffectPresets> m_effects;
  std::unique_ptr<LinkInterceptor> m_links;
  // The game over the browser band; made after the band, gone before it.
  std::unique_ptr<GameSession> m_game;
  std::unique_ptr<TipTimer> m_tipTimer;
  std::unique_ptr<WindowReadingVoices> m_voices;
  std::unique_ptr<ReaderSpeech> m_speech;

  WebBrowser* m_browser = nullptr;
  ReadingView* m_reader = nullptr;
  QSplitter* m_splitter = nullptr;
  MaterialTreeWidget* m_tree = nullptr;
  QMenu* m_sharedMenu = nullptr;
  QAction* m_restoreAction = nullptr;
  QLabel* m_statusPanels[2] = {nullptr, nullptr};
  QRadioButton* m_pickByCaret = nullptr;
  QRadioButton* m_pickByMouse = nullptr;
  QCheckBox* m_highlight = nullptr;
  std::map<ShellCommand, QAbstractButton*> m_controls;
  std::map<ShellCommand, QAction*> m_keyActions;
  QDialog* m_settingsWindow = nullptr;
  QWidget* m_authoringWindow = nullptr;
  TForm_pop* m_battleWindow = nullptr;
  // The library list the new-word book adds to while no battle window exists.
  LibraryList m_fallbackLibraries;
  TForm_exit* m_exitDialog = nullptr;
  TForm_chinese* m_trainerWindow = nullptr;
  std::unique_ptr<TrayIcon> m_tray;
  bool m_inTray = false;
  bool m_closeQueryOpen = false;

  bool m_firstShowStarted = false;
  bool m_firstShowDone = false;
  std::optional<PrivateMessage> m_lastGameCommand;
};

}  // namespace duvelin
