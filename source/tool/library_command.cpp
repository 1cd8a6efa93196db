// duvelin-tool library: the library list of a program folder, and a simulated run of
// questions through the word picker (repeat queue, review schedule, sequential or random
// order) at chosen moments.
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "battle/external_opener.h"
#include "battle/word_library_state.h"
#include "common/gbk_text.h"
#include "common/program_folder.h"
#include "common/settings_file.h"
#include "tool/tool_commands.h"

namespace duvelin::tool {
namespace {
namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: duvelin-tool library list [--program-folder DIR]\n"
    "       duvelin-tool library picks FILE --count N --mode random|sequential|schedule --seed S\n"
    "                    [--start \"YYYY-MM-DD HH:MM:SS\"] [--step SECONDS] [--rep G]\n"
    "                    [--wrong I,J...] [--show-stages] [--program-folder DIR]\n"
    "\n"
    "list   prints the entries of the word-library list in order.\n"
    "picks  simulates N questions on the library FILE (a path, or a data path below the\n"
    "       program folder such as Lib\\cet4.ini) and prints each picked line index. The clock\n"
    "       starts at --start (default 2024-01-01 10:00:00) and advances --step seconds per\n"
    "       question (default 10). Indices in --wrong are answered wrong the first time they\n"
    "       come up, every other answer is right. --rep G is the setting game_rep (default 0,\n"
    "       no repeat). Stages 4-8 are loaded from the program folder's save folder; nothing\n"
    "       is written. --show-stages prints the eight stages afterwards.\n"
    "--program-folder defaults to the folder of this program.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "duvelin-tool library: %s\n", message.c_str());
  return 2;
}

// Messages go to standard error; questions are answered yes, the input dialog is cancelled.
class ConsolePrompter : public Prompter {
 public:
  Answer ShowMessage(std::string_view text, std::string_view caption, Buttons buttons, Icon) override {
    std::fprintf(stderr, "[%.*s] %.*s\n", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data());
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
  }
  std::optional<std::string> AskLine(std::string_view, std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> ChooseOpenFile(std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> ChooseSaveFile(std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> ChooseFolder(std::string_view) override { return {}; }
};

class NoOpener : public ExternalOpener {
 public:
  void OpenWebPage(std::string_view) override {}
  void OpenFolder(const fs::path&) override {}
};

// A wall clock that the simulation moves on.
class SteppingClock : public Clock {
 public:
  explicit SteppingClock(std::time_t start) : m_now(start) {}
  uint32_t TickCount() override { return m_ticks; }
  LocalDateTime Now() override {
    std::tm t{};
    gmtime_r(&m_now, &t);
    return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, 0};
  }
  void Advance(long seconds) {
    m_now += seconds;
    m_ticks += static_cast<uint32_t>(seconds) * 1000u;
  }

 private:
  std::time_t m_now;
  uint32_t m_ticks = 0;
};

std::optional<long long> ParseNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  size_t used = 0;
  try {
    long long value = std::stoll(text, &used, 10);
    if (used != text.size()) return std::nullopt;
    return value;
  } catch (...) {
    return std::nullopt;
  }
}

std::optional<std::time_t> ParseMoment(const std::string& text) {
  std::tm t{};
  int year, month, day, hour, minute, second;
  char tail;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day, &hour, &minute, &second, &tail) != 6)
    return std::nullopt;
  if (year < 1980 || year > 2107 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 ||
      second > 59 || hour < 0 || minute < 0 || second < 0)
    return std::nullopt;
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  std::time_t flat = timegm(&t);
  std::tm back{};
  gmtime_r(&flat, &back);
  if (back.tm_mday != day) return std::nullopt;  // 2024-02-31 and the like
  return flat;
}

struct Options {
  fs::path programFolder = ExecutableFolder();
  std::vector<std::string> positional;
  std::optional<long long> count, seed;
  std::string mode;
  std::time_t start = 0;
  long long step = 10;
  long long rep = 0;
  std::set<size_t> wrong;
  bool showStages = false;
};

// Parses the options of both subcommands; a message on failure.
std::optional<std::string> ParseOptions(const Arguments& args, Options& options) {
  options.start = *ParseMoment("2024-01-01 10:00:00");
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    auto number = [&](const char* name, long long low, long long high, long long& out) -> std::optional<std::string> {
      auto text = value();
      if (!text) return std::string(name) + " needs a value";
      auto parsed = ParseNumber(*text);
      if (!parsed || *parsed < low || *parsed > high) return std::string(name) + ": bad number '" + *text + "'";
      out = *parsed;
      return std::nullopt;
    };
    long long parsed = 0;
    if (arg == "--program-folder") {
      auto text = value();
      if (!text) return "--program-folder needs a folder";
      options.programFolder = *text;
    } else if (arg == "--count") {
      if (auto error = number("--count", 0, 100000000, parsed)) return error;
      options.count = parsed;
    } else if (arg == "--seed") {
      if (auto error = number("--seed", 0, INT64_MAX, parsed)) return error;
      options.seed = parsed;
    } else if (arg == "--step") {
      if (auto error = number("--step", 0, 100LL * 365 * 86400, options.step)) return error;
    } else if (arg == "--rep") {
      if (auto error = number("--rep", 0, 1000, options.rep)) return error;
    } else if (arg == "--mode") {
      auto text = value();
      if (!text || (*text != "random" && *text != "sequential" && *text != "schedule"))
        return "--mode must be random, sequential or schedule";
      options.mode = *text;
    } else if (arg == "--start") {
      auto text = value();
      auto moment = text ? ParseMoment(*text) : std::nullopt;
      if (!moment) return "--start must be \"YYYY-MM-DD HH:MM:SS\" (1980-2107)";
      options.start = *moment;
    } else if (arg == "--wrong") {
      auto text = value();
      if (!text) return "--wrong needs a list of line indices";
      size_t begin = 0;
      while (begin <= text->size()) {
        size_t end = text->find(',', begin);
        if (end == std::string::npos) end = text->size();
        auto index = ParseNumber(text->substr(begin, end - begin));
        if (!index || *index < 0) return "--wrong: bad line index in '" + *text + "'";
        options.wrong.insert(static_cast<size_t>(*index));
        begin = end + 1;
      }
    } else if (arg == "--show-stages") {
      options.showStages = true;
    } else if (arg.starts_with("--")) {
      return "unknown option '" + arg + "'";
    } else {
      options.positional.push_back(arg);
    }
  }
  std::error_code error;
  if (!fs::is_directory(options.programFolder, error))
    return "program folder '" + options.programFolder.string() + "' does not exist";
  return std::nullopt;
}

int RunList(const Options& options) {
  if (!options.positional.empty()) return Fail("list takes no file");
  LibraryList list;
  list.Fill(ProgramFolder(options.programFolder));
  for (const auto& entry : list.Entries()) std::printf("%s\n", GbkToUtf8(entry.text).c_str());
  return 0;
}

int RunPicks(const Options& options) {
  if (options.positional.size() != 1) return Fail("picks needs exactly one library FILE");
  if (!options.count) return Fail("picks needs --count N");
  if (options.mode.empty()) return Fail("picks needs --mode random|sequential|schedule");
  if (!options.seed) return Fail("picks needs --seed S");

  const ProgramFolder programFolder(options.programFolder);
  fs::path file = options.positional[0];
  std::error_code error;
  if (!fs::is_regular_file(file, error)) file = programFolder.Resolve(Utf8ToGbk(options.positional[0]));
  if (!fs::is_regular_file(file, error)) return Fail("library file '" + options.positional[0] + "' not found");

  ConsolePrompter prompter;
  NoOpener opener;
  SteppingClock clock(options.start);
  SeededRandom random(static_cast<uint64_t>(*options.seed));
  WordLibraryState state(programFolder, prompter, clock, random, opener);
  PickerModes modes;
  modes.scheduleMode = options.mode == "schedule";
  modes.sequentialMode = options.mode == "sequential";
  modes.repeatSetting = static_cast<int32_t>(options.rep);
  state.SetModes(modes);
  state.Picker().ResetRepeatQueue();
  if (Status opened = state.OpenLibraryFile(file, GbkFromFileName(file.filename()) + ".abhs"); !opened)
    return Fail(opened.message());

  std::set<size_t> wrongLeft = options.wrong;
  for (long long question = 0; question < *options.count; ++question) {
    const size_t index = state.PickAskableWord();
    std::printf("%zu\n", index);
    if (wrongLeft.erase(index)) {
      if (modes.RepeatGap() >= 0) state.QueueForRepeat(index);
    } else {
      state.NoteCorrectAnswer(index);
    }
    clock.Advance(static_cast<long>(options.step));
  }
  if (options.showStages) {
    for (int stage = 1; stage <= AbhsTable::kStageCount; ++stage) {
      std::string line = "stage " + std::to_string(stage) + ":";
      for (const auto& entry : state.Picker().Table().StageEntries(stage)) line += " " + GbkToUtf8(entry);
      std::printf("%s\n", line.c_str());
    }
  }
  return 0;
}

}  // namespace

int RunLibraryCommand(const Arguments& args) {
  if (args.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  for (const auto& arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  Options options;
  if (auto error = ParseOptions(Arguments(args.begin() + 1, args.end()), options)) return Fail(*error);
  if (args[0] == "list") return RunList(options);
  if (args[0] == "picks") return RunPicks(options);
  return Fail("unknown subcommand '" + args[0] + "' (list, picks; try --help)");
}

}  // namespace duvelin::tool
