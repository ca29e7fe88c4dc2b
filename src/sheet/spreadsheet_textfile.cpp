// Text file storage: the whole table as one file, one line per row (a
// quoted value's line breaks stay inside its row).
#include "platform/files/archive.h"
#include "platform/files/file.h"
#include "sheet/row_text.h"
#include "sheet/spreadsheet.h"

bool CSpreadSheet::OpenTextFile() {
  try {
    CFile file(m_strFile, CFile::modeRead | CFile::shareDenyNone);
    std::string contents;
    char chunk[4096];
    for (unsigned got; (got = file.Read(chunk, sizeof chunk)) > 0;) contents.append(chunk, got);
    file.Close();
    m_astrRows.RemoveAll();
    for (std::string& row : row_text::SplitLines(contents, m_strSeparator.str())) m_astrRows.Add(CString(std::move(row)));
  } catch (const CFileException&) {
    m_strLastError = "Error in opening file\n";
    m_astrRows.RemoveAll();
    m_nRowCount = 0;
    m_bHasHeader = false;
    return false;
  }
  m_nRowCount = m_astrRows.GetSize();
  ReadRow(m_astrHeader, 1);
  m_nColCount = 0;
  CStringArray values;
  for (int32_t row = 1; row <= m_nRowCount; ++row) {
    ReadRow(values, row);
    if (values.GetSize() > m_nColCount) m_nColCount = ColumnCount(values.GetSize());
  }
  if (m_nColCount != 0) m_bHasHeader = true;
  return true;
}

bool CSpreadSheet::CommitTextFile() {
  try {
    CFile file(m_strFile, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone);
    CArchive archive(&file, CArchive::store, 4096);
    for (const CString& row : m_astrRows) {
      archive.WriteString(row);
      archive.WriteString("\r\n");
    }
    archive.Close();
    file.Close();
  } catch (const CFileException&) {
    m_strLastError = "Error writing file\n";
    return false;
  }
  m_bDeferWrite = false;
  return true;
}
