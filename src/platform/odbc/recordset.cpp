#include "platform/odbc/recordset.h"

#include <algorithm>

#include "platform/odbc/database.h"
#include "platform/text/encoding.h"

bool CRecordset::Open(unsigned, const char* sql, unsigned long) {
  if (m_pDatabase == nullptr) throw CDBException("The record set has no database");
  m_result = m_pDatabase->Query(sql);
  m_record = 0;
  m_open = true;
  return true;
}

void CRecordset::Close() {
  m_open = false;
  m_result = {};
  m_record = 0;
}

short CRecordset::GetODBCFieldCount() const { return static_cast<short>(m_result.columns.size()); }

void CRecordset::GetODBCFieldInfo(short index, CODBCFieldInfo& info) const {
  if (index < 0 || static_cast<size_t>(index) >= m_result.columns.size()) throw CDBException("Invalid column number");
  info.m_strName = FromUtf16(m_result.columns[static_cast<size_t>(index)]);
}

bool CRecordset::IsEOF() const { return m_record >= m_result.records.size(); }

void CRecordset::GetFieldValue(short index, CString& value) const {
  if (IsEOF()) throw CDBException("No current record");
  if (index < 0 || static_cast<size_t>(index) >= m_result.columns.size()) throw CDBException("Invalid column number");
  value = FromUtf16(m_result.Field(m_record, static_cast<size_t>(index)));
}

short CRecordset::GetFieldCountUpToLastValue() const {
  if (IsEOF()) throw CDBException("No current record");
  const auto& fields = m_result.records[m_record];
  size_t count = std::min(fields.size(), m_result.columns.size());
  while (count > 0 && fields[count - 1].empty()) --count;
  return static_cast<short>(count);
}

void CRecordset::MoveNext() {
  if (IsEOF()) throw CDBException("Attempt to move past the last record");
  ++m_record;
}
