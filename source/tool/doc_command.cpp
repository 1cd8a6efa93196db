// duvelin-tool doc: opens a reading material into the bilingual document, brings it to a display
// mode through the document's own mode operations and prints what the view would show or what a
// position locates. Positions and lengths are GBK bytes with line breaks counted as two.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "common/gbk_text.h"
#include "reader/cnen_reader.h"
#include "reader/material_file.h"
#include "tool/tool_commands.h"

namespace duvelin::tool {
namespace {

const char kUsage[] =
    "usage: duvelin-tool doc show FILE [--mode M]\n"
    "       duvelin-tool doc locate FILE [--mode M] --pos P\n"
    "       duvelin-tool doc sentence FILE [--mode M] --pos P\n"
    "       duvelin-tool doc word FILE [--mode M] --pos P\n"
    "\n"
    "Opens the reading material FILE and shows it in display mode M (0 English, 1 Chinese,\n"
    "2 interleaved English first, 3 interleaved Chinese first; 0 when not given).\n"
    "  show      prints the view lines, one per line\n"
    "  locate    prints 'line=I shown=S lang=L start=B length=N rest=R' and the line at P\n"
    "            ('none' when P lies beyond the text)\n"
    "  sentence  prints 'start=B length=N' and the sentence at P\n"
    "  word      prints 'start=B length=N' and the word at P ('none' when there is none)\n"
    "P is a position in the shown text: GBK bytes (a Chinese character counts 2), every line\n"
    "break counts 2. Output is UTF-8.\n";

enum class Action { Show, Locate, Sentence, Word };

struct Request {
  Action action = Action::Show;
  std::string file;
  int mode = 0;
  std::optional<std::int32_t> position;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "duvelin-tool doc: %s\n", message.c_str());
  return 2;
}

std::optional<std::int32_t> ParseNumber(const std::string& text) {
  std::int32_t value = 0;
  const char* end = text.data() + text.size();
  auto [rest, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || rest != end || text.empty() || value < 0) return std::nullopt;
  return value;
}

std::optional<Action> ParseAction(const std::string& name) {
  if (name == "show") return Action::Show;
  if (name == "locate") return Action::Locate;
  if (name == "sentence") return Action::Sentence;
  if (name == "word") return Action::Word;
  return std::nullopt;
}

// Fills `request` or returns the message for bad arguments.
std::optional<std::string> ParseRequest(const Arguments& args, Request& request) {
  if (args.empty()) return "missing action (try --help)";
  auto action = ParseAction(args[0]);
  if (!action) return "unknown action '" + args[0] + "' (try --help)";
  request.action = *action;
  bool haveFile = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--mode" || arg == "--pos") {
      if (i + 1 >= args.size()) return arg + " needs a value";
      auto number = ParseNumber(args[++i]);
      if (arg == "--mode") {
        if (!number || *number > 3) return "--mode must be 0, 1, 2 or 3, not '" + args[i] + "'";
        request.mode = *number;
      } else {
        if (!number) return "--pos must be a position (0 or more), not '" + args[i] + "'";
        request.position = number;
      }
    } else if (arg.starts_with("--")) {
      return "unknown option '" + arg + "'";
    } else if (haveFile) {
      return "more than one FILE given ('" + arg + "')";
    } else {
      request.file = arg;
      haveFile = true;
    }
  }
  if (!haveFile) return "missing FILE";
  if (request.action != Action::Show && !request.position) return "missing --pos";
  if (request.action == Action::Show && request.position) return "show takes no --pos";
  return std::nullopt;
}

// Reaches the mode the way the user does: F7 for Chinese, F8 once or twice for interleaving.
void BringToMode(Tcnen_reader& document, int mode) {
  switch (mode) {
    case 1:
      document.ToggleWhole();
      break;
    case 2:
      document.CycleInterleave();
      break;
    case 3:
      document.CycleInterleave();
      document.CycleInterleave();
      break;
    default:
      break;
  }
}

void PrintLine(const std::string& gbk) { std::printf("%s\n", GbkToUtf8(gbk).c_str()); }

}  // namespace

int RunDocCommand(const Arguments& args) {
  for (const auto& arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  Request request;
  if (auto problem = ParseRequest(args, request)) return Fail(*problem);

  auto material = LoadMaterial(request.file);
  if (!material) return Fail(request.file + ": " + material.message());
  Tcnen_reader document;
  document.Refill(material->english, material->chinese);
  BringToMode(document, request.mode);

  switch (request.action) {
    case Action::Show:
      for (const auto& line : document.ViewLines()) PrintLine(line);
      break;
    case Action::Locate: {
      LocatedLine located = document.LocateLine(*request.position);
      if (!located.found) {
        std::printf("none\n");
        break;
      }
      std::printf("line=%d shown=%d lang=%d start=%d length=%d rest=%d\n", document.lineIndex(),
                  document.shownLine(), static_cast<int>(document.spanLanguage()), document.spanStart(),
                  document.spanLength(), located.rest);
      PrintLine(located.text);
      break;
    }
    case Action::Sentence: {
      std::string sentence = document.SentenceAt(*request.position);
      TextSpan span = document.LastSpan();
      std::printf("start=%d length=%d\n", span.start, span.length);
      PrintLine(sentence);
      break;
    }
    case Action::Word: {
      auto word = document.WordSpanAt(*request.position);
      if (!word) {
        std::printf("none\n");
        break;
      }
      TextSpan span = document.LastSpan();
      std::printf("start=%d length=%d\n", span.start, span.length);
      PrintLine(*word);
      break;
    }
  }
  return std::fflush(stdout) == 0 ? 0 : 2;
}

}  // namespace duvelin::tool
