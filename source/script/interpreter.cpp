#include "script/interpreter.h"

#include <limits>

#include "common/gbk_text.h"
#include "common/settings_file.h"
#include "script/game_state.h"
#include "script/script_error.h"
#include "settings/game_options.h"

namespace duvelin {
namespace {

constexpr std::string_view kCallMarker = "game_";

// Stand-in numbers of the text references (never 0, the null reference).
constexpr int32_t kSharedTextHandle = 0x00D0'0010;
constexpr int32_t kOwnTextHandleBase = 0x00D0'1000;
constexpr int32_t kArgumentTextHandle = 0x00D0'8000;

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool IsLeadByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x81 && byte <= 0xFE;
}

// Every "^" becomes an apostrophe; the second byte of a double-byte character is left alone,
// so Chinese text keeps its bytes.
void CaretsToApostrophes(std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(text[i]) && i + 1 < text.size()) {
      ++i;
      continue;
    }
    if (text[i] == '^') text[i] = '\'';
  }
}

void ReplaceAllIn(std::string& text, std::string_view what, std::string_view with) {
  size_t at = 0;
  while ((at = text.find(what, at)) != std::string::npos) {
    text.replace(at, what.size(), with);
    at += with.size();
  }
}

// Letter case of `what` (ASCII letters) ignored.
void ReplaceAllIgnoringCase(std::string& text, std::string_view what, std::string_view with) {
  std::string lower = AsciiLower(text);
  std::string result;
  size_t from = 0, at = 0;
  while ((at = lower.find(what, from)) != std::string::npos) {
    result.append(text, from, at - from);
    result.append(with);
    from = at + what.size();
  }
  result.append(text, from, std::string::npos);
  text = std::move(result);
}

void RemoveBlanksFrom(std::string& text, size_t start) {
  size_t out = start;
  for (size_t i = start; i < text.size(); ++i)
    if (text[i] != ' ') text[out++] = text[i];
  text.resize(out < text.size() ? out : text.size());
}

// The ")" that balances the first "(" at or after `from`; npos when there is none.
size_t MatchingClose(std::string_view text, size_t from) {
  const size_t open = text.find('(', from);
  if (open == std::string_view::npos) return std::string_view::npos;
  int depth = 0;
  for (size_t i = open; i < text.size(); ++i) {
    if (text[i] == '(') {
      ++depth;
    } else if (text[i] == ')') {
      if (--depth == 0) return i;
    }
  }
  return std::string_view::npos;
}

std::string UnclosedCallMessage(std::string_view text) {
  return "错误，函数" + GbkToUtf8(text) + "缺少右括号。";
}

// Keyword scanning of if-blocks: letters, digits, "_", "\" and the double quote make words.
bool IsWordCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '\\' ||
         c == '"';
}
bool IsDelimiter(char c) { return !IsWordCharacter(c); }

bool KeywordAt(std::string_view text, size_t at, std::string_view word) {
  return text.substr(at, word.size()) == word;
}
bool FollowedByDelimiter(std::string_view text, size_t at, std::string_view word) {
  return KeywordAt(text, at, word) && at + word.size() < text.size() && IsDelimiter(text[at + word.size()]);
}

int32_t Wrap(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value))); }

int32_t Quotient(int32_t left, int32_t right) {
  if (right == 0) throw ScriptError("Division by zero");
  if (left == std::numeric_limits<int32_t>::min() && right == -1) return left;
  return left / right;
}

// Conditions: a literal is a run of digits and minus signs; one that is not a number is 0.
bool IsLiteralCharacter(char c) { return (c >= '0' && c <= '9') || c == '-'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int32_t LiteralValue(std::string_view literal) { return ParseInteger(literal).value_or(0); }

struct Operands {
  size_t leftStart;
  size_t rightEnd;
  int32_t left;
  int32_t right;
};

Operands OperandsAround(const std::string& text, size_t op, size_t start) {
  size_t leftStart = op;
  while (leftStart > start && IsLiteralCharacter(text[leftStart - 1])) --leftStart;
  size_t rightEnd = op + 1;
  while (rightEnd < text.size() && IsLiteralCharacter(text[rightEnd])) ++rightEnd;
  return {leftStart, rightEnd, LiteralValue(std::string_view(text).substr(leftStart, op - leftStart)),
          LiteralValue(std::string_view(text).substr(op + 1, rightEnd - op - 1))};
}

// Replaces the operator and its two literals by `result`; returns the position after it.
size_t ReplaceOperation(std::string& text, const Operands& operands, int32_t result) {
  const std::string digits = std::to_string(result);
  text.replace(operands.leftStart, operands.rightEnd - operands.leftStart, digits);
  return operands.leftStart + digits.size();
}

int32_t DigitValue(std::string_view text) {
  if (text.size() == 1 && IsDigit(text[0])) return text[0] - '0';
  return 0;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  size_t start = 0, end = text.size();
  while (start < end && IsBlankOrControl(text[start])) ++start;
  while (end > start && IsBlankOrControl(text[end - 1])) --end;
  return text.substr(start, end - start);
}

// Counts the nesting of the interpreter's entries; beyond kMaxNesting the work is abandoned.
class Interpreter::NestingGuard {
 public:
  explicit NestingGuard(Interpreter& interpreter) : m_interpreter(interpreter) {
    if (++m_interpreter.m_nesting > kMaxNesting) {
      --m_interpreter.m_nesting;
      throw ScriptError("错误，命令嵌套超过" + std::to_string(kMaxNesting) + "层，已停止执行。");
    }
  }
  ~NestingGuard() { --m_interpreter.m_nesting; }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;

 private:
  Interpreter& m_interpreter;
};

Interpreter::Interpreter(const CommandTable* commands, GameState& state, TGameOptions& options, Prompter& prompter)
    : m_commands(commands), m_state(state), m_options(options), m_prompter(prompter) {}

ScriptValue Interpreter::SetSharedTextResult(std::string text) {
  m_sharedTextResult = std::move(text);
  return ScriptValue::TextReference(m_sharedTextResult, kSharedTextHandle);
}

ScriptValue Interpreter::SetOwnTextResult(std::string_view buffer, std::string text) {
  auto it = m_ownTextResults.find(buffer);
  if (it == m_ownTextResults.end()) it = m_ownTextResults.emplace(std::string(buffer), std::string()).first;
  it->second = std::move(text);
  const auto index = static_cast<int32_t>(std::distance(m_ownTextResults.begin(), it));
  return ScriptValue::TextReference(it->second, kOwnTextHandleBase + 16 * index);
}

std::string Interpreter::TakeDeferredStatements() {
  std::string rest = std::move(m_deferredStatements);
  m_deferredStatements.clear();
  return rest;
}

void Interpreter::RunStatements(std::string_view input) {
  NestingGuard guard(*this);
  std::string text(input);
  ReplaceAllIn(text, "%20", " ");
  ResolveIfBlocks(text);
  std::string list(TrimBlanks(text));
  if (list.empty() || list.back() != ';') list.push_back(';');

  size_t position = 0;
  while (position < list.size()) {
    const size_t end = list.find(';', position);  // always found: the list ends with ";"
    const std::string_view statement = std::string_view(list).substr(position, end - position);
    const ScriptValue value = EvalCall(statement);
    if (m_observer) m_observer(TrimBlanks(statement), value);
    if (value.IsZero()) return;
    position = end + 1;
    if (value.Number() == kInlineBattleStarted && !m_options.quiz.mg_pop &&
        (m_state.SceneAttributes & SCENE_MAZE) && statement.starts_with("game_pop_a(")) {
      m_deferredStatements = list.substr(position, kDeferredStatementsMax);
      return;
    }
  }
}

void Interpreter::ResolveIfBlocks(std::string& text) {
  NestingGuard guard(*this);
  for (;;) {
    // The first "if" at parenthesis depth 0.
    size_t ifPosition = std::string::npos;
    int depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      if (c == '(' || c == '{') {
        ++depth;
      } else if (c == ')' || c == '}') {
        --depth;
      } else if (depth == 0 && FollowedByDelimiter(text, i, "if")) {
        ifPosition = i;
        break;
      }
    }
    if (ifPosition == std::string::npos) return;

    const size_t conditionStart = ifPosition + 3;
    const size_t thenPosition = text.find("then", conditionStart);
    if (thenPosition == std::string::npos) return;  // not an if-statement: left for the caller to fail on

    bool condition = false;
    {
      struct PopRestore {
        uint8_t& flag;
        uint8_t saved;
        ~PopRestore() { flag = saved; }
      } restore{m_options.quiz.mg_pop, m_options.quiz.mg_pop};
      m_options.quiz.mg_pop = 1;
      condition = EvalCondition(std::string_view(text).substr(conditionStart, thenPosition - conditionStart)) != 0;
    }

    // This level's "else" and its matching "end", looked for after "then".
    size_t elsePosition = std::string::npos;
    size_t endPosition = std::string::npos;
    int level = 1;
    for (size_t j = thenPosition + 4; j < text.size(); ++j) {
      if (FollowedByDelimiter(text, j, "if")) {
        ++level;
        ++j;
      } else if (KeywordAt(text, j, "end") && IsDelimiter(text[j - 1])) {
        if (--level == 0) {
          endPosition = j;
          break;
        }
        j += 2;
      } else if (level == 1 && elsePosition == std::string::npos && FollowedByDelimiter(text, j, "else")) {
        elsePosition = j;
        j += 3;
      }
    }
    // A statement without its "end" runs to the end of the text.
    size_t endLength = 3;
    if (endPosition == std::string::npos) {
      endPosition = text.size();
      endLength = 0;
    }

    if (condition) {
      if (elsePosition != std::string::npos)
        text.erase(elsePosition, endPosition + endLength - elsePosition);
      else
        text.erase(endPosition, endLength);
      text.erase(ifPosition, thenPosition + 4 - ifPosition);
    } else if (elsePosition != std::string::npos) {
      text.erase(endPosition, endLength);
      text.erase(ifPosition, elsePosition + 4 - ifPosition);
    } else {
      text.erase(ifPosition, endPosition + endLength - ifPosition);
    }
    text = std::string(TrimBlanks(text));
  }
}

ScriptValue Interpreter::EvalCall(std::string_view text) {
  NestingGuard guard(*this);
  return EvalCallBody(text);
}

ScriptValue Interpreter::EvalCallBody(std::string_view text) {
  if (text.size() <= 1) return 0;
  if (text[0] == 'D') return 1;
  const size_t open = text.find('(');
  if (open == std::string_view::npos) {
    m_prompter.ShowMessage("错误，函数" + GbkToUtf8(text) + "的参数不存在。", "错误", Prompter::Buttons::Ok,
                           Prompter::Icon::Error);
    return 0;
  }
  std::string name = AsciiLower(TrimBlanks(text.substr(0, open)));
  const bool negate = name.starts_with("not ");
  if (negate) name.erase(0, 4);

  // The ")" that closes the call; the end of the text closes it when only its own "(" is open.
  int depth = 0;
  size_t close = std::string_view::npos;
  for (size_t i = open; i < text.size(); ++i) {
    if (text[i] == '(') {
      ++depth;
    } else if (text[i] == ')' && --depth == 0) {
      close = i;
      break;
    }
  }
  std::string_view argumentText, tail;
  if (close != std::string_view::npos) {
    argumentText = text.substr(open + 1, close - open - 1);
    tail = text.substr(close + 1);
  } else if (depth == 1) {
    argumentText = text.substr(open + 1);
  }
  argumentText = TrimBlanks(argumentText);
  if (argumentText.empty()) return 0;  // every call carries an argument: the command is not called

  std::string arguments(argumentText);
  if (arguments.back() == ')') arguments.pop_back();
  CaretsToApostrophes(arguments);

  std::deque<std::string> texts;  // text arguments, alive until the command returns
  const std::vector<ScriptValue> values = EvalArguments(arguments, texts);
  ScriptValue value = InvokeCommand(name, values);
  value = ApplyTail(value, tail);
  if (negate) value = value.IsZero() ? 1 : 0;
  return value;
}

std::vector<ScriptValue> Interpreter::EvalArguments(std::string_view text, std::deque<std::string>& texts) {
  // Split at top-level commas. An apostrophe opens a quoted part; inside one, an apostrophe
  // closes it only at the end or before ",", a blank or ")".
  std::vector<std::string_view> parts;
  bool quoted = false;
  int depth = 0;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '\'' && (i + 1 == text.size() || text[i + 1] == ',' || text[i + 1] == ' ' || text[i + 1] == ')'))
        quoted = false;
      continue;
    }
    if (c == '\'') {
      quoted = true;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      --depth;
    } else if (c == ',' && depth == 0) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(text.substr(start));

  std::vector<ScriptValue> values;
  values.reserve(parts.size());
  for (std::string_view part : parts) {
    if (!part.empty() && part.front() == '\'') {
      const std::string_view inner = part.size() >= 2 ? part.substr(1, part.size() - 2) : std::string_view();
      std::string expanded = ExpandStringArgument(inner);
      if (expanded.empty()) {
        values.emplace_back(0);  // the null text reference
      } else {
        texts.push_back(std::move(expanded));
        values.push_back(ScriptValue::TextReference(texts.back(), kArgumentTextHandle));
      }
    } else if (part.find(kCallMarker) != std::string_view::npos) {
      values.push_back(EvalCall(part));
    } else {
      const std::string_view number = TrimBlanks(part);
      const auto parsed = ParseInteger(number);
      if (!parsed) throw ScriptError("'" + GbkToUtf8(number) + "' is not a valid integer value");
      values.emplace_back(*parsed);
    }
  }
  return values;
}

ScriptValue Interpreter::ApplyTail(ScriptValue value, std::string_view tail) {
  tail = TrimBlanks(tail);
  if (tail.empty()) return value;
  const char op = tail.front();
  if (op != '*' && op != '+' && op != '-' && op != '/') return value;
  std::string_view operand = tail.substr(1);
  while (!operand.empty() && IsBlankOrControl(operand.front())) operand.remove_prefix(1);
  if (op == '/' && value.IsZero()) return 0;  // the right operand is not evaluated
  const int32_t right = operand.find(kCallMarker) != std::string_view::npos ? EvalCall(operand).Number()
                                                                            : ParseInteger(operand).value_or(0);
  const int64_t left = value.Number();
  switch (op) {
    case '*': return Wrap(left * right);
    case '+': return Wrap(left + right);
    case '-': return Wrap(left - right);
    default: return Quotient(value.Number(), right);
  }
}

ScriptValue Interpreter::InvokeCommand(std::string_view name, const std::vector<ScriptValue>& values) {
  if (!m_commands) throw ScriptError("对象参数错误！");
  const CommandEntry* entry = m_commands->Find(name);
  if (!entry) throw ScriptError("在 " + std::string(kCommandHolderName) + " 内的函数: " + GbkToUtf8(name) + " 不存在。");
  return entry->run(CommandArguments(entry->parameters, values));
}

std::string Interpreter::ExpandStringArgument(std::string_view input) {
  NestingGuard guard(*this);
  std::string text(input);
  for (int expansions = 0;; ++expansions) {
    const size_t at = text.find(kCallMarker);
    if (at == std::string::npos) return text;
    if (at > 0 && (text[at - 1] == '=' || text[at - 1] == '"')) return text;  // an attribute with its own command
    if (expansions >= kMaxExpansions || text.size() > kMaxExpandedText)
      throw ScriptError("错误，文本参数展开次数过多，已停止执行。");
    const size_t close = MatchingClose(text, at);
    if (close == std::string::npos) throw ScriptError(UnclosedCallMessage(std::string_view(text).substr(at)));
    const std::string call = text.substr(at, close + 1 - at);
    const ScriptValue value = EvalCall(call);
    if (at >= 4 && std::string_view(text).substr(at - 4, 4) == "ing ") {
      const size_t markerStart = at >= 7 ? at - 7 : 0;
      text.replace(markerStart, close + 1 - markerStart, value.Text());
    } else {
      text.replace(at, close + 1 - at, std::to_string(value.Number()));
    }
  }
}

int32_t Interpreter::EvalCondition(std::string_view input) {
  NestingGuard guard(*this);
  if (input.empty()) return 0;
  std::string text(input);
  CaretsToApostrophes(text);

  // Each call, with the one character before it, becomes its value in decimal.
  size_t from = 0;
  for (;;) {
    const size_t at = text.find(kCallMarker, from);
    if (at == std::string::npos) break;
    const size_t close = MatchingClose(text, at);
    if (close == std::string::npos) throw ScriptError(UnclosedCallMessage(std::string_view(text).substr(at)));
    const std::string digits = std::to_string(EvalCall(std::string_view(text).substr(at, close + 1 - at)).Number());
    const size_t start = at > 0 ? at - 1 : at;
    text.replace(start, close + 1 - start, digits);
    from = start + digits.size();
  }

  RemoveBlanksFrom(text, 0);
  ReplaceAllIgnoringCase(text, "and", "&");
  ReplaceAllIgnoringCase(text, "or", "|");
  ReplaceAllIgnoringCase(text, "not", "!");
  ReplaceAllIn(text, "<>", "#");
  ReplaceAllIn(text, "<=", "$");
  ReplaceAllIn(text, ">=", "@");
  ReplaceAllIn(text, ";", "");
  if (text.size() == 1) return DigitValue(text);

  // Parenthesised groups, from the last "(" back to the first.
  for (size_t i = text.size(); i-- > 0;) {
    if (text[i] != '(') continue;
    text[i] = ' ';
    Reduce(text, i + 1);
    RemoveBlanksFrom(text, 0);
    if (i > text.size()) i = text.size();
  }
  for (int round = 0; round < 11 && text.size() > 1; ++round) Reduce(text, 0);
  return DigitValue(TrimBlanks(text));
}

// Three passes from `start` to the end of the text or the first ")": "!", "*" and "/"; then
// "&", "|", "+" and "-"; then the comparisons, where the ")" is consumed.
void Interpreter::Reduce(std::string& text, size_t start) {
  auto passEnd = [&](size_t i) { return i >= text.size() || text[i] == ')'; };

  for (size_t i = start; !passEnd(i);) {
    const char c = text[i];
    if (c == '!') {
      if (!passEnd(i + 1)) text[i + 1] = text[i + 1] == '0' ? '1' : '0';
      text[i] = ' ';
      ++i;
    } else if (c == '*' || c == '/') {
      const Operands operands = OperandsAround(text, i, start);
      const int32_t result = c == '*' ? Wrap(int64_t{operands.left} * operands.right)
                                      : Quotient(operands.left, operands.right);
      i = ReplaceOperation(text, operands, result);
    } else {
      ++i;
    }
  }
  RemoveBlanksFrom(text, start);

  for (size_t i = start; !passEnd(i);) {
    const char c = text[i];
    if (c == '&' || c == '|') {
      const bool before = i > start && text[i - 1] == '1';
      const bool hasAfter = !passEnd(i + 1);
      const bool after = hasAfter && text[i + 1] == '1';
      const char result = (c == '&' ? before && after : before || after) ? '1' : '0';
      if (i > start) text[i - 1] = ' ';
      if (hasAfter) {
        text[i] = ' ';
        text[i + 1] = result;
      } else {
        text[i] = result;
      }
      ++i;
    } else if (c == '+' || (c == '-' && i > start && IsDigit(text[i - 1]))) {
      const Operands operands = OperandsAround(text, i, start);
      const int64_t result = c == '+' ? int64_t{operands.left} + operands.right : int64_t{operands.left} - operands.right;
      i = ReplaceOperation(text, operands, Wrap(result));
    } else {
      ++i;
    }
  }
  RemoveBlanksFrom(text, start);

  for (size_t i = start; i < text.size();) {
    const char c = text[i];
    if (c == ')') {
      text[i] = ' ';
      break;
    }
    if (c == '=' || c == '#' || c == '<' || c == '>' || c == '$' || c == '@') {
      const Operands operands = OperandsAround(text, i, start);
      bool result = false;
      switch (c) {
        case '=': result = operands.left == operands.right; break;
        case '#': result = operands.left != operands.right; break;
        case '<': result = operands.left < operands.right; break;
        case '>': result = operands.left > operands.right; break;
        case '$': result = operands.left <= operands.right; break;
        default: result = operands.left >= operands.right; break;
      }
      for (size_t k = operands.leftStart; k < operands.rightEnd; ++k)
        if (text[k] != '-') text[k] = ' ';
      const size_t resultAt = operands.rightEnd > i + 1 ? operands.rightEnd - 1 : i;
      text[resultAt] = result ? '1' : '0';
      i = operands.rightEnd;
    } else {
      ++i;
    }
  }
  RemoveBlanksFrom(text, start);
}

std::string Interpreter::ExpandInlineBlock(const std::string& inner) {
  if (inner.find("if") != std::string::npos && inner.size() > 8 && inner.find("then", 8) != std::string::npos) {
    std::string text = inner;
    ResolveIfBlocks(text);
    return text;
  }
  if (!inner.empty() && inner.front() == 'D') return inner;
  size_t callEnd = MatchingClose(inner, 0);
  callEnd = callEnd == std::string::npos ? inner.size() : callEnd + 1;
  const ScriptValue value = EvalCall(std::string_view(inner).substr(0, callEnd));
  const std::string rest = inner.substr(callEnd);
  const size_t elsePosition = rest.find("else");
  if (!value.IsZero()) return elsePosition == std::string::npos ? rest : rest.substr(0, elsePosition);
  return elsePosition == std::string::npos ? std::string() : rest.substr(elsePosition + 4);
}

std::string Interpreter::ExpandPageText(std::string_view input) {
  NestingGuard guard(*this);
  // Inline blocks "<:" … ":>".
  std::string text;
  text.reserve(input.size());
  size_t position = 0;
  for (;;) {
    const size_t open = input.find("<:", position);
    const size_t close = open == std::string_view::npos ? open : input.find(":>", open + 2);
    if (close == std::string_view::npos) {
      text.append(input.substr(position));
      break;
    }
    text.append(input.substr(position, open - position));
    text.append(ExpandInlineBlock(std::string(input.substr(open + 2, close - open - 2))));
    position = close + 2;
  }

  // Command markers "run " and "string " (or "exeing ", whose result is expanded in turn).
  size_t from = 0;
  for (int marker = 0; marker < kMaxPageMarkers; ++marker) {
    const size_t at = text.find(kCallMarker, from);
    if (at == std::string::npos || at < 4) break;
    const size_t close = MatchingClose(text, at);
    if (close == std::string::npos) {
      from = at + kCallMarker.size();
      continue;
    }
    const std::string call = text.substr(at, close + 1 - at);
    if (std::string_view(text).substr(at - 4, 4) == "run ") {
      EvalCall(call);
      text.erase(at - 4, close + 1 - (at - 4));
      from = at - 4;
    } else if (at >= 7 && std::string_view(text).substr(at - 4, 4) == "ing ") {
      const bool expand = std::string_view(text).substr(at - 7, 3) == "exe";
      std::string result = EvalCall(call).Text();
      if (expand) result = ExpandPageText(result);
      text.replace(at - 7, close + 1 - (at - 7), result);
      from = at - 7 + result.size();
    } else {
      from = at + kCallMarker.size();
      continue;
    }
    if (!text.empty() && text.back() == ';') text.pop_back();
    if (from > text.size()) from = text.size();
  }
  return text;
}

}  // namespace duvelin
