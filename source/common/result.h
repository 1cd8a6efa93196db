// Errors as values at module boundaries: a Status or a Result carries either success or the
// message the user will see (UTF-8).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace duvelin {

struct Error {
  std::string message;  // UTF-8, ready to show
};

class Status {
 public:
  Status() = default;
  Status(Error error) : m_error(std::move(error)) {}
  static Status Ok() { return {}; }

  bool ok() const { return !m_error.has_value(); }
  explicit operator bool() const { return ok(); }
  const std::string& message() const { return m_error->message; }

 private:
  std::optional<Error> m_error;
};

template <typename T>
class Result {
 public:
  Result(T value) : m_value(std::move(value)) {}
  Result(Error error) : m_value(std::move(error)) {}

  bool ok() const { return std::holds_alternative<T>(m_value); }
  explicit operator bool() const { return ok(); }
  const T& value() const& { return std::get<T>(m_value); }
  T& value() & { return std::get<T>(m_value); }
  T&& value() && { return std::get<T>(std::move(m_value)); }
  const T& operator*() const& { return value(); }
  const T* operator->() const { return &value(); }
  const std::string& message() const { return std::get<Error>(m_value).message; }
  Status status() const { return ok() ? Status() : Status(std::get<Error>(m_value)); }

 private:
  std::variant<T, Error> m_value;
};

}  // namespace duvelin
