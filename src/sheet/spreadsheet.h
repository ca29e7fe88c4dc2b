// CSpreadSheet: one table of text values, rows numbered from 1 (row 1 names
// the columns), stored as one sheet of a workbook (a file name ending in
// ".xls") or as one text file with a separator (any other name).
#pragma once

#include <memory>

#include "platform/text/cstring.h"
#include "platform/text/cstring_array.h"

class CDatabase;
class CRecordset;

class CSpreadSheet {
 public:
  // May throw CDBException when the workbook's connection cannot be opened.
  CSpreadSheet(CString File, CString SheetOrSeparator, bool Backup = true);
  ~CSpreadSheet();
  CSpreadSheet(const CSpreadSheet&) = delete;
  CSpreadSheet& operator=(const CSpreadSheet&) = delete;

  bool AddHeaders(CStringArray& FieldNames, bool replace = false);
  bool AddRow(CStringArray& RowValues, long row = 0, bool replace = false);
  bool ReadRow(CStringArray& RowValues, long row = 0);
  bool DeleteSheet();
  bool DeleteSheet(CString SheetName);
  void BeginTransaction();
  bool Commit();
  bool Convert(CString SheetOrSeparator);
  long GetTotalRows() const;
  CString GetLastErrorText() const;

  // (private members and operations: see the implementation)
};
