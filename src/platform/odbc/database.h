// CDatabase: a connection to a workbook through the workbook driver, with
// the class library's names and its habit of throwing CDBException.
#pragma once

#include <functional>
#include <optional>

#include "platform/odbc/db_exception.h"
#include "platform/text/cstring.h"
#include "sql/connection.h"

class CDatabase {
 public:
  enum OpenOptions : unsigned long { openReadOnly = 0x0004, noOdbcDialog = 0x0008 };

  CDatabase() = default;
  // Closes without writing: a connection must be closed with Close() for its
  // changes to reach the file.
  virtual ~CDatabase();
  CDatabase(const CDatabase&) = delete;
  CDatabase& operator=(const CDatabase&) = delete;

  // Throws CDBException when the connection string or the workbook is refused.
  bool OpenEx(const char* connect, unsigned long options = 0);
  // Throws CDBException with the driver's text when the statement fails.
  void ExecuteSQL(const char* sql);
  // Writes the workbook once if statements changed it; throws CDBException
  // when that write fails. The connection is closed either way.
  void Close();
  // Closes and drops the changes not yet written: the file stays as it was.
  void Rollback();
  bool IsOpen() const { return m_connection.has_value(); }

  // For CRecordset: runs a SELECT; throws CDBException.
  xls::sql::QueryResult Query(const char* sql);

  // Seam for tests: every statement sent to any connection, in order.
  using StatementLog = std::function<void(const CString& sql)>;
  static void SetStatementLog(StatementLog log);

 private:
  xls::Connection& Connection(const char* operation);

  std::optional<xls::Connection> m_connection;
};
