// CSpreadSheet: one table of text values, rows numbered from 1 (row 1 names
// the columns), stored as one sheet of a workbook (a file name ending in
// ".xls", ".xlsx" or ".xlsm") or as one text file with a separator (any
// other name).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/text/cstring.h"
#include "platform/text/cstring_array.h"
#include "workbook/result.h"

class CDatabase;
class CRecordset;

class CSpreadSheet {
 public:
  // May throw CDBException when the workbook's connection cannot be opened.
  CSpreadSheet(CString File, CString SheetOrSeparator, bool Backup = true);
  // The same without the exception: null, with `error` saying why, when the
  // workbook's connection cannot be opened.
  static std::unique_ptr<CSpreadSheet> TryOpen(const CString& File, const CString& SheetOrSeparator, bool Backup,
                                               xls::Error& error);
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
  xls::ErrorKind GetLastErrorKind() const { return m_lastErrorKind; }
  // Why the sheet's rows could not be loaded (no such sheet, a sheet that
  // cannot be read); an empty text when they were.
  const xls::Error& GetOpenError() const { return m_openError; }
  // Why the backup sheet asked for was not written; an empty text when it
  // was, when the workbook holds one already, or when none was asked for.
  const xls::Error& GetBackupError() const { return m_backupError; }

  // In a workbook, the values of these columns that are numbers as the
  // program writes them ("12", "-0.5", "1.080000") are stored as numbers,
  // so a spreadsheet program can sum them; every other value, and every
  // value of a text file, stays text. None by default: a sheet is written
  // as the texts it holds.
  void StoreNumbersIn(const CStringArray& columnNames);

  // True for the names stored as workbooks: .xls, .xlsx and .xlsm, in any case.
  static bool IsWorkbookFile(const CString& file);


 private:
  bool Open();
  void FindExcelDriver();
  // A count of values as a column count (16 bits), kept from turning negative.
  static int16_t ColumnCount(int values);

  // Row texts (spreadsheet.cpp).
  CString MakeRowText(const CStringArray& values) const;
  CString MakeEmptyRowText() const;
  void SplitRowText(const CString& text, CStringArray& values) const;
  bool CheckHeaderNames(const CStringArray& names);
  bool CheckCanWrite();

  // Row storage (spreadsheet.cpp): every change to the row texts goes
  // through these, so that the empty values a row text leaves out stay
  // with their row.
  void AppendRowText(const CString& text, int16_t trailingEmpty = 0);
  void InsertRowText(int index, const CString& text);
  void ReplaceRowText(int index, const CString& text);
  void RemoveAllRows();
  int TrailingEmptyValues(int index) const;
  // The values of a row up to its last non-empty one, moving the current row
  // on as ReadRow does.
  void ReadValuesToWrite(int32_t row, CStringArray& values);

  // Workbook storage (spreadsheet_workbook.cpp).
  void MakeConnectString();
  bool OpenWorkbook();
  bool CommitWorkbook();
  bool DropWorkbookSheet(const CString& sheet);
  bool CheckRowsFitHeader();
  void BuildCreateStatement();
  bool BuildInsertStatement(int row);

  // Text file storage (spreadsheet_textfile.cpp).
  bool OpenTextFile();
  bool CommitTextFile();

  void MakeBackup();
  bool ConvertToTextFile(CSpreadSheet& target);
  bool ConvertToWorkbook(CSpreadSheet& target);

  bool m_bHasHeader = false;
  bool m_bMakeBackup = false;
  bool m_bWorkbook = false;
  bool m_bDeferWrite = false;
  int32_t m_nCurrentRow = 1;
  int32_t m_nRowCount = 0;
  int16_t m_nColCount = 0;
  CString m_strSelectSql;
  CString m_strConnect;
  CString m_strSql;
  CString m_strRowText;
  CString m_strSheet;
  CString m_strDriver;
  CString m_strFile;
  CString m_strSeparator;
  CString m_strLastError;
  xls::ErrorKind m_lastErrorKind = xls::ErrorKind::Failed;
  xls::Error m_openError;
  xls::Error m_backupError;
  CStringArray m_astrWork;
  CStringArray m_astrHeader;
  CStringArray m_astrRows;
  CStringArray m_astrNumberColumns;
  // For each row, the empty values that follow the last value of its text:
  // a row loaded from a wide, sparse sheet keeps only the values up to its
  // last non-empty one, and reads back with the rest as empty values. Empty
  // when no row leaves any value out; else one entry per row.
  std::vector<int16_t> m_anTrailingEmpty;
  std::unique_ptr<CDatabase> m_pDb;
  std::unique_ptr<CRecordset> m_pRs;
};
