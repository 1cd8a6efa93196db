// RunStatements on the typical list of ten statements (temps, an if-block, a text argument,
// arithmetic tails, negation, a text result and a page that does nothing), on a fresh game
// session for every list. Items per second are lists per second.
#include <benchmark/benchmark.h>

#include "common/program_folder.h"
#include "common/prompter.h"
#include "script/browser/memory_browser.h"
#include "script/game_session.h"
#include "settings/game_options.h"

namespace {

constexpr char kTypicalList[] =
    "game_write_temp(1,5);if game_check_temp(1,5) then game_write_temp(2,1) else game_write_temp(2,0) end;"
    "game_write_temp_string(3,'hello');game_read_temp(1)*game_read_temp(1)+3;game_check_money(0);"
    "game_write_temp(4,game_read_temp(1)-1);not game_check_temp(9,1);game_inttostr(42);game_page(0);"
    "game_write_factor(3)";

class SilentPrompter final : public duvelin::Prompter {
 public:
  Answer ShowMessage(std::string_view, std::string_view, Buttons, Icon) override { return Answer::Ok; }
  std::optional<std::string> AskLine(std::string_view, std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> ChooseOpenFile(std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> ChooseSaveFile(std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> ChooseFolder(std::string_view) override { return {}; }
};

// A fresh session (command table built, new game) for every list.
void BM_TypicalListOnFreshSession(benchmark::State& benchState) {
  const duvelin::ProgramFolder folder("/nonexistent-duvelin-bench-folder");
  duvelin::MemoryBrowser browser;
  SilentPrompter prompter;
  for (auto _ : benchState) {
    duvelin::TGameOptions options;
    duvelin::GameSession session(duvelin::GameSessionServices{browser, prompter, options, folder});
    session.State().StartNewGame();
    session.Script().RunStatements(kTypicalList);
    benchmark::DoNotOptimize(session.State().temps.Lines().size());
  }
  benchState.SetItemsProcessed(benchState.iterations());
}
BENCHMARK(BM_TypicalListOnFreshSession);

// A fresh game state in one session: the temps, factor and event store reset before each list.
void BM_TypicalListOnFreshState(benchmark::State& benchState) {
  const duvelin::ProgramFolder folder("/nonexistent-duvelin-bench-folder");
  duvelin::MemoryBrowser browser;
  SilentPrompter prompter;
  duvelin::TGameOptions options;
  duvelin::GameSession session(duvelin::GameSessionServices{browser, prompter, options, folder});
  for (auto _ : benchState) {
    duvelin::GameState& state = session.State();
    state.ClearTemps();
    state.TempsMark = 0;
    state.StartNewGame();
    session.Script().RunStatements(kTypicalList);
    benchmark::DoNotOptimize(state.temps.Lines().size());
  }
  benchState.SetItemsProcessed(benchState.iterations());
}
BENCHMARK(BM_TypicalListOnFreshState);

}  // namespace
