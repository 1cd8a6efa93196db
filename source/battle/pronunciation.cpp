#include "battle/pronunciation.h"

#include <cctype>
#include <cstring>
#include <system_error>

#include "common/file_io.h"
#include "settings/settings_store.h"

namespace duvelin {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

}  // namespace

PronunciationSettings PronunciationSettings::FromOptions(const SpeechOptions& options) {
  PronunciationSettings settings;
  settings.onlineSound = options.yodao_sound != 0;
  settings.secondEngineWanted = options.game_tts_sooth != 0;
  settings.lookupHost = options.yodao_udp_host;
  settings.requestTemplate = options.yodao_udp_path;
  settings.downloadTemplate = options.yodao_tcp_path;
  settings.rate = options.game_tts_rate;
  settings.volume = options.game_tts_vol;
  return settings;
}

std::string RecordingIdFromReply(std::string_view datagram) {
  const size_t marker = datagram.find(kReplyMarker);
  std::string_view id = marker == std::string_view::npos ? datagram : datagram.substr(marker + std::strlen(kReplyMarker));
  id = id.substr(0, kRecordingIdMaxLength);
  return std::string(id.substr(0, id.find('"')));
}

bool GoesOnline(std::string_view text) {
  if (text.size() <= 2) return false;
  for (char c : text)
    if (!IsAsciiLetter(c)) return false;
  return true;
}

std::string DownloadUrl(std::string_view downloadAddress) {
  std::string_view rest = downloadAddress;
  if (StartsWithIgnoringCase(rest, "http://")) rest.remove_prefix(7);
  const size_t slash = rest.find('/');
  const std::string_view host = rest.substr(0, slash);
  const std::string_view object = slash == std::string_view::npos ? std::string_view("/") : rest.substr(slash);
  return "http://" + std::string(host) + std::string(object);
}

Pronunciation::Pronunciation(ProgramFolder folder, SpeechEngine& englishVoice, UdpSocket& socket,
                             HostResolver& resolver, HttpClient& http, AudioOutput& audio, MessagePoster& poster,
                             Random& random)
    : m_folder(std::move(folder)),
      m_englishVoice(englishVoice),
      m_socket(socket),
      m_resolver(resolver),
      m_http(http),
      m_audio(audio),
      m_poster(poster),
      m_random(random) {
  m_englishVoice.SetEndOfStreamHandler([this](SpeechEngine::StreamNumber) { PostSpeechDone(); });
  m_socket.SetDatagramHandler([this](std::string datagram) { OnReply(std::move(datagram)); });
}

Pronunciation::~Pronunciation() {
  *m_alive = false;
  m_englishVoice.SetEndOfStreamHandler({});
  m_socket.SetDatagramHandler({});
}

void Pronunciation::SetSettings(PronunciationSettings settings) {
  m_settings = std::move(settings);
  m_englishVoice.SetRate(m_settings.rate);
  m_englishVoice.SetVolume(m_settings.volume);
}

Status Pronunciation::StartLookup() {
  if (!m_settings.onlineSound) return Status::Ok();
  Status bound;
  for (uint16_t base : {kFirstListenPortBase, kSecondListenPortBase}) {
    const auto port = static_cast<uint16_t>(base + m_random.Below(kListenPortSpread));
    bound = m_socket.Bind(port);
    if (bound) {
      m_listenPort = port;
      break;
    }
  }
  Result<std::string> address = m_resolver.ResolveIpv4(m_settings.lookupHost);
  if (address.ok()) {
    m_lookupAddress = *address;
  } else {
    m_lookupAddress = kLookupFallbackAddress;
    m_failureCount = kLookupOffFailures;
  }
  // Without a port of our own no reply could reach us: every lookup would fail.
  if (!bound) m_failureCount = kLookupOffFailures;
  return bound;
}

std::filesystem::path Pronunciation::CacheFolder() const { return m_folder.Resolve(kCacheFolder); }

std::filesystem::path Pronunciation::RecordingFile(std::string_view word) const {
  return m_folder.Resolve(std::string(kCacheFolder) + std::string(word) + ".mp3");
}

bool Pronunciation::OnlinePathOpen(std::string_view text) const {
  return m_settings.onlineSound && m_failureCount < kMaximumOnlineFailures && GoesOnline(text);
}

void Pronunciation::PronounceWord(const std::string& text) {
  if (!OnlinePathOpen(text)) {
    // The second speech engine of the original platform is never found here.
    SpeakWithEngine(text);
    return;
  }
  std::error_code error;
  std::filesystem::create_directories(CacheFolder(), error);
  m_currentWord = text;
  if (std::filesystem::exists(RecordingFile(text), error)) {
    // A pass already running plays its own word and reports its end; this one is dropped.
    if (!m_fetching) StartPass(text, std::nullopt);
    return;
  }
  LookUp(text);
}

void Pronunciation::LookUp(const std::string& text) {
  const std::string request = ReplaceAll(m_settings.requestTemplate, "$word$", text);
  if (!m_socket.SendTo(m_lookupAddress, kLookupServicePort, request)) {
    ++m_failureCount;
    SpeakWithEngine(text);
    return;
  }
  if (m_waitCountdown == 0) {
    m_waitCountdown = kLookupWaitTicks;
    m_lookupWord = text;
  } else {
    // An earlier lookup got no answer yet.
    ++m_failureCount;
    SpeakWithEngine(text);
  }
}

void Pronunciation::StopSpeaking() {
  m_englishVoice.Stop();
  if (m_fetching) m_audio.Stop();
}

void Pronunciation::SpeakWithEngine(const std::string& text) { m_englishVoice.Speak(text); }

void Pronunciation::OnReply(std::string datagram) {
  m_waitCountdown = 0;
  if (datagram.empty()) return;
  // The reply belongs to the lookup that set the countdown; a late reply for another word, or
  // one that arrives while a pass runs, is dropped, so no recording lands under a wrong name.
  std::string word = std::move(m_lookupWord);
  m_lookupWord.clear();
  if (m_fetching || word.empty()) return;
  const std::string address = ReplaceAll(m_settings.downloadTemplate, "$wordid$", RecordingIdFromReply(datagram));
  StartPass(std::move(word), DownloadUrl(address));
}

void Pronunciation::AnimationTick(std::string_view currentQuestionText) {
  if (m_waitCountdown == 0) return;
  const int was = m_waitCountdown--;
  if (was == kLookupRetryCountdown) PronounceWord(std::string(currentQuestionText));
}

void Pronunciation::StartPass(std::string word, std::optional<std::string> downloadUrl) {
  m_fetching = true;
  if (word.empty()) word = kEmptyWordPlaceholder;
  std::error_code error;
  if (!downloadUrl || std::filesystem::exists(RecordingFile(word), error)) {
    Play(word);
    return;
  }
  HttpRequest request;
  request.url = std::move(*downloadUrl);
  request.headers = {{"User-Agent", kDownloadUserAgent},
                     {"Accept", kDownloadAccept},
                     {"Referer", kDownloadReferer},
                     {"Cache-Control", "no-cache"},
                     {"Pragma", "no-cache"}};
  m_http.Send(std::move(request), [this, alive = std::weak_ptr<bool>(m_alive), word](Result<HttpResponse> result) {
    if (alive.lock()) OnDownloaded(word, std::move(result));
  });
}

void Pronunciation::OnDownloaded(const std::string& word, Result<HttpResponse> result) {
  // Only a whole recording is kept: the status must be 200 and, when the server announced a
  // length, every byte of it must have arrived. The file appears under its name in one step.
  if (result.ok() && result->status == 200 &&
      (!result->contentLength || static_cast<int64_t>(result->body.size()) == *result->contentLength))
    WriteFileAtomically(RecordingFile(word), result->body);
  Play(word);
}

void Pronunciation::Play(const std::string& word) {
  // A missing file fails at once in the output; the pass still reports its end.
  m_audio.PlayFile(RecordingFile(word), [this, alive = std::weak_ptr<bool>(m_alive)](const PlaybackOutcome&) {
    if (alive.lock()) OnPlayed();
  });
}

void Pronunciation::OnPlayed() {
  m_fetching = false;
  PostSpeechDone();
}

void Pronunciation::PostSpeechDone() {
  m_poster.Post(MessageTarget::Trainer, PrivateMessage{MSG_SPEECH_DONE, SPEECH_DONE_WPARAM, 0});
}

}  // namespace duvelin
