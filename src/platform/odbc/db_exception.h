// CDBException: the database failure that leaves an operation; the caller of
// the command shows its text.
#pragma once

#include <exception>

#include "platform/text/cstring.h"
#include "workbook/result.h"

class CDBException : public std::exception {
 public:
  explicit CDBException(const CString& error, xls::ErrorKind kind = xls::ErrorKind::Failed)
      : m_strError(error), m_kind(kind) {}
  const char* what() const noexcept override { return m_strError.GetString(); }

  CString m_strError;
  // What went wrong, for the message the user reads.
  xls::ErrorKind m_kind;
};
