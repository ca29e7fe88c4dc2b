// Errors as values: every operation of the workbook engine that can fail
// returns a Result holding either its value or an English error text.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace xls {

// What went wrong, for the front ends to choose their own words; the text
// beside it says it in detail.
enum class ErrorKind {
  Failed,          // damaged, too large, or the system refused a read or write
  NotFound,        // the file or a part of it does not exist
  Syntax,          // a statement the driver does not understand
  NoSuchSheet,     // the workbook has no sheet of that name
  SheetExists,     // a sheet of that name is there already
  NotAWorkbook,    // the file holds no workbook of a format the program reads
  IsFolder,        // a folder where a file was expected
  NotRegularFile,  // a device, FIFO or socket (or a folder)
  AccessDenied,    // the permissions forbid reading it
  ReadOnly,        // the file may not be changed
  InUse,           // another program has the file open
  DiskFull,        // no space left for the write
  CannotKeep,      // the change would break what other parts of the file refer to
};

// The kind of a failed system call's errno.
ErrorKind KindOfSystemError(int error);

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
