// duvelin-tool pack, unpack, verify and run: protected texts packed from standard input and
// unpacked to standard output (GBK bytes as they are), their archives, watermarks and game id
// checked, and command texts run on a fresh game state with a browser that keeps its page in
// memory. Command texts and links on the command line are UTF-8; they are run as GBK and
// everything printed is UTF-8.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "common/gbk_text.h"
#include "common/private_messages.h"
#include "common/program_folder.h"
#include "common/random.h"
#include "common/settings_file.h"
#include "content/protected_text.h"
#include "script/browser/browser_addresses.h"
#include "script/browser/link_interceptor.h"
#include "script/browser/memory_browser.h"
#include "script/game_session.h"
#include "settings/game_options.h"
#include "settings/settings_store.h"
#include "tool/tool_commands.h"

namespace duvelin::tool {
namespace {
namespace fs = std::filesystem;

const char kPackUsage[] =
    "usage: duvelin-tool pack FILE --kind scene|event|derived [--watermark ADDRESS] < TEXT\n"
    "\n"
    "Packs the text on standard input (GBK, or UTF-8 with a byte-order mark; CR LF, LF or CR line\n"
    "ends) as the protected text FILE:\n"
    "a ZIP archive whose one member, named like FILE, is encrypted with the password of the kind\n"
    "(scene: scene archives, event: the event store of a save, derived: goods catalogue, tasks,\n"
    "messages and dat texts). Lines are written with CR LF. With --watermark the watermark line\n"
    "for ADDRESS is appended; ADDRESS 'goods' and 'scene' stand for the program's own catalogue\n"
    "and scene addresses. FILE is replaced atomically.\n";

const char kUnpackUsage[] =
    "usage: duvelin-tool unpack FILE --kind scene|event|derived\n"
    "\n"
    "Writes the member text of the protected text FILE to standard output, byte for byte (GBK),\n"
    "with nothing removed or tested.\n";

const char kVerifyUsage[] =
    "usage: duvelin-tool verify FILE --kind scene|event|derived [--watermark ADDRESS] [--game-id ID]\n"
    "\n"
    "Prints 'ok' when FILE unpacks to a text that is not empty, its watermark matches ADDRESS (when\n"
    "given; 'goods' and 'scene' as for pack) and, with --game-id, its last line (after the\n"
    "watermark) without its first 16 characters is ID. Otherwise prints the reason and exits 1.\n";

const char kRunUsage[] =
    "usage: duvelin-tool run [--program-folder DIR] [--link TARGET | 'COMMAND TEXT']...\n"
    "\n"
    "Runs each COMMAND TEXT as a statement list, in order, on one fresh game state (a new game\n"
    "whose first scene is not shown; scenes are placeholder pages) with a browser that keeps its\n"
    "page in memory. --link TARGET is a link followed in a game page: it goes through the link\n"
    "interception and the notice it posts is handled at once. Prints:\n"
    "  <statement> => <value>      for every statement evaluated (text results in apostrophes)\n"
    "  link <TARGET> => code <N>   or 'link <TARGET> => followed' for a link that runs nothing\n"
    "  message [<caption>] <text>  for every message box (answered OK / Yes)\n"
    "  error: <text>               for an error that reached the error trap\n"
    "and at the end 'scene <current scene>', then 'temp <n>=<value>' for every temp and\n"
    "'event <SECTION> <n>=<value>' for every line of the event store.\n"
    "The settings are read from DIR\\dat\\set.txt when it exists. The program folder is DIR, else\n"
    "$DUVELIN_PROGRAM_FOLDER, else the folder of this program.\n"
    "Exit status: 0, 1 when an error reached the error trap, 2 for bad arguments.\n";

int Fail(const char* command, const std::string& message) {
  std::fprintf(stderr, "duvelin-tool %s: %s\n", command, message.c_str());
  return 2;
}

bool WantsHelp(const Arguments& args) {
  for (const auto& arg : args)
    if (arg == "--help" || arg == "-h") return true;
  return false;
}

std::optional<PasswordKind> ParseKind(const std::string& text) {
  if (text == "scene") return PasswordKind::Scene;
  if (text == "event") return PasswordKind::EventStore;
  if (text == "derived") return PasswordKind::Derived;
  return std::nullopt;
}

std::string WatermarkAddress(const std::string& text) {
  if (text == "goods") return kCatalogueWatermarkAddress;
  if (text == "scene") return kSceneWatermarkAddress;
  return text;
}

struct ArchiveRequest {
  fs::path file;
  PasswordKind kind = PasswordKind::Derived;
  std::optional<std::string> watermark;
  std::optional<std::string> gameId;
};

// Parses FILE --kind K [--watermark A] [--game-id ID]; the allowed options are named.
std::optional<std::string> ParseArchiveRequest(const Arguments& args, bool allowWatermark, bool allowGameId,
                                               ArchiveRequest& request) {
  bool haveFile = false, haveKind = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    if (arg == "--kind") {
      auto text = value();
      auto kind = text ? ParseKind(*text) : std::nullopt;
      if (!kind) return "--kind must be scene, event or derived";
      request.kind = *kind;
      haveKind = true;
    } else if (arg == "--watermark" && allowWatermark) {
      auto text = value();
      if (!text || text->empty()) return "--watermark needs an address";
      request.watermark = WatermarkAddress(*text);
    } else if (arg == "--game-id" && allowGameId) {
      auto text = value();
      if (!text || text->empty()) return "--game-id needs an id";
      request.gameId = Utf8ToGbk(*text);
    } else if (arg.starts_with("--")) {
      return "unknown option '" + arg + "' (try --help)";
    } else if (haveFile) {
      return "only one FILE may be given";
    } else {
      request.file = arg;
      haveFile = true;
    }
  }
  if (!haveFile) return "missing FILE (try --help)";
  if (!haveKind) return "missing --kind scene|event|derived";
  return std::nullopt;
}

std::string ReadStandardInput() {
  std::cin >> std::noskipws;
  return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
}

// --- run --------------------------------------------------------------------------------------

// Message boxes become lines of output, answered OK or Yes; dialogs are cancelled.
class PrintingPrompter final : public Prompter {
 public:
  Answer ShowMessage(std::string_view text, std::string_view caption, Buttons buttons, Icon) override {
    std::printf("message [%.*s] %.*s\n", static_cast<int>(caption.size()), caption.data(), static_cast<int>(text.size()),
                text.data());
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
  }
  std::optional<std::string> AskLine(std::string_view, std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> ChooseOpenFile(std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> ChooseSaveFile(std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> ChooseFolder(std::string_view) override { return {}; }
};

// Keeps the notices the link interception posts, for the tool to handle at once.
class QueuePoster final : public MessagePoster {
 public:
  std::vector<PrivateMessage> posted;
  void Post(MessageTarget target, PrivateMessage message) override {
    if (target == MessageTarget::MainWindow) posted.push_back(message);
  }
};

struct RunStep {
  enum class Kind { Statements, Link } kind;
  std::string text;  // UTF-8 as given
};

std::string ValueText(const ScriptValue& value) {
  if (value.IsText()) return "'" + GbkToUtf8(*value.TextPointer()) + "'";
  return std::to_string(value.Number());
}

int RunCommandTexts(const Arguments& args) {
  fs::path programFolder;
  if (const char* fromEnvironment = std::getenv("DUVELIN_PROGRAM_FOLDER"); fromEnvironment && *fromEnvironment)
    programFolder = fromEnvironment;
  else
    programFolder = ExecutableFolder();
  std::vector<RunStep> steps;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--program-folder" || args[i] == "--link") {
      if (i + 1 >= args.size()) return Fail("run", args[i] + " needs a value");
      if (args[i] == "--program-folder")
        programFolder = args[++i];
      else
        steps.push_back({RunStep::Kind::Link, args[++i]});
    } else if (args[i].starts_with("--")) {
      return Fail("run", "unknown option '" + args[i] + "' (try --help)");
    } else {
      steps.push_back({RunStep::Kind::Statements, args[i]});
    }
  }
  if (steps.empty()) return Fail("run", "missing COMMAND TEXT (try --help)");
  std::error_code error;
  if (!fs::is_directory(programFolder, error))
    return Fail("run", "program folder '" + programFolder.string() + "' does not exist");

  const ProgramFolder folder(fs::absolute(programFolder, error));
  TGameOptions options;
  if (auto settings = SettingsFile::Load(folder.Resolve(kSettingsFile)); settings) {
    SeededRandom random(1);
    ApplyStartupSettings(*settings, options, random);
  }
  MemoryBrowser browser;
  PrintingPrompter prompter;
  GameSession session(GameSessionServices{browser, prompter, options, folder});
  session.State().StartNewGame();
  session.Script().SetStatementObserver([](std::string_view statement, const ScriptValue& value) {
    std::printf("%s => %s\n", GbkToUtf8(statement).c_str(), ValueText(value).c_str());
  });
  QueuePoster poster;
  LinkInterceptor links(poster, folder);

  bool trapped = false;
  auto report = [&](const Status& status) {
    if (status.ok()) return;
    std::printf("error: %s\n", status.message().c_str());
    trapped = true;
  };
  for (const RunStep& step : steps) {
    if (step.kind == RunStep::Kind::Statements) {
      // The same work as a link's notice, without the link.
      report(session.HandleGameCommand(GAME_RUN_LINK_G, 0, Utf8ToGbk(step.text)));
      continue;
    }
    poster.posted.clear();
    const LinkDecision decision = links.BeforeNavigate(step.text, MemoryPageAddress(1));
    if (!decision.cancel || !decision.code) {
      std::printf("link %s => followed\n", step.text.c_str());
      continue;
    }
    std::printf("link %s => code %d\n", step.text.c_str(), static_cast<int>(*decision.code));
    for (const PrivateMessage& message : poster.posted)
      if (message.number == MSG_GAME_COMMAND)
        report(session.HandleGameCommand(message.wParam, message.lParam, links.PendingLink()));
  }

  const GameState& state = session.State();
  std::printf("scene %d\n", state.CurrentScene);
  for (const auto& [name, value] : state.temps.Lines())
    std::printf("temp %s=%s\n", GbkToUtf8(name).c_str(), GbkToUtf8(value).c_str());
  if (state.events) {
    for (const auto& section : state.events->Sections())
      for (const auto& entry : section.entries) {
        if (entry.plain)
          std::printf("event %s %s\n", GbkToUtf8(section.name).c_str(), GbkToUtf8(entry.key).c_str());
        else
          std::printf("event %s %s=%s\n", GbkToUtf8(section.name).c_str(), GbkToUtf8(entry.key).c_str(),
                      GbkToUtf8(entry.value).c_str());
      }
  }
  std::fflush(stdout);
  return trapped ? 1 : 0;
}

}  // namespace

int RunPackCommand(const Arguments& args) {
  if (WantsHelp(args)) return std::fputs(kPackUsage, stdout), 0;
  ArchiveRequest request;
  if (auto problem = ParseArchiveRequest(args, true, false, request)) return Fail("pack", *problem);
  // GBK as it is; a UTF-8 text with a byte-order mark (as editors save) is converted.
  LineList lines = SplitLines(FileBytesToGbk(ReadStandardInput()));
  if (request.watermark) AddWatermark(lines, *request.watermark);
  if (Status written = WriteProtectedText(request.file, request.kind, lines); !written)
    return Fail("pack", written.message());
  return 0;
}

int RunUnpackCommand(const Arguments& args) {
  if (WantsHelp(args)) return std::fputs(kUnpackUsage, stdout), 0;
  ArchiveRequest request;
  if (auto problem = ParseArchiveRequest(args, false, false, request)) return Fail("unpack", *problem);
  auto text = UnpackMember(request.file, PasswordOf(request.kind));
  if (!text) return Fail("unpack", text.message());
  std::fwrite(text->data(), 1, text->size(), stdout);
  std::fflush(stdout);
  return 0;
}

int RunVerifyCommand(const Arguments& args) {
  if (WantsHelp(args)) return std::fputs(kVerifyUsage, stdout), 0;
  ArchiveRequest request;
  if (auto problem = ParseArchiveRequest(args, true, true, request)) return Fail("verify", *problem);
  auto text = UnpackMember(request.file, PasswordOf(request.kind));
  auto reject = [](const std::string& reason) {
    std::printf("%s\n", reason.c_str());
    return 1;
  };
  if (!text) return reject(text.message());
  LineList lines = SplitLines(*text);
  if (lines.empty()) return reject("the text is empty");
  if (request.watermark && !TestWatermark(lines, *request.watermark))
    return reject("the watermark does not match " + *request.watermark);
  if (request.gameId) {
    const std::string last = lines.empty() ? std::string() : lines.back();
    if (last.size() <= 16 || last.substr(16) != *request.gameId) return reject("the game id does not match");
  }
  std::printf("ok\n");
  return 0;
}

int RunRunCommand(const Arguments& args) {
  if (WantsHelp(args)) return std::fputs(kRunUsage, stdout), 0;
  return RunCommandTexts(args);
}

}  // namespace duvelin::tool
