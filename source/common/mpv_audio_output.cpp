#include "common/mpv_audio_output.h"

#include <mpv/client.h>
#include <mpv/stream_cb.h>

#include <algorithm>
#include <atomic>
#include <clocale>
#include <cstring>
#include <map>
#include <mutex>

namespace duvelin {
namespace {

// In-memory WAVs are opened by libmpv through this protocol: "duvelinmem://<key>".
constexpr char kMemoryProtocol[] = "duvelinmem";

struct MemoryStream {
  std::shared_ptr<const std::string> bytes;
  size_t position = 0;
};

int64_t ReadMemory(void* cookie, char* buffer, uint64_t count) {
  auto* stream = static_cast<MemoryStream*>(cookie);
  const size_t left = stream->bytes->size() - stream->position;
  const size_t n = std::min<uint64_t>(count, left);
  std::memcpy(buffer, stream->bytes->data() + stream->position, n);
  stream->position += n;
  return static_cast<int64_t>(n);
}

int64_t SeekMemory(void* cookie, int64_t offset) {
  auto* stream = static_cast<MemoryStream*>(cookie);
  if (offset < 0 || static_cast<uint64_t>(offset) > stream->bytes->size()) return MPV_ERROR_GENERIC;
  stream->position = static_cast<size_t>(offset);
  return offset;
}

int64_t SizeOfMemory(void* cookie) { return static_cast<int64_t>(static_cast<MemoryStream*>(cookie)->bytes->size()); }

void CloseMemory(void* cookie) { delete static_cast<MemoryStream*>(cookie); }

PlaybackOutcome OutcomeOf(const mpv_event_end_file& end) {
  switch (end.reason) {
    case MPV_END_FILE_REASON_EOF:
      return {PlaybackEnd::Finished, {}};
    case MPV_END_FILE_REASON_STOP:
    case MPV_END_FILE_REASON_QUIT:
      return {PlaybackEnd::Stopped, {}};
    case MPV_END_FILE_REASON_ERROR:
      return {PlaybackEnd::Failed, mpv_error_string(end.error)};
    default:  // a playlist redirect: we never hand mpv playlists
      return {PlaybackEnd::Failed, "redirected"};
  }
}

}  // namespace

struct MpvAudioOutput::Core {
  MainThreadPost post;
  std::weak_ptr<Core> self;  // set before libmpv may call back; read-only afterwards
  mpv_handle* handle = nullptr;
  int volume = 100;

  // Main thread only.
  struct Playback {
    Done done;
    uint64_t memoryKey = 0;  // 0: a file
  };
  std::map<int64_t, Playback> playing;  // by playlist entry id
  uint64_t nextMemoryKey = 0;

  // Set by libmpv's thread when it has woken us and a drain is queued; cleared by the drain.
  std::atomic<bool> drainQueued{false};

  // The WAVs libmpv may open from its own thread.
  std::mutex memoryMutex;
  std::map<uint64_t, std::shared_ptr<const std::string>> memory;  // guarded by memoryMutex

  static void Wakeup(void* data) {
    auto* core = static_cast<Core*>(data);
    if (core->drainQueued.exchange(true)) return;
    core->post([weak = core->self] {
      if (auto strong = weak.lock()) strong->Drain();
    });
  }

  static int OpenMemory(void* data, char* uri, mpv_stream_cb_info* info) {
    auto* core = static_cast<Core*>(data);
    const std::string_view text(uri);
    const std::string_view prefix = "duvelinmem://";
    if (text.substr(0, prefix.size()) != prefix) return MPV_ERROR_LOADING_FAILED;
    const uint64_t key = std::strtoull(std::string(text.substr(prefix.size())).c_str(), nullptr, 10);
    std::shared_ptr<const std::string> bytes;
    {
      std::lock_guard lock(core->memoryMutex);
      auto found = core->memory.find(key);
      if (found == core->memory.end()) return MPV_ERROR_LOADING_FAILED;
      bytes = found->second;
    }
    info->cookie = new MemoryStream{std::move(bytes), 0};
    info->read_fn = ReadMemory;
    info->seek_fn = SeekMemory;
    info->size_fn = SizeOfMemory;
    info->close_fn = CloseMemory;
    return 0;
  }

  void Drain() {
    drainQueued = false;
    while (handle) {
      mpv_event* event = mpv_wait_event(handle, 0);
      if (event->event_id == MPV_EVENT_NONE || event->event_id == MPV_EVENT_SHUTDOWN) break;
      if (event->event_id != MPV_EVENT_END_FILE) continue;
      const auto& end = *static_cast<mpv_event_end_file*>(event->data);
      auto found = playing.find(end.playlist_entry_id);
      if (found == playing.end()) continue;
      Playback playback = std::move(found->second);
      playing.erase(found);
      ForgetMemory(playback.memoryKey);
      // The handler may start the next playback; our state is consistent by now.
      if (playback.done) playback.done(OutcomeOf(end));
    }
  }

  void ForgetMemory(uint64_t key) {
    if (key == 0) return;
    std::lock_guard lock(memoryMutex);
    memory.erase(key);
  }

  void FailLater(Done done, std::string error) {
    post([done = std::move(done), error = std::move(error)] {
      if (done) done({PlaybackEnd::Failed, error});
    });
  }

  // Ends every running playback as Stopped now. libmpv reports no end at all for an entry it
  // dropped before it began, so we do not wait for its word; a late end of such an entry finds
  // nothing to report.
  void StopAll() {
    auto stopped = std::move(playing);
    playing.clear();
    for (auto& [entry, playback] : stopped) {
      ForgetMemory(playback.memoryKey);
      post([done = std::move(playback.done)] {
        if (done) done({PlaybackEnd::Stopped, {}});
      });
    }
  }

  void Load(const std::string& address, uint64_t memoryKey, Done done) {
    StopAll();
    if (!handle) {
      ForgetMemory(memoryKey);
      FailLater(std::move(done), "no audio library");
      return;
    }
    const char* command[] = {"loadfile", address.c_str(), "replace", nullptr};
    mpv_node result;
    const int status = mpv_command_ret(handle, command, &result);
    if (status < 0) {
      ForgetMemory(memoryKey);
      FailLater(std::move(done), mpv_error_string(status));
      return;
    }
    int64_t entry = -1;
    if (result.format == MPV_FORMAT_NODE_MAP)
      for (int i = 0; i < result.u.list->num; ++i)
        if (std::strcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
            result.u.list->values[i].format == MPV_FORMAT_INT64)
          entry = result.u.list->values[i].u.int64;
    mpv_free_node_contents(&result);
    if (entry < 0) {
      // Without the entry id its end could not be told from others: stop it and fail.
      const char* stop[] = {"stop", nullptr};
      mpv_command(handle, stop);
      ForgetMemory(memoryKey);
      FailLater(std::move(done), "no playlist entry");
      return;
    }
    playing[entry] = Playback{std::move(done), memoryKey};
  }
};

MpvAudioOutput::MpvAudioOutput(MainThreadPost post, MpvOptions options) : m_core(std::make_shared<Core>()) {
  m_core->post = std::move(post);
  m_core->self = m_core;
  // libmpv refuses to start unless numbers are formatted the C way; Qt sets the user's locale.
  std::setlocale(LC_NUMERIC, "C");
  mpv_handle* handle = mpv_create();
  if (!handle) return;
  if (!options.audioOutput.empty()) mpv_set_option_string(handle, "ao", options.audioOutput.c_str());
  if (!options.audioDevice.empty()) mpv_set_option_string(handle, "audio-device", options.audioDevice.c_str());
  for (const char* name : {"vid", "audio-display", "terminal", "config", "load-scripts", "ytdl", "osc",
                           "input-default-bindings", "resume-playback"})
    mpv_set_option_string(handle, name, "no");
  mpv_set_option_string(handle, "idle", "yes");
  mpv_set_option_string(handle, "audio-client-name", "duvelin");
  if (mpv_initialize(handle) < 0 ||
      mpv_stream_cb_add_ro(handle, kMemoryProtocol, m_core.get(), &Core::OpenMemory) < 0) {
    mpv_terminate_destroy(handle);
    return;
  }
  m_core->handle = handle;
  mpv_set_wakeup_callback(handle, &Core::Wakeup, m_core.get());
}

MpvAudioOutput::~MpvAudioOutput() {
  if (!m_core->handle) return;
  mpv_set_wakeup_callback(m_core->handle, nullptr, nullptr);
  mpv_terminate_destroy(m_core->handle);
  m_core->handle = nullptr;
  m_core->playing.clear();
}

bool MpvAudioOutput::IsAvailable() const { return m_core->handle != nullptr; }

void MpvAudioOutput::PlayFile(const std::filesystem::path& file, Done done) {
  // An absolute path, so that no part of a file name is taken for a protocol or an option.
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(file, error);
  m_core->Load((error ? file : absolute).string(), 0, std::move(done));
}

void MpvAudioOutput::PlayWav(std::string wavBytes, Done done) {
  const uint64_t key = ++m_core->nextMemoryKey;
  {
    std::lock_guard lock(m_core->memoryMutex);
    m_core->memory[key] = std::make_shared<const std::string>(std::move(wavBytes));
  }
  m_core->Load(std::string(kMemoryProtocol) + "://" + std::to_string(key), key, std::move(done));
}

void MpvAudioOutput::Stop() {
  if (!m_core->handle || m_core->playing.empty()) return;
  m_core->StopAll();
  const char* command[] = {"stop", nullptr};
  mpv_command(m_core->handle, command);
}

void MpvAudioOutput::SetVolume(int percent) {
  m_core->volume = std::clamp(percent, 0, 100);
  if (!m_core->handle) return;
  double volume = m_core->volume;
  mpv_set_property(m_core->handle, "volume", MPV_FORMAT_DOUBLE, &volume);
}

int MpvAudioOutput::Volume() const { return m_core->volume; }

bool MpvAudioOutput::IsPlaying() const { return !m_core->playing.empty(); }

}  // namespace duvelin
