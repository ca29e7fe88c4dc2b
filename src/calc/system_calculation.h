// The whole building: every board of the system workbook read from its own
// workbook and calculated by 规范法 through the same core as a single board,
// then the busbar, the compensation, the transformer and the main switch.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "calc/load_calc_core.h"
#include "calc/memory_circuit_table.h"
#include "calc/switch_combo_box.h"
#include "calc/system_model.h"

// One board's calculation as the board's own window would hold it: the list
// with its results, the switch choice and the messages it raised.
class BoardSession : private LoadCalcHost {
 public:
  BoardSession();
  BoardSession(const BoardSession&) = delete;
  BoardSession& operator=(const BoardSession&) = delete;

  MemoryCircuitTable list;
  MemorySwitchComboBox switches;
  std::vector<CString> messages;
  CLoadCalcCore core;

 private:
  void ShowMessage(const CString& text) override { messages.push_back(text); }
  void ExchangeBoardData(bool) override {}
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
};

struct SystemBoardResult {
  SystemBoardRow row;
  double installedPower = 0.0;  // ΣPe of the circuits, kW
  StandardBoardResult board;
  std::vector<CString> switches;  // the board's candidates, library order
  std::shared_ptr<const BoardSession> session;

  CString SelectedSwitch() const;  // the first candidate, or "无"
};

struct SystemResult {
  CString path;  // the system workbook
  SystemInputs inputs;
  std::vector<SystemBoardRow> rows;       // every board named, calculated or not
  std::vector<SystemBoardResult> boards;  // those calculated, in sheet order
  std::vector<SystemProblem> problems;    // any problem: no busbar figures
  std::optional<BusbarResult> busbar;
  CString libraryPath;  // where the main switch was looked up
  bool libraryFromSystem = false;
  std::vector<CString> mainSwitches;

  bool Complete() const { return problems.empty() && busbar.has_value(); }
};

// Reads the system workbook and calculates everything. A board's workbook is
// read as 读取 reads it (its backup sheet included) and never written.
SystemResult CalculateSystem(const CString& systemPath, const SystemOverrides& overrides = {});

// The boards and the busbar of a definition already read.
SystemResult CalculateSystem(const SystemDefinition& definition);

// Candidate texts split at ";" as the board's combo box shows them.
std::vector<CString> SplitSwitches(const CString& candidates);
