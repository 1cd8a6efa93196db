// A value of the command language. Every command yields a signed 32-bit integer; a command that
// produces text yields a reference to the text instead, which as an integer is a non-zero
// stand-in for the text's address (arithmetic on it is as meaningless as it always was). Text
// arguments arrive the same way; a null text reference is the integer 0.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace duvelin {

class ScriptValue {
 public:
  ScriptValue() = default;
  ScriptValue(int32_t number) : m_number(number) {}  // NOLINT: integers are values as they are

  // A reference to `text`, which must outlive every use of the value; `handle` is its integer.
  static ScriptValue TextReference(const std::string& text, int32_t handle) {
    ScriptValue value(handle);
    value.m_text = &text;
    return value;
  }

  bool IsText() const { return m_text != nullptr; }
  int32_t Number() const { return m_number; }
  bool IsZero() const { return m_number == 0; }

  // The value read as text: the referenced text; an integer as its decimal text, except that 0
  // is the null reference and reads as empty.
  std::string Text() const {
    if (m_text) return *m_text;
    return m_number == 0 ? std::string() : std::to_string(m_number);
  }

  // The referenced text, or nothing for an integer.
  const std::string* TextPointer() const { return m_text; }

 private:
  int32_t m_number = 0;
  const std::string* m_text = nullptr;
};

}  // namespace duvelin
