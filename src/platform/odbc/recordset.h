// CRecordset: the records of one SELECT on a CDatabase, read forward only.
#pragma once

#include <string>
#include <vector>

#include "platform/text/cstring.h"
#include "sql/sql_grid.h"

class CDatabase;

struct CODBCFieldInfo {
  CString m_strName;
};

class CRecordset {
 public:
  enum OpenType : unsigned { dynaset = 0, snapshot = 1, forwardOnly = 3 };
  enum OpenOptions : unsigned long { none = 0, readOnly = 0x0004 };

  explicit CRecordset(CDatabase* database) : m_pDatabase(database) {}
  virtual ~CRecordset() = default;
  CRecordset(const CRecordset&) = delete;
  CRecordset& operator=(const CRecordset&) = delete;

  // Runs the query; throws CDBException on failure.
  bool Open(unsigned openType, const char* sql, unsigned long options = none);
  void Close();
  bool IsOpen() const { return m_open; }

  short GetODBCFieldCount() const;
  void GetODBCFieldInfo(short index, CODBCFieldInfo& info) const;
  bool IsEOF() const;
  // Throws CDBException past the last record or for a column out of range.
  void GetFieldValue(short index, CString& value) const;
  // Not in the class library: the columns of the current record up to its
  // last one holding a value; every column after it reads empty. Lets a
  // reader of a wide, sparse sheet skip the empty cells. Throws past the
  // last record.
  short GetFieldCountUpToLastValue() const;
  void MoveNext();

 private:
  CDatabase* m_pDatabase;
  bool m_open = false;
  xls::sql::QueryResult m_result;
  size_t m_record = 0;
};
