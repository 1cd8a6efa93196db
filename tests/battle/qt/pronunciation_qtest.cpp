// The pronunciation service over the program's own adapters: real UDP and HTTP on 127.0.0.1
// against a lookup responder on the service port and a small HTTP server that hands out an MP3
// made here with lame, the recording cache in a temporary program folder, and libmpv playing
// without a device. Only the English voice is a fake.
#include <QNetworkDatagram>
#include <QProcess>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>

#include "battle/pronunciation.h"
#include "common/file_io.h"
#include "common/mpv_audio_output.h"
#include "common/qt/qt_http_client.h"
#include "common/qt/qt_scheduler.h"
#include "common/qt/qt_udp_socket.h"
#include "reader/speech/espeak_speech_engine.h"
#include "settings/settings_store.h"
#include "speech/fake_speech_engine.h"
#include "support/qt/local_http_server.h"
#include "support/recording_poster.h"

namespace duvelin {
namespace {

using testing::FakeSpeechEngine;
using testing::HttpAnswer;
using testing::LocalHttpServer;
using testing::RecordingPoster;

constexpr char kRequestTemplate[] = "lookup guid=0123456789ABCDEF0 word=$word$ end";
const PrivateMessage kSpeechDone{MSG_SPEECH_DONE, 1022, 0};
constexpr int kWait = 10000;  // milliseconds; every wait ends as soon as its condition holds

std::string RequestFor(const std::string& word) { return ReplaceAll(kRequestTemplate, "$word$", word); }
QByteArray DownloadTarget(const std::string& id) {
  return QByteArray::fromStdString("/voice/" + id + ".mp3?guid=0123456789ABCDEF0");
}

// The lookup service on 127.0.0.1:2000: records every request and, unless told to keep quiet,
// answers it at once with a reply whose recording id is "rec-" + the word.
class LookupResponder {
 public:
  LookupResponder() {
    m_socket.bind(QHostAddress::LocalHost, kLookupServicePort, QAbstractSocket::DontShareAddress);
    QObject::connect(&m_socket, &QUdpSocket::readyRead, &m_socket, [this] { Read(); });
  }
  bool IsBound() const { return m_socket.state() == QAbstractSocket::BoundState; }
  QString ErrorText() const { return m_socket.errorString(); }

  // Waits until every datagram sent to the responder so far has been read: a marker sent after
  // them arrives behind them.
  bool Drain() {
    QUdpSocket marker;
    marker.writeDatagram("marker", QHostAddress::LocalHost, kLookupServicePort);
    const bool arrived = QTest::qWaitFor([&] { return m_markers > 0; }, kWait);
    if (arrived) --m_markers;
    return arrived;
  }
  // Answers a request that was kept waiting.
  void Answer(const QNetworkDatagram& request) { m_socket.writeDatagram(request.makeReply(ReplyFor(request.data()))); }

  std::vector<QNetworkDatagram> requests;
  bool quiet = false;

 private:
  static QByteArray ReplyFor(const QByteArray& request) {
    const qsizetype from = request.indexOf("word=") + 5;
    const QByteArray word = request.mid(from, request.indexOf(" end") - from);
    return "{\"result\":0,\"word\":\"" + word + "\",\"speach\":\"rec-" + word + "\",\"lang\":\"en\"}";
  }
  void Read() {
    while (m_socket.hasPendingDatagrams()) {
      const QNetworkDatagram datagram = m_socket.receiveDatagram();
      if (datagram.data() == "marker") {
        ++m_markers;
        continue;
      }
      requests.push_back(datagram);
      if (!quiet) Answer(datagram);
    }
  }

  QUdpSocket m_socket;
  int m_markers = 0;
};

// Passes every playback to libmpv and keeps how each one ended.
class WatchedAudioOutput final : public AudioOutput {
 public:
  struct Playback {
    std::filesystem::path file;
    std::optional<PlaybackEnd> end;
  };
  explicit WatchedAudioOutput(AudioOutput& output) : m_output(output) {}
  void PlayFile(const std::filesystem::path& file, Done done) override {
    const size_t index = playbacks.size();
    playbacks.push_back({file, std::nullopt});
    m_output.PlayFile(file, [this, index, done = std::move(done)](const PlaybackOutcome& outcome) {
      playbacks[index].end = outcome.end;
      done(outcome);
    });
  }
  void PlayWav(std::string wavBytes, Done done) override { m_output.PlayWav(std::move(wavBytes), std::move(done)); }
  void Stop() override { m_output.Stop(); }
  void SetVolume(int percent) override { m_output.SetVolume(percent); }
  int Volume() const override { return m_output.Volume(); }
  bool IsPlaying() const override { return m_output.IsPlaying(); }

  std::vector<Playback> playbacks;

 private:
  AudioOutput& m_output;
};

class PronunciationTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_sources;
  QByteArray m_mp3;

  std::unique_ptr<QTemporaryDir> m_folder;
  std::unique_ptr<QtScheduler> m_mainThread;
  std::unique_ptr<FakeSpeechEngine> m_voice;
  std::unique_ptr<QtUdpSocket> m_socket;
  std::unique_ptr<QtHostResolver> m_resolver;
  std::unique_ptr<QtHttpClient> m_http;
  std::unique_ptr<MpvAudioOutput> m_mpv;
  std::unique_ptr<WatchedAudioOutput> m_audio;
  std::unique_ptr<RecordingPoster> m_poster;
  std::unique_ptr<SeededRandom> m_random;
  std::unique_ptr<LookupResponder> m_responder;
  std::unique_ptr<LocalHttpServer> m_server;
  std::unique_ptr<Pronunciation> m_service;

  std::filesystem::path CacheFolder() const { return std::filesystem::path(m_folder->path().toStdString()) / "tmp"; }
  std::filesystem::path Recording(const std::string& word) const { return CacheFolder() / (word + ".mp3"); }
  size_t SpeechDoneCount() const {
    size_t count = 0;
    for (const auto& [target, message] : m_poster->posted)
      count += target == MessageTarget::Trainer && message == kSpeechDone;
    return count;
  }
  static QByteArray ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(in), {}));
  }
  // The recording of `word` served whole under its id.
  void Serve(const std::string& word) { m_server->Answer(DownloadTarget("rec-" + word), HttpAnswer{200, m_mp3}); }

 private slots:
  void initTestCase() {
    // A short 440 Hz tone, encoded once by lame; at 192 kbit/s it is larger than the 5000 bytes
    // that the cut transfer announces.
    std::vector<int16_t> samples(22050 * 3 / 10);
    for (size_t i = 0; i < samples.size(); ++i)
      samples[i] = static_cast<int16_t>(8000 * std::sin(2 * std::numbers::pi * 440.0 * static_cast<double>(i) / 22050));
    const std::filesystem::path wav = m_sources.filePath("tone.wav").toStdString();
    const std::filesystem::path mp3 = m_sources.filePath("tone.mp3").toStdString();
    QVERIFY(WriteFileAtomically(wav, MakeWavFile(22050, samples)).ok());
    QProcess lame;
    lame.start("lame",
               {"--quiet", "-b", "192", QString::fromStdString(wav.string()), QString::fromStdString(mp3.string())});
    QVERIFY2(lame.waitForFinished(30000) && lame.exitStatus() == QProcess::NormalExit && lame.exitCode() == 0,
             "the lame encoder is needed (scripts/setup.sh installs it)");
    m_mp3 = ReadFile(mp3);
    QVERIFY(m_mp3.size() > 5000);
  }

  void init() {
    m_folder = std::make_unique<QTemporaryDir>();
    m_mainThread = std::make_unique<QtScheduler>();
    const MainThreadPost post = [scheduler = m_mainThread.get()](MainThreadTask task) {
      scheduler->Post(std::move(task));
    };
    m_voice = std::make_unique<FakeSpeechEngine>(post);
    m_socket = std::make_unique<QtUdpSocket>(kDatagramBufferSize);
    m_resolver = std::make_unique<QtHostResolver>();
    m_http = std::make_unique<QtHttpClient>();
    m_mpv = std::make_unique<MpvAudioOutput>(post, MpvOptions{"null", ""});
    QVERIFY(m_mpv->IsAvailable());
    m_audio = std::make_unique<WatchedAudioOutput>(*m_mpv);
    m_poster = std::make_unique<RecordingPoster>();
    m_random = std::make_unique<SeededRandom>(7);
    m_responder = std::make_unique<LookupResponder>();
    QVERIFY2(m_responder->IsBound(), qPrintable("127.0.0.1:2000 is not free: " + m_responder->ErrorText()));
    m_server = std::make_unique<LocalHttpServer>();
    QVERIFY(m_server->IsListening());
    m_service = std::make_unique<Pronunciation>(ProgramFolder(m_folder->path().toStdString()), *m_voice, *m_socket,
                                                *m_resolver, *m_http, *m_audio, *m_poster, *m_random);
    PronunciationSettings settings;
    settings.onlineSound = true;
    settings.lookupHost = "localhost";
    settings.requestTemplate = kRequestTemplate;
    settings.downloadTemplate = m_server->Url("/voice/$wordid$.mp3?guid=0123456789ABCDEF0").toStdString();
    m_service->SetSettings(settings);
    const Status started = m_service->StartLookup();
    QVERIFY2(started.ok(), started.ok() ? "" : started.message().c_str());
    QCOMPARE(m_service->LookupAddress(), std::string("127.0.0.1"));
    QCOMPARE(m_service->FailureCount(), 0);
  }

  void cleanup() {
    m_service.reset();
    m_server.reset();
    m_responder.reset();
    m_http.reset();
    m_audio.reset();
    m_mpv.reset();
    m_socket.reset();
    m_voice.reset();
    m_mainThread.reset();
    m_folder.reset();
  }

  void firstCallFetchesAndPlaysTheSecondPlaysFromTheCache() {
    Serve("apple");
    m_service->PronounceWord("apple");
    QVERIFY(m_responder->Drain());
    QCOMPARE(m_responder->requests.size(), size_t{1});
    const QNetworkDatagram& request = m_responder->requests[0];
    QCOMPARE(request.data().toStdString(), RequestFor("apple"));
    QCOMPARE(request.senderPort(), int(*m_service->ListenPort()));  // the reply goes to the listener

    // The reply's id names the download; the recording lands in the cache and is played whole.
    QTRY_COMPARE_WITH_TIMEOUT(SpeechDoneCount(), size_t{1}, kWait);
    QCOMPARE(m_server->requests.size(), size_t{1});
    const LocalHttpServer::Request& download = m_server->requests[0];
    QCOMPARE(download.method, QByteArray("GET"));
    QCOMPARE(download.target, DownloadTarget("rec-apple"));
    QCOMPARE(download.headers.at("user-agent"), QByteArray(kDownloadUserAgent));
    QCOMPARE(download.headers.at("accept"), QByteArray("*/*"));
    QCOMPARE(download.headers.at("referer"), QByteArray(kDownloadReferer));
    QCOMPARE(ReadFile(Recording("apple")), m_mp3);
    QCOMPARE(m_audio->playbacks.size(), size_t{1});
    QCOMPARE(m_audio->playbacks[0].file, Recording("apple"));
    QCOMPARE(m_audio->playbacks[0].end, std::optional(PlaybackEnd::Finished));
    QVERIFY(!m_service->IsFetching());
    QCOMPARE(m_service->WaitCountdown(), 0);

    m_service->PronounceWord("apple");
    QTRY_COMPARE_WITH_TIMEOUT(SpeechDoneCount(), size_t{2}, kWait);
    QVERIFY(m_responder->Drain());
    QCOMPARE(m_responder->requests.size(), size_t{1});
    QCOMPARE(m_server->requests.size(), size_t{1});
    QCOMPARE(m_http->PendingCount(), size_t{0});
    QCOMPARE(m_audio->playbacks.size(), size_t{2});
    QCOMPARE(m_audio->playbacks[1].end, std::optional(PlaybackEnd::Finished));
    QVERIFY(m_voice->spoken.empty());
  }

  void textsTheVoiceSpeaksWithoutGoingOnline_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("one letter") << "a";
    QTest::newRow("two letters") << "be";
    QTest::newRow("hyphen") << "well-known";
    QTest::newRow("space") << "ice cream";
    QTest::newRow("apostrophe") << "don't";
  }
  void textsTheVoiceSpeaksWithoutGoingOnline() {
    QFETCH(QString, text);
    const std::string word = text.toStdString();
    m_service->PronounceWord(word);
    QCOMPARE(m_voice->spoken, std::vector<std::string>{word});
    m_voice->FinishCurrent();
    QTRY_COMPARE_WITH_TIMEOUT(SpeechDoneCount(), size_t{1}, kWait);
    QVERIFY(m_responder->Drain());
    QVERIFY(m_responder->requests.empty());
    QVERIFY(m_server->requests.empty());
    QCOMPARE(m_http->PendingCount(), size_t{0});
    QVERIFY(m_audio->playbacks.empty());
    QCOMPARE(m_service->FailureCount(), 0);
  }

  void twoQuickUncachedWordsCountOneFailure() {
    m_responder->quiet = true;
    Serve("apple");
    Serve("banana");
    m_service->PronounceWord("apple");
    m_service->PronounceWord("banana");
    QVERIFY(m_responder->Drain());
    QCOMPARE(m_responder->requests.size(), size_t{2});
    QCOMPARE(m_responder->requests[1].data().toStdString(), RequestFor("banana"));
    QCOMPARE(m_service->FailureCount(), 1);
    QCOMPARE(m_voice->spoken, std::vector<std::string>{"banana"});

    // The late answer to the first lookup still fetches that word, under its own name.
    m_responder->Answer(m_responder->requests[0]);
    QTRY_COMPARE_WITH_TIMEOUT(SpeechDoneCount(), size_t{1}, kWait);
    QCOMPARE(ReadFile(Recording("apple")), m_mp3);
    QVERIFY(!std::filesystem::exists(Recording("banana")));
    QCOMPARE(m_server->requests.size(), size_t{1});
    QCOMPARE(m_server->requests[0].target, DownloadTarget("rec-apple"));
    QCOMPARE(m_audio->playbacks.size(), size_t{1});
    QCOMPARE(m_audio->playbacks[0].end, std::optional(PlaybackEnd::Finished));
  }

  void failedDownloadsLeaveNoRecording_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("sentBytes");
    QTest::addColumn<int>("announced");
    QTest::newRow("404") << 404 << 9 << 9;
    QTest::newRow("cut short") << 200 << 1000 << 5000;
  }
  void failedDownloadsLeaveNoRecording() {
    QFETCH(int, status);
    QFETCH(int, sentBytes);
    QFETCH(int, announced);
    m_server->Answer(DownloadTarget("rec-apple"), HttpAnswer{status, m_mp3.left(sentBytes), announced});
    m_service->PronounceWord("apple");
    QTRY_COMPARE_WITH_TIMEOUT(SpeechDoneCount(), size_t{1}, kWait);
    QCOMPARE(m_server->requests.size(), size_t{1});
    QVERIFY(!std::filesystem::exists(Recording("apple")));
    QVERIFY(std::filesystem::is_empty(CacheFolder()));  // no half-written file either
    QCOMPARE(m_audio->playbacks.size(), size_t{1});
    QCOMPARE(m_audio->playbacks[0].end, std::optional(PlaybackEnd::Failed));
    QVERIFY(!m_service->IsFetching());

    // The next call looks the word up again instead of playing a broken recording.
    Serve("apple");
    m_service->PronounceWord("apple");
    QTRY_COMPARE_WITH_TIMEOUT(SpeechDoneCount(), size_t{2}, kWait);
    QCOMPARE(m_responder->requests.size(), size_t{2});
    QCOMPARE(ReadFile(Recording("apple")), m_mp3);
    QCOMPARE(m_audio->playbacks[1].end, std::optional(PlaybackEnd::Finished));
  }
};

}  // namespace
}  // namespace duvelin

QTEST_GUILESS_MAIN(duvelin::PronunciationTest)
#include "pronunciation_qtest.moc"
