// The pronunciation service against fakes of the UDP socket, the host lookup, HTTP and the audio
// output: which texts go online, the lookup datagram and the reply's recording id, the
// download into tmp\ and its playback, the cache, failures, the countdown and MSG_SPEECH_DONE.
// One case plays a real MP3 through libmpv.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <deque>
#include <map>

#include "battle/pronunciation.h"
#include "common/file_io.h"
#include "common/mpv_audio_output.h"
#include "reader/speech/espeak_speech_engine.h"
#include "speech/fake_audio_output.h"
#include "speech/fake_speech_engine.h"
#include "speech/main_thread_queue.h"
#include "support/manual_scheduler.h"
#include "support/recording_poster.h"
#include "support/scripted_random.h"
#include "support/temp_folder.h"

namespace duvelin {
namespace {

using namespace duvelin::testing;

class FakeUdpSocket : public UdpSocket {
 public:
  struct Sent {
    std::string address;
    uint16_t port;
    std::string datagram;
  };
  Status Bind(uint16_t port) override {
    bindAttempts.push_back(port);
    if (failBinds > 0) {
      --failBinds;
      return Error{"port in use"};
    }
    return Status::Ok();
  }
  Status SendTo(const std::string& address, uint16_t port, std::string_view datagram) override {
    if (failSends) return Error{"network unreachable"};
    sent.push_back({address, port, std::string(datagram)});
    return Status::Ok();
  }
  void SetDatagramHandler(DatagramHandler handler) override { m_handler = std::move(handler); }
  void Deliver(std::string datagram) { m_handler(std::move(datagram)); }

  int failBinds = 0;
  bool failSends = false;
  std::vector<uint16_t> bindAttempts;
  std::vector<Sent> sent;

 private:
  DatagramHandler m_handler;
};

class FakeResolver : public HostResolver {
 public:
  Result<std::string> ResolveIpv4(const std::string& host) override {
    asked.push_back(host);
    if (host == "pronounce.test") return std::string("127.0.0.1");
    return Error{"host not found"};
  }
  std::vector<std::string> asked;
};

// Answers requests when the test says so, from a table by address.
class FakeHttpClient : public HttpClient {
 public:
  void Send(HttpRequest request, Completion done) override {
    requests.push_back(request);
    m_pending.push_back({std::move(request.url), std::move(done)});
  }
  void AnswerAll() {
    while (!m_pending.empty()) {
      auto [url, done] = std::move(m_pending.front());
      m_pending.pop_front();
      auto found = answers.find(url);
      if (found == answers.end())
        done(HttpResponse{404, "not found", 9});
      else
        done(found->second);
    }
  }
  size_t Pending() const { return m_pending.size(); }

  std::map<std::string, Result<HttpResponse>> answers;
  std::vector<HttpRequest> requests;

 private:
  std::deque<std::pair<std::string, Completion>> m_pending;
};

const PrivateMessage kSpeechDone{MSG_SPEECH_DONE, 1022, 0};

class PronunciationTest : public ::testing::Test {
 protected:
  PronunciationTest() {
    PronunciationSettings settings;
    settings.onlineSound = true;
    settings.lookupHost = "pronounce.test";
    settings.requestTemplate = "VOICE guid=0123456789ABCDEF0 word=$word$ again=$word$";
    settings.downloadTemplate = "HTTP://127.0.0.1:8080/voice?guid=0123456789ABCDEF0&id=$wordid$";
    settings.rate = 3;
    settings.volume = 70;
    service.SetSettings(settings);
    random.values = {5, 7};
  }

  MainThreadPost Post() {
    return [this](MainThreadTask task) { scheduler.Post(std::move(task)); };
  }
  void Settle() { scheduler.RunPosted(); }
  size_t SpeechDoneCount() const {
    size_t count = 0;
    for (const auto& [target, message] : poster.posted) count += target == MessageTarget::Trainer && message == kSpeechDone;
    return count;
  }
  // Looks "apple" up and answers the lookup with recording id `id`.
  void LookUpAndReply(const std::string& word, const std::string& reply) {
    service.PronounceWord(word);
    socket.Deliver(reply);
  }
  std::string UrlFor(const std::string& id) { return "http://127.0.0.1:8080/voice?guid=0123456789ABCDEF0&id=" + id; }

  TempFolder folder;
  ManualScheduler scheduler;
  FakeSpeechEngine voice{Post()};
  FakeUdpSocket socket;
  FakeResolver resolver;
  FakeHttpClient http;
  FakeAudioOutput audio{Post()};
  RecordingPoster poster;
  ScriptedRandom random;
  Pronunciation service{ProgramFolder(folder.path()), voice, socket, resolver, http, audio, poster, random};
};

TEST_F(PronunciationTest, StartBindsAPortAndResolvesTheHostOnce) {
  ASSERT_TRUE(service.StartLookup().ok());
  EXPECT_EQ(socket.bindAttempts, std::vector<uint16_t>{21124 + 5});
  EXPECT_EQ(service.ListenPort(), 21124 + 5);
  EXPECT_EQ(resolver.asked, std::vector<std::string>{"pronounce.test"});
  EXPECT_EQ(service.LookupAddress(), "127.0.0.1");
  EXPECT_EQ(service.FailureCount(), 0);
  EXPECT_EQ(voice.Rate(), 3);
  EXPECT_EQ(voice.Volume(), 70);
}

TEST_F(PronunciationTest, StartRules) {
  struct Case {
    const char* name;
    int failBinds;
    const char* host;
    bool online;
    std::vector<uint16_t> ports;
    bool ok;
    int failures;
  };
  const Case cases[] = {
      {"second port after a failed bind", 1, "pronounce.test", true, {21124 + 5, 31124 + 7}, true, 0},
      {"no port at all switches online off", 2, "pronounce.test", true, {21124 + 5, 31124 + 7}, false, 5},
      {"unresolvable host switches online off", 0, "nowhere.test", true, {21124 + 5}, true, 5},
      {"nothing without online sound", 0, "pronounce.test", false, {}, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeUdpSocket udp;
    udp.failBinds = c.failBinds;
    FakeResolver names;
    ScriptedRandom draws;
    draws.values = {5, 7};
    FakeSpeechEngine english(Post());
    Pronunciation start(ProgramFolder(folder.path()), english, udp, names, http, audio, poster, draws);
    PronunciationSettings settings;
    settings.onlineSound = c.online;
    settings.lookupHost = c.host;
    start.SetSettings(settings);
    EXPECT_EQ(start.StartLookup().ok(), c.ok);
    EXPECT_EQ(udp.bindAttempts, c.ports);
    EXPECT_EQ(start.FailureCount(), c.failures);
    EXPECT_EQ(names.asked.size(), c.online ? 1u : 0u);
    if (c.failures) {
      EXPECT_EQ(start.LookupAddress(), kLookupFallbackAddress);
      start.PronounceWord("apple");
      EXPECT_TRUE(udp.sent.empty());
      EXPECT_EQ(english.spoken, std::vector<std::string>{"apple"});
    }
  }
}

TEST_F(PronunciationTest, FirstCallFetchesTheRecordingAndTheSecondPlaysItFromTheCache) {
  ASSERT_TRUE(service.StartLookup().ok());
  http.answers.emplace(UrlFor("A1b2C3"), HttpResponse{200, "ID3-fake-mp3-bytes", 18});

  service.PronounceWord("apple");
  ASSERT_EQ(socket.sent.size(), 1u);
  EXPECT_EQ(socket.sent[0].address, "127.0.0.1");
  EXPECT_EQ(socket.sent[0].port, 2000);
  EXPECT_EQ(socket.sent[0].datagram, "VOICE guid=0123456789ABCDEF0 word=apple again=apple");
  EXPECT_EQ(service.WaitCountdown(), 170);
  EXPECT_TRUE(voice.spoken.empty());
  EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "tmp"));

  socket.Deliver(R"({"result":0,"speach":"A1b2C3","other":"x"})");
  EXPECT_EQ(service.WaitCountdown(), 0);
  ASSERT_EQ(http.requests.size(), 1u);
  const HttpRequest& request = http.requests[0];
  EXPECT_EQ(request.method, "GET");
  EXPECT_EQ(request.url, UrlFor("A1b2C3"));
  const std::vector<std::pair<std::string, std::string>> expectedHeaders = {
      {"User-Agent", "Mozilla/4.0 (compatible; MSIE 6.0; Win32)"}, {"Accept", "*/*"}, {"Referer", kDownloadReferer},
      {"Cache-Control", "no-cache"}, {"Pragma", "no-cache"}};
  EXPECT_EQ(request.headers, expectedHeaders);
  EXPECT_TRUE(service.IsFetching());

  http.AnswerAll();
  EXPECT_EQ(folder.Read("tmp/apple.mp3"), "ID3-fake-mp3-bytes");
  ASSERT_EQ(audio.playbacks.size(), 1u);
  EXPECT_EQ(audio.playbacks[0].file, folder.path() / "tmp" / "apple.mp3");
  EXPECT_EQ(SpeechDoneCount(), 0u) << "the end comes when the recording has been played";
  audio.End();
  Settle();
  EXPECT_EQ(SpeechDoneCount(), 1u);
  EXPECT_FALSE(service.IsFetching());

  service.PronounceWord("apple");
  EXPECT_EQ(socket.sent.size(), 1u);
  EXPECT_EQ(http.requests.size(), 1u);
  ASSERT_EQ(audio.playbacks.size(), 2u);
  EXPECT_EQ(audio.playbacks[1].file, folder.path() / "tmp" / "apple.mp3");
  audio.End();
  Settle();
  EXPECT_EQ(SpeechDoneCount(), 2u);
  EXPECT_TRUE(voice.spoken.empty());
}

TEST_F(PronunciationTest, ShortWordsAndWordsWithOtherCharactersNeverGoOnline) {
  ASSERT_TRUE(service.StartLookup().ok());
  for (const char* text : {"a", "be", "well-known", "ice cream", "don't", "abc1", "caf\xE9", "", "The end."}) {
    // Even a cached recording is not used for them.
    if (*text) folder.Write(std::string("tmp/") + text + ".mp3", "x");
    service.PronounceWord(text);
  }
  EXPECT_TRUE(socket.sent.empty());
  EXPECT_TRUE(audio.playbacks.empty());
  EXPECT_EQ(voice.spoken, (std::vector<std::string>{"a", "be", "well-known", "ice cream", "don't", "abc1", "caf\xE9",
                                                    "", "The end."}));
  EXPECT_EQ(service.FailureCount(), 0);
}

TEST_F(PronunciationTest, CacheIsUsedOnlyWhileTheOnlinePathIsOpen) {
  folder.Write("tmp/apple.mp3", "x");
  PronunciationSettings off = service.Settings();
  off.onlineSound = false;
  service.SetSettings(off);
  service.PronounceWord("apple");
  EXPECT_TRUE(audio.playbacks.empty());
  EXPECT_EQ(voice.spoken, std::vector<std::string>{"apple"});
}

TEST_F(PronunciationTest, TwoQuickUncachedWordsCountOneFailure) {
  ASSERT_TRUE(service.StartLookup().ok());
  service.PronounceWord("apple");
  service.PronounceWord("banana");
  EXPECT_EQ(socket.sent.size(), 2u);
  EXPECT_EQ(service.FailureCount(), 1);
  EXPECT_EQ(voice.spoken, std::vector<std::string>{"banana"});
}

TEST_F(PronunciationTest, FourFailuresSwitchTheOnlinePathOff) {
  ASSERT_TRUE(service.StartLookup().ok());
  folder.Write("tmp/cached.mp3", "x");
  service.PronounceWord("first");
  for (const char* word : {"second", "third", "fourth", "fifth"}) service.PronounceWord(word);
  EXPECT_EQ(service.FailureCount(), 4);
  EXPECT_EQ(socket.sent.size(), 5u);
  service.PronounceWord("sixth");
  service.PronounceWord("cached");
  EXPECT_EQ(socket.sent.size(), 5u);
  EXPECT_TRUE(audio.playbacks.empty());
  EXPECT_EQ(voice.spoken, (std::vector<std::string>{"second", "third", "fourth", "fifth", "sixth", "cached"}));
}

TEST_F(PronunciationTest, ASendErrorCountsAFailureAndSpeaks) {
  ASSERT_TRUE(service.StartLookup().ok());
  socket.failSends = true;
  service.PronounceWord("apple");
  EXPECT_EQ(service.FailureCount(), 1);
  EXPECT_EQ(service.WaitCountdown(), 0);
  EXPECT_EQ(voice.spoken, std::vector<std::string>{"apple"});
}

TEST_F(PronunciationTest, FailedDownloadsLeaveNoRecordingAndStillReportTheirEnd) {
  struct Case {
    const char* name;
    Result<HttpResponse> answer;
  };
  const Case cases[] = {
      {"404", HttpResponse{404, "<html>not found</html>", 22}},
      {"cut short", HttpResponse{200, std::string(40, 'm'), 100}},
      {"longer than announced", HttpResponse{200, std::string(120, 'm'), 100}},
      {"transport error", Error{"connection reset"}},
  };
  ASSERT_TRUE(service.StartLookup().ok());
  size_t pass = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    http.answers.clear();
    http.answers.emplace(UrlFor("id"), c.answer);
    LookUpAndReply("apple", R"(speach":"id")");
    http.AnswerAll();
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "tmp" / "apple.mp3"));
    ASSERT_EQ(audio.playbacks.size(), ++pass);
    audio.End(PlaybackEnd::Failed);
    Settle();
    EXPECT_EQ(SpeechDoneCount(), pass);
    EXPECT_FALSE(service.IsFetching());
  }
  // Nothing else was left in the cache folder either.
  EXPECT_TRUE(std::filesystem::is_empty(folder.path() / "tmp"));
}

TEST_F(PronunciationTest, AnAnswerWithoutAnnouncedLengthIsKeptWhole) {
  ASSERT_TRUE(service.StartLookup().ok());
  http.answers.emplace(UrlFor("id"), HttpResponse{200, "chunked-body", std::nullopt});
  LookUpAndReply("apple", R"(speach":"id")");
  http.AnswerAll();
  EXPECT_EQ(folder.Read("tmp/apple.mp3"), "chunked-body");
}

TEST_F(PronunciationTest, RepliesWhileFetchingOrWithoutALookupAreDropped) {
  ASSERT_TRUE(service.StartLookup().ok());
  LookUpAndReply("apple", R"(speach":"one")");
  EXPECT_EQ(http.requests.size(), 1u);
  service.PronounceWord("banana");
  socket.Deliver(R"(speach":"two")");  // arrives while the first download runs
  EXPECT_EQ(http.requests.size(), 1u);
  EXPECT_EQ(service.WaitCountdown(), 0);

  socket.Deliver(R"(speach":"stray")");  // no lookup pending
  socket.Deliver("");
  EXPECT_EQ(http.requests.size(), 1u);
}

TEST_F(PronunciationTest, ALateReplyIsCachedUnderItsOwnWord) {
  ASSERT_TRUE(service.StartLookup().ok());
  http.answers.emplace(UrlFor("apple-id"), HttpResponse{200, "apple-audio", 11});
  service.PronounceWord("apple");
  service.PronounceWord("banana");  // spoken by the engine; the pending lookup is apple's
  socket.Deliver(R"(speach":"apple-id")");
  http.AnswerAll();
  EXPECT_EQ(folder.Read("tmp/apple.mp3"), "apple-audio");
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "tmp" / "banana.mp3"));
}

TEST_F(PronunciationTest, RecordingIdFromTheReply) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"speach":"abc","x":"y"})", "abc"},
      {R"(speach":"abc)", "abc"},
      {R"(no marker"rest)", "no marker"},
      {R"({"speach":""})", ""},
      {"", ""},
  };
  for (const auto& [reply, id] : cases) EXPECT_EQ(RecordingIdFromReply(reply), id) << reply;
  const std::string longReply = "speach\":\"" + std::string(200, 'z');
  EXPECT_EQ(RecordingIdFromReply(longReply), std::string(128, 'z'));
}

TEST_F(PronunciationTest, DownloadAddresses) {
  const std::pair<const char*, const char*> cases[] = {
      {"http://dict.example/voice?id=1", "http://dict.example/voice?id=1"},
      {"HTTP://127.0.0.1:8080/v/x.mp3", "http://127.0.0.1:8080/v/x.mp3"},
      {"dict.example/voice", "http://dict.example/voice"},
      {"http://dict.example", "http://dict.example/"},
  };
  for (const auto& [address, url] : cases) EXPECT_EQ(DownloadUrl(address), url) << address;
}

TEST_F(PronunciationTest, TheCountdownAsksAgainOnItsRetryTick) {
  ASSERT_TRUE(service.StartLookup().ok());
  service.AnimationTick("ignored");  // nothing pending: nothing moves
  EXPECT_EQ(service.WaitCountdown(), 0);

  service.PronounceWord("apple");
  for (int tick = 0; tick < 159; ++tick) service.AnimationTick("apple");
  EXPECT_EQ(service.WaitCountdown(), 11);
  EXPECT_EQ(socket.sent.size(), 1u);
  service.AnimationTick("apple");
  EXPECT_EQ(service.WaitCountdown(), 10);
  EXPECT_EQ(socket.sent.size(), 2u);
  EXPECT_EQ(service.FailureCount(), 1);
  EXPECT_EQ(voice.spoken, std::vector<std::string>{"apple"});
  for (int tick = 0; tick < 20; ++tick) service.AnimationTick("apple");
  EXPECT_EQ(service.WaitCountdown(), 0);
  EXPECT_EQ(socket.sent.size(), 2u);
}

TEST_F(PronunciationTest, EveryEndOfTheEnglishVoiceIsPostedToTheTrainer) {
  service.PronounceWord("be");
  service.PronounceWord("it");
  voice.FinishCurrent();
  voice.FinishCurrent();
  Settle();
  EXPECT_EQ(SpeechDoneCount(), 2u);
}

TEST_F(PronunciationTest, StopEndsTheVoiceAndARecordingBeingPlayed) {
  ASSERT_TRUE(service.StartLookup().ok());
  service.PronounceWord("be");
  service.PronounceWord("it");
  service.StopSpeaking();
  EXPECT_EQ(voice.stops, 1);
  EXPECT_FALSE(voice.IsSpeaking()) << "the queued text is dropped";
  EXPECT_EQ(audio.stops, 0) << "no recording was playing";

  std::filesystem::create_directories(folder.path() / "tmp");
  ASSERT_TRUE(WriteFileAtomically(folder.path() / "tmp" / "apple.mp3", "ID3").ok());
  service.PronounceWord("apple");
  ASSERT_TRUE(audio.IsPlaying());
  service.StopSpeaking();
  EXPECT_EQ(audio.stops, 1);
  Settle();
  EXPECT_FALSE(service.IsFetching());
  EXPECT_EQ(SpeechDoneCount(), 2u) << "the cut-short text and the stopped recording each report their end";
}

// A cached MP3 made by lame from a short tone, played through libmpv without a device.
TEST(PronunciationPlayback, ACachedRecordingPlaysThroughLibmpv) {
  TempFolder folder;
  std::filesystem::create_directories(folder.path() / "tmp");
  std::vector<int16_t> tone(22050 / 4);
  for (size_t i = 0; i < tone.size(); ++i) tone[i] = static_cast<int16_t>(8000 * std::sin(i * 2 * 3.14159265 * 440 / 22050));
  const std::filesystem::path wav = folder.path() / "tone.wav";
  ASSERT_TRUE(WriteFileAtomically(wav, MakeWavFile(22050, tone)).ok());
  const std::string mp3 = (folder.path() / "tmp" / "apple.mp3").string();
  const std::string command = "lame --quiet '" + wav.string() + "' '" + mp3 + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << "lame makes the MP3 (scripts/setup.sh installs it)";

  MainThreadQueue queue;
  MpvAudioOutput audio(queue.Poster(), MpvOptions{"null", ""});
  FakeSpeechEngine voice(queue.Poster());
  FakeUdpSocket socket;
  FakeResolver resolver;
  FakeHttpClient http;
  RecordingPoster poster;
  ScriptedRandom random;
  Pronunciation service(ProgramFolder(folder.path()), voice, socket, resolver, http, audio, poster, random);
  PronunciationSettings settings;
  settings.onlineSound = true;
  settings.lookupHost = "pronounce.test";
  service.SetSettings(settings);
  ASSERT_TRUE(service.StartLookup().ok());

  service.PronounceWord("apple");
  EXPECT_TRUE(service.IsFetching());
  ASSERT_TRUE(queue.RunUntil([&] { return !poster.posted.empty(); }));
  EXPECT_EQ(poster.posted[0].second, kSpeechDone);
  EXPECT_TRUE(socket.sent.empty());
  EXPECT_TRUE(voice.spoken.empty());
}

}  // namespace
}  // namespace duvelin
