// The error of the command language: a command name that is not in the table, an argument that
// is not a number, a division by zero, a failure inside a command, too deep a nesting. It is
// thrown, abandons the rest of the statement list (statements already run keep their effects)
// and reaches the error trap, which shows what() — UTF-8 text.
#pragma once

#include <stdexcept>
#include <string>

namespace duvelin {

class ScriptError : public std::runtime_error {
 public:
  explicit ScriptError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace duvelin
