// Fuzz harness of the command language: arbitrary bytes run as a statement list and expanded
// as a page text, each on a fresh game session with the memory browser. Errors of the language
// are expected; a crash, a hang or unbounded memory is a finding.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>

#include "common/program_folder.h"
#include "common/prompter.h"
#include "script/browser/memory_browser.h"
#include "script/game_session.h"
#include "script/script_error.h"
#include "settings/game_options.h"

namespace {

class SilentPrompter final : public duvelin::Prompter {
 public:
  Answer ShowMessage(std::string_view, std::string_view, Buttons buttons, Icon) override {
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
  }
  std::optional<std::string> AskLine(std::string_view, std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> ChooseOpenFile(std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> ChooseSaveFile(std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> ChooseFolder(std::string_view) override { return {}; }
};

enum class Entry { Statements, PageText };

void RunOnFreshSession(std::string_view text, Entry entry) {
  static const duvelin::ProgramFolder folder("/nonexistent-duvelin-fuzz-folder");
  duvelin::MemoryBrowser browser;
  SilentPrompter prompter;
  duvelin::TGameOptions options;
  duvelin::GameSession session(duvelin::GameSessionServices{browser, prompter, options, folder});
  session.State().StartNewGame();
  session.State().SceneAttributes = text.size() % 2 ? duvelin::SCENE_MAZE : duvelin::SCENE_DEFAULT;
  try {
    if (entry == Entry::Statements)
      session.Script().RunStatements(text);
    else
      session.Script().ExpandPageText(text);
  } catch (const duvelin::ScriptError&) {
    // The language's own errors end up at the error trap: not a finding.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  RunOnFreshSession(text, Entry::Statements);
  RunOnFreshSession(text, Entry::PageText);
  return 0;
}
