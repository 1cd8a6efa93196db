// Word libraries: loading a large library, and picks in each mode with populated stages. A
// pick does constant work apart from the one stage it serves, whatever the library and stage
// sizes (the schedule benchmark runs with small and large stages to show it).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "battle/word_library.h"
#include "battle/word_picker.h"
#include "common/file_io.h"
#include "common/gbk_text.h"
#include "common/line_list.h"

namespace duvelin {
namespace {

constexpr size_t kLibraryLines = 100000;

// A wall clock moved on one second per question.
class SteppingClock : public Clock {
 public:
  uint32_t TickCount() override { return m_ticks; }
  LocalDateTime Now() override { return m_now; }
  void Step() {
    m_ticks += 1000;
    if (++m_now.second < 60) return;
    m_now.second = 0;
    if (++m_now.minute < 60) return;
    m_now.minute = 0;
    if (++m_now.hour < 24) return;
    m_now.hour = 0;
    if (++m_now.day <= 28) return;
    m_now.day = 1;
    if (++m_now.month <= 12) return;
    m_now.month = 1;
    ++m_now.year;
  }

 private:
  uint32_t m_ticks = 0;
  LocalDateTime m_now{2024, 3, 1, 8, 0, 0, 0};
};

const std::filesystem::path& LargeLibraryFile() {
  static const std::filesystem::path file = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "duvelin-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    LineList lines;
    lines.reserve(kLibraryLines);
    const std::string meaning = Utf8ToGbk("n. 单词的中文解释");
    for (size_t i = 0; i < kLibraryLines; ++i) lines.push_back("word" + std::to_string(i) + "=" + meaning);
    std::filesystem::path path = std::filesystem::path(pattern) / "large.ini";
    if (!WriteLineList(path, lines)) std::abort();
    return path;
  }();
  return file;
}

void BM_LoadLibrary100k(benchmark::State& state) {
  const auto& file = LargeLibraryFile();
  for (auto _ : state) {
    WordLibrary library;
    if (!library.Load(file)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(library.Size());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kLibraryLines));
}
BENCHMARK(BM_LoadLibrary100k)->Unit(benchmark::kMillisecond);

enum class Mode { Random, Sequential, Schedule };

// One iteration is one question: a pick, then a right answer (and every 50th a wrong one that
// goes into the repeat queue).
void RunPicks(benchmark::State& state, Mode mode, size_t entriesPerStage) {
  SteppingClock clock;
  SeededRandom random(42);
  WordPicker picker(clock, random);
  picker.SetModes({mode == Mode::Schedule, mode == Mode::Sequential, 3});
  picker.ResetRepeatQueue();
  // Stages filled with entries put in a month ago, so that every stage starts due.
  const int32_t monthAgo = PackFatDateTime({2024, 2, 1, 8, 0, 0, 0});
  for (int stage = 1; stage <= AbhsTable::kStageCount; ++stage) {
    AbhsTable::Stage entries;
    for (size_t i = 0; i < entriesPerStage; ++i)
      entries.push_back(std::to_string(monthAgo) + "," + std::to_string((i * 7919 + stage) % kLibraryLines));
    picker.Table().ReplaceStage(stage, std::move(entries));
  }
  uint64_t question = 0;
  for (auto _ : state) {
    const size_t pick = picker.PickNextWord(kLibraryLines);
    if (++question % 50 == 0)
      picker.QueueForRepeat(pick);
    else
      picker.NoteCorrectAnswer(pick);
    clock.Step();
    benchmark::DoNotOptimize(pick);
  }
  state.counters["entries_left"] = static_cast<double>(picker.Table().TotalEntries());
}

void BM_PickRandom(benchmark::State& state) { RunPicks(state, Mode::Random, static_cast<size_t>(state.range(0))); }
void BM_PickSequential(benchmark::State& state) {
  RunPicks(state, Mode::Sequential, static_cast<size_t>(state.range(0)));
}
void BM_PickSchedule(benchmark::State& state) {
  RunPicks(state, Mode::Schedule, static_cast<size_t>(state.range(0)));
}
BENCHMARK(BM_PickRandom)->Arg(20000)->Iterations(1000000);
BENCHMARK(BM_PickSequential)->Arg(20000)->Iterations(1000000);
BENCHMARK(BM_PickSchedule)->Arg(1000)->Arg(20000)->Arg(200000)->Iterations(1000000);

}  // namespace
}  // namespace duvelin
