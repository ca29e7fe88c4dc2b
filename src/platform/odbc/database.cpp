#include "platform/odbc/database.h"

#include "platform/odbc/odbc_installer.h"
#include "platform/text/encoding.h"
#include "sql/sql_connect_string.h"

namespace {

CDatabase::StatementLog& LogHook() {
  static CDatabase::StatementLog log;
  return log;
}

void LogStatement(const char* sql) {
  if (LogHook()) LogHook()(CString(sql));
}

[[noreturn]] void ThrowError(const std::string& utf8Text, xls::ErrorKind kind = xls::ErrorKind::Failed) {
  throw CDBException(FromUtf8(utf8Text), kind);
}
[[noreturn]] void ThrowError(const xls::Error& error) { ThrowError(error.text, error.kind); }

// The path to open: DBQ in the operating system's encoding.
std::string WorkbookPath(const std::u16string& dbq) { return ToUtf8(FromUtf16(dbq)); }

void CheckDriver(const std::u16string& driver) {
  if (driver.empty()) ThrowError("Data source name not found and no default driver specified");
  if (FromUtf16(driver) != kExcelDriverName) {
    ThrowError("The driver '" + ToUtf8(FromUtf16(driver)) + "' is not available; only '" + kExcelDriverName + "' is");
  }
}

}  // namespace

CDatabase::~CDatabase() { Rollback(); }

void CDatabase::SetStatementLog(StatementLog log) { LogHook() = std::move(log); }

bool CDatabase::OpenEx(const char* connect, unsigned long options) {
  if (IsOpen()) ThrowError("The connection is already open");
  auto settings = xls::sql::ParseConnectString(ToUtf16(CString(connect)));
  if (!settings) ThrowError(settings.error());
  CheckDriver(settings->driver);
  xls::ConnectionOptions connectionOptions;
  connectionOptions.readOnly = settings->readOnly || (options & openReadOnly) != 0;
  connectionOptions.createIfMissing = !settings->createPath.empty();
  auto opened = xls::Connection::Open(WorkbookPath(settings->workbook), connectionOptions);
  if (!opened) ThrowError(opened.error());
  m_connection.emplace(std::move(opened.value()));
  return true;
}

xls::Connection& CDatabase::Connection(const char* operation) {
  if (!m_connection) ThrowError(std::string(operation) + ": the connection is not open");
  return *m_connection;
}

void CDatabase::ExecuteSQL(const char* sql) {
  LogStatement(sql);
  auto executed = Connection("ExecuteSQL").Execute(ToUtf16(CString(sql)));
  if (!executed) ThrowError(executed.error());
}

xls::sql::QueryResult CDatabase::Query(const char* sql) {
  LogStatement(sql);
  auto result = Connection("Query").Query(ToUtf16(CString(sql)));
  if (!result) ThrowError(result.error());
  return std::move(result.value());
}

void CDatabase::Close() {
  if (!m_connection) return;
  auto closed = m_connection->Close();
  m_connection.reset();
  if (!closed) ThrowError(closed.error());
}

void CDatabase::Rollback() {
  if (!m_connection) return;
  m_connection->Discard();
  m_connection.reset();
}
