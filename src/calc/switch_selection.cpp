// The switch models whose ratings can carry a current, from the library
// sheet of the input workbook.
#include <cmath>

#include "calc/calc_texts.h"
#include "calc/load_calc_core.h"
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

}  // namespace

CString CLoadCalcCore::FindSwitches(float current) { return FindSwitchesIn(m_strWorkbook, current, true); }

CString FindSwitchesIn(const CString& workbook, float current, bool backup) {
  CSpreadSheet library(workbook, calc_text::SwitchLibrarySheet(), backup);
  const double threshold = RatingThreshold(current);
  CString result;
  const long rows = library.GetTotalRows();
  for (long r = 2; r <= rows; ++r) {
    CStringArray cells;
    library.ReadRow(cells, r);
    if (cells.GetSize() >= 2 && AnyRatingReaches(cells, threshold)) result += cells[0] + ";";
  }
  return result;
}
