// The table in memory: row texts, header checks, adding and reading rows,
// and the operations that do not depend on the kind of storage.
#include "sheet/spreadsheet.h"

#include <algorithm>
#include <cstring>

#include "platform/odbc/database.h"
#include "platform/odbc/db_exception.h"
#include "platform/odbc/recordset.h"
#include "sheet/row_text.h"
#include "platform/text/mbcs.h"

namespace {

// Every value of a workbook row text is joined by this fixed text.
constexpr const char kWorkbookSeparator[] = ",;.?";
constexpr const char kBackupSheet[] = "CSpreadSheetBackup";
// A sheet holds 65536 rows; a text table is kept to what a row number can count.
constexpr long kWorkbookRows = 65536;
constexpr long kTextRows = 0x7FFFFFFE;

// The index of the first value that equals a later or earlier one, or -1.
int FirstDuplicate(const CStringArray& names) {
  for (int i = 0; i < names.GetSize(); ++i) {
    for (int j = 0; j < names.GetSize(); ++j) {
      if (i != j && _mbscmp(reinterpret_cast<const unsigned char*>(names[i].GetString()),
                            reinterpret_cast<const unsigned char*>(names[j].GetString())) == 0) {
        return i;
      }
    }
  }
  return -1;
}

bool SameText(const CString& a, const CString& b) {
  return _mbscmp(reinterpret_cast<const unsigned char*>(a.GetString()), reinterpret_cast<const unsigned char*>(b.GetString())) == 0;
}

// Cuts `text` at every occurrence of `delimiter`, searching from the left at
// character starts only, as CString::Find does. One walk over the characters
// serves every search, so that a long row costs time in proportion to its length.
void CutAt(const CString& text, const CString& delimiter, CStringArray& pieces) {
  const std::string_view chars(text.GetString(), static_cast<size_t>(text.GetLength()));
  const std::string_view needle(delimiter.GetString(), static_cast<size_t>(delimiter.GetLength()));
  size_t start = 0;
  for (size_t at = 0; !needle.empty() && at + needle.size() <= chars.size(); at += mbcs::CharacterLength(chars, at)) {
    if (at < start || chars.compare(at, needle.size(), needle) != 0) continue;
    pieces.Add(CString(chars.substr(start, at - start)));
    start = at + needle.size();
  }
  pieces.Add(CString(chars.substr(std::min(start, chars.size()))));
}

}  // namespace

bool CSpreadSheet::IsWorkbookFile(const CString& file) {
  for (const char* ending : {".xls", ".xlsx", ".xlsm"}) {
    CString tail = file.Right(static_cast<int>(std::strlen(ending)));
    if (tail.MakeLower() == ending) return true;
  }
  return false;
}

CSpreadSheet::CSpreadSheet(CString File, CString SheetOrSeparator, bool Backup)
    : m_bMakeBackup(Backup), m_strFile(File) {
  m_bWorkbook = IsWorkbookFile(File);
  if (m_bWorkbook) {
    m_strSheet = SheetOrSeparator;
    m_strSeparator = kWorkbookSeparator;
    m_pDb = std::make_unique<CDatabase>();
    FindExcelDriver();
    MakeConnectString();
  } else {
    m_strSeparator = SheetOrSeparator;
  }
  if (!m_bWorkbook && m_strSeparator.IsEmpty()) {
    m_strLastError = "The separator cannot be empty\n";
    return;
  }
  if (Open() && m_bMakeBackup && m_bHasHeader) MakeBackup();
}

std::unique_ptr<CSpreadSheet> CSpreadSheet::TryOpen(const CString& File, const CString& SheetOrSeparator,
                                                    bool Backup, xls::Error& error) {
  try {
    return std::make_unique<CSpreadSheet>(File, SheetOrSeparator, Backup);
  } catch (const CDBException& e) {
    error = xls::MakeError(e.m_strError.str(), e.m_kind);
    return nullptr;
  }
}

CSpreadSheet::~CSpreadSheet() {
  if (m_pDb) m_pDb->Rollback();
}

int16_t CSpreadSheet::ColumnCount(int values) { return static_cast<int16_t>(std::min(values, 0x7FFF)); }

bool CSpreadSheet::Open() { return m_bWorkbook ? OpenWorkbook() : OpenTextFile(); }

void CSpreadSheet::MakeBackup() {
  if (m_bWorkbook) {
    const CString sheet = m_strSheet;
    m_strSheet = kBackupSheet;
    m_bHasHeader = false;
    if (!Commit()) {
      m_bMakeBackup = false;
      // The backup of an earlier opening is kept: it holds the sheet as it
      // was before this program first changed it.
      if (m_lastErrorKind != xls::ErrorKind::SheetExists)
        m_backupError = xls::MakeError(m_strLastError.str(), m_lastErrorKind);
    }
    m_bHasHeader = true;
    m_strSheet = sheet;
    m_nCurrentRow = 1;
  } else {
    const CString file = m_strFile;
    m_strFile.Format("%s.bak", file.GetString());
    if (!Commit()) {
      m_bMakeBackup = false;
      m_backupError = xls::MakeError(m_strLastError.str());
    }
    m_strFile = file;
  }
}

bool CSpreadSheet::CheckCanWrite() {
  if (m_bWorkbook || !m_strSeparator.IsEmpty()) return true;
  m_strLastError = "The separator cannot be empty\n";
  return false;
}

// Values are escaped (a quotation mark doubled) so that every value reads
// back exactly, whatever quotation marks, separators, line breaks or NUL
// bytes it holds.
CString CSpreadSheet::MakeRowText(const CStringArray& values) const {
  std::string text;
  for (int i = 0; i < values.GetSize(); ++i) {
    if (i > 0) text += m_strSeparator.str();
    text += row_text::Quote(values[i].str());
  }
  return CString(text);
}

CString CSpreadSheet::MakeEmptyRowText() const {
  // A workbook cannot hold an empty cell in a written row, so gap rows hold a space.
  const char* cell = m_bWorkbook ? "\" \"" : "\"\"";
  CString text;
  for (int i = 0; i < m_nColCount; ++i) {
    text += cell;
    if (i + 1 < m_nColCount) text += m_strSeparator;
  }
  return text;
}

void CSpreadSheet::SplitRowText(const CString& text, CStringArray& values) const {
  std::vector<std::string> quoted;
  if (row_text::Split(text.str(), m_strSeparator.str(), quoted) == row_text::Form::Quoted) {
    for (const std::string& value : quoted) values.Add(CString(value));
    return;
  }
  // Rows of other programs and rows written before values were escaped.
  const CString token = "\"" + m_strSeparator + "\"";
  if (text.Find(token) >= 0) {
    CutAt(text, token, values);
    if (values[0].Find('"') == 0) values[0] = values[0].Mid(1);
    // Only a closing quotation mark is removed, never part of a character.
    CString& last = values[values.GetUpperBound()];
    if (last.GetLength() > 0 && last.GetAt(last.GetLength() - 1) == '"') last = last.Left(last.GetLength() - 1);
  } else if (text.Find(m_strSeparator) >= 0) {
    CutAt(text, m_strSeparator, values);
  } else if (text.Find('"') == 0 && text.ReverseFind('"') == text.GetLength() - 1) {
    values.Add(text.Mid(1, text.GetLength() - 2));
  } else {
    values.Add(text);
  }
}

bool CSpreadSheet::AddHeaders(CStringArray& FieldNames, bool replace) {
  if (!CheckCanWrite()) return false;
  if (!m_bHasHeader) {
    m_nColCount = ColumnCount(FieldNames.GetSize());
    if (!AddRow(FieldNames, 1, true)) return false;
    // Keeps the row count equal to the rows held when a text table already
    // had rows without a header row (rows placed before the header).
    m_nRowCount = m_astrRows.GetSize();
    // A text table holds its header row now, so the next AddHeaders extends
    // it instead of replacing it. (A workbook sheet gets the flag when it is
    // created, because the flag also chooses how Commit writes it.)
    if (!m_bWorkbook) m_bHasHeader = true;
    return true;
  }
  if (replace) return AddRow(FieldNames, 1, true);
  if (!ReadRow(m_astrWork, 1)) return false;
  if (m_bWorkbook) {
    for (const CString& name : FieldNames) {
      for (const CString& existing : m_astrWork) {
        if (SameText(name, existing)) {
          m_strLastError.Format("Duplicate header row field:%s\n", name.GetString());
          return false;
        }
      }
    }
  }
  m_astrWork.Append(FieldNames);
  if (!AddRow(m_astrWork, 1, true)) {
    m_strLastError = "Problems with adding headers\n";
    return false;
  }
  m_nColCount = ColumnCount(std::max<int>(m_nColCount, m_astrWork.GetSize()));
  return true;
}

bool CSpreadSheet::AddRow(CStringArray& RowValues, long row, bool replace) {
  if (!CheckCanWrite()) return false;
  if (row < 0) {
    m_strLastError = "Row number cannot be negative\n";
    return false;
  }
  const long maxRows = m_bWorkbook ? kWorkbookRows : kTextRows;
  if (row > maxRows || (row == 0 && m_nRowCount >= maxRows)) {
    m_strLastError.Format("Row number cannot be greater than %ld\n", maxRows);
    return false;
  }
  if (row == 1) {
    if (m_bWorkbook) {
      const int duplicate = FirstDuplicate(RowValues);
      if (duplicate >= 0) {
        m_strLastError.Format("Duplicate header row field:%s\n", RowValues[duplicate].GetString());
        return false;
      }
      if (RowValues.GetSize() < m_nColCount) {
        m_strLastError = "Number of columns in new header row cannot be less than the number of columns in previous header row";
        return false;
      }
      m_nColCount = ColumnCount(RowValues.GetSize());
    }
    m_astrHeader.Copy(RowValues);
  } else if (m_bWorkbook && m_nColCount == 0) {
    m_strLastError = "No header row. Add header row first\n";
    return false;
  }
  if (m_bWorkbook && RowValues.GetSize() > m_astrHeader.GetSize()) {
    m_strLastError = "Number of columns to be added cannot be greater than the number of fields\n";
    return false;
  }
  if (!m_bWorkbook) m_nColCount = ColumnCount(std::max<int>(m_nColCount, RowValues.GetSize()));

  m_strRowText = MakeRowText(RowValues);
  if (row >= 1 && row <= m_nRowCount) {
    if (replace) {
      ReplaceRowText(static_cast<int>(row - 1), m_strRowText);
    } else {
      InsertRowText(static_cast<int>(row - 1), m_strRowText);
      ++m_nRowCount;
    }
  } else if (row > m_nRowCount) {
    m_nCurrentRow = m_nRowCount;
    for (long gap = row - m_nRowCount - 1; gap > 0; --gap) {
      AppendRowText(MakeEmptyRowText());
      ++m_nCurrentRow;
    }
    AppendRowText(m_strRowText);
    ++m_nCurrentRow;
    m_nRowCount = static_cast<int32_t>(row);
  } else {
    AppendRowText(m_strRowText);
    ++m_nRowCount;
  }
  return m_bDeferWrite || Commit();
}

bool CSpreadSheet::ReadRow(CStringArray& RowValues, long row) {
  if (row < 0) {
    m_strLastError = "Row number cannot be negative\n";
    return false;
  }
  if (row > m_nRowCount) {
    m_strLastError = "Desired row is greater than total number of rows in spreadsheet\n";
    return false;
  }
  if (row != 0) {
    m_nCurrentRow = static_cast<int32_t>(row);
  } else if (m_nCurrentRow > m_nRowCount) {
    return false;
  }
  RowValues.RemoveAll();
  const int index = m_nCurrentRow - 1;
  m_strRowText = m_astrRows[index];
  ++m_nCurrentRow;
  SplitRowText(m_strRowText, RowValues);
  RowValues.SetSize(RowValues.GetSize() + TrailingEmptyValues(index));
  return true;
}

void CSpreadSheet::ReadValuesToWrite(int32_t row, CStringArray& values) {
  m_nCurrentRow = row + 1;
  m_strRowText = m_astrRows[row - 1];
  values.RemoveAll();
  SplitRowText(m_strRowText, values);
  int count = values.GetSize();
  while (count > 0 && values[count - 1].IsEmpty()) --count;
  values.SetSize(count);
}

void CSpreadSheet::AppendRowText(const CString& text, int16_t trailingEmpty) {
  if (trailingEmpty != 0 && m_anTrailingEmpty.empty()) m_anTrailingEmpty.resize(static_cast<size_t>(m_astrRows.GetSize()), 0);
  m_astrRows.Add(text);
  if (!m_anTrailingEmpty.empty()) m_anTrailingEmpty.push_back(trailingEmpty);
}

void CSpreadSheet::InsertRowText(int index, const CString& text) {
  m_astrRows.InsertAt(index, text);
  if (!m_anTrailingEmpty.empty()) m_anTrailingEmpty.insert(m_anTrailingEmpty.begin() + index, 0);
}

void CSpreadSheet::ReplaceRowText(int index, const CString& text) {
  m_astrRows.SetAt(index, text);
  if (!m_anTrailingEmpty.empty()) m_anTrailingEmpty[static_cast<size_t>(index)] = 0;
}

void CSpreadSheet::RemoveAllRows() {
  m_astrRows.RemoveAll();
  m_anTrailingEmpty.clear();
}

int CSpreadSheet::TrailingEmptyValues(int index) const {
  return m_anTrailingEmpty.empty() ? 0 : m_anTrailingEmpty[static_cast<size_t>(index)];
}

bool CSpreadSheet::DeleteSheet() {
  if (!CheckCanWrite()) return false;
  if (m_bWorkbook) {
    if (DeleteSheet(m_strSheet)) return true;
    m_strLastError = "Error deleting sheet\n";
    return false;
  }
  RemoveAllRows();
  m_astrHeader.RemoveAll();
  m_nColCount = 0;
  m_nRowCount = 0;
  const bool written = m_bDeferWrite || Commit();
  m_bHasHeader = false;
  return written;
}

bool CSpreadSheet::DeleteSheet(CString SheetName) {
  if (!m_bWorkbook) return DeleteSheet();
  return DropWorkbookSheet(SheetName);
}

void CSpreadSheet::BeginTransaction() { m_bDeferWrite = true; }

bool CSpreadSheet::Commit() {
  m_lastErrorKind = xls::ErrorKind::Failed;
  if (!CheckCanWrite()) return false;
  return m_bWorkbook ? CommitWorkbook() : CommitTextFile();
}

bool CSpreadSheet::Convert(CString SheetOrSeparator) {
  if (!CheckCanWrite()) return false;
  // The name without its four-letter ending, or five for .xlsx and .xlsm.
  CString ending = m_strFile.Right(5);
  const bool longEnding = m_bWorkbook && ending.MakeLower().Left(4) == ".xls";
  const CString stem = m_strFile.Left(m_strFile.GetLength() - (longEnding ? 5 : 4));
  const CString targetFile = stem + (m_bWorkbook ? ".csv" : ".xls");
  CSpreadSheet target(targetFile, SheetOrSeparator, false);
  if (target.m_nColCount != 0) return false;
  const bool converted = m_bWorkbook ? ConvertToTextFile(target) : ConvertToWorkbook(target);
  // The reason a conversion failed is the target's; keep it where callers look.
  if (!converted) {
    m_strLastError = target.m_strLastError;
    m_lastErrorKind = target.m_lastErrorKind;
  }
  return converted;
}

bool CSpreadSheet::ConvertToTextFile(CSpreadSheet& target) {
  target.BeginTransaction();
  for (int32_t k = 1; k <= m_nRowCount; ++k) {
    ReadRow(m_astrWork, k);
    if (!target.AddRow(m_astrWork, k, false)) return false;
  }
  return target.Commit();
}

bool CSpreadSheet::ConvertToWorkbook(CSpreadSheet& target) {
  m_astrWork.Copy(m_astrHeader);
  bool duplicates = false;
  for (int i = 0; i < m_astrWork.GetSize(); ++i) {
    for (int j = 0; j < m_astrWork.GetSize(); ++j) {
      if (i != j && SameText(m_astrWork[i], m_astrWork[j])) {
        m_strLastError.Format("Duplicate header row field:%s\n", m_astrWork[i].GetString());
        duplicates = true;
        break;
      }
    }
  }
  // One write at the end: the target reports a failed write, which a
  // write after every row would leave unnoticed.
  target.BeginTransaction();
  int32_t first = 2;
  int32_t shift = 0;
  if (duplicates) {
    m_astrWork.RemoveAll();
    for (int i = 1; i <= m_nColCount; ++i) {
      CString number;
      number.Format("%d", i);
      m_astrWork.Add(number);
    }
    first = 1;
    shift = 1;
  }
  if (!target.AddHeaders(m_astrWork, false)) return false;
  for (int32_t k = first; k <= m_nRowCount; ++k) {
    ReadRow(m_astrWork, k);
    if (!target.AddRow(m_astrWork, k + shift, false)) return false;
  }
  return target.Commit();
}

long CSpreadSheet::GetTotalRows() const { return m_nRowCount; }

CString CSpreadSheet::GetLastErrorText() const { return m_strLastError; }
