// loadcalc-cli: 读取, 计算 (or 自动平衡) and 保存 without a window.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "calc/calc_texts.h"
#include "calc/circuit.h"
#include "calc/load_calc_core.h"
#include "calc/memory_circuit_table.h"
#include "calc/switch_combo_box.h"
#include "cli/cli_options.h"
#include "cli/cli_report.h"
#include "cli/report_export.h"
#include "cli/system_cli.h"
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
  void ExchangeBoardData(bool) override {}
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
};

// A file name given on the command line must reach the file system exactly:
// one that is not valid UTF-8 would be changed on its way and name another file.
bool NamesAreExact(const CliOptions& options) {
  for (const auto* name : {&options.workbook, &options.saveTo}) {
    if (!*name || ToUtf8(FromUtf8(**name)) == **name) continue;
    std::cerr << "loadcalc-cli: the file name \"" << **name
              << "\" is not valid UTF-8 text and cannot be used exactly as given; nothing was read or written"
              << std::endl;
    return false;
  }
  return true;
}

// Standard output that could not be written (a full disk, a closed pipe) is a
// failure, not a result.
bool OutputWritten() {
  std::cout.flush();
  const bool written = std::cout.good() && std::fflush(stdout) == 0 && !std::ferror(stdout);
  if (!written) std::cerr << "loadcalc-cli: the results could not be written to standard output" << std::endl;
  return written;
}

// 自动平衡 without asking; boards beyond the exhaustive search's 19
// circuits go to the extended method, which is said on standard error.
bool Balance(CLoadCalcCore& core, const CliOptions& options) {
  const BalanceSettings settings{true, options.timeLimitSeconds, options.balanceBelow, options.fewestMoves};
  const std::vector<Circuit> all = ReadCircuits(core.m_list);
  const auto circuits = std::count_if(all.begin(), all.end(), [](const Circuit& c) { return c.IsFree(); });
  if (!options.balanceBelow && circuits > 19 && circuits <= 200)
    std::cerr << "loadcalc-cli: " << circuits << " circuits: balancing with the extended method (time limit "
              << options.timeLimitSeconds << " s)" << std::endl;
  return core.AutoBalance(settings);
}

bool WriteReport(const CLoadCalcCore& core, const SwitchComboBox& switches, const report::ReportSource& source,
                 const std::string& path, ConsoleHost& host) {
  const std::string error = WriteCalculationReport(core, switches, source, path);
  if (error.empty()) return true;
  host.ShowMessage(report::ReportWriteFailed(FromUtf8(path), FromUtf8(error)));
  return false;
}

int Run(const CliOptions& options) {
  if (!NamesAreExact(options)) return kFailed;
  MemoryCircuitTable list;
  MemorySwitchComboBox switches;
  ConsoleHost host;
  CLoadCalcCore core(list, switches, host);
  if (options.workbook) core.SetWorkbookPath(FromUtf8(*options.workbook));
  core.ResetCircuitList();

  bool ok = true;
  bool calculated = false;
  std::error_code error;
  if (!std::filesystem::is_regular_file(ToUtf8(core.GetWorkbookPath()), error)) {
    host.ShowMessage(calc_text::WorkbookUnreadable(core.GetWorkbookPath(), "no such file"));
    ok = false;
  } else if (!core.ReadCircuits()) {
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
  }
  if (!calculated && options.saveTo)
    host.ShowMessage(calc_text::WriteFailed(FromUtf8(*options.saveTo), "Nothing was calculated, so the results file was not written"));

  const CString switchText = calculated ? core.FindSwitches(core.m_fCurrent) : CString();
  const CliReport report = MakeCliReport(core, switches, switchText, host.messages);
  std::cout << (options.json ? ToJson(report) : ToTable(report));
  if (!OutputWritten()) return kFailed;
  return ok ? kDone : kFailed;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string conversionProblem = TextConversionProblem();
  if (!conversionProblem.empty()) {
    std::cerr << "loadcalc-cli: " << conversionProblem << "\n";
    return kFailed;
  }
  const CliParse parse = ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parse.options) {
    std::cerr << "loadcalc-cli: " << parse.error << "\n" << CliUsage();
    return kBadArguments;
  }
  if (parse.options->reportTo && !CanWriteReports()) {
    std::cerr << "loadcalc-cli: --report is not available: this loadcalc-cli was built without Qt "
                 "(LOADCALC_WITH_GUI=OFF)\n";
    return kBadArguments;
  }
  if (parse.options->help) {
    std::cout << CliUsage();
    return kDone;
  }
  if (parse.options->system) return RunSystem(*parse.options);
  return Run(*parse.options);
}
