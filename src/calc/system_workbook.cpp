#include "calc/system_workbook.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "calc/problem_texts.h"
#include "calc/system_texts.h"
#include "platform/text/encoding.h"
#include "sheet/spreadsheet.h"

namespace {

namespace fs = std::filesystem;

CString CellOf(const CStringArray& cells, int column) {
  if (column >= cells.GetSize()) return CString();
  CString text = cells[column];
  text.Trim();
  return text;
}

// The parameters of "系统参数" and where each one goes.
enum class Parameter { BoardKp, BoardKq, BusbarKp, BusbarKq, TargetPf, BankStep, Transformers, MaxLoadRate };

struct ParameterName {
  const char* utf8;
  Parameter parameter;
};

const ParameterName kParameters[] = {
    {"配电箱K∑p", Parameter::BoardKp}, {"配电箱K∑q", Parameter::BoardKq},     {"母线K∑p", Parameter::BusbarKp},
    {"母线K∑q", Parameter::BusbarKq},  {"目标功率因数", Parameter::TargetPf}, {"电容器步长", Parameter::BankStep},
    {"变压器台数", Parameter::Transformers}, {"最大负荷率", Parameter::MaxLoadRate}};

// Σ (Greek) is typed as often as ∑ (the sum sign); both mean the same here.
std::optional<Parameter> ParameterNamed(const CString& name) {
  std::string text = ToUtf8(name);
  for (size_t at = text.find("Σ"); at != std::string::npos; at = text.find("Σ")) text.replace(at, 2, "∑");
  for (const ParameterName& known : kParameters)
    if (text == known.utf8) return known.parameter;
  return std::nullopt;
}

// A whole cell holding one finite number.
std::optional<double> NumberOf(const CString& text) {
  if (text.IsEmpty()) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text.GetString(), &end);
  if (errno != 0 || *end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

void SetParameter(SystemInputs& in, Parameter parameter, double value) {
  switch (parameter) {
    case Parameter::BoardKp: in.board.kp = value; break;
    case Parameter::BoardKq: in.board.kq = value; break;
    case Parameter::BusbarKp: in.busbar.kp = value; break;
    case Parameter::BusbarKq: in.busbar.kq = value; break;
    case Parameter::TargetPf: in.busbar.targetPowerFactor = value; break;
    case Parameter::BankStep: in.busbar.bankStep = value; break;
    case Parameter::Transformers:
      in.transformer.count = value == std::floor(value) && std::abs(value) < 1e6 ? static_cast<int>(value) : 0;
      break;
    case Parameter::MaxLoadRate: in.transformer.maxLoadRate = value; break;
  }
}

// The sheet, with no rows when the workbook has none of that name; null,
// with `error` saying why, when the workbook or the sheet cannot be read.
std::unique_ptr<CSpreadSheet> OpenSystemSheet(const CString& path, const CString& name, xls::Error& error) {
  std::unique_ptr<CSpreadSheet> sheet = CSpreadSheet::TryOpen(path, name, false, error);
  if (sheet && !sheet->GetOpenError().text.empty() && sheet->GetOpenError().kind != xls::ErrorKind::NoSuchSheet) {
    error = sheet->GetOpenError();
    sheet.reset();
  }
  return sheet;
}

bool ReadParameters(const CString& path, SystemDefinition& system, xls::Error& error) {
  const std::unique_ptr<CSpreadSheet> sheet = OpenSystemSheet(path, system_text::ParameterSheet(), error);
  if (!sheet) return false;
  const long rows = sheet->GetTotalRows();
  for (long r = 2; r <= rows; ++r) {
    CStringArray cells;
    sheet->ReadRow(cells, r);
    const CString name = CellOf(cells, 0);
    const CString value = CellOf(cells, 1);
    if (name.IsEmpty() && value.IsEmpty()) continue;
    const std::optional<Parameter> parameter = ParameterNamed(name);
    if (!parameter) {
      system.problems.push_back({SystemProblemKind::UnknownParameter, static_cast<int>(r), 0, name, path, {}});
      continue;
    }
    if (value.IsEmpty()) continue;  // the default stays
    const std::optional<double> number = NumberOf(value);
    if (!number) {
      system.problems.push_back({SystemProblemKind::ParameterNotNumber, static_cast<int>(r), 0, name, path, value});
      continue;
    }
    SetParameter(system.inputs, *parameter, *number);
  }
  return true;
}

bool ReadBoards(const CString& path, SystemDefinition& system, xls::Error& error) {
  const std::unique_ptr<CSpreadSheet> sheet = OpenSystemSheet(path, system_text::SystemSheet(), error);
  if (!sheet) return false;
  const long rows = sheet->GetTotalRows();
  for (long r = 2; r <= rows; ++r) {
    CStringArray cells;
    sheet->ReadRow(cells, r);
    SystemBoardRow board{static_cast<int>(r), CellOf(cells, 0), CellOf(cells, 1), {}, CellOf(cells, 2)};
    if (board.name.IsEmpty() && board.workbook.IsEmpty()) continue;  // a blank row between boards
    if (board.name.IsEmpty()) {
      system.problems.push_back({SystemProblemKind::BoardNameMissing, board.row, 0, {}, board.workbook, {}});
      continue;
    }
    if (board.workbook.IsEmpty()) {
      system.problems.push_back({SystemProblemKind::WorkbookNameMissing, board.row, 0, board.name, {}, {}});
      continue;
    }
    board.path = ResolveBoardWorkbook(path, board.workbook);
    system.boards.push_back(board);
  }
  return true;
}

void FindDuplicates(SystemDefinition& system) {
  for (size_t i = 0; i < system.boards.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      if (system.boards[i].name == system.boards[j].name) {
        system.problems.push_back({SystemProblemKind::DuplicateBoard, system.boards[i].row, system.boards[j].row,
                                   system.boards[i].name, {}, {}});
        break;
      }
}

SystemProblem RangeProblem(const char* name, const char* range) {
  return {SystemProblemKind::ParameterRange, 0, 0, FromUtf8(name), {}, FromUtf8(range)};
}

}  // namespace

CString ResolveBoardWorkbook(const CString& systemPath, const CString& written) {
  const fs::path folder = fs::path(ToUtf8(systemPath)).parent_path();
  auto resolve = [&folder](const std::string& name) {
    const fs::path given(name);
    return given.is_absolute() ? given : folder / given;
  };
  const std::string name = ToUtf8(written);
  fs::path path = resolve(name);
  std::error_code error;
  if (!fs::exists(path, error) && name.find('\\') != std::string::npos) {
    std::string slashed = name;
    for (char& ch : slashed)
      if (ch == '\\') ch = '/';
    if (fs::exists(resolve(slashed), error)) path = resolve(slashed);
  }
  return FromUtf8(path.lexically_normal().string());
}

void ApplySystemOverrides(SystemInputs& in, const SystemOverrides& o) {
  if (o.kp) in.busbar.kp = *o.kp;
  if (o.kq) in.busbar.kq = *o.kq;
  if (o.targetPowerFactor) in.busbar.targetPowerFactor = *o.targetPowerFactor;
  if (o.bankStep) in.busbar.bankStep = *o.bankStep;
  if (o.compensate) in.busbar.compensate = *o.compensate;
  if (o.transformers) in.transformer.count = *o.transformers;
  if (o.maxLoadRate) in.transformer.maxLoadRate = *o.maxLoadRate;
}

std::vector<SystemProblem> CheckSystemInputs(const SystemInputs& in) {
  std::vector<SystemProblem> problems;
  const char* const unit = "必须大于0且不大于1";
  if (CheckStandardInputs({in.board.kp, 1, 1, 1, false}) != StandardInputProblem::None)
    problems.push_back(RangeProblem("配电箱K∑p", unit));
  if (CheckStandardInputs({1, in.board.kq, 1, 1, false}) != StandardInputProblem::None)
    problems.push_back(RangeProblem("配电箱K∑q", unit));
  switch (CheckStandardInputs(in.busbar)) {
    case StandardInputProblem::None: break;
    case StandardInputProblem::Kp: problems.push_back(RangeProblem("母线K∑p", unit)); break;
    case StandardInputProblem::Kq: problems.push_back(RangeProblem("母线K∑q", unit)); break;
    case StandardInputProblem::TargetPowerFactor: problems.push_back(RangeProblem("目标功率因数", unit)); break;
    case StandardInputProblem::BankStep: problems.push_back(RangeProblem("电容器步长", "必须大于0")); break;
  }
  switch (CheckTransformerInputs(in.transformer)) {
    case TransformerInputProblem::None: break;
    case TransformerInputProblem::Count: problems.push_back(RangeProblem("变压器台数", "必须是不小于1的整数")); break;
    case TransformerInputProblem::MaxLoadRate: problems.push_back(RangeProblem("最大负荷率", unit)); break;
  }
  return problems;
}

SystemDefinition ReadSystemWorkbook(const CString& path, const SystemOverrides& overrides) {
  SystemDefinition system;
  system.path = path;
  std::error_code error;
  if (!fs::is_regular_file(ToUtf8(path), error)) {
    system.problems.push_back({SystemProblemKind::SystemMissing, 0, 0, {}, path, {}});
    return system;
  }
  if (!CSpreadSheet::IsWorkbookFile(path)) {
    system.problems.push_back(
        {SystemProblemKind::SystemUnreadable, 0, 0, {}, path, FromUtf8("不是.xls、.xlsx或.xlsm工作簿")});
    return system;
  }
  xls::Error failure;
  if (!ReadBoards(path, system, failure) || !ReadParameters(path, system, failure)) {
    system.problems.push_back({SystemProblemKind::SystemUnreadable, 0, 0, {}, path, calc_text::Reason(failure)});
    return system;
  }
  if (system.boards.empty() && system.problems.empty())
    system.problems.push_back({SystemProblemKind::NoBoards, 0, 0, {}, path, {}});
  FindDuplicates(system);
  ApplySystemOverrides(system.inputs, overrides);
  for (const SystemProblem& problem : CheckSystemInputs(system.inputs)) system.problems.push_back(problem);
  return system;
}
