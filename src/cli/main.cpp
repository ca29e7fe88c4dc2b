// loadcalc-cli: 读取, 计算 (or 自动平衡) and 保存 without a window.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "calc/balance_moves.h"
#include "calc/calc_texts.h"
#include "calc/circuit.h"
#include "calc/circuit_validation.h"
#include "calc/formula_cells.h"
#include "calc/load_calc_core.h"
#include "calc/memory_circuit_table.h"
#include "calc/problem_texts.h"
#include "calc/results_target.h"
#include "calc/switch_combo_box.h"
#include "cli/cli_options.h"
#include "cli/cli_report.h"
#include "cli/report_export.h"
#include "cli/standard_output.h"
#include "cli/system_cli.h"
#include "platform/odbc/db_exception.h"
#include "platform/text/encoding.h"
#include "report/report_messages.h"

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kBadArguments = 2;

// Messages the dialog would show in boxes: kept for the report and written
// to standard error as they come, one per line.
class ConsoleHost : public LoadCalcHost {
 public:
  std::vector<CString> messages;

  void ShowMessage(const CString& text) override {
    messages.push_back(text);
    std::string line = ToUtf8(text);
    for (char& ch : line)
      if (ch == '\n' || ch == '\r') ch = ' ';
    std::cerr << line << std::endl;
  }
  // One line for the heading and one for each circuit, so that each can be
  // found with grep.
  void ShowCircuitProblems(const std::vector<CircuitProblem>& problems) override {
    ShowMessage(CircuitProblemsHeading(problems));
    for (const CircuitProblem& problem : problems) ShowMessage(CircuitProblemLine(problem));
  }
  void ExchangeBoardData(bool) override {}
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
};

// A file name given on the command line must reach the file system exactly:
// one that is not valid UTF-8 would be changed on its way and name another file.
bool NamesAreExact(const CliOptions& options) {
  for (const auto* name : {&options.workbook, &options.saveTo, &options.reportTo}) {
    if (!*name || ToUtf8(FromUtf8(**name)) == **name) continue;
    std::cerr << "loadcalc-cli: " << ToUtf8(calc_text::NameNotExact()) << ", 没有读取或写入任何文件: " << **name
              << std::endl;
    return false;
  }
  return true;
}

// Standard output that could not be written (a full disk, a closed pipe) is a
// failure, not a result.
// 自动平衡 without asking; boards beyond the exhaustive search's 19
// circuits go to the extended method, which is said on standard error.
bool Balance(CLoadCalcCore& core, const CliOptions& options) {
  const BalanceSettings settings{true, options.timeLimitSeconds, options.balanceBelow, options.fewestMoves};
  const std::vector<Circuit> all = ReadCircuits(core.m_list);
  const auto circuits = std::count_if(all.begin(), all.end(), [](const Circuit& c) { return c.IsFree(); });
  if (!options.balanceBelow && circuits > 19 && circuits <= 200)
    std::cerr << "loadcalc-cli: " << circuits << " 个回路: 用扩展方法进行自动平衡 (时限 " << options.timeLimitSeconds
              << " 秒)" << std::endl;
  const bool balanced = core.AutoBalance(settings);
  for (const PhaseMove& move : PhaseMoves(core.m_list, core.LastBalance()))
    std::cerr << "loadcalc-cli: 移动回路 " << ToUtf8(PhaseMoveLine(move)) << std::endl;
  return balanced;
}

bool WriteReport(const CLoadCalcCore& core, const SwitchComboBox& switches, const report::ReportSource& source,
                 const std::string& path, ConsoleHost& host) {
  const xls::Status written = WriteCalculationReport(core, switches, source, path);
  if (written) return true;
  host.ShowMessage(report::ReportWriteFailed(FromUtf8(path), calc_text::Reason(written.error())));
  return false;
}

// Both outputs are checked before anything is read or written: neither may
// be the input workbook, nor the other output, nor a file that cannot be
// replaced.
bool TargetsAccepted(const CliOptions& options, const CString& workbook, ConsoleHost& host) {
  TargetRefusal refusal;
  std::optional<CString> results;
  if (options.saveTo) {
    results = CheckResultsTarget(FromUtf8(*options.saveTo), workbook, refusal);
    if (!results) {
      host.ShowMessage(calc_text::TargetRefused(FromUtf8(*options.saveTo), refusal));
      return false;
    }
  }
  if (options.reportTo &&
      !CheckReportTarget(FromUtf8(*options.reportTo), workbook, results.value_or(CString()), refusal)) {
    host.ShowMessage(calc_text::TargetRefused(FromUtf8(*options.reportTo), refusal));
    return false;
  }
  return true;
}

int Run(const CliOptions& options) {
  if (!NamesAreExact(options)) return kFailed;
  MemoryCircuitTable list;
  MemorySwitchComboBox switches;
  ConsoleHost host;
  CLoadCalcCore core(list, switches, host);
  if (options.workbook) core.SetWorkbookPath(FromUtf8(*options.workbook));
  core.ResetCircuitList();
  if (!TargetsAccepted(options, core.GetWorkbookPath(), host)) return kFailed;

  bool ok = true;
  bool calculated = false;
  if (!core.ReadCircuits() || list.GetItemCount() == 0) {
    // An empty circuit sheet has been said by the reading already.
    ok = false;
  } else if (const auto formulas = FindFormulaCells(list); !formulas.empty()) {
    host.ShowMessage(report::FormulaCellsWithoutValue(formulas));
    ok = false;
  } else {
    core.m_fPowerFactor = options.powerFactor;
    core.m_fDemandCoef = options.demandCoefficient;
    core.m_method = options.standard ? CalcMethod::Standard : CalcMethod::Original;
    core.m_standardInputs = {options.kp, options.kq, options.targetPowerFactor, options.bankStep, options.compensate};
    calculated = options.balance || options.balanceBelow ? Balance(core, options) : core.Calculate();
    report::ReportSource source;
    source.workbookName = std::filesystem::path(ToUtf8(core.GetWorkbookPath())).filename().string();
    source.calculatedAt = std::time(nullptr);
    if (options.balance || options.balanceBelow) source.balanced = report::BalancedPhases(list, core.LastBalance());
    ok = calculated;
    if (calculated && options.saveTo) ok = core.SaveResults(FromUtf8(*options.saveTo));
    if (calculated && options.reportTo) ok = WriteReport(core, switches, source, *options.reportTo, host) && ok;
    if (calculated && options.writeBack) ok = core.WriteBack() && ok;
  }
  if (!calculated && options.saveTo)
    host.ShowMessage(calc_text::WriteFailed(FromUtf8(*options.saveTo), FromUtf8("没有计算结果，结果文件没有写入")));

  const CString switchText = calculated ? core.FindSwitches(core.m_fCurrent) : CString();
  const CliReport report = MakeCliReport(core, switches, switchText, host.messages);
  std::cout << (options.json ? ToJson(report) : ToTable(report));
  if (!StandardOutputWritten()) return kFailed;
  return ok ? kDone : kFailed;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string conversionProblem = TextConversionProblem();
  if (!conversionProblem.empty()) {
    std::cerr << "loadcalc-cli: 无法进行 GB18030 文字转换 (" << conversionProblem << ")\n";
    return kFailed;
  }
  const CliParse parse = ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parse.options) {
    std::cerr << "loadcalc-cli: 命令行参数有误 (" << parse.error << ")\n" << CliUsage();
    return kBadArguments;
  }
  if (parse.options->reportTo && !CanWriteReports()) {
    std::cerr << "loadcalc-cli: 这个 loadcalc-cli 不能写计算书 (--report): 构建时没有 Qt (LOADCALC_WITH_GUI=OFF)\n";
    return kBadArguments;
  }
  if (parse.options->help) {
    std::cout << CliUsage();
    return kDone;
  }
  // No failure ends the program without a word and its exit status.
  try {
    if (parse.options->system) return RunSystem(*parse.options);
    return Run(*parse.options);
  } catch (const CDBException& e) {
    std::cerr << "loadcalc-cli: " << ToUtf8(calc_text::UnexpectedFailure(calc_text::Reason(xls::MakeError(e.m_strError.str(), e.m_kind)))) << std::endl;
  } catch (const std::exception& e) {
    std::cerr << "loadcalc-cli: " << ToUtf8(calc_text::UnexpectedFailure(FromUtf8(e.what()))) << std::endl;
  }
  return kFailed;
}
