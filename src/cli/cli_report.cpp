#include "cli/cli_report.h"

#include <cmath>
#include <cstdio>

#include "calc/standard_texts.h"
#include "cli/json_text.h"
#include "platform/text/encoding.h"

namespace {

std::vector<std::string> ToUtf8All(const std::vector<CString>& texts) {
  std::vector<std::string> result;
  for (const CString& text : texts) result.push_back(ToUtf8(text));
  return result;
}

// Nine significant digits read back to the same float; JSON has no NaN.
std::string JsonNumber(float value) {
  if (!std::isfinite(value)) return "null";
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
  return text;
}

std::string Fixed(float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
  return text;
}

std::optional<CliBalanceReport> BalanceReportOf(const BalanceOutcome& outcome) {
  static const char* const kMethods[] = {"", "exhaustive", "extended", "below"};
  if (outcome.method == BalanceMethod::None) return std::nullopt;
  CliBalanceReport report;
  report.method = kMethods[static_cast<int>(outcome.method)];
  report.applied = outcome.applied;
  report.optimal = outcome.optimal;
  report.reachesBound = outcome.reachesBound;
  report.unbalance = outcome.unbalance;
  report.lowerBound = outcome.lowerBound;
  report.moved = outcome.moved;
  return report;
}

std::string JsonBalance(const CliBalanceReport& balance) {
  auto flag = [](bool value) { return value ? std::string("true") : std::string("false"); };
  return "{\"method\":" + JsonString(balance.method) + ",\"applied\":" + flag(balance.applied) +
         ",\"optimal\":" + flag(balance.optimal) + ",\"lower_bound\":" + JsonDouble(balance.lowerBound) +
         ",\"unbalance\":" + JsonDouble(balance.unbalance) + ",\"moved\":" + std::to_string(balance.moved) +
         ",\"reaches_bound\":" + flag(balance.reachesBound) + "}";
}

std::string RuleKey(SinglePhaseRule rule) { return rule == SinglePhaseRule::Sum ? "sum" : "three_times_max"; }

std::string JsonStandard(const StandardBoardResult& board) {
  const StandardTotals& t = board.totals;
  const std::pair<const char*, double> numbers[] = {
      {"P", t.pjs},          {"Q", t.qjs},
      {"S", t.sjs},          {"power_factor", t.powerFactor},
      {"current", t.current}, {"compensation_kvar", t.compensation},
      {"power_factor_after", t.powerFactorAfter}, {"S_after", t.sAfter},
      {"current_after", t.currentAfter}};
  std::string out = "{";
  for (const auto& [key, value] : numbers) out += JsonString(key) + ":" + JsonDouble(value) + ",";
  return out + "\"single_phase_rule\":" + JsonString(RuleKey(board.rule)) + "}";
}

std::string TableStandard(const StandardBoardResult& board) {
  const StandardTotals& t = board.totals;
  char text[800];
  std::snprintf(text, sizeof text,
                "规范法: %s\n"
                "有功功率 Pjs (kW): %.3f\n无功功率 Qjs (kvar): %.3f\n视在功率 Sjs (kVA): %.3f\n"
                "功率因数 cosφ: %.3f\n计算电流 Ijs (A): %.2f\n补偿容量 Qc (kvar): %.0f\n"
                "补偿后功率因数: %.3f\n补偿后视在功率 (kVA): %.3f\n补偿后计算电流 (A): %.2f\n",
                ToUtf8(calc_text::SinglePhaseRuleName(board.rule)).c_str(), t.pjs, t.qjs, t.sjs, t.powerFactor, t.current, t.compensation,
                t.powerFactorAfter, t.sAfter, t.currentAfter);
  return text;
}

}  // namespace

CliReport MakeCliReport(const CLoadCalcCore& core, const SwitchComboBox& switches, const CString& switchText,
                        const std::vector<CString>& messages) {
  CliReport report;
  for (const CString& caption : core.m_astrHeaders) report.headers.push_back(ToUtf8(caption));
  const int columns = core.m_list.GetColumnCount();
  for (int row = 0; row < core.m_list.GetItemCount(); ++row) {
    std::vector<std::string> cells;
    for (int column = 0; column < columns; ++column) cells.push_back(ToUtf8(core.m_list.GetItemText(row, column)));
    report.rows.push_back(std::move(cells));
  }
  report.board = {{"L1", core.m_fL1},
                  {"L2", core.m_fL2},
                  {"L3", core.m_fL3},
                  {"unbalance", core.m_fUnbalance},
                  {"equipment_power", core.m_fEquipPower},
                  {"calculated_power", core.m_fCalcPower},
                  {"current", core.m_fCurrent},
                  {"power_factor", core.m_fPowerFactor},
                  {"demand_coefficient", core.m_fDemandCoef}};
  for (int i = 0; i < switches.GetCount(); ++i) report.switches.push_back(ToUtf8(switches.GetLBText(i)));
  report.switchText = ToUtf8(switchText);
  report.messages = ToUtf8All(messages);
  report.balance = BalanceReportOf(core.LastBalance());
  report.standard = core.LastStandard();
  return report;
}

std::string ToJson(const CliReport& report) {
  std::string out = "{\"headers\":" + JsonStringArray(report.headers) + ",\"rows\":[";
  for (size_t i = 0; i < report.rows.size(); ++i) out += (i ? "," : "") + JsonStringArray(report.rows[i]);
  out += "],\"board\":{";
  for (size_t i = 0; i < report.board.size(); ++i)
    out += (i ? "," : "") + JsonString(report.board[i].first) + ":" + JsonNumber(report.board[i].second);
  out += "},\"switches\":" + JsonStringArray(report.switches);
  out += ",\"switch_text\":" + JsonString(report.switchText);
  out += ",\"messages\":" + JsonStringArray(report.messages);
  if (report.balance) out += ",\"balance\":" + JsonBalance(*report.balance);
  if (report.standard) out += ",\"standard\":" + JsonStandard(*report.standard);
  out += "}\n";
  return out;
}

std::string ToTable(const CliReport& report) {
  std::string out;
  auto line = [&out](const std::vector<std::string>& cells) {
    for (size_t i = 0; i < cells.size(); ++i) out += (i ? " | " : "") + cells[i];
    out += "\n";
  };
  line(report.headers);
  for (const auto& row : report.rows) line(row);
  out += "\n";
  static const char* const kCaptions[] = {"L1相容量 (kW)", "L2相容量 (kW)", "L3相容量 (kW)",
                                          "不平衡度",      "设备功率 (kW)", "计算功率 (kW)",
                                          "计算电流 (A)",  "功率因数",      "需要系数"};
  for (size_t i = 0; i < report.board.size() && i < std::size(kCaptions); ++i)
    out += std::string(kCaptions[i]) + ": " + Fixed(report.board[i].second) + "\n";
  std::string choice;
  for (size_t i = 0; i < report.switches.size(); ++i) choice += (i ? ", " : "") + report.switches[i];
  out += "可选择开关: " + (choice.empty() ? std::string("无") : choice) + "\n";
  if (report.balance) {
    const CliBalanceReport& b = *report.balance;
    const char* method = b.method == "exhaustive" ? "穷举法" : b.method == "extended" ? "扩展方法" : "移动最少回路";
    char line[300];
    std::snprintf(line, sizeof line, "自动平衡: %s, %s, 移动 %d 个回路, 不平衡度下限 %f\n", method,
                  b.optimal ? "已证明最优" : "未证明最优", b.moved, b.lowerBound);
    out += line;
  }
  if (report.standard) out += TableStandard(*report.standard);
  return out;
}
