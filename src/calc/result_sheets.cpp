#include "calc/result_sheets.h"

#include <memory>

#include "calc/calc_texts.h"
#include "sheet/spreadsheet.h"

namespace {

constexpr int kSavedCellBytes = 259;

// The list's columns of quantities, saved as numbers so a designer can sum
// them; 线路编号 and 相别 are labels even when they read "1", and 可选开关
// and 备注 are free text.
CStringArray NumberColumns() {
  CStringArray names;
  for (const CString& name : {calc_text::EquipmentPower(), calc_text::DemandCoefficient(), calc_text::PowerFactor(),
                              calc_text::CalculatedPower(), calc_text::CalculatedCurrent()})
    names.Add(name);
  return names;
}

CStringArray ParameterNumberColumns() {
  CStringArray names;
  names.Add(calc_text::ParameterValue());
  return names;
}

}  // namespace

xls::Error SheetErrorOf(const CSpreadSheet& sheet) {
  const CString text = sheet.GetLastErrorText();
  return xls::MakeError(text.IsEmpty() ? std::string("write failed") : text.str(), sheet.GetLastErrorKind());
}

bool WriteCircuitSheet(const CString& path, const CString& name, const CStringArray& captions,
                       const CircuitTable& list, xls::Error& error) {
  const std::unique_ptr<CSpreadSheet> opened = CSpreadSheet::TryOpen(path, name, true, error);
  if (!opened) return false;
  CSpreadSheet& circuits = *opened;
  circuits.DeleteSheet();
  circuits.StoreNumbersIn(NumberColumns());
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
  error = SheetErrorOf(circuits);
  return false;
}

bool WriteParameterSheet(const CString& path, const CString& name, const ParameterRows& rows, xls::Error& error) {
  const std::unique_ptr<CSpreadSheet> opened = CSpreadSheet::TryOpen(path, name, true, error);
  if (!opened) return false;
  CSpreadSheet& sheet = *opened;
  sheet.StoreNumbersIn(ParameterNumberColumns());
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
  error = SheetErrorOf(sheet);
  return false;
}
