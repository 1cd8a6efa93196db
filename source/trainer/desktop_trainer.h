// The desktop word trainer TForm_chinese without its window: the word cycle (a 100 ms tick that
// picks the next word of the current library through the battle window's picker), the chain
// that every end of speech advances (letters by the Chinese voice, the English word through the
// pronunciation service, the Chinese meaning, a pause of 20 ticks), pause and resume, the menu's
// commands and options, and the Chinese voice that the reader and the game also speak with.
// The window shows what ShowWord is given, turns its menu into calls here and hands every
// MSG_SPEECH_DONE to OnSpeechDone.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "battle/pronunciation.h"
#include "battle/word_library_state.h"
#include "common/private_messages.h"
#include "common/program_folder.h"
#include "common/prompter.h"
#include "common/random.h"
#include "common/result.h"
#include "common/scheduler.h"
#include "reader/speech/speech_engine.h"
#include "settings/game_options.h"
#include "trainer/trainer_options.h"

namespace duvelin {

// The window (UTF-8 texts).
inline constexpr char kTrainerCaption[] = "不知不觉背单词";
inline constexpr int kTrainerLeft = 74, kTrainerTop = 428, kTrainerWidth = 470, kTrainerHeight = 140;
inline constexpr char kTrainerMenuButton[] = "菜单";
inline constexpr char kMenuShowGame[] = "显示游戏窗口";
inline constexpr char kMenuHide[] = "隐藏窗口(继续朗读)";
inline constexpr char kMenuClose[] = "关闭本窗口";
inline constexpr char kMenuEnglishEngine[] = "英文朗读引擎设置";
inline constexpr char kMenuSpeakLetters[] = "朗读字母";
inline constexpr char kMenuSpeakWord[] = "朗读单词";
inline constexpr char kMenuSpeakChinese[] = "朗读中文";
inline constexpr char kMenuNoChineseVoice[] = "中文朗读引擎不存在";
inline constexpr char kMenuWholeChinese[] = "中文整句朗读";
inline constexpr char kMenuPause[] = "暂停";
inline constexpr char kMenuResume[] = "继续朗读";
inline constexpr char kClosedNotice[] =
    "您临时关闭了桌面背单词窗口，可以在“游戏设置”界面内选择是否关闭或开启此窗口。";
inline constexpr char kClosedNoticeCaption[] = "提示";

inline constexpr uint32_t kTrainerTickMs = 100;
inline constexpr int kTrainerPauseTicks = 20;
inline constexpr size_t kTrainerChineseMaxLength = 255;  // bytes shown of a meaning
inline constexpr size_t kShortMeaningLength = 8;         // bytes: a meaning this short is spoken whole

// What the trainer window shows.
class TrainerDisplay {
 public:
  virtual ~TrainerDisplay() = default;
  // The two labels (GBK), painted at once.
  virtual void ShowWord(const std::string& english, const std::string& chinese) = 0;
};

enum class TrainerWindowState { Closed, Shown, Hidden };

class DesktopTrainer {
 public:
  // Creation: reads the options file and takes the first voice with "Language" exactly "804"
  // as the Chinese voice; every end of that voice is posted to the trainer as MSG_SPEECH_DONE.
  // `options` is the options record whose desktop_word "关闭本窗口" switches off.
  DesktopTrainer(ProgramFolder folder, Scheduler& scheduler, SpeechEngine& chineseVoice, WordPronouncer& english,
                 WordLibraryState& words, TrainerDisplay& display, MessagePoster& poster, Prompter& prompter,
                 Random& random, GeneralOptions& options);
  ~DesktopTrainer();
  DesktopTrainer(const DesktopTrainer&) = delete;
  DesktopTrainer& operator=(const DesktopTrainer&) = delete;

  // Run first on every end of speech: the reader's end of reading.
  void SetEndOfReadingHandler(std::function<void()> handler) { m_endOfReading = std::move(handler); }
  // The battle window's tip-page step, called after a word with probability 1/3.
  void SetTipsPageHandler(std::function<void()> handler) { m_showTipsPage = std::move(handler); }

  // The window was shown (starts the cycle) or closed in any way (stops it).
  void Show();
  void Close();
  TrainerWindowState WindowState() const { return m_window; }

  // Menu commands. "显示游戏窗口" posts MSG_TRAY_NOTIFY (lParam 513) to the main window;
  // "隐藏窗口(继续朗读)" hides without closing, so the cycle goes on; "关闭本窗口" shows its
  // notice, switches desktop_word off for this run (not in the settings file) and closes.
  void ShowGameWindow();
  void Hide();
  void CloseForThisRun();
  // "暂停" / "继续朗读".
  void TogglePause();
  // Flips an option and writes the options file; the error when it could not be written (the
  // option stays flipped for this run).
  Status ToggleOption(TrainerOption option);

  // The Chinese voice for the reader and the game: speaks asynchronously when the voice
  // exists, else nothing. StopChinese ends its speech and drops what is queued.
  void SpeakChinese(const std::string& text);
  void StopChinese();

  // MSG_SPEECH_DONE.
  void OnSpeechDone(intptr_t wParam);

  // For the window.
  bool HasChineseVoice() const { return m_chineseVoicePresent; }
  bool IsPaused() const { return m_paused; }
  const TrainerOptions& Options() const { return m_options; }
  std::string_view PauseCaption() const { return m_paused ? kMenuResume : kMenuPause; }
  std::string_view ChineseOptionCaption() const { return m_chineseVoicePresent ? kMenuSpeakChinese : kMenuNoChineseVoice; }
  const std::string& English() const { return m_english; }  // GBK, as shown
  const std::string& Chinese() const { return m_chinese; }
  const std::string& PendingEnglish() const { return m_pendingEnglish; }
  const std::string& PendingChinese() const { return m_pendingChinese; }
  int Countdown() const { return m_countdown; }
  bool IsCycleRunning() const { return m_timer.has_value(); }

  // The part of a meaning that is spoken when "中文整句朗读" is off: a meaning longer than 8
  // bytes is cut before its first blank or, without one, before its first "，".
  static std::string ShortMeaning(std::string_view chinese);

 private:
  void StartCycle();
  void StopCycle();
  void Tick();
  void ShowNextWord();

  ProgramFolder m_folder;
  Scheduler& m_scheduler;
  SpeechEngine& m_chineseVoice;
  WordPronouncer& m_englishPronouncer;
  WordLibraryState& m_words;
  TrainerDisplay& m_display;
  MessagePoster& m_poster;
  Prompter& m_prompter;
  Random& m_random;
  GeneralOptions& m_generalOptions;
  std::function<void()> m_endOfReading;
  std::function<void()> m_showTipsPage;

  TrainerOptions m_options;
  bool m_chineseVoicePresent = false;
  bool m_chineseSpeaking = false;  // the voice exists and spk_cn was on at creation
  bool m_paused = false;
  TrainerWindowState m_window = TrainerWindowState::Closed;
  std::optional<Scheduler::TimerId> m_timer;
  int m_countdown = 0;
  std::string m_english, m_chinese;
  std::string m_pendingEnglish, m_pendingChinese;
};

}  // namespace duvelin
