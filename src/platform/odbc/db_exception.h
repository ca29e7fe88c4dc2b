// CDBException: the database failure that leaves an operation; the caller of
// the command shows its text.
#pragma once

#include <exception>

#include "platform/text/cstring.h"

class CDBException : public std::exception {
 public:
  explicit CDBException(const CString& error) : m_strError(error) {}
  const char* what() const noexcept override { return m_strError.GetString(); }

  CString m_strError;
};
