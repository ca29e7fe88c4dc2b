// A building's distribution system as the system workbook describes it: the
// boards (配电箱编号, their workbooks, remarks) and the inputs of the boards,
// the busbar and the transformer; what can be wrong with it, as values.
#pragma once

#include <optional>
#include <vector>

#include "calc/standard_method.h"
#include "calc/system_busbar.h"
#include "platform/text/cstring.h"

struct SystemInputs {
  // The boards take K∑p and K∑q only: the capacitor bank is at the busbar.
  StandardInputs board{0.9, 0.95, 0.9, 10.0, false};
  StandardInputs busbar{0.9, 0.95, 0.9, 10.0, true};
  TransformerInputs transformer;
};

// Inputs given on the command line: they win over the sheet "系统参数".
struct SystemOverrides {
  std::optional<double> kp, kq, targetPowerFactor, bankStep, maxLoadRate;
  std::optional<bool> compensate;
  std::optional<int> transformers;
};

struct SystemBoardRow {
  int row = 0;        // row of the sheet "配电系统" (2 is the first board)
  CString name;       // 配电箱编号
  CString workbook;   // 工作簿 as written
  CString path;       // the workbook's file, resolved against the system workbook's folder
  CString remark;     // 备注
};

enum class SystemProblemKind {
  SystemMissing,      // the system workbook does not exist
  SystemUnreadable,   // it cannot be read (detail)
  NoBoards,           // "配电系统" missing, or without a board row
  BoardNameMissing,   // a row names a workbook but no 配电箱编号
  WorkbookNameMissing,  // a row without 工作簿
  DuplicateBoard,     // a second row with the same 配电箱编号 (otherRow: the first)
  UnknownParameter,   // a name in "系统参数" that means nothing
  ParameterNotNumber, // its value is not a number (detail: the value)
  ParameterRange,     // a value outside its range (board: the parameter's name)
  BoardMissing,       // the board's workbook does not exist
  BoardUnreadable,    // it cannot be read (detail)
  BoardEmpty,         // no circuits in "线路负荷计算"
  BoardRefused,       // the calculation refused the board (detail: why)
};

struct SystemProblem {
  SystemProblemKind kind = SystemProblemKind::NoBoards;
  int row = 0;        // sheet row, 0 when none
  int otherRow = 0;
  CString board;      // 配电箱编号, or the parameter's name
  CString file;
  CString detail;
};

struct SystemDefinition {
  CString path;  // the system workbook
  std::vector<SystemBoardRow> boards;
  SystemInputs inputs;
  std::vector<SystemProblem> problems;
};
