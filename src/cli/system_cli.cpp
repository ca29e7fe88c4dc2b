#include "cli/system_cli.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "calc/calc_texts.h"
#include "calc/problem_texts.h"
#include "calc/system_results_workbook.h"
#include "calc/system_texts.h"
#include "cli/json_text.h"
#include "cli/standard_output.h"
#include "cli/system_report_export.h"
#include "platform/text/encoding.h"
#include "report/report_messages.h"

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;

bool Given(const CliOptions& options, const char* name) {
  return std::find(options.given.begin(), options.given.end(), name) != options.given.end();
}

std::string JsonObject(const std::vector<std::pair<const char*, std::string>>& members) {
  std::string out = "{";
  for (size_t i = 0; i < members.size(); ++i)
    out += (i ? "," : "") + JsonString(members[i].first) + ":" + members[i].second;
  return out + "}";
}

std::vector<std::string> Utf8All(const std::vector<CString>& texts) {
  std::vector<std::string> out;
  for (const CString& text : texts) out.push_back(ToUtf8(text));
  return out;
}

std::string JsonBoard(const SystemBoardResult& b) {
  const StandardTotals& t = b.board.totals;
  return JsonObject({{"name", JsonString(ToUtf8(b.row.name))},
                     {"P", JsonDouble(t.pjs)},
                     {"Q", JsonDouble(t.qjs)},
                     {"S", JsonDouble(t.sjs)},
                     {"power_factor", JsonDouble(t.powerFactor)},
                     {"current", JsonDouble(t.current)},
                     {"installed_power", JsonDouble(b.installedPower)},
                     {"switch", JsonString(ToUtf8(b.SelectedSwitch()))},
                     {"workbook", JsonString(ToUtf8(b.row.path))}});
}

std::string JsonBusbar(const BusbarResult& bus) {
  const StandardTotals& t = bus.totals;
  return JsonObject({{"P", JsonDouble(t.pjs)},
                     {"Q", JsonDouble(t.qjs)},
                     {"S", JsonDouble(t.sjs)},
                     {"power_factor", JsonDouble(t.powerFactor)},
                     {"current", JsonDouble(t.current)},
                     {"compensation_kvar", JsonDouble(t.compensation)},
                     {"power_factor_after", JsonDouble(t.powerFactorAfter)},
                     {"S_after", JsonDouble(t.sAfter)},
                     {"current_after", JsonDouble(t.currentAfter)},
                     {"boards_P", JsonDouble(bus.boardsP)},
                     {"boards_Q", JsonDouble(bus.boardsQ)}});
}

std::string JsonTransformer(const TransformerChoice& tx) {
  return JsonObject({{"count", std::to_string(tx.count)},
                     {"rating_kVA", tx.rating ? JsonDouble(*tx.rating) : std::string("null")},
                     {"load_rate_before", JsonDouble(tx.loadRateBefore)},
                     {"load_rate", JsonDouble(tx.loadRate)}});
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string JoinedOr(const std::vector<CString>& texts, const char* none) {
  std::string out;
  for (size_t i = 0; i < texts.size(); ++i) out += (i ? ", " : "") + ToUtf8(texts[i]);
  return out.empty() ? none : out;
}

void PrintMessage(const CString& message) { std::cerr << ToUtf8(message) << std::endl; }

}  // namespace

SystemOverrides SystemOverridesOf(const CliOptions& options) {
  SystemOverrides o;
  if (Given(options, "--kp")) o.kp = options.kp;
  if (Given(options, "--kq")) o.kq = options.kq;
  if (Given(options, "--target-pf")) o.targetPowerFactor = options.targetPowerFactor;
  if (Given(options, "--bank-step")) o.bankStep = options.bankStep;
  if (Given(options, "--no-compensation")) o.compensate = false;
  o.transformers = options.transformers;
  o.maxLoadRate = options.maxLoadRate;
  return o;
}

std::string SystemToJson(const SystemResult& result) {
  std::string boards = "[";
  for (size_t i = 0; i < result.boards.size(); ++i) boards += (i ? "," : "") + JsonBoard(result.boards[i]);
  boards += "]";
  const BusbarResult& bus = *result.busbar;
  return JsonObject({{"boards", boards},
                     {"busbar", JsonBusbar(bus)},
                     {"transformer", JsonTransformer(bus.transformer)},
                     {"main_switches", JsonStringArray(Utf8All(result.mainSwitches))},
                     {"switch_library", JsonString(ToUtf8(result.libraryPath))}}) +
         "\n";
}

std::string SystemToTable(const SystemResult& result) {
  std::string out = "配电箱编号 | Pe (kW) | Pjs (kW) | Qjs (kvar) | Sjs (kVA) | cosφ | Ijs (A) | 开关\n";
  for (const SystemBoardResult& b : result.boards) {
    const StandardTotals& t = b.board.totals;
    out += ToUtf8(b.row.name) + " | " + Fixed(b.installedPower, 2) + " | " + Fixed(t.pjs, 2) + " | " +
           Fixed(t.qjs, 2) + " | " + Fixed(t.sjs, 2) + " | " + Fixed(t.powerFactor, 3) + " | " + Fixed(t.current, 1) +
           " | " + ToUtf8(b.SelectedSwitch()) + "\n";
  }
  const BusbarResult& bus = *result.busbar;
  const StandardTotals& t = bus.totals;
  const TransformerChoice& tx = bus.transformer;
  out += "\nΣPjs (kW): " + Fixed(bus.boardsP, 1) + "\nΣQjs (kvar): " + Fixed(bus.boardsQ, 1) + "\n";
  out += "母线 Pjs (kW): " + Fixed(t.pjs, 1) + "\n母线 Qjs (kvar): " + Fixed(t.qjs, 1) + "\n母线 Sjs (kVA): " +
         Fixed(t.sjs, 1) + "\n功率因数 cosφ: " + Fixed(t.powerFactor, 3) + "\n计算电流 Ijs (A): " + Fixed(t.current, 1) +
         "\n";
  out += "补偿容量 Qc (kvar): " + Fixed(t.compensation, 0) + "\n补偿后功率因数: " + Fixed(t.powerFactorAfter, 3) +
         "\n补偿后视在功率 (kVA): " + Fixed(t.sAfter, 1) + "\n补偿后计算电流 (A): " + Fixed(t.currentAfter, 1) + "\n";
  const std::string rates = "负荷率 " + Fixed(tx.loadRate * 100, 1) + "% (补偿前 " + Fixed(tx.loadRateBefore * 100, 1) + "%)";
  out += tx.rating ? "变压器: " + std::to_string(tx.count) + " × " + Fixed(*tx.rating, 0) + " kVA, " + rates + "\n"
                   : "变压器: 无 (" + std::to_string(tx.count) + " × 2500 kVA 时" + rates + ")\n";
  out += "总开关可选型号: " + JoinedOr(result.mainSwitches, "无") + "\n";
  out += std::string("开关型号库: ") + (result.libraryFromSystem ? "配电系统工作簿 " : "第一个配电箱的工作簿 ") +
         ToUtf8(result.libraryPath) + "\n";
  return out;
}

int RunSystem(const CliOptions& options) {
  const CString path = FromUtf8(*options.system);
  if (ToUtf8(path) != *options.system) {
    std::cerr << "loadcalc-cli: 文件名\"" << *options.system << "\"不是有效的UTF-8文本,不能按原样使用" << std::endl;
    return kFailed;
  }
  const SystemResult result = CalculateSystem(path, SystemOverridesOf(options));
  if (!result.Complete()) {
    PrintMessage(system_text::ProblemsMessage(result.problems));
    return kFailed;
  }
  bool ok = true;
  const TransformerChoice& tx = result.busbar->transformer;
  if (!tx.rating) {
    PrintMessage(system_text::NoTransformerLargeEnough(tx.count, result.inputs.transformer.maxLoadRate));
    ok = false;
  }
  if (options.saveTo) {
    CString error;
    const bool saved = SaveSystemResults(result, FromUtf8(*options.saveTo), error);
    PrintMessage(saved ? calc_text::WriteSucceeded() : calc_text::WriteFailed(FromUtf8(*options.saveTo), error));
    ok = saved && ok;
  }
  if (options.reportTo) {
    const xls::Status written = WriteSystemReport(result, *options.reportTo);
    if (!written)
      PrintMessage(report::ReportWriteFailed(FromUtf8(*options.reportTo), calc_text::Reason(written.error())));
    ok = written.ok() && ok;
  }
  std::cout << (options.json ? SystemToJson(result) : SystemToTable(result));
  if (!StandardOutputWritten()) return kFailed;
  return ok ? kDone : kFailed;
}
