#include "calc/system_calculation.h"

#include <filesystem>

#include "calc/calc_texts.h"
#include "calc/problem_texts.h"
#include "calc/switch_lookup.h"
#include "calc/system_workbook.h"
#include "calc/workbook_files.h"
#include "platform/text/encoding.h"
#include "sheet/spreadsheet.h"

namespace {

namespace fs = std::filesystem;

CString JoinedMessages(const std::vector<CString>& messages) {
  CString text;
  for (size_t i = 0; i < messages.size(); ++i) text += (i ? CString(";") : CString()) + messages[i];
  // One line per problem in the system's message.
  text.Replace("\n", " ");
  return text;
}

SystemProblem BoardProblem(SystemProblemKind kind, const SystemBoardRow& row, const CString& detail = {}) {
  return {kind, row.row, 0, row.name, row.workbook, detail};
}

// A problem, or the board calculated in `session`.
std::optional<SystemProblem> CalculateBoard(const SystemBoardRow& row, const StandardInputs& inputs,
                                            BoardSession& session) {
  std::error_code error;
  if (!workbook_files::IsExactName(row.path) || !fs::is_regular_file(ToUtf8(row.path), error))
    return BoardProblem(SystemProblemKind::BoardMissing, row);
  if (!CSpreadSheet::IsWorkbookFile(row.path))
    return BoardProblem(SystemProblemKind::BoardUnreadable, row, calc_text::NotAWorkbookFile());
  CLoadCalcCore& core = session.core;
  core.SetWorkbookPath(row.path);
  core.ResetCircuitList();
  if (!core.ReadCircuits()) return BoardProblem(SystemProblemKind::BoardUnreadable, row, JoinedMessages(session.messages));
  if (session.list.GetItemCount() == 0) return BoardProblem(SystemProblemKind::BoardEmpty, row);
  core.m_method = CalcMethod::Standard;
  core.m_standardInputs = inputs;
  if (!core.Calculate() || !core.LastStandard())
    return BoardProblem(SystemProblemKind::BoardRefused, row, JoinedMessages(session.messages));
  return std::nullopt;
}

double InstalledPower(const CircuitTable& list) {
  double total = 0.0;
  for (const Circuit& circuit : ReadCircuits(list)) total += circuit.equipmentPower;
  return total;
}

bool HoldsSwitchLibrary(const CString& workbook) {
  xls::Error absent;  // then the first board's library is used, and said
  const std::unique_ptr<CSpreadSheet> library =
      CSpreadSheet::TryOpen(workbook, calc_text::SwitchLibrarySheet(), false, absent);
  return library && library->GetOpenError().text.empty() && library->GetTotalRows() > 0;
}

// The system workbook's own "开关型号库" when it has one, else the first
// board's; a library that cannot be read stops the total as incomplete.
void ChooseMainSwitch(SystemResult& result) {
  result.libraryFromSystem = HoldsSwitchLibrary(result.path);
  result.libraryPath = result.libraryFromSystem || result.boards.empty() ? result.path : result.boards.front().row.path;
  const float current = static_cast<float>(result.busbar->totals.current);
  xls::Error failure;
  const std::optional<CString> found = FindSwitchesIn(result.libraryPath, current, failure);
  if (found)
    result.mainSwitches = SplitSwitches(*found);
  else
    result.problems.push_back(
        {SystemProblemKind::SystemUnreadable, 0, 0, {}, result.libraryPath, calc_text::Reason(failure)});
}

}  // namespace

BoardSession::BoardSession() : core(list, switches, *this) {}

CString SystemBoardResult::SelectedSwitch() const { return switches.empty() ? calc_text::NoSwitch() : switches.front(); }

std::vector<CString> SplitSwitches(const CString& candidates) {
  std::vector<CString> entries;
  int start = 0;
  while (start < candidates.GetLength()) {
    const int end = candidates.Find(';', start);
    if (end < 0) {
      entries.push_back(candidates.Mid(start));
      break;
    }
    if (end > start) entries.push_back(candidates.Mid(start, end - start));
    start = end + 1;
  }
  return entries;
}

SystemResult CalculateSystem(const SystemDefinition& definition) {
  SystemResult result;
  result.path = definition.path;
  result.inputs = definition.inputs;
  result.problems = definition.problems;
  result.rows = definition.boards;
  for (const SystemBoardRow& row : definition.boards) {
    auto session = std::make_shared<BoardSession>();
    if (std::optional<SystemProblem> problem = CalculateBoard(row, definition.inputs.board, *session)) {
      result.problems.push_back(*problem);
      continue;
    }
    SystemBoardResult board;
    board.row = row;
    board.installedPower = InstalledPower(session->list);
    board.board = *session->core.LastStandard();
    for (int i = 0; i < session->switches.GetCount(); ++i) board.switches.push_back(session->switches.GetLBText(i));
    board.session = std::move(session);
    result.boards.push_back(std::move(board));
  }
  if (!result.problems.empty()) return result;
  std::vector<StandardTotals> totals;
  for (const SystemBoardResult& board : result.boards) totals.push_back(board.board.totals);
  result.busbar = CalculateBusbar(totals, result.inputs.busbar, result.inputs.transformer);
  ChooseMainSwitch(result);
  return result;
}

SystemResult CalculateSystem(const CString& systemPath, const SystemOverrides& overrides) {
  return CalculateSystem(ReadSystemWorkbook(systemPath, overrides));
}
