#include "tool/tool_commands.h"

#include <cstdio>
#include <functional>
#include <map>

namespace duvelin::tool {
namespace {

struct Subcommand {
  std::function<int(const Arguments&)> run;
  const char* summary;
};

const std::map<std::string, Subcommand>& Subcommands() {
  static const std::map<std::string, Subcommand> table = {
      {"voices", {RunVoicesCommand, "list the installed speech voices with their language codes"}},
      {"say", {RunSayCommand, "synthesise a text into a WAV file with an installed voice"}},
      {"library", {RunLibraryCommand, "list the word libraries, simulate the word picker and its review schedule"}},
      {"red", {RunRedCommand, "list, import and export reading packages (.red) of the program folder's text/"}},
      {"doc", {RunDocCommand, "show a material in a display mode, locate positions, sentences and words"}},
      {"pack", {RunPackCommand, "pack a text as a protected archive (scene, event store or derived password)"}},
      {"unpack", {RunUnpackCommand, "print the text of a protected archive"}},
      {"verify", {RunVerifyCommand, "check a protected archive: password, member, watermark, game id"}},
      {"run", {RunRunCommand, "run command texts on a fresh game state and print values, temps and events"}},
  };
  return table;
}

void PrintUsage(FILE* out) {
  std::fprintf(out, "usage: duvelin-tool COMMAND [ARGS...]\n\ncommands:\n");
  for (const auto& [name, command] : Subcommands()) std::fprintf(out, "  %-10s %s\n", name.c_str(), command.summary);
  std::fprintf(out, "\nEach command has --help.\n");
}

}  // namespace

int RunTool(const Arguments& args) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    PrintUsage(args.empty() ? stderr : stdout);
    return args.empty() ? 2 : 0;
  }
  auto it = Subcommands().find(args[0]);
  if (it == Subcommands().end()) {
    std::fprintf(stderr, "duvelin-tool: unknown command '%s' (try --help)\n", args[0].c_str());
    return 2;
  }
  return it->second.run(Arguments(args.begin() + 1, args.end()));
}

}  // namespace duvelin::tool
