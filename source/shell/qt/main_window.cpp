#include "shell/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWebEnginePage>

#include "battle/new_word_book.h"
#include "battle/qt/battle_window.h"
#include "battle/word_library_state.h"
#include "common/qt/qt_text.h"
#include "reader/material_file.h"
#include "reader/qt/authoring_window.h"
#include "reader/qt/error_report.h"
#include "reader/qt/material_tree_widget.h"
#include "reader/qt/reader_speech.h"
#include "reader/qt/reading_view.h"
#include "reader/view_position_map.h"
#include "script/browser/browser_addresses.h"
#include "script/browser/browser_events.h"
#include "script/browser/link_interceptor.h"
#include "script/browser/qt/web_browser.h"
#include "script/game_session.h"
#include "settings/qt/font_conversion.h"
#include "shell/exit_rules.h"
#include "shell/first_show_rules.h"
#include "shell/qt/exit_dialog.h"
#include "shell/qt/tray_icon.h"
#include "shell/qt/window_reading_voices.h"
#include "shell/tip_timer.h"
#include "shell/tray_rules.h"
#include "trainer/qt/trainer_window.h"

namespace duvelin {
namespace {

constexpr char kErrorCaption[] = "错误";
constexpr char kStartText[] = "dat\\new.dat";
constexpr char kHelpPage[] = "dat\\help.htm";

QString AboutText() {
  return QStringLiteral("Duvelin 1.2\n双语阅读、背单词与文字游戏\n作者：Duvelin 开发组");
}

QKeySequence KeyOf(std::string_view key) { return QKeySequence(FromUtf8(key)); }

}  // namespace

TForm1::TForm1(ShellServices& services, QWidget* parent) : QMainWindow(parent), m_services(services) {
  setObjectName(QStringLiteral("TForm1"));
  setWindowTitle(FromUtf8(kApplicationTitle));
  QFont windowFont(QStringLiteral("宋体"));
  windowFont.setPixelSize(13);
  setFont(windowFont);
  resize(kInitialWidth, kInitialHeight);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  m_browser = new WebBrowser(central);
  m_browser->setObjectName(QStringLiteral("WebBrowser1"));
  m_browser->setFixedHeight(kBrowserBandHeight);
  layout->addWidget(m_browser);

  m_splitter = new QSplitter(Qt::Horizontal, central);
  m_splitter->setHandleWidth(kSplitterWidth);
  m_splitter->setChildrenCollapsible(false);
  m_splitter->addWidget(BuildLeftColumn());
  m_reader = new ReadingView(m_splitter);
  m_reader->setObjectName(QStringLiteral("SynEdit1"));
  m_splitter->addWidget(m_reader);
  m_splitter->setStretchFactor(0, 0);
  m_splitter->setStretchFactor(1, 1);
  m_splitter->setSizes({kLeftColumnWidth, kInitialWidth - kLeftColumnWidth - kSplitterWidth});
  layout->addWidget(m_splitter, 1);
  setCentralWidget(central);

  m_statusPanels[0] = new QLabel(this);
  m_statusPanels[0]->setFixedWidth(430);
  m_statusPanels[1] = new QLabel(this);
  m_statusPanels[1]->setFixedWidth(50);
  statusBar()->addWidget(m_statusPanels[0]);
  statusBar()->addWidget(m_statusPanels[1]);

  BuildSharedMenu();
  m_browser->SetContextMenu(m_sharedMenu);
  connect(m_reader, &ReadingView::menuRequested, this,
          [this](const QPoint& position) { m_sharedMenu->popup(position); });
  BindKeys();
  services.poster.Register(MessageTarget::MainWindow, this);

  // Creation: random numbers are seeded by their owner (services.random); then the blank page,
  // the effect presets, the browser's event sink and the document.
  m_browser->Navigate("about:blank");
  m_effects = std::make_unique<EffectPresets>(EffectPresets::Load(services.folder));
  m_links = std::make_unique<LinkInterceptor>(services.poster, services.folder);
  m_browser->SetLinkInterceptor(m_links.get());
  m_game = std::make_unique<GameSession>(GameSessionServices{
      *m_browser, services.prompter, services.options, services.folder, &services.scheduler});
  m_browser->SetEvents(std::make_unique<BrowserEvents>(services.poster, m_game->Notices().Advertisement()));
  m_browser->SetWindowOpener([shell = &services](const QUrl& url) { shell->OpenExternal(url); });
  // The document is a member: created empty, in English mode, with the window.

  m_voices = std::make_unique<WindowReadingVoices>();
  m_speech = std::make_unique<ReaderSpeech>(m_document, *m_reader, Control(ShellCommand::ReadWhole), *m_voices,
                                            services.options.general);

  m_tipTimer = std::make_unique<TipTimer>(
      services.random, kTipPagePrefix, [this] { return isActiveWindow(); },
      [this](const std::string& address) { m_browser->Navigate(address); });
}

TForm1::~TForm1() {
  // The browser's page may still ask the interceptor while it is being torn down, and report
  // events whose handlers hold the game's advertisement state.
  m_browser->SetLinkInterceptor(nullptr);
  m_browser->SetEvents(nullptr);
}

QWidget* TForm1::BuildLeftColumn() {
  auto* column = new QWidget(this);
  column->setObjectName(QStringLiteral("LeftColumn"));
  column->setMinimumWidth(120);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(3);

  m_tree = new MaterialTreeWidget(column);
  m_tree->setObjectName(QStringLiteral("TreeView1"));
  connect(m_tree, &MaterialTreeWidget::materialClicked, this, &TForm1::OpenTreeEntry);
  connect(m_tree, &MaterialTreeWidget::actionRequested, this, &TForm1::ActOnTreeEntry);

  for (const ReaderControl& control : ReaderControls()) {
    QAbstractButton* widget = nullptr;
    switch (control.kind) {
      case ControlKind::Button: widget = new QPushButton(FromUtf8(control.caption), column); break;
      case ControlKind::Radio: widget = new QRadioButton(FromUtf8(control.caption), column); break;
      case ControlKind::CheckBox: widget = new QCheckBox(FromUtf8(control.caption), column); break;
    }
    widget->setFocusPolicy(Qt::NoFocus);
    if (!control.hint.empty()) widget->setStatusTip(FromUtf8(control.hint));
    m_controls[control.command] = widget;
    // The tree stands between the last button and the reading options.
    if (control.command == ShellCommand::PickByCaret) layout->addWidget(m_tree, 1);
    layout->addWidget(widget);
    const ShellCommand command = control.command;
    connect(widget, &QAbstractButton::clicked, this, [this, command] { RunCommand(command); });
  }
  m_pickByCaret = static_cast<QRadioButton*>(m_controls.at(ShellCommand::PickByCaret));
  m_pickByMouse = static_cast<QRadioButton*>(m_controls.at(ShellCommand::PickByMouse));
  m_highlight = static_cast<QCheckBox*>(m_controls.at(ShellCommand::HighlightWhileReading));
  m_pickByMouse->setChecked(true);
  m_highlight->setChecked(true);

  // Controls kept from an older layout; hidden, with no work.
  for (std::string_view caption : HiddenButtonCaptions()) {
    auto* hidden = new QPushButton(FromUtf8(caption), column);
    hidden->setVisible(false);
  }
  auto* partners = new QComboBox(column);
  partners->setObjectName(QStringLiteral("PartnerList"));
  partners->setVisible(false);
  return column;
}

void TForm1::BuildSharedMenu() {
  m_sharedMenu = new QMenu(this);
  m_sharedMenu->setObjectName(QStringLiteral("PopupMenu1"));
  AddMenuEntries(*m_sharedMenu, SharedMenuEntries());
}

void TForm1::AddMenuEntries(QMenu& menu, const std::vector<MenuEntry>& entries) {
  for (const MenuEntry& entry : entries) {
    if (entry.IsSeparator()) {
      menu.addSeparator();
      continue;
    }
    QAction* action = nullptr;
    if (!entry.children.empty()) {
      QMenu* sub = menu.addMenu(FromUtf8(entry.caption));
      AddMenuEntries(*sub, entry.children);
      action = sub->menuAction();
    } else {
      action = menu.addAction(FromUtf8(entry.caption));
      const ShellCommand command = entry.command;
      const int level = entry.level;
      connect(action, &QAction::triggered, this, [this, command, level] { RunCommand(command, level); });
    }
    action->setData(entry.level);
    if (!entry.hint.empty()) action->setStatusTip(FromUtf8(entry.hint));
    action->setVisible(entry.visibility == MenuVisibility::Shown);
    if (entry.command == ShellCommand::RestoreWindow) m_restoreAction = action;
  }
}

void TForm1::BindKeys() {
  for (const ReaderControl& control : ReaderControls()) {
    if (control.key.empty()) continue;
    auto* action = new QAction(FromUtf8(control.caption), this);
    action->setShortcut(KeyOf(control.key));
    action->setShortcutContext(Qt::WindowShortcut);
    const ShellCommand command = control.command;
    connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
    addAction(action);
    m_keyActions[command] = action;
  }
}

QAbstractButton* TForm1::Control(ShellCommand command) const {
  auto found = m_controls.find(command);
  return found == m_controls.end() ? nullptr : found->second;
}

QAction* TForm1::KeyAction(ShellCommand command) const {
  auto found = m_keyActions.find(command);
  return found == m_keyActions.end() ? nullptr : found->second;
}

QString TForm1::BannerLine() {
  return QStringLiteral(
      "<p style=\"font:bold 15px sans-serif;color:#a00000;margin:8px\">Duvelin 1.2 —— 双语阅读 · 背单词 · "
      "文字冒险，正在打开阅读材料页……</p>");
}

void TForm1::OpenMaterial(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) {
    m_services.prompter.ShowError(kMaterialMissingMessage, kErrorCaption);
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  Result<Material> material = LoadMaterial(file);
  if (!material) {
    QApplication::restoreOverrideCursor();
    m_services.prompter.ShowError(material.message(), kErrorCaption);
    return;
  }
  Material texts = std::move(material).value();
  // The view's whole text is replaced by the English text.
  m_reader->SetLines(m_document.Refill(std::move(texts.english), std::move(texts.chinese)));
  setWindowTitle(FromUtf8(MaterialCaption(file)));
  QApplication::restoreOverrideCursor();
}

void TForm1::ApplyReaderOptions(PickingMode picking, ReadingHighlight highlight) {
  (picking == PickingMode::ByCaret ? m_pickByCaret : m_pickByMouse)->setChecked(true);
  m_highlight->setChecked(highlight == ReadingHighlight::On);
}

void TForm1::ApplyReaderFont(const std::optional<FontSpec>& font) {
  if (!font) return;
  m_reader->setFont(FontFromSpec(*font, m_reader->font()));
  QPalette colours = m_reader->palette();
  colours.setColor(QPalette::Text, ColourToQColor(font->colour, colours));
  m_reader->setPalette(colours);
}

PickingMode TForm1::CurrentPickingMode() const {
  return m_pickByCaret->isChecked() ? PickingMode::ByCaret : PickingMode::ByMouse;
}

ReadingHighlight TForm1::CurrentHighlight() const {
  return m_highlight->isChecked() ? ReadingHighlight::On : ReadingHighlight::Off;
}

void TForm1::ApplyCaret() {
  m_reader->SetCaret(CurrentPickingMode() == PickingMode::ByCaret ? ReadingView::Caret::Shown
                                                                  : ReadingView::Caret::Hidden);
}

void TForm1::StoreReaderOptions() {
  ApplyCaret();
  Status written = WriteReaderOptions(m_services.folder, CurrentPickingMode(), CurrentHighlight(), m_services.options);
  if (!written) m_services.prompter.ShowError(written.message(), kErrorCaption);
}

void TForm1::RunCommand(ShellCommand command, int /*level*/) {
  switch (command) {
    case ShellCommand::SwitchWhole: m_reader->SetLines(m_document.ToggleWhole()); break;
    case ShellCommand::Interleave: m_reader->SetLines(m_document.CycleInterleave()); break;
    case ShellCommand::CloseAdvertisement:
      m_services.poster.Post(MessageTarget::MainWindow, {MSG_GAME_COMMAND, GAME_HIDE_AD, 0});
      break;
    case ShellCommand::AddMaterial:
      m_services.poster.Post(MessageTarget::MainWindow, {MSG_GAME_COMMAND, GAME_SHOW_AUTHORING, 0});
      break;
    case ShellCommand::Help: OpenHelp(); break;
    case ShellCommand::PickByCaret:
    case ShellCommand::PickByMouse:
    case ShellCommand::HighlightWhileReading: StoreReaderOptions(); break;
    case ShellCommand::Settings:
      if (m_settingsWindow) m_settingsWindow->exec();
      break;
    case ShellCommand::Copy: Copy(); break;
    case ShellCommand::About: ShowAbout(); break;
    case ShellCommand::SwitchParagraph: SwitchParagraph(); break;
    case ShellCommand::NewWord: AddNewWord(); break;
    case ShellCommand::ReadWord: m_speech->ReadWord(CurrentPickingMode()); break;
    case ShellCommand::ReadSentence: m_speech->ReadSentence(CurrentPickingMode()); break;
    case ShellCommand::ReadParagraph: m_speech->ReadParagraph(CurrentPickingMode()); break;
    case ShellCommand::ReadWhole: m_speech->ReadAllOrStop(); break;
    case ShellCommand::RestoreWindow: Restore(); break;
    // The battles are the work of the battle window, which takes these commands over.
    case ShellCommand::CompanionBattle:
    case ShellCommand::BubbleGame:
    case ShellCommand::Gomoku:
    case ShellCommand::None: break;
  }
}

void TForm1::OpenHelp() {
  m_services.OpenExternal(QUrl::fromLocalFile(QString::fromStdString(m_services.folder.Resolve(kHelpPage).string())));
}

void TForm1::ShowAbout() { m_services.prompter.Inform(ToUtf8(AboutText()), "关于"); }

void TForm1::Copy() {
  if (m_browser->hasFocus() || (m_browser->focusProxy() && m_browser->focusProxy()->hasFocus()))
    m_browser->page()->triggerAction(QWebEnginePage::Copy);
  else
    m_reader->CopySelection();
}

void TForm1::SetAuthoringWindow(QWidget* window) {
  m_authoringWindow = window;
  if (auto* authoring = qobject_cast<TForm_create_read*>(window))
    connect(authoring, &TForm_create_read::materialsChanged, this, &TForm1::RebuildMaterialTree);
}

void TForm1::ReportError(const std::string& message) { ReportToErrorTrap(m_services.scheduler, message); }

void TForm1::SetSpeechWindows(TForm_pop* battleWindow, TForm_chinese* trainer) {
  m_voices->SetWindows(battleWindow, trainer);
  if (trainer) trainer->SetEndOfReadingHandler([this] { m_speech->EndOfReading(); });
}

void TForm1::SwitchParagraph() {
  const PickingMode picking = CurrentPickingMode();
  const std::int32_t position = m_reader->CurrentPosition(picking);
  std::string word = picking == PickingMode::ByCaret ? m_reader->WordAtCaret() : m_reader->WordUnderPointer();
  if (word.empty()) word = m_reader->WordAtCaret();
  auto counterpart = m_document.Counterpart(position, WantedLanguageForWord(word));
  if (!counterpart) {
    ReportError(counterpart.message());
    return;
  }
  const std::optional<CounterpartLine>& line = *counterpart;
  if (line && !line->text.empty()) m_reader->ReplaceLine(line->shownLine, line->text);
}

void TForm1::AddNewWord() {
  // The selection when there is one; else the document's word at the current position —
  // under the pointer when picking by mouse (nothing while the pointer is outside the view),
  // at the caret when picking by caret.
  std::string word;
  const PickingMode picking = CurrentPickingMode();
  if (m_reader->HasSelection()) {
    word = m_reader->SelectedText();
  } else if (picking == PickingMode::ByCaret || m_reader->PointerCell()) {
    word = m_document.WordSpanAt(m_reader->CurrentPosition(picking)).value_or(std::string());
  }
  if (word.empty()) return;
  LibraryList& libraries =
      m_battleWindow && m_battleWindow->Libraries() ? m_battleWindow->Libraries()->List() : m_fallbackLibraries;
  const NewWordOutcome outcome = AddToNewWordBook(m_services.folder, m_services.prompter, libraries, word);
  if (outcome == NewWordOutcome::Added && m_battleWindow) m_battleWindow->LibraryListChanged();
}

void TForm1::RebuildMaterialTree() { m_tree->Rebuild(BuildMaterialTree(m_services.folder)); }

void TForm1::OpenTreeEntry(QTreeWidgetItem* item) {
  std::optional<std::filesystem::path> file =
      MaterialFileToOpen(m_services.folder, MaterialTreeWidget::RelativePathOf(item));
  // An entry whose file has gone since the last rebuild is ignored.
  if (!file) return;
  OpenMaterial(*file);
  m_reader->setFocus();
}

void TForm1::ActOnTreeEntry(DoubleClickAction action, const QPoint& globalPosition) {
  switch (action) {
    case DoubleClickAction::PostAddMaterial:
      m_services.poster.Post(MessageTarget::MainWindow, {MSG_GAME_COMMAND, GAME_SHOW_AUTHORING, 0});
      break;
    case DoubleClickAction::OpenLibraryFolder:
      m_services.OpenExternal(
          QUrl::fromLocalFile(QString::fromStdString(MaterialLibraryFolder(m_services.folder).string())));
      break;
    case DoubleClickAction::ShowPopupMenu: m_sharedMenu->popup(globalPosition); break;
    case DoubleClickAction::None: break;
  }
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (m_firstShowStarted) return;
  m_firstShowStarted = true;
  QMetaObject::invokeMethod(this, [this] { FirstShow(); }, Qt::QueuedConnection);
}

void TForm1::FirstShow() {
  m_browser->DocumentWrite(ToUtf8(BannerLine()));
  RebuildMaterialTree();
  showMaximized();
  OpenMaterial(m_services.folder.Resolve(kStartText));

  const std::string voice =
      SelectedVoiceDescription(m_services.voices.VoiceDescriptions(), m_services.options.speech.game_tts_index);
  if (std::optional<std::string> notice = SpeechEngineNotice(voice)) {
    m_reader->AppendLine("");
    m_reader->AppendLine(*notice);
  }
  ApplyCaret();
  ApplyVoicePronunciationRule(voice, m_services.options);
  m_tipTimer->Start(m_services.scheduler);
  m_browser->Navigate(kMakerPageAddress);
  m_firstShowDone = true;
  emit firstShowCompleted();
}

void TForm1::HandlePrivateMessage(const PrivateMessage& message) {
  if (message.number == MSG_TRAY_NOTIFY) {
    HandleTrayNotify(message.lParam);
    return;
  }
  if (message.number != MSG_GAME_COMMAND) return;
  m_lastGameCommand = message;
  if (message.wParam == GAME_SHOW_AUTHORING) {
    if (m_authoringWindow) {
      m_authoringWindow->show();
      m_authoringWindow->raise();
    }
    return;
  }
  // The script engine runs the link's text kept in the interceptor's pending link (and the
  // other notices); its errors go to the error trap once this handler has returned.
  const Status done = m_game->HandleGameCommand(message.wParam, message.lParam, m_links->PendingLink());
  if (!done.ok()) ReportError(done.message());
}

TrayIcon& TForm1::Tray() {
  if (!m_tray) m_tray = std::make_unique<TrayIcon>(m_services.poster);
  return *m_tray;
}

void TForm1::closeEvent(QCloseEvent* event) {
  // Asked again while the dialog is open: the open dialog answers.
  if (m_closeQueryOpen) {
    event->ignore();
    return;
  }
  CloseDecision decision = CloseDecision::Close;
  if (m_exitDialog) {
    // The game keeps no record of unsaved changes yet, and the player is never online, so
    // "存盘退出" stays disabled; the game's unsaved-changes flag belongs here once it has one.
    const ExitConditions conditions{m_services.options.general.desktop_word != 0, false, false};
    m_closeQueryOpen = true;
    const int result = m_exitDialog->Ask(conditions);
    m_closeQueryOpen = false;
    decision = DecideClose(result);
  }
  switch (decision) {
    case CloseDecision::RefuseAndMinimise:
      event->ignore();
      // Posted, as a minimise command is: the dialog has gone when the window minimises.
      QMetaObject::invokeMethod(this, [this] { showMinimized(); }, Qt::QueuedConnection);
      return;
    case CloseDecision::Refuse: event->ignore(); return;
    case CloseDecision::SaveThenClose:
      // Saving into slot 0 comes here once games can be saved; until then the button that
      // answers this is never enabled.
    case CloseDecision::Close: break;
  }
  // The window closes and the program ends. No system hot key was registered (the
  // hide-and-show toggle has no key in this program), so there is none to give back; the tray
  // icon goes.
  if (m_tray) m_tray->Remove();
  m_inTray = false;
  QMainWindow::closeEvent(event);
  event->accept();
  emit closed();
}

void TForm1::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !isMinimized() || m_inTray) return;
  if (MinimiseKindFor(m_services.options.general) == MinimiseKind::ToTray) EnterTray();
}

void TForm1::EnterTray() {
  m_inTray = true;
  // The program has no icon of its own; the style's computer stands in for it.
  QIcon icon = QApplication::windowIcon();
  if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_ComputerIcon);
  Tray().Add(icon, FromUtf8(TrayTip(kApplicationTitle)));
  if (m_restoreAction) m_restoreAction->setVisible(true);
  // No taskbar button remains: the window leaves the screen, still minimised. Posted, because
  // a minimise asked for by the program shows the window again once its state has changed.
  QMetaObject::invokeMethod(
      this, [this] {
        if (m_inTray) hide();
      },
      Qt::QueuedConnection);
  if (m_trainerWindow) {
    if (!(m_trainerWindow->windowFlags() & Qt::WindowStaysOnTopHint))
      m_trainerWindow->setWindowFlag(Qt::WindowStaysOnTopHint);
    m_trainerWindow->show();
    m_trainerWindow->raise();
  }
}

void TForm1::Restore() {
  // The trainer is a tool window: its closing never ends the program, even while this
  // window is still hidden.
  if (m_trainerWindow) m_trainerWindow->close();
  m_inTray = false;
  setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  show();
  raise();
  activateWindow();
  if (m_restoreAction) m_restoreAction->setVisible(false);
  if (m_tray) m_tray->Remove();
}

void TForm1::HandleTrayNotify(intptr_t mouseMessage) {
  switch (TrayRequestFor(mouseMessage, m_inTray || isMinimized())) {
    case TrayRequest::Restore: Restore(); break;
    case TrayRequest::ShowMenu: m_sharedMenu->popup(QCursor::pos()); break;
    case TrayRequest::None: break;
  }
}

bool TForm1::event(QEvent* event) {
  if (event->type() == PrivateMessageEvent::EventType()) {
    HandlePrivateMessage(static_cast<PrivateMessageEvent*>(event)->Message());
    return true;
  }
  if (event->type() == QEvent::StatusTip) {
    m_statusPanels[0]->setText(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

}  // namespace duvelin
