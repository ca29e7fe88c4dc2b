#include "calc/result_sheets.h"

#include "calc/calc_texts.h"
#include "sheet/spreadsheet.h"

namespace {

constexpr int kSavedCellBytes = 259;

// The sheet's own error text, or a plain one when it left none.
CString ErrorOf(const CSpreadSheet& sheet) {
  const CString text = sheet.GetLastErrorText();
  return text.IsEmpty() ? CString("write failed") : text;
}

}  // namespace

bool WriteCircuitSheet(const CString& path, const CString& name, const CStringArray& captions,
                       const CircuitTable& list, CString& error) {
  CSpreadSheet circuits(path, name, true);
  circuits.DeleteSheet();
  circuits.BeginTransaction();
  CStringArray headers;
  headers.Copy(captions);
  circuits.AddHeaders(headers, false);
  const int rows = list.GetItemCount();
  for (int row = 0; row < rows; ++row) {
    CStringArray cells;
    for (int column = 0; column < captions.GetSize(); ++column)
      cells.Add(list.GetItemText(row, column, kSavedCellBytes));
    circuits.AddRow(cells, 0, false);
  }
  if (circuits.Commit()) return true;
  error = ErrorOf(circuits);
  return false;
}

bool WriteParameterSheet(const CString& path, const CString& name, const ParameterRows& rows, CString& error) {
  CSpreadSheet sheet(path, name, true);
  sheet.BeginTransaction();
  CStringArray headers;
  headers.Add(calc_text::ParameterItem());
  headers.Add(calc_text::ParameterValue());
  sheet.AddHeaders(headers, true);
  for (const auto& [item, value] : rows) {
    CStringArray row;
    row.Add(item);
    row.Add(value);
    sheet.AddRow(row, 0, false);
  }
  if (sheet.Commit()) return true;
  error = ErrorOf(sheet);
  return false;
}
