// Errors as values: every operation of the workbook engine that can fail
// returns a Result holding either its value or an English error text.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace xls {

enum class ErrorKind { Failed, NotFound, Syntax };

struct Error {
  std::string text;
  ErrorKind kind = ErrorKind::Failed;
};

template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : m_value(std::move(value)) {}  // NOLINT: implicit on purpose
  Result(Error error) : m_value(std::move(error)) {}  // NOLINT
  bool ok() const { return std::holds_alternative<T>(m_value); }
  explicit operator bool() const { return ok(); }
  T& value() { return std::get<T>(m_value); }
  const T& value() const { return std::get<T>(m_value); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  const Error& error() const { return std::get<Error>(m_value); }

 private:
  std::variant<T, Error> m_value;
};

struct Ok {};
using Status = Result<Ok>;

inline Error MakeError(std::string text, ErrorKind kind = ErrorKind::Failed) { return Error{std::move(text), kind}; }

}  // namespace xls
