// The pronunciation service: PronounceWord speaks one English word or short text, by a cached
// or freshly fetched recording of the online dictionary when that is on, else by the battle
// window's English voice. It owns the lookup (one UDP request per word, the reply's recording
// id, the failure count and the wait countdown that the battle window's animation ticks move)
// and the fetch-and-play pass (HTTP download into the cache folder tmp\, playback). Every end
// of a recording and of the English voice is posted to the desktop word trainer as
// MSG_SPEECH_DONE. Sockets, HTTP and sound are the interfaces' business; all runs on the main
// thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/audio_output.h"
#include "common/http_client.h"
#include "common/private_messages.h"
#include "common/program_folder.h"
#include "common/random.h"
#include "common/result.h"
#include "common/udp_socket.h"
#include "reader/speech/speech_engine.h"
#include "settings/game_options.h"

namespace duvelin {

// Whoever can pronounce an English text: the trainer and the reader hand texts to this.
class WordPronouncer {
 public:
  virtual ~WordPronouncer() = default;
  virtual void PronounceWord(const std::string& text) = 0;  // GBK; returns at once
};

inline constexpr uint16_t kLookupServicePort = 2000;
inline constexpr uint16_t kFirstListenPortBase = 21124;
inline constexpr uint16_t kSecondListenPortBase = 31124;
inline constexpr uint32_t kListenPortSpread = 30000;
inline constexpr int kLookupWaitTicks = 170;     // the countdown set when a request is sent
inline constexpr int kLookupRetryCountdown = 11;  // the tick that asks again (160 ticks later)
inline constexpr int kMaximumOnlineFailures = 4;  // the online path needs fewer than this
inline constexpr int kLookupOffFailures = 5;      // set when the host cannot be resolved
inline constexpr size_t kRecordingIdMaxLength = 128;
inline constexpr size_t kDatagramBufferSize = 1024;
inline constexpr char kReplyMarker[] = "speach\":\"";
inline constexpr char kLookupFallbackAddress[] = "127.0.0.1";
inline constexpr char kCacheFolder[] = "tmp\\";
inline constexpr char kEmptyWordPlaceholder[] = "_";  // the file name used for an empty word
inline constexpr char kDownloadUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Win32)";
inline constexpr char kDownloadAccept[] = "*/*";
inline constexpr char kDownloadReferer[] = "http://duvelin.invalid/voiceplayer/player.swf";
// Shown on the splash while the lookup host is resolved (UTF-8).
inline constexpr char kResolvingSplashText[] = "解释域名…90% 有时较慢，请等待";

// The settings the service reads when the battle window is created.
struct PronunciationSettings {
  bool onlineSound = false;         // yodao_sound
  bool secondEngineWanted = false;  // game_tts_sooth: the second engine is never found here
  std::string lookupHost;           // yodao_udp_host
  std::string requestTemplate;      // yodao_udp_path, "$guid$" replaced; "$word$" per request
  std::string downloadTemplate;     // yodao_tcp_path, "$guid$" replaced; "$wordid$" per reply
  int rate = 0;                     // game_tts_rate, for the English voice
  int volume = 100;                 // game_tts_vol

  static PronunciationSettings FromOptions(const SpeechOptions& options);
};

// The recording id in a reply: after the marker, at most 128 characters, cut before the next
// double quote. Without the marker it is taken from the start of the datagram.
std::string RecordingIdFromReply(std::string_view datagram);
// True for a text the online service is asked about: more than two characters, ASCII letters only.
bool GoesOnline(std::string_view text);
// The address an HttpClient fetches for a download address: a leading "http://" (any letter
// case) removed, the host up to the first "/", the object from there ("/" when empty).
std::string DownloadUrl(std::string_view downloadAddress);

class Pronunciation final : public WordPronouncer {
 public:
  // `englishVoice` is the battle window's speech object: its every end of stream is posted as
  // MSG_SPEECH_DONE. `audio` plays the recordings and nothing else.
  Pronunciation(ProgramFolder folder, SpeechEngine& englishVoice, UdpSocket& socket, HostResolver& resolver,
                HttpClient& http, AudioOutput& audio, MessagePoster& poster, Random& random);
  ~Pronunciation() override;
  Pronunciation(const Pronunciation&) = delete;
  Pronunciation& operator=(const Pronunciation&) = delete;

  // At the battle window's creation (and again when the settings are saved): the templates,
  // the online switch, and rate and volume of the English voice.
  void SetSettings(PronunciationSettings settings);

  // The lookup's start, when the content store's data module is created; only with the
  // online switch on (the caller shows kResolvingSplashText first). Binds the listening port
  // and resolves the host once. A host that cannot be resolved, or a port that cannot be had
  // twice, switches the online path off for the run; the latter is also returned as an error.
  Status StartLookup();

  void PronounceWord(const std::string& text) override;
  // The reader's stop: the English voice ends and drops what is queued, and a recording being
  // played stops (its pass still reports its end).
  void StopSpeaking();
  // A datagram from the service (the socket's handler calls this).
  void OnReply(std::string datagram);
  // One animation tick of the battle window: moves a pending lookup's countdown; on the
  // retry tick the current question text is pronounced again.
  void AnimationTick(std::string_view currentQuestionText);

  SpeechEngine& EnglishVoice() { return m_englishVoice; }
  const PronunciationSettings& Settings() const { return m_settings; }
  int FailureCount() const { return m_failureCount; }
  int WaitCountdown() const { return m_waitCountdown; }
  const std::string& LookupAddress() const { return m_lookupAddress; }
  std::optional<uint16_t> ListenPort() const { return m_listenPort; }
  // A fetch-and-play pass is running (the original's fetch thread is not suspended).
  bool IsFetching() const { return m_fetching; }
  std::filesystem::path CacheFolder() const;
  std::filesystem::path RecordingFile(std::string_view word) const;

 private:
  bool OnlinePathOpen(std::string_view text) const;
  void LookUp(const std::string& text);
  void SpeakWithEngine(const std::string& text);
  void StartPass(std::string word, std::optional<std::string> downloadUrl);
  void OnDownloaded(const std::string& word, Result<HttpResponse> result);
  void Play(const std::string& word);
  void OnPlayed();
  void PostSpeechDone();

  ProgramFolder m_folder;
  SpeechEngine& m_englishVoice;
  UdpSocket& m_socket;
  HostResolver& m_resolver;
  HttpClient& m_http;
  AudioOutput& m_audio;
  MessagePoster& m_poster;
  Random& m_random;
  PronunciationSettings m_settings;

  std::string m_lookupAddress = kLookupFallbackAddress;
  std::optional<uint16_t> m_listenPort;
  int m_failureCount = 0;
  int m_waitCountdown = 0;
  std::string m_currentWord;        // the word of the last online PronounceWord
  std::string m_lookupWord;         // the word whose lookup set the countdown; its reply fetches it
  bool m_fetching = false;
  // Completions of downloads and playbacks check this before touching the service.
  std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace duvelin
