// The interpreter of the command language: statement lists, command calls with nested calls,
// text arguments and arithmetic tails, negation, if-blocks, condition expressions and the two
// ways a page text embeds commands. It calls commands by name through the command table and
// keeps the language's shared slots (the shared text result, the deferred rest of a list).
// Texts are GBK; every position counts bytes. What the commands do is the table's business.
//
// Errors: an unknown command, an argument that is not a number, a division by zero, a call
// whose parenthesis does not close inside a condition or a text argument, a failure inside a
// command and a nesting deeper than kMaxNesting throw ScriptError. The throw abandons the rest
// of the list; whoever started the work hands what() to the error trap (the notice handler
// does: it returns the error as a Status).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/prompter.h"
#include "script/command_table.h"
#include "script/script_value.h"

namespace duvelin {

struct GameState;
struct TGameOptions;

// The value with which game_pop_a reports that it started an inline battle.
inline constexpr int32_t kInlineBattleStarted = 1881;
// The rest of a list deferred by an inline battle keeps at most this many bytes.
inline constexpr size_t kDeferredStatementsMax = 1024;
// The type name of the object that holds the commands, as the not-found error names it.
inline constexpr char kCommandHolderName[] = "TForm1";

class Interpreter {
 public:
  // How deep calls, statement lists, conditions and text expansions may nest inside each other
  // (commands that run statement lists, such as a scene's actions, count too).
  static constexpr int kMaxNesting = 100;
  // How often a text argument may be expanded again, and how long it may grow.
  static constexpr int kMaxExpansions = 1000;
  static constexpr size_t kMaxExpandedText = 1 << 20;
  // Command markers handled in one page text.
  static constexpr int kMaxPageMarkers = 900;

  // `commands` may be null: every call is then the error "对象参数错误！". The state gives the
  // scene attributes, the options the setting mg_pop.
  Interpreter(const CommandTable* commands, GameState& state, TGameOptions& options, Prompter& prompter);

  void SetCommandTable(const CommandTable* commands) { m_commands = commands; }

  // Called after every statement of every list with the statement (trimmed, GBK) and its value.
  using StatementObserver = std::function<void(std::string_view statement, const ScriptValue& value)>;
  void SetStatementObserver(StatementObserver observer) { m_observer = std::move(observer); }

  void RunStatements(std::string_view text);
  void ResolveIfBlocks(std::string& text);
  ScriptValue EvalCall(std::string_view text);
  std::string ExpandStringArgument(std::string_view text);
  int32_t EvalCondition(std::string_view text);
  std::string ExpandPageText(std::string_view text);
  ScriptValue InvokeCommand(std::string_view name, const std::vector<ScriptValue>& values);

  // The shared text result: a command that produces text puts it here and yields the
  // reference, valid until the next such command.
  const std::string& SharedTextResult() const { return m_sharedTextResult; }
  ScriptValue SetSharedTextResult(std::string text);
  // The same for the commands that keep their text in a buffer of their own, named `buffer`.
  ScriptValue SetOwnTextResult(std::string_view buffer, std::string text);

  // The rest of a statement list put off while an inline battle runs.
  const std::string& DeferredStatements() const { return m_deferredStatements; }
  // Takes the deferred rest out of its slot, leaving it empty.
  std::string TakeDeferredStatements();

 private:
  class NestingGuard;

  ScriptValue EvalCallBody(std::string_view text);
  std::vector<ScriptValue> EvalArguments(std::string_view argumentText, std::deque<std::string>& texts);
  ScriptValue ApplyTail(ScriptValue value, std::string_view tail);
  void Reduce(std::string& text, size_t start);
  std::string ExpandInlineBlock(const std::string& inner);

  const CommandTable* m_commands;
  GameState& m_state;
  TGameOptions& m_options;
  Prompter& m_prompter;
  StatementObserver m_observer;
  int m_nesting = 0;

  std::string m_sharedTextResult;
  std::map<std::string, std::string, std::less<>> m_ownTextResults;
  std::string m_deferredStatements;
};

// Delphi-style trimming: every byte up to the blank (control characters included) removed at
// both ends.
std::string_view TrimBlanks(std::string_view text);

}  // namespace duvelin
