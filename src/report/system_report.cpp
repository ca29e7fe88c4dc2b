#include "report/system_report.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "calc/system_busbar.h"
#include "platform/text/encoding.h"
#include "report/standard_formulas.h"

namespace report {

namespace {

std::string N(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Percent(double rate) { return N(rate * 100, 1) + "%"; }

std::string FileName(const CString& path) { return std::filesystem::path(ToUtf8(path)).filename().string(); }

std::vector<std::string> Facts(const SystemResult& r, std::time_t when) {
  const SystemInputs& in = r.inputs;
  std::vector<std::string> facts = {"配电系统工作簿：" + FileName(r.path), "计算时间：" + LocalTimeText(when),
                                    "计算方法：规范法（JGJ 16-2008 第3.5.5条）",
                                    "配电箱数：" + std::to_string(r.boards.size()),
                                    "配电箱 K∑p：" + N(in.board.kp, 2) + "，K∑q：" + N(in.board.kq, 2),
                                    "母线 K∑p：" + N(in.busbar.kp, 2) + "，K∑q：" + N(in.busbar.kq, 2)};
  facts.push_back(in.busbar.compensate ? "目标功率因数 cosφ₂：" + N(in.busbar.targetPowerFactor, 2)
                                       : std::string("无功补偿：不补偿"));
  facts.push_back("电容器步长：" + N(in.busbar.bankStep, 1) + " kvar");
  facts.push_back("变压器台数：" + std::to_string(in.transformer.count));
  facts.push_back("最大负荷率：" + Percent(in.transformer.maxLoadRate));
  return facts;
}

Table BoardTable(const SystemResult& r) {
  Table table;
  table.heading = "一、配电系统";
  table.headers = {"配电箱编号", "工作簿", "Pe (kW)", "Pjs (kW)", "Qjs (kvar)", "Sjs (kVA)", "cosφ", "Ijs (A)", "开关", "备注"};
  double pe = 0;
  for (const SystemBoardResult& b : r.boards) {
    const StandardTotals& t = b.board.totals;
    pe += b.installedPower;
    table.rows.push_back({ToUtf8(b.row.name), ToUtf8(b.row.workbook), N(b.installedPower, 2), N(t.pjs, 2),
                          N(t.qjs, 2), N(t.sjs, 2), N(t.powerFactor, 3), N(t.current, 1), ToUtf8(b.SelectedSwitch()),
                          ToUtf8(b.row.remark)});
  }
  const BusbarResult& bus = *r.busbar;
  table.rows.push_back({"合计", "", N(pe, 2), N(bus.boardsP, 2), N(bus.boardsQ, 2), "", "", "", "", ""});
  return table;
}

// The busbar is told with the same formulas as a board's totals.
StandardBoardResult AsBoard(const BusbarResult& bus) {
  StandardBoardResult board;
  board.totals = bus.totals;
  return board;
}

TextSection BusbarSection(const SystemResult& r) {
  const BusbarResult& bus = *r.busbar;
  TextSection section{"二、母线计算负荷",
                      {"各配电箱按规范法计算（不在配电箱补偿，电容器集中装在母线上）。",
                       "P = ΣPjs = " + N(bus.boardsP, 3) + " kW，Q = ΣQjs = " + N(bus.boardsQ, 3) + " kvar"}};
  for (const std::string& line : StandardBoardLines(AsBoard(bus), r.inputs.busbar)) section.lines.push_back(line);
  return section;
}

TextSection CompensationSection(const SystemResult& r) {
  return {"三、无功补偿", StandardCompensationLines(AsBoard(*r.busbar), r.inputs.busbar)};
}

TextSection TransformerSection(const SystemResult& r) {
  const BusbarResult& bus = *r.busbar;
  const TransformerChoice& tx = bus.transformer;
  const int n = tx.count;
  std::string ratings;
  for (const double rating : StandardTransformerRatings()) ratings += (ratings.empty() ? "" : "、") + N(rating, 0);
  TextSection section{"四、变压器选择",
                      {"标准容量 Sn（kVA）：" + ratings,
                       "选择条件：负荷率 β = S′ / (n × Sn) ≤ " + Percent(r.inputs.transformer.maxLoadRate) +
                           "，取满足条件的最小容量；n = " + std::to_string(n)}};
  if (tx.rating) {
    const std::vector<double>& all = StandardTransformerRatings();
    for (size_t i = 1; i < all.size(); ++i)
      if (all[i] == *tx.rating)
        section.lines.push_back("Sn = " + N(all[i - 1], 0) + " kVA 时 β = " + N(bus.totals.sAfter, 1) + " / (" +
                                std::to_string(n) + " × " + N(all[i - 1], 0) +
                                ") = " + Percent(bus.totals.sAfter / (n * all[i - 1])) + "，超过限值");
    section.lines.push_back("β = S′ / (n × Sn) = " + N(bus.totals.sAfter, 1) + " / (" + std::to_string(n) + " × " +
                            N(*tx.rating, 0) + ") = " + Percent(tx.loadRate));
    section.lines.push_back("补偿前 β = Sjs / (n × Sn) = " + N(bus.totals.sjs, 1) + " / (" + std::to_string(n) +
                            " × " + N(*tx.rating, 0) + ") = " + Percent(tx.loadRateBefore));
  }
  section.lines.push_back(TransformerLine(tx));
  return section;
}

TextSection MainSwitchSection(const SystemResult& r) {
  const BusbarResult& bus = *r.busbar;
  std::string candidates;
  for (const CString& name : r.mainSwitches) candidates += (candidates.empty() ? "" : "、") + ToUtf8(name);
  const double threshold = std::trunc(static_cast<double>(static_cast<float>(bus.totals.current)) * 1.1 + 1);
  return {"五、总开关选择",
          {"按补偿前的计算电流 Ijs = " + N(bus.totals.current, 1) + " A 选择：额定电流 ≥ Ijs × 1.1 + 1（取整）= " +
               N(threshold, 0) + " A",
           std::string("开关型号库：") + (r.libraryFromSystem ? "配电系统工作簿 " : "第一个配电箱的工作簿 ") +
               FileName(r.libraryPath),
           "可选择开关：" + (candidates.empty() ? std::string("无") : candidates),
           "选用开关：" + (r.mainSwitches.empty() ? std::string("无") : ToUtf8(r.mainSwitches.front()))}};
}

CalculationReport BoardReport(const SystemBoardResult& board, std::time_t when) {
  ReportSource source;
  source.workbookName = FileName(board.row.path);
  source.calculatedAt = when;
  CalculationReport report = BuildCalculationReport(board.session->core, board.session->switches, source);
  report.title = "配电箱 " + ToUtf8(board.row.name) + " 负荷计算书（规范法）";
  // The board's own "no compensation" is the system's choice: say where it is.
  for (std::string& line : report.board.lines)
    if (line == "不进行无功补偿。") line = "不在配电箱补偿：电容器集中装在母线上（见配电系统部分“三、无功补偿”）。";
  return report;
}

}  // namespace

std::string TransformerLine(const TransformerChoice& tx) {
  if (!tx.rating)
    return "选用变压器：无（" + std::to_string(tx.count) + " × 2500 kVA 负荷率仍为 " + Percent(tx.loadRate) + "）";
  return "选用变压器：" + std::to_string(tx.count) + " × " + N(*tx.rating, 0) + " kVA，负荷率 " + Percent(tx.loadRate) +
         "（补偿前 " + Percent(tx.loadRateBefore) + "）";
}

SystemReport BuildSystemReport(const SystemResult& result, std::time_t calculatedAt) {
  SystemReport report;
  report.title = "配电系统负荷计算书";
  report.facts = Facts(result, calculatedAt);
  report.boards = BoardTable(result);
  report.sections = {BusbarSection(result), CompensationSection(result), TransformerSection(result),
                     MainSwitchSection(result)};
  for (const SystemBoardResult& board : result.boards) report.boardReports.push_back(BoardReport(board, calculatedAt));
  return report;
}

}  // namespace report
