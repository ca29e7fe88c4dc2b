// The switch models whose ratings can carry a current, from the library
// sheet of the input workbook.
#include <cmath>

#include "calc/calc_texts.h"
#include "calc/load_calc_core.h"
#include "calc/problem_texts.h"
#include "calc/switch_lookup.h"
#include "platform/crt/crt.h"
#include "sheet/spreadsheet.h"

namespace {

// A model qualifies from a rating of trunc(current × 1.1 + 1) amperes on.
double RatingThreshold(float current) { return std::trunc(static_cast<double>(current) * 1.1 + 1); }

bool AnyRatingReaches(const CStringArray& cells, double threshold) {
  for (int i = 1; i < cells.GetSize(); ++i)
    if (crt::atof(cells[i].GetString()) >= threshold) return true;
  return false;
}

// Null, with `error` saying why, when the library cannot be read: neither
// its workbook nor its sheet.
std::unique_ptr<CSpreadSheet> OpenSwitchLibrary(const CString& workbook, xls::Error& error) {
  std::unique_ptr<CSpreadSheet> library = CSpreadSheet::TryOpen(workbook, calc_text::SwitchLibrarySheet(), false, error);
  if (library && !library->GetOpenError().text.empty()) {
    error = library->GetOpenError();
    library.reset();
  }
  return library;
}

}  // namespace

// The lookup never writes the backup sheet: that only ever holds the circuit sheet.
CString CLoadCalcCore::FindSwitches(float current) {
  m_switchLookupFailure.reset();
  xls::Error failure;
  std::optional<CString> found = FindSwitchesIn(m_strWorkbook, current, failure);
  if (!found) {
    m_switchLookupFailure = failure;
    return CString();
  }
  return *found;
}

std::optional<CString> FindSwitchesIn(const CString& workbook, float current, xls::Error& failure) {
  const std::unique_ptr<CSpreadSheet> library = OpenSwitchLibrary(workbook, failure);
  if (!library) return std::nullopt;
  const double threshold = RatingThreshold(current);
  CString result;
  const long rows = library->GetTotalRows();
  for (long r = 2; r <= rows; ++r) {
    CStringArray cells;
    library->ReadRow(cells, r);
    if (cells.GetSize() >= 2 && AnyRatingReaches(cells, threshold)) result += cells[0] + ";";
  }
  return result;
}

// An unreadable library would look like one in which no switch fits; the
// calculation says why (SwitchLookupFailure) and stops before any row.
bool CLoadCalcCore::SwitchLibraryReadable() {
  m_switchLookupFailure.reset();
  xls::Error error;
  if (OpenSwitchLibrary(m_strWorkbook, error)) return true;
  m_switchLookupFailure = error;
  return false;
}
