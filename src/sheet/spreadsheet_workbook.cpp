// Workbook storage: one sheet of a workbook reached through CDatabase. Every
// operation opens its own connection and closes it before it returns.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/odbc/database.h"
#include "platform/odbc/odbc_installer.h"
#include "platform/odbc/recordset.h"
#include "sheet/spreadsheet.h"
#include "workbook/number_cells.h"

namespace {

constexpr unsigned short kDriverListSize = 2000;

// Names stand in square brackets and values in apostrophes in a statement;
// a bracket or apostrophe inside is doubled so that it arrives unchanged.
CString BracketName(const CString& name) {
  CString escaped = name;
  escaped.Replace("]", "]]");
  return escaped;
}

CString QuoteValue(const CString& value) {
  CString escaped = value;
  escaped.Replace("'", "''");
  return escaped;
}

// A connection-string value in quotation marks, so that a ";" or "=" in a
// folder name stays part of it; braces or apostrophes when the value itself
// holds a quotation mark.
CString ConnectValue(const CString& value) {
  if (value.Find('"') < 0) return "\"" + value + "\"";
  if (value.Find('}') < 0) return "{" + value + "}";
  return "'" + value + "'";
}

CString SheetRange(const CString& sheet) { return "[" + BracketName(sheet) + "$A1:IV65536]"; }

bool Contains(const CStringArray& names, const CString& name) {
  for (const CString& each : names)
    if (each == name) return true;
  return false;
}

}  // namespace

void CSpreadSheet::StoreNumbersIn(const CStringArray& columnNames) { m_astrNumberColumns.Copy(columnNames); }

void CSpreadSheet::FindExcelDriver() {
  char drivers[kDriverListSize] = {};
  unsigned short count = 0;
  m_strDriver.Empty();
  if (!SQLGetInstalledDrivers(drivers, kDriverListSize, &count)) return;
  for (size_t at = 0; at < kDriverListSize && drivers[at] != '\0';) {
    const size_t length = strnlen(drivers + at, kDriverListSize - at);
    const CString entry(std::string_view(drivers + at, length));
    if (entry.Find("Excel") >= 0) {
      m_strDriver = entry;
      return;
    }
    at += length + 1;
  }
}

void CSpreadSheet::MakeConnectString() {
  const CString file = ConnectValue(m_strFile);
  m_strConnect.Format("DRIVER={%s};DSN='';FIRSTROWHASNAMES=1;READONLY=FALSE;CREATE_DB=%s;DBQ=%s",
                      m_strDriver.GetString(), file.GetString(), file.GetString());
}

bool CSpreadSheet::OpenWorkbook() {
  m_pDb->OpenEx(m_strConnect, CDatabase::noOdbcDialog);
  m_pRs = std::make_unique<CRecordset>(m_pDb.get());
  m_strSelectSql.Format("SELECT * FROM [%s$A1:IV65536]", BracketName(m_strSheet).GetString());
  try {
    m_pRs->Open(CRecordset::forwardOnly, m_strSelectSql, CRecordset::readOnly);
  } catch (const CDBException& e) {
    m_openError = xls::MakeError(e.m_strError.str(), e.m_kind);
    m_pRs.reset();
    m_pDb->Rollback();
    return false;
  }
  m_nColCount = m_pRs->GetODBCFieldCount();
  if (m_nColCount != 0) {
    RemoveAllRows();
    m_strRowText.Empty();
    m_bHasHeader = true;
    ++m_nRowCount;
    for (short i = 0; i < m_nColCount; ++i) {
      CODBCFieldInfo info;
      m_pRs->GetODBCFieldInfo(i, info);
      m_astrHeader.Add(info.m_strName);
    }
    // Escaped like every row text, so a value holding a quotation mark or
    // the separator reads back as it is in the sheet.
    m_strRowText = MakeRowText(m_astrHeader);
    AppendRowText(m_strRowText);
    try {
      while (!m_pRs->IsEOF()) {
        // The row text holds the values up to the last non-empty one (at
        // least one value); the empty values after it are only counted, so
        // a wide, sparse sheet costs what its cells hold.
        const short held = std::clamp<short>(m_pRs->GetFieldCountUpToLastValue(), 1, m_nColCount);
        CStringArray values;
        for (short i = 0; i < held; ++i) {
          CString value;
          m_pRs->GetFieldValue(i, value);
          values.Add(value);
        }
        m_strRowText = MakeRowText(values);
        AppendRowText(m_strRowText, static_cast<int16_t>(m_nColCount - held));
        ++m_nRowCount;
        m_pRs->MoveNext();
      }
    } catch (const CDBException& e) {
      m_strLastError = "Error reading row\n";
      m_openError = xls::MakeError(e.m_strError.str(), e.m_kind);
      m_pRs.reset();
      m_pDb->Rollback();
      return false;
    }
  }
  m_pRs->Close();
  m_pRs.reset();
  m_pDb->Rollback();  // a load changes nothing: close without writing
  m_nCurrentRow = 1;
  return true;
}

bool CSpreadSheet::CheckRowsFitHeader() {
  if (m_astrHeader.GetSize() == 0) {
    m_strLastError = "No header row. Add header row first\n";
    return false;
  }
  for (int32_t row = 2; row <= m_nRowCount; ++row) {
    CStringArray values;
    SplitRowText(m_astrRows[row - 1], values);
    if (values.GetSize() + TrailingEmptyValues(row - 1) > m_astrHeader.GetSize()) {
      m_strLastError.Format("Row %d holds more values than there are header names\n", row);
      return false;
    }
  }
  return true;
}

void CSpreadSheet::BuildCreateStatement() {
  if (m_bHasHeader) {
    m_strSql.Format("CREATE TABLE [%s$A1:IV65536] (", BracketName(m_strSheet).GetString());
  } else {
    m_strSql.Format("CREATE TABLE [%s] (", BracketName(m_strSheet).GetString());
  }
  for (const CString& name : m_astrHeader) m_strSql += "[" + BracketName(name) + "]" + " char(255), ";
  m_strSql = m_strSql.Left(m_strSql.GetLength() - 2) + ")";
}

// A row is inserted naming its columns up to its last non-empty value: the
// cells after it stay empty either way. A row without any value needs no
// statement, since each row's place in the sheet is given by its range
// alone. False when there is nothing to insert.
bool CSpreadSheet::BuildInsertStatement(int row) {
  ReadValuesToWrite(row + 1, m_astrWork);
  if (m_astrWork.IsEmpty()) return false;
  m_strSql.Format("INSERT INTO [%s$A1:IV%d] (", BracketName(m_strSheet).GetString(), row);
  std::string sql = m_strSql.str();
  for (int i = 0; i < m_astrWork.GetSize(); ++i) {
    if (i > 0) sql += ", ";
    sql.append("[").append(BracketName(m_astrHeader[i]).str()).append("]");
  }
  sql += ") VALUES (";
  for (int i = 0; i < m_astrWork.GetSize(); ++i) {
    if (i > 0) sql += ", ";
    // Written bare, a number is stored as one.
    if (Contains(m_astrNumberColumns, m_astrHeader[i]) && xls::IsPlainDecimal(m_astrWork[i].str()))
      sql.append(m_astrWork[i].str());
    else
      sql.append("'").append(QuoteValue(m_astrWork[i]).str()).append("'");
  }
  sql += ")";
  m_strSql = CString(std::move(sql));
  return true;
}

bool CSpreadSheet::CommitWorkbook() {
  // Refused before any statement, so the sheet is never left half-written.
  if (!CheckRowsFitHeader()) return false;
  m_pDb->OpenEx(m_strConnect, CDatabase::noOdbcDialog);
  try {
    if (m_bHasHeader) {
      m_strSql.Format("DROP TABLE %s", SheetRange(m_strSheet).GetString());
      m_pDb->ExecuteSQL(m_strSql);
    }
    BuildCreateStatement();
    m_pDb->ExecuteSQL(m_strSql);
    for (int32_t k = 1; k <= m_nRowCount - 1; ++k) {
      if (BuildInsertStatement(k)) m_pDb->ExecuteSQL(m_strSql);
    }
    m_pDb->Close();
  } catch (const CDBException& e) {
    // The statements' changes are dropped with the connection: the workbook
    // keeps its old sheet and a later Commit can write the table again.
    m_strLastError = e.m_strError;
    m_lastErrorKind = e.m_kind;
    m_pDb->Rollback();
    return false;
  }
  if (!m_bHasHeader) {
    m_bHasHeader = true;
    m_nColCount = ColumnCount(m_astrHeader.GetSize());
  }
  m_bDeferWrite = false;
  return true;
}

bool CSpreadSheet::DropWorkbookSheet(const CString& sheet) {
  m_pDb->OpenEx(m_strConnect, CDatabase::noOdbcDialog);
  try {
    m_strSql.Format("DROP TABLE %s", SheetRange(sheet).GetString());
    m_pDb->ExecuteSQL(m_strSql);
    m_pDb->Close();
  } catch (const CDBException& e) {
    m_strLastError = e.m_strError;
    m_lastErrorKind = e.m_kind;
    m_pDb->Rollback();
    return false;
  }
  RemoveAllRows();
  m_astrHeader.RemoveAll();
  m_nColCount = 0;
  m_nRowCount = 0;
  return true;
}
